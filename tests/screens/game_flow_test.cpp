// The in-game screen in the game's own flow: games started from the main menu, left through
// the in-game menu or ended with the end message's OK, back on the menu each time; the store
// in place of the selection bar in a sandbox game.
#include "CCMenuItem.h"
#include "CCScrollView.h"
#include "GameController.h"
#include "LanguageFile.h"
#include "MainScene.h"
#include "MenuController.h"
#include "MenuScene.h"
#include "ScreensFixture.h"
#include "StoreController.h"
#include "game/GameSession.h"

using namespace cocos2d;
using mvtest::ScriptedPlayer;
using mvtest::buttonCaptioned;

namespace {

class GameFlowTest : public mvtest::ScreensTest {
 protected:
  void SetUp() override {
    ScreensTest::SetUp();
    if (IsSkipped()) return;
    loadGameData();
    ScreenFlow& flow = ScreenFlow::instance();
    flow.setGameScreen(MainScene::flowLink());
    flow.startHubUpdates();
    ScriptedPlayer::show(MenuScene::scene());
    ScriptedPlayer::press(SDLK_ESCAPE);  // the title intro
    ScriptedPlayer::frames(2);
  }
  void TearDown() override {
    hub().game().clearGame(false);
    ScreensTest::TearDown();
  }
  GameController& game() { return *MainScene::scene()->gameController(); }
  bool onMenu() { return ScriptedPlayer::runningScene() == MenuScene::scene(); }
  bool onGame() { return ScriptedPlayer::runningScene() == MainScene::scene(); }
  void startSkirmish() {
    ASSERT_TRUE(ScriptedPlayer::click(buttonCaptioned(localizedText("MENU_SCENARIOS"))));
    ASSERT_TRUE(ScriptedPlayer::click(buttonCaptioned(localizedText("SKIRMISH"))));
    ScriptedPlayer::runFor(1.0f);
    ASSERT_TRUE(onGame());
    ASSERT_TRUE(hub().game().started());
  }
};

TEST_F(GameFlowTest, AGameLeftThroughTheInGameMenuReturnsToTheMenuAndTheNextOnePlaysAsTheFirst) {
  startSkirmish();
  GameController& c = game();
  ASSERT_TRUE(ScriptedPlayer::click(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("menubtn")));
  ASSERT_TRUE(ScriptedPlayer::click(buttonCaptioned(localizedText("MENU_EXIT_TO_MENU"), c.bindings().node("gamemenu"))));
  ScriptedPlayer::runFor(0.5f);
  EXPECT_TRUE(onMenu());
  EXPECT_FALSE(hub().game().started());
  EXPECT_EQ(FlowState::Menu, hub().flowState());
  EXPECT_FALSE(ScriptedPlayer::isShown(c.bindings().node("gamemenu")));

  // The second game: the bar offers its cards and the arrows scroll the view again.
  startSkirmish();
  EXPECT_FALSE(c.bar().shownButtons().empty());
  EXPECT_TRUE(ScriptedPlayer::isShown(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("endphasebtn")));
  const float y = c.camera().ourLayer()->getPositionY();
  ScriptedPlayer::keyDown(SDLK_UP);
  ScriptedPlayer::runFor(0.3f);
  ScriptedPlayer::keyUp(SDLK_UP);
  EXPECT_LT(c.camera().ourLayer()->getPositionY(), y - 100);
  // Its start is the log's newest line; the first game's lines stay above it.
  ASSERT_GE(c.gameLog().records().size(), 2u);
  EXPECT_EQ(c.gameLog().records().front().text, c.gameLog().records().back().text);
}

TEST_F(GameFlowTest, TheEndMessagesOkReturnsToTheMenu) {
  startSkirmish();
  GameController& c = game();
  hub().onGameLost();
  ScriptedPlayer::runFor(0.3f);
  ASSERT_TRUE(ScriptedPlayer::isShown(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("okbtn")));
  ASSERT_TRUE(ScriptedPlayer::click(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("okbtn")));
  ScriptedPlayer::runFor(0.5f);
  EXPECT_TRUE(onMenu());
  EXPECT_FALSE(hub().game().started());
}

TEST_F(GameFlowTest, TheStoreButtonOpensASandboxWithTheStoreInPlaceOfTheBar) {
  ASSERT_TRUE(ScriptedPlayer::click(MenuScene::scene()->controller()->bindings().node("store")));
  ScriptedPlayer::runFor(1.0f);
  ASSERT_TRUE(onGame());
  GameController& c = game();
  EXPECT_TRUE(c.isStoreShown());
  // The sandbox's greeting covers the board until a click closes it.
  ASSERT_TRUE(c.isMessageShown());
  EXPECT_EQ(localizedText("SANDBOX_INTRO"), c.messageText());
  EXPECT_FALSE(ScriptedPlayer::isShown(c.bindings().node("storelayer")));
  ScriptedPlayer::click(600, 500);
  EXPECT_FALSE(c.isMessageShown());
  EXPECT_TRUE(ScriptedPlayer::isShown(c.bindings().node("storelayer")));
  EXPECT_FALSE(ScriptedPlayer::isShown(c.bar().layer()));
  StoreController* store = MainScene::scene()->storeController();
  ASSERT_NE(store, nullptr);
  ASSERT_FALSE(store->rows().empty());
  // The store answers clicks: its categories switch.
  ASSERT_TRUE(ScriptedPlayer::click(store->bindings(), "dwarvesbtn"));
  EXPECT_EQ("dwarves", store->category());
  ScriptedPlayer::screenshot("store-in-game");
  // And the game is left as any other.
  ASSERT_TRUE(ScriptedPlayer::click(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("menubtn")));
  ASSERT_TRUE(ScriptedPlayer::click(buttonCaptioned(localizedText("MENU_EXIT_TO_MENU"), c.bindings().node("gamemenu"))));
  ScriptedPlayer::runFor(0.5f);
  EXPECT_TRUE(onMenu());
}

}  // namespace
