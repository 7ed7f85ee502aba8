// Base of the peer's plug-ins (the replica manager, say). A plug-in sees every
// packet before the application and every connection change, always on the thread
// that calls RakPeerInterface::Receive.
#pragma once

#include "raknet/RakNetTypes.h"

namespace RakNet {

class RakPeerInterface;

enum PluginReceiveResult {
  RR_STOP_PROCESSING_AND_DEALLOCATE,  // the plug-in used the packet up
  RR_CONTINUE_PROCESSING,             // pass it on
  RR_STOP_PROCESSING                  // the plug-in keeps the packet and deallocates it later
};

enum PI2_LostConnectionReason {
  LCR_CLOSED_BY_USER,
  LCR_DISCONNECTION_NOTIFICATION,
  LCR_CONNECTION_LOST
};

enum PI2_FailedConnectionAttemptReason {
  FCAR_CONNECTION_ATTEMPT_FAILED,
  FCAR_ALREADY_CONNECTED,
  FCAR_NO_FREE_INCOMING_CONNECTIONS,
  FCAR_SECURITY_PUBLIC_KEY_MISMATCH,
  FCAR_CONNECTION_BANNED,
  FCAR_INVALID_PASSWORD,
  FCAR_INCOMPATIBLE_PROTOCOL,
  FCAR_IP_RECENTLY_CONNECTED,
  FCAR_REMOTE_SYSTEM_REQUIRES_PUBLIC_KEY,
  FCAR_OUR_SYSTEM_REQUIRES_SECURITY,
  FCAR_PUBLIC_KEY_MISMATCH
};

class PluginInterface2 {
 public:
  PluginInterface2() = default;
  PluginInterface2(const PluginInterface2&) = delete;
  PluginInterface2& operator=(const PluginInterface2&) = delete;
  virtual ~PluginInterface2() = default;

  virtual void OnAttach() {}
  virtual void OnDetach() {}
  // Once per Receive call, before any packet.
  virtual void Update() {}
  virtual PluginReceiveResult OnReceive(Packet* packet) {
    (void)packet;
    return RR_CONTINUE_PROCESSING;
  }
  virtual void OnRakPeerStartup() {}
  virtual void OnRakPeerShutdown() {}
  virtual void OnClosedConnection(const SystemAddress& systemAddress, RakNetGUID guid,
                                  PI2_LostConnectionReason reason) {
    (void)systemAddress;
    (void)guid;
    (void)reason;
  }
  virtual void OnNewConnection(const SystemAddress& systemAddress, RakNetGUID guid, bool isIncoming) {
    (void)systemAddress;
    (void)guid;
    (void)isIncoming;
  }
  virtual void OnFailedConnectionAttempt(Packet* packet, PI2_FailedConnectionAttemptReason reason) {
    (void)packet;
    (void)reason;
  }

  RakPeerInterface* GetRakPeerInterface() const { return rakPeerInterface_; }
  void SetRakPeerInterface(RakPeerInterface* peer) { rakPeerInterface_ = peer; }

 private:
  RakPeerInterface* rakPeerInterface_ = nullptr;
};

}  // namespace RakNet
