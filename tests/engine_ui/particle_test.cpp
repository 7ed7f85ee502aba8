#include <gtest/gtest.h>

#include "CCLayer.h"
#include "CCParticleSystemQuad.h"
#include "CCTexture2D.h"
#include "CCTextureCache.h"
#include "test_util.h"

using namespace cocos2d;

namespace {

std::string definition(const std::string& extra) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
         "<key>maxParticles</key><real>20</real>"
         "<key>particleLifespan</key><real>1</real>"
         "<key>duration</key><real>-1</real>"
         "<key>startColorRed</key><real>1</real>"
         "<key>startColorAlpha</key><real>1</real>"
         "<key>finishColorAlpha</key><real>0.5</real>"
         "<key>startParticleSize</key><real>8</real>" +
         extra + "</dict></plist>";
}

class ParticleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!mvtest::ensureWindow()) GTEST_SKIP() << "no display";
    mvtest::writeSolidPng(dir.file("spark.png"), 8, 8, 255, 255, 255);
  }
  mvtest::TempDir dir;
};

TEST_F(ParticleTest, LayerOpacityScalesTheLoadedAlphasWithoutCompounding) {
  dir.write("fire.plist",
            definition("<key>textureFileName</key><string>spark.png</string>"));
  CCParticleSystemQuad* fire = CCParticleSystemQuad::create(dir.file("fire.plist").c_str());
  ASSERT_NE(nullptr, fire);
  ASSERT_NE(nullptr, fire->getTexture());
  CCLayer* layer = CCLayer::create();
  layer->addChild(fire);
  layer->setOpacity(128);
  EXPECT_NEAR(0.502f, fire->getStartColor().a, 0.001f);
  EXPECT_NEAR(0.251f, fire->getEndColor().a, 0.001f);
  layer->setOpacity(128);
  EXPECT_NEAR(0.502f, fire->getStartColor().a, 0.001f);
  layer->setOpacity(255);
  EXPECT_FLOAT_EQ(1.0f, fire->getStartColor().a);
  EXPECT_FLOAT_EQ(0.5f, fire->getEndColor().a);
}

TEST_F(ParticleTest, SystemsSetUpPropertyByPropertyKeepTheirOpacityUnderAFadingLayer) {
  // What a screen file does: colours set one by one after creation.
  CCParticleSystemQuad* smoke = CCParticleSystemQuad::create();
  ASSERT_NE(nullptr, smoke);
  smoke->setStartColor(ccc4f(0.5f, 0.5f, 0.5f, 0.8f));
  smoke->setEndColor(ccc4f(0.5f, 0.5f, 0.5f, 0.4f));
  CCLayer* layer = CCLayer::create();
  layer->addChild(smoke);
  layer->setOpacity(255);
  EXPECT_FLOAT_EQ(0.8f, smoke->getStartColor().a);
  EXPECT_FLOAT_EQ(0.4f, smoke->getEndColor().a);
  layer->setOpacity(0);
  EXPECT_FLOAT_EQ(0.f, smoke->getStartColor().a);
  layer->setOpacity(255);
  EXPECT_FLOAT_EQ(0.8f, smoke->getStartColor().a);
}

