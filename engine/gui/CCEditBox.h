#pragma once

#include <string>

#include "CCControlButton.h"
#include "CCEditBoxImpl.h"

namespace cocos2d {
namespace extension {

// A one-line text box. A tap released on it opens it for typing; a tap released anywhere
// else closes it. It takes part in touches without swallowing them, so a tap elsewhere still
// reaches what is there.
class CCEditBox : public CCControlButton {
 public:
  CCEditBox();
  virtual ~CCEditBox();
  static CCEditBox* create(const CCSize& size, CCScale9Sprite* pNormal9SpriteBg,
                           CCScale9Sprite* pPressed9SpriteBg = nullptr,
                           CCScale9Sprite* pDisabled9SpriteBg = nullptr);
  bool initWithSizeAndBackgroundSprite(const CCSize& size, CCScale9Sprite* pNormal9SpriteBg);

  void setDelegate(CCEditBoxDelegate* pDelegate);
  CCEditBoxDelegate* getDelegate();
  void setText(const char* pText);
  const char* getText();
  void setFontColor(const ccColor3B& color);
  void setPlaceHolder(const char* pText);
  void setPlaceholderFontColor(const ccColor3B& color);
  void setInputMode(EditBoxInputMode inputMode);
  void setInputFlag(EditBoxInputFlag inputFlag);
  void setMaxLength(int maxLength);
  int getMaxLength();
  void setReturnType(KeyboardReturnType returnType);
  CCEditBoxImpl* getImpl() { return m_pEditBoxImpl; }

  virtual void setPosition(const CCPoint& pos);
  virtual void setVisible(bool visible);
  virtual void setContentSize(const CCSize& size);
  virtual void setAnchorPoint(const CCPoint& anchorPoint);
  virtual void visit();
  virtual void onEnter();

  virtual void registerWithTouchDispatcher();
  virtual bool ccTouchBegan(CCTouch* touch, CCEvent* event);
  virtual void ccTouchEnded(CCTouch* touch, CCEvent* event);
  virtual bool alwaysReceiveLeftDrag() { return true; }
  virtual bool mouseLeftDown(CCMouseEvent* event, CCEvent* pEvent);
  virtual bool mouseLeftUp(CCMouseEvent* event, CCEvent* pEvent);

  void touchDownAction(CCObject* sender, CCControlEvent controlEvent);

 private:
  // Whether taps may act on the box: it and every ancestor are visible.
  bool tappable();

  CCEditBoxImpl* m_pEditBoxImpl = nullptr;
  bool m_trackingOutside = false;
  bool m_mousePressOutside = false;
};

}  // namespace extension
}  // namespace cocos2d
