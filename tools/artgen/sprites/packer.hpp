// Packs frames into one power-of-two sheet with padding and edge extrusion.
#pragma once

#include <string>
#include <vector>

#include "canvas.hpp"

namespace art {

struct PackItem {
    std::string name;
    Canvas image;
    int x = 0, y = 0;  // top-left in the sheet, set by packSheet
};

// Places every item (shelf packing, tallest first) in the smallest
// power-of-two sheet up to maxSize; false when they do not fit.
bool packSheet(std::vector<PackItem>& items, int padding, int maxSize, Canvas& sheet);

// The sprite-sheet property list (format 2) for packed items.
std::string sheetPlist(const std::vector<PackItem>& items, const std::string& textureFile, int w, int h);

}  // namespace art
