// Basic value types of the networking library: addresses, GUIDs, packets and the
// small enums that the peer's calls take.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "raknet/PacketPriority.h"

namespace RakNet {

using MessageID = unsigned char;
using NetworkID = std::uint64_t;
using BitSize_t = std::uint32_t;
using TimeMS = std::uint32_t;

// The id an object has before a manager gives it one.
constexpr NetworkID UNASSIGNED_NETWORK_ID = ~static_cast<NetworkID>(0);

enum StartupResult {
  RAKNET_STARTED,
  RAKNET_ALREADY_STARTED,
  INVALID_SOCKET_DESCRIPTORS,
  INVALID_MAX_CONNECTIONS,
  SOCKET_FAMILY_NOT_SUPPORTED,
  SOCKET_PORT_ALREADY_IN_USE,
  SOCKET_FAILED_TO_BIND,
  SOCKET_FAILED_TEST_SEND,
  PORT_CANNOT_BE_ZERO,
  FAILED_TO_CREATE_NETWORK_THREAD,
  COULD_NOT_GENERATE_GUID,
  STARTUP_OTHER_FAILURE
};

enum ConnectionAttemptResult {
  CONNECTION_ATTEMPT_STARTED = 0,
  INVALID_PARAMETER = 1,
  CANNOT_RESOLVE_DOMAIN_NAME = 2,
  ALREADY_CONNECTED_TO_ENDPOINT = 3,
  CONNECTION_ATTEMPT_ALREADY_IN_PROGRESS = 4,
  SECURITY_INITIALIZATION_FAILED = 5
};

enum ConnectionState {
  IS_PENDING,
  IS_CONNECTING,
  IS_CONNECTED,
  IS_DISCONNECTING,
  IS_SILENTLY_DISCONNECTING,
  IS_DISCONNECTED,
  IS_NOT_CONNECTED
};

// One IPv4 endpoint; the address and port are kept in host byte order.
struct SystemAddress {
  std::uint32_t address = 0xFFFFFFFFu;
  std::uint16_t port = 0xFFFF;
  std::uint16_t systemIndex = 0xFFFF;

  SystemAddress() = default;
  SystemAddress(const char* host, std::uint16_t port);

  // "a.b.c.d" or with the port appended after the delimiter ("a.b.c.d|port").
  std::string ToString(bool writePort = true, char portDelimiter = '|') const;
  void ToString(bool writePort, char* dest, char portDelimiter = '|') const;
  // Accepts "a.b.c.d", "a.b.c.d|port" or "a.b.c.d:port"; false leaves this unchanged.
  bool FromString(const char* text, char portDelimiter = '|');
  bool FromStringExplicitPort(const char* text, std::uint16_t port);
  std::uint16_t GetPort() const { return port; }
  bool IsLoopback() const { return (address >> 24) == 127; }
  static int size() { return 6; }

  bool operator==(const SystemAddress& o) const { return address == o.address && port == o.port; }
  bool operator!=(const SystemAddress& o) const { return !(*this == o); }
  bool operator<(const SystemAddress& o) const {
    return address != o.address ? address < o.address : port < o.port;
  }
};

// A peer's identity, stable for the life of its peer instance. The system index
// is local bookkeeping and takes no part in comparisons.
struct RakNetGUID {
  std::uint64_t g = ~static_cast<std::uint64_t>(0);
  std::uint16_t systemIndex = 0xFFFF;

  RakNetGUID() = default;
  explicit RakNetGUID(std::uint64_t value) : g(value) {}

  std::string ToString() const;
  bool FromString(const char* text);
  static unsigned long ToUint32(const RakNetGUID& guid) {
    return static_cast<unsigned long>((guid.g >> 32) ^ (guid.g & 0xFFFFFFFFu));
  }
  static int size() { return 8; }

  bool operator==(const RakNetGUID& o) const { return g == o.g; }
  bool operator!=(const RakNetGUID& o) const { return g != o.g; }
  bool operator<(const RakNetGUID& o) const { return g < o.g; }
  bool operator>(const RakNetGUID& o) const { return g > o.g; }
};

extern const SystemAddress UNASSIGNED_SYSTEM_ADDRESS;
extern const RakNetGUID UNASSIGNED_RAKNET_GUID;

struct Packet;

// Either a GUID or an address names a remote system; the GUID wins when both are set.
struct AddressOrGUID {
  RakNetGUID rakNetGuid;
  SystemAddress systemAddress;

  AddressOrGUID() = default;
  AddressOrGUID(const RakNetGUID& guid) : rakNetGuid(guid) {}  // NOLINT: implicit like the callers expect
  AddressOrGUID(const SystemAddress& address) : systemAddress(address) {}  // NOLINT
  AddressOrGUID(const Packet* packet);  // NOLINT

  bool IsUndefined() const {
    return rakNetGuid == UNASSIGNED_RAKNET_GUID && systemAddress == UNASSIGNED_SYSTEM_ADDRESS;
  }
  std::string ToString(bool writePort = true) const;
};

// Where and how a peer binds its socket. Only IPv4 is supported.
struct SocketDescriptor {
  static constexpr unsigned short kAfInet = 2;

  unsigned short port = 0;
  char hostAddress[32] = {0};
  short socketFamily = kAfInet;
  unsigned short remotePortRakNetWasStartedOn_PS3_PSP2 = 0;
  int chromeInstance = 0;
  bool blockingSocket = false;
  unsigned int extraSocketOptions = 0;
  // Shares the port with other peers of this process (SO_REUSEPORT): the system
  // spreads the remote systems among them, each staying with one. For servers
  // that need more connections than one peer holds.
  bool sharePort = false;

  SocketDescriptor() = default;
  SocketDescriptor(unsigned short port, const char* hostAddress);
};

// One received message or connection event. Owned by the peer: hand it back with
// RakPeerInterface::DeallocatePacket.
struct Packet {
  SystemAddress systemAddress;
  RakNetGUID guid;
  unsigned int length = 0;  // bytes
  BitSize_t bitSize = 0;
  unsigned char* data = nullptr;
  bool deleteData = true;
  bool wasGeneratedLocally = false;
};

}  // namespace RakNet
