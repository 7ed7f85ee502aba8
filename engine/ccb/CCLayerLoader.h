#pragma once

#include "CCLayer.h"
#include "CCLayerColor.h"
#include "CCNodeLoader.h"

namespace cocos2d {
namespace extension {

class CCLayerLoader : public CCNodeLoader {
 public:
  CCB_STATIC_NEW_AUTORELEASE_OBJECT_METHOD(CCLayerLoader);

 protected:
  CCB_VIRTUAL_NEW_AUTORELEASE_CREATECCNODE_METHOD(CCLayer);
  void onHandlePropTypeCheck(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                             bool pCheck, CCBReader* pCCBReader) override;
};

class CCLayerColorLoader : public CCLayerLoader {
 public:
  CCB_STATIC_NEW_AUTORELEASE_OBJECT_METHOD(CCLayerColorLoader);

 protected:
  CCB_VIRTUAL_NEW_AUTORELEASE_CREATECCNODE_METHOD(CCLayerColor);
  void onHandlePropTypeColor3(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                              ccColor3B pCCColor3B, CCBReader* pCCBReader) override;
  void onHandlePropTypeByte(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                            unsigned char pByte, CCBReader* pCCBReader) override;
  void onHandlePropTypeBlendFunc(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                 ccBlendFunc pCCBlendFunc, CCBReader* pCCBReader) override;
};

class CCLayerGradientLoader : public CCLayerColorLoader {
 public:
  CCB_STATIC_NEW_AUTORELEASE_OBJECT_METHOD(CCLayerGradientLoader);

 protected:
  CCB_VIRTUAL_NEW_AUTORELEASE_CREATECCNODE_METHOD(CCLayerGradient);
  void onHandlePropTypeColor3(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                              ccColor3B pCCColor3B, CCBReader* pCCBReader) override;
  void onHandlePropTypeByte(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                            unsigned char pByte, CCBReader* pCCBReader) override;
  void onHandlePropTypePoint(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                             const CCPoint& pPoint, CCBReader* pCCBReader) override;
};

// A layer class that only exists to be named in screen files; it behaves as a layer.
class TestLayer : public CCLayer {
 public:
  CREATE_FUNC(TestLayer);
};

class CCTestLayerLoader : public CCLayerLoader {
 public:
  CCB_STATIC_NEW_AUTORELEASE_OBJECT_METHOD(CCTestLayerLoader);

 protected:
  CCB_VIRTUAL_NEW_AUTORELEASE_CREATECCNODE_METHOD(TestLayer);
};

}  // namespace extension
}  // namespace cocos2d
