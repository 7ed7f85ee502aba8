// The bit stream. The input is a program (a length byte and that many op bytes) and the
// bytes it reads: each op reads a value of some kind at the current bit position; what was
// read is written to a second stream, which at the end must read back the same values.
#include <cstring>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "raknet/BitStream.h"
#include "raknet/RakNetTypes.h"
#include "raknet/RakString.h"

using namespace RakNet;

namespace {

// The kinds read and written by the stream's own typed Read and Write.
#define MVFUZZ_PLAIN_KINDS(X) \
  X(0, std::uint8_t)          \
  X(1, std::int16_t)          \
  X(2, std::uint32_t)         \
  X(3, std::int64_t)          \
  X(4, float)                 \
  X(5, double)

// One value read and written again: its kind, its size where it has one, its bytes.
struct Step {
  int kind;
  unsigned int count;
  std::vector<unsigned char> bytes;
};

template <class T>
std::vector<unsigned char> bytesOf(const T& v) {
  std::vector<unsigned char> b(sizeof(T));
  std::memcpy(b.data(), &v, sizeof(T));
  return b;
}

// Reads (from `in`) one value of the step's kind, filling its bytes; false when the stream
// has no such value.
bool readStep(BitStream& in, Step& s) {
  switch (s.kind) {
#define MVFUZZ_VALUE(K, T)                   \
  case K: {                                  \
    T v{};                                   \
    if (!in.Read(v)) return false;           \
    s.bytes = bytesOf(v);                    \
    return true;                             \
  }
    MVFUZZ_PLAIN_KINDS(MVFUZZ_VALUE)
#undef MVFUZZ_VALUE
    case 6: {
      bool bit = false;
      if (!in.Read(bit)) return false;
      s.bytes = {static_cast<unsigned char>(bit)};
      return true;
    }
    case 7: {  // up to 64 bits, right-aligned
      s.bytes.assign((s.count + 7) / 8, 0);
      return in.ReadBits(s.bytes.data(), s.count, true);
    }
    case 8: {
      s.bytes.assign(s.count, 0);
      return in.ReadAlignedBytes(s.bytes.data(), s.count);
    }
    case 9: {
      s.bytes.assign(s.count, 0);
      return in.Read(reinterpret_cast<char*>(s.bytes.data()), s.count);
    }
    case 10: {
      RakString text;
      if (!in.Read(text)) return false;
      s.bytes.assign(text.Str().begin(), text.Str().end());
      return true;
    }
    case 11: {
      RakNetGUID guid;
      if (!in.Read(guid)) return false;
      s.bytes = bytesOf(guid.g);
      return true;
    }
    case 12: {
      SystemAddress address;
      if (!in.Read(address)) return false;
      s.bytes = bytesOf(address.address);
      std::vector<unsigned char> port = bytesOf(address.port);
      s.bytes.insert(s.bytes.end(), port.begin(), port.end());
      return true;
    }
  }
  return false;
}

void writeStep(BitStream& out, const Step& s) {
  switch (s.kind) {
#define MVFUZZ_VALUE(K, T)                            \
  case K: {                                           \
    T v;                                              \
    std::memcpy(&v, s.bytes.data(), sizeof(T));       \
    out.Write(v);                                     \
    return;                                           \
  }
    MVFUZZ_PLAIN_KINDS(MVFUZZ_VALUE)
#undef MVFUZZ_VALUE
    case 6: out.Write(s.bytes[0] != 0); return;
    case 7: out.WriteBits(s.bytes.data(), s.count, true); return;
    case 8: out.WriteAlignedBytes(s.bytes.data(), s.count); return;
    case 9: out.Write(reinterpret_cast<const char*>(s.bytes.data()), s.count); return;
    case 10: out.Write(RakString(std::string(s.bytes.begin(), s.bytes.end()))); return;
    case 11: {
      RakNetGUID guid;
      std::memcpy(&guid.g, s.bytes.data(), sizeof(guid.g));
      out.Write(guid);
      return;
    }
    case 12: {
      SystemAddress address;
      std::memcpy(&address.address, s.bytes.data(), sizeof(address.address));
      std::memcpy(&address.port, s.bytes.data() + sizeof(address.address), sizeof(address.port));
      out.Write(address);
      return;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mvfuzz::InputCursor cursor(data, size);
  std::string ops = cursor.shortPiece();
  std::string payload = cursor.rest();
  BitStream in(reinterpret_cast<unsigned char*>(payload.data()),
               static_cast<unsigned int>(payload.size()), false);
  BitStream out;
  std::vector<Step> steps;
  for (unsigned char op : ops) {
    int kind = op % 16;
    unsigned int arg = op / 16u;
    switch (kind) {
      case 13: in.IgnoreBits(arg * 3); continue;
      case 14: in.AlignReadToByteBoundary(); continue;
      case 15: {  // a copy reads on alone; the original keeps its place
        BitStream copy(in);
        unsigned char b;
        copy.ReadBits(&b, 1 + arg % 8, true);
        BitStream assigned;
        assigned = copy;
        BitStream rest;
        rest.Write(&assigned, assigned.GetNumberOfUnreadBits() / 2);
        continue;
      }
    }
    Step s{kind, kind == 7 ? 1 + arg * 4 : arg, {}};
    if (!readStep(in, s)) {
      MVFUZZ_CHECK(in.GetReadOffset() <= in.GetNumberOfBitsUsed());
      continue;
    }
    writeStep(out, s);
    steps.push_back(std::move(s));
  }
  MVFUZZ_CHECK(in.GetReadOffset() <= in.GetNumberOfBitsUsed());
  // Everything written reads back as it was.
  out.ResetReadPointer();
  for (const Step& s : steps) {
    Step back{s.kind, s.count, {}};
    MVFUZZ_CHECK(readStep(out, back));
    if (s.kind == 7 && s.count % 8) {  // the unused high bits of the last byte are not data
      unsigned char mask = static_cast<unsigned char>((1u << (s.count % 8)) - 1);
      MVFUZZ_CHECK((back.bytes.back() & mask) == (s.bytes.back() & mask));
      back.bytes.back() = s.bytes.back();
    }
    MVFUZZ_CHECK(back.bytes == s.bytes);
  }
  unsigned char* copy = nullptr;
  BitSize_t bits = out.CopyData(&copy);
  MVFUZZ_CHECK(bits == out.GetNumberOfBitsUsed());
  delete[] copy;
  return 0;
}
