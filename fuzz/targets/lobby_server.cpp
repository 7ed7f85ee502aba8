// The lobby server's handling of client messages: four clients, each input piece a message
// (a byte naming the client and the time step, then a length byte and the bytes; a piece
// whose first bit is set is replica traffic, one whose bytes are empty a disconnection).
#include <string>

#include "AccountStore.h"
#include "AccountWorkers.h"
#include "FuzzSupport.h"
#include "LobbyServer.h"
#include "Mailer.h"

namespace {

struct NullTransport : LobbyTransport {
  void send(std::uint64_t, const unsigned char*, size_t) override {}
  void disconnect(std::uint64_t) override {}
};

struct NullMailer : Mailer {
  bool sendCode(const std::string&, const std::string&) override { return true; }
  bool sendInvitation(const std::string&, const std::string&) override { return true; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  NullTransport transport;
  NullMailer mailer;
  AccountStore accounts;  // in memory
  accounts.addCode("a@b.cd", "123456");
  accounts.setName("a@b.cd", "Known");
  LobbyConfig config;
  config.devCode = "123456";
  InlineAccounts service(accounts);
  LobbyServer server(transport, mailer, service, config);
  std::int64_t now = 0;
  bool connected[4] = {};
  mvfuzz::InputCursor cursor(data, size);
  while (!cursor.empty()) {
    uint8_t head = cursor.byte();
    std::uint64_t client = 1 + (head & 3);
    now += ((head >> 2) & 15) * 5000;  // up to a minute a step, so timers expire
    bool replica = head & 0x80;
    std::string bytes = cursor.shortPiece();
    const auto* raw = reinterpret_cast<const unsigned char*>(bytes.data());
    if (!connected[client - 1]) {
      server.onConnected(client, now);
      connected[client - 1] = true;
    }
    if (bytes.empty()) {
      server.onDisconnected(client, now);
      connected[client - 1] = false;
    } else if (replica) {
      server.onReplicaMessage(client, raw, bytes.size(), now);
    } else {
      server.onMessage(client, raw, bytes.size(), now);
    }
    server.tick(now);
  }
  return 0;
}
