// The way to the main menu and the menu's frame: the time from start to the menu (whose
// loading is paced by design at 0.1 s an asset, then a one-second fade), and the frame time
// of the menu at 1280 x 800 with the wind blowing and the title intro playing.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

#include "CCDirector.h"
#include "CCEGLView.h"
#include "CCFileUtils.h"
#include "CCScheduler.h"
#include "EventDispatcher.h"
#include "LoadingScene.h"
#include "MenuController.h"
#include "MenuScene.h"
#include "ScreenFlow.h"
#include "ScreensBenchWindow.h"

using namespace cocos2d;
using Clock = std::chrono::steady_clock;

extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

namespace {

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The median, the 95th percentile and the longest of the frame times, in milliseconds.
void reportFrames(benchmark::State& state, std::vector<double> frames) {
  if (frames.empty()) return;
  std::sort(frames.begin(), frames.end());
  auto at = [&](double q) { return frames[static_cast<size_t>(q * (frames.size() - 1))] * 1000; };
  state.counters["p50_ms"] = at(0.50);
  state.counters["p95_ms"] = at(0.95);
  state.counters["max_ms"] = frames.back() * 1000;
}

bool openWindow() { return openScreensBenchWindow(); }

bool menuShows() {
  CCScene* running = CCDirector::sharedDirector()->getRunningScene();
  return dynamic_cast<MenuScene*>(running) && static_cast<MenuScene*>(running)->controller()->isIntroRunning();
}

// From before the window opens to the menu on screen with its intro playing, frames run as
// fast as the game's loop would let them.
void BM_StartToMenu(benchmark::State& state) {
  for (auto _ : state) {
    Clock::time_point start = Clock::now();
    if (!openWindow()) {
      state.SkipWithError("no OpenGL window");
      return;
    }
    Clock::time_point windowOpen = Clock::now();
    CCDirector* director = CCDirector::sharedDirector();
    LoadingScene* loading = LoadingScene::scene();
    director->runWithScene(loading);
    director->startAnimation();
    Clock::time_point giveUp = start + std::chrono::seconds(30);
    while (!loading->controller()->finished() && Clock::now() < giveUp) director->mainLoop();
    Clock::time_point loaded = Clock::now();
    while (!menuShows() && Clock::now() < giveUp) director->mainLoop();
    double total = seconds(Clock::now() - start);
    state.SetIterationTime(total);
    const int assets = loading->controller()->total();
    const double paced = assets * LoadinGameController::kStepDelay + 1.0;
    state.counters["assets"] = assets;
    state.counters["total_s"] = total;
    state.counters["paced_s"] = paced;
    state.counters["overhead_s"] = total - paced;
    state.counters["window_s"] = seconds(windowOpen - start);
    state.counters["loading_s"] = seconds(loaded - windowOpen);
    state.counters["to_menu_s"] = seconds(Clock::now() - loaded);
  }
}
BENCHMARK(BM_StartToMenu)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// The floor under every frame: an empty scene cleared, drawn and shown.
void BM_EmptyFrame(benchmark::State& state) {
  if (!openWindow()) {
    state.SkipWithError("no OpenGL window");
    return;
  }
  CCDirector* director = CCDirector::sharedDirector();
  CCScene* running = director->getRunningScene();
  if (running) running->retain();
  CCScene* empty = CCScene::create();
  if (running)
    director->replaceScene(empty);
  else
    director->runWithScene(empty);
  director->mainLoop();
  std::vector<double> frames;
  for (auto _ : state) {
    Clock::time_point t0 = Clock::now();
    director->mainLoop();
    frames.push_back(seconds(Clock::now() - t0));
    state.SetIterationTime(frames.back());
  }
  reportFrames(state, frames);
  if (running) {
    director->replaceScene(running);
    director->mainLoop();
    running->release();
  }
}
BENCHMARK(BM_EmptyFrame)->Iterations(600)->UseManualTime()->Unit(benchmark::kMillisecond);

// One frame of the menu: the intro (replayed when it ends), the wind and the drawing.
void BM_MenuFrameWithIntro(benchmark::State& state) {
  if (!openWindow()) {
    state.SkipWithError("no OpenGL window");
    return;
  }
  CCDirector* director = CCDirector::sharedDirector();
  if (!menuShows()) {
    // Run alone: bring the game up first.
    LoadingScene* loading = LoadingScene::scene();
    if (director->getRunningScene())
      director->replaceScene(loading);
    else
      director->runWithScene(loading);
    Clock::time_point giveUp = Clock::now() + std::chrono::seconds(30);
    while (!menuShows() && Clock::now() < giveUp) director->mainLoop();
    if (!menuShows()) {
      state.SkipWithError("the menu did not come");
      return;
    }
  }
  MenuController* menu = MenuScene::scene()->controller();
  std::vector<double> frames;
  const float dt = 1.0f / 60;
  for (auto _ : state) {
    if (!menu->isIntroRunning()) menu->onCredits(nullptr);
    Clock::time_point t0 = Clock::now();
    CCScheduler::sharedScheduler()->update(dt);
    director->setNextDeltaTimeZero(true);
    director->mainLoop();
    double frame = seconds(Clock::now() - t0);
    frames.push_back(frame);
    state.SetIterationTime(frame);
  }
  reportFrames(state, frames);
  state.counters["draw_calls"] = director->getDrawCalls();
}
BENCHMARK(BM_MenuFrameWithIntro)->Iterations(1500)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
