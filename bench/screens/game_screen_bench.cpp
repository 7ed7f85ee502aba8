// The in-game screen with both towers built to the full (every in-play cell a block or
// a room, three in ten burning with smoke, the rest in water at half height), 1280 x 800:
//   - frame times (p50, p95) and draw calls of the screen as the game draws it;
//   - the same visible sprites drawn bare, one batch per texture and no scene graph, and
//     the ratio of the two;
//   - the time to build the screen with full boards, the time to make the towers' nodes,
//     and the resident memory of the running game;
//   - the same frame with the heaviest effects playing at once (an earthquake, rain, a
//     fireball), each started again as it ends;
//   - the time to add a line to a game log of a thousand lines.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <vector>

#include "BenchClock.h"
#include "BenchWindow.h"
#include "CCBReader.h"
#include "CCDirector.h"
#include "CCGLProgram.h"
#include "CCLayerColor.h"
#include "CCParticleSystemQuad.h"
#include "CCScene.h"
#include "CCShaderCache.h"
#include "CCSprite.h"
#include "CCSpriteFrameCache.h"
#include "CCTexture2D.h"
#include "CCTextureAtlas.h"
#include "CardTable.h"
#include "EventDispatcher.h"
#include "FlowHost.h"
#include "FullTowers.h"
#include "GameWindow.h"
#include "GameContext.h"
#include "GameController.h"
#include "Hotkeys.h"
#include "LanguageFile.h"
#include "MainScene.h"
#include "QuadBatchNode.h"
#include "game/GameSession.h"
#include "player/Player.h"
#include "Board.h"
#include "ccGLStateCache.h"
#include "ports/TextLookup.h"

using namespace cocos2d;

extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

namespace {

using benchclock::nowMs;
using benchclock::percentile;
using benchclock::processCpuMs;

constexpr int kWidth = 1280;
constexpr int kHeight = 800;
constexpr int kFrames = 240;

double residentMb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}


// Runs the director for about `seconds` of real time.
void settle(double seconds) {
  const double end = nowMs() + seconds * 1000;
  while (nowMs() < end) CCDirector::sharedDirector()->mainLoop();
}

struct Setup {
  bool ok = false;
  double towersMs = 0;
  double residentBeforeGameMb = 0;
  double residentAfterTowersMb = 0;
  double residentEmptyGameMb = 0;  // the screen built, the towers not yet
};

Setup& setUp() {
  static Setup s;
  static bool tried = false;
  if (tried) return s;
  tried = true;
  if (!benchwindow::open(kWidth, kHeight, MV_DATA_DIR)) return s;
  settle(0.2);
  s.residentBeforeGameMb = residentMb();
  mvtest::prepareGames(MV_DATA_DIR);
  if (!eventDispatcher().startSingleGame("skirmish")) return s;
  settle(0.3);
  s.residentEmptyGameMb = residentMb();
  GameSession& game = eventDispatcher().game();
  const double t0 = nowMs();
  mvtest::buildFullTower(*game.localPlayer(), true);
  mvtest::buildFullTower(*game.enemyPlayer(), false);
  s.towersMs = nowMs() - t0;
  s.residentAfterTowersMb = residentMb();
  // The view settles on our tower and the smoke fills.
  settle(3.0);
  s.ok = true;
  return s;
}

// ---- The same sprites, bare ---------------------------------------------------------------

// Every quad the scene draws, in window space, by texture and blend function; quads wholly
// off the window are left out.
class QuadCollector {
 public:
  struct Group {
    CCTexture2D* texture;
    ccBlendFunc blend;
    std::vector<ccV3F_C4B_T2F_Quad> quads;
  };
  std::vector<Group> groups;

