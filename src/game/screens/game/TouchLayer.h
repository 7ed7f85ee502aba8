// The input layer of the in-game screen: touches, the mouse, the wheel and the keys
// become scrolls, zooms and a few screen actions (RETURN, ESC, digits). A left drag
// with the mouse pans the view like one finger.
#pragma once

#include "CCLayer.h"

class GameController;

class TouchLayer : public cocos2d::CCLayer {
 public:
  // Made by the screen build for its controller (not retained: the controller keeps
  // this layer).
  static TouchLayer* create(GameController* controller);

  // Touch delegate (more than two touches down: nothing; ids above 1 are ignored).
  bool ccTouchesBegan(cocos2d::CCSet* touches, int activeTouches, cocos2d::CCEvent* event) override;
  void ccTouchesMoved(cocos2d::CCSet* touches, int activeTouches, cocos2d::CCEvent* event) override;
  void ccTouchesEnded(cocos2d::CCSet* touches, int activeTouches, cocos2d::CCEvent* event) override;
  void ccTouchesCancelled(cocos2d::CCSet*, int, cocos2d::CCEvent*) override {}

  // Mouse delegate: the left button is touch 0 of this layer's own touch handling.
  bool mouseLeftDown(cocos2d::CCMouseEvent* event, cocos2d::CCEvent* pEvent) override;
  bool mouseLeftDragged(cocos2d::CCMouseEvent* event, cocos2d::CCEvent* pEvent) override;
  bool mouseLeftUp(cocos2d::CCMouseEvent* event, cocos2d::CCEvent* pEvent) override;
  bool mouseMoved(cocos2d::CCMouseEvent* event, cocos2d::CCEvent* pEvent) override;
  bool mouseScrolled(cocos2d::CCMouseEvent* event, cocos2d::CCEvent* pEvent) override;
  bool mouseWheel(cocos2d::CCMouseEvent* event, cocos2d::CCEvent* pEvent) override;

  // Keyboard delegate.
  void keyDown(cocos2d::CCKeyboardEvent* event, cocos2d::CCEvent* pEvent) override;
  void keyUp(cocos2d::CCKeyboardEvent* event, cocos2d::CCEvent* pEvent) override;

  // Every frame while on screen: held arrows scroll at 500 pixels a second. (A scene
  // that is replaced is cleaned up, which ends every update; entering starts it again.)
  void update(float elapsed) override;
  void onEnter() override;

 private:
  explicit TouchLayer(GameController* controller);
  // A left-button event as touch 0 of this layer: began, moved or ended.
  enum class Phase { Began, Moved, Ended };
  void feedMouse(cocos2d::CCMouseEvent* event, Phase phase);
  bool messageClosable() const;

  GameController* gameController_ = nullptr;  // not retained: it keeps this layer
  cocos2d::CCPoint touchStartLayerPos_;
  float pinchStartScale_ = 1.0f;
  cocos2d::CCPoint touchStart_[2];
  // Element 0 is also the last pointer location: where wheel and keys zoom.
  cocos2d::CCPoint touchCurrent_[2];
  bool scrollUp_ = false;
  bool scrollRight_ = false;
  bool scrollDown_ = false;
  bool scrollLeft_ = false;
  bool returnHeld_ = false;
  bool messageTapArmed_ = false;
  bool pinching_ = false;
};
