// Peers on 127.0.0.1 for the peer's tests: made, found by port, and waited on.
#pragma once

#include <enet/enet.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include <gtest/gtest.h>

#include "raknet/MessageIdentifiers.h"
#include "raknet/RakPeerInterface.h"

namespace peerkit {

using namespace RakNet;
using Clock = std::chrono::steady_clock;

struct PeerDeleter {
  void operator()(RakPeerInterface* p) const { RakPeerInterface::DestroyInstance(p); }
};
using PeerPtr = std::unique_ptr<RakPeerInterface, PeerDeleter>;

inline PeerPtr makePeer(unsigned maxConnections, unsigned short maxIncoming) {
  PeerPtr p(RakPeerInterface::GetInstance());
  SocketDescriptor sd(0, "127.0.0.1");
  EXPECT_EQ(p->Startup(maxConnections, &sd, 1), RAKNET_STARTED);
  p->SetMaximumIncomingConnections(maxIncoming);
  return p;
}

inline unsigned short portOf(RakPeerInterface* p) { return p->GetMyBoundAddress().GetPort(); }

// Receives until a packet with the id arrives or the time runs out; other packets
// are handed to `other` (or dropped).
inline bool waitFor(RakPeerInterface* p, unsigned char id, Packet** out = nullptr, int ms = 5000,
                    const std::function<void(Packet*)>& other = nullptr) {
  auto until = Clock::now() + std::chrono::milliseconds(ms);
  while (Clock::now() < until) {
    while (Packet* packet = p->Receive()) {
      if (packet->data[0] == id) {
        if (out)
          *out = packet;
        else
          p->DeallocatePacket(packet);
        return true;
      }
      if (other) other(packet);
      p->DeallocatePacket(packet);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

// An ENet host of the test's own that speaks to a peer as an outsider would.
struct RawEnet {
  ENetHost* host = enet_host_create(nullptr, 2, 1, 0, 0);
  RawEnet() = default;
  RawEnet(const RawEnet&) = delete;
  RawEnet& operator=(const RawEnet&) = delete;
  ~RawEnet() {
    if (host) enet_host_destroy(host);
  }
  // Starts a connection to the peer, with `data` in the connect request.
  ENetPeer* connect(RakPeerInterface* to, enet_uint32 data) {
    ENetAddress address;
    enet_address_set_host_ip(&address, "127.0.0.1");
    address.port = portOf(to);
    return host ? enet_host_connect(host, &address, 1, data) : nullptr;
  }
};

// A server and a client of it.
struct Pair {
  PeerPtr server = makePeer(8, 8);
  PeerPtr client = makePeer(2, 0);
  RakNetGUID serverGuid;

  bool connect() {
    if (client->Connect("127.0.0.1", portOf(server.get()), nullptr, 0) != CONNECTION_ATTEMPT_STARTED)
      return false;
    Packet* accepted = nullptr;
    if (!waitFor(client.get(), ID_CONNECTION_REQUEST_ACCEPTED, &accepted)) return false;
    serverGuid = accepted->guid;
    client->DeallocatePacket(accepted);
    return waitFor(server.get(), ID_NEW_INCOMING_CONNECTION);
  }
};

}  // namespace peerkit
