// The greeting that opens every connection of the peer, built and checked here and
// nowhere else. The transport's connect request carries connectData(): our protocol
// and the version of this greeting. Once the transport is up, the connecting side
// sends a Hello and the accepting side answers with a Welcome, each naming its
// sender's GUID. Whatever the greeting comes to carry (options, say) goes into
// Greeting, encode and decode, and raises kVersion: peers of different versions then
// refuse each other at the connect request, with a log line on both sides.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace RakNet {
namespace handshake {

// 2: the greeting agrees on compression.
constexpr std::uint32_t kVersion = 2;

// The data of our connect request.
std::uint32_t connectData();
// The greeting version that a connect request's data speaks, or 0 when it is not
// our protocol at all.
std::uint32_t versionOf(std::uint32_t connectData);

enum class Kind : unsigned char { Hello = 1, Welcome = 2 };

// How the messages after the greeting travel: the Hello asks for one, the Welcome
// grants it or None, and from then on both sides send that way.
enum class Compression : unsigned char { None = 0, Deflate = 1 };

struct Greeting {
  Kind kind = Kind::Hello;
  std::uint64_t guid = 0;
  Compression compression = Compression::None;
};

// Whether a GUID can name a peer: 0 and all ones never do.
bool usableGuid(std::uint64_t guid);

// The whole message, identifier byte first.
std::vector<unsigned char> encode(const Greeting& greeting);
// Reads a whole message; false, with the reason in `why`, when it is not a
// well-formed greeting naming a usable GUID.
bool decode(const unsigned char* data, std::size_t length, Greeting& out, const char** why);

}  // namespace handshake
}  // namespace RakNet
