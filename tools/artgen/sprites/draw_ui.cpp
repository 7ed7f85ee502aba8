// Interface frames: logo letters, the title, buttons, nine-slice frames,
// arrows and the scenery pieces.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_STROKER_H

#include <cmath>

#include "draw_common.hpp"

namespace art {

namespace {

// 5 x 7 capitals for the maker's name.
const char* letterRows(char ch) {
    switch (ch) {
    case 'B': return "1111010001100011111010001100011111000000";
    case 'R': return "1111010001100011111010100100101000100000";
    case 'I': return "1110001000010000100001000010011100000000";
    case 'N': return "1000111001101011001110001100011000100000";
    case 'D': return "1111010001100011000110001100011111000000";
    case 'L': return "1000010000100001000010000100001111100000";
    case 'E': return "1111110000100001111010000100001111100000";
    case 'C': return "0111110000100001000010000100000111100000";
    case 'O': return "0111010001100011000110001100010111000000";
    default: return "0000000000000000000000000000000000000000";
    }
}

void drawLogoLetter(Canvas& c, const FrameSpec& f, DrawCtx&) {
    char ch = f.arg(0, "?")[0];
    const char* rows = letterRows(ch);
    int cols = ch == 'I' ? 3 : 5, scale = 6;
    int ox = (f.w - cols * scale) / 2, oy = (f.h - 7 * scale) / 2;
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < cols; ++x) {
            if (rows[y * 5 + x] != '1') continue;
            // each pixel a little lit tile, warmer towards the top
            RGBA col = mix(RGBA(255, 214, 120), RGBA(230, 120, 40), y * 256 / 7);
            c.fillRect(ox + x * scale, oy + y * scale, scale, scale, col);
            c.fillRect(ox + x * scale, oy + y * scale, scale, 1, shade(col, 340));
            c.fillRect(ox + x * scale + scale - 1, oy + y * scale, 1, scale, shade(col, 190));
            c.fillRect(ox + x * scale, oy + y * scale + scale - 1, scale, 1, shade(col, 160));
        }
}

void drawLogoCursor(Canvas& c, const FrameSpec& f, DrawCtx&) {
    int w = 30, h = 42;
    int ox = (f.w - w) / 2, oy = (f.h - h) / 2;
    c.fillRect(ox, oy + h - 6, w, 6, RGBA(255, 214, 120));
    c.fillRect(ox, oy, w, h - 8, RGBA(255, 214, 120, 60));
}

// Renders text with FreeType into a coverage mask (alpha only).
bool renderText(const std::string& fontPath, int px, const std::string& text, int strokePx, Canvas& fill,
                Canvas& stroke, int& width, int& ascent) {
    FT_Library lib;
    if (FT_Init_FreeType(&lib)) return false;
    FT_Face face;
    if (FT_New_Face(lib, fontPath.c_str(), 0, &face)) {
        FT_Done_FreeType(lib);
        return false;
    }
    FT_Set_Pixel_Sizes(face, 0, FT_UInt(px));
    FT_Stroker stroker;
    FT_Stroker_New(lib, &stroker);
    FT_Stroker_Set(stroker, strokePx * 64, FT_STROKER_LINECAP_ROUND, FT_STROKER_LINEJOIN_ROUND, 0);
    ascent = int(face->size->metrics.ascender >> 6);
    int pen = strokePx + 2;
    int W = fill.width(), H = fill.height();
    int base = ascent + strokePx + 2;
    FT_UInt prev = 0;
    for (char ch : text) {
        FT_UInt gi = FT_Get_Char_Index(face, FT_ULong((unsigned char)ch));
        if (prev && gi) {
            FT_Vector k;
            FT_Get_Kerning(face, prev, gi, FT_KERNING_DEFAULT, &k);
            pen += int(k.x >> 6);
        }
        for (int pass = 0; pass < 2; ++pass) {
            if (FT_Load_Glyph(face, gi, FT_LOAD_DEFAULT)) continue;
            FT_Glyph g;
            FT_Get_Glyph(face->glyph, &g);
            if (pass == 1) FT_Glyph_StrokeBorder(&g, stroker, 0, 1);
            FT_Glyph_To_Bitmap(&g, FT_RENDER_MODE_NORMAL, nullptr, 1);
            auto* bg = reinterpret_cast<FT_BitmapGlyph>(g);
            Canvas& dst = pass ? stroke : fill;
            for (unsigned y = 0; y < bg->bitmap.rows; ++y)
                for (unsigned x = 0; x < bg->bitmap.width; ++x) {
                    int v = bg->bitmap.buffer[y * unsigned(bg->bitmap.pitch) + x];
                    int dx = pen + bg->left + int(x), dy = base - bg->top + int(y);
                    if (dx < 0 || dy < 0 || dx >= W || dy >= H) continue;
                    RGBA old = dst.get(dx, dy);
                    dst.set(dx, dy, RGBA(255, 255, 255, std::max<int>(old.a, v)));
                }
            FT_Done_Glyph(g);
        }
        pen += int(face->glyph->advance.x >> 6);
        prev = gi;
    }
    width = pen + strokePx + 2;
    FT_Stroker_Done(stroker);
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
    return true;
}

}  // namespace

