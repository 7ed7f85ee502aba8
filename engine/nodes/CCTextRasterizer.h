#pragma once

#include <string>
#include <vector>

#include "ccTypes.h"

NS_CC_BEGIN

// Text drawn into pixels with FreeType: white RGBA whose alpha is the glyph coverage, rows top
// down. Lines break at '\n' and, when a width is given, between words.
struct ccRasterizedText {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgba;
};

// The font file for a font name: a readable .ttf path as given, else DejaVu Sans (bold when
// the name says so).
std::string ccFontFileForName(const std::string& fontName);

// False (logged) when the font cannot be used. boxWidth/boxHeight 0 take the text's own size.
bool ccRasterizeText(const std::string& utf8, const std::string& fontName, float fontSize,
                     int boxWidth, int boxHeight, CCTextAlignment hAlign,
                     CCVerticalTextAlignment vAlign, ccRasterizedText& out);

NS_CC_END
