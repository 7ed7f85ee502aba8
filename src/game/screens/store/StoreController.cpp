#include "StoreController.h"

#include <vector>

#include "CCLabelBMFont.h"
#include "CCLayer.h"
#include "CCMenu.h"
#include "CCMenuItem.h"
#include "CCScrollView.h"
#include "CCSprite.h"
#include "CCSpriteFrameCache.h"
#include "CardTable.h"
#include "EventDispatcher.h"
#include "GameContext.h"
#include "LanguageFile.h"
#include "LoadNode.h"
#include "ResourceNames.h"
#include "RowList.h"
#include "logog/logog.hpp"

using namespace cocos2d;
using namespace cocos2d::extension;

std::map<int, ProductState> productStates;

namespace {

constexpr int kBlockerPriority = -138;
constexpr int kMessagePriority = -139;

bool inCategory(const CardRecord& card, const std::string& category) {
  switch (card.category) {
    case CardCategory::Structure:
    case CardCategory::Room:
      return category == "rooms";
    case CardCategory::Spell:
      return category == "spells";
    case CardCategory::Crew:
      return category == "dwarves";
  }
  return false;
}

void showToggle(CCMenuItemImage* button, bool on) {
  if (!button) return;
  button->on = on;
  if (on)
    button->selected();
  else
    button->unselected();
}

}  // namespace

StoreController* StoreController::create(EventDispatcher& hub) {
  StoreController* store = new StoreController(hub);
  return ccAutoreleaseIfInit(store, store->init());
}

StoreController::StoreController(EventDispatcher& hub) : bindings_("GUI::"), rowBindings_("GUI::"), hub_(hub) {}

bool StoreController::init() {
  bindings_.declare("productlist", &productlist_);
  bindings_.declare("spellsbtn", &spellsbtn_);
  bindings_.declare("dwarvesbtn", &dwarvesbtn_);
  bindings_.declare("roomsbtn", &roomsbtn_);
  bindings_.declare("storemessageokbtn", &storemessageokbtn_);
  bindings_.declare("storemessagelayer", &storemessagelayer_);
  bindings_.declare("storeblocker", &storeblocker_);
  bindings_.declare("storemessageprompt", &storemessageprompt_);
  rowBindings_.declare("productname", &productname_);
  rowBindings_.declare("productprice", &productprice_);
  rowBindings_.declare("producttrybtn", &producttrybtn_);
  rowBindings_.declare("productbtn", &productbtn_);
  rowBindings_.declare("producticon", &producticon_);
  rowBindings_.declare("buybtn", &buybtn_);
  return true;
}

StoreController::~StoreController() { CC_SAFE_RELEASE(root_); }

CCNode* StoreController::loadScreen() {
  bindings_.beginLoad();
  CCNode* root = mv::loadNode(kScreenFile, this, mv::isHD, false);
  bindings_.endLoad();
  CC_SAFE_RELEASE(root_);
  root_ = root;
  if (!root) {
    LOGOG_CRITICAL("GUI::the store screen %s is missing or broken", kScreenFile);
    return nullptr;
  }
  root->retain();
  category_ = "spells";
  for (CCMenuItemImage* button : {spellsbtn_, dwarvesbtn_, roomsbtn_})
    if (button) button->toggle = true;
  if (storeblocker_) {
    storeblocker_->setTouchEnabled(true);
    storeblocker_->setTouchMode(kCCTouchesOneByOne);
    storeblocker_->setClaimAllTouches(true);
    storeblocker_->setTouchPriority(kBlockerPriority);
  }
  if (storemessageokbtn_)
    if (CCMenu* menu = dynamic_cast<CCMenu*>(storemessageokbtn_->getParent()))
      menu->setTouchPriority(kMessagePriority);
  if (!productStatesBuilt_)
    refreshProducts();
  else
    fillProductList();
  refreshStoreMessage();
  return root;
}

void StoreController::refreshStoreMessage() {
  if (storemessagelayer_) storemessagelayer_->setVisible(storeMessageShown_);
  if (storeblocker_) storeblocker_->setVisible(storeMessageShown_);
  if (storemessageprompt_) storemessageprompt_->setString(storeMessageText_.c_str());
  if (storemessageokbtn_) storemessageokbtn_->setVisible(okButtonShown_);
}

void StoreController::refreshProducts() {
  productStatesBuilt_ = true;
  productStates.clear();
  const GameContext& context = hub().context();
  for (int id = 0; id < CardTable::kCardCount; ++id)
    productStates[id] = ProductState{std::string(), CardTable::isShieldLocked(id, context)};
  fillProductList();
}

