// The generated sounds and music: the right files, playable by the audio engine's decoder,
// sane levels, loops without a click, and the same bytes on every build.
#include <SDL.h>
#include <SDL_mixer.h>
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <set>
#include <utility>
#include <string>
#include <vector>

#include "wav_file.hpp"

// libdbus keeps a buffer that SDL allocates while it sets up its audio thread (seen when a
// display is present); it is not ours to free, so the leak checker is told to ignore it.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

namespace {

const std::string kBin = MV_BIN_DIR;
const std::string kMasters = MV_AUDIO_MASTER_DIR;

// Every sound the game names; the loading screen preloads all that lie in sounds/.
const std::vector<std::string> kOneShots = {
    "keyboard1", "keyboard2", "keyboard3", "keyboard4", "keyboard5", "lightning", "fireball",
    "fireball-blast", "fireball-enemy", "spell-rat", "earthquake", "spell-ray", "broken_pipe",
    "fire_start", "disturbance", "spell-eye", "break_door", "bomb", "bomb-enemy", "dig", "repair",
    "firefighter", "movers", "pumpers", "antirat", "reflector", "reflector-broken", "Rubble1",
    "Rubble2", "SplashSlow", "SplashFast", "SplashSmall", "levitronous", "armor", "doors", "fence",
    "build-block", "build-room", "put-spell", "challenge"};
const std::vector<std::string> kMp3Loops = {"wind", "fire1", "fire2", "fire3", "fire-enemy"};
const std::vector<std::string> kTracks = {"menu", "music1", "music2", "music3", "music4", "music5", "music6",
                                          "music7", "music8", "music9", "music10", "music11", "music12", "music13"};

std::set<std::string> listFolder(const std::string& dir) {
    std::set<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.') names.insert(e->d_name);
        closedir(d);
    }
    return names;
}

// A fresh folder under the test temp folder, removed with everything in it at the end.
class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = ::testing::TempDir() + "mv-audio-XXXXXX";
        std::vector<char> buf(pattern.begin(), pattern.end());
        buf.push_back('\0');
        if (const char* made = mkdtemp(buf.data())) path_ = made;
    }
    ~ScratchDir() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Runs a command; returns its exit status and its standard error in `err`.
int run(const std::string& cmd, std::string* err = nullptr) {
    ScratchDir scratch;
    const std::string errFile = scratch.file("stderr");
    const int status = std::system((cmd + " 2>'" + errFile + "'").c_str());
    if (err) *err = readBytes(errFile);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

double dbfs(double v) { return v > 0 ? 20.0 * std::log10(v) : -200.0; }

struct Levels {
    double peak = 0.0, mean = 0.0;
};

Levels levelsOf(const std::vector<double>& s) {
    Levels l;
    for (double v : s) {
        l.peak = std::max(l.peak, std::fabs(v));
        l.mean += v;
    }
    if (!s.empty()) l.mean /= static_cast<double>(s.size());
    return l;
}

double rmsOf(const std::vector<double>& s, size_t from, size_t count) {
    double sum = 0.0;
    for (size_t i = from; i < from + count; ++i) sum += s[i] * s[i];
    return std::sqrt(sum / count);
}

std::vector<double> channel(const WavFile& w, int c) {
    std::vector<double> s(w.frames());
    for (size_t i = 0; i < s.size(); ++i) s[i] = w.samples[i * w.channels + c] / 32768.0;
    return s;
}

// A loop joins without a click when the curvature across the wrap (second difference) is no
// larger than what the sound itself does almost everywhere; a steady loop (wind, fire, rain)
// also keeps its level across the wrap, where music may well start a bar louder.
void expectSeamless(const std::string& what, const std::vector<double>& s, bool steady) {
    ASSERT_GT(s.size(), 10000u) << what;
    const size_t n = s.size();
    std::vector<double> curv;
    curv.reserve(n);
    for (size_t i = 1; i + 1 < n; ++i) curv.push_back(std::fabs(s[i + 1] - 2.0 * s[i] + s[i - 1]));
    std::nth_element(curv.begin(), curv.begin() + curv.size() * 999 / 1000, curv.end());
    const double typical = curv[curv.size() * 999 / 1000] + 1e-4;
    const double atWrap1 = std::fabs(s[0] - 2.0 * s[n - 1] + s[n - 2]);
    const double atWrap2 = std::fabs(s[1] - 2.0 * s[0] + s[n - 1]);
    EXPECT_LE(atWrap1, typical) << what << ": the end does not run into the start";
    EXPECT_LE(atWrap2, typical) << what << ": the end does not run into the start";
    EXPECT_LE(std::fabs(s[0] - s[n - 1]), 0.25) << what;
    if (!steady) return;
    const size_t window = 2205;  // 50 ms
    const double head = rmsOf(s, 0, window), tail = rmsOf(s, n - window, window);
    EXPECT_LT(std::fabs(dbfs(head) - dbfs(tail)), 6.0) << what << ": the level steps at the wrap";
}

void expectSeamless(const std::string& what, const WavFile& w, bool steady) {
    for (int c = 0; c < w.channels; ++c) expectSeamless(what + " channel " + std::to_string(c), channel(w, c), steady);
}

// The audio engine's decoder, opened on the dummy driver for the whole process.
class MixerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        opened_ = SDL_Init(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) == 0;
        if (opened_) Mix_QuerySpec(&rate_, &format_, &channels_);
    }
    static void TearDownTestSuite() {
        if (opened_) Mix_CloseAudio();
        Mix_Quit();
        SDL_Quit();
    }
    void SetUp() override { ASSERT_TRUE(opened_) << SDL_GetError(); }

    // Seconds of audio in a decoded chunk.
    static double chunkSeconds(const Mix_Chunk* c) {
        const int bytes = SDL_AUDIO_BITSIZE(format_) / 8 * channels_;
        return static_cast<double>(c->alen) / bytes / rate_;
    }

    static bool opened_;
    static int rate_, channels_;
    static Uint16 format_;
};
bool MixerTest::opened_ = false;
int MixerTest::rate_ = 0, MixerTest::channels_ = 0;
Uint16 MixerTest::format_ = 0;

