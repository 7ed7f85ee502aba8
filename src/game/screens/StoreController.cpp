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

StoreController::StoreController(EventDispatcher& hub) : m_bindings("GUI::"), m_rowBindings("GUI::"), m_hub(hub) {}

bool StoreController::init() {
  m_bindings.declare("productlist", &m_productlist);
  m_bindings.declare("spellsbtn", &m_spellsbtn);
  m_bindings.declare("dwarvesbtn", &m_dwarvesbtn);
  m_bindings.declare("roomsbtn", &m_roomsbtn);
  m_bindings.declare("storemessageokbtn", &m_storemessageokbtn);
  m_bindings.declare("storemessagelayer", &m_storemessagelayer);
  m_bindings.declare("storeblocker", &m_storeblocker);
  m_bindings.declare("storemessageprompt", &m_storemessageprompt);
  m_rowBindings.declare("productname", &m_productname);
  m_rowBindings.declare("productprice", &m_productprice);
  m_rowBindings.declare("producttrybtn", &m_producttrybtn);
  m_rowBindings.declare("productbtn", &m_productbtn);
  m_rowBindings.declare("producticon", &m_producticon);
  m_rowBindings.declare("buybtn", &m_buybtn);
  return true;
}

StoreController::~StoreController() { CC_SAFE_RELEASE(m_root); }

CCNode* StoreController::loadScreen() {
  m_bindings.beginLoad();
  CCNode* root = mv::loadNode(kScreenFile, this, mv::isHD, false);
  m_bindings.endLoad();
  CC_SAFE_RELEASE(m_root);
  m_root = root;
  if (!root) {
    LOGOG_CRITICAL("GUI::the store screen %s is missing or broken", kScreenFile);
    return nullptr;
  }
  root->retain();
  m_category = "spells";
  for (CCMenuItemImage* button : {m_spellsbtn, m_dwarvesbtn, m_roomsbtn})
    if (button) button->toggle = true;
  if (m_storeblocker) {
    m_storeblocker->setTouchEnabled(true);
    m_storeblocker->setTouchMode(kCCTouchesOneByOne);
    m_storeblocker->setClaimAllTouches(true);
    m_storeblocker->setTouchPriority(kBlockerPriority);
  }
  if (m_storemessageokbtn)
    if (CCMenu* menu = dynamic_cast<CCMenu*>(m_storemessageokbtn->getParent()))
      menu->setTouchPriority(kMessagePriority);
  if (!m_productStatesBuilt)
    refreshProducts();
  else
    fillProductList();
  refreshStoreMessage();
  return root;
}

void StoreController::refreshStoreMessage() {
  if (m_storemessagelayer) m_storemessagelayer->setVisible(m_storeMessageShown);
  if (m_storeblocker) m_storeblocker->setVisible(m_storeMessageShown);
  if (m_storemessageprompt) m_storemessageprompt->setString(m_storeMessageText.c_str());
  if (m_storemessageokbtn) m_storemessageokbtn->setVisible(m_okButtonShown);
}

void StoreController::refreshProducts() {
  m_productStatesBuilt = true;
  productStates.clear();
  const GameContext& context = hub().context();
  for (int id = 0; id < CardTable::kCardCount; ++id)
    productStates[id] = ProductState{std::string(), CardTable::isShieldLocked(id, context)};
  fillProductList();
}

void StoreController::fillProductList() {
  if (!m_productStatesBuilt) {
    refreshProducts();
    return;
  }
  if (!m_root) return;
  showToggle(m_spellsbtn, m_category == "spells");
  showToggle(m_dwarvesbtn, m_category == "dwarves");
  showToggle(m_roomsbtn, m_category == "rooms");
  if (!m_productlist) return;

  const GameContext& context = hub().context();
  std::vector<CCNode*> rows;
  m_rows.clear();
  for (int id = 0; id < CardTable::kCardCount; ++id) {
    const CardRecord* card = CardTable::getCard(id);
    if (!card || !inCategory(*card, m_category)) continue;
    m_rowBindings.beginLoad();
    CCNode* row = mv::loadNode(kRowFile, this, false, false);
    m_rowBindings.endLoad();
    if (!row) break;
    if (m_productname) m_productname->setString(localizedText(card->nameKey().c_str()));
    if (id == CardId::Shield) {
      if (CardTable::isShieldLocked(id, context)) {
        if (m_productprice) m_productprice->setString(localizedText("FREE"));
      } else if (m_buybtn) {
        m_buybtn->setVisible(false);
      }
    } else {
      auto state = productStates.find(id);
      if (state != productStates.end() && state->second.offered) {
        if (m_productprice) m_productprice->setString(state->second.priceText.c_str());
      } else if (m_buybtn) {
        m_buybtn->setVisible(false);
      }
    }
    if (m_producticon) {
      if (CCSpriteFrame* frame = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(card->image))
        m_producticon->setDisplayFrame(frame);
      CardColor colour = CardTable::cardColor(id);
      m_producticon->setColor(ccc3(colour.r, colour.g, colour.b));
    }
    if (m_producttrybtn) m_producttrybtn->setTag(id);
    if (m_productbtn) m_productbtn->setTag(id);
    if (m_buybtn) m_buybtn->setTag(id);  // the row's buy button does what its picture does
    rows.push_back(row);
    m_rows.push_back({id, row, m_productprice, m_buybtn, m_productbtn, m_producttrybtn, m_producticon});
  }

  const int total = mv::stackRows(m_productlist, rows);
  const CCSize view = m_productlist->getViewSize();
  // The top row shows first.
  m_productlist->setContentOffset(CCPoint(0, view.height - total), false);
}

void StoreController::hideStoreMessage() {
  if (m_storemessagelayer) m_storemessagelayer->setVisible(false);
  if (m_storeblocker) m_storeblocker->setVisible(false);
}

void StoreController::selectCategory(const std::string& category) {
  m_category = category;
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
    if (m_shieldNotification) m_shieldNotification();
    return;
  }
  hub().tryProduct(button->getTag());
}

void StoreController::onProduct(CCObject* sender) {
  CCNode* button = dynamic_cast<CCNode*>(sender);
  if (button && button->getTag() == CardId::Shield && m_shieldNotification) m_shieldNotification();
}

void StoreController::onRestorePurchases(CCObject*) {}

void StoreController::onStoreMessageOk(CCObject*) {
  m_storeMessageShown = false;
  if (m_storemessagelayer) m_storemessagelayer->setVisible(false);
  refreshStoreMessage();
}

bool StoreController::onAssignCCBMemberVariable(CCObject* target, CCString* name, CCNode* node) {
  if (target == this && !m_bindings.assign(name, node)) m_rowBindings.assign(name, node);
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
