#include "CCBClassTable.h"

#include "CCBDocument.h"

namespace cocos2d {
namespace extension {

namespace {

std::vector<CCBPropertySpec> controlButtonProperties() {
  std::vector<CCBPropertySpec> props = {
      {"zoomOnTouchDown", kCCBPropTypeCheck},
      {"labelAnchorPoint", kCCBPropTypePoint},
      {"preferedSize", kCCBPropTypeSize},
  };
  // One entry per control state: normal, highlighted, disabled.
  static const char* const kStates[] = {"|1", "|2", "|3"};
  static std::vector<std::string> names;  // keeps the composed names alive
  if (names.empty()) {
    for (const char* stem : {"title", "titleTTF", "titleTTFSize", "backgroundSpriteFrame", "titleColor"})
      for (const char* state : kStates) names.push_back(std::string(stem) + state);
  }
  const int types[] = {kCCBPropTypeString, kCCBPropTypeFontTTF, kCCBPropTypeFloatScale,
                       kCCBPropTypeSpriteFrame, kCCBPropTypeColor3};
  for (size_t i = 0; i < names.size(); ++i) props.push_back({names[i].c_str(), types[i / 3]});
  return props;
}

const std::vector<CCBClassSpec>& table() {
  static const std::vector<CCBClassSpec> classes = {
      {"CCNode", nullptr, true,
       {{"position", kCCBPropTypePosition},
        {"contentSize", kCCBPropTypeSize},
        {"anchorPoint", kCCBPropTypePoint},
        {"scale", kCCBPropTypeScaleLock},
        {"rotation", kCCBPropTypeDegrees},
        {"tag", kCCBPropTypeInteger},
        {"ignoreAnchorPointForPosition", kCCBPropTypeCheck},
        {"visible", kCCBPropTypeCheck}}},
      {"CCLayer", "CCNode", true,
       {{"touchEnabled", kCCBPropTypeCheck},
        {"accelerometerEnabled", kCCBPropTypeCheck},
        {"mouseEnabled", kCCBPropTypeCheck},
        {"keyboardEnabled", kCCBPropTypeCheck}}},
      {"CCLayerColor", "CCLayer", true,
       {{"color", kCCBPropTypeColor3},
        {"opacity", kCCBPropTypeByte},
        {"blendFunc", kCCBPropTypeBlendmode}}},
      {"CCLayerGradient", "CCLayerColor", true,
       {{"startColor", kCCBPropTypeColor3},
        {"endColor", kCCBPropTypeColor3},
        {"startOpacity", kCCBPropTypeByte},
        {"endOpacity", kCCBPropTypeByte},
        {"vector", kCCBPropTypePoint}}},
      {"CCSprite", "CCNode", true,
       {{"displayFrame", kCCBPropTypeSpriteFrame},
        {"color", kCCBPropTypeColor3},
        {"opacity", kCCBPropTypeByte},
        {"flip", kCCBPropTypeFlip},
        {"blendFunc", kCCBPropTypeBlendmode}}},
      {"CCLabelBMFont", "CCNode", true,
       {{"fntFile", kCCBPropTypeFntFile},
        {"string", kCCBPropTypeText},
        {"color", kCCBPropTypeColor3},
        {"opacity", kCCBPropTypeByte},
        {"blendFunc", kCCBPropTypeBlendmode}}},
      {"CCLabelTTF", "CCNode", true,
       {{"fontName", kCCBPropTypeFontTTF},
        {"fontSize", kCCBPropTypeFloatScale},
        {"string", kCCBPropTypeText},
        {"dimensions", kCCBPropTypeSize},
        {"horizontalAlignment", kCCBPropTypeIntegerLabeled},
        {"verticalAlignment", kCCBPropTypeIntegerLabeled},
        {"color", kCCBPropTypeColor3},
        {"opacity", kCCBPropTypeByte},
        {"blendFunc", kCCBPropTypeBlendmode}}},
      {"CCScale9Sprite", "CCNode", true,
       {{"spriteFrame", kCCBPropTypeSpriteFrame},
        {"preferedSize", kCCBPropTypeSize},
        {"insetLeft", kCCBPropTypeFloat},
        {"insetTop", kCCBPropTypeFloat},
        {"insetRight", kCCBPropTypeFloat},
        {"insetBottom", kCCBPropTypeFloat},
        {"color", kCCBPropTypeColor3},
        {"opacity", kCCBPropTypeByte},
        {"blendFunc", kCCBPropTypeBlendmode}}},
      {"CCScrollView", "CCLayer", true,
       {{"container", kCCBPropTypeCCBFile},
        {"direction", kCCBPropTypeIntegerLabeled},
        {"clipsToBounds", kCCBPropTypeCheck},
        {"bounces", kCCBPropTypeCheck},
        {"zoomScale", kCCBPropTypeFloat}}},
      {"CCBFile", "CCNode", true, {{"ccbFile", kCCBPropTypeCCBFile}}},
      {"CCMenu", "CCLayer", true, {}},
      {"CCMenuItem", "CCNode", false, {{"block", kCCBPropTypeBlock}, {"isEnabled", kCCBPropTypeCheck}}},
      {"CCMenuItemImage", "CCMenuItem", true,
       {{"normalSpriteFrame", kCCBPropTypeSpriteFrame},
        {"selectedSpriteFrame", kCCBPropTypeSpriteFrame},
        {"disabledSpriteFrame", kCCBPropTypeSpriteFrame}}},
      {"CCControl", "CCLayer", false,
       {{"enabled", kCCBPropTypeCheck},
        {"selected", kCCBPropTypeCheck},
        {"ccControl", kCCBPropTypeBlockCCControl}}},
      {"CCControlButton", "CCControl", true, controlButtonProperties()},
      {"CCParticleSystemQuad", "CCNode", true,
       {{"emitterMode", kCCBPropTypeIntegerLabeled},
        {"posVar", kCCBPropTypePoint},
        {"emissionRate", kCCBPropTypeFloat},
        {"duration", kCCBPropTypeFloat},
        {"totalParticles", kCCBPropTypeInteger},
        {"life", kCCBPropTypeFloatVar},
        {"startSize", kCCBPropTypeFloatVar},
        {"endSize", kCCBPropTypeFloatVar},
        {"startSpin", kCCBPropTypeFloatVar},
        {"endSpin", kCCBPropTypeFloatVar},
        {"angle", kCCBPropTypeFloatVar},
        {"startColor", kCCBPropTypeColor4FVar},
        {"endColor", kCCBPropTypeColor4FVar},
        {"blendFunc", kCCBPropTypeBlendmode},
        {"gravity", kCCBPropTypePoint},
        {"speed", kCCBPropTypeFloatVar},
        {"tangentialAccel", kCCBPropTypeFloatVar},
        {"radialAccel", kCCBPropTypeFloatVar},
        {"texture", kCCBPropTypeTexture},
        {"startRadius", kCCBPropTypeFloatVar},
        {"endRadius", kCCBPropTypeFloatVar},
        {"rotatePerSecond", kCCBPropTypeFloatVar}}},
      // Takes a sprite's properties but only uses the frame: the others are read and dropped.
      {"CCTilingSprite", "CCNode", true,
       {{"displayFrame", kCCBPropTypeSpriteFrame},
        {"color", kCCBPropTypeColor3},
        {"opacity", kCCBPropTypeByte},
        {"flip", kCCBPropTypeFlip},
        {"blendFunc", kCCBPropTypeBlendmode}}},
      {"CCMenuItemColor", "CCMenuItem", true,
       {{"normalcolor", kCCBPropTypeString},
        {"selectedcolor", kCCBPropTypeString},
        {"contentsize", kCCBPropTypeString}}},
      {"TestLayer", "CCLayer", true, {}},
      {"TestSprite", "CCSprite", true, {}},
  };
  return classes;
}

}  // namespace

namespace {

const CCBClassSpec* anyClass(const std::string& className) {
  for (const CCBClassSpec& c : table())
    if (className == c.name) return &c;
  return nullptr;
}

}  // namespace

const CCBClassSpec* ccbFindClass(const std::string& className) {
  const CCBClassSpec* c = anyClass(className);
  return c && c->loadable ? c : nullptr;
}

int ccbPropertyType(const std::string& className, const std::string& propertyName) {
  if (!ccbFindClass(className)) return -1;
  for (const CCBClassSpec* c = anyClass(className); c; c = c->base ? anyClass(c->base) : nullptr)
    for (const CCBPropertySpec& p : c->properties)
      if (propertyName == p.name) return p.type;
  return -1;
}

std::vector<std::string> ccbClassNames() {
  std::vector<std::string> names;
  for (const CCBClassSpec& c : table())
    if (c.loadable) names.push_back(c.name);
  return names;
}

}  // namespace extension
}  // namespace cocos2d
