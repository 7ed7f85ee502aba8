// Reads AngelCode text bitmap fonts (.fnt): the characters a font defines,
// where they lie on the page, and the page file. Used by the font checks
// and by anyone who needs to know whether a text can be shown in a font.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace art {

struct FntChar {
    uint32_t id = 0;
    int x = 0, y = 0, width = 0, height = 0, xoffset = 0, yoffset = 0, xadvance = 0, page = 0;
};

struct FntFile {
    std::string face;
    int size = 0, lineHeight = 0, base = 0, scaleW = 0, scaleH = 0, pages = 0;
    std::vector<std::string> pageFiles;
    std::map<uint32_t, FntChar> chars;
    int kerningCount = 0;
    std::map<std::pair<uint32_t, uint32_t>, int> kerning;  // (first, second) -> amount
};

bool parseFnt(const std::string& text, FntFile& out, std::string* error);
bool loadFnt(const std::string& path, FntFile& out, std::string* error);

// Code points of a UTF-8 text; bad sequences are reported as U+FFFD.
std::vector<uint32_t> decodeUtf8(const std::string& s);
// The code points of text (other than line breaks and tabs) that the font lacks.
std::set<uint32_t> missingChars(const FntFile& font, const std::string& utf8Text);

}  // namespace art
