#include "dsp.hpp"

#include <algorithm>
#include <cstdio>

namespace mvaudio {

void mixInto(Mono& dst, const Mono& src, size_t at, double gain) {
    for (size_t i = 0; i < src.size() && at + i < dst.size(); ++i) dst[at + i] += static_cast<float>(src[i] * gain);
}

void mixInto(Stereo& dst, const Mono& src, size_t at, double gain, double pan) {
    // Constant-power pan, pan in -1 (left) .. 1 (right).
    const double a = (pan + 1.0) * 0.25 * kPi;
    const double gl = gain * std::cos(a), gr = gain * std::sin(a);
    for (size_t i = 0; i < src.size() && at + i < dst.size(); ++i) {
        dst.l[at + i] += static_cast<float>(src[i] * gl);
        dst.r[at + i] += static_cast<float>(src[i] * gr);
    }
}

Mono pluck(double hz, double dur, double bright, double decay, Rng& rng) {
    const size_t n = secs(dur);
    Mono out(n, 0.0f);
    const double period = static_cast<double>(kRate) / hz;
    // The averaging loop filter adds half a sample; an all-pass supplies the fraction.
    size_t len = static_cast<size_t>(period - 0.5);
    if (len < 2) len = 2;
    double frac = period - 0.5 - static_cast<double>(len);
    if (frac < 0.1) { frac += 1.0; --len; }
    const double c = (1.0 - frac) / (1.0 + frac);
    const double loss = std::pow(10.0, -3.0 / (decay * hz));

    // Excitation: soft-edged noise, with the comb of a pluck an eighth of the way along the
    // string, so the attack is a pluck and not a burst of hiss.
    std::vector<double> raw(len), line(len);
    OnePole shape1, shape2;
    const double cutoff = std::min(hz * (1.5 + bright * 8.0), 7000.0);
    for (size_t i = 0; i < len; ++i) raw[i] = shape2.lp(shape1.lp(rng.bip(), cutoff), cutoff);
    const size_t pick = std::max<size_t>(1, len / 8);
    double mean = 0.0;
    for (size_t i = 0; i < len; ++i) {
        line[i] = raw[i] - 0.8 * raw[(i + len - pick) % len];
        mean += line[i];
    }
    mean /= static_cast<double>(len);
    double peak = 1e-9;
    for (double& v : line) { v -= mean; peak = std::max(peak, std::fabs(v)); }
    for (double& v : line) v /= peak;

    size_t pos = 0;
    double prev = 0.0, apIn = 0.0, apOut = 0.0;
    const size_t attack = secs(0.0015), release = secs(0.03);
    for (size_t i = 0; i < n; ++i) {
        const double x = line[pos];
        const double avg = 0.5 * (x + prev);
        prev = x;
        const double y = c * avg + apIn - c * apOut;  // first-order all-pass
        apIn = avg;
        apOut = y;
        line[pos] = y * loss;
        pos = (pos + 1) % len;
        double g = 1.0;
        if (i < attack) g = static_cast<double>(i) / attack;
        if (i + release > n) g *= static_cast<double>(n - i) / release;
        out[i] = static_cast<float>(x * g);
    }
    return out;
}

namespace {

class Comb {
public:
    explicit Comb(size_t len) : buf_(len, 0.0) {}
    double run(double x, double fb, double damp) {
        const double y = buf_[pos_];
        store_ = y * (1.0 - damp) + store_ * damp;
        buf_[pos_] = x + store_ * fb;
        pos_ = (pos_ + 1) % buf_.size();
        return y;
    }

private:
    std::vector<double> buf_;
    size_t pos_ = 0;
    double store_ = 0.0;
};

class AllPass {
public:
    explicit AllPass(size_t len) : buf_(len, 0.0) {}
    double run(double x) {
        const double b = buf_[pos_];
        const double y = -x + b;
        buf_[pos_] = x + b * 0.5;
        pos_ = (pos_ + 1) % buf_.size();
        return y;
    }

private:
    std::vector<double> buf_;
    size_t pos_ = 0;
};

}  // namespace

Stereo reverb(const Mono& in, double size, double damp) {
    static const size_t kCombs[] = {1201, 1327, 1451, 1559, 1663, 1787};
    static const size_t kPasses[] = {547, 443, 337};
    const size_t spread = 29;
    std::vector<Comb> cl, cr;
    std::vector<AllPass> al, arr;
    for (size_t c : kCombs) { cl.emplace_back(c); cr.emplace_back(c + spread); }
    for (size_t a : kPasses) { al.emplace_back(a); arr.emplace_back(a + spread); }
    const double fb = 0.70 + 0.27 * std::min(1.0, std::max(0.0, size));
    Stereo out(in.size());
    for (size_t i = 0; i < in.size(); ++i) {
        const double x = in[i] * 0.05;
        double l = 0.0, r = 0.0;
        for (size_t k = 0; k < cl.size(); ++k) { l += cl[k].run(x, fb, damp); r += cr[k].run(x, fb, damp); }
        for (size_t k = 0; k < al.size(); ++k) { l = al[k].run(l); r = arr[k].run(r); }
        out.l[i] = static_cast<float>(l);
        out.r[i] = static_cast<float>(r);
    }
    return out;
}

Mono reverbMono(const Mono& in, double size, double damp, double mix) {
    const Stereo wet = reverb(in, size, damp);
    Mono out(in.size());
    for (size_t i = 0; i < in.size(); ++i)
        out[i] = static_cast<float>(in[i] * (1.0 - mix) + 0.5 * (wet.l[i] + wet.r[i]) * mix);
    return out;
}

void removeDc(Mono& s) {
    double x1 = 0.0, y1 = 0.0;
    const double r = 1.0 - 2.0 * kPi * 20.0 / kRate;
    for (float& v : s) {
        const double y = v - x1 + r * y1;
        x1 = v;
        y1 = y;
        v = static_cast<float>(y);
    }
}

static double peakOf(const Mono& s) {
    double p = 0.0;
    for (float v : s) p = std::max(p, static_cast<double>(std::fabs(v)));
    return p;
}

void normalise(Mono& s, double peakDb) {
    const double p = peakOf(s);
    if (p <= 0.0) return;
    const double g = dbGain(peakDb) / p;
    for (float& v : s) v = static_cast<float>(v * g);
}

void normalise(Stereo& s, double peakDb) {
    const double p = std::max(peakOf(s.l), peakOf(s.r));
    if (p <= 0.0) return;
    const double g = dbGain(peakDb) / p;
    for (float& v : s.l) v = static_cast<float>(v * g);
    for (float& v : s.r) v = static_cast<float>(v * g);
}

void fadeEnds(Mono& s, double inSecs, double outSecs) {
    const size_t a = std::min(s.size(), secs(inSecs)), b = std::min(s.size(), secs(outSecs));
    for (size_t i = 0; i < a; ++i) s[i] = static_cast<float>(s[i] * (static_cast<double>(i) / a));
    for (size_t i = 0; i < b; ++i) {
        const size_t k = s.size() - 1 - i;
        s[k] = static_cast<float>(s[k] * (static_cast<double>(i) / b));
    }
}

void crossfadeLoop(Mono& s, size_t loopLen) {
    if (s.size() <= loopLen) return;
    const size_t over = std::min(s.size() - loopLen, loopLen);
    for (size_t i = 0; i < over; ++i) {
        const double w = (static_cast<double>(i) + 0.5) / over * 0.5 * kPi;
        s[i] = static_cast<float>(s[i] * std::sin(w) + s[loopLen + i] * std::cos(w));
    }
    s.resize(loopLen);
}

void foldLoop(Stereo& s, size_t loopLen) {
    for (size_t i = loopLen; i < s.size(); ++i) {
        s.l[i % loopLen] += s.l[i];
        s.r[i % loopLen] += s.r[i];
    }
    s.l.resize(loopLen);
    s.r.resize(loopLen);
}

void levelLoop(Stereo& s, double rmsDb, double ceilingDb) {
    const size_t n = s.size();
    if (n == 0) return;
    double sum = 0.0;
    for (size_t i = 0; i < n; ++i) sum += 0.5 * (s.l[i] * s.l[i] + s.r[i] * s.r[i]);
    const double rms = std::sqrt(sum / n);
    if (rms <= 0.0) return;
    const double g0 = dbGain(rmsDb) / rms;
    const double ceiling = dbGain(ceilingDb);
    // Gain each sample needs, reached by a ramp over the look-ahead so nothing steps.
    const size_t ahead = std::min(n, secs(0.004));
    std::vector<float> gain(n, 1.0f);
    for (size_t i = 0; i < n; ++i) {
        const double a = g0 * std::max(std::fabs(s.l[i]), std::fabs(s.r[i]));
        if (a <= ceiling) continue;
        const double need = ceiling / a;
        for (size_t k = 0; k <= ahead; ++k) {
            const size_t j = (i + n - k) % n;
            const double g = need + (1.0 - need) * static_cast<double>(k) / (ahead + 1);
            if (g < gain[j]) gain[j] = static_cast<float>(g);
        }
    }
    // Slow recovery; two rounds so the state at the loop's start is the one at its end.
    const double rel = 1.0 - std::exp(-1.0 / (0.08 * kRate));
    double g = 1.0;
    std::vector<float> smooth(n);
    for (int round = 0; round < 2; ++round)
        for (size_t i = 0; i < n; ++i) {
            g = std::min(static_cast<double>(gain[i]), g + (1.0 - g) * rel);
            smooth[i] = static_cast<float>(g);
        }
    for (size_t i = 0; i < n; ++i) {
        s.l[i] = static_cast<float>(s.l[i] * g0 * smooth[i]);
        s.r[i] = static_cast<float>(s.r[i] * g0 * smooth[i]);
    }
}

namespace {

void put16(std::FILE* f, uint16_t v) { std::fputc(v & 0xff, f); std::fputc(v >> 8, f); }
void put32(std::FILE* f, uint32_t v) { put16(f, v & 0xffff); put16(f, v >> 16); }

int16_t toPcm(float v) {
    double x = std::round(static_cast<double>(v) * 32767.0);
    if (x > 32767.0) x = 32767.0;
    if (x < -32767.0) x = -32767.0;
    return static_cast<int16_t>(x);
}

// Writes beside the target and renames, so a failed run never leaves a file that looks finished.
bool writePcm(const std::string& path, const std::vector<const Mono*>& chans) {
    const std::string part = path + ".part";
    std::FILE* f = std::fopen(part.c_str(), "wb");
    if (!f) { std::fprintf(stderr, "mv-audiogen: cannot write %s\n", part.c_str()); return false; }
    const uint16_t ch = static_cast<uint16_t>(chans.size());
    const uint32_t frames = static_cast<uint32_t>(chans[0]->size());
    const uint32_t bytes = frames * ch * 2;
    std::fwrite("RIFF", 1, 4, f); put32(f, 36 + bytes); std::fwrite("WAVE", 1, 4, f);
    std::fwrite("fmt ", 1, 4, f); put32(f, 16); put16(f, 1); put16(f, ch);
    put32(f, kRate); put32(f, kRate * ch * 2); put16(f, static_cast<uint16_t>(ch * 2)); put16(f, 16);
    std::fwrite("data", 1, 4, f); put32(f, bytes);
    for (uint32_t i = 0; i < frames; ++i)
        for (const Mono* c : chans) put16(f, static_cast<uint16_t>(toPcm((*c)[i])));
    const bool ok = std::ferror(f) == 0;
    if (std::fclose(f) != 0 || !ok || std::rename(part.c_str(), path.c_str()) != 0) {
        std::fprintf(stderr, "mv-audiogen: cannot write %s\n", path.c_str());
        std::remove(part.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool writeWav(const std::string& path, const Mono& s) { return writePcm(path, {&s}); }
bool writeWav(const std::string& path, const Stereo& s) { return writePcm(path, {&s.l, &s.r}); }

}  // namespace mvaudio
