// What the network tells the lobby flow: the lobby connection's events and the lobby
// server's messages, already decoded and checked. The event hub takes them (its lobby
// flow implements every entry); the network's table of received messages calls them;
// tests record them. LobbyLink is the other direction.
#pragma once

#include <string>
#include <vector>

class LobbyEvents {
 public:
  virtual ~LobbyEvents() = default;

  // The connection to the lobby server.
  virtual void onLobbyConnecting() {}
  virtual void onLobbyConnected() {}
  virtual void onLobbyConnectFailed() {}
  virtual void onLobbyConnectionLost() {}

  // The lobby server's messages.
  virtual void onLoginRequired() {}
  virtual void onCodeRequested() {}
  virtual void onNameRequested() {}
  virtual void onLoginAccepted() {}
  virtual void onLobbyError(int /*error*/) {}
  virtual void onPlayerList(int /*onlineCount*/, const std::vector<std::string>& /*names*/) {}
  virtual void onChallengeReceived(const std::string& /*name*/) {}
  virtual void onChallengeRejected() {}
  virtual void onServerStart(const std::string& /*opponent*/) {}
  virtual void onClientStart(const std::string& /*opponent*/) {}
  // 0 to 2 from the host (the receiver lost, won, drew), 3 and 4 the opponent
  // disconnected, 5 and 6 the opponent forfeited.
  virtual void onGameEndNotice(int /*code*/) {}
  virtual void onChatReceived(const std::string& /*text*/) {}
};
