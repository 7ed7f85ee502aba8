#pragma once

#include "CCLabelBMFont.h"
#include "CCNodeLoader.h"

namespace cocos2d {
namespace extension {

// Bitmap-font labels of screen files: fonts are looked up under "fonts/"; a text beginning
// with '%' is a language key; a literal text beginning with 'A' or 'a' wraps at its own width.
class CCLabelBMFontLoader : public CCNodeLoader {
 public:
  CCB_STATIC_NEW_AUTORELEASE_OBJECT_METHOD(CCLabelBMFontLoader);

 protected:
  CCB_VIRTUAL_NEW_AUTORELEASE_CREATECCNODE_METHOD(CCLabelBMFont);
  void onHandlePropTypeColor3(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                              ccColor3B pCCColor3B, CCBReader* pCCBReader) override;
  void onHandlePropTypeByte(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                            unsigned char pByte, CCBReader* pCCBReader) override;
  void onHandlePropTypeBlendFunc(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                 ccBlendFunc pCCBlendFunc, CCBReader* pCCBReader) override;
  void onHandlePropTypeFntFile(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                               const char* pFntFile, CCBReader* pCCBReader) override;
  void onHandlePropTypeText(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                            const char* pText, CCBReader* pCCBReader) override;
};

}  // namespace extension
}  // namespace cocos2d
