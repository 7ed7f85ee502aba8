#pragma once

#include "CCArray.h"
#include "CCHandlerQueue.h"
#include "CCMouseDelegate.h"

NS_CC_BEGIN

// One registered mouse delegate (retained while held when it is a CCObject) with its
// priority and the buttons whose press it claimed.
class CCMouseHandler : public CCObject {
 public:
  CCMouseHandler() : m_bLeftHeld(false), m_bRightHeld(false), m_bMiddleHeld(false), m_pDelegate(0), m_nPriority(0) {}
  ~CCMouseHandler();
  static CCMouseHandler* create(CCMouseDelegate* pDelegate, int nPriority);
  bool initWithDelegate(CCMouseDelegate* pDelegate, int nPriority);

  CCMouseDelegate* getDelegate() { return m_pDelegate; }
  int getPriority() { return m_nPriority; }
  bool alwaysReceiveLeftDrag() { return m_pDelegate->alwaysReceiveLeftDrag(); }

  bool m_bLeftHeld;
  bool m_bRightHeld;
  bool m_bMiddleHeld;

 private:
  CCMouseDelegate* m_pDelegate;
  int m_nPriority;
};

// Walks its handlers in priority order (lower value first; among equal priorities the newest
// first). A press goes down to the first handler that claims it; drags and releases go to
// the handlers that claimed their press; moves, enter, exit and wheel reach every handler.
class CCMouseDispatcher : public CCObject, public EGLMouseDelegate {
 public:
  CCMouseDispatcher();
  ~CCMouseDispatcher();
  bool init();

  static CCMouseDispatcher* sharedDispatcher();
  static void setSharedDispatcher(CCMouseDispatcher* pDispatcher);

  void addDelegate(CCMouseDelegate* pDelegate, int nPriority);
  void removeDelegate(CCMouseDelegate* pDelegate);
  void dispatchMouseEvent(CCMouseEvent* event, CCEvent* pEvent, int kind);
  bool isDispatchEvents() { return m_bDispatchEvents; }
  void setDispatchEvents(bool bDispatchEvents) { m_bDispatchEvents = bDispatchEvents; }
  // Told of moves and of the cursor entering and leaving, whatever dispatchEvents says.
  void setCursorDelegate(CCCursorDelegate* pCursor) { m_pCursor = pCursor; }
  CCArray* getHandlers() { return m_pHandlers; }

  virtual void mouseWheel(CCMouseEvent* event, CCEvent* pEvent);
  virtual void mouseLeftDown(CCMouseEvent* event, CCEvent* pEvent);
  virtual void mouseMoved(CCMouseEvent* event, CCEvent* pEvent);
  virtual void mouseLeftDragged(CCMouseEvent* event, CCEvent* pEvent);
  virtual void mouseLeftUp(CCMouseEvent* event, CCEvent* pEvent);
  virtual void mouseRightDown(CCMouseEvent* event, CCEvent* pEvent);
  virtual void mouseRightDragged(CCMouseEvent* event, CCEvent* pEvent);
  virtual void mouseRightUp(CCMouseEvent* event, CCEvent* pEvent);
  virtual void mouseMiddleDown(CCMouseEvent* event, CCEvent* pEvent);
  virtual void mouseMiddleDragged(CCMouseEvent* event, CCEvent* pEvent);
  virtual void mouseMiddleUp(CCMouseEvent* event, CCEvent* pEvent);
  virtual void mouseScrolled(CCMouseEvent* event, CCEvent* pEvent);
  virtual void mouseEntered(CCMouseEvent* event, CCEvent* pEvent);
  virtual void mouseExited(CCMouseEvent* event, CCEvent* pEvent);

 private:
  void forceAddHandler(CCMouseHandler* pHandler);
  void forceRemoveDelegate(CCMouseDelegate* pDelegate);

  CCArray* m_pHandlers;
  CCHandlerQueue<CCMouseHandler, CCMouseDelegate> m_queue;
  bool m_bDispatchEvents;
  CCCursorDelegate* m_pCursor;
};

NS_CC_END
