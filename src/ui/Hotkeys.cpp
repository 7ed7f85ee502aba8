#include "Hotkeys.h"

using cocos2d::CCKeyboardEvent;

std::array<CCKeyboardEvent, kHotkeyCount> HotkeyTable;

namespace {

struct HotkeyRow {
  const char* combination;
  int action;
};

// The default bindings, in the order they are read; the row with action -1 ends it.
const HotkeyRow kDefaultHotkeys[] = {
    {"UP", kHotkeyUp},         {"RIGHT", kHotkeyRight},     {"DOWN", kHotkeyDown},
    {"LEFT", kHotkeyLeft},     {"CTRL-MINUS", kHotkeyZoomOut}, {"CTRL-=", kHotkeyZoomIn},
    {"1", 6},                  {"2", 7},                    {"3", 8},
    {"4", 9},                  {"5", 10},                   {"6", 11},
    {"7", 12},                 {"8", 13},                   {"9", 14},
    {"0", kHotkeyDigit0},      {"T", kHotkeyT},             {"ESC", kHotkeyEscape},
    {"RETURN", kHotkeyReturn}, {"", -1},
};

struct ModifierRow {
  const char* name;
  int id;
};

const ModifierRow kHotkeyModifierNames[] = {{"CTRL", 0}, {"", -1}};
constexpr int kModifierCount = 1;

int hotkeyModifierMasks[kModifierCount] = {0};
bool built = false;

}  // namespace

std::vector<std::string> splitString(const std::string& text, const std::string& delimiter) {
  std::vector<std::string> pieces;
  if (delimiter.empty()) {
    pieces.push_back(text);
    return pieces;
  }
  std::string::size_type start = 0;
  for (;;) {
    std::string::size_type at = text.find(delimiter, start);
    if (at == std::string::npos) break;
    pieces.push_back(text.substr(start, at - start));
    start = at + delimiter.size();
  }
  pieces.push_back(text.substr(start));
  return pieces;
}

void buildHotkeyTable() {
  for (const HotkeyRow* row = kDefaultHotkeys; row->action != -1; ++row) {
    CCKeyboardEvent combo(splitString(row->combination, "-"));
    HotkeyTable[row->action].keyCode = combo.keyCode;
    HotkeyTable[row->action].modifiers = combo.modifiers;
  }
  for (const ModifierRow* row = kHotkeyModifierNames; row->id != -1; ++row)
    hotkeyModifierMasks[row->id] = cocos2d::modifierFlagForName(row->name);
  built = true;
}

bool hotkeyTableBuilt() { return built; }

int lookupHotkey(const CCKeyboardEvent& event) {
  if (event.keyCode == -1) return -1;
  for (int action = 0; action < kHotkeyCount; ++action)
    if (HotkeyTable[action].sameKeyAs(event)) return action;
  return -1;
}

std::vector<int> matchHotkeys(const CCKeyboardEvent& event) {
  std::vector<int> actions;
  if (event.keyCode == -1) return actions;
  for (int action = 0; action < kHotkeyCount; ++action)
    if (HotkeyTable[action].keyCode == event.keyCode) actions.push_back(action);
  return actions;
}

int getModifierMask(int modifierId) {
  if (modifierId < 0 || modifierId >= kModifierCount) return 0;
  return hotkeyModifierMasks[modifierId];
}
