#include "CCEGLViewProtocol.h"

#include "CCCommon.h"
#include "CCDirector.h"
#include "CCEGLView.h"
#include "CCKeyboardEvent.h"
#include "CCSet.h"
#include "CCTouch.h"
#include "ccGLStateCache.h"

NS_CC_BEGIN

CCEGLViewProtocol::CCEGLViewProtocol() {}

CCEGLViewProtocol::~CCEGLViewProtocol() {
  for (CCTouch*& t : m_pTouches) CC_SAFE_RELEASE_NULL(t);
}

void CCEGLViewProtocol::setFrameSize(float width, float height) {
  m_obScreenSize = CCSize(width, height);
  m_obDesignResolutionSize = m_obScreenSize;
}

void CCEGLViewProtocol::setDesignResolutionSize(float width, float height,
                                                ResolutionPolicy policy) {
  if (width <= 0 || height <= 0 || policy == kResolutionUnKnown) {
    CCLogError("CCEGLView: invalid design resolution %.0f x %.0f", width, height);
    return;
  }
  m_obDesignResolutionSize = CCSize(width, height);
  m_fScaleX = m_obScreenSize.width / width;
  m_fScaleY = m_obScreenSize.height / height;
  if (policy == kResolutionNoBorder) {
    m_fScaleX = m_fScaleY = m_fScaleX > m_fScaleY ? m_fScaleX : m_fScaleY;
  } else if (policy == kResolutionShowAll) {
    m_fScaleX = m_fScaleY = m_fScaleX < m_fScaleY ? m_fScaleX : m_fScaleY;
  }
  float vpW = width * m_fScaleX, vpH = height * m_fScaleY;
  m_obViewPortRect = CCRect((m_obScreenSize.width - vpW) / 2, (m_obScreenSize.height - vpH) / 2,
                            vpW, vpH);
  m_eResolutionPolicy = policy;
  // The director sizes its scene space and projection from the design resolution.
  CCDirector* director = CCDirector::sharedDirector();
  if (static_cast<CCEGLViewProtocol*>(director->getOpenGLView()) == this) director->reshapeProjection();
}

CCSize CCEGLViewProtocol::getVisibleSize() const {
  if (m_eResolutionPolicy == kResolutionNoBorder && m_fScaleX > 0 && m_fScaleY > 0)
    return CCSize(m_obScreenSize.width / m_fScaleX, m_obScreenSize.height / m_fScaleY);
  return m_obDesignResolutionSize;
}

CCPoint CCEGLViewProtocol::getVisibleOrigin() const {
  if (m_eResolutionPolicy == kResolutionNoBorder) {
    CCSize visible = getVisibleSize();
    return CCPoint((m_obDesignResolutionSize.width - visible.width) / 2,
                   (m_obDesignResolutionSize.height - visible.height) / 2);
  }
  return CCPointZero;
}

void CCEGLViewProtocol::setViewPortInPoints(float x, float y, float w, float h) {
  glViewport(static_cast<GLint>(x * m_fScaleX + m_obViewPortRect.origin.x),
             static_cast<GLint>(y * m_fScaleY + m_obViewPortRect.origin.y),
             static_cast<GLsizei>(w * m_fScaleX), static_cast<GLsizei>(h * m_fScaleY));
}

void CCEGLViewProtocol::setScissorInPoints(float x, float y, float w, float h) {
  glScissor(static_cast<GLint>(x * m_fScaleX + m_obViewPortRect.origin.x),
            static_cast<GLint>(y * m_fScaleY + m_obViewPortRect.origin.y),
            static_cast<GLsizei>(w * m_fScaleX), static_cast<GLsizei>(h * m_fScaleY));
}

bool CCEGLViewProtocol::isPointInViewport(float x, float y) const {
  const CCRect& vp = m_obViewPortRect;
  if (vp.size.width <= 0 || vp.size.height <= 0) return true;
  return vp.containsPoint(CCPoint(x, m_obScreenSize.height - y));
}

CCPoint CCEGLViewProtocol::toDesign(float x, float y) const {
  float sx = m_fScaleX != 0 ? m_fScaleX : 1, sy = m_fScaleY != 0 ? m_fScaleY : 1;
  return CCPoint((x - m_obViewPortRect.origin.x) / sx, (y - m_obViewPortRect.origin.y) / sy);
}

int CCEGLViewProtocol::activeTouchCount() const {
  int n = 0;
  for (int i = 0; i < kMaxTouches; ++i)
    if (m_uIndexBitsUsed & (1u << i)) ++n;
  return n;
}

void CCEGLViewProtocol::handleTouchesBegin(int num, int ids[], float xs[], float ys[]) {
  CCSet set;
  for (int i = 0; i < num; ++i) {
    if (m_touchIdToSlot.count(ids[i])) continue;  // already down
    int slot = -1;
    for (int s = 0; s < kMaxTouches; ++s) {
      if (!(m_uIndexBitsUsed & (1u << s))) {
        slot = s;
        break;
      }
    }
    if (slot < 0) {
      CCLog("The touches is more than MAX_TOUCHES, nUnusedIndex = %d", -1);
      continue;
    }
    m_uIndexBitsUsed |= 1u << slot;
    CCTouch* touch = new CCTouch();
    CCPoint p = toDesign(xs[i], ys[i]);
    touch->setTouchInfo(slot, p.x, p.y);
    CC_SAFE_RELEASE(m_pTouches[slot]);
    m_pTouches[slot] = touch;
    m_touchIdToSlot[ids[i]] = slot;
    set.addObject(touch);
  }
  if (set.count() == 0) {
    CCLog("touchesBegan: count = 0");
    return;
  }
  if (m_pDelegate) m_pDelegate->touchesBegan(&set, activeTouchCount(), nullptr);
}

