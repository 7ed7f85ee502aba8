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
  action->m_sounds = std::move(sounds);
  action->m_path = path;
  return ccAutoreleaseIfInit(action, true);
}

CCObject* EffectSoundAction::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(EffectSoundAction)
  CCActionInstant::copyWithZone(pZone);
  pCopy->m_sounds = m_sounds;
  pCopy->m_path = m_path;
  CC_ACTION_COPY_END()
}

void EffectSoundAction::update(float) {
  if (m_sounds) m_sounds->play(m_path);
}

StopEffectSoundsAction* StopEffectSoundsAction::create(std::shared_ptr<EffectSounds> sounds) {
  StopEffectSoundsAction* action = new StopEffectSoundsAction();
  action->m_sounds = std::move(sounds);
  return ccAutoreleaseIfInit(action, true);
}

CCObject* StopEffectSoundsAction::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(StopEffectSoundsAction)
  CCActionInstant::copyWithZone(pZone);
  pCopy->m_sounds = m_sounds;
  CC_ACTION_COPY_END()
}

void StopEffectSoundsAction::update(float) {
  if (m_sounds) m_sounds->stopAll();
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
  action->m_path = path;
  action->m_scale = scale;
  return ccAutoreleaseIfInit(action, true);
}

CCObject* ParticleAction::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(ParticleAction)
  CCActionInstant::copyWithZone(pZone);
  pCopy->m_path = m_path;
  pCopy->m_scale = m_scale;
  CC_ACTION_COPY_END()
}

void ParticleAction::update(float) {
  CCNode* at = m_pTarget;
  CCNode* parent = at ? at->getParent() : nullptr;
  if (!parent) return;
  CCNode* particles = makeEffectParticles(m_path, m_scale);
  if (!particles) return;
  particles->setPosition(at->getPosition());
  parent->addChild(particles, kParticleZ);
}

// ---- Calls -------------------------------------------------------------------------------

CallAction* CallAction::create(std::function<void()> fn) {
  CallAction* action = new CallAction();
  action->m_fn = std::move(fn);
  return ccAutoreleaseIfInit(action, true);
}

CCObject* CallAction::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CallAction)
  CCActionInstant::copyWithZone(pZone);
  pCopy->m_fn = m_fn;
  CC_ACTION_COPY_END()
}

void CallAction::update(float) {
  if (m_fn) m_fn();
}
