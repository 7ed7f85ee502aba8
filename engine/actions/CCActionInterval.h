#pragma once

#include <vector>

#include "CCAction.h"
#include "CCArray.h"
#include "ccTypes.h"

NS_CC_BEGIN

// An action that runs over a duration. The first step after start runs at time 0 (its frame
// time is not counted); each later step adds its frame time.
class CCActionInterval : public CCFiniteTimeAction {
 public:
  CCActionInterval() : m_elapsed(0), m_bFirstTick(true) {}
  static CCActionInterval* create(float d);
  bool initWithDuration(float d);

  float getElapsed() { return m_elapsed; }
  virtual bool isDone();
  virtual void step(float dt);
  virtual void startWithTarget(CCNode* pTarget);
  virtual CCActionInterval* reverse();
  virtual CCObject* copyWithZone(CCZone* pZone);
  void setAmplitudeRate(float amp) { CC_UNUSED_PARAM(amp); }
  float getAmplitudeRate() { return 0; }

 protected:
  float m_elapsed;
  bool m_bFirstTick;
};

// Runs actions one after another.
class CCSequence : public CCActionInterval {
 public:
  CCSequence();
  ~CCSequence();
  // Null-terminated list.
  static CCSequence* create(CCFiniteTimeAction* pAction1, ...);
  static CCSequence* createWithArray(CCArray* arrayOfActions);
  static CCSequence* createWithTwoActions(CCFiniteTimeAction* pActionOne, CCFiniteTimeAction* pActionTwo);
  bool initWithTwoActions(CCFiniteTimeAction* pActionOne, CCFiniteTimeAction* pActionTwo);

  virtual CCObject* copyWithZone(CCZone* pZone);
  virtual void startWithTarget(CCNode* pTarget);
  virtual void stop();
  virtual void update(float t);
  virtual CCActionInterval* reverse();

 protected:
  CCFiniteTimeAction* m_pActions[2];
  float m_split;
  int m_last;
};

// Runs an action a number of times.
class CCRepeat : public CCActionInterval {
 public:
  CCRepeat();
  ~CCRepeat();
  static CCRepeat* create(CCFiniteTimeAction* pAction, unsigned int times);
  bool initWithAction(CCFiniteTimeAction* pAction, unsigned int times);
  CCFiniteTimeAction* getInnerAction() { return m_pInnerAction; }

  virtual CCObject* copyWithZone(CCZone* pZone);
  virtual void startWithTarget(CCNode* pTarget);
  virtual void stop();
  virtual void update(float dt);
  virtual bool isDone();
  virtual CCActionInterval* reverse();

 protected:
  unsigned int m_uTimes;
  unsigned int m_uTotal;
  float m_fNextDt;
  bool m_bActionInstant;
  CCFiniteTimeAction* m_pInnerAction;
};

// Runs an interval action again and again; never done.
class CCRepeatForever : public CCActionInterval {
 public:
  CCRepeatForever() : m_pInnerAction(0) {}
  ~CCRepeatForever();
  static CCRepeatForever* create(CCActionInterval* pAction);
  bool initWithAction(CCActionInterval* pAction);
  CCActionInterval* getInnerAction() { return m_pInnerAction; }

  virtual CCObject* copyWithZone(CCZone* pZone);
  virtual void startWithTarget(CCNode* pTarget);
  virtual void step(float dt);
  virtual bool isDone();
  virtual CCActionInterval* reverse();

 protected:
  CCActionInterval* m_pInnerAction;
};

// Runs actions at the same time; lasts as long as the longest.
class CCSpawn : public CCActionInterval {
 public:
  CCSpawn() : m_pOne(0), m_pTwo(0) {}
  ~CCSpawn();
  static CCSpawn* create(CCFiniteTimeAction* pAction1, ...);
  static CCSpawn* createWithArray(CCArray* arrayOfActions);
  static CCSpawn* createWithTwoActions(CCFiniteTimeAction* pAction1, CCFiniteTimeAction* pAction2);
  bool initWithTwoActions(CCFiniteTimeAction* pAction1, CCFiniteTimeAction* pAction2);

  virtual CCObject* copyWithZone(CCZone* pZone);
  virtual void startWithTarget(CCNode* pTarget);
  virtual void stop();
  virtual void update(float time);
  virtual CCActionInterval* reverse();

 protected:
  CCFiniteTimeAction* m_pOne;
  CCFiniteTimeAction* m_pTwo;
};

class CCRotateTo : public CCActionInterval {
 public:
  static CCRotateTo* create(float duration, float fDeltaAngle);
  bool initWithDuration(float duration, float fDeltaAngle);
  virtual CCObject* copyWithZone(CCZone* pZone);
  virtual void startWithTarget(CCNode* pTarget);
  virtual void update(float time);

 protected:
  float m_fDstAngle = 0;
  float m_fStartAngle = 0;
  float m_fDiffAngle = 0;
};

class CCRotateBy : public CCActionInterval {
 public:
  static CCRotateBy* create(float duration, float fDeltaAngle);
  bool initWithDuration(float duration, float fDeltaAngle);
  virtual CCObject* copyWithZone(CCZone* pZone);
  virtual void startWithTarget(CCNode* pTarget);
  virtual void update(float time);
  virtual CCActionInterval* reverse();

 protected:
  float m_fAngle = 0;
  float m_fStartAngle = 0;
};

class CCMoveTo : public CCActionInterval {
 public:
  static CCMoveTo* create(float duration, const CCPoint& position);
  bool initWithDuration(float duration, const CCPoint& position);
  virtual CCObject* copyWithZone(CCZone* pZone);
  virtual void startWithTarget(CCNode* pTarget);
  virtual void update(float time);

