#include "CCNode.h"
#include "CCNodeCount.h"

#include "CCActionManager.h"
#include "CCPointExtension.h"
#include "CCProtocols.h"
#include "CCScheduler.h"
#include "CCTouch.h"

NS_CC_BEGIN

static unsigned int s_globalOrderOfArrival = 1;
static CCNodeVisitHooks s_visitHooks = {0, 0, 0};
static unsigned int s_liveNodes = 0;

unsigned int liveNodeCount() { return s_liveNodes; }

// Calls `f` on each child through a copy of the list, as the calls may add or remove
// children. The copy goes when the walk ends rather than with the frame's autorelease
// pool: a tower entering the scene at once would otherwise hold a copy per node.
template <typename F>
static void forEachChildOfCopy(CCArray* children, F f) {
  if (!children || children->count() == 0) return;
  CCArray* copy = new CCArray(children->count());
  copy->addObjectsFromArray(children);
  CCObject* o = 0;
  CCARRAY_FOREACH(copy, o) { f(static_cast<CCNode*>(o)); }
  copy->release();
}

void CCNode::setVisitHooks(const CCNodeVisitHooks& hooks) { s_visitHooks = hooks; }
const CCNodeVisitHooks& CCNode::visitHooks() { return s_visitHooks; }

CCNode::CCNode()
    : m_nZOrder(0), m_fVertexZ(0), m_fRotation(0), m_fScaleX(1), m_fScaleY(1), m_fSkewX(0),
      m_fSkewY(0), m_sTransform(CCAffineTransformIdentity), m_sInverse(CCAffineTransformIdentity),
      m_bTransformDirty(true), m_bInverseDirty(true), m_bVisible(true),
      m_bIgnoreAnchorPointForPosition(false), m_bReorderChildDirty(false), m_bRunning(false),
      m_pChildren(0), m_pParent(0), m_nTag(kCCNodeTagInvalid), m_pUserData(0), m_pUserObject(0),
      m_uOrderOfArrival(0) {
  m_pScheduler = CCScheduler::sharedScheduler();
  m_pScheduler->retain();
  m_pActionManager = CCActionManager::sharedManager();
  m_pActionManager->retain();
  ++s_liveNodes;
}

CCNode::~CCNode() {
  --s_liveNodes;
  CC_SAFE_RELEASE(m_pUserObject);
  if (m_pChildren) {
    CCObject* o = 0;
    CCARRAY_FOREACH(m_pChildren, o) {
      CCNode* child = static_cast<CCNode*>(o);
      if (child) child->m_pParent = 0;
    }
  }
  CC_SAFE_RELEASE(m_pChildren);
  CC_SAFE_RELEASE(m_pActionManager);
  CC_SAFE_RELEASE(m_pScheduler);
}

CCNode* CCNode::create() {
  CCNode* p = new CCNode();
  return ccAutoreleaseIfInit(p, p->init());
}

bool CCNode::init() { return true; }

// ---- geometry ----

void CCNode::setZOrder(int z) {
  _setZOrder(z);
  if (m_pParent) m_pParent->reorderChild(this, z);
}

void CCNode::setScaleX(float s) {
  m_fScaleX = s;
  markTransformDirty();
}

void CCNode::setScaleY(float s) {
  m_fScaleY = s;
  markTransformDirty();
}

void CCNode::setScale(float s) {
  m_fScaleX = m_fScaleY = s;
  markTransformDirty();
}

float CCNode::getScale() {
  if (m_fScaleX != m_fScaleY) CCLOGWARN("CCNode::getScale: x and y scale differ");
  return m_fScaleX;
}

void CCNode::setPosition(const CCPoint& position) {
  m_tPosition = position;
  markTransformDirty();
}

void CCNode::setSkewX(float v) {
  m_fSkewX = v;
  markTransformDirty();
}

void CCNode::setSkewY(float v) {
  m_fSkewY = v;
  markTransformDirty();
}

