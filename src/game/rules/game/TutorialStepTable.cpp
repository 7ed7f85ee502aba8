#include "game/TutorialStepTable.h"

#include "CardTable.h"
#include "player/PlayerState.h"

namespace {

constexpr int kCards = static_cast<int>(PlayerState::CardChoose);
constexpr int kBuild = static_cast<int>(PlayerState::BuildChooseSpell);
constexpr int kCombat = static_cast<int>(PlayerState::CombatChooseSpell);
constexpr int kRepair = static_cast<int>(PlayerState::RepairChooseSpell);

constexpr std::array<TutorialStep, kTutorialStepRows> makeTable() {
  std::array<TutorialStep, kTutorialStepRows> t{};
  int i = 0;
  auto row = [&t, &i](int turn, int state, const char* key, int card, bool show, bool skip) {
    t[i++] = TutorialStep{turn, state, key, card, show, skip};
  };
  // Turn 0: the tower is built card by card.
  row(0, kCards, "TUT_INITIAL", CardId::Archmage, false, false);
  row(0, kCards, "TUT_PLACE_VERT_BLOCK", CardId::VertBlock, true, false);
  row(0, kCards, "TUT_PLACE_CRYSTAL", CardId::Crystal, true, false);
  row(0, kCards, "TUT_PLACE_ANOTHER_VERT_BLOCK", CardId::VertBlock, true, false);
  row(0, kCards, "TUT_PLACE_LIBRARY", CardId::Library, true, false);
  row(0, kCards, "TUT_PLACE_LIGHTNING", CardId::Lightning, true, false);
  row(0, kCards, "TUT_PLACE_DOME", CardId::Dome, true, false);
  row(0, kCards, "TUT_DWARF_TUNNELERS", CardId::Tunnelers, true, false);
  row(0, kCards, "TUT_PLACE_BLOCK_UNDERGROUND", CardId::VertBlock, true, false);
  row(0, kCards, "TUT_PLACE_DWELLING", CardId::Housing, true, false);
  row(0, kCards, "TUT_PLACE_DYNAMITE", CardId::Dynamite, true, false);
  row(0, kCards, "TUT_PLACE_FENCE", CardId::Fence, true, false);
  row(0, kCards, "TUT_PLACE_HORIZ_BLOCK", CardId::HorizBlock, true, false);
  row(0, kCards, "TUT_PLACE_ANOTHER_DWELLING", CardId::Housing, true, false);
  row(0, kCards, "TUT_PLACE_FENCE", CardId::Fence, true, false);
  row(0, kCards, "TUT_PLACE_DERATIZERS", CardId::Deratizers, true, false);
  // Turn 0: the phases, one by one.
  row(0, kCards, "TUT_SKIP_TO_BUILD", -1, true, true);
  row(0, kBuild, "TUT_CHOOSE_DERATIZERS", -1, true, false);
  row(0, kBuild, "TUT_SKIP_TO_COMBAT", -1, true, true);
  row(0, kCombat, "TUT_CHOOSE_DYNAMITE", -1, true, false);
  row(0, kCombat, "TUT_SKIP_TO_REPAIR", -1, true, true);
  row(0, kRepair, "TUT_NOTHING_TO_REPAIR", -1, true, true);
  // Turn 1: crews, a strike, and mending what the enemy did.
  row(1, kCards, "TUT_PLACE_REPAIRS", CardId::Repairers, true, false);
  row(1, kCards, "TUT_PLACE_FIREFIGHTERS", CardId::Firefighters, true, false);
  row(1, kCards, "TUT_SKIP_TO_BUILD", -1, true, true);
  row(1, kBuild, "TUT_SKIP_TO_COMBAT", -1, true, true);
  row(1, kCombat, "TUT_CHOOSE_LIGHTNING", -1, true, false);
  row(1, kCombat, "TUT_SKIP_TO_REPAIR", -1, true, true);
  row(1, kRepair, "TUT_CHOOSE_FIREFIGHTERS", -1, true, false);
  row(1, kRepair, "TUT_CHOOSE_REPAIRS", -1, true, false);
  // The end row.
  row(-1, 0, "", -1, false, false);
  return t;
}

}  // namespace

const std::array<TutorialStep, kTutorialStepRows> TutorialStepTable = makeTable();
