#include "HighlightLayer.h"

#include <string>

#include "BoardElem.h"
#include "CCLabelBMFont.h"
#include "CCPointExtension.h"
#include "CCSet.h"
#include "CCTouch.h"
#include "Hotkeys.h"
#include "ResourceNames.h"

using namespace cocos2d;

namespace {
const ccColor3B kDigitColour = {170, 156, 143};
}

HighlightLayer* HighlightLayer::create(const ccColor4B& colour, float width, float height) {
  HighlightLayer* layer = new HighlightLayer();
  return ccAutoreleaseIfInit(layer, layer->initHighlight(colour, width, height));
}

ccColor4B HighlightLayer::colourFor(bool ofLocalPlayer, bool isBlock) {
  if (ofLocalPlayer && !isBlock) return ccc4(255, 255, 255, 128);
  return ccc4(255, 251, 225, 128);
}

bool HighlightLayer::initHighlight(const ccColor4B& colour, float width, float height) {
  if (!initWithColor(colour, width, height)) return false;
  digit_ = CCLabelBMFont::create("", mv::fontFileName("Economica-130.fnt").c_str());
  if (digit_) {
    digit_->setColor(kDigitColour);
    digit_->setAnchorPoint(ccp(0.5f, 0.5f));
    digit_->setPosition(ccp(width * 0.5f, height * 0.5f));
    digit_->setVisible(false);
    addChild(digit_);
  }
  return true;
}

void HighlightLayer::setHotkeyIndex(int index) {
  if (index < 1 || index > kHotkeyDigitCount) {
    hotkeyIndex_ = -1;
    if (digit_) digit_->setVisible(false);
    return;
  }
  hotkeyIndex_ = index;
  if (!digit_) return;
  digit_->setString(std::to_string(index % kHotkeyDigitCount).c_str());
  digit_->setVisible(true);
}

bool HighlightLayer::touchInside(CCTouch* touch) {
  if (!touch || !getParent()) return false;
  return boundingBox().containsPoint(getParent()->convertTouchToNodeSpace(touch));
}

bool HighlightLayer::ccTouchesBegan(CCSet* touches, int, CCEvent*) {
  pressed_ = false;
  for (CCSetIterator it = touches->begin(); it != touches->end(); ++it)
    if (touchInside(static_cast<CCTouch*>(*it))) pressed_ = true;
  return pressed_;
}

void HighlightLayer::ccTouchesEnded(CCSet* touches, int, CCEvent*) {
  if (!element_ || !pressed_ || !element_->isSelectable()) return;
  pressed_ = false;
  for (CCSetIterator it = touches->begin(); it != touches->end(); ++it) {
    if (touchInside(static_cast<CCTouch*>(*it))) {
      select();
      return;
    }
  }
}

void HighlightLayer::keyDown(CCKeyboardEvent* event, CCEvent*) {
  if (!event || hotkeyIndex_ == -1 || !element_ || !element_->isSelectable()) return;
  if (hotkeyDigitNumber(lookupHotkey(*event)) == hotkeyIndex_) select();
}

void HighlightLayer::select() {
  // The choice may withdraw every offer, this one included: keep the layer alive.
  retain();
  BoardElem* element = element_;
  setVisible(false);
  setTouchEnabled(false);
  setKeypadEnabled(false);
  if (onSelect_) onSelect_(element);
  release();
}
