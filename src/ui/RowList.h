// Lists of rows on a screen: one small screen file loaded per row, stacked top-down in the
// layer that is a scroll view's content.
#pragma once

#include <vector>

namespace cocos2d {
class CCNode;
namespace extension {
class CCScrollView;
}
}  // namespace cocos2d

namespace mv {

// Stacks the rows, the first at the top, centred across the list's container, which becomes as
// wide as the list's view. Rows the container holds already stay in it (they are moved, not
// entered again); the others it holds go. Heights are added with truncation at every row, so
// the container is never taller than its rows. Returns the container's height.
int stackRows(cocos2d::extension::CCScrollView* list, const std::vector<cocos2d::CCNode*>& rows);

}  // namespace mv
