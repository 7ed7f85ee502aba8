// The recipes of every sound effect the game plays.
#include "sfx.hpp"

#include <algorithm>
#include <map>

#include "sfx_kit.hpp"

namespace mvaudio {
namespace {

double swell(double x, double up, double down) {
    if (x < up) return smoothstep(x / up);
    if (x > 1.0 - down) return smoothstep((1.0 - x) / down);
    return 1.0;
}

void wet(SfxCanvas& c, double size, double damp, double mix) { c.s = reverbMono(c.s, size, damp, mix); }

Mono keyboard(int k) {
    SfxCanvas c(0.09, 100 + k);
    c.burst(0.0, 0.0003, 0.0035, 1200.0 + 350.0 * k, 7500.0, 0.9);
    c.modes(0.0, {{1050.0 + 140.0 * k, 0.6, 0.012}, {2650.0 + 90.0 * k, 0.35, 0.006}}, 0.6);
    c.thump(0.0, 220.0 + 25.0 * k, 140.0, 0.012, 0.5);
    // The key bottoming out a moment later.
    c.burst(0.022 + 0.004 * k, 0.0003, 0.002, 2000.0, 6000.0, 0.35);
    c.finishOneShot(-3.0);
    return c.s;
}

// Near or far explosion; far ones are duller and wetter.
void explosion(SfxCanvas& c, double t, double far) {
    const double hi = far > 0.5 ? 1400.0 : 6000.0;
    c.thump(t, 110.0, 50.0, 0.25, 0.8);
    c.burst(t, 0.004, 0.09, 30.0, hi, 1.0);
    c.burst(t + 0.01, 0.02, 0.35, 30.0, hi * 0.25, 1.2);
    c.burst(t, 0.01, 0.25, 200.0, 1500.0, 0.8);
    c.rumble(t, 1.2, 180.0, 0.5, 0.01, 1.0);
    c.crackle(t + 0.05, t + 0.9, 90.0, 600.0, far > 0.5 ? 2000.0 : 5000.0, 0.8,
              [](double x) { return std::exp(-4.0 * x); });
}

Mono lightning() {
    SfxCanvas c(2.8, 11);
    // The crack: a double snap with a spray of sparks, far louder than what follows.
    c.burst(0.0, 0.001, 0.06, 200.0, 12000.0, 2.5);
    c.burst(0.025, 0.001, 0.05, 300.0, 10000.0, 1.8);
    c.crackle(0.0, 0.4, 600.0, 1500.0, 9000.0, 1.2, [](double x) { return 1.0 - x; });
    c.burst(0.03, 0.05, 0.35, 40.0, 900.0, 0.9);
    // Then the thunder rolls away in a few swells.
    c.rumble(0.05, 2.6, 220.0, 0.35, 0.15, 1.8);
    for (int i = 0; i < 4; ++i) c.burst(c.rng.range(0.3, 1.6), 0.08, 0.3, 40.0, 450.0, c.rng.range(0.4, 0.7));
    c.thump(0.06, 80.0, 40.0, 0.4, 0.6);
    wet(c, 0.8, 0.3, 0.3);
    c.finishOneShot(-3.0, 40.0, 1.0);
    return c.s;
}

void whoosh(SfxCanvas& c, double t, double dur, double gain, double hi) {
    c.sweep(t, dur, 250.0, hi, 0.7, gain, [](double x) { return swell(x, 0.25, 0.12); });
    c.rumble(t, dur, 180.0, gain * 0.3, 0.2, 0.15);
    c.crackle(t + 0.1, t + dur - 0.1, 35.0, 800.0, 5000.0, gain * 0.9);
}

Mono fireball() {
    SfxCanvas c(1.7, 12);
    whoosh(c, 0.0, 1.7, 1.0, 1400.0);
    c.finishOneShot(-3.0, 60.0, 1.5);
    return c.s;
}

Mono fireballBlast() {
    SfxCanvas c(1.8, 13);
    explosion(c, 0.0, 0.0);
    wet(c, 0.6, 0.4, 0.2);
    c.finishOneShot(-3.0, 45.0, 1.2);
    return c.s;
}

Mono fireballEnemy() {
    SfxCanvas c(2.3, 14);
    whoosh(c, 0.0, 0.85, 0.5, 900.0);
    explosion(c, 0.8, 1.0);
    wet(c, 0.85, 0.5, 0.4);
    c.finishOneShot(-6.0, 45.0, 1.5);
    return c.s;
}

void squeak(SfxCanvas& c, double t, double hz, double dur, double gain) {
    const size_t start = secs(t), n = secs(dur);
    double phase = 0.0;
    for (size_t i = 0; i < n && start + i < c.s.size(); ++i) {
        const double x = static_cast<double>(i) / n;
        const double f = hz * (1.0 + 0.3 * std::sin(kPi * x)) * (1.0 + 0.02 * std::sin(2.0 * kPi * 40.0 * x * dur));
        phase += 2.0 * kPi * f / kRate;
        const double v = std::sin(phase) + 0.25 * std::sin(2.0 * phase);
        c.s[start + i] += static_cast<float>(gain * std::sin(kPi * x) * v);
    }
}

Mono spellRat() {
    SfxCanvas c(0.45, 15);
    squeak(c, 0.02, 2700.0, 0.07, 0.6);
    squeak(c, 0.12, 3100.0, 0.05, 0.5);
    squeak(c, 0.2, 2500.0, 0.09, 0.55);
    c.crackle(0.0, 0.42, 140.0, 3000.0, 9000.0, 0.35);
    c.finishOneShot(-9.0);
    return c.s;
}

Mono earthquake() {
    SfxCanvas c(6.4, 16);
    c.rumble(0.0, 6.4, 75.0, 1.2, 0.4, 1.2);
    c.rumble(0.0, 6.4, 260.0, 1.0, 0.6, 1.2);
    for (double t = 0.2; t < 5.3; t += c.rng.range(0.25, 0.7)) c.thump(t, 60.0, 32.0, 0.25, c.rng.range(0.3, 0.7));
    c.crackle(0.2, 5.6, 45.0, 400.0, 3000.0, 0.9, [](double x) { return 0.5 + 0.5 * std::sin(kPi * x); });
    c.finishOneShot(-3.0, 35.0, 1.5);
    return c.s;
}

void sparkles(SfxCanvas& c, double t0, double t1, int count, double lo, double hi, double gain) {
    for (int i = 0; i < count; ++i)
        c.modes(c.rng.range(t0, t1), {{c.rng.range(lo, hi), 1.0, c.rng.range(0.02, 0.09)}}, gain, 0.002);
}

Mono spellRay() {
    SfxCanvas c(2.2, 17);
    const size_t n = secs(1.75);
    double p1 = 0.0, p2 = 0.0, p3 = 0.0;
    Svf lp;
    for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double f = 300.0 * std::pow(2.0, t / 1.5);
        p1 += 2.0 * kPi * f / kRate;
        p2 += 2.0 * kPi * f * 1.007 / kRate;
        p3 += 2.0 * kPi * f * 0.5 / kRate;
        const double fm = std::sin(p1 + 1.5 * std::sin(p3 * 3.0));
        const double v = fm + 0.6 * std::sin(p2) + 0.4 * std::sin(p3);
        const double trem = 0.8 + 0.2 * std::sin(2.0 * kPi * 11.0 * t);
        c.s[i] += static_cast<float>(0.5 * trem * ar(t, 0.12, 1.45, 0.3) * lp.lp(v, 3200.0));
    }
    sparkles(c, 0.1, 1.6, 25, 2500.0, 6500.0, 0.12);
    wet(c, 0.7, 0.3, 0.3);
    c.finishOneShot(-6.0);
    return c.s;
}

Mono brokenPipe() {
    SfxCanvas c(2.6, 18);
    c.modes(0.0, {{523.0, 1.0, 0.25}, {1437.0, 0.6, 0.15}, {2753.0, 0.4, 0.08}, {4410.0, 0.2, 0.05}}, 0.5);
    c.burst(0.0, 0.001, 0.03, 500.0, 8000.0, 0.6);
    c.sweep(0.08, 2.4, 1200.0, 2600.0, 0.6, 0.9, [](double x) { return swell(x, 0.06, 0.35); });
    c.rumble(0.1, 2.4, 400.0, 0.15, 0.1, 0.6);
    for (int i = 0; i < 60; ++i) c.bubble(c.rng.range(0.15, 2.1), c.rng.range(300.0, 1100.0), c.rng.range(0.01, 0.03), 0.22);
    c.finishOneShot(-3.0, 60.0);
    return c.s;
}

// Rain loop: a soft bed, thousands of tiny droplets and a few fat ones.
Mono rain(size_t loopLen) {
    const double len = static_cast<double>(loopLen) / kRate + 1.0;
    SfxCanvas c(len, 19);
    Svf hp, lp;
    for (size_t i = 0; i < c.s.size(); ++i) c.s[i] += static_cast<float>(0.35 * lp.lp(hp.hp(c.rng.bip(), 500.0), 3500.0));
    c.crackle(0.0, len, 900.0, 2000.0, 9000.0, 0.25);
    for (double t = 0.0; t < len; t += c.rng.range(0.02, 0.15)) c.bubble(t, c.rng.range(900.0, 2600.0), 0.01, 0.12);
    removeDc(c.s);
    crossfadeLoop(c.s, loopLen);
    normalise(c.s, -4.0);
    return c.s;
}

Mono fireStart() {
    SfxCanvas c(2.3, 20);
    c.thump(0.0, 90.0, 55.0, 0.2, 0.5);
    c.sweep(0.0, 1.3, 180.0, 900.0, 0.6, 1.1, [](double x) { return swell(x, 0.2, 0.7); });
    c.rumble(0.05, 2.2, 200.0, 0.35, 0.2, 1.0);
    c.crackle(0.15, 2.2, 60.0, 700.0, 6000.0, 0.9, [](double x) { return std::min(1.0, x * 3.0) * (1.2 - x); });
    c.finishOneShot(-3.0, 50.0, 2.0);
    return c.s;
}

Mono disturbance() {
    SfxCanvas c(3.6, 21);
    const size_t n = secs(3.0);
    const double base[3] = {220.0, 261.6, 311.1};
    double ph[3] = {0, 0, 0}, mph[3] = {0, 0, 0};
    for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double bend = std::pow(2.0, -t / 3.0 * 0.5);
        double v = 0.0;
        for (int k = 0; k < 3; ++k) {
            const double wob = 1.0 + (0.01 + 0.03 * t / 3.0) * std::sin(2.0 * kPi * (4.0 + k) * t + k);
            const double f = base[k] * bend * wob;
            mph[k] += 2.0 * kPi * f * 1.5 / kRate;
            ph[k] += 2.0 * kPi * f / kRate + 0.0;
            v += std::sin(ph[k] + (1.0 + 0.8 * std::sin(2.0 * kPi * 0.7 * t)) * std::sin(mph[k]));
        }
        c.s[i] += static_cast<float>(0.3 * ar(t, 0.3, 2.3, 0.7) * v);
    }
    c.sweep(0.0, 3.0, 400.0, 2400.0, 3.0, 0.5, [](double x) { return swell(x, 0.2, 0.4) * (0.6 + 0.4 * std::sin(2.0 * kPi * 3.0 * x)); });
    wet(c, 0.85, 0.35, 0.4);
    c.finishOneShot(-4.0);
    return c.s;
}

