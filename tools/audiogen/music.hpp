// Music loops: a small score description turned into a seamless stereo loop.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dsp.hpp"

namespace mvaudio {

// One track, read from a text file of "key value" lines ('#' starts a comment):
//   seed 7            tempo 84         meter 4 (beats a bar, 3 or 4)    bars 16
//   key D             mode dorian      octave 4 (the lead's tonic octave)
//   chords 1 7 6 7    (scale degrees, one a bar, repeated over the bars)
//   form A A B A      (melody phrases of four bars each)
//   lead flute|pluck|bell|reed|none    arp harp|lute|none    pad strings|organ|choir|none
//   bass lute|soft|drone|none          drums frame|march|shaker|none
//   density 0.6 (how busy the melody is)   room 0.3 (reverb level)
struct Score {
    uint64_t seed = 1;
    double tempo = 90.0;
    int meter = 4;
    int bars = 16;
    int tonic = 62;  // MIDI note of the lead's tonic
    std::vector<int> mode;   // semitone steps of the scale from the tonic
    std::vector<int> chords; // scale degrees, 1-based
    std::string form = "AABA";
    std::string lead = "flute", arp = "harp", pad = "strings", bass = "lute", drums = "frame";
    double density = 0.6;
    double room = 0.3;

    double loopSeconds() const { return bars * meter * 60.0 / tempo; }
};

// Reads and checks a score; on failure `error` says why.
bool loadScore(const std::string& path, Score& score, std::string& error);
bool parseScore(const std::string& text, Score& score, std::string& error);

// Renders the loop: exactly loopSeconds long, its end running into its start.
Stereo renderMusic(const Score& score);

}  // namespace mvaudio
