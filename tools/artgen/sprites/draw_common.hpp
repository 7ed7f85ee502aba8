// Shared painting helpers for the frame drawers.
#pragma once

#include "canvas.hpp"
#include "frames.hpp"

namespace art {

// Light greys for layers the game tints: the tint multiplies them.
namespace light {
constexpr RGBA hi = grey(250);
constexpr RGBA stone = grey(226);
constexpr RGBA mid = grey(196);
constexpr RGBA dark = grey(160);
constexpr RGBA mortar = grey(128);
constexpr RGBA deep = grey(84);
constexpr RGBA hole = grey(40);
}  // namespace light

constexpr RGBA kInk = RGBA(28, 22, 20);          // outlines of full-colour art
constexpr RGBA kWood = RGBA(150, 100, 58);
constexpr RGBA kWoodDark = RGBA(98, 62, 36);
constexpr RGBA kWoodLight = RGBA(186, 134, 80);
constexpr RGBA kIron = RGBA(92, 96, 104);
constexpr RGBA kIronLight = RGBA(150, 156, 166);
constexpr RGBA kRoomBack = RGBA(72, 58, 50);
constexpr RGBA kRoomBackDark = RGBA(52, 42, 38);

// Running-bond masonry over a rectangle; courses of brickH, bricks of
// brickW, each brick lit on its top-left and shaded on its bottom-right.
void masonry(Canvas& c, int x, int y, int w, int h, int brickW, int brickH, Rng& rng, RGBA face, RGBA mortar,
             int rowShift = 0);
// Wooden planks (vertical when vertical is true).
void planks(Canvas& c, int x, int y, int w, int h, int plank, bool vertical, Rng& rng);
// A jagged dark crack from (x0,y0) towards (x1,y1) with a few branches.
void crack(Canvas& c, int x0, int y0, int x1, int y1, Rng& rng, RGBA col, int width = 1);
// An arched window opening (dark) with a lighter sill.
void archWindow(Canvas& c, int x, int y, int w, int h, RGBA dark, RGBA frame);
// A five-pointed star.
void star(Canvas& c, int cx, int cy, int r, int inner, RGBA col);
// Bytes from six or eight hex digits; white on a bad string.
RGBA hexColour(const std::string& s);
// The game's name as the title frame shows it, centred in c; frames drawn over the
// title (its crack) draw it too, to lie on its letters.
void drawTitleLettering(Canvas& c, const std::string& fontDir);
// Outline then a soft bevel: the finish of most full-colour icons.
void finishIcon(Canvas& c, RGBA ink = kInk);

}  // namespace art
