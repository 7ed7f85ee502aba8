// A peer that connects nowhere and keeps every message sent through it, in order,
// so a test can read exactly what a plug-in (the replica manager) sends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "raknet/RakPeerInterface.h"

class CapturePeer : public RakNet::RakPeerInterface {
 public:
  struct Sent {
    RakNet::RakNetGUID to;
    std::vector<unsigned char> bytes;
    bool operator==(const Sent& o) const { return to == o.to && bytes == o.bytes; }
  };

  // What was sent since the last call.
  std::vector<Sent> take() {
    std::vector<Sent> out;
    out.swap(sent_);
    return out;
  }

  std::uint32_t Send(const RakNet::BitStream* bs, PacketPriority, PacketReliability, char,
                     const RakNet::AddressOrGUID to, bool, std::uint32_t) override {
    const unsigned char* data = bs->GetData();
    sent_.push_back({to.rakNetGuid, std::vector<unsigned char>(data, data + bs->GetNumberOfBytesUsed())});
    return static_cast<std::uint32_t>(sent_.size());
  }
  std::uint32_t Send(const char* data, const int length, PacketPriority, PacketReliability, char,
                     const RakNet::AddressOrGUID to, bool, std::uint32_t) override {
    sent_.push_back({to.rakNetGuid, std::vector<unsigned char>(data, data + length)});
    return static_cast<std::uint32_t>(sent_.size());
  }
  void AttachPlugin(RakNet::PluginInterface2* plugin) override {
    plugin->SetRakPeerInterface(this);
    plugin->OnAttach();
  }
  void DetachPlugin(RakNet::PluginInterface2* plugin) override {
    plugin->OnDetach();
    plugin->SetRakPeerInterface(nullptr);
  }
  const RakNet::RakNetGUID& GetMyGUID() const override { return guid_; }

  // Nothing else does anything.
  RakNet::StartupResult Startup(unsigned, RakNet::SocketDescriptor*, unsigned, int) override {
    return RakNet::RAKNET_STARTED;
  }
  bool IsActive() const override { return true; }
  void SetMaximumIncomingConnections(unsigned short) override {}
  unsigned GetMaximumIncomingConnections() const override { return 0; }
  unsigned short NumberOfConnections() const override { return 0; }
  RakNet::ConnectionAttemptResult Connect(const char*, unsigned short, const char*, int, void*, unsigned, unsigned,
                                          unsigned, RakNet::TimeMS) override {
    return RakNet::INVALID_PARAMETER;
  }
  void Shutdown(unsigned, unsigned char, PacketPriority) override {}
  RakNet::Packet* Receive() override { return nullptr; }
  void DeallocatePacket(RakNet::Packet*) override {}
  RakNet::Packet* AllocatePacket(unsigned) override { return nullptr; }
  void PushBackPacket(RakNet::Packet*, bool) override {}
  void CloseConnection(const RakNet::AddressOrGUID, bool, unsigned char, PacketPriority) override {}
  RakNet::ConnectionState GetConnectionState(const RakNet::AddressOrGUID) override { return RakNet::IS_CONNECTED; }
  RakNet::SystemAddress GetMyBoundAddress(const int) override { return RakNet::SystemAddress(); }
  RakNet::RakNetGUID GetGuidFromSystemAddress(const RakNet::SystemAddress) const override { return {}; }
  RakNet::SystemAddress GetSystemAddressFromGuid(const RakNet::RakNetGUID) const override { return {}; }
  void SetTimeoutTime(RakNet::TimeMS, const RakNet::SystemAddress) override {}
  RakNet::TimeMS GetTimeoutTime(const RakNet::SystemAddress) override { return 0; }
  void ShareGreetings(RakNet::RakPeerInterface*) override {}
  void SetIncomingLimits(const RakNet::IncomingLimits&) override {}
  void SetOutgoingQueueLimit(std::size_t) override {}
  void SetCompression(bool) override {}
  void SetOutdatedFarewell(const unsigned char*, std::size_t) override {}
  RakNet::WireStatistics GetWireStatistics() const override { return {}; }

 private:
  RakNet::RakNetGUID guid_{1};
  std::vector<Sent> sent_;
};
