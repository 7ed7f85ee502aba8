// Spell effects and board animations: each card's effect built from engine actions on
// the elements it acts on, with one step list on the game node that sets its length and
// ends with the completion; the collapse, the explosion and the rubble; and the game's
// sounds: the one-shot building sounds, the fire loops and the effects' own sounds.
#include <cmath>
#include <cstdlib>

#include "Board.h"
#include "BoardElem.h"
#include "CCActionEase.h"
#include "CCActionInterval.h"
#include "CCAnimation.h"
#include "CCArray.h"
#include "CCLayer.h"
#include "CCLayerColor.h"
#include "CCPointExtension.h"
#include "CCSprite.h"
#include "CCSpriteFrame.h"
#include "CCSpriteFrameCache.h"
#include "CardTable.h"
#include "EffectActions.h"
#include "ElemNodes.h"
#include "EventDispatcher.h"
#include "GameAudio.h"
#include "GameController.h"
#include "ResourceNames.h"
#include "game/GameSession.h"
#include "logog/logog.hpp"
#include "player/Player.h"

using namespace cocos2d;

namespace {

constexpr float kHalfCell = BoardView::kElemSize * 0.5f;
constexpr float kFrameSeconds = 0.1f;

CCFiniteTimeAction* delay(float seconds) { return CCDelayTime::create(seconds); }

// A sequence of the actions (one action stands for itself).
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

// An animation of sprite frames, 0.1 s each.
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

}  // namespace

// ---- Small builders -------------------------------------------------------------------------

CCFiniteTimeAction* GameController::soundStep(const std::string& path) {
  return EffectSoundAction::create(effectSounds_, path);
}

CCFiniteTimeAction* GameController::stopSoundsStep() { return StopEffectSoundsAction::create(effectSounds_); }

CCFiniteTimeAction* GameController::particleStep(const std::string& path) {
  return ParticleAction::create(path, mv::hdScale());
}

void GameController::addEffectNode(CCNode* node, CCNode* parent, int z) {
  if (!node || !parent) return;
  parent->addChild(node, z);
  effectNodes->addObject(node);
}

void GameController::removeEffectNodes() {
  if (!effectNodes) return;
  // Taken out first: a node's clean-up may start another effect.
  CCArray* nodes = CCArray::createWithArray(effectNodes);
  effectNodes->removeAllObjects();
  for (unsigned int i = 0; i < nodes->count(); ++i)
    static_cast<CCNode*>(nodes->objectAtIndex(i))->removeFromParentAndCleanup(true);
}

const std::vector<unsigned int>& GameController::playingEffects() const { return effectSounds_->playing(); }

void GameController::stopEffectSounds() { effectSounds_->stopAll(); }

// ---- The effect of a card -------------------------------------------------------------------

void GameController::showSpellEffect(const AnimateSpellEvent& record, Player&, SpellCompletion done) {
  RunningEffect effect;
  effect.id = ++effectSerial_;
  effect.done = std::move(done);
  CCArray* steps = CCArray::create();
  appendEffectSteps(record, steps);
  // A shield spared some of the targets.
  if (!record.spared.empty()) steps->addObject(soundStep("sounds/reflector.wav"));
  runningEffects_.push_back(std::move(effect));
  startSteps(runningEffects_.back(), steps);
}

void GameController::startSteps(RunningEffect& effect, CCArray* steps) {
  const int id = effect.id;
  steps->addObject(CallAction::create([this] { removeEffectNodes(); }));
  steps->addObject(CallAction::create([this, id] { finishEffect(id); }));
  if (!effectClock_->getParent()) {
    // No screen to play it on: the card acts at once.
    finishEffect(id);
    return;
  }
  CCAction* action = CCSequence::createWithArray(steps);
  action->setTag(id);
  action->retain();
  effect.steps = action;
  effectClock_->runAction(action);
}

