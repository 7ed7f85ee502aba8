// The lobby screen's controller on the screen's real node tree, without a window: every
// member binds with its type, each state shows what the screen's table says, the buttons
// reach the hub, and the player list stands one row a name in the server's order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CCDirector.h"
#include "CCEditBox.h"
#include "CCFileUtils.h"
#include "CCLabelBMFont.h"
#include "CCLayer.h"
#include "CCMenuItem.h"
#include "CCScrollView.h"
#include "EventDispatcher.h"
#include "GameContext.h"
#include "LobbyController.h"
#include "LobbyLink.h"

using namespace cocos2d;

namespace {

class LobbyControllerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CCDirector::sharedDirector();
    CCFileUtils::sharedFileUtils()->setResourceDirectory(MV_DATA_DIR);
    ctx.setTextLookup(&texts);
    hub.setLobbyLink(&link);
    hub.setFlowHost(&flow);
    controller = LobbyController::create(hub);
    controller->retain();
    hub.setLobbyScreen(controller);
    root = controller->buildScreen();
    ASSERT_NE(root, nullptr);
    root->retain();
  }
  void TearDown() override {
    hub.setLobbyScreen(nullptr);
    if (root) root->release();
    if (controller) controller->release();
  }

  CCNode* node(const char* name) const { return controller->bindings().node(name); }
  bool shown(const char* name) const { return node(name) && node(name)->isVisible(); }
  std::string textOf(const char* name) const {
    auto* label = dynamic_cast<CCLabelBMFont*>(node(name));
    return label ? label->getString() : "<none>";
  }
  CCMenuItem* rowButton(size_t row) const {
    return dynamic_cast<CCMenuItem*>(controller->rowBindings().rowNode(row, "userbutton"));
  }
  std::string rowName(size_t row) const {
    auto* label = dynamic_cast<CCLabelBMFont*>(controller->rowBindings().rowNode(row, "username"));
    return label ? label->getString() : "<none>";
  }
  // The rows in the list's container, top-down.
  CCArray* rows() const { return controller->playerList()->getContainer()->getChildren(); }

  GameContext ctx{5};
  MapTextLookup texts;
  EventDispatcher hub{ctx};
  RecordingLobbyLink link;
  RecordingFlowHost flow;
  LobbyController* controller = nullptr;
  CCNode* root = nullptr;
};

TEST_F(LobbyControllerTest, TheScreenAndItsRowBindEveryNameWithItsType) {
  for (const std::string& name : controller->bindings().names()) EXPECT_NE(node(name.c_str()), nullptr) << name;
  EXPECT_EQ(controller->bindings().names().size(), 11u);
  ASSERT_NE(controller->editBox(), nullptr);
  EXPECT_EQ(node("textfieldbg")->getParent(), controller->editBox()) << "the placeholder is the box's background";
  controller->setPlayerList(1, {"Alder"});
  for (const std::string& name : controller->rowBindings().names())
    EXPECT_NE(controller->rowBindings().rowNode(0, name), nullptr) << name;
}

// What each state shows: (message, its closer, its cancel button, main layer, text prompt,
// challenge); the states as the hub calls them, one after another.
struct Shown {
  bool message, closer, cancel, main, text, challenge;
  bool operator==(const Shown& o) const {
    return message == o.message && closer == o.closer && cancel == o.cancel && main == o.main && text == o.text &&
           challenge == o.challenge;
  }
};
std::ostream& operator<<(std::ostream& os, const Shown& s) {
  return os << "message " << s.message << " closer " << s.closer << " cancel " << s.cancel << " main " << s.main
            << " text " << s.text << " challenge " << s.challenge;
}

TEST_F(LobbyControllerTest, EachStateShowsItsLayerAndAMessageHidesThemAll) {
  struct Step {
    const char* what;
    std::function<void()> act;
    Shown shown;
    const char* message;
  };
  LobbyController& c = *controller;
  const std::vector<Step> steps = {
      {"start", [] {}, {false, false, false, true, false, false}, ""},
      {"text prompt", [&] { c.showTextPrompt("Your address?", LobbyInputMode::EmailAddress); },
       {false, false, false, false, true, false}, ""},
      {"modal over it", [&] { c.showModalMessage("Wait"); }, {true, false, false, false, false, false}, "Wait"},
      {"click leaves it", [&] { c.onFullscreen(nullptr); }, {true, false, false, false, false, false}, "Wait"},
      {"plain message", [&] { c.showMessage("Hello"); }, {true, true, false, false, false, false}, "Hello"},
      {"click closes it: the prompt is back", [&] { c.onFullscreen(nullptr); },
       {false, false, false, false, true, false}, "Hello"},
      {"cancellable", [&] { c.showCancellableMessage("Awaiting"); }, {true, false, true, false, false, false},
       "Awaiting"},
      {"click leaves it", [&] { c.onFullscreen(nullptr); }, {true, false, true, false, false, false}, "Awaiting"},
      {"challenge", [&] { c.showChallengePrompt("Birch challenges you"); },
       {false, false, false, false, false, true}, "Awaiting"},
      {"main state", [&] { c.showMainState(); }, {false, false, false, true, false, false}, ""},
  };
  for (const Step& step : steps) {
    step.act();
    SCOPED_TRACE(step.what);
    const Shown now{shown("message"), shown("fullscreenbtn"), shown("modalcancelbtn"), shown("mainlayer"),
                    shown("textfieldlayer"), shown("challengelayer")};
    EXPECT_EQ(now, step.shown);
    EXPECT_EQ(controller->editBox()->isVisible(), step.shown.text);
    // A box that hides lets the keys go; one that shows takes them when it is clicked.
    EXPECT_FALSE(!step.shown.text && controller->editBox()->getImpl()->isEditing()) << "a hidden box keeps the keys";
    if (step.shown.text) controller->editBox()->getImpl()->openKeyboard();
    EXPECT_EQ(controller->messageText(), step.message);
    if (step.shown.message) EXPECT_EQ(textOf("message"), step.message);
  }
  EXPECT_EQ(textOf("challengeprompt"), "Birch challenges you");
  EXPECT_EQ(textOf("textprompt"), "Birch challenges you");
}

