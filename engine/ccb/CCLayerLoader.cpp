#include "CCLayerLoader.h"

#include <string>

namespace cocos2d {
namespace extension {

void CCLayerLoader::onHandlePropTypeCheck(CCNode* pNode, CCNode* pParent,
                                          const char* pPropertyName, bool pCheck,
                                          CCBReader* pCCBReader) {
  CCLayer* layer = static_cast<CCLayer*>(pNode);
  std::string n(pPropertyName);
  if (n == "touchEnabled") layer->setTouchEnabled(pCheck);
  else if (n == "accelerometerEnabled") layer->setAccelerometerEnabled(pCheck);
  else if (n == "keyboardEnabled") layer->setKeypadEnabled(pCheck);
  else if (n == "mouseEnabled") {
    // The mouse follows the touch switch on this platform.
  } else {
    CCNodeLoader::onHandlePropTypeCheck(pNode, pParent, pPropertyName, pCheck, pCCBReader);
  }
}

void CCLayerColorLoader::onHandlePropTypeColor3(CCNode* pNode, CCNode* pParent,
                                                const char* pPropertyName, ccColor3B c,
                                                CCBReader* r) {
  if (std::string(pPropertyName) == "color") static_cast<CCLayerColor*>(pNode)->setColor(c);
  else CCLayerLoader::onHandlePropTypeColor3(pNode, pParent, pPropertyName, c, r);
}

void CCLayerColorLoader::onHandlePropTypeByte(CCNode* pNode, CCNode* pParent,
                                              const char* pPropertyName, unsigned char b,
                                              CCBReader* r) {
  if (std::string(pPropertyName) == "opacity") static_cast<CCLayerColor*>(pNode)->setOpacity(b);
  else CCLayerLoader::onHandlePropTypeByte(pNode, pParent, pPropertyName, b, r);
}

void CCLayerColorLoader::onHandlePropTypeBlendFunc(CCNode* pNode, CCNode* pParent,
                                                   const char* pPropertyName, ccBlendFunc bf,
                                                   CCBReader* r) {
  if (std::string(pPropertyName) == "blendFunc")
    static_cast<CCLayerColor*>(pNode)->setBlendFunc(bf);
  else
    CCLayerLoader::onHandlePropTypeBlendFunc(pNode, pParent, pPropertyName, bf, r);
}

void CCLayerGradientLoader::onHandlePropTypeColor3(CCNode* pNode, CCNode* pParent,
                                                   const char* pPropertyName, ccColor3B c,
                                                   CCBReader* r) {
  CCLayerGradient* g = static_cast<CCLayerGradient*>(pNode);
  std::string n(pPropertyName);
  if (n == "startColor") g->setStartColor(c);
  else if (n == "endColor") g->setEndColor(c);
  else CCLayerColorLoader::onHandlePropTypeColor3(pNode, pParent, pPropertyName, c, r);
}

void CCLayerGradientLoader::onHandlePropTypeByte(CCNode* pNode, CCNode* pParent,
                                                 const char* pPropertyName, unsigned char b,
                                                 CCBReader* r) {
  CCLayerGradient* g = static_cast<CCLayerGradient*>(pNode);
  std::string n(pPropertyName);
  if (n == "startOpacity") g->setStartOpacity(b);
  else if (n == "endOpacity") g->setEndOpacity(b);
  else CCLayerColorLoader::onHandlePropTypeByte(pNode, pParent, pPropertyName, b, r);
}

void CCLayerGradientLoader::onHandlePropTypePoint(CCNode* pNode, CCNode* pParent,
                                                  const char* pPropertyName, const CCPoint& p,
                                                  CCBReader* r) {
  if (std::string(pPropertyName) == "vector") static_cast<CCLayerGradient*>(pNode)->setVector(p);
  else CCLayerColorLoader::onHandlePropTypePoint(pNode, pParent, pPropertyName, p, r);
}

}  // namespace extension
}  // namespace cocos2d
