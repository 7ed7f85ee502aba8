// What a card's effect script is built with: the effect's step list, the places and the
// view of the board through the effect player's stage, and small action helpers.
#include "SpellEffectSteps.h"

#include "Board.h"
#include "BoardElem.h"
#include "BoardView.h"
#include "CCActionInterval.h"
#include "CCAnimation.h"
#include "CCArray.h"
#include "CCPointExtension.h"
#include "CCSprite.h"
#include "CCSpriteFrame.h"
#include "CCSpriteFrameCache.h"
#include "EffectActions.h"
#include "ResourceNames.h"
#include "SpellEffectPlayer.h"
#include "logog/logog.hpp"
#include "player/AnimateSpellEvent.h"

using namespace cocos2d;

namespace {
constexpr float kHalfCell = BoardView::kElemSize * 0.5f;
}

namespace fx {

CCFiniteTimeAction* delay(float seconds) { return CCDelayTime::create(seconds); }

CCFiniteTimeAction* sequence(std::initializer_list<CCFiniteTimeAction*> actions) {
  CCArray* list = CCArray::create();
  for (CCFiniteTimeAction* a : actions)
    if (a) list->addObject(a);
  if (list->count() == 1) return static_cast<CCFiniteTimeAction*>(list->objectAtIndex(0));
  return CCSequence::createWithArray(list);
}

CCFiniteTimeAction* together(CCFiniteTimeAction* a, CCFiniteTimeAction* b) {
  return CCSpawn::createWithTwoActions(a, b);
}

CCAnimate* animation(std::initializer_list<const char*> frames, unsigned int loops) {
  CCArray* list = CCArray::create();
  CCSpriteFrameCache* cache = CCSpriteFrameCache::sharedSpriteFrameCache();
  for (const char* name : frames) {
    CCSpriteFrame* frame = cache->spriteFrameByName(name);
    if (!frame) {
      LOGOG_ERROR("GUI::the effect frame %s is missing", name);
      return nullptr;
    }
    list->addObject(frame);
  }
  CCAnimation* anim = CCAnimation::createWithSpriteFrames(list, kFrameSeconds);
  if (!anim) return nullptr;
  anim->setLoops(loops);
  return CCAnimate::create(anim);
}

CCSprite* frameSprite(const char* name) {
  CCSprite* sprite = CCSprite::createWithSpriteFrameName(name);
  if (!sprite) LOGOG_ERROR("GUI::the effect frame %s is missing", name);
  return sprite;
}

CCFiniteTimeAction* particleStep(const std::string& path) { return ParticleAction::create(path, mv::hdScale()); }

}  // namespace fx

EffectSteps::EffectSteps(SpellEffectPlayer& player, const AnimateSpellEvent& record, CCArray* steps)
    : player_(player), stage_(player.stage_), record_(record), steps_(steps), local_(stage_.viewLocalPlayer()) {
  for (BoardElem* e : record.targets)
    if (e) targets_.push_back(e);
}

bool EffectSteps::isLocal(const BoardElem* e) const { return e->owner() && e->owner() == local_; }

CCPoint EffectSteps::boardToLayerPoint(const Player* owner, int x, int y) const {
  return stage_.boardToLayerPoint(owner, x, y);
}

CCPoint EffectSteps::elemToLayerPoint(BoardElem* e) const { return boardToLayerPoint(e->owner(), e->x(), e->y()); }

CCPoint EffectSteps::centre(BoardElem* e) const { return ccpAdd(elemToLayerPoint(e), ccp(kHalfCell, kHalfCell)); }

CCPoint EffectSteps::targetCentreCell() const {
  const int c = Board::getBoardCenter();
  return boardToLayerPoint(record_.target, c, c);
}

CCNode* EffectSteps::getPlayerLayer(const Player* owner) const { return stage_.getPlayerLayer(owner); }

CCNode* EffectSteps::shakenNode() const { return stage_.shakenNode(); }

void EffectSteps::add(CCFiniteTimeAction* step) {
  if (step) steps_->addObject(step);
}

void EffectSteps::addNode(CCNode* node, CCNode* layer) { player_.addEffectNode(node, layer, SpellEffectPlayer::kEffectZ); }

CCNode* EffectSteps::emptyNodeAt(BoardElem* e, CCFiniteTimeAction* actions) {
  CCNode* node = CCNode::create();
  node->setPosition(centre(e));
  addNode(node, getPlayerLayer(e->owner()));
  if (actions) node->runAction(actions);
  return node;
}

void EffectSteps::focusView(CCNode* layer, const CCPoint& point, float scale) { stage_.focusView(layer, point, scale); }

void EffectSteps::focusElement(BoardElem* e, float scale) {
  if (!e) return;
  focusView(getPlayerLayer(e->owner()), centre(e), scale);
}

void EffectSteps::focusBoardCentre(float scale) {
  focusView(getPlayerLayer(record_.target), ccpAdd(targetCentreCell(), ccp(kHalfCell, kHalfCell)), scale);
}

CCFiniteTimeAction* EffectSteps::sound(const std::string& path) { return player_.soundStep(path); }

CCFiniteTimeAction* EffectSteps::stopSounds() { return player_.stopSoundsStep(); }
