// Screen files for the reader tests, compiled from text with the screen compiler's library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CCBDocument.h"

namespace mvtest {

// The .ccbi bytes of a screen in the compiler's text form; fails the test on a compile error.
std::vector<uint8_t> compileScreen(const std::string& text);
std::vector<uint8_t> writeScreen(const cocos2d::extension::CCBDocument& doc);
std::string asString(const std::vector<uint8_t>& bytes);

}  // namespace mvtest
