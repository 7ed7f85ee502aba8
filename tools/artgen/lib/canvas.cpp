#include "canvas.hpp"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace art {

static int clamp255(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

RGBA shade(RGBA c, int f) {
    if (f <= 256)
        return RGBA(c.r * f / 256, c.g * f / 256, c.b * f / 256, c.a);
    int t = f - 256;  // towards white
    return RGBA(c.r + (255 - c.r) * t / 256, c.g + (255 - c.g) * t / 256, c.b + (255 - c.b) * t / 256, c.a);
}

RGBA mix(RGBA a, RGBA b, int t) {
    return RGBA(a.r + (b.r - a.r) * t / 256, a.g + (b.g - a.g) * t / 256, a.b + (b.b - a.b) * t / 256,
                a.a + (b.a - a.a) * t / 256);
}

uint32_t Rng::next() {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 17;
    s_ ^= s_ << 5;
    return s_;
}

int Rng::range(int lo, int hi) {
    if (hi <= lo) return lo;
    return lo + int(next() % uint32_t(hi - lo + 1));
}

uint32_t Rng::hash(const std::string& s) {
    uint32_t h = 2166136261u;  // FNV-1a
    for (unsigned char c : s) {
        h ^= c;
        h *= 16777619u;
    }
    return h;
}

Canvas::Canvas(int w, int h, RGBA fill) : w_(w), h_(h), px_(size_t(w) * size_t(h), fill) {}

void Canvas::set(int x, int y, RGBA c) {
    if (inside(x, y)) px_[size_t(y) * w_ + x] = c;
}

void Canvas::blend(int x, int y, RGBA c) {
    if (!inside(x, y) || c.a == 0) return;
    RGBA& d = px_[size_t(y) * w_ + x];
    if (c.a == 255 || d.a == 0) {
        d = c;
        return;
    }
    int sa = c.a, da = d.a * (255 - sa) / 255;
    int oa = sa + da;
    d = RGBA((c.r * sa + d.r * da) / oa, (c.g * sa + d.g * da) / oa, (c.b * sa + d.b * da) / oa, oa);
}

void Canvas::fillRect(int x, int y, int w, int h, RGBA c) {
    for (int j = std::max(0, y); j < std::min(h_, y + h); ++j)
        for (int i = std::max(0, x); i < std::min(w_, x + w); ++i) px_[size_t(j) * w_ + i] = c;
}

void Canvas::blendRect(int x, int y, int w, int h, RGBA c) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) blend(i, j, c);
}

void Canvas::rect(int x, int y, int w, int h, RGBA c) {
    for (int i = x; i < x + w; ++i) {
        set(i, y, c);
        set(i, y + h - 1, c);
    }
    for (int j = y; j < y + h; ++j) {
        set(x, j, c);
        set(x + w - 1, j, c);
    }
}