  void collect(CCNode* node, const CCAffineTransform& parentToWorld) {
    if (!node->isVisible()) return;
    const CCAffineTransform t = CCAffineTransformConcat(node->nodeToParentTransform(), parentToWorld);
    if (auto* p = dynamic_cast<CCParticleSystemQuad*>(node)) {
      std::vector<ccV3F_C4B_T2F_Quad> qs;
      p->appendQuads(qs);
      for (const auto& q : qs) add(p->getTexture(), p->getBlendFunc(), q, t);
    } else if (auto* sprite = dynamic_cast<CCSprite*>(node)) {
      if (sprite->getTexture()) add(sprite->getTexture(), sprite->getBlendFunc(), sprite->getQuad(), t);
    }
    if (CCArray* children = node->getChildren()) {
      node->sortAllChildren();
      for (unsigned int i = 0; i < children->count(); ++i)
        collect(static_cast<CCNode*>(children->objectAtIndex(i)), t);
    }
  }
  size_t quadCount() const {
    size_t n = 0;
    for (const Group& g : groups) n += g.quads.size();
    return n;
  }

 private:
  void add(CCTexture2D* texture, ccBlendFunc blend, ccV3F_C4B_T2F_Quad q, const CCAffineTransform& t) {
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    for (ccV3F_C4B_T2F* c : {&q.bl, &q.br, &q.tl, &q.tr}) {
      const CCPoint p = CCPointApplyAffineTransform(CCPoint(c->vertices.x, c->vertices.y), t);
      c->vertices = vertex3(p.x, p.y, 0);
      minX = std::min(minX, p.x);
      maxX = std::max(maxX, p.x);
      minY = std::min(minY, p.y);
      maxY = std::max(maxY, p.y);
    }
    if (maxX < 0 || maxY < 0 || minX > kWidth || minY > kHeight) return;
    for (Group& g : groups)
      if (g.texture == texture && g.blend.src == blend.src && g.blend.dst == blend.dst) {
        g.quads.push_back(q);
        return;
      }
    groups.push_back({texture, blend, {q}});
  }
};

// Draws prepared atlases: one draw call each, nothing else.
class BareQuads : public CCNode {
 public:
  static BareQuads* create(const QuadCollector& collected) {
    BareQuads* n = new BareQuads();
    n->init();
    n->autorelease();
    for (const QuadCollector::Group& g : collected.groups) {
      CCTextureAtlas* atlas = new CCTextureAtlas();
      atlas->initWithTexture(g.texture, static_cast<unsigned int>(g.quads.size()) + 1);
      for (unsigned int i = 0; i < g.quads.size(); ++i) atlas->updateQuad(&g.quads[i], i);
      n->atlases_.push_back({atlas, g.blend});
    }
    return n;
  }
  ~BareQuads() override {
    for (auto& a : atlases_) a.first->release();
  }
  void draw() override {
    CCGLProgram* program = CCShaderCache::sharedShaderCache()->programForKey(kCCShader_PositionTextureColor);
    for (auto& a : atlases_) {
      program->use();
      program->setUniformForModelViewProjectionMatrix();
      ccGLBlendFunc(a.second.src, a.second.dst);
      a.first->drawQuads();
    }
  }

 private:
  std::vector<std::pair<CCTextureAtlas*, ccBlendFunc>> atlases_;
};

struct FrameStats {
  double p50 = 0, p95 = 0;
  unsigned int drawCalls = 0;
  double cpuMsPerFrame = 0;
};

FrameStats timeFrames() {
  CCDirector* director = CCDirector::sharedDirector();
  std::vector<double> times;
  unsigned int calls = 0;
  const double cpu0 = processCpuMs();
  for (int i = 0; i < kFrames; ++i) {
    const double t0 = nowMs();
    director->mainLoop();
    times.push_back(nowMs() - t0);
    calls = std::max(calls, director->getDrawCalls());
  }
  return {percentile(times, 0.5), percentile(times, 0.95), calls, (processCpuMs() - cpu0) / kFrames};
}