TEST(AudioFolders, SoundsHoldExactlyTheGameSounds) {
    std::set<std::string> expected;
    for (const auto& n : kOneShots) expected.insert(n + ".wav");
    expected.insert("rain.wav");
    for (const auto& n : kMp3Loops) expected.insert(n + ".mp3");
    EXPECT_EQ(expected.size(), 46u);
    EXPECT_EQ(listFolder(kBin + "/sounds"), expected);
}

TEST(AudioFolders, MusicHoldsTheMenuThemeAndThirteenTracks) {
    std::set<std::string> expected;
    for (const auto& n : kTracks) expected.insert(n + ".mp3");
    EXPECT_EQ(listFolder(kBin + "/music"), expected);
}

class OneShot : public ::testing::TestWithParam<std::string> {};

// A one-shot is short, loud enough without clipping, centred, and starts and ends in silence.
TEST_P(OneShot, HasSaneLevelsAndQuietEnds) {
    WavFile w;
    ASSERT_TRUE(readWav(kBin + "/sounds/" + GetParam() + ".wav", w));
    EXPECT_EQ(w.rate, 44100);
    EXPECT_EQ(w.channels, 1);
    EXPECT_GE(w.seconds(), 0.05);
    EXPECT_LE(w.seconds(), 7.0);
    const std::vector<double> s = w.mono();
    const Levels l = levelsOf(s);
    EXPECT_LE(dbfs(l.peak), -1.0) << "clips";
    EXPECT_GE(dbfs(l.peak), -12.0) << "too quiet";  // shrill sounds sit lower
    EXPECT_LT(std::fabs(l.mean), 0.002) << "DC offset";
    EXPECT_LT(std::fabs(s.front()), 0.01) << "click at the start";
    EXPECT_LT(std::fabs(s.back()), 0.01) << "click at the end";
}

INSTANTIATE_TEST_SUITE_P(Sounds, OneShot, ::testing::ValuesIn(kOneShots),
                         [](const auto& info) {
                             std::string n = info.param;
                             std::replace(n.begin(), n.end(), '-', '_');
                             return n;
                         });

struct LoopCase {
    std::string name;
    std::string path;  // the uncompressed loop
    double minSecs, maxSecs;
    bool steady;
};
void PrintTo(const LoopCase& c, std::ostream* os) { *os << c.name; }

std::vector<LoopCase> loopCases() {
    std::vector<LoopCase> cases = {{"rain", kBin + "/sounds/rain.wav", 2.0, 20.0, true}};
    for (const auto& n : kMp3Loops) cases.push_back({n, kMasters + "/sounds/" + n + ".wav", 2.0, 20.0, true});
    for (const auto& n : kTracks) cases.push_back({n, kMasters + "/music/" + n + ".wav", 30.0, 60.0, false});
    return cases;
}