// The game's name: gold serif letters with a dark rim and a drop shadow. The
// lettering, rim and shadow included, is centred in the frame with a clear margin
// on every side; a face too wide for the frame is set smaller until it fits.
void drawTitleLettering(Canvas& c, const std::string& fontDir) {
    const int strokePx = 4, shadowX = 4, shadowY = 5, margin = 12;
    for (int px = 72; px >= 24; px -= 2) {
        Canvas fill(c.width() * 2, c.height() * 2), stroke(c.width() * 2, c.height() * 2);
        int width = 0, ascent = 0;
        if (!renderText(fontDir + "/DejaVuSerif-Bold.ttf", px, "Mirrowvale", strokePx, fill, stroke, width, ascent))
            return;
        // the ink's box: the rim holds the fill, the shadow is the rim moved
        int x0 = stroke.width(), y0 = stroke.height(), x1 = -1, y1 = -1;
        for (int y = 0; y < stroke.height(); ++y)
            for (int x = 0; x < stroke.width(); ++x)
                if (stroke.get(x, y).a) {
                    x0 = std::min(x0, x);
                    y0 = std::min(y0, y);
                    x1 = std::max(x1, x + shadowX);
                    y1 = std::max(y1, y + shadowY);
                }
        if (x1 < 0) return;
        if (x1 - x0 + 1 + 2 * margin > c.width() || y1 - y0 + 1 + 2 * margin > c.height()) continue;
        int ox = (c.width() - (x1 - x0 + 1)) / 2 - x0, oy = (c.height() - (y1 - y0 + 1)) / 2 - y0;
        auto put = [&](const Canvas& m, int dx, int dy, auto colourAt) {
            for (int y = 0; y < m.height(); ++y)
                for (int x = 0; x < m.width(); ++x) {
                    int a = m.get(x, y).a;
                    if (!a) continue;
                    RGBA col = colourAt(x, y);
                    col.a = uint8_t(col.a * a / 255);
                    c.blend(ox + x + dx, oy + y + dy, col);
                }
        };
        put(stroke, shadowX, shadowY, [](int, int) { return RGBA(0, 0, 0, 140); });
        put(stroke, 0, 0, [](int, int) { return RGBA(52, 30, 16); });
        int top = strokePx + 2, bottom = top + ascent;
        put(fill, 0, 0, [&](int, int y) {
            int t = std::max(0, std::min(256, (y - top) * 256 / std::max(1, bottom - top)));
            return t < 128 ? mix(RGBA(255, 246, 190), RGBA(250, 200, 80), t * 2)
                           : mix(RGBA(250, 200, 80), RGBA(200, 110, 30), (t - 128) * 2);
        });
        return;
    }
}

