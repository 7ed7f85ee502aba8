// Effect frames: flames, lightning, the deratizer crew, the title crack and
// the hand-drawn pixel pictures (rats, bird).
#include <cmath>

#include "draw_common.hpp"

namespace art {

namespace {

void drawFlames(Canvas& c, const FrameSpec& f, DrawCtx&) {
    int phase = f.argInt(0);
    Rng rng(phase ? 991 : 313);
    const RGBA outer(230, 80, 20, 235), mid(250, 160, 40, 245), core(255, 236, 150);
    // three tongues; the second frame sways the other way
    const int xs[] = {16, 32, 48};
    const int hs0[] = {34, 50, 30}, hs1[] = {28, 44, 38};
    for (int i = 0; i < 3; ++i) {
        int h = phase ? hs1[i] : hs0[i];
        int sway = (phase ? -1 : 1) * (i == 1 ? 4 : 3);
        int cx = xs[i], by = 62;
        c.fillPolygon({{cx - 10, by}, {cx - 11, by - h / 3}, {cx - 4, by - h * 2 / 3}, {cx + sway, by - h},
                       {cx + 6, by - h * 2 / 3 + 4}, {cx + 11, by - h / 3}, {cx + 10, by}},
                      outer);
        c.fillPolygon({{cx - 7, by}, {cx - 6, by - h / 3}, {cx + sway / 2, by - h * 2 / 3}, {cx + 6, by - h / 3},
                       {cx + 7, by}},
                      mid);
        c.fillPolygon({{cx - 3, by}, {cx - 3, by - h / 4}, {cx, by - h / 2}, {cx + 3, by - h / 4}, {cx + 3, by}}, core);
    }
    for (int k = 0; k < 6; ++k) c.set(rng.range(6, 58), rng.range(6, 24), RGBA(255, 210, 90));
}

// A zigzag lightning bolt; style 0 strikes the bottom-left corner (the spell
// effect anchors it there), style 1 is the tall title bolt striking downward.
void drawBolt(Canvas& c, const FrameSpec& f, DrawCtx& ctx) {
    int w = f.w, h = f.h;
    Rng& rng = ctx.rng;
    std::vector<Pt> path;
    int x = f.argInt(0) ? w / 2 : w - 6, y = 0;
    int endX = f.argInt(0) ? w / 2 : 1;
    path.push_back({x, y});
    int steps = 9;
    for (int s = 1; s <= steps; ++s) {
        int ty = h * s / steps;
        int tx = x + (endX - x) * s / (steps - s + 1) / 2 + rng.range(-w / 4, w / 4);
        if (s == steps) tx = endX;
        tx = std::max(2, std::min(w - 3, tx));
        path.push_back({tx, std::min(h - 1, ty)});
        x = tx;
    }
    // glow, body, core
    for (size_t i = 1; i < path.size(); ++i) {
        c.thickLine(path[i - 1].x, path[i - 1].y, path[i].x, path[i].y, w / 8 + 1, RGBA(120, 170, 255, 70));
    }
    for (size_t i = 1; i < path.size(); ++i)
        c.thickLine(path[i - 1].x, path[i - 1].y, path[i].x, path[i].y, w / 14 + 1, RGBA(170, 210, 255, 230));
    for (size_t i = 1; i < path.size(); ++i)
        c.thickLine(path[i - 1].x, path[i - 1].y, path[i].x, path[i].y, w / 28 + 1, RGBA(255, 255, 255));
    // side branches
    for (size_t i = 2; i + 2 < path.size(); i += 3) {
        int bx = path[i].x + rng.range(-w / 3, w / 3), by = path[i].y + rng.range(8, 20);
        c.line(path[i].x, path[i].y, bx, by, RGBA(200, 225, 255, 220));
    }
}

// The lightning spell's bolt: a broad zigzag from the top right down to the bottom-left
// corner (the effect anchors it there, on the struck cell), with a wide halo, forks and a
// flash where it strikes, so that it reads at a glance over a tower.
void drawSpellBolt(Canvas& c, const FrameSpec& f, DrawCtx& ctx) {
    const int w = f.w, h = f.h;
    Rng& rng = ctx.rng;
    const int strikeX = 10, strikeY = h - 10;
    std::vector<Pt> path{{w - 14, 0}};
    const int steps = 8;
    for (int s = 1; s <= steps; ++s) {
        int x = (w - 14) + (strikeX - (w - 14)) * s / steps + (s < steps ? rng.range(-w / 6, w / 6) : 0);
        int y = strikeY * s / steps;
        path.push_back({std::max(8, std::min(w - 8, x)), y});
    }
    path.back() = {strikeX, strikeY};
    auto stroke = [&](const std::vector<Pt>& pts, int width, RGBA col) {
        for (size_t i = 1; i < pts.size(); ++i) c.thickLine(pts[i - 1].x, pts[i - 1].y, pts[i].x, pts[i].y, width, col);
    };
    // forks first, under the main stroke
    std::vector<std::vector<Pt>> forks;
    for (size_t i = 2; i + 1 < path.size(); i += 2) {
        std::vector<Pt> fork{path[i]};
        int dir = (i / 2) % 2 ? 1 : -1;
        for (int k = 1; k <= 3; ++k)
            fork.push_back({std::max(4, std::min(w - 4, fork.back().x + dir * rng.range(6, 14))),
                            std::min(h - 4, fork.back().y + rng.range(10, 18))});
        forks.push_back(fork);
    }
    for (const auto& fork : forks) stroke(fork, 9, RGBA(120, 170, 255, 60));
    stroke(path, 26, RGBA(110, 160, 255, 50));
    stroke(path, 16, RGBA(140, 190, 255, 110));
    for (const auto& fork : forks) stroke(fork, 3, RGBA(200, 225, 255, 230));
    stroke(path, 9, RGBA(180, 215, 255, 240));
    stroke(path, 4, RGBA(255, 255, 255));
    // the flash where it strikes
    for (int r = 22; r > 0; r -= 4) c.fillCircle(strikeX, strikeY, r, RGBA(200, 225, 255, static_cast<uint8_t>(40 + (22 - r) * 6)));
    c.fillCircle(strikeX, strikeY, 5, RGBA(255, 255, 255));
}

// The crack the title bolt leaves, drawn on the title's letters: the frame is the
// title's size and lies over it, the fissure runs down from where the bolt struck
// the top of the letter in column argument 0, and shows only on the letters.
void drawCrack(Canvas& c, const FrameSpec& f, DrawCtx& ctx) {
    Rng& rng = ctx.rng;
    Canvas title(f.w, f.h);
    drawTitleLettering(title, ctx.fontDir);
    auto onLetter = [&](int x, int y) { return title.get(x, y).a >= 250 && title.get(x, y).r > 120; };
    int x = f.argInt(0, f.w / 2), top = 0, bottom = f.h - 1;
    while (top < f.h && !onLetter(x, top)) ++top;
    while (bottom > top && !onLetter(x, bottom)) --bottom;
    if (top >= bottom) return;
    struct Seg { Pt a, b; int width; };
    std::vector<Seg> segs;
    Pt p{x, top};
    const int steps = 6;
    for (int s = 1; s <= steps; ++s) {
        Pt q{x + rng.range(-5, 5), top + (bottom - top) * s / steps};
        int width = 8 - s * 6 / steps;
        segs.push_back({p, q, width});
        if (s == 2 || s == 4) {  // a short branch
            Pt b{q.x + (s == 2 ? -1 : 1) * rng.range(8, 12), q.y + rng.range(5, 9)};
            segs.push_back({q, b, 2});
        }
        p = q;
    }
    Canvas crack(f.w, f.h);
    crack.fillEllipse(x, top + 2, 10, 6, RGBA(40, 20, 10, 110));  // scorched where it struck
    for (const Seg& s : segs) crack.thickLine(s.a.x, s.a.y, s.b.x, s.b.y, s.width + 2, RGBA(26, 16, 12));
    for (const Seg& s : segs)
        if (s.width > 2) crack.thickLine(s.a.x, s.a.y, s.b.x, s.b.y, s.width - 2, RGBA(255, 150, 60));
    for (const Seg& s : segs)
        if (s.width > 5) crack.thickLine(s.a.x, s.a.y, s.b.x, s.b.y, s.width - 5, RGBA(255, 236, 170));
    crack.fillEllipse(x, top + 1, 3, 2, RGBA(255, 250, 220));
    for (int y = 0; y < f.h; ++y)
        for (int x2 = 0; x2 < f.w; ++x2)
            if (onLetter(x2, y)) c.set(x2, y, crack.get(x2, y));
}

// A dwarf with a sack of poison: 1 and 2 wind up, 3 shakes out a cloud.
void drawDeratizer(Canvas& c, const FrameSpec& f, DrawCtx&) {
    int stage = f.argInt(0, 1);
    const RGBA skin(236, 190, 150), beard(230, 226, 214), hat(60, 140, 70), coat(110, 80, 150);
    int bob = stage == 2 ? 1 : 0;
    // legs and body
    c.fillRect(24, 50, 6, 10, RGBA(80, 60, 40));
    c.fillRect(34, 50, 6, 10, RGBA(80, 60, 40));
    c.fillRect(22, 58, 8, 4, RGBA(50, 36, 26));
    c.fillRect(34, 58, 8, 4, RGBA(50, 36, 26));
    c.fillEllipse(32, 44 + bob, 12, 10, coat);
    c.fillRect(20, 44 + bob, 24, 3, RGBA(140, 100, 50));
    // head
    c.fillEllipse(32, 26 + bob, 8, 8, skin);
    c.fillPolygon({{23, 28 + bob}, {41, 28 + bob}, {38, 42 + bob}, {32, 45 + bob}, {26, 42 + bob}}, beard);
    c.fillPolygon({{22, 24 + bob}, {42, 24 + bob}, {36, 10 + bob}, {28, 8 + bob}}, hat);
    c.set(29, 25 + bob, kInk);
    c.set(35, 25 + bob, kInk);
    // arm and sack
    int sx = stage == 1 ? 50 : (stage == 2 ? 52 : 48), sy = stage == 1 ? 40 : (stage == 2 ? 28 : 20);
    c.thickLine(40, 40 + bob, sx, sy + 6, 4, coat);
    c.fillEllipse(sx, sy, 7, 8, RGBA(200, 180, 130));
    c.fillRect(sx - 2, sy - 9, 4, 3, RGBA(150, 120, 80));
    c.fillRect(sx - 3, sy - 2, 6, 4, RGBA(60, 130, 60));  // skull-less poison mark
    c.outline(kInk);
    if (stage == 3) {
        // green cloud pouring out
        Rng rng(5);
        for (int k = 0; k < 14; ++k) {
            int x = rng.range(46, 61), y = rng.range(3, 14);
            c.fillCircle(x, y, rng.range(2, 4), RGBA(140, 220, 110, 170));
        }
    }
}

// A dark bird facing right: "fly" 1..9 is one wing beat, "sit" 1..3 a perched
// bird looking about, "glide" wings held out flat.
void drawBird(Canvas& c, const FrameSpec& f, DrawCtx&) {
    std::string mode = f.arg(0);
    int n = f.argInt(1);
    const RGBA body(46, 42, 58), wing(34, 30, 44), wingHi(78, 72, 96), beak(236, 176, 52), belly(70, 64, 84);
    if (mode == "sit") {
        // perched: upright body, tail down, feet on the perch line
        int headUp = n == 2 ? -2 : 0, open = n == 3 ? 1 : 0;
        c.fillPolygon({{16, 34}, {12, 39}, {18, 39}, {22, 33}}, wing);  // tail
        c.fillEllipse(24, 26, 9, 11, body);
        c.fillEllipse(26, 29, 5, 7, belly);
        c.fillPolygon({{17, 18}, {28 + open * 6, 22 - open * 6}, {28, 34}, {17, 32}}, wing);  // folded wing
        c.line(19, 22, 26, 30, wingHi);
        c.fillCircle(29, 14 + headUp, 6, body);
        c.fillPolygon({{34, 12 + headUp}, {41, 15 + headUp}, {34, 17 + headUp}}, beak);
        c.set(31, 12 + headUp, RGBA(255, 255, 255));
        c.fillRect(22, 36, 2, 3, beak);
        c.fillRect(27, 36, 2, 3, beak);
        c.outline(RGBA(16, 14, 20));
        return;
    }
    // flying: horizontal body in the middle
    double a = mode == "glide" ? 0.0 : std::cos(2 * M_PI * (n - 1) / 9.0);
    int tipY = 20 - int(std::lround(a * 17));       // wing tip height
    int tipX = mode == "glide" ? 6 : 10 + int(std::lround(std::fabs(a) * 4));
    // far wing (behind the body), a little shorter and darker
    c.fillPolygon({{22, 20}, {30, 20}, {tipX + 10, tipY - (tipY - 20) / 5}, {tipX + 6, tipY + 2 - (tipY - 20) / 5}},
                  shade(wing, 200));
    c.fillPolygon({{4, 18}, {12, 20}, {4, 24}}, wing);  // tail
    c.fillEllipse(22, 21, 13, 5, body);
    c.fillEllipse(24, 23, 8, 2, belly);
    c.fillCircle(36, 19, 5, body);
    c.fillPolygon({{40, 17}, {47, 20}, {40, 22}}, beak);
    c.set(38, 18, RGBA(255, 255, 255));
    // near wing with a feathered edge
    std::vector<Pt> wingPts = {{18, 20}, {28, 20}, {tipX + 2, tipY}, {tipX - 2, tipY + 2}};
    c.fillPolygon(wingPts, wing);
    c.line(20, 20, tipX + 1, tipY, wingHi);
    for (int k = 1; k <= 3; ++k) {
        int fx = 18 + (tipX - 18) * k / 4, fy = 20 + (tipY - 20) * k / 4;
        c.set(fx, fy + (tipY < 20 ? 1 : -1), shade(wing, 150));
    }
    c.outline(RGBA(16, 14, 20));
}

// A picture from the pixel-art file, centred on the frame.
void drawPixels(Canvas& c, const FrameSpec& f, DrawCtx& ctx) {
    const Canvas& p = ctx.pix(f.arg(0));
    if (p.width() == 0) return;
    int scale = f.argInt(1, 1);
    c.blitScaled(p, (f.w - p.width() * scale) / 2, (f.h - p.height() * scale) / 2, scale);
}

}  // namespace

void registerEffectDrawers(DrawerTable& t) {
    t["flames"] = drawFlames;
    t["bolt"] = drawBolt;
    t["spell-bolt"] = drawSpellBolt;
    t["crack"] = drawCrack;
    t["deratizer"] = drawDeratizer;
    t["pixels"] = drawPixels;
    t["bird"] = drawBird;
}

}  // namespace art
