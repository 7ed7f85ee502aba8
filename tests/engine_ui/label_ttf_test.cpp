#include <gtest/gtest.h>

#include "CCLabelTTF.h"
#include "CCTextRasterizer.h"
#include "test_util.h"

using namespace cocos2d;

namespace {

// Columns that hold any ink.
std::pair<int, int> inkColumns(const ccRasterizedText& t) {
  int first = t.width, last = -1;
  for (int y = 0; y < t.height; ++y)
    for (int x = 0; x < t.width; ++x)
      if (t.rgba[(static_cast<size_t>(y) * t.width + x) * 4 + 3] > 0) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
  return {first, last};
}

TEST(TextRasterizerTest, LinesWrapAndAlignInsideTheBox) {
  ccRasterizedText one, two, wrapped, centred;
  ASSERT_TRUE(ccRasterizeText("Hello", "", 20, 0, 0, kCCTextAlignmentLeft,
                              kCCVerticalTextAlignmentTop, one));
  EXPECT_GT(one.width, 30);
  EXPECT_GT(one.height, 15);
  ASSERT_TRUE(ccRasterizeText("Hello\nHello", "", 20, 0, 0, kCCTextAlignmentLeft,
                              kCCVerticalTextAlignmentTop, two));
  EXPECT_EQ(one.width, two.width);
  EXPECT_EQ(2 * one.height, two.height);
  ASSERT_TRUE(ccRasterizeText("Hello Hello", "", 20, one.width + 5, 0, kCCTextAlignmentLeft,
                              kCCVerticalTextAlignmentTop, wrapped));
  EXPECT_EQ(two.height, wrapped.height);
  ASSERT_TRUE(ccRasterizeText("Hi", "", 20, 200, 0, kCCTextAlignmentCenter,
                              kCCVerticalTextAlignmentTop, centred));
  auto ink = inkColumns(centred);
  EXPECT_NEAR(200 - 1 - ink.second, ink.first, 4);  // as much room left as right
  EXPECT_EQ(std::string("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"),
            ccFontFileForName("Arial Bold"));
  ccRasterizedText cyr;
  EXPECT_TRUE(ccRasterizeText("Привет", "", 16, 0, 0, kCCTextAlignmentLeft,
                              kCCVerticalTextAlignmentTop, cyr));
  EXPECT_GE(inkColumns(cyr).first, 0);
}

TEST(LabelTTFTest, LabelTakesTheSizeOfItsText) {
  if (!mvtest::ensureWindow()) GTEST_SKIP() << "no display";
  CCLabelTTF* label = CCLabelTTF::create("Hello", "DejaVuSans", 20);
  ASSERT_NE(nullptr, label);
  float w = label->getContentSize().width;
  EXPECT_GT(w, 30.f);
  label->setString("Hello Hello");
  EXPECT_GT(label->getContentSize().width, w * 1.5f);
  label->setDimensions(CCSize(100, 80));
  EXPECT_EQ(100.f, label->getContentSize().width);
  EXPECT_EQ(80.f, label->getContentSize().height);
  label->setString("");
  EXPECT_STREQ("", label->getString());
}

}  // namespace
