// Plays the local side of a headless game through the event hub's local
// entries, as a player at the screen would: one random legal choice per
// frame, only when its state need not wait, ending a phase after a cap of
// picks (when the mode lets it end one).
#pragma once

#include <cstdint>

#include "player/PlayerState.h"
#include "ports/Rng.h"

class EventDispatcher;

// What a bot does in a state: pick a card, a spell, or a place or target; nothing else.
enum class BotChoice { None, Card, Spell, Place };
BotChoice botChoiceFor(PlayerState state);

class LocalBot {
 public:
  static constexpr int kDefaultPickCap = 30;

  LocalBot(EventDispatcher& hub, uint32_t seed, int pickCap = kDefaultPickCap);

  // One frame's move; false when the bot had nothing to do.
  bool step();

 private:
  int randomIndex(std::size_t size);
  bool chooseCard();
  bool chooseSpell();
  bool choosePlace();
  bool endPhase();

  EventDispatcher* hub_;
  DefaultRng rng_;
  int pickCap_;
  int picks_ = 0;
  // The phase the picks were counted in (turn * 16 + phase).
  int phaseKey_ = -1;
};
