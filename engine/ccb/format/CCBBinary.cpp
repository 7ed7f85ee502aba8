#include "CCBBinary.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <map>

namespace cocos2d {
namespace extension {

namespace {

// Stored layout of a value, one letter a field: f float, S signed int, U unsigned int,
// y byte, B bool, c cached string.
const char* valueLayout(int type) {
  switch (type) {
    case kCCBPropTypePosition:
    case kCCBPropTypeSize: return "ffff";
    case kCCBPropTypePoint:
    case kCCBPropTypePointLock: return "ff";
    case kCCBPropTypeScaleLock: return "ffU";
    case kCCBPropTypeDegrees:
    case kCCBPropTypeFloat: return "f";
    case kCCBPropTypeInteger:
    case kCCBPropTypeIntegerLabeled: return "S";
    case kCCBPropTypeFloatVar: return "ff";
    case kCCBPropTypeCheck: return "B";
    case kCCBPropTypeSpriteFrame:
    case kCCBPropTypeAnimation: return "cc";
    case kCCBPropTypeTexture:
    case kCCBPropTypeFntFile:
    case kCCBPropTypeText:
    case kCCBPropTypeFontTTF:
    case kCCBPropTypeCCBFile:
    case kCCBPropTypeString: return "c";
    case kCCBPropTypeByte: return "y";
    case kCCBPropTypeColor3: return "yyy";
    case kCCBPropTypeColor4FVar: return "ffffffff";
    case kCCBPropTypeFlip: return "BB";
    case kCCBPropTypeBlendmode: return "UU";
    case kCCBPropTypeBlock: return "cU";
    case kCCBPropTypeBlockCCControl: return "cUU";
    case kCCBPropTypeFloatScale: return "fU";
    default: return nullptr;
  }
}

const char* keyframeLayout(int type) {
  switch (type) {
    case kCCBPropTypeCheck: return "B";
    case kCCBPropTypeByte: return "y";
    case kCCBPropTypeColor3: return "yyy";
    case kCCBPropTypeDegrees: return "f";
    case kCCBPropTypePosition:
    case kCCBPropTypePoint:
    case kCCBPropTypeScaleLock: return "ff";
    case kCCBPropTypeSpriteFrame: return "cc";
    default: return nullptr;
  }
}

CCBValueShape shapeOf(const char* layout) {
  CCBValueShape s;
  for (const char* p = layout; *p; ++p) {
    switch (*p) {
      case 'f': ++s.floats; break;
      case 'S': case 'U': case 'y': ++s.ints; break;
      case 'B': ++s.bools; break;
      case 'c': ++s.strings; break;
    }
  }
  return s;
}

const char* const kTypeNames[kCCBPropTypeCount] = {
    "position", "size",     "point",         "pointLock", "scaleLock",      "degrees",
    "integer",  "float",    "floatVar",      "check",     "spriteFrame",    "texture",
    "byte",     "color3",   "color4FVar",    "flip",      "blendmode",      "fntFile",
    "text",     "fontTTF",  "integerLabeled", "block",    "animation",      "ccbFile",
    "string",   "blockCCControl", "floatScale"};

// ---- bit-level reading -------------------------------------------------------------------

class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }
  void fail(const std::string& why) {
    if (error_.empty()) error_ = why + " at byte " + std::to_string(byte_);
  }
  size_t bitsLeft() const { return byte_ >= size_ ? 0 : (size_ - byte_) * 8 - bit_; }