Mono spellEye() {
    SfxCanvas c(1.5, 22);
    const double notes[] = {880.0, 1108.7, 1318.5, 1760.0, 2217.5};
    for (int i = 0; i < 5; ++i) c.bell(0.02 + 0.07 * i, notes[i], 0.35, 0.4);
    c.sweep(0.0, 0.8, 3000.0, 8000.0, 1.0, 0.25, [](double x) { return swell(x, 0.3, 0.6); });
    sparkles(c, 0.1, 0.8, 14, 3000.0, 8000.0, 0.08);
    wet(c, 0.8, 0.2, 0.4);
    c.finishOneShot(-5.0);
    return c.s;
}

void woodHit(SfxCanvas& c, double t, double scale, double gain) {
    c.modes(t, {{180.0 * scale, 1.0, 0.09}, {415.0 * scale, 0.7, 0.06}, {730.0 * scale, 0.5, 0.04},
                {1120.0 * scale, 0.3, 0.025}, {1700.0 * scale, 0.2, 0.015}},
            gain);
    c.burst(t, 0.0005, 0.006, 300.0, 5000.0, gain * 0.8);
}

Mono breakDoor() {
    SfxCanvas c(1.4, 23);
    c.thump(0.0, 120.0, 60.0, 0.12, 0.9);
    woodHit(c, 0.0, 1.0, 1.0);
    c.crackle(0.0, 0.35, 500.0, 900.0, 5000.0, 0.7, [](double x) { return 1.0 - x; });
    woodHit(c, 0.28, 1.3, 0.6);
    c.crackle(0.28, 0.55, 300.0, 1200.0, 6000.0, 0.5, [](double x) { return 1.0 - x; });
    wet(c, 0.5, 0.4, 0.2);
    c.finishOneShot(-3.0, 50.0, 1.5);
    return c.s;
}

