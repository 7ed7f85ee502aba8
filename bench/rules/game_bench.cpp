// Whole headless games and the set-up of a game.
#include <benchmark/benchmark.h>

#include "GameContext.h"
#include "game/ComputerPlayer.h"
#include "game/GameDirector.h"
#include "game/GameSession.h"
#include "game/HeadlessHub.h"
#include "player/Player.h"

namespace {

// A skirmish between two computer players, to its end.
void BM_SkirmishGame(benchmark::State& state) {
  uint32_t seed = 1;
  int64_t turns = 0, frames = 0;
  for (auto _ : state) {
    GameContext ctx(seed++);
    HeadlessHub hub(ctx);
    GameSession& game = ctx.game();
    game.newGame(false, GameDirector::create("skirmish"));
    // A game that stalls stops here rather than hanging the benchmark.
    for (int frame = 0; game.started() && frame < 1000000; ++frame) {
      game.update();
      Player& local = *game.localPlayer();
      if (game.started() && !Player::mustWaitFor(local.state(), game.enemyPlayer()->state()))
        aiStep(local);
      ++frames;
    }
    turns += game.turn();
  }
  state.counters["turns/game"] = benchmark::Counter(static_cast<double>(turns),
                                                    benchmark::Counter::kAvgIterations);
  state.counters["frames/game"] = benchmark::Counter(static_cast<double>(frames),
                                                     benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SkirmishGame)->Unit(benchmark::kMillisecond);

// newGame then clearGame: two players, two boards, 3,200 elements.
void BM_NewAndClearGame(benchmark::State& state) {
  GameContext ctx(1);
  HeadlessHub hub(ctx);
  for (auto _ : state) {
    ctx.game().newGame(false, GameDirector::create("skirmish"));
    ctx.game().clearGame(false);
  }
}
BENCHMARK(BM_NewAndClearGame)->Unit(benchmark::kMicrosecond);

}  // namespace
