#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "CCBBinary.h"
#include "CCBClassTable.h"

using namespace cocos2d::extension;

namespace {

CCBProperty prop(int type, const char* name, CCBValue v) {
  CCBProperty p;
  p.type = type;
  p.name = name;
  p.value = std::move(v);
  return p;
}

CCBValue floats(std::vector<float> f) {
  CCBValue v;
  v.floats = std::move(f);
  return v;
}
CCBValue ints(std::vector<int> i) {
  CCBValue v;
  v.ints = std::move(i);
  return v;
}

CCBDocument sampleDocument() {
  CCBDocument doc;
  doc.sequences.push_back({2.5f, "Default Timeline", 0, -1});
  doc.sequences.push_back({1.f, "Blink", 1, 0});
  doc.autoPlaySequenceId = 0;
  doc.root.className = "CCLayer";
  doc.root.properties.push_back(prop(kCCBPropTypeSize, "contentSize", floats({0, 0, 100, 100})));
  CCBNodeDesc label;
  label.className = "CCLabelBMFont";
  label.memberVarAssignmentType = kCCBTargetTypeOwner;
  label.memberVarAssignmentName = "title";
  label.properties.push_back(prop(kCCBPropTypePosition, "position", floats({10, -20.25f, 50, 0})));
  CCBValue text;
  text.strings = {"%MENU_TITLE"};
  label.properties.push_back(prop(kCCBPropTypeText, "string", text));
  label.properties.push_back(prop(kCCBPropTypeInteger, "tag", ints({-123456})));
  CCBNodeSequence seq;
  seq.sequenceId = 0;
  CCBSequenceProperty opacity;
  opacity.name = "opacity";
  opacity.type = kCCBPropTypeByte;
  CCBKeyframe a, b;
  a.time = 0;
  a.easing = kCCBEasingLinear;
  a.value = ints({0});
  b.time = 1.5f;
  b.easing = kCCBEasingCubicIn;
  b.easingOpt = 2.f;
  b.value = ints({255});
  opacity.keyframes = {a, b};
  seq.properties.push_back(opacity);
  label.sequences.push_back(seq);
  CCBValue caption;
  caption.strings = {"Hello"};
  label.extraProperties.push_back(prop(kCCBPropTypeString, "caption", caption));
  doc.root.children.push_back(label);
  CCBNodeDesc item;
  item.className = "CCMenuItemImage";
  CCBValue frame;
  frame.strings = {"texture", "button-ok.png"};
  item.properties.push_back(prop(kCCBPropTypeSpriteFrame, "normalSpriteFrame", frame));
  CCBValue block;
  block.strings = {"onOk"};
  block.ints = {kCCBTargetTypeOwner};
  item.properties.push_back(prop(kCCBPropTypeBlock, "block", block));
  CCBValue flip;
  flip.bools = {true, false};
  item.properties.push_back(prop(kCCBPropTypeFlip, "flip", flip));
  doc.root.children.push_back(item);
  return doc;
}

std::vector<uint8_t> encode(const CCBDocument& doc) {
  std::vector<uint8_t> bytes;
  std::string error;
  EXPECT_TRUE(ccbWriteDocument(doc, bytes, &error)) << error;
  return bytes;
}

TEST(CCBBinary, DocumentsSurviveWritingAndReading) {
  CCBDocument doc = sampleDocument();
  std::vector<uint8_t> bytes = encode(doc);
  CCBDocument back;
  std::string error;
  int version = 0;
  ASSERT_TRUE(ccbParseDocument(bytes.data(), bytes.size(), back, &error, &version)) << error;
  EXPECT_EQ(version, 3);
  EXPECT_TRUE(back == doc);
}

TEST(CCBBinary, NumbersKeepTheirValueThroughEveryEncoding) {
  const int intValues[] = {0, 1, -1, 2, -2, 63, 64, -64, 1000000, -1000000, 2147483647, -2147483647};
  const float floatValues[] = {0.f, 1.f, -1.f, 0.5f, 3.f, -250.f, 0.1f, 1e-7f, 12345.678f, -0.f};
  CCBDocument doc;
  doc.root.className = "CCNode";
  for (int v : intValues) doc.root.properties.push_back(prop(kCCBPropTypeInteger, "tag", ints({v})));
  for (float f : floatValues) doc.root.properties.push_back(prop(kCCBPropTypeDegrees, "rotation", floats({f})));
  std::vector<uint8_t> bytes = encode(doc);
  CCBDocument back;
  ASSERT_TRUE(ccbParseDocument(bytes.data(), bytes.size(), back, nullptr));
  ASSERT_EQ(back.root.properties.size(), doc.root.properties.size());
  for (size_t i = 0; i < doc.root.properties.size(); ++i) {
    EXPECT_TRUE(back.root.properties[i] == doc.root.properties[i]) << "property " << i;
    for (size_t k = 0; k < doc.root.properties[i].value.floats.size(); ++k)  // -0 stays -0
      EXPECT_EQ(std::signbit(doc.root.properties[i].value.floats[k]),
                std::signbit(back.root.properties[i].value.floats[k])) << "property " << i;
  }
}

// The header and a one-node file laid out bit by bit: integers are Elias gamma codes, lowest
// bit of each byte first, every value starting on a fresh byte.
TEST(CCBBinary, ByteLayoutOfAMinimalFile) {
  CCBDocument doc;
  doc.root.className = "CCNode";
  const std::vector<uint8_t> want = {
      'i', 'b', 'c', 'c',
      0x04,  // version 3 -> gamma(4): 0 0 1 0 0
      0x02,  // one string -> gamma(2): 0 1 0
      0x00, 0x06, 'C', 'C', 'N', 'o', 'd', 'e',
      0x01,  // no sequences -> gamma(1)
      0x02,  // auto-play -1, signed -> 2 -> gamma(2)
      0x01,  // class name: string 0
      0x01,  // no member binding
      0x01,  // no node sequences
      0x01, 0x01,  // no properties, no extra properties
      0x01,  // no children
  };
  EXPECT_EQ(encode(doc), want);
}

TEST(CCBBinary, EveryTruncationIsRefusedCleanly) {
  std::vector<uint8_t> bytes = encode(sampleDocument());
  for (size_t n = 0; n < bytes.size(); ++n) {
    CCBDocument out;
    std::string error;
    EXPECT_FALSE(ccbParseDocument(bytes.data(), n, out, &error)) << "length " << n;
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(out.root.className.empty());
  }
}

TEST(CCBBinary, CorruptBytesNeverCrashTheReader) {
  std::vector<uint8_t> bytes = encode(sampleDocument());
  std::mt19937 rng(7);
  for (int round = 0; round < 3000; ++round) {
    std::vector<uint8_t> bad = bytes;
    int flips = 1 + static_cast<int>(rng() % 4);
    for (int i = 0; i < flips; ++i) bad[rng() % bad.size()] = static_cast<uint8_t>(rng());
    CCBDocument out;
    ccbParseDocument(bad.data(), bad.size(), out, nullptr);  // must simply return
  }
  for (int round = 0; round < 500; ++round) {
    std::vector<uint8_t> noise(rng() % 200);
    for (auto& b : noise) b = static_cast<uint8_t>(rng());
    if (noise.size() >= 4 && round % 2) std::copy_n("ibcc", 4, noise.begin());
    CCBDocument out;
    ccbParseDocument(noise.data(), noise.size(), out, nullptr);
  }
  SUCCEED();
}

TEST(CCBBinary, HeaderProblemsAreNamed) {
  std::vector<uint8_t> bytes = encode(sampleDocument());
  struct Case {
    std::vector<uint8_t> data;
    const char* fragment;
    int version;
  };
  std::vector<uint8_t> v4 = bytes;
  v4[4] = 0x14;  // gamma(5) = 0 0 1 0 1, lowest bit first -> version 4
  std::vector<uint8_t> badIndex = {'i', 'b', 'c', 'c', 0x04, 0x01, 0x01, 0x02, 0x01};
  Case cases[] = {
      {{'x', 'b', 'c', 'c', 0x04}, "not a screen file", 0},
      {v4, "incompatible version 4", 4},
      {badIndex, "outside the string cache", 3},
  };
  for (const Case& c : cases) {
    CCBDocument out;
    std::string error;
    int version = -1;
    EXPECT_FALSE(ccbParseDocument(c.data.data(), c.data.size(), out, &error, &version));
    EXPECT_NE(error.find(c.fragment), std::string::npos) << error;
    EXPECT_EQ(version, c.version);
  }
  CCBDocument out;
  EXPECT_FALSE(ccbParseDocument(nullptr, 10, out, nullptr));
}

TEST(CCBBinary, WriterRefusesValuesThatDoNotFitTheirType) {
  struct Case {
    CCBProperty p;
  } cases[] = {
      {prop(kCCBPropTypePosition, "position", floats({1, 2}))},    // positions carry four floats
      {prop(kCCBPropTypeByte, "opacity", ints({256}))},
      {prop(kCCBPropTypeBlendmode, "blendFunc", ints({-1, 771}))},
      {prop(99, "mystery", CCBValue())},
  };
  for (const Case& c : cases) {
    CCBDocument doc;
    doc.root.className = "CCNode";
    doc.root.properties.push_back(c.p);
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(ccbWriteDocument(doc, bytes, &error)) << c.p.name;
    EXPECT_FALSE(error.empty());
  }
}

// What the writer accepts, the parser reads back: every field the parser would refuse is
// refused when writing.
TEST(CCBBinary, WriterRefusesWhatTheParserWouldNotReadBack) {
  struct Case {
    const char* what;
    void (*spoil)(CCBDocument&);
  } cases[] = {
      {"negative sequence id", [](CCBDocument& d) { d.sequences[1].sequenceId = -1; }},
      {"negative timeline id", [](CCBDocument& d) { d.root.children[0].sequences[0].sequenceId = -1; }},
      {"unknown easing", [](CCBDocument& d) {
         d.root.children[0].sequences[0].properties[0].keyframes[0].easing = kCCBEasingCount;
       }},
      {"keyframe byte", [](CCBDocument& d) {
         d.root.children[0].sequences[0].properties[0].keyframes[1].value = ints({256});
       }},
      {"member target", [](CCBDocument& d) { d.root.memberVarAssignmentType = -2; }},
      {"platform", [](CCBDocument& d) { d.root.properties[0].platform = 256; }},
      {"long text", [](CCBDocument& d) {
         d.root.children[0].properties[1].value.strings[0].assign(kCCBMaxTextBytes + 1, 'x');
       }},
      {"long name", [](CCBDocument& d) { d.root.children[0].memberVarAssignmentName.assign(70000, 'n'); }},
      {"deep tree", [](CCBDocument& d) {
         CCBNodeDesc* n = &d.root;
         for (int i = 0; i <= kCCBMaxNodeDepth; ++i) {
           n->children.emplace_back();
           n = &n->children.back();
           n->className = "CCNode";
         }
       }},
  };
  for (const Case& c : cases) {
    CCBDocument doc = sampleDocument();
    c.spoil(doc);
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(ccbWriteDocument(doc, bytes, &error)) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
  }
  // At the limits everything still goes through.
  CCBDocument doc = sampleDocument();
  doc.root.children[0].properties[1].value.strings[0].assign(kCCBMaxTextBytes, 'x');
  CCBNodeDesc* n = &doc.root;
  for (int i = 0; i < kCCBMaxNodeDepth; ++i) {
    n->children.emplace_back();
    n = &n->children.back();
    n->className = "CCNode";
  }
  std::vector<uint8_t> bytes = encode(doc);
  CCBDocument back;
  std::string error;
  ASSERT_TRUE(ccbParseDocument(bytes.data(), bytes.size(), back, &error)) << error;
  EXPECT_TRUE(back == doc);
}

TEST(CCBClassTable, LoadableClassesAndInheritedProperties) {
  const std::vector<std::string> want = {
      "CCNode", "CCLayer", "CCLayerColor", "CCLayerGradient", "CCSprite", "CCLabelBMFont",
      "CCLabelTTF", "CCScale9Sprite", "CCScrollView", "CCBFile", "CCMenu", "CCMenuItemImage",
      "CCControlButton", "CCParticleSystemQuad", "CCTilingSprite", "CCMenuItemColor",
      "TestLayer", "TestSprite"};
  EXPECT_EQ(ccbClassNames(), want);
  EXPECT_EQ(ccbFindClass("CCMenuItem"), nullptr);
  EXPECT_EQ(ccbPropertyType("CCLayerGradient", "position"), kCCBPropTypePosition);
  EXPECT_EQ(ccbPropertyType("CCLayerGradient", "opacity"), kCCBPropTypeByte);
  EXPECT_EQ(ccbPropertyType("CCMenuItemColor", "block"), kCCBPropTypeBlock);
  EXPECT_EQ(ccbPropertyType("CCMenuItemColor", "normalcolor"), kCCBPropTypeString);
  EXPECT_EQ(ccbPropertyType("CCControlButton", "backgroundSpriteFrame|2"), kCCBPropTypeSpriteFrame);
  EXPECT_EQ(ccbPropertyType("TestSprite", "displayFrame"), kCCBPropTypeSpriteFrame);
  EXPECT_EQ(ccbPropertyType("CCNode", "displayFrame"), -1);
  EXPECT_EQ(ccbPropertyType("CCMenuItem", "block"), -1);
}

}  // namespace
