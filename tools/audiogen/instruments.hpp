// The music's instruments: each renders one note as a mono buffer starting at its onset.
#pragma once

#include <string>

#include "dsp.hpp"

namespace mvaudio {

// `kind` names the instrument (flute, reed, pluck, lute, harp, bell, strings, organ, choir,
// soft, drone); `dur` is the held length in seconds, the result includes the release.
Mono renderNote(const std::string& kind, double midi, double dur, double velocity, Rng& rng);

// Percussion: "low", "mid", "tap" (frame drum strokes) and "shake".
Mono renderHit(const std::string& kind, double velocity, Rng& rng);

bool isInstrument(const std::string& kind);

}  // namespace mvaudio
