#include "raknet/BitStream.h"

#include <algorithm>

namespace RakNet {

namespace {
constexpr BitSize_t kMaxBits = 0x7FFFFFF0u;  // keeps every size computation inside 32 bits
constexpr size_t kFirstAllocation = 64;
}

BitStream::BitStream() { data_ = storage_.data(); }

BitStream::BitStream(unsigned int initialBytesToAllocate) {
  storage_.reserve(initialBytesToAllocate);
  data_ = storage_.data();
}

BitStream::BitStream(unsigned char* data, unsigned int lengthInBytes, bool copyData) {
  if (lengthInBytes > kMaxBits / 8) lengthInBytes = 0;
  if (copyData || data == nullptr) {
    if (data && lengthInBytes) storage_.assign(data, data + lengthInBytes);
    data_ = storage_.data();
    owned_ = true;
  } else {
    data_ = data;
    owned_ = false;
  }
  bitsUsed_ = (data || copyData) ? lengthInBytes * 8u : 0;
  if (!data) bitsUsed_ = 0;
}

BitStream::BitStream(const BitStream& other)
    : storage_(other.data_, other.data_ + other.GetNumberOfBytesUsed()),
      bitsUsed_(other.bitsUsed_),
      readOffset_(other.readOffset_) {
  data_ = storage_.data();
}

BitStream& BitStream::operator=(const BitStream& other) {
  if (this == &other) return *this;
  std::vector<unsigned char> copy(other.data_, other.data_ + other.GetNumberOfBytesUsed());
  storage_.swap(copy);
  data_ = storage_.data();
  owned_ = true;
  bitsUsed_ = other.bitsUsed_;
  readOffset_ = other.readOffset_;
  return *this;
}

void BitStream::Reset() {
  if (!owned_) {
    storage_.clear();
    owned_ = true;
  }
  storage_.clear();
  data_ = storage_.data();
  bitsUsed_ = 0;
  readOffset_ = 0;
}

void BitStream::EnsureWritable(BitSize_t extraBits) {
  size_t neededBytes = (static_cast<size_t>(bitsUsed_) + extraBits + 7) / 8;
  if (!owned_) {
    std::vector<unsigned char> copy(data_, data_ + GetNumberOfBytesUsed());
    storage_.swap(copy);
    owned_ = true;
  }
  // The storage grows in steps, zeroed; the bytes past the used ones stay zero
  // for the writes to come.
  if (storage_.size() < neededBytes)
    storage_.resize(std::max({neededBytes, storage_.size() * 2, kFirstAllocation}), 0);
  data_ = storage_.data();
}

void BitStream::SetWriteOffset(BitSize_t offset) {
  if (offset > bitsUsed_) {
    EnsureWritable(offset - bitsUsed_);
  }
  bitsUsed_ = offset;
  if (readOffset_ > bitsUsed_) readOffset_ = bitsUsed_;
}

void BitStream::WriteBits(const unsigned char* input, BitSize_t numberOfBits, bool rightAlignedBits) {
  if (numberOfBits == 0 || input == nullptr) return;
  if (numberOfBits > kMaxBits - bitsUsed_) return;  // refuse absurd sizes rather than wrap
  EnsureWritable(numberOfBits);
  // The whole bytes of the input: copied onto a byte boundary, else each split over
  // two bytes.
  const BitSize_t whole = numberOfBits / 8;
  const unsigned shift = bitsUsed_ & 7;
  if (shift == 0) {
    std::memcpy(data_ + bitsUsed_ / 8, input, whole);
  } else {
    const unsigned char keep = static_cast<unsigned char>(0xFF << (8 - shift));
    for (BitSize_t i = 0; i < whole; ++i) {
      unsigned char* dst = data_ + (bitsUsed_ + i * 8) / 8;
      dst[0] = static_cast<unsigned char>((dst[0] & keep) | (input[i] >> shift));
      dst[1] = static_cast<unsigned char>((dst[1] & ~keep) | (input[i] << (8 - shift)));
    }
  }
  bitsUsed_ += whole * 8;
  // The bits of a partial last byte, one by one.
  const BitSize_t partial = numberOfBits & 7;
  for (BitSize_t srcBit = whole * 8; srcBit < numberOfBits; ++srcBit) {
    // Counted from the most significant bit; a right-aligned partial last byte keeps
    // its bits at the low end.
    unsigned bitInByte = srcBit & 7;
    if (rightAlignedBits) bitInByte += 8 - partial;
    bool bit = (input[whole] >> (7 - bitInByte)) & 1;
    unsigned char& dst = data_[bitsUsed_ / 8];
    unsigned dstBit = 7 - (bitsUsed_ & 7);
    if (bit)
      dst = static_cast<unsigned char>(dst | (1u << dstBit));
    else
      dst = static_cast<unsigned char>(dst & ~(1u << dstBit));
    ++bitsUsed_;
  }
}

bool BitStream::ReadBits(unsigned char* output, BitSize_t numberOfBits, bool alignBitsToRight) {
  if (numberOfBits == 0) return true;
  if (output == nullptr || numberOfBits > GetNumberOfUnreadBits()) return false;
  if ((readOffset_ & 7) == 0 && (numberOfBits & 7) == 0) {
    std::memcpy(output, data_ + readOffset_ / 8, numberOfBits / 8);
    readOffset_ += numberOfBits;
    return true;
  }
  const BitSize_t partial = numberOfBits & 7;
  std::memset(output, 0, (numberOfBits + 7) / 8);
  for (BitSize_t i = 0; i < numberOfBits; ++i) {
    bool bit = (data_[readOffset_ / 8] >> (7 - (readOffset_ & 7))) & 1;
    BitSize_t byteIndex = i / 8;
    unsigned bitInByte = i & 7;
    if (alignBitsToRight && partial && byteIndex == numberOfBits / 8) bitInByte += 8 - partial;
    if (bit) output[byteIndex] = static_cast<unsigned char>(output[byteIndex] | (1u << (7 - bitInByte)));
    ++readOffset_;
  }
  return true;
}

void BitStream::Write0() {
  unsigned char zero = 0;
  WriteBits(&zero, 1, true);
}

void BitStream::Write1() {
  unsigned char one = 1;
  WriteBits(&one, 1, true);
}

bool BitStream::ReadBit(bool& bit) {
  if (GetNumberOfUnreadBits() < 1) return false;
  bit = (data_[readOffset_ / 8] >> (7 - (readOffset_ & 7))) & 1;
  ++readOffset_;
  return true;
}

void BitStream::Write(const char* input, unsigned int numberOfBytes) {
  if (numberOfBytes > kMaxBits / 8) return;
  WriteBits(reinterpret_cast<const unsigned char*>(input), numberOfBytes * 8u, true);
}

bool BitStream::Read(char* output, unsigned int numberOfBytes) {
  if (numberOfBytes > kMaxBits / 8) return false;
  return ReadBits(reinterpret_cast<unsigned char*>(output), numberOfBytes * 8u, true);
}

void BitStream::Write(const char* text) { RakString::Serialize(text, this); }

void BitStream::Write(BitStream* other) {
  if (!other) return;
  Write(other, other->GetNumberOfUnreadBits());
}

void BitStream::Write(BitStream* other, BitSize_t numberOfBits) {
  if (!other || numberOfBits > other->GetNumberOfUnreadBits()) return;
  std::vector<unsigned char> tmp((numberOfBits + 7) / 8);
  if (other->ReadBits(tmp.data(), numberOfBits, false)) WriteBits(tmp.data(), numberOfBits, false);
}

void BitStream::AlignWriteToByteBoundary() {
  BitSize_t pad = (8 - (bitsUsed_ & 7)) & 7;
  if (pad) {
    unsigned char zero = 0;
    WriteBits(&zero, pad, true);
  }
}

bool BitStream::AlignReadToByteBoundary() {
  BitSize_t aligned = (readOffset_ + 7) & ~static_cast<BitSize_t>(7);
  if (aligned > bitsUsed_) return false;
  readOffset_ = aligned;
  return true;
}

void BitStream::WriteAlignedBytes(const unsigned char* input, unsigned int numberOfBytes) {
  AlignWriteToByteBoundary();
  Write(reinterpret_cast<const char*>(input), numberOfBytes);
}

bool BitStream::ReadAlignedBytes(unsigned char* output, unsigned int numberOfBytes) {
  // An empty block still moves to the byte boundary, as its writing did.
  if (numberOfBytes == 0) return AlignReadToByteBoundary();
  BitSize_t start = readOffset_;
  if (!AlignReadToByteBoundary()) return false;
  if (!Read(reinterpret_cast<char*>(output), numberOfBytes)) {
    readOffset_ = start;
    return false;
  }
  return true;
}

void BitStream::IgnoreBits(BitSize_t numberOfBits) {
  readOffset_ = numberOfBits > GetNumberOfUnreadBits() ? bitsUsed_ : readOffset_ + numberOfBits;
}

BitSize_t BitStream::CopyData(unsigned char** out) const {
  size_t n = GetNumberOfBytesUsed();
  *out = new unsigned char[n ? n : 1];
  if (n) std::memcpy(*out, data_, n);
  return bitsUsed_;
}

void BitStream::SetData(unsigned char* data) {
  if (!data || bitsUsed_ == 0) return;
  EnsureWritable(0);
  std::memcpy(data_, data, GetNumberOfBytesUsed());
}

bool BitStream::DoEndianSwap() {
  const std::uint16_t probe = 1;
  unsigned char first;
  std::memcpy(&first, &probe, 1);
  return first == 1;
}

}  // namespace RakNet
