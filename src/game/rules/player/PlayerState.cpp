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
