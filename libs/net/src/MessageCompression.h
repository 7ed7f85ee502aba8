// The messages of one connection compressed as one deflate stream each way. Every
// message is compressed with what went before it as its dictionary and flushed to
// a byte boundary; the flush's four-byte tail (00 00 FF FF) is not sent, and the
// receiver puts it back. ENet hands a connection's reliable messages over whole and
// in order, so the two ends of a stream see the same bytes in the same order; the
// application's bytes are what they were before.
//
// The window is small (2 KB): the messages of a match repeat themselves at short
// range, and a larger window gains almost nothing. A flush leaves nothing of a
// stream but its window behind, so a connection keeps only the last 2 KB each way
// (4 KB at most) and each message is worked through with zlib streams that the
// connections of a thread share: a server holds thousands of connections, and
// zlib's own state is some 30 KB a connection.
#pragma once

#include <cstddef>
#include <vector>

namespace RakNet {
namespace peer {

class MessageCompression {
 public:
  static constexpr int kWindowBits = 11;
  static constexpr int kMemLevel = 4;
  static constexpr int kLevel = 6;
  static constexpr std::size_t kWindow = std::size_t{1} << kWindowBits;

  // Whether this thread's zlib streams could be set up.
  bool ready() const;
  // The reason decompress gives for a message beyond its bound (compare the pointer).
  static const char* const kTooLong;
  // The next message of the outgoing stream into `out` (replaced); false when zlib
  // fails, which leaves the stream unusable.
  bool compress(const unsigned char* data, std::size_t length, std::vector<unsigned char>& out);
  // The next message of the incoming stream into `out` (replaced); false, with the
  // reason in `why`, when the data is no message of the stream or the message would
  // pass `maxLength` bytes (the stream is unusable then too). Inflating stops as soon
  // as the message passes `maxLength`, and `out` never holds more than one byte beyond.
  bool decompress(const unsigned char* data, std::size_t length, std::size_t maxLength,
                  std::vector<unsigned char>& out, const char** why);

 private:
  // The last kWindow bytes of a stream: the dictionary of its next message.
  static void remember(std::vector<unsigned char>& window, const unsigned char* data, std::size_t length);

  std::vector<unsigned char> sent_;
  std::vector<unsigned char> received_;
  bool deflateBroken_ = false;
  bool inflateBroken_ = false;
};

}  // namespace peer
}  // namespace RakNet
