// The attacks on the mv-lobby program, measured: a client flooding one-byte messages
// while another pair chats in a match (the pair's relay latency, how soon the
// flooder is cut off, the server's memory), and a match partner that stops reading
// while the host sends large card lists (how soon it is cut off, the memory).
#include <benchmark/benchmark.h>

#include "AttackScenarios.h"
#include "LobbyProcess.h"

namespace {

void BM_FloodingClient(benchmark::State& state) {
  for (auto _ : state) {
    LobbyProcess lobby(60000, "123456");
    FloodFigures f = floodAttack(lobby, 5.0);
    if (!f.ready || f.delivered != f.chats) {
      state.SkipWithError("the attack did not run through");
      return;
    }
    state.counters["flooder_cut"] = f.flooderCut;
    state.counters["cut_after_ms"] = f.cutAfterMs;
    state.counters["pair_chats"] = f.chats;
    state.counters["pair_p50_ms"] = f.p50Ms;
    state.counters["pair_p99_ms"] = f.p99Ms;
    state.counters["pair_max_ms"] = f.maxMs;
    state.counters["server_growth_kB"] = static_cast<double>(f.growthKb);
  }
}

void BM_StalledReader(benchmark::State& state) {
  for (auto _ : state) {
    LobbyProcess lobby(60000, "123456");
    StallFigures s = stalledReaderAttack(lobby, 60.0);
    if (!s.ready) {
      state.SkipWithError("the attack did not run through");
      return;
    }
    state.counters["host_told"] = s.hostTold;
    state.counters["cut_after_s"] = s.seconds;
    state.counters["sent_kB"] = static_cast<double>(s.sentKb);
    state.counters["server_growth_kB"] = static_cast<double>(s.growthKb);
  }
}

}  // namespace

BENCHMARK(BM_FloodingClient)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StalledReader)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
