#include "EffectActions.h"

#include "CCParticleSystemQuad.h"
#include "GameAudio.h"
#include "logog/logog.hpp"

using namespace cocos2d;

// ---- Sounds ------------------------------------------------------------------------------

void EffectSounds::play(const std::string& path) { playing_.push_back(gameAudio().playEffect(path, false)); }

void EffectSounds::stopAll() {
  std::vector<unsigned int> ids;
  ids.swap(playing_);
  for (unsigned int id : ids) gameAudio().stopEffect(id);
}

EffectSoundAction* EffectSoundAction::create(std::shared_ptr<EffectSounds> sounds, const std::string& path) {
  EffectSoundAction* action = new EffectSoundAction();
  action->sounds_ = std::move(sounds);
  action->path_ = path;
  return ccAutoreleaseIfInit(action, true);
}

CCObject* EffectSoundAction::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(EffectSoundAction)
  CCActionInstant::copyWithZone(pZone);
  pCopy->sounds_ = sounds_;
  pCopy->path_ = path_;
  CC_ACTION_COPY_END()
}

void EffectSoundAction::update(float) {
  if (sounds_) sounds_->play(path_);
}

StopEffectSoundsAction* StopEffectSoundsAction::create(std::shared_ptr<EffectSounds> sounds) {
  StopEffectSoundsAction* action = new StopEffectSoundsAction();
  action->sounds_ = std::move(sounds);
  return ccAutoreleaseIfInit(action, true);
}

CCObject* StopEffectSoundsAction::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(StopEffectSoundsAction)
  CCActionInstant::copyWithZone(pZone);
  pCopy->sounds_ = sounds_;
  CC_ACTION_COPY_END()
}

void StopEffectSoundsAction::update(float) {
  if (sounds_) sounds_->stopAll();
}

// ---- Particles ---------------------------------------------------------------------------

CCNode* makeEffectParticles(const std::string& path, float scale) {
  CCParticleSystemQuad* particles = CCParticleSystemQuad::create(path.c_str());
  if (!particles) {
    LOGOG_ERROR("GUI::the particle file %s is missing or broken; the effect goes on without it",
                path.c_str());
    return nullptr;
  }
  particles->setPositionType(kCCPositionTypeRelative);
  particles->setScale(scale);
  // A burst ends by itself: it must not stay in the tree once its particles are gone.
  if (particles->getDuration() != kCCParticleDurationInfinity) particles->setAutoRemoveOnFinish(true);
  return particles;
}

ParticleAction* ParticleAction::create(const std::string& path, float scale) {
  ParticleAction* action = new ParticleAction();
  action->path_ = path;
  action->scale_ = scale;
  return ccAutoreleaseIfInit(action, true);
}

CCObject* ParticleAction::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(ParticleAction)
  CCActionInstant::copyWithZone(pZone);
  pCopy->path_ = path_;
  pCopy->scale_ = scale_;
  CC_ACTION_COPY_END()
}

void ParticleAction::update(float) {
  CCNode* at = m_pTarget;
  CCNode* parent = at ? at->getParent() : nullptr;
  if (!parent) return;
  CCNode* particles = makeEffectParticles(path_, scale_);
  if (!particles) return;
  particles->setPosition(at->getPosition());
  parent->addChild(particles, kParticleZ);
}

// ---- Calls -------------------------------------------------------------------------------

CallAction* CallAction::create(std::function<void()> fn) {
  CallAction* action = new CallAction();
  action->fn_ = std::move(fn);
  return ccAutoreleaseIfInit(action, true);
}

CCObject* CallAction::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CallAction)
  CCActionInstant::copyWithZone(pZone);
  pCopy->fn_ = fn_;
  CC_ACTION_COPY_END()
}

void CallAction::update(float) {
  if (fn_) fn_();
}
