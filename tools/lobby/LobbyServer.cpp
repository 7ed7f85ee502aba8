#include "LobbyServer.h"

#include <arpa/inet.h>
#include <sys/random.h>

#include <algorithm>
#include <cstdio>
#include <unordered_set>

#include "logog/logog.hpp"
#include "protocol/Messages.h"
#include "raknet/BitStream.h"

using namespace protocol;

namespace {

constexpr size_t kMaxRemembered = 100000;  // addresses counted for mail, failures, refusals
constexpr int kRefusalLinesPerInterval = 10;
// The lists' pace gathers at most this much time's worth of bytes (or one list) while
// none is due: each list is compressed for its player as it goes, and a tenth of a
// second's worth sent at once held the relay for tens of milliseconds.
constexpr double kListBurstMs = 2;

std::string addressText(std::uint32_t address) {
  in_addr a{};
  a.s_addr = htonl(address);
  char buf[INET_ADDRSTRLEN] = "?";
  inet_ntop(AF_INET, &a, buf, sizeof buf);
  return buf;
}

unsigned long long hex(std::uint64_t id) { return static_cast<unsigned long long>(id); }

// Compares codes without an early exit, so timing tells nothing about a prefix.
bool sameCode(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  unsigned char diff = 0;
  for (size_t i = 0; i < a.size(); ++i) diff |= static_cast<unsigned char>(a[i] ^ b[i]);
  return diff == 0;
}

}  // namespace

bool LobbyServer::Quota::take(std::int64_t now, std::int64_t windowMs, int limit) {
  if (count == 0 || now - since >= windowMs) {
    count = 0;
    since = now;
  }
  if (count >= limit) return false;
  ++count;
  return true;
}

bool LobbyServer::LogBudget::allow(std::int64_t now, std::int64_t intervalMs, int perInterval) {
  if (now - since >= intervalMs) {
    since = now;
    logged = 0;
  }
  if (logged < perInterval) {
    ++logged;
    return true;
  }
  ++unlogged;
  return false;
}

int LobbyServer::LogBudget::takeUnlogged(std::int64_t now, std::int64_t intervalMs, bool force) {
  if (unlogged == 0 || (!force && now - since < intervalMs)) return 0;
  int n = unlogged;
  unlogged = 0;
  return n;
}

LobbyServer::LobbyServer(LobbyTransport& transport, Mailer& mailer, AccountService& accounts, LobbyConfig config)
    : transport_(transport), mailer_(mailer), accounts_(accounts), config_(std::move(config)) {
  if (!config_.devCode.empty()) {
    std::string code = config_.devCode;
    codeSource_ = [code] { return code; };
  } else {
    codeSource_ = &LobbyServer::randomCode;
  }
}

std::string LobbyServer::randomCode() {
  // Rejection sampling keeps the six digits uniform.
  for (;;) {
    std::uint32_t r = 0;
    if (getrandom(&r, sizeof r, 0) != static_cast<ssize_t>(sizeof r)) continue;
    if (r >= 4294000000u) continue;  // 4294000000 is a multiple of 1000000
    char buf[8];
    std::snprintf(buf, sizeof buf, "%06u", r % 1000000u);
    return buf;
  }
}

size_t LobbyServer::loggedInCount() const {
  size_t n = 0;
  for (const auto& entry : clients_)
    if (entry.second.stage == Stage::Lobby) ++n;
  return n;
}

void LobbyServer::sendError(Client& c, int error) {
  LobbyErrorMsg m;
  m.error = error;
  send(c.id, m);
}

void LobbyServer::drop(Client& c, const unsigned char* data, size_t length, const char* why) {
  ++stats_.dropped;
  if (!c.drops.allow(now_, config_.dropLogIntervalMs, 1)) return;
  const char* name = length ? messageName(data[0]) : nullptr;
  LOGOG_WARN("dropped %s (%zu bytes) from client %llx: %s", name ? name : "unknown message", length, hex(c.id),
             why);
}

LobbyServer::Client* LobbyServer::find(std::uint64_t id) {
  auto it = clients_.find(id);
  return it == clients_.end() ? nullptr : &it->second;
}

