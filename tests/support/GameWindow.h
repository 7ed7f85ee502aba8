// What a test or benchmark needs to run games on the in-game screen: the language
// table as the rules read it, and a flow host that shows the game scene when the event
// hub starts a game, as the menu's flow does.
#pragma once

#include <string>

#include "CCBReader.h"
#include "CCDirector.h"
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
  static GameSceneHost host;
  eventDispatcher().setFlowHost(&host);
}

}  // namespace mvtest
