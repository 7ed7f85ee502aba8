// Checks the generated art data: every frame of the frame table is in its
// sheet, every frame the game names is in the table, fonts cover the game's
// alphabets, particle systems load, and the generators are deterministic.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <zlib.h>

#include "canvas.hpp"
#include "fnt.hpp"
#include "plist_reader.hpp"
#include "pngio.hpp"

namespace {

const std::string kData = MV_DATA_DIR;
const std::string kSource = MV_SOURCE_DIR;

struct FrameRow {
    std::string sheet, name;
    int w = 0, h = 0;
};

std::vector<FrameRow> frameTable() {
    std::vector<FrameRow> rows;
    std::ifstream in(kSource + "/assets/art/frames.txt");
    std::string line;
    while (std::getline(in, line)) {
        size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::istringstream ls(line);
        FrameRow r;
        if (ls >> r.sheet >> r.name >> r.w >> r.h) rows.push_back(r);
    }
    return rows;
}

std::set<std::string> frameNames() {
    std::set<std::string> s;
    for (auto& r : frameTable()) s.insert(r.name);
    return s;
}

std::string readAll(const std::string& path) {
    std::string s;
    art::readFile(path, s);
    return s;
}

// A scratch path of this process, so parallel runs from several build trees
// never share one.
std::string scratch(const std::string& name) {
    return ::testing::TempDir() + "/" + name + "_" + std::to_string(getpid());
}

bool isPowerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

TEST(SpriteSheets, EveryTableFrameLiesInsideItsSheet) {
    auto rows = frameTable();
    ASSERT_GT(rows.size(), 100u);
    std::map<std::string, std::shared_ptr<PNode>> sheets;
    std::map<std::string, art::Canvas> textures;
    for (const FrameRow& r : rows) {
        SCOPED_TRACE(r.sheet + " " + r.name);
        if (r.sheet == "plain") {
            art::Canvas c;
            ASSERT_TRUE(art::readPng(kData + "/plain_sprites/" + r.name, c));
            EXPECT_EQ(c.width(), r.w);
            EXPECT_EQ(c.height(), r.h);
            continue;
        }
        if (!sheets.count(r.sheet)) {
            auto p = readPlist(kData + "/sprites/" + r.sheet + ".plist");
            ASSERT_TRUE(p) << "sheet plist does not parse";
            const PNode* meta = p->get("metadata");
            ASSERT_TRUE(meta && meta->get("textureFileName") && meta->get("size"));
            EXPECT_EQ(meta->get("format")->number(), 2);
            art::Canvas tex;
            ASSERT_TRUE(art::readPng(kData + "/sprites/" + meta->get("textureFileName")->text, tex));
            auto size = plistInts(meta->get("size")->text);
            ASSERT_EQ(size.size(), 2u);
            EXPECT_EQ(size[0], tex.width());
            EXPECT_EQ(size[1], tex.height());
            EXPECT_TRUE(isPowerOfTwo(tex.width()) && isPowerOfTwo(tex.height()));
            EXPECT_LE(tex.width(), 2048);
            EXPECT_LE(tex.height(), 2048);
            sheets[r.sheet] = p;
            textures[r.sheet] = tex;
        }
        const PNode* frames = sheets[r.sheet]->get("frames");
        ASSERT_TRUE(frames);
        const PNode* f = frames->get(r.name);
        ASSERT_TRUE(f) << "frame missing from the sheet";
        auto rect = plistInts(f->get("frame")->text);
        ASSERT_EQ(rect.size(), 4u);
        // The sheet holds the frame's pixels with their transparent border cut away;
        // the source rectangle and the offset put them back where they were drawn.
        auto source = plistInts(f->get("sourceColorRect")->text);
        ASSERT_EQ(source.size(), 4u);
        EXPECT_EQ(source[2], rect[2]);
        EXPECT_EQ(source[3], rect[3]);
        EXPECT_GE(source[0], 0);
        EXPECT_GE(source[1], 0);
        EXPECT_LE(source[0] + source[2], r.w);
        EXPECT_LE(source[1] + source[3], r.h);
        float offX = 0, offY = 0;
        ASSERT_EQ(std::sscanf(f->get("offset")->text.c_str(), "{%f,%f}", &offX, &offY), 2);
        EXPECT_FLOAT_EQ(offX, (2 * source[0] + source[2] - r.w) / 2.0f);
        EXPECT_FLOAT_EQ(offY, (r.h - 2 * source[1] - source[3]) / 2.0f);
        const art::Canvas& tex = textures[r.sheet];
        EXPECT_GE(rect[0], 0);
        EXPECT_GE(rect[1], 0);
        EXPECT_LE(rect[0] + rect[2], tex.width());
        EXPECT_LE(rect[1] + rect[3], tex.height());
        EXPECT_EQ(plistInts(f->get("sourceSize")->text), (std::vector<int>{r.w, r.h}));
        EXPECT_EQ(f->get("rotated")->text, "0");
        // a frame is never blank
        bool anyOpaque = false;
        for (int y = rect[1]; y < rect[1] + rect[3] && !anyOpaque; ++y)
            for (int x = rect[0]; x < rect[0] + rect[2]; ++x)
                if (tex.get(x, y).a) {
                    anyOpaque = true;
                    break;
                }
        EXPECT_TRUE(anyOpaque) << "frame is fully transparent";
    }
    // and no sheet holds frames the table does not list
    for (auto& [name, p] : sheets) {
        size_t listed = 0;
        for (auto& r : rows) listed += r.sheet == name;
        EXPECT_EQ(p->get("frames")->dict.size(), listed) << name;
    }
}

// Frames the game's code names, by the place that names them.
TEST(SpriteSheets, EveryFrameTheGameNamesIsListed) {
    std::vector<std::string> wanted = {
        // card pictures
        "tower-4block.png", "tower-vblock.png", "tower-hblock.png", "dome.png", "fence-card.png", "doors-4block.png",
        "hardened-4block.png", "levitron.png", "crystal.png", "library.png", "shield.png", "tavern.png",
        "spell-fireball.png", "spell-rat.png", "spell-earthquake.png", "spell-bolt.png", "spell-ray.png",
        "spell-broken_pipe.png", "spell-flood.png", "spell-falling_rocks.png", "spell-fire.png",
        "spell-disturbance.png", "spell-eye.png", "spell-doorbreaker.png", "spell-boom.png", "spell-dig.png",
        "spell-repair.png", "spell-fire_fighter.png", "spell-move.png", "spell-pump.png", "spell-antirat.png",
        "archmage.png",
        // element display
        "doors-Vblock.png", "doors-Hblock.png", "inside-cracked-enemy.png", "fire.png", "fire2.png",
        // effects
        "particle-bolt.png", "collapse1.png", "collapse2.png", "collapse3.png", "collapse4.png", "deratizer1.png",
        "deratizer2.png", "deratizer3.png", "rat1.png", "rat2.png", "rat3.png",
        // title intro
        "bird-sit1.png", "bird-sit2.png", "bird-sit3.png", "bird-glide.png",
        // buttons
        "button-ok.png", "button-ok-press.png", "button-cancel.png", "facebook.png", "facebook-press.png"};
    for (int i = 1; i <= 9; ++i) wanted.push_back("bird-" + std::to_string(i) + ".png");
    for (const char* part : {"lower_block", "h_block", "3floor", "2floor", "1floor"})
        for (const char* dmg : {"", "-dmg"}) wanted.push_back(std::string("tower-") + part + dmg + ".png");
    for (int i = 1; i <= 11; ++i) wanted.push_back("Brindlecor-logo-" + std::to_string(i));
    auto names = frameNames();
    for (const auto& w : wanted) EXPECT_TRUE(names.count(w)) << w;
}

// Layers the game tints multiply their pixels by the tint, so they must be
// drawn light or the tint turns them to mud.
TEST(SpriteSheets, TintedLayersAreDrawnLight) {
    auto p = readPlist(kData + "/sprites/texture.plist");
    ASSERT_TRUE(p);
    art::Canvas tex;
    ASSERT_TRUE(art::readPng(kData + "/sprites/texture.png", tex));
    int checked = 0;
    for (const auto& [name, f] : p->get("frames")->dict) {
        bool tinted = name.rfind("tower-", 0) == 0 || name.rfind("spell-", 0) == 0 ||
                      name.rfind("collapse", 0) == 0 || name == "elem-mask.png" || name == "elem-dome-mask.png" ||
                      name == "elem-earth.png";
        bool interior = name == "tower-4block.png" || name == "tower-vblock.png" || name == "tower-hblock.png";
        if (!tinted || interior) continue;
        auto r = plistInts(f->get("frame")->text);
        long long sum = 0, n = 0;
        for (int y = r[1]; y < r[1] + r[3]; ++y)
            for (int x = r[0]; x < r[0] + r[2]; ++x) {
                art::RGBA px = tex.get(x, y);
                if (px.a < 128) continue;
                sum += (px.r * 30 + px.g * 59 + px.b * 11) / 100;
                ++n;
            }
        ASSERT_GT(n, 0) << name;
        EXPECT_GE(sum / n, 150) << name << " is too dark to tint";
        ++checked;
    }
    EXPECT_GE(checked, 30);
}

TEST(SpriteSheets, CardPicturesFitOneCell) {
    std::set<std::string> cards = {"tower-4block.png", "crystal.png", "spell-fireball.png", "spell-antirat.png",
                                   "archmage.png", "tower-3floor-dmg.png", "collapse4.png"};
    for (auto& r : frameTable())
        if (cards.count(r.name)) {
            EXPECT_EQ(r.w, 64) << r.name;
            EXPECT_EQ(r.h, 64) << r.name;
        }
}

// A frame of the main sheet as drawn: its trimmed pixels put back into a canvas of
// the table's size. The sheet and its plist are read once.
art::Canvas sheetFrame(const std::string& name) {
    static std::shared_ptr<PNode> plist = readPlist(kData + "/sprites/texture.plist");
    static art::Canvas tex;
    if (tex.width() == 0) art::readPng(kData + "/sprites/texture.png", tex);
    const PNode* f = plist ? plist->get("frames")->get(name) : nullptr;
    if (!f) return art::Canvas();
    auto rect = plistInts(f->get("frame")->text);
    auto source = plistInts(f->get("sourceColorRect")->text);
    auto size = plistInts(f->get("sourceSize")->text);
    art::Canvas out(size[0], size[1]);
    out.copy(tex.sub(rect[0], rect[1], rect[2], rect[3]), source[0], source[1]);
    return out;
}

// The title's lettering, rim and shadow included, lies wholly inside its frame: clear
// columns on both sides and clear rows above and below, so nothing is cut flat.
TEST(SpriteSheets, TheTitleHoldsItsWholeLetteringWithAMargin) {
    art::Canvas title = sheetFrame("title-logo.png");
    ASSERT_GT(title.width(), 0);
    auto columnClear = [&](int x) {
        for (int y = 0; y < title.height(); ++y)
            if (title.get(x, y).a) return false;
        return true;
    };
    auto rowClear = [&](int y) {
        for (int x = 0; x < title.width(); ++x)
            if (title.get(x, y).a) return false;
        return true;
    };
    const int margin = 8;
    for (int i = 0; i < margin; ++i) {
        EXPECT_TRUE(columnClear(i)) << "column " << i;
        EXPECT_TRUE(columnClear(title.width() - 1 - i)) << "column " << title.width() - 1 - i;
        EXPECT_TRUE(rowClear(i)) << "row " << i;
        EXPECT_TRUE(rowClear(title.height() - 1 - i)) << "row " << title.height() - 1 - i;
    }
}

// A fence stands low in front of its block: the room inside (the Archmage's hat and
// staff reach the block's top) stays in sight above it.
TEST(SpriteSheets, TheFenceStandsLowBeforeItsBlock) {
    art::Canvas fence = sheetFrame("elem-fence.png");
    ASSERT_EQ(fence.height(), 64);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < fence.width(); ++x) ASSERT_EQ(fence.get(x, y).a, 0) << x << "," << y;
}

