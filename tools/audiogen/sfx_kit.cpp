#include "sfx_kit.hpp"

#include <algorithm>

namespace mvaudio {

void SfxCanvas::modes(double t, const std::vector<Partial>& parts, double gain, double attack) {
    const size_t start = secs(t);
    for (const Partial& p : parts) {
        if (p.hz >= kRate * 0.45) continue;
        const size_t n = secs(p.tau * 7.0);
        const double w = 2.0 * kPi * p.hz / kRate;
        const double phase = rng.uni() * 2.0 * kPi;
        for (size_t i = 0; i < n; ++i) {
            const double x = static_cast<double>(i) / kRate;
            const double env = std::min(1.0, x / attack) * std::exp(-x / p.tau);
            add(start + i, gain * p.amp * env * std::sin(phase + w * i));
        }
    }
}

void SfxCanvas::thump(double t, double f0, double f1, double tau, double gain) {
    const size_t start = secs(t), n = secs(tau * 7.0);
    double phase = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const double x = static_cast<double>(i) / kRate;
        const double f = f1 + (f0 - f1) * std::exp(-x / (tau * 0.35));
        phase += 2.0 * kPi * f / kRate;
        const double env = std::min(1.0, x / 0.002) * std::exp(-x / tau);
        add(start + i, gain * env * std::sin(phase));
    }
}

void SfxCanvas::burst(double t, double attack, double tau, double lo, double hi, double gain) {
    const size_t start = secs(t), n = secs(attack + tau * 7.0);
    Svf a, b, c;
    for (size_t i = 0; i < n; ++i) {
        const double x = static_cast<double>(i) / kRate;
        const double env = (x < attack ? x / attack : std::exp(-(x - attack) / tau));
        double v = rng.bip();
        v = a.hp(v, lo);
        v = b.lp(v, hi);
        v = c.lp(v, hi);
        add(start + i, gain * env * v * 1.5);
    }
}

void SfxCanvas::crackle(double t0, double t1, double perSec, double lo, double hi, double gain,
                        const std::function<double(double)>& density) {
    const double span = t1 - t0;
    if (span <= 0) return;
    const double step = 0.001;
    for (double t = t0; t < t1; t += step) {
        const double d = density ? density((t - t0) / span) : 1.0;
        if (!rng.chance(perSec * step * d)) continue;
        const double f = lo * std::pow(hi / lo, rng.uni());
        const double tau = rng.range(0.0003, 0.0025);
        // Heavy-tailed sizes: many faint ticks, a few pops.
        const double size = std::pow(rng.uni(), 3.0) * 0.9 + 0.1;
        const size_t start = secs(t + rng.uni() * step), n = secs(tau * 8.0) + 2;
        Svf bp;
        for (size_t i = 0; i < n; ++i) {
            const double x = static_cast<double>(i) / kRate;
            add(start + i, gain * size * 3.0 * bp.bp(rng.bip() * std::exp(-x / tau), f, 1.5));
        }
    }
}

void SfxCanvas::bubble(double t, double hz, double tau, double gain) {
    const size_t start = secs(t), n = secs(tau * 6.0);
    double phase = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const double x = static_cast<double>(i) / kRate;
        const double f = hz * (1.0 + 1.2 * x / tau / 6.0);
        phase += 2.0 * kPi * f / kRate;
        const double env = std::min(1.0, x / 0.001) * std::exp(-x / tau);
        add(start + i, gain * env * std::sin(phase));
    }
}

void SfxCanvas::sweep(double t, double dur, double f0, double f1, double q, double gain,
                      const std::function<double(double)>& env) {
    const size_t start = secs(t), n = secs(dur);
    Svf f;
    for (size_t i = 0; i < n; ++i) {
        const double x = static_cast<double>(i) / n;
        const double hz = f0 * std::pow(f1 / f0, x);
        add(start + i, gain * env(x) * f.bp(rng.bip(), hz, q));
    }
}

void SfxCanvas::rumble(double t, double dur, double cutoff, double gain, double attack, double release) {
    const size_t start = secs(t), n = secs(dur);
    BrownNoise brown(rng.next());
    Svf f1, f2;
    OnePole swell;
    double target = 1.0;
    for (size_t i = 0; i < n; ++i) {
        const double x = static_cast<double>(i) / kRate;
        if (i % secs(0.12) == 0) target = rng.range(0.35, 1.0);
        const double sw = swell.lp(target, 3.0);
        double env = 1.0;
        if (x < attack) env = x / attack;
        if (x > dur - release) env *= std::max(0.0, (dur - x) / release);
        const double v = f2.lp(f1.lp(brown.next(), cutoff, 0.9), cutoff * 1.5);
        add(start + i, gain * env * sw * v * 4.0);
    }
}

void SfxCanvas::bell(double t, double hz, double tau, double gain) {
    modes(t, {{hz, 1.0, tau}, {hz * 2.756, 0.45, tau * 0.55}, {hz * 5.404, 0.25, tau * 0.3},
              {hz * 8.933, 0.12, tau * 0.18}, {hz * 1.003, 0.5, tau * 0.9}},
          gain, 0.001);
}

void SfxCanvas::horn(double t, double dur, double hz, double gain) {
    const size_t start = secs(t), n = secs(dur + 0.12);
    double phase = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const double x = static_cast<double>(i) / kRate;
        const double vib = 1.0 + 0.006 * std::sin(2.0 * kPi * 5.5 * x) * std::min(1.0, x / 0.25);
        phase += 2.0 * kPi * hz * vib / kRate;
        const double bright = 0.35 + 0.65 * std::min(1.0, x / 0.06) * (0.7 + 0.3 * std::exp(-x / 0.2));
        double v = 0.0;
        for (int h = 1; h <= 12; ++h) {
            if (hz * h > kRate * 0.4) break;
            v += std::sin(phase * h) * std::pow(bright, h - 1) / h;
        }
        add(start + i, gain * ar(x, 0.03, dur, 0.12) * v);
    }
}

void SfxCanvas::finishOneShot(double peakDb, double lowCut, double drive) {
    Svf a, b;
    for (float& v : s) v = static_cast<float>(b.hp(a.hp(v, lowCut), lowCut));
    if (drive > 0.0) {
        normalise(s, 0.0);
        const double norm = std::tanh(drive);
        for (float& v : s) v = static_cast<float>(std::tanh(drive * v) / norm);
    }
    removeDc(s);
    fadeEnds(s, 0.0005, 0.04);
    normalise(s, peakDb);
}

}  // namespace mvaudio
