#include "RowList.h"

#include "CCLayer.h"
#include "CCScrollView.h"

namespace mv {

using namespace cocos2d;

int stackRows(extension::CCScrollView* list, const std::vector<CCNode*>& rows) {
  if (!list) return 0;
  int total = 0;
  for (CCNode* row : rows) total = static_cast<int>(total + row->getContentSize().height);
  const CCSize view = list->getViewSize();
  CCLayer* container = CCLayer::create();
  container->setContentSize(CCSize(view.width, static_cast<float>(total)));
  container->ignoreAnchorPointForPosition(false);
  int y = total;
  for (CCNode* row : rows) {
    y = static_cast<int>(y - row->getContentSize().height);
    row->ignoreAnchorPointForPosition(false);
    row->setAnchorPoint(CCPoint(0.5f, 0));
    row->setPosition(CCPoint(view.width * 0.5f, static_cast<float>(y)));
    container->addChild(row);
  }
  list->setContainer(container);
  list->updateInset();
  return total;
}

}  // namespace mv