class Loop : public ::testing::TestWithParam<LoopCase> {};

TEST_P(Loop, RunsIntoItsStartWithoutAClick) {
    const LoopCase& c = GetParam();
    WavFile w;
    ASSERT_TRUE(readWav(c.path, w)) << c.path;
    EXPECT_GE(w.seconds(), c.minSecs);
    EXPECT_LE(w.seconds(), c.maxSecs);
    const Levels l = levelsOf(w.mono());
    EXPECT_LE(dbfs(l.peak), -1.0) << "clips";
    EXPECT_GE(dbfs(l.peak), -12.0) << "too quiet";  // distant loops sit lower
    EXPECT_LT(std::fabs(l.mean), 0.002) << "DC offset";
    expectSeamless(c.name, w, c.steady);
}

INSTANTIATE_TEST_SUITE_P(Loops, Loop, ::testing::ValuesIn(loopCases()),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             std::replace(n.begin(), n.end(), '-', '_');
                             return n;
                         });

// Every file in sounds/ is preloaded as an effect, the .mp3 loops included.
TEST_F(MixerTest, EverySoundDecodesAsAnEffect) {
    for (const std::string& file : listFolder(kBin + "/sounds")) {
        Mix_Chunk* chunk = Mix_LoadWAV((kBin + "/sounds/" + file).c_str());
        ASSERT_NE(chunk, nullptr) << file << ": " << Mix_GetError();
        EXPECT_GT(chunkSeconds(chunk), 0.04) << file;
        Mix_FreeChunk(chunk);
    }
}

class DecodedLoop : public MixerTest, public ::testing::WithParamInterface<LoopCase> {};

// Looping an .mp3 must not open a gap: the decoder drops the encoder's delay and padding, so
// the decoded loop is exactly as long as its master, and its end still meets its start.
TEST_P(DecodedLoop, HasNoGapAndNoJump) {
    const LoopCase& c = GetParam();
    ASSERT_EQ(rate_, 44100);
    ASSERT_EQ(format_, AUDIO_S16SYS);
    WavFile master;
    ASSERT_TRUE(readWav(c.path, master)) << c.path;
    const bool isTrack = std::find(kTracks.begin(), kTracks.end(), c.name) != kTracks.end();
    const std::string mp3 = kBin + (isTrack ? "/music/" : "/sounds/") + c.name + ".mp3";
    Mix_Chunk* chunk = Mix_LoadWAV(mp3.c_str());
    ASSERT_NE(chunk, nullptr) << mp3 << ": " << Mix_GetError();
    const auto* pcm = reinterpret_cast<const int16_t*>(chunk->abuf);
    const size_t frames = chunk->alen / (2u * static_cast<unsigned>(channels_));
    EXPECT_EQ(frames, master.frames());
    std::vector<double> diffs(frames - 1);
    for (size_t i = 0; i + 1 < frames; ++i) diffs[i] = std::abs(pcm[(i + 1) * channels_] - pcm[i * channels_]);
    std::nth_element(diffs.begin(), diffs.begin() + diffs.size() * 999 / 1000, diffs.end());
    const double typical = diffs[diffs.size() * 999 / 1000];
    const double jump = std::abs(pcm[0] - pcm[(frames - 1) * channels_]);
    EXPECT_LE(jump, 0.5 * typical) << "the decoded end does not meet the start";
    Mix_FreeChunk(chunk);
}

std::vector<LoopCase> mp3LoopCases() {
    std::vector<LoopCase> cases = loopCases();
    cases.erase(cases.begin());  // rain is a .wav
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Mp3, DecodedLoop, ::testing::ValuesIn(mp3LoopCases()),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             std::replace(n.begin(), n.end(), '-', '_');
                             return n;
                         });

TEST_F(MixerTest, EveryTrackDecodesAsMusic) {
    for (const std::string& n : kTracks) {
        const std::string path = kBin + "/music/" + n + ".mp3";
        Mix_Music* music = Mix_LoadMUS(path.c_str());
        ASSERT_NE(music, nullptr) << path << ": " << Mix_GetError();
        EXPECT_EQ(Mix_GetMusicType(music), MUS_MP3);
        const double secs = Mix_MusicDuration(music);
        EXPECT_GE(secs, 30.0) << n;
        EXPECT_LE(secs, 60.5) << n;
        Mix_FreeMusic(music);
    }
}

struct Rebuild {
    std::string label;
    std::string args;   // generator arguments before the output path
    std::string built;  // the file the build made from the same recipe
};
void PrintTo(const Rebuild& r, std::ostream* os) { *os << r.label; }

