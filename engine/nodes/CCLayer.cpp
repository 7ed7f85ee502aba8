#include "CCLayer.h"

#include "CCDirector.h"
#include "CCLayerColor.h"
#include "CCScene.h"
#include "CCSet.h"
#include "CCTouch.h"
#include "CCTouchDispatcher.h"
#include "CCMouseDispatcher.h"

NS_CC_BEGIN

static void setAccelerometerDelegate(CCAccelerometerDelegate* delegate) {
  if (CCAccelerometer* accelerometer = CCDirector::sharedDirector()->getAccelerometer())
    accelerometer->setDelegate(delegate);
}

CCLayer::CCLayer()
    : m_cOpacity(255), m_bTouchEnabled(false), m_bAccelerometerEnabled(false), m_bKeypadEnabled(false),
      m_nTouchPriority(0), m_eTouchMode(kCCTouchesAllAtOnce), m_bMouseTouchEnabled(true),
      m_bClaimAllTouches(false) {
  setAnchorPoint(CCPoint(0.5f, 0.5f));
  m_bIgnoreAnchorPointForPosition = true;
}

CCLayer::~CCLayer() {}

bool CCLayer::init() {
  setContentSize(CCScene::defaultSize());
  m_bTouchEnabled = false;
  return true;
}

CCLayer* CCLayer::create() {
  CCLayer* p = new CCLayer();
  return ccAutoreleaseIfInit(p, p->init());
}

void CCLayer::registerWithTouchDispatcher() {
  CCTouchDispatcher* d = CCTouchDispatcher::sharedDispatcher();
  if (m_eTouchMode == kCCTouchesAllAtOnce) d->addStandardDelegate(this, 0);
  else d->addTargetedDelegate(this, m_nTouchPriority, true);
}

void CCLayer::registerWithMouseDispatcher() {
  CCMouseDispatcher::sharedDispatcher()->addDelegate(this, m_nTouchPriority);
}

void CCLayer::registerTouchAndMouse() {
  registerWithTouchDispatcher();
  registerWithMouseDispatcher();
}

void CCLayer::unregisterTouchAndMouse() {
  CCTouchDispatcher::sharedDispatcher()->removeDelegate(this);
  CCMouseDispatcher::sharedDispatcher()->removeDelegate(this);
}

void CCLayer::registerKeypadAndKeyboard() {
  CCKeypadDispatcher::sharedDispatcher()->addDelegate(this);
  CCKeyboardDispatcher::sharedDispatcher()->addDelegate(this);
}

void CCLayer::unregisterKeypadAndKeyboard() {
  CCKeypadDispatcher::sharedDispatcher()->removeDelegate(this);
  CCKeyboardDispatcher::sharedDispatcher()->removeDelegate(this);
}

void CCLayer::setTouchEnabled(bool enabled) {
  if (m_bTouchEnabled == enabled) return;
  m_bTouchEnabled = enabled;
  if (!m_bRunning) return;
  if (enabled) registerTouchAndMouse();
  else unregisterTouchAndMouse();
}

void CCLayer::setTouchMode(ccTouchesMode mode) {
  if (m_eTouchMode == mode) return;
  m_eTouchMode = mode;
  if (m_bTouchEnabled) {
    setTouchEnabled(false);
    setTouchEnabled(true);
  }
}

void CCLayer::setTouchPriority(int priority) {
  if (m_nTouchPriority == priority) return;
  m_nTouchPriority = priority;
  if (m_bTouchEnabled) {
    setTouchEnabled(false);
    setTouchEnabled(true);
  }
}

void CCLayer::setAccelerometerEnabled(bool enabled) {
  if (m_bAccelerometerEnabled == enabled) return;
  m_bAccelerometerEnabled = enabled;
  if (m_bRunning) setAccelerometerDelegate(enabled ? this : nullptr);
}

void CCLayer::setKeypadEnabled(bool enabled) {
  if (m_bKeypadEnabled == enabled) return;
  m_bKeypadEnabled = enabled;
  if (!m_bRunning) return;
  if (enabled) registerKeypadAndKeyboard();
  else unregisterKeypadAndKeyboard();
}

void CCLayer::onEnter() {
  if (m_bTouchEnabled) registerTouchAndMouse();
  CCNode::onEnter();
  if (m_bAccelerometerEnabled) setAccelerometerDelegate(this);
  if (m_bKeypadEnabled) registerKeypadAndKeyboard();
}

void CCLayer::onExit() {
  if (m_bTouchEnabled) unregisterTouchAndMouse();
  if (m_bAccelerometerEnabled) setAccelerometerDelegate(nullptr);
  if (m_bKeypadEnabled) unregisterKeypadAndKeyboard();
  CCNode::onExit();
}

