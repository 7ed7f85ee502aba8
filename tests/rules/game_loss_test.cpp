// When a player has lost, by mode, and how the running game ends on it.
#include "game_fixture.h"

namespace {

enum class Archmage { Dry, Wet, Damp, None };

struct LossCase {
  const char* mode;
  int turn;
  Archmage local;
  Archmage enemy;
  bool localLost;
  bool enemyLost;
};

void PrintTo(const LossCase& c, std::ostream* os) { *os << c.mode << " turn " << c.turn; }

// Takes every archmage room away, then builds one as asked.
void placeArchmage(Player& p, Archmage how) {
  p.board()->forEachElem([](BoardElem& e) {
    if (e.room() == RoomType::Archmage) e.setRoom(RoomType::None);
  });
  if (how == Archmage::None) return;
  BoardElem* e = p.board()->cellAtCentred(0, 0);
  e->setKind(ElemKind::FourBlock);
  e->setRoom(RoomType::Archmage);
  e->setWaterLevel(how == Archmage::Wet ? 0.5f : how == Archmage::Damp ? 0.49f : 0.0f);
}

class LossTest : public GameFixture, public ::testing::WithParamInterface<LossCase> {
 protected:
  // The directors read the turn from the players' game.
  FixedSession session;
};

TEST_P(LossTest, FollowsTheModesRule) {
  const LossCase& c = GetParam();
  ASSERT_TRUE(start(c.mode));
  session.local = &local();
  session.enemy = &enemy();
  session.turnNumber = c.turn;
  ctx.setSession(&session);
  placeArchmage(local(), c.local);
  placeArchmage(enemy(), c.enemy);
  EXPECT_EQ(c.localLost, game().director()->hasLost(local()));
  EXPECT_EQ(c.enemyLost, game().director()->hasLost(enemy()));
  ctx.setSession(nullptr);
}

using A = Archmage;
INSTANTIATE_TEST_SUITE_P(
    Modes, LossTest,
    ::testing::Values(
        LossCase{"skirmish", 3, A::Dry, A::Dry, false, false},
        LossCase{"skirmish", 3, A::Dry, A::None, false, true},
        LossCase{"skirmish", 3, A::Wet, A::Damp, true, false},
        LossCase{"skirmish", 40, A::None, A::Wet, true, true},
        LossCase{"tutorial", 1, A::None, A::Dry, true, false},
        // Trials: the enemy holds out until the turn limit, whatever its tower.
        LossCase{"water_trial", 9, A::Dry, A::None, false, false},
        LossCase{"water_trial", 10, A::Dry, A::Dry, false, true},
        LossCase{"water_trial", 10, A::Wet, A::Dry, true, true},
        LossCase{"fire_trial1", 12, A::Dry, A::Dry, false, true},
        LossCase{"fire_trial2", 2, A::None, A::Dry, true, false},
        LossCase{"fire_trial3", 9, A::Dry, A::None, false, false},
        LossCase{"fire_trial4", 10, A::Dry, A::None, false, true},
        LossCase{"dynamite_trial1", 19, A::Dry, A::None, false, false},
        LossCase{"dynamite_trial1", 20, A::Dry, A::Dry, false, true},
        LossCase{"dynamite_trial1", 5, A::Wet, A::Dry, true, false},
        LossCase{"sandbox", 50, A::None, A::None, false, false}),
    [](const ::testing::TestParamInfo<LossCase>& info) {
      return std::string(info.param.mode) + "_" + std::to_string(info.index);
    });

// ---- checkGameOver -------------------------------------------------------------

struct EndCase {
  bool localLost;
  bool enemyLost;
  const char* report;
  bool stillRunning;
};

class GameOver : public GameFixture, public ::testing::WithParamInterface<EndCase> {
 protected:
  RecordingGameHub recorded;
};

TEST_P(GameOver, AsksBothPlayersAndReportsOneOutcome) {
  const EndCase& c = GetParam();
  ASSERT_TRUE(start("skirmish"));
  ctx.setHub(&recorded);
  placeArchmage(local(), c.localLost ? A::None : A::Dry);
  placeArchmage(enemy(), c.enemyLost ? A::None : A::Dry);
  game().checkGameOver();
  ASSERT_EQ(1u, recorded.calls().size());
  EXPECT_EQ(c.report, recorded.calls()[0].what);
  EXPECT_EQ(c.stillRunning, game().started());
  ctx.setHub(&hub);
}

INSTANTIATE_TEST_SUITE_P(Outcomes, GameOver,
                         ::testing::Values(EndCase{false, false, "resumeBothPlayers", true},
                                           EndCase{false, true, "onGameWon", false},
                                           EndCase{true, false, "onGameLost", false},
                                           EndCase{true, true, "onGameDraw", false}));

using GameEnd = GameFixture;

TEST_F(GameEnd, ASandboxGameNeverEndsByTheCheck) {
  ASSERT_TRUE(start("sandbox"));
  RecordingGameHub recorded;
  ctx.setHub(&recorded);
  placeArchmage(local(), A::None);
  game().checkGameOver();
  EXPECT_TRUE(game().started());
  EXPECT_EQ(1u, recorded.count("resumeBothPlayers"));
  ctx.setHub(&hub);
}

TEST_F(GameEnd, TheWaterTrialIsWonAtTheFirePassOfTurnTen) {
  ASSERT_TRUE(start("water_trial"));
  for (int i = 0; i < 10; ++i) game().nextTurn();
  ASSERT_EQ(10, game().turn());
  // Both players reach the fire: the fire pass checks the game.
  for (Player* p : {&local(), &enemy()}) p->setState(PlayerState::Fire);
  EXPECT_EQ(HeadlessHub::Result::Won, hub.result());
  EXPECT_FALSE(game().started());
  // The end shows both towers.
  EXPECT_TRUE(enemyAt(0, 2)->isRevealed());
}

}  // namespace
