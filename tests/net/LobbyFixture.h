// Drives a LobbyServer directly: a recording transport, a recording mailer and a
// clock the test moves.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "AccountStore.h"
#include "AccountWorkers.h"
#include "LobbyServer.h"
#include "Mailer.h"
#include "protocol/Messages.h"

using Bytes = std::vector<unsigned char>;

struct RecordingTransport : LobbyTransport {
  std::vector<std::pair<std::uint64_t, Bytes>> log;  // every send, in order
  std::set<std::uint64_t> closed;
  void send(std::uint64_t client, const unsigned char* data, size_t length) override {
    log.emplace_back(client, Bytes(data, data + length));
  }
  void disconnect(std::uint64_t client) override { closed.insert(client); }
};

struct RecordingMailer : Mailer {
  std::vector<std::pair<std::string, std::string>> codes;    // address, code
  std::vector<std::pair<std::string, std::string>> invites;  // address, from
  bool fail = false;
  bool sendCode(const std::string& email, const std::string& code) override {
    if (fail) return false;
    codes.emplace_back(email, code);
    return true;
  }
  bool sendInvitation(const std::string& email, const std::string& from) override {
    invites.emplace_back(email, from);
    return true;
  }
};

class LobbyFixture : public ::testing::Test {
 protected:
  void SetUp() override { makeServer(); }

  void makeServer() {
    server = std::make_unique<LobbyServer>(transport, mailer, service, config);
    server->setCodeSource([this] { return nextCode; });
  }

  void connect(std::uint64_t c, std::uint32_t address = 0) { server->onConnected(c, now, address); }
  void addAccount(const std::string& email, const std::string& code, const std::string& name) {
    ASSERT_TRUE(accounts.addCode(email, code));
    if (!name.empty()) {
      ASSERT_EQ(accounts.setName(email, name), NameClaim::Set);
    }
  }
  void disconnect(std::uint64_t c) { server->onDisconnected(c, now); }

  template <class M>
  void up(std::uint64_t c, const M& m) {
    RakNet::BitStream bs = protocol::encode(m);
    server->onMessage(c, bs.GetData(), bs.GetNumberOfBytesUsed(), now);
  }
  void raw(std::uint64_t c, const Bytes& b) { server->onMessage(c, b.data(), b.size(), now); }

  void advance(std::int64_t ms) {
    now += ms;
    server->tick(now);
  }

  // Everything sent to the client since the last call.
  std::vector<Bytes> take(std::uint64_t c) {
    std::vector<Bytes> out;
    std::vector<std::pair<std::uint64_t, Bytes>> rest;
    for (auto& entry : transport.log) {
      if (entry.first == c)
        out.push_back(entry.second);
      else
        rest.push_back(entry);
    }
    transport.log.swap(rest);
    return out;
  }
  // The ids of everything sent to the client since the last call.
  std::vector<int> ids(std::uint64_t c) {
    std::vector<int> out;
    for (const Bytes& b : take(c)) out.push_back(b.empty() ? -1 : b[0]);
    return out;
  }
  // The one message of type M among those sent to c (fails the test otherwise).
  template <class M>
  M only(std::uint64_t c) {
    std::vector<Bytes> got = take(c);
    M m;
    EXPECT_EQ(got.size(), 1u);
    if (got.size() == 1) {
      EXPECT_TRUE(protocol::decode(got[0].data(), got[0].size(), m));
    }
    return m;
  }

  // Full login of a new player: version, e-mail, code, name. Clears its inbox.
  std::uint64_t login(std::uint64_t c, const std::string& name) {
    connect(c);
    protocol::ProtocolVersionMsg v;
    v.value = 9;
    up(c, v);
    protocol::LoginEmailMsg e;
    e.text = name + "@players.example";
    up(c, e);
    protocol::LoginCodeMsg code;
    code.text = nextCode;
    up(c, code);
    protocol::PlayerNameMsg n;
    n.text = name;
    up(c, n);
    take(c);
    return c;
  }

  // Logs in two players and starts a match by challenge; host challenged join.
  void match(std::uint64_t host, std::uint64_t join) {
    login(host, "host" + std::to_string(host));
    login(join, "join" + std::to_string(join));
    protocol::ChallengeMsg ch;
    ch.guid = join;
    up(host, ch);
    protocol::ChallengeAnswerMsg yes;
    yes.value = 1;
    up(join, yes);
    settle();
  }

  // Lets pending player lists go out and forgets everything sent so far.
  void settle() {
    advance(config.listDebounceMs);
    transport.log.clear();
  }

  RecordingTransport transport;
  RecordingMailer mailer;
  AccountStore accounts;
  InlineAccounts service{accounts};
  LobbyConfig config;
  std::unique_ptr<LobbyServer> server;
  std::string nextCode = "424242";
  std::int64_t now = 1000;
};
