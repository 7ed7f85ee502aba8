// The attacks on the mv-lobby program, measured: a client flooding one-byte messages
// (plainly, or through its deflate stream) and clients sending compression bombs,
// while another pair chats in a match (the pair's relay latency, how soon the
// attackers are cut off, the server's memory); a match partner that stops reading
// while the host sends large card lists (how soon it is cut off, the memory). And a
// "lobby" bombing the game's own network object (the game's memory, what it took).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <string>

#include "AttackScenarios.h"
#include "BombingLobby.h"
#include "LobbyProcess.h"
#include "Network.h"

namespace {

void report(benchmark::State& state, const FloodFigures& f) {
  if (!f.ready) {
    state.SkipWithError("the pair could not start a match");
    return;
  }
  if (f.delivered != f.chats) {
    const std::string why = "the pair's chat was not all relayed: " + std::to_string(f.delivered) + " of " +
                            std::to_string(f.chats) + (f.pairIntact ? "" : ", the pair was cut off");
    state.SkipWithError(why.c_str());
    return;
  }
  state.counters["attackers_cut"] = f.flooderCut;
  state.counters["cut_after_ms"] = f.cutAfterMs;
  state.counters["pair_chats"] = f.chats;
  state.counters["pair_p50_ms"] = f.p50Ms;
  state.counters["pair_p99_ms"] = f.p99Ms;
  state.counters["pair_max_ms"] = f.maxMs;
  state.counters["server_growth_kB"] = static_cast<double>(f.growthKb);
}

void BM_FloodingClient(benchmark::State& state) {
  for (auto _ : state) {
    LobbyProcess lobby(60000, "123456");
    report(state, floodAttack(lobby, 5.0, state.range(0) != 0));
  }
}

// 300 connections, each two packets of some 4 kB that inflate to 4 MiB each.
void BM_CompressionBomb(benchmark::State& state) {
  for (auto _ : state) {
    LobbyProcess lobby(60000, "123456");
    report(state, bombAttack(lobby, 8.0, 300, 2, 4 * 1024 * 1024));
  }
}

// Whatever answers at the lobby's address sends the game 400 frames of some 4 kB,
// each inflating to 4 MiB.
void BM_GameBombedByItsLobby(benchmark::State& state) {
  for (auto _ : state) {
    BombingLobby lobby(4 * 1024 * 1024, 400);
    Network net;
    NetworkListener quiet;
    net.setListener(&quiet);
    net.setLobbyEndpoint("127.0.0.1", lobby.port());
    net.init();
    const long before = memoryKb(getpid(), "VmRSS");
    net.connectToLobby();
    const BombingLobby::Outcome o = lobby.bomb(*net.peer(), 20000);
    state.counters["frame_bytes"] = static_cast<double>(lobby.frameBytes());
    state.counters["game_cut_lobby"] = o.cut;
    state.counters["cut_after_ms"] = o.cutAfterMs;
    state.counters["messages_handed_on"] = o.handedOn;
    state.counters["game_growth_kB"] = static_cast<double>(memoryKb(getpid(), "VmHWM") - before);
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

BENCHMARK(BM_FloodingClient)
    ->ArgName("compressed")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_CompressionBomb)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GameBombedByItsLobby)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StalledReader)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
