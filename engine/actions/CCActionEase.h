#pragma once

#include "CCActionInterval.h"

NS_CC_BEGIN

// Runs an inner interval action with its time bent by an easing curve. Every curve maps
// 0 to 0 and 1 to 1.
class CCActionEase : public CCActionInterval {
 public:
  CCActionEase() : m_pOther(0) {}
  virtual ~CCActionEase();
  static CCActionEase* create(CCActionInterval* pAction);
  bool initWithAction(CCActionInterval* pAction);
  CCActionInterval* getInnerAction() { return m_pOther; }

  virtual CCObject* copyWithZone(CCZone* pZone);
  virtual void startWithTarget(CCNode* pTarget);
  virtual void stop();
  virtual void update(float time);
  virtual CCActionInterval* reverse();

 protected:
  // What every ease shares: create, copy and reverse around the inner action, passing on
  // the ease's own parameters (none, a rate or a period).
  template <class T, class... Params>
  static T* createEase(CCActionInterval* pAction, Params... params) {
    T* p = new T();
    return ccAutoreleaseIfInit(p, p->initWithAction(pAction, params...));
  }
  template <class T, class... Params>
  CCObject* copyEase(CCZone* pZone, Params... params) {
    CC_ACTION_COPY_BEGIN(T)
    CCActionInterval::copyWithZone(pZone);
    CCActionInterval* inner = (CCActionInterval*)m_pOther->copy();
    pCopy->initWithAction(inner, params...);
    CC_SAFE_RELEASE(inner);
    CC_ACTION_COPY_END()
  }
  // The reverse of the inner action eased by R, or null when it has none.
  template <class R, class... Params>
  CCActionInterval* reverseEase(Params... params) {
    CCActionInterval* r = m_pOther->reverse();
    return r ? R::create(r, params...) : 0;
  }

  CCActionInterval* m_pOther;
};

class CCEaseRateAction : public CCActionEase {
 public:
  static CCEaseRateAction* create(CCActionInterval* pAction, float fRate);
  bool initWithAction(CCActionInterval* pAction, float fRate);
  float getRate() { return m_fRate; }
  void setRate(float rate) { m_fRate = rate; }
  virtual CCObject* copyWithZone(CCZone* pZone);
  virtual CCActionInterval* reverse();

 protected:
  float m_fRate = 1;
};

class CCEaseElastic : public CCActionEase {
 public:
  static CCEaseElastic* create(CCActionInterval* pAction, float fPeriod = 0.3f);
  bool initWithAction(CCActionInterval* pAction, float fPeriod = 0.3f);
  float getPeriod() { return m_fPeriod; }
  void setPeriod(float fPeriod) { m_fPeriod = fPeriod; }
  virtual CCObject* copyWithZone(CCZone* pZone);
  virtual CCActionInterval* reverse();

 protected:
  float m_fPeriod = 0.3f;
};

// A concrete ease: its curve (update), its reverse and its copy.
#define CC_EASE_CLASS(Name, Base, CreateParams) \
  class Name : public Base {                    \
   public:                                      \
    static Name* create CreateParams;           \
    virtual void update(float time);            \
    virtual CCActionInterval* reverse();        \
    virtual CCObject* copyWithZone(CCZone* pZone); \
  };
#define CC_EASE_RATE_CLASS(Name) CC_EASE_CLASS(Name, CCEaseRateAction, (CCActionInterval * pAction, float fRate))
#define CC_EASE_PLAIN_CLASS(Name) CC_EASE_CLASS(Name, CCActionEase, (CCActionInterval * pAction))
#define CC_EASE_ELASTIC_CLASS(Name) \
  CC_EASE_CLASS(Name, CCEaseElastic, (CCActionInterval * pAction, float fPeriod = 0.3f))
#define CC_EASE_BOUNCE_CLASS(Name) CC_EASE_CLASS(Name, CCEaseBounce, (CCActionInterval * pAction))

CC_EASE_RATE_CLASS(CCEaseIn)
CC_EASE_RATE_CLASS(CCEaseOut)
CC_EASE_RATE_CLASS(CCEaseInOut)
CC_EASE_PLAIN_CLASS(CCEaseExponentialIn)
CC_EASE_PLAIN_CLASS(CCEaseExponentialOut)
CC_EASE_PLAIN_CLASS(CCEaseExponentialInOut)
CC_EASE_PLAIN_CLASS(CCEaseSineIn)
CC_EASE_PLAIN_CLASS(CCEaseSineOut)
CC_EASE_PLAIN_CLASS(CCEaseSineInOut)
CC_EASE_ELASTIC_CLASS(CCEaseElasticIn)
CC_EASE_ELASTIC_CLASS(CCEaseElasticOut)
CC_EASE_ELASTIC_CLASS(CCEaseElasticInOut)

class CCEaseBounce : public CCActionEase {
 public:
  float bounceTime(float time);
};

CC_EASE_BOUNCE_CLASS(CCEaseBounceIn)
CC_EASE_BOUNCE_CLASS(CCEaseBounceOut)
CC_EASE_BOUNCE_CLASS(CCEaseBounceInOut)
CC_EASE_PLAIN_CLASS(CCEaseBackIn)
CC_EASE_PLAIN_CLASS(CCEaseBackOut)
CC_EASE_PLAIN_CLASS(CCEaseBackInOut)

#undef CC_EASE_RATE_CLASS
#undef CC_EASE_PLAIN_CLASS
#undef CC_EASE_CLASS
#undef CC_EASE_ELASTIC_CLASS
#undef CC_EASE_BOUNCE_CLASS

NS_CC_END
