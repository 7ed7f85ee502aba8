// Many games in one run: the game comes up through its loading screen, then ten skirmishes
// are started from the main menu, played a few turns by a bot at the hub's local entries
// (the screen shows every move and effect) and left through the in-game menu's exit. The
// resident memory and the live node count are read on the menu after each game: what the
// first game left should be what the tenth leaves.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "NodeTree.h"
#include "CCDirector.h"
#include "CCEGLView.h"
#include "CCFileUtils.h"
#include "CCNodeCount.h"
#include "CCScheduler.h"
#include "CCScrollView.h"
#include "EventDispatcher.h"
#include "GameContext.h"
#include "GameController.h"
#include "LoadingScene.h"
#include "LocalBot.h"
#include "MainScene.h"
#include "MenuController.h"
#include "MenuScene.h"
#include "ScreenFlow.h"
#include "ScreensBenchWindow.h"
#include "game/GameSession.h"

using namespace cocos2d;

extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

namespace {

constexpr int kGames = 10;
constexpr float kStep = 0.5f;  // the scheduler's step: thirty times the game's pace

bool openWindow() {
  if (!openScreensBenchWindow()) return false;
  ScreenFlow::instance().setGameScreen(MainScene::flowLink());
  return true;
}

// One frame: the scheduler advances by dt, the scene is drawn.
void frame(float dt) {
  CCScheduler::sharedScheduler()->update(dt);
  CCDirector::sharedDirector()->setNextDeltaTimeZero(true);
  CCDirector::sharedDirector()->mainLoop();
}

bool runUntil(const std::function<bool()>& done, int maxFrames, float dt) {
  for (int i = 0; i < maxFrames && !done(); ++i) frame(dt);
  return done();
}

bool onMenu() { return dynamic_cast<MenuScene*>(CCDirector::sharedDirector()->getRunningScene()) != nullptr; }

long residentKb() {
  long pages = 0, resident = 0;
  FILE* f = std::fopen("/proc/self/statm", "r");
  if (!f) return -1;
  const int read = std::fscanf(f, "%ld %ld", &pages, &resident);
  std::fclose(f);
  return read == 2 ? resident * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

// Live nodes less the lines of the game's log, which keeps a bounded number of them.
long nodesBesidesTheLog() {
  long nodes = static_cast<long>(liveNodeCount());
  MainScene* scene = MainScene::existing();
  GameController* c = scene ? scene->gameController() : nullptr;
  CCNode* log = c && c->gameLog().logView() ? c->gameLog().logView()->getContainer() : nullptr;
  if (log) mv::forEachNodeDeep(log, [&](CCNode*) { --nodes; });
  return nodes;
}

void BM_TenGamesFromTheMenuAndBack(benchmark::State& state) {
  if (!openWindow()) {
    state.SkipWithError("no OpenGL window");
    return;
  }
  for (auto _ : state) {
    CCDirector::sharedDirector()->runWithScene(LoadingScene::scene());
    if (!runUntil(onMenu, 2000, 0.1f)) {
      state.SkipWithError("the menu did not come");
      return;
    }
    MenuController* menu = MenuScene::scene()->controller();
    menu->skipIntro();
    EventDispatcher& hub = eventDispatcher();
    long rss[kGames] = {}, nodes[kGames] = {};
    int turns = 0;
    // Alike games (the same seeds), so what one leaves behind is what the next leaves.
    for (int g = 0; g < kGames; ++g) {
      hub.context().seed(5);
      std::srand(5);
      menu->onSingle(nullptr);
      runUntil([&] { return !onMenu(); }, 200, 1.0f / 60);
      LocalBot bot(hub, 100);
      GameController* c = MainScene::scene()->gameController();
      for (int i = 0; i < 4000 && hub.game().started() && hub.game().turn() < 3; ++i)
        if (!bot.step() || i % 4 == 0) frame(kStep);
      turns += hub.game().turn();
      if (hub.game().started()) c->onMenuExitToMenu(nullptr);
      runUntil(onMenu, 200, 1.0f / 60);
      for (int i = 0; i < 60; ++i) frame(1.0f / 60);
      rss[g] = residentKb();
      nodes[g] = nodesBesidesTheLog();
    }
    std::string line;
    for (int g = 0; g < kGames; ++g)
      line += " " + std::to_string(rss[g] / 1024) + "MB/" + std::to_string(nodes[g]);
    std::printf("after each game, resident memory/nodes (the log aside):%s\n", line.c_str());
    state.counters["rss_first_kb"] = static_cast<double>(rss[0]);
    state.counters["rss_second_kb"] = static_cast<double>(rss[1]);
    state.counters["rss_tenth_kb"] = static_cast<double>(rss[kGames - 1]);
    state.counters["rss_growth_per_game_kb"] = static_cast<double>(rss[kGames - 1] - rss[1]) / (kGames - 2);
    state.counters["turns_played"] = turns;
    state.counters["nodes_first"] = static_cast<double>(nodes[0]);
    state.counters["nodes_tenth"] = static_cast<double>(nodes[kGames - 1]);
  }
}
BENCHMARK(BM_TenGamesFromTheMenuAndBack)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
