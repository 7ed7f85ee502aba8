// Whole skirmish games between two computer players, headless.
#include <tuple>

#include "game_fixture.h"

namespace {

struct Outcome {
  HeadlessHub::Result result;
  int turn;
  int frames;
  int refused;  // choices the rules refused with a message
  bool operator==(const Outcome& o) const {
    return result == o.result && turn == o.turn && frames == o.frames;
  }
};

constexpr int kFrameLimit = 200000;

Outcome play(const char* mode, uint32_t seed) {
  GameContext ctx(seed);
  HeadlessHub hub(ctx);
  GameSession& game = ctx.game();
  game.newGame(false, GameDirector::create(mode));
  int frames = 0;
  while (game.started() && frames < kFrameLimit) {
    game.update();
    Player& local = *game.localPlayer();
    if (game.started() && !Player::mustWaitFor(local.state(), game.enemyPlayer()->state()))
      aiStep(local);
    ++frames;
  }
  return {hub.result(), game.turn(), frames, hub.messages()};
}

class SkirmishLoop : public ::testing::TestWithParam<uint32_t> {};

TEST_P(SkirmishLoop, EndsWithoutStallingAndRepeatsPerSeed) {
  GameLog log;
  const Outcome first = play("skirmish", GetParam());
  EXPECT_TRUE(log.find("out of sync").empty());
  EXPECT_TRUE(log.find("invalid player state").empty());
  // The computer picks among the cards it can place and the spells it can cast: the
  // rules refuse none of its choices.
  EXPECT_EQ(0, first.refused);
  EXPECT_NE(first.result, HeadlessHub::Result::None) << "stalled at turn " << first.turn;
  EXPECT_LT(first.frames, kFrameLimit);
  const Outcome again = play("skirmish", GetParam());
  EXPECT_TRUE(first == again);
}

INSTANTIATE_TEST_SUITE_P(Seeds, SkirmishLoop, ::testing::Values(1u, 2u, 3u, 42u, 1234u));

struct TrialCase {
  const char* mode;
  int lastTurn;  // the enemy has lost by the fire pass of this turn
};

class TrialLoop : public ::testing::TestWithParam<TrialCase> {};

TEST_P(TrialLoop, EndsByTheTurnLimit) {
  const Outcome first = play(GetParam().mode, 5);
  EXPECT_NE(first.result, HeadlessHub::Result::None);
  EXPECT_LE(first.turn, GetParam().lastTurn);
  EXPECT_TRUE(first == play(GetParam().mode, 5));
}

INSTANTIATE_TEST_SUITE_P(Trials, TrialLoop,
                         ::testing::Values(TrialCase{"water_trial", 10},
                                           TrialCase{"fire_trial1", 10},
                                           TrialCase{"fire_trial2", 10},
                                           TrialCase{"fire_trial3", 10},
                                           TrialCase{"fire_trial4", 10},
                                           TrialCase{"dynamite_trial1", 20}),
                         [](const ::testing::TestParamInfo<TrialCase>& info) {
                           return std::string(info.param.mode);
                         });

}  // namespace
