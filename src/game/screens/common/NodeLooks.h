// Small setters of what a node shows, shared by the game screen's parts.
#pragma once

#include <string>

#include "ccTypes.h"

namespace cocos2d {
class CCMenuItemImage;
class CCNode;
class CCSprite;
}  // namespace cocos2d

namespace mv {

// The node shown or hidden (null: nothing).
void setShown(cocos2d::CCNode* node, bool shown);
// The sprite shows the named frame (a missing frame is logged and changes nothing).
void setFrame(cocos2d::CCSprite* sprite, const std::string& frameName);
// The button's images, normal and pressed, from named frames (null: nothing).
void setItemImages(cocos2d::CCMenuItemImage* item, const char* normal, const char* pressed);
// The tint of a card's picture.
cocos2d::ccColor3B cardColour(int cardId);

}  // namespace mv
