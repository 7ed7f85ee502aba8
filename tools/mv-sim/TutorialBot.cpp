#include "TutorialBot.h"

#include <algorithm>

#include "BoardElem.h"
#include "CardTable.h"
#include "EventDispatcher.h"
#include "game/GameSession.h"
#include "game/TutorialDirector.h"
#include "player/Player.h"

namespace {

bool barLess(int a, int b) {
  if (a == b) return false;
  if (a == CardId::Archmage) return true;
  if (b == CardId::Archmage) return false;
  const CardRecord* ca = CardTable::getCard(a);
  const CardRecord* cb = CardTable::getCard(b);
  if (ca && cb && ca->category != cb->category) return ca->category < cb->category;
  return a < b;
}

bool isSpellOrCrew(int cardId) {
  const CardRecord* card = CardTable::getCard(cardId);
  return card && (card->category == CardCategory::Spell || card->category == CardCategory::Crew);
}

}  // namespace

TutorialBot::TutorialBot(EventDispatcher& hub, uint32_t seed)
    : hub_(&hub), rng_(seed), afterScript_(hub, seed ^ 0x9e3779b9u) {}

std::vector<int> TutorialBot::barOrder(const std::vector<int>& cardIds) {
  std::vector<int> ids = cardIds;
  std::sort(ids.begin(), ids.end(), barLess);
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
  return ids;
}

GameDirector_Tutorial* TutorialBot::director() const {
  return dynamic_cast<GameDirector_Tutorial*>(hub_->game().director());
}

bool TutorialBot::completed() const {
  const GameDirector_Tutorial* d = director();
  return completed_ || (d && !d->active());
}

int TutorialBot::randomIndex(std::size_t size) {
  return static_cast<int>(static_cast<std::size_t>(rng_.next()) % size);
}

bool TutorialBot::step() {
  GameSession& game = hub_->game();
  Player* me = game.localPlayer();
  Player* other = game.enemyPlayer();
  GameDirector_Tutorial* d = director();
  if (!game.started() || !me || !other || !d) return false;
  if (!d->active()) {
    completed_ = true;
    return afterScript_.step();
  }
  if (Player::mustWaitFor(me->state(), other->state())) return false;
  switch (botChoiceFor(me->state())) {
    case BotChoice::Card: return chooseCard();
    case BotChoice::Spell: return chooseSpell();
    case BotChoice::Place: return choosePlace();
    case BotChoice::None: return false;
  }
  return false;
}

bool TutorialBot::endPhase() {
  GameDirector_Tutorial* d = director();
  if (!d || !d->canEndPhase()) return false;  // the button is disabled
  hub_->endPhase();
  return true;
}

bool TutorialBot::chooseCard() {
  Player& me = *hub_->game().localPlayer();
  const std::vector<int> bar = barOrder(me.cards());
  if (bar.empty()) return endPhase();
  for (std::size_t i = 0; i < bar.size(); ++i) {
    if (director()->isCardChoiceForced(bar, bar[i])) {
      hub_->selectCard(bar[i]);
      return true;
    }
  }
  // No arrow: the hint's card is whatever the hand holds.
  hub_->selectCard(bar[static_cast<std::size_t>(randomIndex(bar.size()))]);
  return true;
}

bool TutorialBot::chooseSpell() {
  // The hint asks for End Phase wherever the script allows it.
  if (endPhase()) return true;
  Player& me = *hub_->game().localPlayer();
  const auto& offered = me.spellOptions();
  std::vector<int> ids;
  for (const auto& s : offered) ids.push_back(s.first);
  const std::vector<int> bar = barOrder(ids);
  // The bar's entries carry the first offer of each card.
  std::vector<BoardElem::StoredCard> entries;
  for (int id : bar) {
    auto it = std::find_if(offered.begin(), offered.end(),
                           [id](const BoardElem::StoredCard& s) { return s.first == id; });
    entries.push_back(*it);
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (director()->isSpellChoiceForced(entries, entries[i].first)) {
      const auto spell = entries[i];
      hub_->selectSpell(spell.first, spell.second, me.spellTargetFor(spell.first));
      return true;
    }
  }
  return false;  // nothing to pick and the phase may not end: the script is stuck
}

std::vector<BoardElem*> TutorialBot::preferredPlaces() const {
  Player& me = *hub_->game().localPlayer();
  const std::vector<BoardElem*>& options = me.options();
  if (me.state() != PlayerState::PlacementChoose || !isSpellOrCrew(me.selectedCard()))
    return options;
  // "Put it into your dwelling / library": a room keeps it for later.
  std::vector<BoardElem*> rooms;
  for (BoardElem* e : options)
    if (e && e->room() != RoomType::None) rooms.push_back(e);
  return rooms.empty() ? options : rooms;
}

bool TutorialBot::choosePlace() {
  const std::vector<BoardElem*> places = preferredPlaces();
  if (places.empty()) {
    hub_->cancelSelection();
    return true;
  }
  hub_->selectBoardElem(places[static_cast<std::size_t>(randomIndex(places.size()))]);
  return true;
}
