// ccbc's text form: whatever compiles is written, read back by the game's parser, and shown
// as text that compiles to the same bytes.
#include <string>
#include <vector>

#include "CCBBinary.h"
#include "CcbText.h"
#include "FuzzSupport.h"

using namespace cocos2d::extension;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  CCBDocument doc;
  std::string error;
  if (!ccbc::compileText(text, "fuzz.ccb", doc, error)) return 0;
  std::vector<uint8_t> bytes;
  MVFUZZ_CHECK(ccbWriteDocument(doc, bytes, &error));
  CCBDocument read;
  MVFUZZ_CHECK(ccbParseDocument(bytes.data(), bytes.size(), read, &error));
  CCBDocument again;
  MVFUZZ_CHECK(ccbc::compileText(ccbc::documentToText(read), "dump", again, error));
  std::vector<uint8_t> bytesAgain;
  MVFUZZ_CHECK(ccbWriteDocument(again, bytesAgain, &error));
  MVFUZZ_CHECK(bytes == bytesAgain);
  return 0;
}
