#include "RawClient.h"

#include <chrono>
#include <random>

#include "Handshake.h"
#include "MessageCompression.h"
#include "raknet/MessageIdentifiers.h"

namespace {
using Clock = std::chrono::steady_clock;

std::uint64_t randomGuid() {
  std::random_device rd;
  std::uint64_t g = 0;
  while (!RakNet::handshake::usableGuid(g)) g = (static_cast<std::uint64_t>(rd()) << 32) ^ rd();
  return g;
}
}  // namespace

RawClient::RawClient(const char* bindAddress) {
  enet_initialize();
  ENetAddress a;
  enet_address_set_host_ip(&a, bindAddress);
  a.port = 0;
  host_ = enet_host_create(&a, 1, 1, 0, 0);
}

RawClient::~RawClient() {
  if (host_) enet_host_destroy(host_);
}

bool RawClient::connect(unsigned short port, int ms) { return connectAs(port, randomGuid(), ms); }

bool RawClient::connectAs(unsigned short port, std::uint64_t guid, int ms) {
  if (!host_) return false;
  guid_ = guid;
  ENetAddress a;
  enet_address_set_host_ip(&a, "127.0.0.1");
  a.port = port;
  peer_ = enet_host_connect(host_, &a, 1, RakNet::handshake::connectData());
  if (!peer_) return false;
  auto until = Clock::now() + std::chrono::milliseconds(ms);
  while (!welcomed_ && !closed_ && Clock::now() < until) service(1);
  return welcomed_;
}

void RawClient::send(const Bytes& message) {
  flood(message, 1);
}

void RawClient::sendWire(const Bytes& packet) {
  if (!peer_ || closed_) return;
  enet_peer_send(peer_, 0, enet_packet_create(packet.data(), packet.size(), ENET_PACKET_FLAG_RELIABLE));
  enet_host_flush(host_);
}

void RawClient::flood(const Bytes& message, int count) {
  if (!peer_ || closed_) return;
  Bytes wire;
  for (int i = 0; i < count; ++i) {
    const Bytes& out = stream_ && stream_->compress(message.data(), message.size(), wire) ? wire : message;
    enet_peer_send(peer_, 0, enet_packet_create(out.data(), out.size(), ENET_PACKET_FLAG_RELIABLE));
  }
  enet_host_flush(host_);
}

void RawClient::service(int ms) {
  if (!host_) return;
  ENetEvent ev;
  int wait = ms;
  while (enet_host_service(host_, &ev, static_cast<enet_uint32>(wait)) > 0) {
    wait = 0;
    switch (ev.type) {
      case ENET_EVENT_TYPE_CONNECT: {
        RakNet::handshake::Greeting hello;
        hello.kind = RakNet::handshake::Kind::Hello;
        hello.guid = guid_;
        if (!proof_) proof_ = randomGuid();  // its own secret: it proves nothing about another's GUID
        hello.proof = proof_;
        if (askCompression_) hello.compression = RakNet::handshake::Compression::Deflate;
        send(RakNet::handshake::encode(hello));
        break;
      }
      case ENET_EVENT_TYPE_RECEIVE: {
        Bytes b(ev.packet->data, ev.packet->data + ev.packet->dataLength);
        enet_packet_destroy(ev.packet);
        RakNet::handshake::Greeting welcome;
        if (!welcomed_ && !b.empty() && b[0] == ID_INTERNAL_HANDSHAKE) {
          welcomed_ = RakNet::handshake::decode(b.data(), b.size(), welcome, nullptr) &&
                      welcome.kind == RakNet::handshake::Kind::Welcome;
          if (welcomed_ && welcome.compression == RakNet::handshake::Compression::Deflate)
            stream_ = std::make_shared<RakNet::peer::MessageCompression>();
        } else if (stream_) {
          Bytes message;
          if (stream_->decompress(b.data(), b.size(), 4 * 1024 * 1024, message, nullptr)) got_.push_back(message);
        } else {
          got_.push_back(std::move(b));
        }
        break;
      }
      case ENET_EVENT_TYPE_DISCONNECT:
        closed_ = true;
        closeReason_ = ev.data;
        peer_ = nullptr;
        break;
      case ENET_EVENT_TYPE_NONE:
        break;
    }
  }
}

Bytes RawClient::await(std::initializer_list<unsigned char> ids, int ms) {
  auto until = Clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    for (; next_ < got_.size(); ++next_) {
      for (unsigned char id : ids) {
        if (!got_[next_].empty() && got_[next_][0] == id) return got_[next_++];
      }
    }
    if (closed_ || Clock::now() >= until) return {};
    service(1);
  }
}

int RawClient::count(unsigned char id) const {
  int n = 0;
  for (const Bytes& b : got_) n += !b.empty() && b[0] == id;
  return n;
}

bool RawClient::awaitCount(unsigned char id, int n, int ms) {
  auto until = Clock::now() + std::chrono::milliseconds(ms);
  while (count(id) < n && !closed_ && Clock::now() < until) service(1);
  return count(id) >= n;
}

Bytes RawClient::last(unsigned char id) const {
  for (auto it = got_.rbegin(); it != got_.rend(); ++it)
    if (!it->empty() && (*it)[0] == id) return *it;
  return {};
}

bool RawClient::awaitClosed(int ms) {
  auto until = Clock::now() + std::chrono::milliseconds(ms);
  while (!closed_ && Clock::now() < until) service(1);
  return closed_;
}

Bytes RawClient::typeCode(unsigned short port, const std::string& email, const std::string& code) {
  if (!welcomed_ && !connect(port)) return {};
  protocol::ProtocolVersionMsg v;
  v.value = protocol::kProtocolVersion;
  send(v);
  if (await(ID_LOGIN_EMAIL).empty()) return {};
  protocol::LoginEmailMsg e;
  e.text = email;
  send(e);
  if (await(ID_LOGIN_CODE).empty()) return {};
  protocol::LoginCodeMsg c;
  c.text = code;
  send(c);
  return await({ID_PLAYER_NAME, ID_LOGIN, ID_LOBBY_ERROR});
}

bool RawClient::login(unsigned short port, const std::string& name, const std::string& code) {
  if (typeCode(port, emailOf(name), code) != Bytes{ID_PLAYER_NAME}) return false;
  protocol::PlayerNameMsg n;
  n.text = name;
  send(n);
  return !await(ID_LOGIN).empty();
}

std::vector<Bytes> compressionBomb(std::size_t inflated, int count) {
  RakNet::peer::MessageCompression stream;
  const Bytes zeros(inflated, 0);
  std::vector<Bytes> out(static_cast<size_t>(count));
  for (Bytes& packet : out) stream.compress(zeros.data(), zeros.size(), packet);
  return out;
}

bool roundTrip(RawClient& c) {
  protocol::ChallengeMsg nobody;
  nobody.guid = 1;
  int before = c.count(ID_CHALLENGE_ANSWER);
  c.send(nobody);
  return c.awaitCount(ID_CHALLENGE_ANSWER, before + 1);
}

bool startMatch(RawClient& host, RawClient& join) {
  protocol::ChallengeMsg ch;
  ch.guid = join.guid();
  host.send(ch);
  if (join.await(ID_CHALLENGE).empty()) return false;
  protocol::ChallengeAnswerMsg yes;
  yes.value = 1;
  join.send(yes);
  return !host.await(ID_START_GAME).empty() && !join.await(ID_START_GAME).empty();
}