void CCNode::setRotation(float r) {
  m_fRotation = r;
  markTransformDirty();
}

void CCNode::setAnchorPoint(const CCPoint& point) {
  if (point.equals(m_tAnchorPoint)) return;
  m_tAnchorPoint = point;
  m_tAnchorPointInPoints = CCPoint(m_tContentSize.width * point.x, m_tContentSize.height * point.y);
  markTransformDirty();
}

void CCNode::setContentSize(const CCSize& size) {
  if (size.equals(m_tContentSize)) return;
  m_tContentSize = size;
  m_tAnchorPointInPoints = CCPoint(size.width * m_tAnchorPoint.x, size.height * m_tAnchorPoint.y);
  markTransformDirty();
}

void CCNode::ignoreAnchorPointForPosition(bool ignore) {
  if (ignore == m_bIgnoreAnchorPointForPosition) return;
  m_bIgnoreAnchorPointForPosition = ignore;
  markTransformDirty();
}

bool CCNode::isVisibleInHierarchy() {
  for (CCNode* n = this; n; n = n->m_pParent) {
    if (!n->isVisible()) return false;
  }
  return true;
}

CCRect CCNode::boundingBox() {
  CCRect rect(0, 0, m_tContentSize.width, m_tContentSize.height);
  return CCRectApplyAffineTransform(rect, nodeToParentTransform());
}

// ---- tree ----

void CCNode::childrenAlloc() { m_pChildren = new CCArray(4); }

unsigned int CCNode::getChildrenCount() { return m_pChildren ? m_pChildren->count() : 0; }

CCNode* CCNode::getChildByTag(int tag) {
  if (tag == kCCNodeTagInvalid) {
    CCLOGWARN("CCNode::getChildByTag: invalid tag");
  }
  CCObject* o = 0;
  CCARRAY_FOREACH(m_pChildren, o) {
    CCNode* child = static_cast<CCNode*>(o);
    if (child->m_nTag == tag) return child;
  }
  return 0;
}

void CCNode::addChild(CCNode* child) {
  if (child) addChild(child, child->m_nZOrder, child->m_nTag);
}

void CCNode::addChild(CCNode* child, int zOrder) {
  if (child) addChild(child, zOrder, child->m_nTag);
}

void CCNode::addChild(CCNode* child, int zOrder, int tag) {
  if (!child) {
    CCLOGERROR("CCNode::addChild: null child");
    return;
  }
  if (child->m_pParent) {
    CCLOGERROR("CCNode::addChild: child already has a parent");
    return;
  }
  if (child == this) {
    CCLOGERROR("CCNode::addChild: a node cannot be its own child");
    return;
  }
  if (!m_pChildren) childrenAlloc();
  insertChild(child, zOrder);
  child->m_nTag = tag;
  child->setParent(this);
  child->setOrderOfArrival(s_globalOrderOfArrival++);
  if (m_bRunning) {
    child->onEnter();
    child->onEnterTransitionDidFinish();
  }
}

void CCNode::insertChild(CCNode* child, int z) {
  m_bReorderChildDirty = true;
  m_pChildren->addObject(child);
  child->_setZOrder(z);
}

void CCNode::removeFromParent() { removeFromParentAndCleanup(true); }

void CCNode::removeFromParentAndCleanup(bool cleanup) {
  if (m_pParent) m_pParent->removeChild(this, cleanup);
}

void CCNode::removeChild(CCNode* child) { removeChild(child, true); }

void CCNode::removeChild(CCNode* child, bool cleanup) {
  if (!m_pChildren || !child) return;
  if (m_pChildren->containsObject(child)) detachChild(child, cleanup);
}

void CCNode::removeChildByTag(int tag) { removeChildByTag(tag, true); }

