#include "music.hpp"

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "instruments.hpp"

namespace mvaudio {
namespace {

const std::map<std::string, std::vector<int>>& modes() {
    static const std::map<std::string, std::vector<int>> m = {
        {"major", {0, 2, 4, 5, 7, 9, 11}},      {"minor", {0, 2, 3, 5, 7, 8, 10}},
        {"dorian", {0, 2, 3, 5, 7, 9, 10}},     {"mixolydian", {0, 2, 4, 5, 7, 9, 10}},
        {"phrygian", {0, 1, 3, 5, 7, 8, 10}},   {"harmonic", {0, 2, 3, 5, 7, 8, 11}},
        {"lydian", {0, 2, 4, 6, 7, 9, 11}},
    };
    return m;
}

bool parseKey(const std::string& s, int& pc) {
    static const std::map<char, int> base = {{'C', 0}, {'D', 2}, {'E', 4}, {'F', 5}, {'G', 7}, {'A', 9}, {'B', 11}};
    if (s.empty() || !base.count(s[0])) return false;
    pc = base.at(s[0]);
    for (size_t i = 1; i < s.size(); ++i) {
        if (s[i] == '#') ++pc;
        else if (s[i] == 'b') --pc;
        else return false;
    }
    pc = (pc + 12) % 12;
    return true;
}

// Pitch of a scale degree (0 = tonic, may be negative or past the octave).
double degreePitch(const Score& sc, int degree) {
    const int n = static_cast<int>(sc.mode.size());
    int oct = degree >= 0 ? degree / n : -((-degree + n - 1) / n);
    const int step = degree - oct * n;
    return sc.tonic + 12 * oct + sc.mode[static_cast<size_t>(step)];
}

struct Note {
    double at;       // seconds from the loop start
    double dur;      // held length in seconds
    double pitch;    // MIDI note
    double vel;
};

struct Phrase {
    std::vector<int> onsets;   // slot (eighth) of each note within four bars
    std::vector<int> degrees;  // raw melody degree of each note, before fitting to the chord
};

Phrase makePhrase(const Score& sc, Rng& rng, int barsInPhrase) {
    Phrase p;
    const int slotsPerBar = sc.meter * 2;
    int degree = rng.below(3) * 2;  // start on tonic, third or fifth
    for (int bar = 0; bar < barsInPhrase; ++bar) {
        const bool last = bar == barsInPhrase - 1;
        for (int s = 0; s < slotsPerBar; ++s) {
            double chance;
            if (s == 0) chance = 0.95;
            else if (s % 2 == 0) chance = 0.25 + 0.6 * sc.density;
            else chance = 0.55 * sc.density * sc.density;
            if (last && s >= 3) chance = 0.0;  // let the phrase breathe
            if (!rng.chance(chance)) continue;
            static const int kSteps[] = {-2, -1, -1, -1, 0, 1, 1, 1, 2, 3, -3, 2, -2};
            degree += kSteps[rng.below(13)];
            if (degree < -3) degree += 3;
            if (degree > 9) degree -= 4;
            p.onsets.push_back(bar * slotsPerBar + s);
            p.degrees.push_back(degree);
        }
    }
    if (p.onsets.empty() || p.onsets[0] != 0) {
        p.onsets.insert(p.onsets.begin(), 0);
        p.degrees.insert(p.degrees.begin(), 0);
    }
    return p;
}

// Moves a degree to the nearest tone of the chord built on `root` (0-based scale degree).
int fitToChord(int degree, int root, int scaleLen) {
    int best = degree, bestDist = 99;
    for (int d = degree - 3; d <= degree + 3; ++d) {
        const int rel = ((d - root) % scaleLen + scaleLen) % scaleLen;
        if (rel == 0 || rel == 2 || rel == 4) {
            const int dist = std::abs(d - degree);
            if (dist < bestDist) { bestDist = dist; best = d; }
        }
    }
    return best;
}

struct Hit {
    double at;
    std::string kind;  // renderHit's stroke name
    double vel;
};

struct Parts {
    std::vector<Note> lead, arp, pad, bass;
    std::vector<Hit> hits;
};

constexpr int kPhraseBars = 4;

// The tune: one phrase per distinct form letter; a repeated letter gets a new last bar.
std::vector<Note> composeMelody(const Score& sc, Rng& rng) {
    const double slot = 30.0 / sc.tempo;
    const int slotsPerBar = sc.meter * 2;
    const int scaleLen = static_cast<int>(sc.mode.size());
    auto chordOf = [&](int bar) { return sc.chords[static_cast<size_t>(bar) % sc.chords.size()] - 1; };
    // Plucked and reed leads get the odd grace note from above, as folk players do.
    const bool ornaments = sc.lead == "pluck" || sc.lead == "reed";

    std::map<char, Phrase> phrases;
    std::map<char, int> seen;
    std::vector<Note> lead;
    for (size_t f = 0; f < sc.form.size(); ++f) {
        const char letter = sc.form[f];
        if (!phrases.count(letter)) phrases[letter] = makePhrase(sc, rng, kPhraseBars);
        Phrase ph = phrases[letter];
        if (seen[letter]++ > 0) {
            Phrase alt = makePhrase(sc, rng, kPhraseBars);
            std::vector<int> on, dg;
            const int cut = (kPhraseBars - 1) * slotsPerBar;
            for (size_t i = 0; i < ph.onsets.size(); ++i)
                if (ph.onsets[i] < cut) { on.push_back(ph.onsets[i]); dg.push_back(ph.degrees[i]); }
            for (size_t i = 0; i < alt.onsets.size(); ++i)
                if (alt.onsets[i] >= cut) { on.push_back(alt.onsets[i]); dg.push_back(alt.degrees[i]); }
            ph.onsets = on;
            ph.degrees = dg;
        }
        const int firstBar = static_cast<int>(f) * kPhraseBars;
        int prev = 999;
        for (size_t i = 0; i < ph.onsets.size(); ++i) {
            const int bar = firstBar + ph.onsets[i] / slotsPerBar;
            if (bar >= sc.bars) break;
            const int s = ph.onsets[i] % slotsPerBar;
            int degree = ph.degrees[i];
            if (s % 2 == 0) {
                degree = fitToChord(degree, chordOf(bar), scaleLen);
                // Snapping can land on the note just played: move on to the next chord tone
                // in the direction the line was heading.
                if (degree == prev && i > 0) {
                    const int dir = ph.degrees[i] >= ph.degrees[i - 1] ? 2 : -2;
                    degree = fitToChord(std::clamp(degree + dir, -3, 9), chordOf(bar), scaleLen);
                }
            }
            prev = degree;
            const int next = i + 1 < ph.onsets.size() ? ph.onsets[i + 1] : kPhraseBars * slotsPerBar;
            const double held = std::min(next - ph.onsets[i], 6) * slot * 0.92;
            // No leaps wider than a sixth: fold the note an octave towards the last one.
            double pitch = degreePitch(sc, degree);
            const double unfolded = pitch;
            if (!lead.empty()) {
                const double last = lead.back().pitch;
                while (pitch - last > 9.0 && pitch - 12.0 >= sc.tonic - 7) pitch -= 12.0;
                while (last - pitch > 9.0 && pitch + 12.0 <= sc.tonic + 17) pitch += 12.0;
            }
            double at = (bar * slotsPerBar + s) * slot;
            const double vel = s == 0 ? 0.9 : 0.75;
            if (ornaments && s % 2 == 0 && held >= 2.5 * slot && rng.chance(0.3)) {
                const double grace = std::min(0.07, slot * 0.3);
                lead.push_back({at, grace, degreePitch(sc, degree + 1) + (pitch - unfolded), vel * 0.7});
                lead.push_back({at + grace, held - grace, pitch, vel});
                continue;
            }
            lead.push_back({at, held, pitch, vel});
        }
    }
    return lead;
}

// Pad, bass, arpeggio and drums, bar by bar.
void composeAccompaniment(const Score& sc, Rng& rng, Parts& parts) {
    const double beat = 60.0 / sc.tempo, slot = beat / 2.0, barLen = beat * sc.meter;
    const int slotsPerBar = sc.meter * 2;
    auto chordOf = [&](int bar) { return sc.chords[static_cast<size_t>(bar) % sc.chords.size()] - 1; };
    static const int kArp4[][8] = {{0, 2, 4, 7, 4, 2, 4, 7}, {0, 4, 7, 4, 9, 4, 7, 4}, {0, 2, 4, 2, 7, 4, 2, 4}};
    static const int kArp3[][6] = {{0, 4, 7, 9, 7, 4}, {0, 2, 4, 7, 4, 2}, {0, 7, 4, 7, 2, 7}};
    const int arpPattern = rng.below(3);
    const char firstLetter = sc.form[0];
    const size_t other = sc.form.find_first_not_of(firstLetter);
    const char secondLetter = other == std::string::npos ? firstLetter : sc.form[other];

    for (int bar = 0; bar < sc.bars; ++bar) {
        const int root = chordOf(bar);
        const double t0 = bar * barLen;
        // Pad: the triad voiced an octave under the melody.
        for (int k = 0; k < 3; ++k) {
            double p = degreePitch(sc, root + 2 * k) - 12.0;
            while (p > sc.tonic - 2) p -= 12.0;
            while (p < sc.tonic - 17) p += 12.0;
            parts.pad.push_back({t0, barLen * 0.98, p, 0.5});
        }
        // Bass: root on the downbeat, the fifth halfway (4/4) or a lighter root on beat three (3/4).
        const double low = degreePitch(sc, root) - 24.0 + (degreePitch(sc, root) - 24.0 < sc.tonic - 31 ? 12.0 : 0.0);
        if (sc.bass == "drone") {
            if (bar % 2 == 0) parts.bass.push_back({t0, barLen * 2.0 - 0.1, degreePitch(sc, 0) - 24.0, 0.5});
        } else if (sc.meter == 4) {
            parts.bass.push_back({t0, beat * 1.9, low, 0.9});
            parts.bass.push_back({t0 + 2 * beat, beat * 1.9, degreePitch(sc, root + 4) - 24.0 - (root + 4 >= 7 ? 12.0 : 0.0), 0.7});
        } else {
            parts.bass.push_back({t0, beat * 1.9, low, 0.9});
            parts.bass.push_back({t0 + 2 * beat, beat * 0.9, low, 0.6});
        }
        // Arpeggio: eighths under the first phrase letter, another figure under the second,
        // quarters under the rest, so the sections of the form sound apart.
        const size_t phrase = static_cast<size_t>(bar / kPhraseBars);
        const char letter = phrase < sc.form.size() ? sc.form[phrase] : firstLetter;
        const int section = letter == firstLetter ? 0 : letter == secondLetter ? 1 : 2;
        const int pattern = (arpPattern + section) % 3;
        for (int s = 0; s < slotsPerBar; ++s) {
            if (section == 2 && s % 2 == 1) continue;
            const int step = sc.meter == 4 ? kArp4[pattern][s] : kArp3[pattern][s];
            const double p = degreePitch(sc, root + step) - 12.0;
            const double len = section == 2 ? slot * 2.5 : slot * 1.5;
            parts.arp.push_back({t0 + s * slot, len, p, s == 0 ? 0.7 : 0.5 + 0.1 * rng.uni()});
        }
        // Percussion; the last bar of every phrase ends in a short fill.
        const bool fillBar = bar % kPhraseBars == kPhraseBars - 1;
        for (int s = 0; s < slotsPerBar; ++s) {
            const double t = t0 + s * slot;
            const double jitter = 0.85 + 0.15 * rng.uni();
            if (sc.drums == "frame") {
                if (s == 0) parts.hits.push_back({t, "low", 1.0 * jitter});
                else if (fillBar && s >= slotsPerBar - 2) {
                    for (int k = 0; k < 2; ++k) parts.hits.push_back({t + k * slot / 2, "tap", (0.45 + 0.1 * k) * jitter});
                } else if (s == slotsPerBar / 2 && sc.meter == 4) parts.hits.push_back({t, "mid", 0.7 * jitter});
                else if (s % 2 == 1 && rng.chance(0.6)) parts.hits.push_back({t, "tap", 0.45 * jitter});
                else if (s % 2 == 0) parts.hits.push_back({t, "tap", 0.55 * jitter});
            } else if (sc.drums == "march") {
                if (s % 2 == 0) parts.hits.push_back({t, s == 0 ? "low" : "mid", (s == 0 ? 1.0 : 0.6) * jitter});
                if (s == slotsPerBar - 1 && (bar % 2 == 1 || fillBar)) {
                    const int strokes = fillBar ? 4 : 2;
                    for (int k = 0; k < strokes; ++k)
                        parts.hits.push_back({t + k * slot / strokes, "tap", (0.45 + 0.05 * k) * jitter});
                }
            } else if (sc.drums == "shaker") {
                parts.hits.push_back({t, "shake", (s % 2 == 0 ? 0.9 : 0.55) * jitter});
                if (s == 0 && bar % 2 == 0) parts.hits.push_back({t, "low", 0.6 * jitter});
                if (fillBar && s == slotsPerBar - 1) parts.hits.push_back({t, "mid", 0.5 * jitter});
            }
        }
    }
}

void place(Stereo& mix, Mono& send, const std::vector<Note>& notes, const std::string& kind, double gain,
           double pan, double sendGain, Rng& rng) {
    if (kind == "none") return;
    for (const Note& n : notes) {
        const Mono m = renderNote(kind, n.pitch, n.dur, n.vel, rng);
        const size_t at = secs(n.at);
        mixInto(mix, m, at, gain, pan);
        mixInto(send, m, at, gain * sendGain);
    }
}

}  // namespace

bool parseScore(const std::string& text, Score& sc, std::string& error) {
    std::istringstream in(text);
    std::string line;
    int pc = 2, octave = 4;
    std::string modeName = "dorian";
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::istringstream ls(line);
        std::string key;
        if (!(ls >> key)) continue;
        bool ok = true;
        if (key == "seed") ok = static_cast<bool>(ls >> sc.seed);
        else if (key == "tempo") ok = static_cast<bool>(ls >> sc.tempo) && sc.tempo >= 40 && sc.tempo <= 200;
        else if (key == "meter") ok = static_cast<bool>(ls >> sc.meter) && (sc.meter == 3 || sc.meter == 4);
        else if (key == "bars") ok = static_cast<bool>(ls >> sc.bars) && sc.bars > 0 && sc.bars <= 64;
        else if (key == "key") { std::string k; ok = (ls >> k) && parseKey(k, pc); }
        else if (key == "octave") ok = static_cast<bool>(ls >> octave) && octave >= 2 && octave <= 6;
        else if (key == "mode") ok = (ls >> modeName) && modes().count(modeName);
        else if (key == "chords") {
            sc.chords.clear();
            int d;
            while (ls >> d) { if (d < 1 || d > 7) ok = false; sc.chords.push_back(d); }
            ok = ok && !sc.chords.empty();
        } else if (key == "form") {
            sc.form.clear();
            std::string part;
            while (ls >> part) sc.form += part;
            ok = !sc.form.empty();
        } else if (key == "lead") ok = (ls >> sc.lead) && (sc.lead == "none" || isInstrument(sc.lead));
        else if (key == "arp") ok = (ls >> sc.arp) && (sc.arp == "none" || isInstrument(sc.arp));
        else if (key == "pad") ok = (ls >> sc.pad) && (sc.pad == "none" || isInstrument(sc.pad));
        else if (key == "bass") ok = (ls >> sc.bass) && (sc.bass == "none" || isInstrument(sc.bass));
        else if (key == "drums") ok = (ls >> sc.drums) && (sc.drums == "none" || sc.drums == "frame" || sc.drums == "march" || sc.drums == "shaker");
        else if (key == "density") ok = static_cast<bool>(ls >> sc.density) && sc.density >= 0 && sc.density <= 1;
        else if (key == "room") ok = static_cast<bool>(ls >> sc.room) && sc.room >= 0 && sc.room <= 1;
        else ok = false;
        if (!ok) {
            error = "line " + std::to_string(lineNo) + ": bad \"" + key + "\"";
            return false;
        }
    }
    sc.mode = modes().at(modeName);
    sc.tonic = 12 * (octave + 1) + pc;
    if (sc.chords.empty()) sc.chords = {1};
    const double len = sc.loopSeconds();
    if (len < 30.0 || len > 60.0) {
        error = "loop length " + std::to_string(len) + " s is outside 30 to 60 s";
        return false;
    }
    if (static_cast<int>(sc.form.size()) * 4 != sc.bars) {
        error = "the form's " + std::to_string(sc.form.size()) + " phrases of four bars do not fill " +
                std::to_string(sc.bars) + " bars";
        return false;
    }
    return true;
}

