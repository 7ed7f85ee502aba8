// Packs frames into one power-of-two sheet with padding and edge extrusion.
#pragma once

#include <string>
#include <vector>

#include "canvas.hpp"

namespace art {

struct PackItem {
    std::string name;
    Canvas image;  // the frame's pixels, transparent border trimmed (see trimItem)
    int x = 0, y = 0;  // top-left in the sheet, set by packSheet
    // The frame as drawn: its full size and where the trimmed pixels lie in it (from
    // its top left). Sprites keep the full size; only the trimmed part is drawn.
    int sourceW = 0, sourceH = 0, trimX = 0, trimY = 0;
};

// An item of the full image, its rows and columns that are wholly transparent cut away
// (a blank image keeps one pixel): the renderer then fills only what shows.
PackItem trimmedItem(const std::string& name, const Canvas& image);
// The same without trimming (frames that are sliced by their edges, such as nine-slice
// panels, keep every pixel).
PackItem wholeItem(const std::string& name, const Canvas& image);

// Places every item (shelf packing, tallest first) in the smallest
// power-of-two sheet up to maxSize; false when they do not fit.
bool packSheet(std::vector<PackItem>& items, int padding, int maxSize, Canvas& sheet);

// The sprite-sheet property list (format 2) for packed items.
std::string sheetPlist(const std::vector<PackItem>& items, const std::string& textureFile, int w, int h);

}  // namespace art