  bool readByte(int& out) {
    align();
    if (byte_ >= size_) return failed("unexpected end of file");
    out = data_[byte_++];
    return true;
  }
  bool readBool(bool& out) {
    int b;
    if (!readByte(b)) return false;
    out = b != 0;
    return true;
  }
  bool readUInt(int& out) {
    uint64_t v;
    if (!readGamma(v)) return false;
    if (v - 1 > static_cast<uint64_t>(std::numeric_limits<int>::max()))
      return failed("integer out of range");
    out = static_cast<int>(v - 1);
    return true;
  }
  bool readSInt(int& out) {
    uint64_t v;
    if (!readGamma(v)) return false;
    int64_t n = (v % 2) ? static_cast<int64_t>(v / 2) : -static_cast<int64_t>(v / 2);
    if (n > std::numeric_limits<int>::max() || n < std::numeric_limits<int>::min())
      return failed("integer out of range");
    out = static_cast<int>(n);
    return true;
  }
  bool readFloat(float& out) {
    int kind;
    if (!readByte(kind)) return false;
    switch (kind) {
      case 0: out = 0.f; return true;
      case 1: out = 1.f; return true;
      case 2: out = -1.f; return true;
      case 3: out = 0.5f; return true;
      case 4: {
        int i;
        if (!readSInt(i)) return false;
        out = static_cast<float>(i);
        return true;
      }
      case 5: {
        if (size_ - byte_ < 4) return failed("unexpected end of file in a float");
        uint32_t bits = static_cast<uint32_t>(data_[byte_]) |
                        (static_cast<uint32_t>(data_[byte_ + 1]) << 8) |
                        (static_cast<uint32_t>(data_[byte_ + 2]) << 16) |
                        (static_cast<uint32_t>(data_[byte_ + 3]) << 24);
        byte_ += 4;
        std::memcpy(&out, &bits, 4);
        return true;
      }
      default: return failed("unknown float encoding " + std::to_string(kind));
    }
  }
  bool readUtf8(std::string& out) {
    align();
    if (size_ - byte_ < 2) return failed("unexpected end of file in a string");
    size_t len = (static_cast<size_t>(data_[byte_]) << 8) | data_[byte_ + 1];
    byte_ += 2;
    if (size_ - byte_ < len) return failed("string runs past the end of the file");
    out.assign(reinterpret_cast<const char*>(data_ + byte_), len);
    byte_ += len;
    return true;
  }
  bool readMagic() {
    if (size_ < 4 || std::memcmp(data_, "ibcc", 4) != 0) return failed("not a screen file");
    byte_ = 4;
    return true;
  }
  // A count of items that each take at least one bit of what is left.
  bool readCount(int& out, const char* what) {
    if (!readUInt(out)) return false;
    if (static_cast<size_t>(out) > bitsLeft()) return failed(std::string("impossible ") + what);
    return true;
  }

 private:
  bool failed(const std::string& why) {
    fail(why);
    return false;
  }
  void align() {
    if (bit_) {
      bit_ = 0;
      ++byte_;
    }
  }
  bool readBit(int& bit) {
    if (byte_ >= size_) return false;
    bit = (data_[byte_] >> bit_) & 1;
    if (++bit_ == 8) {
      bit_ = 0;
      ++byte_;
    }
    return true;
  }
  // Elias gamma: n zero bits, a one, then the n low bits from the most significant down.
  bool readGamma(uint64_t& out) {
    int zeros = 0, bit = 0;
    for (;;) {
      if (!readBit(bit)) return failed("unexpected end of file in an integer");
      if (bit) break;
      if (++zeros > 32) return failed("integer too long");
    }
    uint64_t v = 0;
    for (int a = zeros - 1; a >= 0; --a) {
      if (!readBit(bit)) return failed("unexpected end of file in an integer");
      if (bit) v |= uint64_t(1) << a;
    }
    out = v | (uint64_t(1) << zeros);
    align();
    return true;
  }

  const uint8_t* data_;
  size_t size_;
  size_t byte_ = 0;
  int bit_ = 0;
  std::string error_;
};

class Parser {
 public:
  Parser(const uint8_t* data, size_t size) : in_(data, size) {}

