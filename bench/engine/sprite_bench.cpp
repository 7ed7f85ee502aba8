// Frame time of 10,000 sprites from one sheet: batched (the goal: one draw call per
// sheet and frame) and, for comparison, drawn one by one.
#include <benchmark/benchmark.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "CCDirector.h"
#include "CCEGLView.h"
#include "CCScene.h"
#include "CCSprite.h"
#include "CCSpriteBatchNode.h"
#include "CCSpriteFrame.h"
#include "CCSpriteFrameCache.h"
#include "CCTexture2D.h"
#include "CCTextureCache.h"

using namespace cocos2d;

extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

namespace {

const int kSprites = 10000;
const int kFrames = 16;

// A 64 x 64 sheet of sixteen 16 x 16 frames in different colours.
bool makeSheet(const std::string& dir) {
  std::vector<unsigned char> rgba(64 * 64 * 4);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      int frame = (y / 16) * 4 + x / 16;
      unsigned char* p = &rgba[(y * 64 + x) * 4];
      p[0] = static_cast<unsigned char>(frame * 16);
      p[1] = static_cast<unsigned char>(255 - frame * 16);
      p[2] = static_cast<unsigned char>((x % 16) * 16);
      p[3] = (x % 16 == 0 || y % 16 == 0) ? 0 : 255;
    }
  }
  png_image image;
  std::memset(&image, 0, sizeof(image));
  image.version = PNG_IMAGE_VERSION;
  image.width = 64;
  image.height = 64;
  image.format = PNG_FORMAT_RGBA;
  if (!png_image_write_to_file(&image, (dir + "bench.png").c_str(), 0, rgba.data(), 0, nullptr))
    return false;
  std::string plist =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict><key>frames</key><dict>";
  for (int f = 0; f < kFrames; ++f) {
    char entry[256];
    std::snprintf(entry, sizeof(entry),
                  "<key>f%d.png</key><dict><key>frame</key><string>{{%d,%d},{16,16}}</string>"
                  "<key>offset</key><string>{0,0}</string><key>rotated</key><false/>"
                  "<key>sourceSize</key><string>{16,16}</string></dict>",
                  f, (f % 4) * 16, (f / 4) * 16);
    plist += entry;
  }
  plist += "</dict><key>metadata</key><dict><key>format</key><integer>2</integer>"
           "<key>textureFileName</key><string>bench.png</string></dict></dict></plist>";
  std::FILE* out = std::fopen((dir + "bench.plist").c_str(), "wb");
  if (!out) return false;
  std::fwrite(plist.data(), 1, plist.size(), out);
  std::fclose(out);
  return true;
}

bool setUp() {
  static int ready = -1;
  if (ready >= 0) return ready == 1;
  ready = 0;
  // Without a display the frames are drawn off screen.
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 0);
  CCEGLView* view = CCEGLView::sharedOpenGLView();
  if (!view) return false;
  view->setFrameSize(1024, 768);
  view->showWindow();
  CCDirector* director = CCDirector::sharedDirector();
  director->setOpenGLView(view);
  view->setDesignResolutionSize(1024, 768, kResolutionShowAll);
  std::string dir = "/tmp/mv_bench_" + std::to_string(getpid()) + "/";
  mkdir(dir.c_str(), 0755);
  if (!makeSheet(dir)) return false;
  CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile((dir + "bench.plist").c_str());
  ready = 1;
  return true;
}

void fill(CCNode* parent) {
  char name[32];
  for (int i = 0; i < kSprites; ++i) {
    std::snprintf(name, sizeof(name), "f%d.png", i % kFrames);
    CCSprite* s = CCSprite::createWithSpriteFrameName(name);
    s->setPosition(CCPoint(static_cast<float>((i * 37) % 1024), static_cast<float>((i * 53) % 768)));
    s->setRotation(static_cast<float>(i % 360));
    parent->addChild(s);
  }
}

void runFrames(benchmark::State& state, CCScene* scene, CCNode* moving) {
  CCDirector* director = CCDirector::sharedDirector();
  if (director->getRunningScene()) director->replaceScene(scene);
  else director->runWithScene(scene);
  director->mainLoop();
  float t = 0;
  for (auto _ : state) {
    // Every sprite moves a little each frame, as a scrolling board would.
    t += 1;
    moving->setPosition(CCPoint(t, 0));
    director->mainLoop();
  }
  state.counters["draw_calls"] = director->getDrawCalls();
  state.counters["sprites"] = kSprites;
  state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                             benchmark::Counter::kIsRate);
}

void BM_TenThousandSpritesBatched(benchmark::State& state) {
  if (!setUp()) {
    state.SkipWithError("no OpenGL window");
    return;
  }
  CCScene* scene = CCScene::create();
  CCTexture2D* texture =
      CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName("f0.png")->getTexture();
  CCSpriteBatchNode* batch = CCSpriteBatchNode::createWithTexture(texture, kSprites);
  fill(batch);
  scene->addChild(batch);
  runFrames(state, scene, batch);
}
BENCHMARK(BM_TenThousandSpritesBatched)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

void BM_TenThousandSpritesUnbatched(benchmark::State& state) {
  if (!setUp()) {
    state.SkipWithError("no OpenGL window");
    return;
  }
  CCScene* scene = CCScene::create();
  CCNode* layer = CCNode::create();
  fill(layer);
  scene->addChild(layer);
  runFrames(state, scene, layer);
}
BENCHMARK(BM_TenThousandSpritesUnbatched)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
