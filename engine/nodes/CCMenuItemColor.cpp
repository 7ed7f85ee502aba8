#include "CCMenuItemColor.h"

#include "CCLayerColor.h"

NS_CC_BEGIN

CCMenuItemColor* CCMenuItemColor::create() {
  CCMenuItemColor* p = new CCMenuItemColor();
  return ccAutoreleaseIfInit(p, p->init());
}

bool CCMenuItemColor::init() {
  if (!initWithTarget(nullptr, nullptr)) return false;
  m_pColorLayer = CCLayerColor::create();
  if (!m_pColorLayer) return false;
  m_pColorLayer->setPosition(CCPoint(0, 0));
  m_pColorLayer->setAnchorPoint(CCPoint(0, 0));
  addChild(m_pColorLayer);
  return true;
}

void CCMenuItemColor::apply(const ccColor4B& c) {
  if (!m_pColorLayer) return;
  m_pColorLayer->setColor(ccc3(c.r, c.g, c.b));
  m_pColorLayer->setOpacity(c.a);
}

void CCMenuItemColor::selected() {
  if (toggle && !on) {
    unselected();
    return;
  }
  CCMenuItem::selected();
  apply(m_selectedColor);
}

void CCMenuItemColor::unselected() {
  if (toggle && on) return;
  CCMenuItem::unselected();
  apply(m_normalColor);
}

void CCMenuItemColor::activate() {
  retain();
  if (toggle) {
    on = !on;
    if (on) selected();
    else unselected();
  }
  CCMenuItem::activate();
  release();
}

void CCMenuItemColor::setNormalColor(const ccColor4B& color) {
  m_normalColor = color;
  if (!m_bIsSelected) apply(color);
}

void CCMenuItemColor::setSelectedColor(const ccColor4B& color) {
  m_selectedColor = color;
  if (m_bIsSelected) apply(color);
}

void CCMenuItemColor::setContentSize(const CCSize& size) {
  CCMenuItem::setContentSize(size);
  if (m_pColorLayer) m_pColorLayer->setContentSize(size);
}

NS_CC_END
