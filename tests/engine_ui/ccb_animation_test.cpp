#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CCActionManager.h"
#include "cocos-ext.h"  // the whole extension set compiles together
#include "CCBAnimationManager.h"
#include "CCBReader.h"
#include "CCDirector.h"
#include "CCLayerColor.h"
#include "CCNodeLoaderLibrary.h"
#include "CCScene.h"
#include "ccb_test_util.h"
#include "test_util.h"

using namespace cocos2d;
using namespace cocos2d::extension;

namespace {

class Owner : public CCObject, public CCBMemberVariableAssigner, public CCBAnimationManagerDelegate {
 public:
  bool onAssignCCBMemberVariable(CCObject*, CCString* name, CCNode* node) override {
    if (name->compare("fader") == 0) fader = dynamic_cast<CCLayerColor*>(node);
    if (name->compare("mover") == 0) mover = node;
    return true;
  }
  void completedAnimationSequenceNamed(const char* name) override { completed.push_back(name); }
  CCLayerColor* fader = nullptr;
  CCNode* mover = nullptr;
  std::vector<std::string> completed;
};

const char* kScreen =
    "sequence \"Intro\" id 0 duration 1 chained 1 autoplay\n"
    "sequence \"Loop\" id 1 duration 0.5 chained -1\n"
    "CCLayer {\n"
    "  CCLayerColor as owner fader {\n"
    "    opacity 0\n"
    "    animate 0 opacity {\n      at 0 linear 0\n      at 1 linear 200\n    }\n"
    "    animate 1 opacity {\n      at 0 instant 10\n      at 0.5 linear 20\n    }\n"
    "  }\n"
    "  CCNode as owner mover {\n"
    "    position 30 40 0 0\n"
    "    animate 1 position {\n      at 0 linear 0 0\n      at 0.5 linear 100 50\n    }\n"
    "  }\n"
    "}\n";

class CCBAnimationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!mvtest::ensureWindow()) GTEST_SKIP() << "no display";
    ASSERT_TRUE(dir.write("anim.ccbi", mvtest::asString(mvtest::compileScreen(kScreen))));
    library = CCNodeLoaderLibrary::newDefaultCCNodeLoaderLibrary();
    CCBReader* reader = new CCBReader(library);
    owner = new Owner();
    root = reader->readNodeGraphFromFile(dir.file("anim.ccbi").c_str(), owner, CCSize(480, 320));
    reader->release();
    ASSERT_NE(nullptr, root);
    manager = dynamic_cast<CCBAnimationManager*>(root->getUserObject());
    ASSERT_NE(nullptr, manager);
    manager->setDelegate(owner);
    scene = CCScene::create();
    scene->retain();
    scene->addChild(root);
    scene->onEnter();
  }
  void TearDown() override {
    if (scene) {
      scene->onExit();
      scene->release();
    }
    if (owner) owner->release();
  }
  void step(float dt) { CCDirector::sharedDirector()->getActionManager()->update(dt); }

  mvtest::TempDir dir;
  CCNodeLoaderLibrary* library = nullptr;
  Owner* owner = nullptr;
  CCNode* root = nullptr;
  CCBAnimationManager* manager = nullptr;
  CCScene* scene = nullptr;
};

TEST_F(CCBAnimationTest, AutoPlaySequenceRunsAndChainsIntoTheNext) {
  ASSERT_NE(nullptr, owner->fader);
  EXPECT_STREQ("Intro", manager->getRunningSequenceName());
  step(0);
  step(0.5f);
  EXPECT_NEAR(100, owner->fader->getOpacity(), 3);
  // Not animated in Intro: the mover stands at its timeline base, the stored absolute values.
  EXPECT_EQ(30.f, owner->mover->getPosition().x);
  step(0.51f);
  step(0.01f);
  EXPECT_EQ(std::vector<std::string>{"Intro"}, owner->completed);
  EXPECT_STREQ("Loop", manager->getRunningSequenceName());
  step(0);
  EXPECT_EQ(10, owner->fader->getOpacity());
  step(0.6f);
  EXPECT_EQ(20, owner->fader->getOpacity());
  EXPECT_EQ(100.f, owner->mover->getPosition().x);
  step(0.01f);
  EXPECT_EQ((std::vector<std::string>{"Intro", "Loop"}), owner->completed);
  EXPECT_EQ(-1, manager->getRunningSequenceId());
}

TEST_F(CCBAnimationTest, SequencesRunByNameOrIdAndUnknownOnesAreLogged) {
  manager->runAnimationsForSequenceNamed("Loop");
  EXPECT_EQ(1, manager->getRunningSequenceId());
  step(0);
  step(0.6f);
  EXPECT_EQ(100.f, owner->mover->getPosition().x);
  // Back to Intro: the mover, not animated there, returns to its stored position.
  manager->runAnimationsForSequenceIdTweenDuration(0, 0);
  EXPECT_EQ(30.f, owner->mover->getPosition().x);
  EXPECT_FLOAT_EQ(0.5f, manager->getSequenceDuration("Loop"));
  mvtest::LogCapture log;
  manager->runAnimationsForSequenceNamed("Nope");
  manager->runAnimationsForSequenceIdTweenDuration(7, 0);
  EXPECT_TRUE(log.contains("no animation sequence named 'Nope'"));
  EXPECT_TRUE(log.contains("no animation sequence with id 7"));
  EXPECT_EQ(0, manager->getRunningSequenceId());
}

}  // namespace
