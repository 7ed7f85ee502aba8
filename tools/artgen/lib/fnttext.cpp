#include "fnttext.hpp"

#include <algorithm>

#include "pngio.hpp"

namespace art {

namespace {

// Walks the text as a label lays it out; draw (when not null) receives each glyph.
int layout(const FntFace& face, const std::string& text, int x, int y, Canvas* dst) {
    const FntFile& font = face.font;
    int penX = x, penY = y, widest = 0;
    uint32_t prev = 0;
    for (uint32_t cp : decodeUtf8(text)) {
        if (cp == '\n') {
            widest = std::max(widest, penX - x);
            penX = x;
            penY += font.lineHeight;
            prev = 0;
            continue;
        }
        auto it = font.chars.find(cp);
        if (it == font.chars.end()) continue;
        const FntChar& c = it->second;
        auto k = font.kerning.find({prev, cp});
        if (k != font.kerning.end()) penX += k->second;
        if (dst) dst->blit(face.page.sub(c.x, c.y, c.width, c.height), penX + c.xoffset, penY + c.yoffset);
        penX += c.xadvance;
        prev = cp;
    }
    return std::max(widest, penX - x);
}

}  // namespace

bool loadFntFace(const std::string& fntPath, FntFace& out, std::string* error) {
    if (!loadFnt(fntPath, out.font, error)) return false;
    size_t slash = fntPath.rfind('/');
    std::string dir = slash == std::string::npos ? "." : fntPath.substr(0, slash);
    if (!readPng(dir + "/" + out.font.pageFiles[0], out.page)) {
        if (error) *error = "cannot read the page " + out.font.pageFiles[0];
        return false;
    }
    return true;
}

int drawText(Canvas& dst, const FntFace& face, const std::string& text, int x, int y) {
    return layout(face, text, x, y, &dst);
}

int textWidth(const FntFace& face, const std::string& text) { return layout(face, text, 0, 0, nullptr); }

}  // namespace art
