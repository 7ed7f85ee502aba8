// The effect player: the effects' lives on their clock (start, resume after a new scene,
// end with the completion, dropped with their game), the board animations that are not a
// card's (the collapse, the explosion) and the game's sounds.
#include "SpellEffectPlayer.h"

#include <algorithm>
#include <cstdlib>

#include "BoardElem.h"
#include "BoardView.h"
#include "CCActionEase.h"
#include "CCActionInterval.h"
#include "CCArray.h"
#include "CCPointExtension.h"
#include "EffectActions.h"
#include "ElemNodes.h"
#include "GameAudio.h"
#include "SpellEffectSteps.h"
#include "logog/logog.hpp"
#include "player/Player.h"

using namespace cocos2d;
using namespace fx;

namespace {
constexpr unsigned int kNoSound = static_cast<unsigned int>(-1);
}

SpellEffectPlayer::SpellEffectPlayer(EffectStage& stage)
    : stage_(stage), sounds_(std::make_shared<EffectSounds>()) {
  nodes_ = CCArray::create();
  nodes_->retain();
  clock_ = CCNode::create();
  clock_->retain();
}

SpellEffectPlayer::~SpellEffectPlayer() {
  // Nothing of an effect may call a player that is gone.
  stopAllEffects();
  if (clock_->getParent()) clock_->removeFromParentAndCleanup(true);
  CC_SAFE_RELEASE(clock_);
  CC_SAFE_RELEASE(nodes_);
}

// ---- Small builders -------------------------------------------------------------------------

CCFiniteTimeAction* SpellEffectPlayer::soundStep(const std::string& path) {
  return EffectSoundAction::create(sounds_, path);
}

CCFiniteTimeAction* SpellEffectPlayer::stopSoundsStep() { return StopEffectSoundsAction::create(sounds_); }

void SpellEffectPlayer::addEffectNode(CCNode* node, CCNode* parent, int z) {
  if (!node || !parent) return;
  parent->addChild(node, z);
  nodes_->addObject(node);
}

void SpellEffectPlayer::removeEffectNodes() {
  // Taken out first: a node's clean-up may start another effect.
  CCArray* nodes = CCArray::createWithArray(nodes_);
  nodes_->removeAllObjects();
  for (unsigned int i = 0; i < nodes->count(); ++i)
    static_cast<CCNode*>(nodes->objectAtIndex(i))->removeFromParentAndCleanup(true);
}

std::size_t SpellEffectPlayer::effectNodeCount() const { return nodes_->count(); }

const std::vector<unsigned int>& SpellEffectPlayer::playingEffects() const { return sounds_->playing(); }

void SpellEffectPlayer::stopEffectSounds() { sounds_->stopAll(); }

// ---- The lives of the effects ----------------------------------------------------------------

void SpellEffectPlayer::showSpellEffect(const AnimateSpellEvent& record, Player&, SpellCompletion done) {
  RunningEffect effect;
  effect.id = ++serial_;
  effect.done = std::move(done);
  CCArray* steps = CCArray::create();
  EffectSteps(*this, record, steps).appendCardScript();
  // A shield spared some of the targets.
  if (!record.spared.empty()) steps->addObject(soundStep("sounds/reflector.wav"));
  runningEffects_.push_back(std::move(effect));
  startSteps(runningEffects_.back(), steps);
}

void SpellEffectPlayer::startSteps(RunningEffect& effect, CCArray* steps) {
  const int id = effect.id;
  steps->addObject(CallAction::create([this] { removeEffectNodes(); }));
  steps->addObject(CallAction::create([this, id] { finishEffect(id); }));
  if (!clock_->getParent()) {
    // No screen to play it on: the card acts at once.
    finishEffect(id);
    return;
  }
  CCAction* action = CCSequence::createWithArray(steps);
  action->setTag(id);
  action->retain();
  effect.steps = action;
  clock_->runAction(action);
}

void SpellEffectPlayer::moveToScreen(CCNode* root) {
  removeEffectNodes();
  if (clock_->getParent()) clock_->removeFromParentAndCleanup(false);
  if (root) root->addChild(clock_);
}

void SpellEffectPlayer::resumeEffects() {
  // A scene that another one replaced was cleaned up: its running actions were dropped.
  // What was left of each effect's time runs again.
  for (RunningEffect& effect : runningEffects_) {
    if (!effect.steps || clock_->getActionByTag(effect.id)) continue;
    CCActionInterval* old = dynamic_cast<CCActionInterval*>(effect.steps);
    const float left = old ? std::max(0.0f, old->getDuration() - old->getElapsed()) : 0.0f;
    CC_SAFE_RELEASE_NULL(effect.steps);
    CCArray* steps = CCArray::create();
    if (left > 0) steps->addObject(CCDelayTime::create(left));
    startSteps(effect, steps);
  }
}

void SpellEffectPlayer::finishEffect(int id) {
  for (auto it = runningEffects_.begin(); it != runningEffects_.end(); ++it) {
    if (it->id != id) continue;
    SpellCompletion done = std::move(it->done);
    CC_SAFE_RELEASE(it->steps);
    runningEffects_.erase(it);
    // Last: the completion may start the next effect.
    done();
    return;
  }
}

void SpellEffectPlayer::dropStaleEffects() {
  bool dropped = false;
  for (auto it = runningEffects_.begin(); it != runningEffects_.end();) {
    if (it->done.alive()) {
      ++it;
      continue;
    }
    if (it->steps) clock_->stopAction(it->steps);
    CC_SAFE_RELEASE(it->steps);
    SpellCompletion done = std::move(it->done);
    it = runningEffects_.erase(it);
    done();  // dropped, with its log line
    dropped = true;
  }
  if (dropped) removeEffectNodes();
}

