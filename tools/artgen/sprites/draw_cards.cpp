// Card pictures: the rooms in full colour (they are also shown inside the
// tower) and the spell and crew icons in light greys, which the game tints
// red or green.
#include <cmath>

#include "draw_common.hpp"

namespace art {

namespace {

// Icon greys: the tint turns them into shades of the card colour.
constexpr RGBA kI0 = grey(255);
constexpr RGBA kI1 = grey(222);
constexpr RGBA kI2 = grey(178);
constexpr RGBA kI3 = grey(120);
constexpr RGBA kIOut = grey(36);

void iconFinish(Canvas& c) {
    c.bevel(30, 50);
    c.outline(kIOut);
}

// A teardrop flame: pointed top (swaying), round bottom.
void flame(Canvas& c, int cx, int by, int w, int h, RGBA outer, RGBA inner, int sway = 0) {
    auto tongue = [&](int width, int height, RGBA col) {
        for (int j = 0; j < height; ++j) {
            double t = double(j) / height;  // 0 at the tip
            double half = width / 2.0 * std::pow(t, 0.8) * std::sqrt(std::max(0.0, 1 - std::pow(t, 5)));
            int x = cx + int(std::lround(sway * (1 - t) * (1 - t)));
            int y = by - height + j;
            for (int i = int(std::lround(x - half)); i <= int(std::lround(x + half)); ++i) c.set(i, y, col);
        }
    };
    tongue(w, h, outer);
    tongue(w * 11 / 20, h * 3 / 5, inner);
}

// A flame streak from a pointed tip to a round base.
void streak(Canvas& c, int tx, int ty, int bx, int by, int width, RGBA col) {
    double dx = bx - tx, dy = by - ty, len = std::sqrt(dx * dx + dy * dy);
    dx /= len;
    dy /= len;
    for (int y = std::min(ty, by) - width; y <= std::max(ty, by) + width; ++y)
        for (int x = std::min(tx, bx) - width; x <= std::max(tx, bx) + width; ++x) {
            double px = x + 0.5 - tx, py = y + 0.5 - ty;
            double t = (px * dx + py * dy) / len;
            if (t < 0 || t > 1) continue;
            double d = std::fabs(px * -dy + py * dx);
            double half = width / 2.0 * std::pow(t, 0.7) * std::sqrt(std::max(0.0, 1 - std::pow(t, 6)));
            if (d <= half) c.set(x, y, col);
        }
}

void rock(Canvas& c, int cx, int cy, int r, Rng& rng, RGBA col) {
    std::vector<Pt> pts;
    for (int i = 0; i < 7; ++i) {
        double a = i * 2 * M_PI / 7;
        int rr = r - rng.range(0, r / 3);
        pts.push_back({cx + int(std::lround(std::cos(a) * rr)), cy + int(std::lround(std::sin(a) * rr))});
    }
    c.fillPolygon(pts, col);
    c.fillEllipse(cx - r / 3, cy - r / 3, r / 3, r / 4, shade(col, 300));
}

void ratShape(Canvas& c, int x, int y, RGBA body, RGBA dark) {
    // body, head to the right, ears, tail
    c.fillEllipse(x + 20, y + 14, 14, 9, body);
    c.fillPolygon({{x + 28, y + 7}, {x + 44, y + 15}, {x + 28, y + 21}}, body);
    c.fillEllipse(x + 30, y + 6, 4, 4, body);
    c.fillEllipse(x + 30, y + 6, 2, 2, dark);
    c.set(x + 37, y + 12, dark);
    c.set(x + 38, y + 12, dark);
    c.fillRect(x + 43, y + 14, 2, 2, dark);
    for (int i = 0; i < 16; ++i) {
        int tx = x + 7 - i, ty = y + 18 + (i * i) / 40 - (i > 10 ? (i - 10) : 0);
        c.set(tx, ty, dark);
        c.set(tx, ty + 1, dark);
    }
    c.fillRect(x + 12, y + 21, 3, 4, dark);
    c.fillRect(x + 26, y + 21, 3, 4, dark);
}

void dwarfHead(Canvas& c, int cx, int cy, RGBA skin, RGBA beard, RGBA hat) {
    c.fillEllipse(cx, cy, 7, 7, skin);
    c.fillPolygon({{cx - 8, cy}, {cx + 8, cy}, {cx + 5, cy + 13}, {cx, cy + 16}, {cx - 5, cy + 13}}, beard);
    c.fillPolygon({{cx - 9, cy - 3}, {cx + 9, cy - 3}, {cx + 4, cy - 14}, {cx - 2, cy - 15}}, hat);
    c.set(cx - 3, cy - 1, kIOut);
    c.set(cx + 3, cy - 1, kIOut);
    c.fillRect(cx - 1, cy, 2, 3, shade(skin, 200));
}

void drawIcon(Canvas& c, const FrameSpec& f, DrawCtx& ctx) {
    std::string k = f.arg(0);
    Rng& rng = ctx.rng;
    if (k == "fireball") {
        // a blazing ball with three flame streaks trailing up and to the left
        streak(c, 4, 10, 38, 42, 18, kI2);
        streak(c, 16, 2, 40, 38, 12, kI2);
        streak(c, 2, 26, 36, 44, 12, kI2);
        streak(c, 10, 14, 38, 42, 9, kI1);
        c.fillCircle(40, 42, 16, kI2);
        c.fillCircle(40, 42, 13, kI1);
        c.fillCircle(38, 40, 8, kI0);
        c.fillCircle(36, 38, 3, grey(255));
    } else if (k == "rat") {
        ratShape(c, 8, 20, kI1, kI3);
        c.fillEllipse(26, 30, 8, 4, kI0);
    } else if (k == "earthquake") {
        // a slab of wall split in two, the halves tilted apart, shaking
        Canvas slab(60, 24);
        masonry(slab, 0, 0, 60, 24, 15, 8, rng, kI1, kI3);
        std::vector<Pt> crackPts = {{28, 0}, {34, 0}, {30, 8}, {36, 15}, {31, 24}, {25, 24}, {30, 15}, {24, 8}};
        slab.fillPolygon(crackPts, RGBA(0, 0, 0, 0));
        // left half raised and tilted, right half sunk
        for (int x = 0; x < 60; ++x)
            for (int y = 0; y < 24; ++y) {
                RGBA px = slab.get(x, y);
                if (!px.a) continue;
                bool left = x < 30 + (y < 8 ? -2 : (y < 16 ? 1 : -1));
                int dy = left ? -(30 - x) / 6 - 3 : 3 + (x - 30) / 10;
                c.set(2 + x, 34 + y + dy, px);
            }
        // shake marks on both sides and falling chips
        for (int k2 = 0; k2 < 3; ++k2) {
            int r = 6 + k2 * 4;
            for (int a = -50; a <= 50; a += 4) {
                double rad = a * M_PI / 180;
                c.set(10 - int(std::lround(std::cos(rad) * r)) + 8, 18 + int(std::lround(std::sin(rad) * r)), kI0);
                c.set(46 + int(std::lround(std::cos(rad) * r)), 18 + int(std::lround(std::sin(rad) * r)), kI0);
            }
        }
        rock(c, 32, 14, 6, rng, kI1);
        rock(c, 24, 24, 3, rng, kI2);
        rock(c, 40, 26, 3, rng, kI2);
    } else if (k == "bolt") {
        c.fillPolygon({{38, 2}, {16, 34}, {30, 34}, {20, 62}, {48, 24}, {33, 24}, {46, 2}}, kI0);
        c.fillPolygon({{40, 6}, {24, 30}, {32, 30}}, grey(255));
    } else if (k == "ray") {
        c.fillCircle(14, 14, 10, kI1);
        c.fillCircle(14, 14, 5, kI0);
        c.thickLine(18, 18, 58, 58, 6, kI1);
        c.thickLine(18, 18, 58, 58, 2, kI0);
        for (int i = 0; i < 8; ++i) {
            double a = i * M_PI / 4;
            c.line(14 + int(std::cos(a) * 12), 14 + int(std::sin(a) * 12), 14 + int(std::cos(a) * 17),
                   14 + int(std::sin(a) * 17), kI2);
        }
        c.fillCircle(56, 56, 6, kI2);
    } else if (k == "broken_pipe") {
        c.fillRect(2, 34, 26, 14, kI2);
        c.fillRect(2, 34, 26, 3, kI1);
        c.fillRect(36, 34, 26, 14, kI2);
        c.fillRect(36, 34, 26, 3, kI1);
        c.fillRect(22, 31, 4, 20, kI3);
        c.fillRect(38, 31, 4, 20, kI3);
        // the spray
        for (int i = 0; i < 7; ++i) {
            int x = 20 + i * 4, top = 6 + std::abs(3 - i) * 4;
            c.thickLine(32, 36, x, top, 2, kI0);
            c.fillCircle(x, top, 2, kI0);
        }
    } else if (k == "rain") {
        c.fillEllipse(22, 18, 12, 9, kI1);
        c.fillEllipse(38, 14, 14, 11, kI1);
        c.fillEllipse(46, 22, 10, 7, kI1);
        c.fillRect(12, 20, 42, 8, kI1);
        c.fillEllipse(36, 10, 7, 4, kI0);
        for (int i = 0; i < 6; ++i) {
            int x = 14 + i * 7, y = 36 + (i % 2) * 8;
            c.fillPolygon({{x, y}, {x + 3, y + 6}, {x, y + 9}, {x - 3, y + 6}}, kI0);
        }
    } else if (k == "falling_rocks") {
        rock(c, 20, 16, 10, rng, kI1);
        rock(c, 44, 26, 12, rng, kI1);
        rock(c, 24, 46, 9, rng, kI1);
        for (int i = 0; i < 3; ++i) {
            c.line(14 + i * 5, 2, 14 + i * 5, 6, kI2);
            c.line(40 + i * 5, 4, 40 + i * 5, 12, kI2);
        }
        c.fillRect(2, 58, 60, 4, kI2);
    } else if (k == "fire") {
        flame(c, 19, 60, 20, 38, kI2, kI1, -4);
        flame(c, 45, 60, 20, 32, kI2, kI1, 4);
        flame(c, 32, 62, 28, 56, kI1, kI0, 3);
        c.fillRect(8, 58, 48, 4, kI3);
        c.fillRect(8, 58, 48, 1, kI2);
    } else if (k == "disturbance") {
        // a spiral of force
        for (int t = 0; t < 420; ++t) {
            double a = t * 0.045, r = 3 + t * 0.062;
            int x = 32 + int(std::lround(std::cos(a) * r)), y = 32 + int(std::lround(std::sin(a) * r));
            c.fillCircle(x, y, 2 + t / 200, t % 60 < 40 ? kI1 : kI0);
        }
        star(c, 52, 12, 6, 3, kI0);
        star(c, 12, 54, 5, 2, kI0);
    } else if (k == "eye") {
        c.fillEllipse(32, 32, 28, 16, kI0);
        c.fillPolygon({{4, 32}, {32, 12}, {60, 32}, {32, 16}}, kI2);
        c.fillCircle(32, 32, 12, kI2);
        c.fillCircle(32, 32, 6, kIOut);
        c.fillCircle(28, 28, 3, grey(255));
        for (int i = -2; i <= 2; ++i) c.thickLine(32 + i * 9, 12 - std::abs(i) * 2 + 2, 32 + i * 12, 4, 2, kI1);
    } else if (k == "doorbreaker") {
        // a ram hitting a door that splinters
        c.fillRect(36, 6, 24, 52, kI2);
        for (int x = 36; x < 60; x += 6) c.fillRect(x, 6, 1, 52, kI3);
        c.fillRect(36, 14, 24, 3, kI3);
        c.fillRect(36, 46, 24, 3, kI3);
        c.fillPolygon({{36, 22}, {44, 28}, {38, 32}, {46, 38}, {36, 42}}, RGBA());
        c.fillRect(2, 26, 36, 12, kI1);
        c.fillRect(2, 26, 36, 3, kI0);
        c.fillEllipse(36, 32, 4, 8, kI0);
        c.fillRect(10, 24, 3, 16, kI3);
        c.fillRect(24, 24, 3, 16, kI3);
        for (int i = 0; i < 4; ++i) c.thickLine(40 + i * 2, 30, 34 + i * 6, 52 + (i % 2) * 6, 2, kI1);
    } else if (k == "boom") {
        for (int i = 0; i < 3; ++i) {
            int x = 14 + i * 11;
            c.fillRect(x, 26, 10, 32, kI1);
            c.fillRect(x, 26, 3, 32, kI0);
            c.fillRect(x, 32, 10, 3, kI3);
            c.fillRect(x, 48, 10, 3, kI3);
        }
        c.thickLine(30, 26, 38, 14, 2, kI3);
        c.thickLine(38, 14, 46, 10, 2, kI3);
        star(c, 49, 9, 8, 3, kI0);
        c.fillCircle(49, 9, 2, grey(255));
    } else if (k == "dig") {
        // pick and shovel crossed, over a dwarf's head
        c.thickLine(10, 56, 50, 16, 4, kI2);
        c.fillPolygon({{36, 6}, {60, 22}, {56, 26}, {46, 14}, {32, 10}}, kI1);
        c.thickLine(54, 56, 18, 18, 4, kI2);
        c.fillPolygon({{8, 6}, {22, 10}, {24, 22}, {14, 24}, {6, 16}}, kI1);
        dwarfHead(c, 32, 40, kI1, kI0, kI2);
    } else if (k == "repair") {
        c.thickLine(14, 54, 40, 24, 5, kI2);
        c.fillRect(34, 10, 24, 12, kI1);
        c.fillRect(34, 10, 24, 3, kI0);
        c.thickLine(44, 22, 36, 30, 4, kI2);
        // a mended brick wall below
        masonry(c, 4, 44, 30, 16, 10, 5, rng, kI1, kI3);
        dwarfHead(c, 48, 44, kI1, kI0, kI2);
    } else if (k == "fire_fighter") {
        // a bucket tipped over a flame, water pouring out in an arc
        c.fillPolygon({{4, 14}, {22, 4}, {32, 22}, {16, 32}}, kI1);
        c.fillPolygon({{4, 14}, {22, 4}, {23, 7}, {6, 17}}, kI2);
        c.thickLine(6, 22, 28, 10, 2, kI2);
        c.line(4, 14, 2, 4, kI3);
        c.line(2, 4, 14, 0, kI3);
        for (int i = 0; i < 7; ++i) {
            double t = i / 6.0;
            int x = 30 + int(t * 20), y = 14 + int(t * t * 26);
            c.fillCircle(x, y, i < 5 ? 3 : 2, kI0);
        }
        flame(c, 46, 62, 24, 22, kI1, kI0, 2);
        c.fillRect(30, 60, 32, 3, kI2);
    } else if (k == "move") {
        c.fillRect(20, 24, 24, 22, kI2);
        c.rect(20, 24, 24, 22, kI3);
        c.line(20, 24, 43, 45, kI3);
        c.line(43, 24, 20, 45, kI3);
        c.fillPolygon({{2, 35}, {14, 25}, {14, 31}, {18, 31}, {18, 39}, {14, 39}, {14, 45}}, kI0);
        c.fillPolygon({{62, 35}, {50, 25}, {50, 31}, {46, 31}, {46, 39}, {50, 39}, {50, 45}}, kI0);
        dwarfHead(c, 32, 12, kI1, kI0, kI2);
    } else if (k == "pump") {
        c.fillRect(22, 20, 14, 38, kI1);
        c.fillRect(22, 20, 4, 38, kI0);
        c.fillRect(16, 54, 26, 6, kI2);
        c.fillRect(36, 26, 16, 6, kI1);
        c.thickLine(28, 18, 54, 6, 3, kI1);
        c.fillCircle(28, 18, 3, kI3);
        c.fillPolygon({{50, 36}, {55, 46}, {50, 52}, {45, 46}}, kI0);
        c.fillPolygon({{56, 52}, {59, 58}, {56, 61}, {53, 58}}, kI0);
    } else if (k == "antirat") {
        ratShape(c, 8, 22, kI1, kI3);
        c.circle(32, 32, 28, kI0);
        c.circle(32, 32, 27, kI0);
        c.circle(32, 32, 26, kI0);
        c.thickLine(13, 13, 51, 51, 4, kI0);
    }
    iconFinish(c);
}

void paintRoom(Canvas& c, const FrameSpec& f, DrawCtx& ctx);

// Rooms stand on their block's floor (row 53), so the picture is lifted
// until its lowest pixel rests there.
void drawRoom(Canvas& c, const FrameSpec& f, DrawCtx& ctx) {
    Canvas art(c.width(), c.height());
    paintRoom(art, f, ctx);
    int bottom = 0;
    for (int y = 0; y < art.height(); ++y)
        for (int x = 0; x < art.width(); ++x)
            if (art.get(x, y).a) bottom = y;
    c.copy(art, 0, -std::max(0, bottom - 54));
}

void paintRoom(Canvas& c, const FrameSpec& f, DrawCtx& ctx) {
    std::string k = f.arg(0);
    Rng& rng = ctx.rng;
    if (k == "crystal") {
        // a cluster of mana crystals on a stone plinth
        c.fillRect(16, 50, 32, 8, RGBA(150, 140, 130));
        c.fillRect(16, 50, 32, 2, RGBA(200, 190, 180));
        c.fillRect(20, 46, 24, 4, RGBA(120, 112, 104));
        auto shard = [&](int cx, int by, int w, int h, RGBA col) {
            c.fillPolygon({{cx - w / 2, by}, {cx - w / 2, by - h + w / 2}, {cx, by - h}, {cx + w / 2, by - h + w / 2},
                           {cx + w / 2, by}},
                          col);
            c.fillPolygon({{cx - w / 2, by}, {cx - w / 2, by - h + w / 2}, {cx, by - h}, {cx, by}}, shade(col, 330));
        };
        shard(22, 48, 10, 24, RGBA(120, 80, 200));
        shard(42, 48, 10, 28, RGBA(120, 80, 200));
        shard(32, 48, 14, 42, RGBA(150, 110, 240));
        for (int i = 0; i < 5; ++i) c.set(10 + i * 11, 10 + (i % 2) * 8, RGBA(230, 210, 255));
        c.outline(kInk);
    } else if (k == "library") {
        // a bookcase
        c.fillRect(10, 10, 44, 44, kWoodDark);
        c.fillRect(12, 12, 40, 40, RGBA(60, 40, 28));
        const RGBA books[] = {RGBA(170, 40, 40), RGBA(40, 90, 160), RGBA(50, 130, 60), RGBA(190, 150, 50),
                              RGBA(120, 60, 140), RGBA(200, 200, 180)};
        for (int shelf = 0; shelf < 3; ++shelf) {
            int by = 24 + shelf * 13;
            c.fillRect(10, by, 44, 3, kWood);
            c.fillRect(10, by, 44, 1, kWoodLight);
            int x = 13;
            while (x < 50) {
                int w = rng.range(3, 5), h = rng.range(8, 11);
                if (x + w > 51) break;
                RGBA col = books[rng.range(0, 5)];
                if (rng.range(0, 6) == 0) {
                    c.fillPolygon({{x, by}, {x + w, by}, {x + w + 4, by - h + 2}, {x + 4, by - h + 1}}, col);
                    x += w + 5;
                    continue;
                }
                c.fillRect(x, by - h, w, h, col);
                c.fillRect(x, by - h, 1, h, shade(col, 330));
                c.fillRect(x, by - h + 2, w, 1, shade(col, 180));
                x += w;
            }
        }
        c.fillRect(10, 50, 44, 4, kWood);
        c.outline(kInk);
    } else if (k == "shield") {
        // a reflecting shield on a stand
        c.fillRect(30, 44, 4, 16, kWoodDark);
        c.fillRect(20, 58, 24, 3, kWoodDark);
        std::vector<Pt> s = {{12, 8}, {52, 8}, {52, 30}, {32, 54}, {12, 30}};
        c.fillPolygon(s, RGBA(190, 200, 215));
        std::vector<Pt> inner = {{16, 12}, {48, 12}, {48, 29}, {32, 49}, {16, 29}};
        c.fillPolygon(inner, RGBA(60, 100, 180));
        c.fillPolygon({{16, 12}, {32, 12}, {32, 49}, {16, 29}}, RGBA(80, 130, 210));
        star(c, 32, 28, 9, 4, RGBA(240, 220, 120));
        c.line(18, 14, 26, 14, RGBA(230, 240, 255));
        c.outline(kInk);
    } else if (k == "tavern") {
        // a barrel and a foaming mug: the dwarves' quarters
        c.fillEllipse(24, 40, 15, 18, kWood);
        for (int y = 24; y < 58; y += 4) c.fillRect(10, y, 28, 1, kWoodDark);
        c.fillRect(9, 30, 30, 3, kIron);
        c.fillRect(9, 48, 30, 3, kIron);
        c.fillEllipse(24, 24, 12, 4, kWoodLight);
        c.fillCircle(24, 40, 3, kWoodDark);
        c.fillRect(40, 30, 16, 26, RGBA(210, 160, 60));
        c.fillRect(40, 30, 4, 26, RGBA(240, 200, 100));
        c.fillRect(56, 34, 4, 16, RGBA(160, 110, 40));
        c.fillRect(58, 36, 3, 12, RGBA());
        c.fillEllipse(48, 29, 9, 5, RGBA(250, 248, 236));
        c.fillEllipse(44, 26, 4, 3, RGBA(255, 255, 255));
        c.outline(kInk);
    } else if (k == "archmage") {
        // the archmage's hat and staff
        c.thickLine(48, 8, 44, 60, 3, kWoodDark);
        c.fillCircle(48, 8, 5, RGBA(120, 220, 255));
        c.fillCircle(47, 7, 2, RGBA(230, 250, 255));
        c.fillPolygon({{6, 54}, {42, 54}, {30, 44}, {26, 12}, {18, 24}, {16, 44}}, RGBA(60, 50, 150));
        c.fillPolygon({{26, 12}, {22, 6}, {14, 10}, {18, 24}}, RGBA(60, 50, 150));
        c.fillEllipse(24, 54, 21, 5, RGBA(50, 40, 130));
        c.fillRect(14, 44, 22, 4, RGBA(220, 190, 80));
        star(c, 22, 32, 5, 2, RGBA(250, 230, 120));
        star(c, 28, 22, 3, 1, RGBA(250, 230, 120));
        c.outline(kInk);
    }
}

}  // namespace

void registerCardDrawers(DrawerTable& t) {
    t["icon"] = drawIcon;
    t["room"] = drawRoom;
}

}  // namespace art
