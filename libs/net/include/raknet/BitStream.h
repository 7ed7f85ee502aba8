// A growable buffer of bits. Numbers are written in network byte order (big-endian),
// bits most significant first; a bool takes one bit. Every read checks the remaining
// bits first: a read that cannot be satisfied returns false and leaves its target
// (and the read position) untouched.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

#include "raknet/RakNetTypes.h"
#include "raknet/RakString.h"

namespace RakNet {

class BitStream {
 public:
  BitStream();
  explicit BitStream(unsigned int initialBytesToAllocate);
  // Lays the stream over existing bytes. Without copyData the bytes are only read;
  // the first write copies them into storage of the stream's own.
  BitStream(unsigned char* data, unsigned int lengthInBytes, bool copyData);
  BitStream(const BitStream& other);
  BitStream& operator=(const BitStream& other);
  ~BitStream() = default;

  void Reset();
  void ResetReadPointer() { readOffset_ = 0; }
  void ResetWritePointer() { bitsUsed_ = 0; }

  // --- typed writes and reads ---
  template <class T>
  void Write(const T& value) {
    WriteValue(value);
  }
  template <class T>
  bool Read(T& value) {
    return ReadValue(value);
  }
  // Writes a value converted to another type first (a count as 16 bits, say).
  template <class Wire, class T>
  void WriteCasted(const T& value) {
    Write(static_cast<Wire>(value));
  }
  template <class Wire, class T>
  bool ReadCasted(T& value) {
    Wire wire;
    if (!Read(wire)) return false;
    value = static_cast<T>(wire);
    return true;
  }
  // Writes when writing is true, reads otherwise.
  template <class T>
  bool Serialize(bool writing, T& value) {
    if (writing) {
      Write(value);
      return true;
    }
    return Read(value);
  }

  // Raw bytes at the current bit position (not aligned).
  void Write(const char* input, unsigned int numberOfBytes);
  bool Read(char* output, unsigned int numberOfBytes);
  // A C string, written like a RakString.
  void Write(const char* text);
  void Write(char* text) { Write(static_cast<const char*>(text)); }
  // The unread bits of another stream.
  void Write(BitStream* other);
  void Write(BitStream& other) { Write(&other); }
  void Write(BitStream* other, BitSize_t numberOfBits);

  void WriteBits(const unsigned char* input, BitSize_t numberOfBits, bool rightAlignedBits = true);
  bool ReadBits(unsigned char* output, BitSize_t numberOfBits, bool alignBitsToRight = true);
  void Write0();
  void Write1();
  bool ReadBit(bool& bit);

  // Byte-aligned blocks: the position moves to the next byte boundary first.
  void WriteAlignedBytes(const unsigned char* input, unsigned int numberOfBytes);
  bool ReadAlignedBytes(unsigned char* output, unsigned int numberOfBytes);
  void AlignWriteToByteBoundary();
  bool AlignReadToByteBoundary();

  // --- positions ---
  void IgnoreBits(BitSize_t numberOfBits);
  void IgnoreBytes(unsigned int numberOfBytes) { IgnoreBits(numberOfBytes * 8u); }
  BitSize_t GetReadOffset() const { return readOffset_; }
  // Moves the read position; beyond the written bits it is clamped to the end.
  void SetReadOffset(BitSize_t offset) { readOffset_ = offset > bitsUsed_ ? bitsUsed_ : offset; }
  BitSize_t GetWriteOffset() const { return bitsUsed_; }
  void SetWriteOffset(BitSize_t offset);
  BitSize_t GetNumberOfBitsUsed() const { return bitsUsed_; }
  BitSize_t GetNumberOfBytesUsed() const { return (bitsUsed_ + 7) / 8; }
  BitSize_t GetNumberOfUnreadBits() const { return bitsUsed_ - readOffset_; }
  unsigned char* GetData() const { return data_; }
  // Copies the stream's bytes; the caller frees them with delete[].
  BitSize_t CopyData(unsigned char** out) const;
  void SetData(unsigned char* data);  // overwrites the used bytes in place

