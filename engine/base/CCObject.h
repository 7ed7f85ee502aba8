#pragma once

#include "ccMacros.h"

NS_CC_BEGIN

class CCZone;
class CCObject;
class CCNode;
class CCEvent;

class CCCopying {
 public:
  virtual ~CCCopying() {}
  virtual CCObject* copyWithZone(CCZone* pZone);
};

// Reference-counted base of every engine object. A new object holds one reference;
// release() deletes it when the count reaches zero, autorelease() hands one reference
// to the current autorelease pool, which gives it up when the pool is drained.
class CCObject : public CCCopying {
 public:
  unsigned int m_uID;
  int m_nLuaID;

 protected:
  unsigned int m_uReference;
  unsigned int m_uAutoReleaseCount;

 public:
  CCObject();
  virtual ~CCObject();

  void release();
  void retain();
  CCObject* autorelease();
  CCObject* copy();
  bool isSingleReference() const { return m_uReference == 1; }
  unsigned int retainCount() const { return m_uReference; }
  virtual bool isEqual(const CCObject* pObject);
  virtual void update(float dt) { CC_UNUSED_PARAM(dt); }

  friend class CCAutoreleasePool;
};

typedef void (CCObject::*SEL_SCHEDULE)(float);
typedef void (CCObject::*SEL_CallFunc)();
typedef void (CCObject::*SEL_CallFuncN)(CCNode*);
typedef void (CCObject::*SEL_CallFuncND)(CCNode*, void*);
typedef void (CCObject::*SEL_CallFuncO)(CCObject*);
typedef void (CCObject::*SEL_MenuHandler)(CCObject*);
typedef void (CCObject::*SEL_EventHandler)(CCEvent*);
typedef int (CCObject::*SEL_Compare)(CCObject*);

#define schedule_selector(_SELECTOR) (cocos2d::SEL_SCHEDULE)(&_SELECTOR)
#define callfunc_selector(_SELECTOR) (cocos2d::SEL_CallFunc)(&_SELECTOR)
#define callfuncN_selector(_SELECTOR) (cocos2d::SEL_CallFuncN)(&_SELECTOR)
#define callfuncND_selector(_SELECTOR) (cocos2d::SEL_CallFuncND)(&_SELECTOR)
#define callfuncO_selector(_SELECTOR) (cocos2d::SEL_CallFuncO)(&_SELECTOR)
#define menu_selector(_SELECTOR) (cocos2d::SEL_MenuHandler)(&_SELECTOR)
#define event_selector(_SELECTOR) (cocos2d::SEL_EventHandler)(&_SELECTOR)
#define compare_selector(_SELECTOR) (cocos2d::SEL_Compare)(&_SELECTOR)

// Points a retaining reference at pObject: retains it, then releases what rSlot held
// (the same object twice is safe).
template <class T>
inline void ccSetRetained(T*& rSlot, T* pObject) {
  CC_SAFE_RETAIN(pObject);
  CC_SAFE_RELEASE(rSlot);
  rSlot = pObject;
}

// The end of every create function: the new object autoreleased when its init
// succeeded, otherwise deleted (and null returned).
template <class T>
inline T* ccAutoreleaseIfInit(T* pObject, bool bInitialised) {
  if (bInitialised) {
    pObject->autorelease();
    return pObject;
  }
  delete pObject;
  return nullptr;
}

NS_CC_END
