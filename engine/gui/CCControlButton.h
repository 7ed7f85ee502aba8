#pragma once

#include <map>
#include <string>

#include "CCControl.h"

namespace cocos2d {
class CCLabelTTF;
class CCSpriteFrame;
namespace extension {

class CCScale9Sprite;

// A push button: a nine-slice background and a title for each state; it can grow a little
// while pressed. Released inside it sends CCControlEventTouchUpInside.
class CCControlButton : public CCControl {
 public:
  CCControlButton();
  virtual ~CCControlButton();
  static CCControlButton* create();
  static CCControlButton* create(const char* title, const char* fontName, float fontSize);
  virtual bool init();

  virtual bool ccTouchBegan(CCTouch* touch, CCEvent* event);
  virtual bool ccTouchMoved(CCTouch* touch, CCEvent* event);
  virtual void ccTouchEnded(CCTouch* touch, CCEvent* event);
  virtual void ccTouchCancelled(CCTouch* touch, CCEvent* event);

  void setTitleForState(const char* title, CCControlState state);
  const char* getTitleForState(CCControlState state);
  void setTitleColorForState(const ccColor3B& color, CCControlState state);
  void setTitleTTFForState(const char* fontName, CCControlState state);
  void setTitleTTFSizeForState(float size, CCControlState state);
  void setBackgroundSpriteForState(CCScale9Sprite* sprite, CCControlState state);
  void setBackgroundSpriteFrameForState(CCSpriteFrame* frame, CCControlState state);

  void setZoomOnTouchDown(bool zoom) { m_zoomOnTouchDown = zoom; }
  bool getZoomOnTouchDown() const { return m_zoomOnTouchDown; }
  void setPreferredSize(const CCSize& size);
  const CCSize& getPreferredSize() const { return m_preferredSize; }
  void setLabelAnchorPoint(const CCPoint& p);
  CCLabelTTF* getTitleLabel() { return m_titleLabel; }
  CCScale9Sprite* getBackgroundSprite() { return m_currentBackground; }
  bool isPushed() const { return m_isPushed; }

  virtual void setHighlighted(bool enabled);
  virtual void needsLayout();

 private:
  struct StateLook {
    std::string title;
    bool hasTitle = false;
    ccColor3B color = {255, 255, 255};
    bool hasColor = false;
    std::string font;
    float fontSize = 0;
    CCScale9Sprite* background = nullptr;
  };
  StateLook& look(CCControlState state) { return m_looks[state]; }
  // The look for a state, falling back to the normal one for what it lacks.
  const StateLook& normal() { return m_looks[CCControlStateNormal]; }

  std::map<CCControlState, StateLook> m_looks;
  CCLabelTTF* m_titleLabel = nullptr;
  CCScale9Sprite* m_currentBackground = nullptr;
  bool m_zoomOnTouchDown = true;
  bool m_isPushed = false;
  CCSize m_preferredSize;
  CCPoint m_labelAnchorPoint = CCPoint(0.5f, 0.5f);
  bool m_layingOut = false;
};

}  // namespace extension
}  // namespace cocos2d