void CCLayer::onEnterTransitionDidFinish() { CCNode::onEnterTransitionDidFinish(); }

bool CCLayer::ccTouchBegan(CCTouch* pTouch, CCEvent* pEvent) {
  CC_UNUSED_PARAM(pTouch);
  CC_UNUSED_PARAM(pEvent);
  return m_bClaimAllTouches && isVisible() && (!m_pParent || m_pParent->isVisibleInHierarchy());
}

bool CCLayer::ccTouchMoved(CCTouch* pTouch, CCEvent* pEvent) {
  CC_UNUSED_PARAM(pTouch);
  CC_UNUSED_PARAM(pEvent);
  return false;
}

void CCLayer::ccTouchEnded(CCTouch* pTouch, CCEvent* pEvent) {
  CC_UNUSED_PARAM(pTouch);
  CC_UNUSED_PARAM(pEvent);
}

void CCLayer::ccTouchCancelled(CCTouch* pTouch, CCEvent* pEvent) {
  CC_UNUSED_PARAM(pTouch);
  CC_UNUSED_PARAM(pEvent);
}

bool CCLayer::ccTouchesBegan(CCSet* pTouches, int activeTouches, CCEvent* pEvent) {
  CC_UNUSED_PARAM(pTouches);
  CC_UNUSED_PARAM(activeTouches);
  CC_UNUSED_PARAM(pEvent);
  return m_bClaimAllTouches && isVisible();
}

void CCLayer::ccTouchesMoved(CCSet* pTouches, int activeTouches, CCEvent* pEvent) {
  CC_UNUSED_PARAM(pTouches);
  CC_UNUSED_PARAM(activeTouches);
  CC_UNUSED_PARAM(pEvent);
}

void CCLayer::ccTouchesEnded(CCSet* pTouches, int activeTouches, CCEvent* pEvent) {
  CC_UNUSED_PARAM(pTouches);
  CC_UNUSED_PARAM(activeTouches);
  CC_UNUSED_PARAM(pEvent);
}

void CCLayer::ccTouchesCancelled(CCSet* pTouches, int activeTouches, CCEvent* pEvent) {
  CC_UNUSED_PARAM(pTouches);
  CC_UNUSED_PARAM(activeTouches);
  CC_UNUSED_PARAM(pEvent);
}

// A fresh touch 0 at the mouse location, in a fresh set; both autoreleased.
static CCTouch* touchForMouse(CCMouseEvent* event, CCSet** set) {
  CCTouch* touch = new CCTouch();
  touch->autorelease();
  const CCPoint& p = event->getLocationInView();
  touch->setTouchInfo(0, p.x, p.y);
  *set = CCSet::create();
  (*set)->addObject(touch);
  return touch;
}

bool CCLayer::mouseLeftDown(CCMouseEvent* event, CCEvent* pEvent) {
  // A hidden layer (or one in a hidden parent) must not swallow clicks meant for what is shown.
  if (!isVisibleInHierarchy()) return false;
  if (!m_bMouseTouchEnabled) return true;
  if (!event) return false;
  CCSet* set = 0;
  CCTouch* touch = touchForMouse(event, &set);
  if (ccTouchBegan(touch, pEvent)) return true;
  return ccTouchesBegan(set, 1, pEvent);
}

bool CCLayer::mouseLeftDragged(CCMouseEvent* event, CCEvent* pEvent) {
  if (!m_bMouseTouchEnabled) return true;
  if (!event) return false;
  CCSet* set = 0;
  CCTouch* touch = touchForMouse(event, &set);
  if (!ccTouchMoved(touch, pEvent)) ccTouchesMoved(set, 1, pEvent);
  return false;
}

bool CCLayer::mouseLeftUp(CCMouseEvent* event, CCEvent* pEvent) {
  if (!m_bMouseTouchEnabled) return true;
  if (!event) return false;
  CCSet* set = 0;
  CCTouch* touch = touchForMouse(event, &set);
  ccTouchEnded(touch, pEvent);
  ccTouchesEnded(set, 1, pEvent);
  return false;
}

const ccColor3B& CCLayer::getColor(void) {
  static const ccColor3B white = {255, 255, 255};
  return white;
}

void CCLayer::setOpacity(GLubyte opacity) {
  m_cOpacity = opacity;
  if (!m_pChildren) return;
  CCArray* children = CCArray::createWithArray(m_pChildren);
  CCObject* o = 0;
  CCARRAY_FOREACH(children, o) {
    CCNode* child = static_cast<CCNode*>(o);
    if (child->keepsOwnOpacity()) continue;
    if (child->getTag() == kCCLayerColorOwnOpacityTag && dynamic_cast<CCLayerColor*>(child)) continue;
    child->applyLayerOpacity(opacity);
  }
}

NS_CC_END
