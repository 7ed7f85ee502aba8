// The messages of one connection compressed as one deflate stream each way. Every
// message is compressed with what went before it as its dictionary and flushed to
// a byte boundary; the flush's four-byte tail (00 00 FF FF) is not sent, and the
// receiver puts it back. ENet hands a connection's reliable messages over whole and
// in order, so the two ends of a stream see the same bytes in the same order; the
// application's bytes are what they were before.
//
// The window is small (2 KB), so that a server with many connections keeps little
// per connection (about 30 KB for both directions): the messages of a match repeat
// themselves at short range, and a larger window gains almost nothing.
#pragma once

#include <zlib.h>

#include <cstddef>
#include <vector>

namespace RakNet {
namespace peer {

class MessageCompression {
 public:
  static constexpr int kWindowBits = 11;
  static constexpr int kMemLevel = 4;
  static constexpr int kLevel = 6;

  MessageCompression();
  ~MessageCompression();
  MessageCompression(const MessageCompression&) = delete;
  MessageCompression& operator=(const MessageCompression&) = delete;

  // Both streams could be set up.
  bool ready() const { return deflateReady_ && inflateReady_; }
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
  z_stream deflate_{};
  z_stream inflate_{};
  bool deflateReady_ = false;
  bool inflateReady_ = false;
};

}  // namespace peer
}  // namespace RakNet
