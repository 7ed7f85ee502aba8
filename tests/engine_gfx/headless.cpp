// Sprites, batches and layers made and visited in a process that never opened a
// window: they keep their sizes and draw nothing, without touching OpenGL.
#include <gtest/gtest.h>

#include <cstring>

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

#include "CCTextureAtlas.h"

namespace {

TEST(HeadlessTest, AtlasQuadsAreWrittenBelowTheCapacityAndInsertedInOrder) {
  CCTextureAtlas* atlas = new CCTextureAtlas();
  atlas->initWithTexture(nullptr, 4);
  ccV3F_C4B_T2F_Quad q;
  std::memset(&q, 0, sizeof(q));
  q.tl.vertices.x = 3;
  atlas->updateQuad(&q, 3);  // quads 0 to 2 stay empty
  EXPECT_EQ(atlas->getTotalQuads(), 4u);
  atlas->updateQuad(&q, 9);  // beyond the capacity and the end: refused
  EXPECT_EQ(atlas->getTotalQuads(), 4u);
  q.tl.vertices.x = 7;
  atlas->insertQuad(&q, 0);  // grows past the capacity
  EXPECT_EQ(atlas->getTotalQuads(), 5u);
  EXPECT_EQ(atlas->getQuads()[0].tl.vertices.x, 7);
  EXPECT_EQ(atlas->getQuads()[4].tl.vertices.x, 3);
  atlas->insertQuadFromIndex(0, 4);
  EXPECT_EQ(atlas->getQuads()[4].tl.vertices.x, 7);
  atlas->removeQuadsAtIndex(1, 10);
  EXPECT_EQ(atlas->getTotalQuads(), 1u);
  atlas->release();
}

}  // namespace
