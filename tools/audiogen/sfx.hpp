// The game's sound effects, rendered by name.
#pragma once

#include <string>
#include <vector>

#include "dsp.hpp"

namespace mvaudio {

struct SoundInfo {
    const char* name;  // file name without extension
    bool loop;         // played looping: the end must run into the start without a click
};

// Every sound the game loads from "sounds/", in a fixed order.
const std::vector<SoundInfo>& soundTable();

// Renders one sound (mono, 44.1 kHz); false for an unknown name.
bool renderSound(const std::string& name, Mono& out);

}  // namespace mvaudio
