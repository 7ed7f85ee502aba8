// The .ccbi byte format alone: whatever parses is written again, and the written bytes are a
// fixed point (written, parsed and written again, they do not change).
#include <string>
#include <vector>

#include "CCBBinary.h"
#include "FuzzSupport.h"

using namespace cocos2d::extension;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CCBDocument doc;
  std::string error;
  if (!ccbParseDocument(data, size, doc, &error)) return 0;
  std::vector<uint8_t> once, twice;
  MVFUZZ_CHECK(ccbWriteDocument(doc, once, &error));
  CCBDocument again;
  MVFUZZ_CHECK(ccbParseDocument(once.data(), once.size(), again, &error));
  MVFUZZ_CHECK(ccbWriteDocument(again, twice, &error));
  MVFUZZ_CHECK(once == twice);
  return 0;
}