// Tiles repeated side by side (and above each other) join without a step: the colours
// across the join differ no more than between neighbouring lines inside the tile.
struct TileCase {
    const char* frame;
    bool vertical;  // also repeated upwards
};

void PrintTo(const TileCase& c, std::ostream* os) { *os << c.frame; }

class RepeatedTile : public ::testing::TestWithParam<TileCase> {};

TEST_P(RepeatedTile, JoinsWithoutAStep) {
    art::Canvas t = sheetFrame(GetParam().frame);
    ASSERT_GT(t.width(), 2);
    // mean difference of the colour channels between two lines of pixels
    auto lineDiff = [&](bool rows, int a, int b) {
        long long sum = 0;
        int n = rows ? t.width() : t.height();
        for (int i = 0; i < n; ++i) {
            art::RGBA p = rows ? t.get(i, a) : t.get(a, i), q = rows ? t.get(i, b) : t.get(b, i);
            sum += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) + std::abs(p.a - q.a);
        }
        return double(sum) / (4.0 * n);
    };
    for (bool rows : {false, true}) {
        if (rows && !GetParam().vertical) continue;
        int n = rows ? t.height() : t.width();
        double inside = 0;
        for (int i = 0; i + 1 < n; ++i) inside += lineDiff(rows, i, i + 1);
        inside /= n - 1;
        double join = lineDiff(rows, n - 1, 0);
        EXPECT_LE(join, inside * 1.5 + 2.0) << (rows ? "top and bottom" : "left and right") << " edges differ by "
                                           << join << ", neighbouring lines inside by " << inside;
    }
}

