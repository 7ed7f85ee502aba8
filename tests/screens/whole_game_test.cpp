// The whole game from its first scene, played through its windows as a person plays it:
// loading, the menu, skirmishes played to their ends and back, the tutorial followed hint by
// hint, each trial played a few turns and left through the in-game menu, the sandbox with
// the store's try-outs, and many games in one run leaving nothing behind.
#include <SDL.h>

#include <cstdlib>

#include "NodeTree.h"
#include "Board.h"
#include "CCSprite.h"
#include "CCMenu.h"
#include "CCNodeCount.h"
#include "CCScrollView.h"
#include "CapturedLog.h"
#include "CardTable.h"
#include "GameScreenPlayer.h"
#include "LoadingScene.h"
#include "MainScene.h"
#include "MenuController.h"
#include "MenuScene.h"
#include "ScreensFixture.h"
#include "StoreController.h"
#include "game/GameDirector.h"
#include "game/GameModeTable.h"
#include "game/GameSession.h"
#include "game/TutorialDirector.h"
#include "player/Player.h"

using namespace cocos2d;
using mvtest::GameScreenPlayer;
using mvtest::ScriptedPlayer;
using mvtest::buttonCaptioned;

namespace {

int countDeep(CCNode* node) {
  int n = 0;
  mv::forEachNodeDeep(node, [&](CCNode*) { ++n; });
  return n;
}

class WholeGameTest : public mvtest::ScreensTest {
 protected:
  void SetUp() override {
    ScreensTest::SetUp();
    if (IsSkipped()) return;
    ScriptedPlayer::resizeWindow(1280, 800);
    ScreenFlow::instance().setGameScreen(MainScene::flowLink());
  }
  void TearDown() override {
    hub().game().clearGame(false);
    ScriptedPlayer::resizeWindow(1024, 768);
    ScreensTest::TearDown();
  }

  static bool onMenu() { return dynamic_cast<MenuScene*>(ScriptedPlayer::runningScene()) != nullptr; }
  static bool onGame() { return dynamic_cast<MainScene*>(ScriptedPlayer::runningScene()) != nullptr; }
  MenuController& menu() { return *MenuScene::scene()->controller(); }
  CCNode* menuNode(const char* name) { return menu().bindings().node(name); }
  GameController& game() { return *MainScene::scene()->gameController(); }

