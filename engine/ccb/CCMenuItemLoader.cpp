#include "CCMenuItemLoader.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "CCNumbers.h"

namespace cocos2d {
namespace extension {

std::vector<int> ccbSplitNumbers(const char* text) {
  char buffer[256];
  std::strncpy(buffer, text ? text : "", sizeof buffer - 1);
  buffer[sizeof buffer - 1] = '\0';
  std::vector<int> out;
  char* save = nullptr;
  for (char* part = strtok_r(buffer, ",", &save); part; part = strtok_r(nullptr, ",", &save))
    out.push_back(static_cast<int>(ccTextToInteger(part, INT_MIN, INT_MAX)));
  return out;
}

void CCMenuItemLoader::onHandlePropTypeBlock(CCNode* pNode, CCNode* pParent,
                                             const char* pPropertyName, BlockData* data,
                                             CCBReader* r) {
  if (std::string(pPropertyName) != "block") {
    CCNodeLoader::onHandlePropTypeBlock(pNode, pParent, pPropertyName, data, r);
    return;
  }
  if (data) static_cast<CCMenuItem*>(pNode)->setTarget(data->mTarget, data->mSELMenuHandler);
}

void CCMenuItemLoader::onHandlePropTypeCheck(CCNode* pNode, CCNode* pParent,
                                             const char* pPropertyName, bool pCheck,
                                             CCBReader* r) {
  if (std::string(pPropertyName) == "isEnabled") static_cast<CCMenuItem*>(pNode)->setEnabled(pCheck);
  else CCNodeLoader::onHandlePropTypeCheck(pNode, pParent, pPropertyName, pCheck, r);
}

void CCMenuItemImageLoader::onHandlePropTypeSpriteFrame(CCNode* pNode, CCNode* pParent,
                                                        const char* pPropertyName,
                                                        CCSpriteFrame* frame, CCBReader* r) {
  CCMenuItemImage* item = static_cast<CCMenuItemImage*>(pNode);
  std::string n(pPropertyName);
  if (n == "normalSpriteFrame") item->setNormalSpriteFrame(frame);
  else if (n == "selectedSpriteFrame") item->setSelectedSpriteFrame(frame);
  else if (n == "disabledSpriteFrame") item->setDisabledSpriteFrame(frame);
  else CCMenuItemLoader::onHandlePropTypeSpriteFrame(pNode, pParent, pPropertyName, frame, r);
}

void CCMenuItemColorLoader::onHandlePropTypeString(CCNode* pNode, CCNode* pParent,
                                                   const char* pPropertyName,
                                                   const char* pString, CCBReader* r) {
  CCMenuItemColor* item = static_cast<CCMenuItemColor*>(pNode);
  std::string n(pPropertyName);
  if (n == "normalcolor" || n == "selectedcolor") {
    std::vector<int> v = ccbSplitNumbers(pString);
    v.resize(4, 0);
    ccColor4B c = ccc4(static_cast<GLubyte>(v[0]), static_cast<GLubyte>(v[1]),
                       static_cast<GLubyte>(v[2]), static_cast<GLubyte>(v[3]));
    if (n == "normalcolor") item->setNormalColor(c);
    else item->setSelectedColor(c);
  } else if (n == "contentsize") {
    std::vector<int> v = ccbSplitNumbers(pString);
    v.resize(2, 0);
    item->setContentSize(CCSize(static_cast<float>(v[0]), static_cast<float>(v[1])));
    item->setScale(1.0f);
  } else {
    CCMenuItemLoader::onHandlePropTypeString(pNode, pParent, pPropertyName, pString, r);
  }
}

}  // namespace extension
}  // namespace cocos2d
