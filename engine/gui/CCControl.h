#pragma once

#include <vector>

#include "CCBSelectorResolver.h"
#include "CCLayer.h"

namespace cocos2d {
namespace extension {

typedef unsigned int CCControlEvent;
enum {
  CCControlEventTouchDown = 1 << 0,
  CCControlEventTouchDragInside = 1 << 1,
  CCControlEventTouchDragOutside = 1 << 2,
  CCControlEventTouchDragEnter = 1 << 3,
  CCControlEventTouchDragExit = 1 << 4,
  CCControlEventTouchUpInside = 1 << 5,
  CCControlEventTouchUpOutside = 1 << 6,
  CCControlEventTouchCancel = 1 << 7,
  CCControlEventValueChanged = 1 << 8,
};
#define kControlEventTotalNumber 9

typedef unsigned int CCControlState;
enum {
  CCControlStateNormal = 1 << 0,
  CCControlStateHighlighted = 1 << 1,
  CCControlStateDisabled = 1 << 2,
  CCControlStateSelected = 1 << 3,
};

// A layer that turns touches into control events (pressed, dragged, released inside or
// outside) and sends each to the targets registered for it.
class CCControl : public CCLayer {
 public:
  CCControl();
  virtual ~CCControl();
  static CCControl* create();
  virtual bool init();

  virtual void setEnabled(bool bEnabled);
  virtual bool isEnabled() { return m_bEnabled; }
  virtual void setSelected(bool bSelected);
  virtual bool isSelected() { return m_bSelected; }
  virtual void setHighlighted(bool bHighlighted);
  virtual bool isHighlighted() { return m_bHighlighted; }
  CCControlState getState() const { return m_eState; }

  void addTargetWithActionForControlEvents(CCObject* target, SEL_CCControlHandler action,
                                           CCControlEvent controlEvents);
  void removeTargetWithActionForControlEvents(CCObject* target, SEL_CCControlHandler action,
                                              CCControlEvent controlEvents);
  virtual void sendActionsForControlEvents(CCControlEvent controlEvents);

  virtual void registerWithTouchDispatcher();
  // Where a touch is in this control's space.
  virtual CCPoint getTouchLocation(CCTouch* touch);
  virtual bool isTouchInside(CCTouch* touch);
  virtual void needsLayout() {}

 protected:
  struct Invocation {
    CCObject* target;
    SEL_CCControlHandler action;
    CCControlEvent events;
  };
  void updateState();

  bool m_bEnabled = true;
  bool m_bSelected = false;
  bool m_bHighlighted = false;
  CCControlState m_eState = CCControlStateNormal;
  std::vector<Invocation> m_invocations;
};

}  // namespace extension
}  // namespace cocos2d
