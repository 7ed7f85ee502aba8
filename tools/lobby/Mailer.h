// How the lobby reaches players by e-mail: login codes and friend invitations.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

class Mailer {
 public:
  virtual ~Mailer() = default;
  virtual bool sendCode(const std::string& email, const std::string& code) = 0;
  virtual bool sendInvitation(const std::string& email, const std::string& fromName) = 0;
};

// Writes each message as a text file into an outbox folder (created on demand),
// for a mail relay or a developer to pick up.
class OutboxMailer : public Mailer {
 public:
  explicit OutboxMailer(std::string folder);
  bool sendCode(const std::string& email, const std::string& code) override;
  bool sendInvitation(const std::string& email, const std::string& fromName) override;

 private:
  bool write(const std::string& email, const std::string& subject, const std::string& body);

  std::string folder_;
  unsigned counter_ = 0;
};

// Hands each message to another mailer on a thread of its own, so that writing mail
// never holds up the lobby's relay. A message is accepted while the queue has room;
// one that then fails is logged.
class QueuedMailer : public Mailer {
 public:
  static constexpr size_t kMaxQueued = 10000;

  explicit QueuedMailer(Mailer& inner);
  // Sends what is queued, then stops.
  ~QueuedMailer() override;
  bool sendCode(const std::string& email, const std::string& code) override;
  bool sendInvitation(const std::string& email, const std::string& fromName) override;

 private:
  struct Mail {
    bool code = true;
    std::string email, text;  // the code, or the inviting player's name
  };
  bool queue(Mail mail);
  void run();

  Mailer& inner_;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Mail> queue_;
  bool stopping_ = false;
  std::thread thread_;
};