INSTANTIATE_TEST_SUITE_P(Ground, RepeatedTile,
                         ::testing::Values(TileCase{"ground-earth.png", true},
                                           TileCase{"ground-earth-far.png", true}, TileCase{"elem-earth.png", true},
                                           TileCase{"ground-grass.png", false}, TileCase{"water.png", false},
                                           TileCase{"hills.png", false}),
                         [](const auto& info) {
                             std::string n;
                             for (const char* c = info.param.frame; *c && *c != '.'; ++c)
                                 n += std::isalnum((unsigned char)*c) ? *c : '_';
                             return n;
                         });

// Panels that hold text are opaque where the text sits (the middle of the nine-slice,
// inside its 16-pixel corners): at 0.9 a bright sky or a lit room behind a dark panel
// still showed through its text.
TEST(SpriteSheets, TextPanelsAreOpaqueWhereTheTextSits) {
    for (const char* name : {"frame-message.png", "frame-dialog.png", "frame-menu.png", "frame-store.png",
                             "frame-textfield.png"}) {
        art::Canvas panel = sheetFrame(name);
        ASSERT_GT(panel.width(), 32) << name;
        int least = 255;
        for (int y = 16; y < panel.height() - 16; ++y)
            for (int x = 16; x < panel.width() - 16; ++x) least = std::min<int>(least, panel.get(x, y).a);
        EXPECT_GE(least, 250) << name << ": alpha " << least / 255.0;
    }
}