namespace {

void drawTitleLogo(Canvas& c, const FrameSpec&, DrawCtx& ctx) { drawTitleLettering(c, ctx.fontDir); }

void roundButton(Canvas& c, const FrameSpec& f) {
    std::string kind = f.arg(0);
    bool pressed = f.argInt(1) != 0;
    // "plain" is the neutral OK: the tick on warm stone instead of green.
    RGBA base = kind == "ok"       ? RGBA(70, 160, 70)
                : kind == "cancel" ? RGBA(190, 60, 50)
                : kind == "plain"  ? RGBA(150, 134, 116)
                                   : RGBA(70, 110, 190);
    if (pressed) base = shade(base, 200);
    int cx = f.w / 2, cy = f.h / 2 + (pressed ? 1 : 0), r = f.w / 2 - 3;
    c.fillCircle(cx, cy, r, shade(base, 170));
    c.fillCircle(cx, cy, r - 2, base);
    c.fillEllipse(cx - 4, cy - r / 2, r / 2, r / 4, shade(base, pressed ? 280 : 330));
    RGBA mark(250, 250, 244);
    if (kind == "ok" || kind == "plain") {
        c.thickLine(cx - 10, cy, cx - 3, cy + 8, 5, mark);
        c.thickLine(cx - 3, cy + 8, cx + 11, cy - 9, 5, mark);
    } else if (kind == "cancel") {
        c.thickLine(cx - 9, cy - 9, cx + 9, cy + 9, 5, mark);
        c.thickLine(cx + 9, cy - 9, cx - 9, cy + 9, 5, mark);
    } else {
        // a thumbs-up
        c.fillRect(cx - 12, cy - 2, 6, 14, mark);
        c.fillPolygon({{cx - 5, cy - 2}, {cx - 1, cy - 6}, {cx + 1, cy - 14}, {cx + 5, cy - 13}, {cx + 4, cy - 4},
                       {cx + 12, cy - 4}, {cx + 12, cy + 12}, {cx - 5, cy + 12}},
                      mark);
        for (int k = 0; k < 3; ++k) c.fillRect(cx + 2, cy + 1 + k * 4, 10, 1, shade(mark, 190));
    }
    c.outline(kInk);
    // soft shadow under the button, added after the rim so it gets none
    Canvas shadow(f.w, f.h);
    shadow.fillCircle(cx, cy + 2, r + 1, RGBA(0, 0, 0, 80));
    shadow.blit(c, 0, 0);
    c = shadow;
}

void drawRoundButton(Canvas& c, const FrameSpec& f, DrawCtx&) { roundButton(c, f); }

// 48 x 48 frames for nine-slice sprites: 16-pixel corners, plain middles.
void drawNine(Canvas& c, const FrameSpec& f, DrawCtx&) {
    std::string k = f.arg(0);
    int w = f.w, h = f.h;
    // A rounded rectangle that replaces what lies beneath (translucent
    // fills must not add up where the corner pieces overlap).
    auto rounded = [&](int inset, int r, RGBA col) {
        Canvas m(w, h);
        const RGBA on(255, 255, 255);
        m.fillRect(inset + r, inset, w - 2 * inset - 2 * r, h - 2 * inset, on);
        m.fillRect(inset, inset + r, w - 2 * inset, h - 2 * inset - 2 * r, on);
        m.fillCircle(inset + r, inset + r, r, on);
        m.fillCircle(w - 1 - inset - r, inset + r, r, on);
        m.fillCircle(inset + r, h - 1 - inset - r, r, on);
        m.fillCircle(w - 1 - inset - r, h - 1 - inset - r, r, on);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (m.get(x, y).a) c.set(x, y, col);
    };
    if (k == "button") {
        int state = f.argInt(1);
        RGBA top = state == 0 ? RGBA(232, 190, 110) : state == 1 ? RGBA(170, 120, 60) : RGBA(150, 150, 150);
        RGBA bot = state == 0 ? RGBA(176, 112, 50) : state == 1 ? RGBA(210, 160, 90) : RGBA(110, 110, 110);
        rounded(0, 8, RGBA(60, 36, 20));
        rounded(2, 6, bot);
        for (int y = 3; y < h - 3; ++y)
            for (int x = 3; x < w - 3; ++x)
                if (c.get(x, y) == bot) c.set(x, y, mix(top, bot, (y - 3) * 256 / (h - 6)));
        c.fillRect(9, 3, w - 18, 1, shade(top, 330));
    } else if (k == "textfield") {
        // A one-pixel rim: the edit box sets its text 5 pixels in, and a wider rim
        // left the first letter touching it.
        rounded(0, 4, RGBA(70, 56, 44));
        rounded(1, 3, RGBA(248, 242, 226));
        c.fillRect(4, 1, w - 8, 2, RGBA(200, 190, 170));
    } else if (k == "message") {
        rounded(0, 10, RGBA(220, 180, 90));
        // opaque: text sits on it, and nothing behind may show through
        rounded(2, 8, RGBA(30, 24, 36));
        rounded(4, 6, RGBA(44, 36, 54));
    } else if (k == "menu") {
        // A plain wooden face in a lighter rim: stretched as a nine-slice, planks and grain
        // would turn into broad bands.
        rounded(0, 8, RGBA(60, 36, 20));
        rounded(2, 6, kWoodLight);
        rounded(4, 5, kWood);
        // corner studs
        for (int sx : {6, w - 8})
            for (int sy : {6, h - 8}) c.fillRect(sx, sy, 2, 2, RGBA(230, 200, 110));
    } else if (k == "store") {
        rounded(0, 8, RGBA(40, 30, 30));
        rounded(2, 6, RGBA(210, 170, 80));
        rounded(4, 5, RGBA(96, 90, 100));
        rounded(6, 3, RGBA(70, 64, 76));
    } else if (k == "choice") {
        // A card or spell of the selection bar: a dark slot in a brass rim that lights
        // up while pressed.
        bool pressed = f.argInt(1) != 0;
        rounded(0, 8, RGBA(40, 30, 26));
        rounded(2, 6, pressed ? RGBA(250, 220, 120) : RGBA(170, 136, 80));
        rounded(4, 5, pressed ? RGBA(88, 74, 58) : RGBA(62, 50, 42));
        for (int y = 5; y < h - 5; ++y)
            for (int x = 5; x < w - 5; ++x)
                if (c.get(x, y) == (pressed ? RGBA(88, 74, 58) : RGBA(62, 50, 42)))
                    c.set(x, y, mix(pressed ? RGBA(96, 80, 62) : RGBA(72, 58, 48),
                                    pressed ? RGBA(70, 58, 46) : RGBA(42, 34, 30), (y - 5) * 256 / (h - 10)));
    } else {  // dialog: parchment in a wooden rim
        rounded(0, 10, RGBA(60, 36, 20));
        rounded(2, 8, kWoodLight);
        // Plain: the frame is stretched as a nine-slice, and specks would stretch to blots.
        rounded(5, 6, RGBA(240, 226, 190));
    }
}

void drawArrow(Canvas& c, const FrameSpec& f, DrawCtx&) {
    std::string d = f.arg(0);
    std::vector<Pt> pts = {{4, 16}, {16, 4}, {16, 11}, {28, 11}, {28, 21}, {16, 21}, {16, 28}};  // left
    for (Pt& p : pts) {
        if (d == "right") p.x = 31 - p.x;
        else if (d == "up") std::swap(p.x, p.y);
        else if (d == "down") {
            std::swap(p.x, p.y);
            p.y = 31 - p.y;
        }
    }
    c.fillPolygon(pts, RGBA(250, 226, 150));
    c.bevel(60, 60);
    c.outline(kInk);
}

void drawLock(Canvas& c, const FrameSpec&, DrawCtx&) {
    c.circle(16, 12, 7, RGBA(170, 170, 180));
    c.circle(16, 12, 6, RGBA(170, 170, 180));
    c.circle(16, 12, 5, RGBA(120, 120, 130));
    c.clearRect(8, 13, 16, 5);
    c.fillRect(6, 14, 20, 15, RGBA(220, 180, 60));
    c.fillRect(6, 14, 20, 2, RGBA(250, 220, 120));
    c.fillCircle(16, 20, 2, kInk);
    c.fillRect(15, 21, 2, 5, kInk);
    c.outline(kInk);
}

void drawCardSlot(Canvas& c, const FrameSpec& f, DrawCtx&) {
    bool pressed = f.argInt(0) != 0;
    RGBA rim = pressed ? RGBA(250, 220, 120) : RGBA(150, 120, 80);
    c.fillRect(1, 0, f.w - 2, f.h, kInk);
    c.fillRect(0, 1, f.w, f.h - 2, kInk);
    c.fillRect(2, 2, f.w - 4, f.h - 4, rim);
    c.gradientV(4, 4, f.w - 8, f.h - 8, pressed ? RGBA(90, 76, 60) : RGBA(66, 54, 46),
                pressed ? RGBA(60, 50, 40) : RGBA(40, 32, 28));
    c.fillRect(4, 4, f.w - 8, 1, shade(rim, 320));
}

void drawSolid(Canvas& c, const FrameSpec& f, DrawCtx&) { c.fillRect(0, 0, f.w, f.h, hexColour(f.arg(0))); }

void drawSky(Canvas& c, const FrameSpec& f, DrawCtx&) {
    int h = f.h;
    for (int y = 0; y < h; ++y) {
        int t = y * 256 / (h - 1);
        RGBA col = t < 160 ? mix(RGBA(58, 96, 170), RGBA(130, 176, 226), t * 256 / 160)
                           : mix(RGBA(130, 176, 226), RGBA(236, 214, 180), (t - 160) * 256 / 96);
        c.fillRect(0, y, f.w, 1, col);
    }
}

void drawSun(Canvas& c, const FrameSpec& f, DrawCtx&) {
    int cx = f.w / 2, cy = f.h / 2;
    for (int r = cx; r > 20; r -= 3) c.fillCircle(cx, cy, r, RGBA(255, 230, 150, 18));
    c.fillCircle(cx, cy, 20, RGBA(255, 226, 130));
    c.fillCircle(cx, cy, 17, RGBA(255, 244, 190));
    c.fillCircle(cx - 5, cy - 5, 6, RGBA(255, 252, 230));
}

void drawCloud(Canvas& c, const FrameSpec& f, DrawCtx& ctx) {
    Rng& rng = ctx.rng;
    int w = f.w, h = f.h;
    // a flat base of small puffs with a few big ones heaped on top
    int base = h - 8;
    for (int x = 10; x < w - 10; x += 8) c.fillCircle(x, base - 2, 7, RGBA(250, 250, 255));
    int n = f.argInt(0) == 1 ? 4 : 3;
    for (int i = 0; i < n; ++i) {
        int r = rng.range(h / 3, h / 2 - 2) - (i == 0 || i == n - 1 ? 5 : 0);
        int x = w / 5 + i * (w * 3 / 5) / (n - 1);
        c.fillCircle(x, base - r + 2, r, RGBA(250, 250, 255));
    }
    // shade the underside
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            RGBA p = c.get(x, y);
            if (!p.a) continue;
            if (y > base - 3) c.set(x, y, RGBA(206, 214, 234));
            else if (c.get(x, y + 3).a == 0 || y > base - 7) c.set(x, y, RGBA(226, 232, 246));
        }
    c.outline(RGBA(170, 182, 210, 220));
}

