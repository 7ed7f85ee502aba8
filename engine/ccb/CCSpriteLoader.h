#pragma once

#include "CCLayer.h"
#include "CCNodeLoader.h"
#include "CCSprite.h"

namespace cocos2d {
namespace extension {

class CCSpriteLoader : public CCNodeLoader {
 public:
  CCB_STATIC_NEW_AUTORELEASE_OBJECT_METHOD(CCSpriteLoader);

 protected:
  CCB_VIRTUAL_NEW_AUTORELEASE_CREATECCNODE_METHOD(CCSprite);
  void onHandlePropTypeColor3(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                              ccColor3B pCCColor3B, CCBReader* pCCBReader) override;
  void onHandlePropTypeByte(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                            unsigned char pByte, CCBReader* pCCBReader) override;
  void onHandlePropTypeBlendFunc(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                 ccBlendFunc pCCBlendFunc, CCBReader* pCCBReader) override;
  void onHandlePropTypeSpriteFrame(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                   CCSpriteFrame* pCCSpriteFrame, CCBReader* pCCBReader) override;
  void onHandlePropTypeFlip(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                            bool* pFlip, CCBReader* pCCBReader) override;
};

// A sprite class that only exists to be named in screen files; it behaves as a sprite.
class TestSprite : public CCSprite {
 public:
  CREATE_FUNC(TestSprite);
};

class CCTestSpriteLoader : public CCSpriteLoader {
 public:
  CCB_STATIC_NEW_AUTORELEASE_OBJECT_METHOD(CCTestSpriteLoader);

 protected:
  CCB_VIRTUAL_NEW_AUTORELEASE_CREATECCNODE_METHOD(TestSprite);
};

// "CCTilingSprite": a layer filled with copies of one frame, as many across and up as its
// scale asks for (rounded up); the scale itself ends at 1.
class CCTilingSpriteLoader : public CCNodeLoader {
 public:
  CCB_STATIC_NEW_AUTORELEASE_OBJECT_METHOD(CCTilingSpriteLoader);

 protected:
  CCB_VIRTUAL_NEW_AUTORELEASE_CREATECCNODE_METHOD(CCLayer);
  void onHandlePropTypeSpriteFrame(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                   CCSpriteFrame* pCCSpriteFrame, CCBReader* pCCBReader) override;
  // A sprite's other looks mean nothing for tiles: read and dropped.
  void onHandlePropTypeColor3(CCNode*, CCNode*, const char*, ccColor3B, CCBReader*) override {}
  void onHandlePropTypeByte(CCNode*, CCNode*, const char*, unsigned char, CCBReader*) override {}
  void onHandlePropTypeBlendFunc(CCNode*, CCNode*, const char*, ccBlendFunc,
                                 CCBReader*) override {}
  void onHandlePropTypeFlip(CCNode*, CCNode*, const char*, bool*, CCBReader*) override {}
};

}  // namespace extension
}  // namespace cocos2d
