// The game's own screens in a real window: the game's data, the game's one hub with a
// recording match link, and the scripted player.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "CCDirector.h"
#include "CCLabelBMFont.h"
#include "CCMenuItem.h"
#include "CCFileUtils.h"
#include "CCSpriteFrameCache.h"
#include "EventDispatcher.h"
#include "FixedChance.h"
#include "GameContext.h"
#include "Hotkeys.h"
#include "LanguageFile.h"
#include "ScreenFlow.h"
#include "ScriptedPlayer.h"
#include "LobbyLink.h"

namespace mvtest {

class ScreensTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ScriptedPlayer::openWindow(1024, 768)) GTEST_SKIP() << "no display";
    ScreenFlow& flow = ScreenFlow::instance();
    flow.setNetworkStart([] {});
    hub().setLobbyLink(&link);
    buildHotkeyTable();
    fixChance();
  }
  void TearDown() override { hub().setLobbyLink(nullptr); }

  // What the loading screen brings in: the sprite sheet and the English texts.
  static void loadGameData() {
    cocos2d::CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("sprites/texture.plist");
    std::string english = cocos2d::CCFileUtils::sharedFileUtils()->fullPathForFilename("language/english.lng");
    ASSERT_EQ(0, LanguageFile::instance().load(english.c_str(), "0.1"));
  }
  static EventDispatcher& hub() { return eventDispatcher(); }
  int lobbyConnections() const { return static_cast<int>(link.count("connectToLobby")); }

  RecordingLobbyLink link;
};

// The button whose caption reads `text`, below root (the running scene when null).
inline cocos2d::CCMenuItem* buttonCaptioned(const std::string& text, cocos2d::CCNode* root = nullptr) {
  return dynamic_cast<cocos2d::CCMenuItem*>(ScriptedPlayer::find(
      [&](cocos2d::CCNode* n) {
        if (!dynamic_cast<cocos2d::CCMenuItem*>(n)) return false;
        auto* label = ScriptedPlayer::findType<cocos2d::CCLabelBMFont>(n);
        return label && text == label->getString();
      },
      root));
}

}  // namespace mvtest
