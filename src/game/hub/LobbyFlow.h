// The event hub's lobby flow: which screen shows (FlowState), which input the lobby
// asks for (LobbyPrompt), the login by e-mail address and mailed code, the player's
// name, invitations, challenges, quick match, the start of games against the
// computer and of network matches, the lobby server's notices that end them, chat
// from the opponent, and the buttons that open web pages. It is the event hub's
// lobby half: EventDispatcher derives from it, so these entries are the hub's own,
// and the network reaches the ones it calls through LobbyEvents. The game flow reads
// and sets the flow state here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "LobbyEvents.h"
#include "LobbyLink.h"
#include "LobbyScreen.h"

class EventDispatcher;

// Which screen the game is on.
enum class FlowState : int32_t {
  Menu = 0,
  ConnectingLobby = 1,
  Lobby = 2,
  InGame = 3,
  GameOver = 4,
};

// Which input the lobby asks for.
enum class LobbyPrompt : int32_t {
  None = 0,
  Email = 1,
  Code = 2,
  Name = 3,
  FriendEmail = 4,
  Challenge = 5,
};

class LobbyFlow : public LobbyEvents {
 public:
  LobbyFlow(const LobbyFlow&) = delete;
  LobbyFlow& operator=(const LobbyFlow&) = delete;

  // ---- Ports (null goes back to the stand-ins) ----------------------------------------
  LobbyScreen& lobbyScreen() const { return *lobbyScreen_; }
  void setLobbyScreen(LobbyScreen* screen) { lobbyScreen_ = screen ? screen : &nullLobbyScreen_; }
  LobbyLink& lobbyLink() const { return *lobbyLink_; }
  void setLobbyLink(LobbyLink* link) { lobbyLink_ = link ? link : &nullLobbyLink_; }

  // ---- Record -------------------------------------------------------------------------
  bool connectedToLobby() const { return connectedToLobby_; }
  FlowState flowState() const { return flowState_; }
  void setFlowState(FlowState state) { flowState_ = state; }
  LobbyPrompt lobbyPrompt() const { return lobbyPrompt_; }
  const std::string& email() const { return email_; }
  const std::string& code() const { return code_; }
  const std::string& userName() const { return userName_; }
  // The challenger, or the opponent of a match; names the opponent's chat lines.
  const std::string& opponentName() const { return opponentName_; }

  // ---- The screens ----------------------------------------------------------------------
  // Shows the screen of the flow state and the prompt of the lobby prompt.
  void showFlowState();
  // The menu scene in its main state, flow state Menu.
  void goToMenu();
  // A game against the computer in the mode `modeId`; false (with a log line,
  // nothing changed) for an unknown mode.
  bool startSingleGame(const std::string& modeId);
  void enterLobby();
  void startSandbox();
  void showMainMenu();
  // The menu's text box: the menu asks for nothing, so what was typed there is dropped.
  void submitMenuText(const std::string& /*text*/) {}
  void openMoreGames();
  void exitGame();
  void openAppStorePage();
  void openCrowdfundingPage();
  void openSocialPage();
  void openCommunityPage();
  // What the user typed at the lobby's prompt, sent as it stands (the lobby server
  // answers text it cannot take by asking again).
  void submitLobbyText(const std::string& text);
  void cancelLobbyPrompt();
  // `index` into the lobby list.
  void challengeUser(int index);
  void requestQuickMatch();
  void cancelLobbyWait();
  void inviteFriend();
  void acceptChallenge();
  void rejectChallenge();
  void leaveLobby();
  // The in-game menu's exit.
  void exitToMenu();

  // ---- LobbyEvents: the network ---------------------------------------------------------
  void onLobbyConnecting() override;
  void onLobbyConnected() override;
  void onLobbyConnectFailed() override;
  void onLobbyConnectionLost() override;
  void onLoginRequired() override;
  void onCodeRequested() override;
  void onNameRequested() override;
  void onLoginAccepted() override;
  void onLobbyError(int error) override;
  void onPlayerList(int onlineCount, const std::vector<std::string>& names) override;
  void onChallengeReceived(const std::string& name) override;
  void onChallengeRejected() override;
  void onServerStart(const std::string& name) override;
  void onClientStart(const std::string& name) override;
  // `code` is a GameResult as the wire carries it: Lost, Won or Draw from the host, the
  // opponent disconnected or forfeited from the lobby server.
  void onGameEndNotice(int code) override;
  void onChatReceived(const std::string& text) override;

 protected:
  // Only as the event hub's lobby half.
  explicit LobbyFlow(EventDispatcher& hub) : hub_(hub) {}

 private:
  // The prompt text of `lobbyPrompt` and its input mode.
  std::string promptText(LobbyInputMode& mode) const;
  std::string text(const std::string& key) const;
  // The game's greeting, shown as the game began, is shown again once the screen's start
  // (which clears the messages of whatever came before) is over: the player reads it
  // over the board and closes it with a click.
  void showIntroAgain();

  EventDispatcher& hub_;
  bool connectedToLobby_ = false;
  FlowState flowState_ = FlowState::Menu;
  LobbyPrompt lobbyPrompt_ = LobbyPrompt::None;
  // What the user typed at the prompts, kept until the login is accepted.
  std::string email_;
  std::string code_;
  std::string userName_;
  std::string opponentName_;

  NullLobbyScreen nullLobbyScreen_;
  LobbyScreen* lobbyScreen_ = &nullLobbyScreen_;
  NullLobbyLink nullLobbyLink_;
  LobbyLink* lobbyLink_ = &nullLobbyLink_;
};
