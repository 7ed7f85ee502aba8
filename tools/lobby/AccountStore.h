// The lobby's accounts: e-mail address, the codes its devices log in with and the
// player name, kept in one text file that only the server may read. Codes are kept
// as salted hashes (libsodium's password hashing), never as typed. The file is
// rewritten whole on every change (a temporary file, flushed to disk, renamed over
// the old one), so a crash leaves either the old file or the new.
//
// A line: e-mail TAB codes TAB name, the codes being hash strings separated by
// spaces. A file of an older server holds one code in clear text instead; it is read
// as it stands and hashed at the next save.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "LobbyText.h"

struct Account {
  std::string email;               // normalised (lower case)
  std::vector<std::string> codes;  // hashed (or clear, as read from an older file), newest first
  std::string name;                // empty until the player chose one
};

class AccountStore {
 public:
  // The codes kept per account: one per device that logged in by mail, newest first.
  static constexpr size_t kMaxCodes = 4;

  // path empty: accounts live in memory only.
  explicit AccountStore(std::string path = "");

  // Reads the file; a missing file is an empty store, an unreadable one a failure
  // (so that no save overwrites it). The file is made readable by the server alone.
  bool load();
  // Reads accounts from the text of an account file. Lines that cannot be used are
  // logged and skipped; a name that is no longer allowed is logged and cleared, so
  // the player chooses another and keeps the account.
  void loadText(const std::string& text);
  // Writes the file, hashing any code still in clear text first.
  bool save();

  const Account* find(const std::string& email) const;
  // Whether `code` is one of the account's codes.
  bool checkCode(const std::string& email, const std::string& code) const;
  // Adds the code to the account, made when new; the oldest beyond kMaxCodes goes.
  // Saves; when the save fails nothing changes and the result is false.
  bool addCode(const std::string& email, const std::string& code);
  // Sets the name and saves; when the save fails nothing changes.
  bool setName(const std::string& email, const std::string& name);
  // Whether another account than `email` already uses the name (letter case ignored).
  bool nameTaken(const std::string& name, const std::string& email) const;
  size_t size() const { return accounts_.size(); }

  // Whether a stored code is a hash (rather than clear text from an older file).
  static bool isHash(const std::string& stored);

 private:
  // Replaces (or with `before` null, removes) the account if the save fails.
  bool commit(const std::string& email, const Account* before);

  std::string path_;
  std::map<std::string, Account> accounts_;
};
