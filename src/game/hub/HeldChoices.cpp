#include "HeldChoices.h"

#include <algorithm>

#include "Board.h"
#include "BoardElem.h"
#include "CardTable.h"
#include "player/Player.h"

// ---- What the host has not answered yet ---------------------------------------------

void HeldChoices::noteActed(const Player& local, int manaBefore, int dwarvesBefore, const GameToken& game) {
  if (local.mana() == manaBefore && local.dwarves() == dwarvesBefore) return;
  // The host's word changes its counters only for this side's choices, taken in order.
  counters_ = true;
  countersGame_ = game;
  wordMana_ = local.hostMana();
  wordDwarves_ = local.hostDwarves();
}

void HeldChoices::noteCast(const AnimateSpellEvent& cast, const GameToken& game) {
  const CardRecord* card = CardTable::getCard(cast.card);
  if (!card) return;
  cast_ = true;
  castGame_ = game;
  targets_.clear();
  if (card->manaCost != 0 || card->dwarvesCost != 0) return;  // the payment shows
  for (const BoardElem* e : cast.targets)
    if (e) targets_.push_back(Target{e->owner() == cast.caster, e->x(), e->y(), lookOf(*e)});
}

HeldChoices::Look HeldChoices::lookOf(const BoardElem& e) {
  return Look(static_cast<int>(e.kind()), static_cast<int>(e.room()), e.roomPower(), e.waterLevel(),
              e.isDamaged(), e.isBurning(), e.isDeratized(), e.isHardened(), e.hasDoors(), e.hasFence(),
              e.hasLevitron());
}

const BoardElem* HeldChoices::find(const Player& local, const Target& t) {
  const Player* owner = t.onCastersBoard ? &local : local.opponent();
  const Board* board = owner ? owner->board() : nullptr;
  return board ? board->cellAt(t.x, t.y) : nullptr;
}

bool HeldChoices::countersAnswered(const Player& local) const {
  return !counters_ || !countersGame_.alive() || local.hostMana() != wordMana_ ||
         local.hostDwarves() != wordDwarves_;
}

bool HeldChoices::castAnswered(const Player& local) const {
  if (!cast_ || !castGame_.alive()) return true;
  if (targets_.empty()) return countersAnswered(local);
  return std::any_of(targets_.begin(), targets_.end(), [&](const Target& t) {
    const BoardElem* e = find(local, t);
    return !e || lookOf(*e) != t.look;
  });
}

bool HeldChoices::stepUndecided(const Player& local) {
  const PlayerState s = local.state();
  const PlayerState step = automaticStepOf(s);
  if (step == PlayerState::Invalid) return false;
  // Until the host has taken the entry into the phase, its word is of an earlier phase.
  const PlayerState word = local.hostState();
  return spellPhaseOf(word) != spellPhaseOf(s) && word != step;
}

bool HeldChoices::takeAnswers(const Player& local) {
  const bool castCame = cast_ && castAnswered(local);
  if (castCame) {
    cast_ = false;
    targets_.clear();
  }
  if (countersAnswered(local)) counters_ = false;
  return castCame;
}

const char* HeldChoices::waitReason(Choice::Kind kind, const Player& local) const {
  if (local.isCasting()) return "the player's spell is being shown";
  if (!castAnswered(local)) return "the host has not cast the player's spell yet";
  if (stepUndecided(local)) return "the host decides whether the phase ends by itself";
  if (kind == Choice::Kind::Spell && !countersAnswered(local))
    return "the host has not taken the last payment yet";
  return nullptr;
}

// ---- The held choices ------------------------------------------------------------------

void HeldChoices::push(const Choice& choice, PlayerState madeIn, const GameToken& game) {
  held_.push_back(Held{choice, madeIn, game});
}

HeldChoices::Held HeldChoices::pop() {
  Held h = std::move(held_.front());
  held_.pop_front();
  return h;
}

int HeldChoices::dropPhaseEnds(PlayerState from) {
  const int phase = spellPhaseOf(from);
  if (phase == 0) return 0;
  const auto before = held_.size();
  held_.erase(std::remove_if(held_.begin(), held_.end(),
                             [phase](const Held& h) {
                               return h.choice.kind == Choice::Kind::EndPhase && spellPhaseOf(h.madeIn) == phase;
                             }),
              held_.end());
  return static_cast<int>(before - held_.size());
}

std::size_t HeldChoices::clear() {
  const std::size_t n = held_.size();
  held_.clear();
  counters_ = false;
  countersGame_ = GameToken();
  cast_ = false;
  castGame_ = GameToken();
  targets_.clear();
  return n;
}
