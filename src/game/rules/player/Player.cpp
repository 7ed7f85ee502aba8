// Player: record, counters, dealing and the turn state machine.
#include "player/Player.h"

#include "Board.h"
#include "CardTable.h"
#include "GameContext.h"
#include "logog/logog.hpp"

Player::Player(GameContext& context) : context_(&context) {}

Player::Player() : Player(GameContext::defaultContext()) {}

Player::~Player() = default;

PlayerEvents& Player::events() const { return context_->playerEvents(); }

PlayerSession& Player::session() const { return context_->session(); }

void Player::setMana(int value) {
  mana_ = value;
  events().onPlayerCountersChanged(*this);
}

void Player::setDwarves(int value) {
  dwarves_ = value;
  events().onPlayerCountersChanged(*this);
}

bool Player::isLocal() const { return session().isLocal(*this); }

Player* Player::opponent() const { return session().otherPlayer(*this); }

const char* Player::displayName() const { return isLocal() ? "WE" : "ENEMY"; }

Player* Player::spellTargetFor(int cardId) {
  const CardRecord* card = CardTable::getCard(cardId);
  return card && card->castOnOpponent ? opponent() : this;
}

bool Player::isChoosingSpell() const { return isSpellState(state_) || isTargetState(state_); }

bool Player::startsSpellPhase(PlayerState next) const {
  // Back from picking a spell's targets is the same phase: its own casts are on
  // the board already, and an older list from the host would undo them.
  const bool choosesSpell = next == PlayerState::BuildChooseSpell || next == PlayerState::CombatChooseSpell ||
                            next == PlayerState::RepairChooseSpell;
  return choosesSpell && spellPhaseOf(next) != spellPhaseOf(state_);
}

void Player::dealCards() {
  cards_.clear();
  cards_ = session().cardList(*this);
  events().onCardListDealt(*this);
}

void Player::report(PlayerState from, PlayerState to) {
  events().switchPlayerState(*this, from, to);
}

void Player::outOfSync() { events().reportOutOfSync(*this); }

bool Player::skipsAutomatically() const {
  // The tutorial's script has rows in the build and repair phases that the
  // player passes by ending the phase; a skip would miss them and lock the script.
  if (session().tutorialRunning()) return false;
  // Where the host runs the rules, this machine's boards may not yet show the
  // results of the last choice: the host's word decides (setHostWord, followed by the hub).
  if (context_->lacksAuthority()) return false;
  return session().online() || isLocal();
}

bool Player::hostTook(PlayerState step) const {
  return step != PlayerState::Invalid && context_->lacksAuthority() && isLocal() && hostState_ == step;
}

bool Player::busyCasting(const char* what) const {
  if (!casting_) return false;
  LOGOG_INFO("%s: %s refused while a spell is being cast", displayName(), what);
  return true;
}

bool Player::takeHostStep() {
  if (casting_ || !hostTook(automaticStepOf(state_))) return false;
  setState(hostState_);
  return true;
}

bool Player::refreshOffers() {
  if (state_ != PlayerState::PlacementChoose && !isChoosingSpell()) return false;
  const std::vector<BoardElem*> options = options_;
  const std::vector<StoredCard> spells = spellOptions_;
  // The host's word equals this state, so entering it again takes no step.
  enter(state_);
  if (options_ == options && spellOptions_ == spells) return false;
  report(state_, state_);
  return true;
}

void Player::refreshTargetOptions() {
  if (!targetPlayer_ || !targetPlayer_->board()) return;
  options_ = targetOptions(*targetPlayer_->board(), selectedSpell_.first,
                           static_cast<int>(chosenTargets_.size()), chosenTargets_);
}

PlayerState Player::enter(PlayerState state) {
  state_ = state;
  switch (state) {
    case PlayerState::TurnBegin:
      return PlayerState::CardChoose;
    case PlayerState::PlacementChoose:
      options_ = placementOptions(selectedCard_);
      break;
    case PlayerState::BuildChooseSpell:
      spellOptions_ = collectSpellOptions(false, false);
      if (skipsAutomatically() ? collectSpellOptions(false, true).empty()
                               : hostTook(PlayerState::CombatChooseSpell))
        return PlayerState::CombatChooseSpell;
      break;
    case PlayerState::CombatChooseSpell:
      spellOptions_ = collectSpellOptions(true, false);
      break;
    case PlayerState::RepairChooseSpell:
      spellOptions_ = collectSpellOptions(false, false);
      if (skipsAutomatically() ? collectSpellOptions(false, true).empty() &&
                                     (!board_ || board_->burningCount() == 0)
                               : hostTook(PlayerState::Fire))
        return PlayerState::Fire;
      break;
    case PlayerState::BuildSpellChooseTarget:
    case PlayerState::RepairSpellChooseTarget:
    case PlayerState::CombatSpellChooseTarget:
      refreshTargetOptions();
      break;
    case PlayerState::Invalid:
    case PlayerState::Message:
      outOfSync();
      break;
    default:
      break;
  }
  return state;
}

