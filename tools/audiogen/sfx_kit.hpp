// Building blocks for the game's sound effects: each adds one kind of event into a mono buffer.
#pragma once

#include <functional>
#include <vector>

#include "dsp.hpp"

namespace mvaudio {

struct Partial {
    double hz;    // frequency
    double amp;   // relative amplitude
    double tau;   // decay time constant in seconds
};

class SfxCanvas {
public:
    SfxCanvas(double seconds, uint64_t seed) : s(secs(seconds), 0.0f), rng(seed) {}

    double length() const { return static_cast<double>(s.size()) / kRate; }

    // Struck resonator: decaying sine partials (metal, wood, glass, bells).
    void modes(double t, const std::vector<Partial>& parts, double gain, double attack = 0.0008);
    // Low body hit: a sine gliding from f0 to f1, decaying with tau.
    void thump(double t, double f0, double f1, double tau, double gain);
    // Band-limited noise burst: attack, then exponential decay; lo/hi band edges in Hz.
    void burst(double t, double attack, double tau, double lo, double hi, double gain);
    // Sparse tiny clicks (crackle, gravel, splinters); density(x) scales the rate, x in 0..1.
    void crackle(double t0, double t1, double perSec, double lo, double hi, double gain,
                 const std::function<double(double)>& density = nullptr);
    // A bubble: a sine that rises in pitch while it dies away.
    void bubble(double t, double hz, double tau, double gain);
    // Band-pass noise whose centre sweeps exponentially; env(x) shapes the level, x in 0..1.
    void sweep(double t, double dur, double f0, double f1, double q, double gain,
               const std::function<double(double)>& env);
    // Low rumble of filtered brown noise with slow random swells.
    void rumble(double t, double dur, double cutoff, double gain, double attack, double release);
    // Bright bell: partials at inharmonic ratios of a fundamental.
    void bell(double t, double hz, double tau, double gain);
    // Brass-like tone: additive harmonics with a brightness swell and vibrato.
    void horn(double t, double dur, double hz, double gain);

    // High-pass at `lowCut` Hz (sub-bass only eats headroom on small speakers), optional soft
    // saturation for density (`drive` 0 = none), DC removal, silent ends, peak at `peakDb`.
    void finishOneShot(double peakDb = -3.0, double lowCut = 35.0, double drive = 0.0);

    Mono s;
    Rng rng;

private:
    void add(size_t i, double v) {
        if (i < s.size()) s[i] += static_cast<float>(v);
    }
};

}  // namespace mvaudio
