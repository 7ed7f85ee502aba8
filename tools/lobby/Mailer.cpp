#include "Mailer.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <ctime>

#include "logog/logog.hpp"

namespace {
bool makeFolders(const std::string& path) {
  for (size_t i = 1; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '/') {
      std::string part = path.substr(0, i);
      if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
  }
  return true;
}

std::string safeFilePart(const std::string& text) {
  std::string out;
  for (char c : text) {
    bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '@' ||
              c == '.' || c == '-' || c == '_';
    out += ok ? c : '_';
  }
  return out.substr(0, 80);
}
}  // namespace

OutboxMailer::OutboxMailer(std::string folder) : folder_(std::move(folder)) {}

bool OutboxMailer::sendCode(const std::string& email, const std::string& code) {
  return write(email, "Your Mirrowvale login code",
               "Your login code for the Mirrowvale lobby is " + code + ".\n");
}

bool OutboxMailer::sendInvitation(const std::string& email, const std::string& fromName) {
  return write(email, fromName + " invites you to Mirrowvale",
               fromName + " would like to play Mirrowvale with you. Start the game and enter the lobby.\n");
}

bool OutboxMailer::write(const std::string& email, const std::string& subject, const std::string& body) {
  if (!makeFolders(folder_)) {
    LOGOG_ERROR("cannot create the outbox %s", folder_.c_str());
    return false;
  }
  char stamp[32];
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  gmtime_r(&now, &tm);
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &tm);
  std::string path = folder_ + "/" + stamp + "-" + std::to_string(++counter_) + "-" + safeFilePart(email) + ".txt";
  std::string tmp = path + ".tmp";
  std::FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) {
    LOGOG_ERROR("cannot write mail %s", path.c_str());
    return false;
  }
  std::fprintf(f, "To: %s\nSubject: %s\n\n%s", email.c_str(), subject.c_str(), body.c_str());
  bool ok = std::fclose(f) == 0 && std::rename(tmp.c_str(), path.c_str()) == 0;
  if (!ok) LOGOG_ERROR("cannot write mail %s", path.c_str());
  return ok;
}
