// mv-particles: writes particle-system plists (the particle-designer keys the
// engine reads) and a small texture for each, from a parameter table.
//
//   mv-particles --table particles.txt --out DIR [--preview DIR]
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "canvas.hpp"
#include "plist.hpp"
#include "pngio.hpp"

using namespace art;

namespace {

constexpr int kGlSrcAlpha = 770, kGlOneMinusSrcAlpha = 771, kGlOne = 1;

using Params = std::map<std::string, std::string>;

// Every key a line may set, with its default.
const Params& defaults() {
    static const Params d = {
        {"texture", "glow"},   {"duration", "-1"},   {"max", "50"},         {"life", "1"},
        {"lifeVar", "0"},      {"angle", "90"},      {"angleVar", "0"},     {"speed", "0"},
        {"speedVar", "0"},     {"gravityX", "0"},    {"gravityY", "0"},     {"posVarX", "0"},
        {"posVarY", "0"},      {"size", "16"},       {"sizeVar", "0"},      {"endSize", "-1"},
        {"endSizeVar", "0"},   {"spin", "0"},        {"spinVar", "0"},      {"rotation", "0"},
        {"colour", "ffffffff"}, {"colourVar", "00000000"}, {"endColour", "ffffff00"},
        {"endColourVar", "00000000"}, {"blend", "alpha"}, {"emitter", "gravity"}, {"maxRadius", "0"},
        {"maxRadiusVar", "0"}, {"minRadius", "0"},   {"turn", "0"},         {"turnVar", "0"},
        {"radialAccel", "0"},  {"radialAccelVar", "0"}, {"tangentialAccel", "0"}, {"tangentialAccelVar", "0"},
    };
    return d;
}

bool parseColour(const std::string& s, double out[4]) {
    if (s.size() != 8) return false;
    for (int i = 0; i < 4; ++i) {
        char* end = nullptr;
        std::string byte = s.substr(size_t(2 * i), 2);
        long v = std::strtol(byte.c_str(), &end, 16);
        if (*end) return false;
        out[i] = double(v) / 255.0;
    }
    return true;
}

// --- textures (32 x 32, white or light so the particle colours tint them)

Canvas radial(int size, const std::function<int(double)>& alphaAt) {
    Canvas c(size, size);
    double r = size / 2.0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double dx = (x + 0.5 - r) / r, dy = (y + 0.5 - r) / r;
            int a = alphaAt(std::sqrt(dx * dx + dy * dy));
            if (a > 0) c.set(x, y, RGBA(255, 255, 255, std::min(255, a)));
        }
    return c;
}

