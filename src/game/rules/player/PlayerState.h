// The states a player passes through in a turn, and their names.
#pragma once

#include <cstdint>

enum class PlayerState : int32_t {
  Invalid = 0,
  TurnBegin = 1,
  CardChoose = 2,
  PlacementChoose = 3,
  BuildChooseSpell = 4,
  CombatChooseSpell = 5,
  ProcessCombatQueue = 6,
  RepairChooseSpell = 7,
  Fire = 8,
  Message = 9,
  BuildSpellChooseTarget = 10,
  RepairSpellChooseTarget = 11,
  CombatSpellChooseTarget = 12,
  EndTurn = 13,
  StateCount = 14,
};

// Names indexed by state, "StateCount" included (15 entries).
extern const char* const PlayerStateNames[15];

// The state's name; "?" for a value outside the table.
const char* stateName(int state);
inline const char* stateName(PlayerState state) { return stateName(static_cast<int>(state)); }

// True for the values 0..13 (StateCount is not a state).
inline bool isPlayerState(int state) { return state >= 0 && state < 14; }

// Choosing one of the stored spells: the build, combat or repair phase.
inline bool isSpellState(PlayerState s) {
  return s == PlayerState::BuildChooseSpell || s == PlayerState::CombatChooseSpell ||
         s == PlayerState::RepairChooseSpell;
}

// Picking the targets of a chosen spell, in any of the three phases.
inline bool isTargetState(PlayerState s) {
  return s == PlayerState::BuildSpellChooseTarget || s == PlayerState::RepairSpellChooseTarget ||
         s == PlayerState::CombatSpellChooseTarget;
}

// The spell phase a choosing or target state belongs to: 1 build, 2 combat,
// 3 repair; 0 for any other state.
int spellPhaseOf(PlayerState s);

// The step the rules may take by themselves on entering a state: the build phase
// passes on to combat and the repair phase to the fire when nothing is left to
// do in them; Invalid for every other state.
PlayerState automaticStepOf(PlayerState s);