Mono bomb(bool far) {
    SfxCanvas c(far ? 2.2 : 1.9, far ? 25 : 24);
    c.burst(0.0, 0.0005, 0.01, 800.0, far ? 2500.0 : 9000.0, 0.6);  // the fuse's last snap
    explosion(c, 0.01, far ? 1.0 : 0.0);
    wet(c, far ? 0.85 : 0.6, 0.4, far ? 0.4 : 0.18);
    c.finishOneShot(far ? -6.0 : -3.0, 45.0, 1.2);
    return c.s;
}

void pickStrike(SfxCanvas& c, double t, double gain) {
    const double d = c.rng.range(0.97, 1.03);
    c.modes(t, {{1830.0 * d, 1.0, 0.07}, {2960.0 * d, 0.6, 0.05}, {4310.0 * d, 0.4, 0.03}, {5620.0 * d, 0.25, 0.02}}, gain * 0.6);
    c.burst(t, 0.0003, 0.02, 700.0, 6000.0, gain);
    c.thump(t, 160.0, 90.0, 0.04, gain * 0.5);
    c.crackle(t + 0.01, t + 0.3, 120.0, 500.0, 4000.0, gain * 0.5, [](double x) { return 1.0 - x; });
}

Mono dig() {
    SfxCanvas c(1.4, 26);
    for (int i = 0; i < 3; ++i) pickStrike(c, 0.01 + 0.42 * i, i == 2 ? 1.0 : 0.85);
    wet(c, 0.5, 0.5, 0.15);
    c.finishOneShot();
    return c.s;
}

