// Lays a text out in a bitmap font as a label would, onto a canvas: for previews
// of the fonts and for pictures that carry names.
#pragma once

#include <string>

#include "canvas.hpp"
#include "fnt.hpp"

namespace art {

// A font with its page picture.
struct FntFace {
    FntFile font;
    Canvas page;
};

// Reads the .fnt file and its (first) page from the same folder.
bool loadFntFace(const std::string& fntPath, FntFace& out, std::string* error);

// Draws a UTF-8 text with its top-left corner at (x, y); a line break starts a new
// line. Characters the font lacks are skipped. Returns the widest line's width.
int drawText(Canvas& dst, const FntFace& face, const std::string& text, int x, int y);

// The widest line's width of a text, without drawing it.
int textWidth(const FntFace& face, const std::string& text);

}  // namespace art
