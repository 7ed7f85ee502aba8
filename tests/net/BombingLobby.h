// A lobby that is not one: it greets the game as our server does, grants deflate,
// and then sends frames of a few kB that each inflate to megabytes.
#pragma once

#include <enet/enet.h>

#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "Handshake.h"
#include "MessageCompression.h"
#include "raknet/MessageIdentifiers.h"
#include "raknet/RakPeerInterface.h"

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

  // What the bombed game did: whether it closed the connection (and when), and how
  // many of the frames it handed to its application.
  struct Outcome {
    bool cut = false;
    double cutAfterMs = -1;
    int handedOn = 0;
  };
  // Runs the lobby against a started peer that is connecting to it (the game's),
  // taking what the peer hands on, until the peer closes the connection or `ms` pass.
  Outcome bomb(RakNet::RakPeerInterface& game, int ms) {
    Outcome o;
    const auto start = std::chrono::steady_clock::now();
    while (!o.cut && std::chrono::steady_clock::now() - start < std::chrono::milliseconds(ms)) {
      service();
      while (RakNet::Packet* p = game.Receive()) {
        o.handedOn += p->data[0] == 0x8F;
        if (p->data[0] == ID_CONNECTION_LOST) {
          o.cut = true;
          o.cutAfterMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        }
        game.DeallocatePacket(p);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return o;
  }

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
