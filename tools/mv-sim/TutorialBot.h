// Plays the local side of a tutorial through the event hub's local entries,
// as a player who follows the hints would: it picks the card it is given, puts
// crews and spells into their rooms (as the hints ask) rather than sending them
// at once, picks the spell the bar's arrow points at, and presses End Phase
// only where the script lets it. It never makes a choice the script does not
// ask for, so a script that misses its row shows as a locked game. Once the
// script is over the game goes on as a skirmish, played by the local bot.
#pragma once

#include <cstdint>
#include <vector>

#include "LocalBot.h"
#include "player/AnimateSpellEvent.h"
#include "ports/Rng.h"

class BoardElem;
class EventDispatcher;
class GameDirector_Tutorial;

class TutorialBot {
 public:
  TutorialBot(EventDispatcher& hub, uint32_t seed);

  // One frame's move; false when the bot had nothing to do.
  bool step();
  // The script reached its end row (seen by the bot, or by the game still held).
  bool completed() const;

  // The entries of a selection bar in the bar's order: one per distinct card,
  // the archmage first, then by category, then by id.
  static std::vector<int> barOrder(const std::vector<int>& cardIds);

 private:
  GameDirector_Tutorial* director() const;
  int randomIndex(std::size_t size);
  bool chooseCard();
  bool chooseSpell();
  bool choosePlace();
  bool endPhase();
  // The options a player following the hint would consider.
  std::vector<BoardElem*> preferredPlaces() const;

  EventDispatcher* hub_;
  DefaultRng rng_;
  LocalBot afterScript_;
  bool completed_ = false;
};
