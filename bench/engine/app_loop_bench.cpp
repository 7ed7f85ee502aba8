// The frame loop at 60 frames a second with an empty scene: how late each frame starts
// after its time (the loop must not sleep past it) and how much of a core the waiting
// takes.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "CCApplication.h"
#include "CCDirector.h"
#include "CCEGLView.h"
#include "CCScene.h"

using namespace cocos2d;

extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

namespace {

class BenchApp : public CCApplication {
 public:
  bool applicationDidFinishLaunching() override { return true; }
  void applicationDidEnterBackground() override {}
  void applicationWillEnterForeground() override {}
};

double cpuSeconds() {
  rusage r;
  getrusage(RUSAGE_SELF, &r);
  return static_cast<double>(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
         static_cast<double>(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
}

void BM_FrameStartsOnTime(benchmark::State& state) {
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 0);
  CCEGLView* view = CCEGLView::sharedOpenGLView();
  if (!view) {
    state.SkipWithError("no window");
    return;
  }
  CCDirector* director = CCDirector::sharedDirector();
  director->setOpenGLView(view);
  director->runWithScene(CCScene::create());
  BenchApp app;
  const double interval = 1.0 / 60.0;
  app.setAnimationInterval(interval);
  const double freq = static_cast<double>(SDL_GetPerformanceFrequency());
  std::vector<double> lateMicros;
  double cpu = 0, wall = 0;
  for (auto _ : state) {
    // Frame gaps beyond one interval: the time a frame started after it was due.
    const double cpu0 = cpuSeconds();
    const Uint64 wall0 = SDL_GetPerformanceCounter();
    Uint64 last = 0;
    for (int frames = 0; frames < 61;) {
      const Uint64 at = SDL_GetPerformanceCounter();  // the turn that runs a frame starts it
      if (!app.step()) continue;
      if (frames++ > 0) lateMicros.push_back(((at - last) / freq - interval) * 1e6);
      last = at;
    }
    cpu += cpuSeconds() - cpu0;
    wall += (SDL_GetPerformanceCounter() - wall0) / freq;
  }
  std::sort(lateMicros.begin(), lateMicros.end());
  auto at = [&](double q) { return lateMicros[static_cast<size_t>(q * (lateMicros.size() - 1))]; };
  state.counters["late_us_p50"] = at(0.5);
  state.counters["late_us_p90"] = at(0.9);
  state.counters["late_us_p99"] = at(0.99);
  state.counters["core_share"] = wall > 0 ? cpu / wall : 0;
}
BENCHMARK(BM_FrameStartsOnTime)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
