#include "CCScrollView.h"

#include <algorithm>
#include <cmath>

#include "CCActionInstant.h"
#include "CCActionInterval.h"
#include "CCArray.h"
#include "CCDirector.h"
#include "CCEGLView.h"
#include "CCGL.h"
#include "CCTouch.h"
#include "CCTouchDispatcher.h"

namespace cocos2d {
namespace extension {

namespace {
const float kDeaccelRate = 0.95f;
const float kDeaccelDist = 1.0f;
const float kBounceDuration = 0.15f;
const int kTouchPriority = -129;

bool rectsIntersect(const CCRect& a, const CCRect& b) {
  return !(a.origin.x + a.size.width < b.origin.x || b.origin.x + b.size.width < a.origin.x ||
           a.origin.y + a.size.height < b.origin.y || b.origin.y + b.size.height < a.origin.y);
}

bool contains(const CCRect& r, const CCPoint& p) {
  return p.x >= r.origin.x && p.x <= r.origin.x + r.size.width && p.y >= r.origin.y &&
         p.y <= r.origin.y + r.size.height;
}
}  // namespace

CCScrollView::CCScrollView() {}

CCScrollView::~CCScrollView() { CC_SAFE_RELEASE(m_pTouches); }

CCScrollView* CCScrollView::create() {
  CCScrollView* p = new CCScrollView();
  return ccAutoreleaseIfInit(p, p->init());
}

CCScrollView* CCScrollView::create(CCSize size, CCNode* container) {
  CCScrollView* p = new CCScrollView();
  return ccAutoreleaseIfInit(p, p->initWithViewSize(size, container));
}

bool CCScrollView::init() { return initWithViewSize(CCSize(200, 200), nullptr); }

bool CCScrollView::initWithViewSize(CCSize size, CCNode* container) {
  if (!CCLayer::init()) return false;
  m_pContainer = container;
  if (!m_pContainer) {
    m_pContainer = CCLayer::create();
    m_pContainer->ignoreAnchorPointForPosition(false);
    m_pContainer->setAnchorPoint(CCPoint(0, 0));
  }
  setViewSize(size);
  m_eTouchMode = kCCTouchesOneByOne;
  setTouchEnabled(true);
  m_pTouches = new CCArray();
  m_pDelegate = nullptr;
  m_bBounceable = true;
  m_bClippingToBounds = true;
  m_pContainer->setPosition(CCPoint(0, 0));
  m_eDirection = kCCScrollViewDirectionBoth;
  CCLayer::addChild(m_pContainer);
  // Only the touch dispatcher feeds this view; the mouse only scrolls it by the wheel.
  setMouseTouchEnabled(false);
  return true;
}

void CCScrollView::registerWithTouchDispatcher() {
  CCTouchDispatcher::sharedDispatcher()->addTargetedDelegate(this, kTouchPriority, false);
}

bool CCScrollView::isNodeVisible(CCNode* node) {
  CCRect view = getViewRect();
  CCNode* parent = node->getParent();
  CCPoint origin = parent ? parent->convertToWorldSpace(node->getPosition()) : node->getPosition();
  CCRect r(origin.x, origin.y, node->getContentSize().width, node->getContentSize().height);
  return rectsIntersect(view, r);
}

void CCScrollView::setContentOffset(CCPoint offset, bool animated) {
  if (animated) {
    setContentOffsetInDuration(offset, kBounceDuration);
    return;
  }
  if (!m_bBounceable) {
    CCPoint minOffset = minContainerOffset(), maxOffset = maxContainerOffset();
    offset.x = std::max(minOffset.x, std::min(maxOffset.x, offset.x));
    offset.y = std::max(minOffset.y, std::min(maxOffset.y, offset.y));
  }
  m_pContainer->setPosition(offset);
  if (m_pDelegate) m_pDelegate->scrollViewDidScroll(this);
  updateChildVisibility();
}

void CCScrollView::setContentOffsetInDuration(CCPoint offset, float dt) {
  CCFiniteTimeAction* scroll = CCMoveTo::create(dt, offset);
  CCFiniteTimeAction* expire =
      CCCallFuncN::create(this, callfuncN_selector(CCScrollView::stoppedAnimatedScroll));
  m_pContainer->runAction(CCSequence::createWithTwoActions(scroll, expire));
  schedule(schedule_selector(CCScrollView::performedAnimatedScroll));
}

CCPoint CCScrollView::getContentOffset() { return m_pContainer->getPosition(); }

void CCScrollView::performedAnimatedScroll(float) {
  if (m_bDragging) {
    unschedule(schedule_selector(CCScrollView::performedAnimatedScroll));
    return;
  }
  updateChildVisibility();
  if (m_pDelegate) m_pDelegate->scrollViewDidScroll(this);
}

void CCScrollView::stoppedAnimatedScroll(CCNode*) {
  unschedule(schedule_selector(CCScrollView::performedAnimatedScroll));
  if (m_pDelegate) m_pDelegate->scrollViewDidScroll(this);
}

CCPoint CCScrollView::maxContainerOffset() {
  const CCSize& c = m_pContainer->getContentSize();
  float dx = m_tViewSize.width - c.width * m_pContainer->getScaleX();
  float dy = m_tViewSize.height - c.height * m_pContainer->getScaleY();
  return CCPoint(std::max(0.f, dx), std::max(0.f, dy));
}

CCPoint CCScrollView::minContainerOffset() {
  const CCSize& c = m_pContainer->getContentSize();
  float dx = m_tViewSize.width - c.width * m_pContainer->getScaleX();
  float dy = m_tViewSize.height - c.height * m_pContainer->getScaleY();
  return CCPoint(std::min(0.f, dx), std::min(0.f, dy));
}

void CCScrollView::updateInset() {
  if (!m_pContainer) return;
  m_fMaxInset = maxContainerOffset();
  m_fMinInset = minContainerOffset();
}

void CCScrollView::setContainer(CCNode* pContainer) {
  if (!pContainer || pContainer == m_pContainer) return;
  if (m_pContainer) CCLayer::removeChild(m_pContainer, true);
  m_pContainer = pContainer;
  m_pContainer->ignoreAnchorPointForPosition(false);
  m_pContainer->setAnchorPoint(CCPoint(0, 0));
  CCLayer::addChild(m_pContainer);
  setViewSize(m_tViewSize);
}

void CCScrollView::setViewSize(CCSize size) {
  m_tViewSize = size;
  CCLayer::setContentSize(size);
  updateInset();
}

const CCSize& CCScrollView::getContentSize() {
  return m_pContainer ? m_pContainer->getContentSize() : CCLayer::getContentSize();
}

void CCScrollView::setContentSize(const CCSize& size) {
  if (m_pContainer) {
    m_pContainer->setContentSize(size);
    updateInset();
  }
}

void CCScrollView::setZoomScale(float s) {
  s = std::max(m_fMinScale, std::min(m_fMaxScale, s));
  if (m_pContainer->getScale() == s) return;
  CCPoint centre = m_fTouchLength == 0
                       ? CCPoint(m_tViewSize.width * 0.5f, m_tViewSize.height * 0.5f)
                       : m_tTouchPoint;
  centre = convertToWorldSpace(centre);
  CCPoint held = m_pContainer->convertToNodeSpace(centre);
  m_pContainer->setScale(s);
  updateInset();
  CCPoint now = m_pContainer->convertToWorldSpace(held);
  if (m_pDelegate) m_pDelegate->scrollViewDidZoom(this);
  CCPoint pos = m_pContainer->getPosition();
  setContentOffset(CCPoint(pos.x + centre.x - now.x, pos.y + centre.y - now.y));
}

float CCScrollView::getZoomScale() { return m_pContainer->getScale(); }

void CCScrollView::relocateContainer(bool animated) {
  CCPoint oldPoint = m_pContainer->getPosition();
  CCPoint minOffset = minContainerOffset(), maxOffset = maxContainerOffset();
  float x = oldPoint.x, y = oldPoint.y;
  if (m_eDirection == kCCScrollViewDirectionBoth || m_eDirection == kCCScrollViewDirectionHorizontal)
    x = std::max(minOffset.x, std::min(maxOffset.x, x));
  if (m_eDirection == kCCScrollViewDirectionBoth || m_eDirection == kCCScrollViewDirectionVertical)
    y = std::max(minOffset.y, std::min(maxOffset.y, y));
  if (y != oldPoint.y || x != oldPoint.x) setContentOffset(CCPoint(x, y), animated);
}

void CCScrollView::deaccelerateScrolling(float) {
  if (m_bDragging) {
    unschedule(schedule_selector(CCScrollView::deaccelerateScrolling));
    return;
  }
  CCPoint pos = m_pContainer->getPosition();
  pos.x += m_tScrollDistance.x;
  pos.y += m_tScrollDistance.y;
  float newX = std::max(m_fMinInset.x, std::min(m_fMaxInset.x, pos.x));
  float newY = std::max(m_fMinInset.y, std::min(m_fMaxInset.y, pos.y));
  m_tScrollDistance.x = (m_tScrollDistance.x - (newX - pos.x)) * kDeaccelRate;
  m_tScrollDistance.y = (m_tScrollDistance.y - (newY - pos.y)) * kDeaccelRate;
  setContentOffset(CCPoint(newX, newY));
  if ((std::fabs(m_tScrollDistance.x) <= kDeaccelDist &&
       std::fabs(m_tScrollDistance.y) <= kDeaccelDist) ||
      newX == m_fMaxInset.x || newX == m_fMinInset.x || newY == m_fMaxInset.y ||
      newY == m_fMinInset.y) {
    unschedule(schedule_selector(CCScrollView::deaccelerateScrolling));
    relocateContainer(true);
  }
}

CCRect CCScrollView::getViewRect() {
  CCPoint origin = getParent() ? getParent()->convertToWorldSpace(getPosition()) : getPosition();
  return CCRect(origin.x, origin.y, m_tViewSize.width, m_tViewSize.height);
}

bool CCScrollView::hidesTouchAt(const CCPoint& worldPoint) {
  return m_bClippingToBounds && !contains(getViewRect(), worldPoint);
}

bool CCScrollView::ccTouchBegan(CCTouch* touch, CCEvent*) {
  if (!isVisible()) return false;
  if (!contains(getViewRect(), touch->getLocation())) return false;
  if (!m_pTouches->containsObject(touch)) m_pTouches->addObject(touch);
  m_tTouchPoint = convertTouchToNodeSpace(touch);
  m_bTouchMoved = false;
  m_bDragging = true;
  m_tScrollDistance = CCPoint(0, 0);
  m_fTouchLength = 0;
  return true;
}

bool CCScrollView::ccTouchMoved(CCTouch* touch, CCEvent*) {
  if (!isVisible()) return false;
  if (getParent() && !getParent()->isVisibleInHierarchy()) return false;
  if (!m_pTouches->containsObject(touch)) return false;
  if (!m_bDragging) {
    // Not swallowed: a zoom leaves the touches to the buttons below as well.
    if (m_pTouches->count() == 2) zoomByTouches(touch);
    return false;
  }
  CCPoint newPoint = convertTouchToNodeSpace(touch);
  CCPoint move(newPoint.x - m_tTouchPoint.x, newPoint.y - m_tTouchPoint.y);
  m_tTouchPoint = newPoint;
  if (m_eDirection == kCCScrollViewDirectionVertical) move.x = 0;
  else if (m_eDirection == kCCScrollViewDirectionHorizontal) move.y = 0;
  CCPoint pos = m_pContainer->getPosition();
  CCPoint minOffset = minContainerOffset(), maxOffset = maxContainerOffset();
  // Past the content the container follows the finger at a quarter of its speed.
  if (pos.x + move.x > maxOffset.x || pos.x + move.x < minOffset.x) move.x /= 4;
  if (pos.y + move.y > maxOffset.y || pos.y + move.y < minOffset.y) move.y /= 4;
  CCPoint moved(pos.x + move.x, pos.y + move.y);
  float newX = std::max(m_fMinInset.x, std::min(m_fMaxInset.x, moved.x));
  float newY = std::max(m_fMinInset.y, std::min(m_fMaxInset.y, moved.y));
  m_tScrollDistance = CCPoint(move.x - (newX - moved.x), move.y - (newY - moved.y));
  m_bTouchMoved = true;
  setContentOffset(CCPoint(newX, newY));
  return true;
}

void CCScrollView::zoomByTouches(CCTouch* moved) {
  CCTouch* other = static_cast<CCTouch*>(m_pTouches->objectAtIndex(0));
  if (other == moved) other = static_cast<CCTouch*>(m_pTouches->objectAtIndex(1));
  auto distance = [this](const CCPoint& a, const CCPoint& b) {
    CCPoint p = m_pContainer->convertToNodeSpace(a), q = m_pContainer->convertToNodeSpace(b);
    return std::hypot(p.x - q.x, p.y - q.y);
  };
  if (m_fTouchLength == 0) {
    // The zoom starts from where the touches were before this move.
    CCPoint from = moved->getPreviousLocation(), to = other->getLocation();
    m_fTouchLength = distance(from, to);
    if (m_fTouchLength == 0) return;
    m_tTouchPoint = convertToNodeSpace(CCPoint((from.x + to.x) * 0.5f, (from.y + to.y) * 0.5f));
  }
  // Measured in the container's units, the distance shrinks as the container grows: the
  // scale follows the ratio of the distance now to the distance at the start.
  setZoomScale(getZoomScale() * distance(moved->getLocation(), other->getLocation()) / m_fTouchLength);
}

void CCScrollView::ccTouchEnded(CCTouch* touch, CCEvent*) {
  if (!isVisible()) return;
  if (m_pTouches->containsObject(touch)) {
    if (m_bTouchMoved) schedule(schedule_selector(CCScrollView::deaccelerateScrolling));
    m_pTouches->removeObject(touch);
  }
  m_bDragging = false;
  m_bTouchMoved = false;
  m_fTouchLength = 0;  // a zoom ends with either of its touches
  scheduleOnce(schedule_selector(CCScrollView::releaseTouches), 0);
}

void CCScrollView::ccTouchCancelled(CCTouch* touch, CCEvent*) {
  if (!isVisible()) return;
  if (touch) m_pTouches->removeObject(touch);
  if (m_pTouches->count() == 0) {
    m_bDragging = false;
    m_bTouchMoved = false;
  }
}

void CCScrollView::releaseTouches(float) {
  CCTouchDispatcher::sharedDispatcher()->cancelAllTargetedTouches(this);
}

bool CCScrollView::mouseLeftDown(CCMouseEvent*, CCEvent*) { return false; }

bool CCScrollView::mouseMoved(CCMouseEvent* event, CCEvent*) {
  if (event) m_tCursorPosition = event->getLocation();
  return false;
}

bool CCScrollView::mouseScrolled(CCMouseEvent* event, CCEvent*) { return scrollWheel(event); }

bool CCScrollView::scrollWheel(CCMouseEvent* event) {
  if (!event) return false;
  CCPoint move(10 * event->getDelta().x, -10 * event->getDelta().y);
  if (m_eDirection == kCCScrollViewDirectionHorizontal) move.y = 0;
  else if (m_eDirection == kCCScrollViewDirectionVertical) move.x = 0;
  if (!contains(getViewRect(), m_tCursorPosition)) return false;
  CCPoint pos = m_pContainer->getPosition();
  CCPoint target(pos.x + move.x, pos.y + move.y);
  float lowest =
      -std::max(0.f, m_pContainer->getContentSize().height * m_pContainer->getScaleY() -
                         m_tViewSize.height);
  if (target.y > 0 || target.y < lowest) {
    move.y /= 4;
    target = CCPoint(pos.x + move.x, pos.y + move.y);
  }
  m_pContainer->setPosition(target);
  float y = std::max(m_fMinInset.y, std::min(m_fMaxInset.y, target.y));
  setContentOffset(CCPoint(target.x, y), false);
  return true;
}

void CCScrollView::updateChildVisibility() {
  if (!getParent() || !m_pContainer) return;
  CCRect view = getViewRect();
  CCArray* children = m_pContainer->getChildren();
  if (!children) return;
  for (unsigned int i = 0; i < children->count(); ++i) {
    CCNode* child = static_cast<CCNode*>(children->objectAtIndex(i));
    CCPoint origin = m_pContainer->convertToWorldSpace(child->getPosition());
    CCRect r(origin.x, origin.y, child->getContentSize().width, child->getContentSize().height);
    child->setVisible(rectsIntersect(view, r));
  }
}

void CCScrollView::addChild(CCNode* child, int zOrder, int tag) {
  child->ignoreAnchorPointForPosition(false);
  child->setAnchorPoint(CCPoint(0, 0));
  if (m_pContainer != child) m_pContainer->addChild(child, zOrder, tag);
  else CCLayer::addChild(child, zOrder, tag);
}

void CCScrollView::addChild(CCNode* child, int zOrder) { addChild(child, zOrder, child->getTag()); }

void CCScrollView::addChild(CCNode* child) { addChild(child, child->getZOrder(), child->getTag()); }

void CCScrollView::visit() {
  if (!isVisible()) return;
  CCEGLView* view = CCDirector::sharedDirector()->getOpenGLView();
  bool clip = m_bClippingToBounds && view;
  if (clip) {
    CCRect frame = getViewRect();
    glEnable(GL_SCISSOR_TEST);
    view->setScissorInPoints(frame.origin.x, frame.origin.y, frame.size.width,
                             frame.size.height);
  }
  CCLayer::visit();
  if (clip) glDisable(GL_SCISSOR_TEST);
}

}  // namespace extension
}  // namespace cocos2d
