#pragma once

#include "CCLayerLoader.h"
#include "CCMenu.h"
#include "CCMenuItem.h"
#include "CCMenuItemColor.h"
#include "CCNodeLoader.h"

namespace cocos2d {
namespace extension {

class CCMenuLoader : public CCLayerLoader {
 public:
  CCB_STATIC_NEW_AUTORELEASE_OBJECT_METHOD(CCMenuLoader);

 protected:
  CCB_VIRTUAL_NEW_AUTORELEASE_CREATECCNODE_METHOD(CCMenu);
};

// The selector block and the enabled switch of every menu item.
class CCMenuItemLoader : public CCNodeLoader {
 protected:
  void onHandlePropTypeBlock(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                             BlockData* pBlockData, CCBReader* pCCBReader) override;
  void onHandlePropTypeCheck(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                             bool pCheck, CCBReader* pCCBReader) override;
};

class CCMenuItemImageLoader : public CCMenuItemLoader {
 public:
  CCB_STATIC_NEW_AUTORELEASE_OBJECT_METHOD(CCMenuItemImageLoader);

 protected:
  CCB_VIRTUAL_NEW_AUTORELEASE_CREATECCNODE_METHOD(CCMenuItemImage);
  void onHandlePropTypeSpriteFrame(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                   CCSpriteFrame* pCCSpriteFrame, CCBReader* pCCBReader) override;
};

// "normalcolor" and "selectedcolor" as "r,g,b,a", "contentsize" as "w,h".
class CCMenuItemColorLoader : public CCMenuItemLoader {
 public:
  CCB_STATIC_NEW_AUTORELEASE_OBJECT_METHOD(CCMenuItemColorLoader);

 protected:
  CCB_VIRTUAL_NEW_AUTORELEASE_CREATECCNODE_METHOD(CCMenuItemColor);
  void onHandlePropTypeString(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                              const char* pString, CCBReader* pCCBReader) override;
};

// Splits "1,2,3" into numbers (text cut at 255 bytes; each part read as a decimal integer).
std::vector<int> ccbSplitNumbers(const char* text);

}  // namespace extension
}  // namespace cocos2d
