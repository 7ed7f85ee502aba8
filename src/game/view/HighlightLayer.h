// The square over a board element that is offered as a choice: a translucent colour
// layer with the element's hot-key digit. A click that begins and ends on it, or its
// digit key, selects the element; only while the element is still selectable.
#pragma once

#include <functional>

#include "CCLayerColor.h"
#include "NodeRects.h"

namespace cocos2d {
class CCLabelBMFont;
}
class BoardElem;

class HighlightLayer : public cocos2d::CCLayerColor, public mv::ReportedNode {
 public:
  using SelectFn = std::function<void(BoardElem*)>;

  // A layer of the colour and size with an empty digit label centred; null when the
  // layer cannot be initialised.
  static HighlightLayer* create(const cocos2d::ccColor4B& colour, float width, float height);

  // The colour of the highlight of an element: cream, or white over one of the local
  // player's elements that is not a block; half transparent either way.
  static cocos2d::ccColor4B colourFor(bool ofLocalPlayer, bool isBlock);

  // 1..10 shows the digit (10 shows "0"); anything else stores -1 and shows none.
  void setHotkeyIndex(int index);
  int hotkeyIndex() const { return hotkeyIndex_; }
  cocos2d::CCLabelBMFont* digitLabel() const { return digit_; }

  void setElement(BoardElem* element) { element_ = element; }
  BoardElem* element() const { return element_; }
  // What a selection does (the event hub's choice of a board element).
  void setOnSelect(SelectFn fn) { onSelect_ = std::move(fn); }
  bool isPressed() const { return pressed_; }

  bool ccTouchesBegan(cocos2d::CCSet* touches, int activeTouches, cocos2d::CCEvent* event) override;
  void ccTouchesEnded(cocos2d::CCSet* touches, int activeTouches, cocos2d::CCEvent* event) override;
  void keyDown(cocos2d::CCKeyboardEvent* event, cocos2d::CCEvent* pEvent) override;
  const char* reportName() const override { return "HIGHLIGHT"; }

 private:
  HighlightLayer() = default;
  bool initHighlight(const cocos2d::ccColor4B& colour, float width, float height);
  bool touchInside(cocos2d::CCTouch* touch);
  // Selects the element once: the layer hides and takes no more input.
  void select();

  bool pressed_ = false;
  BoardElem* element_ = nullptr;
  cocos2d::CCLabelBMFont* digit_ = nullptr;
  int hotkeyIndex_ = -1;
  SelectFn onSelect_;
};