void hammer(SfxCanvas& c, double t, double gain) {
    c.modes(t, {{2400.0, 0.6, 0.05}, {3910.0, 0.4, 0.03}, {6120.0, 0.2, 0.02}}, gain * 0.5);
    woodHit(c, t, 1.2, gain * 0.8);
    c.thump(t, 200.0, 120.0, 0.03, gain * 0.5);
}

Mono repair() {
    SfxCanvas c(1.3, 27);
    for (int i = 0; i < 4; ++i) hammer(c, 0.01 + 0.3 * i, 0.8 + 0.1 * (i % 2));
    wet(c, 0.45, 0.5, 0.15);
    c.finishOneShot();
    return c.s;
}

void splash(SfxCanvas& c, double t, double size) {
    c.thump(t, 90.0 / size, 60.0, 0.06 * size, 0.5 * size);
    c.burst(t, 0.004 + 0.02 * size, 0.06 + 0.12 * size, 300.0 / size, 4500.0, 1.0);
    c.crackle(t + 0.02, t + 0.25 * size + 0.15, 250.0, 1500.0, 7000.0, 0.4, [](double x) { return 1.0 - x; });
    const int bubbles = static_cast<int>(18 * size);
    for (int i = 0; i < bubbles; ++i)
        c.bubble(t + 0.03 + std::pow(c.rng.uni(), 1.6) * 0.8 * size, c.rng.range(250.0, 900.0) / std::sqrt(size),
                 c.rng.range(0.008, 0.03), 0.3);
}

Mono firefighter() {
    SfxCanvas c(1.7, 28);
    splash(c, 0.02, 1.0);
    c.sweep(0.15, 1.5, 3500.0, 6000.0, 0.7, 0.6, [](double x) { return swell(x, 0.2, 0.6); });  // steam
    c.crackle(0.15, 1.1, 60.0, 1500.0, 6000.0, 0.4, [](double x) { return 1.0 - x; });
    c.finishOneShot();
    return c.s;
}

