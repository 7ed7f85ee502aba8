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

QueuedMailer::QueuedMailer(Mailer& inner) : inner_(inner), thread_([this] { run(); }) {}

QueuedMailer::~QueuedMailer() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  ready_.notify_one();
  thread_.join();
}

bool QueuedMailer::sendCode(const std::string& email, const std::string& code) { return queue({true, email, code}); }

bool QueuedMailer::sendInvitation(const std::string& email, const std::string& fromName) {
  return queue({false, email, fromName});
}

bool QueuedMailer::queue(Mail mail) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (queue_.size() >= kMaxQueued) {
      LOGOG_WARN("mail to %s not sent: %zu mails wait already", mail.email.c_str(), queue_.size());
      return false;
    }
    queue_.push_back(std::move(mail));
  }
  ready_.notify_one();
  return true;
}

void QueuedMailer::run() {
  for (;;) {
    Mail mail;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      ready_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
      if (queue_.empty()) return;
      mail = std::move(queue_.front());
      queue_.pop_front();
    }
    bool sent = mail.code ? inner_.sendCode(mail.email, mail.text) : inner_.sendInvitation(mail.email, mail.text);
    if (!sent) LOGOG_ERROR("mail to %s could not be sent", mail.email.c_str());
  }
}
