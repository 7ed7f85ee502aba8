#include "AccountStore.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "logog/logog.hpp"

namespace lobbytext {

namespace {
std::string trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t\r\n");
  if (a == std::string::npos) return "";
  size_t b = s.find_last_not_of(" \t\r\n");
  return s.substr(a, b - a + 1);
}
constexpr size_t kMaxEmail = 254;
constexpr size_t kMaxNameBytes = 48;
constexpr size_t kMaxNameChars = 20;
}  // namespace

std::string lowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool validUtf8(const std::string& text) {
  size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > text.size()) return false;
    if (n == 2 && c < 0xC2) return false;
    for (size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2) return false;
    i += n;
  }
  return true;
}

std::string normaliseEmail(const std::string& text) {
  std::string e = lowerAscii(trim(text));
  if (e.empty() || e.size() > kMaxEmail) return "";
  for (unsigned char c : e)
    if (c <= 0x20 || c == 0x7F || c == ',' || c == ';' || c == '<' || c == '>' || c == '"' || c == '\\' ||
        c == '/' || c >= 0x80)
      return "";
  size_t at = e.find('@');
  if (at == 0 || at == std::string::npos || e.find('@', at + 1) != std::string::npos) return "";
  std::string domain = e.substr(at + 1);
  size_t dot = domain.find('.');
  if (domain.empty() || dot == 0 || dot == std::string::npos || domain.back() == '.' ||
      domain.find("..") != std::string::npos)
    return "";
  return e;
}

std::string cleanName(const std::string& text) {
  std::string n = trim(text);
  if (n.empty() || n.size() > kMaxNameBytes || !validUtf8(n)) return "";
  size_t chars = 0;
  for (unsigned char c : n) {
    if (c < 0x20 || c == 0x7F) return "";
    if ((c >> 6) != 2) ++chars;
  }
  if (chars > kMaxNameChars) return "";
  return n;
}

}  // namespace lobbytext

AccountStore::AccountStore(std::string path) : path_(std::move(path)) {}

bool AccountStore::load() {
  accounts_.clear();
  if (path_.empty()) return true;
  std::ifstream in(path_);
  if (!in) return true;  // no file yet
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (line.empty()) continue;
    std::istringstream fields(line);
    Account a;
    if (!std::getline(fields, a.email, '\t') || !std::getline(fields, a.code, '\t')) {
      LOGOG_WARN("accounts file %s line %d is malformed; skipped", path_.c_str(), lineNo);
      continue;
    }
    std::getline(fields, a.name, '\t');
    if (lobbytext::normaliseEmail(a.email) != a.email || a.code.empty() ||
        (!a.name.empty() && lobbytext::cleanName(a.name) != a.name)) {
      LOGOG_WARN("accounts file %s line %d has bad values; skipped", path_.c_str(), lineNo);
      continue;
    }
    accounts_[a.email] = a;
  }
  return true;
}

bool AccountStore::save() const {
  if (path_.empty()) return true;
  std::string tmp = path_ + ".tmp";
  std::FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) {
    LOGOG_ERROR("cannot write accounts to %s", tmp.c_str());
    return false;
  }
  bool ok = true;
  for (const auto& entry : accounts_) {
    const Account& a = entry.second;
    if (std::fprintf(f, "%s\t%s\t%s\n", a.email.c_str(), a.code.c_str(), a.name.c_str()) < 0) ok = false;
  }
  if (std::fflush(f) != 0 || fsync(fileno(f)) != 0) ok = false;
  if (std::fclose(f) != 0) ok = false;
  if (!ok || std::rename(tmp.c_str(), path_.c_str()) != 0) {
    LOGOG_ERROR("saving accounts to %s failed", path_.c_str());
    std::remove(tmp.c_str());
    return false;
  }
  return true;
}

const Account* AccountStore::find(const std::string& email) const {
  auto it = accounts_.find(email);
  return it == accounts_.end() ? nullptr : &it->second;
}

bool AccountStore::put(const Account& account) {
  accounts_[account.email] = account;
  return save();
}

bool AccountStore::nameTaken(const std::string& name, const std::string& email) const {
  std::string key = lobbytext::lowerAscii(name);
  for (const auto& entry : accounts_)
    if (entry.first != email && lobbytext::lowerAscii(entry.second.name) == key) return true;
  return false;
}