Mono movers() {
    SfxCanvas c(1.7, 29);
    for (int i = 0; i < 5; ++i) {
        const double t = 0.02 + 0.32 * i;
        c.thump(t, 110.0, 70.0, 0.05, 0.7);
        c.burst(t, 0.002, 0.02, 150.0, 1500.0, 0.4);
    }
    // Something heavy dragged across stone: irregular stick-slip grinding in the low mids.
    Svf grind1, grind2, dust1, dust2;
    double acc = 0.0;
    for (size_t i = secs(0.15); i < secs(1.5); ++i) {
        const double x = (static_cast<double>(i) / kRate - 0.15) / 1.35;
        acc += c.rng.range(60.0, 160.0) / kRate;
        double tick = 0.0;
        if (acc >= 1.0) { acc -= 1.0; tick = c.rng.range(0.3, 1.0); }
        const double grind = grind2.bp(grind1.bp(tick, 380.0, 3.0), 380.0, 1.0);
        const double dust = dust2.bp(dust1.bp(c.rng.bip(), 900.0, 2.0), 900.0, 1.0);
        c.s[i] += static_cast<float>(swell(x, 0.15, 0.25) * (6.0 * grind + 0.25 * dust));
    }
    c.finishOneShot(-3.0, 50.0, 1.0);
    return c.s;
}

Mono pumpers() {
    SfxCanvas c(1.9, 30);
    for (int i = 0; i < 3; ++i) {
        const double t = 0.02 + 0.55 * i;
        c.modes(t, {{740.0, 0.6, 0.06}, {1190.0, 0.4, 0.04}}, 0.4);  // handle squeak
        c.sweep(t + 0.05, 0.4, 250.0, 900.0, 2.0, 0.9, [](double x) { return swell(x, 0.2, 0.5); });
        for (int b = 0; b < 10; ++b) c.bubble(t + 0.1 + c.rng.uni() * 0.35, c.rng.range(200.0, 600.0), 0.02, 0.3);
        c.thump(t + 0.4, 80.0, 55.0, 0.06, 0.5);
    }
    c.finishOneShot();
    return c.s;
}

Mono antirat() {
    SfxCanvas c(1.9, 31);
    for (int i = 0; i < 3; ++i)
        c.sweep(0.02 + 0.35 * i, 0.28, 4000.0, 5500.0, 0.5, 0.8, [](double x) { return swell(x, 0.1, 0.5); });
    squeak(c, 1.1, 3200.0, 0.08, 0.5);
    squeak(c, 1.25, 2800.0, 0.1, 0.35);
    c.burst(1.45, 0.01, 0.08, 200.0, 2500.0, 0.5);  // poof
    c.finishOneShot(-7.0);
    return c.s;
}

Mono reflector() {
    SfxCanvas c(1.6, 32);
    c.modes(0.0, {{1320.0, 1.0, 0.45}, {1324.0, 0.7, 0.45}, {3062.0, 0.5, 0.25}, {5610.0, 0.3, 0.12}, {8750.0, 0.15, 0.06}}, 0.5);
    sparkles(c, 0.02, 0.6, 10, 4000.0, 9000.0, 0.08);
    c.burst(0.0, 0.0005, 0.004, 3000.0, 10000.0, 0.4);
    wet(c, 0.75, 0.2, 0.3);
    c.finishOneShot(-5.0);
    return c.s;
}

Mono reflectorBroken() {
    SfxCanvas c(1.5, 33);
    c.burst(0.0, 0.0005, 0.02, 1000.0, 12000.0, 0.9);
    c.modes(0.0, {{1320.0, 0.6, 0.08}, {3062.0, 0.3, 0.05}}, 0.4);
    for (int i = 0; i < 45; ++i) {
        const double t = std::pow(c.rng.uni(), 2.0) * 0.9;
        const double f = c.rng.range(2500.0, 7500.0);
        c.modes(t, {{f, 1.0, c.rng.range(0.015, 0.06)}, {f * 1.53, 0.5, 0.02}}, c.rng.range(0.1, 0.35) * (1.0 - t));
    }
    wet(c, 0.6, 0.3, 0.2);
    c.finishOneShot();
    return c.s;
}

