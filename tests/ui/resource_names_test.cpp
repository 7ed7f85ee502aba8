#include <gtest/gtest.h>

#include "ResourceNames.h"

namespace {

TEST(ResourceNames, StandardAndForcedHdNames) {
  struct Case {
    std::string got, want;
  } cases[] = {
      {mv::imageFileName("board.png", true), "board-hd.png"},
      {mv::imageFileName("board.png", false), "board.png"},
      {mv::imageFileName("..board.x.png", true), "board-hd.png"},
      {mv::imageFileName("noext", true), "noext-hd.png"},
      {mv::imageFileName("...", true), "..."},
      {mv::fontFileName("main.fnt"), "fonts/main.fnt"},
      {mv::plistFileName("sprites/ui", false), "sprites/ui.plist"},
      {mv::plistFileName("sprites/ui", true), "sprites/ui-hd.plist"},
      {mv::ccbiFileName("menu", false), "ccbi/menu.ccbi"},
      {mv::ccbiFileName("menu", true), "ccbi/menu.ccbi"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want);
}

TEST(ResourceNames, ScalesOfTheStandardSet) {
  EXPECT_FLOAT_EQ(mv::hdScale(), 0.5f);
  EXPECT_FLOAT_EQ(mv::layoutScale(false), 0.5f);
  EXPECT_FLOAT_EQ(mv::layoutScale(true), 1.0f);
  EXPECT_FLOAT_EQ(mv::resourceScale(), 1.0f);
}

}  // namespace
