#include "CCLabelTTFLoader.h"

#include <string>

namespace cocos2d {
namespace extension {

namespace {
CCLabelTTF* label(CCNode* n) { return static_cast<CCLabelTTF*>(n); }
}  // namespace

void CCLabelTTFLoader::onHandlePropTypeColor3(CCNode* pNode, CCNode* pParent,
                                              const char* pPropertyName, ccColor3B c,
                                              CCBReader* r) {
  if (std::string(pPropertyName) == "color") label(pNode)->setColor(c);
  else CCNodeLoader::onHandlePropTypeColor3(pNode, pParent, pPropertyName, c, r);
}

void CCLabelTTFLoader::onHandlePropTypeByte(CCNode* pNode, CCNode* pParent,
                                            const char* pPropertyName, unsigned char b,
                                            CCBReader* r) {
  if (std::string(pPropertyName) == "opacity") label(pNode)->setOpacity(b);
  else CCNodeLoader::onHandlePropTypeByte(pNode, pParent, pPropertyName, b, r);
}

void CCLabelTTFLoader::onHandlePropTypeBlendFunc(CCNode* pNode, CCNode* pParent,
                                                 const char* pPropertyName, ccBlendFunc bf,
                                                 CCBReader* r) {
  if (std::string(pPropertyName) == "blendFunc") label(pNode)->setBlendFunc(bf);
  else CCNodeLoader::onHandlePropTypeBlendFunc(pNode, pParent, pPropertyName, bf, r);
}

void CCLabelTTFLoader::onHandlePropTypeFontTTF(CCNode* pNode, CCNode* pParent,
                                               const char* pPropertyName, const char* f,
                                               CCBReader* r) {
  if (std::string(pPropertyName) == "fontName") label(pNode)->setFontName(f);
  else CCNodeLoader::onHandlePropTypeFontTTF(pNode, pParent, pPropertyName, f, r);
}

void CCLabelTTFLoader::onHandlePropTypeText(CCNode* pNode, CCNode* pParent,
                                            const char* pPropertyName, const char* t,
                                            CCBReader* r) {
  if (std::string(pPropertyName) == "string") label(pNode)->setString(t);
  else CCNodeLoader::onHandlePropTypeText(pNode, pParent, pPropertyName, t, r);
}

void CCLabelTTFLoader::onHandlePropTypeFloatScale(CCNode* pNode, CCNode* pParent,
                                                  const char* pPropertyName, float v,
                                                  CCBReader* r) {
  if (std::string(pPropertyName) == "fontSize") label(pNode)->setFontSize(v);
  else CCNodeLoader::onHandlePropTypeFloatScale(pNode, pParent, pPropertyName, v, r);
}

void CCLabelTTFLoader::onHandlePropTypeIntegerLabeled(CCNode* pNode, CCNode* pParent,
                                                      const char* pPropertyName, int v,
                                                      CCBReader* r) {
  std::string n(pPropertyName);
  if (n == "horizontalAlignment" && v >= 0 && v <= 2)
    label(pNode)->setHorizontalAlignment(static_cast<CCTextAlignment>(v));
  else if (n == "verticalAlignment" && v >= 0 && v <= 2)
    label(pNode)->setVerticalAlignment(static_cast<CCVerticalTextAlignment>(v));
  else if (n != "horizontalAlignment" && n != "verticalAlignment")
    CCNodeLoader::onHandlePropTypeIntegerLabeled(pNode, pParent, pPropertyName, v, r);
}

void CCLabelTTFLoader::onHandlePropTypeSize(CCNode* pNode, CCNode* pParent,
                                            const char* pPropertyName, const CCSize& s,
                                            CCBReader* r) {
  if (std::string(pPropertyName) == "dimensions") label(pNode)->setDimensions(s);
  else CCNodeLoader::onHandlePropTypeSize(pNode, pParent, pPropertyName, s, r);
}

}  // namespace extension
}  // namespace cocos2d
