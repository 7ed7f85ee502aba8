// The event hub's lobby flow: which screen shows, the lobby's prompts, the login
// by e-mail address and mailed code, challenges, quick match, invitations, the
// start of network matches and the notices that end them, and chat.
#include "EventDispatcher.h"

#include "GameContext.h"
#include "game/GameDirector.h"
#include "game/GameSession.h"
#include "logog/logog.hpp"
#include "ports/GameScreen.h"
#include "ports/MatchLink.h"

namespace {

const char* const kSettingEmail = "email";
const char* const kSettingCode = "code";
const char* const kChallengeSound = "sounds/challenge.wav";
const LogColour kChatColour{103, 91, 80};

const char* const kAppStoreUrl = "https://www.brindlecor.example/mirrowvale/mobile";
const char* const kCrowdfundingUrl = "https://www.brindlecor.example/mirrowvale/back-us";
const char* const kSocialUrl = "https://www.brindlecor.example/mirrowvale/community";
const char* const kCommunityUrl = "https://www.brindlecor.example/mirrowvale/forum";

}  // namespace

// ---- Showing the flow ---------------------------------------------------------------------

std::string EventDispatcher::promptText(LobbyInputMode& mode) const {
  mode = LobbyInputMode::SingleLine;
  switch (lobbyPrompt_) {
    case LobbyPrompt::Email:
      mode = LobbyInputMode::EmailAddress;
      return text("INPUT_EMAIL");
    case LobbyPrompt::Code:
      mode = LobbyInputMode::Numeric;
      return text("INPUT_CODE");
    case LobbyPrompt::Name:
      return text("INPUT_NAME");
    case LobbyPrompt::FriendEmail:
      mode = LobbyInputMode::EmailAddress;
      return text("ENTER_FRIEND_EMAIL");
    case LobbyPrompt::Challenge:
      return opponentName_ + " " + text("CHALLENGES_YOU");
    case LobbyPrompt::None:
      break;
  }
  return {};
}

void EventDispatcher::showFlowState() {
  LobbyInputMode mode;
  const std::string prompt = promptText(mode);
  switch (flowState_) {
    case FlowState::Menu:
    case FlowState::ConnectingLobby:
      flowHost().showMenuScene(false);
      break;
    case FlowState::Lobby:
      flowHost().showLobbyScene();
      break;
    case FlowState::InGame:
    case FlowState::GameOver:
      flowHost().showGameScene();
      break;
  }
  if (flowState_ == FlowState::ConnectingLobby) flowHost().showMenuModalMessage(text("CONNECTING_LOBBY"));
  if (prompt.empty() || flowState_ != FlowState::Lobby) return;
  if (lobbyPrompt_ == LobbyPrompt::Challenge)
    lobbyScreen().showChallengePrompt(prompt);
  else
    lobbyScreen().showTextPrompt(prompt, mode);
}

void EventDispatcher::goToMenu() {
  flowState_ = FlowState::Menu;
  flowHost().showMenuScene(false);
  flowHost().showMenuMainState();
}

void EventDispatcher::clearMatch() {
  // The joining side's copies of the host's objects go first: the host will not
  // destroy them any more once the match is over for this side.
  if (joinsMatch()) matchLink().dropRemoteObjects();
  game().clearGame(true);
  onRemoteObjectsGone();
}

void EventDispatcher::onRemoteObjectsGone() {
  eventQueue_.clear();
  animating_ = false;
  remoteFinishedAnimating_ = false;
  // Effects still playing for the queue show objects that are gone.
  life_.end();
  life_.restart();
}

// ---- From the menu --------------------------------------------------------------------------

void EventDispatcher::enterLobby() {
  if (connectedToLobby_) {
    flowState_ = FlowState::Lobby;
    lobbyScreen().showMainState();
    showFlowState();
    return;
  }
  // Shown before the attempt starts: an attempt that fails at once must find the
  // connecting state to leave.
  flowState_ = FlowState::ConnectingLobby;
  showFlowState();
  matchLink().connectToLobby();
}

