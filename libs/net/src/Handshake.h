// The greeting that opens every connection of the peer, built and checked here and
// nowhere else. The transport's connect request carries connectData(): our protocol
// and the version of this greeting. Once the transport is up, the connecting side
// sends a Hello and the accepting side answers with a Welcome, each naming its
// sender's GUID. Whatever the greeting comes to carry (options, say) goes into
// Greeting, encode and decode, and raises kVersion. Peers of different versions
// refuse each other at the connect request, with a log line on both sides, unless
// the accepting side is told what to say to older ones (RakPeer's farewell): it then
// greets them in their own version's layout, which is why every older layout stays
// readable here. libs/net/PROTOCOL.md describes the bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace RakNet {
namespace handshake {

// 1: kind and GUID. 2: the greeting agrees on compression. 3: the Hello proves
// which peer it comes from (a reconnecting peer may take its GUID back).
constexpr std::uint32_t kVersion = 3;
constexpr std::uint32_t kOldestVersion = 1;

// The data of our connect request.
std::uint32_t connectData();
// The greeting version that a connect request's data speaks, or 0 when it is not
// our protocol at all.
std::uint32_t versionOf(std::uint32_t connectData);
// The length of a greeting of a version we know (0 for one we do not).
std::size_t sizeOf(std::uint32_t version);

enum class Kind : unsigned char { Hello = 1, Welcome = 2 };

// How the messages after the greeting travel: the Hello asks for one, the Welcome
// grants it or None, and from then on both sides send that way.
enum class Compression : unsigned char { None = 0, Deflate = 1 };

struct Greeting {
  Kind kind = Kind::Hello;
  std::uint64_t guid = 0;
  Compression compression = Compression::None;
  // A Hello's secret of the peer that sends it, drawn with its GUID and shown to
  // no one but those it connects to: whoever shows it again is the same peer. A
  // Welcome's is 0.
  std::uint64_t proof = 0;
};

// Whether a GUID can name a peer: 0 and all ones never do.
bool usableGuid(std::uint64_t guid);

// The whole message, identifier byte first, in the layout of `version` (fields that
// version lacks are left out).
std::vector<unsigned char> encode(const Greeting& greeting, std::uint32_t version = kVersion);
// Reads a whole message of `version`; false, with the reason in `why`, when it is not
// a well-formed greeting naming a usable GUID (and, for a Hello of this version, a proof).
bool decode(const unsigned char* data, std::size_t length, Greeting& out, const char** why,
            std::uint32_t version = kVersion);

}  // namespace handshake
}  // namespace RakNet
