// Helpers shared by the fuzz targets: a private scratch folder for parsers that read files,
// and a reader that cuts one input into several values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace mvfuzz {

// A folder of this process's own under the temp folder, made on first use and removed with
// everything in it at exit. Ends in "/".
const std::string& scratchDir();
// Writes a file below the scratch folder (making its folders); returns its full path.
std::string writeScratchFile(const std::string& name, const uint8_t* data, size_t size);
void makeScratchFolder(const std::string& name);

// Takes values off the front of an input; once it is used up every value is 0 or empty.
class InputCursor {
 public:
  InputCursor(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool empty() const { return pos_ >= size_; }
  size_t left() const { return size_ - pos_; }
  uint8_t byte();
  uint32_t u32();
  // A piece with a one-byte length before it (up to 255 bytes).
  std::string shortPiece();
  // A piece up to the next occurrence of the separator (or the end), without it.
  std::string pieceUntil(const std::string& separator);
  // Everything left.
  std::string rest();

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

}  // namespace mvfuzz

// A property every input must keep; a broken one aborts with a line that says which.
#define MVFUZZ_CHECK(cond)                                                               \
  do {                                                                                   \
    if (!(cond)) ::mvfuzz::checkFailed(#cond, __FILE__, __LINE__);                       \
  } while (0)

namespace mvfuzz {
[[noreturn]] void checkFailed(const char* what, const char* file, int line);
}  // namespace mvfuzz
