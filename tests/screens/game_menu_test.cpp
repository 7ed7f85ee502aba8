// The in-game menu, the like dialog and the chat bar in the game window, clicked and typed
// as a player would; the menu's settings kept in the user's settings file.
#include <stdlib.h>

#include <filesystem>

#include "CCEditBox.h"
#include "CCLabelBMFont.h"
#include "CCMenuItem.h"
#include "CCScale9Sprite.h"
#include "CCScene.h"
#include "CCSprite.h"
#include "CCSpriteFrameCache.h"
#include "CCUserDefault.h"
#include "CapturedLog.h"
#include "CardTable.h"
#include "ScreenFlow.h"
#include "game_screen_fixture.h"
#include "ports/MatchLink.h"

using namespace cocos2d;
using mvtest::ScriptedPlayer;

namespace gametest {
namespace {

// The user's settings file in a folder of its own for the test.
class UserSettingsTest : public GameScreenTest {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/mv-settings-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
    setenv("XDG_DATA_HOME", folder.c_str(), 1);
    CCUserDefault::purgeSharedUserDefault();
    hub().context().setSettings(&settings);
    GameScreenTest::SetUp();
  }
  void TearDown() override {
    GameScreenTest::TearDown();
    hub().context().setSettings(nullptr);
    CCUserDefault::purgeSharedUserDefault();
    std::filesystem::remove_all(folder);
  }
  // What a toggle's picture shows.
  bool shows(CCMenuItemImage* item, const char* frame) {
    auto* sprite = dynamic_cast<CCSprite*>(item->getNormalImage());
    CCSpriteFrame* f = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(frame);
    return sprite && f && sprite->isFrameDisplayed(f);
  }

