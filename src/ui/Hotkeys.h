// The game's keyboard shortcuts: one process-wide table of key bindings indexed by
// action, filled once from built-in default combinations, and the two lookups the
// screens' key handlers use.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "CCKeyboardEvent.h"

enum HotkeyAction {
  kHotkeyUp = 0,
  kHotkeyRight = 1,
  kHotkeyDown = 2,
  kHotkeyLeft = 3,
  kHotkeyEscape = 4,
  kHotkeyReturn = 5,
  kHotkeyDigit1 = 6,  // digits "1" to "9" are 6 to 14, "0" is 15
  kHotkeyDigit0 = 15,
  kHotkeyT = 16,
  kHotkeyZoomOut = 17,
  kHotkeyZoomIn = 18,
  kHotkeyCount = 19,
};

constexpr int kHotkeyDigitCount = kHotkeyDigit0 - kHotkeyDigit1 + 1;

// The number of the digit key an action stands for, counted from 1: "1" is 1 ... "9" is 9,
// "0" is 10 (the digits' order on the keyboard); 0 for any action that is not a digit.
constexpr int hotkeyDigitNumber(int action) {
  return action >= kHotkeyDigit1 && action <= kHotkeyDigit0 ? action - kHotkeyDigit1 + 1 : 0;
}

// Index = action id. Key code -1 (never matches) until buildHotkeyTable runs.
extern std::array<cocos2d::CCKeyboardEvent, kHotkeyCount> HotkeyTable;

// Fills the table and the modifier masks from the built-in lists. Running it again
// gives the same table.
void buildHotkeyTable();
bool hotkeyTableBuilt();

// The lowest action whose key is the event's key (not -1) with exactly its modifiers;
// -1 when none.
int lookupHotkey(const cocos2d::CCKeyboardEvent& event);
// Every action on the event's key (not -1) whatever the modifiers, ascending: a key
// that goes up ends its actions even when the modifiers changed meanwhile.
std::vector<int> matchHotkeys(const cocos2d::CCKeyboardEvent& event);

// The modifier mask of a hot-key modifier id (0: CTRL); 0 for an unknown id or before
// the table is built.
int getModifierMask(int modifierId);

// The pieces of text between occurrences of the delimiter; empty pieces stay.
std::vector<std::string> splitString(const std::string& text, const std::string& delimiter);
