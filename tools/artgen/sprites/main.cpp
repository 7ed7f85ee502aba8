// mv-sprites: draws every frame of the frame table and packs the sprite
// sheets (PNG + plist) and plain images the game loads.
//
//   mv-sprites --frames FILE --pixels FILE --fonts DIR --out DIR [--preview DIR]
#include <cstdio>
#include <cstring>
#include <map>
#include <set>

#include "frames.hpp"
#include "packer.hpp"
#include "pngio.hpp"

using namespace art;

namespace art {
void writePreviews(const std::vector<FrameSpec>& specs, const std::map<std::string, Canvas>& images,
                   const std::string& dir);
}

static const Canvas kEmpty;

const Canvas& DrawCtx::pix(const std::string& name) const {
    if (!pixels) return kEmpty;
    auto it = pixels->find(name);
    return it == pixels->end() ? kEmpty : it->second;
}

bool art::parseFrameTable(const std::string& text, std::vector<FrameSpec>& out, std::string* error) {
    size_t pos = 0;
    int lineNo = 0;
    std::set<std::string> seen;
    while (pos < text.size()) {
        size_t e = text.find('\n', pos);
        if (e == std::string::npos) e = text.size();
        std::string line = text.substr(pos, e - pos);
        pos = e + 1;
        ++lineNo;
        size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::vector<std::string> words;
        size_t i = 0;
        while (i < line.size()) {
            while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
            size_t s = i;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
            if (i > s) words.push_back(line.substr(s, i - s));
        }
        if (words.empty()) continue;
        FrameSpec f;
        if (words.size() < 5) {
            if (error) *error = "line " + std::to_string(lineNo) + ": want sheet name width height drawer";
            return false;
        }
        f.sheet = words[0];
        f.name = words[1];
        f.w = std::atoi(words[2].c_str());
        f.h = std::atoi(words[3].c_str());
        f.drawer = words[4];
        f.args.assign(words.begin() + 5, words.end());
        f.line = lineNo;
        if (f.w <= 0 || f.h <= 0 || f.w > 2048 || f.h > 2048) {
            if (error) *error = "line " + std::to_string(lineNo) + ": bad size";
            return false;
        }
        if (!seen.insert(f.sheet + "/" + f.name).second) {
            if (error) *error = "line " + std::to_string(lineNo) + ": frame " + f.name + " listed twice";
            return false;
        }
        out.push_back(f);
    }
    return true;
}

int main(int argc, char** argv) {
    std::string framesPath, pixelsPath, fontDir, outDir, previewDir;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string k = argv[i];
        if (k == "--frames") framesPath = argv[i + 1];
        else if (k == "--pixels") pixelsPath = argv[i + 1];
        else if (k == "--fonts") fontDir = argv[i + 1];
        else if (k == "--out") outDir = argv[i + 1];
        else if (k == "--preview") previewDir = argv[i + 1];
        else {
            std::fprintf(stderr, "mv-sprites: unknown option %s\n", argv[i]);
            return 2;
        }
    }
    if (framesPath.empty() || outDir.empty() || fontDir.empty()) {
        std::fprintf(stderr, "usage: mv-sprites --frames FILE --pixels FILE --fonts DIR --out DIR [--preview DIR]\n");
        return 2;
    }
    std::string text, err;
    std::vector<FrameSpec> specs;
    if (!readFile(framesPath, text) || !parseFrameTable(text, specs, &err)) {
        std::fprintf(stderr, "mv-sprites: %s: %s\n", framesPath.c_str(), err.empty() ? "cannot read" : err.c_str());
        return 1;
    }
    std::map<std::string, Canvas> pixels;
    if (!pixelsPath.empty() && !loadPixelArt(pixelsPath, pixels, &err)) {
        std::fprintf(stderr, "mv-sprites: %s: %s\n", pixelsPath.c_str(), err.c_str());
        return 1;
    }
    DrawerTable drawers;
    registerTowerDrawers(drawers);
    registerCardDrawers(drawers);
    registerEffectDrawers(drawers);
    registerUiDrawers(drawers);

    std::map<std::string, std::vector<PackItem>> sheets;
    std::map<std::string, Canvas> images;
    for (const FrameSpec& f : specs) {
        auto it = drawers.find(f.drawer);
        if (it == drawers.end()) {
            std::fprintf(stderr, "mv-sprites: %s:%d: no drawer '%s'\n", framesPath.c_str(), f.line, f.drawer.c_str());
            return 1;
        }
        Canvas c(f.w, f.h);
        DrawCtx ctx;
        ctx.rng = Rng(Rng::hash(f.name));
        ctx.pixels = &pixels;
        ctx.fontDir = fontDir;
        it->second(c, f, ctx);
        if (c.width() != f.w || c.height() != f.h) {
            std::fprintf(stderr, "mv-sprites: drawer %s changed the size of %s\n", f.drawer.c_str(), f.name.c_str());
            return 1;
        }
        images[f.sheet + "/" + f.name] = c;
        if (f.sheet == "plain") continue;
        // Nine-slice frames are cut along their edges: they keep every pixel.
        sheets[f.sheet].push_back(f.drawer == "nine" ? wholeItem(f.name, c) : trimmedItem(f.name, c));
    }

    if (!makeDirs(outDir + "/sprites") || !makeDirs(outDir + "/plain_sprites")) {
        std::fprintf(stderr, "mv-sprites: cannot make folders under %s\n", outDir.c_str());
        return 1;
    }
    for (auto& [name, items] : sheets) {
        Canvas sheet;
        if (!packSheet(items, 2, 2048, sheet)) {
            std::fprintf(stderr, "mv-sprites: sheet %s does not fit 2048 x 2048\n", name.c_str());
            return 1;
        }
        std::string png = name + ".png";
        if (!writePng(sheet, outDir + "/sprites/" + png) ||
            !writeFile(outDir + "/sprites/" + name + ".plist", sheetPlist(items, png, sheet.width(), sheet.height()))) {
            std::fprintf(stderr, "mv-sprites: cannot write sheet %s\n", name.c_str());
            return 1;
        }
    }
    for (const FrameSpec& f : specs) {
        if (f.sheet != "plain") continue;
        if (!writePng(images[f.sheet + "/" + f.name], outDir + "/plain_sprites/" + f.name)) {
            std::fprintf(stderr, "mv-sprites: cannot write %s\n", f.name.c_str());
            return 1;
        }
    }
    if (!previewDir.empty()) {
        makeDirs(previewDir);
        writePreviews(specs, images, previewDir);
    }
    return 0;
}