void drawGround(Canvas& c, const FrameSpec& f, DrawCtx& ctx) {
    std::string k = f.arg(0);
    Rng& rng = ctx.rng;
    int w = f.w, h = f.h;
    if (k == "grass") {
        c.gradientV(0, 8, w, h - 8, RGBA(92, 150, 60), RGBA(70, 110, 44));
        for (int x = 0; x < w; ++x) {
            int t = rng.range(0, 7);
            c.fillRect(x, 8 - t, 1, t, RGBA(110, 170, 70));
            if (rng.range(0, 9) == 0) c.set(x, 8 - t - 1, RGBA(170, 210, 110));
        }
        for (int k2 = 0; k2 < 40; ++k2) c.set(rng.range(0, w - 1), rng.range(10, h - 1), RGBA(60, 96, 40));
    } else if (k == "earth") {
        // Repeated both ways under the whole ground: one even tone, and every clod or
        // pebble that crosses an edge is drawn again at the opposite edge, so the tiles
        // join without a seam.
        c.fillRect(0, 0, w, h, RGBA(104, 76, 52));
        auto wrapped = [&](auto draw) {
            for (int dy : {-h, 0, h})
                for (int dx : {-w, 0, w}) draw(dx, dy);
        };
        for (int k2 = 0; k2 < 24; ++k2) {
            int x = rng.range(0, w - 1), y = rng.range(0, h - 1), rx = rng.range(4, 9), ry = rng.range(2, 4);
            wrapped([&](int dx, int dy) { c.fillEllipse(x + dx, y + dy, rx, ry, RGBA(112, 82, 56)); });
        }
        for (int k2 = 0; k2 < 60; ++k2) {
            int x = rng.range(0, w - 1), y = rng.range(0, h - 1), rx = rng.range(1, 3), ry = rng.range(1, 2);
            wrapped([&](int dx, int dy) {
                c.fillEllipse(x + dx, y + dy, rx, ry, RGBA(150, 120, 90));
                c.set(x + dx, y + dy + ry, RGBA(86, 62, 42));
            });
        }
        for (int k2 = 0; k2 < 80; ++k2) c.set(rng.range(0, w - 1), rng.range(0, h - 1), RGBA(70, 50, 36));
    } else {  // water
        c.gradientV(0, 0, w, h, RGBA(60, 120, 190), RGBA(24, 56, 110));
        for (int x = 0; x < w; ++x) {
            int y = 2 + int(std::lround(std::sin(x * 2 * M_PI / 32) * 2));
            c.fillRect(x, 0, 1, y, RGBA());
            c.set(x, y, RGBA(190, 230, 255));
        }
        for (int k2 = 0; k2 < 20; ++k2) c.fillRect(rng.range(0, w - 8), rng.range(8, h - 2), rng.range(3, 8), 1,
                                                 RGBA(120, 180, 230));
    }
    // The far bank (the enemy's ground, seen behind our tower) fades into the haze of
    // the horizon, so it reads as distance and not as a second band of our own ground.
    if (f.arg(1) == "far")
        for (RGBA& p : c.pixels()) p = mix(p, RGBA(196, 206, 214, p.a), 120);
}