Mono rubble(int which) {
    SfxCanvas c(1.3, 34 + which);
    c.thump(0.0, 90.0, 50.0, 0.12, 0.35);
    c.burst(0.0, 0.001, 0.05, 150.0, 3000.0, 0.7);
    const int stones = which == 1 ? 40 : 55;
    for (int i = 0; i < stones; ++i) {
        const double t = std::pow(c.rng.uni(), 2.2) * 1.0;
        const double f = c.rng.range(300.0, 2500.0);
        const double g = c.rng.range(0.15, 0.5) * (1.0 - 0.7 * t);
        c.burst(t, 0.0003, c.rng.range(0.004, 0.015), f * 0.5, f * 2.0, g);
        c.modes(t, {{f * 0.4, 0.5, 0.01}}, g);
    }
    if (which == 2) c.rumble(0.0, 0.9, 150.0, 0.5, 0.01, 0.6);
    wet(c, 0.45, 0.5, 0.15);
    c.finishOneShot(-3.0, 50.0, 1.5);
    return c.s;
}

Mono splashSound(int kind) {
    SfxCanvas c(kind == 0 ? 1.5 : kind == 1 ? 1.0 : 0.7, 40 + kind);
    if (kind == 0) splash(c, 0.0, 1.6);
    else if (kind == 1) { c.burst(0.0, 0.001, 0.05, 1000.0, 8000.0, 0.6); splash(c, 0.0, 0.9); }
    else {
        c.bubble(0.0, 500.0, 0.05, 0.8);
        c.burst(0.0, 0.002, 0.03, 1200.0, 6000.0, 0.3);
        for (int i = 0; i < 6; ++i) c.bubble(0.05 + c.rng.uni() * 0.3, c.rng.range(800.0, 1800.0), 0.012, 0.25);
    }
    c.finishOneShot();
    return c.s;
}

Mono levitronous() {
    SfxCanvas c(1.5, 43);
    const size_t n = secs(1.2);
    double ph = 0.0, mph = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double f = 110.0 * std::pow(1.5, smoothstep(t / 0.9));
        ph += 2.0 * kPi * f / kRate;
        mph += 2.0 * kPi * f * 2.0 / kRate;
        const double v = std::sin(ph + 1.8 * std::sin(mph)) + 0.6 * std::sin(ph * 0.5);
        const double trem = 0.75 + 0.25 * std::sin(2.0 * kPi * 8.0 * t);
        c.s[i] += static_cast<float>(0.5 * trem * ar(t, 0.15, 0.8, 0.4) * v);
    }
    sparkles(c, 0.2, 1.0, 12, 2000.0, 5000.0, 0.1);
    wet(c, 0.6, 0.3, 0.25);
    c.finishOneShot();
    return c.s;
}

Mono armor() {
    SfxCanvas c(1.0, 44);
    const std::vector<Partial> plate = {{420.0, 1.0, 0.25}, {1153.0, 0.7, 0.15}, {2241.0, 0.5, 0.1}, {3617.0, 0.3, 0.06}};
    c.modes(0.0, plate, 0.5);
    c.burst(0.0, 0.0005, 0.008, 800.0, 9000.0, 0.6);
    c.modes(0.14, {{455.0, 0.8, 0.2}, {1237.0, 0.5, 0.12}, {2390.0, 0.3, 0.08}}, 0.35);
    c.thump(0.0, 150.0, 90.0, 0.04, 0.4);
    c.finishOneShot();
    return c.s;
}

Mono doors() {
    SfxCanvas c(1.3, 45);
    // Creak: a slowing, then quickening train of pulses through wooden resonances.
    Svf r1, r2;
    double acc = 0.0;
    for (size_t i = 0; i < secs(0.75); ++i) {
        const double x = static_cast<double>(i) / secs(0.75);
        acc += (30.0 + 45.0 * std::sin(kPi * x)) / kRate;
        double pulse = 0.0;
        if (acc >= 1.0) {  // stick-slip: each slip comes a little early or late
            acc -= 1.0 + c.rng.range(-0.35, 0.35);
            pulse = c.rng.range(0.6, 1.0);
        }
        const double v = r1.bp(pulse, 620.0, 12.0) + 0.6 * r2.bp(pulse, 1480.0, 10.0);
        c.s[i] += static_cast<float>(4.5 * swell(x, 0.1, 0.2) * v);
    }
    c.thump(0.8, 95.0, 60.0, 0.08, 0.9);
    woodHit(c, 0.8, 0.9, 0.7);
    c.finishOneShot(-3.0, 50.0);
    return c.s;
}

