#include "TouchLayer.h"

#include <cmath>

#include "CCKeyboardDispatcher.h"
#include "CCMouseDelegate.h"
#include "CCPointExtension.h"
#include "CCSet.h"
#include "CCTouch.h"
#include "GameController.h"
#include "Hotkeys.h"

using namespace cocos2d;

namespace {
// Zoom of one key press, and of one unit of the wheel's delta with CTRL held.
constexpr float kKeyZoomStep = 0.05f;
constexpr float kScrollZoomPerUnit = 1.0f / 1000.0f;
constexpr float kScrollPanFactor = 2.0f;
// Scroll speed of the arrow keys, pixels a second.
constexpr float kScrollSpeed = 500.0f;
}  // namespace

TouchLayer* TouchLayer::create(GameController* controller) {
  TouchLayer* layer = new TouchLayer(controller);
  return ccAutoreleaseIfInit(layer, layer->init());
}

TouchLayer::TouchLayer(GameController* controller) : gameController_(controller) {}

void TouchLayer::onEnter() {
  CCLayer::onEnter();
  // Anew: a scene left by a replacement was cleaned up, its updates ended.
  unscheduleUpdate();
  scheduleUpdate();
}

bool TouchLayer::messageClosable() const {
  const GameController* c = gameController_;
  return c && c->isMessageShown() && c->isMessageFullscreen() && !c->isMessageModal();
}

// ---- Touches ---------------------------------------------------------------------------------

bool TouchLayer::ccTouchesBegan(CCSet* touches, int activeTouches, CCEvent*) {
  if (activeTouches > 2 || !gameController_ || !gameController_->camera().ourLayer()) return false;
  pinching_ = false;
  for (CCSetIterator it = touches->begin(); it != touches->end(); ++it) {
    CCTouch* touch = static_cast<CCTouch*>(*it);
    const int id = touch->getID();
    if (id < 0 || id > 1) continue;
    touchCurrent_[id] = touchStart_[id] = touch->getLocation();
    if (id == 0) messageTapArmed_ = messageClosable();
    if (activeTouches == 1 && id == 0) touchStartLayerPos_ = gameController_->camera().ourLayer()->getPosition();
  }
  pinchStartScale_ = gameController_->camera().ourLayer()->getScale();
  return true;
}

void TouchLayer::ccTouchesMoved(CCSet* touches, int activeTouches, CCEvent*) {
  if (activeTouches > 2 || !gameController_) return;
  for (CCSetIterator it = touches->begin(); it != touches->end(); ++it) {
    CCTouch* touch = static_cast<CCTouch*>(*it);
    const int id = touch->getID();
    if (id >= 0 && id <= 1) touchCurrent_[id] = touch->getLocation();
  }
  if (activeTouches == 2) {
    const float d0 = ccpDistance(touchStart_[0], touchStart_[1]);
    const float d1 = ccpDistance(touchCurrent_[0], touchCurrent_[1]);
    if (d0 > 0) {
      gameController_->camera().zoomView(pinchStartScale_ * d1 / d0, ccpMidpoint(touchStart_[0], touchStart_[1]));
      pinching_ = true;
    }
  } else if (activeTouches == 1 && !pinching_) {
    gameController_->camera().setViewPosition(ccpAdd(touchStartLayerPos_, ccpSub(touchCurrent_[0], touchStart_[0])));
  }
}

void TouchLayer::ccTouchesEnded(CCSet* touches, int activeTouches, CCEvent*) {
  if (activeTouches > 2 || !gameController_) return;
  for (CCSetIterator it = touches->begin(); it != touches->end(); ++it) {
    if (static_cast<CCTouch*>(*it)->getID() != 0) continue;
    if (messageTapArmed_ && messageClosable()) gameController_->closeFullscreenMessageByTap();
    messageTapArmed_ = false;
  }
}

// ---- Mouse -------------------------------------------------------------------------------------

void TouchLayer::feedMouse(CCMouseEvent* event, Phase phase) {
  CCTouch* touch = ccAutoreleaseIfInit(new CCTouch(), true);
  const CCPoint at = event->getLocationInView();
  touch->setTouchInfo(0, at.x, at.y);
  CCSet* set = CCSet::create();
  set->addObject(touch);
  switch (phase) {
    case Phase::Began:
      ccTouchesBegan(set, 1, nullptr);
      break;
    case Phase::Moved:
      ccTouchesMoved(set, 1, nullptr);
      break;
    case Phase::Ended:
      ccTouchesEnded(set, 1, nullptr);
      break;
  }
}