void LobbyServer::onConnected(std::uint64_t client, std::int64_t nowMs, std::uint32_t address) {
  now_ = nowMs;
  if (clients_.count(client)) removeClient(client);  // the same peer again: its old session ends
  Client c;
  c.id = client;
  c.address = address;
  c.stageSince = nowMs;
  c.arrival = nextArrival_++;
  Client& added = clients_[client] = c;
  LOGOG_INFO("client %llx connected (%zu clients)", hex(client), clients_.size());
  track(added);
  makeRoom(added);
}

void LobbyServer::track(const Client& c) {
  if (c.stage == Stage::Lobby)
    unfinished_.remove(c.id);
  else
    unfinished_.put({c.id, c.address, c.failures, c.stageSince, c.arrival});
}

void LobbyServer::makeRoom(const Client& c) {
  const std::uint64_t keep = c.id;
  const std::uint32_t address = c.address;
  if (address && config_.maxUnfinishedPerAddress > 0 &&
      unfinished_.at(address) > static_cast<size_t>(config_.maxUnfinishedPerAddress)) {
    if (std::uint64_t id = unfinished_.firstAt(address, keep)) {
      if (refusals_.allow(now_, config_.dropLogIntervalMs, kRefusalLinesPerInterval))
        LOGOG_INFO("client %llx from %s closed: a newer login from its address takes its place", hex(id),
                   addressText(address).c_str());
      close(id);
    }
  }
  if (config_.maxUnfinished > 0 && unfinished_.size() > static_cast<size_t>(config_.maxUnfinished)) {
    if (std::uint64_t id = unfinished_.first(keep)) {
      if (refusals_.allow(now_, config_.dropLogIntervalMs, kRefusalLinesPerInterval))
        LOGOG_INFO("client %llx closed: %d connections are logging in, and a newer login takes its place", hex(id),
                   config_.maxUnfinished);
      close(id);
    }
  }
}

void LobbyServer::onDisconnected(std::uint64_t client, std::int64_t nowMs) {
  now_ = nowMs;
  if (!clients_.count(client)) return;
  LOGOG_INFO("client %llx left", hex(client));
  removeClient(client);
}

void LobbyServer::close(std::uint64_t client) {
  transport_.disconnect(client);
  removeClient(client);
}

void LobbyServer::removeClient(std::uint64_t client) {
  Client* c = find(client);
  if (!c) return;
  if (int n = c->drops.takeUnlogged(now_, config_.dropLogIntervalMs, true))
    LOGOG_WARN("client %llx: %d more messages dropped before it left", hex(client), n);
  if (c->match) endMatch(c->match, client, true);
  removeChallenges([&](const Challenge& ch) { return ch.from == client || ch.to == client; }, client);
  queue_.erase(std::remove(queue_.begin(), queue_.end(), client), queue_.end());
  if (!c->email.empty()) {
    auto it = byEmail_.find(c->email);
    if (it != byEmail_.end() && it->second == client) byEmail_.erase(it);
  }
  bool wasListed = c->stage == Stage::Lobby;
  unfinished_.remove(client);
  clients_.erase(client);
  if (wasListed) listChanged();
}

void LobbyServer::onMessage(std::uint64_t client, const unsigned char* data, size_t length, std::int64_t nowMs) {
  now_ = nowMs;
  Client* c = find(client);
  if (!c || !data || length == 0) return;
  if (c->ticket || !c->slowEmail.empty())
    drop(*c, data, length, "while its login is checked");
  else
    dispatch(*c, data, length);
  takeReplies();  // accounts kept in memory answer at once
}

void LobbyServer::dispatch(Client& client, const unsigned char* data, size_t length) {
  Client* c = &client;
  unsigned char id = data[0];
  switch (c->stage) {
    case Stage::Version:
      onVersion(*c, data, length);
      return;
    case Stage::Login:
    case Stage::Code:
      if (id == ID_LOGIN)
        onLogin(*c, data, length);
      else if (id == ID_LOGIN_EMAIL)
        onLoginEmail(*c, data, length);
      else if (id == ID_LOGIN_CODE)
        onLoginCode(*c, data, length);
      else if (awaitsAnswer(id))
        askAgain(*c);
      else
        drop(*c, data, length, "before login");
      return;
    case Stage::Name:
      if (id == ID_PLAYER_NAME)
        onPlayerName(*c, data, length);
      else if (awaitsAnswer(id))
        askAgain(*c);
      else
        drop(*c, data, length, "while a name is awaited");
      return;
    case Stage::Lobby:
      onLobbyMessage(*c, data, length);
      return;
  }
}

