// The running game: a player's choice, checked against the rules, told to the
// mode's director, then made by the player. The one path for every chooser.
#include <algorithm>

#include "CardTable.h"
#include "game/GameSession.h"
#include "logog/logog.hpp"
#include "player/Player.h"

const char* choiceName(Choice::Kind kind) {
  switch (kind) {
    case Choice::Kind::Card: return "card choice";
    case Choice::Kind::Spell: return "spell choice";
    case Choice::Kind::Element: return "element choice";
    case Choice::Kind::FinishCards: return "end of the card phase";
    case Choice::Kind::FinishSpells: return "end of a spell phase";
    case Choice::Kind::EndPhase: return "end of phase";
    case Choice::Kind::Cancel: return "cancel";
  }
  return "choice";
}

namespace {

using K = Choice::Kind;

// How a refusal is logged: a choice without a player of the game is dropped; the
// mode's leave to end a phase is a rule of play; a cancel outside a choice of place
// or target has its own line; anything else means the chooser does not see the
// player as the rules do.
enum class Level { None, Dropped, Mode, NoCancel, OutOfSync };

struct Refusal {
  Level level = Level::None;
  std::string why;
};

bool picking(PlayerState s) { return s == PlayerState::PlacementChoose || isTargetState(s); }

template <typename List, typename T>
bool holds(const List& list, const T& value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

std::string noCard(int id) {
  return id >= 0 && id < CardTable::kCardCount ? "" : "no card " + std::to_string(id);
}

// Why the player's state and offers do not fit the choice ("" when they do).
std::string misfit(const Player& p, const Choice& c) {
  const PlayerState s = p.state();
  const std::string inState = std::string("in state ") + Player::stateName(s);
  switch (c.kind) {
    case K::Card:
      if (s != PlayerState::CardChoose) return inState;
      if (!noCard(c.card).empty()) return noCard(c.card);
      if (!holds(p.cards(), c.card)) return "card " + std::to_string(c.card) + " not in the hand";
      return "";
    case K::Spell:
      if (!isSpellState(s)) return inState;
      if (!noCard(c.card).empty()) return noCard(c.card);
      if (!holds(p.spellOptions(), Player::StoredCard(c.card, c.power)))
        return "spell " + std::to_string(c.card) + "/" + std::to_string(c.power) + " not offered";
      return "";
    case K::Element:
      if (!picking(s)) return inState;
      if (!c.elem) return "no element";
      return holds(p.options(), c.elem) ? "" : "element not offered";
    case K::FinishCards:
      return s == PlayerState::CardChoose ? "" : inState;
    case K::FinishSpells:
      return isSpellState(s) ? "" : inState;
    case K::EndPhase:
      return "";  // outside a card or spell phase it ends nothing
    case K::Cancel:
      // The other machine's cancel is the player's to take: outside a choice of
      // place or target it changes nothing.
      if (c.from == Choice::From::Remote || picking(s)) return "";
      return "invalid state when cancelling: " + std::to_string(static_cast<int>(s));
  }
  return "";
}

Refusal refusalOf(const GameSession& game, const Choice& c) {
  if (!c.player) return {Level::Dropped, "no game, or an unknown player"};
  if (!game.started() || (c.player != game.localPlayer() && c.player != game.enemyPlayer()))
    return {Level::Dropped, "a player outside the running game"};
  const GameDirector* d = game.director();
  if (c.endsPhase() && c.player->isLocal() && d && !d->canEndPhase())
    return {Level::Mode, "the mode does not let the phase end now"};
  // The store offers every product, in any state (the sandbox's try-outs).
  if (c.from == Choice::From::Store) return {};
  std::string why = misfit(*c.player, c);
  if (why.empty()) return {};
  return {c.kind == K::Cancel ? Level::NoCancel : Level::OutOfSync, std::move(why)};
}

void tellDirector(GameDirector* d, const Choice& c) {
  if (!d) return;
  Player& p = *c.player;
  switch (c.kind) {
    case K::Card: d->onCardSelected(p, c.card); break;
    case K::Spell: d->onSpellSelected(p, c.card, c.power); break;
    case K::Element: d->onTargetSelected(p, c.elem); break;
    case K::FinishCards:
    case K::FinishSpells:
    case K::EndPhase: d->onPhaseFinished(p); break;
    case K::Cancel:
      // Only a cancel made on this machine's screen is the mode's business.
      if (c.madeHere()) d->onCancel();
      break;
  }
}

ChoiceOutcome outcome(bool taken) { return taken ? ChoiceOutcome::Taken : ChoiceOutcome::Declined; }

ChoiceOutcome act(Player& p, const Choice& c) {
  switch (c.kind) {
    case K::Card:
      return outcome(p.selectCard(c.card));
    case K::Spell:
      return outcome(p.selectSpell(c.card, c.power, c.target ? c.target : p.spellTargetFor(c.card)));
    case K::Element:
      return outcome(p.selectTarget(c.elem));
    case K::FinishCards:
      return outcome(p.finishCards());
    case K::FinishSpells:
      p.finishSpells();
      return ChoiceOutcome::Taken;
    case K::EndPhase:
      if (p.state() == PlayerState::CardChoose) return outcome(p.finishCards());
      if (!isSpellState(p.state())) return ChoiceOutcome::Declined;
      p.finishSpells();
      return ChoiceOutcome::Taken;
    case K::Cancel:
      p.cancel();
      return ChoiceOutcome::Taken;
  }
  return ChoiceOutcome::Declined;
}

}  // namespace

ChoiceOutcome GameSession::takeChoice(const Choice& choice,
                                      const std::function<void()>& beforeActing) {
  const Refusal refusal = refusalOf(*this, choice);
  const char* what = choiceName(choice.kind);
  switch (refusal.level) {
    case Level::None:
      break;
    case Level::Dropped:
      LOGOG_WARN("%s dropped: %s", what, refusal.why.c_str());
      return ChoiceOutcome::Refused;
    case Level::Mode:
      LOGOG_INFO("%s refused to %s: %s", what, choice.player->displayName(), refusal.why.c_str());
      return ChoiceOutcome::Refused;
    case Level::NoCancel:
      LOGOG_ERROR("%s", refusal.why.c_str());
      return ChoiceOutcome::Refused;
    case Level::OutOfSync:
      LOGOG_ERROR("%s out of sync: %s refused (%s)", choice.player->displayName(), what,
                  refusal.why.c_str());
      return ChoiceOutcome::Refused;
  }
  tellDirector(director_.get(), choice);
  if (beforeActing) beforeActing();
  return act(*choice.player, choice);
}