// The text-field frame's rim leaves the edit box's text (5 pixels in from either side)
// at least 4 pixels of plain face: across its middle row, only the outermost column
// differs from the face.
TEST(SpriteSheets, TheTextFieldRimLeavesTheTextRoom) {
    art::Canvas field = sheetFrame("frame-textfield.png");
    ASSERT_GT(field.width(), 32);
    const int y = field.height() / 2;
    const art::RGBA face = field.get(field.width() / 2, y);
    auto isFace = [&](int x) {
        art::RGBA p = field.get(x, y);
        return std::abs(p.r - face.r) + std::abs(p.g - face.g) + std::abs(p.b - face.b) < 24 && p.a == face.a;
    };
    for (int i = 1; i < 5; ++i) {
        EXPECT_TRUE(isFace(i)) << "column " << i;
        EXPECT_TRUE(isFace(field.width() - 1 - i)) << "column " << field.width() - 1 - i;
    }
}

// --- fonts

std::vector<std::string> fontNames() {
    std::vector<std::string> names;
    std::ifstream in(kSource + "/assets/art/fonts.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream ls(line);
        std::string n;
        if (ls >> n) names.push_back(n);
    }
    return names;
}

class FontFile : public ::testing::TestWithParam<std::string> {};

TEST_P(FontFile, CoversTheGameAlphabetsOnItsPage) {
    art::FntFile f;
    std::string err;
    ASSERT_TRUE(art::loadFnt(kData + "/fonts/" + GetParam() + ".fnt", f, &err)) << err;
    std::vector<uint32_t> need;
    for (uint32_t c = 32; c < 127; ++c) need.push_back(c);
    for (uint32_t c = 160; c < 256; ++c) need.push_back(c);
    for (uint32_t c = 0x400; c < 0x460; ++c) need.push_back(c);
    for (uint32_t c : need) EXPECT_TRUE(f.chars.count(c)) << "U+" << std::hex << c;
    ASSERT_EQ(f.pageFiles.size(), 1u);
    art::Canvas page;
    ASSERT_TRUE(art::readPng(kData + "/fonts/" + f.pageFiles[0], page));
    EXPECT_EQ(page.width(), f.scaleW);
    EXPECT_EQ(page.height(), f.scaleH);
    for (auto& [cp, c] : f.chars) {
        EXPECT_GE(c.x, 0);
        EXPECT_GE(c.y, 0);
        EXPECT_LE(c.x + c.width, f.scaleW) << cp;
        EXPECT_LE(c.y + c.height, f.scaleH) << cp;
        EXPECT_GT(c.xadvance, 0) << cp;
    }
    // letters have ink; the space has none
    const art::FntChar& a = f.chars.at('A');
    EXPECT_GT(a.width * a.height, 0);
    EXPECT_EQ(f.chars.at(' ').width, 0);
    EXPECT_GT(f.kerningCount, 0);
}

