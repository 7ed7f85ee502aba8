// The key bindings: what each default combination means, exact modifiers for a key
// going down, any modifiers for a key going up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CCKeyboardEvent.h"
#include "Hotkeys.h"

using cocos2d::CCKeyboardEvent;
using cocos2d::kCCKeyModifierCtrl;
using cocos2d::kCCKeyModifierShift;

namespace {

// Virtual-key codes of the key-name table.
constexpr int kUp = 38, kRight = 39, kDown = 40, kLeft = 37, kEsc = 27, kReturn = 13, kEquals = 187,
              kMinus = 189, kT = 84;

struct Binding {
  int keyCode;
  int modifiers;
  int action;
};

class HotkeyBindingTest : public ::testing::TestWithParam<Binding> {
 protected:
  void SetUp() override { buildHotkeyTable(); }
};

TEST_P(HotkeyBindingTest, KeyDownMeansItsAction) {
  const Binding& b = GetParam();
  EXPECT_EQ(lookupHotkey(CCKeyboardEvent(b.keyCode, b.modifiers)), b.action);
}

INSTANTIATE_TEST_SUITE_P(
    Defaults, HotkeyBindingTest,
    ::testing::Values(Binding{kUp, 0, kHotkeyUp}, Binding{kRight, 0, kHotkeyRight}, Binding{kDown, 0, kHotkeyDown},
                      Binding{kLeft, 0, kHotkeyLeft}, Binding{kEsc, 0, kHotkeyEscape},
                      Binding{kReturn, 0, kHotkeyReturn}, Binding{'1', 0, 6}, Binding{'5', 0, 10},
                      Binding{'9', 0, 14}, Binding{'0', 0, kHotkeyDigit0}, Binding{kT, 0, kHotkeyT},
                      Binding{kMinus, kCCKeyModifierCtrl, kHotkeyZoomOut},
                      Binding{kEquals, kCCKeyModifierCtrl, kHotkeyZoomIn},
                      // Exact modifiers only.
                      Binding{kEquals, 0, -1}, Binding{kEquals, kCCKeyModifierCtrl | kCCKeyModifierShift, -1},
                      Binding{kMinus, 0, -1}, Binding{kUp, kCCKeyModifierCtrl, -1}, Binding{'1', kCCKeyModifierShift, -1},
                      // A modifier change alone, and a key without binding.
                      Binding{-1, 0, -1}, Binding{-1, kCCKeyModifierCtrl, -1}, Binding{'Q', 0, -1}));

TEST(HotkeyTest, KeyUpEndsEveryActionOfTheKeyWhateverTheModifiers) {
  buildHotkeyTable();
  EXPECT_EQ(matchHotkeys(CCKeyboardEvent(kUp, kCCKeyModifierCtrl)), std::vector<int>{kHotkeyUp});
  EXPECT_EQ(matchHotkeys(CCKeyboardEvent(kEquals, 0)), std::vector<int>{kHotkeyZoomIn});
  EXPECT_TRUE(matchHotkeys(CCKeyboardEvent(-1, kCCKeyModifierCtrl)).empty());
  EXPECT_TRUE(matchHotkeys(CCKeyboardEvent('Q', 0)).empty());
}

TEST(HotkeyTest, BuildingAgainGivesTheSameTableAndCtrlItsMask) {
  buildHotkeyTable();
  const auto first = HotkeyTable;
  buildHotkeyTable();
  for (int a = 0; a < kHotkeyCount; ++a) {
    EXPECT_TRUE(HotkeyTable[a].sameKeyAs(first[a])) << a;
    EXPECT_NE(HotkeyTable[a].keyCode, -1) << a;
  }
  EXPECT_EQ(getModifierMask(0), kCCKeyModifierCtrl);
  EXPECT_EQ(getModifierMask(1), 0);
  EXPECT_EQ(getModifierMask(-1), 0);
}

TEST(SplitStringTest, PiecesBetweenDelimitersEmptyOnesIncluded) {
  using V = std::vector<std::string>;
  EXPECT_EQ(splitString("CTRL-MINUS", "-"), (V{"CTRL", "MINUS"}));
  EXPECT_EQ(splitString("UP", "-"), (V{"UP"}));
  EXPECT_EQ(splitString("CTRL--", "-"), (V{"CTRL", "", ""}));
  EXPECT_EQ(splitString("", "-"), (V{""}));
  EXPECT_EQ(splitString("a::b", "::"), (V{"a", "b"}));
}

}  // namespace
