// A lobby that is not one: it greets the game as our server does, grants deflate,
// and then sends frames of a few kB that each inflate to megabytes.
#pragma once

#include <enet/enet.h>

#include <cstdint>
#include <vector>

#include "Handshake.h"
#include "MessageCompression.h"

class BombingLobby {
 public:
  // `frames` messages of `inflated` bytes, sent as soon as the game has greeted.
  BombingLobby(std::size_t inflated, int frames) {
    ENetAddress any;
    enet_address_set_host_ip(&any, "127.0.0.1");
    any.port = 0;
    host_ = enet_host_create(&any, 2, 1, 0, 0);
    const std::vector<unsigned char> message(inflated, 0x8F);
    RakNet::peer::MessageCompression stream;
    frames_.resize(static_cast<size_t>(frames));
    for (auto& frame : frames_) stream.compress(message.data(), message.size(), frame);
  }
  ~BombingLobby() {
    if (host_) enet_host_destroy(host_);
  }
  BombingLobby(const BombingLobby&) = delete;
  BombingLobby& operator=(const BombingLobby&) = delete;

  unsigned short port() const { return host_ ? host_->address.port : 0; }
  std::size_t frameBytes() const { return frames_.empty() ? 0 : frames_[0].size(); }
  // Takes what arrived; greets a Hello and sends the frames. Whether the game has
  // closed the connection.
  bool service() {
    ENetEvent e;
    while (host_ && enet_host_service(host_, &e, 0) > 0) {
      if (e.type == ENET_EVENT_TYPE_DISCONNECT) closed_ = true;
      if (e.type != ENET_EVENT_TYPE_RECEIVE) continue;
      const bool hello = e.packet->dataLength > 0 && e.packet->data[0] == 0x09;
      enet_packet_destroy(e.packet);
      if (!hello) continue;
      RakNet::handshake::Greeting welcome;
      welcome.kind = RakNet::handshake::Kind::Welcome;
      welcome.guid = 0xB0B0B0B0;
      welcome.compression = RakNet::handshake::Compression::Deflate;
      send(e.peer, RakNet::handshake::encode(welcome));
      for (const auto& frame : frames_) send(e.peer, frame);
    }
    return closed_;
  }

 private:
  void send(ENetPeer* to, const std::vector<unsigned char>& bytes) {
    enet_peer_send(to, 0, enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE));
  }

  ENetHost* host_ = nullptr;
  std::vector<std::vector<unsigned char>> frames_;
  bool closed_ = false;
};
