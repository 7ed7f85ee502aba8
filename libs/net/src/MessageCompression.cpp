#include "MessageCompression.h"

#include <algorithm>
#include <cstring>

namespace RakNet {
namespace peer {
namespace {
// What a flush to a byte boundary ends with: an empty stored block.
constexpr unsigned char kFlushTail[4] = {0x00, 0x00, 0xFF, 0xFF};
constexpr std::size_t kFirstOutput = 256;
}  // namespace

const char* const MessageCompression::kTooLong = "a message longer than allowed";

MessageCompression::MessageCompression() {
  // Raw deflate (negative window bits): no header and no checksum, the stream never ends.
  deflateReady_ =
      deflateInit2(&deflate_, kLevel, Z_DEFLATED, -kWindowBits, kMemLevel, Z_DEFAULT_STRATEGY) == Z_OK;
  inflateReady_ = inflateInit2(&inflate_, -kWindowBits) == Z_OK;
}

MessageCompression::~MessageCompression() {
  if (deflateReady_) deflateEnd(&deflate_);
  if (inflateReady_) inflateEnd(&inflate_);
}

bool MessageCompression::compress(const unsigned char* data, std::size_t length, std::vector<unsigned char>& out) {
  if (!deflateReady_ || !data || length == 0) return false;
  out.resize(std::max(kFirstOutput, length / 2 + 64));
  deflate_.next_in = const_cast<Bytef*>(data);
  deflate_.avail_in = static_cast<uInt>(length);
  std::size_t produced = 0;
  for (;;) {
    deflate_.next_out = out.data() + produced;
    deflate_.avail_out = static_cast<uInt>(out.size() - produced);
    const int r = deflate(&deflate_, Z_SYNC_FLUSH);
    produced = out.size() - deflate_.avail_out;
    if (r != Z_OK && r != Z_BUF_ERROR) {
      deflateReady_ = false;
      deflateEnd(&deflate_);
      return false;
    }
    // Done once all is taken and the flush did not fill the buffer.
    if (deflate_.avail_in == 0 && deflate_.avail_out != 0) break;
    out.resize(out.size() * 2);
  }
  if (produced < sizeof kFlushTail || std::memcmp(out.data() + produced - sizeof kFlushTail, kFlushTail,
                                                  sizeof kFlushTail) != 0)
    return false;
  out.resize(produced - sizeof kFlushTail);
  return true;
}

bool MessageCompression::decompress(const unsigned char* data, std::size_t length, std::size_t maxLength,
                                    std::vector<unsigned char>& out, const char** why) {
  const char* ignored = nullptr;
  const char*& reason = why ? *why : ignored;
  out.clear();
  if (!inflateReady_) {
    reason = "its stream broke earlier";
    return false;
  }
  auto fail = [&](const char* what) {
    reason = what;
    inflateReady_ = false;
    inflateEnd(&inflate_);
    out.clear();
    return false;
  };
  if (!data || length == 0) return fail("an empty compressed message");
  // One byte more than allowed tells a message that is too long from one that fits.
  const std::size_t room = maxLength + 1;
  std::size_t produced = 0;
  for (const auto& part : {std::make_pair(data, length), std::make_pair(kFlushTail, sizeof kFlushTail)}) {
    inflate_.next_in = const_cast<Bytef*>(part.first);
    inflate_.avail_in = static_cast<uInt>(part.second);
    for (;;) {
      if (produced == out.size()) {
        if (out.size() >= room) return fail(kTooLong);
        out.resize(std::min(room, std::max(kFirstOutput, out.size() * 2)));
      }
      inflate_.next_out = out.data() + produced;
      inflate_.avail_out = static_cast<uInt>(out.size() - produced);
      const int r = inflate(&inflate_, Z_SYNC_FLUSH);
      produced = out.size() - inflate_.avail_out;
      if (r == Z_STREAM_END) return fail("a stream that ends");
      if (r != Z_OK && r != Z_BUF_ERROR) return fail("data that is no deflate stream");
      if (inflate_.avail_in == 0 && inflate_.avail_out != 0) break;
    }
  }
  if (produced > maxLength) return fail(kTooLong);
  out.resize(produced);
  if (out.empty()) return fail("an empty message");
  return true;
}

}  // namespace peer
}  // namespace RakNet
