#pragma once

#include "CCSet.h"
#include "CCTouchDelegateProtocol.h"

NS_CC_BEGIN

// One registered touch delegate with its priority; the delegate is retained while held
// when it is a CCObject.
class CCTouchHandler : public CCObject {
 public:
  CCTouchHandler() : m_pDelegate(0), m_nPriority(0) {}
  virtual ~CCTouchHandler();

  static CCTouchHandler* handlerWithDelegate(CCTouchDelegate* pDelegate, int nPriority);
  virtual bool initWithDelegate(CCTouchDelegate* pDelegate, int nPriority);

  CCTouchDelegate* getDelegate() { return m_pDelegate; }
  void setDelegate(CCTouchDelegate* pDelegate);
  int getPriority() { return m_nPriority; }
  void setPriority(int nPriority) { m_nPriority = nPriority; }

 protected:
  CCTouchDelegate* m_pDelegate;
  int m_nPriority;
};

class CCStandardTouchHandler : public CCTouchHandler {
 public:
  static CCStandardTouchHandler* handlerWithDelegate(CCTouchDelegate* pDelegate, int nPriority);
};

// Keeps the touches its delegate claimed; a swallowing handler keeps claimed touches from
// the handlers after it.
class CCTargetedTouchHandler : public CCTouchHandler {
 public:
  CCTargetedTouchHandler() : m_bSwallowsTouches(false), m_pClaimedTouches(0) {}
  ~CCTargetedTouchHandler();

  static CCTargetedTouchHandler* handlerWithDelegate(CCTouchDelegate* pDelegate, int nPriority, bool bSwallow);
  bool initWithDelegate(CCTouchDelegate* pDelegate, int nPriority, bool bSwallow);

  bool isSwallowsTouches() { return m_bSwallowsTouches; }
  void setSwallowsTouches(bool bSwallowsTouches) { m_bSwallowsTouches = bSwallowsTouches; }
  CCSet* getClaimedTouches() { return m_pClaimedTouches; }

 protected:
  bool m_bSwallowsTouches;
  CCSet* m_pClaimedTouches;
};

NS_CC_END
