#pragma once

#include <map>

#include "CCGeometry.h"
#include "CCKeyboardDispatcher.h"
#include "CCMouseDelegate.h"
#include "CCTouchDelegateProtocol.h"

NS_CC_BEGIN

class CCSet;
class CCEvent;
class CCTouch;
class CCMouseEvent;
class CCKeyboardEvent;

enum ResolutionPolicy {
  kResolutionExactFit,  // stretch to the frame
  kResolutionNoBorder,  // fill the frame, cutting off what overflows
  kResolutionShowAll,   // the whole design area, letterboxed
  kResolutionUnKnown,
};

// The platform-neutral part of the view: frame and design sizes, the viewport,
// and the conversion of window input into engine events.
class CCEGLViewProtocol {
 public:
  static const int kMaxTouches = 5;

  CCEGLViewProtocol();
  virtual ~CCEGLViewProtocol();

  virtual void end() = 0;
  virtual bool isOpenGLReady() = 0;
  virtual void swapBuffers() = 0;
  virtual void setIMEKeyboardState(bool open) { (void)open; }

  virtual const CCSize& getFrameSize() const { return m_obScreenSize; }
  virtual void setFrameSize(float width, float height);
  virtual CCSize getVisibleSize() const;
  virtual CCPoint getVisibleOrigin() const;
  virtual void setDesignResolutionSize(float width, float height, ResolutionPolicy policy);
  const CCSize& getDesignResolutionSize() const { return m_obDesignResolutionSize; }
  ResolutionPolicy getResolutionPolicy() const { return m_eResolutionPolicy; }

  // In design units; the view's scale and viewport offset are applied.
  virtual void setViewPortInPoints(float x, float y, float w, float h);
  virtual void setScissorInPoints(float x, float y, float w, float h);
  const CCRect& getViewPortRect() const { return m_obViewPortRect; }
  float getScaleX() const { return m_fScaleX; }
  float getScaleY() const { return m_fScaleY; }

  void setTouchDelegate(EGLTouchDelegate* delegate) { m_pDelegate = delegate; }
  void setMouseDelegate(EGLMouseDelegate* delegate) { m_pMouseDelegate = delegate; }
  void setKeyboardDelegate(EGLKeyboardDelegate* delegate) { m_pKeyboardDelegate = delegate; }
  EGLTouchDelegate* getTouchDelegate() const { return m_pDelegate; }
  EGLMouseDelegate* getMouseDelegate() const { return m_pMouseDelegate; }
  EGLKeyboardDelegate* getKeyboardDelegate() const { return m_pKeyboardDelegate; }

  // Touches: ids and positions in window pixels.
  virtual void handleTouchesBegin(int num, int ids[], float xs[], float ys[]);
  virtual void handleTouchesMove(int num, int ids[], float xs[], float ys[]);
  virtual void handleTouchesEnd(int num, int ids[], float xs[], float ys[]);
  virtual void handleTouchesCancel(int num, int ids[], float xs[], float ys[]);
  int activeTouchCount() const;

  // Mouse, in window pixels.
  void handleMouseLeftDown(float x, float y);
  void handleMouseMove(float x, float y);
  void handleMouseLeftDrag(float x, float y);
  void handleMouseLeftUp(float x, float y);
  void handleMouseWheel(float d);
  void handleMouseRightDown(float x, float y);
  void handleMouseRightDrag(float x, float y);
  void handleMouseRightUp(float x, float y);
  void handleMouseMiddleDown(float x, float y);
  void handleMouseMiddleDrag(float x, float y);
  void handleMouseMiddleUp(float x, float y);
  void handleMouseScroll(float dx, float dy);
  void handleMouseEntered(float x, float y);
  void handleMouseExited(float x, float y);

  // Keys: a Windows-style virtual-key code and the modifier mask (CTRL 2, SHIFT 8, ALT 16).
  void handleKeyDown(int keyCode, int modifiers);
  void handleKeyUp(int keyCode, int modifiers);
  void handleModifiersChanged(int modifiers);

  // A window point (x, y from the top) lies in the viewport (an empty viewport holds all).
  bool isPointInViewport(float x, float y) const;

 protected:
  CCPoint toDesign(float x, float y) const;
  void getSetOfTouchesEndOrCancel(CCSet& set, int num, int ids[], float xs[], float ys[]);
  // Ends the given touches and reports them through report (ended or cancelled).
  void finishTouches(int num, int ids[], float xs[], float ys[],
                     void (EGLTouchDelegate::*report)(CCSet*, int, CCEvent*));

  EGLTouchDelegate* m_pDelegate = nullptr;
  EGLMouseDelegate* m_pMouseDelegate = nullptr;
  EGLKeyboardDelegate* m_pKeyboardDelegate = nullptr;

  CCSize m_obScreenSize;
  CCSize m_obDesignResolutionSize;
  CCRect m_obViewPortRect;
  float m_fScaleX = 1.0f;
  float m_fScaleY = 1.0f;
  ResolutionPolicy m_eResolutionPolicy = kResolutionUnKnown;

  CCTouch* m_pTouches[kMaxTouches] = {};
  unsigned int m_uIndexBitsUsed = 0;
  std::map<int, int> m_touchIdToSlot;
};

NS_CC_END
