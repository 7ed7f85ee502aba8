#include "instruments.hpp"

#include <algorithm>

namespace mvaudio {
namespace {

// Band-limited sawtooth step (polyBLEP).
double blep(double t, double dt) {
    if (t < dt) { t /= dt; return t + t - t * t - 1.0; }
    if (t > 1.0 - dt) { t = (t - 1.0) / dt; return t * t + t + t + 1.0; }
    return 0.0;
}

class Saw {
public:
    explicit Saw(double phase) : phase_(phase) {}
    double next(double hz) {
        const double dt = hz / kRate;
        const double v = 2.0 * phase_ - 1.0 - blep(phase_, dt);
        phase_ += dt;
        if (phase_ >= 1.0) phase_ -= 1.0;
        return v;
    }

private:
    double phase_;
};

Mono blown(double hz, double dur, double vel, Rng& rng, bool reed) {
    const double release = 0.15;
    const size_t n = secs(dur + release);
    Mono out(n);
    double ph = rng.uni() * 2.0 * kPi;
    Svf breath, nasal;
    const double vibRate = rng.range(4.6, 5.4);
    for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double vib = 1.0 + 0.005 * std::sin(2.0 * kPi * vibRate * t) * smoothstep((t - 0.15) / 0.3);
        ph += 2.0 * kPi * hz * vib / kRate;
        double v;
        if (reed) {
            v = std::sin(ph) + 0.55 * std::sin(2.0 * ph) + 0.5 * std::sin(3.0 * ph) + 0.3 * std::sin(4.0 * ph) +
                0.22 * std::sin(5.0 * ph) + 0.1 * std::sin(7.0 * ph);
            v = 0.6 * v + 0.5 * nasal.bp(v, 1400.0, 1.5);
            v *= 0.45;
        } else {
            v = std::sin(ph) + 0.18 * std::sin(2.0 * ph) + 0.06 * std::sin(3.0 * ph);
            v += 0.06 * breath.bp(rng.bip(), hz * 2.0, 2.0);
        }
        out[i] = static_cast<float>(vel * ar(t, reed ? 0.035 : 0.06, dur, release) * v);
    }
    return out;
}

Mono padNote(const std::string& kind, double hz, double dur, double vel, Rng& rng) {
    const double attack = kind == "organ" ? 0.08 : 0.45, release = 0.9;
    const size_t n = secs(dur + release);
    Mono out(n);
    Saw s1(rng.uni()), s2(rng.uni()), s3(rng.uni());
    Svf f, f1, f2;
    double ph = rng.uni() * 2.0 * kPi;
    const double vibRate = rng.range(4.0, 5.5);
    for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double env = ar(t, attack, dur, release);
        double v;
        if (kind == "organ") {
            ph += 2.0 * kPi * hz / kRate;
            v = 0.7 * std::sin(ph) + 0.5 * std::sin(2.0 * ph) + 0.25 * std::sin(3.0 * ph) + 0.2 * std::sin(4.0 * ph) +
                0.1 * std::sin(6.0 * ph);
            v *= 0.6;
        } else {
            const double vib = 1.0 + 0.003 * std::sin(2.0 * kPi * vibRate * t);
            const double raw = s1.next(hz * vib * 0.996) + s2.next(hz * vib * 1.004) + 0.7 * s3.next(hz * vib * 2.001);
            if (kind == "choir") {
                v = 0.9 * f1.bp(raw, 700.0, 5.0) + 0.6 * f2.bp(raw, 1150.0, 6.0) + 0.15 * f.lp(raw, 500.0);
            } else {
                v = 0.35 * f.lp(raw, 1600.0 + 600.0 * env, 0.8);
            }
        }
        out[i] = static_cast<float>(vel * env * v);
    }
    return out;
}

}  // namespace

bool isInstrument(const std::string& k) {
    static const char* kAll[] = {"flute", "reed", "pluck", "lute", "harp", "bell", "strings",
                                 "organ", "choir", "soft", "drone"};
    for (const char* a : kAll)
        if (k == a) return true;
    return false;
}