void BM_FullBoardFrame(benchmark::State& state) {
  Setup& s = setUp();
  if (!s.ok) {
    state.SkipWithError("no OpenGL window or no game");
    return;
  }
  CCDirector* director = CCDirector::sharedDirector();
  MainScene* scene = MainScene::scene();
  FrameStats game, bare;
  size_t quads = 0;
  const int refreshes = scene->gameController()->refreshCount();
  for (auto _ : state) {
    game = timeFrames();
    state.counters["refreshes"] = scene->gameController()->refreshCount() - refreshes;
    QuadCollector collected;
    collected.collect(scene, CCAffineTransformMakeIdentity());
    quads = collected.quadCount();
    CCScene* bareScene = CCScene::create();
    // The sky is drawn in both, so that the bare frame fills the window as the game's does.
    bareScene->addChild(CCLayerGradient::create(ccc4(70, 112, 196, 255), ccc4(238, 222, 196, 255)));
    bareScene->addChild(BareQuads::create(collected));
    director->replaceScene(bareScene);
    director->mainLoop();
    bare = timeFrames();
    director->replaceScene(scene);
    director->mainLoop();
  }
  state.counters["p50_ms"] = game.p50;
  state.counters["p95_ms"] = game.p95;
  state.counters["draw_calls"] = game.drawCalls;
  state.counters["bare_p50_ms"] = bare.p50;
  state.counters["bare_p95_ms"] = bare.p95;
  state.counters["bare_draw_calls"] = bare.drawCalls;
  state.counters["ratio_p50"] = bare.p50 > 0 ? game.p50 / bare.p50 : 0;
  state.counters["ratio_p95"] = bare.p95 > 0 ? game.p95 / bare.p95 : 0;
  state.counters["visible_quads"] = static_cast<double>(quads);
  state.counters["cpu_ms_per_frame"] = game.cpuMsPerFrame;
  // Where the quads come from: the element and smoke batches of both towers.
  GameController* c = scene->gameController();
  for (auto side : {std::make_pair("ours", static_cast<CCNode*>(c->camera().ourLayer())),
                    std::make_pair("enemy", static_cast<CCNode*>(c->camera().enemyLayer()))}) {
    if (QuadBatchNode* b = c->boardView().elemBatchIn(side.second))
      state.counters[std::string(side.first) + "_elem_quads"] = b->quadCount();
    if (QuadBatchNode* b = c->boardView().smokeBatchIn(side.second))
      state.counters[std::string(side.first) + "_smoke_quads"] = b->quadCount();
  }
  state.counters["bare_cpu_ms_per_frame"] = bare.cpuMsPerFrame;
}
BENCHMARK(BM_FullBoardFrame)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// Plays an effect again each time it ends, until stopped.
class LoopedEffect {
 public:
  LoopedEffect(int card, Player& caster, Player& target, BoardElem* elem) {
    record_.caster = &caster;
    record_.target = &target;
    record_.card = card;
    record_.power = 1;
    if (elem) record_.targets = {elem};
  }
  void start() {
    running_ = true;
    show();
  }
  void stop() { running_ = false; }
  int plays = 0;

 private:
  void show() {
    ++plays;
    GameController* c = MainScene::scene()->gameController();
    c->showSpellEffect(record_, *record_.caster, SpellCompletion(eventDispatcher().game().gameToken(), [this] {
                         if (running_) show();
                       }));
  }
  AnimateSpellEvent record_;
  bool running_ = false;
};

