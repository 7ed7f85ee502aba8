#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CCDictionary.h"
#include "CCParticleSettings.h"
#include "CCPlistParser.h"
#include "test_util.h"

using namespace cocos2d;

namespace {

using mvtest::base64;
using mvtest::gzip;

std::string plist(const std::string& entries) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" + entries +
         "</dict></plist>";
}

std::string real(const char* key, const char* value) {
  return std::string("<key>") + key + "</key><real>" + value + "</real>";
}

CCDictionary* dict(const std::string& text) {
  CCDictionary* d = CCPlistParser::dictionaryWithData(text.data(), text.size(), "test.plist");
  if (d) d->autorelease();  // the parser hands over its reference
  return d;
}

TEST(ParticleSettingsTest, GravityDefinitionIsReadWithColoursAndEmissionRate) {
  std::string text = plist(
      real("maxParticles", "50") + real("particleLifespan", "2") + real("duration", "-1") +
      real("angle", "90") + real("angleVariance", "10") + real("speed", "30") +
      real("gravityy", "-20") + real("startColorRed", "1") + real("startColorAlpha", "0.8") +
      real("finishColorAlpha", "0.25") + real("startParticleSize", "8") +
      real("sourcePositionVariancex", "4") + "<key>blendFuncSource</key><integer>770</integer>" +
      "<key>blendFuncDestination</key><integer>1</integer>" +
      "<key>textureFileName</key><string>spark.png</string>");
  ccParticleSettings s;
  ASSERT_TRUE(ccParticleSettingsFromDictionary(dict(text), "fire", s));
  EXPECT_EQ(50u, s.maxParticles);
  EXPECT_FLOAT_EQ(25.f, s.emissionRate);
  EXPECT_FLOAT_EQ(-1.f, s.duration);
  EXPECT_FLOAT_EQ(-20.f, s.gravity.y);
  EXPECT_FLOAT_EQ(0.8f, s.startColor.a);
  EXPECT_FLOAT_EQ(0.25f, s.endColor.a);
  EXPECT_FLOAT_EQ(4.f, s.posVar.x);
  EXPECT_EQ(770u, s.blendFunc.src);
  EXPECT_EQ(1u, s.blendFunc.dst);
  EXPECT_EQ("spark.png", s.textureFileName);
  EXPECT_EQ(kCCParticleModeGravity, s.emitterMode);
}

TEST(ParticleSettingsTest, UnusableDefinitionsAreRefusedWithALogLine) {
  const std::string bad[] = {
      plist(real("particleLifespan", "1")),                                 // no count
      plist(real("maxParticles", "0")),                                     // nothing to emit
      plist(real("maxParticles", "1e9")),                                   // absurd count
      plist(real("maxParticles", "5") + real("emitterType", "7")),          // unknown mode
      plist(real("maxParticles", "5") + real("emitterType", "1e30")),       // beyond int
      plist(real("maxParticles", "5") + real("emitterType", "-1e30")),
  };
  mvtest::LogCapture log;
  for (const auto& text : bad) {
    ccParticleSettings s;
    EXPECT_FALSE(ccParticleSettingsFromDictionary(dict(text), "bad", s)) << text;
  }
  ccParticleSettings s;
  EXPECT_FALSE(ccParticleSettingsFromDictionary(nullptr, "none", s));
  EXPECT_GE(log.count("particles"), 7);
}

TEST(ParticleSettingsTest, EmbeddedImagesDecodeFromGzipOrPlainBase64AndJunkIsRefused) {
  std::string image(3000, '\0');
  for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<char>(i * 7);
  std::vector<unsigned char> out;
  std::string wrapped = base64(gzip(image));
  wrapped.insert(40, "\n  ");  // as a plist editor wraps it
  ASSERT_TRUE(ccParticleDecodeImageData(wrapped, out));
  EXPECT_EQ(image, std::string(out.begin(), out.end()));
  ASSERT_TRUE(ccParticleDecodeImageData(base64("\x89PNG plain"), out));
  EXPECT_EQ("\x89PNG plain", std::string(out.begin(), out.end()));

  mvtest::LogCapture log;
  std::string truncated = base64(gzip(image).substr(0, 30));
  EXPECT_FALSE(ccParticleDecodeImageData(truncated, out));
  EXPECT_FALSE(ccParticleDecodeImageData("", out));
  EXPECT_FALSE(ccParticleDecodeImageData("!!!!", out));
}

}  // namespace
