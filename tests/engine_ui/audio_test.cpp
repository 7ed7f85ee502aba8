#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "SimpleAudioEngine.h"
#include "test_util.h"

using CocosDenshion::SimpleAudioEngine;

namespace {

void put16(std::string& s, uint16_t v) {
  s += static_cast<char>(v & 0xff);
  s += static_cast<char>(v >> 8);
}
void put32(std::string& s, uint32_t v) {
  put16(s, v & 0xffff);
  put16(s, v >> 16);
}

// A mono 16-bit PCM WAV of a short square wave.
std::string makeWav(int samples) {
  std::string data;
  for (int i = 0; i < samples; ++i) put16(data, (i / 20) % 2 ? 8000 : static_cast<uint16_t>(-8000));
  std::string s = "RIFF";
  put32(s, 36 + data.size());
  s += "WAVEfmt ";
  put32(s, 16);
  put16(s, 1);
  put16(s, 1);
  put32(s, 22050);
  put32(s, 44100);
  put16(s, 2);
  put16(s, 16);
  s += "data";
  put32(s, data.size());
  return s + data;
}

class AudioTest : public ::testing::Test {
 protected:
  // Tests never need a sound card.
  void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 0); }
  void TearDown() override { SimpleAudioEngine::end(); }
  mvtest::TempDir dir;
};

TEST_F(AudioTest, EffectsPlayWithIdsAndStopByIdOnTheDummyDevice) {
  ASSERT_TRUE(dir.write("click.wav", makeWav(22050)));
  SimpleAudioEngine* audio = SimpleAudioEngine::sharedEngine();
  ASSERT_TRUE(audio->isAudioAvailable());
  std::string path = dir.file("click.wav");
  audio->preloadEffect(path.c_str());
  unsigned int once = audio->playEffect(path.c_str());
  unsigned int looped = audio->playEffect(path.c_str(), true);
  EXPECT_NE(0u, once);
  EXPECT_NE(0u, looped);
  EXPECT_NE(once, looped);
  audio->stopEffect(looped);
  audio->stopEffect(looped);  // already stopped: ignored
  audio->stopEffect(12345);   // never issued: ignored
  audio->unloadEffect(path.c_str());
  EXPECT_NE(0u, audio->playEffect(path.c_str()));  // loads again
  audio->stopAllEffects();
}

TEST_F(AudioTest, MusicPlaysStopsAndKeepsItsVolume) {
  ASSERT_TRUE(dir.write("theme.wav", makeWav(44100)));
  SimpleAudioEngine* audio = SimpleAudioEngine::sharedEngine();
  std::string path = dir.file("theme.wav");
  audio->setBackgroundMusicVolume(0.5f);
  audio->preloadBackgroundMusic(path.c_str());
  EXPECT_TRUE(audio->willPlayBackgroundMusic());
  audio->playBackgroundMusic(path.c_str(), true);
  EXPECT_TRUE(audio->isBackgroundMusicPlaying());
  audio->stopBackgroundMusic(true);
  EXPECT_FALSE(audio->isBackgroundMusicPlaying());
  EXPECT_FALSE(audio->willPlayBackgroundMusic());
  EXPECT_FLOAT_EQ(0.5f, audio->getBackgroundMusicVolume());
  audio->setEffectsVolume(2.0f);
  EXPECT_FLOAT_EQ(1.0f, audio->getEffectsVolume());
}

TEST_F(AudioTest, MissingOrBrokenFilesAreLoggedAndPlayGoesOn) {
  ASSERT_TRUE(dir.write("broken.wav", "RIFF\x10\0\0\0WAVEjunk"));
  ASSERT_TRUE(dir.write("folder.wav/inside", ""));  // a folder named like a sound
  mvtest::LogCapture log;
  SimpleAudioEngine* audio = SimpleAudioEngine::sharedEngine();
  for (const char* name : {"missing.wav", "broken.wav", "folder.wav"}) {
    std::string path = dir.file(name);
    EXPECT_EQ(0u, audio->playEffect(path.c_str())) << name;
    audio->playBackgroundMusic(path.c_str());
    EXPECT_FALSE(audio->isBackgroundMusicPlaying()) << name;
  }
  EXPECT_EQ(0u, audio->playEffect(nullptr));
  EXPECT_EQ(3, log.count("cannot load effect"));
  EXPECT_EQ(3, log.count("cannot load music"));
}

}  // namespace
