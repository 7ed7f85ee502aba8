#pragma once

#include "CCNodeLoader.h"
#include "CCParticleSystemQuad.h"

namespace cocos2d {
namespace extension {

class CCParticleSystemQuadLoader : public CCNodeLoader {
 public:
  CCB_STATIC_NEW_AUTORELEASE_OBJECT_METHOD(CCParticleSystemQuadLoader);

 protected:
  CCB_VIRTUAL_NEW_AUTORELEASE_CREATECCNODE_METHOD(CCParticleSystemQuad);
  void onHandlePropTypeIntegerLabeled(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                      int pIntegerLabeled, CCBReader* pCCBReader) override;
  void onHandlePropTypePoint(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                             const CCPoint& pPoint, CCBReader* pCCBReader) override;
  void onHandlePropTypeFloat(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                             float pFloat, CCBReader* pCCBReader) override;
  void onHandlePropTypeInteger(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                               int pInteger, CCBReader* pCCBReader) override;
  void onHandlePropTypeFloatVar(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                float* pFloatVar, CCBReader* pCCBReader) override;
  void onHandlePropTypeColor4FVar(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                  ccColor4F* pCCColor4FVar, CCBReader* pCCBReader) override;
  void onHandlePropTypeBlendFunc(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                 ccBlendFunc pCCBlendFunc, CCBReader* pCCBReader) override;
  void onHandlePropTypeTexture(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                               CCTexture2D* pCCTexture2D, CCBReader* pCCBReader) override;
};

}  // namespace extension
}  // namespace cocos2d
