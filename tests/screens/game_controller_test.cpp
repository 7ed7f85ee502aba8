// The game screen controller on the screen's real node tree, without a window: every
// layout binds its names with their types, and the refresh shows each mode and each
// kind of message as the table of the screen says.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CCBReader.h"
#include "CCDirector.h"
#include "CCFileUtils.h"
#include "CCLabelBMFont.h"
#include "CCLayer.h"
#include "CCLayerColor.h"
#include "CCMenuItem.h"
#include "CCPointExtension.h"
#include "CCSet.h"
#include "CCSprite.h"
#include "CCTouch.h"
#include "Board.h"
#include "BoardElem.h"
#include "ElemNodes.h"
#include "HighlightLayer.h"
#include "Hotkeys.h"
#include "CapturedLog.h"
#include "EventDispatcher.h"
#include "GameContext.h"
#include "GameController.h"
#include "controller_fixture.h"
#include "LoadNode.h"
#include "game/GameDirector.h"
#include "game/GameSession.h"
#include "player/Player.h"

using namespace cocos2d;

namespace {

using gametest::ControllerTest;

TEST_F(ControllerTest, BothLayoutsBindEveryNameWithItsType) {
  EXPECT_EQ(controller->missingMembers(), 0);
  for (const std::string& name : controller->bindings().names())
    EXPECT_NE(controller->bindings().node(name), nullptr) << name;
  EXPECT_EQ(controller->bindings().names().size(), 56u);
}

TEST_F(ControllerTest, AMissingOrWrongTypedMemberIsLoggedOnceAndLeftNull) {
  // A layout of the screen that lacks most members and gives "okbtn" the wrong type.
  CapturedLog log;
  controller->release();
  controller = new GameController(hub);
  for (int build = 0; build < 2; ++build) {
    // The screen's load played by hand.
    mv::NodeBindings& b = const_cast<mv::NodeBindings&>(controller->bindings());
    b.beginLoad();
    CCNode* wrong = CCLayer::create();
    EXPECT_TRUE(controller->onAssignCCBMemberVariable(controller, CCString::create("okbtn"), wrong));
    b.endLoad();
  }
  EXPECT_EQ(controller->bindings().nodeAs<cocos2d::CCMenuItemImage>("okbtn"), nullptr);
  EXPECT_EQ(log.count("\"okbtn\""), 1);
  EXPECT_EQ(log.count("\"castgui\""), 1);
  // Nothing dereferences the members the screen lacks.
  controller->showMessage("A", "B");
  controller->chooseTarget({}, "C", "D");
  controller->showGameEnded("E", GameResult::Lost);
  controller->refreshIfChanged();
}

// One state of the screen and what it shows.
struct Shown {
  const char* name;
  GuiMode mode;
  bool message, fullscreen, modal, store;
  // Expected: castgui, turnseqqui, storelayer, message+submessage, fullscreenmessage,
  // cancel, ok, darkening.
  bool castgui, bar, storeLayer, texts, fullText, cancel, ok, darken;
  const char* messageText;  // what "message" says
};

class RefreshTest : public ControllerTest, public ::testing::WithParamInterface<Shown> {};

TEST_P(RefreshTest, ShowsWhatTheStateSays) {
  const Shown& s = GetParam();
  GameController& c = *controller;
  c.bindings().nodeAs<cocos2d::CCLabelBMFont>("message")->setString("old");
  // The state reached through the screen's operations.
  c.setStoreShown(s.store);
  switch (s.mode) {
    case GuiMode::Board:
      c.showGameBoard();
      break;
    case GuiMode::Animation:
      c.startAnimation();
      break;
    case GuiMode::ChooseTarget:
      c.chooseTarget({}, "first line", "second line");
      break;
    case GuiMode::GameEnded:
      c.showGameEnded("first line", GameResult::Lost);
      break;
  }
  if (s.message && s.fullscreen) c.showFullscreenMessage("first line");
  if (s.message && s.modal) c.showModalMessage("first line");
  if (s.message && !s.fullscreen && !s.modal) c.showMessage("first line", "second line");
  c.refreshIfChanged();
  EXPECT_EQ(shown(c.bindings().node("castgui")), s.castgui);
  EXPECT_EQ(shown(c.bar().layer()), s.bar);
  EXPECT_EQ(shown(c.bindings().node("storelayer")), s.storeLayer);
  if (s.castgui) {
    EXPECT_EQ(shown(c.bindings().nodeAs<cocos2d::CCLabelBMFont>("message")), s.texts);
    EXPECT_EQ(shown(c.bindings().nodeAs<cocos2d::CCLabelBMFont>("submessage")), s.texts);
  }
  EXPECT_EQ(shown(c.bindings().nodeAs<cocos2d::CCLabelBMFont>("fullscreenmessage")), s.fullText);
  if (s.fullText) EXPECT_EQ(textOf(c.bindings().nodeAs<cocos2d::CCLabelBMFont>("fullscreenmessage")), "first line");
  EXPECT_EQ(shown(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("cancelbtn")), s.cancel);
  EXPECT_EQ(shown(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("okbtn")), s.ok);
  EXPECT_EQ(shown(c.bindings().node("fulldarken")), s.darken);
  EXPECT_EQ(textOf(c.bindings().nodeAs<cocos2d::CCLabelBMFont>("message")), s.messageText);
  EXPECT_EQ(shown(c.bindings().node("counterslayer")), !s.store);
  // (Without a local player every target is the enemy's: a choice hides our layer.)
  EXPECT_EQ(shown(c.camera().ourLayer()), s.mode != GuiMode::ChooseTarget || s.message);
  EXPECT_FALSE(shown(c.gameLog().chatBar()));  // offline
}

INSTANTIATE_TEST_SUITE_P(
    Modes, RefreshTest,
    ::testing::Values(
        //       name              mode                    msg    full   modal  store  cast   bar    storeL texts  fullT  cancel ok     darken  message
        Shown{"Board", GuiMode::Board, false, false, false, false, false, true, false, false, false, false, false, false, "old"},
        Shown{"BoardStore", GuiMode::Board, false, false, false, true, false, false, true, false, false, false, false, false, "old"},
        Shown{"Animation", GuiMode::Animation, false, false, false, false, true, false, false, true, false, false, false, false, ""},
        Shown{"ChooseTarget", GuiMode::ChooseTarget, false, false, false, false, true, false, false, true, false, true, false, false, "first line"},
        Shown{"GameEnded", GuiMode::GameEnded, false, false, false, false, true, false, false, true, false, false, true, false, "first line"},
        Shown{"Message", GuiMode::Board, true, false, false, false, true, false, false, true, false, false, true, false, "first line"},
        Shown{"MessageOverTarget", GuiMode::ChooseTarget, true, false, false, false, true, false, false, true, false, false, true, false, "first line"},
        Shown{"ModalMessage", GuiMode::Board, true, false, true, false, true, false, false, true, false, false, false, false, "first line"},
        Shown{"Fullscreen", GuiMode::Board, true, true, false, false, true, false, false, false, true, false, false, true, "old"},
        Shown{"ModalOverFullscreen", GuiMode::Animation, true, true, true, true, true, false, false, false, true, false, false, true, "old"}),
    [](const ::testing::TestParamInfo<Shown>& info) { return std::string(info.param.name); });

TEST_F(ControllerTest, TargetsOnlyOnTheEnemyHideOurLayer) {
  startGame();
  ctx.settings().setBool("room_zoom_in", false);  // no window to frame them in
  GameController& c = *controller;
  c.chooseTarget({ctx.game().enemyPlayer()->board()->cellAt(20, 20)}, "", "");
  c.refreshIfChanged();
  EXPECT_FALSE(shown(c.camera().ourLayer()));
  c.chooseTarget({local().board()->cellAt(20, 20), ctx.game().enemyPlayer()->board()->cellAt(20, 20)}, "", "");
  c.refreshIfChanged();
  EXPECT_TRUE(shown(c.camera().ourLayer()));
  c.chooseTarget({ctx.game().enemyPlayer()->board()->cellAt(20, 20)}, "", "");
  c.showGameBoard();
  c.refreshIfChanged();
  EXPECT_TRUE(shown(c.camera().ourLayer()));
}

TEST_F(ControllerTest, CountersReadNameColonNumber) {
  ctx.game().newGame(false, GameDirector::create("skirmish"));
  controller->updateCounters(12, 3);
  EXPECT_EQ(textOf(controller->bindings().nodeAs<cocos2d::CCLabelBMFont>("manacounter")), "Mana: 12");
  EXPECT_EQ(textOf(controller->bindings().nodeAs<cocos2d::CCLabelBMFont>("dwarvescounter")), "Dwarves: 3");
}

TEST_F(ControllerTest, AClosedFullscreenTextDoesNotStayOnTheBoard) {
  controller->showFullscreenMessage("Welcome");
  EXPECT_TRUE(shown(controller->bindings().nodeAs<cocos2d::CCLabelBMFont>("fullscreenmessage")));
  controller->closeFullscreenMessageByTap();
  EXPECT_FALSE(shown(controller->bindings().nodeAs<cocos2d::CCLabelBMFont>("fullscreenmessage")));
  EXPECT_FALSE(shown(controller->bindings().node("fulldarken")));
}

TEST_F(ControllerTest, ModalMessageOverFullscreenKeepsTheLookAndNoOk) {
  controller->showFullscreenMessage("Intro");
  controller->showModalMessage("Waiting");
  EXPECT_TRUE(shown(controller->bindings().node("fulldarken")));
  EXPECT_EQ(textOf(controller->bindings().nodeAs<cocos2d::CCLabelBMFont>("fullscreenmessage")), "Waiting");
  EXPECT_FALSE(shown(controller->bindings().nodeAs<cocos2d::CCMenuItemImage>("okbtn")));
  // Neither a tap nor ESC nor RETURN closes a modal message.
  controller->closeFullscreenMessageByTap();
  controller->onEscapeKey();
  controller->onReturnKey();
  EXPECT_TRUE(controller->isMessageShown());
}

TEST_F(ControllerTest, AnimationAndGameEndAreEachLoggedOnce) {
  CapturedLog log;
  controller->startAnimation();
  controller->startAnimation();
  EXPECT_EQ(log.count("GUI::animation started"), 1);
  controller->showGameEnded("You win", GameResult::Won);
  controller->showGameEnded("You win", GameResult::Won);
  EXPECT_EQ(log.count("GUI::game ended"), 1);
  ASSERT_EQ(controller->gameLog().records().size(), 1u);
  EXPECT_EQ(controller->gameLog().records()[0].text, "You win");
}

TEST_F(ControllerTest, OnlineTheChatBarHidesOnlyWhileATargetIsChosen) {
  ctx.game().newGame(true, GameDirector::create("skirmish"));
  controller->showGameBoard();
  controller->refreshIfChanged();
  EXPECT_TRUE(shown(controller->gameLog().chatBar()));
  controller->chooseTarget({}, "", "");
  controller->refreshIfChanged();
  EXPECT_FALSE(shown(controller->gameLog().chatBar()));
}

}  // namespace

