// The lobby screen with 300 players online, 1280 x 800:
//   - the time to build the player list (one row file a name), wall clock and CPU, and to
//     take the next list while it shows;
//   - the frame while the list scrolls by the wheel, end to end and back (p50, p95, max),
//     wall clock and the process's CPU time a frame (the renderer's threads included).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "CCDirector.h"
#include "CCEGLView.h"
#include "CCFileUtils.h"
#include "CCScheduler.h"
#include "CCScrollView.h"
#include "CCMouseDelegate.h"
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

double nowMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double threadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

double processCpuMs() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0;
}

double percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<size_t>(p * (v.size() - 1) + 0.5))];
}

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
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  CCEGLView* view = CCEGLView::sharedOpenGLView();
  if (!view) return nullptr;
  view->setFrameSize(kWidth, kHeight);
  view->showWindow();
  CCDirector* director = CCDirector::sharedDirector();
  director->setOpenGLView(view);
  director->setProjection(kCCDirectorProjection2D);
  view->setDesignResolutionSize(kWidth, kHeight, kResolutionShowAll);
  CCFileUtils::sharedFileUtils()->setResourceDirectory(MV_DATA_DIR);
  mvtest::prepareGames(MV_DATA_DIR);
  scene = LobbyScene::scene();
  director->runWithScene(scene);
  for (int i = 0; i < 10; ++i) director->mainLoop();
  return scene;
}

void BM_LobbyListOf300(benchmark::State& state) {
  LobbyScene* scene = lobby();
  if (!scene) {
    state.SkipWithError("no OpenGL window");
    return;
  }
  LobbyController* c = scene->controller();
  const std::vector<std::string> list = names(kPlayers);
  std::vector<double> wall, cpu;
  for (auto _ : state) {
    c->setPlayerList(0, {});  // a different list each time, as a new one arrives
    const double t0 = nowMs(), c0 = threadCpuMs();
    c->setPlayerList(kPlayers, list);
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
BENCHMARK(BM_LobbyListOf300)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);


// A list of 300 on screen replaced by the next the server sends: one player more, near the top.
void BM_LobbyListUpdateOf300(benchmark::State& state) {
  LobbyScene* scene = lobby();
  if (!scene) {
    state.SkipWithError("no OpenGL window");
    return;
  }
  LobbyController* c = scene->controller();
  std::vector<std::string> before = names(kPlayers), after = before;
  after.insert(after.begin() + 3, "Newcomer");
  std::vector<double> wall, cpu;
  for (auto _ : state) {
    c->setPlayerList(kPlayers, before);
    const double t0 = nowMs(), c0 = threadCpuMs();
    c->setPlayerList(kPlayers + 1, after);
    wall.push_back(nowMs() - t0);
    cpu.push_back(threadCpuMs() - c0);
    state.SetIterationTime(wall.back() / 1000);
  }
  state.counters["p50_ms"] = percentile(wall, 0.5);
  state.counters["max_ms"] = percentile(wall, 1.0);
  state.counters["cpu_p50_ms"] = percentile(cpu, 0.5);
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
