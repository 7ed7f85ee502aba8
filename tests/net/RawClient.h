// A lobby client of our own over raw ENet, written as an outsider would write one:
// it speaks the peer's greeting and the lobby's messages byte for byte, and it can
// do what our peer never does: greet with any GUID, flood, or stop reading.
#pragma once

#include <enet/enet.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "protocol/Messages.h"

namespace RakNet {
namespace peer {
class MessageCompression;
}
}  // namespace RakNet

using Bytes = std::vector<unsigned char>;

class RawClient {
 public:
  // `bindAddress`: the loopback address the client speaks from (127.0.0.2 is another
  // address than 127.0.0.1 as far as the server can tell).
  explicit RawClient(const char* bindAddress = "127.0.0.1");
  ~RawClient();
  RawClient(const RawClient&) = delete;
  RawClient& operator=(const RawClient&) = delete;

  // Asks for compression in the greetings from now on: when granted, what it sends and
  // receives travels as the peer's deflate streams.
  void askCompression() { askCompression_ = true; }
  bool compressed() const { return stream_ != nullptr; }
  // Connects and greets with a random GUID; true once welcomed.
  bool connect(unsigned short port, int ms = 5000);
  // Connects and greets with the GUID given, whatever it is.
  bool connectAs(unsigned short port, std::uint64_t guid, int ms = 5000);
  std::uint64_t guid() const { return guid_; }
  // The secret its Hellos show; another client may show it to claim this one's GUID.
  std::uint64_t proof() const { return proof_; }
  void showProof(std::uint64_t proof) { proof_ = proof; }

  void send(const Bytes& message);
  // Bytes as they go on the wire (compressed already, or not), unchanged.
  void sendWire(const Bytes& packet);
  template <class M>
  void send(const M& m) {
    RakNet::BitStream bs = protocol::encode(m);
    send(Bytes(bs.GetData(), bs.GetData() + bs.GetNumberOfBytesUsed()));
  }
  // Queues `count` copies of one message and puts them on the wire.
  void flood(const Bytes& message, int count);

  // Takes what arrived, waiting up to `ms` for the first event.
  void service(int ms = 0);
  // The next message (after the last one awaited) with one of the ids, or empty when
  // none came within `ms`.
  Bytes await(std::initializer_list<unsigned char> ids, int ms = 5000);
  Bytes await(unsigned char id, int ms = 5000) { return await({id}, ms); }
  // Everything received with the id, awaited or not.
  int count(unsigned char id) const;
  // Services until `n` messages with the id have come; whether they did within `ms`.
  bool awaitCount(unsigned char id, int n, int ms = 5000);
  // The last message received with the id (empty when none).
  Bytes last(unsigned char id) const;
  // Services until the server ends the connection.
  bool awaitClosed(int ms = 5000);
  bool welcomed() const { return welcomed_; }
  bool closed() const { return closed_; }
  enet_uint32 closeReason() const { return closeReason_; }

  // The login by mailed code up to the code: connects, gives the version and the
  // address, types the code, and returns the server's answer (empty when none came).
  Bytes typeCode(unsigned short port, const std::string& email, const std::string& code);
  // The whole login by mailed code, with the code every new login gets.
  bool login(unsigned short port, const std::string& name, const std::string& code = "123456");
  static std::string emailOf(const std::string& name) { return name + "@attack.example"; }

 private:
  ENetHost* host_ = nullptr;
  ENetPeer* peer_ = nullptr;
  std::uint64_t guid_ = 0;
  std::uint64_t proof_ = 0;
  bool welcomed_ = false;
  bool closed_ = false;
  enet_uint32 closeReason_ = 0;
  std::vector<Bytes> got_;
  size_t next_ = 0;
  bool askCompression_ = false;
  std::shared_ptr<RakNet::peer::MessageCompression> stream_;
};

// `count` messages of `inflated` zero bytes as one deflate stream puts them on the
// wire (the first some 4 kB for 4 MiB): a compression bomb for a fresh connection.
std::vector<Bytes> compressionBomb(std::size_t inflated, int count);

// A message the server answers at once (a challenge to nobody is refused): once the
// answer is in, everything the server sent the client before it is in as well. Use
// it only when no other answer of that kind is on its way, and outside a match.
bool roundTrip(RawClient& c);
// Starts a match by challenge: `host` challenges, `join` accepts.
bool startMatch(RawClient& host, RawClient& join);
