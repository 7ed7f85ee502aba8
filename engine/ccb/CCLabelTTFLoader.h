#pragma once

#include "CCLabelTTF.h"
#include "CCSpriteLoader.h"

namespace cocos2d {
namespace extension {

class CCLabelTTFLoader : public CCNodeLoader {
 public:
  CCB_STATIC_NEW_AUTORELEASE_OBJECT_METHOD(CCLabelTTFLoader);

 protected:
  CCB_VIRTUAL_NEW_AUTORELEASE_CREATECCNODE_METHOD(CCLabelTTF);
  void onHandlePropTypeColor3(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                              ccColor3B pCCColor3B, CCBReader* pCCBReader) override;
  void onHandlePropTypeByte(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                            unsigned char pByte, CCBReader* pCCBReader) override;
  void onHandlePropTypeBlendFunc(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                 ccBlendFunc pCCBlendFunc, CCBReader* pCCBReader) override;
  void onHandlePropTypeFontTTF(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                               const char* pFontTTF, CCBReader* pCCBReader) override;
  void onHandlePropTypeText(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                            const char* pText, CCBReader* pCCBReader) override;
  void onHandlePropTypeFloatScale(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                  float pFloatScale, CCBReader* pCCBReader) override;
  void onHandlePropTypeIntegerLabeled(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                      int pIntegerLabeled, CCBReader* pCCBReader) override;
  void onHandlePropTypeSize(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                            const CCSize& pSize, CCBReader* pCCBReader) override;
};

}  // namespace extension
}  // namespace cocos2d