class Deterministic : public ::testing::TestWithParam<Rebuild> {};

TEST_P(Deterministic, TwoRunsGiveTheBuiltBytes) {
    const Rebuild& r = GetParam();
    ScratchDir first, second;
    const std::string a = first.file("out.wav"), b = second.file("out.wav");
    ASSERT_EQ(run(std::string("'") + MV_AUDIOGEN + "' " + r.args + " '" + a + "'"), 0);
    ASSERT_EQ(run(std::string("'") + MV_AUDIOGEN + "' " + r.args + " '" + b + "'"), 0);
    const std::string bytes = readBytes(a);
    ASSERT_FALSE(bytes.empty());
    EXPECT_TRUE(bytes == readBytes(b)) << "two runs differ";
    EXPECT_TRUE(bytes == readBytes(r.built)) << "differs from the built " << r.built;
}

INSTANTIATE_TEST_SUITE_P(
    Generator, Deterministic,
    ::testing::Values(Rebuild{"keyboard3", "sound keyboard3", kBin + "/sounds/keyboard3.wav"},
                      Rebuild{"SplashSlow", "sound SplashSlow", kBin + "/sounds/SplashSlow.wav"},
                      Rebuild{"rain", "sound rain", kBin + "/sounds/rain.wav"},
                      Rebuild{"fire2", "sound fire2", kMasters + "/sounds/fire2.wav"},
                      Rebuild{"music7", std::string("music '") + MV_MUSIC_SCORES + "/music7.score'",
                              kMasters + "/music/music7.wav"}),
    [](const auto& info) { return info.param.label; });

TEST(Encoder, SameMasterGivesTheBuiltMp3) {
    ScratchDir scratch;
    const std::string out = scratch.file("fire2.mp3");
    ASSERT_EQ(run(std::string("'") + MV_LAME + "' --quiet --noreplaygain --nohist -m m -b 96 '" + kMasters +
                  "/sounds/fire2.wav' '" + out + "'"),
              0);
    const std::string bytes = readBytes(out);
    ASSERT_FALSE(bytes.empty());
    EXPECT_TRUE(bytes == readBytes(kBin + "/sounds/fire2.mp3"));
}

struct BadInput {
    std::string label;
    std::string score;  // empty: ask for an unknown sound instead
    std::string says;   // part of the error message
};
void PrintTo(const BadInput& b, std::ostream* os) { *os << b.label; }

class GeneratorRejects : public ::testing::TestWithParam<BadInput> {};

// Bad recipes stop the build with a message naming the fault, and write nothing.
TEST_P(GeneratorRejects, BadInputWithAMessage) {
    const BadInput& c = GetParam();
    ScratchDir scratch;
    std::string args = "sound no-such-sound";
    if (!c.score.empty()) {
        std::ofstream(scratch.file("bad.score")) << c.score;
        args = "music '" + scratch.file("bad.score") + "'";
    }
    std::string err;
    EXPECT_NE(run(std::string("'") + MV_AUDIOGEN + "' " + args + " '" + scratch.file("out.wav") + "'", &err), 0);
    EXPECT_NE(err.find(c.says), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists(scratch.file("out.wav")));
}

TEST(GeneratorOutput, UnwritableFolderFailsWithAMessage) {
    ScratchDir scratch;
    std::string err;
    EXPECT_NE(run(std::string("'") + MV_AUDIOGEN + "' sound fence '" + scratch.file("missing/fence.wav") + "'", &err), 0);
    EXPECT_NE(err.find("cannot write"), std::string::npos) << err;
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, GeneratorRejects,
    ::testing::Values(BadInput{"UnknownSound", "", "unknown sound"},
                      BadInput{"TooShort", "tempo 120\nmeter 4\nbars 4\n", "outside 30 to 60"},
                      BadInput{"TooLong", "tempo 60\nmeter 4\nbars 16\n", "outside 30 to 60"},
                      BadInput{"BadKey", "key H\n", "line 1"},
                      BadInput{"UnknownInstrument", "bars 16\nlead kazoo\n", "line 2"},
                      BadInput{"UnknownWord", "tempo 90\nswing 0.5\n", "swing"},
                      BadInput{"ChordOutsideTheScale", "chords 1 8\n", "chords"},
                      BadInput{"FormLeavesBarsSilent", "bars 16\nform A B A\n", "do not fill"}),
    [](const auto& info) { return info.param.label; });

}  // namespace
