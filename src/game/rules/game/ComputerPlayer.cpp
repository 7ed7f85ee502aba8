#include "game/ComputerPlayer.h"

#include <algorithm>

#include "CardTable.h"
#include "GameContext.h"
#include "game/GameSession.h"
#include "player/Player.h"

namespace {

int randomIndex(Player& player, std::size_t size) {
  return static_cast<int>(static_cast<std::size_t>(player.context().rng().next()) % size);
}

bool holdsArchmage(const Player& player) {
  const auto& hand = player.cards();
  return std::find(hand.begin(), hand.end(), CardId::Archmage) != hand.end();
}

void chooseCard(Player& player, GameHub& hub, int& count) {
  while (player.state() == PlayerState::CardChoose) {
    if (!holdsArchmage(player) && (player.cards().empty() || count >= kAiPickLimit)) {
      hub.aiFinishCards(player);
      count = 0;
      return;
    }
    ++count;
    const int card = player.cards()[randomIndex(player, player.cards().size())];
    // A card the rules would refuse is passed over here (still a pick), so
    // only legal choices reach the hub.
    if (!player.cardRefusal(card) && hub.aiSelectCard(player, card)) return;
  }
}

void chooseSpell(Player& player, GameHub& hub, int& count) {
  const PlayerState phase = player.state();
  while (player.state() == phase) {
    if (player.spellOptions().empty() || count >= kAiPickLimit) {
      hub.aiFinishSpells(player);
      count = 0;
      return;
    }
    ++count;
    const auto spell = player.spellOptions()[randomIndex(player, player.spellOptions().size())];
    // Stored cards that cannot be paid for or find no target are offered in
    // every spell phase; like a refused card, they are passed over here.
    if (player.maySelectSpell(spell.first, player.spellTargetFor(spell.first)) &&
        hub.aiSelectSpell(player, spell.first, spell.second))
      return;
  }
}

void chooseTarget(Player& player, GameHub& hub) {
  const auto& options = player.options();
  if (options.empty()) {
    // Nothing to pick: step back to the card or spell choice.
    hub.aiCancel(player);
    return;
  }
  hub.aiSelectTarget(player, options[randomIndex(player, options.size())]);
}

}  // namespace

void aiStep(Player& player) {
  GameContext& ctx = player.context();
  GameHub& hub = ctx.hub();
  int& count = ctx.game().aiChoiceCount();
  switch (player.state()) {
    case PlayerState::CardChoose:
      chooseCard(player, hub, count);
      break;
    case PlayerState::PlacementChoose:
    case PlayerState::BuildSpellChooseTarget:
    case PlayerState::RepairSpellChooseTarget:
    case PlayerState::CombatSpellChooseTarget:
      chooseTarget(player, hub);
      break;
    case PlayerState::BuildChooseSpell:
    case PlayerState::CombatChooseSpell:
    case PlayerState::RepairChooseSpell:
      chooseSpell(player, hub, count);
      break;
    default:
      break;
  }
}
