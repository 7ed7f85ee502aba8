#include "SimpleAudioEngine.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>

#include "CCFileUtils.h"
#include "logog/logog.hpp"

namespace CocosDenshion {

namespace {

SimpleAudioEngine* s_engine = nullptr;

std::string fullPath(const char* path) {
  return cocos2d::CCFileUtils::sharedFileUtils()->fullPathForFilename(path);
}

int mixerVolume(float v) { return static_cast<int>(std::clamp(v, 0.0f, 1.0f) * MIX_MAX_VOLUME); }

}  // namespace

SimpleAudioEngine::SimpleAudioEngine() {}

SimpleAudioEngine::~SimpleAudioEngine() {
  if (m_open) {
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
  }
  for (auto& kv : m_effects) Mix_FreeChunk(kv.second);
  if (m_music) Mix_FreeMusic(m_music);
  if (m_open) Mix_CloseAudio();
  if (m_ownsAudioSubsystem) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

SimpleAudioEngine* SimpleAudioEngine::sharedEngine() {
  if (!s_engine) s_engine = new SimpleAudioEngine();
  return s_engine;
}

void SimpleAudioEngine::end() {
  delete s_engine;
  s_engine = nullptr;
}

bool SimpleAudioEngine::openDevice() {
  if (m_triedOpen) return m_open;
  m_triedOpen = true;
  if (!SDL_WasInit(SDL_INIT_AUDIO)) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      LOGOG_ERROR("SimpleAudioEngine: no audio: %s", SDL_GetError());
      return false;
    }
    m_ownsAudioSubsystem = true;
  }
  Mix_Init(MIX_INIT_MP3);
  if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
    LOGOG_ERROR("SimpleAudioEngine: cannot open the audio device: %s", Mix_GetError());
    return false;
  }
  Mix_AllocateChannels(32);
  m_open = true;
  Mix_VolumeMusic(mixerVolume(m_musicVolume));
  Mix_Volume(-1, mixerVolume(m_effectsVolume));
  return true;
}

bool SimpleAudioEngine::isAudioAvailable() { return openDevice(); }

Mix_Chunk* SimpleAudioEngine::effect(const char* pszFilePath) {
  if (!pszFilePath || !openDevice()) return nullptr;
  std::string path = fullPath(pszFilePath);
  auto it = m_effects.find(path);
  if (it != m_effects.end()) return it->second;
  Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
  if (!chunk) {
    LOGOG_ERROR("SimpleAudioEngine: cannot load effect %s: %s", path.c_str(), Mix_GetError());
    return nullptr;
  }
  m_effects[path] = chunk;
  return chunk;
}

Mix_Music* SimpleAudioEngine::music(const char* pszFilePath) {
  if (!pszFilePath || !openDevice()) return nullptr;
  std::string path = fullPath(pszFilePath);
  if (m_music && path == m_musicPath) return m_music;
  Mix_Music* m = Mix_LoadMUS(path.c_str());
  if (!m) {
    LOGOG_ERROR("SimpleAudioEngine: cannot load music %s: %s", path.c_str(), Mix_GetError());
    return nullptr;
  }
  if (m_music) {
    Mix_HaltMusic();
    Mix_FreeMusic(m_music);
  }
  m_music = m;
  m_musicPath = path;
  return m_music;
}

void SimpleAudioEngine::preloadBackgroundMusic(const char* pszFilePath) { music(pszFilePath); }

void SimpleAudioEngine::playBackgroundMusic(const char* pszFilePath, bool bLoop) {
  Mix_Music* m = music(pszFilePath);
  if (!m) return;
  if (Mix_PlayMusic(m, bLoop ? -1 : 1) != 0)
    LOGOG_ERROR("SimpleAudioEngine: cannot play music %s: %s", pszFilePath, Mix_GetError());
}

void SimpleAudioEngine::stopBackgroundMusic(bool bReleaseData) {
  if (!m_open) return;
  Mix_HaltMusic();
  if (bReleaseData && m_music) {
    Mix_FreeMusic(m_music);
    m_music = nullptr;
    m_musicPath.clear();
  }
}

