// The peer: one UDP socket, any number of connections, reliable ordered messages.
// A service thread keeps connections alive (acknowledgements, pings, resends) even
// while the application does not call in; received messages, connection events
// and plug-in callbacks reach the application only inside Receive, on its thread.
//
// Each remote system names itself by its GUID, and no two connections share one: a
// system that greets with a GUID another connection holds (from another address,
// without the secret the holder greeted with) is refused, and its attempt ends in
// ID_ALREADY_CONNECTED; the holder itself, back on a new socket, replaces its old
// connection, which is told so (its side hears ID_CONNECTION_LOST). Peers that share
// one port hold GUIDs together (ShareGreetings). Receive takes the waiting messages
// of the connected systems in turn, one each, so one that sends a great deal cannot
// hold the others back.
#pragma once

#include <cstddef>
#include <cstdint>

#include "raknet/BitStream.h"
#include "raknet/MessageIdentifiers.h"
#include "raknet/PluginInterface2.h"
#include "raknet/RakNetTypes.h"

namespace RakNet {

// What one remote system may send us, and all of them together. A connection that
// goes over any limit is closed at once with a log line: the application gets
// ID_CONNECTION_LOST and never sees the messages of it that were still waiting.
// Bytes are counted as the application gets them (inflated, for a compressed
// connection), and a compressed message stops inflating as soon as it passes what
// the connection may still send. Zero leaves a limit off.
struct IncomingLimits {
  unsigned messagesPerSecond = 0;  // on average...
  unsigned messageBurst = 0;       // ...and at most at once
  std::size_t bytesPerSecond = 0;
  std::size_t byteBurst = 0;
  unsigned maxWaitingMessages = 0;  // received, not yet taken by Receive
  std::size_t maxWaitingBytes = 0;
  // The largest message the application's protocol has (0: the transport's, 4 MiB).
  std::size_t maxMessageBytes = 0;
  // All connections together: bytes waiting for Receive (over it, the connection
  // holding the most is closed), and bytes inflated a second (while that is spent,
  // a connection that inflated more than its share of it lately is closed).
  std::size_t maxWaitingBytesTotal = 0;
  std::size_t inflatedBytesPerSecondTotal = 0;
  // Connections one address may open, on average and at once; those beyond are
  // refused at their connect request.
  unsigned greetingsPerSecond = 0;
  unsigned greetingBurst = 0;
};

// What went over the wire: the transport's datagrams, with its own headers,
// acknowledgements and resends (UDP and IP headers not counted).
struct WireStatistics {
  std::uint64_t bytesSent = 0;
  std::uint64_t bytesReceived = 0;
  std::uint64_t datagramsSent = 0;
  std::uint64_t datagramsReceived = 0;
};

class RakPeerInterface {
 public:
  static RakPeerInterface* GetInstance();
  static void DestroyInstance(RakPeerInterface* peer);

  virtual ~RakPeerInterface() = default;

  // Binds the socket of the first descriptor and starts the service thread.
  // threadPriority is accepted for compatibility and not used.
  virtual StartupResult Startup(unsigned int maxConnections, SocketDescriptor* socketDescriptors,
                                unsigned socketDescriptorCount, int threadPriority = -99999) = 0;
  virtual bool IsActive() const = 0;
  // How many remote systems may connect to us (0 until set: a pure client).
  virtual void SetMaximumIncomingConnections(unsigned short numberAllowed) = 0;
  virtual unsigned int GetMaximumIncomingConnections() const = 0;
  virtual unsigned short NumberOfConnections() const = 0;

  // Starts a connection attempt: sendConnectionAttemptCount tries,
  // timeBetweenSendConnectionAttemptsMS apart. The outcome arrives as a packet:
  // ID_CONNECTION_REQUEST_ACCEPTED, ID_CONNECTION_ATTEMPT_FAILED,
  // ID_NO_FREE_INCOMING_CONNECTIONS, ID_ALREADY_CONNECTED, ID_CONNECTION_BANNED or
  // ID_INCOMPATIBLE_PROTOCOL_VERSION. timeoutTime 0 keeps the peer's time-out.
  virtual ConnectionAttemptResult Connect(const char* host, unsigned short remotePort,
                                          const char* passwordData, int passwordDataLength,
                                          void* publicKey = nullptr,
                                          unsigned connectionSocketIndex = 0,
                                          unsigned sendConnectionAttemptCount = 12,
                                          unsigned timeBetweenSendConnectionAttemptsMS = 500,
                                          TimeMS timeoutTime = 0) = 0;

