#include "NodeLooks.h"

#include "CCMenuItem.h"
#include "CCSprite.h"
#include "CCSpriteFrameCache.h"
#include "CardTable.h"
#include "logog/logog.hpp"

using namespace cocos2d;

namespace mv {

void setShown(CCNode* node, bool shown) {
  if (node) node->setVisible(shown);
}

void setFrame(CCSprite* sprite, const std::string& frameName) {
  if (!sprite) return;
  if (CCSpriteFrame* f = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(frameName.c_str()))
    sprite->setDisplayFrame(f);
  else
    LOGOG_WARN("GUI::no sprite frame %s", frameName.c_str());
}

void setItemImages(CCMenuItemImage* item, const char* normal, const char* pressed) {
  if (!item) return;
  CCSpriteFrameCache* cache = CCSpriteFrameCache::sharedSpriteFrameCache();
  if (CCSpriteFrame* f = cache->spriteFrameByName(normal)) item->setNormalSpriteFrame(f);
  if (CCSpriteFrame* f = cache->spriteFrameByName(pressed)) item->setSelectedSpriteFrame(f);
}

ccColor3B cardColour(int cardId) {
  const CardColor c = CardTable::cardColor(cardId);
  return ccc3(c.r, c.g, c.b);
}

}  // namespace mv
