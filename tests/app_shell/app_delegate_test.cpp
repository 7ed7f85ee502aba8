#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "AppDelegate.h"
#include "CCDirector.h"
#include "CCEGLView.h"
#include "CCRelayoutable.h"
#include "CCScene.h"

using namespace cocos2d;

extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

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
  director->end();
  director->mainLoop();  // purges the director and closes the window
  EXPECT_EQ(director->getOpenGLView(), nullptr);
  EXPECT_EQ(director->getRunningScene(), nullptr);
  scene->release();
}

}  // namespace
