// Lists of rows on a screen: one small screen file loaded per row, stacked top-down in a new
// layer that becomes a scroll view's content.
#pragma once

#include <vector>

namespace cocos2d {
class CCNode;
namespace extension {
class CCScrollView;
}
}  // namespace cocos2d

namespace mv {

// Stacks the rows, the first at the top, centred across a new container as wide as the list's
// view, and makes it the list's content. Heights are added with truncation at every row, so
// the container is never taller than its rows. Returns the container's height.
int stackRows(cocos2d::extension::CCScrollView* list, const std::vector<cocos2d::CCNode*>& rows);

}  // namespace mv
