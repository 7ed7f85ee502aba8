// Compression of a connection's messages: the stream codec on its own, the greeting
// that agrees on it, what travels, and peers that speak another greeting or send
// what does not inflate.
#include <enet/enet.h>
#include <gtest/gtest.h>
#include <malloc.h>
#include <zlib.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "CapturedLog.h"
#include "Handshake.h"
#include "MessageCompression.h"
#include "PeerKit.h"
#include "raknet/MessageIdentifiers.h"
#include "raknet/RakPeerInterface.h"

#if defined(__SANITIZE_ADDRESS__)
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();  // the sanitizer's own count
#endif

using namespace RakNet;
using namespace peerkit;
using Bytes = std::vector<unsigned char>;

namespace {
constexpr std::size_t kMax = 4 * 1024 * 1024;

Bytes randomBytes(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (auto& c : b) c = static_cast<unsigned char>(rng());
  return b;
}

// Messages as the game sends them: small ones, a repetitive bulk, noise, a long run.
std::vector<Bytes> sampleMessages() {
  std::vector<Bytes> out;
  out.push_back({0x86});
  out.push_back({0x85, 0, 0, 0, 12, 0, 0, 0, 2});
  out.push_back({0x85, 0, 0, 0, 12, 0, 0, 0, 2});
  Bytes bulk;
  for (int i = 0; i < 3000; ++i) {
    const Bytes entry = {0x10, 0x42, static_cast<unsigned char>(i), 0x09, 'B', 'o', 'a', 'r', 'd', 0, 0, 1};
    bulk.insert(bulk.end(), entry.begin(), entry.end());
  }
  out.push_back(bulk);
  out.push_back(randomBytes(100000, 7));
  out.push_back(Bytes(kMax, 0x90));
  return out;
}

// Raw deflate as a sender of the stream writes it, flush tail and all.
Bytes deflateRaw(const Bytes& in, int windowBits = peer::MessageCompression::kWindowBits, bool finish = false) {
  z_stream z{};
  deflateInit2(&z, 6, Z_DEFLATED, -windowBits, 8, Z_DEFAULT_STRATEGY);
  Bytes out(in.size() + 1024);
  z.next_in = const_cast<Bytef*>(in.data());
  z.avail_in = static_cast<uInt>(in.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, finish ? Z_FINISH : Z_SYNC_FLUSH);
  out.resize(out.size() - z.avail_out);
  deflateEnd(&z);
  return out;
}

// One raw deflate stream that never ends, as any other client of the protocol writes
// and reads it: flushed after each message, the flush tail taken off and put back.
class PlainStream {
 public:
  PlainStream() {
    deflateInit2(&out_, 6, Z_DEFLATED, -peer::MessageCompression::kWindowBits, 8, Z_DEFAULT_STRATEGY);
    inflateInit2(&in_, -peer::MessageCompression::kWindowBits);
  }
  ~PlainStream() {
    deflateEnd(&out_);
    inflateEnd(&in_);
  }
  Bytes compress(const Bytes& m) {
    Bytes wire(m.size() + m.size() / 8 + 1024);
    out_.next_in = const_cast<Bytef*>(m.data());
    out_.avail_in = static_cast<uInt>(m.size());
    out_.next_out = wire.data();
    out_.avail_out = static_cast<uInt>(wire.size());
    deflate(&out_, Z_SYNC_FLUSH);
    wire.resize(wire.size() - out_.avail_out - 4);
    return wire;
  }
  Bytes decompress(Bytes wire, std::size_t length) {
    wire.insert(wire.end(), {0x00, 0x00, 0xFF, 0xFF});
    Bytes m(length + 1);
    in_.next_in = wire.data();
    in_.avail_in = static_cast<uInt>(wire.size());
    in_.next_out = m.data();
    in_.avail_out = static_cast<uInt>(m.size());
    inflate(&in_, Z_SYNC_FLUSH);
    m.resize(m.size() - in_.avail_out);
    return m;
  }

