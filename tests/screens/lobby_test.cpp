// The lobby screen in a window, driven through the game's hub as the lobby server would
// drive it and played by the scripted player: the login typed at its prompts, the player
// list, a challenge both ways, the waits and messages, a list of hundreds of names, keys.
#include "CCEditBox.h"
#include "CCIMEDispatcher.h"
#include "CCLabelBMFont.h"
#include "CCPointExtension.h"
#include "CCScrollView.h"
#include "LobbyController.h"
#include "LobbyScene.h"
#include "MenuController.h"
#include "MenuScene.h"
#include "ScreensFixture.h"

using namespace cocos2d;
using mvtest::ScriptedPlayer;
using mvtest::buttonCaptioned;

namespace {

class LobbyScreenTest : public mvtest::ScreensTest {
 protected:
  void SetUp() override {
    ScreensTest::SetUp();
    if (IsSkipped()) return;
    loadGameData();
    ScreenFlow::instance().setLobbyScene([]() -> CCScene* { return LobbyScene::scene(); });
    lobby = LobbyScene::scene()->controller();
    hub().onLobbyConnected();
    hub().enterLobby();
    ScriptedPlayer::frames(2);
    link.clearSent();
  }
  void TearDown() override {
    if (!IsSkipped()) {
      // Out of the lobby with nothing asked, as a lost connection leaves it.
      hub().setFlowState(FlowState::Lobby);
      hub().onLobbyConnectionLost();
      lobby->showMainState();
      lobby->setPlayerList(0, {});
      MenuScene::scene()->controller()->showMainState();
      ScriptedPlayer::frames(2);
    }
    ScreensTest::TearDown();
  }
  CCNode* node(const char* name) const { return lobby->bindings().node(name); }
  bool shown(const char* name) const { return ScriptedPlayer::isShown(node(name)); }
  bool click(const char* captionKey) {
    return ScriptedPlayer::click(buttonCaptioned(localizedText(captionKey), ScriptedPlayer::runningScene()));
  }
  std::string text(const char* key) const { return localizedText(key); }
  CCNode* rowButton(size_t row) const { return lobby->rowBindings().rowNode(row, "userbutton"); }
  std::vector<std::string> names(int count) const {
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) out.push_back("Player" + std::to_string(i + 1));
    return out;
  }

  LobbyController* lobby = nullptr;
};

TEST_F(LobbyScreenTest, AFirstLoginIsTypedAtThePromptsAndEndsInThePlayerList) {
  EXPECT_EQ(ScriptedPlayer::runningScene(), LobbyScene::scene());
  hub().onLoginRequired();
  ScriptedPlayer::frames(2);
  ASSERT_TRUE(shown("textfieldlayer"));
  EXPECT_EQ(lobby->promptText(), text("INPUT_EMAIL"));
  EXPECT_EQ(lobby->inputMode(), static_cast<int>(LobbyInputMode::EmailAddress));
  // The box takes the keys once it is clicked: the address is typed, with spaces around it.
  ScriptedPlayer::type("x");
  EXPECT_STREQ(lobby->editBox()->getText(), "") << "typed before the box was clicked";
  ASSERT_TRUE(ScriptedPlayer::click(node("textfieldbg")));
  ScriptedPlayer::type("  cy@example.org ");
  ScriptedPlayer::screenshot("lobby-login-prompt-1024x768");
  ScriptedPlayer::press(SDLK_RETURN);
  ASSERT_EQ(link.sentNames(), std::vector<std::string>{"sendLoginEmail"});
  EXPECT_EQ(link.sent()[0].text, "  cy@example.org ") << "as it stands: the lobby reads the address";
  EXPECT_TRUE(shown("message"));
  EXPECT_FALSE(shown("fullscreenbtn")) << "the wait cannot be clicked away";

  hub().onCodeRequested();
  ScriptedPlayer::frames(1);
  EXPECT_EQ(lobby->inputMode(), static_cast<int>(LobbyInputMode::Numeric));
  // Clicked into the box (it stays open), typed, and sent with the OK button.
  ASSERT_TRUE(ScriptedPlayer::click(node("textfieldbg")));
  ScriptedPlayer::type("654321");
  ASSERT_TRUE(click("OK"));
  EXPECT_EQ(link.sent().back().text, "654321");

  hub().onNameRequested();
  ScriptedPlayer::frames(1);
  EXPECT_STREQ(lobby->editBox()->getText(), "") << "each prompt starts empty";
  // Nothing typed goes out as it stands too; the lobby asks for the name again.
  ASSERT_TRUE(ScriptedPlayer::click(node("textfieldbg")));
  ScriptedPlayer::press(SDLK_RETURN);
  EXPECT_EQ(link.sentNames().back(), "sendPlayerName");
  EXPECT_EQ(link.sent().back().text, "");
  hub().onNameRequested();
  ScriptedPlayer::frames(1);
  EXPECT_EQ(lobby->promptText(), text("INPUT_NAME"));
  ASSERT_TRUE(ScriptedPlayer::click(node("textfieldbg")));
  ScriptedPlayer::type("Cyra");
  ScriptedPlayer::press(SDLK_RETURN);
  EXPECT_EQ(link.sent().back().text, "Cyra");

  hub().onLoginAccepted();
  hub().onPlayerList(3, {"Alder", "Birch", "Cyra"});
  ScriptedPlayer::frames(2);
  EXPECT_TRUE(shown("mainlayer"));
  EXPECT_FALSE(shown("textfieldlayer"));
  EXPECT_FALSE(lobby->editBox()->getImpl()->isEditing()) << "the keys go back to the screen";
  EXPECT_STREQ(static_cast<CCLabelBMFont*>(node("onlinecount"))->getString(), "3");
  for (size_t i = 0; i < 3; ++i) EXPECT_TRUE(ScriptedPlayer::isShown(rowButton(i))) << i;
  ScriptedPlayer::screenshot("lobby-player-list-1024x768");
}

