#include "CCControlButton.h"

#include <algorithm>

#include "CCActionInterval.h"
#include "CCLabelTTF.h"
#include "CCScale9Sprite.h"
#include "CCSpriteFrame.h"

namespace cocos2d {
namespace extension {

namespace {
const int kZoomActionTag = 0x0CCB0001;
}  // namespace
namespace {
}  // namespace

CCControlButton::CCControlButton() {}

CCControlButton::~CCControlButton() {
  for (auto& kv : m_looks) CC_SAFE_RELEASE(kv.second.background);
  CC_SAFE_RELEASE(m_titleLabel);
}

CCControlButton* CCControlButton::create() {
  CCControlButton* p = new CCControlButton();
  return ccAutoreleaseIfInit(p, p->init());
}

CCControlButton* CCControlButton::create(const char* title, const char* fontName, float size) {
  CCControlButton* p = create();
  if (!p) return nullptr;
  p->setTitleTTFForState(fontName, CCControlStateNormal);
  p->setTitleTTFSizeForState(size, CCControlStateNormal);
  p->setTitleForState(title, CCControlStateNormal);
  return p;
}

bool CCControlButton::init() {
  if (!CCControl::init()) return false;
  ignoreAnchorPointForPosition(false);
  setAnchorPoint(CCPoint(0.5f, 0.5f));
  setTouchEnabled(true);
  m_titleLabel = CCLabelTTF::create("", "DejaVuSans", 12);
  if (!m_titleLabel) return false;
  m_titleLabel->retain();
  addChild(m_titleLabel, 1);
  look(CCControlStateNormal);
  needsLayout();
  return true;
}

void CCControlButton::setTitleForState(const char* title, CCControlState state) {
  StateLook& l = look(state);
  l.title = title ? title : "";
  l.hasTitle = true;
  needsLayout();
}

const char* CCControlButton::getTitleForState(CCControlState state) {
  auto it = m_looks.find(state);
  if (it != m_looks.end() && it->second.hasTitle) return it->second.title.c_str();
  return normal().title.c_str();
}

void CCControlButton::setTitleColorForState(const ccColor3B& color, CCControlState state) {
  look(state).color = color;
  look(state).hasColor = true;
  needsLayout();
}

void CCControlButton::setTitleTTFForState(const char* fontName, CCControlState state) {
  look(state).font = fontName ? fontName : "";
  needsLayout();
}

void CCControlButton::setTitleTTFSizeForState(float size, CCControlState state) {
  look(state).fontSize = size;
  needsLayout();
}

void CCControlButton::setBackgroundSpriteForState(CCScale9Sprite* sprite, CCControlState state) {
  StateLook& l = look(state);
  if (l.background == sprite) return;
  if (l.background) {
    if (l.background->getParent() == this) removeChild(l.background, true);
    l.background->release();
  }
  l.background = sprite;
  if (sprite) {
    sprite->retain();
    sprite->setVisible(false);
    sprite->setAnchorPoint(CCPoint(0.5f, 0.5f));
    addChild(sprite, 0);
    if (m_preferredSize.width > 0 || m_preferredSize.height > 0)
      sprite->setPreferredSize(m_preferredSize);
  }
  needsLayout();
}

void CCControlButton::setBackgroundSpriteFrameForState(CCSpriteFrame* frame,
                                                       CCControlState state) {
  if (frame) setBackgroundSpriteForState(CCScale9Sprite::createWithSpriteFrame(frame), state);
}

void CCControlButton::setPreferredSize(const CCSize& size) {
  m_preferredSize = size;
  for (auto& kv : m_looks)
    if (kv.second.background) kv.second.background->setPreferredSize(size);
  needsLayout();
}

void CCControlButton::setLabelAnchorPoint(const CCPoint& p) {
  m_labelAnchorPoint = p;
  needsLayout();
}

void CCControlButton::needsLayout() {
  if (!m_titleLabel || m_layingOut) return;
  m_layingOut = true;
  CCControlState state = m_eState;
  auto it = m_looks.find(state);
  const StateLook* l = it != m_looks.end() ? &it->second : &normal();
  const StateLook& n = normal();
  m_titleLabel->setFontName((!l->font.empty() ? l->font : n.font.empty() ? "DejaVuSans" : n.font)
                                .c_str());
  float fontSize = l->fontSize > 0 ? l->fontSize : (n.fontSize > 0 ? n.fontSize : 12);
  m_titleLabel->setFontSize(fontSize);
  m_titleLabel->setString(getTitleForState(state));
  m_titleLabel->setColor(l->hasColor ? l->color : n.color);
  m_titleLabel->setAnchorPoint(m_labelAnchorPoint);

  CCScale9Sprite* bg = l->background ? l->background : n.background;
  for (auto& kv : m_looks)
    if (kv.second.background) kv.second.background->setVisible(false);
  m_currentBackground = bg;

  CCSize title = m_titleLabel->getContentSize();
  CCSize size = title;
  if (m_preferredSize.width > 0 || m_preferredSize.height > 0) {
    size.width = std::max(size.width, m_preferredSize.width);
    size.height = std::max(size.height, m_preferredSize.height);
  }
  if (bg) {
    bg->setVisible(true);
    bg->setPreferredSize(size);
  }
  setContentSize(size);
  m_titleLabel->setPosition(CCPoint(size.width / 2, size.height / 2));
  if (bg) bg->setPosition(CCPoint(size.width / 2, size.height / 2));
  m_layingOut = false;
}

void CCControlButton::setHighlighted(bool enabled) {
  CCControl::setHighlighted(enabled);
  stopActionByTag(kZoomActionTag);
  if (m_zoomOnTouchDown && m_bEnabled) {
    CCAction* zoom = CCScaleTo::create(0.05f, enabled ? 1.1f : 1.0f);
    zoom->setTag(kZoomActionTag);
    runAction(zoom);
  }
}

bool CCControlButton::ccTouchBegan(CCTouch* touch, CCEvent*) {
  if (!isTouchInside(touch) || !m_bEnabled || !isVisibleInHierarchy()) return false;
  m_isPushed = true;
  setHighlighted(true);
  sendActionsForControlEvents(CCControlEventTouchDown);
  return true;
}

bool CCControlButton::ccTouchMoved(CCTouch* touch, CCEvent*) {
  if (!m_bEnabled || !m_isPushed || m_bSelected) {
    if (m_bHighlighted) setHighlighted(false);
    return false;
  }
  bool inside = isTouchInside(touch);
  if (inside && !m_bHighlighted) {
    setHighlighted(true);
    sendActionsForControlEvents(CCControlEventTouchDragEnter);
  } else if (inside) {
    sendActionsForControlEvents(CCControlEventTouchDragInside);
  } else if (m_bHighlighted) {
    setHighlighted(false);
    sendActionsForControlEvents(CCControlEventTouchDragExit);
  } else {
    sendActionsForControlEvents(CCControlEventTouchDragOutside);
  }
  return false;
}

void CCControlButton::ccTouchEnded(CCTouch* touch, CCEvent*) {
  if (!m_isPushed) return;
  m_isPushed = false;
  setHighlighted(false);
  sendActionsForControlEvents(isTouchInside(touch) ? CCControlEventTouchUpInside
                                                   : CCControlEventTouchUpOutside);
}

void CCControlButton::ccTouchCancelled(CCTouch*, CCEvent*) {
  if (!m_isPushed) return;
  m_isPushed = false;
  setHighlighted(false);
  sendActionsForControlEvents(CCControlEventTouchCancel);
}

}  // namespace extension
}  // namespace cocos2d
