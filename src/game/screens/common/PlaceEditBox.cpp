#include "PlaceEditBox.h"

#include "CCEditBox.h"
#include "CCScale9Sprite.h"
#include "logog/logog.hpp"

using namespace cocos2d;
using namespace cocos2d::extension;

void placeEditBox(CCScale9Sprite* placeholder, float scale, CCEditBoxDelegate* delegate, CCEditBox*& box) {
  box = nullptr;
  if (!placeholder || !placeholder->getParent()) {
    LOGOG_WARN("No placeholder for a text-input box");
    return;
  }
  CCNode* parent = placeholder->getParent();
  placeholder->retain();
  placeholder->removeFromParentAndCleanup(false);
  const CCPoint position = placeholder->getPosition();
  const CCPoint anchor = placeholder->getAnchorPoint();
  const CCSize size = placeholder->getContentSize();
  const CCSize boxSize(size.width * scale, size.height * scale);
  const float dx = (size.width - boxSize.width) / 2;
  const float dy = (size.height - boxSize.height) / 2;

  box = CCEditBox::create(boxSize, placeholder);
  placeholder->release();
  if (!box) {
    LOGOG_ERROR("A text-input box could not be made");
    return;
  }
  if (CCScale9Sprite* background = box->getBackgroundSprite()) {
    background->setPreferredSize(size);
    CCPoint at = background->getPosition();
    background->setPosition(CCPoint(at.x + dx, at.y - dy));
  }
  box->setFontColor(ccc3(0, 0, 0));
  box->setDelegate(delegate);
  parent->addChild(box);
  box->setPosition(CCPoint(position.x - dx, position.y + dy));
  box->setAnchorPoint(anchor);
}
