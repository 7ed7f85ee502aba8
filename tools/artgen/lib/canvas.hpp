// A small RGBA drawing surface for the art generators: integer pixel
// primitives only, so every output is the same on every machine.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace art {

struct RGBA {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    constexpr RGBA() = default;
    constexpr RGBA(int r_, int g_, int b_, int a_ = 255)
        : r(uint8_t(r_)), g(uint8_t(g_)), b(uint8_t(b_)), a(uint8_t(a_)) {}
    bool operator==(const RGBA& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

// Grey of the given level, opaque unless told.
constexpr RGBA grey(int v, int a = 255) { return RGBA(v, v, v, a); }
// c scaled towards black (f < 256) or white (f > 256); f is in 1/256 steps.
RGBA shade(RGBA c, int f);
// Linear mix of a and b, t in 0..256.
RGBA mix(RGBA a, RGBA b, int t);

struct Pt {
    int x = 0, y = 0;
};

// Deterministic pseudo-random numbers (xorshift); seeded per frame by name.
class Rng {
public:
    explicit Rng(uint32_t seed) : s_(seed ? seed : 0x9e3779b9u) {}
    uint32_t next();
    int range(int lo, int hi);  // lo..hi inclusive
    static uint32_t hash(const std::string& s);

private:
    uint32_t s_;
};

class Canvas {
public:
    Canvas() = default;
    Canvas(int w, int h, RGBA fill = RGBA());

    int width() const { return w_; }
    int height() const { return h_; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
    RGBA get(int x, int y) const { return inside(x, y) ? px_[size_t(y) * w_ + x] : RGBA(); }
    const std::vector<RGBA>& pixels() const { return px_; }
    std::vector<RGBA>& pixels() { return px_; }

    void set(int x, int y, RGBA c);
    void blend(int x, int y, RGBA c);  // source-over
    void fillRect(int x, int y, int w, int h, RGBA c);
    void blendRect(int x, int y, int w, int h, RGBA c);
    void rect(int x, int y, int w, int h, RGBA c);  // one-pixel outline
    void line(int x0, int y0, int x1, int y1, RGBA c);
    void thickLine(int x0, int y0, int x1, int y1, int t, RGBA c);
    void fillCircle(int cx, int cy, int r, RGBA c);
    void circle(int cx, int cy, int r, RGBA c);
    void fillEllipse(int cx, int cy, int rx, int ry, RGBA c);
    void fillPolygon(const std::vector<Pt>& pts, RGBA c);
    void gradientV(int x, int y, int w, int h, RGBA top, RGBA bottom);
    void gradientH(int x, int y, int w, int h, RGBA left, RGBA right);
    // Paints every transparent pixel that touches an opaque one (4-neighbours).
    void outline(RGBA c, int alphaMin = 128);
    // Darkens opaque pixels whose lower-right neighbour is transparent and
    // lightens those whose upper-left is: a cheap bevel.
    void bevel(int light, int dark);
    // Varies opaque pixels' brightness by up to +-amount (seeded).
    void noise(Rng& rng, int amount, int x = 0, int y = 0, int w = -1, int h = -1);
    // Multiplies every pixel's colour by c (like a sprite tint).
    void tint(RGBA c);
    void blit(const Canvas& src, int x, int y);   // source-over
    void copy(const Canvas& src, int x, int y);   // exact copy
    void blitScaled(const Canvas& src, int x, int y, int factor);
    void clearRect(int x, int y, int w, int h) { fillRect(x, y, w, h, RGBA()); }
    Canvas flippedH() const;
    Canvas sub(int x, int y, int w, int h) const;
    Canvas scaled(int factor) const;

private:
    int w_ = 0, h_ = 0;
    std::vector<RGBA> px_;
};

// Hand-written pixel pictures. A file holds palette lines "c RRGGBB[AA]"
// (one character, then hex), then pictures, each started by "= name" and
// followed by rows of palette characters; '.' and ' ' are transparent and
// '#' starts a comment line. Returns false with a message on a bad file.
bool parsePixelArt(const std::string& text, std::map<std::string, Canvas>& out, std::string* error);
bool loadPixelArt(const std::string& path, std::map<std::string, Canvas>& out, std::string* error);

}  // namespace art