bool drawTexture(const std::string& kind, Canvas& c) {
    Rng rng(Rng::hash(kind));
    if (kind == "glow") {
        c = radial(32, [](double d) { return d >= 1 ? 0 : int(255 * std::pow(1 - d, 1.6)); });
    } else if (kind == "smoke") {
        c = radial(32, [](double d) { return d >= 1 ? 0 : int(200 * (1 - d * d)); });
        for (int k = 0; k < 60; ++k) {
            int x = rng.range(6, 25), y = rng.range(6, 25);
            RGBA p = c.get(x, y);
            if (p.a > 40) c.set(x, y, RGBA(230, 230, 230, p.a - 30));
        }
    } else if (kind == "rock") {
        c = Canvas(16, 16);
        c.fillPolygon({{2, 6}, {6, 1}, {12, 2}, {15, 8}, {12, 14}, {5, 15}, {1, 11}}, grey(220));
        c.fillPolygon({{6, 1}, {12, 2}, {10, 6}, {5, 6}}, grey(250));
        c.fillPolygon({{12, 14}, {5, 15}, {8, 10}, {14, 9}}, grey(150));
        c.outline(grey(80));
    } else if (kind == "drop") {
        c = Canvas(16, 16);
        c.fillPolygon({{8, 1}, {12, 9}, {4, 9}}, RGBA(255, 255, 255, 230));
        c.fillCircle(8, 10, 4, RGBA(255, 255, 255, 230));
        c.set(7, 9, RGBA(255, 255, 255));
    } else if (kind == "streak") {
        c = Canvas(8, 32);
        for (int y = 0; y < 32; ++y) {
            int a = y * 230 / 31;
            c.set(3, y, RGBA(255, 255, 255, a));
            c.set(4, y, RGBA(255, 255, 255, a * 2 / 3));
        }
    } else if (kind == "swirl") {
        c = Canvas(32, 32);
        for (int t = 0; t < 200; ++t) {
            double a = t * 0.06, r = 2 + t * 0.065;
            int x = 16 + int(std::lround(std::cos(a) * r)), y = 16 + int(std::lround(std::sin(a) * r));
            c.fillCircle(x, y, 1, RGBA(255, 255, 255, 255 - t));
        }
    } else if (kind == "splinter") {
        c = Canvas(16, 16);
        c.thickLine(2, 12, 13, 3, 3, grey(240));
        c.line(3, 12, 13, 4, grey(170));
        c.outline(grey(90));
    } else if (kind == "leaf") {
        c = Canvas(16, 16);
        c.fillEllipse(8, 8, 6, 3, RGBA(240, 240, 230));
        c.line(2, 8, 14, 8, grey(180));
        c.set(1, 9, grey(180));
    } else if (kind == "star") {
        c = Canvas(32, 32);
        std::vector<Pt> pts;
        for (int i = 0; i < 8; ++i) {
            double a = -M_PI / 2 + i * M_PI / 4;
            int rr = (i % 2) ? 4 : 14;
            pts.push_back({16 + int(std::lround(std::cos(a) * rr)), 16 + int(std::lround(std::sin(a) * rr))});
        }
        Canvas g = radial(32, [](double d) { return d >= 0.6 ? 0 : int(90 * (0.6 - d) / 0.6); });
        c.blit(g, 0, 0);
        c.fillPolygon(pts, RGBA(255, 255, 255));
    } else if (kind == "spark") {
        c = radial(16, [](double d) { return d >= 1 ? 0 : (d < 0.35 ? 255 : int(255 * (1 - d) / 0.65)); });
    } else {
        return false;
    }
    return true;
}

