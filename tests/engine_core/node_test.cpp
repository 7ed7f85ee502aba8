#include <string>
#include <vector>

#include "CCActionInterval.h"
#include "CCLayer.h"
#include "CCNode.h"
#include "CCNodeCount.h"
#include "CCPointExtension.h"
#include "CCScene.h"
#include "engine_fixture.h"

using namespace cocos2d;

namespace {

// Records its life-cycle calls into a shared log.
class LogNode : public CCNode {
 public:
  LogNode(std::string name, std::vector<std::string>* log) : name_(std::move(name)), log_(log) {}
  static LogNode* make(const std::string& name, std::vector<std::string>* log) {
    LogNode* n = new LogNode(name, log);
    n->autorelease();
    return n;
  }
  void onEnter() override {
    log_->push_back("enter " + name_);
    CCNode::onEnter();
  }
  void onExit() override {
    log_->push_back("exit " + name_);
    CCNode::onExit();
  }
  void onEnterTransitionDidFinish() override {
    log_->push_back("finish " + name_);
    CCNode::onEnterTransitionDidFinish();
  }
  void cleanup() override {
    log_->push_back("cleanup " + name_);
    CCNode::cleanup();
  }
  void draw() override { log_->push_back("draw " + name_); }
  const std::string& name() const { return name_; }

 private:
  std::string name_;
  std::vector<std::string>* log_;
};

using NodeTest = EngineTest;

std::string childOrder(CCNode* parent) {
  parent->sortAllChildren();
  std::string s;
  CCObject* o = nullptr;
  CCARRAY_FOREACH(parent->getChildren(), o) { s += static_cast<LogNode*>(o)->name(); }
  return s;
}

TEST_F(NodeTest, ChildrenSortByZOrderThenArrivalAndReorderMovesToTheEndOfItsLevel) {
  std::vector<std::string> log;
  CCNode* root = CCNode::create();
  root->addChild(LogNode::make("a", &log), 1);
  root->addChild(LogNode::make("b", &log), 0);
  root->addChild(LogNode::make("c", &log), 1);
  root->addChild(LogNode::make("d", &log), -1);
  EXPECT_EQ("dbac", childOrder(root));
  // Reordering to the same z counts as a new arrival.
  root->reorderChild(static_cast<CCNode*>(root->getChildren()->objectAtIndex(2)), 1);
  EXPECT_EQ("dbca", childOrder(root));
  root->getChildren()->objectAtIndex(0);
  static_cast<CCNode*>(root->getChildren()->objectAtIndex(0))->setZOrder(5);
  EXPECT_EQ("bcad", childOrder(root));
}

TEST_F(NodeTest, VisitDrawsNegativeChildrenThenSelfThenTheRest) {
  std::vector<std::string> log;
  LogNode* root = LogNode::make("root", &log);
  root->addChild(LogNode::make("front", &log), 2);
  root->addChild(LogNode::make("back", &log), -2);
  LogNode* hidden = LogNode::make("hidden", &log);
  hidden->addChild(LogNode::make("inner", &log));
  hidden->setVisible(false);
  root->addChild(hidden, 1);
  root->visit();
  EXPECT_EQ((std::vector<std::string>{"draw back", "draw root", "draw front"}), log);
}

TEST_F(NodeTest, EnterAndExitFollowTheRunningTree) {
  std::vector<std::string> log;
  LogNode* scene = LogNode::make("scene", &log);
  LogNode* child = LogNode::make("child", &log);
  scene->addChild(child);
  scene->onEnter();
  scene->onEnterTransitionDidFinish();
  EXPECT_TRUE(child->isRunning());
  // A child added to a running parent enters at once.
  LogNode* late = LogNode::make("late", &log);
  scene->addChild(late);
  EXPECT_TRUE(late->isRunning());
  log.clear();
  scene->removeChild(late, true);
  EXPECT_EQ((std::vector<std::string>{"exit late", "cleanup late"}), log);
  EXPECT_EQ(nullptr, late->getParent());
  log.clear();
  scene->onExit();
  EXPECT_EQ((std::vector<std::string>{"exit scene", "exit child"}), log);
  EXPECT_FALSE(child->isRunning());
  scene->cleanup();
}

TEST_F(NodeTest, VisibleInHierarchyNeedsEveryAncestorVisible) {
  CCNode* a = CCNode::create();
  CCNode* b = CCNode::create();
  CCNode* c = CCNode::create();
  a->addChild(b);
  b->addChild(c);
  EXPECT_TRUE(c->isVisibleInHierarchy());
  a->setVisible(false);
  EXPECT_TRUE(c->isVisible());
  EXPECT_FALSE(c->isVisibleInHierarchy());
  a->setVisible(true);
  c->setVisible(false);
  EXPECT_FALSE(c->isVisibleInHierarchy());
  EXPECT_TRUE(b->isVisibleInHierarchy());
}

TEST_F(NodeTest, TransformsPlaceChildPointsInWorldSpaceAndBack) {
  CCNode* parent = CCNode::create();
  parent->setPosition(ccp(100, 50));
  parent->setScale(2);
  CCNode* child = CCNode::create();
  child->setContentSize(CCSizeMake(10, 20));
  child->setAnchorPoint(ccp(0.5f, 0.5f));
  child->setPosition(ccp(10, 10));
  child->setRotation(90);  // clockwise
  parent->addChild(child);

  // The child's origin corner: anchor (5,10) relative, rotated clockwise, scaled by the parent.
  CCPoint world = child->convertToWorldSpace(ccp(0, 0));
  EXPECT_NEAR(100 + 2 * (10 - 10), world.x, 1e-3);
  EXPECT_NEAR(50 + 2 * (10 + 5), world.y, 1e-3);
  CCPoint back = child->convertToNodeSpace(world);
  EXPECT_NEAR(0, back.x, 1e-3);
  EXPECT_NEAR(0, back.y, 1e-3);
  CCPoint ar = child->convertToNodeSpaceAR(child->convertToWorldSpace(ccp(5, 10)));
  EXPECT_NEAR(0, ar.x, 1e-3);
  EXPECT_NEAR(0, ar.y, 1e-3);

  CCRect box = child->boundingBox();
  EXPECT_NEAR(0, box.origin.x, 1e-3);
  EXPECT_NEAR(5, box.origin.y, 1e-3);
  EXPECT_NEAR(20, box.size.width, 1e-3);
  EXPECT_NEAR(10, box.size.height, 1e-3);
}

TEST_F(NodeTest, IgnoringTheAnchorPlacesTheOriginAtThePosition) {
  CCLayer* layer = CCLayer::create();
  layer->setContentSize(CCSizeMake(100, 100));
  layer->setPosition(ccp(7, 9));
  CCPoint p = layer->convertToWorldSpace(ccp(0, 0));
  EXPECT_NEAR(7, p.x, 1e-4);
  EXPECT_NEAR(9, p.y, 1e-4);
}

TEST_F(NodeTest, RemovingWithCleanupStopsActionsAndSelectorsWithoutCleanupKeepsThem) {
  std::vector<std::string> log;
  CCNode* root = CCNode::create();
  root->onEnter();
  for (bool cleanup : {true, false}) {
    LogNode* child = LogNode::make("child", &log);
    root->addChild(child, 0, 42);
    EXPECT_EQ(child, root->getChildByTag(42));
    child->runAction(CCActionInterval::create(5));
    child->scheduleUpdate();
    root->removeChildByTag(42, cleanup);
    EXPECT_EQ(nullptr, root->getChildByTag(42));
    EXPECT_EQ(cleanup ? 0u : 1u, child->numberOfRunningActions());
    EXPECT_EQ(!cleanup, CCScheduler::sharedScheduler()->isUpdateScheduled(child));
    child->cleanup();
  }
  root->onExit();
}

TEST_F(NodeTest, AddingAChildThatHasAParentIsRefused) {
  CCNode* a = CCNode::create();
  CCNode* b = CCNode::create();
  CCNode* c = CCNode::create();
  a->addChild(c);
  b->addChild(c);
  EXPECT_EQ(a, c->getParent());
  EXPECT_EQ(0u, b->getChildrenCount());
  a->addChild(nullptr);
  a->addChild(a);
  EXPECT_EQ(1u, a->getChildrenCount());
}

// Takes a sibling out of the tree when it enters or exits.
class SiblingRemover : public LogNode {
 public:
  SiblingRemover(std::vector<std::string>* log) : LogNode("remover", log) {}
  CCNode* victim = nullptr;
  void onEnter() override {
    LogNode::onEnter();
    takeVictim();
  }
  void onExit() override {
    LogNode::onExit();
    takeVictim();
  }