  // The program's first scene to the menu, its intro ended by ESC. Loading is paced by the
  // scheduler, so a longer frame step only makes it quicker.
  void startToMenu(float dt) {
    ScriptedPlayer::show(LoadingScene::scene());
    ASSERT_TRUE(ScriptedPlayer::runUntil(onMenu, 20.f, dt)) << "no menu after loading";
    ASSERT_TRUE(ScriptedPlayer::runUntil([&] { return menu().isIntroRunning(); }, 3.f));
    ScriptedPlayer::runFor(0.5f);
    ScriptedPlayer::press(SDLK_ESCAPE);
    ScriptedPlayer::frames(2);
    ASSERT_FALSE(menu().isIntroRunning());
    ASSERT_TRUE(ScriptedPlayer::isShown(menuNode("mainlayer")));
  }
  // A main button of the menu, by its caption, clicked; the game's screen comes.
  void startFromMenu(const char* captionKey) {
    ASSERT_TRUE(onMenu());
    ASSERT_TRUE(ScriptedPlayer::click(buttonCaptioned(localizedText(captionKey), menuNode("mainlayer"))))
        << captionKey;
    ASSERT_TRUE(ScriptedPlayer::runUntil(onGame, 3.f));
    ScriptedPlayer::runFor(1.0f);
    ASSERT_TRUE(hub().game().started());
  }
  // The in-game menu's exit, clicked: back on the menu with no game.
  void leaveThroughTheInGameMenu() {
    GameController& c = game();
    // A message over the board is closed first, as a player would.
    if (c.isMessageShown() && c.isMessageFullscreen() && !c.isMessageModal()) ScriptedPlayer::click(640, 40);
    ASSERT_TRUE(ScriptedPlayer::click(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("menubtn")));
    ASSERT_TRUE(ScriptedPlayer::click(buttonCaptioned(localizedText("MENU_EXIT_TO_MENU"), c.bindings().node("gamemenu"))));
    ASSERT_TRUE(ScriptedPlayer::runUntil(onMenu, 3.f));
    ScriptedPlayer::runFor(0.5f);
    EXPECT_FALSE(hub().game().started());
    EXPECT_EQ(FlowState::Menu, hub().flowState());
    EXPECT_TRUE(ScriptedPlayer::isShown(menuNode("mainlayer")));
  }
  // A game played to its end; its message's OK, clicked, returns to the menu.
  void playToTheEndAndOk(unsigned int seed) {
    GameController& c = game();
    GameScreenPlayer player(c, hub());
    CapturedLog log;
    ASSERT_TRUE(player.playUntil([] { return false; }, 1800.0f));
    ASSERT_EQ(GuiMode::GameEnded, c.guiMode()) << "seed " << seed;
    ScriptedPlayer::runFor(1.0f, GameScreenPlayer::kStep);
    GameScreenPlayer::expectNothingRefused(log, hub());
    EXPECT_GT(player.clicks, 10);
    const std::string end = c.messageText();
    ASSERT_TRUE(ScriptedPlayer::click(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("okbtn")));
    ASSERT_TRUE(ScriptedPlayer::runUntil(onMenu, 3.f));
    EXPECT_FALSE(hub().game().started());
    EXPECT_EQ(FlowState::Menu, hub().flowState());
    std::printf("seed %u: %s after %d turns, %.0f s of game time, %d clicks, %d keys\n", seed,
                end.c_str(), hub().game().turn(), player.gameTime(), player.clicks, player.keys);
  }
  // Nodes alive now, less the lines of the game's log (which keeps a bounded number of them).
  int nodesBesidesTheLog() {
    CCNode* log = game().gameLog().logView() ? game().gameLog().logView()->getContainer() : nullptr;
    return static_cast<int>(liveNodeCount()) - (log ? countDeep(log) : 0);
  }
};

// ---- The main road ------------------------------------------------------------------------

TEST_F(WholeGameTest, SingleStartsASkirmishPlayedToItsEndThenOkAndASecondOneFromTheMenu) {
  hub().context().seed(7);
  std::srand(7);
  startToMenu(ScriptedPlayer::kFrame);
  EXPECT_EQ(1, lobbyConnections()) << "the intro's end connects to the lobby, also when skipped";
  for (unsigned int game = 1; game <= 2; ++game) {
    SCOPED_TRACE(game);
    startFromMenu("SKIRMISH");
    EXPECT_EQ(nullptr, dynamic_cast<GameDirector_Tutorial*>(hub().game().director()));
    playToTheEndAndOk(game);
  }
}

// ---- The tutorial -------------------------------------------------------------------------

TEST_F(WholeGameTest, TheTutorialIsPlayedToItsLastRowByFollowingTheHintsOnScreen) {
  hub().context().seed(3);
  std::srand(3);
  startToMenu(0.1f);
  startFromMenu("MENU_TUTORIAL");
  auto* tutorial = dynamic_cast<GameDirector_Tutorial*>(hub().game().director());
  ASSERT_NE(nullptr, tutorial);
  GameController& c = game();
  GameScreenPlayer player(c, hub());
  // Its first words greet the player over the board, once, on their own panel.
  ASSERT_TRUE(c.isMessageShown());
  EXPECT_EQ(localizedText("TUT_INITIAL"), c.messageText());
  ScriptedPlayer::frames(2);
  EXPECT_TRUE(ScriptedPlayer::isShown(c.bindings().nodeAs<cocos2d::CCLabelBMFont>("fullscreenmessage")));
  EXPECT_TRUE(ScriptedPlayer::isShown(c.bindings().nodeAs<cocos2d::CCLabelBMFont>("fullscreenmessage")->getParent()->getChildByTag(3)));
  EXPECT_FALSE(ScriptedPlayer::isShown(c.bindings().nodeAs<cocos2d::CCLabelBMFont>("tutorialmsg")));
  ScriptedPlayer::screenshot("tutorial-first-hint");
  // A click closes them: the bar shows its one card with the arrow at it, and the hint
  // stays pinned on its panel, clear of the log, in every window size.
  ScriptedPlayer::click(640, 300);
  EXPECT_FALSE(c.isMessageShown());
  for (const CCSize& size : {CCSize(1024, 768), CCSize(1920, 1080), CCSize(1280, 800)}) {
    ScriptedPlayer::resizeWindow(static_cast<int>(size.width), static_cast<int>(size.height));
    ScriptedPlayer::runFor(1.0f);  // the view comes back to our tower
    CCNode* panel = c.bindings().nodeAs<cocos2d::CCLabelBMFont>("tutorialmsg")->getParent()->getChildByTag(2);
    ASSERT_TRUE(ScriptedPlayer::isShown(panel));
    EXPECT_TRUE(ScriptedPlayer::isShown(c.bindings().node("arrow")));
    EXPECT_FALSE(ScriptedPlayer::windowRect(panel).intersectsRect(ScriptedPlayer::windowRect(c.gameLog().logView())))
        << size.width << "x" << size.height;
    EXPECT_FALSE(ScriptedPlayer::windowRect(panel).intersectsRect(ScriptedPlayer::windowRect(c.bindings().node("arrow"))));
    ScriptedPlayer::screenshot("tutorial-first-hint-board-" + std::to_string(static_cast<int>(size.width)) + "x" +
                               std::to_string(static_cast<int>(size.height)));
  }
  ScriptedPlayer::frames(2);
  CapturedLog log;
  ASSERT_TRUE(player.playUntil([&] { return !tutorial->active(); }, 1200.0f));
  ASSERT_FALSE(tutorial->active()) << "the script stopped at row " << tutorial->step();
  // Each of the script's eighteen cards and five spells was taken from its arrow, and each
  // of its seven phase ends made on the arrow at End Phase; nothing else was picked.
  EXPECT_EQ(23, player.arrowPicks);
  EXPECT_EQ(7, player.arrowEnds);
  GameScreenPlayer::expectNothingRefused(log, hub());
  // The closing words show until the player closes them; the game goes on by the usual
  // rules, and is left.
  ScriptedPlayer::runFor(0.5f);
  EXPECT_EQ(localizedText("TUT_FINISHED"), c.messageText());
  EXPECT_TRUE(c.isMessageShown());
  EXPECT_TRUE(ScriptedPlayer::isShown(c.bindings().nodeAs<cocos2d::CCLabelBMFont>("fullscreenmessage")));
  EXPECT_FALSE(ScriptedPlayer::isShown(c.bindings().nodeAs<cocos2d::CCLabelBMFont>("tutorialmsg")));
  ScriptedPlayer::screenshot("tutorial-closing-words");
  ScriptedPlayer::press(SDLK_RETURN);
  EXPECT_FALSE(c.isMessageShown());
  leaveThroughTheInGameMenu();
}

// ---- The trials ---------------------------------------------------------------------------

class TrialTest : public WholeGameTest, public ::testing::WithParamInterface<int> {};

TEST_P(TrialTest, IsStartedFromTheScenarioListPlayedAFewTurnsAndLeftThroughTheInGameMenu) {
  const GameModeRecord& mode = GameModeTable[static_cast<size_t>(GetParam())];
  hub().context().seed(11);
  std::srand(11);
  startToMenu(0.1f);
  ASSERT_TRUE(ScriptedPlayer::click(buttonCaptioned(localizedText("MENU_SCENARIOS"), menuNode("mainlayer"))));
  ASSERT_TRUE(ScriptedPlayer::isShown(menuNode("singlegamemenu")));
  ASSERT_TRUE(ScriptedPlayer::click(buttonCaptioned(localizedText(mode.textKey), menuNode("singlegamelist"))));
  ASSERT_TRUE(ScriptedPlayer::runUntil(onGame, 3.f));
  ScriptedPlayer::runFor(1.0f);
  ASSERT_TRUE(hub().game().started());
  GameController& c = game();
  GameScreenPlayer player(c, hub());
  CapturedLog log;
  ASSERT_TRUE(player.playUntil([&] { return hub().game().turn() >= 3; }, 900.0f));
  EXPECT_GT(player.clicks, 5);
  GameScreenPlayer::expectNothingRefused(log, hub());
  ScriptedPlayer::screenshot(std::string("trial-") + mode.modeId);
  leaveThroughTheInGameMenu();
}

// The six rows after the skirmish.
INSTANTIATE_TEST_SUITE_P(Trials, TrialTest, ::testing::Range(1, 7),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return std::string(GameModeTable[static_cast<size_t>(info.param)].modeId);
                         });

