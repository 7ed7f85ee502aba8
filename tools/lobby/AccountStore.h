// The lobby's accounts: e-mail address, login code and player name, kept in one
// text file that is rewritten whole (temporary file, then rename) on every change,
// so a crash leaves either the old or the new file.
#pragma once

#include <map>
#include <string>

struct Account {
  std::string email;  // normalised (lower case)
  std::string code;
  std::string name;   // empty until the player chose one
};

class AccountStore {
 public:
  // path empty: accounts live in memory only.
  explicit AccountStore(std::string path = "");

  // Reads the file; a missing file is an empty store. Malformed lines are logged and skipped.
  bool load();
  bool save() const;

  const Account* find(const std::string& email) const;
  // Adds or replaces the account and saves.
  bool put(const Account& account);
  // Whether another account than `email` already uses the name (letter case ignored).
  bool nameTaken(const std::string& name, const std::string& email) const;
  size_t size() const { return accounts_.size(); }

 private:
  std::string path_;
  std::map<std::string, Account> accounts_;
};

// Checks of user input, shared by the server and its tests.
namespace lobbytext {
// Trimmed and lower-cased; empty when the address is not plausible.
std::string normaliseEmail(const std::string& text);
// Trimmed; empty when the name is unusable (length, control characters, bad UTF-8).
std::string cleanName(const std::string& text);
std::string lowerAscii(std::string text);
bool validUtf8(const std::string& text);
}  // namespace lobbytext
