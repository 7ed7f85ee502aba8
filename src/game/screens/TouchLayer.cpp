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
  if (!layer->init()) {
    delete layer;
    return nullptr;
  }
  layer->autorelease();
  return layer;
}

TouchLayer::TouchLayer(GameController* controller) : gameController(controller) {}

void TouchLayer::onEnter() {
  CCLayer::onEnter();
  // Anew: a scene left by a replacement was cleaned up, its updates ended.
  unscheduleUpdate();
  scheduleUpdate();
}

bool TouchLayer::messageClosable() const {
  const GameController* c = gameController;
  return c && c->isMessageShown() && c->isMessageFullscreen() && !c->isMessageModal();
}

// ---- Touches ---------------------------------------------------------------------------------

bool TouchLayer::ccTouchesBegan(CCSet* touches, int activeTouches, CCEvent*) {
  if (activeTouches > 2 || !gameController || !gameController->camera().ourLayer()) return false;
  pinching = false;
  for (CCSetIterator it = touches->begin(); it != touches->end(); ++it) {
    CCTouch* touch = static_cast<CCTouch*>(*it);
    const int id = touch->getID();
    if (id < 0 || id > 1) continue;
    touchCurrent[id] = touchStart[id] = touch->getLocation();
    if (id == 0) messageTapArmed = messageClosable();
    if (activeTouches == 1 && id == 0) touchStartLayerPos = gameController->camera().ourLayer()->getPosition();
  }
  pinchStartScale = gameController->camera().ourLayer()->getScale();
  return true;
}

void TouchLayer::ccTouchesMoved(CCSet* touches, int activeTouches, CCEvent*) {
  if (activeTouches > 2 || !gameController) return;
  for (CCSetIterator it = touches->begin(); it != touches->end(); ++it) {
    CCTouch* touch = static_cast<CCTouch*>(*it);
    const int id = touch->getID();
    if (id >= 0 && id <= 1) touchCurrent[id] = touch->getLocation();
  }
  if (activeTouches == 2) {
    const float d0 = ccpDistance(touchStart[0], touchStart[1]);
    const float d1 = ccpDistance(touchCurrent[0], touchCurrent[1]);
    if (d0 > 0) {
      gameController->camera().zoomView(pinchStartScale * d1 / d0, ccpMidpoint(touchStart[0], touchStart[1]));
      pinching = true;
    }
  } else if (activeTouches == 1 && !pinching) {
    gameController->camera().setViewPosition(ccpAdd(touchStartLayerPos, ccpSub(touchCurrent[0], touchStart[0])));
  }
}

void TouchLayer::ccTouchesEnded(CCSet* touches, int activeTouches, CCEvent*) {
  if (activeTouches > 2 || !gameController) return;
  for (CCSetIterator it = touches->begin(); it != touches->end(); ++it) {
    if (static_cast<CCTouch*>(*it)->getID() != 0) continue;
    if (messageTapArmed && messageClosable()) gameController->closeFullscreenMessageByTap();
    messageTapArmed = false;
  }
}

// ---- Mouse -------------------------------------------------------------------------------------

void TouchLayer::feedMouse(CCMouseEvent* event, Phase phase) {
  CCTouch* touch = new CCTouch();
  touch->autorelease();
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
  touchCurrent[0] = event->getLocation();
  feedMouse(event, Phase::Moved);
  return true;
}

bool TouchLayer::mouseLeftUp(CCMouseEvent* event, CCEvent*) {
  if (event) feedMouse(event, Phase::Ended);
  // A click anywhere on the board closes a full-screen message the player may close.
  if (gameController && messageClosable()) gameController->closeFullscreenMessageByTap();
  return true;
}

bool TouchLayer::mouseMoved(CCMouseEvent* event, CCEvent*) {
  if (event) touchCurrent[0] = event->getLocation();
  return true;
}

bool TouchLayer::mouseScrolled(CCMouseEvent* event, CCEvent*) {
  if (!event || !gameController || !gameController->camera().ourLayer()) return true;
  const CCPoint d = event->getDelta();
  const bool ctrl = (CCKeyboardDispatcher::sharedDispatcher()->getModifiers() & getModifierMask(0)) != 0;
  if (!ctrl)
    gameController->camera().moveView(ccp(kScrollPanFactor * d.x, -kScrollPanFactor * d.y));
  else
    gameController->camera().zoomView(gameController->camera().ourLayer()->getScale() + d.y * kScrollZoomPerUnit,
                             touchCurrent[0]);
  return true;
}

bool TouchLayer::mouseWheel(CCMouseEvent* event, CCEvent*) {
  if (!event || !gameController || !gameController->camera().ourLayer()) return true;
  gameController->camera().zoomView(gameController->camera().ourLayer()->getScale() + event->getDelta().y, touchCurrent[0]);
  return true;
}

// ---- Keys ----------------------------------------------------------------------------------------

void TouchLayer::keyDown(CCKeyboardEvent* event, CCEvent*) {
  if (!event || !gameController) return;
  const int action = lookupHotkey(*event);
  switch (action) {
    case kHotkeyUp:
      scrollUp = true;
      scrollDown = false;
      break;
    case kHotkeyRight:
      scrollRight = true;
      scrollLeft = false;
      break;
    case kHotkeyDown:
      scrollDown = true;
      scrollUp = false;
      break;
    case kHotkeyLeft:
      scrollLeft = true;
      scrollRight = false;
      break;
    case kHotkeyEscape:
      gameController->onEscapeKey();
      break;
    case kHotkeyReturn:
      if (!returnHeld) gameController->onReturnKey();
      returnHeld = true;
      break;
    case kHotkeyZoomOut:
      gameController->camera().zoomBy(-kKeyZoomStep, touchCurrent[0]);
      break;
    case kHotkeyZoomIn:
      gameController->camera().zoomBy(kKeyZoomStep, touchCurrent[0]);
      break;
    default:
      if (action >= kHotkeyDigit1 && action <= kHotkeyDigit0)
        gameController->selectByHotkey(action - kHotkeyDigit1);
      break;
  }
}

void TouchLayer::keyUp(CCKeyboardEvent* event, CCEvent*) {
  if (!event) return;
  for (int action : matchHotkeys(*event)) {
    switch (action) {
      case kHotkeyUp:
        scrollUp = false;
        break;
      case kHotkeyRight:
        scrollRight = false;
        break;
      case kHotkeyDown:
        scrollDown = false;
        break;
      case kHotkeyLeft:
        scrollLeft = false;
        break;
      case kHotkeyReturn:
        returnHeld = false;
        break;
      default:
        break;
    }
  }
}

void TouchLayer::update(float elapsed) {
  if (!gameController) return;
  const float step = kScrollSpeed * elapsed;
  CCPoint d = CCPointZero;
  if (scrollUp) d.y = -step;
  if (scrollRight) d.x = -step;
  if (scrollDown) d.y = step;
  if (scrollLeft) d.x = step;
  if (d.x != 0 || d.y != 0) gameController->camera().moveView(d);
  gameController->camera().fadeGroundWithOurLayer();
  gameController->keepNoticeInPlace();
}
