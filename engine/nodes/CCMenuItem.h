#pragma once

#include "CCNode.h"
#include "CCProtocols.h"

NS_CC_BEGIN

class CCSpriteFrame;

// A button of a CCMenu: pressed (selected), released (unselected) and fired (activate), which
// calls its target's selector while enabled.
class CCMenuItem : public CCNode {
 public:
  CCMenuItem() {}
  virtual ~CCMenuItem();
  static CCMenuItem* create();
  static CCMenuItem* create(CCObject* rec, SEL_MenuHandler selector);
  bool initWithTarget(CCObject* rec, SEL_MenuHandler selector);

  // The item's area in its parent's space.
  CCRect rect();
  virtual void activate();
  virtual void selected();
  virtual void unselected();
  virtual bool isEnabled() { return m_bIsEnabled; }
  virtual void setEnabled(bool value) { m_bIsEnabled = value; }
  virtual bool isSelected() { return m_bIsSelected; }
  void setTarget(CCObject* rec, SEL_MenuHandler selector);

 protected:
  bool m_bIsSelected = false;
  bool m_bIsEnabled = false;
  CCObject* m_pListener = nullptr;
  SEL_MenuHandler m_pfnSelector = nullptr;
};

// An item drawn with nodes: a normal, a selected (pressed) and a disabled one.
class CCMenuItemSprite : public CCMenuItem, public CCRGBAProtocol {
 public:
  CCMenuItemSprite() {}
  static CCMenuItemSprite* create(CCNode* normalSprite, CCNode* selectedSprite,
                                  CCNode* disabledSprite = nullptr);
  static CCMenuItemSprite* create(CCNode* normalSprite, CCNode* selectedSprite,
                                  CCNode* disabledSprite, CCObject* target,
                                  SEL_MenuHandler selector);
  bool initWithNormalSprite(CCNode* normalSprite, CCNode* selectedSprite,
                            CCNode* disabledSprite, CCObject* target, SEL_MenuHandler selector);

  CCNode* getNormalImage() { return m_pNormalImage; }
  void setNormalImage(CCNode* pImage);
  CCNode* getSelectedImage() { return m_pSelectedImage; }
  void setSelectedImage(CCNode* pImage);
  CCNode* getDisabledImage() { return m_pDisabledImage; }
  void setDisabledImage(CCNode* pImage);

  virtual void selected();
  virtual void unselected();
  virtual void setEnabled(bool bEnabled);

  // CCRGBAProtocol: applied to all images.
  virtual void setColor(const ccColor3B& color);
  virtual const ccColor3B& getColor();
  virtual GLubyte getOpacity();
  virtual void setOpacity(GLubyte opacity);
  virtual void setOpacityModifyRGB(bool bValue);
  virtual bool isOpacityModifyRGB();

 protected:
  // Shows the image for the current state.
  void updateImagesVisibility();
  // Sets every direct bitmap-font label child to its selected font, or back.
  void switchLabelFonts(bool selected);

  CCNode* m_pNormalImage = nullptr;
  CCNode* m_pSelectedImage = nullptr;
  CCNode* m_pDisabledImage = nullptr;
};

// An item drawn with images. It may act as a toggle: each activation flips "on", and an item
// that is on keeps its pressed look. Pressing it switches its caption labels to the
// "-selected" variant of their original font.
class CCMenuItemImage : public CCMenuItemSprite {
 public:
  CCMenuItemImage() {}
  static CCMenuItemImage* create();
  static CCMenuItemImage* create(const char* normalImage, const char* selectedImage);
  static CCMenuItemImage* create(const char* normalImage, const char* selectedImage,
                                 const char* disabledImage, CCObject* target,
                                 SEL_MenuHandler selector);
  bool init();
  bool initWithNormalImage(const char* normalImage, const char* selectedImage,
                           const char* disabledImage, CCObject* target, SEL_MenuHandler selector);
  void setNormalSpriteFrame(CCSpriteFrame* frame);
  void setSelectedSpriteFrame(CCSpriteFrame* frame);
  void setDisabledSpriteFrame(CCSpriteFrame* frame);

  virtual void activate();
  virtual void selected();
  virtual void unselected();

  bool toggle = false;
  bool on = false;
};

NS_CC_END