  bool parse(CCBDocument& doc, int* fileVersion) {
    if (fileVersion) *fileVersion = 0;
    if (!in_.readMagic()) return false;
    int version = 0;
    if (!in_.readUInt(version)) return false;
    if (fileVersion) *fileVersion = version;
    if (version != CCBDocument::kVersion) {
      in_.fail("incompatible version " + std::to_string(version));
      return false;
    }
    return readStringCache() && readSequences(doc) && readNode(doc.root, 0) && in_.ok();
  }
  const std::string& error() const { return in_.error(); }

 private:
  bool readStringCache() {
    int count;
    if (!in_.readCount(count, "string count")) return false;
    strings_.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
      std::string s;
      if (!in_.readUtf8(s)) return false;
      strings_.push_back(std::move(s));
    }
    return true;
  }
  bool readCached(std::string& out) {
    int index;
    if (!in_.readUInt(index)) return false;
    if (index < 0 || static_cast<size_t>(index) >= strings_.size()) {
      in_.fail("string index " + std::to_string(index) + " outside the string cache");
      return false;
    }
    out = strings_[static_cast<size_t>(index)];
    return true;
  }
  bool readSequences(CCBDocument& doc) {
    int count;
    if (!in_.readCount(count, "sequence count")) return false;
    for (int i = 0; i < count; ++i) {
      CCBSequenceDesc seq;
      if (!in_.readFloat(seq.duration) || !readCached(seq.name) || !in_.readUInt(seq.sequenceId) ||
          !in_.readSInt(seq.chainedSequenceId))
        return false;
      doc.sequences.push_back(std::move(seq));
    }
    return in_.readSInt(doc.autoPlaySequenceId);
  }
  bool readValue(const char* layout, CCBValue& v) {
    for (const char* p = layout; *p; ++p) {
      switch (*p) {
        case 'f': {
          float f;
          if (!in_.readFloat(f)) return false;
          v.floats.push_back(f);
          break;
        }
        case 'S': case 'U': case 'y': {
          int i;
          bool ok = *p == 'S' ? in_.readSInt(i) : *p == 'U' ? in_.readUInt(i) : in_.readByte(i);
          if (!ok) return false;
          v.ints.push_back(i);
          break;
        }
        case 'B': {
          bool b;
          if (!in_.readBool(b)) return false;
          v.bools.push_back(b);
          break;
        }
        case 'c': {
          std::string s;
          if (!readCached(s)) return false;
          v.strings.push_back(std::move(s));
          break;
        }
      }
    }
    return true;
  }
  bool readKeyframe(int type, CCBKeyframe& kf) {
    const char* layout = keyframeLayout(type);
    if (!layout) {
      in_.fail("property type " + std::to_string(type) + " cannot be animated");
      return false;
    }
    if (!in_.readFloat(kf.time) || !in_.readUInt(kf.easing)) return false;
    if (kf.easing >= kCCBEasingCount) {
      in_.fail("unknown easing " + std::to_string(kf.easing));
      return false;
    }
    if (ccbEasingHasOption(kf.easing) && !in_.readFloat(kf.easingOpt)) return false;
    return readValue(layout, kf.value);
  }
  bool readNodeSequences(CCBNodeDesc& node) {
    int count;
    if (!in_.readCount(count, "sequence count")) return false;
    for (int i = 0; i < count; ++i) {
      CCBNodeSequence seq;
      int props;
      if (!in_.readUInt(seq.sequenceId) || !in_.readCount(props, "property count")) return false;
      for (int j = 0; j < props; ++j) {
        CCBSequenceProperty prop;
        int frames;
        if (!readCached(prop.name) || !in_.readUInt(prop.type)) return false;
        if (!keyframeLayout(prop.type)) {
          in_.fail("property type " + std::to_string(prop.type) + " cannot be animated");
          return false;
        }
        if (!in_.readCount(frames, "keyframe count")) return false;
        for (int k = 0; k < frames; ++k) {
          CCBKeyframe kf;
          if (!readKeyframe(prop.type, kf)) return false;
          prop.keyframes.push_back(std::move(kf));
        }
        seq.properties.push_back(std::move(prop));
      }
      node.sequences.push_back(std::move(seq));
    }
    return true;
  }
  bool readProperty(CCBProperty& prop) {
    int platform;
    if (!in_.readUInt(prop.type) || !readCached(prop.name) || !in_.readByte(platform)) return false;
    prop.platform = platform;
    const char* layout = valueLayout(prop.type);
    if (!layout) {
      in_.fail("unknown property type " + std::to_string(prop.type) + " of " + prop.name);
      return false;
    }
    return readValue(layout, prop.value);
  }
  bool readNode(CCBNodeDesc& node, int depth) {
    if (depth > kCCBMaxNodeDepth) {
      in_.fail("node tree too deep");
      return false;
    }
    if (!readCached(node.className) || !in_.readUInt(node.memberVarAssignmentType)) return false;
    if (node.memberVarAssignmentType != kCCBTargetTypeNone && !readCached(node.memberVarAssignmentName))
      return false;
    if (!readNodeSequences(node)) return false;
    int regular, extra;
    if (!in_.readCount(regular, "property count") || !in_.readCount(extra, "property count"))
      return false;
    for (int i = 0; i < regular + extra; ++i) {
      CCBProperty prop;
      if (!readProperty(prop)) return false;
      (i < regular ? node.properties : node.extraProperties).push_back(std::move(prop));
    }
    int children;
    if (!in_.readCount(children, "child count")) return false;
    for (int i = 0; i < children; ++i) {
      node.children.emplace_back();
      if (!readNode(node.children.back(), depth + 1)) return false;
    }
    return true;
  }

