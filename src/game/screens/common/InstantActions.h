// Two steps for scripted action sequences: set a bitmap-font label's text, and play a
// sound, each at its moment between the engine's delays and moves.
#pragma once

#include <string>

#include "CCActionInstant.h"

// Sets the text of the bitmap-font label it runs on; any other target is left alone.
class ActSetText : public cocos2d::CCActionInstant {
 public:
  // An autoreleased action carrying the text (UTF-8).
  static ActSetText* create(const std::string& text);
  const std::string& text() const { return text_; }

  cocos2d::CCObject* copyWithZone(cocos2d::CCZone* pZone) override;
  void update(float time) override;

 private:
  std::string text_;
};

// Plays a sound effect once, not looping ("sounds/lightning.wav").
class PlaySound : public cocos2d::CCActionInstant {
 public:
  static PlaySound* create(const std::string& path);
  const std::string& path() const { return path_; }

  cocos2d::CCObject* copyWithZone(cocos2d::CCZone* pZone) override;
  void update(float time) override;

 private:
  std::string path_;
};