void CCEGLViewProtocol::handleTouchesMove(int num, int ids[], float xs[], float ys[]) {
  CCSet set;
  getSetOfTouchesEndOrCancel(set, num, ids, xs, ys);
  if (set.count() == 0) {
    CCLog("touchesMoved: count = 0");
    return;
  }
  if (m_pDelegate) m_pDelegate->touchesMoved(&set, activeTouchCount(), nullptr);
}

void CCEGLViewProtocol::getSetOfTouchesEndOrCancel(CCSet& set, int num, int ids[], float xs[],
                                                   float ys[]) {
  for (int i = 0; i < num; ++i) {
    auto it = m_touchIdToSlot.find(ids[i]);
    if (it == m_touchIdToSlot.end()) continue;
    CCTouch* touch = m_pTouches[it->second];
    if (!touch) continue;
    CCPoint p = toDesign(xs[i], ys[i]);
    touch->setTouchInfo(it->second, p.x, p.y);
    set.addObject(touch);
  }
}

void CCEGLViewProtocol::handleTouchesEnd(int num, int ids[], float xs[], float ys[]) {
  finishTouches(num, ids, xs, ys, &EGLTouchDelegate::touchesEnded);
}

void CCEGLViewProtocol::handleTouchesCancel(int num, int ids[], float xs[], float ys[]) {
  finishTouches(num, ids, xs, ys, &EGLTouchDelegate::touchesCancelled);
}

void CCEGLViewProtocol::finishTouches(int num, int ids[], float xs[], float ys[],
                                      void (EGLTouchDelegate::*report)(CCSet*, int, CCEvent*)) {
  CCSet set;
  getSetOfTouchesEndOrCancel(set, num, ids, xs, ys);
  if (set.count() == 0) {
    CCLog("touchesEnded or touchesCancel: count = 0");
    return;
  }
  // The count includes the touches that end now.
  int active = activeTouchCount();
  for (int i = 0; i < num; ++i) {
    auto it = m_touchIdToSlot.find(ids[i]);
    if (it == m_touchIdToSlot.end()) continue;
    m_uIndexBitsUsed &= ~(1u << it->second);
    m_touchIdToSlot.erase(it);
  }
  if (m_pDelegate) (m_pDelegate->*report)(&set, active, nullptr);
  for (CCSetIterator it = set.begin(); it != set.end(); ++it) {
    for (CCTouch*& t : m_pTouches) {
      if (t == *it) CC_SAFE_RELEASE_NULL(t);
    }
  }
}

#define MV_MOUSE_AT(call)                      \
  if (!m_pMouseDelegate) return;               \
  CCMouseEvent event;                          \
  event.setLocation(toDesign(x, y));           \
  m_pMouseDelegate->call(&event, nullptr);

void CCEGLViewProtocol::handleMouseLeftDown(float x, float y) { MV_MOUSE_AT(mouseLeftDown) }
void CCEGLViewProtocol::handleMouseMove(float x, float y) { MV_MOUSE_AT(mouseMoved) }
void CCEGLViewProtocol::handleMouseLeftDrag(float x, float y) { MV_MOUSE_AT(mouseLeftDragged) }
void CCEGLViewProtocol::handleMouseLeftUp(float x, float y) { MV_MOUSE_AT(mouseLeftUp) }
void CCEGLViewProtocol::handleMouseRightDown(float x, float y) { MV_MOUSE_AT(mouseRightDown) }
void CCEGLViewProtocol::handleMouseRightDrag(float x, float y) { MV_MOUSE_AT(mouseRightDragged) }
void CCEGLViewProtocol::handleMouseRightUp(float x, float y) { MV_MOUSE_AT(mouseRightUp) }
void CCEGLViewProtocol::handleMouseMiddleDown(float x, float y) { MV_MOUSE_AT(mouseMiddleDown) }
void CCEGLViewProtocol::handleMouseMiddleDrag(float x, float y) { MV_MOUSE_AT(mouseMiddleDragged) }
void CCEGLViewProtocol::handleMouseMiddleUp(float x, float y) { MV_MOUSE_AT(mouseMiddleUp) }
void CCEGLViewProtocol::handleMouseEntered(float x, float y) { MV_MOUSE_AT(mouseEntered) }
void CCEGLViewProtocol::handleMouseExited(float x, float y) { MV_MOUSE_AT(mouseExited) }

void CCEGLViewProtocol::handleMouseWheel(float d) {
  if (!m_pMouseDelegate) return;
  CCMouseEvent event;
  event.setDelta(CCPoint(0, d));
  m_pMouseDelegate->mouseWheel(&event, nullptr);
}

void CCEGLViewProtocol::handleMouseScroll(float dx, float dy) {
  if (!m_pMouseDelegate) return;
  CCMouseEvent event;
  event.setDelta(CCPoint(dx, dy));
  m_pMouseDelegate->mouseScrolled(&event, nullptr);
}

void CCEGLViewProtocol::handleKeyDown(int keyCode, int modifiers) {
  if (!m_pKeyboardDelegate) return;
  CCKeyboardEvent event(keyCode, modifiers);
  m_pKeyboardDelegate->keyDown(&event, nullptr);
}

void CCEGLViewProtocol::handleKeyUp(int keyCode, int modifiers) {
  if (!m_pKeyboardDelegate) return;
  CCKeyboardEvent event(keyCode, modifiers);
  m_pKeyboardDelegate->keyUp(&event, nullptr);
}

void CCEGLViewProtocol::handleModifiersChanged(int modifiers) {
  if (!m_pKeyboardDelegate) return;
  CCKeyboardEvent event(-1, modifiers);
  m_pKeyboardDelegate->modifiersChanged(&event, nullptr);
}

NS_CC_END
