#include "MessageCompression.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace RakNet {
namespace peer {
namespace {
// What a flush to a byte boundary ends with: an empty stored block.
constexpr unsigned char kFlushTail[4] = {0x00, 0x00, 0xFF, 0xFF};
constexpr std::size_t kFirstOutput = 256;
// What inflate's data_type says once a flush has been read whole: waiting for the
// next block's header, on a byte boundary, no last block seen.
constexpr int kBetweenBlocks = 128;

// The zlib streams of one thread, reset for every message of any connection.
// Raw deflate (negative window bits): no header and no checksum.
class Streams {
 public:
  Streams() {
    deflateReady_ = deflateInit2(&deflater_, MessageCompression::kLevel, Z_DEFLATED, -MessageCompression::kWindowBits,
                                 MessageCompression::kMemLevel, Z_DEFAULT_STRATEGY) == Z_OK;
    inflateReady_ = inflateInit2(&inflater_, -MessageCompression::kWindowBits) == Z_OK;
  }
  ~Streams() {
    if (deflateReady_) deflateEnd(&deflater_);
    if (inflateReady_) inflateEnd(&inflater_);
  }
  Streams(const Streams&) = delete;
  Streams& operator=(const Streams&) = delete;

  bool ready() const { return deflateReady_ && inflateReady_; }
  // The deflater as a stream's sender left it after `window`; null when it cannot be.
  z_stream* deflater(const std::vector<unsigned char>& window) {
    return deflateReady_ ? resume(deflater_, deflateReset, deflateSetDictionary, window) : nullptr;
  }
  // The inflater as a stream's receiver left it after `window`; null when it cannot be.
  z_stream* inflater(const std::vector<unsigned char>& window) {
    return inflateReady_ ? resume(inflater_, inflateReset, inflateSetDictionary, window) : nullptr;
  }

 private:
  static z_stream* resume(z_stream& z, int (*reset)(z_streamp), int (*setDictionary)(z_streamp, const Bytef*, uInt),
                          const std::vector<unsigned char>& window) {
    if (reset(&z) != Z_OK) return nullptr;
    if (!window.empty() && setDictionary(&z, window.data(), static_cast<uInt>(window.size())) != Z_OK) return nullptr;
    return &z;
  }

  z_stream deflater_{};
  z_stream inflater_{};
  bool deflateReady_ = false;
  bool inflateReady_ = false;
};

Streams& streams() {
  thread_local Streams s;
  return s;
}
}  // namespace

const char* const MessageCompression::kTooLong = "a message longer than allowed";

bool MessageCompression::ready() const { return streams().ready(); }

void MessageCompression::remember(std::vector<unsigned char>& window, const unsigned char* data, std::size_t length) {
  if (length >= kWindow) {
    window.assign(data + length - kWindow, data + length);
    return;
  }
  window.reserve(kWindow);  // once, exactly: the window never grows beyond
  const std::size_t drop = window.size() + length > kWindow ? window.size() + length - kWindow : 0;
  window.erase(window.begin(), window.begin() + static_cast<std::ptrdiff_t>(drop));
  window.insert(window.end(), data, data + length);
}

bool MessageCompression::compress(const unsigned char* data, std::size_t length, std::vector<unsigned char>& out) {
  if (deflateBroken_ || !data || length == 0) return false;
  z_stream* z = streams().deflater(sent_);
  auto fail = [this] {
    deflateBroken_ = true;
    std::vector<unsigned char>().swap(sent_);
    return false;
  };
  if (!z) return fail();
  out.resize(std::max(kFirstOutput, length / 2 + 64));
  z->next_in = const_cast<Bytef*>(data);
  z->avail_in = static_cast<uInt>(length);
  std::size_t produced = 0;
  for (;;) {
    z->next_out = out.data() + produced;
    z->avail_out = static_cast<uInt>(out.size() - produced);
    const int r = deflate(z, Z_SYNC_FLUSH);
    produced = out.size() - z->avail_out;
    if (r != Z_OK && r != Z_BUF_ERROR) return fail();
    // Done once all is taken and the flush did not fill the buffer.
    if (z->avail_in == 0 && z->avail_out != 0) break;
    out.resize(out.size() * 2);
  }
  if (produced < sizeof kFlushTail ||
      std::memcmp(out.data() + produced - sizeof kFlushTail, kFlushTail, sizeof kFlushTail) != 0)
    return fail();
  out.resize(produced - sizeof kFlushTail);
  remember(sent_, data, length);
  return true;
}

bool MessageCompression::decompress(const unsigned char* data, std::size_t length, std::size_t maxLength,
                                    std::vector<unsigned char>& out, const char** why) {
  const char* ignored = nullptr;
  const char*& reason = why ? *why : ignored;
  out.clear();
  if (inflateBroken_) {
    reason = "its stream broke earlier";
    return false;
  }
  auto fail = [&](const char* what) {
    reason = what;
    inflateBroken_ = true;
    std::vector<unsigned char>().swap(received_);
    out.clear();
    return false;
  };
  if (!data || length == 0) return fail("an empty compressed message");
  z_stream* z = streams().inflater(received_);
  if (!z) return fail("its stream cannot be set up");
  // One byte more than allowed tells a message that is too long from one that fits.
  const std::size_t room = maxLength + 1;
  std::size_t produced = 0;
  for (const auto& part : {std::make_pair(data, length), std::make_pair(kFlushTail, sizeof kFlushTail)}) {
    z->next_in = const_cast<Bytef*>(part.first);
    z->avail_in = static_cast<uInt>(part.second);
    for (;;) {
      if (produced == out.size()) {
        if (out.size() >= room) return fail(kTooLong);
        out.resize(std::min(room, std::max(kFirstOutput, out.size() * 2)));
      }
      z->next_out = out.data() + produced;
      z->avail_out = static_cast<uInt>(out.size() - produced);
      const int r = inflate(z, Z_SYNC_FLUSH);
      produced = out.size() - z->avail_out;
      if (r == Z_STREAM_END) return fail("a stream that ends");
      if (r != Z_OK && r != Z_BUF_ERROR) return fail("data that is no deflate stream");
      if (z->avail_in == 0 && z->avail_out != 0) break;
    }
  }
  if (produced > maxLength) return fail(kTooLong);
  // The next message starts where a flush leaves the stream, between two blocks.
  if (z->data_type != kBetweenBlocks) return fail("a message that does not end with its flush");
  out.resize(produced);
  if (out.empty()) return fail("an empty message");
  remember(received_, out.data(), out.size());
  return true;
}

}  // namespace peer
}  // namespace RakNet