void CCNode::removeChildByTag(int tag, bool cleanup) {
  CCNode* child = getChildByTag(tag);
  if (!child) {
    CCLOGWARN("CCNode::removeChildByTag: no child with tag %d", tag);
    return;
  }
  removeChild(child, cleanup);
}

void CCNode::removeAllChildren() { removeAllChildrenWithCleanup(true); }

void CCNode::removeAllChildrenWithCleanup(bool cleanup) {
  if (!m_pChildren || m_pChildren->count() == 0) return;
  // Detach from a copy: exit handlers may change the list.
  CCArray* children = m_pChildren;
  m_pChildren = new CCArray(4);
  CCObject* o = 0;
  CCARRAY_FOREACH(children, o) {
    CCNode* child = static_cast<CCNode*>(o);
    if (m_bRunning) {
      child->onExitTransitionDidStart();
      child->onExit();
    }
    if (cleanup) child->cleanup();
    child->setParent(0);
  }
  children->release();
}

void CCNode::detachChild(CCNode* child, bool doCleanup) {
  // Still running: the child leaves the stage before it loses its parent.
  if (m_bRunning) {
    child->onExitTransitionDidStart();
    child->onExit();
  }
  if (doCleanup) child->cleanup();
  child->setParent(0);
  m_pChildren->removeObject(child);
}

void CCNode::reorderChild(CCNode* child, int zOrder) {
  if (!child || !m_pChildren || !m_pChildren->containsObject(child)) {
    CCLOGERROR("CCNode::reorderChild: not a child of this node");
    return;
  }
  m_bReorderChildDirty = true;
  child->setOrderOfArrival(s_globalOrderOfArrival++);
  child->_setZOrder(zOrder);
}

static bool childLess(CCObject* a, CCObject* b) {
  CCNode* x = static_cast<CCNode*>(a);
  CCNode* y = static_cast<CCNode*>(b);
  if (x->getZOrder() != y->getZOrder()) return x->getZOrder() < y->getZOrder();
  return x->getOrderOfArrival() < y->getOrderOfArrival();
}

void CCNode::sortAllChildren() {
  if (!m_bReorderChildDirty || !m_pChildren) return;
  m_pChildren->sortWith(childLess);
  m_bReorderChildDirty = false;
}

void CCNode::setUserObject(CCObject* pUserObject) {
  ccSetRetained(m_pUserObject, pUserObject);
}

// ---- life cycle ----

void CCNode::onEnter() {
  forEachChildOfCopy(m_pChildren, [](CCNode* child) { child->onEnter(); });
  resumeSchedulerAndActions();
  m_bRunning = true;
}

void CCNode::onEnterTransitionDidFinish() {
  forEachChildOfCopy(m_pChildren, [](CCNode* child) { child->onEnterTransitionDidFinish(); });
}

void CCNode::onExitTransitionDidStart() {
  forEachChildOfCopy(m_pChildren, [](CCNode* child) { child->onExitTransitionDidStart(); });
}

void CCNode::onExit() {
  pauseSchedulerAndActions();
  m_bRunning = false;
  forEachChildOfCopy(m_pChildren, [](CCNode* child) { child->onExit(); });
}

void CCNode::cleanup() {
  stopAllActions();
  unscheduleAllSelectors();
  forEachChildOfCopy(m_pChildren, [](CCNode* child) { child->cleanup(); });
}

// ---- drawing ----

void CCNode::transform() {
  if (s_visitHooks.applyTransform) s_visitHooks.applyTransform(nodeToParentTransform(), m_fVertexZ);
}

void CCNode::visit() {
  if (!m_bVisible) return;
  if (s_visitHooks.pushMatrix) s_visitHooks.pushMatrix();
  transform();
  // Children below zero first, then this node, then the rest.
  unsigned int i = 0;
  if (m_pChildren && m_pChildren->count() > 0) {
    sortAllChildren();
    for (; i < m_pChildren->count(); ++i) {
      CCNode* child = static_cast<CCNode*>(m_pChildren->objectAtIndex(i));
      if (child->m_nZOrder >= 0) break;
      child->visit();
    }
    draw();
    for (; i < m_pChildren->count(); ++i) {
      static_cast<CCNode*>(m_pChildren->objectAtIndex(i))->visit();
    }
  } else {
    draw();
  }
  if (s_visitHooks.popMatrix) s_visitHooks.popMatrix();
}

