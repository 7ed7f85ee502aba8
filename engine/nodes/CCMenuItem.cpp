#include "CCMenuItem.h"

#include "CCArray.h"
#include "CCLabelBMFont.h"
#include "CCSprite.h"

NS_CC_BEGIN

// ---- CCMenuItem ----

CCMenuItem::~CCMenuItem() {}

CCMenuItem* CCMenuItem::create() { return create(nullptr, nullptr); }

CCMenuItem* CCMenuItem::create(CCObject* rec, SEL_MenuHandler selector) {
  CCMenuItem* p = new CCMenuItem();
  return ccAutoreleaseIfInit(p, p->initWithTarget(rec, selector));
}

bool CCMenuItem::initWithTarget(CCObject* rec, SEL_MenuHandler selector) {
  if (!CCNode::init()) return false;
  setAnchorPoint(CCPoint(0.5f, 0.5f));
  m_pListener = rec;
  m_pfnSelector = selector;
  m_bIsEnabled = true;
  m_bIsSelected = false;
  return true;
}

CCRect CCMenuItem::rect() {
  const CCSize& s = getContentSize();
  const CCPoint& a = getAnchorPoint();
  return CCRect(getPosition().x - s.width * a.x, getPosition().y - s.height * a.y, s.width,
                s.height);
}

void CCMenuItem::activate() {
  if (m_bIsEnabled && m_pListener && m_pfnSelector) (m_pListener->*m_pfnSelector)(this);
}

void CCMenuItem::selected() { m_bIsSelected = true; }

void CCMenuItem::unselected() { m_bIsSelected = false; }

void CCMenuItem::setTarget(CCObject* rec, SEL_MenuHandler selector) {
  m_pListener = rec;
  m_pfnSelector = selector;
}

// ---- CCMenuItemSprite ----

CCMenuItemSprite* CCMenuItemSprite::create(CCNode* normalSprite, CCNode* selectedSprite,
                                           CCNode* disabledSprite) {
  return create(normalSprite, selectedSprite, disabledSprite, nullptr, nullptr);
}

CCMenuItemSprite* CCMenuItemSprite::create(CCNode* normalSprite, CCNode* selectedSprite,
                                           CCNode* disabledSprite, CCObject* target,
                                           SEL_MenuHandler selector) {
  CCMenuItemSprite* p = new CCMenuItemSprite();
  return ccAutoreleaseIfInit(p, p->initWithNormalSprite(normalSprite, selectedSprite, disabledSprite, target, selector));
}

bool CCMenuItemSprite::initWithNormalSprite(CCNode* normalSprite, CCNode* selectedSprite,
                                            CCNode* disabledSprite, CCObject* target,
                                            SEL_MenuHandler selector) {
  if (!initWithTarget(target, selector)) return false;
  setNormalImage(normalSprite);
  setSelectedImage(selectedSprite);
  setDisabledImage(disabledSprite);
  return true;
}

namespace {

// Replaces one of the item's image children.
void replaceImage(CCNode* item, CCNode*& slot, CCNode* image) {
  if (slot == image) return;
  if (image) {
    item->addChild(image);
    image->setAnchorPoint(CCPoint(0, 0));
  }
  if (slot) item->removeChild(slot, true);
  slot = image;
}

}  // namespace

void CCMenuItemSprite::setNormalImage(CCNode* pImage) {
  replaceImage(this, m_pNormalImage, pImage);
  if (m_pNormalImage) setContentSize(m_pNormalImage->getContentSize());
  updateImagesVisibility();
}

void CCMenuItemSprite::setSelectedImage(CCNode* pImage) {
  replaceImage(this, m_pSelectedImage, pImage);
  updateImagesVisibility();
}

void CCMenuItemSprite::setDisabledImage(CCNode* pImage) {
  replaceImage(this, m_pDisabledImage, pImage);
  updateImagesVisibility();
}

void CCMenuItemSprite::updateImagesVisibility() {
  if (m_bIsEnabled) {
    if (m_pNormalImage) m_pNormalImage->setVisible(true);
    if (m_pSelectedImage) m_pSelectedImage->setVisible(false);
    if (m_pDisabledImage) m_pDisabledImage->setVisible(false);
  } else if (m_pDisabledImage) {
    if (m_pNormalImage) m_pNormalImage->setVisible(false);
    if (m_pSelectedImage) m_pSelectedImage->setVisible(false);
    m_pDisabledImage->setVisible(true);
  } else {
    if (m_pNormalImage) m_pNormalImage->setVisible(true);
    if (m_pSelectedImage) m_pSelectedImage->setVisible(false);
  }
}

void CCMenuItemSprite::selected() {
  CCMenuItem::selected();
  if (m_pDisabledImage) m_pDisabledImage->setVisible(false);
  if (m_pSelectedImage) {
    if (m_pNormalImage) m_pNormalImage->setVisible(false);
    m_pSelectedImage->setVisible(true);
  } else if (m_pNormalImage) {
    m_pNormalImage->setVisible(true);
  }
}

void CCMenuItemSprite::unselected() {
  CCMenuItem::unselected();
  if (m_pNormalImage) m_pNormalImage->setVisible(true);
  if (m_pSelectedImage) m_pSelectedImage->setVisible(false);
  if (m_pDisabledImage) m_pDisabledImage->setVisible(false);
}