Mono renderNote(const std::string& kind, double midi, double dur, double vel, Rng& rng) {
    const double hz = midiHz(midi);
    if (kind == "flute") return blown(hz, dur, vel, rng, false);
    if (kind == "reed") return blown(hz, dur, vel, rng, true);
    if (kind == "drone") {
        Mono m = blown(hz, dur, vel * 0.8, rng, true);
        Mono fifth = blown(hz * 1.5, dur, vel * 0.4, rng, true);
        for (size_t i = 0; i < m.size() && i < fifth.size(); ++i) m[i] += fifth[i];
        return m;
    }
    if (kind == "pluck" || kind == "lute" || kind == "harp") {
        const double bright = kind == "harp" ? 0.75 : kind == "lute" ? 0.45 : 0.6;
        const double decay = (kind == "harp" ? 3.0 : 2.0) * std::clamp(300.0 / hz, 0.6, 2.0);
        Mono m = pluck(hz, std::min(dur + decay * 0.5, 4.5), bright, decay, rng);
        for (float& v : m) v = static_cast<float>(v * vel);
        return m;
    }
    if (kind == "bell") {
        const size_t n = secs(std::min(dur + 1.5, 3.5));
        Mono m(n);
        const double ratios[] = {1.0, 2.0, 3.01, 4.16, 5.43};
        const double amps[] = {1.0, 0.4, 0.2, 0.12, 0.07};
        const double taus[] = {0.9, 0.45, 0.25, 0.15, 0.1};
        for (int k = 0; k < 5; ++k) {
            const double w = 2.0 * kPi * hz * ratios[k] / kRate;
            for (size_t i = 0; i < n; ++i) {
                const double t = static_cast<double>(i) / kRate;
                m[i] += static_cast<float>(vel * 0.6 * amps[k] * std::min(1.0, t / 0.002) * std::exp(-t / taus[k]) * std::sin(w * i));
            }
        }
        fadeEnds(m, 0.0, 0.05);
        return m;
    }
    if (kind == "soft") {
        const double release = 0.12;
        const size_t n = secs(dur + release);
        Mono m(n);
        for (size_t i = 0; i < n; ++i) {
            const double t = static_cast<double>(i) / kRate;
            const double w = 2.0 * kPi * hz * t;
            const double env = ar(t, 0.01, dur, release) * (0.6 + 0.4 * std::exp(-t / 0.3));
            m[i] = static_cast<float>(vel * env * (std::sin(w) + 0.3 * std::sin(2.0 * w) + 0.1 * std::sin(3.0 * w)));
        }
        return m;
    }
    return padNote(kind, hz, dur, vel, rng);
}

Mono renderHit(const std::string& kind, double vel, Rng& rng) {
    const bool shake = kind == "shake";
    const size_t n = secs(shake ? 0.09 : 0.5);
    Mono m(n);
    const double f0 = kind == "low" ? 95.0 : kind == "mid" ? 150.0 : 210.0;
    const double tau = kind == "low" ? 0.16 : kind == "mid" ? 0.09 : 0.05;
    Svf skin, hiss, hiss2;
    double ph = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        double v;
        if (shake) {
            const double env = std::min(1.0, t / 0.012) * std::exp(-t / 0.02);
            v = 0.35 * env * hiss2.lp(hiss.hp(rng.bip(), 5000.0), 11000.0);
        } else {
            const double f = f0 * (1.0 + 0.5 * std::exp(-t / 0.02));
            ph += 2.0 * kPi * f / kRate;
            const double env = std::min(1.0, t / 0.0015) * std::exp(-t / tau);
            v = env * std::sin(ph) + 0.35 * std::exp(-t / 0.025) * skin.bp(rng.bip(), 900.0, 0.8);
        }
        m[i] = static_cast<float>(vel * v);
    }
    fadeEnds(m, 0.0, 0.01);
    return m;
}

}  // namespace mvaudio
