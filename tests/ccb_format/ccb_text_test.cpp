#include <gtest/gtest.h>

#include "CCBBinary.h"
#include "CcbText.h"

using namespace cocos2d::extension;

namespace {

const char* const kScreen = R"(# main menu
sequence "Default Timeline" id 0 duration 2.5 autoplay
sequence "Blink" id 1 duration 1 chained 0

CCLayer {
  contentSize 0 0 100 100
  CCLabelBMFont as owner title {
    position 10 20 50 0
    fntFile "font-14.fnt"
    string "%MENU_TITLE"
    animate 0 opacity {
      at 0 linear 0
      at 1.5 cubicIn:2 255
    }
    extra string caption "Hello \"there\""
  }
  CCMenu {
    CCMenuItemImage as owner okButton {
      normalSpriteFrame "texture" "button-ok.png"
      block onOk 2
      isEnabled true
    }
    CCMenuItemColor {
      normalcolor "255,0,0,128"
      contentsize "200,40"
    }
  }
  CCTilingSprite {
    scale 4 1 0
    displayFrame texture ground.png
  }
}
)";

TEST(CcbText, CompilesAScreenWithBindingsSequencesAndKeyframes) {
  CCBDocument doc;
  std::string error;
  ASSERT_TRUE(ccbc::compileText(kScreen, "menu.ccb", doc, error)) << error;
  ASSERT_EQ(doc.sequences.size(), 2u);
  EXPECT_EQ(doc.autoPlaySequenceId, 0);
  EXPECT_EQ(doc.sequences[1].chainedSequenceId, 0);
  ASSERT_EQ(doc.root.children.size(), 3u);
  const CCBNodeDesc& title = doc.root.children[0];
  EXPECT_EQ(title.memberVarAssignmentType, kCCBTargetTypeOwner);
  EXPECT_EQ(title.memberVarAssignmentName, "title");
  EXPECT_EQ(title.properties[0].value.floats, (std::vector<float>{10, 20, 50, 0}));
  ASSERT_EQ(title.sequences.size(), 1u);
  const CCBSequenceProperty& fade = title.sequences[0].properties[0];
  EXPECT_EQ(fade.type, kCCBPropTypeByte);
  ASSERT_EQ(fade.keyframes.size(), 2u);
  EXPECT_EQ(fade.keyframes[1].easing, kCCBEasingCubicIn);
  EXPECT_FLOAT_EQ(fade.keyframes[1].easingOpt, 2.f);
  EXPECT_EQ(fade.keyframes[1].value.ints, std::vector<int>{255});
  EXPECT_EQ(title.extraProperties[0].value.strings[0], "Hello \"there\"");
  const CCBNodeDesc& ok = doc.root.children[1].children[0];
  EXPECT_EQ(ok.properties[1].value.strings[0], "onOk");
  EXPECT_EQ(ok.properties[1].value.ints[0], kCCBTargetTypeOwner);
}

TEST(CcbText, TextBinaryAndBackGiveTheSameTree) {
  CCBDocument doc;
  std::string error;
  ASSERT_TRUE(ccbc::compileText(kScreen, "menu.ccb", doc, error)) << error;
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(ccbWriteDocument(doc, bytes, &error)) << error;
  CCBDocument read;
  ASSERT_TRUE(ccbParseDocument(bytes.data(), bytes.size(), read, &error)) << error;
  EXPECT_TRUE(read == doc);
  // The text written from a file compiles to the same file again.
  CCBDocument again;
  ASSERT_TRUE(ccbc::compileText(ccbc::documentToText(read), "dump", again, error)) << error;
  EXPECT_TRUE(again == doc);
}

