#include "AccountStore.h"

#include <fcntl.h>
#include <sodium.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "logog/logog.hpp"

namespace {

// Argon2id at a cost of about a millisecond: the lobby checks codes on its one
// thread, between relaying moves. The parameters travel inside each hash, so they
// may rise later.
constexpr unsigned long long kHashOps = 2;
constexpr size_t kHashMemory = 1024 * 1024;
constexpr const char* kHashPrefix = "$argon2";

std::string hashCode(const std::string& code) {
  char out[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(out, code.data(), code.size(), kHashOps, kHashMemory) != 0) return "";
  return out;
}

// A stored hash that libsodium can check against.
bool wellFormedHash(const std::string& stored) {
  return stored.size() < crypto_pwhash_STRBYTES && stored.find('\0') == std::string::npos &&
         crypto_pwhash_str_needs_rehash(stored.c_str(), kHashOps, kHashMemory) != -1;
}

bool matches(const std::string& stored, const std::string& code) {
  if (AccountStore::isHash(stored))
    return crypto_pwhash_str_verify(stored.c_str(), code.data(), code.size()) == 0;
  // Clear text from an older file, compared without an early exit.
  return stored.size() == code.size() && sodium_memcmp(stored.data(), code.data(), code.size()) == 0;
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

std::string folderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, const std::string& data) {
  size_t done = 0;
  while (done < data.size()) {
    ssize_t n = write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

AccountStore::AccountStore(std::string path) : path_(std::move(path)) {
  if (sodium_init() < 0) LOGOG_ERROR("the hashing library cannot start; no account can be saved");
}

bool AccountStore::isHash(const std::string& stored) { return stored.rfind(kHashPrefix, 0) == 0; }

bool AccountStore::load() {
  accounts_.clear();
  if (path_.empty()) return true;
  int fd = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return true;  // no file yet
    LOGOG_ERROR("cannot read accounts from %s: %s", path_.c_str(), std::strerror(errno));
    return false;
  }
  struct stat st {};
  if (fstat(fd, &st) == 0 && (st.st_mode & 077) != 0) {
    LOGOG_WARN("accounts file %s was readable by others; now by the server alone", path_.c_str());
    if (fchmod(fd, 0600) != 0) LOGOG_ERROR("cannot restrict %s: %s", path_.c_str(), std::strerror(errno));
  }
  std::string text;
  char buf[65536];
  ssize_t n = 0;
  while ((n = read(fd, buf, sizeof buf)) > 0 || (n < 0 && errno == EINTR))
    if (n > 0) text.append(buf, static_cast<size_t>(n));
  bool readAll = n == 0;
  close(fd);
  if (!readAll) {
    LOGOG_ERROR("reading accounts from %s failed", path_.c_str());
    return false;
  }
  loadText(text);
  return true;
}

void AccountStore::loadText(const std::string& text) {
  accounts_.clear();
  const char* source = path_.empty() ? "accounts" : path_.c_str();
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
    a.email = fields[0];
    if (a.email.empty() || lobbytext::normaliseEmail(a.email) != a.email) {
      LOGOG_WARN("%s line %d has an unusable address; its account is not loaded", source, lineNo);
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
      a.codes.push_back(fields[1]);  // an older file's clear code, every byte of it
    }
    if (fields.size() > 2) a.name = fields[2];
    if (!a.name.empty() && lobbytext::cleanName(a.name) != a.name) {
      LOGOG_WARN("%s line %d has a name no longer allowed; the player will choose another", source, lineNo);
      a.name.clear();
    }
    if (accounts_.count(a.email))
      LOGOG_WARN("%s line %d repeats the account %s; the later line holds", source, lineNo, a.email.c_str());
    accounts_[a.email] = a;
  }
}

bool AccountStore::save() {
  if (path_.empty()) return true;
  size_t hashed = 0;
  for (auto& entry : accounts_) {
    for (std::string& code : entry.second.codes) {
      if (isHash(code)) continue;
      std::string h = hashCode(code);
      if (h.empty()) {
        LOGOG_ERROR("hashing a code failed; accounts not saved to %s", path_.c_str());
        return false;
      }
      code = h;
      ++hashed;
    }
  }
  if (hashed) LOGOG_INFO("%zu codes kept in clear text are now hashed", hashed);

  std::string data;
  for (const auto& entry : accounts_) {
    const Account& a = entry.second;
    data += a.email;
    data += '\t';
    for (size_t i = 0; i < a.codes.size(); ++i) {
      if (i) data += ' ';
      data += a.codes[i];
    }
    data += '\t';
    data += a.name;
    data += '\n';
  }
  std::string tmp = path_ + ".tmp";
  int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) {
    LOGOG_ERROR("cannot write accounts to %s: %s", tmp.c_str(), std::strerror(errno));
    return false;
  }
  // Only the server reads the file, whatever the umask or an older temporary file said.
  bool ok = fchmod(fd, 0600) == 0 && writeAll(fd, data) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (!ok || std::rename(tmp.c_str(), path_.c_str()) != 0) {
    LOGOG_ERROR("saving accounts to %s failed: %s", path_.c_str(), std::strerror(errno));
    std::remove(tmp.c_str());
    return false;
  }
  // The rename itself reaches the disk with the folder.
  int dir = open(folderOf(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return true;
}

const Account* AccountStore::find(const std::string& email) const {
  auto it = accounts_.find(email);
  return it == accounts_.end() ? nullptr : &it->second;
}

bool AccountStore::checkCode(const std::string& email, const std::string& code) const {
  const Account* a = find(email);
  if (!a || code.empty()) return false;
  for (const std::string& stored : a->codes)
    if (matches(stored, code)) return true;
  return false;
}

bool AccountStore::commit(const std::string& email, const Account* before) {
  if (save()) return true;
  if (before)
    accounts_[email] = *before;
  else
    accounts_.erase(email);
  return false;
}

bool AccountStore::addCode(const std::string& email, const std::string& code) {
  if (email.empty() || code.empty()) return false;
  if (checkCode(email, code)) return true;
  std::string h = hashCode(code);
  if (h.empty()) {
    LOGOG_ERROR("hashing a code failed; the code of %s is not kept", email.c_str());
    return false;
  }
  auto it = accounts_.find(email);
  bool existed = it != accounts_.end();
  Account before = existed ? it->second : Account{};
  Account& a = accounts_[email];
  a.email = email;
  a.codes.insert(a.codes.begin(), h);
  if (a.codes.size() > kMaxCodes) a.codes.resize(kMaxCodes);
  return commit(email, existed ? &before : nullptr);
}

bool AccountStore::setName(const std::string& email, const std::string& name) {
  auto it = accounts_.find(email);
  if (it == accounts_.end()) return false;
  Account before = it->second;
  it->second.name = name;
  return commit(email, &before);
}

bool AccountStore::nameTaken(const std::string& name, const std::string& email) const {
  std::string key = lobbytext::lowerAscii(name);
  for (const auto& entry : accounts_)
    if (entry.first != email && lobbytext::lowerAscii(entry.second.name) == key) return true;
  return false;
}