  // RakNet streams are big-endian on the wire.
  static bool DoEndianSwap();
  static bool IsNetworkOrder() { return true; }

 private:
  template <class T>
  void WriteValue(const T& value) {
    if constexpr (std::is_same_v<T, bool>) {
      if (value)
        Write1();
      else
        Write0();
    } else if constexpr (std::is_array_v<T>) {
      static_assert(std::is_same_v<std::remove_cv_t<std::remove_extent_t<T>>, char>,
                    "only character arrays are written as strings");
      Write(static_cast<const char*>(value));
    } else if constexpr (std::is_enum_v<T>) {
      WriteValue(static_cast<std::underlying_type_t<T>>(value));
    } else if constexpr (std::is_integral_v<T>) {
      unsigned char bytes[sizeof(T)];
      using U = std::make_unsigned_t<T>;
      U u = static_cast<U>(value);
      for (size_t i = 0; i < sizeof(T); ++i)
        bytes[sizeof(T) - 1 - i] = static_cast<unsigned char>(u >> (8 * i));
      WriteBits(bytes, sizeof(T) * 8, true);
    } else if constexpr (std::is_same_v<T, float>) {
      std::uint32_t bits;
      std::memcpy(&bits, &value, 4);
      WriteValue(bits);
    } else if constexpr (std::is_same_v<T, double>) {
      std::uint64_t bits;
      std::memcpy(&bits, &value, 8);
      WriteValue(bits);
    } else if constexpr (std::is_same_v<T, RakString>) {
      value.Serialize(this);
    } else if constexpr (std::is_same_v<T, RakNetGUID>) {
      WriteValue(value.g);
    } else if constexpr (std::is_same_v<T, SystemAddress>) {
      WriteValue(value.address);
      WriteValue(value.port);
    } else {
      static_assert(sizeof(T) == 0, "BitStream cannot write this type");
    }
  }

  template <class T>
  bool ReadValue(T& value) {
    if constexpr (std::is_same_v<T, bool>) {
      return ReadBit(value);
    } else if constexpr (std::is_enum_v<T>) {
      std::underlying_type_t<T> raw;
      if (!ReadValue(raw)) return false;
      value = static_cast<T>(raw);
      return true;
    } else if constexpr (std::is_integral_v<T>) {
      unsigned char bytes[sizeof(T)];
      if (!ReadBits(bytes, sizeof(T) * 8, true)) return false;
      using U = std::make_unsigned_t<T>;
      U u = 0;
      for (size_t i = 0; i < sizeof(T); ++i) u = static_cast<U>((u << 8) | bytes[i]);
      value = static_cast<T>(u);
      return true;
    } else if constexpr (std::is_same_v<T, float>) {
      std::uint32_t bits;
      if (!ReadValue(bits)) return false;
      std::memcpy(&value, &bits, 4);
      return true;
    } else if constexpr (std::is_same_v<T, double>) {
      std::uint64_t bits;
      if (!ReadValue(bits)) return false;
      std::memcpy(&value, &bits, 8);
      return true;
    } else if constexpr (std::is_same_v<T, RakString>) {
      return value.Deserialize(this);
    } else if constexpr (std::is_same_v<T, RakNetGUID>) {
      std::uint64_t g;
      if (!ReadValue(g)) return false;
      value.g = g;
      return true;
    } else if constexpr (std::is_same_v<T, SystemAddress>) {
      BitSize_t start = readOffset_;
      std::uint32_t a;
      std::uint16_t p;
      if (!ReadValue(a) || !ReadValue(p)) {
        readOffset_ = start;
        return false;
      }
      value.address = a;
      value.port = p;
      return true;
    } else {
      static_assert(sizeof(T) == 0, "BitStream cannot read this type");
      return false;
    }
  }

  void EnsureWritable(BitSize_t extraBits);

  std::vector<unsigned char> storage_;
  unsigned char* data_ = nullptr;  // storage_.data() or borrowed bytes
  bool owned_ = true;
  BitSize_t bitsUsed_ = 0;
  BitSize_t readOffset_ = 0;
};

}  // namespace RakNet
