// The in-game screen in the test process's game window: the data of the build, the
// English texts, the key table, and games started through the event hub as the menu
// starts them.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "Board.h"
#include "BoardElem.h"
#include "CCBReader.h"
#include "CCDirector.h"
#include "CCSpriteFrameCache.h"
#include "EventDispatcher.h"
#include "FlowHost.h"
#include "GameContext.h"
#include "GameController.h"
#include "Hotkeys.h"
#include "LanguageFile.h"
#include "MainScene.h"
#include "ScriptedPlayer.h"
#include "TouchLayer.h"
#include "game/GameSession.h"
#include "player/Player.h"
#include "ports/TextLookup.h"

namespace gametest {

// The language table as the rules read it.
class LanguageTexts : public TextLookup {
 public:
  std::string text(const std::string& key) const override { return localizedText(key.c_str()); }
};

// What the hub asks of the application: only the game scene is needed here.
class GameSceneHost : public FlowHost {
 public:
  void showGameScene() override {
    MainScene* scene = MainScene::scene();
    if (cocos2d::CCDirector::sharedDirector()->getRunningScene() != scene)
      mvtest::ScriptedPlayer::show(scene);
    MainScene::makeControllerCurrent();
  }
  void makeGameControllerCurrent() override { MainScene::makeControllerCurrent(); }
};

class GameScreenTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 1280;
  static constexpr int kHeight = 800;

  void SetUp() override {
    if (!mvtest::ScriptedPlayer::openWindow(kWidth, kHeight)) GTEST_SKIP() << "no display";
    static bool prepared = false;
    if (!prepared) {
      prepared = true;
      LanguageFile::instance().load(MV_DATA_DIR "language/english.lng", "0.1");
      cocos2d::extension::CCBReader::setTextTranslator(&localizedText);
      GameContext::defaultContext().setTextLookup(&texts());
      cocos2d::CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("sprites/texture.plist");
      buildHotkeyTable();
      eventDispatcher().setFlowHost(&host());
    }
  }
  void TearDown() override {
    if (!mvtest::ScriptedPlayer::runningScene()) return;
    // The next test begins without a game.
    hub().game().clearGame(true);
    hub().setFlowState(FlowState::Menu);
  }

  static LanguageTexts& texts() {
    static LanguageTexts t;
    return t;
  }
  static GameSceneHost& host() {
    static GameSceneHost h;
    return h;
  }
  EventDispatcher& hub() { return eventDispatcher(); }
  GameController& controller() { return *MainScene::scene()->gameController(); }
  GameSession& game() { return hub().game(); }
  Player& local() { return *game().localPlayer(); }
  Player& enemy() { return *game().enemyPlayer(); }

  // A skirmish against the computer, as the menu starts it; the view settles.
  void startSkirmish() {
    ASSERT_TRUE(hub().startSingleGame("skirmish"));
    mvtest::ScriptedPlayer::runFor(1.0f);
  }
};

}  // namespace gametest
