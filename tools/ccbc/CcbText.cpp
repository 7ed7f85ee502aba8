#include "CcbText.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "CCBBinary.h"
#include "CCBClassTable.h"

using namespace cocos2d::extension;

namespace ccbc {

namespace {

const char* const kEasingNames[kCCBEasingCount] = {
    "instant",    "linear",    "cubicIn",     "cubicOut",     "cubicInOut",
    "elasticIn",  "elasticOut", "elasticInOut", "bounceIn",   "bounceOut",
    "bounceInOut", "backIn",   "backOut",     "backInOut"};

struct Token {
  enum Kind { Word, String, LBrace, RBrace, Newline, End } kind = End;
  std::string text;
  int line = 0;
};

class Lexer {
 public:
  explicit Lexer(const std::string& text) : text_(text) {}

  bool next(Token& tok, std::string& error) {
    for (;;) {
      if (pos_ >= text_.size()) {
        tok = {Token::End, "", line_};
        return true;
      }
      char c = text_[pos_];
      if (c == '#') {
        while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
        continue;
      }
      if (c == '\n') {
        ++pos_;
        tok = {Token::Newline, "", line_++};
        return true;
      }
      if (std::isspace(static_cast<unsigned char>(c))) {
        ++pos_;
        continue;
      }
      break;
    }
    char c = text_[pos_];
    tok.line = line_;
    if (c == '{' || c == '}') {
      ++pos_;
      tok.kind = c == '{' ? Token::LBrace : Token::RBrace;
      tok.text = std::string(1, c);
      return true;
    }
    if (c == '"') {
      ++pos_;
      tok.kind = Token::String;
      tok.text.clear();
      while (pos_ < text_.size() && text_[pos_] != '"') {
        char d = text_[pos_++];
        if (d == '\n') break;
        if (d == '\\' && pos_ < text_.size()) {
          char e = text_[pos_++];
          d = e == 'n' ? '\n' : e == 't' ? '\t' : e;
        }
        tok.text.push_back(d);
      }
      if (pos_ >= text_.size() || text_[pos_] != '"') {
        error = "unterminated string";
        return false;
      }
      ++pos_;
      return fits(tok, error);
    }
    tok.kind = Token::Word;
    tok.text.clear();
    while (pos_ < text_.size()) {
      char d = text_[pos_];
      if (std::isspace(static_cast<unsigned char>(d)) || d == '{' || d == '}' || d == '"' || d == '#')
        break;
      tok.text.push_back(d);
      ++pos_;
    }
    return fits(tok, error);
  }

 private:
  static bool fits(const Token& tok, std::string& error) {
    if (tok.text.size() <= kCCBMaxTextBytes) return true;
    error = "a text of " + std::to_string(tok.text.size()) + " bytes is longer than a screen file holds";
    return false;
  }

  const std::string& text_;
  size_t pos_ = 0;
  int line_ = 1;
};

class Compiler {
 public:
  Compiler(const std::string& text, const std::string& name) : lexer_(text), name_(name) {}

  bool run(CCBDocument& doc, std::string& error) {
    bool haveRoot = false;
    if (!advance()) return fail(error);
    for (;;) {
      skipNewlines();
      if (!ok()) return fail(error);
      if (tok_.kind == Token::End) break;
      if (tok_.kind == Token::Word && tok_.text == "sequence") {
        if (!sequence(doc)) return fail(error);
        continue;
      }
      if (haveRoot) {
        err("a screen file has one root node");
        return fail(error);
      }
      if (!node(doc.root)) return fail(error);
      haveRoot = true;
    }
    if (!haveRoot) {
      err("no root node");
      return fail(error);
    }
    for (const CCBSequenceDesc& s : doc.sequences)
      if (s.chainedSequenceId >= 0 && !hasSequence(doc, s.chainedSequenceId)) {
        err("sequence " + s.name + " chains to an unknown sequence");
        return fail(error);
      }
    return true;
  }

