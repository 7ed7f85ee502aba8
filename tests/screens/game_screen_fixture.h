// The in-game screen in the test process's game window: the data of the build, the
// English texts, the key table, and games started through the event hub as the menu
// starts them.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "Board.h"
#include "BoardElem.h"
#include "CCDirector.h"
#include "EventDispatcher.h"
#include "GameContext.h"
#include "GameController.h"
#include "GameWindow.h"
#include "MainScene.h"
#include "ScriptedPlayer.h"
#include "TouchLayer.h"
#include "game/GameSession.h"
#include "player/Player.h"

namespace gametest {

class GameScreenTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 1280;
  static constexpr int kHeight = 800;

  void SetUp() override {
    if (!mvtest::ScriptedPlayer::openWindow(kWidth, kHeight)) GTEST_SKIP() << "no display";
    mvtest::prepareGames(MV_DATA_DIR);
  }
  void TearDown() override {
    if (!mvtest::ScriptedPlayer::runningScene()) return;
    // The next test begins without a game.
    hub().game().clearGame(false);
    hub().setFlowState(FlowState::Menu);
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
