// Where the game finds its data and keeps per-user files.
#pragma once

#include <string>

namespace mv {

// The folder of the running executable, ending in "/"; empty when it cannot be read.
std::string executableFolder();

// The per-user data folder "$XDG_DATA_HOME/Brindlecor/Mirrowvale/" (by default under
// "~/.local/share"), created with mode 0700 when missing; ends in "/". Without a home
// folder the executable folder serves instead.
std::string dataFolder();

// "log/" inside the data folder, created when missing; ends in "/".
std::string logFolder();

// Creates a folder and every missing parent with the given mode. True when the folder
// exists afterwards.
bool makeFolders(const std::string& path, unsigned mode);

// Deletes a file; a failure (for example a missing file) is ignored.
void removeFile(const std::string& path);

}  // namespace mv