  std::string folder;
  UserDefaultSettings settings;
};

TEST_F(UserSettingsTest, TheMenusThreeSettingsAreClickedAndSurviveARestart) {
  startSkirmish();
  GameController& c = controller();
  // The defaults: music and zooming in on, our tower not kept in sight.
  EXPECT_TRUE(shows(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("menugamemusic"), "button-ok.png"));
  EXPECT_TRUE(shows(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("menuroomzoomin"), "button-ok.png"));
  EXPECT_TRUE(shows(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("menualwaysshowourtower"), "button-cancel.png"));
  ASSERT_TRUE(ScriptedPlayer::click(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("menubtn")));
  EXPECT_TRUE(ScriptedPlayer::isShown(c.bindings().node("gamemenu")));
  EXPECT_TRUE(ScriptedPlayer::isShown(c.bindings().node("blocker")));
  ScriptedPlayer::screenshot("in-game-menu");
  // The board beneath takes no click while the menu is open.
  ScriptedPlayer::click(640, 700);
  EXPECT_TRUE(ScriptedPlayer::isShown(c.bindings().node("gamemenu")));
  ASSERT_TRUE(ScriptedPlayer::click(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("menugamemusic")));
  ASSERT_TRUE(ScriptedPlayer::click(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("menuroomzoomin")));
  ASSERT_TRUE(ScriptedPlayer::click(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("menualwaysshowourtower")));
  EXPECT_TRUE(shows(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("menugamemusic"), "button-cancel.png"));
  EXPECT_TRUE(shows(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("menuroomzoomin"), "button-cancel.png"));
  EXPECT_TRUE(shows(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("menualwaysshowourtower"), "button-ok.png"));
  // ESC closes the menu.
  ScriptedPlayer::press(SDLK_ESCAPE);
  EXPECT_FALSE(ScriptedPlayer::isShown(c.bindings().node("gamemenu")));
  EXPECT_FALSE(ScriptedPlayer::isShown(c.bindings().node("blocker")));
  EXPECT_FALSE(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("menubtn")->on);

  // A restart reads the file again.
  CCUserDefault::purgeSharedUserDefault();
  EXPECT_FALSE(settings.getBool("music", true));
  EXPECT_FALSE(settings.getBool("room_zoom_in", true));
  EXPECT_TRUE(settings.getBool("always_show_our_tower", false));
  // A new screen shows them so.
  ScriptedPlayer::resizeWindow(1024, 768);
  EXPECT_TRUE(shows(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("menugamemusic"), "button-cancel.png"));
  EXPECT_FALSE(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("menugamemusic")->on);
  EXPECT_FALSE(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("menuroomzoomin")->on);
  EXPECT_TRUE(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("menualwaysshowourtower")->on);
  ScriptedPlayer::resizeWindow(kWidth, kHeight);
}

TEST_F(UserSettingsTest, TheNoticeOpensTheLikeDialogAndItsConfirmationUnlocksTheShieldForGood) {
  startSkirmish();
  GameController& c = controller();
  ASSERT_TRUE(ScriptedPlayer::isShown(c.bindings().node("notification")));
  CCMenuItem* notice = ScriptedPlayer::findType<CCMenuItem>(c.bindings().node("notification"));
  ASSERT_TRUE(ScriptedPlayer::click(notice));
  ASSERT_TRUE(ScriptedPlayer::isShown(c.bindings().node("fblike")));
  EXPECT_STREQ(c.bindings().nodeAs<cocos2d::CCLabelBMFont>("fblike_name")->getString(), hub().context().text().text("SHIELD_NAME").c_str());
  // Each of its two buttons says what it does, inside the dialog's frame.
  CCNode* frame = ScriptedPlayer::findType<extension::CCScale9Sprite>(c.bindings().node("fblike"));
  ASSERT_NE(frame, nullptr);
  std::vector<std::string> captions;
  for (CCNode* item : ScriptedPlayer::findAll([](CCNode* n) { return dynamic_cast<CCMenuItem*>(n) != nullptr; }, c.bindings().node("fblike")))
    if (auto* label = ScriptedPlayer::findType<CCLabelBMFont>(item)) {
      captions.push_back(label->getString());
      const CCRect box = ScriptedPlayer::windowRect(frame), text = ScriptedPlayer::windowRect(label);
      EXPECT_TRUE(box.containsPoint(text.origin) && box.containsPoint(CCPoint(text.getMaxX(), text.getMaxY())));
    }
  EXPECT_EQ(captions, (std::vector<std::string>{hub().context().text().text("OK"), hub().context().text().text("CANCEL")}));
  ScriptedPlayer::screenshot("like-dialog");
  // The menu button opened over the dialog closes it.
  ASSERT_TRUE(ScriptedPlayer::click(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("menubtn")));
  EXPECT_FALSE(ScriptedPlayer::isShown(c.bindings().node("fblike")));
  ASSERT_TRUE(ScriptedPlayer::click(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("menubtn")));
  EXPECT_FALSE(ScriptedPlayer::isShown(c.bindings().node("gamemenu")));
  ASSERT_TRUE(ScriptedPlayer::click(notice));
  ASSERT_TRUE(ScriptedPlayer::click(c.bindings().node("fblike_okbtn")));
  EXPECT_FALSE(ScriptedPlayer::isShown(c.bindings().node("fblike")));
  EXPECT_FALSE(ScriptedPlayer::isShown(c.bindings().node("notification")));
  EXPECT_TRUE(c.isMessageShown());
  CCUserDefault::purgeSharedUserDefault();
  EXPECT_FALSE(CardTable::isShieldLocked(CardId::Shield, hub().context()));
  // Entering the screen again keeps the notice away.
  ScriptedPlayer::show(CCScene::create());
  ScriptedPlayer::show(MainScene::scene());
  EXPECT_FALSE(ScriptedPlayer::isShown(c.bindings().node("notification")));
}

// ---- The chat bar -----------------------------------------------------------------------------

TEST_F(GameScreenTest, OnlineTheChatBarTakesAtMostWhatTheLobbyPassesOn) {
  RecordingMatchLink link;
  link.hosting = true;
  hub().context().setMatchLink(&link);
  ASSERT_TRUE(game().newGame(true, GameDirector::create("skirmish")));
  hub().flowHost().showGameScene();
  controller().startGame();
  ScriptedPlayer::runFor(0.6f);
  GameController& c = controller();
  ASSERT_TRUE(ScriptedPlayer::isShown(c.gameLog().chatBar()));
  ASSERT_NE(c.gameLog().editBox(), nullptr);
  ASSERT_TRUE(ScriptedPlayer::click(c.gameLog().editBox()));
  // More than the limit, in two-byte letters: what goes beyond it is not typed.
  std::string line;
  for (int i = 0; i < GameLog::kChatMaxChars + 40; ++i) line += i % 2 ? "é" : "a";
  ScriptedPlayer::type(line);
  const std::string typed = c.gameLog().editBox()->getText();
  EXPECT_EQ(typed, line.substr(0, typed.size()));
  EXPECT_LE(typed.size(), GameLog::kChatMaxBytes);
  int characters = 0;
  for (unsigned char ch : typed) characters += (ch & 0xC0) != 0x80;
  EXPECT_EQ(characters, GameLog::kChatMaxChars);
  ScriptedPlayer::press(SDLK_RETURN);
  ASSERT_EQ(link.count("sendChat"), 1u);
  EXPECT_EQ(link.sent().back().text, typed);
  EXPECT_EQ(c.gameLog().records().back().text, typed);
  EXPECT_STREQ(c.gameLog().editBox()->getText(), "");
  // The keys go back to the game once the line is sent: a card's digit is not typed.
  EXPECT_FALSE(c.gameLog().editBox()->getImpl()->isEditing());
  ScriptedPlayer::type("12");
  EXPECT_STREQ(c.gameLog().editBox()->getText(), "");
  // An empty line (RETURN in an empty box) is not sent and adds nothing to the log.
  const std::size_t lines = c.gameLog().records().size();
  ASSERT_TRUE(ScriptedPlayer::click(c.gameLog().editBox()));
  ScriptedPlayer::type("  ");
  ScriptedPlayer::press(SDLK_RETURN);
  EXPECT_EQ(link.count("sendChat"), 1u);
  EXPECT_EQ(c.gameLog().records().size(), lines);
  EXPECT_FALSE(c.gameLog().editBox()->getImpl()->isEditing());
  // Once the bar hides for a target's choice, the keys go back to the game and nothing
  // typed lands in the hidden box.
  ASSERT_TRUE(ScriptedPlayer::click(c.gameLog().editBox()));
  ASSERT_TRUE(c.gameLog().editBox()->getImpl()->isEditing());
  c.chooseTarget({}, "", "");
  c.refreshIfChanged();
  EXPECT_FALSE(ScriptedPlayer::isShown(c.gameLog().chatBar()));
  EXPECT_FALSE(c.gameLog().editBox()->getImpl()->isEditing());
  ScriptedPlayer::type("12");
  EXPECT_STREQ(c.gameLog().editBox()->getText(), "");
  c.showGameBoard();
  c.refreshIfChanged();
  // A line begun and not sent does not outlive the match: once the game's screen goes,
  // RETURN on the next screen sends nothing, and the next match starts with an empty box.
  ASSERT_TRUE(ScriptedPlayer::click(c.gameLog().editBox()));
  ScriptedPlayer::type("gg");
  ScriptedPlayer::show(cocos2d::CCScene::create());
  EXPECT_FALSE(c.gameLog().editBox()->getImpl()->isEditing());
  ScriptedPlayer::press(SDLK_RETURN);
  EXPECT_EQ(link.count("sendChat"), 1u);
  EXPECT_EQ(c.gameLog().records().size(), lines);
  hub().flowHost().showGameScene();
  controller().startGame();
  EXPECT_STREQ(c.gameLog().editBox()->getText(), "");
  game().clearGame(false);
  hub().context().setMatchLink(nullptr);
}

}  // namespace
}  // namespace gametest