void Canvas::line(int x0, int y0, int x1, int y1, RGBA c) {
    int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        blend(x0, y0, c);
        if (x0 == x1 && y0 == y1) break;
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void Canvas::thickLine(int x0, int y0, int x1, int y1, int t, RGBA c) {
    if (t <= 1) {
        line(x0, y0, x1, y1, c);
        return;
    }
    int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy, lo = -(t - 1) / 2, hi = t / 2;
    for (;;) {
        for (int j = lo; j <= hi; ++j)
            for (int i = lo; i <= hi; ++i) set(x0 + i, y0 + j, c);
        if (x0 == x1 && y0 == y1) break;
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void Canvas::fillCircle(int cx, int cy, int r, RGBA c) { fillEllipse(cx, cy, r, r, c); }

void Canvas::circle(int cx, int cy, int r, RGBA c) {
    for (int j = -r; j <= r; ++j)
        for (int i = -r; i <= r; ++i) {
            int d = i * i + j * j;
            if (d <= r * r + r && d > (r - 1) * (r - 1) + (r - 1)) blend(cx + i, cy + j, c);
        }
}

void Canvas::fillEllipse(int cx, int cy, int rx, int ry, RGBA c) {
    if (rx <= 0 || ry <= 0) {
        blend(cx, cy, c);
        return;
    }
    // Pixel centres inside (x/rx)^2 + (y/ry)^2 <= 1 + (1/rx + 1/ry)/2: the
    // allowance rounds the outline without one-pixel nubs at the extremes.
    long long rx2 = (long long)rx * rx, ry2 = (long long)ry * ry;
    long long allow = (rx2 * ry + ry2 * rx) / 2;
    for (int j = -ry; j <= ry; ++j)
        for (int i = -rx; i <= rx; ++i)
            if ((long long)i * i * ry2 + (long long)j * j * rx2 <= rx2 * ry2 + allow)
                blend(cx + i, cy + j, c);
}

void Canvas::fillPolygon(const std::vector<Pt>& pts, RGBA c) {
    if (pts.size() < 3) return;
    int ymin = pts[0].y, ymax = pts[0].y;
    for (const Pt& p : pts) {
        ymin = std::min(ymin, p.y);
        ymax = std::max(ymax, p.y);
    }
    for (int y = ymin; y <= ymax; ++y) {
        // Sample at the pixel centre line, in doubled coordinates to stay integral.
        int sy = 2 * y + 1;
        std::vector<int> xs;
        for (size_t i = 0; i < pts.size(); ++i) {
            Pt a = pts[i], b = pts[(i + 1) % pts.size()];
            int ay = 2 * a.y, by = 2 * b.y;
            if ((ay <= sy && by > sy) || (by <= sy && ay > sy)) {
                // x at sy, doubled
                long long num = (long long)(sy - ay) * (2 * b.x - 2 * a.x);
                int x2 = 2 * a.x + int(num / (by - ay));
                xs.push_back(x2);
            }
        }
        std::sort(xs.begin(), xs.end());
        for (size_t k = 0; k + 1 < xs.size(); k += 2) {
            int x0 = (xs[k] + 1) / 2, x1 = (xs[k + 1]) / 2;
            for (int x = x0; x <= x1; ++x) blend(x, y, c);
        }
    }
}

void Canvas::gradientV(int x, int y, int w, int h, RGBA top, RGBA bottom) {
    for (int j = 0; j < h; ++j) {
        RGBA c = mix(top, bottom, h > 1 ? j * 256 / (h - 1) : 0);
        for (int i = 0; i < w; ++i) set(x + i, y + j, c);
    }
}

void Canvas::gradientH(int x, int y, int w, int h, RGBA left, RGBA right) {
    for (int i = 0; i < w; ++i) {
        RGBA c = mix(left, right, w > 1 ? i * 256 / (w - 1) : 0);
        for (int j = 0; j < h; ++j) set(x + i, y + j, c);
    }
}

void Canvas::outline(RGBA c, int alphaMin) {
    std::vector<RGBA> out = px_;
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) {
            if (get(x, y).a >= alphaMin) continue;
            bool near = get(x - 1, y).a >= alphaMin || get(x + 1, y).a >= alphaMin ||
                        get(x, y - 1).a >= alphaMin || get(x, y + 1).a >= alphaMin;
            if (near) out[size_t(y) * w_ + x] = c;
        }
    px_.swap(out);
}

void Canvas::bevel(int light, int dark) {
    std::vector<RGBA> out = px_;
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) {
            RGBA p = get(x, y);
            if (p.a < 128) continue;
            if (get(x + 1, y + 1).a < 128 || get(x, y + 1).a < 128)
                out[size_t(y) * w_ + x] = shade(p, 256 - dark);
            else if (get(x - 1, y - 1).a < 128 || get(x, y - 1).a < 128)
                out[size_t(y) * w_ + x] = shade(p, 256 + light);
        }
    px_.swap(out);
}

void Canvas::noise(Rng& rng, int amount, int x, int y, int w, int h) {
    if (w < 0) w = w_;
    if (h < 0) h = h_;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) {
            if (!inside(i, j)) continue;
            RGBA& p = px_[size_t(j) * w_ + i];
            int d = rng.range(-amount, amount);
            if (p.a == 0) continue;
            p = RGBA(clamp255(p.r + d), clamp255(p.g + d), clamp255(p.b + d), p.a);
        }
}

void Canvas::tint(RGBA c) {
    for (RGBA& p : px_) p = RGBA(p.r * c.r / 255, p.g * c.g / 255, p.b * c.b / 255, p.a);
}

