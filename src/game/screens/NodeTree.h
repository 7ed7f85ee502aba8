// Walks over a node and every node below it.
#pragma once

#include <functional>

namespace cocos2d {
class CCNode;
}

namespace mv {

// Calls fn on the node and on every node below it, parents first (null: nothing).
void forEachNodeDeep(cocos2d::CCNode* node, const std::function<void(cocos2d::CCNode*)>& fn);
// Touch priority of a node and of every layer below it.
void setTouchPriorityDeep(cocos2d::CCNode* node, int priority);

}  // namespace mv
