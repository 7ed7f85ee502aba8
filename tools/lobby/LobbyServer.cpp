#include "LobbyServer.h"

#include <sys/random.h>

#include <algorithm>
#include <cstdio>

#include "logog/logog.hpp"
#include "protocol/Messages.h"
#include "raknet/BitStream.h"

using namespace protocol;

namespace {
// Compares codes without an early exit, so timing tells nothing about a prefix.
bool sameCode(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  unsigned char diff = 0;
  for (size_t i = 0; i < a.size(); ++i) diff |= static_cast<unsigned char>(a[i] ^ b[i]);
  return diff == 0;
}
}  // namespace

LobbyServer::LobbyServer(LobbyTransport& transport, Mailer& mailer, AccountStore& accounts, LobbyConfig config)
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

void LobbyServer::drop(const Client& c, const unsigned char* data, size_t length, const char* why) {
  ++stats_.dropped;
  const char* name = length ? messageName(data[0]) : nullptr;
  LOGOG_WARN("dropped %s (%zu bytes) from client %llx: %s", name ? name : "unknown message", length,
             static_cast<unsigned long long>(c.id), why);
}

LobbyServer::Client* LobbyServer::find(std::uint64_t id) {
  auto it = clients_.find(id);
  return it == clients_.end() ? nullptr : &it->second;
}

void LobbyServer::onConnected(std::uint64_t client, std::int64_t nowMs) {
  now_ = nowMs;
  if (clients_.count(client)) removeClient(client);  // the same peer again: its old session ends
  Client c;
  c.id = client;
  c.connectedAt = nowMs;
  clients_[client] = c;
  LOGOG_INFO("client %llx connected (%zu clients)", static_cast<unsigned long long>(client), clients_.size());
}

void LobbyServer::onDisconnected(std::uint64_t client, std::int64_t nowMs) {
  now_ = nowMs;
  if (!clients_.count(client)) return;
  LOGOG_INFO("client %llx left", static_cast<unsigned long long>(client));
  removeClient(client);
}

void LobbyServer::removeClient(std::uint64_t client) {
  Client* c = find(client);
  if (!c) return;
  if (c->match) endMatch(c->match, client, true);
  dropChallengesOf(client, true);
  queue_.erase(std::remove(queue_.begin(), queue_.end(), client), queue_.end());
  if (!c->email.empty()) {
    auto it = byEmail_.find(c->email);
    if (it != byEmail_.end() && it->second == client) byEmail_.erase(it);
  }
  bool wasListed = c->stage == Stage::Lobby;
  clients_.erase(client);
  if (wasListed) listChanged();
}

void LobbyServer::onMessage(std::uint64_t client, const unsigned char* data, size_t length, std::int64_t nowMs) {
  now_ = nowMs;
  Client* c = find(client);
  if (!c || !data || length == 0) return;
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
  LOGOG_INFO("client %llx asked for the lobby before logging in; asking again", static_cast<unsigned long long>(c.id));
  switch (c.stage) {
    case Stage::Login: return send(c.id, LoginEmailRequestMsg{});
    case Stage::Code: return send(c.id, CodeRequestMsg{});
    case Stage::Name: return send(c.id, NameRequestMsg{});
    default: return;
  }
}

void LobbyServer::onVersion(Client& c, const unsigned char* data, size_t length) {
  // Whatever does not open with a well-formed version 9 is another protocol, and the
  // client is told so rather than left waiting for a prompt.
  ProtocolVersionMsg m;
  if (!decode(data, length, m) || m.value != kProtocolVersion) {
    if (data[0] == ID_PROTOCOL_VERSION && length == 5)
      LOGOG_INFO("client %llx speaks protocol %d; closing", static_cast<unsigned long long>(c.id), m.value);
    else
      drop(c, data, length, "not a protocol version; closing");
    sendError(c, kErrorInvalidProtocol);
    std::uint64_t id = c.id;
    transport_.disconnect(id);
    removeClient(id);
    return;
  }
  c.stage = Stage::Login;
  send(c.id, LoginEmailRequestMsg{});
}

bool LobbyServer::lockedOut(const std::string& email) {
  auto it = failures_.find(email);
  if (it == failures_.end()) return false;
  if (now_ - it->second.since >= config_.lockoutMs) {
    failures_.erase(it);
    return false;
  }
  return it->second.count >= config_.maxFailuresPerEmail;
}

bool LobbyServer::mailAllowed(const std::string& email) {
  if (mailsTo_.size() > 100000) mailsTo_.clear();  // bounded memory; the limit is a courtesy
  Failures& f = mailsTo_[email];
  if (f.count == 0 || now_ - f.since >= config_.mailWindowMs) {
    f.count = 0;
    f.since = now_;
  }
  if (f.count >= config_.maxMailsPerAddress) return false;
  ++f.count;
  return true;
}

void LobbyServer::noteFailure(const std::string& email) {
  Failures& f = failures_[email];
  if (f.count == 0 || now_ - f.since >= config_.lockoutMs) {
    f.count = 0;
    f.since = now_;
  }
  ++f.count;
}

void LobbyServer::onLogin(Client& c, const unsigned char* data, size_t length) {
  LoginMsg m;
  if (!decode(data, length, m)) return drop(c, data, length, "malformed");
  std::string email = lobbytext::normaliseEmail(m.email);
  const Account* account = email.empty() ? nullptr : accounts_.find(email);
  if (!account || lockedOut(email) || !sameCode(account->code, m.code)) {
    if (account) noteFailure(email);
    LOGOG_INFO("remembered login of client %llx does not hold", static_cast<unsigned long long>(c.id));
    c.stage = Stage::Login;
    sendError(c, kErrorEmailRequired);
    return;
  }
  loggedInAs(c, email);
}

