// The tutorial played through: the local player follows the hints against the
// computer, on a headless hub that asks for the hint at every state switch as
// the game's hub does. Also the phases the player is no longer moved out of
// while the script runs.
#include <algorithm>
#include <string>
#include <vector>

#include "game/TutorialDirector.h"
#include "game_fixture.h"
#include "player_fixture.h"

namespace {

using PS = PlayerState;

// The headless hub plus the hint step of the game's hub: at a switch the
// director's hint replaces the player's hand.
class HintingHub : public HeadlessHub {
 public:
  struct Shown {
    int step;  // the director's row when the hint was given
    std::string key;
    PS state;
    int turn;
  };

  using HeadlessHub::HeadlessHub;
  GameContext* ctx = nullptr;
  std::vector<Shown> shown;

  void switchPlayerState(Player& player, PS oldState, PS newState) override {
    GameSession& g = ctx->game();
    if (auto* d = dynamic_cast<GameDirector_Tutorial*>(g.director())) {
      std::string key;
      bool show = false;
      std::vector<int> allowed;
      const int step = d->step();
      if (d->getTutorialMessage(player.isLocal(), g.turn(), S(newState), key, show, allowed)) {
        shown.push_back({step, key, newState, g.turn()});
        player.setCards(allowed);
      }
    }
    HeadlessHub::switchPlayerState(player, oldState, newState);
  }
};

class TutorialGame : public ::testing::Test {
 protected:
  explicit TutorialGame(uint32_t seed = 11) : ctx(seed), hub(ctx) { hub.ctx = &ctx; }

  GameSession& game() { return ctx.game(); }
  Player& local() { return *game().localPlayer(); }
  Player& enemy() { return *game().enemyPlayer(); }
  GameDirector_Tutorial& director() {
    return *dynamic_cast<GameDirector_Tutorial*>(game().director());
  }

  // The local player's move as the hints ask: the given card, crews and spells
  // into rooms, the arrowed spell, End Phase where allowed. The hub's local
  // entries are the director hook followed by the player's operation.
  bool localMove() {
    Player& me = local();
    GameDirector_Tutorial& d = director();
    if (Player::mustWaitFor(me.state(), enemy().state())) return false;
    switch (me.state()) {
      case PS::CardChoose:
        if (me.cards().empty()) return endPhase();
        d.onCardSelected(me, me.cards().front());
        me.selectCard(me.cards().front());
        return true;
      case PS::BuildChooseSpell:
      case PS::CombatChooseSpell:
      case PS::RepairChooseSpell:
        return d.canEndPhase() ? endPhase() : chooseArrowedSpell();
      case PS::PlacementChoose:
      case PS::BuildSpellChooseTarget:
      case PS::RepairSpellChooseTarget:
      case PS::CombatSpellChooseTarget: {
        if (me.options().empty()) return false;
        BoardElem* pick = me.options().front();
        for (BoardElem* e : me.options())
          if (e->room() != RoomType::None) pick = e;
        d.onTargetSelected(me, pick);
        me.selectTarget(pick);
        return true;
      }
      default:
        return false;
    }
  }
  bool endPhase() {
    GameDirector_Tutorial& d = director();
    if (!d.canEndPhase()) return false;
    d.onPhaseFinished(local());
    if (local().state() == PS::CardChoose)
      local().finishCards();
    else
      local().finishSpells();
    return true;
  }
  bool chooseArrowedSpell() {
    // The bar: one entry per card, spells before crews, by id.
    std::vector<BoardElem::StoredCard> bar;
    for (const auto& s : local().spellOptions())
      if (std::none_of(bar.begin(), bar.end(), [&](const auto& b) { return b.first == s.first; }))
        bar.push_back(s);
    std::sort(bar.begin(), bar.end(), [](const auto& a, const auto& b) {
      const auto ca = CardTable::getCard(a.first)->category;
      const auto cb = CardTable::getCard(b.first)->category;
      return ca != cb ? ca < cb : a.first < b.first;
    });
    for (std::size_t i = 0; i < bar.size(); ++i) {
      if (!director().isSpellChoiceForced(bar, bar[i].first)) continue;
      director().onSpellSelected(local(), bar[i].first, bar[i].second);
      const CardRecord* card = CardTable::getCard(bar[i].first);
      return local().selectSpell(bar[i].first, bar[i].second,
                                 card->castOnOpponent ? &enemy() : &local());
    }
    return false;
  }
  // Frames until the script is over, the game ends or `limit` frames ran.
  void playScript(int limit) {
    for (int frame = 0; frame < limit && game().started() && director().active(); ++frame) {
      game().update();
      if (game().started()) localMove();
    }
  }

