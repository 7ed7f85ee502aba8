// The steps spell effects are made of, besides the engine's delays, moves and show/hide:
// a sound that a later step may stop, the stop of those sounds, a one-shot particle burst
// at the node that runs the step, and a call of a function.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CCActionInstant.h"

// The sounds started by effects' sound steps, in starting order, until a stop-sounds step
// stops them all. Ids of sounds that ended by themselves stay until then.
class EffectSounds {
 public:
  // Plays the file once (not looping) and keeps its id.
  void play(const std::string& path);
  // Stops every kept sound, in order, and forgets them.
  void stopAll();
  const std::vector<unsigned int>& playing() const { return playing_; }

 private:
  std::vector<unsigned int> playing_;
};

// Plays a sound and keeps its id among the effect sounds.
class EffectSoundAction : public cocos2d::CCActionInstant {
 public:
  static EffectSoundAction* create(std::shared_ptr<EffectSounds> sounds, const std::string& path);
  const std::string& path() const { return path_; }
  cocos2d::CCObject* copyWithZone(cocos2d::CCZone* pZone) override;
  void update(float time) override;

 private:
  std::shared_ptr<EffectSounds> sounds_;
  std::string path_;
};

// Stops every effect sound.
class StopEffectSoundsAction : public cocos2d::CCActionInstant {
 public:
  static StopEffectSoundsAction* create(std::shared_ptr<EffectSounds> sounds);
  cocos2d::CCObject* copyWithZone(cocos2d::CCZone* pZone) override;
  void update(float time) override;

 private:
  std::shared_ptr<EffectSounds> sounds_;
};

// Starts a particle system from a file in the parent of the node running the step, at that
// node's position, over it (z 300), its positions relative to the emitter and scaled by
// `scale`. A system that ends by itself removes itself when its last particle dies; a
// missing file gives a log line and the step does nothing.
class ParticleAction : public cocos2d::CCActionInstant {
 public:
  static constexpr int kParticleZ = 300;
  static ParticleAction* create(const std::string& path, float scale);
  const std::string& path() const { return path_; }
  cocos2d::CCObject* copyWithZone(cocos2d::CCZone* pZone) override;
  void update(float time) override;

 private:
  std::string path_;
  float scale_ = 1.0f;
};

// Calls a function.
class CallAction : public cocos2d::CCActionInstant {
 public:
  static CallAction* create(std::function<void()> fn);
  cocos2d::CCObject* copyWithZone(cocos2d::CCZone* pZone) override;
  void update(float time) override;

 private:
  std::function<void()> fn_;
};

// A particle system from a file for an effect (positions relative to the emitter, scaled);
// one that ends by itself is set to remove itself when done. Null, with a log line, when
// the file is missing or broken.
cocos2d::CCNode* makeEffectParticles(const std::string& path, float scale);
