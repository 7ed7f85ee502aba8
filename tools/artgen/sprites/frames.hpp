// The frame table and the drawers that paint each frame.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "canvas.hpp"

namespace art {

struct FrameSpec {
    std::string sheet, name, drawer;
    int w = 0, h = 0;
    std::vector<std::string> args;
    int line = 0;
    std::string arg(size_t i, const std::string& dflt = "") const { return i < args.size() ? args[i] : dflt; }
    int argInt(size_t i, int dflt = 0) const { return i < args.size() ? std::atoi(args[i].c_str()) : dflt; }
};

struct DrawCtx {
    Rng rng{1};
    const std::map<std::string, Canvas>* pixels = nullptr;
    std::string fontDir;
    // A hand-drawn picture by name; an empty canvas when there is none.
    const Canvas& pix(const std::string& name) const;
};

using DrawFn = void (*)(Canvas&, const FrameSpec&, DrawCtx&);
using DrawerTable = std::map<std::string, DrawFn>;

// Lines "sheet name width height drawer [args...]"; '#' starts a comment.
bool parseFrameTable(const std::string& text, std::vector<FrameSpec>& out, std::string* error);

void registerTowerDrawers(DrawerTable& t);
void registerCardDrawers(DrawerTable& t);
void registerEffectDrawers(DrawerTable& t);
void registerUiDrawers(DrawerTable& t);

}  // namespace art
