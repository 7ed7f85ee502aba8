// The lobby screen with 300 players online, 1280 x 800:
//   - the time to build the player list (one row file a name), wall clock and CPU, and to
//     take the next list while it shows;
//   - the frame while the list scrolls by the wheel, end to end and back (p50, p95, max),
//     wall clock and the process's CPU time a frame (the renderer's threads included).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchWindow.h"
#include "CCDirector.h"
#include "CCScheduler.h"
#include "CCMouseDelegate.h"
#include "CCScrollView.h"
#include "EventDispatcher.h"
#include "GameWindow.h"
#include "LobbyController.h"
#include "LobbyScene.h"
#include "ScreenFlow.h"

using namespace cocos2d;

extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 800;
constexpr int kPlayers = 300;

using benchclock::nowMs;
using benchclock::percentile;
using benchclock::processCpuMs;
using benchclock::threadCpuMs;

std::vector<std::string> names(int count) {
  std::vector<std::string> out;
  for (int i = 0; i < count; ++i) out.push_back("Wanderer" + std::to_string(i + 1));
  return out;
}

// The lobby scene on screen in a window (off screen without a display), or null.
LobbyScene* lobby() {
  static LobbyScene* scene = nullptr;
  static bool tried = false;
  if (tried) return scene;
  tried = true;
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  if (!benchwindow::open(kWidth, kHeight, MV_DATA_DIR)) return nullptr;
  CCDirector* director = CCDirector::sharedDirector();
  mvtest::prepareGames(MV_DATA_DIR);
  scene = LobbyScene::scene();
  director->runWithScene(scene);
  for (int i = 0; i < 10; ++i) director->mainLoop();
  return scene;
}

// Times the change from one list on screen to the next, `iterations` times.
void timeListChange(benchmark::State& state, const std::vector<std::string>& from, const std::vector<std::string>& to) {
  LobbyScene* scene = lobby();
  if (!scene) {
    state.SkipWithError("no OpenGL window");
    return;
  }
  LobbyController* c = scene->controller();
  std::vector<double> wall, cpu;
  for (auto _ : state) {
    c->setPlayerList(static_cast<int>(from.size()), from);
    const double t0 = nowMs(), c0 = threadCpuMs();
    c->setPlayerList(static_cast<int>(to.size()), to);
    wall.push_back(nowMs() - t0);
    cpu.push_back(threadCpuMs() - c0);
    state.SetIterationTime(wall.back() / 1000);
  }
  state.counters["rows"] = static_cast<double>(c->rowBindings().rowCount());
  state.counters["p50_ms"] = percentile(wall, 0.5);
  state.counters["max_ms"] = percentile(wall, 1.0);
  state.counters["cpu_p50_ms"] = percentile(cpu, 0.5);
  state.counters["cpu_max_ms"] = percentile(cpu, 1.0);
}

// The whole list built: the lobby entered with 300 players online.
void BM_LobbyListOf300(benchmark::State& state) { timeListChange(state, {}, names(kPlayers)); }
BENCHMARK(BM_LobbyListOf300)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

// A list of 300 on screen replaced by the next the server sends: one player more, near the top.
void BM_LobbyListUpdateOf300(benchmark::State& state) {
  std::vector<std::string> before = names(kPlayers), after = before;
  after.insert(after.begin() + 3, "Newcomer");
  timeListChange(state, before, after);
}
BENCHMARK(BM_LobbyListUpdateOf300)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

// A wheel notch each frame with the cursor over the list, down to the end and back up.
void BM_LobbyScrollFrameWith300(benchmark::State& state) {
  LobbyScene* scene = lobby();
  if (!scene) {
    state.SkipWithError("no OpenGL window");
    return;
  }
  LobbyController* c = scene->controller();
  c->setPlayerList(kPlayers, names(kPlayers));
  extension::CCScrollView* list = c->playerList();
  const CCSize view = list->getViewSize();
  const CCPoint middle =
      list->getParent()->convertToWorldSpace(CCPoint(list->getPositionX() + view.width / 2,
                                                     list->getPositionY() + view.height / 2));
  CCMouseEvent move;
  move.setLocation(CCDirector::sharedDirector()->convertToUI(middle));
  list->mouseMoved(&move, nullptr);
  CCDirector* director = CCDirector::sharedDirector();
  std::vector<double> wall, cpu;
  float direction = -1;  // -1: down the list
  for (auto _ : state) {
    const double t0 = nowMs(), c0 = processCpuMs();
    const float before = list->getContentOffset().y;
    CCMouseEvent wheel;
    wheel.setDelta(CCPoint(0, direction * 12));  // a tenth of a notch: a smooth wheel
    list->scrollWheel(&wheel);
    if (list->getContentOffset().y == before) direction = -direction;  // an end: turn round
    CCScheduler::sharedScheduler()->update(1.0f / 60);
    director->setNextDeltaTimeZero(true);
    director->mainLoop();
    wall.push_back(nowMs() - t0);
    cpu.push_back(processCpuMs() - c0);
    state.SetIterationTime(wall.back() / 1000);
  }
  state.counters["p50_ms"] = percentile(wall, 0.5);
  state.counters["p95_ms"] = percentile(wall, 0.95);
  state.counters["max_ms"] = percentile(wall, 1.0);
  state.counters["cpu_p50_ms"] = percentile(cpu, 0.5);
  state.counters["cpu_p95_ms"] = percentile(cpu, 0.95);
  state.counters["draw_calls"] = director->getDrawCalls();
}
BENCHMARK(BM_LobbyScrollFrameWith300)->Iterations(600)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
