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

class StartTest : public mvtest::ScreensTest {};

bool menuRunning() { return dynamic_cast<MenuScene*>(ScriptedPlayer::runningScene()) != nullptr; }

TEST_F(StartTest, LoadingRevealsTheLogoThenTheIntroPlaysAndTheMenuShows) {
  LoadingScene* loading = LoadingScene::scene();
  ASSERT_NE(nullptr, loading);
  ScriptedPlayer::show(loading);
  LoadinGameController* c = loading->controller();
  ASSERT_GT(c->total(), 40);  // the sheet and every sound
  ScriptedPlayer::runFor(2.0f);
  EXPECT_GT(c->shown(), 2);
  EXPECT_LT(c->shown(), 10);
  ScriptedPlayer::screenshot("loading-1024x768");

  ASSERT_TRUE(ScriptedPlayer::runUntil(menuRunning, 10.f));
  EXPECT_EQ(10, c->shown());
  EXPECT_TRUE(c->finished());
  EXPECT_TRUE(ScreenFlow::instance().hubUpdatesRunning());
  EXPECT_EQ(FlowState::Menu, hub().flowState());

  MenuController* menu = MenuScene::scene()->controller();
  EXPECT_TRUE(menu->isIntroRunning());
  ScriptedPlayer::runFor(1.0f);
  ScriptedPlayer::screenshot("intro-1-perch");
  ScriptedPlayer::runFor(6.0f);
  ScriptedPlayer::screenshot("intro-2-flight");
  ScriptedPlayer::runFor(8.5f);
  ScriptedPlayer::screenshot("intro-3-lightning");
  ASSERT_TRUE(ScriptedPlayer::runUntil([&] { return !menu->isIntroRunning(); }, 3.f));
  EXPECT_EQ(1, lobbyConnections());
  ScriptedPlayer::runFor(1.0f);
  ScriptedPlayer::screenshot("menu-1024x768");
}

}  // namespace
