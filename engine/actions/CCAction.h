#pragma once

#include "CCGeometry.h"
#include "CCObject.h"
#include "CCZone.h"

NS_CC_BEGIN

class CCNode;

enum { kCCActionTagInvalid = -1 };

// Shared copy idiom: use the object a subclass put in the zone, or make a new one.
#define CC_ACTION_COPY_BEGIN(Type)                          \
  CCZone* pNewZone = 0;                                     \
  Type* pCopy = 0;                                          \
  if (pZone && pZone->m_pCopyObject) {                      \
    pCopy = (Type*)pZone->m_pCopyObject;                    \
  } else {                                                  \
    pCopy = new Type();                                     \
    pZone = pNewZone = new CCZone(pCopy);                   \
  }
#define CC_ACTION_COPY_END() \
  CC_SAFE_DELETE(pNewZone);  \
  return pCopy;

class CCAction : public CCObject {
 public:
  CCAction();
  virtual ~CCAction();

  static CCAction* create();

  virtual CCObject* copyWithZone(CCZone* pZone);
  virtual bool isDone();
  virtual void startWithTarget(CCNode* pTarget);
  virtual void stop();
  // Called once a frame by the action manager with the frame time.
  virtual void step(float dt);
  // time runs from 0 to 1 over the action.
  virtual void update(float time);

  CCNode* getTarget() { return m_pTarget; }
  void setTarget(CCNode* pTarget) { m_pTarget = pTarget; }
  CCNode* getOriginalTarget() { return m_pOriginalTarget; }
  void setOriginalTarget(CCNode* pOriginalTarget) { m_pOriginalTarget = pOriginalTarget; }
  int getTag() { return m_nTag; }
  void setTag(int nTag) { m_nTag = nTag; }

 protected:
  CCNode* m_pOriginalTarget;
  CCNode* m_pTarget;
  int m_nTag;
};

class CCFiniteTimeAction : public CCAction {
 public:
  CCFiniteTimeAction() : m_fDuration(0) {}
  float getDuration() { return m_fDuration; }
  void setDuration(float duration) { m_fDuration = duration; }
  virtual CCFiniteTimeAction* reverse();

 protected:
  float m_fDuration;
};

class CCActionInterval;

// Runs an interval action faster or slower.
class CCSpeed : public CCAction {
 public:
  CCSpeed() : m_fSpeed(1), m_pInnerAction(0) {}
  ~CCSpeed();
  static CCSpeed* create(CCActionInterval* pAction, float fSpeed);
  bool initWithAction(CCActionInterval* pAction, float fSpeed);
  float getSpeed() { return m_fSpeed; }
  void setSpeed(float fSpeed) { m_fSpeed = fSpeed; }
  CCActionInterval* getInnerAction() { return m_pInnerAction; }

  virtual CCObject* copyWithZone(CCZone* pZone);
  virtual void startWithTarget(CCNode* pTarget);
  virtual void stop();
  virtual void step(float dt);
  virtual bool isDone();
  CCSpeed* reverse();

 protected:
  float m_fSpeed;
  CCActionInterval* m_pInnerAction;
};

NS_CC_END
