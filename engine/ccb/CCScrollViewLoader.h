#pragma once

#include "CCLayerLoader.h"
#include "CCScrollView.h"

namespace cocos2d {
namespace extension {

class CCScrollViewLoader : public CCLayerLoader {
 public:
  CCB_STATIC_NEW_AUTORELEASE_OBJECT_METHOD(CCScrollViewLoader);

 protected:
  CCB_VIRTUAL_NEW_AUTORELEASE_CREATECCNODE_METHOD(CCScrollView);
  void onHandlePropTypeSize(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                            const CCSize& pSize, CCBReader* pCCBReader) override;
  void onHandlePropTypeCCBFile(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                               CCNode* pCCBFileNode, CCBReader* pCCBReader) override;
  void onHandlePropTypeCheck(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                             bool pCheck, CCBReader* pCCBReader) override;
  void onHandlePropTypeFloat(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                             float pFloat, CCBReader* pCCBReader) override;
  void onHandlePropTypeIntegerLabeled(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                      int pIntegerLabeled, CCBReader* pCCBReader) override;
};

}  // namespace extension
}  // namespace cocos2d