TEST_F(LobbyScreenTest, AClickedRowChallengesItsPlayerAndTheWaitCanBeCancelled) {
  link.localIndex = 0;
  hub().onPlayerList(2, {"Alder", "Birch"});
  ScriptedPlayer::frames(1);
  ASSERT_TRUE(ScriptedPlayer::click(rowButton(0)));
  EXPECT_TRUE(link.sent().empty()) << "one's own row challenges nobody";
  ASSERT_TRUE(ScriptedPlayer::click(rowButton(1)));
  ASSERT_EQ(link.sentNames(), std::vector<std::string>{"sendChallenge"});
  EXPECT_EQ(link.sent()[0].values, std::vector<int>{1});
  EXPECT_TRUE(shown("modalcancelbtn"));
  EXPECT_FALSE(shown("mainlayer"));
  ScriptedPlayer::screenshot("lobby-awaiting-opponent-1024x768");
  ScriptedPlayer::click(20, 20);
  EXPECT_TRUE(shown("message")) << "a click beside the wait leaves it";
  ASSERT_TRUE(ScriptedPlayer::click(node("modalcancelbtn")));
  EXPECT_EQ(link.sentNames().back(), "sendCancelMatchmaking");
  EXPECT_TRUE(shown("mainlayer"));
  // A plain message goes with a click anywhere.
  hub().onChallengeRejected();
  ScriptedPlayer::frames(1);
  EXPECT_TRUE(shown("fullscreenbtn"));
  ScriptedPlayer::click(20, 20);
  EXPECT_FALSE(shown("message"));
  EXPECT_TRUE(shown("mainlayer"));
}

TEST_F(LobbyScreenTest, AChallengeIsAnsweredOnScreen) {
  for (bool accept : {false, true}) {
    SCOPED_TRACE(accept ? "accepted" : "declined");
    link.clearSent();
    hub().onChallengeReceived("Birch");
    ScriptedPlayer::frames(2);
    ASSERT_TRUE(shown("challengelayer"));
    EXPECT_EQ(lobby->promptText(), "Birch " + text("CHALLENGES_YOU"));
    if (accept) ScriptedPlayer::screenshot("lobby-challenge-1024x768");
    ASSERT_TRUE(click(accept ? "LOBBY_ACCEPT" : "LOBBY_DECLINE"));
    ASSERT_EQ(link.sentNames(), std::vector<std::string>{"sendChallengeAnswer"});
    EXPECT_EQ(link.sent()[0].values, std::vector<int>{accept ? 1 : 0});
    EXPECT_FALSE(shown("challengelayer"));
    EXPECT_EQ(shown("message"), accept) << "an accepted challenge waits for the game";
    EXPECT_EQ(shown("mainlayer"), !accept);
  }
}

TEST_F(LobbyScreenTest, HundredsOfNamesScrollByTheWheelAndTheLastCanBeChallenged) {
  hub().onPlayerList(300, names(300));
  ScriptedPlayer::frames(1);
  extension::CCScrollView* list = lobby->playerList();
  ASSERT_EQ(lobby->rowBindings().rowCount(), 300u);
  EXPECT_TRUE(ScriptedPlayer::isShown(rowButton(0)));
  EXPECT_FALSE(ScriptedPlayer::isShown(rowButton(299))) << "rows outside the view are not drawn";
  // The middle of the list's view (its content is the whole list) in window pixels.
  const CCSize viewSize = list->getViewSize();
  const CCPoint middle = ScriptedPlayer::toWindow(list->getParent()->convertToWorldSpace(
      ccpAdd(list->getPosition(), ccp(viewSize.width / 2, viewSize.height / 2))));
  // A notch of the wheel moves the list down the names; the wheel beside the list does not.
  const float top = list->getContentOffset().y;
  ScriptedPlayer::wheel(20, 20, -1);
  EXPECT_EQ(list->getContentOffset().y, top);
  ScriptedPlayer::wheel(middle.x, middle.y, -1);
  EXPECT_GT(list->getContentOffset().y, top);
  for (int i = 0; i < 40 && !ScriptedPlayer::isShown(rowButton(299)); ++i) ScriptedPlayer::wheel(middle.x, middle.y, -1);
  ASSERT_TRUE(ScriptedPlayer::isShown(rowButton(299)));
  EXPECT_FALSE(ScriptedPlayer::isShown(rowButton(0)));
  // Further notches stop at the end.
  for (int i = 0; i < 3; ++i) ScriptedPlayer::wheel(middle.x, middle.y, -1);
  EXPECT_FLOAT_EQ(list->getContentOffset().y, 0.f);
  ScriptedPlayer::screenshot("lobby-300-players-end-1024x768");
  ASSERT_TRUE(ScriptedPlayer::click(rowButton(299)));
  ASSERT_EQ(link.sentNames(), std::vector<std::string>{"sendChallenge"});
  EXPECT_EQ(link.sent()[0].values, std::vector<int>{299});
}