void drawHills(Canvas& c, const FrameSpec& f, DrawCtx&) {
    int w = f.w, h = f.h;
    for (int x = 0; x < w; ++x) {
        double a = x * 2 * M_PI / w;
        int far = int(h * 0.35 + std::sin(a * 2 + 0.7) * 14 + std::sin(a * 5) * 5);
        int near = int(h * 0.6 + std::sin(a * 3 + 2.0) * 10 + std::sin(a * 7 + 1) * 3);
        c.gradientV(x, far, 1, h - far, RGBA(120, 140, 170), RGBA(110, 130, 150));
        c.gradientV(x, near, 1, h - near, RGBA(90, 130, 80), RGBA(70, 100, 60));
    }
}

// A whole backdrop for full-screen layouts: sky, sun, clouds, two ranges of
// hills and grass, from the same pieces as the sheet's scenery frames.
void drawScene(Canvas& c, const FrameSpec& f, DrawCtx& ctx) {
    int w = f.w, h = f.h;
    FrameSpec part;
    Canvas sky(32, 256);
    part.w = 32;
    part.h = 256;
    drawSky(sky, part, ctx);
    for (int y = 0; y < h; ++y) c.fillRect(0, y, w, 1, sky.get(0, y * 255 / (h - 1)));
    Canvas sun(96, 96);
    part.w = part.h = 96;
    drawSun(sun, part, ctx);
    c.blit(sun, w * 3 / 4, h / 8);
    for (int k = 0; k < 5; ++k) {
        Canvas cloud(128, 48);
        part.w = 128;
        part.h = 48;
        part.args = {k % 2 ? "1" : "2"};
        drawCloud(cloud, part, ctx);
        c.blit(cloud, 40 + k * (w - 180) / 4, 30 + (k * 71) % (h / 3));
    }
    Canvas hills(256, 96);
    part.w = 256;
    part.h = 96;
    drawHills(hills, part, ctx);
    Canvas big = hills.scaled(2);
    for (int x = 0; x < w; x += big.width()) c.blit(big, x, h - big.height() - 24);
    Canvas grass(128, 32);
    part.w = 128;
    part.h = 32;
    part.args = {"grass"};
    drawGround(grass, part, ctx);
    for (int x = 0; x < w; x += 128) c.blit(grass, x, h - 32);
}

}  // namespace

void registerUiDrawers(DrawerTable& t) {
    t["scene"] = drawScene;
    t["logo-letter"] = drawLogoLetter;
    t["logo-cursor"] = drawLogoCursor;
    t["title-logo"] = drawTitleLogo;
    t["round-button"] = drawRoundButton;
    t["nine"] = drawNine;
    t["arrow"] = drawArrow;
    t["lock"] = drawLock;
    t["card-slot"] = drawCardSlot;
    t["solid"] = drawSolid;
    t["sky"] = drawSky;
    t["sun"] = drawSun;
    t["cloud"] = drawCloud;
    t["ground"] = drawGround;
    t["hills"] = drawHills;
}

}  // namespace art