INSTANTIATE_TEST_SUITE_P(AllFonts, FontFile, ::testing::ValuesIn(fontNames()),
                         [](const auto& info) {
                             std::string n;
                             for (char c : info.param) n += std::isalnum((unsigned char)c) ? c : '_';
                             return n;
                         });

TEST(Fonts, TheNamedFontsAndTheirPressedTwinsExist) {
    auto names = fontNames();
    std::set<std::string> all(names.begin(), names.end());
    for (const char* n : {"font-14", "72", "Economica-130"}) EXPECT_TRUE(all.count(n)) << n;
    for (const auto& n : names) {
        if (n.size() > 9 && n.compare(n.size() - 9, 9, "-selected") == 0) continue;
        EXPECT_TRUE(all.count(n + "-selected")) << n;
    }
}

TEST(Fonts, MissingCharsReportsWhatATextCannotShow) {
    art::FntFile f;
    ASSERT_TRUE(art::loadFnt(kData + "/fonts/font-14.fnt", f, nullptr));
    EXPECT_TRUE(art::missingChars(f, "Привет, мир! Ça va? ёЁ\n").empty());
    auto miss = art::missingChars(f, "ok \xe4\xb8\xad");  // a CJK character
    EXPECT_EQ(miss, (std::set<uint32_t>{0x4E2D}));
    // the command-line form exits 1 and names the character
    std::string txt = scratch("mv_fnt_text.txt");
    std::ofstream(txt) << "abc \xe4\xb8\xad";
    std::string cmd = std::string(MV_FNTCHARS_TOOL) + " " + kData + "/fonts/font-14.fnt " + txt + " > /dev/null";
    int rc = std::system(cmd.c_str());
    EXPECT_EQ(WEXITSTATUS(rc), 1);
    std::remove(txt.c_str());
}

