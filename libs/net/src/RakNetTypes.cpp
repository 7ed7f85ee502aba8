#include "raknet/RakNetTypes.h"

#include <arpa/inet.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace RakNet {

const SystemAddress UNASSIGNED_SYSTEM_ADDRESS;
const RakNetGUID UNASSIGNED_RAKNET_GUID;

namespace {
bool parseIPv4(const char* text, std::uint32_t& out) {
  in_addr a{};
  if (!text || inet_pton(AF_INET, text, &a) != 1) return false;
  out = ntohl(a.s_addr);
  return true;
}
}  // namespace

SystemAddress::SystemAddress(const char* host, std::uint16_t p) {
  std::uint32_t a;
  if (parseIPv4(host, a)) {
    address = a;
    port = p;
  }
}

std::string SystemAddress::ToString(bool writePort, char portDelimiter) const {
  char buf[32];
  ToString(writePort, buf, portDelimiter);
  return buf;
}

void SystemAddress::ToString(bool writePort, char* dest, char portDelimiter) const {
  if (*this == UNASSIGNED_SYSTEM_ADDRESS) {
    std::strcpy(dest, "UNASSIGNED_SYSTEM_ADDRESS");
    return;
  }
  if (writePort)
    std::snprintf(dest, 32, "%u.%u.%u.%u%c%u", address >> 24, (address >> 16) & 255,
                  (address >> 8) & 255, address & 255, portDelimiter, port);
  else
    std::snprintf(dest, 32, "%u.%u.%u.%u", address >> 24, (address >> 16) & 255,
                  (address >> 8) & 255, address & 255);
}

bool SystemAddress::FromString(const char* text, char portDelimiter) {
  if (!text) return false;
  std::string s(text);
  size_t cut = s.find(portDelimiter);
  if (cut == std::string::npos) cut = s.find(':');
  std::uint32_t a;
  if (!parseIPv4(s.substr(0, cut).c_str(), a)) return false;
  std::uint16_t p = port;
  if (cut != std::string::npos) {
    char* end = nullptr;
    unsigned long v = std::strtoul(s.c_str() + cut + 1, &end, 10);
    if (!end || *end != '\0' || v > 65535) return false;
    p = static_cast<std::uint16_t>(v);
  }
  address = a;
  port = p;
  return true;
}

bool SystemAddress::FromStringExplicitPort(const char* text, std::uint16_t p) {
  std::uint32_t a;
  if (!parseIPv4(text, a)) return false;
  address = a;
  port = p;
  return true;
}

std::string RakNetGUID::ToString() const {
  if (*this == UNASSIGNED_RAKNET_GUID) return "UNASSIGNED_RAKNET_GUID";
  char buf[24];
  std::snprintf(buf, sizeof buf, "%" PRIu64, g);
  return buf;
}

bool RakNetGUID::FromString(const char* text) {
  if (!text || !*text) return false;
  char* end = nullptr;
  unsigned long long v = std::strtoull(text, &end, 10);
  if (!end || *end != '\0') return false;
  g = v;
  return true;
}

AddressOrGUID::AddressOrGUID(const Packet* packet) {
  if (packet) {
    rakNetGuid = packet->guid;
    systemAddress = packet->systemAddress;
  }
}

std::string AddressOrGUID::ToString(bool writePort) const {
  if (rakNetGuid != UNASSIGNED_RAKNET_GUID) return rakNetGuid.ToString();
  return systemAddress.ToString(writePort);
}

SocketDescriptor::SocketDescriptor(unsigned short p, const char* host) : port(p) {
  if (host) {
    std::strncpy(hostAddress, host, sizeof hostAddress - 1);
    hostAddress[sizeof hostAddress - 1] = '\0';
  }
}

}  // namespace RakNet
