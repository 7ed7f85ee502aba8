// mv-fontbake: bakes AngelCode text bitmap fonts (.fnt + one PNG page) from
// TrueType fonts with FreeType: printable ASCII, Latin-1, Cyrillic
// U+0400..U+045F and a few punctuation marks, with kerning pairs.
//
//   mv-fontbake --table fonts.txt --fonts DIR --out DIR
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include FT_STROKER_H

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "canvas.hpp"
#include "pngio.hpp"

using namespace art;

namespace {

struct FontSpec {
    std::string name, ttf;
    int size = 0, outline = 0;
    RGBA fill;
};

struct Glyph {
    uint32_t code = 0;
    FT_UInt index = 0;
    Canvas image;
    int left = 0, top = 0, advance = 0;
    int x = 0, y = 0;
};

std::vector<uint32_t> charset() {
    std::vector<uint32_t> cs;
    for (uint32_t c = 32; c < 127; ++c) cs.push_back(c);
    for (uint32_t c = 160; c < 256; ++c) cs.push_back(c);
    for (uint32_t c = 0x400; c < 0x460; ++c) cs.push_back(c);
    // dashes, quotes, bullet, ellipsis, numero and euro: common in texts
    for (uint32_t c : {0x2013u, 0x2014u, 0x2018u, 0x2019u, 0x201Cu, 0x201Du, 0x201Eu, 0x2022u, 0x2026u, 0x2116u,
                       0x20ACu})
        cs.push_back(c);
    return cs;
}

int hexv(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool parseTable(const std::string& text, std::vector<FontSpec>& out, std::string& err) {
    std::istringstream in(text);
    std::string line;
    int n = 0;
    while (std::getline(in, line)) {
        ++n;
        if (line.empty() || line[0] == '#') continue;
        std::istringstream ls(line);
        FontSpec f;
        std::string col;
        if (!(ls >> f.name >> f.ttf >> f.size >> f.outline >> col) || col.size() != 6 || f.size < 6 ||
            f.size > 200 || f.outline < 0 || f.outline > 8) {
            err = "line " + std::to_string(n) + ": want name ttf size outline RRGGBB";
            return false;
        }
        int v[3];
        for (int i = 0; i < 3; ++i) {
            int hi = hexv(col[size_t(2 * i)]), lo = hexv(col[size_t(2 * i + 1)]);
            if (hi < 0 || lo < 0) {
                err = "line " + std::to_string(n) + ": bad colour";
                return false;
            }
            v[i] = hi * 16 + lo;
        }
        f.fill = RGBA(v[0], v[1], v[2]);
        out.push_back(f);
    }
    return true;
}

// Renders one glyph: fill over a dark outline of the given width.
bool renderGlyph(FT_Library lib, FT_Face face, FT_UInt gi, const FontSpec& spec, Glyph& g) {
    if (FT_Load_Glyph(face, gi, FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT)) return false;
    g.advance = int((face->glyph->advance.x + 32) >> 6);
    FT_Glyph fillGlyph;
    if (FT_Get_Glyph(face->glyph, &fillGlyph)) return false;
    FT_Glyph strokeGlyph = nullptr;
    if (spec.outline > 0 && face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
        FT_Stroker st;
        FT_Stroker_New(lib, &st);
        FT_Stroker_Set(st, spec.outline * 64, FT_STROKER_LINECAP_ROUND, FT_STROKER_LINEJOIN_ROUND, 0);
        FT_Glyph_Copy(fillGlyph, &strokeGlyph);
        FT_Glyph_StrokeBorder(&strokeGlyph, st, 0, 1);
        FT_Stroker_Done(st);
    }
    FT_Glyph_To_Bitmap(&fillGlyph, FT_RENDER_MODE_NORMAL, nullptr, 1);
    auto* fb = reinterpret_cast<FT_BitmapGlyph>(fillGlyph);
    int l = fb->left, t = fb->top, r = fb->left + int(fb->bitmap.width), b = fb->top - int(fb->bitmap.rows);
    FT_BitmapGlyph sb = nullptr;
    if (strokeGlyph) {
        FT_Glyph_To_Bitmap(&strokeGlyph, FT_RENDER_MODE_NORMAL, nullptr, 1);
        sb = reinterpret_cast<FT_BitmapGlyph>(strokeGlyph);
        if (sb->bitmap.width && sb->bitmap.rows) {
            if (fb->bitmap.width == 0 || fb->bitmap.rows == 0) {
                l = sb->left, t = sb->top, r = sb->left + int(sb->bitmap.width), b = sb->top - int(sb->bitmap.rows);
            } else {
                l = std::min(l, sb->left);
                t = std::max(t, sb->top);
                r = std::max(r, sb->left + int(sb->bitmap.width));
                b = std::min(b, sb->top - int(sb->bitmap.rows));
            }
        }
    }
    int w = std::max(0, r - l), h = std::max(0, t - b);
    g.left = l;
    g.top = t;
    g.image = Canvas(w, h);
    const RGBA rim(36, 28, 26);
    if (sb) {
        for (unsigned y = 0; y < sb->bitmap.rows; ++y)
            for (unsigned x = 0; x < sb->bitmap.width; ++x) {
                int a = sb->bitmap.buffer[y * unsigned(sb->bitmap.pitch) + x];
                if (a) g.image.set(sb->left - l + int(x), t - sb->top + int(y), RGBA(rim.r, rim.g, rim.b, a));
            }
    }
    for (unsigned y = 0; y < fb->bitmap.rows; ++y)
        for (unsigned x = 0; x < fb->bitmap.width; ++x) {
            int a = fb->bitmap.buffer[y * unsigned(fb->bitmap.pitch) + x];
            if (a) g.image.blend(fb->left - l + int(x), t - fb->top + int(y), RGBA(spec.fill.r, spec.fill.g, spec.fill.b, a));
        }
    FT_Done_Glyph(fillGlyph);
    if (strokeGlyph) FT_Done_Glyph(strokeGlyph);
    return true;
}

bool packPage(std::vector<Glyph>& glyphs, int& W, int& H) {
    for (W = 128; W <= 2048; W *= 2) {
        int x = 1, y = 1, row = 0;
        for (Glyph& g : glyphs) {
            int w = g.image.width(), h = g.image.height();
            if (x + w + 2 > W) {
                x = 1;
                y += row + 2;
                row = 0;
            }
            g.x = x;
            g.y = y;
            x += w + 2;
            row = std::max(row, h);
        }
        int used = y + row + 1;
        for (H = 32; H < used; H *= 2) {}
        if (H <= W) return true;
    }
    return false;
}

bool bake(FT_Library lib, const FontSpec& spec, const std::string& fontDir, const std::string& outDir) {
    FT_Face face;
    std::string path = fontDir + "/" + spec.ttf;
    if (FT_New_Face(lib, path.c_str(), 0, &face)) {
        std::fprintf(stderr, "mv-fontbake: cannot open %s\n", path.c_str());
        return false;
    }
    FT_Set_Pixel_Sizes(face, 0, FT_UInt(spec.size));
    std::vector<Glyph> glyphs;
    for (uint32_t cp : charset()) {
        Glyph g;
        g.code = cp;
        g.index = FT_Get_Char_Index(face, cp);
        if (!g.index) {
            std::fprintf(stderr, "mv-fontbake: %s lacks U+%04X\n", spec.ttf.c_str(), cp);
            FT_Done_Face(face);
            return false;
        }
        if (!renderGlyph(lib, face, g.index, spec, g)) {
            FT_Done_Face(face);
            return false;
        }
        glyphs.push_back(std::move(g));
    }
    int W = 0, H = 0;
    if (!packPage(glyphs, W, H)) {
        std::fprintf(stderr, "mv-fontbake: %s does not fit one page\n", spec.name.c_str());
        FT_Done_Face(face);
        return false;
    }
    Canvas page(W, H);
    for (const Glyph& g : glyphs) page.copy(g.image, g.x, g.y);
    int ascent = int((face->size->metrics.ascender + 63) >> 6);
    int lineHeight = int((face->size->metrics.height + 63) >> 6);
    // The outline grows every glyph by its width on each side; the base line
    // moves down by as much so outlined and plain twins line up.
    int base = ascent + spec.outline;
    std::string pageFile = spec.name + ".png";
    std::string fnt;
    char buf[512];
    std::snprintf(buf, sizeof buf,
                  "info face=\"%s\" size=%d bold=0 italic=0 charset=\"\" unicode=1 stretchH=100 smooth=1 aa=1 "
                  "padding=0,0,0,0 spacing=2,2 outline=%d\n",
                  face->family_name ? face->family_name : "DejaVu", spec.size, spec.outline);
    fnt += buf;
    std::snprintf(buf, sizeof buf, "common lineHeight=%d base=%d scaleW=%d scaleH=%d pages=1 packed=0\n",
                  lineHeight + 2 * spec.outline, base, W, H);
    fnt += buf;
    std::snprintf(buf, sizeof buf, "page id=0 file=\"%s\"\n", pageFile.c_str());
    fnt += buf;
    std::snprintf(buf, sizeof buf, "chars count=%zu\n", glyphs.size());
    fnt += buf;
    for (const Glyph& g : glyphs) {
        std::snprintf(buf, sizeof buf,
                      "char id=%u x=%d y=%d width=%d height=%d xoffset=%d yoffset=%d xadvance=%d page=0 chnl=15\n",
                      g.code, g.x, g.y, g.image.width(), g.image.height(), g.left, base - g.top, g.advance);
        fnt += buf;
    }
    std::string kern;
    int kernCount = 0;
    if (FT_HAS_KERNING(face)) {
        for (const Glyph& a : glyphs)
            for (const Glyph& b : glyphs) {
                FT_Vector k;
                if (FT_Get_Kerning(face, a.index, b.index, FT_KERNING_DEFAULT, &k)) continue;
                int amount = int(k.x >= 0 ? (k.x + 32) >> 6 : -((-k.x + 32) >> 6));
                if (amount == 0) continue;
                std::snprintf(buf, sizeof buf, "kerning first=%u second=%u amount=%d\n", a.code, b.code, amount);
                kern += buf;
                ++kernCount;
            }
    }
    std::snprintf(buf, sizeof buf, "kernings count=%d\n", kernCount);
    fnt += buf;
    fnt += kern;
    FT_Done_Face(face);
    if (!writePng(page, outDir + "/" + pageFile) || !writeFile(outDir + "/" + spec.name + ".fnt", fnt)) {
        std::fprintf(stderr, "mv-fontbake: cannot write %s\n", spec.name.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string table, fontDir, outDir;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string k = argv[i];
        if (k == "--table") table = argv[i + 1];
        else if (k == "--fonts") fontDir = argv[i + 1];
        else if (k == "--out") outDir = argv[i + 1];
    }
    if (table.empty() || fontDir.empty() || outDir.empty()) {
        std::fprintf(stderr, "usage: mv-fontbake --table FILE --fonts DIR --out DIR\n");
        return 2;
    }
    std::string text, err;
    std::vector<FontSpec> specs;
    if (!readFile(table, text) || !parseTable(text, specs, err)) {
        std::fprintf(stderr, "mv-fontbake: %s: %s\n", table.c_str(), err.empty() ? "cannot read" : err.c_str());
        return 1;
    }
    if (!makeDirs(outDir)) {
        std::fprintf(stderr, "mv-fontbake: cannot make %s\n", outDir.c_str());
        return 1;
    }
    FT_Library lib;
    if (FT_Init_FreeType(&lib)) return 1;
    bool ok = true;
    for (const FontSpec& s : specs) ok = bake(lib, s, fontDir, outDir) && ok;
    FT_Done_FreeType(lib);
    return ok ? 0 : 1;
}