void SpellEffectPlayer::stopAllEffects() {
  clock_->stopAllActions();
  for (RunningEffect& effect : runningEffects_) CC_SAFE_RELEASE_NULL(effect.steps);
  runningEffects_.clear();
  removeEffectNodes();
}

// ---- Board animations -----------------------------------------------------------------------

void SpellEffectPlayer::collapseElement(BoardElem& elem) {
  CCNode* node = stage_.boardView().detachNode(elem);
  if (!node) {
    LOGOG_ERROR("layer is null when collapsing element");
    return;
  }
  CCNode* layer = stage_.getPlayerLayer(elem.owner());
  CCNode* water = stage_.waterNode();
  if (!layer || !water || !water->getParent()) {
    node->release();
    return;
  }
  // To the front of its tower.
  layer->addChild(node, kEffectZ);
  node->release();
  const float waterTop = water->getPositionY() + water->getContentSize().height;
  const CCPoint inWindow = layer->convertToWorldSpace(node->getPosition());
  const float x = inWindow.x + static_cast<float>(std::rand() % 100) - 50;
  CCNode* waterParent = water->getParent();
  const CCPoint fallEnd = layer->convertToNodeSpace(
      waterParent->convertToWorldSpace(ccp(waterParent->convertToNodeSpace(ccp(x, 0)).x, waterTop)));
  const CCPoint sinkEnd = layer->convertToNodeSpace(waterParent->convertToWorldSpace(
      ccp(waterParent->convertToNodeSpace(ccp(x, 0)).x, water->getPositionY())));
  const float t = ccpDistance(node->getPosition(), fallEnd) / 600.0f + static_cast<float>(std::rand() % 10) / 10.0f;
  static const char* const kSplashes[] = {"sounds/SplashSlow.wav", "sounds/SplashFast.wav", "sounds/SplashSmall.wav"};
  const char* splash = kSplashes[std::rand() % 3];
  const float turn = static_cast<float>(std::rand() % 360);
  node->runAction(sequence({together(CCEaseIn::create(CCMoveTo::create(t, fallEnd), 5.0f),
                                     CCEaseIn::create(CCRotateBy::create(t, turn), 5.0f)),
                            soundStep(splash), CCMoveTo::create(t, sinkEnd),
                            CallAction::create([node] { node->removeFromParentAndCleanup(true); })}));
}

void SpellEffectPlayer::showExplosion(BoardElem& elem) {
  BoardView& view = stage_.boardView();
  ElemNodes* nodes = view.nodesOf(elem);
  CCNode* layer = stage_.getPlayerLayer(elem.owner());
  if (!nodes || !nodes->root() || !nodes->root()->getParent() || !layer) {
    LOGOG_ERROR("layer not found when playing explosion");
    return;
  }
  const bool ours = elem.owner() && elem.owner() == stage_.viewLocalPlayer();
  // The element's art lies in its layer's batch; the blast goes over it, at its centre.
  CCNode* node = CCNode::create();
  node->setPosition(view.elemCentre(elem));
  addEffectNode(node, layer, kEffectZ);
  node->runAction(sequence({soundStep(ours ? "sounds/bomb.wav" : "sounds/bomb-enemy.wav"),
                            particleStep(ours ? "particles/rocks.plist" : "particles/rocks-enemy.plist"), delay(1.0f),
                            CallAction::create([this] { removeEffectNodes(); })}));
}

void SpellEffectPlayer::playRubbleSound(BoardElem& elem) {
  if (elem.room() == RoomType::Shield && elem.isDamaged()) {
    gameAudio().playEffect("sounds/reflector-broken.wav", false);
    return;
  }
  gameAudio().playEffect(std::rand() % 2 == 0 ? "sounds/Rubble1.wav" : "sounds/Rubble2.wav", false);
}

// ---- Game sounds ----------------------------------------------------------------------------

void SpellEffectPlayer::playEventSound(bool ofLocalPlayer, const char* path) {
  if (ofLocalPlayer) gameAudio().playEffect(path, false);
}

void SpellEffectPlayer::updateFireSound(bool ofLocalPlayer, int fireLevel) {
  int& last = ofLocalPlayer ? fireLevelOurs_ : fireLevelEnemy_;
  unsigned int& handle = ofLocalPlayer ? fireSoundOurs_ : fireSoundEnemy_;
  if (fireLevel == last) return;
  last = fireLevel;
  if (handle != kNoSound) {
    gameAudio().stopEffect(handle);
    handle = kNoSound;
  }
  if (fireLevel <= 0) return;
  const char* file = "sounds/fire-enemy.mp3";
  if (ofLocalPlayer) file = fireLevel <= 25 ? "sounds/fire1.mp3" : fireLevel <= 50 ? "sounds/fire2.mp3" : "sounds/fire3.mp3";
  handle = gameAudio().playEffect(file, true);
}

void SpellEffectPlayer::stopFireSounds() {
  for (unsigned int* sound : {&fireSoundEnemy_, &fireSoundOurs_}) {
    if (*sound != kNoSound) gameAudio().stopEffect(*sound);
    *sound = kNoSound;
  }
}

bool SpellEffectPlayer::fireSoundPlaying(bool ofLocalPlayer) const {
  return (ofLocalPlayer ? fireSoundOurs_ : fireSoundEnemy_) != kNoSound;
}
