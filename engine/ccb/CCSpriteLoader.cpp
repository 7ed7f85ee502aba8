#include "CCSpriteLoader.h"

#include <cmath>
#include <string>

#include "CCSpriteBatchNode.h"
#include "CCSpriteFrame.h"

namespace cocos2d {
namespace extension {

namespace {
// More tiles than this is a broken file, not a screen.
const int kMaxTiles = 4096;
}  // namespace

void CCSpriteLoader::onHandlePropTypeColor3(CCNode* pNode, CCNode* pParent,
                                            const char* pPropertyName, ccColor3B c,
                                            CCBReader* r) {
  if (std::string(pPropertyName) == "color") static_cast<CCSprite*>(pNode)->setColor(c);
  else CCNodeLoader::onHandlePropTypeColor3(pNode, pParent, pPropertyName, c, r);
}

void CCSpriteLoader::onHandlePropTypeByte(CCNode* pNode, CCNode* pParent,
                                          const char* pPropertyName, unsigned char b,
                                          CCBReader* r) {
  if (std::string(pPropertyName) == "opacity") static_cast<CCSprite*>(pNode)->setOpacity(b);
  else CCNodeLoader::onHandlePropTypeByte(pNode, pParent, pPropertyName, b, r);
}

void CCSpriteLoader::onHandlePropTypeBlendFunc(CCNode* pNode, CCNode* pParent,
                                               const char* pPropertyName, ccBlendFunc bf,
                                               CCBReader* r) {
  if (std::string(pPropertyName) == "blendFunc") static_cast<CCSprite*>(pNode)->setBlendFunc(bf);
  else CCNodeLoader::onHandlePropTypeBlendFunc(pNode, pParent, pPropertyName, bf, r);
}

void CCSpriteLoader::onHandlePropTypeSpriteFrame(CCNode* pNode, CCNode* pParent,
                                                 const char* pPropertyName,
                                                 CCSpriteFrame* frame, CCBReader* r) {
  if (std::string(pPropertyName) == "displayFrame") {
    if (frame) static_cast<CCSprite*>(pNode)->setDisplayFrame(frame);
  } else {
    CCNodeLoader::onHandlePropTypeSpriteFrame(pNode, pParent, pPropertyName, frame, r);
  }
}

void CCSpriteLoader::onHandlePropTypeFlip(CCNode* pNode, CCNode* pParent,
                                          const char* pPropertyName, bool* flip, CCBReader* r) {
  if (std::string(pPropertyName) == "flip") {
    static_cast<CCSprite*>(pNode)->setFlipX(flip[0]);
    static_cast<CCSprite*>(pNode)->setFlipY(flip[1]);
  } else {
    CCNodeLoader::onHandlePropTypeFlip(pNode, pParent, pPropertyName, flip, r);
  }
}

void CCTilingSpriteLoader::onHandlePropTypeSpriteFrame(CCNode* pNode, CCNode* pParent,
                                                       const char* pPropertyName,
                                                       CCSpriteFrame* frame, CCBReader* r) {
  if (std::string(pPropertyName) != "displayFrame") {
    CCNodeLoader::onHandlePropTypeSpriteFrame(pNode, pParent, pPropertyName, frame, r);
    return;
  }
  if (!frame) return;
  const float resourceScale = 1.0f;
  CCSize tile = frame->getOriginalSize();
  tile.width *= resourceScale;
  tile.height *= resourceScale;
  float sx = pNode->getScaleX(), sy = pNode->getScaleY();
  // Negative or absurd scales give no tiles rather than a flood of sprites.
  int columns = sx > 0 && sx < 4096 ? static_cast<int>(std::ceil(sx)) : 0;
  int rows = sy > 0 && sy < 4096 ? static_cast<int>(std::ceil(sy)) : 0;
  if (static_cast<long>(columns) * rows > kMaxTiles) {
    CCLOGERROR("tiling sprite of %d x %d tiles refused (at most %d)", columns, rows, kMaxTiles);
    columns = rows = 0;
  }
  pNode->setContentSize(CCSize(columns * tile.width, rows * tile.height));
  CCSpriteBatchNode* batch = CCSpriteBatchNode::createWithTexture(frame->getTexture(), 120);
  if (batch) {
    batch->setAnchorPoint(CCPoint(0, 0));
    batch->setPosition(CCPoint(0, 0));
    pNode->addChild(batch);
    for (int i = 0; i < columns; ++i) {
      for (int j = 0; j < rows; ++j) {
        CCSprite* s = CCSprite::createWithSpriteFrame(frame);
        if (!s) continue;
        s->setScale(resourceScale);
        s->setAnchorPoint(CCPoint(0, 0));
        s->setPosition(CCPoint(i * tile.width, j * tile.height));
        batch->addChild(s);
      }
    }
  }
  pNode->setScale(1.0f);
}

}  // namespace extension
}  // namespace cocos2d
