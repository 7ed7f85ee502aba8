#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CCKeyboardEvent.h"

using namespace cocos2d;

namespace {

struct ComboCase {
  std::vector<std::string> names;
  int key;
  int modifiers;
};
void PrintTo(const ComboCase& c, std::ostream* os) {
  for (const auto& n : c.names) *os << n << " ";
}

class KeyComboTest : public ::testing::TestWithParam<ComboCase> {};

TEST_P(KeyComboTest, NamesBuildTheKeyAndModifiers) {
  CCKeyboardEvent e(GetParam().names);
  EXPECT_EQ(GetParam().key, e.keyCode);
  EXPECT_EQ(GetParam().modifiers, e.modifiers);
}

INSTANTIATE_TEST_SUITE_P(
    Combos, KeyComboTest,
    ::testing::Values(ComboCase{{"CTRL", "S"}, 83, 2}, ComboCase{{"SHIFT", "ALT", "F4"}, 115, 24},
                      ComboCase{{"OPT"}, -1, 16}, ComboCase{{"A", "B"}, 66, 0}, ComboCase{{"F3"}, -1, 0},
                      ComboCase{{"num1"}, -1, 0}, ComboCase{{}, -1, 0}, ComboCase{{"CTRL", "CTRL", "CMD"}, -1, 6},
                      ComboCase{{"NUM1"}, 97, 0}, ComboCase{{"UP", "Ctrl"}, 38, 0},
                      ComboCase{{"="}, 187, 0}, ComboCase{{"NUM-", "SHIFTY"}, 109, 0},
                      ComboCase{{std::string("A\0B", 3)}, -1, 0}));

TEST(KeyNameTableTest, HoldsSixtyEightNamedKeysThenTheTerminator) {
  EXPECT_EQ(68, KeyNameTableRows);
  EXPECT_EQ(-1, KeyNameTable[68].code);
  EXPECT_STREQ("A", KeyNameTable[0].name);
  EXPECT_STREQ("UP", KeyNameTable[67].name);
  EXPECT_EQ(38, KeyNameTable[67].code);
}

TEST(KeyNameTableTest, ModifierNamesAreExactAndCaseSensitive) {
  EXPECT_EQ(8, modifierFlagForName("SHIFT"));
  EXPECT_EQ(4, modifierFlagForName("CMD"));
  EXPECT_EQ(16, modifierFlagForName("ALT"));
  EXPECT_EQ(16, modifierFlagForName("OPT"));
  EXPECT_EQ(2, modifierFlagForName("CTRL"));
  EXPECT_EQ(-1, modifierFlagForName("shift"));
  EXPECT_EQ(-1, modifierFlagForName("CTRLX"));
  EXPECT_EQ(-1, modifierFlagForName(""));
  EXPECT_EQ(-1, modifierFlagForName(nullptr));
}

}  // namespace