bool LobbyServer::awaitsAnswer(unsigned char id) {
  return id == ID_QUICKMATCH || id == ID_CHALLENGE || id == ID_CHALLENGE_ANSWER || id == ID_INVITE_FRIEND;
}

void LobbyServer::askAgain(Client& c) {
  LOGOG_INFO("client %llx asked for the lobby before logging in; asking again", hex(c.id));
  switch (c.stage) {
    case Stage::Login: return send(c.id, LoginEmailRequestMsg{});
    case Stage::Code: return send(c.id, CodeRequestMsg{});
    case Stage::Name: return send(c.id, NameRequestMsg{});
    default: return;
  }
}

void LobbyServer::setStage(Client& c, Stage stage) {
  c.stage = stage;
  c.stageSince = now_;
  track(c);
}

void LobbyServer::onVersion(Client& c, const unsigned char* data, size_t length) {
  // Whatever does not open with a well-formed version 9 is another protocol, and the
  // client is told so rather than left waiting for a prompt.
  ProtocolVersionMsg m;
  if (!decode(data, length, m) || m.value != kProtocolVersion) {
    if (data[0] == ID_PROTOCOL_VERSION && length == 5)
      LOGOG_INFO("client %llx speaks protocol %d; closing", hex(c.id), m.value);
    else
      drop(c, data, length, "not a protocol version; closing");
    sendError(c, kErrorInvalidProtocol);
    close(c.id);
    return;
  }
  setStage(c, Stage::Login);
  send(c.id, LoginEmailRequestMsg{});
}

bool LobbyServer::mailAllowed(const std::string& email) {
  if (mailsTo_.size() > kMaxRemembered) mailsTo_.clear();  // bounded memory; the limit is a courtesy
  return mailsTo_[email].take(now_, config_.mailWindowMs, config_.maxMailsPerAddress);
}

bool LobbyServer::accountRefusedFrom(std::uint32_t address, const std::string& email) {
  auto it = failuresFrom_.find({address, email});
  return it != failuresFrom_.end() && it->second.count >= config_.maxFailuresPerAddress &&
         now_ - it->second.since < config_.lockoutMs;
}

bool LobbyServer::addressSlowed(std::uint32_t address) {
  auto it = accountsFailedFrom_.find(address);
  return it != accountsFailedFrom_.end() && it->second.count >= config_.maxAccountsFailedPerAddress &&
         now_ - it->second.since < config_.lockoutMs;
}

bool LobbyServer::noteFailure(Client& c, const std::string& email) {
  ++c.failures;
  track(c);
  if (c.address && !email.empty()) {
    if (failuresFrom_.size() > kMaxRemembered) failuresFrom_.clear();
    if (accountsFailedFrom_.size() > kMaxRemembered) accountsFailedFrom_.clear();
    Quota& q = failuresFrom_[{c.address, email}];
    bool firstAtAccount = q.count == 0 || now_ - q.since >= config_.lockoutMs;
    bool counted = q.take(now_, config_.lockoutMs, config_.maxFailuresPerAddress);
    Quota& accounts = accountsFailedFrom_[c.address];
    if (firstAtAccount && accounts.take(now_, config_.lockoutMs, config_.maxAccountsFailedPerAddress) &&
        accounts.count == config_.maxAccountsFailedPerAddress)
      LOGOG_WARN("address %s failed at %d accounts; its remembered logins now wait their turn",
                 addressText(c.address).c_str(), accounts.count);
    if (counted && q.count == config_.maxFailuresPerAddress)
      LOGOG_WARN("address %s: %d wrong codes for one account; that account is refused from there for %lld s",
                 addressText(c.address).c_str(), q.count, static_cast<long long>(config_.lockoutMs / 1000));
  }
  if (c.failures >= config_.maxFailuresPerConnection) {
    LOGOG_INFO("client %llx: %d failed logins; closing", hex(c.id), c.failures);
    close(c.id);
    return true;
  }
  return false;
}