TEST(Fonts, ParserRejectsBrokenFiles) {
    art::FntFile f;
    std::string err;
    EXPECT_FALSE(art::parseFnt("", f, &err));
    EXPECT_FALSE(art::parseFnt("common lineHeight=10 base=8 scaleW=64 scaleH=64\nchar id=65 x=1\n", f, &err));
    EXPECT_FALSE(art::parseFnt("common lineHeight=10 base=8 scaleW=64 scaleH=64\n", f, &err));  // no page
    EXPECT_TRUE(art::parseFnt("common lineHeight=10 base=8 scaleW=64 scaleH=64 pages=1\npage id=0 file=\"a b.png\"\n"
                              "char id=65 x=1 y=2 width=3 height=4 xoffset=0 yoffset=1 xadvance=5\n",
                              f, &err))
        << err;
    EXPECT_EQ(f.pageFiles[0], "a b.png");
    EXPECT_EQ(f.chars.at(65).xadvance, 5);
}

// --- particles

bool gunzip(const std::string& in, std::string& out) {
    z_stream zs{};
    if (inflateInit2(&zs, 15 + 32) != Z_OK) return false;
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    zs.avail_in = uInt(in.size());
    char buf[4096];
    int rc;
    do {
        zs.next_out = reinterpret_cast<Bytef*>(buf);
        zs.avail_out = sizeof buf;
        rc = inflate(&zs, Z_NO_FLUSH);
        out.append(buf, sizeof buf - zs.avail_out);
    } while (rc == Z_OK);
    inflateEnd(&zs);
    return rc == Z_STREAM_END;
}

std::string unbase64(const std::string& s) {
    std::string out;
    unsigned val = 0;
    int bits = -8;
    for (char c : s) {
        const char* tbl = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        const char* p = std::strchr(tbl, c);
        if (!p || !c) continue;
        val = ((val << 6) | unsigned(p - tbl)) & 0xFFFFFFu;
        bits += 6;
        if (bits >= 0) {
            out += char((val >> bits) & 0xFF);
            bits -= 8;
        }
    }
    return out;
}

struct ParticleCase {
    const char* name;
    bool once;  // started once by an effect: must stop emitting by itself
};

void PrintTo(const ParticleCase& c, std::ostream* os) { *os << c.name; }

class ParticleFile : public ::testing::TestWithParam<ParticleCase> {};

TEST_P(ParticleFile, LoadsWithItsTexture) {
    const ParticleCase& pc = GetParam();
    auto p = readPlist(kData + "/particles/" + std::string(pc.name) + ".plist");
    ASSERT_TRUE(p && p->kind == PNode::Dict);
    for (const char* k : {"maxParticles", "duration", "emitterType", "angle", "speed", "gravityx", "gravityy",
                          "startColorRed", "startColorAlpha", "finishColorAlpha", "startParticleSize",
                          "particleLifespan", "blendFuncSource", "blendFuncDestination", "textureFileName"})
        EXPECT_TRUE(p->get(k)) << k;
    EXPECT_GT(p->get("maxParticles")->number(), 0);
    EXPECT_GT(p->get("particleLifespan")->number(), 0);
    double duration = p->get("duration")->number();
    if (pc.once) {
        EXPECT_GT(duration, 0);
        EXPECT_LE(duration, 5);
    } else {
        EXPECT_EQ(duration, -1);
    }
    art::Canvas tex;
    EXPECT_TRUE(art::readPng(kData + "/particles/" + p->get("textureFileName")->text, tex));
    ASSERT_TRUE(p->get("textureImageData"));
    std::string png;
    ASSERT_TRUE(gunzip(unbase64(p->get("textureImageData")->text), png));
    EXPECT_EQ(png, readAll(kData + "/particles/" + p->get("textureFileName")->text));
}

INSTANTIATE_TEST_SUITE_P(
    AllSystems, ParticleFile,
    ::testing::Values(ParticleCase{"fireball", true}, ParticleCase{"rocks", true}, ParticleCase{"rocks-enemy", true},
                      ParticleCase{"rocks2", true}, ParticleCase{"rocks2-enemy", true}, ParticleCase{"rain", true},
                      ParticleCase{"water_fountain", true}, ParticleCase{"disturbance", true},
                      ParticleCase{"doorbreaker", true}, ParticleCase{"magic_stars", true},
                      ParticleCase{"smoke2", false}, ParticleCase{"wind1", false}),
    [](const auto& info) {
        std::string n;
        for (const char* c = info.param.name; *c; ++c) n += std::isalnum((unsigned char)*c) ? *c : '_';
        return n;
    });