  Reader in_;
  std::vector<std::string> strings_;
};

// ---- writing ---------------------------------------------------------------------------

class Writer {
 public:
  std::vector<uint8_t> bytes;

  void byte(int v) {
    align();
    bytes.push_back(static_cast<uint8_t>(v));
  }
  void uint(int v) { gamma(static_cast<uint64_t>(static_cast<uint32_t>(v)) + 1); }
  void sint(int v) {
    int64_t n = v;
    gamma(n >= 0 ? static_cast<uint64_t>(2 * n + 1) : static_cast<uint64_t>(-2 * n));
  }
  void real(float f) {
    if (f == 0.f && !std::signbit(f)) return byte(0);
    if (f == 1.f) return byte(1);
    if (f == -1.f) return byte(2);
    if (f == 0.5f) return byte(3);
    // Whole numbers as integers, but not -0, which would read back as 0.
    if (std::floor(f) == f && std::fabs(f) < 1e9f && !(f == 0.f && std::signbit(f))) {
      byte(4);
      return sint(static_cast<int>(f));
    }
    byte(5);
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(bits >> (8 * i)));
  }
  void utf8(const std::string& s) {
    align();
    bytes.push_back(static_cast<uint8_t>(s.size() >> 8));
    bytes.push_back(static_cast<uint8_t>(s.size() & 0xFF));
    bytes.insert(bytes.end(), s.begin(), s.end());
  }

 private:
  void align() { bit_ = 0; }
  void putBit(int b) {
    if (bit_ == 0) bytes.push_back(0);
    if (b) bytes.back() |= static_cast<uint8_t>(1 << bit_);
    bit_ = (bit_ + 1) % 8;
  }
  void gamma(uint64_t n) {
    int bits = 0;
    while ((n >> (bits + 1)) != 0) ++bits;
    for (int i = 0; i < bits; ++i) putBit(0);
    putBit(1);
    for (int a = bits - 1; a >= 0; --a) putBit(static_cast<int>((n >> a) & 1));
    align();
  }
  int bit_ = 0;
};