void EventDispatcher::startSandbox() {
  flowState_ = FlowState::InGame;
  game().newGame(false, std::make_unique<GameDirector_Sandbox>());
  screen().setStoreShown(true);
  screen().refreshGui();
  screen().startGame();
  flowHost().reportAnalytics("game", "singlestart", "sandbox");
  showFlowState();
}

void EventDispatcher::showMainMenu() { flowHost().showMenuMainState(); }
void EventDispatcher::openMoreGames() { flowHost().openMoreGames(); }
void EventDispatcher::exitGame() { flowHost().quit(); }
void EventDispatcher::openAppStorePage() { flowHost().openUrl(kAppStoreUrl); }
void EventDispatcher::openCrowdfundingPage() { flowHost().openUrl(kCrowdfundingUrl); }
void EventDispatcher::openSocialPage() { flowHost().openUrl(kSocialUrl); }
void EventDispatcher::openCommunityPage() { flowHost().openUrl(kCommunityUrl); }

// ---- From the lobby screen ------------------------------------------------------------------

void EventDispatcher::submitLobbyText(const std::string& typed) {
  switch (lobbyPrompt_) {
    case LobbyPrompt::Email:
      lobbyScreen().showModalMessage(text("PLEASE_WAIT"));
      matchLink().sendLoginEmail(typed);
      email_ = typed;
      break;
    case LobbyPrompt::Code:
      lobbyScreen().showModalMessage(text("PLEASE_WAIT"));
      matchLink().sendLoginCode(typed);
      code_ = typed;
      break;
    case LobbyPrompt::Name:
      matchLink().sendPlayerName(typed);
      userName_ = typed;
      lobbyPrompt_ = LobbyPrompt::None;
      lobbyScreen().showMainState();
      break;
    case LobbyPrompt::FriendEmail:
      matchLink().sendInviteFriend(typed);
      lobbyPrompt_ = LobbyPrompt::None;
      lobbyScreen().showMainState();
      lobbyScreen().showMessage(text("FRIEND_INVITED"));
      break;
    case LobbyPrompt::None:
    case LobbyPrompt::Challenge:
      break;
  }
}

void EventDispatcher::cancelLobbyPrompt() {
  switch (lobbyPrompt_) {
    case LobbyPrompt::Email:
    case LobbyPrompt::Code:
    case LobbyPrompt::Name:
      flowState_ = FlowState::Menu;
      flowHost().showMenuMainState();
      break;
    case LobbyPrompt::FriendEmail:
      lobbyPrompt_ = LobbyPrompt::None;
      lobbyScreen().showMainState();
      break;
    case LobbyPrompt::None:
    case LobbyPrompt::Challenge:
      break;
  }
  showFlowState();
}

void EventDispatcher::challengeUser(int index) {
  if (matchLink().isLocalPlayer(index)) return;
  matchLink().sendChallenge(index);
  lobbyScreen().showCancellableMessage(text("AWAITING_OPPONENT"));
}

void EventDispatcher::requestQuickMatch() {
  matchLink().sendQuickmatch();
  lobbyScreen().showCancellableMessage(text("AWAITING_OPPONENT"));
}

void EventDispatcher::cancelLobbyWait() {
  matchLink().sendCancelMatchmaking();
  lobbyScreen().showMainState();
}

void EventDispatcher::inviteFriend() {
  lobbyPrompt_ = LobbyPrompt::FriendEmail;
  showFlowState();
}

void EventDispatcher::acceptChallenge() {
  lobbyPrompt_ = LobbyPrompt::None;
  lobbyScreen().showMainState();
  lobbyScreen().showModalMessage(text("AWAITING_OPPONENT"));
  matchLink().sendChallengeAnswer(1);
}

