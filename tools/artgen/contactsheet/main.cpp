// mv-contact-sheet: every screenshot of a folder on one page, each made small with
// its name under it, so a reviewer sees every screen at once.
//
//   mv-contact-sheet DIR FONT.fnt OUT.png
//
// Takes the folder's .png files in name order (OUT itself left out); a file that
// cannot be read gets a log line and is left out.
#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "fnttext.hpp"
#include "pngio.hpp"

namespace {

const int kThumbW = 240, kThumbH = 180, kGap = 8, kColumns = 6;
const art::RGBA kBackground(34, 32, 38), kPanel(52, 48, 56);

std::vector<std::string> pngFiles(const std::string& dir, const std::string& except) {
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string n = e->d_name;
            if (n.size() > 4 && n.compare(n.size() - 4, 4, ".png") == 0 && n != except) names.push_back(n);
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The picture made to fit w x h, each pixel the mean of the pixels it covers.
art::Canvas shrink(const art::Canvas& src, int w, int h) {
    art::Canvas out(w, h);
    for (int oy = 0; oy < h; ++oy) {
        int y0 = oy * src.height() / h, y1 = std::max(y0 + 1, (oy + 1) * src.height() / h);
        for (int ox = 0; ox < w; ++ox) {
            int x0 = ox * src.width() / w, x1 = std::max(x0 + 1, (ox + 1) * src.width() / w);
            long r = 0, g = 0, b = 0, n = 0;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x) {
                    art::RGBA p = src.get(x, y);
                    r += p.r;
                    g += p.g;
                    b += p.b;
                    ++n;
                }
            out.set(ox, oy, art::RGBA(int(r / n), int(g / n), int(b / n)));
        }
    }
    return out;
}

// The name, shortened with "..." until it fits the width.
std::string fitted(const art::FntFace& face, std::string name, int width) {
    if (art::textWidth(face, name) <= width) return name;
    while (!name.empty() && art::textWidth(face, name + "...") > width) name.pop_back();
    return name + "...";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: mv-contact-sheet DIR FONT.fnt OUT.png\n");
        return 2;
    }
    const std::string dir = argv[1], out = argv[3];
    art::FntFace face;
    std::string err;
    if (!art::loadFntFace(argv[2], face, &err)) {
        std::fprintf(stderr, "mv-contact-sheet: %s: %s\n", argv[2], err.c_str());
        return 2;
    }
    size_t slash = out.rfind('/');
    std::vector<std::string> names = pngFiles(dir, slash == std::string::npos ? out : out.substr(slash + 1));
    struct Shot {
        std::string name;
        art::Canvas thumb;
    };
    std::vector<Shot> shots;
    for (const std::string& n : names) {
        art::Canvas full;
        if (!art::readPng(dir + "/" + n, full) || full.width() == 0 || full.height() == 0) {
            std::fprintf(stderr, "mv-contact-sheet: cannot read %s, left out\n", n.c_str());
            continue;
        }
        // the largest size that fits the box, keeping the picture's shape
        int w = kThumbW, h = full.height() * kThumbW / full.width();
        if (h > kThumbH) {
            h = kThumbH;
            w = std::max(1, full.width() * kThumbH / full.height());
        }
        shots.push_back({n.substr(0, n.size() - 4), shrink(full, w, std::max(1, h))});
    }
    if (shots.empty()) {
        std::printf("mv-contact-sheet: no screenshots in %s\n", dir.c_str());
        return 0;
    }
    const int cellW = kThumbW + 2 * kGap, cellH = kThumbH + face.font.lineHeight + 3 * kGap;
    const int columns = std::min<int>(kColumns, int(shots.size()));
    const int rows = (int(shots.size()) + columns - 1) / columns;
    art::Canvas sheet(columns * cellW + kGap, rows * cellH + kGap, kBackground);
    for (size_t i = 0; i < shots.size(); ++i) {
        int x = kGap + int(i % size_t(columns)) * cellW, y = kGap + int(i / size_t(columns)) * cellH;
        sheet.fillRect(x, y, cellW - kGap, cellH - kGap, kPanel);
        const art::Canvas& t = shots[i].thumb;
        sheet.copy(t, x + (cellW - kGap - t.width()) / 2, y + kGap / 2 + (kThumbH - t.height()) / 2);
        std::string label = fitted(face, shots[i].name, cellW - 2 * kGap);
        art::drawText(sheet, face, label, x + (cellW - kGap - art::textWidth(face, label)) / 2,
                      y + kGap + kThumbH);
    }
    if (!art::writePng(sheet, out)) {
        std::fprintf(stderr, "mv-contact-sheet: cannot write %s\n", out.c_str());
        return 1;
    }
    std::printf("mv-contact-sheet: %zu screenshots in %s\n", shots.size(), out.c_str());
    return 0;
}
