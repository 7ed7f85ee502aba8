#include "Handshake.h"

#include "raknet/MessageIdentifiers.h"

namespace RakNet {
namespace handshake {
namespace {
// "MVRK"; the version is mixed into the low bits.
constexpr std::uint32_t kMagic = 0x4D56524Bu;
constexpr std::uint32_t kMaxVersion = 0xFF;
// ID_INTERNAL_HANDSHAKE, kind, 8-byte GUID (big-endian); from version 2 the
// compression byte; from version 3 the 8-byte proof (big-endian).
constexpr std::size_t kGuidEnd = 10;
constexpr std::size_t kCompressionEnd = 11;
constexpr std::size_t kProofEnd = 19;

void put64(unsigned char* out, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) out[i] = static_cast<unsigned char>(v >> (56 - 8 * i));
}
std::uint64_t get64(const unsigned char* in) {
  std::uint64_t v = 0;
  for (int i = 0; i < 8; ++i) v = (v << 8) | in[i];
  return v;
}
}  // namespace

std::uint32_t connectData() { return kMagic ^ kVersion; }

std::uint32_t versionOf(std::uint32_t data) {
  std::uint32_t version = data ^ kMagic;
  return version >= 1 && version <= kMaxVersion ? version : 0;
}

std::size_t sizeOf(std::uint32_t version) {
  switch (version) {
    case 1: return kGuidEnd;
    case 2: return kCompressionEnd;
    case 3: return kProofEnd;
    default: return 0;
  }
}

bool usableGuid(std::uint64_t guid) { return guid != 0 && guid != ~static_cast<std::uint64_t>(0); }

std::vector<unsigned char> encode(const Greeting& greeting, std::uint32_t version) {
  std::vector<unsigned char> out(sizeOf(version));
  if (out.empty()) return out;
  out[0] = ID_INTERNAL_HANDSHAKE;
  out[1] = static_cast<unsigned char>(greeting.kind);
  put64(&out[2], greeting.guid);
  if (out.size() >= kCompressionEnd) out[10] = static_cast<unsigned char>(greeting.compression);
  if (out.size() >= kProofEnd) put64(&out[11], greeting.proof);
  return out;
}

bool decode(const unsigned char* data, std::size_t length, Greeting& out, const char** why,
            std::uint32_t version) {
  const char* ignored = nullptr;
  const char*& reason = why ? *why : ignored;
  const std::size_t size = sizeOf(version);
  if (!data || size == 0 || length != size || data[0] != ID_INTERNAL_HANDSHAKE) {
    reason = "not a greeting of this version";
    return false;
  }
  if (data[1] != static_cast<unsigned char>(Kind::Hello) &&
      data[1] != static_cast<unsigned char>(Kind::Welcome)) {
    reason = "unknown greeting kind";
    return false;
  }
  const std::uint64_t guid = get64(&data[2]);
  if (!usableGuid(guid)) {
    reason = "a GUID that names no peer";
    return false;
  }
  Compression compression = Compression::None;
  if (size >= kCompressionEnd) {
    if (data[10] != static_cast<unsigned char>(Compression::None) &&
        data[10] != static_cast<unsigned char>(Compression::Deflate)) {
      reason = "an unknown compression";
      return false;
    }
    compression = static_cast<Compression>(data[10]);
  }
  const std::uint64_t proof = size >= kProofEnd ? get64(&data[11]) : 0;
  const Kind kind = static_cast<Kind>(data[1]);
  if (size >= kProofEnd && kind == Kind::Hello && proof == 0) {
    reason = "a Hello without its proof";
    return false;
  }
  out.kind = kind;
  out.guid = guid;
  out.compression = compression;
  out.proof = proof;
  return true;
}

}  // namespace handshake
}  // namespace RakNet