void LobbyServer::onLogin(Client& c, const unsigned char* data, size_t length) {
  LoginMsg m;
  if (!decode(data, length, m)) return drop(c, data, length, "malformed");
  std::string email = lobbytext::normaliseEmail(m.email);
  if (email.empty()) {
    LOGOG_INFO("remembered login of client %llx names no address", hex(c.id));
    setStage(c, Stage::Login);
    sendError(c, kErrorEmailRequired);
    noteFailure(c);
    return;
  }
  checkRemembered(c, email, m.code);
}

void LobbyServer::checkRemembered(Client& c, const std::string& email, const std::string& code) {
  // The owner's right code holds from anywhere else: guesses from one address shut
  // out that address alone.
  if (c.address && accountRefusedFrom(c.address, email)) {
    LOGOG_INFO("remembered login of client %llx refused: too many wrong codes for it from %s", hex(c.id),
               addressText(c.address).c_str());
    setStage(c, Stage::Login);
    sendError(c, kErrorEmailRequired);
    noteFailure(c);
    return;
  }
  if (c.address && addressSlowed(c.address)) {
    c.slowEmail = email;
    c.slowCode = code;
    slowed_[c.address].waiting.push_back(c.id);
    runSlowLogins();
    return;
  }
  request(c, AccountRequest::Kind::Login, email, code);
}

void LobbyServer::runSlowLogins() {
  for (auto it = slowed_.begin(); it != slowed_.end();) {
    SlowLane& lane = it->second;
    // Whoever left meanwhile goes; of the others, the one that failed least is next
    // (a neighbour before the stranger that made the address wait), then the first.
    lane.waiting.erase(std::remove_if(lane.waiting.begin(), lane.waiting.end(),
                                      [&](std::uint64_t id) {
                                        const Client* c = find(id);
                                        return !c || c->slowEmail.empty();
                                      }),
                       lane.waiting.end());
    if (now_ >= lane.next && !lane.waiting.empty()) {
      auto next = std::min_element(lane.waiting.begin(), lane.waiting.end(), [&](std::uint64_t a, std::uint64_t b) {
        return find(a)->failures < find(b)->failures;
      });
      Client* c = find(*next);
      lane.waiting.erase(next);
      std::string email, code;
      email.swap(c->slowEmail);
      code.swap(c->slowCode);
      lane.next = now_ + config_.slowLoginGapMs;
      request(*c, AccountRequest::Kind::Login, email, code);
    }
    it = lane.waiting.empty() && now_ >= lane.next ? slowed_.erase(it) : std::next(it);
  }
}

void LobbyServer::request(Client& c, AccountRequest::Kind kind, const std::string& email, const std::string& text) {
  c.ticket = nextTicket_++;
  AccountRequest r;
  r.kind = kind;
  r.client = c.id;
  r.ticket = c.ticket;
  r.email = email;
  r.text = text;
  accounts_.submit(std::move(r));
}

void LobbyServer::takeReplies() {
  if (takingReplies_) return;
  takingReplies_ = true;
  for (const AccountReply& r : accounts_.takeReplies()) {
    Client* c = find(r.client);
    if (!c || c->ticket != r.ticket) continue;  // gone meanwhile
    c->ticket = 0;
    onReply(*c, r);
  }
  takingReplies_ = false;
}

void LobbyServer::onReply(Client& c, const AccountReply& r) {
  switch (r.kind) {
    case AccountRequest::Kind::Login:
      if (!r.ok) {
        LOGOG_INFO("remembered login of client %llx does not hold", hex(c.id));
        setStage(c, Stage::Login);
        sendError(c, kErrorEmailRequired);
        noteFailure(c, r.email);
        return;
      }
      return loggedInAs(c, r.email, r.name);
    case AccountRequest::Kind::Code:
      if (!r.ok) return refuseUnsaved(c);
      c.pendingEmail.clear();
      c.pendingCode.clear();
      return loggedInAs(c, r.email, r.name);
    case AccountRequest::Kind::Name:
      if (r.claim == NameClaim::Taken) {
        LOGOG_INFO("name refused for client %llx: it looks like another player's", hex(c.id));
        send(c.id, NameRequestMsg{});
        return;
      }
      if (r.claim != NameClaim::Set) return refuseUnsaved(c);
      c.name = r.name;
      return accept(c);
  }
}

