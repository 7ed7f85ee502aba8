#include <gtest/gtest.h>

#include "CCLabelBMFont.h"
#include "CCLayerColor.h"
#include "CCMenu.h"
#include "CCMenuItem.h"
#include "CCMenuItemColor.h"
#include "CCScene.h"
#include "CCSprite.h"
#include "test_util.h"

using namespace cocos2d;

namespace {

class Counter : public CCObject {
 public:
  void onPress(CCObject* sender) {
    ++presses;
    last = sender;
  }
  int presses = 0;
  CCObject* last = nullptr;
};

// A running scene with a menu of one 100 x 40 image item centred at (100, 100).
class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!mvtest::ensureWindow()) GTEST_SKIP() << "no display";
    mvtest::writeSolidPng(dir.file("up.png"), 100, 40, 0, 0, 255);
    mvtest::writeSolidPng(dir.file("down.png"), 100, 40, 255, 0, 0);
    counter = new Counter();
    scene = CCScene::create();
    scene->retain();
    item = CCMenuItemImage::create(dir.file("up.png").c_str(), dir.file("down.png").c_str(),
                                   nullptr, counter, menu_selector(Counter::onPress));
    ASSERT_NE(nullptr, item);
    item->setPosition(CCPoint(100, 100));
    menu = CCMenu::createWithItem(item);
    menu->setPosition(CCPoint(0, 0));
    scene->addChild(menu);
    scene->onEnter();
  }
  void TearDown() override {
    if (scene) {
      scene->onExit();
      scene->release();
    }
    if (counter) counter->release();
    CCLabelBMFont::purgeCachedData();
  }
  mvtest::TempDir dir;
  Counter* counter = nullptr;
  CCScene* scene = nullptr;
  CCMenu* menu = nullptr;
  CCMenuItemImage* item = nullptr;
};

using mvtest::kBegan;
using mvtest::kEnded;
using mvtest::kMoved;

TEST_F(MenuTest, TouchAndMouseFireTheItemUnderThemOnRelease) {
  for (auto input : {mvtest::touchAt, mvtest::mouseAt}) {
    int before = counter->presses;
    input(kBegan, 120, 110);
    EXPECT_TRUE(item->isSelected());
    EXPECT_TRUE(item->getSelectedImage()->isVisible());
    EXPECT_FALSE(item->getNormalImage()->isVisible());
    EXPECT_EQ(before, counter->presses);
    input(kEnded, 120, 110);
    EXPECT_EQ(before + 1, counter->presses);
    EXPECT_EQ(item, counter->last);
    EXPECT_FALSE(item->isSelected());
    EXPECT_TRUE(item->getNormalImage()->isVisible());
  }
}

TEST_F(MenuTest, PressesThatLeaveTheItemOrMissItDoNotFire) {
  for (auto input : {mvtest::touchAt, mvtest::mouseAt}) {
    input(kBegan, 120, 110);
    input(kMoved, 300, 300);
    EXPECT_FALSE(item->isSelected());
    input(kEnded, 300, 300);
    input(kBegan, 10, 10);
    input(kEnded, 120, 110);
  }
  EXPECT_EQ(0, counter->presses);
  item->setEnabled(false);
  mvtest::touchAt(kBegan, 120, 110);
  mvtest::touchAt(kEnded, 120, 110);
  menu->setVisible(false);
  item->setEnabled(true);
  mvtest::mouseAt(kBegan, 120, 110);
  mvtest::mouseAt(kEnded, 120, 110);
  EXPECT_EQ(0, counter->presses);
}

TEST_F(MenuTest, CaptionSwitchesToTheSelectedFontWhilePressed) {
  std::string font = mvtest::writeTestFont(dir, "menu");
  mvtest::writeTestFont(dir, "menu-selected");
  CCLabelBMFont* caption = CCLabelBMFont::create();
  caption->setFntFile(font.c_str());
  caption->setString("AB");
  item->addChild(caption);
  CCLabelBMFont* plain = CCLabelBMFont::create("A", font.c_str());
  item->addChild(plain);
  mvtest::touchAt(kBegan, 120, 110);
  EXPECT_EQ(dir.file("menu-selected.fnt"), caption->getFntFile());
  EXPECT_EQ(font, plain->getFntFile());  // made with a font in code: no original
  mvtest::touchAt(kEnded, 120, 110);
  EXPECT_EQ(font, caption->getFntFile());
}

TEST_F(MenuTest, ToggleItemKeepsItsPressedLookWhileOn) {
  item->toggle = true;
  mvtest::touchAt(kBegan, 120, 110);
  EXPECT_TRUE(item->getNormalImage()->isVisible());  // an off toggle shows no press
  mvtest::touchAt(kEnded, 120, 110);
  EXPECT_TRUE(item->on);
  EXPECT_TRUE(item->getSelectedImage()->isVisible());
  item->unselected();
  EXPECT_TRUE(item->getSelectedImage()->isVisible());
  mvtest::mouseAt(kBegan, 120, 110);
  mvtest::mouseAt(kEnded, 120, 110);
  EXPECT_FALSE(item->on);
  EXPECT_TRUE(item->getNormalImage()->isVisible());
  EXPECT_EQ(2, counter->presses);
}

TEST_F(MenuTest, ColourItemShowsItsColoursAndTogglesLikeAnImageItem) {
  CCMenuItemColor* colour = CCMenuItemColor::create();
  ASSERT_NE(nullptr, colour);
  colour->setTarget(counter, menu_selector(Counter::onPress));
  colour->setNormalColor(ccc4(255, 0, 0, 128));
  colour->setSelectedColor(ccc4(0, 255, 0, 255));
  colour->setContentSize(CCSize(200, 40));
  colour->setPosition(CCPoint(300, 200));
  menu->addChild(colour);
  EXPECT_EQ(200.f, colour->getColorLayer()->getContentSize().width);
  EXPECT_EQ(255, colour->getColorLayer()->getColor().r);
  EXPECT_EQ(128, colour->getColorLayer()->getOpacity());
  mvtest::touchAt(kBegan, 310, 205);
  EXPECT_EQ(255, colour->getColorLayer()->getColor().g);
  mvtest::touchAt(kEnded, 310, 205);
  EXPECT_EQ(1, counter->presses);
  EXPECT_EQ(colour, counter->last);
  EXPECT_EQ(255, colour->getColorLayer()->getColor().r);
  colour->toggle = true;
  colour->activate();
  EXPECT_TRUE(colour->on);
  EXPECT_EQ(255, colour->getColorLayer()->getColor().g);
}

}  // namespace