  // Ends every connection (notifying the others when blockDuration > 0 and waiting
  // up to that long for the notices to leave), stops the thread, closes the socket
  // and frees every packet not yet received.
  virtual void Shutdown(unsigned int blockDuration, unsigned char orderingChannel = 0,
                        PacketPriority disconnectionNotificationPriority = LOW_PRIORITY) = 0;

  // Queues a message; returns a receipt number, or 0 when nothing was sent (empty
  // data, unknown or not connected target, not started).
  virtual std::uint32_t Send(const BitStream* bitStream, PacketPriority priority,
                             PacketReliability reliability, char orderingChannel,
                             const AddressOrGUID systemIdentifier, bool broadcast,
                             std::uint32_t forceReceiptNumber = 0) = 0;
  virtual std::uint32_t Send(const char* data, const int length, PacketPriority priority,
                             PacketReliability reliability, char orderingChannel,
                             const AddressOrGUID systemIdentifier, bool broadcast,
                             std::uint32_t forceReceiptNumber = 0) = 0;

  // The next message or connection event, or null. Runs the plug-ins first.
  virtual Packet* Receive() = 0;
  virtual void DeallocatePacket(Packet* packet) = 0;
  // A packet of the application's own, to be handed out by Receive after what is queued.
  virtual Packet* AllocatePacket(unsigned dataSize) = 0;
  virtual void PushBackPacket(Packet* packet, bool pushAtHead) = 0;

  // Ends one connection; the other side gets ID_DISCONNECTION_NOTIFICATION when
  // sendDisconnectionNotification is set (after what was queued for it), otherwise
  // it times out.
  virtual void CloseConnection(const AddressOrGUID target, bool sendDisconnectionNotification,
                               unsigned char orderingChannel = 0,
                               PacketPriority disconnectionNotificationPriority = LOW_PRIORITY) = 0;
  virtual ConnectionState GetConnectionState(const AddressOrGUID systemIdentifier) = 0;

  virtual const RakNetGUID& GetMyGUID() const = 0;
  virtual SystemAddress GetMyBoundAddress(const int socketIndex = 0) = 0;
  virtual RakNetGUID GetGuidFromSystemAddress(const SystemAddress input) const = 0;
  virtual SystemAddress GetSystemAddressFromGuid(const RakNetGUID input) const = 0;

  // Silence after which a connection counts as lost; the unassigned address sets it
  // for every current and future connection.
  virtual void SetTimeoutTime(TimeMS timeMS, const SystemAddress target) = 0;
  virtual TimeMS GetTimeoutTime(const SystemAddress target) = 0;

  // Makes this peer one of those serving a port with `first` (each bound with
  // SocketDescriptor::sharePort): a GUID is then held through all of them, so a Hello
  // that names a GUID held on another of them is refused or replaces it there, as on
  // one peer; and what one address may open (IncomingLimits) counts over all of them.
  // Before Startup.
  virtual void ShareGreetings(RakPeerInterface* first) = 0;

  // Limits for every current and future connection (see IncomingLimits).
  virtual void SetIncomingLimits(const IncomingLimits& limits) = 0;
  // The most bytes that may wait to be acknowledged by one remote system: a send
  // beyond it closes that connection as lost (ID_CONNECTION_LOST), with a log line,
  // so a system that stops reading cannot make us hold its backlog. 0: no limit.
  virtual void SetOutgoingQueueLimit(std::size_t bytes) = 0;

  // Whether connections made from now on compress their messages (on by default).
  // The greeting agrees on it: only when both sides want it do they compress, and the
  // application's bytes are the same either way. Reliable messages only.
  virtual void SetCompression(bool on) = 0;
  // What to tell a remote system whose greeting is of an older version than ours: it
  // is let in, greeted in its own version's layout, sent these bytes as one reliable
  // message and closed, without the application hearing of it. Empty (the default):
  // it is refused at its connect request, as a system of a newer version always is.
  virtual void SetOutdatedFarewell(const unsigned char* data, std::size_t length) = 0;
  // Since the peer was made, over all its connections.
  virtual WireStatistics GetWireStatistics() const = 0;

  virtual void AttachPlugin(PluginInterface2* plugin) = 0;
  virtual void DetachPlugin(PluginInterface2* plugin) = 0;
};

}  // namespace RakNet
