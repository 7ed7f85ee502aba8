#ifndef __ACTION_CCEASE_ACTION_H__
#define __ACTION_CCEASE_ACTION_H__

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

#define CC_EASE_RATE_CLASS(Name)                                           \
  class Name : public CCEaseRateAction {                                   \
   public:                                                                 \
    static Name* create(CCActionInterval* pAction, float fRate);           \
    virtual void update(float time);                                       \
    virtual CCActionInterval* reverse();                                   \
    virtual CCObject* copyWithZone(CCZone* pZone);                         \
  };

#define CC_EASE_CLASS(Name)                                                \
  class Name : public CCActionEase {                                       \
   public:                                                                 \
    static Name* create(CCActionInterval* pAction);                        \
    virtual void update(float time);                                       \
    virtual CCActionInterval* reverse();                                   \
    virtual CCObject* copyWithZone(CCZone* pZone);                         \
  };

#define CC_EASE_ELASTIC_CLASS(Name)                                        \
  class Name : public CCEaseElastic {                                      \
   public:                                                                 \
    static Name* create(CCActionInterval* pAction, float fPeriod = 0.3f);  \
    virtual void update(float time);                                       \
    virtual CCActionInterval* reverse();                                   \
    virtual CCObject* copyWithZone(CCZone* pZone);                         \
  };

CC_EASE_RATE_CLASS(CCEaseIn)
CC_EASE_RATE_CLASS(CCEaseOut)
CC_EASE_RATE_CLASS(CCEaseInOut)
CC_EASE_CLASS(CCEaseExponentialIn)
CC_EASE_CLASS(CCEaseExponentialOut)
CC_EASE_CLASS(CCEaseExponentialInOut)
CC_EASE_CLASS(CCEaseSineIn)
CC_EASE_CLASS(CCEaseSineOut)
CC_EASE_CLASS(CCEaseSineInOut)
CC_EASE_ELASTIC_CLASS(CCEaseElasticIn)
CC_EASE_ELASTIC_CLASS(CCEaseElasticOut)
CC_EASE_ELASTIC_CLASS(CCEaseElasticInOut)

class CCEaseBounce : public CCActionEase {
 public:
  float bounceTime(float time);
};

#define CC_EASE_BOUNCE_CLASS(Name)                                         \
  class Name : public CCEaseBounce {                                       \
   public:                                                                 \
    static Name* create(CCActionInterval* pAction);                        \
    virtual void update(float time);                                       \
    virtual CCActionInterval* reverse();                                   \
    virtual CCObject* copyWithZone(CCZone* pZone);                         \
  };

CC_EASE_BOUNCE_CLASS(CCEaseBounceIn)
CC_EASE_BOUNCE_CLASS(CCEaseBounceOut)
CC_EASE_BOUNCE_CLASS(CCEaseBounceInOut)
CC_EASE_CLASS(CCEaseBackIn)
CC_EASE_CLASS(CCEaseBackOut)
CC_EASE_CLASS(CCEaseBackInOut)

#undef CC_EASE_RATE_CLASS
#undef CC_EASE_CLASS
#undef CC_EASE_ELASTIC_CLASS
#undef CC_EASE_BOUNCE_CLASS

NS_CC_END

#endif
