#include "AccountStore.h"

#include <fcntl.h>
#include <sodium.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>

#include "logog/logog.hpp"

namespace {

// Argon2id at a cost of about a millisecond. The parameters travel inside each
// hash, so they may rise later.
constexpr unsigned long long kHashOps = 2;
constexpr size_t kHashMemory = 1024 * 1024;
constexpr const char* kHashPrefix = "$argon2";
constexpr int kBusyMs = 2000;  // a reader's checkpoint or a second server in the way

// A stored hash that libsodium can check against.
bool wellFormedHash(const std::string& stored) {
  return stored.size() < crypto_pwhash_STRBYTES && stored.find('\0') == std::string::npos &&
         crypto_pwhash_str_needs_rehash(stored.c_str(), kHashOps, kHashMemory) != -1;
}

std::vector<std::string> split(const std::string& text, char sep) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    size_t end = text.find(sep, start);
    out.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return out;
    start = end + 1;
  }
}

std::string join(const std::vector<std::string>& parts, char sep) {
  std::string out;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) out += sep;
    out += parts[i];
  }
  return out;
}

// One prepared statement, finalised with the scope.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) : db_(db) {
    if (db && sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) {
      LOGOG_ERROR("account database: %s", sqlite3_errmsg(db));
      stmt_ = nullptr;
    }
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool ok() const { return stmt_ != nullptr; }
  Statement& bind(int i, const std::string& text) {
    if (stmt_) sqlite3_bind_text(stmt_, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    return *this;
  }
  Statement& bind(int i, long long number) {
    if (stmt_) sqlite3_bind_int64(stmt_, i, number);
    return *this;
  }
  Statement& bindNull(int i) {
    if (stmt_) sqlite3_bind_null(stmt_, i);
    return *this;
  }
  // SQLITE_ROW, SQLITE_DONE or an error code.
  int step() { return stmt_ ? sqlite3_step(stmt_) : SQLITE_MISUSE; }
  std::string text(int column) const {
    const unsigned char* t = sqlite3_column_text(stmt_, column);
    return t ? std::string(reinterpret_cast<const char*>(t), static_cast<size_t>(sqlite3_column_bytes(stmt_, column)))
             : std::string();
  }
  long long number(int column) const { return sqlite3_column_int64(stmt_, column); }
  const char* error() const { return sqlite3_errmsg(db_); }

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

// The file made (or kept) readable by the server alone before SQLite opens it; its
// log and index files take the same mode.
bool restrictFile(const std::string& path) {
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) {
    LOGOG_ERROR("cannot open the account database %s: %s", path.c_str(), std::strerror(errno));
    return false;
  }
  struct stat st {};
  if (fstat(fd, &st) == 0 && (st.st_mode & 077) != 0) {
    LOGOG_WARN("account database %s was readable by others; now by the server alone", path.c_str());
    if (fchmod(fd, 0600) != 0) LOGOG_ERROR("cannot restrict %s: %s", path.c_str(), std::strerror(errno));
  }
  close(fd);
  return true;
}

bool writeFileDurably(const std::string& path, const std::string& data) {
  std::string tmp = path + ".tmp";
  int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  bool ok = fchmod(fd, 0600) == 0;
  size_t done = 0;
  while (ok && done < data.size()) {
    ssize_t n = write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<size_t>(n);
  }
  ok = ok && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (!ok || std::rename(tmp.c_str(), path.c_str()) != 0) {
    std::remove(tmp.c_str());
    return false;
  }
  return true;
}

const char* kSchema =
    "CREATE TABLE IF NOT EXISTS accounts ("
    "  email TEXT PRIMARY KEY NOT NULL,"
    "  codes TEXT NOT NULL,"           // hashes, newest first, separated by spaces
    "  name TEXT NOT NULL DEFAULT '',"
    "  name_key TEXT);"                // what the name looks like; NULL without a name
    "CREATE UNIQUE INDEX IF NOT EXISTS accounts_name_key ON accounts(name_key);";

// The kind of name key the database holds (its user_version): 0 kept combining marks.
constexpr long long kNameKeyKind = 1;

}  // namespace

AccountStore::AccountStore(std::string path) : path_(std::move(path)) {
  if (sodium_init() < 0) LOGOG_ERROR("the hashing library cannot start; no account can be saved");
  if (path_.empty()) load();  // nothing to wait for
}

