// What a test or benchmark needs to run games on the in-game screen: the language
// table as the rules read it, and a flow host that shows the game scene when the event
// hub starts a game, as the menu's flow does.
#pragma once

#include <string>

#include "CCBReader.h"
#include "CCDirector.h"
#include "CCScheduler.h"
#include "CCSpriteFrameCache.h"
#include "EventDispatcher.h"
#include "GameContext.h"
#include "Hotkeys.h"
#include "FlowHost.h"
#include "LanguageFile.h"
#include "MainScene.h"
#include "ports/TextLookup.h"

namespace mvtest {

class LanguageTexts : public TextLookup {
 public:
  std::string text(const std::string& key) const override { return localizedText(key.c_str()); }
};

class GameSceneHost : public FlowHost {
 public:
  // The menu would come now (the game is over or left).
  void showMenuScene(bool) override { ++menuScenes; }
  int menuScenes = 0;
  void showGameScene() override {
    cocos2d::CCDirector* director = cocos2d::CCDirector::sharedDirector();
    MainScene* scene = MainScene::scene();
    if (!director->getRunningScene())
      director->runWithScene(scene);
    else if (director->getRunningScene() != scene)
      director->replaceScene(scene);
    MainScene::makeControllerCurrent();
  }
  void makeGameControllerCurrent() override { MainScene::makeControllerCurrent(); }
};

// Runs the hub's frame (the computer's moves) from the engine's scheduler, as the game
// does once loading is over.
class HubTicker : public cocos2d::CCObject {
 public:
  void update(float dt) override { eventDispatcher().update(dt); }
  static void start() {
    static HubTicker* ticker = nullptr;
    if (ticker) return;
    ticker = new HubTicker();
    cocos2d::CCDirector::sharedDirector()->getScheduler()->scheduleUpdateForTarget(ticker, 0, false);
  }
};

// The flow host prepareGames installs.
inline GameSceneHost& gameSceneHost() {
  static GameSceneHost host;
  return host;
}

// Once per process, with the game's data folder as the resource folder: the English
// texts for layouts and rules, the main sprite sheet, the key table, and the flow host
// that shows the game scene.
inline void prepareGames(const std::string& dataDir) {
  static bool prepared = false;
  if (prepared) return;
  prepared = true;
  LanguageFile::instance().load((dataDir + "language/english.lng").c_str(), "0.1");
  cocos2d::extension::CCBReader::setTextTranslator(&localizedText);
  static LanguageTexts texts;
  GameContext::defaultContext().setTextLookup(&texts);
  cocos2d::CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("sprites/texture.plist");
  buildHotkeyTable();
  eventDispatcher().setFlowHost(&gameSceneHost());
}

}  // namespace mvtest
