#include "GameAudio.h"

#include <algorithm>

#include "SimpleAudioEngine.h"

using CocosDenshion::SimpleAudioEngine;

namespace {
EngineAudio s_engineAudio;
GameAudio* s_audio = &s_engineAudio;
}  // namespace

GameAudio& gameAudio() { return *s_audio; }

void setGameAudio(GameAudio* audio) { s_audio = audio ? audio : &s_engineAudio; }

// ---- The engine ------------------------------------------------------------------------

unsigned int EngineAudio::playEffect(const std::string& path, bool loop) {
  return SimpleAudioEngine::sharedEngine()->playEffect(path.c_str(), loop);
}

void EngineAudio::stopEffect(unsigned int id) { SimpleAudioEngine::sharedEngine()->stopEffect(id); }

void EngineAudio::playMusic(const std::string& path, bool loop) {
  SimpleAudioEngine::sharedEngine()->playBackgroundMusic(path.c_str(), loop);
}

void EngineAudio::setMusicVolume(float volume) {
  SimpleAudioEngine::sharedEngine()->setBackgroundMusicVolume(volume);
}

// ---- Recording ---------------------------------------------------------------------------

unsigned int RecordingAudio::playEffect(const std::string& path, bool loop) {
  Call c;
  c.what = "play";
  c.path = path;
  c.id = nextId_++;
  c.loop = loop;
  calls_.push_back(c);
  return c.id;
}

void RecordingAudio::stopEffect(unsigned int id) {
  Call c;
  c.what = "stop";
  c.id = id;
  calls_.push_back(c);
}

void RecordingAudio::playMusic(const std::string& path, bool loop) {
  Call c;
  c.what = "music";
  c.path = path;
  c.loop = loop;
  calls_.push_back(c);
}

void RecordingAudio::setMusicVolume(float volume) {
  Call c;
  c.what = "volume";
  c.volume = volume;
  calls_.push_back(c);
}

std::vector<std::string> RecordingAudio::played() const {
  std::vector<std::string> out;
  for (const Call& c : calls_)
    if (c.what == "play") out.push_back(c.path);
  return out;
}

std::vector<unsigned int> RecordingAudio::stopped() const {
  std::vector<unsigned int> out;
  for (const Call& c : calls_)
    if (c.what == "stop") out.push_back(c.id);
  return out;
}

std::vector<std::string> RecordingAudio::looping() const {
  std::vector<const Call*> loops;
  for (const Call& c : calls_) {
    if (c.what == "play" && c.loop) loops.push_back(&c);
    if (c.what == "stop")
      loops.erase(std::remove_if(loops.begin(), loops.end(), [&](const Call* l) { return l->id == c.id; }),
                  loops.end());
  }
  std::vector<std::string> out;
  for (const Call* l : loops) out.push_back(l->path);
  return out;
}