 private:
  bool ok() const { return error_.empty(); }
  bool fail(std::string& error) {
    error = error_;
    return false;
  }
  bool err(const std::string& why) {
    if (error_.empty()) error_ = name_ + ":" + std::to_string(tok_.line) + ": " + why;
    return false;
  }
  bool advance() {
    std::string lexError;
    if (!lexer_.next(tok_, lexError)) return err(lexError);
    return true;
  }
  void skipNewlines() {
    while (ok() && tok_.kind == Token::Newline) advance();
  }
  bool endOfLine() const {
    return tok_.kind == Token::Newline || tok_.kind == Token::End || tok_.kind == Token::RBrace;
  }
  bool expectWord(std::string& out, const char* what) {
    if (tok_.kind != Token::Word && tok_.kind != Token::String) return err(std::string("expected ") + what);
    out = tok_.text;
    return advance();
  }
  bool number(float& out, const char* what) {
    std::string w;
    if (tok_.kind != Token::Word) return err(std::string("expected a number for ") + what);
    w = tok_.text;
    char* end = nullptr;
    out = std::strtof(w.c_str(), &end);
    if (w.empty() || *end != '\0' || !std::isfinite(out))
      return err("'" + w + "' is not a number (" + what + ")");
    return advance();
  }
  bool integer(int& out, const char* what) {
    if (tok_.kind != Token::Word) return err(std::string("expected an integer for ") + what);
    const std::string w = tok_.text;
    char* end = nullptr;
    long v = std::strtol(w.c_str(), &end, 10);
    if (w.empty() || *end != '\0' || v < -2147483647L || v > 2147483647L)
      return err("'" + w + "' is not an integer (" + what + ")");
    out = static_cast<int>(v);
    return advance();
  }
  static bool hasSequence(const CCBDocument& doc, int id) {
    for (const CCBSequenceDesc& s : doc.sequences)
      if (s.sequenceId == id) return true;
    return false;
  }

  bool sequence(CCBDocument& doc) {
    advance();
    CCBSequenceDesc seq;
    bool haveId = false;
    if (!expectWord(seq.name, "a sequence name")) return false;
    while (ok() && !endOfLine()) {
      std::string key = tok_.text;
      if (tok_.kind != Token::Word) return err("unexpected " + key);
      advance();
      if (key == "id") {
        if (!integer(seq.sequenceId, "id")) return false;
        if (seq.sequenceId < 0) return err("a sequence id is not negative");
        haveId = true;
      } else if (key == "duration") {
        if (!number(seq.duration, "duration")) return false;
      } else if (key == "chained") {
        if (!integer(seq.chainedSequenceId, "chained")) return false;
        if (seq.chainedSequenceId < -1) return err("chained is a sequence id, or -1 for none");
      } else if (key == "autoplay") {
        doc.autoPlaySequenceId = -2;  // resolved below, once the id is known
      } else {
        return err("unknown sequence setting " + key);
      }
    }
    if (!haveId) return err("a sequence needs an id");
    if (hasSequence(doc, seq.sequenceId)) return err("sequence id used twice");
    if (doc.autoPlaySequenceId == -2) doc.autoPlaySequenceId = seq.sequenceId;
    doc.sequences.push_back(seq);
    return ok();
  }

  // Values of one line in the order a layout asks for them, checked against what the file
  // format holds for the type.
  bool values(int type, bool keyframe, CCBValue& v, const std::string& what) {
    CCBValueShape shape;
    if (keyframe ? !ccbKeyframeShape(type, shape) : !ccbValueShape(type, shape))
      return err("property " + what + " has no stored form");
    // Reads numbers and flags by kind; the layout decides how many of each.
    auto readInts = [&](int n) {
      for (int i = 0; i < n; ++i) {
        int x;
        if (!integer(x, what.c_str())) return false;
        v.ints.push_back(x);
      }
      return true;
    };
    auto readFloats = [&](int n) {
      for (int i = 0; i < n; ++i) {
        float x;
        if (!number(x, what.c_str())) return false;
        v.floats.push_back(x);
      }
      return true;
    };
    auto readBools = [&](int n) {
      for (int i = 0; i < n; ++i) {
        if (tok_.kind != Token::Word || (tok_.text != "true" && tok_.text != "false"))
          return err("expected true or false for " + what);
        v.bools.push_back(tok_.text == "true");
        advance();
      }
      return true;
    };
    auto readStrings = [&](int n) {
      for (int i = 0; i < n; ++i) {
        if (tok_.kind != Token::Word && tok_.kind != Token::String)
          return err("expected a text for " + what);
        v.strings.push_back(tok_.text);
        advance();
      }
      return true;
    };
    // Text order: strings first (sprite frames, blocks), then numbers; floats before the
    // integers that qualify them (scale lock, float scale).
    bool good = readStrings(shape.strings) && readFloats(shape.floats) && readInts(shape.ints) &&
                readBools(shape.bools);
    if (!good) return false;
    if (!endOfLine()) return err("too many values for " + what);
    std::string why;
    if (!ccbValueStorable(type, keyframe, v, &why)) return err(what + ": " + why);
    return true;
  }

