#include "ccb_test_util.h"

#include <gtest/gtest.h>

#include "CCBBinary.h"
#include "CcbText.h"

namespace mvtest {

using cocos2d::extension::CCBDocument;

std::vector<uint8_t> writeScreen(const CCBDocument& doc) {
  std::vector<uint8_t> out;
  std::string error;
  EXPECT_TRUE(cocos2d::extension::ccbWriteDocument(doc, out, &error)) << error;
  return out;
}

std::vector<uint8_t> compileScreen(const std::string& text) {
  CCBDocument doc;
  std::string error;
  EXPECT_TRUE(ccbc::compileText(text, "test", doc, error)) << error;
  return writeScreen(doc);
}

std::string asString(const std::vector<uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace mvtest
