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

// Writes a document. False (with a reason) when a value does not fit its property type.
bool ccbWriteDocument(const CCBDocument& doc, std::vector<uint8_t>& out, std::string* error);

}  // namespace extension
}  // namespace cocos2d
