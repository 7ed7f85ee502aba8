// Player: choosing and placing cards, choosing stored spells and their targets.
#include <algorithm>

#include "Board.h"
#include "CardTable.h"
#include "GameContext.h"
#include "logog/logog.hpp"
#include "player/Player.h"

namespace {

// Whether a target is offered somewhere; stops at the first, without
// building the whole list.
bool anyTarget(const Board& board, int cardId, int pickIndex) {
  return board.anyElemInReach(
      [&](const BoardElem& e) { return e.isValidTarget(cardId, pickIndex); });
}

}  // namespace

void Player::showMessage(const std::string& key) {
  events().showPlayerMessage(*this, context_->text().text(key));
}

bool Player::selectCard(int cardId) {
  if (busyCasting("card choice")) return false;
  const CardRecord* card = CardTable::getCard(cardId);
  if (!card) return false;
  selectedCard_ = cardId;
  if (!board_) return false;
  if (const char* why = cardRefusal(cardId)) {
    showMessage(why);
    return false;
  }
  setState(PlayerState::PlacementChoose);
  return true;
}

const char* Player::cardRefusal(int cardId) const {
  const CardRecord* card = CardTable::getCard(cardId);
  if (!card || !board_) return "NO_VALID_PLACEMENT";
  // The first turn keeps one free block for the archmage.
  if (session().turn() == 0 && card->category == CardCategory::Room &&
      cardId != CardId::Archmage && !board_->findArchmage() && board_->countFreeBlocks() < 2)
    return "MUST_RESERVE_BLOCK";
  if (!board_->anyElemInReach([&](const BoardElem& e) { return e.canPlace(cardId); })) {
    switch (card->category) {
      case CardCategory::Structure: return "NO_VALID_PLACEMENT";
      case CardCategory::Room: return "NO_EMPTY_ELEM";
      case CardCategory::Spell: return "NO_FREE_LIBRARY";
      case CardCategory::Crew: return "NO_FREE_HOUSING";
    }
  }
  return nullptr;
}

std::vector<BoardElem*> Player::placementOptions(int cardId) const {
  std::vector<BoardElem*> out;
  if (!board_ || !CardTable::getCard(cardId)) return out;
  board_->forEachElemInReach([&](BoardElem& e) {
    if (e.canPlace(cardId)) out.push_back(&e);
  });
  return out;
}

bool Player::placeCard(BoardElem* elem) {
  if (!elem) return false;
  elem->applyCard(selectedCard_);
  auto it = std::find(cards_.begin(), cards_.end(), selectedCard_);
  if (it != cards_.end())
    cards_.erase(it);
  else
    LOGOG_ERROR("failed to remove card from curcardlist");
  setState(PlayerState::CardChoose);
  return true;
}

bool Player::canAfford(int cardId) const {
  const CardRecord* card = CardTable::getCard(cardId);
  if (!card) return false;
  if (session().tutorialRunning() && !isLocal()) return true;
  return card->manaCost <= mana_ && card->dwarvesCost <= dwarves_;
}

std::vector<Player::StoredCard> Player::collectSpellOptions(bool hostile,
                                                            bool onlyCastable) const {
  std::vector<StoredCard> out;
  if (!board_) return out;
  board_->forEachElemInReach([&](BoardElem& e) {
    if (!e.isWorking() || !(e.holdsSpells() || e.holdsCrews())) return;
    for (const StoredCard& stored : e.storedCards()) {
      const CardRecord* card = CardTable::getCard(stored.first);
      if (!card || card->hostile != hostile) continue;
      if (onlyCastable && card->targetCount > 0 && !anyTarget(*board_, stored.first, 0))
        continue;
      out.push_back(stored);
    }
  });
  return out;
}

std::vector<BoardElem*> Player::targetOptions(const Board& board, int cardId, int pickIndex,
                                              const std::vector<BoardElem*>& excluded) {
  std::vector<BoardElem*> out;
  board.forEachElemInReach([&](BoardElem& e) {
    if (std::find(excluded.begin(), excluded.end(), &e) != excluded.end()) return;
    if (e.isValidTarget(cardId, pickIndex)) out.push_back(&e);
  });
  return out;
}

void Player::queueOrPay(int cardId, int power, Player* target, std::vector<BoardElem*> targets) {
  // The joining machine only pays; the host queues and casts.
  if (context_->lacksAuthority()) {
    const CardRecord* card = CardTable::getCard(cardId);
    if (card) pay(card->manaCost, card->dwarvesCost);
  } else {
    queueSpell(cardId, power, target, std::move(targets));
  }
}