void Player::setState(PlayerState state) {
  const int value = static_cast<int>(state);
  if (!isPlayerState(value)) {
    LOGOG_ERROR("%s refused state %d", displayName(), value);
    outOfSync();
    return;
  }
  if (startsSpellPhase(state)) context_->matchLink().takeHeldBackCards(*this);
  const PlayerState old = state_;
  const PlayerState next = enter(state);
  if (state == PlayerState::TurnBegin) {
    // Passes on at once: one switch, straight to choosing cards.
    enter(next);
    report(old, next);
    return;
  }
  report(old, state);
  // The automatic step is told as a switch of its own, so whoever waits on the
  // old state sees the phase the player has left.
  if (next != state && state_ == state) {
    enter(next);
    report(state, next);
  }
}

void Player::startTurn() {
  const PlayerState old = state_;
  state_ = PlayerState::CardChoose;
  report(old, state_);
}

bool Player::finishCards() {
  if (busyCasting("end of the card phase")) return false;
  if (state_ != PlayerState::CardChoose) {
    LOGOG_ERROR("%s finished cards in state %s", displayName(), stateName(state_));
    outOfSync();
    return false;
  }
  if (session().turn() == 0 && (!board_ || !board_->findArchmage())) {
    showMessage("MUST_PLACE_ARCHMAGE");
    return false;
  }
  if (board_) {
    mana_ += board_->manaIncome();
    dwarves_ += board_->dwarvesIncome();
  }
  if (session().tutorialRunning()) dwarves_ += 2;
  events().onPlayerCountersChanged(*this);
  setState(PlayerState::BuildChooseSpell);
  return true;
}

void Player::finishSpells() {
  if (busyCasting("end of a spell phase")) return;
  switch (state_) {
    case PlayerState::BuildChooseSpell:
      setState(PlayerState::CombatChooseSpell);
      break;
    case PlayerState::CombatChooseSpell:
      setState(PlayerState::ProcessCombatQueue);
      break;
    case PlayerState::RepairChooseSpell:
      setState(PlayerState::Fire);
      break;
    case PlayerState::EndTurn:
      break;
    default:
      LOGOG_ERROR("wrong state for finished selecting spells");
      break;
  }
}

void Player::cancel() {
  if (busyCasting("cancel")) return;
  switch (state_) {
    case PlayerState::PlacementChoose:
      setState(PlayerState::CardChoose);
      break;
    case PlayerState::BuildSpellChooseTarget:
      setState(PlayerState::BuildChooseSpell);
      break;
    case PlayerState::RepairSpellChooseTarget:
      setState(PlayerState::RepairChooseSpell);
      break;
    case PlayerState::CombatSpellChooseTarget:
      setState(PlayerState::CombatChooseSpell);
      break;
    default:
      break;
  }
}

void Player::onQueueDone() {
  switch (state_) {
    case PlayerState::ProcessCombatQueue:
      setState(PlayerState::RepairChooseSpell);
      break;
    case PlayerState::Fire:
      setState(PlayerState::EndTurn);
      break;
    default:
      outOfSync();
      break;
  }
}

bool Player::mustWaitFor(PlayerState my, PlayerState other) {
  using S = PlayerState;
  switch (my) {
    case S::TurnBegin:
      return other == S::EndTurn;
    case S::CombatChooseSpell:
      return other == S::Invalid || other == S::TurnBegin || other == S::CardChoose ||
             other == S::PlacementChoose || other == S::BuildChooseSpell ||
             other == S::BuildSpellChooseTarget;
    case S::ProcessCombatQueue:
      return other == S::CombatChooseSpell || other == S::CombatSpellChooseTarget;
    case S::Fire:
      return other == S::RepairChooseSpell || other == S::RepairSpellChooseTarget;
    case S::EndTurn:
      return other == S::Fire;
    default:
      return false;
  }
}
