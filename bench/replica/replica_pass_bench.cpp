// The host's update pass over a whole game (two players, two boards, 3,200
// elements) for one connection: the first pass, which constructs and serializes
// everything, and the passes of a quiet frame, which only look for changes.
#include <benchmark/benchmark.h>

#include <memory>

#include "Board.h"
#include "GameContext.h"
#include "GameReplicas.h"
#include "ReplicaManager3_custom.h"
#include "ReplicaMatchLink.h"
#include "game/GameDirector.h"
#include "game/GameSession.h"
#include "game/HeadlessHub.h"
#include "player/Player.h"
#include "raknet/RakPeerInterface.h"

namespace {

// A hosting machine whose peer runs but is connected to nobody: the manager gets
// one connection by hand, so a pass does all its work and its sends go nowhere.
struct Host {
  GameContext ctx{3};
  HeadlessHub hub{ctx};
  RakNet::NetworkIDManager ids;
  GameReplicas replicas{ctx, ids};
  ReplicaMatchLink link{replicas};
  RakNet::RakPeerInterface* peer = RakNet::RakPeerInterface::GetInstance();

  Host() {
    link.hosting = true;
    ctx.setMatchLink(&link);
    RakNet::SocketDescriptor sd(0, "127.0.0.1");
    peer->Startup(1, &sd, 1);
    peer->AttachPlugin(&replicas.manager());
    ctx.game().newGame(true, GameDirector::create("skirmish"));
  }
  ~Host() {
    ctx.game().clearGame(false);
    peer->DetachPlugin(&replicas.manager());
    RakNet::RakPeerInterface::DestroyInstance(peer);
    ctx.setMatchLink(nullptr);
  }
  void connect(std::uint64_t guid) {
    RakNet::RakNetGUID g(guid);
    replicas.manager().PushConnection(replicas.manager().AllocConnection(RakNet::SystemAddress("127.0.0.2", 9), g));
  }
  void disconnect(std::uint64_t guid) {
    RakNet::RakNetGUID g(guid);
    if (RakNet::Connection_RM3* c = replicas.manager().PopConnection(g)) replicas.manager().DeallocConnection(c);
  }
};

void BM_FirstPassOfAGame(benchmark::State& state) {
  Host host;
  std::uint64_t guid = 1;
  for (auto _ : state) {
    host.connect(guid);
    host.replicas.updateReplicas();
    state.PauseTiming();
    host.disconnect(guid++);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_FirstPassOfAGame)->Unit(benchmark::kMillisecond);

void BM_QuietPass(benchmark::State& state) {
  Host host;
  host.connect(1);
  host.replicas.updateReplicas();
  for (auto _ : state) host.replicas.updateReplicas();
}
BENCHMARK(BM_QuietPass)->Unit(benchmark::kMicrosecond);

void BM_PassWithTenChangedElements(benchmark::State& state) {
  Host host;
  host.connect(1);
  host.replicas.updateReplicas();
  Board* board = host.ctx.game().localPlayer()->board();
  bool on = false;
  for (auto _ : state) {
    on = !on;
    for (int x = 10; x < 20; ++x) on ? board->cellAt(x, 30)->reveal() : board->cellAt(x, 30)->hide();
    host.replicas.updateReplicas();
  }
}
BENCHMARK(BM_PassWithTenChangedElements)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
