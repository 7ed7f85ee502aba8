// mv-fntchars: lists the characters a bitmap font defines, or, given text
// files, the characters of those texts that the font lacks.
//
//   mv-fntchars FONT.fnt              one code point a line (U+XXXX)
//   mv-fntchars FONT.fnt TEXT...      missing characters; exit 1 when any
//   mv-fntchars FONT.fnt --render "text" OUT.png
//                                     lays the text out as a label would
#include <cstdio>

#include "fnttext.hpp"
#include "pngio.hpp"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: mv-fntchars FONT.fnt [TEXT-FILE...]\n");
        return 2;
    }
    art::FntFace face;
    std::string err;
    const bool render = argc == 5 && std::string(argv[2]) == "--render";
    if (!(render ? art::loadFntFace(argv[1], face, &err) : art::loadFnt(argv[1], face.font, &err))) {
        std::fprintf(stderr, "mv-fntchars: %s: %s\n", argv[1], err.c_str());
        return 2;
    }
    const art::FntFile& font = face.font;
    if (render) {
        const std::string text = argv[3];
        int lines = 1;
        for (char ch : text) lines += ch == '\n';
        art::Canvas out(int(art::decodeUtf8(text).size()) * font.size + 16, lines * font.lineHeight + 16,
                        art::grey(60));
        art::drawText(out, face, text, 8, 8);
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
