#include "CCControlLoader.h"

#include <string>

#include "CCBReader.h"

namespace cocos2d {
namespace extension {

namespace {

// "title|2" -> state 2 (highlighted); 0 when the name has no state part.
CCControlState stateOf(const std::string& name, std::string& stem) {
  size_t bar = name.find('|');
  stem = name.substr(0, bar);
  if (bar == std::string::npos) return 0;
  std::string s = name.substr(bar + 1);
  if (s == "1") return CCControlStateNormal;
  if (s == "2") return CCControlStateHighlighted;
  if (s == "3") return CCControlStateDisabled;
  return 0;
}

CCControlButton* button(CCNode* n) { return static_cast<CCControlButton*>(n); }

}  // namespace

void CCControlLoader::onHandlePropTypeCheck(CCNode* pNode, CCNode* pParent,
                                            const char* pPropertyName, bool v, CCBReader* r) {
  std::string n(pPropertyName);
  if (n == "enabled") static_cast<CCControl*>(pNode)->setEnabled(v);
  else if (n == "selected") static_cast<CCControl*>(pNode)->setSelected(v);
  else CCLayerLoader::onHandlePropTypeCheck(pNode, pParent, pPropertyName, v, r);
}

void CCControlLoader::onHandlePropTypeBlockCCControl(CCNode* pNode, CCNode* pParent,
                                                     const char* pPropertyName,
                                                     BlockCCControlData* data, CCBReader* r) {
  if (std::string(pPropertyName) != "ccControl") {
    CCLayerLoader::onHandlePropTypeBlockCCControl(pNode, pParent, pPropertyName, data, r);
    return;
  }
  if (data)
    static_cast<CCControl*>(pNode)->addTargetWithActionForControlEvents(
        data->mTarget, data->mSELCCControlHandler, static_cast<CCControlEvent>(data->mControlEvents));
}

void CCControlButtonLoader::onHandlePropTypeCheck(CCNode* pNode, CCNode* pParent,
                                                  const char* pPropertyName, bool v,
                                                  CCBReader* r) {
  if (std::string(pPropertyName) == "zoomOnTouchDown") button(pNode)->setZoomOnTouchDown(v);
  else CCControlLoader::onHandlePropTypeCheck(pNode, pParent, pPropertyName, v, r);
}

void CCControlButtonLoader::onHandlePropTypeString(CCNode* pNode, CCNode* pParent,
                                                   const char* pPropertyName, const char* s,
                                                   CCBReader* r) {
  std::string stem;
  CCControlState state = stateOf(pPropertyName, stem);
  if (stem == "title" && state) button(pNode)->setTitleForState(s, state);
  else CCControlLoader::onHandlePropTypeString(pNode, pParent, pPropertyName, s, r);
}

void CCControlButtonLoader::onHandlePropTypeFontTTF(CCNode* pNode, CCNode* pParent,
                                                    const char* pPropertyName, const char* f,
                                                    CCBReader* r) {
  std::string stem;
  CCControlState state = stateOf(pPropertyName, stem);
  if (stem == "titleTTF" && state) button(pNode)->setTitleTTFForState(f, state);
  else CCControlLoader::onHandlePropTypeFontTTF(pNode, pParent, pPropertyName, f, r);
}

void CCControlButtonLoader::onHandlePropTypeFloatScale(CCNode* pNode, CCNode* pParent,
                                                       const char* pPropertyName, float v,
                                                       CCBReader* r) {
  std::string stem;
  CCControlState state = stateOf(pPropertyName, stem);
  if (stem == "titleTTFSize" && state) button(pNode)->setTitleTTFSizeForState(v, state);
  else CCControlLoader::onHandlePropTypeFloatScale(pNode, pParent, pPropertyName, v, r);
}

void CCControlButtonLoader::onHandlePropTypePoint(CCNode* pNode, CCNode* pParent,
                                                  const char* pPropertyName, const CCPoint& p,
                                                  CCBReader* r) {
  if (std::string(pPropertyName) == "labelAnchorPoint") button(pNode)->setLabelAnchorPoint(p);
  else CCControlLoader::onHandlePropTypePoint(pNode, pParent, pPropertyName, p, r);
}

void CCControlButtonLoader::onHandlePropTypeSize(CCNode* pNode, CCNode* pParent,
                                                 const char* pPropertyName, const CCSize& s,
                                                 CCBReader* r) {
  if (std::string(pPropertyName) == "preferedSize") button(pNode)->setPreferredSize(s);
  else CCControlLoader::onHandlePropTypeSize(pNode, pParent, pPropertyName, s, r);
}

void CCControlButtonLoader::onHandlePropTypeSpriteFrame(CCNode* pNode, CCNode* pParent,
                                                        const char* pPropertyName,
                                                        CCSpriteFrame* frame, CCBReader* r) {
  std::string stem;
  CCControlState state = stateOf(pPropertyName, stem);
  if (stem == "backgroundSpriteFrame" && state)
    button(pNode)->setBackgroundSpriteFrameForState(frame, state);
  else
    CCControlLoader::onHandlePropTypeSpriteFrame(pNode, pParent, pPropertyName, frame, r);
}

void CCControlButtonLoader::onHandlePropTypeColor3(CCNode* pNode, CCNode* pParent,
                                                   const char* pPropertyName, ccColor3B c,
                                                   CCBReader* r) {
  std::string stem;
  CCControlState state = stateOf(pPropertyName, stem);
  if (stem == "titleColor" && state) button(pNode)->setTitleColorForState(c, state);
  else CCControlLoader::onHandlePropTypeColor3(pNode, pParent, pPropertyName, c, r);
}

// ---- nine-slice sprites ----

namespace {
CCScale9Sprite* nine(CCNode* n) { return static_cast<CCScale9Sprite*>(n); }
}  // namespace

void CCScale9SpriteLoader::onHandlePropTypeColor3(CCNode* pNode, CCNode* pParent,
                                                  const char* pPropertyName, ccColor3B c,
                                                  CCBReader* r) {
  if (std::string(pPropertyName) == "color") nine(pNode)->setColor(c);
  else CCNodeLoader::onHandlePropTypeColor3(pNode, pParent, pPropertyName, c, r);
}

void CCScale9SpriteLoader::onHandlePropTypeByte(CCNode* pNode, CCNode* pParent,
                                                const char* pPropertyName, unsigned char b,
                                                CCBReader* r) {
  if (std::string(pPropertyName) == "opacity") nine(pNode)->setOpacity(b);
  else CCNodeLoader::onHandlePropTypeByte(pNode, pParent, pPropertyName, b, r);
}

void CCScale9SpriteLoader::onHandlePropTypeBlendFunc(CCNode* pNode, CCNode* pParent,
                                                     const char* pPropertyName, ccBlendFunc bf,
                                                     CCBReader* r) {
  // The pieces keep the sprite default; the property is accepted and dropped.
  if (std::string(pPropertyName) != "blendFunc")
    CCNodeLoader::onHandlePropTypeBlendFunc(pNode, pParent, pPropertyName, bf, r);
}

void CCScale9SpriteLoader::onHandlePropTypeSpriteFrame(CCNode* pNode, CCNode* pParent,
                                                       const char* pPropertyName,
                                                       CCSpriteFrame* frame, CCBReader* r) {
  if (std::string(pPropertyName) == "spriteFrame") nine(pNode)->setSpriteFrame(frame);
  else CCNodeLoader::onHandlePropTypeSpriteFrame(pNode, pParent, pPropertyName, frame, r);
}

void CCScale9SpriteLoader::onHandlePropTypeSize(CCNode* pNode, CCNode* pParent,
                                                const char* pPropertyName, const CCSize& s,
                                                CCBReader* r) {
  std::string n(pPropertyName);
  if (n == "contentSize" || n == "preferedSize") nine(pNode)->setPreferredSize(s);
  else CCNodeLoader::onHandlePropTypeSize(pNode, pParent, pPropertyName, s, r);
}

void CCScale9SpriteLoader::onHandlePropTypeFloat(CCNode* pNode, CCNode* pParent,
                                                 const char* pPropertyName, float v,
                                                 CCBReader* r) {
  std::string n(pPropertyName);
  float scaled = v * r->getLayoutScale();
  if (n == "insetLeft") nine(pNode)->setInsetLeft(scaled);
  else if (n == "insetTop") nine(pNode)->setInsetTop(scaled);
  else if (n == "insetRight") nine(pNode)->setInsetRight(scaled);
  else if (n == "insetBottom") nine(pNode)->setInsetBottom(scaled);
  else CCNodeLoader::onHandlePropTypeFloat(pNode, pParent, pPropertyName, v, r);
}

}  // namespace extension
}  // namespace cocos2d
