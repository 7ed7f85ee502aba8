#pragma once

#include "CCAccelerometer.h"
#include "CCKeyboardDispatcher.h"
#include "CCKeypadDispatcher.h"
#include "CCMouseDelegate.h"
#include "CCNode.h"
#include "CCProtocols.h"
#include "CCTouchDelegateProtocol.h"

NS_CC_BEGIN

typedef enum { kCCTouchesAllAtOnce, kCCTouchesOneByOne } ccTouchesMode;

// A colour layer with this tag keeps its own opacity when its parent layer fades.
const int kCCLayerColorOwnOpacityTag = 1;

// A screen layer: receives touches, mouse and keyboard input while it is running and its
// switches are on. The left mouse button stands in for touch 0 unless told not to.
class CCLayer : public CCNode,
                public CCTouchDelegate,
                public CCAccelerometerDelegate,
                public CCKeypadDelegate,
                public CCMouseDelegate,
                public CCKeyboardDelegate,
                public CCRGBAProtocol {
 public:
  CCLayer();
  virtual ~CCLayer();
  virtual bool init();
  static CCLayer* create();

  virtual void onEnter();
  virtual void onExit();
  virtual void onEnterTransitionDidFinish();

  // Claims only when claimAllTouches is set and the layer and its parents are visible.
  virtual bool ccTouchBegan(CCTouch* pTouch, CCEvent* pEvent);
  virtual bool ccTouchMoved(CCTouch* pTouch, CCEvent* pEvent);
  virtual void ccTouchEnded(CCTouch* pTouch, CCEvent* pEvent);
  virtual void ccTouchCancelled(CCTouch* pTouch, CCEvent* pEvent);
  virtual bool ccTouchesBegan(CCSet* pTouches, int activeTouches, CCEvent* pEvent);
  virtual void ccTouchesMoved(CCSet* pTouches, int activeTouches, CCEvent* pEvent);
  virtual void ccTouchesEnded(CCSet* pTouches, int activeTouches, CCEvent* pEvent);
  virtual void ccTouchesCancelled(CCSet* pTouches, int activeTouches, CCEvent* pEvent);

  // Mouse as touch: a left press, drag and release become touch id 0 at the mouse location.
  // A layer hidden by itself or by a parent takes no press.
  virtual bool mouseLeftDown(CCMouseEvent* event, CCEvent* pEvent);
  virtual bool mouseLeftDragged(CCMouseEvent* event, CCEvent* pEvent);
  virtual bool mouseLeftUp(CCMouseEvent* event, CCEvent* pEvent);

  virtual void registerWithTouchDispatcher();
  virtual void registerWithMouseDispatcher();

  virtual bool isTouchEnabled() { return m_bTouchEnabled; }
  virtual void setTouchEnabled(bool value);
  virtual void setTouchMode(ccTouchesMode mode);
  virtual int getTouchMode() { return m_eTouchMode; }
  virtual void setTouchPriority(int priority);
  virtual int getTouchPriority() { return m_nTouchPriority; }
  virtual bool isAccelerometerEnabled() { return m_bAccelerometerEnabled; }
  // A running layer with the switch on is the director's accelerometer's delegate.
  virtual void setAccelerometerEnabled(bool value);
  // Governs both the keypad and the keyboard registration.
  virtual bool isKeypadEnabled() { return m_bKeypadEnabled; }
  virtual void setKeypadEnabled(bool value);
  void setMouseTouchEnabled(bool value) { m_bMouseTouchEnabled = value; }
  bool isMouseTouchEnabled() { return m_bMouseTouchEnabled; }
  void setClaimAllTouches(bool value) { m_bClaimAllTouches = value; }
  bool getClaimAllTouches() { return m_bClaimAllTouches; }

  // CCRGBAProtocol: a layer has no colour of its own; its opacity goes down to its children,
  // except those that keep their own (a colour layer tagged kCCLayerColorOwnOpacityTag).
  virtual void setColor(const ccColor3B& color) { CC_UNUSED_PARAM(color); }
  virtual const ccColor3B& getColor(void);
  virtual GLubyte getOpacity(void) { return m_cOpacity; }
  virtual void setOpacity(GLubyte opacity);
  virtual void setOpacityModifyRGB(bool bValue) { CC_UNUSED_PARAM(bValue); }
  virtual bool isOpacityModifyRGB(void) { return false; }

 protected:
  void registerTouchAndMouse();
  void unregisterTouchAndMouse();
  void registerKeypadAndKeyboard();
  void unregisterKeypadAndKeyboard();

  GLubyte m_cOpacity;
  bool m_bTouchEnabled;
  bool m_bAccelerometerEnabled;
  bool m_bKeypadEnabled;
  int m_nTouchPriority;
  ccTouchesMode m_eTouchMode;
  bool m_bMouseTouchEnabled;

 public:
  // Set on layers that must take every touch while shown (modal panels).
  bool m_bClaimAllTouches;
};

NS_CC_END
