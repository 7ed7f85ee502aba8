#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CCApplication.h"
#include "CCDirector.h"
#include "CCEGLView.h"
#include "CCIMEDispatcher.h"
#include "CCLayerColor.h"
#include "CCScene.h"
#include "gfx_test_util.h"

using namespace cocos2d;

namespace {

// An application that records what the window tells it.
class RecordingApp : public CCApplication {
 public:
  bool applicationDidFinishLaunching() override { return true; }
  void applicationDidEnterBackground() override { calls.push_back("background"); }
  void applicationWillEnterForeground() override { calls.push_back("foreground"); }
  std::vector<std::string> calls;
};

void pushWindowEvent(Uint8 what) {
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_WINDOWEVENT;
  e.window.event = what;
  SDL_PushEvent(&e);
}

TEST(AppLoopTest, AFrameRunsOnlyWhenMoreThanOneIntervalHasPassed) {
  if (!gfxtest::testView()) GTEST_SKIP() << "no display";
  gfxtest::showScene(CCScene::create());
  CCDirector* director = CCDirector::sharedDirector();
  RecordingApp app;
  // Long enough that a frame under the sanitizers never takes a whole interval.
  app.setAnimationInterval(0.2);
  SDL_Delay(220);
  ASSERT_TRUE(app.step());
  unsigned int frames = director->getTotalFrames();
  EXPECT_FALSE(app.step());  // less than an interval since that frame: a short sleep
  EXPECT_FALSE(app.step());
  EXPECT_EQ(director->getTotalFrames(), frames);
  SDL_Delay(220);
  EXPECT_TRUE(app.step());
  // A late frame is not made up: after four intervals one frame runs, then the loop waits.
  SDL_Delay(850);
  EXPECT_TRUE(app.step());
  EXPECT_FALSE(app.step());
  EXPECT_EQ(director->getTotalFrames(), frames + 2);
  app.quit();
  EXPECT_FALSE(app.step());
}

TEST(AppLoopTest, MinimisingAndRestoringSendTheGameToTheBackgroundAndBack) {
  if (!gfxtest::testView()) GTEST_SKIP() << "no display";
  RecordingApp app;
  CCEGLView* view = CCDirector::sharedDirector()->getOpenGLView();
  view->pollEvents();
  app.calls.clear();
  pushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
  pushWindowEvent(SDL_WINDOWEVENT_RESTORED);
  view->pollEvents();
  // The window system may add focus events of its own; ours come in this order.
  ASSERT_GE(app.calls.size(), 2u);
  EXPECT_EQ(std::count(app.calls.begin(), app.calls.end(), "background"), 1);
  EXPECT_EQ(app.calls.back(), "foreground");
}

// Return ends a line of the field being edited instead of typing a line feed.
TEST(AppLoopTest, ReturnTellsTheTextFieldsInsteadOfTyping) {
  if (!gfxtest::testView()) GTEST_SKIP() << "no display";
  struct Field : CCIMEDelegate {
    bool canAttachWithIME() override { return true; }
    bool canDetachWithIME() override { return true; }
    void insertText(const char* text, int length) override { typed.append(text, length); }
    void keyboardWillHide(CCIMEKeyboardNotificationInfo&) override { ++returns; }
    std::string typed;
    int returns = 0;
  } field;
  field.attachWithIME();
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_KEYDOWN;
  e.key.keysym.sym = SDLK_RETURN;
  SDL_PushEvent(&e);
  CCDirector::sharedDirector()->getOpenGLView()->pollEvents();
  EXPECT_EQ(field.returns, 1);
  EXPECT_EQ(field.typed, "");
  field.detachWithIME();
}

TEST(AppLoopTest, StatisticsShowInTheCornerWithoutCountingThemselves) {
  if (!gfxtest::testView()) GTEST_SKIP() << "no display";
  CCDirector* director = CCDirector::sharedDirector();
  CCScene* scene = CCScene::create();
  scene->addChild(CCLayerColor::create(ccc4(0, 0, 80, 255)));
  gfxtest::showScene(scene);
  EXPECT_EQ(director->getDrawCalls(), 1u);
  director->setDisplayStats(true);
  gfxtest::frame();
  director->setDisplayStats(false);
  EXPECT_EQ(director->getDrawCalls(), 1u);
  int lit = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x)
      if (gfxtest::near(gfxtest::pixelAt(x, y), gfxtest::Rgb{255, 255, 255}, 2)) ++lit;
  EXPECT_GT(lit, 20);
  EXPECT_TRUE(gfxtest::near(gfxtest::pixelAt(200, 200), gfxtest::Rgb{0, 0, 80}, 2));
}

TEST(AppLoopTest, ASocialPageOpensAtTheNetworksAddressByItsName) {
  EXPECT_EQ(CCApplication::socialPageAddress("mirrowvale"), "https://social.example/mirrowvale");
}

}  // namespace