void BM_FullBoardFrameWithEffects(benchmark::State& state) {
  Setup& s = setUp();
  if (!s.ok) {
    state.SkipWithError("no OpenGL window or no game");
    return;
  }
  GameSession& game = eventDispatcher().game();
  Player& local = *game.localPlayer();
  Player& enemy = *game.enemyPlayer();
  LoopedEffect quake(CardId::Earthquake, local, enemy, nullptr);
  LoopedEffect rain(CardId::Rain, local, enemy, nullptr);
  LoopedEffect fireball(CardId::Fireball, enemy, local, local.board()->cellAt(20, 21));
  FrameStats withEffects;
  for (auto _ : state) {
    for (LoopedEffect* e : {&quake, &rain, &fireball}) e->start();
    // The rain falls and the fireball flies before the frames are timed.
    settle(1.0);
    withEffects = timeFrames();
    for (LoopedEffect* e : {&quake, &rain, &fireball}) e->stop();
    settle(7.0);
  }
  state.counters["p50_ms"] = withEffects.p50;
  state.counters["p95_ms"] = withEffects.p95;
  state.counters["draw_calls"] = withEffects.drawCalls;
  state.counters["cpu_ms_per_frame"] = withEffects.cpuMsPerFrame;
  state.counters["effects_played"] = quake.plays + rain.plays + fireball.plays;
}
BENCHMARK(BM_FullBoardFrameWithEffects)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_ScreenBuildWithFullBoards(benchmark::State& state) {
  Setup& s = setUp();
  if (!s.ok) {
    state.SkipWithError("no OpenGL window or no game");
    return;
  }
  MainScene* scene = MainScene::scene();
  std::vector<double> times;
  for (auto _ : state) {
    const double t0 = nowMs();
    scene->relayout();
    times.push_back(nowMs() - t0);
    CCDirector::sharedDirector()->mainLoop();
  }
  state.counters["build_p50_ms"] = percentile(times, 0.5);
  state.counters["build_max_ms"] = percentile(times, 1.0);
  state.counters["towers_nodes_ms"] = s.towersMs;
  state.counters["resident_mb"] = residentMb();
  state.counters["resident_before_game_mb"] = s.residentBeforeGameMb;
  state.counters["resident_after_towers_mb"] = s.residentAfterTowersMb;
  state.counters["resident_empty_game_mb"] = s.residentEmptyGameMb;
  state.counters["elements_shown"] = static_cast<double>(scene->gameController()->boardView().nodeCount());
}
BENCHMARK(BM_ScreenBuildWithFullBoards)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

void BM_LogLineOnALongLog(benchmark::State& state) {
  Setup& s = setUp();
  if (!s.ok) {
    state.SkipWithError("no OpenGL window or no game");
    return;
  }
  GameController* c = MainScene::scene()->gameController();
  const LogColour colour = {103, 91, 80};
  while (c->gameLog().records().size() < 1000)
    c->addLogLine(c->gameLog().records().size() % 4 ? "" : "Rival Mage",
                  "Turn " + std::to_string(c->gameLog().records().size()) + ": the enemy's tower burns on three floors", colour);
  std::vector<double> times;
  for (auto _ : state) {
    const double t0 = nowMs();
    c->addLogLine("Rival Mage", "a line of chat that goes on long enough to wrap once in the log", colour);
    times.push_back(nowMs() - t0);
  }
  state.counters["add_p50_ms"] = percentile(times, 0.5);
  state.counters["add_max_ms"] = percentile(times, 1.0);
  state.counters["lines"] = static_cast<double>(c->gameLog().records().size());
  // The whole log made anew, as a new screen does.
  const double t0 = nowMs();
  c->gameLog().layoutLog();
  state.counters["full_layout_ms"] = nowMs() - t0;
}
BENCHMARK(BM_LogLineOnALongLog)->Unit(benchmark::kMillisecond)->Iterations(200)->UseRealTime();

// A refresh of the screen lays the selection bar anew: here a bar of eleven cards.
void BM_RefreshWithAFullBar(benchmark::State& state) {
  Setup& s = setUp();
  if (!s.ok) {
    state.SkipWithError("no OpenGL window or no game");
    return;
  }
  GameController* c = MainScene::scene()->gameController();
  c->setCardList({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11});
  std::vector<double> times;
  for (auto _ : state) {
    const double t0 = nowMs();
    c->refreshGui();
    c->refreshIfChanged();
    times.push_back(nowMs() - t0);
  }
  state.counters["refresh_p50_ms"] = percentile(times, 0.5);
  state.counters["refresh_max_ms"] = percentile(times, 1.0);
  state.counters["buttons"] = static_cast<double>(c->bar().shownButtons().size());
}
BENCHMARK(BM_RefreshWithAFullBar)->Unit(benchmark::kMillisecond)->Iterations(200)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
