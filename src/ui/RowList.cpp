#include "RowList.h"

#include <set>

#include "CCLayer.h"
#include "CCScrollView.h"

namespace mv {

using namespace cocos2d;

int stackRows(extension::CCScrollView* list, const std::vector<CCNode*>& rows) {
  if (!list) return 0;
  int total = 0;
  for (CCNode* row : rows) total = static_cast<int>(total + row->getContentSize().height);
  const CCSize view = list->getViewSize();
  CCNode* container = list->getContainer();
  if (!container) {
    container = CCLayer::create();
    list->setContainer(container);
  }
  const std::set<CCNode*> wanted(rows.begin(), rows.end());
  if (CCArray* children = container->getChildren()) {
    std::vector<CCNode*> gone;
    for (unsigned int i = 0; i < children->count(); ++i) {
      CCNode* child = static_cast<CCNode*>(children->objectAtIndex(i));
      if (!wanted.count(child)) gone.push_back(child);
    }
    for (CCNode* child : gone) container->removeChild(child, true);
  }
  container->setContentSize(CCSize(view.width, static_cast<float>(total)));
  container->ignoreAnchorPointForPosition(false);
  int y = total;
  for (CCNode* row : rows) {
    y = static_cast<int>(y - row->getContentSize().height);
    row->ignoreAnchorPointForPosition(false);
    row->setAnchorPoint(CCPoint(0.5f, 0));
    row->setPosition(CCPoint(view.width * 0.5f, static_cast<float>(y)));
    if (row->getParent() == container) continue;
    if (row->getParent()) row->removeFromParentAndCleanup(false);
    container->addChild(row);
  }
  list->updateInset();
  return total;
}

}  // namespace mv