// ---- Element layouts and highlights ------------------------------------------------------

namespace {

TEST_F(ControllerTest, RoomLayoutsHoldTheirNamedLayers) {
  struct Expect {
    ElemLayout layout;
    std::vector<ElemLayer> layers;
  };
  std::vector<ElemLayer> all;
  for (int i = 0; i < kElemLayerCount; ++i) all.push_back(static_cast<ElemLayer>(i));
  for (const Expect& e : {Expect{ElemLayout::LowerBlock, all},
                          Expect{ElemLayout::Cave, {ElemLayer::Exterior, ElemLayer::Mask, ElemLayer::Flood}},
                          Expect{ElemLayout::Dome, {ElemLayer::Mask}}}) {
    ElemNodes* nodes = ElemNodes::create();
    ASSERT_TRUE(nodes->build(e.layout, true)) << layoutFile(e.layout);
    for (ElemLayer l : e.layers) {
      CCNode* n = nodes->layer(l);
      ASSERT_NE(n, nullptr) << layoutFile(e.layout) << " " << elemLayerName(l);
      if (l == ElemLayer::RoomPower)
        EXPECT_NE(dynamic_cast<CCLabelBMFont*>(n), nullptr);
      else
        EXPECT_NE(dynamic_cast<CCSprite*>(n), nullptr) << elemLayerName(l);
    }
    // A cell of 64 x 64, anchored at its middle.
    EXPECT_EQ(nodes->root()->getContentSize().width, 64);
    EXPECT_EQ(nodes->root()->getContentSize().height, 64);
    EXPECT_TRUE(nodes->root()->getAnchorPoint().equals(ccp(0.5f, 0.5f)));
  }
}

TEST_F(ControllerTest, HighlightDigitsRunOneToNineThenZeroAndNoneBeyond) {
  struct Row {
    int index;
    bool digit;
    const char* text;
  };
  HighlightLayer* h = HighlightLayer::create(HighlightLayer::colourFor(false, true), 64, 64);
  ASSERT_NE(h, nullptr);
  for (const Row& r : {Row{1, true, "1"}, Row{9, true, "9"}, Row{10, true, "0"}, Row{11, false, ""},
                       Row{0, false, ""}, Row{-3, false, ""}}) {
    h->setHotkeyIndex(r.index);
    EXPECT_EQ(h->digitLabel()->isVisible(), r.digit) << r.index;
    EXPECT_EQ(h->hotkeyIndex(), r.digit ? r.index : -1);
    if (r.digit) EXPECT_STREQ(h->digitLabel()->getString(), r.text);
  }
}

// The board's offers through the board view: eleven places, the last without a digit.
class OfferTest : public ControllerTest {
 protected:
  void SetUp() override {
    ControllerTest::SetUp();
    hub.setScreen(controller);
    hub.setBoardView(&controller->boardView());
    ctx.game().newGame(false, GameDirector::create("skirmish"));
    board = ctx.game().localPlayer()->board();
    for (int i = 0; i < 11; ++i) offers.push_back(board->cellAt(5 + i, 25));
    for (BoardElem* e : offers) e->setKind(ElemKind::FourBlock);
    board->showOptions(offers);
  }
  void TearDown() override {
    hub.setBoardView(nullptr);
    hub.setScreen(nullptr);
    ControllerTest::TearDown();
  }
  HighlightLayer* highlight(int i) { return controller->boardView().highlightOf(*offers[i]); }
  // Gives every highlight a selection recorder in place of the hub.
  void record() {
    for (BoardElem* e : offers)
      controller->boardView().highlightOf(*e)->setOnSelect([this](BoardElem* c) { chosen.push_back(c); });
  }
  void key(int code) {
    CCKeyboardEvent event(code, 0);
    for (BoardElem* e : offers)
      if (HighlightLayer* h = controller->boardView().highlightOf(*e)) h->keyDown(&event, nullptr);
  }