TEST(Particles, WindBlowsTowardsNegativeX) {
    auto p = readPlist(kData + "/particles/wind1.plist");
    ASSERT_TRUE(p);
    EXPECT_LT(p->get("gravityx")->number(), 0);
}

// --- determinism

int run(const std::string& cmd) {
    int rc = std::system((cmd + " 2>&1").c_str());
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

std::vector<std::string> listFiles(const std::string& dir) {
    std::vector<std::string> out;
    std::string cmd = "cd '" + dir + "' && find . -type f | sort";
    FILE* f = popen(cmd.c_str(), "r");
    if (!f) return out;
    char buf[1024];
    while (std::fgets(buf, sizeof buf, f)) {
        std::string s = buf;
        if (!s.empty() && s.back() == '\n') s.pop_back();
        out.push_back(s);
    }
    pclose(f);
    return out;
}

std::string generateAll(const std::string& dir) {
    std::string art = kSource + "/assets/art", fonts = MV_DEJAVU_DIR;
    run("rm -rf '" + dir + "'");
    mkdir(dir.c_str(), 0755);
    std::string err;
    if (run(std::string(MV_SPRITES_TOOL) + " --frames " + art + "/frames.txt --pixels " + art +
            "/pixels.txt --fonts " + fonts + " --out " + dir) != 0)
        err += "sprites ";
    if (run(std::string(MV_FONTBAKE_TOOL) + " --table " + art + "/fonts.txt --fonts " + fonts + " --out " + dir +
            "/fonts") != 0)
        err += "fonts ";
    if (run(std::string(MV_PARTICLES_TOOL) + " --table " + kSource + "/assets/particles/particles.txt --out " + dir +
            "/particles") != 0)
        err += "particles ";
    if (run(std::string(MV_ICON_TOOL) + " --out " + dir + "/icon.png") != 0) err += "icon ";
    return err;
}

TEST(Generators, TwoRunsGiveTheSameBytesAsTheBuild) {
    std::string a = scratch("mv_art_a"), b = scratch("mv_art_b");
    ASSERT_EQ(generateAll(a), "");
    ASSERT_EQ(generateAll(b), "");
    auto files = listFiles(a);
    ASSERT_GT(files.size(), 40u);
    EXPECT_EQ(files, listFiles(b));
    for (const auto& f : files) {
        std::string x = readAll(a + "/" + f);
        EXPECT_FALSE(x.empty()) << f;
        EXPECT_TRUE(x == readAll(b + "/" + f)) << f << " differs between runs";
        EXPECT_TRUE(x == readAll(kData + "/" + f)) << f << " differs from the build's copy";
    }
    run("rm -rf '" + a + "' '" + b + "'");
}

TEST(Generators, BadTablesFailWithAMessage) {
    std::string dir = scratch("mv_art_bad");
    run("rm -rf '" + dir + "'");
    mkdir(dir.c_str(), 0755);
    std::ofstream(dir + "/frames.txt") << "texture a.png 64 64 no-such-drawer\n";
    std::ofstream(dir + "/dup.txt") << "texture a.png 8 8 solid ffffffff\ntexture a.png 8 8 solid ffffffff\n";
    std::ofstream(dir + "/particles.txt") << "x texture=glow speeed=3\n";
    std::ofstream(dir + "/fonts.txt") << "f DejaVuSans.ttf 0 0 ffffff\n";
    std::string fonts = MV_DEJAVU_DIR;
    EXPECT_EQ(run(std::string(MV_SPRITES_TOOL) + " --frames " + dir + "/frames.txt --fonts " + fonts + " --out " +
                  dir + "/o > /dev/null"),
              1);
    EXPECT_EQ(run(std::string(MV_SPRITES_TOOL) + " --frames " + dir + "/dup.txt --fonts " + fonts + " --out " + dir +
                  "/o > /dev/null"),
              1);
    EXPECT_EQ(run(std::string(MV_PARTICLES_TOOL) + " --table " + dir + "/particles.txt --out " + dir +
                  "/o > /dev/null"),
              1);
    EXPECT_EQ(run(std::string(MV_FONTBAKE_TOOL) + " --table " + dir + "/fonts.txt --fonts " + fonts + " --out " + dir +
                  "/o > /dev/null"),
              1);
    run("rm -rf '" + dir + "'");
}

// Two screenshot folders: each name is the same, differs (beyond the tolerance) or is missing
// on one side, and only an all-same comparison exits 0.
TEST(ShotDiff, NamesEachPictureSameDifferentOrMissing) {
    const std::string a = scratch("mv_shots_a"), b = scratch("mv_shots_b");
    run("rm -rf '" + a + "' '" + b + "'");
    mkdir(a.c_str(), 0755);
    mkdir(b.c_str(), 0755);
    art::Canvas pic(8, 6, art::RGBA(40, 80, 120)), touched = pic, bigger(9, 6);
    touched.set(1, 2, art::RGBA(40, 80, 126));
    touched.set(7, 5, art::RGBA(46, 80, 120));
    for (const char* name : {"same", "touched", "only-a", "resized"})
        ASSERT_TRUE(art::writePng(pic, a + "/" + name + ".png"));
    ASSERT_TRUE(art::writePng(pic, b + "/same.png"));
    ASSERT_TRUE(art::writePng(touched, b + "/touched.png"));
    ASSERT_TRUE(art::writePng(bigger, b + "/resized.png"));
    ASSERT_TRUE(art::writePng(pic, b + "/only-b.png"));
    auto compare = [&](const std::string& options, std::string& out) {
        FILE* f = popen((std::string(MV_SHOTDIFF_TOOL) + " " + options + " '" + a + "' '" + b + "'").c_str(), "r");
        char buf[512];
        while (f && std::fgets(buf, sizeof buf, f)) out += buf;
        int rc = f ? pclose(f) : -1;
        return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    };
    std::string out;
    EXPECT_EQ(compare("", out), 1);
    const std::vector<std::string> lines = {"same.png: same\n",
                                            "touched.png: differs: 2 pixels of 48, in x 1..7 y 2..5",
                                            "resized.png: size differs",
                                            "only-a.png: missing in " + b,
                                            "only-b.png: missing in " + a,
                                            "1 same, 4 different or missing"};
    for (const std::string& line : lines)
        EXPECT_NE(out.find(line), std::string::npos) << line << " in\n" << out;
    run("rm '" + a + "/only-a.png' '" + a + "/resized.png' '" + b + "/only-b.png' '" + b + "/resized.png'");
    out.clear();
    EXPECT_EQ(compare("--tolerance 6", out), 0) << out;
    EXPECT_NE(out.find("touched.png: same (within the tolerance)"), std::string::npos) << out;
    out.clear();
    EXPECT_EQ(compare("--tolerance 5", out), 1) << out;
    run("rm -rf '" + a + "' '" + b + "'");
}

TEST(PixelArt, ParsesPicturesAndRejectsUnknownColours) {
    std::map<std::string, art::Canvas> out;
    std::string err;
    ASSERT_TRUE(art::parsePixelArt("k 102030\nw ffffff80\n= a\nk.w\n.k\n= b\nww\n", out, &err)) << err;
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out["a"].width(), 3);
    EXPECT_EQ(out["a"].height(), 2);
    EXPECT_TRUE(out["a"].get(0, 0) == art::RGBA(0x10, 0x20, 0x30));
    EXPECT_EQ(out["a"].get(1, 0).a, 0);
    EXPECT_EQ(out["a"].get(2, 0).a, 0x80);
    EXPECT_FALSE(art::parsePixelArt("k 102030\n= a\nkx\n", out, &err));
    EXPECT_FALSE(art::parsePixelArt("k 10203\n= a\nk\n", out, &err));
}

}  // namespace