bool TouchLayer::mouseLeftDown(CCMouseEvent* event, CCEvent*) {
  if (event) feedMouse(event, Phase::Began);
  return true;
}

bool TouchLayer::mouseLeftDragged(CCMouseEvent* event, CCEvent*) {
  if (!event) return true;
  touchCurrent_[0] = event->getLocation();
  feedMouse(event, Phase::Moved);
  return true;
}

bool TouchLayer::mouseLeftUp(CCMouseEvent* event, CCEvent*) {
  if (event) feedMouse(event, Phase::Ended);
  // A click anywhere on the board closes a full-screen message the player may close.
  if (gameController_ && messageClosable()) gameController_->closeFullscreenMessageByTap();
  return true;
}

bool TouchLayer::mouseMoved(CCMouseEvent* event, CCEvent*) {
  if (event) touchCurrent_[0] = event->getLocation();
  return true;
}

bool TouchLayer::mouseScrolled(CCMouseEvent* event, CCEvent*) {
  if (!event || !gameController_ || !gameController_->camera().ourLayer()) return true;
  const CCPoint d = event->getDelta();
  const bool ctrl = (CCKeyboardDispatcher::sharedDispatcher()->getModifiers() & getModifierMask(0)) != 0;
  if (!ctrl)
    gameController_->camera().moveView(ccp(kScrollPanFactor * d.x, -kScrollPanFactor * d.y));
  else
    gameController_->camera().zoomView(gameController_->camera().ourLayer()->getScale() + d.y * kScrollZoomPerUnit,
                             touchCurrent_[0]);
  return true;
}

bool TouchLayer::mouseWheel(CCMouseEvent* event, CCEvent*) {
  if (!event || !gameController_ || !gameController_->camera().ourLayer()) return true;
  gameController_->camera().zoomView(gameController_->camera().ourLayer()->getScale() + event->getDelta().y, touchCurrent_[0]);
  return true;
}

// ---- Keys ----------------------------------------------------------------------------------------

void TouchLayer::keyDown(CCKeyboardEvent* event, CCEvent*) {
  if (!event || !gameController_) return;
  const int action = lookupHotkey(*event);
  switch (action) {
    case kHotkeyUp:
      scrollUp_ = true;
      scrollDown_ = false;
      break;
    case kHotkeyRight:
      scrollRight_ = true;
      scrollLeft_ = false;
      break;
    case kHotkeyDown:
      scrollDown_ = true;
      scrollUp_ = false;
      break;
    case kHotkeyLeft:
      scrollLeft_ = true;
      scrollRight_ = false;
      break;
    case kHotkeyEscape:
      gameController_->onEscapeKey();
      break;
    case kHotkeyReturn:
      if (!returnHeld_) gameController_->onReturnKey();
      returnHeld_ = true;
      break;
    case kHotkeyZoomOut:
      gameController_->camera().zoomBy(-kKeyZoomStep, touchCurrent_[0]);
      break;
    case kHotkeyZoomIn:
      gameController_->camera().zoomBy(kKeyZoomStep, touchCurrent_[0]);
      break;
    default:
      if (const int digit = hotkeyDigitNumber(action)) gameController_->selectByHotkey(digit - 1);
      break;
  }
}

void TouchLayer::keyUp(CCKeyboardEvent* event, CCEvent*) {
  if (!event) return;
  for (int action : matchHotkeys(*event)) {
    switch (action) {
      case kHotkeyUp:
        scrollUp_ = false;
        break;
      case kHotkeyRight:
        scrollRight_ = false;
        break;
      case kHotkeyDown:
        scrollDown_ = false;
        break;
      case kHotkeyLeft:
        scrollLeft_ = false;
        break;
      case kHotkeyReturn:
        returnHeld_ = false;
        break;
      default:
        break;
    }
  }
}

void TouchLayer::update(float elapsed) {
  if (!gameController_) return;
  const float step = kScrollSpeed * elapsed;
  CCPoint d = CCPointZero;
  if (scrollUp_) d.y = -step;
  if (scrollRight_) d.x = -step;
  if (scrollDown_) d.y = step;
  if (scrollLeft_) d.x = step;
  if (d.x != 0 || d.y != 0) gameController_->camera().moveView(d);
  gameController_->camera().fadeGroundWithOurLayer();
  gameController_->keepNoticeInPlace();
}
