// What a test or benchmark needs to run games on the in-game screen: the game's own flow
// (its language table for the rules, the in-game screen linked as the game links it, the
// hub's frame) and the same chance in every run.
#pragma once

#include <string>

#include "CCBReader.h"
#include "CCSpriteFrameCache.h"
#include "EventDispatcher.h"
#include "FixedChance.h"
#include "Hotkeys.h"
#include "LanguageFile.h"
#include "MainScene.h"
#include "ScreenFlow.h"

namespace mvtest {

// The game's flow, except that the way back to the menu is counted instead of taken (a test
// of the in-game screen stays on it) and that nothing leaves the test's window: no web page
// opens and the program does not quit.
class GameSceneHost : public ScreenFlow {
 public:
  using ScreenFlow::ScreenFlow;
  void showMenuScene(bool) override { ++menuScenes; }
  void openUrl(const std::string&) override {}
  void openMoreGames() override {}
  void quit() override {}
  int menuScenes = 0;
};

// The flow host of the default hub, made (and so installed) on first use.
inline GameSceneHost& gameSceneHost() {
  static GameSceneHost host(eventDispatcher());
  return host;
}

// With the game's data folder as the resource folder: once per process the English texts
// for layouts and rules, the main sprite sheet, the key table, and the flow host that shows
// the game scene; on every call the same seeds (see fixChance).
inline void prepareGames(const std::string& dataDir) {
  static bool prepared = false;
  if (!prepared) {
    prepared = true;
    LanguageFile::instance().load((dataDir + "language/english.lng").c_str(), "0.1");
    cocos2d::extension::CCBReader::setTextTranslator(&localizedText);
    cocos2d::CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("sprites/texture.plist");
    buildHotkeyTable();
    gameSceneHost().setGameScreen(MainScene::flowLink());
  }
  fixChance();
}

}  // namespace mvtest