AccountStore::~AccountStore() { sqlite3_close_v2(db_); }

bool AccountStore::isHash(const std::string& stored) { return stored.rfind(kHashPrefix, 0) == 0; }

std::string AccountStore::hashCode(const std::string& code) {
  char out[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(out, code.data(), code.size(), kHashOps, kHashMemory) != 0) return "";
  return out;
}

bool AccountStore::matches(const std::string& stored, const std::string& code) {
  return isHash(stored) && stored.find('\0') == std::string::npos &&
         crypto_pwhash_str_verify(stored.c_str(), code.data(), code.size()) == 0;
}

bool AccountStore::exec(const char* sql) const {
  char* error = nullptr;
  if (!db_ || sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    LOGOG_ERROR("account database: %s", error ? error : "not open");
    sqlite3_free(error);
    return false;
  }
  return true;
}

bool AccountStore::load() {
  sqlite3_close_v2(db_);
  db_ = nullptr;
  std::string where = path_.empty() ? ":memory:" : path_;
  if (!path_.empty() && !restrictFile(path_)) return false;
  if (sqlite3_open_v2(where.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                      nullptr) != SQLITE_OK) {
    LOGOG_ERROR("cannot open the account database %s: %s", where.c_str(), db_ ? sqlite3_errmsg(db_) : "no memory");
    sqlite3_close_v2(db_);
    db_ = nullptr;
    return false;
  }
  sqlite3_busy_timeout(db_, kBusyMs);
  // Write-ahead log, synced at every commit: what a commit confirmed survives a crash
  // of the server and of the machine.
  bool ok = (path_.empty() || exec("PRAGMA journal_mode=WAL")) && exec("PRAGMA synchronous=FULL") &&
            exec(kSchema) && intact() && (keyKind() >= kNameKeyKind || rekeyNames());
  if (!ok) {
    LOGOG_ERROR("the account database %s cannot be used", where.c_str());
    sqlite3_close_v2(db_);
    db_ = nullptr;
  }
  return ok;
}

bool AccountStore::intact() const {
  Statement s(db_, "PRAGMA quick_check");
  return s.step() == SQLITE_ROW && s.text(0) == "ok";
}

long long AccountStore::keyKind() const {
  Statement s(db_, "PRAGMA user_version");
  return s.step() == SQLITE_ROW ? s.number(0) : -1;
}

bool AccountStore::rekeyNames() {
  if (!begin()) return false;
  if (keyKind() >= kNameKeyKind) return commit();  // another store was first
  struct Named {
    long long row;
    std::string email, name, key;
  };
  std::vector<Named> named;
  {
    Statement rows(db_, "SELECT rowid, email, name FROM accounts WHERE name <> '' ORDER BY rowid");
    int r = SQLITE_ROW;
    while ((r = rows.step()) == SQLITE_ROW) {
      Named n{rows.number(0), rows.text(1), rows.text(2), ""};
      n.key = lobbytext::nameKey(n.name);
      if (n.key.empty()) {
        LOGOG_ERROR("the name of %s cannot be keyed; the account database is left as it was", n.email.c_str());
        rollback();
        return false;
      }
      named.push_back(std::move(n));
    }
    if (r != SQLITE_DONE) {
      rollback();
      return false;
    }
  }
  // The account stored first keeps a name that now looks like another's.
  bool ok = exec("UPDATE accounts SET name_key = NULL");
  for (const Named& n : named) {
    if (!ok) break;
    Statement s(db_, "UPDATE accounts SET name_key = ?2 WHERE rowid = ?1");
    s.bind(1, n.row).bind(2, n.key);
    int r = s.step();
    if (r == SQLITE_CONSTRAINT) {
      LOGOG_WARN("the name of %s looks like an older account's now; the player will choose another",
                 n.email.c_str());
      Statement clear(db_, "UPDATE accounts SET name = '' WHERE rowid = ?1");
      r = clear.bind(1, n.row).step();
    }
    ok = r == SQLITE_DONE;
  }
  char version[64];
  std::snprintf(version, sizeof version, "PRAGMA user_version = %lld", kNameKeyKind);
  if (!ok || !exec(version) || !commit()) {
    LOGOG_ERROR("the names of the account database could not be keyed anew");
    rollback();
    return false;
  }
  if (!named.empty()) LOGOG_INFO("the account database's %zu names were keyed anew", named.size());
  return true;
}

