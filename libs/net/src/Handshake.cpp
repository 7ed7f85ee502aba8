#include "Handshake.h"

#include "raknet/MessageIdentifiers.h"

namespace RakNet {
namespace handshake {
namespace {
// "MVRK"; the version is mixed into the low bits.
constexpr std::uint32_t kMagic = 0x4D56524Bu;
constexpr std::uint32_t kMaxVersion = 0xFF;
// ID_INTERNAL_HANDSHAKE, kind, 8-byte GUID (big-endian), compression.
constexpr std::size_t kSize = 11;
}  // namespace

std::uint32_t connectData() { return kMagic ^ kVersion; }

std::uint32_t versionOf(std::uint32_t data) {
  std::uint32_t version = data ^ kMagic;
  return version >= 1 && version <= kMaxVersion ? version : 0;
}

bool usableGuid(std::uint64_t guid) { return guid != 0 && guid != ~static_cast<std::uint64_t>(0); }

std::vector<unsigned char> encode(const Greeting& greeting) {
  std::vector<unsigned char> out(kSize);
  out[0] = ID_INTERNAL_HANDSHAKE;
  out[1] = static_cast<unsigned char>(greeting.kind);
  for (int i = 0; i < 8; ++i) out[2 + i] = static_cast<unsigned char>(greeting.guid >> (56 - 8 * i));
  out[10] = static_cast<unsigned char>(greeting.compression);
  return out;
}

bool decode(const unsigned char* data, std::size_t length, Greeting& out, const char** why) {
  const char* ignored = nullptr;
  const char*& reason = why ? *why : ignored;
  if (!data || length != kSize || data[0] != ID_INTERNAL_HANDSHAKE) {
    reason = "not a greeting of this version";
    return false;
  }
  if (data[1] != static_cast<unsigned char>(Kind::Hello) &&
      data[1] != static_cast<unsigned char>(Kind::Welcome)) {
    reason = "unknown greeting kind";
    return false;
  }
  std::uint64_t guid = 0;
  for (int i = 0; i < 8; ++i) guid = (guid << 8) | data[2 + i];
  if (!usableGuid(guid)) {
    reason = "a GUID that names no peer";
    return false;
  }
  if (data[10] != static_cast<unsigned char>(Compression::None) &&
      data[10] != static_cast<unsigned char>(Compression::Deflate)) {
    reason = "an unknown compression";
    return false;
  }
  out.kind = static_cast<Kind>(data[1]);
  out.guid = guid;
  out.compression = static_cast<Compression>(data[10]);
  return true;
}

}  // namespace handshake
}  // namespace RakNet
