// Reading and writing screen files (.ccbi version 3, the game's dialect: positions and sizes
// are four floats, absolute then percent).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "CCBDocument.h"

namespace cocos2d {
namespace extension {

// Parses a whole file. Every count, index and length is checked against the data: a truncated
// or corrupt file gives false and a reason in error (never a read past the end). fileVersion
// receives the version found in the header (0 when there is none).
bool ccbParseDocument(const uint8_t* data, size_t size, CCBDocument& out, std::string* error,
                      int* fileVersion = nullptr);

// Writes a document. False (with a reason) when anything in it is beyond what the format
// holds or the parser accepts: a value that does not fit its property type, a negative
// unsigned field, a byte outside 0..255, an unknown easing, a text longer than
// kCCBMaxTextBytes, a tree deeper than kCCBMaxNodeDepth.
bool ccbWriteDocument(const CCBDocument& doc, std::vector<uint8_t>& out, std::string* error);

// Texts (names and strings) are stored with a 16-bit length.
const size_t kCCBMaxTextBytes = 0xFFFF;
// Levels of nodes below the root that the parser reads.
const int kCCBMaxNodeDepth = 64;

// Whether a value of a property type (in a keyframe when keyframe is set) can be stored: the
// type's count of each kind, unsigned numbers not negative, bytes within 0..255, texts not
// too long. False with the reason in why.
bool ccbValueStorable(int type, bool keyframe, const CCBValue& value, std::string* why);

}  // namespace extension
}  // namespace cocos2d
