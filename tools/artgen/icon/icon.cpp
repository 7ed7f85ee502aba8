// Draws the window icon: a small stone tower with a pennant, 64 x 64, on a transparent
// ground. Every pixel is either wholly opaque or wholly transparent, so the picture is the
// same whether a reader premultiplies its alpha or not.
//
//   mv-icon --out <file.png>
#include <cstdio>
#include <cstring>
#include <string>

#include "canvas.hpp"
#include "pngio.hpp"

namespace {

using art::Canvas;
using art::RGBA;

const int kSize = 64;

const RGBA kInk(28, 22, 20);
const RGBA kStone(150, 146, 138);
const RGBA kStoneLight(184, 180, 170);
const RGBA kMortar(96, 92, 88);
const RGBA kDoor(98, 62, 36);
const RGBA kDoorLight(150, 100, 58);
const RGBA kOpening(40, 32, 30);
const RGBA kPole(92, 96, 104);
const RGBA kPennant(196, 40, 36);

// Courses of stones over a rectangle, every other course shifted by half a stone, each stone
// a little lighter or darker than its neighbours.
void stones(Canvas& c, int x, int y, int w, int h, art::Rng& rng) {
    const int stoneW = 8, stoneH = 5;
    c.fillRect(x, y, w, h, kMortar);
    for (int row = 0; row * stoneH < h; ++row) {
        int top = y + row * stoneH;
        int shift = (row % 2) ? stoneW / 2 : 0;
        for (int left = x - shift; left < x + w; left += stoneW) {
            int l = left < x ? x : left, r = left + stoneW - 1 > x + w ? x + w : left + stoneW - 1;
            int b = top + stoneH - 1 > y + h ? y + h : top + stoneH - 1;
            RGBA face = art::shade(kStone, 256 + rng.range(-24, 24));
            c.fillRect(l, top, r - l, b - top, face);
            c.fillRect(l, top, r - l, 1, art::mix(face, kStoneLight, 160));
        }
    }
}

// An opening with a round top: a rectangle under a half circle of the same width.
void arched(Canvas& c, int x, int y, int w, int h, RGBA colour) {
    int r = w / 2;
    c.fillCircle(x + r, y + r, r, colour);
    c.fillRect(x, y + r, w, h - r, colour);
}

Canvas drawIcon() {
    Canvas c(kSize, kSize);
    art::Rng rng(art::Rng::hash("window-icon"));
    // The body, then the wider parapet with its four merlons.
    stones(c, 19, 24, 26, 38, rng);
    stones(c, 14, 17, 36, 8, rng);
    for (int i = 0; i < 4; ++i) stones(c, 14 + i * 10, 11, 6, 6, rng);
    // Door with planks, a window under an arch.
    arched(c, 27, 44, 10, 18, kDoor);
    for (int x = 29; x < 37; x += 3) c.fillRect(x, 50, 1, 12, kDoorLight);
    arched(c, 29, 29, 6, 9, kOpening);
    // Pole and pennant above the middle merlons.
    c.fillRect(31, 1, 2, 10, kPole);
    c.fillPolygon({{33, 1}, {45, 4}, {33, 8}}, kPennant);
    c.outline(kInk);
    c.bevel(40, 48);
    // Wholly opaque or wholly transparent.
    for (RGBA& p : c.pixels()) p.a = p.a >= 128 ? 255 : 0;
    for (RGBA& p : c.pixels())
        if (p.a == 0) p = RGBA();
    return c;
}

}  // namespace

int main(int argc, char** argv) {
    std::string out;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--out") == 0) out = argv[i + 1];
    if (out.empty()) {
        std::fprintf(stderr, "usage: mv-icon --out <file.png>\n");
        return 2;
    }
    if (!art::writePng(drawIcon(), out)) {
        std::fprintf(stderr, "mv-icon: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}