TEST(CcbText, TextsLongerThanAFileHoldsAreRefusedWithTheirLine) {
  std::string text = "CCLabelBMFont {\n  string \"" + std::string(kCCBMaxTextBytes + 1, 'x') +
                     "\"\n}\n";
  CCBDocument doc;
  std::string error;
  EXPECT_FALSE(ccbc::compileText(text, "menu.ccb", doc, error));
  EXPECT_NE(error.find("menu.ccb:2: a text of 65536 bytes"), std::string::npos) << error;
  text = "CCNode as owner " + std::string(kCCBMaxTextBytes + 1, 'n') + " {\n}\n";
  EXPECT_FALSE(ccbc::compileText(text, "menu.ccb", doc, error));
  EXPECT_NE(error.find("menu.ccb:1:"), std::string::npos) << error;
}

TEST(CcbText, MistakesAreReportedWithTheirLine) {
  struct Case {
    const char* text;
    const char* fragment;
  } cases[] = {
      {"CCNode {\n  CCWidget {\n  }\n}\n", "menu.ccb:2: unknown"},
      {"CCNode {\n  displayFrame a b\n}\n", "menu.ccb:2: CCNode has no property displayFrame"},
      {"CCNode {\n\n  position 1 2 3\n}\n", "menu.ccb:3: expected a number"},
      {"CCNode {\n  position 1 2 3 4 5\n}\n", "too many values"},
      {"CCNode {\n  tag 1.5\n}\n", "not an integer"},
      {"CCNode {\n  visible maybe\n}\n", "expected true or false"},
      {"CCNode {\n  animate 0 tag {\n  }\n}\n", "cannot be animated"},
      {"CCNode {\n  animate 0 rotation {\n    at 0 wobbly 1\n  }\n}\n", "unknown easing"},
      {"CCNode {\n  animate 0 rotation {\n    at 0 linear:2 1\n  }\n}\n", "takes no option"},
      {"CCNode {\n", "missing }"},
      {"CCNode {\n}\nCCNode {\n}\n", "one root node"},
      {"# nothing\n", "no root node"},
      {"CCNode as friend x {\n}\n", "'owner' or 'root'"},
      {"CCMenuItem {\n}\n", "unknown class"},
      {"CCNode {\n  extra colour x 1\n}\n", "unknown property type"},
      {"sequence \"A\" duration 1\nCCNode {\n}\n", "needs an id"},
      {"sequence \"A\" id 0 chained 5\nCCNode {\n}\n", "unknown sequence"},
      {"CCLabelBMFont {\n  string \"open\n}\n", "unterminated string"},
      // Values the file format cannot hold.
      {"sequence \"A\" id 0 duration 1\nCCNode {\n  animate -1 rotation {\n    at 0 linear 1\n  }\n}\n",
       "menu.ccb:3: a sequence id is not negative"},
      {"CCLayerColor {\n  opacity 300\n}\n", "menu.ccb:2: opacity: 300 is not within 0..255"},
      {"CCLayerColor {\n  color 1 -2 3\n}\n", "menu.ccb:2: color: -2 is not within 0..255"},
      {"CCLayerColor {\n  animate 0 opacity {\n    at 0 linear 256\n  }\n}\n",
       "menu.ccb:3: opacity: 256 is not within 0..255"},
      {"CCSprite {\n  blendFunc -1 771\n}\n", "menu.ccb:2: blendFunc: -1 is negative"},
      {"CCMenuItemImage {\n  block onOk -1\n}\n", "menu.ccb:2: block: -1 is negative"},
      {"CCNode {\n  animate 0 rotation {\n    at 0 cubicIn:inf 1\n  }\n}\n", "bad easing option"},
      {"sequence \"A\" id 0 chained -2\nCCNode {\n}\n", "menu.ccb:1: chained is a sequence id"},
  };
  for (const Case& c : cases) {
    CCBDocument doc;
    std::string error;
    EXPECT_FALSE(ccbc::compileText(c.text, "menu.ccb", doc, error)) << c.text;
    EXPECT_NE(error.find(c.fragment), std::string::npos) << "got: " << error;
  }
}

}  // namespace
