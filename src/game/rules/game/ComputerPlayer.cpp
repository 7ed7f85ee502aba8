#include "game/ComputerPlayer.h"

#include <algorithm>

#include "CardTable.h"
#include "GameContext.h"
#include "game/GameSession.h"
#include "logog/logog.hpp"
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
    const bool archmage = holdsArchmage(player);
    const bool mayPick = archmage ? count < kAiArchmagePickCap
                                  : !player.cards().empty() && count < kAiPickLimit;
    if (!mayPick) {
      if (archmage)
        LOGOG_ERROR("%s gave up placing ARCHMAGE after %d picks", player.displayName(), count);
      hub.aiFinishCards(player);
      count = 0;
      return;
    }
    ++count;
    const int card = player.cards()[randomIndex(player, player.cards().size())];
    // As with spells below: a card the rules would refuse counts as a pick, unmade.
    if (player.cardRefusal(card)) continue;
    if (hub.aiSelectCard(player, card)) return;
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
    // A pick the rules would refuse (no target, or no mana or dwarves for it) is not
    // offered to them: it counts as a pick all the same, so the phase ends as before.
    if (!player.canCast(spell.first, player.spellTargetFor(spell.first))) continue;
    if (hub.aiSelectSpell(player, spell.first, spell.second)) return;
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
  int& count = ctx.game().aiChoiceCount(player);
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
