#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

#include "AppDelegate.h"
#include "CCAnimation.h"
#include "CCAnimationCache.h"
#include "CCBMFontConfiguration.h"
#include "CCDirector.h"
#include "CCEGLView.h"
#include "CCRelayoutable.h"
#include "CCScene.h"
#include "CCUserDefault.h"
#include "SimpleAudioEngine.h"

using namespace cocos2d;

extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

// The GL driver's dynamic thread-local blocks make the sanitizer's __tls_get_addr hook
// guess garbage bounds now and then, and the leak check at exit then crashes after every
// test passed; unhooked, the blocks are plain heap chunks and still scanned.
extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }

namespace {

class LayoutScene : public CCScene, public CCRelayoutable {
 public:
  static LayoutScene* create() {
    LayoutScene* s = new LayoutScene();
    s->init();
    s->autorelease();
    return s;
  }
  void relayout() override { ++relayouts; }
  int relayouts = 0;
};

TEST(AppDelegateTest, DesignResolutionFollowsTheFrameAndScenesLayThemselvesOutAgain) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
  setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
  AppDelegate app;
  CCEGLView* view = CCEGLView::sharedOpenGLView();
  ASSERT_NE(view, nullptr);
  view->setFrameSize(640, 480);
  app.selectDesignResolution();
  CCDirector* director = CCDirector::sharedDirector();
  EXPECT_EQ(director->getOpenGLView(), view);
  LayoutScene* scene = LayoutScene::create();
  scene->retain();
  director->runWithScene(scene);
  director->mainLoop();
  for (int round = 1; round <= 2; ++round) {
    app.selectDesignResolution();
    EXPECT_EQ(view->getDesignResolutionSize().width, 640);
    EXPECT_EQ(view->getDesignResolutionSize().height, 480);
    EXPECT_EQ(director->getWinSize().width, 640);
    EXPECT_EQ(scene->relayouts, round);
  }
  view->setFrameSize(800, 600);
  app.selectDesignResolution();
  EXPECT_EQ(director->getWinSize().height, 600);
  EXPECT_EQ(scene->relayouts, 3);
  // Ctrl+F: full screen at the desktop size, laid out anew through the delegate.
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_KEYDOWN;
  e.key.keysym.sym = SDLK_f;
  e.key.keysym.mod = KMOD_LCTRL;
  SDL_PushEvent(&e);
  view->pollEvents();
  CCSize desktop = view->getDesktopSize();
  EXPECT_TRUE(CCEGLView::isFullScreen());
  EXPECT_EQ(view->getDesignResolutionSize().width, desktop.width);
  EXPECT_EQ(view->getDesignResolutionSize().height, desktop.height);
  EXPECT_EQ(scene->relayouts, 4);

  // What the caches hold goes with the director: a font configuration and an
  // animation are left with the one reference each that this test keeps.
  const std::string fnt = std::string(::testing::TempDir()) + "mv_purge_" + std::to_string(::getpid()) + ".fnt";
  std::ofstream(fnt) << "common lineHeight=16 base=13 scaleW=32 scaleH=32 pages=1\n"
                        "page id=0 file=\"purge.png\"\n"
                        "char id=65 x=0 y=0 width=10 height=12 xoffset=0 yoffset=0 xadvance=12 page=0\n";
  CCBMFontConfiguration* font = FNTConfigLoadFile(fnt.c_str());
  ASSERT_NE(font, nullptr);
  font->retain();
  CCAnimation* animation = new CCAnimation();
  ASSERT_TRUE(animation->init());
  CCAnimationCache::sharedAnimationCache()->addAnimation(animation, "purge");
  EXPECT_EQ(animation->retainCount(), 2u);

  director->end();
  director->mainLoop();  // purges the director and closes the window
  EXPECT_EQ(director->getOpenGLView(), nullptr);
  EXPECT_EQ(director->getRunningScene(), nullptr);
  EXPECT_EQ(font->retainCount(), 1u);
  EXPECT_EQ(animation->retainCount(), 1u);
  font->release();
  animation->release();
  std::remove(fnt.c_str());
  scene->release();
}

TEST(AppDelegateTest, MusicSettingSetsTheMusicVolume) {
  const std::string home = std::string(::testing::TempDir()) + "mv_music_" + std::to_string(::getpid());
  setenv("XDG_DATA_HOME", home.c_str(), 1);
  CCUserDefault::purgeSharedUserDefault();
  auto* audio = CocosDenshion::SimpleAudioEngine::sharedEngine();
  AppDelegate::applyMusicSetting();  // no setting yet: music on
  EXPECT_FLOAT_EQ(audio->getBackgroundMusicVolume(), 1.0f);
  CCUserDefault::sharedUserDefault()->setBoolForKey("music", false);
  AppDelegate::applyMusicSetting();
  EXPECT_FLOAT_EQ(audio->getBackgroundMusicVolume(), 0.0f);
  CCUserDefault::sharedUserDefault()->setBoolForKey("music", true);
  AppDelegate::applyMusicSetting();
  EXPECT_FLOAT_EQ(audio->getBackgroundMusicVolume(), 1.0f);
  CCUserDefault::purgeSharedUserDefault();
  std::system(("rm -rf '" + home + "'").c_str());
  unsetenv("XDG_DATA_HOME");
}

}  // namespace
