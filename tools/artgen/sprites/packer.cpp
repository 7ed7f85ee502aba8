#include "packer.hpp"

#include <algorithm>
#include <cstdio>
#include <map>

#include "plist.hpp"

namespace art {

namespace {

bool tryPack(std::vector<PackItem*>& order, int padding, int w, int h) {
    int x = padding, y = padding, shelf = 0;
    for (PackItem* it : order) {
        int iw = it->image.width(), ih = it->image.height();
        if (x + iw + padding > w) {
            x = padding;
            y += shelf + padding;
            shelf = 0;
        }
        if (x + iw + padding > w || y + ih + padding > h) return false;
        it->x = x;
        it->y = y;
        x += iw + padding;
        shelf = std::max(shelf, ih);
    }
    return true;
}

}  // namespace

PackItem wholeItem(const std::string& name, const Canvas& image) {
    PackItem item;
    item.name = name;
    item.image = image;
    item.sourceW = image.width();
    item.sourceH = image.height();
    return item;
}

PackItem trimmedItem(const std::string& name, const Canvas& image) {
    int x0 = image.width(), y0 = image.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.get(x, y).a) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
    if (x1 < 0) x0 = y0 = x1 = y1 = 0;
    PackItem item = wholeItem(name, image);
    item.trimX = x0;
    item.trimY = y0;
    item.image = image.sub(x0, y0, x1 - x0 + 1, y1 - y0 + 1);
    return item;
}

bool packSheet(std::vector<PackItem>& items, int padding, int maxSize, Canvas& sheet) {
    std::vector<PackItem*> order;
    for (auto& it : items) order.push_back(&it);
    std::stable_sort(order.begin(), order.end(), [](const PackItem* a, const PackItem* b) {
        if (a->image.height() != b->image.height()) return a->image.height() > b->image.height();
        if (a->image.width() != b->image.width()) return a->image.width() > b->image.width();
        return a->name < b->name;
    });
    // Candidate sizes by area, squarer first on ties.
    std::vector<std::pair<int, int>> sizes;
    for (int w = 32; w <= maxSize; w *= 2)
        for (int h = 32; h <= maxSize; h *= 2) sizes.push_back({w, h});
    std::stable_sort(sizes.begin(), sizes.end(), [](auto a, auto b) {
        long long aa = (long long)a.first * a.second, ba = (long long)b.first * b.second;
        if (aa != ba) return aa < ba;
        return std::abs(a.first - a.second) < std::abs(b.first - b.second) ||
               (std::abs(a.first - a.second) == std::abs(b.first - b.second) && a.first > b.first);
    });
    for (auto [w, h] : sizes) {
        if (!tryPack(order, padding, w, h)) continue;
        sheet = Canvas(w, h);
        for (PackItem* it : order) {
            const Canvas& im = it->image;
            // Extrude the edge pixels one step into the padding, so scaled or
            // repeated sampling at a frame's border never picks a neighbour.
            if (padding >= 2) {
                for (int i = -1; i <= im.width(); ++i) {
                    int sx = std::clamp(i, 0, im.width() - 1);
                    sheet.set(it->x + i, it->y - 1, im.get(sx, 0));
                    sheet.set(it->x + i, it->y + im.height(), im.get(sx, im.height() - 1));
                }
                for (int j = 0; j < im.height(); ++j) {
                    sheet.set(it->x - 1, it->y + j, im.get(0, j));
                    sheet.set(it->x + im.width(), it->y + j, im.get(im.width() - 1, j));
                }
            }
            sheet.copy(im, it->x, it->y);
        }
        return true;
    }
    return false;
}

std::string sheetPlist(const std::vector<PackItem>& items, const std::string& textureFile, int w, int h) {
    std::map<std::string, const PackItem*> byName;
    for (auto& it : items) byName[it.name] = &it;
    auto pair = [](int a, int b) { return "{" + std::to_string(a) + "," + std::to_string(b) + "}"; };
    PlistWriter p;
    p.beginDict();
    p.beginDict("frames");
    for (auto& [name, it] : byName) {
        int iw = it->image.width(), ih = it->image.height();
        // The offset runs from the full frame's centre to the trimmed part's, y upwards.
        int offX2 = 2 * it->trimX + iw - it->sourceW, offY2 = it->sourceH - 2 * it->trimY - ih;
        auto half = [](int twice) {
            char text[32];
            std::snprintf(text, sizeof(text), "%g", twice / 2.0);
            return std::string(text);
        };
        p.beginDict(name);
        p.string("frame", "{" + pair(it->x, it->y) + "," + pair(iw, ih) + "}");
        p.string("offset", "{" + half(offX2) + "," + half(offY2) + "}");
        p.boolean("rotated", false);
        p.string("sourceColorRect", "{" + pair(it->trimX, it->trimY) + "," + pair(iw, ih) + "}");
        p.string("sourceSize", pair(it->sourceW, it->sourceH));
        p.endDict();
    }
    p.endDict();
    p.beginDict("metadata");
    p.integer("format", 2);
    p.string("realTextureFileName", textureFile);
    p.string("size", pair(w, h));
    p.string("textureFileName", textureFile);
    p.endDict();
    p.endDict();
    return p.finish();
}

}  // namespace art
