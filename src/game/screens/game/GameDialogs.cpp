// The like dialog, the locked shield's notice and the in-game menu.
#include "GameDialogs.h"

#include <algorithm>
#include <cmath>

#include "CCApplication.h"
#include "CCLabelBMFont.h"
#include "CCLayer.h"
#include "CCMenu.h"
#include "CCMenuItem.h"
#include "CCPointExtension.h"
#include "CCScale9Sprite.h"
#include "CCSprite.h"
#include "CCSpriteFrameCache.h"
#include "CardTable.h"
#include "EventDispatcher.h"
#include "GameAudio.h"
#include "GameContext.h"
#include "NodeBindings.h"
#include "NodeLooks.h"
#include "NodeTree.h"
#include "StoreController.h"
#include "logog/logog.hpp"

using namespace cocos2d;
using namespace cocos2d::extension;

namespace {

constexpr int kShieldCard = CardId::Shield;
constexpr float kPanelPadding = 20.0f;
constexpr int kBlockerPriority = -138;
constexpr int kDialogPriority = -139;
// Our page on the social network, which a like of the shield opens.
const char* const kSocialPageName = "mirrowvale";
const char* const kSocialPageId = "580315742269114";

}  // namespace

GameDialogs::GameDialogs(EventDispatcher& hub) : hub_(hub) {}

void GameDialogs::declareMembers(mv::NodeBindings& b) {
  b.declare("menubtn", &menubtn_);
  b.declare("blocker", &blocker_);
  b.declare("fblike", &fblike_);
  b.declare("fblike_name", &fblike_name_);
  b.declare("fblike_desc", &fblike_desc_);
  b.declare("fblike_sprite", &fblike_sprite_);
  b.declare("fblike_okbtn", &fblike_okbtn_);
  b.declare("notification", &notification_);
  b.declare("notification_name", &notification_name_);
  b.declare("notification_desc", &notification_desc_);
  b.declare("notification_sprite", &notification_sprite_);
  b.declare("menugamemusic", &menugamemusic_);
  b.declare("menuroomzoomin", &menuroomzoomin_);
  b.declare("menualwaysshowourtower", &menualwaysshowourtower_);
  b.declare("gamemenu", &gamemenu_);
}

std::string GameDialogs::text(const std::string& key) const { return hub_.context().text().text(key); }

void GameDialogs::buildOnScreen() {
  if (fblike_name_) fblike_name_->setString(likeTitle_.c_str());
  wrapLikeDescription();
  if (fblike_sprite_ && !likeImage_.empty()) mv::setFrame(fblike_sprite_, likeImage_.c_str());
  showNotice();
  mv::setShown(fblike_, false);
  mv::setShown(blocker_, false);
  mv::setFrame(notification_sprite_, "shield.png");
  if (notification_name_) notification_name_->setString(text("SHIELD_LOCKED").c_str());
  if (notification_desc_) notification_desc_->setString(text("CLICK_TO_UNLOCK").c_str());
  layoutNoticePanel();
  mv::setShown(gamemenu_, false);
  for (CCMenuItemImage* toggle : {menugamemusic_, menuroomzoomin_, menualwaysshowourtower_, menubtn_})
    if (toggle) toggle->toggle = true;
  refreshMenuToggles();
  if (blocker_) {
    blocker_->setTouchEnabled(true);
    blocker_->setTouchMode(kCCTouchesOneByOne);
    blocker_->setClaimAllTouches(true);
    blocker_->setTouchPriority(kBlockerPriority);
  }
  mv::setTouchPriorityDeep(gamemenu_, kDialogPriority);
  mv::setTouchPriorityDeep(fblike_, kDialogPriority);
  if (menubtn_) mv::setTouchPriorityDeep(menubtn_->getParent(), kDialogPriority);
}

void GameDialogs::wrapLikeDescription() {
  if (!fblike_desc_) return;
  if (CCScale9Sprite* panel = fblike_ ? mv::findChild<CCScale9Sprite>(fblike_) : nullptr) {
    const float right = panel->convertToWorldSpace(ccp(panel->getContentSize().width, 0)).x;
    const float left = fblike_desc_->getParent()->convertToWorldSpace(fblike_desc_->getPosition()).x;
    const float scale = fblike_desc_->getScaleX() != 0 ? fblike_desc_->getScaleX() : 1.0f;
    if (right - left > 2 * kPanelPadding) fblike_desc_->setWidth((right - left - kPanelPadding) / scale);
  }
  fblike_desc_->setString(likeDescription_.c_str());
}

void GameDialogs::showNotice() { mv::setShown(notification_, CardTable::isShieldLocked(kShieldCard, hub_.context())); }

