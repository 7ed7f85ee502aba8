#pragma once

#include "CCArray.h"
#include "CCHandlerQueue.h"
#include "CCTouchDelegateProtocol.h"

NS_CC_BEGIN

class CCTouchHandler;

enum { CCTOUCHBEGAN = 0, CCTOUCHMOVED = 1, CCTOUCHENDED = 2, CCTOUCHCANCELLED = 3, ccTouchMax = 4 };

// Hands the view's touches to targeted handlers (touch by touch, in priority order, a
// lower value first) and then to standard handlers (the touches no swallowing handler
// took). Handlers added or removed during a walk are queued and applied after it.
class CCTouchDispatcher : public CCObject, public EGLTouchDelegate {
 public:
  CCTouchDispatcher();
  ~CCTouchDispatcher();
  bool init();

  // The dispatcher that layers register with; the director owns and replaces it.
  static CCTouchDispatcher* sharedDispatcher();
  // Retains the new one and releases the old one (nothing when they are the same).
  static void setSharedDispatcher(CCTouchDispatcher* pDispatcher);

  bool isDispatchEvents() { return m_bDispatchEvents; }
  void setDispatchEvents(bool bDispatchEvents) { m_bDispatchEvents = bDispatchEvents; }

  void addStandardDelegate(CCTouchDelegate* pDelegate, int nPriority);
  void addTargetedDelegate(CCTouchDelegate* pDelegate, int nPriority, bool bSwallowsTouches);
  void removeDelegate(CCTouchDelegate* pDelegate);
  void removeAllDelegates();
  void setPriority(int nPriority, CCTouchDelegate* pDelegate);
  CCTouchHandler* findHandler(CCTouchDelegate* pDelegate);

  void touches(CCSet* pTouches, int activeTouches, CCEvent* pEvent, unsigned int uIndex);
  virtual void touchesBegan(CCSet* touches, int activeTouches, CCEvent* pEvent);
  virtual void touchesMoved(CCSet* touches, int activeTouches, CCEvent* pEvent);
  virtual void touchesEnded(CCSet* touches, int activeTouches, CCEvent* pEvent);
  virtual void touchesCancelled(CCSet* touches, int activeTouches, CCEvent* pEvent);

  // Every targeted handler's delegate gets ccTouchCancelled for each touch it claimed (a
  // delegate with no claimed touch is not called, so none is ever handed a null touch);
  // the keeper's handler stops swallowing. Claimed touches stay claimed.
  void cancelAllTargetedTouches(CCTouchDelegate* keeper);

  CCArray* getTargetedHandlers() { return m_pTargetedHandlers; }
  CCArray* getStandardHandlers() { return m_pStandardHandlers; }

 protected:
  void forceAddHandler(CCTouchHandler* pHandler, CCArray* pArray);
  void forceRemoveDelegate(CCTouchDelegate* pDelegate);
  void forceRemoveAllDelegates();
  void rearrangeHandlers(CCArray* pArray);
  void endWalk();

  CCArray* m_pTargetedHandlers;
  CCArray* m_pStandardHandlers;
  bool m_bDispatchEvents;
  CCHandlerQueue<CCTouchHandler, CCTouchDelegate> m_queue;
};

NS_CC_END
