// Two peers on 127.0.0.1 (ephemeral ports): a listening host and a joining
// client, with bounded waits that pump both.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "raknet/MessageIdentifiers.h"
#include "raknet/RakPeerInterface.h"

namespace loopback {

using Clock = std::chrono::steady_clock;

struct PeerDeleter {
  void operator()(RakNet::RakPeerInterface* p) const { RakNet::RakPeerInterface::DestroyInstance(p); }
};
using PeerPtr = std::unique_ptr<RakNet::RakPeerInterface, PeerDeleter>;

inline PeerPtr makePeer(unsigned short maxIncoming) {
  PeerPtr p(RakNet::RakPeerInterface::GetInstance());
  RakNet::SocketDescriptor sd(0, "127.0.0.1");
  EXPECT_EQ(p->Startup(4, &sd, 1), RakNet::RAKNET_STARTED);
  p->SetMaximumIncomingConnections(maxIncoming);
  return p;
}

// Takes every packet a peer has (plug-ins run inside), keeping none.
inline void drain(RakNet::RakPeerInterface* p) {
  while (RakNet::Packet* packet = p->Receive()) p->DeallocatePacket(packet);
}

// Pumps the peers until `done` holds or `ms` pass; true when it held.
inline bool pumpUntil(const std::function<bool()>& done, std::initializer_list<RakNet::RakPeerInterface*> peers,
                      int ms = 5000) {
  const auto until = Clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    for (RakNet::RakPeerInterface* p : peers) drain(p);
    if (done()) return true;
    if (Clock::now() >= until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

// Connects client to host and waits until both peers have told their plug-ins.
inline bool connect(RakNet::RakPeerInterface* host, RakNet::RakPeerInterface* client) {
  if (client->Connect("127.0.0.1", host->GetMyBoundAddress().GetPort(), nullptr, 0) !=
      RakNet::CONNECTION_ATTEMPT_STARTED)
    return false;
  return pumpUntil([&] { return host->NumberOfConnections() == 1 && client->NumberOfConnections() == 1; },
                   {host, client}) &&
         pumpUntil([] { return true; }, {host, client});
}

}  // namespace loopback
