#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace mvfuzz {

namespace {

void removeScratch() {
  std::error_code ec;
  std::filesystem::remove_all(scratchDir(), ec);
}

}  // namespace

const std::string& scratchDir() {
  // Never destroyed: the exit handler that removes the folder still needs its name.
  static const std::string* dir = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "mvfuzzXXXXXX").string();
    const char* made = mkdtemp(pattern.data());
    if (!made) {
      std::perror("mvfuzz: no scratch folder");
      std::abort();
    }
    auto* path = new std::string(std::string(made) + "/");
    std::atexit(removeScratch);
    return path;
  }();
  return *dir;
}

void makeScratchFolder(const std::string& name) {
  std::error_code ec;
  std::filesystem::create_directories(scratchDir() + name, ec);
}

std::string writeScratchFile(const std::string& name, const uint8_t* data, size_t size) {
  std::filesystem::path path(scratchDir() + name);
  std::error_code ec;
  std::filesystem::create_directories(path.parent_path(), ec);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path.string();
}

void checkFailed(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: fuzz check failed: %s\n", file, line, what);
  std::abort();
}

uint8_t InputCursor::byte() { return pos_ < size_ ? data_[pos_++] : 0; }

uint32_t InputCursor::u32() {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v = (v << 8) | byte();
  return v;
}

std::string InputCursor::shortPiece() {
  size_t n = byte();
  if (n > left()) n = left();
  std::string out(reinterpret_cast<const char*>(data_ + pos_), n);
  pos_ += n;
  return out;
}

std::string InputCursor::pieceUntil(const std::string& separator) {
  std::string text(reinterpret_cast<const char*>(data_ + pos_), left());
  size_t at = text.find(separator);
  if (at == std::string::npos) {
    pos_ = size_;
    return text;
  }
  pos_ += at + separator.size();
  return text.substr(0, at);
}

std::string InputCursor::rest() {
  std::string out(reinterpret_cast<const char*>(data_ + pos_), left());
  pos_ = size_;
  return out;
}

}  // namespace mvfuzz
