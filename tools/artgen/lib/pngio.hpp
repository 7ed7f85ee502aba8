// PNG files for the art generators (8-bit RGBA, no time stamps, fixed
// compression settings, so equal pictures give equal bytes).
#pragma once

#include <string>
#include <vector>

#include "canvas.hpp"

namespace art {

bool encodePng(const Canvas& c, std::vector<unsigned char>& out);
bool writePng(const Canvas& c, const std::string& path);
bool readPng(const std::string& path, Canvas& out);

bool writeFile(const std::string& path, const std::string& bytes);
bool readFile(const std::string& path, std::string& out);
bool makeDirs(const std::string& path);

}  // namespace art
