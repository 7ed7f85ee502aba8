#pragma once

#include "CCAction.h"

NS_CC_BEGIN

// An action without duration: its first step runs update(1) and it is done.
class CCActionInstant : public CCFiniteTimeAction {
 public:
  virtual CCObject* copyWithZone(CCZone* pZone);
  virtual bool isDone();
  virtual void step(float dt);
  virtual void update(float time);
  virtual CCFiniteTimeAction* reverse();
};

class CCShow : public CCActionInstant {
 public:
  static CCShow* create();
  virtual void update(float time);
  virtual CCFiniteTimeAction* reverse();
  virtual CCObject* copyWithZone(CCZone* pZone);
};

class CCHide : public CCActionInstant {
 public:
  static CCHide* create();
  virtual void update(float time);
  virtual CCFiniteTimeAction* reverse();
  virtual CCObject* copyWithZone(CCZone* pZone);
};

class CCToggleVisibility : public CCActionInstant {
 public:
  static CCToggleVisibility* create();
  virtual void update(float time);
  virtual CCObject* copyWithZone(CCZone* pZone);
};

// Flips a sprite (other nodes are left alone).
class CCFlipX : public CCActionInstant {
 public:
  static CCFlipX* create(bool x);
  bool initWithFlipX(bool x);
  virtual void update(float time);
  virtual CCFiniteTimeAction* reverse();
  virtual CCObject* copyWithZone(CCZone* pZone);

 protected:
  bool m_bFlipX = false;
};

class CCFlipY : public CCActionInstant {
 public:
  static CCFlipY* create(bool y);
  bool initWithFlipY(bool y);
  virtual void update(float time);
  virtual CCFiniteTimeAction* reverse();
  virtual CCObject* copyWithZone(CCZone* pZone);

 protected:
  bool m_bFlipY = false;
};

class CCPlace : public CCActionInstant {
 public:
  static CCPlace* create(const CCPoint& pos);
  bool initWithPosition(const CCPoint& pos);
  virtual void update(float time);
  virtual CCObject* copyWithZone(CCZone* pZone);

 protected:
  CCPoint m_tPosition;
};

// Calls a selector of an object (retained while the action lives).
class CCCallFunc : public CCActionInstant {
 public:
  CCCallFunc() : m_pSelectorTarget(0), m_pCallFunc(0) {}
  virtual ~CCCallFunc();
  static CCCallFunc* create(CCObject* pSelectorTarget, SEL_CallFunc selector);
  virtual bool initWithTarget(CCObject* pSelectorTarget);
  virtual void execute();
  virtual void update(float time);
  virtual CCObject* copyWithZone(CCZone* pZone);

  CCObject* getTargetCallback() { return m_pSelectorTarget; }
  void setTargetCallback(CCObject* pSel);

 protected:
  CCObject* m_pSelectorTarget;
  SEL_CallFunc m_pCallFunc;
  SEL_CallFuncN m_pCallFuncN = 0;
  SEL_CallFuncND m_pCallFuncND = 0;
  SEL_CallFuncO m_pCallFuncO = 0;
};

// Calls selector(node running the action).
class CCCallFuncN : public CCCallFunc {
 public:
  static CCCallFuncN* create(CCObject* pSelectorTarget, SEL_CallFuncN selector);
  virtual bool initWithTarget(CCObject* pSelectorTarget, SEL_CallFuncN selector);
  virtual void execute();
  virtual CCObject* copyWithZone(CCZone* pZone);
};

// Calls selector(node running the action, data).
class CCCallFuncND : public CCCallFuncN {
 public:
  static CCCallFuncND* create(CCObject* pSelectorTarget, SEL_CallFuncND selector, void* d);
  virtual bool initWithTarget(CCObject* pSelectorTarget, SEL_CallFuncND selector, void* d);
  virtual void execute();
  virtual CCObject* copyWithZone(CCZone* pZone);

 protected:
  void* m_pData = 0;
};

// Calls selector(object); the object is retained while the action lives.
class CCCallFuncO : public CCCallFunc {
 public:
  CCCallFuncO() : m_pObject(0) {}
  virtual ~CCCallFuncO();
  static CCCallFuncO* create(CCObject* pSelectorTarget, SEL_CallFuncO selector, CCObject* pObject);
  virtual bool initWithTarget(CCObject* pSelectorTarget, SEL_CallFuncO selector, CCObject* pObject);
  virtual void execute();
  virtual CCObject* copyWithZone(CCZone* pZone);
  CCObject* getObject() { return m_pObject; }
  void setObject(CCObject* pObj);

 protected:
  CCObject* m_pObject;
};

NS_CC_END
