#pragma once

#include "CCControlButton.h"
#include "CCLayerLoader.h"
#include "CCScale9Sprite.h"

namespace cocos2d {
namespace extension {

// The switches and the selector block of every control.
class CCControlLoader : public CCLayerLoader {
 protected:
  void onHandlePropTypeCheck(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                             bool pCheck, CCBReader* pCCBReader) override;
  void onHandlePropTypeBlockCCControl(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                      BlockCCControlData* pBlockCCControlData,
                                      CCBReader* pCCBReader) override;
};

class CCControlButtonLoader : public CCControlLoader {
 public:
  CCB_STATIC_NEW_AUTORELEASE_OBJECT_METHOD(CCControlButtonLoader);

 protected:
  CCB_VIRTUAL_NEW_AUTORELEASE_CREATECCNODE_METHOD(CCControlButton);
  void onHandlePropTypeCheck(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                             bool pCheck, CCBReader* pCCBReader) override;
  void onHandlePropTypeString(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                              const char* pString, CCBReader* pCCBReader) override;
  void onHandlePropTypeFontTTF(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                               const char* pFontTTF, CCBReader* pCCBReader) override;
  void onHandlePropTypeFloatScale(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                  float pFloatScale, CCBReader* pCCBReader) override;
  void onHandlePropTypePoint(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                             const CCPoint& pPoint, CCBReader* pCCBReader) override;
  void onHandlePropTypeSize(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                            const CCSize& pSize, CCBReader* pCCBReader) override;
  void onHandlePropTypeSpriteFrame(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                   CCSpriteFrame* pCCSpriteFrame, CCBReader* pCCBReader) override;
  void onHandlePropTypeColor3(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                              ccColor3B pCCColor3B, CCBReader* pCCBReader) override;
};

// Nine-slice sprites: both size properties set the preferred size, and the insets are scaled
// like the rest of the layout.
class CCScale9SpriteLoader : public CCNodeLoader {
 public:
  CCB_STATIC_NEW_AUTORELEASE_OBJECT_METHOD(CCScale9SpriteLoader);

 protected:
  CCB_VIRTUAL_NEW_AUTORELEASE_CREATECCNODE_METHOD(CCScale9Sprite);
  void onHandlePropTypeColor3(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                              ccColor3B pCCColor3B, CCBReader* pCCBReader) override;
  void onHandlePropTypeByte(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                            unsigned char pByte, CCBReader* pCCBReader) override;
  void onHandlePropTypeBlendFunc(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                 ccBlendFunc pCCBlendFunc, CCBReader* pCCBReader) override;
  void onHandlePropTypeSpriteFrame(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                   CCSpriteFrame* pCCSpriteFrame, CCBReader* pCCBReader) override;
  void onHandlePropTypeSize(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                            const CCSize& pSize, CCBReader* pCCBReader) override;
  void onHandlePropTypeFloat(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                             float pFloat, CCBReader* pCCBReader) override;
};

}  // namespace extension
}  // namespace cocos2d
