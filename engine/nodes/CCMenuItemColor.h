#pragma once

#include "CCMenuItem.h"

NS_CC_BEGIN

class CCLayerColor;

// A plain coloured button: a colour layer showing the normal or the selected colour. It may
// act as a toggle like CCMenuItemImage.
class CCMenuItemColor : public CCMenuItem {
 public:
  CCMenuItemColor() {}
  static CCMenuItemColor* create();
  virtual bool init();

  virtual void activate();
  virtual void selected();
  virtual void unselected();

  void setNormalColor(const ccColor4B& color);
  void setSelectedColor(const ccColor4B& color);
  const ccColor4B& getNormalColor() const { return m_normalColor; }
  const ccColor4B& getSelectedColor() const { return m_selectedColor; }
  // Sizes the item and its colour layer.
  virtual void setContentSize(const CCSize& size);
  CCLayerColor* getColorLayer() { return m_pColorLayer; }

  bool toggle = false;
  bool on = false;

 private:
  void apply(const ccColor4B& color);

  CCLayerColor* m_pColorLayer = nullptr;
  ccColor4B m_normalColor = {0, 0, 0, 0};
  ccColor4B m_selectedColor = {0, 0, 0, 0};
};

NS_CC_END
