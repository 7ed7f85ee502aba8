// Before the table is filled (its own process: the table is process-wide) no key
// means anything.
#include <gtest/gtest.h>

#include "CCKeyboardEvent.h"
#include "Hotkeys.h"

TEST(HotkeyUnbuiltTest, EveryLookupYieldsNothing) {
  ASSERT_FALSE(hotkeyTableBuilt());
  EXPECT_EQ(lookupHotkey(cocos2d::CCKeyboardEvent(38, 0)), -1);
  EXPECT_EQ(lookupHotkey(cocos2d::CCKeyboardEvent(-1, 0)), -1);
  EXPECT_TRUE(matchHotkeys(cocos2d::CCKeyboardEvent(38, 0)).empty());
}