Mono fence() {
    SfxCanvas c(0.85, 46);
    for (int i = 0; i < 3; ++i) woodHit(c, 0.01 + 0.17 * i, 1.6 + 0.15 * i, 1.0);
    c.finishOneShot();
    return c.s;
}

void stoneSet(SfxCanvas& c, double t, double gain) {
    c.thump(t, 95.0, 55.0, 0.1, gain * 0.6);
    c.burst(t, 0.001, 0.05, 200.0, 2200.0, gain);
    c.crackle(t, t + 0.2, 150.0, 600.0, 4000.0, gain * 0.4, [](double x) { return 1.0 - x; });
}

Mono buildBlock() {
    SfxCanvas c(0.75, 47);
    stoneSet(c, 0.0, 1.0);
    wet(c, 0.4, 0.5, 0.12);
    c.finishOneShot(-3.0, 50.0, 1.5);
    return c.s;
}

Mono buildRoom() {
    SfxCanvas c(1.5, 48);
    stoneSet(c, 0.0, 1.0);
    for (int i = 0; i < 3; ++i) hammer(c, 0.35 + 0.25 * i, 0.6);
    wet(c, 0.5, 0.5, 0.15);
    c.finishOneShot(-3.0, 50.0, 1.5);
    return c.s;
}

Mono putSpell() {
    SfxCanvas c(1.2, 49);
    const double notes[] = {659.3, 987.8, 1318.5, 1975.5};
    for (int i = 0; i < 4; ++i) c.bell(0.01 + 0.05 * i, notes[i], 0.25, 0.35);
    c.sweep(0.0, 0.7, 4000.0, 9000.0, 0.8, 0.3, [](double x) { return swell(x, 0.15, 0.8); });
    wet(c, 0.75, 0.2, 0.35);
    c.finishOneShot(-6.0);
    return c.s;
}

Mono challenge() {
    SfxCanvas c(1.8, 50);
    c.horn(0.0, 0.16, 293.7, 0.5);
    c.horn(0.2, 0.12, 293.7, 0.5);
    c.horn(0.36, 0.75, 392.0, 0.55);
    c.horn(0.36, 0.75, 293.7, 0.25);
    c.thump(0.36, 100.0, 70.0, 0.15, 0.4);  // a drum under the last note
    wet(c, 0.7, 0.4, 0.3);
    c.finishOneShot(-4.0);
    return c.s;
}

// Wind loop: noise through two whistling band-passes; every modulation repeats within the loop.
Mono wind(size_t loopLen) {
    const double loopSecs = static_cast<double>(loopLen) / kRate;
    SfxCanvas c(loopSecs + 1.5, 60);
    Svf a, b, lo;
    const double w = 2.0 * kPi / loopSecs;
    for (size_t i = 0; i < c.s.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double gust = 0.55 + 0.2 * std::sin(w * t) + 0.12 * std::sin(3.0 * w * t + 1.0) +
                            0.1 * std::sin(5.0 * w * t + 2.0) + 0.06 * std::sin(11.0 * w * t + 0.3);
        const double f1 = 420.0 + 200.0 * std::sin(2.0 * w * t + 0.5);
        const double f2 = 900.0 + 300.0 * std::sin(5.0 * w * t + 1.3);
        const double n = c.rng.bip();
        const double v = a.bp(n, f1, 4.0) + 0.5 * b.bp(n, f2, 6.0) + 0.6 * lo.lp(n, 160.0);
        c.s[i] = static_cast<float>(gust * gust * v);
    }
    removeDc(c.s);
    crossfadeLoop(c.s, loopLen);
    normalise(c.s, -8.0);  // it keeps blowing under the menu music
    return c.s;
}