  Board* board = nullptr;
  std::vector<BoardElem*> offers;
  std::vector<BoardElem*> chosen;
};

TEST_F(OfferTest, TheEleventhOfferHasAHighlightButNoDigitAndNoKey) {
  buildHotkeyTable();
  ASSERT_EQ(controller->boardView().highlightCount(), 11u);
  EXPECT_EQ(highlight(9)->hotkeyIndex(), 10);
  EXPECT_STREQ(highlight(9)->digitLabel()->getString(), "0");
  EXPECT_EQ(highlight(10)->hotkeyIndex(), -1);
  EXPECT_FALSE(highlight(10)->digitLabel()->isVisible());
  record();
  for (int code : {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0'}) key(code);
  ASSERT_EQ(chosen.size(), 10u);
  EXPECT_EQ(chosen[9], offers[9]);
  EXPECT_EQ(std::count(chosen.begin(), chosen.end(), offers[10]), 0);
}

TEST_F(OfferTest, ATouchMustBeginAndEndOnTheOffer) {
  record();
  HighlightLayer* h = highlight(0);
  const CCPoint inside = ccpAdd(h->getParent()->convertToWorldSpace(h->getPosition()), ccp(32, 32));
  auto touches = [](const CCPoint& at) {
    CCTouch* t = new CCTouch();
    t->autorelease();
    const CCPoint view = CCDirector::sharedDirector()->convertToUI(at);
    t->setTouchInfo(0, view.x, view.y);
    CCSet* set = CCSet::create();
    set->addObject(t);
    return set;
  };
  // Begins outside, ends inside: nothing.
  EXPECT_FALSE(h->ccTouchesBegan(touches(ccpAdd(inside, ccp(100, 0))), 1, nullptr));
  h->ccTouchesEnded(touches(inside), 1, nullptr);
  EXPECT_TRUE(chosen.empty());
  // Begins and ends inside: the choice, once.
  EXPECT_TRUE(h->ccTouchesBegan(touches(inside), 1, nullptr));
  h->ccTouchesEnded(touches(inside), 1, nullptr);
  ASSERT_EQ(chosen.size(), 1u);
  EXPECT_EQ(chosen[0], offers[0]);
}

TEST_F(OfferTest, AWithdrawnOfferOrAGoneElementSelectsNothing) {
  record();
  HighlightLayer* h = highlight(1);
  h->retain();
  // The element collapses: the view withdraws the offer.
  offers[1]->resetElem();
  EXPECT_EQ(controller->boardView().highlightOf(*offers[1]), nullptr);
  EXPECT_EQ(h->element(), nullptr);
  CCKeyboardEvent two('2', 0);
  buildHotkeyTable();
  h->keyDown(&two, nullptr);
  EXPECT_TRUE(chosen.empty());
  h->release();
  // A room of no power shows an empty gauge rather than dividing by nothing.
  offers[2]->setRoom(RoomType::Library);
  offers[2]->setRoomPower(0);
  offers[2]->setStoredCards({{12, 1}});
  offers[2]->refresh();
  ElemNodes* nodes = controller->boardView().nodesOf(*offers[2]);
  ASSERT_NE(nodes, nullptr);
  EXPECT_FLOAT_EQ(nodes->layer(ElemLayer::RoomFill)->getScaleY(), 0.0f);
  // The game ends: every element leaves, and the view lets go of its nodes.
  ctx.game().clearGame(false);
  EXPECT_EQ(controller->boardView().nodeCount(), 0u);
  EXPECT_EQ(controller->boardView().highlightCount(), 0u);
}

}  // namespace