void EventDispatcher::rejectChallenge() {
  if (!game().started()) {
    lobbyPrompt_ = LobbyPrompt::None;
    lobbyScreen().showMainState();
  } else {
    // Back to the game the challenge interrupted.
    lobbyPrompt_ = LobbyPrompt::None;
    flowState_ = FlowState::InGame;
  }
  showFlowState();
  matchLink().sendChallengeAnswer(0);
}

void EventDispatcher::leaveLobby() { goToMenu(); }

void EventDispatcher::exitToMenu() {
  matchLink().sendLeaveGame();
  // Leaving a match ends it for this side: the joining side's copies of the
  // host's objects go with the game record, and nothing of it keeps playing.
  if (game().online())
    clearMatch();
  else
    game().clearGame(false);
  goToMenu();
}

void EventDispatcher::sendChat(const std::string& line) {
  if (game().online()) matchLink().sendChat(line);
}

// ---- From the network -----------------------------------------------------------------------

void EventDispatcher::onLobbyConnecting() { LOGOG_INFO("connecting to lobby"); }

void EventDispatcher::onLobbyConnected() {
  LOGOG_INFO("connected to lobby");
  connectedToLobby_ = true;
  if (flowState_ == FlowState::ConnectingLobby) {
    flowState_ = FlowState::Lobby;
    showFlowState();
  }
}

void EventDispatcher::onLobbyConnectFailed() {
  LOGOG_INFO("failed to connect to lobby");
  // The connecting message gives way to the menu and its notice.
  if (flowState_ == FlowState::ConnectingLobby) goToMenu();
  flowHost().showMenuMessage(text("FAILED_CONNECTING_LOBBY"));
  connectedToLobby_ = false;
}

void EventDispatcher::onLobbyConnectionLost() {
  LOGOG_INFO("connection to lobby lost");
  connectedToLobby_ = false;
  const bool inMatch = game().online() &&
                       (game().started() || flowState_ == FlowState::InGame || flowState_ == FlowState::GameOver);
  if (inMatch) {
    // Every message of the match went through the lobby: the match is over, and
    // no game against nobody stays on the screen.
    clearMatch();
    goToMenu();
  } else if (flowState_ == FlowState::Lobby || flowState_ == FlowState::ConnectingLobby) {
    lobbyPrompt_ = LobbyPrompt::None;
    goToMenu();
  } else {
    showFlowState();
  }
  flowHost().showMenuMessage(text("CONNECTION_LOBBY_LOST"));
}

void EventDispatcher::onLoginRequired() {
  const std::string email = context().settings().getString(kSettingEmail);
  const std::string code = context().settings().getString(kSettingCode);
  if (!email.empty() && !code.empty()) {
    matchLink().sendLogin(email, code);
  } else if (!email_.empty()) {
    matchLink().sendLoginEmail(email_);
  } else {
    lobbyPrompt_ = LobbyPrompt::Email;
    showFlowState();
  }
}

void EventDispatcher::onCodeRequested() {
  lobbyPrompt_ = LobbyPrompt::Code;
  showFlowState();
}

void EventDispatcher::onNameRequested() {
  lobbyPrompt_ = LobbyPrompt::Name;
  showFlowState();
}

void EventDispatcher::onLoginAccepted() {
  lobbyPrompt_ = LobbyPrompt::None;
  lobbyScreen().showMainState();
  showFlowState();
  if (!email_.empty() && !code_.empty()) {
    context().settings().setString(kSettingEmail, email_);
    context().settings().setString(kSettingCode, code_);
    context().settings().flush();
  }
}

