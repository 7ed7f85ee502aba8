// A byte string as the networking layer sends it: a 16-bit big-endian length, then
// the bytes, byte-aligned, no terminator. The bytes are kept as given (UTF-8 as
// the caller wrote it).
#pragma once

#include <string>

namespace RakNet {

class BitStream;

class RakString {
 public:
  // Longest string a 16-bit length can carry; longer text is cut when serialised.
  static constexpr unsigned int kMaxSerializedLength = 0xFFFF;

  RakString() = default;
  RakString(const char* text) : text_(text ? text : "") {}  // NOLINT: implicit, as callers expect
  RakString(const std::string& text) : text_(text) {}  // NOLINT

  const char* C_String() const { return text_.c_str(); }
  const std::string& Str() const { return text_; }
  size_t GetLength() const { return text_.size(); }
  bool IsEmpty() const { return text_.empty(); }
  void Clear() { text_.clear(); }
  // printf-style formatting into this string.
  RakString& Set(const char* format, ...) __attribute__((format(printf, 2, 3)));

  RakString& operator=(const char* text) {
    text_ = text ? text : "";
    return *this;
  }
  RakString& operator+=(const RakString& other) {
    text_ += other.text_;
    return *this;
  }
  bool operator==(const RakString& o) const { return text_ == o.text_; }
  bool operator!=(const RakString& o) const { return text_ != o.text_; }
  bool operator<(const RakString& o) const { return text_ < o.text_; }

  void Serialize(BitStream* stream) const;
  static void Serialize(const char* text, BitStream* stream);
  // False (and this string unchanged) when the stream holds no complete string.
  bool Deserialize(BitStream* stream);

 private:
  std::string text_;
};

}  // namespace RakNet
