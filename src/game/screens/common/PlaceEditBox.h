// A text-input box in place of a nine-slice placeholder of a loaded screen.
#pragma once

namespace cocos2d {
namespace extension {
class CCEditBox;
class CCEditBoxDelegate;
class CCScale9Sprite;
}  // namespace extension
}  // namespace cocos2d

// The box takes the placeholder's parent, place and anchor, its size times `scale` (the
// screen's scale), and the placeholder itself as its background at the placeholder's own
// size. `box` receives the new box, or null (logged) when there is no placeholder.
void placeEditBox(cocos2d::extension::CCScale9Sprite* placeholder, float scale,
                  cocos2d::extension::CCEditBoxDelegate* delegate, cocos2d::extension::CCEditBox*& box);
