// The sounds and music the screens play, through one port: the game plays them on the
// engine's audio engine; tests put a recording audio in its place and read what was played.
#pragma once

#include <string>
#include <vector>

class GameAudio {
 public:
  virtual ~GameAudio() = default;
  // Starts a sound effect; returns its sound id (0 when nothing plays).
  virtual unsigned int playEffect(const std::string& path, bool loop) = 0;
  // Stops the effect of that id; an id that already ended is ignored.
  virtual void stopEffect(unsigned int id) = 0;
  virtual void playMusic(const std::string& path, bool loop) = 0;
  // 0.0 to 1.0.
  virtual void setMusicVolume(float volume) = 0;
};

// The engine's SimpleAudioEngine.
class EngineAudio : public GameAudio {
 public:
  unsigned int playEffect(const std::string& path, bool loop) override;
  void stopEffect(unsigned int id) override;
  void playMusic(const std::string& path, bool loop) override;
  void setMusicVolume(float volume) override;
};

// Plays nothing and keeps every call, in order; each effect gets the next id from 1.
class RecordingAudio : public GameAudio {
 public:
  struct Call {
    std::string what;  // "play", "stop", "music", "volume"
    std::string path;  // the file ("play", "music")
    unsigned int id = 0;  // the effect's id ("play", "stop")
    bool loop = false;
    float volume = 0;
  };

  unsigned int playEffect(const std::string& path, bool loop) override;
  void stopEffect(unsigned int id) override;
  void playMusic(const std::string& path, bool loop) override;
  void setMusicVolume(float volume) override;

  const std::vector<Call>& calls() const { return calls_; }
  // The files of the effects started, in order.
  std::vector<std::string> played() const;
  // The ids stopped, in order.
  std::vector<unsigned int> stopped() const;
  // Effects started with loop set and not stopped since, by file.
  std::vector<std::string> looping() const;
  void clear() { calls_.clear(); }

 private:
  std::vector<Call> calls_;
  unsigned int nextId_ = 1;
};

// The audio the screens use: the engine's unless a test set another (null: the engine's).
GameAudio& gameAudio();
void setGameAudio(GameAudio* audio);