class DocWriter {
 public:
  bool write(const CCBDocument& doc, std::vector<uint8_t>& out, std::string* error) {
    body_.uint(static_cast<int>(doc.sequences.size()));
    bool good = true;
    for (const CCBSequenceDesc& s : doc.sequences) {
      body_.real(s.duration);
      good = good && cached(s.name, "sequence name") &&
             unsignedField(s.sequenceId, "id of sequence " + s.name);
      body_.sint(s.chainedSequenceId);
    }
    body_.sint(doc.autoPlaySequenceId);
    if (!good || !node(doc.root, 0)) {
      if (error) *error = error_;
      return false;
    }
    Writer head;
    for (char c : std::string("ibcc")) head.bytes.push_back(static_cast<uint8_t>(c));
    head.uint(CCBDocument::kVersion);
    head.uint(static_cast<int>(strings_.size()));
    for (const std::string& s : strings_) head.utf8(s);
    out = head.bytes;
    out.insert(out.end(), body_.bytes.begin(), body_.bytes.end());
    return true;
  }

 private:
  bool refuse(const std::string& why) {
    if (error_.empty()) error_ = why;
    return false;
  }
  bool cached(const std::string& s, const std::string& what) {
    if (s.size() > kCCBMaxTextBytes) return refuse(what + " is longer than a file holds");
    auto it = index_.find(s);
    if (it == index_.end()) {
      it = index_.emplace(s, static_cast<int>(strings_.size())).first;
      strings_.push_back(s);
    }
    body_.uint(it->second);
    return true;
  }
  bool unsignedField(int v, const std::string& what) {
    if (v < 0) return refuse(what + " is negative (" + std::to_string(v) + ")");
    body_.uint(v);
    return true;
  }
  bool value(int type, bool keyframe, const CCBValue& v, const std::string& what) {
    std::string why;
    if (!ccbValueStorable(type, keyframe, v, &why)) return refuse("value of " + what + ": " + why);
    const char* layout = keyframe ? keyframeLayout(type) : valueLayout(type);
    size_t f = 0, i = 0, b = 0, s = 0;
    for (const char* p = layout; *p; ++p) {
      switch (*p) {
        case 'f': body_.real(v.floats[f++]); break;
        case 'S': body_.sint(v.ints[i++]); break;
        case 'U': body_.uint(v.ints[i++]); break;
        case 'y': body_.byte(v.ints[i++]); break;
        case 'B': body_.byte(v.bools[b++] ? 1 : 0); break;
        case 'c': cached(v.strings[s++], what); break;
      }
    }
    return true;
  }
  bool node(const CCBNodeDesc& n, int depth) {
    if (depth > kCCBMaxNodeDepth) return refuse("node tree deeper than a file holds");
    if (!cached(n.className, "class name") ||
        !unsignedField(n.memberVarAssignmentType, "member target of " + n.className))
      return false;
    if (n.memberVarAssignmentType != kCCBTargetTypeNone &&
        !cached(n.memberVarAssignmentName, "member name"))
      return false;
    body_.uint(static_cast<int>(n.sequences.size()));
    for (const CCBNodeSequence& seq : n.sequences) {
      if (!unsignedField(seq.sequenceId, "sequence id of a timeline of " + n.className))
        return false;
      body_.uint(static_cast<int>(seq.properties.size()));
      for (const CCBSequenceProperty& p : seq.properties) {
        if (!keyframeLayout(p.type))
          return refuse("property " + p.name + " of " + n.className + " cannot be animated");
        if (!cached(p.name, "property name")) return false;
        body_.uint(p.type);
        body_.uint(static_cast<int>(p.keyframes.size()));
        for (const CCBKeyframe& kf : p.keyframes) {
          body_.real(kf.time);
          if (kf.easing < 0 || kf.easing >= kCCBEasingCount)
            return refuse("a keyframe of " + p.name + " has an unknown easing " +
                          std::to_string(kf.easing));
          body_.uint(kf.easing);
          if (ccbEasingHasOption(kf.easing)) body_.real(kf.easingOpt);
          if (!value(p.type, true, kf.value, "a keyframe of " + p.name)) return false;
        }
      }
    }
    body_.uint(static_cast<int>(n.properties.size()));
    body_.uint(static_cast<int>(n.extraProperties.size()));
    for (const auto* list : {&n.properties, &n.extraProperties}) {
      for (const CCBProperty& p : *list) {
        if (!valueLayout(p.type))
          return refuse("unknown property type " + std::to_string(p.type) + " of " + p.name);
        if (p.platform < 0 || p.platform > 255)
          return refuse("platform of " + p.name + " is out of range");
        body_.uint(p.type);
        if (!cached(p.name, "property name")) return false;
        body_.byte(p.platform);
        if (!value(p.type, false, p.value, p.name + " of " + n.className)) return false;
      }
    }
    body_.uint(static_cast<int>(n.children.size()));
    for (const CCBNodeDesc& c : n.children)
      if (!node(c, depth + 1)) return false;
    return true;
  }

