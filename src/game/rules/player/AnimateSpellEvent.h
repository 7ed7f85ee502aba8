// One queued spell: who casts it on whom, which card at which power, and the
// elements it hits. Also what the screen shows and what travels to the joining
// machine.
#pragma once

#include <algorithm>
#include <vector>

#include "CardTable.h"

class Player;
class BoardElem;

struct AnimateSpellEvent {
  Player* caster = nullptr;
  Player* target = nullptr;
  int card = -1;
  int power = 0;
  std::vector<BoardElem*> targets;  // picked by the player and by the rules
  std::vector<BoardElem*> spared;   // targets a shield saved; skipped
  bool reflected = false;           // a shield's reflection of another record
  bool active = true;               // false: only shown, never takes effect
  bool animate = true;              // shown on the game screen before it acts

  // EYE and the crews are shown only on the machine of the player who casts them.
  bool shownOnlyToCaster() const {
    return card == CardId::Eye || (card >= CardId::Tunnelers && card <= CardId::Deratizers);
  }
  bool isSpared(const BoardElem* e) const {
    return std::find(spared.begin(), spared.end(), e) != spared.end();
  }
  // The targets the card acts on: every target not spared, in order.
  std::vector<BoardElem*> hits() const {
    std::vector<BoardElem*> out;
    for (BoardElem* e : targets)
      if (e && !isSpared(e)) out.push_back(e);
    return out;
  }
};

