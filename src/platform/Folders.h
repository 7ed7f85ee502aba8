// Where the game keeps per-user files: the engine's data folder, named for this game.
#pragma once

#include <string>

namespace mv {

// The folder names of the game's per-user data ("<data home>/Brindlecor/Mirrowvale/").
extern const char* const kOrganisationFolder;
extern const char* const kApplicationFolder;

// The per-user data folder, ending in "/": the engine's writeable path (which decides it
// for settings as well), under the game's own folder names.
std::string dataFolder();

// "log/" inside the data folder, created when missing; ends in "/".
std::string logFolder();

}  // namespace mv
