#include "CCScrollViewLoader.h"

#include <string>

namespace cocos2d {
namespace extension {

namespace {
CCScrollView* view(CCNode* n) { return static_cast<CCScrollView*>(n); }
}  // namespace

void CCScrollViewLoader::onHandlePropTypeSize(CCNode* pNode, CCNode* pParent,
                                              const char* pPropertyName, const CCSize& s,
                                              CCBReader* r) {
  if (std::string(pPropertyName) == "contentSize") view(pNode)->setViewSize(s);
  else CCLayerLoader::onHandlePropTypeSize(pNode, pParent, pPropertyName, s, r);
}

void CCScrollViewLoader::onHandlePropTypeCCBFile(CCNode* pNode, CCNode* pParent,
                                                 const char* pPropertyName, CCNode* file,
                                                 CCBReader* r) {
  if (std::string(pPropertyName) == "container") {
    if (file) {
      view(pNode)->setContainer(file);
      view(pNode)->updateInset();
    }
  } else {
    CCLayerLoader::onHandlePropTypeCCBFile(pNode, pParent, pPropertyName, file, r);
  }
}

void CCScrollViewLoader::onHandlePropTypeCheck(CCNode* pNode, CCNode* pParent,
                                               const char* pPropertyName, bool v, CCBReader* r) {
  std::string n(pPropertyName);
  if (n == "clipsToBounds") view(pNode)->setClippingToBounds(v);
  else if (n == "bounces") view(pNode)->setBounceable(v);
  else CCLayerLoader::onHandlePropTypeCheck(pNode, pParent, pPropertyName, v, r);
}

void CCScrollViewLoader::onHandlePropTypeFloat(CCNode* pNode, CCNode* pParent,
                                               const char* pPropertyName, float v,
                                               CCBReader* r) {
  if (std::string(pPropertyName) == "zoomScale") view(pNode)->setZoomScale(v);
  else CCLayerLoader::onHandlePropTypeFloat(pNode, pParent, pPropertyName, v, r);
}

void CCScrollViewLoader::onHandlePropTypeIntegerLabeled(CCNode* pNode, CCNode* pParent,
                                                        const char* pPropertyName, int v,
                                                        CCBReader* r) {
  if (std::string(pPropertyName) == "direction") {
    if (v >= kCCScrollViewDirectionNone && v <= kCCScrollViewDirectionBoth)
      view(pNode)->setDirection(static_cast<CCScrollViewDirection>(v));
  } else {
    CCLayerLoader::onHandlePropTypeIntegerLabeled(pNode, pParent, pPropertyName, v, r);
  }
}

}  // namespace extension
}  // namespace cocos2d
