#include "AccountWorkers.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>

#include "logog/logog.hpp"

namespace {

constexpr size_t kMaxBatch = 512;  // writes in one transaction

// The relay comes first: on a busy machine the calling thread yields to it (Linux
// gives each thread its own niceness).
void yieldToRelay() {
  if (setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 10) != 0)
    LOGOG_DEBUG("the account threads run at the relay's priority");
}

AccountReply replyTo(const AccountRequest& request) {
  AccountReply r;
  r.kind = request.kind;
  r.client = request.client;
  r.ticket = request.ticket;
  r.email = request.email;
  return r;
}

// A login by remembered credentials; touches nothing.
AccountReply checkLogin(AccountStore& store, const AccountRequest& request) {
  AccountReply r = replyTo(request);
  std::optional<Account> a = store.find(request.email);
  if (!a || request.text.empty()) return r;
  for (const std::string& stored : a->codes)
    if (AccountStore::matches(stored, request.text)) {
      r.ok = true;
      r.name = a->name;
      return r;
    }
  return r;
}

}  // namespace

void InlineAccounts::submit(AccountRequest request) {
  AccountReply r = replyTo(request);
  switch (request.kind) {
    case AccountRequest::Kind::Login:
      r = checkLogin(store_, request);
      break;
    case AccountRequest::Kind::Code:
      r.ok = store_.addCode(request.email, request.text);
      if (r.ok) r.name = store_.find(request.email)->name;
      break;
    case AccountRequest::Kind::Name:
      r.claim = store_.setName(request.email, request.text);
      r.name = request.text;
      break;
  }
  replies_.push_back(std::move(r));
}

std::vector<AccountReply> InlineAccounts::takeReplies() {
  std::vector<AccountReply> out;
  out.swap(replies_);
  return out;
}

unsigned AccountWorkers::defaultHashers() {
  unsigned cores = std::thread::hardware_concurrency();
  return std::clamp(cores / 2, 1u, 4u);
}

AccountWorkers::AccountWorkers(std::string path, unsigned hashers) : path_(std::move(path)) {
  hashers = std::max(hashers, 1u);
  for (unsigned i = 0; i <= hashers; ++i) {
    stores_.push_back(std::make_unique<AccountStore>(path_));
    ready_ = stores_.back()->load() && ready_;
  }
  if (!ready_) return;
  hashersRunning_ = hashers;
  for (unsigned i = 0; i < hashers; ++i) threads_.emplace_back([this, i] { hasherLoop(*stores_[i]); });
  threads_.emplace_back([this] { writerLoop(*stores_.back()); });
}

AccountWorkers::~AccountWorkers() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  hashWork_.notify_all();
  writeWork_.notify_all();
  for (std::thread& t : threads_) t.join();
}

void AccountWorkers::submit(AccountRequest request) {
  if (!ready_) {
    reply(replyTo(request));  // a failure: no database to ask
    return;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  if (request.kind == AccountRequest::Kind::Name) {
    writeQueue_.push_back({std::move(request), ""});
    writeWork_.notify_one();
  } else {
    hashQueue_.push_back(std::move(request));
    hashWork_.notify_one();
  }
}

std::vector<AccountReply> AccountWorkers::takeReplies() {
  std::vector<AccountReply> out;
  std::lock_guard<std::mutex> lock(mutex_);
  out.swap(replies_);
  return out;
}

void AccountWorkers::reply(AccountReply r) {
  std::lock_guard<std::mutex> lock(mutex_);
  replies_.push_back(std::move(r));
}

void AccountWorkers::hasherLoop(AccountStore& store) {
  yieldToRelay();
  for (;;) {
    AccountRequest request;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      hashWork_.wait(lock, [&] { return stopping_ || !hashQueue_.empty(); });
      if (hashQueue_.empty()) {
        // The last hasher out lets the writer finish.
        if (--hashersRunning_ == 0) writeWork_.notify_all();
        return;
      }
      request = std::move(hashQueue_.front());
      hashQueue_.pop_front();
    }
    if (request.kind == AccountRequest::Kind::Login) {
      reply(checkLogin(store, request));
      continue;
    }
    // A mailed code: nothing to write when it is one of the account's codes already.
    AccountReply known = checkLogin(store, request);
    if (known.ok) {
      reply(known);
      continue;
    }
    std::string hash = AccountStore::hashCode(request.text);
    if (hash.empty()) {
      LOGOG_ERROR("hashing a code failed; the code of %s is not kept", request.email.c_str());
      reply(replyTo(request));
      continue;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    writeQueue_.push_back({std::move(request), std::move(hash)});
    writeWork_.notify_one();
  }
}

void AccountWorkers::writerLoop(AccountStore& store) {
  yieldToRelay();
  for (;;) {
    std::vector<Write> batch;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      writeWork_.wait(lock, [&] { return !writeQueue_.empty() || (stopping_ && hashersRunning_ == 0); });
      if (writeQueue_.empty()) return;
      size_t n = std::min(writeQueue_.size(), kMaxBatch);
      for (size_t i = 0; i < n; ++i) {
        batch.push_back(std::move(writeQueue_.front()));
        writeQueue_.pop_front();
      }
    }
    std::vector<AccountReply> done;
    bool open = store.begin();
    for (Write& w : batch) {
      AccountReply r = replyTo(w.request);
      if (open && w.request.kind == AccountRequest::Kind::Code) {
        r.ok = store.addHash(w.request.email, w.hash);
        std::optional<Account> a = r.ok ? store.find(w.request.email) : std::nullopt;
        if (a) r.name = a->name;
      } else if (open) {
        r.claim = store.setName(w.request.email, w.request.text);
        r.name = w.request.text;
      }
      done.push_back(std::move(r));
    }
    // Nothing is confirmed before the commit is on disk; a failed commit fails all.
    if (!open || !store.commit()) {
      LOGOG_ERROR("the account database could not be written (%zu changes lost)", batch.size());
      for (AccountReply& r : done) {
        r.ok = false;
        r.claim = NameClaim::Failed;
      }
    }
    std::lock_guard<std::mutex> lock(mutex_);
    for (AccountReply& r : done) replies_.push_back(std::move(r));
  }
}
