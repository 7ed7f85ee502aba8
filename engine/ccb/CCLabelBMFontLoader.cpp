#include "CCLabelBMFontLoader.h"

#include <string>

#include "CCBReader.h"

namespace cocos2d {
namespace extension {

void CCLabelBMFontLoader::onHandlePropTypeColor3(CCNode* pNode, CCNode* pParent,
                                                 const char* pPropertyName, ccColor3B c,
                                                 CCBReader* r) {
  if (std::string(pPropertyName) == "color") static_cast<CCLabelBMFont*>(pNode)->setColor(c);
  else CCNodeLoader::onHandlePropTypeColor3(pNode, pParent, pPropertyName, c, r);
}

void CCLabelBMFontLoader::onHandlePropTypeByte(CCNode* pNode, CCNode* pParent,
                                               const char* pPropertyName, unsigned char b,
                                               CCBReader* r) {
  if (std::string(pPropertyName) == "opacity") static_cast<CCLabelBMFont*>(pNode)->setOpacity(b);
  else CCNodeLoader::onHandlePropTypeByte(pNode, pParent, pPropertyName, b, r);
}

void CCLabelBMFontLoader::onHandlePropTypeBlendFunc(CCNode* pNode, CCNode* pParent,
                                                    const char* pPropertyName, ccBlendFunc bf,
                                                    CCBReader* r) {
  if (std::string(pPropertyName) == "blendFunc")
    static_cast<CCLabelBMFont*>(pNode)->setBlendFunc(bf);
  else
    CCNodeLoader::onHandlePropTypeBlendFunc(pNode, pParent, pPropertyName, bf, r);
}

void CCLabelBMFontLoader::onHandlePropTypeFntFile(CCNode* pNode, CCNode* pParent,
                                                  const char* pPropertyName,
                                                  const char* pFntFile, CCBReader* r) {
  if (std::string(pPropertyName) != "fntFile") {
    CCNodeLoader::onHandlePropTypeFntFile(pNode, pParent, pPropertyName, pFntFile, r);
    return;
  }
  CCLabelBMFont* label = static_cast<CCLabelBMFont*>(pNode);
  std::string path = std::string("fonts/") + pFntFile;
  label->setFntFile(path.c_str());
  const float resourceScale = 1.0f;
  label->setScaleX(label->getScaleX() * resourceScale);
  label->setScaleY(label->getScaleY() * resourceScale);
}

void CCLabelBMFontLoader::onHandlePropTypeText(CCNode* pNode, CCNode* pParent,
                                               const char* pPropertyName, const char* pText,
                                               CCBReader* r) {
  if (std::string(pPropertyName) != "string") {
    CCNodeLoader::onHandlePropTypeText(pNode, pParent, pPropertyName, pText, r);
    return;
  }
  CCLabelBMFont* label = static_cast<CCLabelBMFont*>(pNode);
  label->setString(pText, false, true);
  if (pText[0] == '%') {
    label->setString(CCBReader::translate(pText + 1).c_str(), false, false);
  } else {
    label->setString(pText, false, false);
    if (pText[0] == 'A' || pText[0] == 'a') label->setWidth(label->getContentSize().width);
  }
}

}  // namespace extension
}  // namespace cocos2d
