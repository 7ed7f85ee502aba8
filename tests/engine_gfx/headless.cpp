// Sprites, batches and layers made and visited in a process that never opened a
// window: they keep their sizes and draw nothing, without touching OpenGL.
#include <gtest/gtest.h>

#include "CCDirector.h"
#include "CCLayerColor.h"
#include "CCScene.h"
#include "CCSprite.h"
#include "CCSpriteBatchNode.h"
#include "CCTexture2D.h"
#include "CCTextureCache.h"
#include "ccGLStateCache.h"
#include "gfx_test_util.h"

using namespace cocos2d;

namespace {

TEST(HeadlessTest, NodesAreMadeAndVisitedWithoutOpenGL) {
  ASSERT_FALSE(ccGLAvailable());
  std::string dir = gfxtest::makeTempDir("headless");
  ASSERT_TRUE(gfxtest::writePng(dir + "a.png", gfxtest::makePicture(12, 10)));
  CCSprite* sprite = CCSprite::create((dir + "a.png").c_str());
  ASSERT_NE(sprite, nullptr);
  EXPECT_EQ(sprite->getContentSize().width, 12);
  EXPECT_EQ(sprite->getContentSize().height, 10);
  EXPECT_EQ(sprite->getTexture()->getName(), 0u);
  CCSpriteBatchNode* batch = CCSpriteBatchNode::createWithTexture(sprite->getTexture());
  batch->addChild(CCSprite::createWithTexture(sprite->getTexture()));
  CCScene* scene = CCScene::create();
  scene->addChild(sprite);
  scene->addChild(batch);
  scene->addChild(CCLayerColor::create(ccc4(1, 2, 3, 4), 5, 6));
  CCDirector::sharedDirector();  // puts the engine's matrix stack behind node visits
  scene->visit();
  EXPECT_EQ(batch->getQuadCount(), 1u);
}

}  // namespace
