// The one-byte identifiers of the peer's own messages. Every identifier below
// ID_USER_PACKET_ENUM belongs to the networking layer; applications number their
// messages from ID_USER_PACKET_ENUM up. A message arriving from the wire with an
// identifier below ID_USER_PACKET_ENUM reaches only plug-ins, never the application.
#pragma once

enum DefaultMessageIDTypes : unsigned char {
  // Internal: the greeting each side sends right after the transport connects.
  ID_INTERNAL_HANDSHAKE = 0x09,

  ID_CONNECTION_REQUEST_ACCEPTED = 0x10,
  ID_CONNECTION_ATTEMPT_FAILED = 0x11,
  ID_ALREADY_CONNECTED = 0x12,
  ID_NEW_INCOMING_CONNECTION = 0x13,
  ID_NO_FREE_INCOMING_CONNECTIONS = 0x14,
  ID_DISCONNECTION_NOTIFICATION = 0x15,
  ID_CONNECTION_LOST = 0x16,
  ID_CONNECTION_BANNED = 0x17,
  ID_INVALID_PASSWORD = 0x18,
  ID_INCOMPATIBLE_PROTOCOL_VERSION = 0x19,
  ID_IP_RECENTLY_CONNECTED = 0x1A,
  ID_TIMESTAMP = 0x1B,

  // Replica manager traffic (handled by the replication plug-in).
  ID_REPLICA_MANAGER_CONSTRUCTION = 0x30,
  ID_REPLICA_MANAGER_SCOPE_CHANGE = 0x31,
  ID_REPLICA_MANAGER_SERIALIZE = 0x32,
  ID_REPLICA_MANAGER_DOWNLOAD_STARTED = 0x33,
  ID_REPLICA_MANAGER_DOWNLOAD_COMPLETE = 0x34,
  ID_REPLICA_MANAGER_CONSTRUCTION_REJECTED = 0x35,
  ID_REPLICA_MANAGER_CONSTRUCTION_ACCEPTED = 0x36,

  ID_USER_PACKET_ENUM = 0x80
};
