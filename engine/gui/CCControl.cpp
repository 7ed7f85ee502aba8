#include "CCControl.h"

#include "CCMenu.h"
#include "CCTouch.h"
#include "CCTouchDispatcher.h"

namespace cocos2d {
namespace extension {

CCControl::CCControl() {}

CCControl::~CCControl() {}

CCControl* CCControl::create() {
  CCControl* p = new CCControl();
  return ccAutoreleaseIfInit(p, p->init());
}

bool CCControl::init() {
  if (!CCLayer::init()) return false;
  m_nTouchPriority = kCCMenuHandlerPriority;
  m_eTouchMode = kCCTouchesOneByOne;
  m_bEnabled = true;
  m_bSelected = false;
  m_bHighlighted = false;
  updateState();
  return true;
}

void CCControl::registerWithTouchDispatcher() {
  CCTouchDispatcher::sharedDispatcher()->addTargetedDelegate(this, m_nTouchPriority, true);
}

void CCControl::updateState() {
  if (!m_bEnabled) m_eState = CCControlStateDisabled;
  else if (m_bHighlighted) m_eState = CCControlStateHighlighted;
  else if (m_bSelected) m_eState = CCControlStateSelected;
  else m_eState = CCControlStateNormal;
}

void CCControl::setEnabled(bool bEnabled) {
  m_bEnabled = bEnabled;
  updateState();
  needsLayout();
}

void CCControl::setSelected(bool bSelected) {
  m_bSelected = bSelected;
  updateState();
  needsLayout();
}

void CCControl::setHighlighted(bool bHighlighted) {
  m_bHighlighted = bHighlighted;
  updateState();
  needsLayout();
}

void CCControl::addTargetWithActionForControlEvents(CCObject* target,
                                                    SEL_CCControlHandler action,
                                                    CCControlEvent controlEvents) {
  if (!action) return;
  m_invocations.push_back({target, action, controlEvents});
}

void CCControl::removeTargetWithActionForControlEvents(CCObject* target,
                                                       SEL_CCControlHandler action,
                                                       CCControlEvent controlEvents) {
  for (auto it = m_invocations.begin(); it != m_invocations.end();) {
    if ((!target || it->target == target) && (!action || it->action == action)) {
      it->events &= ~controlEvents;
      if (it->events == 0) {
        it = m_invocations.erase(it);
        continue;
      }
    }
    ++it;
  }
}

void CCControl::sendActionsForControlEvents(CCControlEvent controlEvents) {
  // A handler may add or remove targets, or drop the control: work on a copy.
  retain();
  std::vector<Invocation> calls = m_invocations;
  for (const Invocation& inv : calls) {
    if (!(inv.events & controlEvents)) continue;
    for (unsigned int bit = 0; bit < kControlEventTotalNumber; ++bit) {
      CCControlEvent e = 1u << bit;
      if ((inv.events & e) && (controlEvents & e)) {
        CCObject* target = inv.target ? inv.target : this;
        (target->*inv.action)(this, e);
      }
    }
  }
  release();
}

CCPoint CCControl::getTouchLocation(CCTouch* touch) {
  return convertToNodeSpace(touch->getLocation());
}

bool CCControl::isTouchInside(CCTouch* touch) {
  CCPoint p = getParent() ? getParent()->convertToNodeSpace(touch->getLocation())
                          : touch->getLocation();
  CCRect box = boundingBox();
  return p.x >= box.origin.x && p.y >= box.origin.y && p.x <= box.origin.x + box.size.width &&
         p.y <= box.origin.y + box.size.height;
}

}  // namespace extension
}  // namespace cocos2d
