#include "player/PlayerState.h"

const char* const PlayerStateNames[15] = {
    "Invalid",
    "TurnBegin",
    "CardChoose",
    "PlacementChoose",
    "BuildChooseSpell",
    "CombatChooseSpell",
    "ProcessCombatQueue",
    "RepairChooseSpell",
    "Fire",
    "Message",
    "BuildSpellChooseTarget",
    "RepairSpellChooseTarget",
    "CombatSpellChooseTarget",
    "EndTurn",
    "StateCount",
};

const char* stateName(int state) {
  if (state < 0 || state > static_cast<int>(PlayerState::StateCount)) return "?";
  return PlayerStateNames[state];
}

int spellPhaseOf(PlayerState s) {
  switch (s) {
    case PlayerState::BuildChooseSpell:
    case PlayerState::BuildSpellChooseTarget:
      return 1;
    case PlayerState::CombatChooseSpell:
    case PlayerState::CombatSpellChooseTarget:
      return 2;
    case PlayerState::RepairChooseSpell:
    case PlayerState::RepairSpellChooseTarget:
      return 3;
    default:
      return 0;
  }
}

PlayerState automaticStepOf(PlayerState s) {
  switch (s) {
    case PlayerState::BuildChooseSpell:
      return PlayerState::CombatChooseSpell;
    case PlayerState::RepairChooseSpell:
      return PlayerState::Fire;
    default:
      return PlayerState::Invalid;
  }
}
