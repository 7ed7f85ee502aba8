// The lobby's accounts: e-mail address, the codes its devices log in with and the
// player name, one row each in an SQLite database that only the server may read
// (write-ahead log, every commit synced). Codes are kept as salted hashes
// (libsodium's password hashing), never as typed. Names are unique by what they
// look like: a stored key (lobbytext::nameKey) with a unique index refuses a name
// that could be taken for another.
//
// One store is one connection, for one thread at a time; several stores may open
// the same file (readers beside the one writer).
//
// An account file of an older server (lines of e-mail TAB codes TAB name, the codes
// hash strings separated by spaces, or one code in clear text) is imported once.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "LobbyText.h"

struct sqlite3;

struct Account {
  std::string email;               // normalised (lower case)
  std::vector<std::string> codes;  // hashed, newest first
  std::string name;                // empty until the player chose one
};

enum class NameClaim { Set, Taken, Failed };

class AccountStore {
 public:
  // The codes kept per account: one per device that logged in by mail, newest first.
  static constexpr size_t kMaxCodes = 4;

  // path empty: accounts live in memory only (one connection, open at once).
  explicit AccountStore(std::string path = "");
  ~AccountStore();
  AccountStore(const AccountStore&) = delete;
  AccountStore& operator=(const AccountStore&) = delete;

  // Opens the database, made when new and readable by the server alone; names keyed
  // the older way are keyed anew first. False when it cannot be opened or is damaged;
  // the store then refuses every change.
  bool load();
  // Imports the older account file at `textPath` once, in one transaction: accounts
  // already stored stay as they are. The file is then kept beside as
  // `textPath`.imported (with every code hashed). A missing file imports nothing.
  bool importFile(const std::string& textPath);
  // Imports accounts from the text of an account file. Lines that cannot be used are
  // logged and skipped; a name no longer allowed or taken by a look-alike is logged
  // and cleared, so the player chooses another and keeps the account. An address is
  // stored as a login spells it; of two spellings of one address the first line holds.
  bool loadText(const std::string& text);

  std::optional<Account> find(const std::string& email) const;
  // Whether `code` is one of the account's codes (hashing work: milliseconds).
  bool checkCode(const std::string& email, const std::string& code) const;
  // Adds the code to the account, made when new, unless it is one of its codes
  // already; the oldest beyond kMaxCodes goes. False when it could not be stored.
  bool addCode(const std::string& email, const std::string& code);
  // addCode with the hash made already.
  bool addHash(const std::string& email, const std::string& hash);
  // Sets the name unless another account holds a name that looks the same.
  NameClaim setName(const std::string& email, const std::string& name);
  // Whether another account than `email` holds a name that looks like this one.
  bool nameTaken(const std::string& name, const std::string& email) const;
  size_t size() const;

  // A group of changes made durable together by one commit (the writer's batches).
  bool begin();
  bool commit();
  void rollback();
  // The database's own check of its structure.
  bool intact() const;

  static bool isHash(const std::string& stored);
  // The salted hash of a code; empty when hashing failed.
  static std::string hashCode(const std::string& code);
  static bool matches(const std::string& stored, const std::string& code);

 private:
  bool exec(const char* sql) const;
  // The kind of name key stored (-1 unknown); rekeyNames brings an older one up to date
  // in one transaction, clearing the name of a later account that now looks like another's.
  long long keyKind() const;
  bool rekeyNames();
  bool writeCodes(const std::string& email, const std::vector<std::string>& codes);
  bool importAccount(const Account& a, const char* source, int lineNo);

  std::string path_;
  sqlite3* db_ = nullptr;
};