TEST_F(ParticleTest, EmbeddedImageServesWhenTheTextureFileIsMissing) {
  std::string png = mvtest::readFile(dir.file("spark.png"));
  ASSERT_FALSE(png.empty());
  dir.write("embedded.plist",
            definition("<key>textureFileName</key><string>gone.png</string>"
                       "<key>textureImageData</key><string>" +
                       mvtest::base64(mvtest::gzip(png)) + "</string>"));
  CCParticleSystemQuad* p = CCParticleSystemQuad::create(dir.file("embedded.plist").c_str());
  ASSERT_NE(nullptr, p);
  ASSERT_NE(nullptr, p->getTexture());
  EXPECT_EQ(8.f, p->getTexture()->getContentSize().width);

  mvtest::LogCapture log;
  dir.write("junk.plist", definition("<key>textureFileName</key><string>gone2.png</string>"
                                     "<key>textureImageData</key><string>H4sIAAAA</string>"));
  CCParticleSystemQuad* junk = CCParticleSystemQuad::create(dir.file("junk.plist").c_str());
  ASSERT_NE(nullptr, junk);  // still an emitter, without a texture
  EXPECT_EQ(nullptr, junk->getTexture());
  EXPECT_TRUE(log.contains("cannot be read"));
  EXPECT_EQ(nullptr, CCParticleSystemQuad::create(dir.file("absent.plist").c_str()));
  dir.write("broken.plist", definition("").substr(0, 120));
  EXPECT_EQ(nullptr, CCParticleSystemQuad::create(dir.file("broken.plist").c_str()));
  EXPECT_TRUE(log.contains("particles: cannot read"));
}

TEST_F(ParticleTest, ParticlesAreEmittedUpToTheLimitAndDieAfterTheirLife) {
  dir.write("fire.plist", definition("<key>textureFileName</key><string>spark.png</string>"));
  CCParticleSystemQuad* fire = CCParticleSystemQuad::create(dir.file("fire.plist").c_str());
  ASSERT_NE(nullptr, fire);
  EXPECT_FLOAT_EQ(20.f, fire->getEmissionRate());
  fire->update(0.26f);
  EXPECT_EQ(5u, fire->getParticleCount());
  for (int i = 0; i < 10; ++i) fire->update(0.1f);
  EXPECT_LE(fire->getParticleCount(), 20u);
  EXPECT_GT(fire->getParticleCount(), 10u);
  fire->stopSystem();
  for (int i = 0; i < 12; ++i) fire->update(0.1f);
  EXPECT_EQ(0u, fire->getParticleCount());
  mvtest::drawForReadback(fire);  // drawing an empty system is harmless
}

TEST_F(ParticleTest, AFiniteSystemSetToRemoveItselfLeavesItsParentWhenDone) {
  // One whose particles die after it ended, and one stopped before it emitted any.
  dir.write("burst.plist", definition("<key>textureFileName</key><string>spark.png</string>"
                                      "<key>duration</key><real>0.3</real>"));
  for (bool stoppedAtOnce : {false, true}) {
    CCParticleSystemQuad* burst = CCParticleSystemQuad::create(dir.file("burst.plist").c_str());
    ASSERT_NE(nullptr, burst);
    CCLayer* parent = CCLayer::create();
    parent->addChild(burst);
    burst->setAutoRemoveOnFinish(true);
    burst->retain();
    if (stoppedAtOnce) burst->stopSystem();
    for (int i = 0; i < 30 && burst->getParent(); ++i) burst->update(0.1f);
    EXPECT_EQ(nullptr, burst->getParent()) << stoppedAtOnce;
    EXPECT_EQ(0u, parent->getChildrenCount());
    burst->release();
  }
}

}  // namespace

namespace {

TEST_F(ParticleTest, ParticlesAreDrawnAtTheEmitter) {
  dir.write("dot.plist", definition("<key>textureFileName</key><string>spark.png</string>"
                                    "<key>startColorGreen</key><real>1</real>"
                                    "<key>startColorBlue</key><real>1</real>"
                                    "<key>blendFuncSource</key><integer>770</integer>"
                                    "<key>blendFuncDestination</key><integer>771</integer>"));
  CCParticleSystemQuad* dot = CCParticleSystemQuad::create(dir.file("dot.plist").c_str());
  ASSERT_NE(nullptr, dot);
  dot->setPosition(CCPoint(200, 200));
  dot->update(0.2f);
  ASSERT_GT(dot->getParticleCount(), 0u);
  mvtest::drawForReadback(dot);
  unsigned char px[3];
  mvtest::readPixel(200, 200, px);
  EXPECT_GT(px[0], 200);
  mvtest::readPixel(220, 200, px);  // 8-pixel particles do not reach this far
  EXPECT_EQ(0, px[0]);
}

}  // namespace