void GameDialogs::layoutNoticePanel() {
  if (!notification_ || !notification_name_ || !notification_desc_) return;
  CCScale9Sprite* frame = mv::findChild<CCScale9Sprite>(notification_);
  if (!frame) return;
  // The panel keeps its right edge and height and grows leftwards until its texts fit,
  // whatever their language: icon, gap, texts, each inside the padding.
  const CCSize size = frame->getContentSize();
  const CCPoint anchor = frame->getAnchorPoint();
  const float right = frame->getPositionX() + size.width * (1.0f - anchor.x);
  const float iconW = notification_sprite_ ? notification_sprite_->boundingBox().size.width : 0.0f;
  const float textW =
      std::max(notification_name_->boundingBox().size.width, notification_desc_->boundingBox().size.width);
  const float width = std::max(size.width, std::ceil(kPanelPadding + iconW + kPanelPadding + textW + kPanelPadding));
  const float left = right - width;
  frame->setPreferredSize(CCSize(width, size.height));
  frame->setPositionX(left + width * anchor.x);
  if (notification_sprite_) notification_sprite_->setPositionX(left + kPanelPadding + iconW * 0.5f);
  const float textX = left + kPanelPadding + iconW + kPanelPadding;
  for (CCLabelBMFont* label : {notification_name_, notification_desc_}) {
    label->setAnchorPoint(ccp(0.0f, label->getAnchorPoint().y));
    label->setPositionX(textX);
  }
  // The whole panel answers a click.
  if (CCMenu* menu = mv::findChild<CCMenu>(notification_))
    if (CCMenuItem* item = mv::findChild<CCMenuItem>(menu)) {
      const float bottom = frame->getPositionY() - size.height * anchor.y;
      item->setContentSize(CCSize(width, size.height));
      item->setPosition(menu->convertToNodeSpace(
          notification_->convertToWorldSpace(ccp(left + width * 0.5f, bottom + size.height * 0.5f))));
    }
}

// ---- The like dialog --------------------------------------------------------------------------

void GameDialogs::showLockedCard(int id) {
  const CardRecord* card = CardTable::getCard(id);
  if (!card) return;
  likeCardId_ = id;
  showLikeDialog(text(card->nameKey()), id == kShieldCard ? text("GIVE_LIKE_TO_UNLOCK") : "", card->image);
}

void GameDialogs::showShieldDialog() {
  showNotice();
  likeCardId_ = kShieldCard;
  showLikeDialog(text("SHIELD_NAME"), text("GIVE_LIKE_TO_UNLOCK"), "shield.png");
}

void GameDialogs::showLikeDialog(const std::string& title, const std::string& description, const std::string& image) {
  mv::setShown(fblike_, true);
  mv::setShown(blocker_, true);
  likeTitle_ = title;
  likeDescription_ = description;
  likeImage_ = image;
  if (likeCardId_ == kShieldCard)
    mv::setItemImages(fblike_okbtn_, "facebook.png", "facebook-press.png");
  else
    mv::setItemImages(fblike_okbtn_, "button-ok.png", "button-ok-press.png");
  if (fblike_name_) fblike_name_->setString(title.c_str());
  if (fblike_desc_) fblike_desc_->setString(description.c_str());
  if (fblike_sprite_) {
    mv::setFrame(fblike_sprite_, image);
    fblike_sprite_->setColor(mv::cardColour(likeCardId_ >= 0 ? likeCardId_ : kShieldCard));
  }
}

void GameDialogs::hideLikeDialog(bool closeStore) {
  if (closeStore && store_) store_->hideStoreMessage();
  showNotice();
  mv::setShown(fblike_, false);
  mv::setShown(blocker_, false);
}

bool GameDialogs::acceptLike() {
  mv::setShown(fblike_, false);
  mv::setShown(blocker_, false);
  if (likeCardId_ != kShieldCard) return false;
  CardTable::unlockShield(kShieldCard, hub_.context());
  if (CCApplication* app = CCApplication::sharedApplication())
    app->openSocialPage(kSocialPageName, kSocialPageId);
  else
    LOGOG_WARN("GUI::no application to open the social page");
  showNotice();
  if (store_) store_->refreshProducts();
  return true;
}

// ---- The in-game menu ---------------------------------------------------------------------------

void GameDialogs::toggleMenu() {
  mv::setShown(fblike_, false);
  mv::setShown(blocker_, false);
  const bool open = menubtn_ && menubtn_->on;
  mv::setShown(gamemenu_, open);
  mv::setShown(blocker_, gamemenu_ && gamemenu_->isVisible());
}

void GameDialogs::closeMenu() {
  mv::setShown(gamemenu_, false);
  mv::setShown(blocker_, false);
  if (menubtn_) {
    menubtn_->on = false;
    menubtn_->unselected();
  }
}

bool GameDialogs::isMenuOpen() const { return gamemenu_ && gamemenu_->isVisible(); }

bool GameDialogs::storeMenuSetting(const char* key, CCMenuItemImage* toggle) {
  if (!toggle) return false;
  Settings& settings = hub_.context().settings();
  settings.setBool(key, toggle->on);
  settings.flush();
  return true;
}

void GameDialogs::toggleMusic() {
  if (!storeMenuSetting("music", menugamemusic_)) return;
  gameAudio().setMusicVolume(menugamemusic_->on ? 1.0f : 0.0f);
  refreshMenuToggles();
}

void GameDialogs::toggleRoomZoomIn() {
  if (storeMenuSetting("room_zoom_in", menuroomzoomin_)) refreshMenuToggles();
}

void GameDialogs::toggleAlwaysShowOurTower() {
  if (storeMenuSetting("always_show_our_tower", menualwaysshowourtower_)) refreshMenuToggles();
}

void GameDialogs::refreshMenuToggles() {
  struct Toggle {
    CCMenuItemImage* item;
    const char* key;
    bool fallback;
  };
  const Settings& settings = hub_.context().settings();
  for (const Toggle& t : {Toggle{menualwaysshowourtower_, "always_show_our_tower", false},
                          Toggle{menugamemusic_, "music", true}, Toggle{menuroomzoomin_, "room_zoom_in", true}}) {
    if (!t.item) continue;
    const bool on = settings.getBool(t.key, t.fallback);
    t.item->on = on;
    if (on)
      t.item->selected();
    else
      t.item->unselected();
    const char* frame = on ? "button-ok.png" : "button-cancel.png";
    mv::setItemImages(t.item, frame, frame);
  }
}
