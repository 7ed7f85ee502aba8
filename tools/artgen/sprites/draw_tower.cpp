// Tower pieces: exteriors (tinted by owner), block interiors, doors, the
// element overlays and the collapse frames. A cell is 64 x 64; walls are the
// outer 6 pixels, openings 20 pixels wide in the middle of a side.
#include <cmath>

#include "draw_common.hpp"

namespace art {

namespace {

constexpr int kCell = 64;
constexpr int kWall = 6;
constexpr int kGap = 20;                     // width of an opening
constexpr int kGapLo = (kCell - kGap) / 2;   // 22
constexpr int kFloor = 5;                    // floor thickness inside a block

struct Openings {
    bool top = false, bottom = false, left = false, right = false;
};

Openings openingsOf(const std::string& kind) {
    Openings o;
    if (kind == "4" || kind == "v") o.top = o.bottom = true;
    if (kind == "4" || kind == "h") o.left = o.right = true;
    return o;
}

// The inside of a block: back wall, floor, openings; the walls themselves are
// left clear so the tinted exterior beneath shows as the cut stone.
void drawBlock(Canvas& c, const FrameSpec& f, DrawCtx& ctx) {
    Openings o = openingsOf(f.arg(0));
    int x0 = kWall, y0 = kWall, x1 = kCell - kWall, y1 = kCell - kWall;
    // back wall: dark plaster with faint stones
    c.fillRect(x0, y0, x1 - x0, y1 - y0, kRoomBack);
    masonry(c, x0, y0, x1 - x0, y1 - y0 - kFloor, 12, 7, ctx.rng, RGBA(80, 66, 56), kRoomBackDark);
    // shadow under the ceiling
    c.fillRect(x0, y0, x1 - x0, 2, kRoomBackDark);
    // openings reach the cell edge
    if (o.left) c.fillRect(0, y1 - kFloor - 24, kWall, 24, kRoomBack);
    if (o.right) c.fillRect(x1, y1 - kFloor - 24, kWall, 24, kRoomBack);
    if (o.top) c.fillRect(kGapLo, 0, kGap, kWall, kRoomBackDark);
    if (o.bottom) c.fillRect(kGapLo, y1, kGap, kWall, kRoomBackDark);
    // floor boards, running out through side openings
    int fx0 = o.left ? 0 : x0, fx1 = o.right ? kCell : x1;
    planks(c, fx0, y1 - kFloor, fx1 - fx0, kFloor, 2, false, ctx.rng);
    c.fillRect(fx0, y1 - kFloor, fx1 - fx0, 1, kWoodLight);
    if (o.bottom) {  // hatch in the floor
        c.fillRect(kGapLo, y1 - kFloor, kGap, kFloor, kRoomBackDark);
        c.fillRect(kGapLo, y1 - kFloor, kGap, 1, kWoodDark);
    }
    // a beam under the ceiling for the vertical shaft
    if (o.top) {
        c.fillRect(kGapLo - 1, y0, 1, 4, kWoodDark);
        c.fillRect(kGapLo + kGap, y0, 1, 4, kWoodDark);
    }
    // torch bracket on the back wall, so an empty room is not a flat box
    int tx = o.top ? 13 : 31;
    c.fillRect(tx, 26, 2, 6, kWoodDark);
    c.fillRect(tx - 1, 24, 4, 2, RGBA(240, 170, 60));
    c.set(tx, 23, RGBA(255, 230, 120));
    c.set(tx + 1, 23, RGBA(255, 210, 90));
    c.set(tx, 22, RGBA(255, 240, 170));
    if (f.arg(0) == "v" || f.arg(0) == "4") {
        // a second bracket on the other side
        int t2 = kCell - 1 - tx - 1;
        if (t2 != tx) {
            c.fillRect(t2, 26, 2, 6, kWoodDark);
            c.fillRect(t2 - 1, 24, 4, 2, RGBA(240, 170, 60));
            c.set(t2, 23, RGBA(255, 230, 120));
            c.set(t2, 22, RGBA(255, 240, 170));
        }
    }
    // inner edge shading: the cut wall throws a shadow on the back wall
    for (int i = x0; i < x1; ++i) c.blend(i, y0 + 2, RGBA(0, 0, 0, 70));
    for (int j = y0; j < y1 - kFloor; ++j) c.blend(x0, j, RGBA(0, 0, 0, 70));
    // a dark rim where the wall is cut, so the room's shape reads on any
    // wall tint and on a card of its own
    Canvas rim = c;
    rim.outline(RGBA(24, 18, 16, 220));
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if (c.get(x, y).a == 0 && rim.get(x, y).a) c.set(x, y, rim.get(x, y));
}

// The outside of a block (light greys; the game tints it with the owner's colour).
void drawExterior(Canvas& c, const FrameSpec& f, DrawCtx& ctx) {
    std::string part = f.arg(0);
    bool dmg = f.argInt(1) != 0;
    Rng& rng = ctx.rng;
    if (part == "lower") {
        masonry(c, 0, 0, kCell, kCell, 16, 8, rng, light::stone, light::mortar);
        // buttress corners: darker quoins
        for (int row = 0; row < 8; ++row) {
            int w = (row % 2) ? 6 : 10;
            c.fillRect(0, row * 8, w, 7, light::mid);
            c.fillRect(0, row * 8, w, 1, light::hi);
            c.fillRect(kCell - w, row * 8, w, 7, light::mid);
            c.fillRect(kCell - w, row * 8, w, 1, light::hi);
            c.fillRect(kCell - 1, row * 8, 1, 7, light::dark);
        }
        // arrow slit
        c.fillRect(30, 24, 4, 18, light::dark);
        c.fillRect(31, 25, 2, 16, light::hole);
        c.set(31, 24, light::hole);
        c.set(32, 24, light::hole);
        c.fillRect(29, 42, 6, 2, light::hi);
    } else if (part == "h") {
        masonry(c, 0, 0, kCell, kCell, 16, 8, rng, light::stone, light::mortar);
        // timber-framed gallery: two beams and two square windows
        c.fillRect(0, 14, kCell, 4, light::dark);
        c.fillRect(0, 14, kCell, 1, light::hi);
        c.fillRect(0, 44, kCell, 4, light::dark);
        c.fillRect(0, 44, kCell, 1, light::hi);
        for (int wx : {12, 40}) {
            c.fillRect(wx - 1, 23, 14, 14, light::mid);
            c.fillRect(wx, 24, 12, 12, light::hole);
            c.fillRect(wx + 5, 24, 2, 12, light::mid);
            c.fillRect(wx, 29, 12, 2, light::mid);
            c.fillRect(wx - 2, 36, 16, 2, light::hi);
        }
    } else {
        int floor = std::atoi(part.c_str());  // 1 = lowest of the top three, 3 = the top
        // every exterior keeps the same course pattern so stacked cells join
        masonry(c, 0, 0, kCell, kCell, 16, 8, rng, light::stone, light::mortar);
        // corner pilasters so a column of these reads as one tower
        for (int j = 0; j < kCell; ++j) {
            c.set(0, j, light::dark);
            c.set(1, j, light::mid);
            c.set(kCell - 2, j, light::mid);
            c.set(kCell - 1, j, light::deep);
        }
        if (floor == 1) {
            archWindow(c, 24, 18, 16, 28, light::hole, light::dark);
            c.fillRect(31, 22, 2, 24, light::deep);  // mullion
        } else if (floor == 2) {
            archWindow(c, 12, 20, 12, 22, light::hole, light::dark);
            archWindow(c, 40, 20, 12, 22, light::hole, light::dark);
            c.fillRect(0, 56, kCell, 3, light::mid);  // string course
            c.fillRect(0, 56, kCell, 1, light::hi);
            c.fillRect(0, 58, kCell, 1, light::dark);
        } else {
            // the top floor: battlements, a cornice and a round window
            c.clearRect(0, 0, kCell, 12);
            for (int m = 0; m < 4; ++m) {
                int mx = 2 + m * 16;
                c.fillRect(mx, 0, 12, 12, light::stone);
                c.fillRect(mx, 0, 12, 1, light::hi);
                c.fillRect(mx, 0, 1, 12, light::hi);
                c.fillRect(mx + 11, 0, 1, 12, light::dark);
                c.fillRect(mx + 5, 4, 2, 5, light::deep);  // loophole
            }
            c.fillRect(0, 12, kCell, 5, light::mid);
            c.fillRect(0, 12, kCell, 1, light::hi);
            c.fillRect(0, 16, kCell, 1, light::deep);
            for (int i = 2; i < kCell; i += 6) c.fillRect(i, 17, 3, 2, light::dark);  // corbels
            c.fillCircle(32, 36, 9, light::dark);
            c.fillCircle(32, 36, 7, light::hole);
            c.fillRect(31, 29, 2, 15, light::dark);
            c.fillRect(25, 35, 15, 2, light::dark);
        }
    }
    if (dmg) {
        // broken stones: holes, cracks and a bitten-off corner
        crack(c, rng.range(8, 20), 0, rng.range(20, 34), 40, rng, light::hole, 1);
        crack(c, kCell - 1, rng.range(26, 40), rng.range(34, 46), 60, rng, light::hole, 1);
        for (int k = 0; k < 3; ++k) {
            int hx = rng.range(6, 52), hy = rng.range(16, 54);
            c.fillRect(hx, hy, 8, 6, light::deep);
            c.fillRect(hx + 1, hy + 1, 6, 4, light::hole);
            c.fillRect(hx, hy + 6, 8, 1, light::hi);
        }
        for (int j = 0; j < 9; ++j)
            for (int i = 0; i < 9 - j; ++i) c.set(kCell - 1 - i, kCell - 1 - j, RGBA());
        for (int j = 0; j < 5; ++j)
            for (int i = 0; i < 5 - j; ++i) c.set(i, kCell - 1 - j, RGBA());
    }
}

void drawDoorLeaf(Canvas& c, int x, int y, int w, int h, bool vertical, Rng& rng) {
    c.fillRect(x - 1, y - 1, w + 2, h + 2, kInk);
    planks(c, x, y, w, h, vertical ? 3 : 3, vertical, rng);
    // iron bands and a ring
    if (vertical) {
        c.fillRect(x, y + 3, w, 2, kIron);
        c.fillRect(x, y + h - 5, w, 2, kIron);
        c.set(x + w / 2, y + h / 2, kIronLight);
    } else {
        c.fillRect(x + 3, y, 2, h, kIron);
        c.fillRect(x + w - 5, y, 2, h, kIron);
        c.set(x + w / 2, y + h / 2, kIronLight);
    }
}

// Doors are drawn over the whole inside of their block (the "doors" layer
// takes the block's place), so the room layer must lie above it.
void drawDoors(Canvas& c, const FrameSpec& f, DrawCtx& ctx) {
    Openings o = openingsOf(f.arg(0));
    int y1 = kCell - kWall;
    drawBlock(c, f, ctx);
    if (o.left) drawDoorLeaf(c, 1, y1 - kFloor - 23, 5, 22, true, ctx.rng);
    if (o.right) drawDoorLeaf(c, kCell - 6, y1 - kFloor - 23, 5, 22, true, ctx.rng);
    if (o.top) drawDoorLeaf(c, kGapLo, 1, kGap, 4, false, ctx.rng);
    if (o.bottom) drawDoorLeaf(c, kGapLo, kCell - 5, kGap, 4, false, ctx.rng);
}

void drawDome(Canvas& c, bool maskOnly, Rng& rng) {
    // onion dome on a drum, sitting on the cell's floor line
    RGBA body = maskOnly ? light::stone : RGBA(92, 150, 140);
    RGBA drum = maskOnly ? light::mid : RGBA(196, 184, 164);
    c.fillRect(8, 44, 48, 20, drum);
    masonry(c, 8, 44, 48, 20, 12, 5, rng, drum, maskOnly ? light::mortar : RGBA(130, 120, 108));
    c.fillEllipse(32, 40, 24, 20, body);
    c.fillPolygon({{18, 30}, {46, 30}, {34, 8}, {30, 8}}, body);
    c.fillRect(31, 2, 2, 8, maskOnly ? light::dark : RGBA(220, 180, 60));
    c.fillCircle(32, 2, 2, maskOnly ? light::hi : RGBA(250, 220, 90));
    // ribs and a highlight
    RGBA rib = shade(body, 200), glint = shade(body, 330);
    for (int k = -2; k <= 2; ++k) c.line(32 + k * 8, 58, 32 + k * 2, 10, rib);
    c.fillEllipse(22, 34, 3, 7, glint);
    c.fillRect(8, 43, 48, 2, maskOnly ? light::hi : RGBA(230, 220, 200));
    // windows in the drum
    for (int wx : {14, 28, 42}) {
        c.fillRect(wx, 50, 8, 10, maskOnly ? light::hole : RGBA(50, 40, 40));
        c.fillEllipse(wx + 4, 50, 4, 3, maskOnly ? light::hole : RGBA(50, 40, 40));
    }
    c.outline(maskOnly ? light::deep : kInk);
}

void drawDomeCard(Canvas& c, const FrameSpec&, DrawCtx& ctx) { drawDome(c, false, ctx.rng); }

void drawFence(Canvas& c, bool card, Rng& rng) {
    // Sharpened palisade stakes with cross rails. On a block it is a low fence along
    // the ground in front, with gaps between the stakes: the room stays in sight.
    int top = card ? 10 : 46, bottom = card ? 58 : kCell;
    int stake = card ? 6 : 4, step = card ? 8 : 9;
    for (int x = 2; x + stake <= kCell - 2; x += step) {
        int h = rng.range(0, 3);
        RGBA w = shade(kWood, 256 + rng.range(-20, 20));
        int tip = card ? 6 : 3;
        c.fillRect(x, top + tip + h, stake, bottom - top - tip - h, w);
        c.fillPolygon({{x, top + tip + h}, {x + stake, top + tip + h}, {x + stake / 2, top + h}}, w);
        c.fillRect(x, top + tip + h, 1, bottom - top - tip - h, kWoodLight);
        c.fillRect(x + stake - 1, top + tip + h, 1, bottom - top - tip - h, kWoodDark);
    }
    int r1 = top + (bottom - top) / 3, r2 = top + 2 * (bottom - top) / 3;
    c.fillRect(0, r1, kCell, 3, kWoodDark);
    c.fillRect(0, r2, kCell, 3, kWoodDark);
    c.fillRect(0, r1, kCell, 1, kWoodLight);
    c.fillRect(0, r2, kCell, 1, kWoodLight);
    c.outline(kInk);
}

void drawFenceCard(Canvas& c, const FrameSpec&, DrawCtx& ctx) { drawFence(c, true, ctx.rng); }

void drawHardenedPlates(Canvas& c) {
    // iron corner plates and edge bands with rivets
    auto plate = [&](int x, int y, int w, int h) {
        c.fillRect(x, y, w, h, kIron);
        c.fillRect(x, y, w, 1, kIronLight);
        c.fillRect(x, y, 1, h, kIronLight);
        c.fillRect(x, y + h - 1, w, 1, shade(kIron, 160));
        c.fillRect(x + w - 1, y, 1, h, shade(kIron, 160));
        for (int i = x + 3; i < x + w - 2; i += 6)
            for (int j = y + 3; j < y + h - 2; j += 6) {
                c.set(i, j, kIronLight);
                c.set(i + 1, j + 1, shade(kIron, 140));
            }
    };
    plate(0, 0, 18, 8);
    plate(0, 0, 8, 18);
    plate(kCell - 18, 0, 18, 8);
    plate(kCell - 8, 0, 8, 18);
    plate(0, kCell - 8, 18, 8);
    plate(0, kCell - 18, 8, 18);
    plate(kCell - 18, kCell - 8, 18, 8);
    plate(kCell - 8, kCell - 18, 8, 18);
}

void drawHardenedCard(Canvas& c, const FrameSpec&, DrawCtx& ctx) {
    FrameSpec b;
    b.args = {"4"};
    drawBlock(c, b, ctx);
    // stone frame so the card shows a whole block
    Canvas walls(kCell, kCell);
    masonry(walls, 0, 0, kCell, kCell, 16, 8, ctx.rng, RGBA(200, 190, 178), RGBA(120, 110, 100));
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            if (c.get(x, y).a == 0) c.set(x, y, walls.get(x, y));
    drawHardenedPlates(c);
}

void drawLevitronGlow(Canvas& c, bool card) {
    // a floating rune stone with a blue glow beneath
    int cy = card ? 26 : 54;
    for (int r = 12; r > 0; --r) c.fillEllipse(32, cy + 12, r * 2, r / 2 + 1, RGBA(90, 200, 255, 24));
    std::vector<Pt> gem = {{32, cy - 14}, {46, cy}, {32, cy + 10}, {18, cy}};
    if (!card) gem = {{32, cy - 6}, {42, cy}, {32, cy + 5}, {22, cy}};
    c.fillPolygon(gem, RGBA(120, 210, 250));
    c.fillPolygon({gem[0], gem[1], {32, cy}}, RGBA(200, 244, 255));
    c.fillPolygon({gem[2], gem[3], {32, cy}}, RGBA(60, 140, 210));
    c.outline(RGBA(20, 50, 90));
    if (card) {
        // sparks rising
        for (int k = 0; k < 6; ++k) {
            int x = 14 + k * 7, y = 48 + (k % 3) * 4;
            c.set(x, y, RGBA(200, 244, 255));
            c.set(x, y - 1, RGBA(120, 210, 250, 160));
        }
        for (int j = 0; j < 6; ++j) c.blendRect(20 + j * 4, 40 + (j % 2) * 3, 2, 2, RGBA(140, 220, 255, 200));
    }
}

void drawLevitronCard(Canvas& c, const FrameSpec&, DrawCtx&) { drawLevitronGlow(c, true); }

void drawCracks(Canvas& c, const FrameSpec& f, DrawCtx& ctx) {
    bool enemy = f.arg(0) == "enemy";
    // the enemy tower is drawn smaller: thicker, lighter cracks read there
    RGBA col = enemy ? RGBA(30, 24, 20, 230) : RGBA(20, 16, 14, 220);
    int w = enemy ? 2 : 1;
    crack(c, 8, 8, 30, 34, ctx.rng, col, w);
    crack(c, 56, 12, 36, 30, ctx.rng, col, w);
    crack(c, 30, 34, 20, 56, ctx.rng, col, w);
    crack(c, 36, 30, 50, 54, ctx.rng, col, w);
    // fallen plaster on the floor
    for (int k = 0; k < 6; ++k) {
        int x = ctx.rng.range(10, 52);
        c.fillRect(x, 51, 2 + k % 2, 2, enemy ? RGBA(200, 190, 180) : RGBA(170, 160, 150));
    }
}

void drawLadder(Canvas& c, const FrameSpec& f, DrawCtx& ctx) {
    std::string side = f.arg(0);
    if (side == "top" || side == "bottom") {
        int y0 = side == "top" ? 0 : 32, y1 = side == "top" ? 32 : kCell;
        c.fillRect(25, y0, 2, y1 - y0, kWoodDark);
        c.fillRect(37, y0, 2, y1 - y0, kWoodDark);
        c.fillRect(26, y0, 1, y1 - y0, kWoodLight);
        c.fillRect(38, y0, 1, y1 - y0, kWoodLight);
        for (int y = y0 + 3; y < y1; y += 6) {
            c.fillRect(27, y, 10, 2, kWood);
            c.fillRect(27, y, 10, 1, kWoodLight);
        }
    } else {
        // a gangway of planks across the side opening, hung from a rope rail
        bool left = side == "left";
        int x0 = left ? 0 : 32, x1 = left ? 32 : kCell;
        int y = kCell - kWall - kFloor;
        planks(c, x0, y, x1 - x0, 3, 4, true, ctx.rng);
        c.fillRect(x0, y + 3, x1 - x0, 1, kWoodDark);
        c.fillRect(x0, y - 14, x1 - x0, 1, RGBA(200, 170, 110));
        for (int x = x0 + 4; x < x1; x += 8) c.fillRect(x, y - 14, 1, 14, RGBA(170, 140, 90));
    }
}

void drawOverlay(Canvas& c, const FrameSpec& f, DrawCtx& ctx) {
    std::string kind = f.arg(0);
    Rng& rng = ctx.rng;
    if (kind == "hardened") {
        drawHardenedPlates(c);
    } else if (kind == "levitron") {
        drawLevitronGlow(c, false);
    } else if (kind == "fence") {
        drawFence(c, false, rng);
    } else if (kind == "deratized") {
        // a sprung trap in the corner and a "no rats" plaque
        c.fillRect(40, 50, 14, 4, kWood);
        c.fillRect(40, 50, 14, 1, kWoodLight);
        c.line(42, 49, 52, 44, kIronLight);
        c.line(42, 48, 52, 43, kIron);
        c.fillCircle(17, 22, 8, RGBA(240, 230, 200));
        c.circle(17, 22, 8, RGBA(190, 30, 30));
        c.circle(17, 22, 7, RGBA(190, 30, 30));
        c.fillEllipse(17, 23, 4, 2, RGBA(90, 80, 80));
        c.set(21, 21, RGBA(90, 80, 80));
        c.line(12, 17, 22, 27, RGBA(190, 30, 30));
        c.line(12, 18, 21, 27, RGBA(190, 30, 30));
        c.outline(kInk);
    } else if (kind == "flood") {
        // water filling the room; the game scales it upward from the floor
        c.fillRect(0, 0, kCell, kCell, RGBA(50, 110, 200, 150));
        c.fillRect(0, 0, kCell, 2, RGBA(170, 220, 255, 210));
        for (int k = 0; k < 10; ++k) {
            int x = rng.range(2, 56), y = rng.range(6, 60);
            c.blendRect(x, y, rng.range(4, 8), 1, RGBA(170, 220, 255, 110));
        }
    } else if (kind == "roomfill") {
        c.gradientV(0, 0, f.w, f.h, RGBA(140, 230, 255), RGBA(60, 120, 230));
        c.fillRect(0, 0, 1, f.h, RGBA(200, 245, 255));
    } else if (kind == "roomfill-back") {
        c.fillRect(0, 0, f.w, f.h, kInk);
        c.fillRect(1, 1, f.w - 2, f.h - 2, RGBA(40, 34, 44));
        c.rect(0, 0, f.w, f.h, RGBA(200, 180, 120));
    } else if (kind == "mask") {
        // stone lining of a dug-out room (tinted by the owner)
        masonry(c, 0, 0, kCell, kCell, 12, 6, rng, light::stone, light::mortar);
        c.clearRect(8, 20, 48, 38);
        c.fillEllipse(32, 22, 24, 14, RGBA());
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x)
                if (c.get(x, y).a && (c.get(x + 1, y + 1).a == 0 || c.get(x + 1, y).a == 0 || c.get(x, y + 1).a == 0) &&
                    y > 6)
                    c.set(x, y, light::deep);
        c.fillRect(8, 58, 48, 6, light::dark);
    } else if (kind == "dome-mask") {
        drawDome(c, true, rng);
    } else if (kind == "cave") {
        // the hollow of an underground room
        c.fillRect(0, 0, kCell, kCell, RGBA(56, 44, 38));
        for (int k = 0; k < 40; ++k)
            c.fillRect(rng.range(0, 62), rng.range(0, 62), 2, 2, RGBA(72, 58, 48));
        c.fillRect(0, 56, kCell, 8, RGBA(92, 74, 56));
        for (int k = 0; k < 12; ++k) c.set(rng.range(0, 63), rng.range(56, 63), RGBA(120, 98, 72));
    } else if (kind == "earth") {
        // packed earth with pebbles (tinted)
        c.fillRect(0, 0, kCell, kCell, light::mid);
        for (int k = 0; k < 90; ++k) {
            int x = rng.range(0, 63), y = rng.range(0, 63);
            c.set(x, y, rng.range(0, 1) ? light::dark : light::stone);
        }
        for (int k = 0; k < 9; ++k) {
            int x = rng.range(4, 58), y = rng.range(4, 58), r = rng.range(1, 3);
            c.fillEllipse(x, y, r + 1, r, light::hi);
            c.set(x + r, y + r / 2 + 1, light::deep);
        }
    } else if (kind == "empty") {
        for (int i = 0; i < kCell; i += 4) {
            c.fillRect(i, 0, 2, 1, RGBA(255, 255, 255, 90));
            c.fillRect(i, kCell - 1, 2, 1, RGBA(255, 255, 255, 90));
            c.fillRect(0, i, 1, 2, RGBA(255, 255, 255, 90));
            c.fillRect(kCell - 1, i, 1, 2, RGBA(255, 255, 255, 90));
        }
    }
}

// A block breaking up: whole, split, falling apart, rubble (light; tinted).
void drawCollapse(Canvas& c, const FrameSpec& f, DrawCtx& ctx) {
    int stage = f.argInt(0, 1);
    Canvas block(kCell, kCell);
    Rng r2(77);
    masonry(block, 0, 0, kCell, kCell, 16, 8, r2, light::stone, light::mortar);
    if (stage == 1) {
        c.copy(block, 0, 0);
        crack(c, 20, 0, 34, 63, ctx.rng, light::hole, 2);
        crack(c, 0, 30, 63, 36, ctx.rng, light::hole, 1);
        return;
    }
    // chunks drift apart and fall as the stage grows
    struct Chunk { int x, y, w, h, dx, dy; };
    const Chunk chunks[] = {{0, 0, 26, 30, -1, 0},  {26, 0, 38, 30, 1, 0},   {0, 30, 20, 34, -1, 1},
                            {20, 30, 24, 34, 0, 1}, {44, 30, 20, 34, 1, 1}};
    int s = stage - 1;
    for (const Chunk& ch : chunks) {
        if (stage == 4 && ch.h > 30 && ch.y == 0) continue;
        int shrink = stage == 4 ? 10 : (stage == 3 ? 4 : 0);
        int ox = ch.x + ch.dx * s * 3 + shrink / 2, oy = ch.y + s * s * 3 + ch.dy * s * 2 + shrink / 2;
        int w = ch.w - shrink - 2, h = ch.h - shrink - 2;
        if (stage == 4) {
            w = w * 2 / 3;
            h = h / 2;
            oy = kCell - h - 1 - (ch.x % 3);
        }
        Canvas piece = block.sub(ch.x + 1, ch.y + 1, std::max(1, w), std::max(1, h));
        // knock corners off
        piece.set(0, 0, RGBA());
        piece.set(piece.width() - 1, 0, RGBA());
        piece.set(piece.width() - 1, piece.height() - 1, RGBA());
        c.blit(piece, ox, oy);
    }
    // dust
    int dust = stage * 10;
    for (int k = 0; k < dust; ++k) {
        int x = ctx.rng.range(0, 63), y = ctx.rng.range(kCell - 8 * stage, 63);
        c.blend(x, y, RGBA(255, 255, 255, 120));
    }
    c.outline(light::deep);
}

}  // namespace

void registerTowerDrawers(DrawerTable& t) {
    t["block"] = drawBlock;
    t["exterior"] = drawExterior;
    t["doors"] = drawDoors;
    t["dome"] = drawDomeCard;
    t["fence-card"] = drawFenceCard;
    t["hardened-card"] = drawHardenedCard;
    t["levitron-card"] = drawLevitronCard;
    t["cracks"] = drawCracks;
    t["ladder"] = drawLadder;
    t["overlay"] = drawOverlay;
    t["collapse"] = drawCollapse;
}

}  // namespace art
