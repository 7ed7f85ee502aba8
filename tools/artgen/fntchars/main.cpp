// mv-fntchars: lists the characters a bitmap font defines, or, given text
// files, the characters of those texts that the font lacks.
//
//   mv-fntchars FONT.fnt              one code point a line (U+XXXX)
//   mv-fntchars FONT.fnt TEXT...      missing characters; exit 1 when any
//   mv-fntchars FONT.fnt --render "text" OUT.png
//                                     lays the text out as a label would
#include <cstdio>
#include <map>

#include "fnt.hpp"
#include "pngio.hpp"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: mv-fntchars FONT.fnt [TEXT-FILE...]\n");
        return 2;
    }
    art::FntFile font;
    std::string err;
    if (!art::loadFnt(argv[1], font, &err)) {
        std::fprintf(stderr, "mv-fntchars: %s: %s\n", argv[1], err.c_str());
        return 2;
    }
    if (argc == 5 && std::string(argv[2]) == "--render") {
        std::string dir = argv[1];
        size_t slash = dir.rfind('/');
        dir = slash == std::string::npos ? "." : dir.substr(0, slash);
        art::Canvas page;
        if (!art::readPng(dir + "/" + font.pageFiles[0], page)) {
            std::fprintf(stderr, "mv-fntchars: cannot read the page of %s\n", argv[1]);
            return 2;
        }
        // kerning pairs are not kept by the reader; read them here
        std::map<std::pair<uint32_t, uint32_t>, int> kern;
        std::string text;
        art::readFile(argv[1], text);
        size_t pos = 0;
        while ((pos = text.find("kerning first=", pos)) != std::string::npos) {
            unsigned a = 0, b = 0;
            int amount = 0;
            if (std::sscanf(text.c_str() + pos, "kerning first=%u second=%u amount=%d", &a, &b, &amount) == 3)
                kern[{a, b}] = amount;
            ++pos;
        }
        auto cps = art::decodeUtf8(argv[3]);
        int lines = 1;
        for (uint32_t cp : cps) lines += cp == '\n';
        art::Canvas out(int(cps.size()) * font.size + 16, lines * font.lineHeight + 16, art::grey(60));
        int x = 8, y = 8;
        uint32_t prev = 0;
        for (uint32_t cp : cps) {
            if (cp == '\n') {
                x = 8;
                y += font.lineHeight;
                prev = 0;
                continue;
            }
            auto it = font.chars.find(cp);
            if (it == font.chars.end()) continue;
            const art::FntChar& c = it->second;
            auto k = kern.find({prev, cp});
            if (k != kern.end()) x += k->second;
            out.blit(page.sub(c.x, c.y, c.width, c.height), x + c.xoffset, y + c.yoffset);
            x += c.xadvance;
            prev = cp;
        }
        return art::writePng(out, argv[4]) ? 0 : 2;
    }
    if (argc == 2) {
        for (auto& [cp, c] : font.chars) std::printf("U+%04X\n", cp);
        return 0;
    }
    int status = 0;
    for (int i = 2; i < argc; ++i) {
        std::string text;
        if (!art::readFile(argv[i], text)) {
            std::fprintf(stderr, "mv-fntchars: cannot read %s\n", argv[i]);
            status = 2;
            continue;
        }
        for (uint32_t cp : art::missingChars(font, text)) {
            std::printf("%s: U+%04X missing\n", argv[i], cp);
            if (status == 0) status = 1;
        }
    }
    return status;
}