  Writer body_;
  std::vector<std::string> strings_;
  std::map<std::string, int> index_;
  std::string error_;
};

}  // namespace

const char* ccbPropTypeName(int type) {
  return type >= 0 && type < kCCBPropTypeCount ? kTypeNames[type] : nullptr;
}

int ccbPropTypeFromName(const std::string& name) {
  for (int i = 0; i < kCCBPropTypeCount; ++i)
    if (name == kTypeNames[i]) return i;
  return -1;
}

bool ccbValueShape(int type, CCBValueShape& shape) {
  const char* layout = valueLayout(type);
  if (!layout) return false;
  shape = shapeOf(layout);
  return true;
}

bool ccbKeyframeShape(int type, CCBValueShape& shape) {
  const char* layout = keyframeLayout(type);
  if (!layout) return false;
  shape = shapeOf(layout);
  return true;
}

bool ccbValueStorable(int type, bool keyframe, const CCBValue& v, std::string* why) {
  auto refuse = [why](const std::string& reason) {
    if (why) *why = reason;
    return false;
  };
  const char* layout = keyframe ? keyframeLayout(type) : valueLayout(type);
  if (!layout) return refuse(keyframe ? "the type cannot be animated" : "unknown property type");
  if (!ccbValueFits(v, shapeOf(layout))) return refuse("does not fit its type");
  size_t i = 0, s = 0;
  for (const char* p = layout; *p; ++p) {
    if (*p == 'c' && v.strings[s++].size() > kCCBMaxTextBytes)
      return refuse("a text is longer than a file holds");
    if (*p != 'S' && *p != 'U' && *p != 'y') continue;
    int n = v.ints[i++];
    if (*p == 'U' && n < 0) return refuse(std::to_string(n) + " is negative");
    if (*p == 'y' && (n < 0 || n > 255)) return refuse(std::to_string(n) + " is not within 0..255");
  }
  return true;
}

bool ccbValueFits(const CCBValue& v, const CCBValueShape& s) {
  return v.floats.size() == static_cast<size_t>(s.floats) &&
         v.ints.size() == static_cast<size_t>(s.ints) &&
         v.bools.size() == static_cast<size_t>(s.bools) &&
         v.strings.size() == static_cast<size_t>(s.strings);
}

bool ccbParseDocument(const uint8_t* data, size_t size, CCBDocument& out, std::string* error,
                      int* fileVersion) {
  out = CCBDocument();
  if (!data) size = 0;
  Parser parser(data ? data : reinterpret_cast<const uint8_t*>(""), size);
  if (parser.parse(out, fileVersion)) return true;
  if (error) *error = parser.error();
  out = CCBDocument();
  return false;
}

bool ccbWriteDocument(const CCBDocument& doc, std::vector<uint8_t>& out, std::string* error) {
  DocWriter writer;
  return writer.write(doc, out, error);
}

}  // namespace extension
}  // namespace cocos2d
