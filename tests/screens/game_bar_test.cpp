// The game screen's selection bar, like dialog, in-game menu, sounds and log on the screen's
// real node tree, without a window.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "NodeTree.h"
#include "Board.h"
#include "BoardElem.h"
#include "CCApplication.h"
#include "CCLayer.h"
#include "CCLayerColor.h"
#include "CCMenuItem.h"
#include "CCEditBox.h"
#include "CCPointExtension.h"
#include "CCScrollView.h"
#include "CCSprite.h"
#include "NodeBindings.h"
#include "CapturedLog.h"
#include "CardTable.h"
#include "controller_fixture.h"
#include "game/TutorialDirector.h"
#include "ports/MatchLink.h"

using namespace cocos2d;

namespace {

using gametest::ControllerTest;

// One button of the bar as drawn: what its labels say and show.
struct Button {
  int tag = -1;
  std::string name;
  ccColor3B nameColour{};
  ccColor3B pictureColour{};
  bool qtyShown = false;
  std::string qty;
  bool digitShown = false;
  std::string digit;
  bool costShown = false;
  std::string cost;
};

class BarTest : public ControllerTest {
 protected:
  void SetUp() override {
    ControllerTest::SetUp();
    if (IsSkipped()) return;
    texts.set("PLACE_PHASE", "Placement");
    texts.set("BUILD_PHASE", "Building");
    startGame();
  }
  // The buttons of the bar, top first. A button's labels lie in layout order: digit, name,
  // (cost,) count; its sprites: picture (, cost).
  std::vector<Button> buttons() {
    std::vector<Button> out;
    controller->refreshIfChanged();
    CCNode* container = controller->bar().view()->getContainer();
    mv::forEachNodeDeep(container, [&](CCNode* n) {
      auto* item = dynamic_cast<CCMenuItemImage*>(n);
      if (!item || item == controller->bindings().nodeAs<cocos2d::CCMenuItemImage>("endphasebtn")) return;
      std::vector<CCLabelBMFont*> labels;
      std::vector<CCSprite*> sprites;
      CCArray* children = item->getChildren();
      for (unsigned int i = 0; children && i < children->count(); ++i) {
        CCNode* child = static_cast<CCNode*>(children->objectAtIndex(i));
        if (child == item->getNormalImage() || child == item->getSelectedImage() ||
            child == item->getDisabledImage())
          continue;
        if (auto* l = dynamic_cast<CCLabelBMFont*>(child)) labels.push_back(l);
        else if (auto* s = dynamic_cast<CCSprite*>(child)) sprites.push_back(s);
      }
      if (labels.size() < 3 || sprites.empty()) return;  // the end-phase button
      Button b;
      b.tag = item->getTag();
      b.digitShown = labels[0]->isVisible();
      b.digit = labels[0]->getString();
      b.name = labels[1]->getString();
      b.nameColour = labels[1]->getColor();
      b.pictureColour = sprites[0]->getColor();
      CCLabelBMFont* qty = labels.back();
      b.qtyShown = qty->isVisible();
      b.qty = qty->getString();
      if (labels.size() == 4) {
        b.costShown = labels[2]->isVisible() && sprites.size() > 1 && sprites[1]->isVisible();
        b.cost = labels[2]->getString();
      }
      out.push_back(b);
    });
    // Top first.
    return out;
  }
  bool sameColour(const ccColor3B& a, const ccColor3B& b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
  ccColor3B colourOf(int card) {
    const CardColor c = CardTable::cardColor(card);
    return ccc3(c.r, c.g, c.b);
  }
};

TEST_F(BarTest, CardOrderPutsTheArchmageFirstThenCategoriesThenIds) {
  struct Case {
    int a, b;
    bool less;
  };
  for (const Case& c : {Case{31, 0, true}, Case{0, 31, false}, Case{31, 31, false}, Case{0, 8, true},
                        Case{8, 0, false}, Case{12, 24, true}, Case{24, 12, false}, Case{3, 1, false},
                        Case{1, 3, true}, Case{11, 12, true}, Case{30, 25, false}})
    EXPECT_EQ(SelectionBar::cardOrderLess(c.a, c.b), c.less) << c.a << " < " << c.b;
}

TEST_F(BarTest, TheCardBarShowsEachCardOnceInOrderWithItsCountAndDigit) {
  ASSERT_EQ(local().state(), PlayerState::CardChoose);
  controller->setCardList({CardId::Dome, CardId::FourBlock, CardId::Tunnelers, CardId::FourBlock, CardId::Archmage,
                           CardId::Crystal, CardId::FourBlock});
  controller->refreshIfChanged();
  EXPECT_EQ(textOf(controller->bindings().nodeAs<cocos2d::CCLabelBMFont>("sequencename")), "Placement");
  const std::vector<Button> b = buttons();
  ASSERT_EQ(b.size(), 5u);
  const std::vector<int> order = {CardId::Archmage, CardId::FourBlock, CardId::Dome, CardId::Crystal, CardId::Tunnelers};
  for (size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(b[i].tag, order[i]);
    EXPECT_EQ(b[i].name, CardTable::getCard(order[i])->nameKey());
    EXPECT_TRUE(b[i].digitShown);
    EXPECT_EQ(b[i].digit, std::to_string(i + 1));
    EXPECT_TRUE(sameColour(b[i].pictureColour, colourOf(order[i])));
    EXPECT_FALSE(sameColour(b[i].nameColour, ccc3(255, 0, 0)));
  }
  EXPECT_TRUE(b[1].qtyShown);
  EXPECT_EQ(b[1].qty, "3x");
  EXPECT_FALSE(b[0].qtyShown);
  EXPECT_EQ(controller->bar().shownButtons(), order);
  // Without a tutorial no arrow points anywhere.
  EXPECT_FALSE(controller->bindings().node("arrow")->isVisible());
  EXPECT_FALSE(controller->bindings().node("arrow_phaseend")->isVisible());
}

TEST_F(BarTest, TheTenthButtonReadsZeroAndTheEleventhHasNoDigit) {
  controller->setCardList({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11});
  controller->refreshIfChanged();
  const std::vector<Button> b = buttons();
  ASSERT_EQ(b.size(), 11u);
  EXPECT_EQ(b[8].digit, "9");
  EXPECT_TRUE(b[9].digitShown);
  EXPECT_EQ(b[9].digit, "0");
  EXPECT_FALSE(b[10].digitShown);
  EXPECT_EQ(controller->bar().shownButtons().size(), 11u);
}

TEST_F(BarTest, EveryRefreshLaysTheBarAnewCentredOnItsViewHoweverTall) {
  controller->setCardList({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11});
  controller->refreshIfChanged();
  extension::CCScrollView* view = controller->bar().view();
  CCNode* first = view->getContainer();
  first->retain();
  const float v = view->getViewSize().height, h = first->getContentSize().height;
  ASSERT_GT(h, v);
  EXPECT_FLOAT_EQ(view->getContentOffset().y, (v - h) * 0.5f);
  // Scrolled, then refreshed: a new bar in the middle again.
  view->setContentOffset(ccp(0, 0), false);
  controller->refreshGui();
  controller->refreshIfChanged();
  EXPECT_NE(view->getContainer(), first);
  EXPECT_EQ(view->getContainer()->getContentSize().height, h);
  EXPECT_FLOAT_EQ(view->getContentOffset().y, (v - h) * 0.5f);
  first->release();
}

TEST_F(BarTest, TheSpellBarShowsEachSpellOnceWithItsCostAndPicksItsFirstEntry) {
  controller->setSpellList({{CardId::Repairers, 1}, {CardId::Fireball, 2}, {CardId::Tunnelers, 1},
                            {CardId::Fireball, 3}, {CardId::Dynamite, 1}, {CardId::Fireball, 1}});
  controller->refreshIfChanged();
  controller->bar().show(static_cast<int>(PlayerState::BuildChooseSpell));
  EXPECT_EQ(textOf(controller->bindings().nodeAs<cocos2d::CCLabelBMFont>("sequencename")), "Building");
  const std::vector<Button> b = buttons();
  ASSERT_EQ(b.size(), 4u);
  // Spells before crews; the tag is the first entry of the card in the list.
  EXPECT_EQ(b[0].tag, 1);
  EXPECT_EQ(b[0].qty, "3x");
  EXPECT_TRUE(b[0].qtyShown);
  EXPECT_TRUE(b[0].costShown);
  EXPECT_EQ(b[0].cost, "7");
  EXPECT_TRUE(sameColour(b[0].pictureColour, ccc3(193, 0, 0)));
  EXPECT_EQ(b[1].tag, 4);  // dynamite: one dwarf
  EXPECT_TRUE(b[1].costShown);
  EXPECT_EQ(b[1].cost, "1");
  EXPECT_EQ(b[2].tag, 2);  // tunnelers cost nothing
  EXPECT_FALSE(b[2].costShown);
  EXPECT_EQ(b[3].tag, 0);  // repairers: two dwarves
  EXPECT_EQ(b[3].cost, "2");
  EXPECT_TRUE(sameColour(b[3].pictureColour, ccc3(0, 193, 0)));
  EXPECT_EQ(controller->bar().shownButtons(), (std::vector<int>{1, 4, 2, 0}));
}

TEST_F(ControllerTest, TheTutorialsForcedCardHasABouncingArrowAndItsPhaseNoEndArrow) {
  startGame("tutorial");
  ASSERT_EQ(local().state(), PlayerState::CardChoose);
  controller->setCardList(local().cards());
  controller->refreshIfChanged();
  ASSERT_EQ(controller->bar().shownButtons(), std::vector<int>{CardId::Archmage});
  ASSERT_NE(controller->bindings().node("arrow"), nullptr);
  EXPECT_TRUE(controller->bindings().node("arrow")->isVisible());
  EXPECT_GT(controller->bindings().node("arrow")->numberOfRunningActions(), 0u);
  // The tutorial does not let this phase end yet.
  EXPECT_FALSE(controller->bindings().node("arrow_phaseend")->isVisible());
  // A second card is no forced choice.
  controller->setCardList({CardId::Archmage, CardId::FourBlock});
  controller->refreshIfChanged();
  EXPECT_FALSE(controller->bindings().node("arrow")->isVisible());
}

TEST_F(ControllerTest, TheTutorialsWelcomeStaysUntilClickedThenItsFirstHintIsPinnedBelow) {
  hub.setScreen(controller);
  ASSERT_TRUE(hub.startSingleGame("tutorial"));
  controller->refreshIfChanged();
  ASSERT_EQ(local().state(), PlayerState::CardChoose);
  ASSERT_TRUE(controller->isMessageShown());
  EXPECT_EQ(controller->messageText(), "TUT_INITIAL");
  EXPECT_EQ(controller->tutorialText(), "TUT_INITIAL");
  // Read once: the welcome on its panel, its pinned copy not yet.
  EXPECT_TRUE(controller->bindings().nodeAs<cocos2d::CCLabelBMFont>("fullscreenmessage")->isVisible());
  EXPECT_FALSE(controller->bindings().nodeAs<cocos2d::CCLabelBMFont>("tutorialmsg")->isVisible());
  // The computer's phases end waits and close messages: not this one.
  controller->closeMessage();
  EXPECT_TRUE(controller->isMessageShown());
  controller->closeFullscreenMessageByTap();
  controller->refreshIfChanged();
  EXPECT_FALSE(controller->isMessageShown());
  EXPECT_TRUE(controller->bindings().nodeAs<cocos2d::CCLabelBMFont>("tutorialmsg")->isVisible());
  EXPECT_TRUE(controller->bar().layer()->isVisible());
  ctx.game().clearGame(false);
  hub.setScreen(nullptr);
}

TEST_F(ControllerTest, TheTutorialsClosingWordsStayOverTheBoardUntilClosed) {
  hub.setScreen(controller);
  ASSERT_TRUE(hub.startSingleGame("tutorial"));
  controller->closeFullscreenMessageByTap();
  auto* tutorial = dynamic_cast<GameDirector_Tutorial*>(ctx.game().director());
  ASSERT_NE(tutorial, nullptr);
  for (int row = 0; row < kTutorialEndRow + 2; ++row) tutorial->onPhaseFinished(local());
  // The next switch of ours reaches the end row and shows the board with its choices.
  local().setState(PlayerState::BuildChooseSpell);
  controller->refreshIfChanged();
  ASSERT_FALSE(tutorial->active());
  EXPECT_TRUE(controller->isMessageShown());
  EXPECT_EQ(controller->messageText(), "TUT_FINISHED");
  EXPECT_TRUE(controller->bindings().node("fulldarken")->isVisible());
  EXPECT_TRUE(controller->bindings().nodeAs<cocos2d::CCLabelBMFont>("fullscreenmessage")->isVisible());
  EXPECT_FALSE(controller->bindings().nodeAs<cocos2d::CCLabelBMFont>("tutorialmsg")->isVisible());
  // The player closes them as any message; the next board is a plain one.
  controller->onReturnKey();
  controller->refreshIfChanged();
  EXPECT_FALSE(controller->isMessageShown());
  EXPECT_FALSE(controller->bindings().nodeAs<cocos2d::CCLabelBMFont>("fullscreenmessage")->isVisible());
  controller->showMessage("A", "B");
  controller->showGameBoard();
  EXPECT_FALSE(controller->isMessageShown());
  ctx.game().clearGame(false);
  hub.setScreen(nullptr);
}

TEST_F(BarTest, StatesWithoutChoicesShowAnEmptyBar) {
  controller->setCardList({CardId::FourBlock});
  controller->refreshIfChanged();
  ASSERT_FALSE(buttons().empty());
  for (PlayerState s : {PlayerState::ProcessCombatQueue, PlayerState::PlacementChoose, PlayerState::EndTurn,
                        PlayerState::Fire}) {
    controller->bar().show(static_cast<int>(s));
    EXPECT_TRUE(buttons().empty()) << static_cast<int>(s);
    EXPECT_TRUE(controller->bar().shownButtons().empty());
    EXPECT_EQ(controller->bar().view()->getContainer()->getChildrenCount(), 0u);
  }
}

// The application as far as the like dialog calls it: the social pages opened.
class SocialPagesApp : public CCApplication {
 public:
  bool applicationDidFinishLaunching() override { return true; }
  void applicationDidEnterBackground() override {}
  void applicationWillEnterForeground() override {}
  void openSocialPage(const std::string& name, const std::string&) override { socialPages.push_back(name); }
  std::vector<std::string> socialPages;
};

TEST_F(BarTest, TheLockedShieldIsRedAndOpensTheLikeDialogUntilUnlocked) {
  SocialPagesApp app;
  MemorySettings& settings = static_cast<MemorySettings&>(ctx.settings());
  local().setCards({CardId::Shield, CardId::FourBlock});  // the bar shows the hand
  controller->setCardList(local().cards());
  controller->refreshIfChanged();
  std::vector<Button> b = buttons();
  ASSERT_EQ(b.size(), 2u);
  ASSERT_EQ(b[1].tag, CardId::Shield);
  EXPECT_TRUE(sameColour(b[1].nameColour, ccc3(255, 0, 0)));
  EXPECT_FALSE(sameColour(b[0].nameColour, ccc3(255, 0, 0)));
  EXPECT_TRUE(shown(controller->bindings().node("notification")));
  // Its digit opens the dialog as its button does; nothing is chosen.
  ASSERT_EQ(controller->bar().shownButtons().at(1), CardId::Shield);
  controller->selectByHotkey(1);
  EXPECT_EQ(local().state(), PlayerState::CardChoose);
  EXPECT_TRUE(shown(controller->bindings().node("fblike")));
  controller->onFblikeCancel(nullptr);
  // A click on it opens the dialog; nothing is chosen.
  CCMenuItemImage* shieldButton = nullptr;
  mv::forEachNodeDeep(controller->bar().view()->getContainer(), [&](CCNode* n) {
    if (auto* item = dynamic_cast<CCMenuItemImage*>(n))
      if (item->getTag() == CardId::Shield && item != controller->bindings().nodeAs<cocos2d::CCMenuItemImage>("endphasebtn")) shieldButton = item;
  });
  ASSERT_NE(shieldButton, nullptr);
  controller->onCard(shieldButton);
  EXPECT_EQ(local().state(), PlayerState::CardChoose);
  EXPECT_TRUE(shown(controller->bindings().node("fblike")));
  EXPECT_TRUE(shown(controller->bindings().node("blocker")));
  EXPECT_EQ(textOf(controller->bindings().nodeAs<cocos2d::CCLabelBMFont>("fblike_name")), "SHIELD_NAME");
  EXPECT_EQ(textOf(controller->bindings().nodeAs<cocos2d::CCLabelBMFont>("fblike_desc")), "GIVE_LIKE_TO_UNLOCK");
  const int flushes = settings.flushCount();
  controller->onFblikeOk(nullptr);
  EXPECT_FALSE(shown(controller->bindings().node("fblike")));
  EXPECT_FALSE(shown(controller->bindings().node("blocker")));
  EXPECT_TRUE(settings.getBool("shield_unlocked"));
  EXPECT_GT(settings.flushCount(), flushes);
  ASSERT_EQ(app.socialPages.size(), 1u);
  EXPECT_EQ(app.socialPages[0], "mirrowvale");
  EXPECT_FALSE(shown(controller->bindings().node("notification")));
  EXPECT_TRUE(controller->isMessageShown());
  EXPECT_EQ(controller->messageText(), "THANKS_FOR_LIKING");
  // Unlocked for good: drawn like any card and chosen at a click.
  b = buttons();
  EXPECT_FALSE(sameColour(b[1].nameColour, ccc3(255, 0, 0)));
  controller->closeMessage();
  mv::forEachNodeDeep(controller->bar().view()->getContainer(), [&](CCNode* n) {
    if (auto* item = dynamic_cast<CCMenuItemImage*>(n))
      if (item->getTag() == CardId::Shield && item != controller->bindings().nodeAs<cocos2d::CCMenuItemImage>("endphasebtn")) shieldButton = item;
  });
  controller->onCard(shieldButton);
  EXPECT_FALSE(shown(controller->bindings().node("fblike")));
  EXPECT_EQ(local().selectedCard(), CardId::Shield);
}

TEST_F(BarTest, TheNoticeOpensTheDialogAndCancelClosesIt) {
  controller->onNotification(nullptr);
  EXPECT_EQ(controller->dialogs().likeCardId(), CardId::Shield);
  EXPECT_TRUE(shown(controller->bindings().node("fblike")));
  controller->onFblikeCancel(nullptr);
  EXPECT_FALSE(shown(controller->bindings().node("fblike")));
  EXPECT_FALSE(shown(controller->bindings().node("blocker")));
  EXPECT_TRUE(shown(controller->bindings().node("notification")));
  EXPECT_FALSE(ctx.settings().getBool("shield_unlocked"));
}

// ---- The in-game menu ---------------------------------------------------------------------

TEST_F(BarTest, TheMenuOpensOverTheLikeDialogAndClosesAgain) {
  controller->onNotification(nullptr);
  controller->bindings().nodeAs<cocos2d::CCMenuItemImage>("menubtn")->on = true;
  controller->onMenu(controller->bindings().nodeAs<cocos2d::CCMenuItemImage>("menubtn"));
  EXPECT_FALSE(shown(controller->bindings().node("fblike")));
  EXPECT_TRUE(shown(controller->bindings().node("gamemenu")));
  EXPECT_TRUE(shown(controller->bindings().node("blocker")));
  controller->onMenuReturnToGame(nullptr);
  EXPECT_FALSE(shown(controller->bindings().node("gamemenu")));
  EXPECT_FALSE(shown(controller->bindings().node("blocker")));
  EXPECT_FALSE(controller->bindings().nodeAs<cocos2d::CCMenuItemImage>("menubtn")->on);
  // The button clicked again while off closes nothing more.
  controller->onMenu(controller->bindings().nodeAs<cocos2d::CCMenuItemImage>("menubtn"));
  EXPECT_FALSE(shown(controller->bindings().node("gamemenu")));
}

TEST_F(BarTest, EachToggleStoresAndFlushesItsSettingAndMusicSetsTheVolume) {
  MemorySettings& settings = static_cast<MemorySettings&>(ctx.settings());
  struct Case {
    const char* key;
    CCMenuItemImage* item;
    std::function<void(CCObject*)> select;
    bool fallback;
  };
  GameController* c0 = controller;
  for (const Case& c : {Case{"music", c0->bindings().nodeAs<cocos2d::CCMenuItemImage>("menugamemusic"), [c0](CCObject* s) { c0->onMenuGameMusic(s); }, true},
                        Case{"room_zoom_in", c0->bindings().nodeAs<cocos2d::CCMenuItemImage>("menuroomzoomin"), [c0](CCObject* s) { c0->onMenuRoomZoomIn(s); }, true},
                        Case{"always_show_our_tower", c0->bindings().nodeAs<cocos2d::CCMenuItemImage>("menualwaysshowourtower"),
                             [c0](CCObject* s) { c0->onMenuAlwaysShowOurTower(s); }, false}}) {
    CCMenuItemImage* item = c.item;
    ASSERT_NE(item, nullptr) << c.key;
    EXPECT_EQ(item->on, c.fallback) << c.key;
    for (bool value : {!c.fallback, c.fallback}) {
      audio.clear();
      const int flushes = settings.flushCount();
      item->on = value;  // the click flips the toggle before its selector runs
      c.select(item);
      EXPECT_EQ(settings.getBool(c.key, !value), value) << c.key;
      EXPECT_EQ(settings.flushCount(), flushes + 1) << c.key;
      EXPECT_EQ(item->on, value);
      const bool volume = !audio.calls().empty() && audio.calls().back().what == "volume";
      EXPECT_EQ(volume, std::string(c.key) == "music") << c.key;
      if (volume) {
        EXPECT_FLOAT_EQ(audio.calls().back().volume, value ? 1.0f : 0.0f);
      }
    }
  }
}

TEST_F(BarTest, ExitToTheMenuEndsTheGameThroughTheHub) {
  controller->bindings().nodeAs<cocos2d::CCMenuItemImage>("menubtn")->on = true;
  controller->onMenu(controller->bindings().nodeAs<cocos2d::CCMenuItemImage>("menubtn"));
  controller->onMenuExitToMenu(nullptr);
  EXPECT_FALSE(shown(controller->bindings().node("gamemenu")));
  EXPECT_FALSE(ctx.game().started());
  EXPECT_EQ(flow.count("showMenuScene"), 1u);
}

TEST_F(ControllerTest, TouchPriorityGoesToEveryLayerBelowTheNodeAndNoFurther) {
  // A layer under a plain node under a layer, beside a sprite: the depth the dialogs have.
  CCLayer* top = CCLayer::create();
  CCNode* plain = CCNode::create();
  CCLayer* deep = CCLayer::create();
  CCLayer* outside = CCLayer::create();
  top->addChild(plain);
  plain->addChild(deep);
  top->addChild(CCSprite::create());
  outside->setTouchPriority(5);
  mv::setTouchPriorityDeep(top, -139);
  EXPECT_EQ(top->getTouchPriority(), -139);
  EXPECT_EQ(deep->getTouchPriority(), -139);
  EXPECT_EQ(outside->getTouchPriority(), 5);
  mv::setTouchPriorityDeep(nullptr, 1);  // nothing to do
}

TEST_F(BarTest, EndPhaseWithoutADirectorAsksTheHub) {
  ctx.game().clearGame(false);
  CapturedLog log;
  controller->onEndPhase(nullptr);
  EXPECT_TRUE(log.has("end of phase dropped: no game"));
}

// ---- Sounds -------------------------------------------------------------------------------

TEST_F(ControllerTest, EventSoundsPlayOnlyForTheLocalPlayer) {
  struct Case {
    void (GameController::*play)(bool);
    const char* file;
  };
  for (const Case& c : {Case{&GameController::playLevitronousSound, "sounds/levitronous.wav"},
                        Case{&GameController::playArmorSound, "sounds/armor.wav"},
                        Case{&GameController::playDoorsSound, "sounds/doors.wav"},
                        Case{&GameController::playFenceSound, "sounds/fence.wav"},
                        Case{&GameController::playBuildBlockSound, "sounds/build-block.wav"},
                        Case{&GameController::playBuildRoomSound, "sounds/build-room.wav"},
                        Case{&GameController::playPutSpellSound, "sounds/put-spell.wav"}}) {
    audio.clear();
    (controller->*c.play)(false);
    EXPECT_TRUE(audio.played().empty()) << c.file;
    (controller->*c.play)(true);
    EXPECT_EQ(audio.played(), std::vector<std::string>{c.file});
    EXPECT_FALSE(audio.calls().back().loop);
  }
}

TEST_F(BarTest, TheHubsBuildingEventsSoundOnlyForTheLocalPlayer) {
  hub.setScreen(controller);
  local().setCards({CardId::FourBlock});
  hub.selectCard(CardId::FourBlock);
  ASSERT_EQ(local().state(), PlayerState::PlacementChoose);
  audio.clear();
  hub.selectBoardElem(local().options().front());
  EXPECT_EQ(audio.played(), std::vector<std::string>{"sounds/build-block.wav"});
  // The computer's block is silent.
  Player& enemy = *ctx.game().enemyPlayer();
  enemy.setCards({CardId::FourBlock});
  ASSERT_TRUE(enemy.selectCard(CardId::FourBlock));
  audio.clear();
  ASSERT_TRUE(enemy.selectTarget(enemy.options().front()));
  EXPECT_TRUE(audio.played().empty());
}

TEST_F(ControllerTest, TheFireLoopFollowsTheLevelOfEachSide) {
  struct Step {
    bool ours;
    int level;
    std::vector<std::string> looping;  // after the step
    int plays;                         // effects started by the step
  };
  const std::vector<Step> steps = {
      {true, 0, {}, 0},  // the first report counts as a change; 0 starts nothing
      {true, 25, {"sounds/fire1.mp3"}, 1},
      {true, 25, {"sounds/fire1.mp3"}, 0},  // unchanged
      {true, 26, {"sounds/fire2.mp3"}, 1},
      {true, 50, {"sounds/fire2.mp3"}, 1},  // a change restarts the same file
      {true, 51, {"sounds/fire3.mp3"}, 1},
      {false, 3, {"sounds/fire3.mp3", "sounds/fire-enemy.mp3"}, 1},
      {false, 90, {"sounds/fire3.mp3", "sounds/fire-enemy.mp3"}, 1},
      {true, 0, {"sounds/fire-enemy.mp3"}, 0},
  };
  for (size_t i = 0; i < steps.size(); ++i) {
    const size_t before = audio.played().size();
    controller->updateFireSound(steps[i].ours, steps[i].level);
    EXPECT_EQ(audio.looping(), steps[i].looping) << "step " << i;
    EXPECT_EQ(static_cast<int>(audio.played().size() - before), steps[i].plays) << "step " << i;
  }
  // Leaving the screen stops both loops; the levels stay, so the same levels start nothing.
  controller->updateFireSound(true, 40);
  controller->effects().stopFireSounds();
  EXPECT_TRUE(audio.looping().empty());
  EXPECT_FALSE(controller->effects().fireSoundPlaying(true));
  const size_t before = audio.played().size();
  controller->updateFireSound(true, 40);
  controller->updateFireSound(false, 90);
  EXPECT_EQ(audio.played().size(), before);
  controller->updateFireSound(true, 41);
  EXPECT_EQ(audio.looping(), std::vector<std::string>{"sounds/fire2.mp3"});
}

TEST_F(BarTest, RubbleOfADamagedShieldSoundsBrokenOtherRubbleRumbles) {
  BoardElem* e = local().board()->cellAt(20, 20);
  ASSERT_NE(e, nullptr);
  e->setRoom(RoomType::Shield);
  e->setDamaged(true);
  controller->playRubbleSound(*e);
  EXPECT_EQ(audio.played().back(), "sounds/reflector-broken.wav");
  e->setDamaged(false);
  for (int i = 0; i < 20; ++i) {
    controller->playRubbleSound(*e);
    const std::string f = audio.played().back();
    EXPECT_TRUE(f == "sounds/Rubble1.wav" || f == "sounds/Rubble2.wav") << f;
  }
  // Neither is kept among the effects' sounds.
  EXPECT_TRUE(controller->effects().playingEffects().empty());
}

// ---- Chat and log -------------------------------------------------------------------------

TEST(LogLine, ANamedLineColoursTheNameAndColonByCharacterAndASystemLineWhole) {
  const LogColour text = {103, 91, 80}, name = {193, 0, 0}, other = {1, 2, 3};
  const std::vector<LogColour> named = GameLog::lineColours({"Zoë", "hé", text});
  // "Zoë: hé": six characters.
  ASSERT_EQ(named.size(), 7u);
  for (size_t i = 0; i < named.size(); ++i) {
    const LogColour want = i <= 3 ? name : text;
    EXPECT_EQ(named[i].r, want.r) << i;
    EXPECT_EQ(named[i].g, want.g) << i;
  }
  EXPECT_EQ(GameLog::lineText({"Zoë", "hé", text}), "Zoë: hé");
  const std::vector<LogColour> system = GameLog::lineColours({"", "Turn 2", other});
  ASSERT_EQ(system.size(), 6u);
  for (const LogColour& c : system) EXPECT_EQ(c.b, 3);
}

TEST_F(BarTest, OfflineEveryChatLineGetsTheComputersAnswerAndTheBoxEmpties) {
  ASSERT_NE(controller->gameLog().editBox(), nullptr);
  EXPECT_EQ(controller->gameLog().editBox()->getMaxLength(), GameLog::kChatMaxChars);
  controller->gameLog().editBox()->setText("hello");
  controller->gameLog().editBoxReturn(controller->gameLog().editBox());
  // An empty line is no line: nothing is added and nothing answers it.
  controller->gameLog().editBox()->setText("");
  controller->gameLog().editBoxReturn(controller->gameLog().editBox());
  ASSERT_EQ(controller->gameLog().records().size(), 2u);
  EXPECT_EQ(controller->gameLog().records()[0].name, "YOU");
  EXPECT_EQ(controller->gameLog().records()[0].text, "hello");
  EXPECT_EQ(controller->gameLog().records()[1].name, "AI");
  EXPECT_EQ(controller->gameLog().records()[1].text, "DONT_UNDERSTAND");
  EXPECT_EQ(std::string(controller->gameLog().editBox()->getText()), "");
  EXPECT_EQ(controller->gameLog().linesShown(), 2u);
}

TEST_F(ControllerTest, OnlineAChatLineGoesToTheOpponentWithinTheLobbysLimit) {
  RecordingMatchLink link;
  ctx.setMatchLink(&link);
  link.hosting = true;
  ASSERT_TRUE(ctx.game().newGame(true, GameDirector::create("skirmish")));
  // Longer than the lobby passes on (set from outside the box's typing): cut at a whole
  // character, never dropped unseen.
  std::string line;
  while (line.size() < GameLog::kChatMaxBytes + 10) line += "é";
  controller->gameLog().editBox()->setText(line.c_str());
  controller->gameLog().editBoxReturn(controller->gameLog().editBox());
  ASSERT_EQ(link.count("sendChat"), 1u);
  const std::string sent = link.sent().back().text;
  EXPECT_LE(sent.size(), GameLog::kChatMaxBytes);
  EXPECT_EQ(sent.size() % 2, 0u);
  EXPECT_EQ(controller->gameLog().records().back().name, "YOU");
  ctx.game().clearGame(false);
  ctx.setMatchLink(nullptr);
}

// Every line of the log as drawn (text and place on the screen), and the log's height.
std::vector<std::string> logSnapshot(GameController& c) {
  std::vector<std::string> out;
  CCNode* lines = nullptr;
  mv::forEachNodeDeep(c.gameLog().logView()->getContainer(), [&](CCNode* n) {
    if (!lines && dynamic_cast<CCLabelBMFont*>(n)) lines = n->getParent();
  });
  if (!lines) return out;
  for (unsigned int i = 0; i < lines->getChildrenCount(); ++i) {
    CCNode* label = static_cast<CCNode*>(lines->getChildren()->objectAtIndex(i));
    const CCPoint at = label->convertToWorldSpace(CCPointZero);
    out.push_back(std::string(static_cast<CCLabelBMFont*>(label)->getString()) + "@" + std::to_string(at.x) + "," +
                  std::to_string(at.y));
  }
  out.push_back("size " + std::to_string(c.gameLog().logView()->getContainer()->getContentSize().height));
  return out;
}

TEST_F(ControllerTest, AddingALineLaysTheLogOutAsBuildingItWholeWould) {
  for (int i = 0; i < 40; ++i)
    controller->addLogLine(i % 3 ? "" : "Rival", "line " + std::to_string(i) + (i % 5 ? "" : " that runs on long enough to wrap in the log's narrow view"),
                           {103, 91, 80});
  auto snapshot = [&] { return logSnapshot(*controller); };
  const std::vector<std::string> added = snapshot();
  ASSERT_EQ(added.size(), 41u);
  // The newest line is in sight at the bottom of the view.
  CCNode* newest = nullptr;
  mv::forEachNodeDeep(controller->gameLog().logView()->getContainer(), [&](CCNode* n) {
    if (dynamic_cast<CCLabelBMFont*>(n)) newest = n;
  });
  ASSERT_NE(newest, nullptr);
  EXPECT_TRUE(newest->isVisibleInHierarchy());
  const float viewBottom = controller->gameLog().logView()->convertToWorldSpace(CCPointZero).y;
  const CCPoint bottom = newest->convertToWorldSpace(CCPointZero);
  EXPECT_GE(bottom.y, viewBottom);
  EXPECT_LT(bottom.y, viewBottom + 40);
  controller->gameLog().layoutLog();
  EXPECT_EQ(snapshot(), added);
}

TEST_F(ControllerTest, PastItsBoundTheLogShowsItsNewestLinesKeepsEveryRecordAndLaysOutAsBuiltWhole) {
  const int total = static_cast<int>(GameLog::kLogShownLines) + 26;
  for (int i = 0; i < total; ++i)
    controller->addLogLine("", "line " + std::to_string(i) + (i % 7 ? "" : " that runs on long enough to wrap in the log's narrow view"),
                           {103, 91, 80});
  ASSERT_EQ(controller->gameLog().records().size(), static_cast<size_t>(total));
  EXPECT_EQ(controller->gameLog().records().front().text.rfind("line 0 ", 0), 0u);
  EXPECT_EQ(controller->gameLog().linesShown(), GameLog::kLogShownLines);
  const std::vector<std::string> added = logSnapshot(*controller);
  ASSERT_FALSE(added.empty());
  EXPECT_EQ(added.front().rfind("line 26@", 0), 0u) << added.front();
  // The test report names the shown lines only: a dropped line is let go.
  size_t reported = 0;
  mv::NodeBindings::forEachTable([&](const mv::NodeBindings& t) {
    if (t.prefix() == "LOG::") reported += t.rowCount();
  });
  EXPECT_EQ(reported, GameLog::kLogShownLines);
  controller->gameLog().layoutLog();
  EXPECT_EQ(logSnapshot(*controller), added);
}

}  // namespace
