#include "CCMenu.h"
#include "CCTouchClipper.h"

#include "CCArray.h"
#include "CCDirector.h"
#include "CCMenuItem.h"
#include "CCTouch.h"
#include "CCTouchDispatcher.h"

NS_CC_BEGIN

CCMenu* CCMenu::create() { return createWithArray(nullptr); }

CCMenu* CCMenu::createWithItem(CCMenuItem* item) {
  CCArray* items = CCArray::create();
  if (item) items->addObject(item);
  return createWithArray(items);
}

CCMenu* CCMenu::createWithArray(CCArray* pArrayOfItems) {
  CCMenu* p = new CCMenu();
  return ccAutoreleaseIfInit(p, p->initWithArray(pArrayOfItems));
}

bool CCMenu::init() { return initWithArray(nullptr); }

bool CCMenu::initWithArray(CCArray* items) {
  if (!CCLayer::init()) return false;
  m_nTouchPriority = kCCMenuHandlerPriority;
  m_eTouchMode = kCCTouchesOneByOne;
  setTouchEnabled(true);
  m_bEnabled = true;
  CCSize s = CCDirector::sharedDirector()->getWinSize();
  ignoreAnchorPointForPosition(true);
  setAnchorPoint(CCPoint(0.5f, 0.5f));
  setContentSize(s);
  setPosition(CCPoint(s.width / 2, s.height / 2));
  if (items) {
    for (unsigned int i = 0; i < items->count(); ++i)
      if (CCMenuItem* item = dynamic_cast<CCMenuItem*>(items->objectAtIndex(i)))
        addChild(item, static_cast<int>(i));
  }
  m_pSelectedItem = nullptr;
  m_eState = kCCMenuStateWaiting;
  return true;
}

void CCMenu::registerWithTouchDispatcher() {
  CCTouchDispatcher::sharedDispatcher()->addTargetedDelegate(this, m_nTouchPriority, true);
}

void CCMenu::onExit() {
  if (m_eState == kCCMenuStateTrackingTouch) {
    if (m_pSelectedItem) m_pSelectedItem->unselected();
    m_pSelectedItem = nullptr;
    m_eState = kCCMenuStateWaiting;
  }
  CCLayer::onExit();
}

CCMenuItem* CCMenu::itemForTouch(CCTouch* touch) {
  CCPoint location = touch->getLocation();
  // Items cut away by a clipping ancestor are out of reach there.
  for (CCNode* p = getParent(); p; p = p->getParent()) {
    CCTouchClipper* clipper = dynamic_cast<CCTouchClipper*>(p);
    if (clipper && clipper->hidesTouchAt(location)) return nullptr;
  }
  CCArray* children = getChildren();
  if (!children) return nullptr;
  for (unsigned int i = 0; i < children->count(); ++i) {
    CCMenuItem* item = dynamic_cast<CCMenuItem*>(children->objectAtIndex(i));
    if (!item || !item->isVisible() || !item->isEnabled()) continue;
    CCPoint local = item->convertToNodeSpace(location);
    const CCSize& s = item->getContentSize();
    if (local.x >= 0 && local.y >= 0 && local.x <= s.width && local.y <= s.height) return item;
  }
  return nullptr;
}

bool CCMenu::ccTouchBegan(CCTouch* touch, CCEvent*) {
  if (m_eState != kCCMenuStateWaiting || !m_bEnabled || !isVisibleInHierarchy()) return false;
  m_pSelectedItem = itemForTouch(touch);
  if (!m_pSelectedItem) return false;
  m_pSelectedItem->selected();
  m_eState = kCCMenuStateTrackingTouch;
  return true;
}

bool CCMenu::ccTouchMoved(CCTouch* touch, CCEvent*) {
  if (m_eState != kCCMenuStateTrackingTouch) return false;
  CCMenuItem* current = itemForTouch(touch);
  if (current != m_pSelectedItem) {
    if (m_pSelectedItem) m_pSelectedItem->unselected();
    m_pSelectedItem = current;
    if (m_pSelectedItem) m_pSelectedItem->selected();
  }
  return false;
}

void CCMenu::ccTouchEnded(CCTouch*, CCEvent*) {
  if (m_eState != kCCMenuStateTrackingTouch) return;
  CCMenuItem* item = m_pSelectedItem;
  m_pSelectedItem = nullptr;
  m_eState = kCCMenuStateWaiting;
  if (item) {
    // The handler may tear the menu down; keep both alive through the call.
    retain();
    item->retain();
    item->unselected();
    item->activate();
    item->release();
    release();
  }
}

void CCMenu::ccTouchCancelled(CCTouch*, CCEvent*) {
  if (m_eState != kCCMenuStateTrackingTouch) return;
  if (m_pSelectedItem) m_pSelectedItem->unselected();
  m_pSelectedItem = nullptr;
  m_eState = kCCMenuStateWaiting;
}

void CCMenu::alignItemsVertically() { alignItemsVerticallyWithPadding(5); }

void CCMenu::alignItemsVerticallyWithPadding(float padding) {
  CCArray* children = getChildren();
  if (!children || children->count() == 0) return;
  float height = -padding;
  for (unsigned int i = 0; i < children->count(); ++i) {
    CCNode* n = static_cast<CCNode*>(children->objectAtIndex(i));
    height += n->getContentSize().height * n->getScaleY() + padding;
  }
  float y = height / 2.0f;
  for (unsigned int i = 0; i < children->count(); ++i) {
    CCNode* n = static_cast<CCNode*>(children->objectAtIndex(i));
    float h = n->getContentSize().height * n->getScaleY();
    n->setPosition(CCPoint(0, y - h / 2.0f));
    y -= h + padding;
  }
}

void CCMenu::alignItemsHorizontally() { alignItemsHorizontallyWithPadding(5); }

void CCMenu::alignItemsHorizontallyWithPadding(float padding) {
  CCArray* children = getChildren();
  if (!children || children->count() == 0) return;
  float width = -padding;
  for (unsigned int i = 0; i < children->count(); ++i) {
    CCNode* n = static_cast<CCNode*>(children->objectAtIndex(i));
    width += n->getContentSize().width * n->getScaleX() + padding;
  }
  float x = -width / 2.0f;
  for (unsigned int i = 0; i < children->count(); ++i) {
    CCNode* n = static_cast<CCNode*>(children->objectAtIndex(i));
    float w = n->getContentSize().width * n->getScaleX();
    n->setPosition(CCPoint(x + w / 2.0f, 0));
    x += w + padding;
  }
}

NS_CC_END
