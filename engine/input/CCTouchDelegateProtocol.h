#pragma once

#include "CCObject.h"

NS_CC_BEGIN

class CCTouch;
class CCEvent;
class CCSet;

// Receives touches. Targeted delegates get one touch at a time and claim it in
// ccTouchBegan; standard delegates get the set of touches of each event together with the
// number of touches down on the view (those of the event included).
class CCTouchDelegate {
 public:
  CCTouchDelegate() {}
  virtual ~CCTouchDelegate() {}

  virtual bool ccTouchBegan(CCTouch* pTouch, CCEvent* pEvent) {
    CC_UNUSED_PARAM(pTouch);
    CC_UNUSED_PARAM(pEvent);
    return false;
  }
  // Returning true makes the handler swallow this and every later touch it claims.
  virtual bool ccTouchMoved(CCTouch* pTouch, CCEvent* pEvent) {
    CC_UNUSED_PARAM(pTouch);
    CC_UNUSED_PARAM(pEvent);
    return false;
  }
  virtual void ccTouchEnded(CCTouch* pTouch, CCEvent* pEvent) {
    CC_UNUSED_PARAM(pTouch);
    CC_UNUSED_PARAM(pEvent);
  }
  virtual void ccTouchCancelled(CCTouch* pTouch, CCEvent* pEvent) {
    CC_UNUSED_PARAM(pTouch);
    CC_UNUSED_PARAM(pEvent);
  }

  virtual bool ccTouchesBegan(CCSet* pTouches, int activeTouches, CCEvent* pEvent) {
    CC_UNUSED_PARAM(pTouches);
    CC_UNUSED_PARAM(activeTouches);
    CC_UNUSED_PARAM(pEvent);
    return false;
  }
  virtual void ccTouchesMoved(CCSet* pTouches, int activeTouches, CCEvent* pEvent) {
    CC_UNUSED_PARAM(pTouches);
    CC_UNUSED_PARAM(activeTouches);
    CC_UNUSED_PARAM(pEvent);
  }
  virtual void ccTouchesEnded(CCSet* pTouches, int activeTouches, CCEvent* pEvent) {
    CC_UNUSED_PARAM(pTouches);
    CC_UNUSED_PARAM(activeTouches);
    CC_UNUSED_PARAM(pEvent);
  }
  virtual void ccTouchesCancelled(CCSet* pTouches, int activeTouches, CCEvent* pEvent) {
    CC_UNUSED_PARAM(pTouches);
    CC_UNUSED_PARAM(activeTouches);
    CC_UNUSED_PARAM(pEvent);
  }
};

class CCTargetedTouchDelegate : public CCTouchDelegate {};
class CCStandardTouchDelegate : public CCTouchDelegate {};

// What the view calls: the touch dispatcher implements it.
class EGLTouchDelegate {
 public:
  virtual void touchesBegan(CCSet* touches, int activeTouches, CCEvent* pEvent) = 0;
  virtual void touchesMoved(CCSet* touches, int activeTouches, CCEvent* pEvent) = 0;
  virtual void touchesEnded(CCSet* touches, int activeTouches, CCEvent* pEvent) = 0;
  virtual void touchesCancelled(CCSet* touches, int activeTouches, CCEvent* pEvent) = 0;
  virtual ~EGLTouchDelegate() {}
};

NS_CC_END
