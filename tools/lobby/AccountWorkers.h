// The slow part of a login (hashing codes, reading and writing the account
// database) done apart from the lobby's own thread, which relays moves and sends
// lists meanwhile. The server hands in requests and later takes the replies; a
// reply that confirms a change comes only once the change is on disk.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "AccountStore.h"

struct AccountRequest {
  enum class Kind {
    Login,  // remembered credentials: does `text` hold for the account?
    Code,   // a mailed code typed right: keep `text` as one of the account's codes
    Name,   // claim the name `text` for the account
  };
  Kind kind = Kind::Login;
  std::uint64_t client = 0;
  std::uint64_t ticket = 0;  // the server's, to match the reply with its request
  std::string email;
  std::string text;
};

struct AccountReply {
  AccountRequest::Kind kind = AccountRequest::Kind::Login;
  std::uint64_t client = 0;
  std::uint64_t ticket = 0;
  std::string email;
  bool ok = false;                        // Login: the code holds; Code: it is kept
  NameClaim claim = NameClaim::Failed;    // Name
  std::string name;                       // the account's name (Login, Code) or the claimed one
};

class AccountService {
 public:
  virtual ~AccountService() = default;
  virtual void submit(AccountRequest request) = 0;
  // The replies ready since the last call.
  virtual std::vector<AccountReply> takeReplies() = 0;
};

// Answers each request at once on the caller's thread: tests, and accounts kept in
// memory.
class InlineAccounts : public AccountService {
 public:
  explicit InlineAccounts(AccountStore& store) : store_(store) {}
  void submit(AccountRequest request) override;
  std::vector<AccountReply> takeReplies() override;

 private:
  AccountStore& store_;
  std::vector<AccountReply> replies_;
};

// Hashing threads, each with its own reader of the database, and one writer that
// commits whatever has gathered in one transaction (one sync for many logins).
class AccountWorkers : public AccountService {
 public:
  // `path`: the database, opened (and made) by the caller's store first.
  AccountWorkers(std::string path, unsigned hashers);
  // Finishes every request handed in, then stops.
  ~AccountWorkers() override;
  // Whether every thread has its database open.
  bool ready() const { return ready_; }
  void submit(AccountRequest request) override;
  std::vector<AccountReply> takeReplies() override;

  // Threads for hashing on this machine: some cores stay the relay's and the network's.
  static unsigned defaultHashers();

 private:
  struct Write {
    AccountRequest request;
    std::string hash;  // Code: made by a hasher
  };
  void hasherLoop(AccountStore& store);
  void writerLoop(AccountStore& store);
  void reply(AccountReply r);

  std::string path_;
  bool ready_ = true;
  std::mutex mutex_;
  std::condition_variable hashWork_, writeWork_;
  std::deque<AccountRequest> hashQueue_;
  std::deque<Write> writeQueue_;
  std::vector<AccountReply> replies_;
  bool stopping_ = false;
  unsigned hashersRunning_ = 0;
  std::vector<std::unique_ptr<AccountStore>> stores_;
  std::vector<std::thread> threads_;
};
