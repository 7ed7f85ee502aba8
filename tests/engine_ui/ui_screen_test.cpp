#include <gtest/gtest.h>

#include "CCActionManager.h"
#include "CCBMemberVariableAssigner.h"
#include "CCDirector.h"
#include "CCFileUtils.h"
#include "CCLayerColor.h"
#include "CCNodeLoaderLibrary.h"
#include "LoadNode.h"
#include "RotatableScene.h"
#include "ccb_test_util.h"
#include "test_util.h"

using namespace cocos2d;

namespace {

class Owner : public CCObject, public extension::CCBMemberVariableAssigner {
 public:
  bool onAssignCCBMemberVariable(CCObject* target, CCString* name, CCNode* node) override {
    if (target == this && name->compare("badge") == 0) badge = node;
    return true;
  }
  CCNode* badge = nullptr;
};

class ScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!mvtest::ensureWindow(480, 320)) GTEST_SKIP() << "no display";
    CCFileUtils* fu = CCFileUtils::sharedFileUtils();
    oldRoot = fu->getResourceDirectory();
    fu->setResourceDirectory(dir.path());
  }
  void TearDown() override {
    if (!oldRoot.empty()) CCFileUtils::sharedFileUtils()->setResourceDirectory(oldRoot);
  }
  mvtest::TempDir dir;
  std::string oldRoot;
};

// A red screen with a 60 x 40 green badge whose absolute position is doubled at full scale.
const char* kScreen =
    "CCLayerColor {\n"
    "  contentSize 0 0 100 100\n"
    "  color 255 0 0\n"
    "  opacity 255\n"
    "  CCLayerColor as owner badge {\n"
    "    position 100 50 50 0\n"
    "    contentSize 120 80 0 0\n"
    "    color 0 255 0\n"
    "    opacity 255\n"
    "  }\n"
    "}\n";

TEST_F(ScreenTest, CompiledScreenIsLoadedForItsOwnerAndDrawnWhereItsLayoutSays) {
  ASSERT_TRUE(dir.write("ccbi/screens/test.ccbi", mvtest::asString(mvtest::compileScreen(kScreen))));
  Owner* owner = new Owner();
  CCNode* root = mv::loadNode("ccbi/screens/test.ccbi", owner, false, false);
  ASSERT_NE(nullptr, root);
  ASSERT_NE(nullptr, owner->badge);
  // Half scale: the badge is 60 x 40 at (240 + 50, 0 + 25).
  EXPECT_EQ(290.f, owner->badge->getPosition().x);
  EXPECT_EQ(60.f, owner->badge->getContentSize().width);

  mvtest::drawForReadback(root);
  unsigned char px[3];
  mvtest::readPixel(10, 300, px);
  EXPECT_EQ(255, px[0]);
  EXPECT_EQ(0, px[1]);
  mvtest::readPixel(290 + 30, 25 + 20, px);  // inside the badge
  EXPECT_EQ(0, px[0]);
  EXPECT_EQ(255, px[1]);
  mvtest::readPixel(290 - 5, 25 + 20, px);  // just left of it
  EXPECT_EQ(255, px[0]);

  CCNode* full = mv::loadNode("ccbi/screens/test.ccbi", owner, true, false);
  ASSERT_NE(nullptr, full);
  EXPECT_EQ(340.f, owner->badge->getPosition().x);
  EXPECT_EQ(120.f, owner->badge->getContentSize().width);
  CCNode* doubled = mv::loadNode("ccbi/screens/test.ccbi", owner, false, true);
  ASSERT_NE(nullptr, doubled);
  EXPECT_EQ(960.f, doubled->getContentSize().width);  // root container of twice the window
  EXPECT_EQ(530.f, owner->badge->getPosition().x);
  owner->release();
}

TEST_F(ScreenTest, MissingScreenGivesNullAndACriticalLineAndTheLibraryIsShared) {
  extension::CCNodeLoaderLibrary* library = mv::sharedNodeLoaderLibrary();
  mvtest::LogCapture log;
  EXPECT_EQ(nullptr, mv::loadNode("ccbi/screens/none.ccbi", nullptr, false, false));
  EXPECT_TRUE(log.contains("couldn't load node"));
  EXPECT_TRUE(log.contains("critical"));
  EXPECT_EQ(library, mv::sharedNodeLoaderLibrary());
}

TEST_F(ScreenTest, CoverHidesTheSceneAtAnyWindowSizeAndFadesOutOnRelayout) {
  for (CCSize window : {CCSize(480, 320), CCSize(2560, 1600)}) {
    ASSERT_TRUE(mvtest::ensureWindow(window.width, window.height));
    mv::RotatableScene* scene = mv::RotatableScene::create();
    scene->retain();
    CCLayerColor* content = CCLayerColor::create(ccc4(0, 0, 255, 255));
    scene->addChild(content);
    scene->onEnter();  // actions run on running nodes only
    CCLayerColor* cover = scene->getCover();
    ASSERT_NE(nullptr, cover);
    EXPECT_EQ(0, cover->getOpacity());
    EXPECT_EQ(mv::RotatableScene::kCoverZOrder, cover->getZOrder());
    scene->relayout();
    EXPECT_EQ(0u, cover->numberOfRunningActions());  // nothing to fade

    scene->coverScreen();
    EXPECT_EQ(255, cover->getOpacity());
    EXPECT_GE(cover->getContentSize().width, window.width);
    EXPECT_GE(cover->getContentSize().height, window.height);
    if (window.width <= 480) {
      mvtest::drawForReadback(scene);
      unsigned char px[3];
      mvtest::readPixel(470, 310, px);
      EXPECT_EQ(0, px[2]);  // the blue content is hidden
    }
    scene->relayout();
    EXPECT_EQ(1u, cover->numberOfRunningActions());
    CCActionManager* actions = CCDirector::sharedDirector()->getActionManager();
    actions->update(0.f);  // an action starts on its first tick
    actions->update(0.25f);
    EXPECT_EQ(0, cover->getOpacity());
    scene->onExit();
    scene->release();
  }
  mvtest::ensureWindow(480, 320);
}

}  // namespace
