#include "draw_common.hpp"

#include <cmath>
#include <cstdlib>

namespace art {

void masonry(Canvas& c, int x, int y, int w, int h, int brickW, int brickH, Rng& rng, RGBA face, RGBA mortar,
             int rowShift) {
    for (int row = 0; row * brickH < h; ++row) {
        int by = y + row * brickH;
        int shift = ((row + rowShift) % 2) ? brickW / 2 : 0;
        for (int bx = x - shift; bx < x + w; bx += brickW) {
            int v = rng.range(-10, 8);
            RGBA f = RGBA(std::min(255, std::max(0, face.r + v)), std::min(255, std::max(0, face.g + v)),
                          std::min(255, std::max(0, face.b + v)), face.a);
            for (int j = 0; j < brickH; ++j)
                for (int i = 0; i < brickW; ++i) {
                    int px = bx + i, py = by + j;
                    if (px < x || px >= x + w || py < y || py >= y + h) continue;
                    RGBA col = f;
                    if (j == brickH - 1 || i == brickW - 1) col = mortar;
                    else if (j == 0 || i == 0) col = shade(f, 256 + 70);
                    else if (j == brickH - 2 || i == brickW - 2) col = shade(f, 226);
                    c.set(px, py, col);
                }
            // a few pits for texture
            if (rng.range(0, 2) == 0) {
                int px = bx + rng.range(2, brickW - 3), py = by + rng.range(2, brickH - 3);
                if (px >= x && px < x + w && py >= y && py < y + h) c.set(px, py, shade(f, 210));
            }
        }
    }
}

void planks(Canvas& c, int x, int y, int w, int h, int plank, bool vertical, Rng& rng) {
    int n = vertical ? w : h;
    for (int p = 0; p * plank < n; ++p) {
        RGBA base = shade(kWood, 256 + rng.range(-30, 30));
        for (int k = 0; k < plank; ++k) {
            int pos = p * plank + k;
            if (pos >= n) break;
            RGBA col = k == plank - 1 ? kWoodDark : (k == 0 ? kWoodLight : base);
            if (vertical) c.fillRect(x + pos, y, 1, h, col);
            else c.fillRect(x, y + pos, w, 1, col);
        }
        // grain and nails
        int along = vertical ? h : w;
        for (int g = rng.range(2, 6); g < along - 2; g += rng.range(5, 11)) {
            int a = p * plank + plank / 2;
            if (a >= n) break;
            if (vertical) c.set(x + a, y + g, shade(base, 200));
            else c.set(x + g, y + a, shade(base, 200));
        }
    }
}

void crack(Canvas& c, int x0, int y0, int x1, int y1, Rng& rng, RGBA col, int width) {
    int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0)) / 5 + 1;
    int px = x0, py = y0;
    for (int s = 1; s <= steps; ++s) {
        int tx = x0 + (x1 - x0) * s / steps + (s < steps ? rng.range(-3, 3) : 0);
        int ty = y0 + (y1 - y0) * s / steps + (s < steps ? rng.range(-3, 3) : 0);
        c.thickLine(px, py, tx, ty, width, col);
        if (s < steps && rng.range(0, 3) == 0) {
            int bx = tx + rng.range(-7, 7), by = ty + rng.range(-7, 7);
            c.line(tx, ty, bx, by, col);
        }
        px = tx;
        py = ty;
    }
}

void archWindow(Canvas& c, int x, int y, int w, int h, RGBA dark, RGBA frame) {
    int r = w / 2;
    c.fillRect(x - 1, y + r - 1, w + 2, h - r + 2, frame);
    c.fillEllipse(x + r, y + r, r + 1, r + 1, frame);
    c.fillRect(x, y + r, w, h - r, dark);
    c.fillEllipse(x + r, y + r, r, r, dark);
    c.fillRect(x - 1, y + h, w + 2, 2, shade(frame, 300));  // sill
}

void star(Canvas& c, int cx, int cy, int r, int inner, RGBA col) {
    std::vector<Pt> pts;
    for (int i = 0; i < 10; ++i) {
        double a = -M_PI / 2 + i * M_PI / 5;
        int rr = (i % 2) ? inner : r;
        pts.push_back({cx + int(std::lround(std::cos(a) * rr)), cy + int(std::lround(std::sin(a) * rr))});
    }
    c.fillPolygon(pts, col);
}

RGBA hexColour(const std::string& s) {
    auto hv = [](char ch) {
        if (ch >= '0' && ch <= '9') return ch - '0';
        if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
        if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
        return -1;
    };
    if (s.size() != 6 && s.size() != 8) return RGBA(255, 255, 255);
    int v[4] = {0, 0, 0, 255};
    for (size_t i = 0; i < s.size() / 2; ++i) {
        int hi = hv(s[2 * i]), lo = hv(s[2 * i + 1]);
        if (hi < 0 || lo < 0) return RGBA(255, 255, 255);
        v[i] = hi * 16 + lo;
    }
    return RGBA(v[0], v[1], v[2], v[3]);
}

void finishIcon(Canvas& c, RGBA ink) {
    c.bevel(40, 40);
    c.outline(ink);
}

}  // namespace art
