#pragma once

#include "CCGeometry.h"
#include "CCObject.h"

NS_CC_BEGIN

class CCEvent;

// One mouse event, built on the stack for one call. The location is in view coordinates
// (origin top left, design units); delta carries scroll amounts.
class CCMouseEvent : public CCObject {
 public:
  CCMouseEvent() {}
  CCMouseEvent(const CCPoint& location, const CCPoint& delta) : m_location(location), m_delta(delta) {}

  const CCPoint& getLocationInView() const { return m_location; }
  // The location in GL coordinates.
  CCPoint getLocation() const;
  const CCPoint& getDelta() const { return m_delta; }
  void setLocation(const CCPoint& location) { m_location = location; }
  void setDelta(const CCPoint& delta) { m_delta = delta; }

 private:
  CCPoint m_location;
  CCPoint m_delta;
};

// Event kinds as the dispatcher takes them.
enum CCMouseEventKind {
  kCCMouseLeftDown = 0,
  kCCMouseMoved = 1,
  kCCMouseLeftDragged = 2,
  kCCMouseLeftUp = 3,
  kCCMouseRightDown = 4,
  kCCMouseRightDragged = 5,
  kCCMouseRightUp = 6,
  kCCMouseMiddleDown = 7,
  kCCMouseMiddleDragged = 8,
  kCCMouseMiddleUp = 9,
  kCCMouseScrolled = 10,
  kCCMouseEntered = 11,
  kCCMouseExited = 12,
  kCCMouseWheel = 13,
};

// Receives mouse events. Returning true from a button-down or from mouseScrolled claims the
// event: handlers after this one do not see it, and this one gets the drags and the release
// of that button. The second argument is always null.
class CCMouseDelegate {
 public:
  virtual ~CCMouseDelegate() {}
  // True to get left drags and the left release even without claiming the press.
  virtual bool alwaysReceiveLeftDrag() { return false; }
  virtual bool mouseLeftDown(CCMouseEvent*, CCEvent*) { return false; }
  virtual bool mouseMoved(CCMouseEvent*, CCEvent*) { return false; }
  virtual bool mouseLeftDragged(CCMouseEvent*, CCEvent*) { return false; }
  virtual bool mouseLeftUp(CCMouseEvent*, CCEvent*) { return false; }
  virtual bool mouseRightDown(CCMouseEvent*, CCEvent*) { return false; }
  virtual bool mouseRightDragged(CCMouseEvent*, CCEvent*) { return false; }
  virtual bool mouseRightUp(CCMouseEvent*, CCEvent*) { return false; }
  virtual bool mouseMiddleDown(CCMouseEvent*, CCEvent*) { return false; }
  virtual bool mouseMiddleDragged(CCMouseEvent*, CCEvent*) { return false; }
  virtual bool mouseMiddleUp(CCMouseEvent*, CCEvent*) { return false; }
  virtual bool mouseScrolled(CCMouseEvent*, CCEvent*) { return false; }
  virtual bool mouseEntered(CCMouseEvent*, CCEvent*) { return false; }
  virtual bool mouseExited(CCMouseEvent*, CCEvent*) { return false; }
  virtual bool mouseWheel(CCMouseEvent*, CCEvent*) { return false; }
};

// What the view calls: the mouse dispatcher implements it.
class EGLMouseDelegate {
 public:
  virtual void mouseWheel(CCMouseEvent* event, CCEvent* pEvent) = 0;
  virtual void mouseLeftDown(CCMouseEvent* event, CCEvent* pEvent) = 0;
  virtual void mouseMoved(CCMouseEvent* event, CCEvent* pEvent) = 0;
  virtual void mouseLeftDragged(CCMouseEvent* event, CCEvent* pEvent) = 0;
  virtual void mouseLeftUp(CCMouseEvent* event, CCEvent* pEvent) = 0;
  virtual void mouseRightDown(CCMouseEvent* event, CCEvent* pEvent) = 0;
  virtual void mouseRightDragged(CCMouseEvent* event, CCEvent* pEvent) = 0;
  virtual void mouseRightUp(CCMouseEvent* event, CCEvent* pEvent) = 0;
  virtual void mouseMiddleDown(CCMouseEvent* event, CCEvent* pEvent) = 0;
  virtual void mouseMiddleDragged(CCMouseEvent* event, CCEvent* pEvent) = 0;
  virtual void mouseMiddleUp(CCMouseEvent* event, CCEvent* pEvent) = 0;
  virtual void mouseScrolled(CCMouseEvent* event, CCEvent* pEvent) = 0;
  virtual void mouseEntered(CCMouseEvent* event, CCEvent* pEvent) = 0;
  virtual void mouseExited(CCMouseEvent* event, CCEvent* pEvent) = 0;
  virtual ~EGLMouseDelegate() {}
};

// The cursor side of mouse moves and of entering and leaving the window (the director).
class CCCursorDelegate {
 public:
  virtual ~CCCursorDelegate() {}
  virtual void setCursorPosition(CCMouseEvent* event) = 0;
  virtual void showCursor() = 0;
  virtual void hideCursor() = 0;
};

NS_CC_END