void GameController::resumeEffects() {
  // A scene that another one replaced was cleaned up: its running actions were dropped.
  // What was left of each effect's time runs again.
  for (RunningEffect& effect : runningEffects_) {
    if (!effect.steps || effectClock_->getActionByTag(effect.id)) continue;
    CCActionInterval* old = dynamic_cast<CCActionInterval*>(effect.steps);
    const float left = old ? std::max(0.0f, old->getDuration() - old->getElapsed()) : 0.0f;
    CC_SAFE_RELEASE_NULL(effect.steps);
    CCArray* steps = CCArray::create();
    if (left > 0) steps->addObject(CCDelayTime::create(left));
    startSteps(effect, steps);
  }
}

void GameController::finishEffect(int id) {
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

void GameController::dropStaleEffects() {
  bool dropped = false;
  for (auto it = runningEffects_.begin(); it != runningEffects_.end();) {
    if (it->done.alive()) {
      ++it;
      continue;
    }
    if (it->steps) effectClock_->stopAction(it->steps);
    CC_SAFE_RELEASE(it->steps);
    SpellCompletion done = std::move(it->done);
    it = runningEffects_.erase(it);
    done();  // dropped, with its log line
    dropped = true;
  }
  if (dropped) removeEffectNodes();
}

void GameController::stopAllEffects() {
  effectClock_->stopAllActions();
  for (RunningEffect& effect : runningEffects_) CC_SAFE_RELEASE_NULL(effect.steps);
  runningEffects_.clear();
  removeEffectNodes();
}

void GameController::appendEffectSteps(const AnimateSpellEvent& record, CCArray* steps) {
  const Player* local = localPlayer();
  auto isLocal = [local](const BoardElem* e) { return e->owner() && e->owner() == local; };
  auto centre = [this](BoardElem* e) { return ccpAdd(elemToLayerPoint(e), ccp(kHalfCell, kHalfCell)); };
  auto layerOf = [this](const BoardElem* e) { return getPlayerLayer(e->owner()); };
  auto add = [steps](CCFiniteTimeAction* a) {
    if (a) steps->addObject(a);
  };
  // An empty node at the element's centre, running the actions.
  auto emptyNodeAt = [&](BoardElem* e, CCFiniteTimeAction* actions) {
    CCNode* node = CCNode::create();
    node->setPosition(centre(e));
    addEffectNode(node, layerOf(e), kEffectZ);
    if (actions) node->runAction(actions);
    return node;
  };
  // The target player's centre cell, in its layer.
  auto focusBoardCentre = [&](float scale) {
    const int c = Board::getBoardCenter();
    const CCPoint at = ccpAdd(boardToLayerPoint(record.target, c, c), ccp(kHalfCell, kHalfCell));
    focusView(getPlayerLayer(record.target), at, scale);
  };
  std::vector<BoardElem*> targets;
  for (BoardElem* e : record.targets)
    if (e) targets.push_back(e);

  switch (record.card) {
    case CardId::Fireball:
      for (BoardElem* e : targets) {
        focusElement(e, 1.0f);
        CCNode* ball = makeEffectParticles("particles/fireball.plist", mv::hdScale());
        if (!ball) continue;
        ball->setPosition(ccpAdd(centre(e), ccp(-1600, 200)));
        addEffectNode(ball, layerOf(e), kEffectZ);
        CCFiniteTimeAction* fly = CCMoveTo::create(1.0f, centre(e));
        if (isLocal(e))
          ball->runAction(sequence({soundStep("sounds/fireball.wav"), delay(0.5f), fly, CCHide::create(),
                                    stopSoundsStep(), soundStep("sounds/fireball-blast.wav"),
                                    particleStep("particles/rocks.plist")}));
        else
          ball->runAction(sequence({delay(0.5f),
                                    together(fly, sequence({delay(0.2f), soundStep("sounds/fireball-enemy.wav")})),
                                    CCHide::create(), particleStep("particles/rocks-enemy.plist")}));
      }
      add(delay(2.0f));
      break;
    case CardId::Rats:
      appendRatSteps(record, steps);
      break;
    case CardId::Earthquake: {
      focusBoardCentre(2.0f);
      add(delay(0.5f));
      // The game node shakes and ends where it started.
      auto moveGame = [this](float dx) -> CCFiniteTimeAction* {
        CCFiniteTimeAction* move = CCMoveBy::create(0.1f, ccp(dx, 0));
        return gameNode ? static_cast<CCFiniteTimeAction*>(CCTargetedAction::create(gameNode, move)) : delay(0.1f);
      };
      // Dust rises along the shaking ground for as long as it shakes.
      const int c = Board::getBoardCenter();
      if (CCNode* dust = makeEffectParticles("particles/quake-dust.plist", 1.0f)) {
        dust->setPosition(ccpAdd(boardToLayerPoint(record.target, c, c), ccp(kHalfCell, 0)));
        addEffectNode(dust, getPlayerLayer(record.target), kEffectZ);
      }
      add(moveGame(20));
      add(soundStep("sounds/earthquake.wav"));
      add(CCRepeat::create(sequence({moveGame(-40), moveGame(40)}), 30));
      add(moveGame(-40));
      add(moveGame(20));
      break;
    }
    case CardId::Lightning:
      for (BoardElem* e : targets) {
        focusElement(e, 1.0f);
        CCSprite* bolt = frameSprite("particle-bolt.png");
        if (!bolt) continue;
        bolt->setAnchorPoint(CCPointZero);
        bolt->setVisible(false);
        CCPoint at = centre(e);
        // A dome takes the strike one cell higher.
        const BoardElem* above = e->getUpper();
        if (above && above->kind() == ElemKind::Dome) at.y += BoardView::kElemSize;
        bolt->setPosition(at);
        addEffectNode(bolt, layerOf(e), kEffectZ);
        bolt->runAction(sequence({delay(0.5f), CCShow::create(), soundStep("sounds/lightning.wav"),
                                  particleStep(isLocal(e) ? "particles/rocks.plist" : "particles/rocks-enemy.plist"),
                                  delay(0.1f), CCHide::create(), delay(0.1f), CCShow::create(), delay(0.1f),
                                  CCHide::create(), delay(0.1f), CCShow::create(), delay(0.1f), CCHide::create()}));
      }
      add(delay(1.0f));
      break;
    case CardId::Ray:
      for (BoardElem* e : targets) {
        CCNode* layer = layerOf(e);
        Board* casterBoard = record.caster ? record.caster->board() : nullptr;
        if (!layer || !casterBoard) continue;
        BoardElem* source = casterBoard->randomTopBlock();
        const int c = Board::getBoardCenter();
        const CCPoint sourceCorner = source ? elemToLayerPoint(source) : boardToLayerPoint(record.caster, c, c);
        CCNode* casterLayer = getPlayerLayer(record.caster);
        const CCPoint from = layer->convertToNodeSpace(
            casterLayer->convertToWorldSpace(ccpAdd(sourceCorner, ccp(kHalfCell, kHalfCell))));
        const CCPoint to = centre(e);
        CCLayerColor* ray = CCLayerColor::create(ccc4(255, 0, 0, 255), ccpDistance(from, to), 3);
        if (!ray) continue;
        // Turned about its start: it points from the source to the target.
        ray->ignoreAnchorPointForPosition(false);
        ray->setAnchorPoint(CCPointZero);
        ray->setRotation(static_cast<float>(std::atan2(from.y - to.y, to.x - from.x) * 180.0 / M_PI));
        ray->setPosition(from);
        ray->setScale(0);
        // A glow along the beam, turning and growing with it.
        if (CCLayerColor* glow = CCLayerColor::create(ccc4(255, 96, 48, 96), ccpDistance(from, to), 13)) {
          glow->setPosition(ccp(0, -5));
          ray->addChild(glow, -1);
        }
        addEffectNode(ray, layer, kEffectZ);
        focusElement(e, 2.0f);
        ray->runAction(sequence({delay(0.5f), soundStep("sounds/spell-ray.wav"), CCScaleTo::create(1.5f, 1.0f)}));
      }
      add(delay(0.5f));
      add(delay(1.5f));
      break;
    case CardId::Flood:
      for (BoardElem* e : targets) {
        focusElement(e, 2.0f);
        const bool seen = e->isVisibleToLocalPlayer(local);
        emptyNodeAt(e, sequence({delay(0.5f), soundStep("sounds/broken_pipe.wav"),
                                 seen ? particleStep("particles/water_fountain.plist") : nullptr}));
      }
      add(delay(2.5f));
      break;
    case CardId::Rain: {
      focusBoardCentre(1.0f);
      const int c = Board::getBoardCenter();
      if (CCNode* rain = makeEffectParticles("particles/rain.plist", 1.0f)) {
        rain->setPosition(ccpAdd(boardToLayerPoint(record.target, c, c), ccp(0, 700)));
        addEffectNode(rain, getPlayerLayer(record.target), kEffectZ);
      }
      add(soundStep("sounds/rain.wav"));
      add(delay(0.5f));
      add(delay(2.0f));
      add(stopSoundsStep());
      break;
    }
    case CardId::Collapse:
      for (BoardElem* e : targets) {
        focusElement(e, 2.0f);
        CCSprite* rocks = frameSprite("collapse1.png");
        if (!rocks) continue;
        const ElemRgb tint = isLocal(e) ? ElemColorOurs : ElemColorEnemy;  // the tower's stone
        rocks->setColor(ccc3(tint.r, tint.g, tint.b));
        rocks->setPosition(centre(e));
        rocks->setVisible(e->isVisibleToLocalPlayer(local));
        addEffectNode(rocks, layerOf(e), kEffectZ);
        rocks->runAction(sequence({delay(0.5f), soundStep("sounds/earthquake.wav"), delay(0.15f),
                                   animation({"collapse1.png", "collapse2.png", "collapse3.png", "collapse4.png"}, 1),
                                   delay(2.0f)}));
      }
      add(delay(2.65f));
      add(stopSoundsStep());
      break;
    case CardId::Fire:
      for (BoardElem* e : targets) focusElement(e, 2.0f);
      add(soundStep("sounds/fire_start.wav"));
      add(delay(2.5f));
      break;
    case CardId::Disturbance:
      for (BoardElem* e : targets) {
        focusElement(e, 2.0f);
        emptyNodeAt(e, sequence({delay(0.5f), soundStep("sounds/disturbance.wav"),
                                 particleStep("particles/disturbance.plist")}));
      }
      add(delay(3.5f));
      break;
    case CardId::Eye:
      add(soundStep("sounds/spell-eye.wav"));
      add(delay(1.0f));
      break;
    case CardId::DoorBreaker:
      for (BoardElem* e : targets) {
        focusElement(e, 2.0f);
        CCNode* node = emptyNodeAt(e, nullptr);
        std::vector<CCPoint> doors;
        switch (e->kind()) {
          case ElemKind::FourBlock:
            doors = {ccp(-32, 0), ccp(32, 0), ccp(0, -32), ccp(0, 32)};
            break;
          case ElemKind::VertBlock:
            doors = {ccp(0, -32), ccp(0, 32)};
            break;
          case ElemKind::HorizBlock:
            doors = {ccp(-32, 0), ccp(32, 0)};
            break;
          default:
            break;
        }
        CCArray* run = CCArray::create();
        run->addObject(delay(0.5f));
        for (const CCPoint& at : doors) {
          CCNode* door = CCNode::create();
          door->setPosition(at);
          node->addChild(door);
          run->addObject(CCTargetedAction::create(door, particleStep("particles/doorbreaker.plist")));
        }
        run->addObject(soundStep("sounds/break_door.wav"));
        node->runAction(CCSequence::createWithArray(run));
      }
      add(delay(2.0f));
      break;
    case CardId::Dynamite:
      for (BoardElem* e : targets) {
        focusElement(e, 2.0f);
        const bool ours = isLocal(e);
        emptyNodeAt(e, sequence({delay(0.5f), soundStep(ours ? "sounds/bomb.wav" : "sounds/bomb-enemy.wav"),
                                 particleStep(ours ? "particles/rocks2.plist" : "particles/rocks2-enemy.plist")}));
      }
      add(delay(1.0f));
      break;
    case CardId::Tunnelers:
      add(soundStep("sounds/dig.wav"));
      break;
    case CardId::Repairers:
      add(soundStep("sounds/repair.wav"));
      break;
    case CardId::Firefighters:
      add(soundStep("sounds/firefighter.wav"));
      break;
    case CardId::Movers:
      add(soundStep("sounds/movers.wav"));
      break;
    case CardId::Pumpers:
      add(soundStep("sounds/pumpers.wav"));
      break;
    case CardId::Deratizers:
      for (BoardElem* e : targets) {
        focusElement(e, 2.0f);
        CCSprite* trap = frameSprite("deratizer1.png");
        if (!trap) continue;
        trap->setPosition(centre(e));
        addEffectNode(trap, layerOf(e), kEffectZ);
        trap->runAction(sequence({delay(0.5f), soundStep("sounds/antirat.wav"), delay(0.15f),
                                  animation({"deratizer1.png", "deratizer2.png", "deratizer3.png", "deratizer3.png",
                                             "deratizer3.png", "deratizer3.png"},
                                            4)}));
      }
      add(delay(2.5f));
      break;
    default:
      // Structures and rooms have no effect of their own.
      break;
  }
}

// The rats: one rat runs for the whole event; a hidden target is shown by a rat slipping
// into the tower, a visible one by a rat scurrying to and fro over it.
void GameController::appendRatSteps(const AnimateSpellEvent& record, CCArray* steps) {
  steps->addObject(delay(0.5f));
  CCSprite* rat = frameSprite("rat1.png");
  CCNode* layer = getPlayerLayer(record.target);
  if (rat && layer) addEffectNode(rat, layer, kEffectZ);
  const Player* local = localPlayer();
  const int c = Board::getBoardCenter();
  for (BoardElem* e : record.targets) {
    if (!e) continue;
    CCFiniteTimeAction* run = animation({"rat1.png", "rat2.png", "rat3.png"}, 3);
    if (!e->isVisibleToLocalPlayer(local)) {
      const CCPoint cell = boardToLayerPoint(record.target, c, c);
      focusView(layer, ccpAdd(cell, ccp(kHalfCell, kHalfCell)), 1.0f);
      const CCPoint end = ccp(cell.x + kHalfCell, cell.y);
      if (rat && run) {
        rat->setPosition(ccp(end.x - 200, end.y));
        rat->runAction(sequence({delay(0.5f), together(run, CCMoveTo::create(1.0f, end)), CCHide::create(),
                                 soundStep("sounds/spell-rat.wav")}));
      }
      steps->addObject(delay(2.0f));
    } else {
      focusElement(e, 2.0f);
      if (rat && run) {
        rat->setPosition(ccpAdd(elemToLayerPoint(e), ccp(0, 10)));
        const float third = 1.0f / 3;
        CCFiniteTimeAction* scurry = sequence(
            {soundStep("sounds/spell-rat.wav"), CCMoveBy::create(third, ccp(64, 0)), CCFlipX::create(true),
             soundStep("sounds/spell-rat.wav"), CCMoveBy::create(third, ccp(-64, 0)), CCFlipX::create(false),
             soundStep("sounds/spell-rat.wav"), CCMoveBy::create(third, ccp(64, 0))});
        rat->runAction(sequence({delay(0.5f), together(run, scurry)}));
      }
    }
  }
  steps->addObject(delay(1.0f));
}

// ---- Board animations -----------------------------------------------------------------------

void GameController::collapseElement(BoardElem& elem) {
  CCNode* node = boardView().detachNode(elem);
  if (!node) {
    LOGOG_ERROR("layer is null when collapsing element");
    return;
  }
  CCNode* layer = getPlayerLayer(elem.owner());
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

void GameController::showExplosion(BoardElem& elem) {
  ElemNodes* nodes = boardView().nodesOf(elem);
  CCNode* layer = getPlayerLayer(elem.owner());
  if (!nodes || !nodes->root() || !nodes->root()->getParent() || !layer) {
    LOGOG_ERROR("layer not found when playing explosion");
    return;
  }
  const bool ours = elem.owner() && elem.owner() == localPlayer();
  // The element's art lies in its layer's batch; the blast goes over it, at its centre.
  CCNode* node = CCNode::create();
  node->setPosition(boardView().elemCentre(elem));
  addEffectNode(node, layer, kEffectZ);
  node->runAction(sequence({soundStep(ours ? "sounds/bomb.wav" : "sounds/bomb-enemy.wav"),
                            particleStep(ours ? "particles/rocks.plist" : "particles/rocks-enemy.plist"), delay(1.0f),
                            CallAction::create([this] { removeEffectNodes(); })}));
}

void GameController::playRubbleSound(BoardElem& elem) {
  if (elem.room() == RoomType::Shield && elem.isDamaged()) {
    gameAudio().playEffect("sounds/reflector-broken.wav", false);
    return;
  }
  gameAudio().playEffect(std::rand() % 2 == 0 ? "sounds/Rubble1.wav" : "sounds/Rubble2.wav", false);
}

// ---- Game sounds ----------------------------------------------------------------------------

void GameController::playEventSound(bool ofLocalPlayer, const char* path) {
  if (ofLocalPlayer) gameAudio().playEffect(path, false);
}

void GameController::playLevitronousSound(bool local) { playEventSound(local, "sounds/levitronous.wav"); }
void GameController::playArmorSound(bool local) { playEventSound(local, "sounds/armor.wav"); }
void GameController::playDoorsSound(bool local) { playEventSound(local, "sounds/doors.wav"); }
void GameController::playFenceSound(bool local) { playEventSound(local, "sounds/fence.wav"); }
void GameController::playBuildBlockSound(bool local) { playEventSound(local, "sounds/build-block.wav"); }
void GameController::playBuildRoomSound(bool local) { playEventSound(local, "sounds/build-room.wav"); }
void GameController::playPutSpellSound(bool local) { playEventSound(local, "sounds/put-spell.wav"); }

void GameController::updateFireSound(bool ofLocalPlayer, int fireLevel) {
  int& last = ofLocalPlayer ? fireLevelOurs : fireLevelEnemy;
  unsigned int& handle = ofLocalPlayer ? fireSoundOurs : fireSoundEnemy;
  if (fireLevel == last) return;
  last = fireLevel;
  constexpr unsigned int kNone = static_cast<unsigned int>(-1);
  if (handle != kNone) {
    gameAudio().stopEffect(handle);
    handle = kNone;
  }
  if (fireLevel <= 0) return;
  const char* file = "sounds/fire-enemy.mp3";
  if (ofLocalPlayer) file = fireLevel <= 25 ? "sounds/fire1.mp3" : fireLevel <= 50 ? "sounds/fire2.mp3" : "sounds/fire3.mp3";
  handle = gameAudio().playEffect(file, true);
}

void GameController::stopFireSounds() {
  constexpr unsigned int kNone = static_cast<unsigned int>(-1);
  for (unsigned int* sound : {&fireSoundEnemy, &fireSoundOurs}) {
    if (*sound != kNone) gameAudio().stopEffect(*sound);
    *sound = kNone;
  }
}