// ---- actions ----

void CCNode::setActionManager(CCActionManager* actionManager) {
  if (actionManager == m_pActionManager) return;
  stopAllActions();
  ccSetRetained(m_pActionManager, actionManager);
}

CCAction* CCNode::runAction(CCAction* action) {
  if (!action) {
    CCLOGERROR("CCNode::runAction: null action");
    return 0;
  }
  m_pActionManager->addAction(action, this, !m_bRunning);
  return action;
}

void CCNode::stopAllActions() { m_pActionManager->removeAllActionsFromTarget(this); }

void CCNode::stopAction(CCAction* action) { m_pActionManager->removeAction(action); }

void CCNode::stopActionByTag(int tag) {
  if (tag == kCCActionTagInvalid) {
    CCLOGERROR("CCNode::stopActionByTag: invalid tag");
    return;
  }
  m_pActionManager->removeActionByTag(tag, this);
}

CCAction* CCNode::getActionByTag(int tag) {
  if (tag == kCCActionTagInvalid) {
    CCLOGERROR("CCNode::getActionByTag: invalid tag");
    return 0;
  }
  return m_pActionManager->getActionByTag(tag, this);
}

unsigned int CCNode::numberOfRunningActions() {
  return m_pActionManager->numberOfRunningActionsInTarget(this);
}

// ---- scheduling ----

void CCNode::setScheduler(CCScheduler* scheduler) {
  if (scheduler == m_pScheduler) return;
  unscheduleAllSelectors();
  ccSetRetained(m_pScheduler, scheduler);
}

bool CCNode::isScheduled(SEL_SCHEDULE selector) { return m_pScheduler->isScheduled(selector, this); }

void CCNode::scheduleUpdate() { scheduleUpdateWithPriority(0); }

void CCNode::scheduleUpdateWithPriority(int priority) {
  m_pScheduler->scheduleUpdateForTarget(this, priority, !m_bRunning);
}

void CCNode::unscheduleUpdate() { m_pScheduler->unscheduleUpdateForTarget(this); }

void CCNode::schedule(SEL_SCHEDULE selector) { schedule(selector, 0.0f, kCCRepeatForever, 0.0f); }

void CCNode::schedule(SEL_SCHEDULE selector, float interval) {
  schedule(selector, interval, kCCRepeatForever, 0.0f);
}

void CCNode::schedule(SEL_SCHEDULE selector, float interval, unsigned int repeat, float delay) {
  if (!selector) {
    CCLOGERROR("CCNode::schedule: null selector");
    return;
  }
  if (interval < 0) interval = 0;
  m_pScheduler->scheduleSelector(selector, this, interval, repeat, delay, !m_bRunning);
}

void CCNode::scheduleOnce(SEL_SCHEDULE selector, float delay) { schedule(selector, 0.0f, 0, delay); }

void CCNode::unschedule(SEL_SCHEDULE selector) {
  if (selector) m_pScheduler->unscheduleSelector(selector, this);
}

void CCNode::unscheduleAllSelectors() { m_pScheduler->unscheduleAllSelectorsForTarget(this); }

void CCNode::resumeSchedulerAndActions() {
  m_pScheduler->resumeTarget(this);
  m_pActionManager->resumeTarget(this);
}

void CCNode::pauseSchedulerAndActions() {
  m_pScheduler->pauseTarget(this);
  m_pActionManager->pauseTarget(this);
}

// ---- transforms ----