void LobbyServer::onLoginEmail(Client& c, const unsigned char* data, size_t length) {
  LoginEmailMsg m;
  if (!decode(data, length, m)) return drop(c, data, length, "malformed");
  std::string email = lobbytext::normaliseEmail(m.text);
  if (email.empty() || c.mails >= config_.maxMailsPerConnection) {
    sendError(c, kErrorInvalidEmail);
    return;
  }
  // A new code even for a known account: its codes are kept only as hashes, and the
  // devices that log in with the older ones keep them.
  std::string code = c.pendingEmail == email ? c.pendingCode : codeSource_();
  ++c.mails;
  if (!mailAllowed(email) || !mailer_.sendCode(email, code)) {
    sendError(c, kErrorInvalidEmail);
    return;
  }
  c.pendingEmail = email;
  c.pendingCode = code;
  c.codeAttempts = 0;
  setStage(c, Stage::Code);
  send(c.id, CodeRequestMsg{});
}

void LobbyServer::onLoginCode(Client& c, const unsigned char* data, size_t length) {
  LoginCodeMsg m;
  if (!decode(data, length, m)) return drop(c, data, length, "malformed");
  if (c.stage != Stage::Code || c.pendingEmail.empty()) {
    sendError(c, kErrorEmailRequired);
    return;
  }
  std::string typed = m.text;
  typed.erase(std::remove(typed.begin(), typed.end(), ' '), typed.end());
  if (!sameCode(c.pendingCode, typed)) {
    if (++c.codeAttempts >= config_.maxCodeAttempts) {
      c.pendingEmail.clear();
      c.pendingCode.clear();
      setStage(c, Stage::Login);
      sendError(c, kErrorEmailRequired);
    } else {
      sendError(c, kErrorInvalidCode);
    }
    noteFailure(c);
    return;
  }
  request(c, AccountRequest::Kind::Code, c.pendingEmail, c.pendingCode);
}

void LobbyServer::refuseUnsaved(Client& c) {
  LOGOG_ERROR("login of client %llx refused: the account database could not be written", hex(c.id));
  if (!c.email.empty()) {
    auto it = byEmail_.find(c.email);
    if (it != byEmail_.end() && it->second == c.id) byEmail_.erase(it);
    c.email.clear();
  }
  c.pendingEmail.clear();
  c.pendingCode.clear();
  setStage(c, Stage::Login);
  sendError(c, kErrorEmailRequired);
}

void LobbyServer::loggedInAs(Client& c, const std::string& email, const std::string& name) {
  // One session per account: a second login ends the first.
  auto it = byEmail_.find(email);
  if (it != byEmail_.end() && it->second != c.id) {
    LOGOG_INFO("account logged in again; closing the older session %llx", hex(it->second));
    close(it->second);
  }
  c.email = email;
  byEmail_[email] = c.id;
  if (name.empty()) {
    setStage(c, Stage::Name);
    send(c.id, NameRequestMsg{});
    return;
  }
  c.name = name;
  accept(c);
}

void LobbyServer::onPlayerName(Client& c, const unsigned char* data, size_t length) {
  PlayerNameMsg m;
  if (!decode(data, length, m)) return drop(c, data, length, "malformed");
  std::string name = lobbytext::cleanName(m.text);
  if (name.empty()) {
    LOGOG_INFO("name refused for client %llx", hex(c.id));
    send(c.id, NameRequestMsg{});
    return;
  }
  request(c, AccountRequest::Kind::Name, c.email, name);
}

void LobbyServer::accept(Client& c) {
  setStage(c, Stage::Lobby);
  c.loginOrder = nextLoginOrder_++;
  send(c.id, LoginAcceptedMsg{});
  LOGOG_INFO("client %llx logged in as %s", hex(c.id), c.name.c_str());
  listChanged();
}

void LobbyServer::listChanged() {
  if (listDirty_) return;
  listDirty_ = true;
  listDue_ = now_ + config_.listDebounceMs;
}