void EventDispatcher::onLobbyError(int error) {
  switch (error) {
    case 0:
      matchLink().disconnectFromLobby();
      connectedToLobby_ = false;
      goToMenu();
      flowHost().showMenuMessage(text("INVALID_PROTOCOL"));
      return;
    case 1:
      lobbyPrompt_ = LobbyPrompt::Code;
      lobbyScreen().showMainState();
      lobbyScreen().showTextPrompt(text("INVALID_CODE"), LobbyInputMode::Numeric);
      break;
    case 2:
      lobbyPrompt_ = LobbyPrompt::Email;
      lobbyScreen().showTextPrompt(text("INVALID_EMAIL"), LobbyInputMode::EmailAddress);
      break;
    case 3:
      lobbyPrompt_ = LobbyPrompt::Email;
      lobbyScreen().showTextPrompt(text("INPUT_EMAIL"), LobbyInputMode::EmailAddress);
      break;
    default:
      return;
  }
  // The remembered login did not hold (or is being replaced): forget it.
  context().settings().setString(kSettingEmail, "");
  context().settings().setString(kSettingCode, "");
  context().settings().flush();
}

void EventDispatcher::onPlayerList(int onlineCount, const std::vector<std::string>& names) {
  lobbyScreen().setPlayerList(onlineCount, names);
}

void EventDispatcher::onChallengeReceived(const std::string& name) {
  flowState_ = FlowState::Lobby;
  lobbyPrompt_ = LobbyPrompt::Challenge;
  opponentName_ = name;
  flowHost().playSound(kChallengeSound);
  showFlowState();
}

void EventDispatcher::onChallengeRejected() {
  flowState_ = FlowState::Lobby;
  lobbyPrompt_ = LobbyPrompt::None;
  showFlowState();
  lobbyScreen().showMainState();
  lobbyScreen().showMessage(text("CHALLENGE_REJECTED"));
}

void EventDispatcher::onServerStart(const std::string& name) {
  opponentName_ = name;
  flowState_ = FlowState::InGame;
  lobbyPrompt_ = LobbyPrompt::None;
  onRemoteObjectsGone();  // nothing of an earlier match's animations is left
  game().newGame(true, std::make_unique<GameDirector_Normal>());
  flowHost().reportAnalytics("game", "serverstart", "");
  screen().setStoreShown(false);
  screen().refreshGui();
  screen().setOpponentName(name);
  screen().startGame();
}

void EventDispatcher::onClientStart(const std::string& name) {
  flowHost().showMenuModalMessage(text("BEGINNING_GAME"));
  opponentName_ = name;
  // Whatever this side still holds of an earlier match goes: the new one's
  // objects arrive after this message.
  if (game().online() && (game().localPlayer() || game().enemyPlayer())) clearMatch();
  onRemoteObjectsGone();
  flowState_ = FlowState::InGame;
  lobbyPrompt_ = LobbyPrompt::None;
  game().beginClientGame();
  flowHost().reportAnalytics("game", "clientstart", "");
  screen().setStoreShown(false);
  screen().refreshGui();
  screen().setOpponentName(name);
  screen().startGame();
}

void EventDispatcher::onGameEndNotice(int code) {
  if (code >= 0 && code <= 2 && !joinsMatch()) {
    // Results come from the host; only the joining side takes them.
    LOGOG_WARN("game result %d outside the joining side of a match dropped", code);
    return;
  }
  const bool running = game().started() && game().online();
  const bool wasOver = flowState_ == FlowState::GameOver;
  const bool shownMatch =
      game().online() && (flowState_ == FlowState::InGame || flowState_ == FlowState::GameOver);
  flowState_ = FlowState::Lobby;
  switch (code) {
    case 0:
      onGameLost();
      break;
    case 1:
      onGameWon();
      break;
    case 2:
      onGameDraw();
      break;
    case 3:
    case 4:
      clearMatch();
      // A match still on the screen ends for the player who is left.
      if (running || shownMatch) {
        goToMenu();
        flowHost().showMenuMessage(text("OPPONENT_DISCONNECTED"));
      }
      break;
    case 5:
    case 6:
      clearMatch();
      lobbyPrompt_ = LobbyPrompt::None;
      showFlowState();
      lobbyScreen().showMainState();
      if (!wasOver) lobbyScreen().showMessage(text("OPPONENT_FORFEIT"));
      break;
    default:
      break;
  }
}

void EventDispatcher::onChatReceived(const std::string& line) {
  screen().addLogLine(opponentName_, line, kChatColour);
}