void SimpleAudioEngine::pauseBackgroundMusic() {
  if (m_open) Mix_PauseMusic();
}

void SimpleAudioEngine::resumeBackgroundMusic() {
  if (m_open) Mix_ResumeMusic();
}

void SimpleAudioEngine::rewindBackgroundMusic() {
  if (m_open && m_music) Mix_RewindMusic();
}

bool SimpleAudioEngine::willPlayBackgroundMusic() { return m_music != nullptr; }

bool SimpleAudioEngine::isBackgroundMusicPlaying() {
  return m_open && Mix_PlayingMusic() && !Mix_PausedMusic();
}

float SimpleAudioEngine::getBackgroundMusicVolume() { return m_musicVolume; }

void SimpleAudioEngine::setBackgroundMusicVolume(float volume) {
  m_musicVolume = std::clamp(volume, 0.0f, 1.0f);
  if (m_open) Mix_VolumeMusic(mixerVolume(m_musicVolume));
}

float SimpleAudioEngine::getEffectsVolume() { return m_effectsVolume; }

void SimpleAudioEngine::setEffectsVolume(float volume) {
  m_effectsVolume = std::clamp(volume, 0.0f, 1.0f);
  if (m_open) Mix_Volume(-1, mixerVolume(m_effectsVolume));
}

unsigned int SimpleAudioEngine::playEffect(const char* pszFilePath, bool bLoop) {
  Mix_Chunk* chunk = effect(pszFilePath);
  if (!chunk) return 0;
  int channel = Mix_PlayChannel(-1, chunk, bLoop ? -1 : 0);
  if (channel < 0) {
    LOGOG_WARN("SimpleAudioEngine: no free channel for %s", pszFilePath);
    return 0;
  }
  Mix_Volume(channel, mixerVolume(m_effectsVolume));
  unsigned int id = m_nextId++;
  if (m_nextId == 0) m_nextId = 1;
  m_channelIds[channel] = id;
  return id;
}

int SimpleAudioEngine::channelOf(unsigned int nSoundId) {
  if (!m_open || nSoundId == 0) return -1;
  for (const auto& kv : m_channelIds)
    if (kv.second == nSoundId) return Mix_Playing(kv.first) ? kv.first : -1;
  return -1;
}

void SimpleAudioEngine::pauseEffect(unsigned int nSoundId) {
  int channel = channelOf(nSoundId);
  if (channel >= 0) Mix_Pause(channel);
}

void SimpleAudioEngine::pauseAllEffects() {
  if (m_open) Mix_Pause(-1);
}

void SimpleAudioEngine::resumeEffect(unsigned int nSoundId) {
  int channel = channelOf(nSoundId);
  if (channel >= 0) Mix_Resume(channel);
}

void SimpleAudioEngine::resumeAllEffects() {
  if (m_open) Mix_Resume(-1);
}

void SimpleAudioEngine::stopEffect(unsigned int nSoundId) {
  int channel = channelOf(nSoundId);
  if (channel >= 0) {
    Mix_HaltChannel(channel);
    m_channelIds.erase(channel);
  }
}

void SimpleAudioEngine::stopAllEffects() {
  if (m_open) Mix_HaltChannel(-1);
  m_channelIds.clear();
}

void SimpleAudioEngine::preloadEffect(const char* pszFilePath) { effect(pszFilePath); }

void SimpleAudioEngine::unloadEffect(const char* pszFilePath) {
  if (!pszFilePath) return;
  auto it = m_effects.find(fullPath(pszFilePath));
  if (it == m_effects.end()) return;
  // A chunk must not be freed while a channel still plays it.
  for (int c = 0; m_open && c < Mix_AllocateChannels(-1); ++c)
    if (Mix_GetChunk(c) == it->second && Mix_Playing(c)) Mix_HaltChannel(c);
  Mix_FreeChunk(it->second);
  m_effects.erase(it);
}

}  // namespace CocosDenshion
