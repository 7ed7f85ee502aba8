// The game screen's controller on the screen's real node tree, without a window: a hub of
// its own on a context of its own, texts that read as their keys (a few set), a recording
// audio and a recording flow host.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "CCDirector.h"
#include "CCFileUtils.h"
#include "CCLabelBMFont.h"
#include "EventDispatcher.h"
#include "FlowHost.h"
#include "GameAudio.h"
#include "GameContext.h"
#include "GameController.h"
#include "game/GameDirector.h"
#include "game/GameSession.h"
#include "player/Player.h"
#include "ports/TextLookup.h"

namespace gametest {

class ControllerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cocos2d::CCDirector::sharedDirector();
    cocos2d::CCFileUtils::sharedFileUtils()->setResourceDirectory(MV_DATA_DIR);
    texts.set("MANA", "Mana");
    texts.set("DWARVES", "Dwarves");
    ctx.setTextLookup(&texts);
    hub.setFlowHost(&flow);
    setGameAudio(&audio);
    controller = new GameController(hub);
    root = controller->buildScreen();
    ASSERT_NE(root, nullptr);
    root->retain();
  }
  void TearDown() override {
    if (root) root->release();
    if (controller) controller->release();
    setGameAudio(nullptr);
  }

  // What a node shows once the screen is up to date (as a frame would bring it).
  bool shown(cocos2d::CCNode* node) {
    controller->refreshIfChanged();
    return node && node->isVisible();
  }
  std::string textOf(cocos2d::CCLabelBMFont* label) {
    controller->refreshIfChanged();
    return label ? label->getString() : "<none>";
  }
  // A game of the mode against the computer on this hub's context.
  void startGame(const char* mode = "skirmish") { ASSERT_TRUE(ctx.game().newGame(false, GameDirector::create(mode))); }
  Player& local() { return *ctx.game().localPlayer(); }

  GameContext ctx{3};
  MapTextLookup texts;
  EventDispatcher hub{ctx};
  RecordingFlowHost flow;
  RecordingAudio audio;
  GameController* controller = nullptr;
  cocos2d::CCNode* root = nullptr;
};

}  // namespace gametest