bool AccountStore::begin() { return exec("BEGIN IMMEDIATE"); }
bool AccountStore::commit() {
  if (exec("COMMIT")) return true;
  rollback();
  return false;
}
void AccountStore::rollback() {
  if (db_ && !sqlite3_get_autocommit(db_)) exec("ROLLBACK");
}

size_t AccountStore::size() const {
  Statement s(db_, "SELECT count(*) FROM accounts");
  return s.step() == SQLITE_ROW ? static_cast<size_t>(s.number(0)) : 0;
}

std::optional<Account> AccountStore::find(const std::string& email) const {
  Statement s(db_, "SELECT codes, name FROM accounts WHERE email = ?1");
  if (s.bind(1, email).step() != SQLITE_ROW) return std::nullopt;
  Account a;
  a.email = email;
  a.codes = split(s.text(0), ' ');
  a.name = s.text(1);
  return a;
}

bool AccountStore::checkCode(const std::string& email, const std::string& code) const {
  std::optional<Account> a = find(email);
  if (!a || code.empty()) return false;
  for (const std::string& stored : a->codes)
    if (matches(stored, code)) return true;
  return false;
}

bool AccountStore::writeCodes(const std::string& email, const std::vector<std::string>& codes) {
  Statement s(db_,
              "INSERT INTO accounts (email, codes) VALUES (?1, ?2) "
              "ON CONFLICT (email) DO UPDATE SET codes = excluded.codes");
  int r = s.bind(1, email).bind(2, join(codes, ' ')).step();
  if (r != SQLITE_DONE) LOGOG_ERROR("storing the codes of %s failed: %s", email.c_str(), s.error());
  return r == SQLITE_DONE;
}

bool AccountStore::addCode(const std::string& email, const std::string& code) {
  if (email.empty() || code.empty()) return false;
  if (checkCode(email, code)) return true;
  std::string h = hashCode(code);
  if (h.empty()) {
    LOGOG_ERROR("hashing a code failed; the code of %s is not kept", email.c_str());
    return false;
  }
  return addHash(email, h);
}

bool AccountStore::addHash(const std::string& email, const std::string& hash) {
  if (email.empty() || !isHash(hash)) return false;
  std::optional<Account> a = find(email);
  std::vector<std::string> codes = a ? a->codes : std::vector<std::string>{};
  codes.insert(codes.begin(), hash);
  if (codes.size() > kMaxCodes) codes.resize(kMaxCodes);
  return writeCodes(email, codes);
}

NameClaim AccountStore::setName(const std::string& email, const std::string& name) {
  std::string key = lobbytext::nameKey(name);
  if (key.empty()) return NameClaim::Taken;
  Statement s(db_, "UPDATE accounts SET name = ?2, name_key = ?3 WHERE email = ?1");
  int r = s.bind(1, email).bind(2, name).bind(3, key).step();
  if (r == SQLITE_CONSTRAINT) return NameClaim::Taken;
  if (r != SQLITE_DONE) {
    LOGOG_ERROR("storing the name of %s failed: %s", email.c_str(), s.error());
    return NameClaim::Failed;
  }
  return sqlite3_changes(db_) == 1 ? NameClaim::Set : NameClaim::Failed;
}

bool AccountStore::nameTaken(const std::string& name, const std::string& email) const {
  Statement s(db_, "SELECT 1 FROM accounts WHERE name_key = ?1 AND email <> ?2");
  return s.bind(1, lobbytext::nameKey(name)).bind(2, email).step() == SQLITE_ROW;
}

bool AccountStore::importAccount(const Account& a, const char* source, int lineNo) {
  if (find(a.email)) return true;  // stored already: the database holds
  Statement s(db_, "INSERT INTO accounts (email, codes, name, name_key) VALUES (?1, ?2, ?3, ?4)");
  std::string key = a.name.empty() ? "" : lobbytext::nameKey(a.name);
  s.bind(1, a.email).bind(2, join(a.codes, ' ')).bind(3, key.empty() ? "" : a.name);
  if (key.empty())
    s.bindNull(4);
  else
    s.bind(4, key);
  int r = s.step();
  if (r == SQLITE_CONSTRAINT && !key.empty()) {
    LOGOG_WARN("%s line %d has a name that looks like another's; the player will choose another", source, lineNo);
    Account nameless = a;
    nameless.name.clear();
    return importAccount(nameless, source, lineNo);
  }
  if (r != SQLITE_DONE) LOGOG_ERROR("%s line %d could not be stored: %s", source, lineNo, s.error());
  return r == SQLITE_DONE;
}