void StoreController::fillProductList() {
  if (!productStatesBuilt_) {
    refreshProducts();
    return;
  }
  if (!root_) return;
  showToggle(spellsbtn_, category_ == "spells");
  showToggle(dwarvesbtn_, category_ == "dwarves");
  showToggle(roomsbtn_, category_ == "rooms");
  if (!productlist_) return;

  const GameContext& context = hub().context();
  std::vector<CCNode*> rows;
  rows_.clear();
  for (int id = 0; id < CardTable::kCardCount; ++id) {
    const CardRecord* card = CardTable::getCard(id);
    if (!card || !inCategory(*card, category_)) continue;
    rowBindings_.beginLoad();
    CCNode* row = mv::loadNode(kRowFile, this, false, false);
    rowBindings_.endLoad();
    if (!row) break;
    if (productname_) productname_->setString(localizedText(card->nameKey().c_str()));
    if (id == CardId::Shield) {
      if (CardTable::isShieldLocked(id, context)) {
        if (productprice_) productprice_->setString(localizedText("FREE"));
      } else if (buybtn_) {
        buybtn_->setVisible(false);
      }
    } else {
      auto state = productStates.find(id);
      if (state != productStates.end() && state->second.offered) {
        if (productprice_) productprice_->setString(state->second.priceText.c_str());
      } else if (buybtn_) {
        buybtn_->setVisible(false);
      }
    }
    if (producticon_) {
      if (CCSpriteFrame* frame = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(card->image))
        producticon_->setDisplayFrame(frame);
      CardColor colour = CardTable::cardColor(id);
      producticon_->setColor(ccc3(colour.r, colour.g, colour.b));
    }
    if (producttrybtn_) producttrybtn_->setTag(id);
    if (productbtn_) productbtn_->setTag(id);
    if (buybtn_) buybtn_->setTag(id);  // the row's buy button does what its picture does
    rows.push_back(row);
    rows_.push_back({id, row, productprice_, buybtn_, productbtn_, producttrybtn_, producticon_});
  }

  const int total = mv::stackRows(productlist_, rows);
  const CCSize view = productlist_->getViewSize();
  // The top row shows first.
  productlist_->setContentOffset(CCPoint(0, view.height - total), false);
}

void StoreController::hideStoreMessage() {
  if (storemessagelayer_) storemessagelayer_->setVisible(false);
  if (storeblocker_) storeblocker_->setVisible(false);
}

void StoreController::selectCategory(const std::string& category) {
  category_ = category;
  fillProductList();
}

void StoreController::onSpells(CCObject*) { selectCategory("spells"); }
void StoreController::onRooms(CCObject*) { selectCategory("rooms"); }
void StoreController::onDwarves(CCObject*) { selectCategory("dwarves"); }

void StoreController::onProductTry(CCObject* sender) {
  CCNode* button = dynamic_cast<CCNode*>(sender);
  if (!button) return;
  // The locked shield is not placed while the screen says it is locked: its try asks for
  // the unlock, as its picture does.
  if (CardTable::isShieldLocked(button->getTag(), hub().context())) {
    if (shieldNotification_) shieldNotification_();
    return;
  }
  hub().tryProduct(button->getTag());
}

void StoreController::onProduct(CCObject* sender) {
  CCNode* button = dynamic_cast<CCNode*>(sender);
  if (button && button->getTag() == CardId::Shield && shieldNotification_) shieldNotification_();
}

void StoreController::onRestorePurchases(CCObject*) {}

void StoreController::onStoreMessageOk(CCObject*) {
  storeMessageShown_ = false;
  if (storemessagelayer_) storemessagelayer_->setVisible(false);
  refreshStoreMessage();
}

bool StoreController::onAssignCCBMemberVariable(CCObject* target, CCString* name, CCNode* node) {
  if (target == this && !bindings_.assign(name, node)) rowBindings_.assign(name, node);
  return true;
}

SEL_MenuHandler StoreController::onResolveCCBCCMenuItemSelector(CCObject* pTarget, CCString* pSelectorName) {
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onSpells", StoreController::onSpells);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onRooms", StoreController::onRooms);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onDwarves", StoreController::onDwarves);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onProductTry", StoreController::onProductTry);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onProduct", StoreController::onProduct);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onRestorePurchases", StoreController::onRestorePurchases);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onStoreMessageOk", StoreController::onStoreMessageOk);
  return nullptr;
}
