#include <cstdio>

#include "logog/logog.hpp"

namespace logog {

void Cout::Output(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}

void Cerr::Output(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stderr);
}

LogFile::LogFile(const char* path) {
  if (!path) return;
  file_ = std::fopen(path, "ab");
  if (!file_) return;
  // A new (empty) file starts with the UTF-16LE byte-order mark.
  if (std::ftell(file_) == 0) {
    static const unsigned char bom[2] = {0xFF, 0xFE};
    std::fwrite(bom, 1, 2, file_);
  }
}

LogFile::~LogFile() {
  Detach();
  if (file_) std::fclose(file_);
}

void LogFile::Output(const std::string& line) {
  if (!file_) return;
  std::u16string wide = Utf8ToUtf16(line);
  std::string bytes;
  bytes.reserve(wide.size() * 2);
  for (char16_t u : wide) {
    bytes.push_back(static_cast<char>(u & 0xFF));
    bytes.push_back(static_cast<char>(u >> 8));
  }
  std::fwrite(bytes.data(), 1, bytes.size(), file_);
  // Flushed line by line so a crash loses nothing already logged.
  std::fflush(file_);
}

std::vector<std::string> StringTarget::Lines() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lines_;
}

void StringTarget::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  lines_.clear();
}

void StringTarget::Output(const std::string& line) {
  std::lock_guard<std::mutex> lock(mutex_);
  lines_.push_back(line);
}

}  // namespace logog
