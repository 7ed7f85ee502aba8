// Whole skirmish games between two computer players, headless.
#include <tuple>

#include "game_fixture.h"

namespace {

struct Outcome {
  HeadlessHub::Result result;
  int turn;
  int frames;
  bool operator==(const Outcome& o) const {
    return result == o.result && turn == o.turn && frames == o.frames;
  }
};

constexpr int kFrameLimit = 200000;

Outcome playSkirmish(uint32_t seed) {
  GameContext ctx(seed);
  HeadlessHub hub(ctx);
  GameSession& game = ctx.game();
  game.newGame(false, GameDirector::create("skirmish"));
  int frames = 0;
  while (game.started() && frames < kFrameLimit) {
    game.update();
    Player& local = *game.localPlayer();
    if (game.started() && !Player::mustWaitFor(local.state(), game.enemyPlayer()->state()))
      aiStep(local);
    ++frames;
  }
  return {hub.result(), game.turn(), frames};
}

class SkirmishLoop : public ::testing::TestWithParam<uint32_t> {};

TEST_P(SkirmishLoop, EndsWithoutStallingAndRepeatsPerSeed) {
  GameLog log;
  const Outcome first = playSkirmish(GetParam());
  EXPECT_TRUE(log.find("out of sync").empty());
  EXPECT_TRUE(log.find("invalid player state").empty());
  EXPECT_NE(first.result, HeadlessHub::Result::None) << "stalled at turn " << first.turn;
  EXPECT_LT(first.frames, kFrameLimit);
  const Outcome again = playSkirmish(GetParam());
  EXPECT_TRUE(first == again);
}

INSTANTIATE_TEST_SUITE_P(Seeds, SkirmishLoop, ::testing::Values(1u, 2u, 3u, 42u, 1234u));

}  // namespace
