// What a peer reads from a stranger before and after the greeting: the greeting itself (the
// input's first bytes, as long as a greeting) and a connection's compressed messages (then, each a 16-bit
// length and its bytes). A greeting that decodes encodes to the same bytes; every message the
// stream gives back is within its bound, is what one plain inflate stream over the same
// packets gives, and compresses and comes back the same through a fresh pair of streams;
// a stream that refused a message gives no more.
#include <zlib.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "FuzzSupport.h"
#include "Handshake.h"
#include "MessageCompression.h"

using namespace RakNet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const size_t greetingSize = std::min<size_t>(size, handshake::sizeOf(handshake::kVersion));
  handshake::Greeting greeting;
  const char* why = nullptr;
  if (handshake::decode(data, greetingSize, greeting, &why)) {
    const std::vector<unsigned char> again = handshake::encode(greeting);
    MVFUZZ_CHECK(std::equal(again.begin(), again.end(), data, data + greetingSize));
  } else {
    MVFUZZ_CHECK(why != nullptr);
  }

  constexpr size_t kMaxMessage = 64 * 1024;
  peer::MessageCompression stream, sender, receiver;
  std::vector<unsigned char> message, wire, back, plainOut(kMaxMessage + 1);
  z_stream plain{};
  MVFUZZ_CHECK(inflateInit2(&plain, -peer::MessageCompression::kWindowBits) == Z_OK);
  const std::unique_ptr<z_stream, int (*)(z_stream*)> plainEnd(&plain, inflateEnd);
  bool broken = false;
  size_t at = greetingSize;
  while (at + 2 <= size) {
    size_t length = std::min<size_t>(static_cast<size_t>(data[at]) << 8 | data[at + 1], size - at - 2);
    at += 2;
    why = nullptr;
    if (stream.decompress(data + at, length, kMaxMessage, message, &why)) {
      MVFUZZ_CHECK(!broken);
      MVFUZZ_CHECK(!message.empty() && message.size() <= kMaxMessage);
      std::vector<unsigned char> packet(data + at, data + at + length);
      packet.insert(packet.end(), {0x00, 0x00, 0xFF, 0xFF});
      plain.next_in = packet.data();
      plain.avail_in = static_cast<uInt>(packet.size());
      plain.next_out = plainOut.data();
      plain.avail_out = static_cast<uInt>(plainOut.size());
      inflate(&plain, Z_SYNC_FLUSH);
      MVFUZZ_CHECK(plain.avail_in == 0 &&
                   std::equal(message.begin(), message.end(), plainOut.begin(), plainOut.end() - plain.avail_out));
      MVFUZZ_CHECK(sender.compress(message.data(), message.size(), wire));
      MVFUZZ_CHECK(receiver.decompress(wire.data(), wire.size(), kMaxMessage, back, nullptr));
      MVFUZZ_CHECK(back == message);
    } else {
      MVFUZZ_CHECK(why != nullptr && message.empty());
      broken = true;
    }
    at += length;
  }
  return 0;
}