// ---- The sandbox and the store --------------------------------------------------------------

// The list turned by the mouse wheel until the row's try button shows whole inside it.
bool scrollIntoView(StoreController& store, const StoreController::ProductRow& row) {
  auto* list = static_cast<extension::CCScrollView*>(store.bindings().node("productlist"));
  for (int turns = 0; turns < 40; ++turns) {
    const CCRect view = ScriptedPlayer::windowRect(list);
    const CCRect button = ScriptedPlayer::windowRect(row.tryButton);
    if (button.getMinY() >= view.getMinY() && button.getMaxY() <= view.getMaxY()) return true;
    const float x = view.getMidX();
    const bool down = button.getMaxY() > view.getMaxY();
    ScriptedPlayer::wheel(x, view.getMidY(), down ? -3 : 3);
    ScriptedPlayer::runFor(0.5f);
  }
  return false;
}

struct TryOut {
  const char* name;
  const char* categoryButton;
  CardCategory kind;
  int cardId = -1;  // the card tried; else the first of the kind with somewhere to go
};

TEST_F(WholeGameTest, TheStoreOpensTheSandboxWhereARoomASpellAndACrewAreTriedAndItIsLeft) {
  startToMenu(0.1f);
  ASSERT_TRUE(ScriptedPlayer::click(menuNode("store")));
  ASSERT_TRUE(ScriptedPlayer::runUntil(onGame, 3.f));
  ScriptedPlayer::runFor(1.0f);
  GameController& c = game();
  ASSERT_TRUE(hub().game().director()->isSandbox());
  StoreController* store = MainScene::scene()->storeController();
  ASSERT_NE(nullptr, store);
  GameScreenPlayer player(c, hub());
  // The sandbox's greeting is read and closed by a click.
  ASSERT_TRUE(c.isMessageShown());
  EXPECT_EQ(localizedText("SANDBOX_INTRO"), c.messageText());
  ASSERT_TRUE(player.playUntil([&] { return !c.isMessageShown(); }, 10.f));
  Player& me = *hub().game().localPlayer();
  CapturedLog log;
  // The first spell is a fireball on our own tower; firefighters then put out a fire and
  // tunnelers dig, each a friendly crew tried after a hostile spell.
  for (const TryOut& t : {TryOut{"room", "roomsbtn", CardCategory::Room}, TryOut{"spell", "spellsbtn", CardCategory::Spell},
                          TryOut{"crew", "dwarvesbtn", CardCategory::Crew},
                          TryOut{"firefighters", "dwarvesbtn", CardCategory::Crew, CardId::Firefighters},
                          TryOut{"tunnelers", "dwarvesbtn", CardCategory::Crew, CardId::Tunnelers}}) {
    SCOPED_TRACE(t.name);
    // The category's button answers also after the list was scrolled.
    ASSERT_TRUE(ScriptedPlayer::click(store->bindings(), t.categoryButton));
    ASSERT_TRUE(static_cast<CCMenuItemImage*>(store->bindings().node(t.categoryButton))->on);
    // A fire for the firefighters, should the fireball's strikes have lit none.
    if (t.cardId == CardId::Firefighters && me.board()->burningCount() == 0)
      me.board()->forEachElemInReach([&](BoardElem& e) {
        if (me.board()->burningCount() == 0 && e.isBlock()) e.ignite();
      });
    // The first card of the kind that has somewhere to go on this board.
    const StoreController::ProductRow* chosen = nullptr;
    for (const StoreController::ProductRow& row : store->rows()) {
      const CardRecord* card = CardTable::getCard(row.cardId);
      if (!card || card->category != t.kind || CardTable::isShieldLocked(row.cardId, hub().context())) continue;
      if (t.cardId >= 0 && row.cardId != t.cardId) continue;
      // A try-out casts on the player's own tower.
      if (t.kind == CardCategory::Room ? me.placementOptions(row.cardId).empty()
                                       : card->targetCount > 0 && Player::targetOptions(*me.board(), row.cardId, 0, {}).empty())
        continue;
      chosen = &row;
      break;
    }
    ASSERT_NE(nullptr, chosen) << "burning: " << me.board()->burningCount();
    const CardRecord* card = CardTable::getCard(chosen->cardId);
    ASSERT_TRUE(scrollIntoView(*store, *chosen)) << card->key;
    const int freeBlocks = me.board()->countFreeBlocks();
    const int mana = me.mana(), dwarves = me.dwarves();
    ASSERT_TRUE(ScriptedPlayer::click(chosen->tryButton)) << card->key;
    auto choosing = [&] { return me.state() == PlayerState::PlacementChoose || isTargetState(me.state()); };
    if (t.kind == CardCategory::Room || card->targetCount > 0)
      ASSERT_TRUE(choosing()) << card->key << " offers no place on the board";
    // Its places or targets are picked on the board, and what it does plays out.
    ASSERT_TRUE(player.playUntil(
        [&] { return !choosing() && !me.isCasting() && c.effects().runningEffects() == 0; }, 60.f))
        << card->key;
    ScriptedPlayer::runFor(1.0f, GameScreenPlayer::kStep);
    // A spell of the combat phase is told by name; the player reads it and closes it.
    if (card->hostile)
      EXPECT_TRUE(log.has(std::string("GUI::message shown: ") + localizedText(card->nameKey().c_str()))) << card->key;
    ASSERT_TRUE(player.playUntil([&] { return !c.isMessageShown(); }, 10.f)) << card->key;
    if (t.kind == CardCategory::Room) {
      EXPECT_EQ(freeBlocks - 1, me.board()->countFreeBlocks()) << card->key;
    } else {
      EXPECT_EQ(mana - card->manaCost, me.mana()) << card->key;
      EXPECT_EQ(dwarves - card->dwarvesCost, me.dwarves()) << card->key;
    }
    EXPECT_TRUE(ScriptedPlayer::isShown(c.bindings().node("storelayer")))
        << "the store stays for the next try; " << card->key << " gui " << static_cast<int>(c.guiMode()) << " message "
        << c.isMessageShown() << " [" << c.messageText() << "] state " << static_cast<int>(me.state()) << " enemy "
        << static_cast<int>(hub().game().enemyPlayer()->state());
    ScriptedPlayer::screenshot(std::string("sandbox-tried-") + t.name);
  }
  GameScreenPlayer::expectNothingRefused(log, hub());
  leaveThroughTheInGameMenu();
}

// ---- Many games in one run ----------------------------------------------------------------

// Ten alike games (the same seed each time), so what one game leaves behind is what the next
// leaves: any difference is something that grows per game.
TEST_F(WholeGameTest, TenGamesFromTheMenuAndBackLeaveTheNodeCountWhereTheFirstLeftIt) {
  startToMenu(0.1f);
  std::vector<int> counts;
  for (int g = 1; g <= 10; ++g) {
    SCOPED_TRACE(g);
    hub().context().seed(5);
    std::srand(5);
    startFromMenu("SKIRMISH");
    GameScreenPlayer player(game(), hub());
    ASSERT_TRUE(player.playUntil([&] { return hub().game().turn() >= 2; }, 600.f));
    leaveThroughTheInGameMenu();
    ScriptedPlayer::runFor(1.0f);
    counts.push_back(nodesBesidesTheLog());
  }
  std::string all;
  for (int n : counts) all += " " + std::to_string(n);
  std::printf("nodes after each game (the log's lines aside):%s\n", all.c_str());
  EXPECT_EQ(counts.front(), counts.back()) << all;
  EXPECT_EQ(counts[1], counts.back()) << all;
}

}  // namespace
