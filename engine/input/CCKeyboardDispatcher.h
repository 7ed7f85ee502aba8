#pragma once

#include "CCArray.h"
#include "CCHandlerQueue.h"
#include "CCKeyboardEvent.h"

NS_CC_BEGIN

class CCEvent;

// Receives every key down and key up (no claiming). The second argument is always null.
class CCKeyboardDelegate {
 public:
  virtual ~CCKeyboardDelegate() {}
  virtual void keyDown(CCKeyboardEvent* event, CCEvent* pEvent) {
    CC_UNUSED_PARAM(event);
    CC_UNUSED_PARAM(pEvent);
  }
  virtual void keyUp(CCKeyboardEvent* event, CCEvent* pEvent) {
    CC_UNUSED_PARAM(event);
    CC_UNUSED_PARAM(pEvent);
  }
};

// What the view calls: the keyboard dispatcher implements it.
class EGLKeyboardDelegate {
 public:
  virtual ~EGLKeyboardDelegate() {}
  virtual void keyDown(CCKeyboardEvent* event, CCEvent* pEvent) = 0;
  virtual void keyUp(CCKeyboardEvent* event, CCEvent* pEvent) = 0;
  virtual void modifiersChanged(CCKeyboardEvent* event, CCEvent* pEvent) = 0;
};

class CCKeyboardHandler : public CCObject {
 public:
  CCKeyboardHandler() : m_pDelegate(0) {}
  ~CCKeyboardHandler();
  static CCKeyboardHandler* create(CCKeyboardDelegate* pDelegate);
  bool initWithDelegate(CCKeyboardDelegate* pDelegate);
  CCKeyboardDelegate* getDelegate() { return m_pDelegate; }

 private:
  CCKeyboardDelegate* m_pDelegate;
};

enum { kCCKeyboardKeyDown = 0, kCCKeyboardKeyUp = 1, kCCKeyboardModifiersChanged = 2 };

// Calls every registered delegate, in registration order, for every key; keeps the last
// reported modifier mask for code that asks which modifiers are held.
class CCKeyboardDispatcher : public CCObject, public EGLKeyboardDelegate {
 public:
  CCKeyboardDispatcher();
  ~CCKeyboardDispatcher();

  static CCKeyboardDispatcher* sharedDispatcher();
  static void setSharedDispatcher(CCKeyboardDispatcher* pDispatcher);

  void addDelegate(CCKeyboardDelegate* pDelegate);
  void removeDelegate(CCKeyboardDelegate* pDelegate);
  bool dispatchKeyboardMSG(int kind, CCKeyboardEvent* event);
  int getModifiers() const { return m_nModifiers; }
  CCArray* getHandlers() { return m_pHandlers; }

  virtual void keyDown(CCKeyboardEvent* event, CCEvent* pEvent);
  virtual void keyUp(CCKeyboardEvent* event, CCEvent* pEvent);
  virtual void modifiersChanged(CCKeyboardEvent* event, CCEvent* pEvent);

 private:
  void forceAddHandler(CCKeyboardHandler* pHandler);
  void forceRemoveDelegate(CCKeyboardDelegate* pDelegate);

  CCArray* m_pHandlers;
  // A removal during a walk holds until it ends: the delegate is not added back before.
  CCHandlerQueue<CCKeyboardHandler, CCKeyboardDelegate> m_queue;
  int m_nModifiers;
};

NS_CC_END
