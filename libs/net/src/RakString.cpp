#include "raknet/RakString.h"

#include <cstdarg>
#include <cstdio>
#include <cstdint>
#include <vector>

#include "raknet/BitStream.h"

namespace RakNet {

RakString& RakString::Set(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (n < 0) {
    text_.clear();
  } else {
    std::vector<char> buf(static_cast<size_t>(n) + 1);
    std::vsnprintf(buf.data(), buf.size(), format, args);
    text_.assign(buf.data(), static_cast<size_t>(n));
  }
  va_end(args);
  return *this;
}

void RakString::Serialize(BitStream* stream) const {
  if (!stream) return;
  size_t n = text_.size() > kMaxSerializedLength ? kMaxSerializedLength : text_.size();
  stream->Write(static_cast<std::uint16_t>(n));
  stream->WriteAlignedBytes(reinterpret_cast<const unsigned char*>(text_.data()),
                            static_cast<unsigned int>(n));
}

void RakString::Serialize(const char* text, BitStream* stream) {
  RakString(text).Serialize(stream);
}

bool RakString::Deserialize(BitStream* stream) {
  if (!stream) return false;
  BitSize_t start = stream->GetReadOffset();
  std::uint16_t n = 0;
  if (!stream->Read(n)) return false;
  std::string text(n, '\0');
  if (n && !stream->ReadAlignedBytes(reinterpret_cast<unsigned char*>(&text[0]), n)) {
    stream->SetReadOffset(start);
    return false;
  }
  // An empty string still moves to the byte boundary, as a writer's alignment did.
  if (n == 0 && !stream->AlignReadToByteBoundary()) {
    stream->SetReadOffset(start);
    return false;
  }
  text_.swap(text);
  return true;
}

}  // namespace RakNet