bool AccountStore::loadText(const std::string& text) {
  const char* source = "accounts";
  // Parsed first, then stored at once. The address is stored as a login spells it;
  // the later line of an address written alike holds, the first of two spellings.
  struct Parsed {
    Account account;
    int lineNo;
    std::string written;
  };
  std::map<std::string, Parsed> parsed;
  std::vector<std::string> lines = split(text, '\n');
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string line = lines[i];
    int lineNo = static_cast<int>(i) + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    std::vector<std::string> fields = split(line, '\t');
    if (fields.size() < 2 || fields[1].empty()) {
      LOGOG_WARN("%s line %d is malformed; its account is not loaded", source, lineNo);
      continue;
    }
    Account a;
    a.email = lobbytext::normaliseEmail(fields[0]);
    if (a.email.empty()) {
      LOGOG_WARN("%s line %d has an unusable address; its account is not loaded", source, lineNo);
      continue;
    }
    auto earlier = parsed.find(a.email);
    if (earlier != parsed.end() && earlier->second.written != fields[0]) {
      LOGOG_WARN("%s line %d spells the address of line %d otherwise (%s); line %d holds", source, lineNo,
                 earlier->second.lineNo, a.email.c_str(), earlier->second.lineNo);
      continue;
    }
    if (isHash(fields[1])) {
      a.codes = split(fields[1], ' ');
      bool usable = a.codes.size() <= kMaxCodes;
      for (const std::string& h : a.codes) usable = usable && wellFormedHash(h);
      if (!usable) {
        LOGOG_WARN("%s line %d has damaged codes; its account is not loaded", source, lineNo);
        continue;
      }
    } else {
      // An older file's clear code, every byte of it, stored only as a hash.
      std::string h = hashCode(fields[1]);
      if (h.empty()) {
        LOGOG_ERROR("%s line %d: hashing its code failed; its account is not loaded", source, lineNo);
        continue;
      }
      a.codes.push_back(h);
    }
    if (fields.size() > 2) a.name = fields[2];
    if (!a.name.empty() && lobbytext::cleanName(a.name) != a.name) {
      LOGOG_WARN("%s line %d has a name no longer allowed; the player will choose another", source, lineNo);
      a.name.clear();
    }
    if (earlier != parsed.end())
      LOGOG_WARN("%s line %d repeats the account %s; the later line holds", source, lineNo, a.email.c_str());
    parsed[a.email] = {a, lineNo, fields[0]};
  }
  if (!begin()) return false;
  for (const auto& entry : parsed)
    if (!importAccount(entry.second.account, source, entry.second.lineNo)) {
      rollback();
      return false;
    }
  return commit();
}

bool AccountStore::importFile(const std::string& textPath) {
  int fd = open(textPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return true;  // nothing to import
    LOGOG_ERROR("cannot read the account file %s: %s", textPath.c_str(), std::strerror(errno));
    return false;
  }
  std::string text;
  char buf[65536];
  ssize_t n = 0;
  while ((n = read(fd, buf, sizeof buf)) > 0 || (n < 0 && errno == EINTR))
    if (n > 0) text.append(buf, static_cast<size_t>(n));
  close(fd);
  if (n != 0) {
    LOGOG_ERROR("reading the account file %s failed", textPath.c_str());
    return false;
  }
  size_t before = size();
  if (!loadText(text)) {
    LOGOG_ERROR("importing %s failed; it stays where it is", textPath.c_str());
    return false;
  }
  LOGOG_INFO("imported %zu accounts from %s", size() - before, textPath.c_str());
  // The backup holds what was imported, every code hashed; the file goes once the
  // backup is on disk, so a crash in between imports it again, harmlessly.
  Statement rows(db_, "SELECT email, codes, name FROM accounts ORDER BY email");
  std::string backup;
  while (rows.step() == SQLITE_ROW) backup += rows.text(0) + '\t' + rows.text(1) + '\t' + rows.text(2) + '\n';
  std::string backupPath = textPath + ".imported";
  if (!writeFileDurably(backupPath, backup) || std::remove(textPath.c_str()) != 0) {
    LOGOG_ERROR("cannot move %s aside to %s: %s", textPath.c_str(), backupPath.c_str(), std::strerror(errno));
    return false;
  }
  return true;
}