void Canvas::blit(const Canvas& src, int x, int y) {
    for (int j = 0; j < src.h_; ++j)
        for (int i = 0; i < src.w_; ++i) blend(x + i, y + j, src.px_[size_t(j) * src.w_ + i]);
}

void Canvas::copy(const Canvas& src, int x, int y) {
    for (int j = 0; j < src.h_; ++j)
        for (int i = 0; i < src.w_; ++i) set(x + i, y + j, src.px_[size_t(j) * src.w_ + i]);
}

void Canvas::blitScaled(const Canvas& src, int x, int y, int factor) {
    for (int j = 0; j < src.h_ * factor; ++j)
        for (int i = 0; i < src.w_ * factor; ++i)
            blend(x + i, y + j, src.px_[size_t(j / factor) * src.w_ + i / factor]);
}

Canvas Canvas::flippedH() const {
    Canvas c(w_, h_);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) c.px_[size_t(y) * w_ + x] = px_[size_t(y) * w_ + (w_ - 1 - x)];
    return c;
}

Canvas Canvas::sub(int x, int y, int w, int h) const {
    Canvas c(w, h);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) c.set(i, j, get(x + i, y + j));
    return c;
}

Canvas Canvas::scaled(int factor) const {
    Canvas c(w_ * factor, h_ * factor);
    c.blitScaled(*this, 0, 0, factor);
    return c;
}

static int hexval(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

static bool parseHexColour(const std::string& s, RGBA& out) {
    if (s.size() != 6 && s.size() != 8) return false;
    int v[4] = {0, 0, 0, 255};
    for (size_t i = 0; i < s.size() / 2; ++i) {
        int hi = hexval(s[2 * i]), lo = hexval(s[2 * i + 1]);
        if (hi < 0 || lo < 0) return false;
        v[i] = hi * 16 + lo;
    }
    out = RGBA(v[0], v[1], v[2], v[3]);
    return true;
}

bool parsePixelArt(const std::string& text, std::map<std::string, Canvas>& out, std::string* error) {
    std::map<char, RGBA> palette;
    std::istringstream in(text);
    std::string line, name;
    std::vector<std::string> rows;
    int lineNo = 0;
    auto fail = [&](const std::string& msg) {
        if (error) *error = "line " + std::to_string(lineNo) + ": " + msg;
        return false;
    };
    auto flush = [&]() -> bool {
        if (name.empty()) return true;
        size_t w = 0;
        for (auto& r : rows) w = std::max(w, r.size());
        Canvas c(int(w), int(rows.size()));
        for (size_t y = 0; y < rows.size(); ++y)
            for (size_t x = 0; x < rows[y].size(); ++x) {
                char ch = rows[y][x];
                if (ch == '.' || ch == ' ') continue;
                auto it = palette.find(ch);
                if (it == palette.end()) {
                    if (error) *error = "picture " + name + ": no colour for '" + std::string(1, ch) + "'";
                    return false;
                }
                c.set(int(x), int(y), it->second);
            }
        out[name] = c;
        rows.clear();
        return true;
    };
    while (std::getline(in, line)) {
        ++lineNo;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (line.empty()) continue;
        if (line[0] == '#') continue;
        if (line[0] == '=') {
            if (!flush()) return false;
            name = line.substr(1);
            name.erase(0, name.find_first_not_of(' '));
            if (name.empty()) return fail("picture without a name");
            continue;
        }
        if (name.empty()) {
            // palette line: "c RRGGBB[AA]"
            RGBA col;
            if (line.size() < 3 || line[1] != ' ' || !parseHexColour(line.substr(2), col))
                return fail("bad palette line");
            palette[line[0]] = col;
            continue;
        }
        rows.push_back(line);
    }
    return flush();
}

bool loadPixelArt(const std::string& path, std::map<std::string, Canvas>& out, std::string* error) {
    std::ifstream f(path, std::ios::binary);
    if (!f) {
        if (error) *error = "cannot read " + path;
        return false;
    }
    std::stringstream ss;
    ss << f.rdbuf();
    return parsePixelArt(ss.str(), out, error);
}

}  // namespace art
