// Checks of what players type (addresses, names), shared by the server, the account
// file and their tests.
#pragma once

#include <cstdint>
#include <string>

namespace lobbytext {
// Trimmed and lower-cased; empty when the address is not plausible.
std::string normaliseEmail(const std::string& text);
// Trimmed and in composed form (NFC); empty when the name is unusable: too long,
// not well-formed UTF-8, or holding a control, format or separator character or a
// noncharacter.
std::string cleanName(const std::string& text);
// What a name looks like, letter case, combining marks and invisible characters
// aside: two names with one key can be taken for each other (Unicode's confusable
// skeleton of the case-folded name without marks). Empty when the name cannot be
// keyed. Stored keys follow this: AccountStore rekeys a database of an older kind.
std::string nameKey(const std::string& name);
std::string lowerAscii(std::string text);
// Well-formed UTF-8: shortest forms only, no surrogates, nothing above U+10FFFF.
bool validUtf8(const std::string& text);
}  // namespace lobbytext