  bool animate(CCBNodeDesc& node) {
    advance();
    int seqId;
    std::string prop;
    if (!integer(seqId, "sequence id")) return false;
    if (seqId < 0) return err("a sequence id is not negative");
    if (!expectWord(prop, "a property name")) return false;
    int type = ccbPropertyType(node.className, prop);
    CCBValueShape shape;
    if (type < 0) return err(node.className + " has no property " + prop);
    if (!ccbKeyframeShape(type, shape)) return err("property " + prop + " cannot be animated");
    if (tok_.kind != Token::LBrace) return err("expected { after animate");
    advance();
    CCBSequenceProperty sp;
    sp.name = prop;
    sp.type = type;
    for (;;) {
      skipNewlines();
      if (!ok()) return false;
      if (tok_.kind == Token::RBrace) {
        advance();
        break;
      }
      if (tok_.kind != Token::Word || tok_.text != "at") return err("expected 'at' or }");
      advance();
      CCBKeyframe kf;
      std::string easing;
      if (!number(kf.time, "time") || !expectWord(easing, "an easing")) return false;
      std::string option;
      size_t colon = easing.find(':');
      if (colon != std::string::npos) {
        option = easing.substr(colon + 1);
        easing.resize(colon);
      }
      kf.easing = -1;
      for (int i = 0; i < kCCBEasingCount; ++i)
        if (easing == kEasingNames[i]) kf.easing = i;
      if (kf.easing < 0) return err("unknown easing " + easing);
      if (!option.empty()) {
        if (!ccbEasingHasOption(kf.easing)) return err("easing " + easing + " takes no option");
        char* end = nullptr;
        kf.easingOpt = std::strtof(option.c_str(), &end);
        if (*end != '\0' || !std::isfinite(kf.easingOpt))
          return err("bad easing option " + option);
      }
      if (!values(type, true, kf.value, prop)) return false;
      sp.keyframes.push_back(kf);
    }
    for (CCBNodeSequence& seq : node.sequences)
      if (seq.sequenceId == seqId) {
        seq.properties.push_back(sp);
        return true;
      }
    CCBNodeSequence seq;
    seq.sequenceId = seqId;
    seq.properties.push_back(sp);
    node.sequences.push_back(seq);
    return true;
  }

  bool property(CCBNodeDesc& node, bool extra) {
    CCBProperty p;
    if (extra) {
      advance();
      std::string typeName;
      if (!expectWord(typeName, "a property type")) return false;
      p.type = ccbPropTypeFromName(typeName);
      if (p.type < 0) return err("unknown property type " + typeName);
      if (!expectWord(p.name, "a property name")) return false;
    } else {
      p.name = tok_.text;
      p.type = ccbPropertyType(node.className, p.name);
      // Class names are capitalised, property names are not.
      if (p.type < 0 && std::isupper(static_cast<unsigned char>(p.name[0])))
        return err("unknown class " + p.name);
      if (p.type < 0) return err(node.className + " has no property " + p.name);
      advance();
    }
    if (!values(p.type, false, p.value, p.name)) return false;
    (extra ? node.extraProperties : node.properties).push_back(p);
    return true;
  }

