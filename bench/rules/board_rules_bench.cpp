// The board passes that run after every hit and every turn.
#include <benchmark/benchmark.h>

#include "Board.h"
#include "GameContext.h"

namespace {

// Every in-play cell above ground a four-block, every in-play underground cell a cave.
void buildEverything(Board& board) {
  board.forEachElem([](BoardElem& e) {
    if (!e.isInPlay()) return;
    e.setKind(e.isUnderground() ? ElemKind::Cave : ElemKind::FourBlock);
  });
}

void BM_SupportPassFullBoard(benchmark::State& state) {
  GameContext ctx(1);
  Board board(ctx);
  board.fill();
  buildEverything(board);
  for (auto _ : state) {
    board.supportPass();
    benchmark::DoNotOptimize(board.blockCount());
  }
  state.counters["blocks"] = board.blockCount();
}
BENCHMARK(BM_SupportPassFullBoard);

void BM_FloodSettling(benchmark::State& state) {
  GameContext ctx(1);
  Board board(ctx);
  board.fill();
  buildEverything(board);
  for (auto _ : state) {
    state.PauseTiming();
    board.forEachElem([](BoardElem& e) {
      if (e.isUnderground() && e.isInPlay()) e.setWaterLevel(5.0f);
    });
    state.ResumeTiming();
    board.updateWater(true);
  }
}
BENCHMARK(BM_FloodSettling)->Unit(benchmark::kMicrosecond);

void BM_FireStepBurningTower(benchmark::State& state) {
  GameContext ctx(1);
  Board board(ctx);
  board.fill();
  // A tower five wide and twenty high, every block burning, kept alight.
  for (int x = 17; x <= 21; ++x)
    for (int y = 20; y < 40; ++y) board.cellAt(x, y)->setKind(ElemKind::FourBlock);
  for (auto _ : state) {
    state.PauseTiming();
    board.forEachElem([](BoardElem& e) {
      if (e.isBlock()) {
        e.setDamaged(false);
        e.setBurning(true);
      }
    });
    state.ResumeTiming();
    board.burn();
  }
  state.counters["burning"] = board.burningCount();
}
BENCHMARK(BM_FireStepBurningTower)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