// A rough run of the system, for looking at it: three moments side by side.
void writePreview(const std::string& name, Params& p, const Canvas& tex, const std::string& dir) {
    auto num = [&](const char* k) { return std::atof(p[k].c_str()); };
    double c0[4], c1[4];
    parseColour(p["colour"], c0);
    parseColour(p["endColour"], c1);
    bool radius = p["emitter"] == "radius";
    bool add = p["blend"] == "add";
    struct Part {
        double x, y, vx, vy, age, life, size0, size1, angle, radius, turn;
    };
    Rng rng(7);
    auto rnd = [&]() { return (int(rng.next() % 20001) - 10000) / 10000.0; };
    const int W = 360, H = 360;
    const double times[3] = {0.3, 1.0, 2.0};
    Canvas out(3 * W, H, grey(40));
    double life = num("life"), duration = num("duration");
    int maxN = std::atoi(p["max"].c_str());
    double rate = maxN / life, dt = 1.0 / 60;
    std::vector<Part> parts;
    double t = 0, emitAcc = 0;
    int shot = 0;
    while (shot < 3) {
        if (duration < 0 || t < duration) {
            emitAcc += rate * dt;
            while (emitAcc >= 1 && int(parts.size()) < maxN) {
                emitAcc -= 1;
                Part q{};
                double a = (num("angle") + num("angleVar") * rnd()) * M_PI / 180;
                double sp = num("speed") + num("speedVar") * rnd();
                q.x = num("posVarX") * rnd();
                q.y = num("posVarY") * rnd();
                q.vx = std::cos(a) * sp;
                q.vy = std::sin(a) * sp;
                q.life = std::max(0.05, life + num("lifeVar") * rnd());
                q.size0 = std::max(1.0, num("size") + num("sizeVar") * rnd());
                double e = num("endSize") < 0 ? q.size0 : num("endSize") + num("endSizeVar") * rnd();
                q.size1 = std::max(0.0, e);
                q.angle = a;
                q.radius = num("maxRadius") + num("maxRadiusVar") * rnd();
                q.turn = (num("turn") + num("turnVar") * rnd()) * M_PI / 180;
                parts.push_back(q);
            }
        }
        for (auto& q : parts) {
            q.age += dt;
            if (radius) {
                q.angle += q.turn * dt;
                q.radius += (num("minRadius") - num("maxRadius")) / q.life * dt;
                q.x = std::cos(q.angle) * q.radius;
                q.y = std::sin(q.angle) * q.radius;
            } else {
                q.vx += num("gravityX") * dt;
                q.vy += num("gravityY") * dt;
                q.x += q.vx * dt;
                q.y += q.vy * dt;
            }
        }
        std::vector<Part> alive;
        for (auto& q : parts)
            if (q.age < q.life) alive.push_back(q);
        parts.swap(alive);
        t += dt;
        if (t >= times[shot]) {
            // draw at half scale, as the game shows most systems
            for (auto& q : parts) {
                double k = q.age / q.life;
                int size = std::max(1, int((q.size0 + (q.size1 - q.size0) * k) * 0.5));
                RGBA col(int(255 * (c0[0] + (c1[0] - c0[0]) * k)), int(255 * (c0[1] + (c1[1] - c0[1]) * k)),
                         int(255 * (c0[2] + (c1[2] - c0[2]) * k)), int(255 * (c0[3] + (c1[3] - c0[3]) * k)));
                int cx = shot * W + W / 2 + int(q.x * 0.5), cy = H / 2 - int(q.y * 0.5);
                for (int j = 0; j < size; ++j)
                    for (int i = 0; i < size; ++i) {
                        RGBA tp = tex.get(i * tex.width() / size, j * tex.height() / size);
                        int a = tp.a * col.a / 255;
                        if (!a) continue;
                        RGBA c(tp.r * col.r / 255, tp.g * col.g / 255, tp.b * col.b / 255, a);
                        int x = cx - size / 2 + i, y = cy - size / 2 + j;
                        if (x < shot * W || x >= (shot + 1) * W) continue;
                        if (add) {
                            RGBA d = out.get(x, y);
                            out.set(x, y, RGBA(std::min(255, d.r + c.r * a / 255), std::min(255, d.g + c.g * a / 255),
                                               std::min(255, d.b + c.b * a / 255)));
                        } else {
                            out.blend(x, y, c);
                        }
                    }
            }
            ++shot;
        }
    }
    writePng(out, dir + "/" + name + ".png");
}