  GameContext ctx;
  HintingHub hub;
};

TEST(TutorialSession, ReportsTheTutorialAndItsIntro) {
  RecordingGameHub recorder;
  GameContext other(3);
  other.setHub(&recorder);
  ASSERT_TRUE(other.game().newGame(false, GameDirector::create("tutorial")));
  EXPECT_TRUE(other.game().tutorialRunning());
  ASSERT_EQ(1u, recorder.count("showIntroMessage"));
  EXPECT_EQ("TUT_INITIAL", recorder.callsOf("showIntroMessage")[0].text);
}

TEST_F(TutorialGame, EveryRowIsReachedInItsOwnPhaseAndTheScriptEnds) {
  ASSERT_TRUE(game().newGame(false, GameDirector::create("tutorial")));
  EXPECT_EQ(std::vector<int>{CardId::Archmage}, local().cards());
  playScript(20000);
  ASSERT_FALSE(director().active()) << "stuck on row " << director().step() << " in "
                                    << stateName(local().state());
  EXPECT_FALSE(game().tutorialRunning());

  // The first hint of each row, in order, where the row says.
  std::vector<HintingHub::Shown> firsts;
  for (const auto& s : hub.shown)
    if (firsts.empty() || firsts.back().step != s.step) firsts.push_back(s);
  ASSERT_EQ(static_cast<std::size_t>(kTutorialEndRow + 1), firsts.size());
  for (int row = 0; row < kTutorialEndRow; ++row) {
    const TutorialStep& r = TutorialStepTable[row];
    EXPECT_EQ(row, firsts[row].step);
    EXPECT_EQ(r.key, firsts[row].key) << row;
    EXPECT_EQ(r.state, S(firsts[row].state)) << row;
    EXPECT_EQ(r.turn, firsts[row].turn) << row;
  }
  EXPECT_EQ("TUT_FINISHED", firsts.back().key);
  EXPECT_EQ(1, game().turn());
  EXPECT_EQ(PS::RepairChooseSpell, local().state());
}

TEST_F(TutorialGame, TheScriptedTowerStandsAfterTheFirstTurnsCards) {
  ASSERT_TRUE(game().newGame(false, GameDirector::create("tutorial")));
  for (int frame = 0; frame < 5000 && director().step() < 17; ++frame) {
    game().update();
    localMove();
  }
  ASSERT_EQ(17, director().step());
  Board& b = *local().board();
  EXPECT_EQ(RoomType::Archmage, b.cellAtCentred(0, 0)->room());
  EXPECT_EQ(RoomType::Crystal, b.cellAtCentred(0, 1)->room());
  EXPECT_EQ(RoomType::Library, b.cellAtCentred(0, 2)->room());
  EXPECT_EQ(ElemKind::Dome, b.cellAtCentred(0, 3)->kind());
  EXPECT_EQ(RoomType::Housing, b.cellAtCentred(0, -1)->room());
  EXPECT_TRUE(b.cellAtCentred(0, 0)->hasFence());
  // The card phase ended with the housings' dwarves and the tutorial's two more.
  EXPECT_EQ(PS::BuildChooseSpell, local().state());
  EXPECT_EQ(b.dwarvesIncome() + 2, local().dwarves());
}

// ---- No automatic step while the script runs ---------------------------------------------

class TutorialSkips : public PlayerFixture {};

TEST_F(TutorialSkips, TheLocalPlayerStaysInBuildAndRepairUntilTheScriptIsOver) {
  for (bool tutorial : {true, false}) {
    SCOPED_TRACE(tutorial ? "tutorial" : "skirmish");
    session.tutorial = tutorial;
    force(local, PS::CardChoose);
    local.setState(PS::BuildChooseSpell);
    EXPECT_EQ(tutorial ? PS::BuildChooseSpell : PS::CombatChooseSpell, local.state());
    force(local, PS::ProcessCombatQueue);
    local.onQueueDone();
    EXPECT_EQ(tutorial ? PS::RepairChooseSpell : PS::Fire, local.state());
  }
}

}  // namespace
