#pragma once

#include <map>
#include <string>

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

namespace CocosDenshion {

// Sound effects and one background music track over SDL2_mixer. The audio device is opened
// on first use; without a device, or with a file that cannot be read, the failure is logged
// and the game plays on in silence.
class SimpleAudioEngine {
 public:
  static SimpleAudioEngine* sharedEngine();
  // Stops everything, frees the sounds and closes the device.
  static void end();

  void preloadBackgroundMusic(const char* pszFilePath);
  void playBackgroundMusic(const char* pszFilePath, bool bLoop = false);
  void stopBackgroundMusic(bool bReleaseData = false);
  void pauseBackgroundMusic();
  void resumeBackgroundMusic();
  void rewindBackgroundMusic();
  bool willPlayBackgroundMusic();
  bool isBackgroundMusicPlaying();

  // Volumes from 0.0 to 1.0.
  float getBackgroundMusicVolume();
  void setBackgroundMusicVolume(float volume);
  float getEffectsVolume();
  void setEffectsVolume(float volume);

  // Starts an effect (loading it when needed); returns its sound id, 0 when nothing plays.
  unsigned int playEffect(const char* pszFilePath, bool bLoop = false);
  void pauseEffect(unsigned int nSoundId);
  void pauseAllEffects();
  void resumeEffect(unsigned int nSoundId);
  void resumeAllEffects();
  // Stops the effect of that id; an id that already ended is ignored.
  void stopEffect(unsigned int nSoundId);
  void stopAllEffects();
  void preloadEffect(const char* pszFilePath);
  void unloadEffect(const char* pszFilePath);

  // Whether the device is open (false after a failed attempt).
  bool isAudioAvailable();

 private:
  SimpleAudioEngine();
  ~SimpleAudioEngine();
  bool openDevice();
  Mix_Chunk* effect(const char* pszFilePath);
  Mix_Music* music(const char* pszFilePath);
  // The mixer channel still playing that id, or -1.
  int channelOf(unsigned int nSoundId);

  bool m_triedOpen = false;
  bool m_open = false;
  bool m_ownsAudioSubsystem = false;
  float m_musicVolume = 1.0f;
  float m_effectsVolume = 1.0f;
  std::map<std::string, Mix_Chunk*> m_effects;
  std::string m_musicPath;
  Mix_Music* m_music = nullptr;
  unsigned int m_nextId = 1;
  std::map<int, unsigned int> m_channelIds;  // channel -> id of the effect started there
};

}  // namespace CocosDenshion