bool writeSystem(const std::string& name, const Params& given, const std::string& outDir, std::string& err,
                 const std::string& previewDir) {
    Params p = defaults();
    for (auto& [k, v] : given) {
        if (!p.count(k)) {
            err = name + ": unknown key " + k;
            return false;
        }
        p[k] = v;
    }
    auto num = [&](const char* k) { return std::atof(p[k].c_str()); };
    double c0[4], cv[4], c1[4], c1v[4];
    if (!parseColour(p["colour"], c0) || !parseColour(p["colourVar"], cv) || !parseColour(p["endColour"], c1) ||
        !parseColour(p["endColourVar"], c1v)) {
        err = name + ": bad colour";
        return false;
    }
    Canvas tex;
    if (!drawTexture(p["texture"], tex)) {
        err = name + ": unknown texture " + p["texture"];
        return false;
    }
    std::vector<unsigned char> png;
    std::string gz;
    if (!encodePng(tex, png) || !gzipBytes(std::string(png.begin(), png.end()), gz)) {
        err = name + ": cannot encode texture";
        return false;
    }
    bool add = p["blend"] == "add";
    bool radius = p["emitter"] == "radius";
    double endSize = num("endSize") < 0 ? num("size") : num("endSize");
    const char* ch[4] = {"Red", "Green", "Blue", "Alpha"};

    PlistWriter w;
    w.beginDict();
    w.real("angle", num("angle"));
    w.real("angleVariance", num("angleVar"));
    w.integer("blendFuncDestination", add ? kGlOne : kGlOneMinusSrcAlpha);
    w.integer("blendFuncSource", kGlSrcAlpha);
    w.string("configName", name);
    w.real("duration", num("duration"));
    w.integer("emitterType", radius ? 1 : 0);
    for (int i = 0; i < 4; ++i) w.real(std::string("finishColor") + ch[i], c1[i]);
    for (int i = 0; i < 4; ++i) w.real(std::string("finishColorVariance") + ch[i], c1v[i]);
    w.real("finishParticleSize", endSize);
    w.real("finishParticleSizeVariance", num("endSizeVar"));
    w.real("gravityx", num("gravityX"));
    w.real("gravityy", num("gravityY"));
    w.integer("maxParticles", std::atoi(p["max"].c_str()));
    w.real("maxRadius", num("maxRadius"));
    w.real("maxRadiusVariance", num("maxRadiusVar"));
    w.real("minRadius", num("minRadius"));
    w.real("particleLifespan", num("life"));
    w.real("particleLifespanVariance", num("lifeVar"));
    w.real("radialAccelVariance", num("radialAccelVar"));
    w.real("radialAcceleration", num("radialAccel"));
    w.real("rotatePerSecond", num("turn"));
    w.real("rotatePerSecondVariance", num("turnVar"));
    w.real("rotationEnd", num("rotation") + num("spin"));
    w.real("rotationEndVariance", num("spinVar"));
    w.real("rotationStart", num("rotation"));
    w.real("rotationStartVariance", 0);
    w.real("sourcePositionVariancex", num("posVarX"));
    w.real("sourcePositionVariancey", num("posVarY"));
    w.real("sourcePositionx", 0);
    w.real("sourcePositiony", 0);
    w.real("speed", num("speed"));
    w.real("speedVariance", num("speedVar"));
    for (int i = 0; i < 4; ++i) w.real(std::string("startColor") + ch[i], c0[i]);
    for (int i = 0; i < 4; ++i) w.real(std::string("startColorVariance") + ch[i], cv[i]);
    w.real("startParticleSize", num("size"));
    w.real("startParticleSizeVariance", num("sizeVar"));
    w.real("tangentialAccelVariance", num("tangentialAccelVar"));
    w.real("tangentialAcceleration", num("tangentialAccel"));
    w.string("textureFileName", name + ".png");
    w.string("textureImageData", base64(gz));
    w.endDict();
    if (!writeFile(outDir + "/" + name + ".plist", w.finish()) || !writePng(tex, outDir + "/" + name + ".png")) {
        err = name + ": cannot write";
        return false;
    }
    if (!previewDir.empty()) writePreview(name, p, tex, previewDir);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string table, outDir, previewDir;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string k = argv[i];
        if (k == "--table") table = argv[i + 1];
        else if (k == "--out") outDir = argv[i + 1];
        else if (k == "--preview") previewDir = argv[i + 1];
    }
    if (table.empty() || outDir.empty()) {
        std::fprintf(stderr, "usage: mv-particles --table FILE --out DIR\n");
        return 2;
    }
    std::string text;
    if (!readFile(table, text)) {
        std::fprintf(stderr, "mv-particles: cannot read %s\n", table.c_str());
        return 1;
    }
    if (!makeDirs(outDir)) {
        std::fprintf(stderr, "mv-particles: cannot make %s\n", outDir.c_str());
        return 1;
    }
    std::istringstream in(text);
    std::string line;
    int n = 0;
    while (std::getline(in, line)) {
        ++n;
        if (line.empty() || line[0] == '#') continue;
        std::istringstream ls(line);
        std::string name, word;
        ls >> name;
        Params given;
        while (ls >> word) {
            size_t eq = word.find('=');
            if (eq == std::string::npos) {
                std::fprintf(stderr, "mv-particles: %s:%d: want key=value, got %s\n", table.c_str(), n, word.c_str());
                return 1;
            }
            given[word.substr(0, eq)] = word.substr(eq + 1);
        }
        std::string err;
        if (!writeSystem(name, given, outDir, err, previewDir)) {
            std::fprintf(stderr, "mv-particles: %s:%d: %s\n", table.c_str(), n, err.c_str());
            return 1;
        }
    }
    return 0;
}
