#include "ElemNodes.h"

#include "CCActionInterval.h"
#include "CCAnimation.h"
#include "CCLabelBMFont.h"
#include "CCParticleSystemQuad.h"
#include "CCPointExtension.h"
#include "CCSpriteFrame.h"
#include "CCSprite.h"
#include "CCSpriteFrameCache.h"
#include "LoadNode.h"
#include "logog/logog.hpp"

using namespace cocos2d;

namespace {

constexpr int kFireActionTag = 0xF17E;
constexpr float kFireFrameSeconds = 0.2f;

ccColor4F colour4(ElemRgb c, float alpha) {
  return ccc4f(c.r / 255.0f, c.g / 255.0f, c.b / 255.0f, alpha);
}

CCSpriteFrame* frameNamed(const std::string& name) {
  CCSpriteFrame* frame = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(name.c_str());
  if (!frame) LOGOG_WARN("element image %s is not in the sprite sheet", name.c_str());
  return frame;
}

}  // namespace

ElemNodes* ElemNodes::create() {
  return ccAutoreleaseIfInit(new ElemNodes(), true);
}

ElemNodes::~ElemNodes() { clear(); }

ElemRgb ElemNodes::smokeStartColour(bool ofLocalPlayer) {
  return ofLocalPlayer ? ElemColorEnemy : ElemRgb{255, 255, 255};
}

ElemRgb ElemNodes::smokeEndColour() { return ElemColorOurs; }

void ElemNodes::clear() {
  // Out of the scene for good: the fire animation and the smoke stop with the nodes.
  if (root_ && root_->getParent()) root_->removeFromParentAndCleanup(true);
  if (smoke_ && smoke_->getParent()) smoke_->removeFromParentAndCleanup(true);
  CC_SAFE_RELEASE_NULL(root_);
  CC_SAFE_RELEASE_NULL(smoke_);
  layers_.fill(nullptr);
  layout_ = ElemLayout::None;
  fireRunning_ = false;
}

bool ElemNodes::onAssignCCBMemberVariable(CCObject* target, CCString* name, CCNode* node) {
  if (target != this || !name) return false;
  const ElemLayer l = elemLayerByName(name->getCString());
  if (l == ElemLayer::Count) return false;
  // Every layer but the room power is a sprite; that one is a label.
  const bool typeOk = l == ElemLayer::RoomPower ? dynamic_cast<CCLabelBMFont*>(node) != nullptr
                                                : dynamic_cast<CCSprite*>(node) != nullptr;
  if (!typeOk) {
    LOGOG_ERROR("element layer %s is of the wrong type", name->getCString());
    return true;
  }
  layers_[static_cast<int>(l)] = node;
  return true;
}

bool ElemNodes::build(ElemLayout layout, bool ofLocalPlayer) {
  clear();
  if (layout == ElemLayout::None) return false;
  CCNode* root = mv::loadNode(layoutFile(layout), this, false, false);
  if (!root) return false;
  root_ = root;
  root_->retain();
  root_->setAnchorPoint(ccp(0.5f, 0.5f));
  layout_ = layout;
  ofLocalPlayer_ = ofLocalPlayer;
  if (CCNode* flood = layer(ElemLayer::Flood)) flood->setScaleY(0);
  if (CCNode* fill = layer(ElemLayer::RoomFill)) roomFillScale_ = fill->getScaleY();
  if (!ofLocalPlayer) {
    if (CCSprite* damaged = dynamic_cast<CCSprite*>(layer(ElemLayer::Damaged))) {
      if (CCSpriteFrame* frame = frameNamed(damagedImageFor(false))) damaged->setDisplayFrame(frame);
    }
  }
  return true;
}

void ElemNodes::runFire(bool burning) {
  CCNode* fire = layer(ElemLayer::Fire);
  if (!fire || burning == fireRunning_) return;
  fireRunning_ = burning;
  if (!burning) {
    fire->stopActionByTag(kFireActionTag);
    return;
  }
  // Two frames, 0.2 s each, for as long as it burns (a hidden fire needs no frames).
  CCArray* frames = CCArray::create();
  for (const char* name : {"fire.png", "fire2.png"})
    if (CCSpriteFrame* frame = frameNamed(name)) frames->addObject(frame);
  if (frames->count() == 0) return;
  CCAction* loop =
      CCRepeatForever::create(CCAnimate::create(CCAnimation::createWithSpriteFrames(frames, kFireFrameSeconds)));
  loop->setTag(kFireActionTag);
  fire->runAction(loop);
}

void ElemNodes::apply(const ElemLook& look, CCNode* smokeParent, int smokeZ) {
  if (!root_) return;
  for (int i = 0; i < kElemLayerCount; ++i) {
    CCNode* node = layers_[i];
    const LayerLook& l = look.layers[i];
    if (!node) continue;
    CCSprite* sprite = dynamic_cast<CCSprite*>(node);
    if (l.image && sprite)
      if (CCSpriteFrame* frame = frameNamed(*l.image)) sprite->setDisplayFrame(frame);
    if (l.tint) {
      if (CCRGBAProtocol* rgba = dynamic_cast<CCRGBAProtocol*>(node))
        rgba->setColor(ccc3(l.tint->r, l.tint->g, l.tint->b));
    }
    if (l.scaleY) {
      const bool fill = static_cast<ElemLayer>(i) == ElemLayer::RoomFill;
      node->setScaleY(fill ? roomFillScale_ * *l.scaleY : *l.scaleY);
    }
    if (l.visible) node->setVisible(*l.visible);
  }
  if (CCLabelBMFont* power = dynamic_cast<CCLabelBMFont*>(layer(ElemLayer::RoomPower))) {
    if (look[ElemLayer::RoomPower].visible.value_or(false) &&
        look.roomPowerText != power->getString())
      power->setString(look.roomPowerText.c_str());
  }
  runFire(look[ElemLayer::Fire].visible.value_or(false));

  if (look.smoke && !smoke_ && smokeParent) {
    smoke_ = CCParticleSystemQuad::create("particles/smoke2.plist");
    if (smoke_) {
      smoke_->retain();
      ccColor4F start = smoke_->getStartColor(), end = smoke_->getEndColor();
      smoke_->setStartColor(colour4(smokeStartColour(ofLocalPlayer_), start.a));
      smoke_->setEndColor(colour4(smokeEndColour(), end.a));
      smoke_->setPosition(root_->getPosition());
      smokeParent->addChild(smoke_, smokeZ);
    }
  }
  if (smoke_) {
    if (look.smoke && !smoke_->isVisible()) smoke_->resetSystem();
    if (!look.smoke && smoke_->isVisible()) smoke_->stopSystem();
    smoke_->setVisible(look.smoke);
  }
}

void ElemNodes::placeAt(const CCPoint& centre) {
  if (root_) root_->setPosition(centre);
  if (smoke_) smoke_->setPosition(centre);
}

CCNode* ElemNodes::detachRoot() {
  CCNode* root = root_;
  if (!root) return nullptr;
  if (smoke_ && smoke_->getParent()) smoke_->removeFromParentAndCleanup(true);
  CC_SAFE_RELEASE_NULL(smoke_);
  // The caller takes over this object's reference.
  if (root->getParent()) root->removeFromParentAndCleanup(false);
  root_ = nullptr;
  layers_.fill(nullptr);
  layout_ = ElemLayout::None;
  fireRunning_ = false;
  return root;
}
