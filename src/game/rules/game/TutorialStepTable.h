// The tutorial's script: one row per step, each naming the turn and player
// state in which it applies, the hint's language key, the one card the player
// is given, whether the hint shows as a message and whether the player may end
// the phase there. Rows 0 to 30 are the script (30 is the end row); the rest
// of the storage stays default and is never reached.
#pragma once

#include <array>
#include <cstdint>

struct TutorialStep {
  int32_t turn = 0;          // turn counter value of the step; -1 marks the end row
  int32_t state = 0;         // PlayerState in which it applies
  const char* key = "";      // language key of the hint
  int32_t allowedCard = 0;   // the card the player holds; -1 none
  bool show = false;         // the hint is shown as a message
  bool skippable = false;    // the player may end the phase here
};

constexpr int kTutorialStepRows = 100;
// The row that ends the script.
constexpr int kTutorialEndRow = 30;

extern const std::array<TutorialStep, kTutorialStepRows> TutorialStepTable;
