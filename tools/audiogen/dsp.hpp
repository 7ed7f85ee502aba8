// Small signal-processing kit for the sound and music generator.
// Everything is deterministic: randomness comes from seeded generators only.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace mvaudio {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

using Mono = std::vector<float>;

struct Stereo {
    Mono l, r;
    explicit Stereo(size_t n = 0) : l(n, 0.0f), r(n, 0.0f) {}
    size_t size() const { return l.size(); }
};

inline size_t secs(double s) { return s <= 0 ? 0 : static_cast<size_t>(s * kRate + 0.5); }
inline double midiHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }
inline double dbGain(double db) { return std::pow(10.0, db / 20.0); }

// SplitMix64: tiny, fast and the same everywhere.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double uni() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    double bip() { return uni() * 2.0 - 1.0; }
    double range(double a, double b) { return a + (b - a) * uni(); }
    int below(int n) { return n <= 0 ? 0 : static_cast<int>(next() % static_cast<uint64_t>(n)); }
    bool chance(double p) { return uni() < p; }

private:
    uint64_t state_;
};

// Topology-preserving state-variable filter; the cutoff may change every sample.
class Svf {
public:
    struct Out { double lp, bp, hp; };
    Out run(double x, double cutoff, double q) {
        if (cutoff < 10.0) cutoff = 10.0;
        if (cutoff > kRate * 0.45) cutoff = kRate * 0.45;
        const double g = std::tan(kPi * cutoff / kRate);
        const double k = 1.0 / (q < 0.05 ? 0.05 : q);
        const double a1 = 1.0 / (1.0 + g * (g + k));
        const double v3 = x - ic2_;
        const double v1 = a1 * ic1_ + g * a1 * v3;
        const double v2 = ic2_ + g * v1;
        ic1_ = 2.0 * v1 - ic1_;
        ic2_ = 2.0 * v2 - ic2_;
        return {v2, v1, x - k * v1 - v2};
    }
    double lp(double x, double f, double q = 0.707) { return run(x, f, q).lp; }
    double bp(double x, double f, double q = 1.0) { return run(x, f, q).bp; }
    double hp(double x, double f, double q = 0.707) { return run(x, f, q).hp; }

private:
    double ic1_ = 0.0, ic2_ = 0.0;
};

// One-pole smoother / low-pass.
class OnePole {
public:
    double lp(double x, double cutoff) {
        const double a = 1.0 - std::exp(-2.0 * kPi * cutoff / kRate);
        z_ += a * (x - z_);
        return z_;
    }
    double hp(double x, double cutoff) { return x - lp(x, cutoff); }

private:
    double z_ = 0.0;
};

// Brown-ish noise: integrated white noise with a leak, roughly unit level.
class BrownNoise {
public:
    explicit BrownNoise(uint64_t seed) : rng_(seed) {}
    double next() {
        z_ = z_ * 0.995 + rng_.bip() * 0.1;
        return z_;
    }

private:
    Rng rng_;
    double z_ = 0.0;
};

// Envelopes, t in seconds.
inline double expDecay(double t, double tau) { return t < 0 ? 0.0 : std::exp(-t / tau); }
// Attack a, hold until `len`, release r (linear ramps, exponential-looking via squaring).
inline double ar(double t, double a, double len, double r) {
    if (t < 0) return 0.0;
    if (t < a) return t / a;
    if (t < len) return 1.0;
    if (t < len + r) { const double u = 1.0 - (t - len) / r; return u * u; }
    return 0.0;
}
inline double smoothstep(double x) {
    if (x <= 0) return 0.0;
    if (x >= 1) return 1.0;
    return x * x * (3.0 - 2.0 * x);
}

// Adds `src` scaled by `gain` into `dst` starting at `at`, growing nothing.
void mixInto(Mono& dst, const Mono& src, size_t at, double gain);
void mixInto(Stereo& dst, const Mono& src, size_t at, double gain, double pan);

// A plucked string (Karplus-Strong) of `dur` seconds; `bright` 0..1, `decay` seconds to -60 dB.
Mono pluck(double hz, double dur, double bright, double decay, Rng& rng);

// Schroeder-style room: mono in, stereo wet out of the same length.
Stereo reverb(const Mono& in, double size, double damp);
Mono reverbMono(const Mono& in, double size, double damp, double mix);

// Removes DC (high-pass around 20 Hz).
void removeDc(Mono& s);
// Scales so that the highest absolute sample is `peakDb` dBFS.
void normalise(Mono& s, double peakDb);
void normalise(Stereo& s, double peakDb);
// Short linear fade-in and fade-out so a one-shot starts and ends at silence.
void fadeEnds(Mono& s, double inSecs, double outSecs);
// Turns a render of loopLen + x samples into a seamless loop of loopLen samples by crossfading
// the overhang into the head (equal power: for uncorrelated material such as noise).
void crossfadeLoop(Mono& s, size_t loopLen);
// Adds the overhang (reverb and ringing notes) onto the head: exact for periodic material.
void foldLoop(Stereo& s, size_t loopLen);

// Sets the loudness (RMS over both channels) to `rmsDb` dBFS, then holds the peaks under
// `ceilingDb` with a look-ahead limiter that treats the buffer as a loop.
void levelLoop(Stereo& s, double rmsDb, double ceilingDb);

bool writeWav(const std::string& path, const Mono& s);
bool writeWav(const std::string& path, const Stereo& s);

}  // namespace mvaudio
