#include "NodeTree.h"

#include "CCArray.h"
#include "CCLayer.h"
#include "CCNode.h"

using namespace cocos2d;

namespace mv {

void forEachNodeDeep(CCNode* node, const std::function<void(CCNode*)>& fn) {
  if (!node) return;
  fn(node);
  if (CCArray* children = node->getChildren())
    for (unsigned int i = 0; i < children->count(); ++i)
      forEachNodeDeep(static_cast<CCNode*>(children->objectAtIndex(i)), fn);
}

void setTouchPriorityDeep(CCNode* node, int priority) {
  forEachNodeDeep(node, [priority](CCNode* n) {
    if (CCLayer* layer = dynamic_cast<CCLayer*>(n)) layer->setTouchPriority(priority);
  });
}

}  // namespace mv