 private:
  z_stream out_{}, in_{};
};

// The samples, then turns whose messages refer back into earlier ones.
std::vector<Bytes> matchMessages() {
  std::vector<Bytes> out = sampleMessages();
  for (int turn = 0; turn < 40; ++turn) {
    out.push_back({0x85, 0, 0, 0, static_cast<unsigned char>(turn % 7), 0, 0, 0, 2});
    Bytes chat = {0x8C, 0, 20};
    for (char c : "a chat line, turn " + std::to_string(turn % 9)) chat.push_back(static_cast<unsigned char>(c));
    out.push_back(chat);
  }
  return out;
}

// The stream each way is the protocol's one deflate stream: what the codec sends a
// plain reader takes in, what a plain writer sends the codec takes in, smaller.
TEST(MessageCompression, AStreamOfMessagesComesBackAsItWentAndSmaller) {
  peer::MessageCompression sender, receiver;
  ASSERT_TRUE(sender.ready());
  PlainStream plain;
  Bytes wire, back;
  std::size_t raw = 0, sent = 0;
  std::vector<std::size_t> sizes;
  for (const Bytes& m : matchMessages()) {
    ASSERT_TRUE(sender.compress(m.data(), m.size(), wire));
    sizes.push_back(wire.size());
    EXPECT_EQ(plain.decompress(wire, m.size()), m);
    const char* why = nullptr;
    const Bytes plainWire = plain.compress(m);
    ASSERT_TRUE(receiver.decompress(plainWire.data(), plainWire.size(), kMax, back, &why)) << why;
    EXPECT_EQ(back, m);
    raw += m.size();
    sent += wire.size();
  }
  // A message that repeats the one before costs next to nothing.
  EXPECT_LT(sizes[2], 5u);
  EXPECT_LT(sent, raw / 20);
}

// Bytes the heap holds for this process now.
std::size_t heapBytes() {
#if defined(__SANITIZE_ADDRESS__)
  return __sanitizer_get_current_allocated_bytes();
#else
  return mallinfo2().uordblks;
#endif
}

// A server holds thousands of connections: between messages, one keeps little more
// than the 2 KB windows of its two streams.
TEST(MessageCompression, AConnectionKeepsLittleBetweenMessages) {
  const std::vector<Bytes> messages = {randomBytes(3000, 1), {0x85, 0, 0, 0, 12}, randomBytes(700, 2)};
  Bytes wire, back;
  auto talk = [&](peer::MessageCompression& a, peer::MessageCompression& b) {
    for (const Bytes& m : messages) {
      a.compress(m.data(), m.size(), wire);
      b.decompress(wire.data(), wire.size(), kMax, back, nullptr);
      b.compress(m.data(), m.size(), wire);
      a.decompress(wire.data(), wire.size(), kMax, back, nullptr);
    }
  };
  {
    peer::MessageCompression a, b;  // whatever a thread sets up once
    talk(a, b);
  }
  constexpr int kEnds = 400;
  const std::size_t before = heapBytes();
  std::vector<std::unique_ptr<peer::MessageCompression>> ends;
  for (int i = 0; i < kEnds; ++i) ends.push_back(std::make_unique<peer::MessageCompression>());
  for (int i = 0; i < kEnds; i += 2) talk(*ends[i], *ends[i + 1]);
  const std::size_t perEnd = (heapBytes() - before) / kEnds;
  EXPECT_LE(perEnd, (std::size_t{2} << peer::MessageCompression::kWindowBits) + 256);
}

Bytes withoutTail(Bytes b) {
  b.resize(b.size() - 4);
  return b;
}

TEST(MessageCompression, WhatIsNoMessageOfTheStreamIsRefusedAndBreaksIt) {
  struct Case {
    const char* name;
    Bytes data;
    const char* why;
  } cases[] = {
      {"empty", {}, "an empty compressed message"},
      {"noise", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, "data that is no deflate stream"},
      {"too long", withoutTail(deflateRaw(Bytes(kMax + 1, 0))), "a message longer than allowed"},
      {"stream end", deflateRaw({1, 2, 3}, peer::MessageCompression::kWindowBits, true), "a stream that ends"},
      // A stored block of 10 bytes holding 3 (the tail put back makes 7).
      {"cut short", {0x00, 0x0A, 0x00, 0xF5, 0xFF, 1, 2, 3}, "a message that does not end with its flush"},
  };
  const Bytes good = withoutTail(deflateRaw({1, 2, 3}));
  for (const Case& c : cases) {
    peer::MessageCompression receiver;
    Bytes out;
    const char* why = nullptr;
    EXPECT_FALSE(receiver.decompress(c.data.data(), c.data.size(), kMax, out, &why)) << c.name;
    EXPECT_STREQ(why, c.why) << c.name;
    EXPECT_TRUE(out.empty()) << c.name;
    // Nothing more comes out of a broken stream, not even a good message.
    EXPECT_FALSE(receiver.decompress(good.data(), good.size(), kMax, out, &why)) << c.name;
  }
  peer::MessageCompression fresh;
  Bytes out;
  ASSERT_TRUE(fresh.decompress(good.data(), good.size(), kMax, out, nullptr));
  EXPECT_EQ(out, (Bytes{1, 2, 3}));
}

// Every message a peer takes in, in order, until `n` of the application's came.
std::vector<Bytes> receive(RakPeerInterface* p, size_t n, int ms = 10000) {
  std::vector<Bytes> got;
  const auto until = Clock::now() + std::chrono::milliseconds(ms);
  while (got.size() < n && Clock::now() < until) {
    while (Packet* packet = p->Receive()) {
      if (packet->data[0] >= ID_USER_PACKET_ENUM) got.emplace_back(packet->data, packet->data + packet->length);
      p->DeallocatePacket(packet);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return got;
}

// Whether the client and the server want compression.
class PeerCompression : public ::testing::TestWithParam<std::tuple<bool, bool>> {};

TEST_P(PeerCompression, MessagesArriveAsSentAndCompressedOnlyWhenBothSidesWantIt) {
  const auto [clientWants, serverWants] = GetParam();
  Pair pair;
  pair.client->SetCompression(clientWants);
  pair.server->SetCompression(serverWants);
  ASSERT_TRUE(pair.connect());
  std::vector<Bytes> messages = sampleMessages();
  messages.back().resize(1024 * 1024);  // the largest message alone takes long to send raw
  size_t raw = 0;
  for (Bytes& m : messages) {
    if (m[0] < ID_USER_PACKET_ENUM) m[0] = ID_USER_PACKET_ENUM;
    raw += m.size();
  }
  const uint64_t before = pair.server->GetWireStatistics().bytesReceived;
  for (const Bytes& m : messages)
    ASSERT_NE(pair.client->Send(reinterpret_cast<const char*>(m.data()), static_cast<int>(m.size()), HIGH_PRIORITY,
                                RELIABLE_ORDERED, 0, pair.serverGuid, false),
              0u);
  EXPECT_EQ(receive(pair.server.get(), messages.size()), messages);
  const uint64_t wire = pair.server->GetWireStatistics().bytesReceived - before;
  if (clientWants && serverWants)
    EXPECT_LT(wire, raw / 4);
  else
    EXPECT_GT(wire, raw);
  // And the other way.
  const char answer[] = {static_cast<char>(0x91), 1, 2, 3};
  pair.server->Send(answer, sizeof answer, HIGH_PRIORITY, RELIABLE_ORDERED, 0, pair.client->GetMyGUID(), false);
  EXPECT_EQ(receive(pair.client.get(), 1), (std::vector<Bytes>{Bytes{0x91, 1, 2, 3}}));
}

INSTANTIATE_TEST_SUITE_P(BothWays, PeerCompression,
                         ::testing::Combine(::testing::Bool(), ::testing::Bool()),
                         [](const ::testing::TestParamInfo<std::tuple<bool, bool>>& info) {
                           return std::string(std::get<0>(info.param) ? "ClientWants" : "ClientDeclines") +
                                  (std::get<1>(info.param) ? "ServerWants" : "ServerDeclines");
                         });

// The connect request's data of the greeting version before ours.
enet_uint32 lastVersionData() { return handshake::connectData() ^ handshake::kVersion ^ (handshake::kVersion - 1); }

// Services a raw ENet host until `done` or the time runs out.
template <typename Done>
bool serviceUntil(ENetHost* host, RakPeerInterface* peer, Done&& done, ENetEvent* last, int ms = 5000) {
  const auto until = Clock::now() + std::chrono::milliseconds(ms);
  while (Clock::now() < until) {
    ENetEvent ev;
    while (enet_host_service(host, &ev, 1) > 0) {
      *last = ev;
      const bool finished = done(ev);
      if (ev.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(ev.packet);
      if (finished) return true;
    }
    if (peer) peer->DeallocatePacket(peer->Receive());
  }
  return false;
}

// A peer of the greeting version before this one (which compressed nothing) meets
// one of this version: either way round the attempt fails at once, and the log says why.
TEST(PeerCompression, APeerOfTheLastGreetingVersionIsRefusedWithALogLine) {
  CapturedLog log;
  // An old client at a new server.
  PeerPtr server = makePeer(4, 4);
  {
    RawEnet old;
    ASSERT_NE(old.connect(server.get(), lastVersionData()), nullptr);
    ENetEvent ev{};
    ASSERT_TRUE(serviceUntil(
        old.host, server.get(), [](const ENetEvent& e) { return e.type == ENET_EVENT_TYPE_DISCONNECT; }, &ev));
    EXPECT_EQ(ev.data, 3u);  // incompatible
  }
  const std::string line = "speaks handshake version " + std::to_string(handshake::kVersion - 1) + ", we speak " +
                           std::to_string(handshake::kVersion);
  EXPECT_TRUE(log.has(line)) << line;

  // A new client at an old server, which refuses a version it does not speak.
  ENetAddress any;
  enet_address_set_host_ip(&any, "127.0.0.1");
  any.port = 0;
  ENetHost* oldServer = enet_host_create(&any, 2, 1, 0, 0);
  ASSERT_NE(oldServer, nullptr);
  PeerPtr client = makePeer(1, 0);
  ASSERT_EQ(client->Connect("127.0.0.1", oldServer->address.port, nullptr, 0), CONNECTION_ATTEMPT_STARTED);
  bool refused = false;
  const auto until = Clock::now() + std::chrono::seconds(5);
  while (!refused && Clock::now() < until) {
    ENetEvent e;
    while (enet_host_service(oldServer, &e, 1) > 0) {
      if (e.type == ENET_EVENT_TYPE_CONNECT && e.data != lastVersionData()) enet_peer_disconnect(e.peer, 3);
      if (e.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(e.packet);
    }
    while (Packet* p = client->Receive()) {
      refused = refused || p->data[0] == ID_INCOMPATIBLE_PROTOCOL_VERSION;
      client->DeallocatePacket(p);
    }
  }
  EXPECT_TRUE(refused);
  EXPECT_TRUE(log.has("refused (reason 3)"));
  enet_host_destroy(oldServer);
}

// A client that was granted compression and then sends what does not inflate, or
// inflates beyond the largest message, is closed with a log line; nothing of it
// reaches the application.
TEST(PeerCompression, AStreamThatDoesNotInflateClosesTheConnection) {
  struct Case {
    const char* name;
    Bytes message;
    const char* line;
  } cases[] = {
      {"noise", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, "a compressed message: data that is no deflate stream"},
      {"bomb", withoutTail(deflateRaw(Bytes(kMax + 1, 0x90))), "a compressed message: a message longer than allowed"},
  };
  for (const Case& c : cases) {
    CapturedLog log;
    PeerPtr server = makePeer(4, 4);
    RawEnet client;
    ENetHost* raw = client.host;
    ENetPeer* toServer = client.connect(server.get(), handshake::connectData());
    ASSERT_NE(toServer, nullptr);
    ENetEvent ev{};
    ASSERT_TRUE(serviceUntil(raw, server.get(), [](const ENetEvent& e) { return e.type == ENET_EVENT_TYPE_CONNECT; },
                             &ev));
    handshake::Greeting hello;
    hello.guid = 0x1234567;
    hello.proof = 0x89ABCDEF;
    hello.compression = handshake::Compression::Deflate;
    const Bytes greeting = handshake::encode(hello);
    enet_peer_send(toServer, 0, enet_packet_create(greeting.data(), greeting.size(), ENET_PACKET_FLAG_RELIABLE));
    handshake::Greeting welcome;
    ASSERT_TRUE(serviceUntil(
        raw, server.get(),
        [&](const ENetEvent& e) {
          return e.type == ENET_EVENT_TYPE_RECEIVE &&
                 handshake::decode(e.packet->data, e.packet->dataLength, welcome, nullptr);
        },
        &ev))
        << c.name;
    EXPECT_EQ(welcome.compression, handshake::Compression::Deflate) << c.name;
    enet_peer_send(toServer, 0, enet_packet_create(c.message.data(), c.message.size(), ENET_PACKET_FLAG_RELIABLE));
    int messages = 0;
    const auto until = Clock::now() + std::chrono::seconds(10);
    bool closed = false;
    while (!closed && Clock::now() < until) {
      ENetEvent e;
      while (enet_host_service(raw, &e, 1) > 0) {
        if (e.type == ENET_EVENT_TYPE_DISCONNECT) closed = true;
        if (e.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(e.packet);
      }
      while (Packet* p = server->Receive()) {
        messages += p->data[0] >= ID_USER_PACKET_ENUM;
        server->DeallocatePacket(p);
      }
    }
    EXPECT_TRUE(closed) << c.name;
    EXPECT_EQ(messages, 0) << c.name;
    EXPECT_TRUE(log.has(c.line)) << c.name;
  }
}

// Messages that wait for the application count against one bound for all
// connections together: the connection that holds the most of them is closed
// when another's message would pass it, and the other carries on.
TEST(PeerCompression, WhatWaitsFromAllConnectionsIsBoundedAtTheHeaviestsCost) {
  PeerPtr server = makePeer(4, 4);
  IncomingLimits limits;
  limits.maxWaitingBytesTotal = 1000 * 1000;
  server->SetIncomingLimits(limits);
  RawEnet heavy, light;
  const Bytes big(300 * 1000, 0x90);
  // Sends and waits until the server's transport has taken (and so handled) all.
  auto deliver = [&](RawEnet& from, int messages) {
    ENetPeer* to = from.connect(server.get(), handshake::connectData());
    ENetEvent ev{};
    if (!serviceUntil(from.host, nullptr, [](const ENetEvent& e) { return e.type == ENET_EVENT_TYPE_CONNECT; }, &ev))
      return to;
    handshake::Greeting hello;
    hello.guid = reinterpret_cast<std::uintptr_t>(&from);
    hello.proof = 1;
    const Bytes greeting = handshake::encode(hello);
    enet_peer_send(to, 0, enet_packet_create(greeting.data(), greeting.size(), ENET_PACKET_FLAG_RELIABLE));
    for (int i = 0; i < messages; ++i)
      enet_peer_send(to, 0, enet_packet_create(big.data(), big.size(), ENET_PACKET_FLAG_RELIABLE));
    auto pending = [to] {
      return !enet_list_empty(&to->outgoingCommands) || !enet_list_empty(&to->sentReliableCommands);
    };
    for (auto until = Clock::now() + std::chrono::seconds(5);
         Clock::now() < until && to->state == ENET_PEER_STATE_CONNECTED && pending();)
      if (enet_host_service(from.host, &ev, 1) > 0 && ev.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(ev.packet);
    return to;
  };
  deliver(heavy, 2);
  ENetPeer* lightPeer = deliver(light, 2);  // its second passes the bound: the heavy one goes
  ENetEvent ev{};
  EXPECT_TRUE(serviceUntil(heavy.host, nullptr, [](const ENetEvent& e) { return e.type == ENET_EVENT_TYPE_DISCONNECT; }, &ev));
  EXPECT_EQ(ev.data, 6u);
  int lost = 0, delivered = 0;
  for (auto until = Clock::now() + std::chrono::seconds(5); (lost < 1 || delivered < 2) && Clock::now() < until;) {
    while (Packet* p = server->Receive()) {
      lost += p->data[0] == ID_CONNECTION_LOST;
      delivered += p->data[0] == 0x90;
      server->DeallocatePacket(p);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(lost, 1);
  EXPECT_EQ(delivered, 2);  // the light one's, and none of the heavy one's
  EXPECT_EQ(lightPeer->state, ENET_PEER_STATE_CONNECTED);
}

}  // namespace