TEST_F(LobbyControllerTest, ATextPromptStartsEmptyWithItsInputMode) {
  for (LobbyInputMode mode : {LobbyInputMode::EmailAddress, LobbyInputMode::Numeric, LobbyInputMode::SingleLine}) {
    controller->editBox()->setText("typed before");
    controller->showTextPrompt("Enter it", mode);
    EXPECT_STREQ(controller->editBox()->getText(), "");
    EXPECT_EQ(controller->inputMode(), static_cast<int>(mode));
    EXPECT_EQ(controller->promptMode(), LobbyController::kTextPrompt);
    EXPECT_EQ(textOf("textprompt"), "Enter it");
  }
}

TEST_F(LobbyControllerTest, EveryButtonGoesToTheHub) {
  hub.onLobbyConnected();
  hub.enterLobby();
  // The row buttons' tags are the entries' places in the server's list.
  link.localIndex = 0;
  controller->setPlayerList(3, {"Alder", "Birch", "Cedar"});
  struct Press {
    const char* what;
    std::function<void()> press;
    const char* sent;  // the lobby message it sends, "" for none
  };
  LobbyController& c = *controller;
  const std::vector<Press> presses = {
      {"quick match", [&] { c.onQuickmatch(nullptr); }, "sendQuickmatch"},
      {"cancel the wait", [&] { c.onModalCancel(nullptr); }, "sendCancelMatchmaking"},
      {"own row", [&] { c.onUserButton(rowButton(0)); }, ""},
      {"third row", [&] { c.onUserButton(rowButton(2)); }, "sendChallenge"},
      {"invite", [&] { c.onInviteFriends(nullptr); }, ""},
      {"typed address", [&] {
         c.editBox()->setText(" dee@example.org ");
         c.onOk(nullptr);
       },
       "sendInviteFriend"},
      {"challenged and accepting", [&] {
         hub.onChallengeReceived("Birch");
         c.onChallengeOk(nullptr);
       },
       "sendChallengeAnswer"},
      {"challenged and declining", [&] {
         hub.onChallengeReceived("Cedar");
         c.onChallengeCancel(nullptr);
       },
       "sendChallengeAnswer"},
  };
  for (const Press& p : presses) {
    SCOPED_TRACE(p.what);
    link.clearSent();
    p.press();
    if (*p.sent) {
      ASSERT_EQ(link.sentNames(), std::vector<std::string>{p.sent});
    } else {
      EXPECT_TRUE(link.sent().empty());
    }
  }
  // The challenge of the third row names the third entry; the address went out trimmed.
  link.clearSent();
  c.onUserButton(rowButton(2));
  EXPECT_EQ(link.sent().at(0).values, std::vector<int>{2});
  c.onInviteFriends(nullptr);
  c.editBox()->setText("eve@example.org");
  c.editBoxReturn(c.editBox());
  EXPECT_EQ(link.sent().back().text, "eve@example.org");
  // Back leaves for the menu.
  c.onBack(nullptr);
  EXPECT_EQ(hub.flowState(), FlowState::Menu);
}

// The lobby server answers what it cannot take; the box's text goes out as it stands.
TEST_F(LobbyControllerTest, TheTypedTextGoesOutAsItStands) {
  hub.onLobbyConnected();
  hub.enterLobby();
  hub.onLoginRequired();
  controller->editBox()->setText("   ");
  controller->onOk(nullptr);
  ASSERT_EQ(link.sentNames(), std::vector<std::string>{"sendLoginEmail"});
  EXPECT_EQ(link.sent()[0].text, "   ");
  EXPECT_TRUE(controller->isMessageShown());
  EXPECT_TRUE(controller->isModal());
}

