// The content of a screen file (.ccbi, version 3, in the game's dialect): sequences and a
// tree of node descriptions with typed properties. The reader builds nodes from it; the
// screen compiler writes it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cocos2d {
namespace extension {

// Property types as stored in the file.
enum CCBPropType : int {
  kCCBPropTypePosition = 0,
  kCCBPropTypeSize = 1,
  kCCBPropTypePoint = 2,
  kCCBPropTypePointLock = 3,
  kCCBPropTypeScaleLock = 4,
  kCCBPropTypeDegrees = 5,
  kCCBPropTypeInteger = 6,
  kCCBPropTypeFloat = 7,
  kCCBPropTypeFloatVar = 8,
  kCCBPropTypeCheck = 9,
  kCCBPropTypeSpriteFrame = 10,
  kCCBPropTypeTexture = 11,
  kCCBPropTypeByte = 12,
  kCCBPropTypeColor3 = 13,
  kCCBPropTypeColor4FVar = 14,
  kCCBPropTypeFlip = 15,
  kCCBPropTypeBlendmode = 16,
  kCCBPropTypeFntFile = 17,
  kCCBPropTypeText = 18,
  kCCBPropTypeFontTTF = 19,
  kCCBPropTypeIntegerLabeled = 20,
  kCCBPropTypeBlock = 21,
  kCCBPropTypeAnimation = 22,
  kCCBPropTypeCCBFile = 23,
  kCCBPropTypeString = 24,
  kCCBPropTypeBlockCCControl = 25,
  kCCBPropTypeFloatScale = 26,
  kCCBPropTypeCount = 27,
};

// Name of a property type as the screen compiler writes it ("position", "spriteFrame", ...);
// null for an unknown type.
const char* ccbPropTypeName(int type);
// The type of a name; -1 when unknown.
int ccbPropTypeFromName(const std::string& name);

// Member-variable and selector targets.
enum CCBTargetType : int {
  kCCBTargetTypeNone = 0,
  kCCBTargetTypeDocumentRoot = 1,
  kCCBTargetTypeOwner = 2,
};

// One property value, whatever its type: numbers, flags and strings in the order the type
// stores them. Position: {ax, ay, px, py}; size: {aw, ah, pw, ph}; sprite frame: {sheet,
// frame}; block: name in strings, target in ints; colour: r, g, b in ints; and so on.
struct CCBValue {
  std::vector<float> floats;
  std::vector<int> ints;
  std::vector<bool> bools;
  std::vector<std::string> strings;

  bool operator==(const CCBValue& o) const {
    return floats == o.floats && ints == o.ints && bools == o.bools && strings == o.strings;
  }
};

struct CCBProperty {
  int type = 0;
  std::string name;
  int platform = 0;  // 0 any, 1 iOS only, 2 Mac only (the reader skips 1 and 2)
  CCBValue value;
  bool operator==(const CCBProperty& o) const {
    return type == o.type && name == o.name && platform == o.platform && value == o.value;
  }
};

// Easing between a keyframe and the next.
enum CCBEasing : int {
  kCCBEasingInstant = 0,
  kCCBEasingLinear = 1,
  kCCBEasingCubicIn = 2,
  kCCBEasingCubicOut = 3,
  kCCBEasingCubicInOut = 4,
  kCCBEasingElasticIn = 5,
  kCCBEasingElasticOut = 6,
  kCCBEasingElasticInOut = 7,
  kCCBEasingBounceIn = 8,
  kCCBEasingBounceOut = 9,
  kCCBEasingBounceInOut = 10,
  kCCBEasingBackIn = 11,
  kCCBEasingBackOut = 12,
  kCCBEasingBackInOut = 13,
  kCCBEasingCount = 14,
};

// Whether a keyframe with this easing stores an easing option (rate or period).
inline bool ccbEasingHasOption(int easing) { return easing >= 2 && easing <= 7; }

struct CCBKeyframe {
  float time = 0.f;
  int easing = kCCBEasingLinear;
  float easingOpt = 0.f;
  CCBValue value;
  bool operator==(const CCBKeyframe& o) const {
    return time == o.time && easing == o.easing && easingOpt == o.easingOpt && value == o.value;
  }
};

// The keyframes of one property of a node in one sequence.
struct CCBSequenceProperty {
  std::string name;
  int type = 0;
  std::vector<CCBKeyframe> keyframes;
  bool operator==(const CCBSequenceProperty& o) const {
    return name == o.name && type == o.type && keyframes == o.keyframes;
  }
};

struct CCBNodeSequence {
  int sequenceId = 0;
  std::vector<CCBSequenceProperty> properties;
  bool operator==(const CCBNodeSequence& o) const {
    return sequenceId == o.sequenceId && properties == o.properties;
  }
};

struct CCBNodeDesc {
  std::string className;
  int memberVarAssignmentType = kCCBTargetTypeNone;
  std::string memberVarAssignmentName;
  std::vector<CCBNodeSequence> sequences;
  std::vector<CCBProperty> properties;       // regular
  std::vector<CCBProperty> extraProperties;  // custom properties
  std::vector<CCBNodeDesc> children;

  bool operator==(const CCBNodeDesc& o) const {
    return className == o.className && memberVarAssignmentType == o.memberVarAssignmentType &&
           memberVarAssignmentName == o.memberVarAssignmentName && sequences == o.sequences &&
           properties == o.properties && extraProperties == o.extraProperties &&
           children == o.children;
  }
};

// A timeline of the file.
struct CCBSequenceDesc {
  float duration = 0.f;
  std::string name;
  int sequenceId = 0;
  int chainedSequenceId = -1;
  bool operator==(const CCBSequenceDesc& o) const {
    return duration == o.duration && name == o.name && sequenceId == o.sequenceId &&
           chainedSequenceId == o.chainedSequenceId;
  }
};

struct CCBDocument {
  static const int kVersion = 3;
  std::vector<CCBSequenceDesc> sequences;
  int autoPlaySequenceId = -1;
  CCBNodeDesc root;

  bool operator==(const CCBDocument& o) const {
    return sequences == o.sequences && autoPlaySequenceId == o.autoPlaySequenceId &&
           root == o.root;
  }
};

// The shape of a property value of a type: how many of each kind it stores. Keyframe values
// have shapes of their own (a position keyframe is two floats).
struct CCBValueShape {
  int floats = 0;
  int ints = 0;
  int bools = 0;
  int strings = 0;
};
// False for an unknown type.
bool ccbValueShape(int type, CCBValueShape& shape);
// False for a type that cannot be animated.
bool ccbKeyframeShape(int type, CCBValueShape& shape);
// True when the value has exactly the shape.
bool ccbValueFits(const CCBValue& value, const CCBValueShape& shape);

}  // namespace extension
}  // namespace cocos2d