void CCMenuItemSprite::setEnabled(bool bEnabled) {
  if (m_bIsEnabled == bEnabled) return;
  CCMenuItem::setEnabled(bEnabled);
  updateImagesVisibility();
}

void CCMenuItemSprite::switchLabelFonts(bool selected) {
  CCArray* children = getChildren();
  if (!children) return;
  for (unsigned int i = 0; i < children->count(); ++i) {
    CCLabelBMFont* label = dynamic_cast<CCLabelBMFont*>(children->objectAtIndex(i));
    if (!label || label->getOriginalFntFile().empty()) continue;
    if (selected) {
      const std::string& original = label->getOriginalFntFile();
      std::string font = original.substr(0, original.find('.')) + "-selected.fnt";
      label->setFntFile(font.c_str());
    } else {
      label->restoreOriginalFntFile();
    }
  }
}

static CCRGBAProtocol* rgba(CCNode* n) { return dynamic_cast<CCRGBAProtocol*>(n); }

void CCMenuItemSprite::setColor(const ccColor3B& color) {
  for (CCNode* n : {m_pNormalImage, m_pSelectedImage, m_pDisabledImage})
    if (rgba(n)) rgba(n)->setColor(color);
}

const ccColor3B& CCMenuItemSprite::getColor() {
  static const ccColor3B white = {255, 255, 255};
  return rgba(m_pNormalImage) ? rgba(m_pNormalImage)->getColor() : white;
}

GLubyte CCMenuItemSprite::getOpacity() {
  return rgba(m_pNormalImage) ? rgba(m_pNormalImage)->getOpacity() : 255;
}

void CCMenuItemSprite::setOpacity(GLubyte opacity) {
  for (CCNode* n : {m_pNormalImage, m_pSelectedImage, m_pDisabledImage})
    if (rgba(n)) rgba(n)->setOpacity(opacity);
}

void CCMenuItemSprite::setOpacityModifyRGB(bool bValue) {
  for (CCNode* n : {m_pNormalImage, m_pSelectedImage, m_pDisabledImage})
    if (rgba(n)) rgba(n)->setOpacityModifyRGB(bValue);
}

bool CCMenuItemSprite::isOpacityModifyRGB() {
  return rgba(m_pNormalImage) ? rgba(m_pNormalImage)->isOpacityModifyRGB() : false;
}

// ---- CCMenuItemImage ----

CCMenuItemImage* CCMenuItemImage::create() {
  CCMenuItemImage* p = new CCMenuItemImage();
  return ccAutoreleaseIfInit(p, p->init());
}

CCMenuItemImage* CCMenuItemImage::create(const char* normalImage, const char* selectedImage) {
  return create(normalImage, selectedImage, nullptr, nullptr, nullptr);
}

CCMenuItemImage* CCMenuItemImage::create(const char* normalImage, const char* selectedImage,
                                         const char* disabledImage, CCObject* target,
                                         SEL_MenuHandler selector) {
  CCMenuItemImage* p = new CCMenuItemImage();
  return ccAutoreleaseIfInit(p, p->initWithNormalImage(normalImage, selectedImage, disabledImage, target, selector));
}

bool CCMenuItemImage::init() {
  return initWithNormalImage(nullptr, nullptr, nullptr, nullptr, nullptr);
}

bool CCMenuItemImage::initWithNormalImage(const char* normalImage, const char* selectedImage,
                                          const char* disabledImage, CCObject* target,
                                          SEL_MenuHandler selector) {
  CCNode* normal = normalImage ? CCSprite::create(normalImage) : nullptr;
  CCNode* sel = selectedImage ? CCSprite::create(selectedImage) : nullptr;
  CCNode* disabled = disabledImage ? CCSprite::create(disabledImage) : nullptr;
  return initWithNormalSprite(normal, sel, disabled, target, selector);
}

void CCMenuItemImage::setNormalSpriteFrame(CCSpriteFrame* frame) {
  if (frame) setNormalImage(CCSprite::createWithSpriteFrame(frame));
}

void CCMenuItemImage::setSelectedSpriteFrame(CCSpriteFrame* frame) {
  if (frame) setSelectedImage(CCSprite::createWithSpriteFrame(frame));
}

void CCMenuItemImage::setDisabledSpriteFrame(CCSpriteFrame* frame) {
  if (frame) setDisabledImage(CCSprite::createWithSpriteFrame(frame));
}

void CCMenuItemImage::selected() {
  // A toggle that is off shows no pressed state until it is activated.
  if (toggle && !on) {
    unselected();
    return;
  }
  CCMenuItemSprite::selected();
  if (m_bIsEnabled) switchLabelFonts(true);
}

void CCMenuItemImage::unselected() {
  if (toggle && on) return;
  CCMenuItemSprite::unselected();
  if (m_bIsEnabled) switchLabelFonts(false);
}

void CCMenuItemImage::activate() {
  // The handler may drop the last other reference to this item (a screen rebuilt).
  retain();
  if (toggle) {
    on = !on;
    if (on) selected();
    else unselected();
  }
  CCMenuItemSprite::activate();
  if (m_bIsEnabled) stopAllActions();
  release();
}

NS_CC_END
