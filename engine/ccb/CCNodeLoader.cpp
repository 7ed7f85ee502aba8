#include "CCNodeLoader.h"

#include <cmath>

#include "CCBAnimationManager.h"
#include "CCBReader.h"
#include "CCSpriteFrame.h"
#include "CCSpriteFrameCache.h"
#include "CCTexture2D.h"
#include "CCTextureCache.h"

namespace cocos2d {
namespace extension {

float ccbLayoutCoordinate(float container, float percent, float absolute, float scale) {
  long double v = static_cast<long double>(container) * percent / 100.0L +
                  static_cast<long double>(scale) * absolute;
  float stored = static_cast<float>(v);
  return std::ceil(stored);
}

CCNodeLoader* CCNodeLoader::loader() {
  CCNodeLoader* p = new CCNodeLoader();
  p->autorelease();
  return p;
}

CCNode* CCNodeLoader::loadCCNode(CCNode* pParent, CCBReader* pCCBReader) {
  return createCCNode(pParent, pCCBReader);
}

CCNode* CCNodeLoader::createCCNode(CCNode*, CCBReader*) { return CCNode::create(); }

void CCNodeLoader::parseProperties(CCNode* pNode, CCNode* pParent, const CCBNodeDesc& desc,
                                   CCBReader* pCCBReader) {
  for (const CCBProperty& prop : desc.properties) {
    // Properties meant for phones or the other desktop only are not ours.
    if (prop.platform != 0) continue;
    parseProperty(pNode, pParent, desc, prop, pCCBReader);
  }
}

void CCNodeLoader::unexpected(const char* pPropertyName) {
  CCLOGWARN("Unexpected property: '%s'!", pPropertyName);
}

void CCNodeLoader::parseProperty(CCNode* pNode, CCNode* pParent, const CCBNodeDesc&,
                                 const CCBProperty& prop, CCBReader* r) {
  const CCBValue& v = prop.value;
  const char* name = prop.name.c_str();
  CCBAnimationManager* am = r->getAnimationManager();
  bool animated = am && am->isAnimated(pNode, prop.name);
  CCBValueShape shape;
  if (!ccbValueShape(prop.type, shape) || !ccbValueFits(v, shape)) {
    CCLOGERROR("property '%s' has a malformed value", name);
    return;
  }
  switch (prop.type) {
    case kCCBPropTypePosition: {
      CCPoint p = parsePropTypePosition(pParent, v, r);
      if (animated) {
        CCBValue base;
        base.floats = {v.floats[0], v.floats[1]};
        am->setBaseValue(base, prop.type, pNode, prop.name);
      }
      onHandlePropTypePosition(pNode, pParent, name, p, r);
      break;
    }
    case kCCBPropTypeSize:
      onHandlePropTypeSize(pNode, pParent, name, parsePropTypeSize(pParent, v, r), r);
      break;
    case kCCBPropTypePoint:
      onHandlePropTypePoint(pNode, pParent, name, CCPoint(v.floats[0], v.floats[1]), r);
      break;
    case kCCBPropTypePointLock:
      onHandlePropTypePointLock(pNode, pParent, name, CCPoint(v.floats[0], v.floats[1]), r);
      break;
    case kCCBPropTypeScaleLock: {
      float xy[2] = {v.floats[0], v.floats[1]};
      // A scale type of 1 multiplies by the resource scale, which is 1 here.
      if (animated) am->setBaseValue(v, prop.type, pNode, prop.name);
      onHandlePropTypeScaleLock(pNode, pParent, name, xy, r);
      break;
    }
    case kCCBPropTypeDegrees:
      if (animated) am->setBaseValue(v, prop.type, pNode, prop.name);
      onHandlePropTypeDegrees(pNode, pParent, name, v.floats[0], r);
      break;
    case kCCBPropTypeFloatScale:
      onHandlePropTypeFloatScale(pNode, pParent, name, v.floats[0], r);
      break;
    case kCCBPropTypeInteger:
      onHandlePropTypeInteger(pNode, pParent, name, v.ints[0], r);
      break;
    case kCCBPropTypeIntegerLabeled:
      onHandlePropTypeIntegerLabeled(pNode, pParent, name, v.ints[0], r);
      break;
    case kCCBPropTypeFloat:
      onHandlePropTypeFloat(pNode, pParent, name, v.floats[0], r);
      break;
    case kCCBPropTypeFloatVar: {
      float fv[2] = {v.floats[0], v.floats[1]};
      onHandlePropTypeFloatVar(pNode, pParent, name, fv, r);
      break;
    }
    case kCCBPropTypeCheck:
      if (animated) am->setBaseValue(v, prop.type, pNode, prop.name);
      onHandlePropTypeCheck(pNode, pParent, name, v.bools[0], r);
      break;
    case kCCBPropTypeSpriteFrame: {
      CCSpriteFrame* frame = parsePropTypeSpriteFrame(v, r);
      if (animated) am->setBaseValue(v, prop.type, pNode, prop.name);
      onHandlePropTypeSpriteFrame(pNode, pParent, name, frame, r);
      break;
    }
    case kCCBPropTypeAnimation:
      break;  // frame animations are not used by our screens
    case kCCBPropTypeTexture:
      onHandlePropTypeTexture(pNode, pParent, name, parsePropTypeTexture(v), r);
      break;
    case kCCBPropTypeByte:
      if (animated) am->setBaseValue(v, prop.type, pNode, prop.name);
      onHandlePropTypeByte(pNode, pParent, name, static_cast<unsigned char>(v.ints[0]), r);
      break;
    case kCCBPropTypeColor3: {
      ccColor3B c = ccc3(static_cast<unsigned char>(v.ints[0]),
                         static_cast<unsigned char>(v.ints[1]),
                         static_cast<unsigned char>(v.ints[2]));
      if (animated) am->setBaseValue(v, prop.type, pNode, prop.name);
      onHandlePropTypeColor3(pNode, pParent, name, c, r);
      break;
    }
    case kCCBPropTypeColor4FVar: {
      ccColor4F c[2] = {ccc4f(v.floats[0], v.floats[1], v.floats[2], v.floats[3]),
                        ccc4f(v.floats[4], v.floats[5], v.floats[6], v.floats[7])};
      onHandlePropTypeColor4FVar(pNode, pParent, name, c, r);
      break;
    }
    case kCCBPropTypeFlip: {
      bool flip[2] = {v.bools[0], v.bools[1]};
      onHandlePropTypeFlip(pNode, pParent, name, flip, r);
      break;
    }
    case kCCBPropTypeBlendmode: {
      ccBlendFunc bf = {static_cast<unsigned int>(v.ints[0]),
                        static_cast<unsigned int>(v.ints[1])};
      onHandlePropTypeBlendFunc(pNode, pParent, name, bf, r);
      break;
    }
    case kCCBPropTypeFntFile:
      onHandlePropTypeFntFile(pNode, pParent, name, v.strings[0].c_str(), r);
      break;
    case kCCBPropTypeFontTTF:
      onHandlePropTypeFontTTF(pNode, pParent, name, v.strings[0].c_str(), r);
      break;
    case kCCBPropTypeString:
      onHandlePropTypeString(pNode, pParent, name, v.strings[0].c_str(), r);
      break;
    case kCCBPropTypeText:
      onHandlePropTypeText(pNode, pParent, name, v.strings[0].c_str(), r);
      break;
    case kCCBPropTypeBlock: {
      BlockData data;
      onHandlePropTypeBlock(pNode, pParent, name, parsePropTypeBlock(v, r, data), r);
      break;
    }
    case kCCBPropTypeBlockCCControl: {
      BlockCCControlData data;
      onHandlePropTypeBlockCCControl(pNode, pParent, name,
                                     parsePropTypeBlockCCControl(v, r, data), r);
      break;
    }
    case kCCBPropTypeCCBFile:
      onHandlePropTypeCCBFile(pNode, pParent, name, parsePropTypeCCBFile(pParent, v, r), r);
      break;
    default:
      CCLOGERROR("property '%s' has an unknown type %d", name, prop.type);
      break;
  }
}

CCPoint CCNodeLoader::parsePropTypePosition(CCNode* pParent, const CCBValue& v, CCBReader* r) {
  CCSize container = r->getAnimationManager()->getContainerSize(pParent);
  float scale = r->getLayoutScale();
  return CCPoint(ccbLayoutCoordinate(container.width, v.floats[2], v.floats[0], scale),
                 ccbLayoutCoordinate(container.height, v.floats[3], v.floats[1], scale));
}

CCSize CCNodeLoader::parsePropTypeSize(CCNode* pParent, const CCBValue& v, CCBReader* r) {
  CCSize container = r->getAnimationManager()->getContainerSize(pParent);
  float scale = r->getLayoutScale();
  return CCSize(ccbLayoutCoordinate(container.width, v.floats[2], v.floats[0], scale),
                ccbLayoutCoordinate(container.height, v.floats[3], v.floats[1], scale));
}

CCSpriteFrame* ccbSpriteFrame(const std::string& sheet, const std::string& frameName,
                              CCBReader* r) {
  if (frameName.empty()) return nullptr;
  if (sheet.empty()) {
    // A single image of its own.
    std::string path = "plain_sprites/" + frameName;
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(path.c_str());
    if (!texture) {
      CCLOGERROR("failed to load image: %s", path.c_str());
      return nullptr;
    }
    const CCSize& size = texture->getContentSize();
    return CCSpriteFrame::createWithTexture(texture, CCRect(0, 0, size.width, size.height));
  }
  std::string file = "sprites/" + sheet + ".plist";
  CCSpriteFrameCache* cache = CCSpriteFrameCache::sharedSpriteFrameCache();
  if (!r || !r->isSpriteSheetLoaded(file)) {
    cache->addSpriteFramesWithFile(file.c_str());
    if (r) r->addLoadedSpriteSheet(file);
  }
  CCSpriteFrame* frame = cache->spriteFrameByName(frameName.c_str());
  if (!frame) CCLOGERROR("failed to find sprite frame with name: %s", frameName.c_str());
  return frame;
}

CCSpriteFrame* CCNodeLoader::parsePropTypeSpriteFrame(const CCBValue& v, CCBReader* r) {
  return ccbSpriteFrame(v.strings[0], v.strings[1], r);
}

CCTexture2D* CCNodeLoader::parsePropTypeTexture(const CCBValue& v) {
  const std::string& file = v.strings[0];
  if (file.empty()) return nullptr;
  CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(file.c_str());
  if (!texture) CCLOGERROR("failed to load texture: %s", file.c_str());
  return texture;
}

namespace {

CCObject* selectorTarget(int targetType, CCBReader* r) {
  if (targetType == kCCBTargetTypeDocumentRoot) return r->getAnimationManager()->getRootNode();
  if (targetType == kCCBTargetTypeOwner) return r->getOwner();
  return nullptr;
}

}  // namespace

namespace {

// Finds the target of a selector property and asks the target, then the reader's resolver,
// for the handler named; null (with a warning) when either is missing.
template <typename Handler, typename Resolve>
CCObject* resolveSelector(const CCBValue& v, CCBReader* r, Resolve resolve, Handler& handler) {
  const std::string& selectorName = v.strings[0];
  int targetType = v.ints[0];
  if (targetType == kCCBTargetTypeNone || selectorName.empty()) return nullptr;
  CCObject* target = selectorTarget(targetType, r);
  if (!target) {
    CCLOGWARN("Unexpected NULL target for selector '%s'", selectorName.c_str());
    return nullptr;
  }
  CCString* name = CCString::create(selectorName);
  handler = nullptr;
  if (CCBSelectorResolver* own = dynamic_cast<CCBSelectorResolver*>(target))
    handler = resolve(own, target, name);
  if (!handler && r->getCCBSelectorResolver())
    handler = resolve(r->getCCBSelectorResolver(), target, name);
  if (!handler) {
    CCLOGWARN("Skipping selector '%s' since it was not resolved", selectorName.c_str());
    return nullptr;
  }
  return target;
}

}  // namespace

BlockData* CCNodeLoader::parsePropTypeBlock(const CCBValue& v, CCBReader* r, BlockData& out) {
  SEL_MenuHandler handler = nullptr;
  CCObject* target = resolveSelector(
      v, r,
      [](CCBSelectorResolver* res, CCObject* t, CCString* n) {
        return res->onResolveCCBCCMenuItemSelector(t, n);
      },
      handler);
  if (!target) return nullptr;
  out.mSELMenuHandler = handler;
  out.mTarget = target;
  return &out;
}

BlockCCControlData* CCNodeLoader::parsePropTypeBlockCCControl(const CCBValue& v, CCBReader* r,
                                                              BlockCCControlData& out) {
  SEL_CCControlHandler handler = nullptr;
  CCObject* target = resolveSelector(
      v, r,
      [](CCBSelectorResolver* res, CCObject* t, CCString* n) {
        return res->onResolveCCBCCControlSelector(t, n);
      },
      handler);
  if (!target) return nullptr;
  out.mSELCCControlHandler = handler;
  out.mTarget = target;
  out.mControlEvents = v.ints.size() > 1 ? v.ints[1] : 0;
  return &out;
}

CCNode* CCNodeLoader::parsePropTypeCCBFile(CCNode* pParent, const CCBValue& v, CCBReader* r) {
  std::string name = v.strings[0];
  size_t dot = name.find('.');
  if (dot != std::string::npos) name = name.substr(0, dot);
  if (name.empty()) return nullptr;
  return r->readSubFile(name, pParent);
}

void CCNodeLoader::onHandlePropTypePosition(CCNode* pNode, CCNode*, const char* pPropertyName,
                                            const CCPoint& pPosition, CCBReader*) {
  if (std::string(pPropertyName) == "position") pNode->setPosition(pPosition);
  else unexpected(pPropertyName);
}

void CCNodeLoader::onHandlePropTypePoint(CCNode* pNode, CCNode*, const char* pPropertyName,
                                         const CCPoint& pPoint, CCBReader*) {
  if (std::string(pPropertyName) == "anchorPoint") pNode->setAnchorPoint(pPoint);
  else unexpected(pPropertyName);
}

void CCNodeLoader::onHandlePropTypePointLock(CCNode*, CCNode*, const char* pPropertyName,
                                             const CCPoint&, CCBReader*) {
  unexpected(pPropertyName);
}

void CCNodeLoader::onHandlePropTypeSize(CCNode* pNode, CCNode*, const char* pPropertyName,
                                        const CCSize& pSize, CCBReader*) {
  if (std::string(pPropertyName) == "contentSize") pNode->setContentSize(pSize);
  else unexpected(pPropertyName);
}

void CCNodeLoader::onHandlePropTypeScaleLock(CCNode* pNode, CCNode*, const char* pPropertyName,
                                             float* pScaleLock, CCBReader*) {
  if (std::string(pPropertyName) == "scale") {
    pNode->setScaleX(pScaleLock[0]);
    pNode->setScaleY(pScaleLock[1]);
  } else {
    unexpected(pPropertyName);
  }
}

void CCNodeLoader::onHandlePropTypeFloat(CCNode*, CCNode*, const char* pPropertyName, float,
                                         CCBReader*) {
  unexpected(pPropertyName);
}

void CCNodeLoader::onHandlePropTypeDegrees(CCNode* pNode, CCNode*, const char* pPropertyName,
                                           float pDegrees, CCBReader*) {
  if (std::string(pPropertyName) == "rotation") pNode->setRotation(pDegrees);
  else unexpected(pPropertyName);
}

void CCNodeLoader::onHandlePropTypeFloatScale(CCNode*, CCNode*, const char* pPropertyName,
                                              float, CCBReader*) {
  unexpected(pPropertyName);
}

void CCNodeLoader::onHandlePropTypeInteger(CCNode* pNode, CCNode*, const char* pPropertyName,
                                           int pInteger, CCBReader*) {
  if (std::string(pPropertyName) == "tag") pNode->setTag(pInteger);
  else unexpected(pPropertyName);
}

void CCNodeLoader::onHandlePropTypeIntegerLabeled(CCNode*, CCNode*, const char* pPropertyName,
                                                  int, CCBReader*) {
  unexpected(pPropertyName);
}

void CCNodeLoader::onHandlePropTypeFloatVar(CCNode*, CCNode*, const char* pPropertyName, float*,
                                            CCBReader*) {
  unexpected(pPropertyName);
}

void CCNodeLoader::onHandlePropTypeCheck(CCNode* pNode, CCNode*, const char* pPropertyName,
                                         bool pCheck, CCBReader*) {
  std::string n(pPropertyName);
  if (n == "visible") pNode->setVisible(pCheck);
  else if (n == "ignoreAnchorPointForPosition") pNode->ignoreAnchorPointForPosition(pCheck);
  else unexpected(pPropertyName);
}

void CCNodeLoader::onHandlePropTypeSpriteFrame(CCNode*, CCNode*, const char* pPropertyName,
                                               CCSpriteFrame*, CCBReader*) {
  unexpected(pPropertyName);
}

void CCNodeLoader::onHandlePropTypeTexture(CCNode*, CCNode*, const char* pPropertyName,
                                           CCTexture2D*, CCBReader*) {
  unexpected(pPropertyName);
}

void CCNodeLoader::onHandlePropTypeByte(CCNode*, CCNode*, const char* pPropertyName,
                                        unsigned char, CCBReader*) {
  unexpected(pPropertyName);
}

void CCNodeLoader::onHandlePropTypeColor3(CCNode*, CCNode*, const char* pPropertyName,
                                          ccColor3B, CCBReader*) {
  unexpected(pPropertyName);
}

void CCNodeLoader::onHandlePropTypeColor4FVar(CCNode*, CCNode*, const char* pPropertyName,
                                              ccColor4F*, CCBReader*) {
  unexpected(pPropertyName);
}

void CCNodeLoader::onHandlePropTypeFlip(CCNode*, CCNode*, const char* pPropertyName, bool*,
                                        CCBReader*) {
  unexpected(pPropertyName);
}

void CCNodeLoader::onHandlePropTypeBlendFunc(CCNode*, CCNode*, const char* pPropertyName,
                                             ccBlendFunc, CCBReader*) {
  unexpected(pPropertyName);
}

void CCNodeLoader::onHandlePropTypeFntFile(CCNode*, CCNode*, const char* pPropertyName,
                                           const char*, CCBReader*) {
  unexpected(pPropertyName);
}

void CCNodeLoader::onHandlePropTypeString(CCNode*, CCNode*, const char* pPropertyName,
                                          const char*, CCBReader*) {
  unexpected(pPropertyName);
}

void CCNodeLoader::onHandlePropTypeText(CCNode*, CCNode*, const char* pPropertyName, const char*,
                                        CCBReader*) {
  unexpected(pPropertyName);
}

void CCNodeLoader::onHandlePropTypeFontTTF(CCNode*, CCNode*, const char* pPropertyName,
                                           const char*, CCBReader*) {
  unexpected(pPropertyName);
}

void CCNodeLoader::onHandlePropTypeBlock(CCNode*, CCNode*, const char* pPropertyName, BlockData*,
                                         CCBReader*) {
  unexpected(pPropertyName);
}

void CCNodeLoader::onHandlePropTypeBlockCCControl(CCNode*, CCNode*, const char* pPropertyName,
                                                  BlockCCControlData*, CCBReader*) {
  unexpected(pPropertyName);
}

void CCNodeLoader::onHandlePropTypeCCBFile(CCNode* pNode, CCNode*, const char* pPropertyName,
                                           CCNode* pCCBFileNode, CCBReader*) {
  // A sub-file's root becomes a child of the node that names it.
  if (std::string(pPropertyName) == "ccbFile") {
    if (pCCBFileNode) pNode->addChild(pCCBFileNode);
  } else {
    unexpected(pPropertyName);
  }
}

}  // namespace extension
}  // namespace cocos2d