 private:
  void takeVictim() {
    if (victim) getParent()->removeChild(victim, true);
    victim = nullptr;
  }
};

TEST_F(NodeTest, ASiblingRemovedDuringTheWalkStillGetsTheCallAndGoesWhenTheWalkEnds) {
  for (bool entering : {true, false}) {
    SCOPED_TRACE(entering ? "enter" : "exit");
    std::vector<std::string> log;
    CCNode* parent = new CCNode();
    SiblingRemover* remover = new SiblingRemover(&log);
    LogNode* victim = new LogNode("victim", &log);
    LogNode* last = new LogNode("last", &log);
    for (CCNode* child : {static_cast<CCNode*>(remover), static_cast<CCNode*>(victim),
                          static_cast<CCNode*>(last)}) {
      parent->addChild(child);
      child->release();  // the parent holds the only reference
    }
    if (!entering) parent->onEnter();
    remover->victim = victim;
    log.clear();
    const unsigned int before = liveNodeCount();
    if (entering)
      parent->onEnter();
    else
      parent->onExit();
    // Every child of the list as the walk began had the call, the removed one too, and
    // that one was freed with the walk's copy rather than left to the frame's pool.
    const std::string verb = entering ? "enter " : "exit ";
    EXPECT_EQ((std::vector<std::string>{verb + "remover", "cleanup victim", verb + "victim",
                                        verb + "last"}),
              log);
    EXPECT_EQ(before - 1, liveNodeCount());
    EXPECT_EQ(2u, parent->getChildrenCount());
    if (entering) parent->onExit();
    parent->release();
  }
}

TEST_F(NodeTest, TheLiveCountFollowsNodesOfEveryKindFromMakingToDestruction) {
  const unsigned int before = liveNodeCount();
  CCNode* tree = new CCNode();
  CCNode* layer = new CCLayer();
  CCNode* scene = new CCScene();
  tree->addChild(layer);
  tree->addChild(scene);
  layer->release();
  scene->release();
  EXPECT_EQ(before + 3, liveNodeCount());
  // A child someone else keeps outlives its parent.
  layer->retain();
  tree->release();
  EXPECT_EQ(before + 1, liveNodeCount());
  layer->release();
  EXPECT_EQ(before, liveNodeCount());
}

}  // namespace
