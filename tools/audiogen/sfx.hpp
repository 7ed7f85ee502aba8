// The game's sound effects, rendered by name.
#pragma once

#include <string>

#include "dsp.hpp"

namespace mvaudio {

// Renders one sound (mono, 44.1 kHz); false for an unknown name.
bool renderSound(const std::string& name, Mono& out);

}  // namespace mvaudio
