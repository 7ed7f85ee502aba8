// How the lobby reaches players by e-mail: login codes and friend invitations.
#pragma once

#include <string>

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