CCAffineTransform CCNode::nodeToParentTransform() {
  if (m_bTransformDirty) {
    float x = m_tPosition.x;
    float y = m_tPosition.y;
    if (m_bIgnoreAnchorPointForPosition) {
      x += m_tAnchorPointInPoints.x;
      y += m_tAnchorPointInPoints.y;
    }
    // Rotation is clockwise in degrees.
    float c = 1, s = 0;
    if (m_fRotation != 0) {
      float radians = -CC_DEGREES_TO_RADIANS(m_fRotation);
      c = cosf(radians);
      s = sinf(radians);
    }
    bool needsSkew = m_fSkewX != 0 || m_fSkewY != 0;
    if (!needsSkew && !m_tAnchorPointInPoints.equals(CCPointZero)) {
      x += c * -m_tAnchorPointInPoints.x * m_fScaleX + -s * -m_tAnchorPointInPoints.y * m_fScaleY;
      y += s * -m_tAnchorPointInPoints.x * m_fScaleX + c * -m_tAnchorPointInPoints.y * m_fScaleY;
    }
    m_sTransform = CCAffineTransformMake(c * m_fScaleX, s * m_fScaleX, -s * m_fScaleY, c * m_fScaleY, x, y);
    if (needsSkew) {
      CCAffineTransform skew = CCAffineTransformMake(1.0f, tanf(CC_DEGREES_TO_RADIANS(m_fSkewY)),
                                                     tanf(CC_DEGREES_TO_RADIANS(m_fSkewX)), 1.0f, 0.0f, 0.0f);
      m_sTransform = CCAffineTransformConcat(skew, m_sTransform);
      if (!m_tAnchorPointInPoints.equals(CCPointZero)) {
        m_sTransform = CCAffineTransformTranslate(m_sTransform, -m_tAnchorPointInPoints.x,
                                                  -m_tAnchorPointInPoints.y);
      }
    }
    m_bTransformDirty = false;
  }
  return m_sTransform;
}

CCAffineTransform CCNode::parentToNodeTransform() {
  if (m_bInverseDirty) {
    m_sInverse = CCAffineTransformInvert(nodeToParentTransform());
    m_bInverseDirty = false;
  }
  return m_sInverse;
}

CCAffineTransform CCNode::nodeToWorldTransform() {
  CCAffineTransform t = nodeToParentTransform();
  for (CCNode* p = m_pParent; p; p = p->getParent()) t = CCAffineTransformConcat(t, p->nodeToParentTransform());
  return t;
}

CCAffineTransform CCNode::worldToNodeTransform() { return CCAffineTransformInvert(nodeToWorldTransform()); }

CCPoint CCNode::convertToNodeSpace(const CCPoint& worldPoint) {
  return CCPointApplyAffineTransform(worldPoint, worldToNodeTransform());
}

CCPoint CCNode::convertToWorldSpace(const CCPoint& nodePoint) {
  return CCPointApplyAffineTransform(nodePoint, nodeToWorldTransform());
}

CCPoint CCNode::convertToNodeSpaceAR(const CCPoint& worldPoint) {
  return ccpSub(convertToNodeSpace(worldPoint), m_tAnchorPointInPoints);
}

CCPoint CCNode::convertToWorldSpaceAR(const CCPoint& nodePoint) {
  return convertToWorldSpace(ccpAdd(nodePoint, m_tAnchorPointInPoints));
}

CCPoint CCNode::convertTouchToNodeSpace(CCTouch* touch) {
  if (!touch) return CCPointZero;
  return convertToNodeSpace(touch->getLocation());
}

CCPoint CCNode::convertTouchToNodeSpaceAR(CCTouch* touch) {
  if (!touch) return CCPointZero;
  return convertToNodeSpaceAR(touch->getLocation());
}

void CCNode::applyLayerOpacity(GLubyte opacity) {
  if (CCRGBAProtocol* rgba = dynamic_cast<CCRGBAProtocol*>(this)) rgba->setOpacity(opacity);
}

NS_CC_END