  bool node(CCBNodeDesc& node, int depth = 0) {
    if (depth > 60) return err("node tree too deep");
    if (tok_.kind != Token::Word) return err("expected a class name");
    node.className = tok_.text;
    if (!ccbFindClass(node.className)) return err("unknown class " + node.className);
    advance();
    if (tok_.kind == Token::Word && tok_.text == "as") {
      advance();
      std::string target;
      if (!expectWord(target, "owner or root")) return false;
      if (target == "owner") node.memberVarAssignmentType = kCCBTargetTypeOwner;
      else if (target == "root") node.memberVarAssignmentType = kCCBTargetTypeDocumentRoot;
      else return err("a member is bound to 'owner' or 'root'");
      if (!expectWord(node.memberVarAssignmentName, "a member name")) return false;
    }
    if (tok_.kind != Token::LBrace) return err("expected {");
    advance();
    for (;;) {
      skipNewlines();
      if (!ok()) return false;
      if (tok_.kind == Token::RBrace) {
        advance();
        return true;
      }
      if (tok_.kind == Token::End) return err("missing } of " + node.className);
      if (tok_.kind != Token::Word) return err("unexpected " + tok_.text);
      if (tok_.text == "animate") {
        if (!animate(node)) return false;
      } else if (tok_.text == "extra") {
        if (!property(node, true)) return false;
      } else if (ccbFindClass(tok_.text)) {
        node.children.emplace_back();
        if (!this->node(node.children.back(), depth + 1)) return false;
      } else {
        if (!property(node, false)) return false;
      }
    }
  }

  Lexer lexer_;
  std::string name_;
  Token tok_;
  std::string error_;
};

std::string quote(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') out.push_back('\\');
    if (c == '\n') {
      out += "\\n";
      continue;
    }
    out.push_back(c);
  }
  return out + "\"";
}

std::string num(float f) {
  std::ostringstream o;
  o.precision(9);
  o << f;
  return o.str();
}

void valueText(std::ostream& o, const CCBValue& v) {
  for (const std::string& s : v.strings) o << ' ' << quote(s);
  for (float f : v.floats) o << ' ' << num(f);
  for (int i : v.ints) o << ' ' << i;
  for (bool b : v.bools) o << (b ? " true" : " false");
}

void nodeText(std::ostream& o, const CCBNodeDesc& n, int depth) {
  std::string pad(static_cast<size_t>(depth) * 2, ' ');
  o << pad << n.className;
  if (n.memberVarAssignmentType != kCCBTargetTypeNone)
    o << " as " << (n.memberVarAssignmentType == kCCBTargetTypeOwner ? "owner " : "root ")
      << quote(n.memberVarAssignmentName);
  o << " {\n";
  for (const CCBProperty& p : n.properties) {
    o << pad << "  " << p.name;
    valueText(o, p.value);
    o << '\n';
  }
  for (const CCBProperty& p : n.extraProperties) {
    o << pad << "  extra " << ccbPropTypeName(p.type) << ' ' << quote(p.name);
    valueText(o, p.value);
    o << '\n';
  }
  for (const CCBNodeSequence& seq : n.sequences)
    for (const CCBSequenceProperty& sp : seq.properties) {
      o << pad << "  animate " << seq.sequenceId << ' ' << sp.name << " {\n";
      for (const CCBKeyframe& kf : sp.keyframes) {
        o << pad << "    at " << num(kf.time) << ' '
          << (kf.easing >= 0 && kf.easing < kCCBEasingCount ? kEasingNames[kf.easing] : "linear");
        if (ccbEasingHasOption(kf.easing)) o << ':' << num(kf.easingOpt);
        valueText(o, kf.value);
        o << '\n';
      }
      o << pad << "  }\n";
    }
  for (const CCBNodeDesc& c : n.children) nodeText(o, c, depth + 1);
  o << pad << "}\n";
}

}  // namespace

bool compileText(const std::string& text, const std::string& sourceName, CCBDocument& doc,
                 std::string& error) {
  doc = CCBDocument();
  Compiler compiler(text, sourceName);
  if (compiler.run(doc, error)) return true;
  doc = CCBDocument();
  return false;
}

std::string documentToText(const CCBDocument& doc) {
  std::ostringstream o;
  for (const CCBSequenceDesc& s : doc.sequences) {
    o << "sequence " << quote(s.name) << " id " << s.sequenceId << " duration " << num(s.duration);
    if (s.chainedSequenceId >= 0) o << " chained " << s.chainedSequenceId;
    if (s.sequenceId == doc.autoPlaySequenceId) o << " autoplay";
    o << '\n';
  }
  nodeText(o, doc.root, 0);
  return o.str();
}

}  // namespace ccbc
