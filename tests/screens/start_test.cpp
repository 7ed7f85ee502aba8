// From the program's first scene to the main menu: the logo and the loading, the fade, the
// title intro watched to its end, and the menu.
#include "CCDirector.h"
#include "CCLabelBMFont.h"
#include "CCLayer.h"
#include "CCSprite.h"
#include "LoadingScene.h"
#include "MenuController.h"
#include "MenuScene.h"
#include "ScreensFixture.h"

using namespace cocos2d;
using mvtest::ScriptedPlayer;

namespace {

struct WindowSize {
  int width, height;
};

void PrintTo(const WindowSize& s, std::ostream* os) { *os << s.width << "x" << s.height; }

class StartTest : public mvtest::ScreensTest, public ::testing::WithParamInterface<WindowSize> {
 protected:
  void TearDown() override {
    ScriptedPlayer::resizeWindow(1024, 768);
    ScreensTest::TearDown();
  }
  // A screenshot named for the window's size.
  void shot(const std::string& name) {
    ScriptedPlayer::screenshot(name + "-" + std::to_string(GetParam().width) + "x" +
                               std::to_string(GetParam().height));
  }
};

bool menuRunning() { return dynamic_cast<MenuScene*>(ScriptedPlayer::runningScene()) != nullptr; }

TEST_P(StartTest, LoadingRevealsTheLogoThenTheIntroPlaysAndTheMenuShows) {
  ScriptedPlayer::resizeWindow(GetParam().width, GetParam().height);
  LoadingScene* loading = LoadingScene::scene();
  ASSERT_NE(nullptr, loading);
  ScriptedPlayer::show(loading);
  LoadinGameController* c = loading->controller();
  ASSERT_GT(c->total(), 40);  // the sheet and every sound
  ScriptedPlayer::runFor(2.0f);
  EXPECT_GT(c->shown(), 2);
  EXPECT_LT(c->shown(), 10);
  shot("loading");

  ASSERT_TRUE(ScriptedPlayer::runUntil(menuRunning, 10.f));
  EXPECT_EQ(10, c->shown());
  EXPECT_TRUE(c->finished());
  EXPECT_TRUE(ScreenFlow::instance().hubUpdatesRunning());
  EXPECT_EQ(FlowState::Menu, hub().flowState());

  MenuController* menu = MenuScene::scene()->controller();
  EXPECT_TRUE(menu->isIntroRunning());
  ScriptedPlayer::runFor(1.0f);
  shot("intro-1-perch");
  ScriptedPlayer::runFor(6.0f);
  shot("intro-2-flight");
  ScriptedPlayer::runFor(8.5f);
  shot("intro-3-lightning");
  ASSERT_TRUE(ScriptedPlayer::runUntil([&] { return !menu->isIntroRunning(); }, 3.f));
  EXPECT_EQ(1, lobbyConnections());
  ScriptedPlayer::runFor(1.0f);
  shot("menu");
}

INSTANTIATE_TEST_SUITE_P(Windows, StartTest, ::testing::Values(WindowSize{1024, 768}, WindowSize{1280, 800}, WindowSize{1920, 1080}),
                         [](const ::testing::TestParamInfo<WindowSize>& info) {
                           return "W" + std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

}  // namespace
