// The event hub's lobby flow: which screen shows, the lobby's prompts, the login
// by e-mail address and mailed code, challenges, quick match, invitations, the
// start of games and the notices that end network matches, and chat.
#include "LobbyFlow.h"

#include "EventDispatcher.h"
#include "GameContext.h"
#include "GameScreen.h"
#include "game/GameDirector.h"
#include "game/GameSession.h"
#include "logog/logog.hpp"
#include "ports/MatchLink.h"

namespace {

const char* const kSettingEmail = "email";
const char* const kSettingCode = "code";
const char* const kChallengeSound = "sounds/challenge.wav";

const char* const kAppStoreUrl = "https://www.brindlecor.example/mirrowvale/mobile";
const char* const kCrowdfundingUrl = "https://www.brindlecor.example/mirrowvale/back-us";
const char* const kSocialUrl = "https://www.brindlecor.example/mirrowvale/community";
const char* const kCommunityUrl = "https://www.brindlecor.example/mirrowvale/forum";

}  // namespace

std::string LobbyFlow::text(const std::string& key) const { return hub_.context().text().text(key); }

// ---- Showing the flow ---------------------------------------------------------------------

std::string LobbyFlow::promptText(LobbyInputMode& mode) const {
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

void LobbyFlow::showFlowState() {
  LobbyInputMode mode;
  const std::string prompt = promptText(mode);
  switch (flowState_) {
    case FlowState::Menu:
    case FlowState::ConnectingLobby:
      hub_.flowHost().showMenuScene(false);
      break;
    case FlowState::Lobby:
      hub_.flowHost().showLobbyScene();
      break;
    case FlowState::InGame:
    case FlowState::GameOver:
      hub_.flowHost().showGameScene();
      break;
  }
  if (flowState_ == FlowState::ConnectingLobby)
    hub_.flowHost().showMenuModalMessage(text("CONNECTING_LOBBY"));
  if (prompt.empty() || flowState_ != FlowState::Lobby) return;
  if (lobbyPrompt_ == LobbyPrompt::Challenge)
    lobbyScreen().showChallengePrompt(prompt);
  else
    lobbyScreen().showTextPrompt(prompt, mode);
}

void LobbyFlow::goToMenu() {
  flowState_ = FlowState::Menu;
  hub_.flowHost().showMenuScene(false);
  hub_.flowHost().showMenuMainState();
}

// ---- From the menu --------------------------------------------------------------------------

void LobbyFlow::enterLobby() {
  if (connectedToLobby_) {
    flowState_ = FlowState::Lobby;
    lobbyScreen().showMainState();
    showFlowState();
    return;
  }
  // Shown before the attempt starts: an attempt that fails at once tells so over it;
  // shown after such an attempt, the connecting message would stay for good.
  flowState_ = FlowState::ConnectingLobby;
  showFlowState();
  lobbyLink().connectToLobby();
}

bool LobbyFlow::startSingleGame(const std::string& modeId) {
  std::unique_ptr<GameDirector> director = GameDirector::create(modeId);
  if (!director) {
    LOGOG_ERROR("no game started: unknown mode '%s'", modeId.c_str());
    return false;
  }
  hub_.flowHost().showGameScene();
  flowState_ = FlowState::InGame;
  hub_.screen().setStoreShown(false);
  hub_.screen().refreshGui();
  hub_.game().newGame(false, std::move(director));
  hub_.flowHost().reportAnalytics("game", "singlestart", modeId);
  hub_.screen().setOpponentName(text("AI"));
  hub_.screen().startGame();
  showIntroAgain();
  return true;
}

void LobbyFlow::showIntroAgain() {
  GameDirector* director = hub_.game().director();
  const std::string key = director ? director->getIntroMessage() : std::string();
  if (!key.empty()) hub_.screen().showFullscreenMessage(text(key));
}

void LobbyFlow::startSandbox() {
  flowState_ = FlowState::InGame;
  hub_.game().newGame(false, std::make_unique<GameDirector_Sandbox>());
  hub_.screen().setStoreShown(true);
  hub_.screen().refreshGui();
  // The start's log line names the opponent, here as in any game against the computer.
  hub_.screen().setOpponentName(text("AI"));
  hub_.screen().startGame();
  showIntroAgain();
  hub_.flowHost().reportAnalytics("game", "singlestart", "sandbox");
  showFlowState();
}

void LobbyFlow::showMainMenu() { hub_.flowHost().showMenuMainState(); }
void LobbyFlow::openMoreGames() { hub_.flowHost().openMoreGames(); }
void LobbyFlow::exitGame() { hub_.flowHost().quit(); }
void LobbyFlow::openAppStorePage() { hub_.flowHost().openUrl(kAppStoreUrl); }
void LobbyFlow::openCrowdfundingPage() { hub_.flowHost().openUrl(kCrowdfundingUrl); }
void LobbyFlow::openSocialPage() { hub_.flowHost().openUrl(kSocialUrl); }
void LobbyFlow::openCommunityPage() { hub_.flowHost().openUrl(kCommunityUrl); }

// ---- From the lobby screen ------------------------------------------------------------------

void LobbyFlow::submitLobbyText(const std::string& typed) {
  switch (lobbyPrompt_) {
    case LobbyPrompt::Email:
      lobbyScreen().showModalMessage(text("PLEASE_WAIT"));
      lobbyLink().sendLoginEmail(typed);
      email_ = typed;
      break;
    case LobbyPrompt::Code:
      lobbyScreen().showModalMessage(text("PLEASE_WAIT"));
      lobbyLink().sendLoginCode(typed);
      code_ = typed;
      break;
    case LobbyPrompt::Name:
      lobbyLink().sendPlayerName(typed);
      userName_ = typed;
      lobbyPrompt_ = LobbyPrompt::None;
      lobbyScreen().showMainState();
      break;
    case LobbyPrompt::FriendEmail:
      lobbyLink().sendInviteFriend(typed);
      lobbyPrompt_ = LobbyPrompt::None;
      lobbyScreen().showMainState();
      lobbyScreen().showMessage(text("FRIEND_INVITED"));
      break;
    case LobbyPrompt::None:
    case LobbyPrompt::Challenge:
      break;
  }
}

void LobbyFlow::cancelLobbyPrompt() {
  switch (lobbyPrompt_) {
    case LobbyPrompt::Email:
    case LobbyPrompt::Code:
    case LobbyPrompt::Name:
      flowState_ = FlowState::Menu;
      hub_.flowHost().showMenuMainState();
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

void LobbyFlow::challengeUser(int index) {
  if (lobbyLink().isLocalPlayer(index)) return;
  lobbyLink().sendChallenge(index);
  lobbyScreen().showCancellableMessage(text("AWAITING_OPPONENT"));
}

void LobbyFlow::requestQuickMatch() {
  lobbyLink().sendQuickmatch();
  lobbyScreen().showCancellableMessage(text("AWAITING_OPPONENT"));
}

void LobbyFlow::cancelLobbyWait() {
  lobbyLink().sendCancelMatchmaking();
  lobbyScreen().showMainState();
}

void LobbyFlow::inviteFriend() {
  lobbyPrompt_ = LobbyPrompt::FriendEmail;
  showFlowState();
}

void LobbyFlow::acceptChallenge() {
  lobbyPrompt_ = LobbyPrompt::None;
  lobbyScreen().showMainState();
  lobbyScreen().showModalMessage(text("AWAITING_OPPONENT"));
  lobbyLink().sendChallengeAnswer(1);
}

void LobbyFlow::rejectChallenge() {
  if (!hub_.game().started()) {
    lobbyPrompt_ = LobbyPrompt::None;
    lobbyScreen().showMainState();
  } else {
    // Back to the game the challenge interrupted.
    lobbyPrompt_ = LobbyPrompt::None;
    flowState_ = FlowState::InGame;
  }
  showFlowState();
  lobbyLink().sendChallengeAnswer(0);
}

void LobbyFlow::leaveLobby() { goToMenu(); }

void LobbyFlow::exitToMenu() {
  lobbyLink().sendLeaveGame();
  // Leaving a match ends it for this side: the joining side's copies of the
  // host's objects go with the game record, and nothing of it keeps playing.
  if (hub_.game().online())
    hub_.clearMatch();
  else
    hub_.game().clearGame(false);
  goToMenu();
}

// ---- From the network -----------------------------------------------------------------------

void LobbyFlow::onLobbyConnecting() { LOGOG_INFO("connecting to lobby"); }

void LobbyFlow::onLobbyConnected() {
  LOGOG_INFO("connected to lobby");
  connectedToLobby_ = true;
  if (flowState_ == FlowState::ConnectingLobby) {
    flowState_ = FlowState::Lobby;
    showFlowState();
  }
}

void LobbyFlow::onLobbyConnectFailed() {
  LOGOG_INFO("failed to connect to lobby");
  hub_.flowHost().showMenuMessage(text("FAILED_CONNECTING_LOBBY"));
  connectedToLobby_ = false;
}

void LobbyFlow::onLobbyConnectionLost() {
  LOGOG_INFO("connection to lobby lost");
  connectedToLobby_ = false;
  const bool inMatch = hub_.game().online() && (hub_.game().started() || flowState_ == FlowState::InGame ||
                                                flowState_ == FlowState::GameOver);
  if (inMatch) {
    // Every message of the match went through the lobby: the match is over, and
    // no game against nobody stays on the screen.
    hub_.clearMatch();
    goToMenu();
  } else if (flowState_ == FlowState::Lobby || flowState_ == FlowState::ConnectingLobby) {
    lobbyPrompt_ = LobbyPrompt::None;
    goToMenu();
  } else {
    showFlowState();
  }
  hub_.flowHost().showMenuMessage(text("CONNECTION_LOBBY_LOST"));
}

void LobbyFlow::onLoginRequired() {
  const std::string email = hub_.context().settings().getString(kSettingEmail);
  const std::string code = hub_.context().settings().getString(kSettingCode);
  if (!email.empty() && !code.empty()) {
    lobbyLink().sendLogin(email, code);
  } else if (!email_.empty()) {
    lobbyLink().sendLoginEmail(email_);
  } else {
    lobbyPrompt_ = LobbyPrompt::Email;
    showFlowState();
  }
}

void LobbyFlow::onCodeRequested() {
  lobbyPrompt_ = LobbyPrompt::Code;
  showFlowState();
}

void LobbyFlow::onNameRequested() {
  lobbyPrompt_ = LobbyPrompt::Name;
  showFlowState();
}

void LobbyFlow::onLoginAccepted() {
  lobbyPrompt_ = LobbyPrompt::None;
  lobbyScreen().showMainState();
  showFlowState();
  if (!email_.empty() && !code_.empty()) {
    hub_.context().settings().setString(kSettingEmail, email_);
    hub_.context().settings().setString(kSettingCode, code_);
    hub_.context().settings().flush();
  }
}

void LobbyFlow::onLobbyError(int error) {
  switch (error) {
    case 0:
      lobbyLink().disconnectFromLobby();
      connectedToLobby_ = false;
      hub_.flowHost().showMenuScene(false);
      hub_.flowHost().showMenuMainState();
      hub_.flowHost().showMenuMessage(text("INVALID_PROTOCOL"));
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
  hub_.context().settings().setString(kSettingEmail, "");
  hub_.context().settings().setString(kSettingCode, "");
  hub_.context().settings().flush();
}

void LobbyFlow::onPlayerList(int onlineCount, const std::vector<std::string>& names) {
  lobbyScreen().setPlayerList(onlineCount, names);
}

void LobbyFlow::onChallengeReceived(const std::string& name) {
  flowState_ = FlowState::Lobby;
  lobbyPrompt_ = LobbyPrompt::Challenge;
  opponentName_ = name;
  hub_.flowHost().playSound(kChallengeSound);
  showFlowState();
}

void LobbyFlow::onChallengeRejected() {
  flowState_ = FlowState::Lobby;
  lobbyPrompt_ = LobbyPrompt::None;
  showFlowState();
  lobbyScreen().showMainState();
  lobbyScreen().showMessage(text("CHALLENGE_REJECTED"));
}

void LobbyFlow::onServerStart(const std::string& name) {
  opponentName_ = name;
  flowState_ = FlowState::InGame;
  // A challenge still asked about is settled by the match: it is not asked again later.
  lobbyPrompt_ = LobbyPrompt::None;
  hub_.game().newGame(true, std::make_unique<GameDirector_Normal>());
  hub_.flowHost().reportAnalytics("game", "serverstart", "");
  hub_.screen().setStoreShown(false);
  hub_.screen().refreshGui();
  hub_.screen().setOpponentName(name);
  hub_.screen().startGame();
}

void LobbyFlow::onClientStart(const std::string& name) {
  hub_.flowHost().showMenuModalMessage(text("BEGINNING_GAME"));
  opponentName_ = name;
  flowState_ = FlowState::InGame;
  lobbyPrompt_ = LobbyPrompt::None;  // as on the host
  hub_.game().beginClientGame();
  hub_.flowHost().reportAnalytics("game", "clientstart", "");
  hub_.screen().setStoreShown(false);
  hub_.screen().refreshGui();
  hub_.screen().setOpponentName(name);
  hub_.screen().startGame();
}

void LobbyFlow::onGameEndNotice(int code) {
  const GameResult result = static_cast<GameResult>(code);
  const bool running = hub_.game().started() && hub_.game().online();
  const bool wasOver = flowState_ == FlowState::GameOver;
  const bool shownMatch =
      hub_.game().online() && (flowState_ == FlowState::InGame || flowState_ == FlowState::GameOver);
  flowState_ = FlowState::Lobby;
  switch (result) {
    case GameResult::Lost:
      hub_.onGameLost();
      break;
    case GameResult::Won:
      hub_.onGameWon();
      break;
    case GameResult::Draw:
      hub_.onGameDraw();
      break;
    case GameResult::OpponentDisconnectedHost:
    case GameResult::OpponentDisconnectedJoin:
      hub_.clearMatch();
      // A match still on the screen ends for the player who is left.
      if (running || shownMatch) {
        goToMenu();
        hub_.flowHost().showMenuMessage(text("OPPONENT_DISCONNECTED"));
      }
      break;
    case GameResult::OpponentForfeitHost:
    case GameResult::OpponentForfeitJoin:
      hub_.clearMatch();
      lobbyPrompt_ = LobbyPrompt::None;
      showFlowState();
      lobbyScreen().showMainState();
      if (!wasOver) lobbyScreen().showMessage(text("OPPONENT_FORFEIT"));
      break;
    default:
      break;
  }
}

void LobbyFlow::onChatReceived(const std::string& line) {
  hub_.screen().addLogLine(opponentName_, line, kLogTextColour);
}
