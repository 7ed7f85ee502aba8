#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "raknet/BitStream.h"
#include "raknet/RakString.h"

using RakNet::BitStream;
using RakNet::RakString;

namespace {

std::vector<unsigned char> bytesOf(const BitStream& bs) {
  return std::vector<unsigned char>(bs.GetData(), bs.GetData() + bs.GetNumberOfBytesUsed());
}

TEST(BitStream, ProtocolVersionMessageIsIdThenBigEndianInt) {
  BitStream bs;
  bs.Write(static_cast<unsigned char>(0xE7));
  bs.Write(static_cast<std::int32_t>(9));
  EXPECT_EQ(bytesOf(bs), (std::vector<unsigned char>{0xE7, 0x00, 0x00, 0x00, 0x09}));
}

TEST(BitStream, SelectedBoardElemIsNineBytesWithBigEndianId) {
  BitStream bs;
  bs.Write(static_cast<unsigned char>(0x84));
  bs.Write(static_cast<std::uint64_t>(0x0102030405060708ull));
  EXPECT_EQ(bytesOf(bs), (std::vector<unsigned char>{0x84, 1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(BitStream, StringIsSixteenBitLengthThenBytes) {
  BitStream bs;
  bs.Write(static_cast<unsigned char>(0xF7));
  bs.Write(RakString("hi %d"));
  EXPECT_EQ(bytesOf(bs), (std::vector<unsigned char>{0xF7, 0x00, 0x05, 'h', 'i', ' ', '%', 'd'}));
  BitStream in(bs.GetData(), bs.GetNumberOfBytesUsed(), false);
  unsigned char id = 0;
  RakString text;
  ASSERT_TRUE(in.Read(id));
  ASSERT_TRUE(in.Read(text));
  EXPECT_STREQ(text.C_String(), "hi %d");
  EXPECT_EQ(in.GetNumberOfUnreadBits(), 0u);
}

TEST(BitStream, StringAfterABitStartsOnTheNextByte) {
  BitStream bs;
  bs.Write(true);
  bs.Write(RakString("ab"));
  // 1 bit, then 16 length bits straddling bytes, then aligned bytes.
  EXPECT_EQ(bytesOf(bs), (std::vector<unsigned char>{0x80, 0x01, 0x00, 'a', 'b'}));
  BitStream in(bs.GetData(), bs.GetNumberOfBytesUsed(), false);
  bool b = false;
  RakString s;
  ASSERT_TRUE(in.Read(b));
  ASSERT_TRUE(in.Read(s));
  EXPECT_TRUE(b);
  EXPECT_EQ(s.Str(), "ab");
}

TEST(BitStream, MixedValuesRoundTripAtOddBitOffsets) {
  BitStream bs;
  bs.Write(true);
  bs.Write(static_cast<std::int16_t>(-2));
  bs.Write(false);
  bs.Write(3.5f);
  bs.Write(-0.25);
  bs.Write(static_cast<std::uint64_t>(0xFFFFFFFFFFFFFFFFull));
  bs.Write(static_cast<std::int32_t>(-123456));
  unsigned char three = 5;  // the low three bits: 101
  bs.WriteBits(&three, 3, true);
  bs.Write(static_cast<unsigned char>(0xAB));

  BitStream in(bs.GetData(), bs.GetNumberOfBytesUsed(), false);
  bool b1 = false, b2 = true;
  std::int16_t s = 0;
  float f = 0;
  double d = 0;
  std::uint64_t u = 0;
  std::int32_t i = 0;
  unsigned char bits = 0, byte = 0;
  ASSERT_TRUE(in.Read(b1));
  ASSERT_TRUE(in.Read(s));
  ASSERT_TRUE(in.Read(b2));
  ASSERT_TRUE(in.Read(f));
  ASSERT_TRUE(in.Read(d));
  ASSERT_TRUE(in.Read(u));
  ASSERT_TRUE(in.Read(i));
  ASSERT_TRUE(in.ReadBits(&bits, 3, true));
  ASSERT_TRUE(in.Read(byte));
  EXPECT_TRUE(b1);
  EXPECT_EQ(s, -2);
  EXPECT_FALSE(b2);
  EXPECT_EQ(f, 3.5f);
  EXPECT_EQ(d, -0.25);
  EXPECT_EQ(u, 0xFFFFFFFFFFFFFFFFull);
  EXPECT_EQ(i, -123456);
  EXPECT_EQ(bits, 5);
  EXPECT_EQ(byte, 0xAB);
}

// Whole bytes written after 1 to 7 bits straddle two bytes, most significant bit
// first, and overwrite whatever the stream held there before.
TEST(BitStream, BytesAtEveryBitOffsetLandMostSignificantBitFirst) {
  for (unsigned offset = 1; offset < 8; ++offset) {
    BitStream bs;
    bs.Write(static_cast<std::uint16_t>(0xFFFF));  // leaves ones behind the offset
    bs.SetWriteOffset(offset);
    bs.Write(static_cast<unsigned char>(0xA5));
    bs.Write(static_cast<unsigned char>(0x3C));
    const unsigned pattern = (0xFFFFu << (16 - offset) & 0xFFFFu) << 8 | 0xA53Cu << (8 - offset);
    const unsigned char expected[3] = {static_cast<unsigned char>(pattern >> 16),
                                       static_cast<unsigned char>(pattern >> 8), static_cast<unsigned char>(pattern)};
    ASSERT_EQ(bs.GetNumberOfBitsUsed(), offset + 16) << offset;
    EXPECT_EQ(bs.GetData()[0], expected[0]) << offset;
    EXPECT_EQ(bs.GetData()[1], expected[1]) << offset;
    EXPECT_EQ(bs.GetData()[2] & (0xFF << (8 - offset)), expected[2]) << offset;
  }
}

TEST(BitStream, FailedReadsLeaveTargetAndPositionUntouched) {
  const unsigned char data[] = {0x00, 0x00, 0x01};
  BitStream in(const_cast<unsigned char*>(data), sizeof data, false);
  std::int32_t value = 77;
  EXPECT_FALSE(in.Read(value));
  EXPECT_EQ(value, 77);
  EXPECT_EQ(in.GetReadOffset(), 0u);

  // A string whose length promises more bytes than there are.
  const unsigned char shortString[] = {0x00, 0x09, 'a', 'b'};
  BitStream s(const_cast<unsigned char*>(shortString), sizeof shortString, false);
  RakString text("keep");
  EXPECT_FALSE(s.Read(text));
  EXPECT_EQ(text.Str(), "keep");
  EXPECT_EQ(s.GetReadOffset(), 0u);

  char raw[4] = {'x', 'x', 'x', 'x'};
  EXPECT_FALSE(s.Read(raw, 5));
  EXPECT_EQ(raw[0], 'x');

  BitStream empty;
  bool flag = true;
  EXPECT_FALSE(empty.Read(flag));
  EXPECT_TRUE(flag);
}

TEST(BitStream, OffsetsIgnoreAndAlignment) {
  BitStream bs;
  bs.Write(static_cast<unsigned char>(1));
  bs.Write(static_cast<unsigned char>(2));
  bs.Write(static_cast<unsigned char>(3));
  EXPECT_EQ(bs.GetNumberOfBytesUsed(), 3u);
  EXPECT_EQ(bs.GetNumberOfBitsUsed(), 24u);
  bs.IgnoreBytes(1);
  unsigned char c = 0;
  ASSERT_TRUE(bs.Read(c));
  EXPECT_EQ(c, 2);
  bs.SetReadOffset(0);
  ASSERT_TRUE(bs.Read(c));
  EXPECT_EQ(c, 1);
  bs.IgnoreBytes(100);  // past the end: clamps
  EXPECT_EQ(bs.GetNumberOfUnreadBits(), 0u);

  BitStream a;
  a.Write(true);
  const unsigned char block[] = {9, 8};
  a.WriteAlignedBytes(block, 2);
  EXPECT_EQ(bytesOf(a), (std::vector<unsigned char>{0x80, 9, 8}));
  bool bit = false;
  unsigned char out[2] = {0, 0};
  ASSERT_TRUE(a.Read(bit));
  ASSERT_TRUE(a.ReadAlignedBytes(out, 2));
  EXPECT_EQ(out[1], 8);

  // An empty aligned block moves to the byte boundary on both sides, so what follows
  // it reads back in place.
  BitStream e;
  e.Write(true);
  e.WriteAlignedBytes(block, 0);
  e.Write(static_cast<unsigned char>(0x5A));
  ASSERT_TRUE(e.Read(bit));
  ASSERT_TRUE(e.ReadAlignedBytes(out, 0));
  ASSERT_TRUE(e.Read(c));
  EXPECT_EQ(c, 0x5A);
}

TEST(BitStream, WritingToBorrowedBytesCopiesThemFirst) {
  unsigned char data[] = {0x11, 0x22};
  BitStream bs(data, sizeof data, false);
  bs.Write(static_cast<unsigned char>(0x33));
  EXPECT_EQ(bytesOf(bs), (std::vector<unsigned char>{0x11, 0x22, 0x33}));
  EXPECT_EQ(data[0], 0x11);
  BitStream copy(bs);
  EXPECT_EQ(bytesOf(copy), bytesOf(bs));
}

TEST(BitStream, LongStringsAreCutToTheSixteenBitLength) {
  std::string big(70000, 'z');
  BitStream bs;
  bs.Write(RakString(big));
  EXPECT_EQ(bs.GetNumberOfBytesUsed(), 2u + 65535u);
  RakString back;
  ASSERT_TRUE(bs.Read(back));
  EXPECT_EQ(back.GetLength(), 65535u);
}

TEST(RakString, FormatsLikePrintf) {
  RakString s;
  s.Set("%s-%d", "a", 7);
  EXPECT_EQ(s.Str(), "a-7");
}

}  // namespace