void Player::afterCombatChoice() {
  if (session().sandbox())
    setState(PlayerState::ProcessCombatQueue);
  else
    setState(PlayerState::CombatChooseSpell);
}

bool Player::hasTargets(int cardId, const Player* targetPlayer) {
  const CardRecord* card = CardTable::getCard(cardId);
  if (!card) return false;
  for (int pick = 0; pick < card->targetCount; ++pick)
    if (!targetPlayer || !targetPlayer->board() || !anyTarget(*targetPlayer->board(), cardId, pick)) return false;
  return true;
}

bool Player::canCast(int cardId, const Player* targetPlayer) const {
  return canAfford(cardId) && hasTargets(cardId, targetPlayer);
}

bool Player::selectSpell(int cardId, int power, Player* targetPlayer) {
  if (busyCasting("spell choice")) return false;
  const CardRecord* card = CardTable::getCard(cardId);
  if (!card) return false;
  selectedSpell_ = StoredCard(cardId, power);
  targetPlayer_ = targetPlayer;

  if (!canAfford(cardId)) {
    LOGOG_INFO("not enough mana or dwarves");
    std::string text;
    if (card->manaCost > 0)
      text = context_->text().text("REQUIRED_MANA") + std::to_string(card->manaCost);
    if (card->dwarvesCost != 0) {
      if (!text.empty()) text += ", ";
      text += context_->text().text("REQUIRED_DWARVES") + std::to_string(card->dwarvesCost);
    }
    events().showPlayerMessage(*this, text);
    return false;
  }

  if (card->targetCount == 0) {
    switch (state_) {
      case PlayerState::BuildChooseSpell:
      case PlayerState::RepairChooseSpell:
        queueSpell(cardId, power, targetPlayer, {});
        if (board_) board_->spendSpell(cardId, power);
        processSpellQueue();
        return true;
      case PlayerState::CombatChooseSpell:
        queueOrPay(cardId, power, targetPlayer, {});
        if (board_) board_->spendSpell(cardId, power);
        afterCombatChoice();
        return true;
      default:
        outOfSync();
        return false;
    }
  }

  PlayerState next;
  switch (state_) {
    case PlayerState::BuildChooseSpell: next = PlayerState::BuildSpellChooseTarget; break;
    case PlayerState::CombatChooseSpell: next = PlayerState::CombatSpellChooseTarget; break;
    case PlayerState::RepairChooseSpell: next = PlayerState::RepairSpellChooseTarget; break;
    default:
      outOfSync();
      return false;
  }
  if (!hasTargets(cardId, targetPlayer)) {
    LOGOG_INFO("not valid targets");
    showMessage("NO_VALID_TARGETS");
    return false;
  }
  chosenTargets_.clear();
  setState(next);
  return true;
}

bool Player::selectTarget(BoardElem* elem) {
  if (busyCasting("element choice")) return false;
  const bool placing = state_ == PlayerState::PlacementChoose;
  if (!placing && !isTargetState(state_)) {
    outOfSync();
    return false;
  }
  // Only an element on offer may be picked (clicks, network and the computer alike).
  if (!elem || std::find(options_.begin(), options_.end(), elem) == options_.end()) {
    LOGOG_ERROR("%s picked an element that is not on offer", displayName());
    return false;
  }
  return placing ? placeCard(elem) : chooseTarget(elem);
}

bool Player::chooseTarget(BoardElem* elem) {
  const CardRecord* card = CardTable::getCard(selectedSpell_.first);
  if (!card || !elem || !isTargetState(state_)) {
    outOfSync();
    return false;
  }
  chosenTargets_.push_back(elem);
  if (static_cast<int>(chosenTargets_.size()) < card->targetCount) {
    setState(state_);  // the options of the next pick, the chosen ones left out
    return true;
  }
  const int cardId = selectedSpell_.first;
  const int power = selectedSpell_.second;
  if (state_ == PlayerState::CombatSpellChooseTarget) {
    queueOrPay(cardId, power, targetPlayer_, chosenTargets_);
    if (board_) board_->spendSpell(cardId, power);
    afterCombatChoice();
  } else {
    queueSpell(cardId, power, targetPlayer_, chosenTargets_);
    if (board_) board_->spendSpell(cardId, power);
    processSpellQueue();
  }
  return true;
}