void LobbyServer::onLoginEmail(Client& c, const unsigned char* data, size_t length) {
  LoginEmailMsg m;
  if (!decode(data, length, m)) return drop(c, data, length, "malformed");
  std::string email = lobbytext::normaliseEmail(m.text);
  if (email.empty() || c.mails >= config_.maxMailsPerConnection || lockedOut(email)) {
    sendError(c, kErrorInvalidEmail);
    return;
  }
  std::string code;
  if (const Account* account = accounts_.find(email))
    code = account->code;  // the account's code stays; other devices keep theirs
  else if (c.pendingEmail == email)
    code = c.pendingCode;
  else
    code = codeSource_();
  ++c.mails;
  if (!mailAllowed(email) || !mailer_.sendCode(email, code)) {
    sendError(c, kErrorInvalidEmail);
    return;
  }
  c.pendingEmail = email;
  c.pendingCode = code;
  c.codeAttempts = 0;
  c.stage = Stage::Code;
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
  if (lockedOut(c.pendingEmail) || !sameCode(c.pendingCode, typed)) {
    noteFailure(c.pendingEmail);
    if (++c.codeAttempts >= config_.maxCodeAttempts || lockedOut(c.pendingEmail)) {
      c.pendingEmail.clear();
      c.pendingCode.clear();
      c.stage = Stage::Login;
      sendError(c, kErrorEmailRequired);
    } else {
      sendError(c, kErrorInvalidCode);
    }
    return;
  }
  std::string email = c.pendingEmail;
  if (!accounts_.find(email)) {
    Account a;
    a.email = email;
    a.code = c.pendingCode;
    accounts_.put(a);
  }
  c.pendingEmail.clear();
  c.pendingCode.clear();
  loggedInAs(c, email);
}

void LobbyServer::loggedInAs(Client& c, const std::string& email) {
  failures_.erase(email);
  // One session per account: a second login ends the first.
  auto it = byEmail_.find(email);
  if (it != byEmail_.end() && it->second != c.id) {
    std::uint64_t old = it->second;
    LOGOG_INFO("account logged in again; closing the older session %llx", static_cast<unsigned long long>(old));
    transport_.disconnect(old);
    removeClient(old);
  }
  c.email = email;
  byEmail_[email] = c.id;
  const Account* account = accounts_.find(email);
  if (!account || account->name.empty()) {
    c.stage = Stage::Name;
    send(c.id, NameRequestMsg{});
    return;
  }
  c.name = account->name;
  accept(c);
}

void LobbyServer::onPlayerName(Client& c, const unsigned char* data, size_t length) {
  PlayerNameMsg m;
  if (!decode(data, length, m)) return drop(c, data, length, "malformed");
  std::string name = lobbytext::cleanName(m.text);
  const Account* account = accounts_.find(c.email);
  if (name.empty() || !account || accounts_.nameTaken(name, c.email)) {
    LOGOG_INFO("name refused for client %llx", static_cast<unsigned long long>(c.id));
    send(c.id, NameRequestMsg{});
    return;
  }
  Account updated = *account;
  updated.name = name;
  accounts_.put(updated);
  c.name = name;
  accept(c);
}

void LobbyServer::accept(Client& c) {
  c.stage = Stage::Lobby;
  c.loginOrder = nextLoginOrder_++;
  send(c.id, LoginAcceptedMsg{});
  LOGOG_INFO("client %llx logged in as %s", static_cast<unsigned long long>(c.id), c.name.c_str());
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
  for (const Client* c : listed) transport_.send(c->id, bs.GetData(), bs.GetNumberOfBytesUsed());
  ++stats_.listsSent;
}

void LobbyServer::tick(std::int64_t nowMs) {
  now_ = nowMs;
  std::vector<Challenge> expired;
  for (const Challenge& ch : challenges_)
    if (ch.expires <= now_) expired.push_back(ch);
  if (!expired.empty()) {
    challenges_.erase(std::remove_if(challenges_.begin(), challenges_.end(),
                                     [&](const Challenge& ch) { return ch.expires <= now_; }),
                      challenges_.end());
    for (const Challenge& ch : expired) {
      LOGOG_INFO("challenge of %llx expired", static_cast<unsigned long long>(ch.from));
      refuse(ch.from);
    }
  }
  if (listDirty_ && now_ >= listDue_) sendList();
  if (now_ - lastSweep_ >= 1000) {
    lastSweep_ = now_;
    sweepIdle();
  }
}

void LobbyServer::sweepIdle() {
  std::vector<std::uint64_t> idle;
  for (const auto& entry : clients_) {
    const Client& c = entry.second;
    std::int64_t age = now_ - c.connectedAt;
    if ((c.stage == Stage::Version && age >= config_.versionTimeoutMs) ||
        (c.stage != Stage::Lobby && age >= config_.loginTimeoutMs))
      idle.push_back(c.id);
  }
  for (std::uint64_t id : idle) {
    LOGOG_INFO("client %llx did not log in in time; closing", static_cast<unsigned long long>(id));
    transport_.disconnect(id);
    removeClient(id);
  }
}