 protected:
  CCPoint m_endPosition;
  CCPoint m_startPosition;
  CCPoint m_delta;
};

class CCMoveBy : public CCMoveTo {
 public:
  static CCMoveBy* create(float duration, const CCPoint& deltaPosition);
  bool initWithDuration(float duration, const CCPoint& deltaPosition);
  virtual CCObject* copyWithZone(CCZone* pZone);
  virtual void startWithTarget(CCNode* pTarget);
  virtual CCActionInterval* reverse();
};

class CCScaleTo : public CCActionInterval {
 public:
  static CCScaleTo* create(float duration, float s);
  static CCScaleTo* create(float duration, float sx, float sy);
  bool initWithDuration(float duration, float s);
  bool initWithDuration(float duration, float sx, float sy);
  virtual CCObject* copyWithZone(CCZone* pZone);
  virtual void startWithTarget(CCNode* pTarget);
  virtual void update(float time);

 protected:
  float m_fScaleX = 1, m_fScaleY = 1;
  float m_fStartScaleX = 1, m_fStartScaleY = 1;
  float m_fEndScaleX = 1, m_fEndScaleY = 1;
  float m_fDeltaX = 0, m_fDeltaY = 0;
};

class CCScaleBy : public CCScaleTo {
 public:
  static CCScaleBy* create(float duration, float s);
  static CCScaleBy* create(float duration, float sx, float sy);
  virtual CCObject* copyWithZone(CCZone* pZone);
  virtual void startWithTarget(CCNode* pTarget);
  virtual CCActionInterval* reverse();
};

// Fades a node that implements CCRGBAProtocol.
class CCFadeIn : public CCActionInterval {
 public:
  static CCFadeIn* create(float d);
  virtual CCObject* copyWithZone(CCZone* pZone);
  virtual void update(float time);
  virtual CCActionInterval* reverse();
};

class CCFadeOut : public CCActionInterval {
 public:
  static CCFadeOut* create(float d);
  virtual CCObject* copyWithZone(CCZone* pZone);
  virtual void update(float time);
  virtual CCActionInterval* reverse();
};

class CCFadeTo : public CCActionInterval {
 public:
  static CCFadeTo* create(float duration, GLubyte opacity);
  bool initWithDuration(float duration, GLubyte opacity);
  virtual CCObject* copyWithZone(CCZone* pZone);
  virtual void startWithTarget(CCNode* pTarget);
  virtual void update(float time);

 protected:
  GLubyte m_toOpacity = 0;
  GLubyte m_fromOpacity = 0;
};

class CCTintTo : public CCActionInterval {
 public:
  static CCTintTo* create(float duration, GLubyte red, GLubyte green, GLubyte blue);
  bool initWithDuration(float duration, GLubyte red, GLubyte green, GLubyte blue);
  virtual CCObject* copyWithZone(CCZone* pZone);
  virtual void startWithTarget(CCNode* pTarget);
  virtual void update(float time);

 protected:
  ccColor3B m_to = {0, 0, 0};
  ccColor3B m_from = {0, 0, 0};
};

class CCTintBy : public CCActionInterval {
 public:
  static CCTintBy* create(float duration, short deltaRed, short deltaGreen, short deltaBlue);
  bool initWithDuration(float duration, short deltaRed, short deltaGreen, short deltaBlue);
  virtual CCObject* copyWithZone(CCZone* pZone);
  virtual void startWithTarget(CCNode* pTarget);
  virtual void update(float time);
  virtual CCActionInterval* reverse();

 protected:
  short m_deltaR = 0, m_deltaG = 0, m_deltaB = 0;
  short m_fromR = 0, m_fromG = 0, m_fromB = 0;
};

class CCDelayTime : public CCActionInterval {
 public:
  static CCDelayTime* create(float d);
  virtual CCObject* copyWithZone(CCZone* pZone);
  virtual void update(float time);
  virtual CCActionInterval* reverse();
};

// Runs an action on another target than the one running this action.
class CCTargetedAction : public CCActionInterval {
 public:
  CCTargetedAction() : m_pForcedTarget(0), m_pAction(0) {}
  ~CCTargetedAction();
  static CCTargetedAction* create(CCNode* pTarget, CCFiniteTimeAction* pAction);
  bool initWithTarget(CCNode* pTarget, CCFiniteTimeAction* pAction);
  CCNode* getForcedTarget() { return m_pForcedTarget; }
  void setForcedTarget(CCNode* pTarget);

  virtual CCObject* copyWithZone(CCZone* pZone);
  virtual void startWithTarget(CCNode* pTarget);
  virtual void stop();
  virtual void update(float time);

 protected:
  CCNode* m_pForcedTarget;
  CCFiniteTimeAction* m_pAction;
};

class CCAnimation;
class CCSpriteFrame;

// Shows the frames of an animation on a sprite, each at its time; with restore-original-frame
// set, the sprite gets its frame back when the action stops.
class CCAnimate : public CCActionInterval {
 public:
  CCAnimate();
  ~CCAnimate();
  static CCAnimate* create(CCAnimation* pAnimation);
  bool initWithAnimation(CCAnimation* pAnimation);
  CCAnimation* getAnimation() { return m_pAnimation; }
  void setAnimation(CCAnimation* pAnimation);

  virtual CCObject* copyWithZone(CCZone* pZone);
  virtual void startWithTarget(CCNode* pTarget);
  virtual void stop();
  virtual void update(float t);
  virtual CCActionInterval* reverse();

 protected:
  std::vector<float> m_splitTimes;
  int m_nNextFrame;
  CCSpriteFrame* m_pOrigFrame;
  unsigned int m_uExecutedLoops;
  CCAnimation* m_pAnimation;
};

NS_CC_END