TEST_F(LobbyControllerTest, ButtonsTakeTheWayBackAndTheWayOnOfWhatShows) {
  hub.onLobbyConnected();
  hub.enterLobby();
  LobbyController& c = *controller;
  // Accept takes a challenge; cancel ends a wait, a click closes a message, Back leaves.
  hub.onChallengeReceived("Birch");
  c.onChallengeOk(nullptr);
  EXPECT_EQ(link.sent().back().values, std::vector<int>{1});
  hub.requestQuickMatch();
  c.onModalCancel(nullptr);
  EXPECT_EQ(link.sentNames().back(), "sendCancelMatchmaking");
  c.showMessage("Note");
  c.onFullscreen(nullptr);
  EXPECT_FALSE(c.isMessageShown());
  c.showModalMessage("Wait");
  c.onFullscreen(nullptr);
  EXPECT_TRUE(c.isMessageShown()) << "no click closes a modal message";
  c.showMainState();
  c.onBack(nullptr);
  EXPECT_EQ(hub.flowState(), FlowState::Menu);
}

TEST_F(LobbyControllerTest, ThePlayerListStandsTopDownWithTheOnlineCount) {
  controller->setPlayerList(7, {"Alder", "Birch", "Cedar"});
  EXPECT_EQ(textOf("onlinecount"), "7");
  ASSERT_EQ(rows()->count(), 3u);
  ASSERT_EQ(controller->rowBindings().rowCount(), 3u);
  const float height = static_cast<CCNode*>(rows()->objectAtIndex(0))->getContentSize().height;
  EXPECT_GT(height, 32.f) << "a row is big enough to hit";
  for (unsigned i = 0; i < 3; ++i) {
    CCNode* row = static_cast<CCNode*>(rows()->objectAtIndex(i));
    EXPECT_FLOAT_EQ(row->getPositionY(), (2 - i) * height) << i;
    EXPECT_EQ(rowButton(i)->getTag(), static_cast<int>(i));
  }
  EXPECT_EQ(rowName(0), "Alder");
  EXPECT_EQ(rowName(2), "Cedar");
  extension::CCScrollView* list = controller->playerList();
  EXPECT_FLOAT_EQ(list->getContainer()->getContentSize().height, 3 * height);
  // The top of the list shows: the first row's top at the view's top.
  EXPECT_FLOAT_EQ(list->getContentOffset().y + 3 * height, list->getViewSize().height);

  // A new list replaces the rows; an empty one leaves none and the count.
  controller->setPlayerList(2, {"Birch"});
  EXPECT_EQ(rows()->count(), 1u);
  EXPECT_EQ(rowName(0), "Birch");
  controller->setPlayerList(0, {});
  EXPECT_EQ(controller->rowBindings().rowCount(), 0u);
  EXPECT_FLOAT_EQ(list->getContainer()->getContentSize().height, 0.f);
  EXPECT_EQ(textOf("onlinecount"), "0");
}

TEST_F(LobbyControllerTest, ANewListKeepsTheRowsItHasAndNamesThemAnew) {
  controller->setPlayerList(3, {"Alder", "Birch", "Cedar"});
  CCMenuItem* firstButton = rowButton(0);
  // Birch leaves, Dara and Eske come: the first rows are the same nodes with the new names.
  controller->setPlayerList(4, {"Alder", "Cedar", "Dara", "Eske"});
  ASSERT_EQ(controller->rowBindings().rowCount(), 4u);
  EXPECT_EQ(rowButton(0), firstButton);
  const std::vector<std::string> expected = {"Alder", "Cedar", "Dara", "Eske"};
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(rowName(i), expected[i]);
    EXPECT_EQ(rowButton(i)->getTag(), static_cast<int>(i));
  }
  EXPECT_EQ(rows()->count(), 4u);
  // Fewer names: the rows beyond them go.
  controller->setPlayerList(1, {"Eske"});
  EXPECT_EQ(rows()->count(), 1u);
  EXPECT_EQ(rowName(0), "Eske");
  EXPECT_EQ(rowButton(0), firstButton);
  const float height = static_cast<CCNode*>(rows()->objectAtIndex(0))->getContentSize().height;
  EXPECT_FLOAT_EQ(static_cast<CCNode*>(rows()->objectAtIndex(0))->getPositionY(), 0.f);
  EXPECT_FLOAT_EQ(controller->playerList()->getContainer()->getContentSize().height, height);
}

TEST_F(LobbyControllerTest, TheStateSurvivesANewLayout) {
  controller->setPlayerList(2, {"Alder", "Birch"});
  controller->showCancellableMessage("Awaiting");
  root->release();
  root = controller->buildScreen();
  ASSERT_NE(root, nullptr);
  root->retain();
  EXPECT_TRUE(shown("message"));
  EXPECT_TRUE(shown("modalcancelbtn"));
  EXPECT_EQ(textOf("message"), "Awaiting");
  EXPECT_EQ(rows()->count(), 2u);
  EXPECT_EQ(textOf("onlinecount"), "2");
}

}  // namespace
