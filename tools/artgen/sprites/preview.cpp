// Preview pictures for looking at the art: every frame on a checkerboard,
// and small towers put together from the frames in several tints.
#include <map>
#include <string>
#include <vector>

#include "frames.hpp"
#include "pngio.hpp"

namespace art {

namespace {

Canvas checker(int w, int h) {
    Canvas c(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) c.set(x, y, ((x / 8 + y / 8) % 2) ? grey(96) : grey(120));
    return c;
}

void writeContactSheet(const std::vector<FrameSpec>& specs, const std::map<std::string, Canvas>& images,
                       const std::string& sheet, int scale, const std::string& path, size_t first = 0,
                       size_t count = 100000) {
    const int maxW = 1400;
    int x = 4, y = 4, row = 0, totalH = 4;
    std::vector<std::pair<const Canvas*, Pt>> placed;
    size_t index = 0;
    for (const FrameSpec& f : specs) {
        if (f.sheet != sheet) continue;
        size_t i = index++;
        if (i < first || i >= first + count) continue;
        const Canvas& im = images.at(f.sheet + "/" + f.name);
        int w = im.width() * scale, h = im.height() * scale;
        if (x + w + 4 > maxW) {
            x = 4;
            y += row + 6;
            row = 0;
        }
        placed.push_back({&im, {x, y}});
        x += w + 6;
        row = std::max(row, h);
        totalH = y + row + 4;
    }
    Canvas out = checker(maxW, totalH);
    for (auto& [im, p] : placed) out.blitScaled(*im, p.x, p.y, scale);
    writePng(out, path);
}

Canvas tinted(const Canvas& c, RGBA t) {
    Canvas r = c;
    r.tint(t);
    return r;
}

// A small tower: rows top-down, each cell "exterior[,layer...]" by frame
// names; the exterior is tinted.
void writeTower(const std::map<std::string, Canvas>& images, const std::string& path) {
    auto img = [&](const std::string& n) -> const Canvas& { return images.at("texture/" + n); };
    struct Cell {
        std::string ext;
        std::vector<std::string> layers;
    };
    const int W = 4, H = 6;
    std::vector<std::vector<Cell>> grid(H, std::vector<Cell>(W));
    grid[0][1] = {"tower-3floor.png", {}};
    grid[0][2] = {"", {"dome.png"}};
    grid[1][1] = {"tower-2floor.png", {"tower-vblock.png", "library.png", "elem-ladder-bottom.png"}};
    grid[1][2] = {"tower-3floor-dmg.png", {}};
    grid[2][0] = {"tower-h_block.png", {"tower-hblock.png", "elem-ladder-right.png", "doors-Hblock.png"}};
    grid[2][1] = {"tower-1floor.png", {"tower-4block.png", "crystal.png", "elem-ladder-top.png", "elem-ladder-left.png",
                                       "elem-ladder-bottom.png"}};
    grid[2][2] = {"tower-2floor-dmg.png", {"tower-vblock.png", "inside-cracked.png", "fire.png"}};
    grid[3][0] = {"tower-lower_block.png", {"tower-4block.png", "tavern.png", "elem-hardened.png"}};
    grid[3][1] = {"tower-lower_block.png", {"tower-4block.png", "shield.png", "elem-ladder-top.png", "elem-flood.png"}};
    grid[3][2] = {"tower-lower_block-dmg.png", {}};
    grid[3][3] = {"tower-h_block.png", {"elem-fence.png"}};
    grid[4][1] = {"tower-lower_block.png", {"tower-4block.png", "doors-4block.png", "archmage.png"}};
    grid[4][0] = {"elem-earth.png", {"elem-cave.png", "elem-mask.png"}};
    grid[4][2] = {"elem-earth.png", {}};
    grid[5][1] = {"tower-lower_block.png", {}};
    grid[5][0] = {"elem-earth.png", {}};
    grid[5][2] = {"elem-earth.png", {}};
    const RGBA tints[] = {RGBA(170, 156, 142), RGBA(197, 188, 179), RGBA(150, 170, 230), RGBA(230, 150, 140)};
    const int cell = 64, pad = 16;
    int towerW = W * cell, towerH = H * cell;
    Canvas out(4 * (towerW + pad) + pad, towerH + 2 * pad + 200);
    const Canvas& sky = img("sky.png");
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) out.set(x, y, sky.get(0, std::min(255, y * 256 / out.height())));
    for (int t = 0; t < 4; ++t) {
        int ox = pad + t * (towerW + pad), oy = pad;
        bool seen = t != 1;  // the second one shows an unrevealed enemy tower
        for (int gy = 0; gy < H; ++gy)
            for (int gx = 0; gx < W; ++gx) {
                const Cell& c = grid[gy][gx];
                int px = ox + gx * cell, py = oy + gy * cell;
                if (gy >= 4) out.blit(tinted(img("elem-earth.png"), RGBA(154, 139, 125)), px, py);
                if (!c.ext.empty()) out.blit(tinted(img(c.ext), tints[t]), px, py);
                for (const std::string& l : c.layers) {
                    if (l == "dome.png") {
                        out.blit(tinted(img("elem-dome-mask.png"), tints[t]), px, py);
                        continue;
                    }
                    if (!seen && l != "elem-fence.png") continue;
                    out.blit(img(l), px, py);
                }
            }
        // the same tower at the enemy's scale (0.7, nearest) below
        Canvas small = out.sub(ox, oy, towerW, towerH);
        int sw = towerW * 7 / 10, sh = towerH * 7 / 10;
        for (int y = 0; y < sh && oy + towerH + 8 + y < out.height(); ++y)
            for (int x = 0; x < sw; ++x)
                out.set(ox + x, oy + towerH + 8 + y, small.get(x * 10 / 7, y * 10 / 7));
    }
    writePng(out, path);
}

// The 32 card pictures on card slots, tinted as the game tints them.
void writeCards(const std::vector<FrameSpec>& specs, const std::map<std::string, Canvas>& images,
                const std::string& path) {
    const Canvas& slot = images.at("texture/card-slot.png");
    Canvas out(8 * (slot.width() + 4) + 4, 4 * (slot.height() + 4) + 4, grey(70));
    int n = 0;
    for (const FrameSpec& f : specs) {
        if (f.sheet != "texture") continue;
        if (n >= 32) break;
        // rows 0..11 structures and rooms (white), then spells and dynamite
        // red, the other crews green
        RGBA tint = n < 12 || n == 31 ? RGBA(255, 255, 255) : (n <= 24 ? RGBA(193, 0, 0) : RGBA(0, 193, 0));
        if (n == 22) tint = RGBA(193, 0, 0);
        int x = 4 + (n % 8) * (slot.width() + 4), y = 4 + (n / 8) * (slot.height() + 4);
        out.blit(slot, x, y);
        out.blit(tinted(images.at("texture/" + f.name), tint), x + 8, y + 16);
        ++n;
    }
    writePng(out.scaled(2), path);
}

}  // namespace

void writePreviews(const std::vector<FrameSpec>& specs, const std::map<std::string, Canvas>& images,
                   const std::string& dir) {
    writeContactSheet(specs, images, "texture", 2, dir + "/texture-frames.png");
    for (size_t part = 0; part < 10; ++part)
        writeContactSheet(specs, images, "texture", 4, dir + "/part" + std::to_string(part) + ".png", part * 15, 15);
    writeContactSheet(specs, images, "splashscreen-hd", 2, dir + "/splash-frames.png");
    writeTower(images, dir + "/towers.png");
    writeCards(specs, images, dir + "/cards.png");
}

}  // namespace art