TEST_F(LobbyScreenTest, AFriendIsInvitedAndTheLobbyIsLeftByItsBackButtonNotByKeys) {
  ASSERT_TRUE(click("LOBBY_INVITE_FRIEND"));
  ASSERT_TRUE(shown("textfieldlayer"));
  EXPECT_EQ(lobby->promptText(), text("ENTER_FRIEND_EMAIL"));
  ASSERT_TRUE(ScriptedPlayer::click(node("textfieldbg")));
  ScriptedPlayer::type("dee@example.org");
  ScriptedPlayer::press(SDLK_RETURN);
  EXPECT_EQ(link.sent().back().text, "dee@example.org");
  EXPECT_EQ(lobby->messageText(), text("FRIEND_INVITED"));
  ScriptedPlayer::click(20, 20);
  EXPECT_FALSE(shown("message"));
  // An invitation cancelled keeps the lobby; ESC and RETURN there do nothing.
  ASSERT_TRUE(click("LOBBY_INVITE_FRIEND"));
  ASSERT_TRUE(click("CANCEL"));
  EXPECT_TRUE(shown("mainlayer"));
  ScriptedPlayer::press(SDLK_ESCAPE);
  ScriptedPlayer::press(SDLK_RETURN);
  ScriptedPlayer::frames(2);
  EXPECT_EQ(ScriptedPlayer::runningScene(), LobbyScene::scene());
  EXPECT_TRUE(shown("mainlayer"));
  // Out with the Back button.
  ASSERT_TRUE(click("BACK"));
  ScriptedPlayer::frames(2);
  EXPECT_EQ(ScriptedPlayer::runningScene(), MenuScene::scene());
}

// A login prompt (the name's) cancelled leaves for the menu: the lobby's text box no longer takes the keys,
// and back at the prompt a click on the box gives them to it again.
TEST_F(LobbyScreenTest, ALeftPromptLetsTheKeysGoAndItsBoxTakesThemAgainWhenClicked) {
  hub().onNameRequested();
  ScriptedPlayer::frames(1);
  ASSERT_TRUE(ScriptedPlayer::click(node("textfieldbg")));
  ASSERT_TRUE(lobby->editBox()->getImpl()->isEditing());
  ASSERT_TRUE(click("CANCEL"));
  ScriptedPlayer::frames(2);
  EXPECT_EQ(ScriptedPlayer::runningScene(), MenuScene::scene());
  EXPECT_FALSE(CCIMEDispatcher::sharedDispatcher()->isAnyDelegateEditing());
  ScriptedPlayer::type("x");
  EXPECT_STREQ(lobby->editBox()->getText(), "") << "typing in the menu reaches no hidden box";
  hub().enterLobby();
  hub().onNameRequested();
  ScriptedPlayer::frames(2);
  EXPECT_EQ(ScriptedPlayer::runningScene(), LobbyScene::scene());
  EXPECT_FALSE(lobby->editBox()->getImpl()->isEditing());
  ASSERT_TRUE(ScriptedPlayer::click(node("textfieldbg")));
  EXPECT_TRUE(lobby->editBox()->getImpl()->isEditing());
}

TEST_F(LobbyScreenTest, TheScreenFitsTheLargestWindowAndKeepsItsState) {
  hub().onPlayerList(12, names(12));
  hub().requestQuickMatch();
  ScriptedPlayer::resizeWindow(1920, 1080);
  ScriptedPlayer::frames(2);
  EXPECT_TRUE(shown("message"));
  EXPECT_TRUE(shown("modalcancelbtn"));
  const CCRect cancel = ScriptedPlayer::windowRect(node("modalcancelbtn"));
  EXPECT_NEAR(cancel.getMidX(), 960, 2) << "the message stands in the middle";
  ScriptedPlayer::click(node("modalcancelbtn"));
  ScriptedPlayer::frames(1);
  for (const char* name : {"playerlist", "onlinecount"}) {
    const CCRect r = ScriptedPlayer::windowRect(node(name));
    EXPECT_GE(r.getMinX(), 0) << name;
    EXPECT_LE(r.getMaxX(), 1920) << name;
    EXPECT_GE(r.getMinY(), 0) << name;
    EXPECT_LE(r.getMaxY(), 1080) << name;
  }
  ScriptedPlayer::screenshot("lobby-player-list-1920x1080");
  ScriptedPlayer::resizeWindow(1024, 768);
  ScriptedPlayer::frames(2);
  EXPECT_EQ(lobby->rowBindings().rowCount(), 12u);
}

}  // namespace
