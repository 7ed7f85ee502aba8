#include "LocalBot.h"

#include <algorithm>

#include "CardTable.h"
#include "EventDispatcher.h"
#include "game/GameDirector.h"
#include "game/GameSession.h"
#include "player/Player.h"

namespace {

// The phase a state belongs to: the card phase and the three spell phases,
// each with its placement or target choice.
int phaseOf(PlayerState s) {
  if (s == PlayerState::CardChoose || s == PlayerState::PlacementChoose) return 1;
  const int spell = spellPhaseOf(s);
  return spell ? spell + 1 : 0;
}

}  // namespace

LocalBot::LocalBot(EventDispatcher& hub, uint32_t seed, int pickCap)
    : hub_(&hub), rng_(seed), pickCap_(pickCap) {}

int LocalBot::randomIndex(std::size_t size) {
  return static_cast<int>(static_cast<std::size_t>(rng_.next()) % size);
}

BotChoice botChoiceFor(PlayerState state) {
  switch (state) {
    case PlayerState::CardChoose:
      return BotChoice::Card;
    case PlayerState::BuildChooseSpell:
    case PlayerState::CombatChooseSpell:
    case PlayerState::RepairChooseSpell:
      return BotChoice::Spell;
    case PlayerState::PlacementChoose:
    case PlayerState::BuildSpellChooseTarget:
    case PlayerState::RepairSpellChooseTarget:
    case PlayerState::CombatSpellChooseTarget:
      return BotChoice::Place;
    default:
      return BotChoice::None;
  }
}

bool LocalBot::step() {
  GameSession& game = hub_->game();
  Player* me = game.localPlayer();
  Player* other = game.enemyPlayer();
  if (!game.started() || !me || !other) return false;
  if (Player::mustWaitFor(me->state(), other->state())) return false;

  const int key = game.turn() * 16 + phaseOf(me->state());
  if (key != phaseKey_) {
    phaseKey_ = key;
    picks_ = 0;
  }
  switch (botChoiceFor(me->state())) {
    case BotChoice::Card: return chooseCard();
    case BotChoice::Spell: return chooseSpell();
    case BotChoice::Place: return choosePlace();
    case BotChoice::None: return false;
  }
  return false;
}

bool LocalBot::endPhase() {
  // The joining side of a match runs no director: a match is a normal game, whose
  // phases may always end.
  GameDirector* director = hub_->game().director();
  if (director && !director->canEndPhase()) return false;
  hub_->endPhase();
  return true;
}

bool LocalBot::chooseCard() {
  Player& me = *hub_->game().localPlayer();
  const std::vector<int>& hand = me.cards();
  // The archmage goes first: the first turn cannot end without it.
  const bool archmage = std::find(hand.begin(), hand.end(), CardId::Archmage) != hand.end();
  if (hand.empty() || (picks_ >= pickCap_ && !archmage)) return endPhase();
  if (picks_ >= pickCap_ * 4) return endPhase();  // the archmage finds no room
  ++picks_;
  hub_->selectCard(archmage ? static_cast<int>(CardId::Archmage) : hand[randomIndex(hand.size())]);
  return true;
}

bool LocalBot::chooseSpell() {
  Player& me = *hub_->game().localPlayer();
  const auto& offered = me.spellOptions();
  if (offered.empty() || picks_ >= pickCap_) return endPhase();
  ++picks_;
  const auto spell = offered[randomIndex(offered.size())];
  hub_->selectSpell(spell.first, spell.second, me.spellTargetFor(spell.first));
  return true;
}

bool LocalBot::choosePlace() {
  Player& me = *hub_->game().localPlayer();
  const auto& options = me.options();
  if (options.empty()) {
    hub_->cancelSelection();
    return true;
  }
  hub_->selectBoardElem(options[randomIndex(options.size())]);
  return true;
}