void LobbyServer::sendList() {
  listDirty_ = false;
  std::vector<const Client*> listed;
  std::int32_t online = 0;
  for (const auto& entry : clients_) {
    if (entry.second.stage != Stage::Lobby) continue;
    ++online;
    if (entry.second.match == 0) listed.push_back(&entry.second);
  }
  std::sort(listed.begin(), listed.end(),
            [](const Client* a, const Client* b) { return a->loginOrder < b->loginOrder; });
  PlayerListMsg m;
  m.onlineCount = online;
  for (const Client* c : listed) {
    if (m.players.size() >= config_.maxListEntries) break;
    m.players.push_back({c->id, c->name});
  }
  RakNet::BitStream bs = encode(m);
  list_.assign(bs.GetData(), bs.GetData() + bs.GetNumberOfBytesUsed());
  // Whoever still waits for the last list gets this one in its place, first.
  std::unordered_set<std::uint64_t> waiting(listTo_.begin(), listTo_.end());
  for (const Client* c : listed)
    if (!waiting.count(c->id)) listTo_.push_back(c->id);
  ++stats_.listsSent;
  sendListsDue();
}

void LobbyServer::sendListsDue() {
  // A list goes to each player once a round, the round paced by bytes, so that the
  // lists of thousands of players (each naming up to maxListEntries) cost the relay
  // no more than a few sends between its messages.
  const double rate = static_cast<double>(std::max<std::int64_t>(1, config_.listBytesPerSecond));
  const double size = static_cast<double>(list_.size());
  listCredit_ = std::min(listCredit_ + static_cast<double>(now_ - listPaced_) * rate / 1000.0,
                         std::max(rate * kListBurstMs / 1000.0, size));
  listPaced_ = now_;
  while (!listTo_.empty() && listCredit_ >= size) {
    Client* c = find(listTo_.front());
    listTo_.pop_front();
    if (!c || !available(*c)) continue;
    transport_.send(c->id, list_.data(), list_.size());
    listCredit_ -= size;
  }
}

void LobbyServer::tick(std::int64_t nowMs) {
  now_ = nowMs;
  std::vector<Challenge> expired;
  for (const Challenge& ch : challenges_)
    if (ch.expires <= now_) expired.push_back(ch);
  if (!expired.empty()) {
    for (const Challenge& ch : expired) LOGOG_INFO("challenge of %llx expired", hex(ch.from));
    removeChallenges([&](const Challenge& ch) { return ch.expires <= now_; }, 0);
    for (const Challenge& ch : expired) refuse(ch.from);
  }
  if (!slowed_.empty()) runSlowLogins();
  takeReplies();
  if (listDirty_ && now_ >= listDue_)
    sendList();
  else
    sendListsDue();
  if (now_ - lastSweep_ >= 1000) {
    lastSweep_ = now_;
    sweep();
  }
}

void LobbyServer::sweep() {
  std::vector<std::uint64_t> idle;
  for (auto& entry : clients_) {
    Client& c = entry.second;
    if (int n = c.drops.takeUnlogged(now_, config_.dropLogIntervalMs, false))
      LOGOG_WARN("client %llx: %d more messages dropped in the last %lld s", hex(c.id), n,
                 static_cast<long long>(config_.dropLogIntervalMs / 1000));
    // Only what the client owes at once, or a mailed code, is timed; a login being
    // checked, or waiting its address's turn, is not idle.
    const bool timed = c.stage == Stage::Version || c.stage == Stage::Code;
    const std::int64_t allowed = c.stage == Stage::Version ? config_.versionTimeoutMs : config_.codeTimeoutMs;
    const bool waiting = c.ticket || !c.slowEmail.empty();
    if (timed && !waiting && now_ - c.stageSince >= allowed) idle.push_back(c.id);
  }
  for (std::uint64_t id : idle) {
    const Client* c = find(id);
    LOGOG_INFO("client %llx %s in time; closing", hex(id),
               c && c->stage == Stage::Version ? "did not give its protocol version" : "did not send its code");
    close(id);
  }
  if (int n = refusals_.takeUnlogged(now_, config_.dropLogIntervalMs, false))
    LOGOG_INFO("%d more connections closed at once in the last %lld s", n,
               static_cast<long long>(config_.dropLogIntervalMs / 1000));
  for (auto it = failuresFrom_.begin(); it != failuresFrom_.end();)
    it = now_ - it->second.since >= config_.lockoutMs ? failuresFrom_.erase(it) : std::next(it);
  for (auto it = accountsFailedFrom_.begin(); it != accountsFailedFrom_.end();)
    it = now_ - it->second.since >= config_.lockoutMs ? accountsFailedFrom_.erase(it) : std::next(it);
}
