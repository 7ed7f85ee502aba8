// The game screen's dialogs: the like dialog that unlocks the shield (or names a locked
// card), the locked shield's notice, and the in-game menu with its three settings, each
// over a blocker that takes the clicks meant for the screen below.
#pragma once

#include <string>

namespace cocos2d {
class CCLabelBMFont;
class CCLayer;
class CCMenuItemImage;
class CCSprite;
}  // namespace cocos2d

namespace mv {
class NodeBindings;
}

class EventDispatcher;
class StoreController;

class GameDialogs {
 public:
  explicit GameDialogs(EventDispatcher& hub);
  GameDialogs(const GameDialogs&) = delete;
  GameDialogs& operator=(const GameDialogs&) = delete;
  void declareMembers(mv::NodeBindings& bindings);
  // The store that a closed dialog may close too, and that shows the shield unlocked.
  void setStoreController(StoreController* store) { store_ = store; }
  // A new screen: the dialogs closed, their texts and settings shown, their clicks first.
  void buildOnScreen();

  // ---- The like dialog and the locked shield's notice ---------------------------------
  // The dialog of a locked card (a card's button or digit).
  void showLockedCard(int id);
  // The notice was clicked: the shield's dialog.
  void showShieldDialog();
  void hideLikeDialog(bool closeStore);
  // The dialog's OK: closed; for the shield, the shield is unlocked and our page opens.
  // True when the shield was unlocked.
  bool acceptLike();

  // ---- The in-game menu ------------------------------------------------------------------
  // The menu button toggles the menu.
  void toggleMenu();
  void closeMenu();
  bool isMenuOpen() const;
  // The toggles of the three settings: a click stores the setting.
  void toggleMusic();
  void toggleRoomZoomIn();
  void toggleAlwaysShowOurTower();
  // Each toggle shows its setting.
  void refreshMenuToggles();

  int likeCardId() const { return likeCardId_; }

 private:
  void showLikeDialog(const std::string& title, const std::string& description, const std::string& image);
  // The toggle's state stored under the key and flushed (false without the toggle).
  bool storeMenuSetting(const char* key, cocos2d::CCMenuItemImage* toggle);
  void showNotice();
  // The notice grows to fit its texts.
  void layoutNoticePanel();
  // The dialog's description wraps inside its panel.
  void wrapLikeDescription();
  std::string text(const std::string& key) const;

  EventDispatcher& hub_;
  StoreController* store_ = nullptr;
  int likeCardId_ = -1;
  std::string likeTitle_, likeDescription_, likeImage_;
  cocos2d::CCLayer* fblike_ = nullptr;
  cocos2d::CCSprite* fblike_sprite_ = nullptr;
  cocos2d::CCLabelBMFont* fblike_name_ = nullptr;
  cocos2d::CCLabelBMFont* fblike_desc_ = nullptr;
  cocos2d::CCMenuItemImage* fblike_okbtn_ = nullptr;
  cocos2d::CCLayer* notification_ = nullptr;
  cocos2d::CCSprite* notification_sprite_ = nullptr;
  cocos2d::CCLabelBMFont* notification_name_ = nullptr;
  cocos2d::CCLabelBMFont* notification_desc_ = nullptr;
  cocos2d::CCMenuItemImage* menugamemusic_ = nullptr;
  cocos2d::CCMenuItemImage* menuroomzoomin_ = nullptr;
  cocos2d::CCMenuItemImage* menualwaysshowourtower_ = nullptr;
  cocos2d::CCMenuItemImage* menubtn_ = nullptr;
  cocos2d::CCLayer* gamemenu_ = nullptr;
  cocos2d::CCLayer* blocker_ = nullptr;
};
