// Walks over a node and every node below it.
#pragma once

#include <functional>

#include "CCArray.h"
#include "CCNode.h"

namespace mv {

// Calls fn on the node and on every node below it, parents first (null: nothing).
void forEachNodeDeep(cocos2d::CCNode* node, const std::function<void(cocos2d::CCNode*)>& fn);
// Touch priority of a node and of every layer below it.
void setTouchPriorityDeep(cocos2d::CCNode* node, int priority);

// The first child of the type, or null.
template <class T>
T* findChild(cocos2d::CCNode* parent) {
  cocos2d::CCArray* children = parent->getChildren();
  for (unsigned int i = 0; children && i < children->count(); ++i)
    if (T* t = dynamic_cast<T*>(static_cast<cocos2d::CCNode*>(children->objectAtIndex(i)))) return t;
  return nullptr;
}

}  // namespace mv