bool loadScore(const std::string& path, Score& score, std::string& error) {
    std::ifstream f(path);
    if (!f) { error = "cannot read the file"; return false; }
    std::stringstream ss;
    ss << f.rdbuf();
    return parseScore(ss.str(), score, error);
}

Stereo renderMusic(const Score& sc) {
    Parts parts;
    Rng composer(sc.seed);
    parts.lead = composeMelody(sc, composer);
    composeAccompaniment(sc, composer, parts);

    const size_t loopLen = secs(sc.loopSeconds());
    const size_t total = loopLen + secs(6.0);
    Stereo mix(total);
    Mono send(total, 0.0f);
    Rng rng(sc.seed * 31 + 7);

    place(mix, send, parts.lead, sc.lead, 0.55, 0.05, 0.35, rng);
    place(mix, send, parts.arp, sc.arp, 0.28, -0.35, 0.4, rng);
    place(mix, send, parts.bass, sc.bass, sc.bass == "drone" ? 0.22 : 0.45, 0.0, 0.1, rng);
    if (sc.pad != "none") {
        int k = 0;
        for (const Note& n : parts.pad) {
            const Mono m = renderNote(sc.pad, n.pitch, n.dur, n.vel, rng);
            const size_t at = secs(n.at);
            mixInto(mix, m, at, 0.16, (k++ % 3 - 1) * 0.5);
            mixInto(send, m, at, 0.16 * 0.6);
        }
    }
    for (const Hit& h : parts.hits) {
        const Mono m = renderHit(h.kind, h.vel, rng);
        mixInto(mix, m, secs(h.at), 0.35, h.kind == "shake" ? 0.4 : 0.1);
        mixInto(send, m, secs(h.at), 0.35 * 0.2);
    }

    const Stereo room = reverb(send, 0.85, 0.35);
    const double wet = 1.2 * sc.room;
    for (size_t i = 0; i < total; ++i) {
        mix.l[i] += static_cast<float>(room.l[i] * wet);
        mix.r[i] += static_cast<float>(room.r[i] * wet);
    }
    removeDc(mix.l);
    removeDc(mix.r);
    foldLoop(mix, loopLen);
    levelLoop(mix, -17.0, -2.5);
    return mix;
}

}  // namespace mvaudio