// Fire loop at a given intensity; `far` dulls it for the enemy's side.
Mono fire(size_t loopLen, double intensity, bool far, uint64_t seed) {
    const double len = static_cast<double>(loopLen) / kRate + 1.0;
    SfxCanvas c(len, seed);
    BrownNoise brown(seed * 7 + 1);
    Svf roar, body, hiss1, hiss2, cut1, cut2;
    OnePole flick, flick2;
    double target = 1.0, target2 = 1.0;
    for (size_t i = 0; i < c.s.size(); ++i) {
        if (i % secs(0.07) == 0) target = c.rng.range(0.4, 1.0);
        if (i % secs(0.11) == 0) target2 = c.rng.range(0.2, 1.0);
        const double f = flick.lp(target, 6.0), f2 = flick2.lp(target2, 9.0);
        const double r = roar.lp(brown.next(), 160.0 + 200.0 * intensity, 0.8) * (0.8 + 1.2 * intensity);
        const double m = body.bp(c.rng.bip(), 450.0 + 250.0 * intensity, 0.7) * 0.25 * (0.5 + intensity);
        const double h = hiss2.lp(hiss1.hp(c.rng.bip(), 1800.0), 5000.0) * 0.08 * (0.5 + intensity);
        c.s[i] += static_cast<float>(f * (r + m) + f2 * h);
    }
    c.crackle(0.0, len, 10.0 + 45.0 * intensity, 700.0, 6500.0, 1.3 + 0.6 * intensity);
    const int pops = static_cast<int>(len * (0.5 + 3.0 * intensity));
    for (int i = 0; i < pops; ++i) c.burst(c.rng.range(0.0, len), 0.0004, 0.006, 400.0, 3500.0, c.rng.range(0.3, 0.8));
    if (far) {
        Svf dull1, dull2;
        for (float& v : c.s) v = static_cast<float>(dull2.lp(dull1.lp(v, 1400.0), 1400.0));
        c.s = reverbMono(c.s, 0.7, 0.5, 0.35);
    }
    for (float& v : c.s) v = static_cast<float>(cut2.hp(cut1.hp(v, 50.0), 50.0));
    // Tame the loudest pops so the body of the fire carries the level; hotter fires are louder.
    normalise(c.s, 0.0);
    for (float& v : c.s) v = static_cast<float>(std::tanh(3.0 * v) / std::tanh(3.0));
    removeDc(c.s);
    crossfadeLoop(c.s, loopLen);
    normalise(c.s, far ? -9.0 : -3.0 - 3.0 * (1.0 - intensity));
    return c.s;
}

}  // namespace

bool renderSound(const std::string& name, Mono& out) {
    static const std::map<std::string, std::function<Mono()>> recipes = {
        {"keyboard1", [] { return keyboard(1); }}, {"keyboard2", [] { return keyboard(2); }},
        {"keyboard3", [] { return keyboard(3); }}, {"keyboard4", [] { return keyboard(4); }},
        {"keyboard5", [] { return keyboard(5); }},
        {"lightning", lightning}, {"fireball", fireball}, {"fireball-blast", fireballBlast},
        {"fireball-enemy", fireballEnemy}, {"spell-rat", spellRat}, {"earthquake", earthquake},
        {"spell-ray", spellRay}, {"broken_pipe", brokenPipe}, {"rain", [] { return rain(secs(4.0)); }},
        {"fire_start", fireStart}, {"disturbance", disturbance}, {"spell-eye", spellEye},
        {"break_door", breakDoor}, {"bomb", [] { return bomb(false); }}, {"bomb-enemy", [] { return bomb(true); }},
        {"dig", dig}, {"repair", repair}, {"firefighter", firefighter}, {"movers", movers},
        {"pumpers", pumpers}, {"antirat", antirat}, {"reflector", reflector},
        {"reflector-broken", reflectorBroken}, {"Rubble1", [] { return rubble(1); }},
        {"Rubble2", [] { return rubble(2); }}, {"SplashSlow", [] { return splashSound(0); }},
        {"SplashFast", [] { return splashSound(1); }}, {"SplashSmall", [] { return splashSound(2); }},
        {"levitronous", levitronous}, {"armor", armor}, {"doors", doors}, {"fence", fence},
        {"build-block", buildBlock}, {"build-room", buildRoom}, {"put-spell", putSpell},
        {"challenge", challenge}, {"wind", [] { return wind(secs(16.0)); }},
        {"fire1", [] { return fire(secs(6.0), 0.2, false, 61); }},
        {"fire2", [] { return fire(secs(6.0), 0.55, false, 62); }},
        {"fire3", [] { return fire(secs(6.0), 1.0, false, 63); }},
        {"fire-enemy", [] { return fire(secs(6.0), 0.55, true, 64); }},
    };
    const auto it = recipes.find(name);
    if (it == recipes.end()) return false;
    out = it->second();
    return true;
}

}  // namespace mvaudio
