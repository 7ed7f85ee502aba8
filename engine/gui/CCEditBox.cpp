#include "CCEditBox.h"

#include "CCMouseDelegate.h"
#include "CCScale9Sprite.h"
#include "CCTouch.h"
#include "CCTouchDispatcher.h"

namespace cocos2d {
namespace extension {

CCEditBox::CCEditBox() {}

CCEditBox::~CCEditBox() { delete m_pEditBoxImpl; }

CCEditBox* CCEditBox::create(const CCSize& size, CCScale9Sprite* pNormal9SpriteBg,
                             CCScale9Sprite* pPressed9SpriteBg,
                             CCScale9Sprite* pDisabled9SpriteBg) {
  CCEditBox* p = new CCEditBox();
  if (p->initWithSizeAndBackgroundSprite(size, pNormal9SpriteBg)) {
    if (pPressed9SpriteBg)
      p->setBackgroundSpriteForState(pPressed9SpriteBg, CCControlStateHighlighted);
    if (pDisabled9SpriteBg)
      p->setBackgroundSpriteForState(pDisabled9SpriteBg, CCControlStateDisabled);
    p->autorelease();
    return p;
  }
  delete p;
  return nullptr;
}

bool CCEditBox::initWithSizeAndBackgroundSprite(const CCSize& size, CCScale9Sprite* bg) {
  if (!CCControlButton::init()) return false;
  if (bg) setBackgroundSpriteForState(bg, CCControlStateNormal);
  setZoomOnTouchDown(false);
  setPreferredSize(size);
  m_pEditBoxImpl = __createSystemEditBox(this);
  if (!m_pEditBoxImpl || !m_pEditBoxImpl->initWithSize(size)) return false;
  addTargetWithActionForControlEvents(
      this, cccontrol_selector(CCEditBox::touchDownAction),
      CCControlEventTouchUpInside | CCControlEventTouchUpOutside);
  return true;
}

bool CCEditBox::tappable() {
  return isVisible() && (!getParent() || getParent()->isVisibleInHierarchy());
}

void CCEditBox::touchDownAction(CCObject*, CCControlEvent controlEvent) {
  if (!m_pEditBoxImpl || !tappable()) return;
  if (controlEvent == CCControlEventTouchUpInside) m_pEditBoxImpl->openKeyboard();
  else if (controlEvent == CCControlEventTouchUpOutside) m_pEditBoxImpl->closeKeyboard();
}

void CCEditBox::registerWithTouchDispatcher() {
  CCTouchDispatcher::sharedDispatcher()->addTargetedDelegate(this, m_nTouchPriority, false);
}

bool CCEditBox::ccTouchBegan(CCTouch* touch, CCEvent* event) {
  m_trackingOutside = false;
  if (CCControlButton::ccTouchBegan(touch, event)) return true;
  // A tap elsewhere closes the box when it is released; follow it without taking it.
  if (tappable() && !isTouchInside(touch)) {
    m_trackingOutside = true;
    return true;
  }
  return false;
}

void CCEditBox::ccTouchEnded(CCTouch* touch, CCEvent* event) {
  if (m_trackingOutside) {
    m_trackingOutside = false;
    if (!isTouchInside(touch)) touchDownAction(this, CCControlEventTouchUpOutside);
    return;
  }
  CCControlButton::ccTouchEnded(touch, event);
}

bool CCEditBox::mouseLeftDown(CCMouseEvent* event, CCEvent* pEvent) {
  m_mousePressOutside = false;
  if (!event || !isTouchEnabled()) return false;
  CCTouch touch;
  CCPoint v = event->getLocationInView();
  touch.setTouchInfo(0, v.x, v.y);
  if (isTouchInside(&touch)) return CCLayer::mouseLeftDown(event, pEvent);
  // Not claimed: the press goes on to whatever is under it; the release still comes here.
  m_mousePressOutside = tappable();
  return false;
}

bool CCEditBox::mouseLeftUp(CCMouseEvent* event, CCEvent* pEvent) {
  if (m_mousePressOutside) {
    m_mousePressOutside = false;
    if (!event) return false;
    CCTouch touch;
    CCPoint v = event->getLocationInView();
    touch.setTouchInfo(0, v.x, v.y);
    if (!isTouchInside(&touch)) touchDownAction(this, CCControlEventTouchUpOutside);
    return false;
  }
  return CCLayer::mouseLeftUp(event, pEvent);
}

void CCEditBox::setDelegate(CCEditBoxDelegate* pDelegate) {
  if (m_pEditBoxImpl) m_pEditBoxImpl->setDelegate(pDelegate);
}

CCEditBoxDelegate* CCEditBox::getDelegate() {
  return m_pEditBoxImpl ? m_pEditBoxImpl->getDelegate() : nullptr;
}

void CCEditBox::setText(const char* pText) {
  if (pText && m_pEditBoxImpl) m_pEditBoxImpl->setText(pText);
}

const char* CCEditBox::getText() { return m_pEditBoxImpl ? m_pEditBoxImpl->getText() : ""; }

void CCEditBox::setFontColor(const ccColor3B& color) {
  if (m_pEditBoxImpl) m_pEditBoxImpl->setFontColor(color);
}

void CCEditBox::setPlaceHolder(const char* pText) {
  if (pText && m_pEditBoxImpl) m_pEditBoxImpl->setPlaceHolder(pText);
}

void CCEditBox::setPlaceholderFontColor(const ccColor3B& color) {
  if (m_pEditBoxImpl) m_pEditBoxImpl->setPlaceholderFontColor(color);
}

void CCEditBox::setInputMode(EditBoxInputMode inputMode) {
  if (m_pEditBoxImpl) m_pEditBoxImpl->setInputMode(inputMode);
}

void CCEditBox::setInputFlag(EditBoxInputFlag inputFlag) {
  if (m_pEditBoxImpl) m_pEditBoxImpl->setInputFlag(inputFlag);
}

void CCEditBox::setMaxLength(int maxLength) {
  if (m_pEditBoxImpl) m_pEditBoxImpl->setMaxLength(maxLength);
}

int CCEditBox::getMaxLength() { return m_pEditBoxImpl ? m_pEditBoxImpl->getMaxLength() : -1; }

void CCEditBox::setReturnType(KeyboardReturnType returnType) {
  if (m_pEditBoxImpl) m_pEditBoxImpl->setReturnType(returnType);
}

void CCEditBox::setPosition(const CCPoint& pos) {
  CCControlButton::setPosition(pos);
  if (m_pEditBoxImpl) m_pEditBoxImpl->setPosition(pos);
}

void CCEditBox::setVisible(bool visible) {
  CCControlButton::setVisible(visible);
  if (m_pEditBoxImpl) m_pEditBoxImpl->setVisible(visible);
}

void CCEditBox::setContentSize(const CCSize& size) {
  CCControlButton::setContentSize(size);
  if (m_pEditBoxImpl) m_pEditBoxImpl->setContentSize(size);
}

void CCEditBox::setAnchorPoint(const CCPoint& anchorPoint) {
  CCControlButton::setAnchorPoint(anchorPoint);
  if (m_pEditBoxImpl) m_pEditBoxImpl->setAnchorPoint(anchorPoint);
}

void CCEditBox::visit() {
  CCControlButton::visit();
  if (m_pEditBoxImpl) m_pEditBoxImpl->visit();
}

void CCEditBox::onEnter() {
  CCControlButton::onEnter();
  if (m_pEditBoxImpl) m_pEditBoxImpl->onEnter();
}

}  // namespace extension
}  // namespace cocos2d
