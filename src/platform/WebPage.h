#pragma once

#include <string>

namespace mv {

// True for addresses the game may hand to the browser: http:// and https:// only, without
// control characters.
bool isWebAddress(const std::string& url);

// Opens the address in the desktop's browser (xdg-open, started directly, no shell).
// False when the address is refused or the browser cannot be started.
bool openWebPage(const std::string& url);

}  // namespace mv
