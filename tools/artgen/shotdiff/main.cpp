// mv-shotdiff: compares two folders of screenshots, picture by picture, so a change
// that should leave every screen as it was can be checked pixel for pixel.
//
//   mv-shotdiff [--tolerance N] BEFORE_DIR AFTER_DIR
//
// For each .png name in either folder prints one line: "same", "differs: N pixels"
// (a pixel differs when one of its channels differs by more than N, default 0) with
// the box around them, "size differs", "missing in ..." or "unreadable". Exit code
// 0 when every picture is the same, 1 when any is not, 2 on a usage error.
#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "pngio.hpp"

namespace {

std::set<std::string> pngNames(const std::string& dir, bool& ok) {
    std::set<std::string> names;
    DIR* d = opendir(dir.c_str());
    ok = d != nullptr;
    if (!d) return names;
    while (dirent* e = readdir(d)) {
        std::string n = e->d_name;
        if (n.size() > 4 && n.compare(n.size() - 4, 4, ".png") == 0) names.insert(n);
    }
    closedir(d);
    return names;
}

int channelDelta(art::RGBA a, art::RGBA b) {
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b), std::abs(a.a - b.a)});
}

// One line for one name; true when the two pictures count as the same.
bool compare(const std::string& a, const std::string& b, const std::string& name, int tolerance) {
    art::Canvas before, after;
    if (!art::readPng(a + "/" + name, before) || !art::readPng(b + "/" + name, after)) {
        std::printf("%s: unreadable\n", name.c_str());
        return false;
    }
    if (before.width() != after.width() || before.height() != after.height()) {
        std::printf("%s: size differs (%dx%d, %dx%d)\n", name.c_str(), before.width(), before.height(),
                    after.width(), after.height());
        return false;
    }
    long count = 0;
    int maxDelta = 0, x0 = before.width(), y0 = before.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x) {
            int d = channelDelta(before.get(x, y), after.get(x, y));
            maxDelta = std::max(maxDelta, d);
            if (d <= tolerance) continue;
            ++count;
            x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
        }
    if (count == 0) {
        std::printf("%s: same%s\n", name.c_str(), maxDelta ? " (within the tolerance)" : "");
        return true;
    }
    std::printf("%s: differs: %ld pixels of %ld, in x %d..%d y %d..%d, largest channel difference %d\n",
                name.c_str(), count, long(before.width()) * before.height(), x0, x1, y0, y1, maxDelta);
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    int tolerance = 0, arg = 1;
    if (argc == 5 && std::strcmp(argv[1], "--tolerance") == 0) {
        char* end = nullptr;
        long t = std::strtol(argv[2], &end, 10);
        if (*end || t < 0 || t > 255) {
            std::fprintf(stderr, "mv-shotdiff: the tolerance is a number from 0 to 255\n");
            return 2;
        }
        tolerance = int(t);
        arg = 3;
    }
    if (argc - arg != 2) {
        std::fprintf(stderr, "usage: mv-shotdiff [--tolerance N] BEFORE_DIR AFTER_DIR\n");
        return 2;
    }
    const std::string a = argv[arg], b = argv[arg + 1];
    bool okA = false, okB = false;
    std::set<std::string> inA = pngNames(a, okA), inB = pngNames(b, okB);
    if (!okA || !okB) {
        std::fprintf(stderr, "mv-shotdiff: cannot read the folder %s\n", (okA ? b : a).c_str());
        return 2;
    }
    std::set<std::string> all = inA;
    all.insert(inB.begin(), inB.end());
    int same = 0, different = 0;
    for (const std::string& name : all) {
        bool ok = false;
        if (!inA.count(name)) std::printf("%s: missing in %s\n", name.c_str(), a.c_str());
        else if (!inB.count(name)) std::printf("%s: missing in %s\n", name.c_str(), b.c_str());
        else ok = compare(a, b, name, tolerance);
        ok ? ++same : ++different;
    }
    std::printf("mv-shotdiff: %d same, %d different or missing\n", same, different);
    return different ? 1 : 0;
}
