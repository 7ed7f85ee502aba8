// The lobby flow: entering the lobby, every login path, the prompts, challenges,
// quick match, invitations, the start of matches, the notices that end them, the
// lost connection, and chat; against recording screens, flow host and network.
#include "hub_fixture.h"
#include "LobbyScreen.h"

namespace {

using Mode = LobbyInputMode;

class LobbyFlow : public HubFixture {
 protected:
  LobbyFlow() { hub.setLobbyScreen(&lobby); }

  MemorySettings& settings() { return static_cast<MemorySettings&>(ctx.settings()); }
  void remember(const std::string& email, const std::string& code) {
    settings().setString("email", email);
    settings().setString("code", code);
  }
  void clearAll() {
    clearRecords();
    lobby.clear();
  }
  // Connected and in the lobby, nothing recorded.
  void inLobby() {
    hub.onLobbyConnected();
    hub.enterLobby();
    clearAll();
  }
  // The joining side of a match whose players have not arrived yet.
  void joining() {
    link.hosting = false;
    hub.onClientStart("Birch");
    clearAll();
  }
  void hosting() {
    link.hosting = true;
    hub.onServerStart("Birch");
    clearAll();
  }
  // The lobby messages sent, in order.
  std::vector<std::string> sent() const { return lobbyLink.sentNames(); }

  RecordingLobbyScreen lobby;
};

// ---- Entering and leaving ----------------------------------------------------------------------

TEST_F(LobbyFlow, EnteringWhileConnectedShowsTheLobbyWithoutAnAttempt) {
  hub.onLobbyConnected();
  clearAll();
  hub.enterLobby();
  EXPECT_EQ(hub.flowState(), FlowState::Lobby);
  EXPECT_EQ(lobbyLink.count("connectToLobby"), 0u);
  EXPECT_EQ(lobby.callNames(), std::vector<std::string>{"showMainState"});
  EXPECT_EQ(flow.callNames(), std::vector<std::string>{"showLobbyScene"});
}

TEST_F(LobbyFlow, EnteringUnconnectedConnectsAndShowsTheLobbyOnceConnected) {
  hub.enterLobby();
  EXPECT_EQ(hub.flowState(), FlowState::ConnectingLobby);
  EXPECT_EQ(sent(), std::vector<std::string>{"connectToLobby"});
  EXPECT_EQ(flow.callNames(), (std::vector<std::string>{"showMenuScene", "showMenuModalMessage"}));
  EXPECT_EQ(flow.lastText("showMenuModalMessage"), "CONNECTING_LOBBY");
  hub.onLobbyConnected();
  EXPECT_TRUE(hub.connectedToLobby());
  EXPECT_EQ(hub.flowState(), FlowState::Lobby);
  EXPECT_EQ(flow.count("showLobbyScene"), 1u);
}

TEST_F(LobbyFlow, ConnectedFromTheMenuStaysInTheMenu) {
  hub.onLobbyConnected();
  EXPECT_TRUE(hub.connectedToLobby());
  EXPECT_EQ(hub.flowState(), FlowState::Menu);
  EXPECT_TRUE(flow.calls().empty());
}

TEST_F(LobbyFlow, AFailedAttemptIsToldOnTheMenu) {
  hub.enterLobby();
  clearAll();
  hub.onLobbyConnectFailed();
  EXPECT_FALSE(hub.connectedToLobby());
  EXPECT_EQ(flow.callNames(), std::vector<std::string>{"showMenuMessage"});
  EXPECT_EQ(flow.lastText("showMenuMessage"), "FAILED_CONNECTING_LOBBY");
}

// A lobby link whose attempts fail before they start (a host name that resolves to nothing).
class FailingLobbyLink : public RecordingLobbyLink {
 public:
  explicit FailingLobbyLink(EventDispatcher& hub) : hub_(hub) {}
  void connectToLobby() override {
    RecordingLobbyLink::connectToLobby();
    hub_.onLobbyConnectFailed();
  }

 private:
  EventDispatcher& hub_;
};

TEST_F(LobbyFlow, AnAttemptThatFailsAtOnceLeavesItsFailureShownNotTheConnectingMessage) {
  FailingLobbyLink failing(hub);
  hub.setLobbyLink(&failing);
  hub.enterLobby();
  EXPECT_EQ(failing.count("connectToLobby"), 1u);
  ASSERT_FALSE(flow.calls().empty());
  EXPECT_EQ(flow.callNames().back(), "showMenuMessage") << "the menu's message, over the connecting one";
  EXPECT_EQ(flow.lastText("showMenuMessage"), "FAILED_CONNECTING_LOBBY");
  hub.setLobbyLink(&lobbyLink);
}

TEST_F(LobbyFlow, LosingTheConnectionInTheLobbyGoesToTheMenu) {
  inLobby();
  hub.onLobbyConnectionLost();
  EXPECT_EQ(hub.flowState(), FlowState::Menu);
  EXPECT_FALSE(hub.connectedToLobby());
  EXPECT_EQ(flow.lastText("showMenuMessage"), "CONNECTION_LOBBY_LOST");
}

TEST_F(LobbyFlow, LosingTheConnectionInAMatchEndsIt) {
  for (bool host : {true, false}) {
    SCOPED_TRACE(host ? "host" : "joining");
    host ? hosting() : joining();
    hub.onLobbyConnectionLost();
    EXPECT_EQ(hub.flowState(), FlowState::Menu);
    EXPECT_FALSE(game().started());
    EXPECT_EQ(game().localPlayer(), nullptr);
    EXPECT_EQ(flow.count("showMenuScene"), 1u);
    EXPECT_EQ(flow.lastText("showMenuMessage"), "CONNECTION_LOBBY_LOST");
    EXPECT_EQ(link.count("dropRemoteObjects"), host ? 0u : 1u);
  }
}

TEST_F(LobbyFlow, LeavingTheLobbyShowsTheMenu) {
  inLobby();
  hub.leaveLobby();
  EXPECT_EQ(hub.flowState(), FlowState::Menu);
  EXPECT_EQ(flow.callNames(), (std::vector<std::string>{"showMenuScene", "showMenuMainState"}));
}

TEST_F(LobbyFlow, ExitToMenuLeavesTheMatchAndLetsGoOfTheHostsObjects) {
  joining();
  hub.exitToMenu();
  EXPECT_EQ(sent(), std::vector<std::string>{"sendLeaveGame"});
  EXPECT_EQ(link.sentNames(), std::vector<std::string>{"dropRemoteObjects"});
  EXPECT_EQ(hub.flowState(), FlowState::Menu);
  EXPECT_FALSE(game().started());
  EXPECT_EQ(flow.count("showMenuMainState"), 1u);
}

// ---- Login -----------------------------------------------------------------------------------

struct LoginCase {
  const char* name;
  const char* rememberedEmail;
  const char* rememberedCode;
  const char* typedEmail;
  const char* sent;
  const char* text;
  LobbyPrompt prompt;
};

class LoginPaths : public LobbyFlow, public ::testing::WithParamInterface<LoginCase> {};

TEST_P(LoginPaths, TheServersRequestIsAnsweredByWhatIsKnown) {
  const LoginCase& c = GetParam();
  remember(c.rememberedEmail, c.rememberedCode);
  inLobby();
  if (*c.typedEmail) {
    hub.onLoginRequired();
    hub.submitLobbyText(c.typedEmail);
    clearAll();
  }
  hub.onLoginRequired();
  EXPECT_EQ(hub.lobbyPrompt(), c.prompt);
  if (*c.sent) {
    ASSERT_EQ(lobbyLink.sent().size(), 1u);
    EXPECT_EQ(lobbyLink.sent()[0].what, c.sent);
    EXPECT_EQ(lobbyLink.sent()[0].text, c.text);
    EXPECT_EQ(lobby.count("showTextPrompt"), 0u);
  } else {
    EXPECT_TRUE(lobbyLink.sent().empty());
    EXPECT_EQ(lobby.last("showTextPrompt").text, "INPUT_EMAIL");
    EXPECT_EQ(lobby.last("showTextPrompt").value, static_cast<int>(Mode::EmailAddress));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lobby, LoginPaths,
    ::testing::Values(
        LoginCase{"Remembered", "ada@example.org", "123456", "", "sendLogin", "ada@example.org/123456",
                  LobbyPrompt::None},
        LoginCase{"TypedBefore", "", "", "bo@example.org", "sendLoginEmail", "bo@example.org",
                  LobbyPrompt::Email},
        LoginCase{"HalfRemembered", "ada@example.org", "", "", "", "", LobbyPrompt::Email},
        LoginCase{"Nothing", "", "", "", "", "", LobbyPrompt::Email}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LobbyFlow, AFirstLoginGoesThroughAddressCodeAndNameAndIsRemembered) {
  inLobby();
  hub.onLoginRequired();
  hub.submitLobbyText("cy@example.org");
  EXPECT_EQ(lobby.last("showModalMessage").text, "PLEASE_WAIT");
  hub.onCodeRequested();
  EXPECT_EQ(hub.lobbyPrompt(), LobbyPrompt::Code);
  EXPECT_EQ(lobby.last("showTextPrompt").text, "INPUT_CODE");
  EXPECT_EQ(lobby.last("showTextPrompt").value, static_cast<int>(Mode::Numeric));
  hub.submitLobbyText("654321");
  hub.onNameRequested();
  EXPECT_EQ(lobby.last("showTextPrompt").text, "INPUT_NAME");
  EXPECT_EQ(lobby.last("showTextPrompt").value, static_cast<int>(Mode::SingleLine));
  hub.submitLobbyText("Cyra");
  EXPECT_EQ(hub.userName(), "Cyra");
  EXPECT_EQ(hub.lobbyPrompt(), LobbyPrompt::None);
  const int flushes = settings().flushCount();
  hub.onLoginAccepted();
  EXPECT_EQ(sent(), (std::vector<std::string>{"sendLoginEmail", "sendLoginCode", "sendPlayerName"}));
  EXPECT_EQ(settings().getString("email"), "cy@example.org");
  EXPECT_EQ(settings().getString("code"), "654321");
  EXPECT_EQ(settings().flushCount(), flushes + 1);
}

TEST_F(LobbyFlow, ARememberedLoginIsNotWrittenAgain) {
  remember("ada@example.org", "123456");
  inLobby();
  hub.onLoginRequired();
  const int flushes = settings().flushCount();
  hub.onLoginAccepted();
  EXPECT_TRUE(hub.email().empty());
  EXPECT_TRUE(hub.code().empty());
  EXPECT_EQ(settings().flushCount(), flushes);
  EXPECT_EQ(lobby.count("showMainState"), 1u);
}

struct ErrorCase {
  int error;
  LobbyPrompt prompt;
  const char* text;
  Mode mode;
  bool forgets;
};

class LobbyErrors : public LobbyFlow, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(LobbyErrors, AskAgainAndForgetTheRememberedLogin) {
  const ErrorCase& c = GetParam();
  remember("ada@example.org", "123456");
  inLobby();
  hub.onLobbyError(c.error);
  EXPECT_EQ(hub.lobbyPrompt(), c.prompt);
  EXPECT_EQ(lobby.last("showTextPrompt").text, c.text);
  if (*c.text) {
    EXPECT_EQ(lobby.last("showTextPrompt").value, static_cast<int>(c.mode));
  }
  EXPECT_EQ(settings().getString("email").empty(), c.forgets);
  EXPECT_EQ(settings().getString("code").empty(), c.forgets);
}

INSTANTIATE_TEST_SUITE_P(Lobby, LobbyErrors,
                         ::testing::Values(ErrorCase{1, LobbyPrompt::Code, "INVALID_CODE", Mode::Numeric, true},
                                           ErrorCase{2, LobbyPrompt::Email, "INVALID_EMAIL", Mode::EmailAddress, true},
                                           ErrorCase{3, LobbyPrompt::Email, "INPUT_EMAIL", Mode::EmailAddress, true},
                                           ErrorCase{7, LobbyPrompt::None, "", Mode::SingleLine, false}));

TEST_F(LobbyFlow, AnInvalidProtocolDisconnectsToTheMenu) {
  inLobby();
  hub.onLobbyError(0);
  EXPECT_EQ(sent(), std::vector<std::string>{"disconnectFromLobby"});
  EXPECT_FALSE(hub.connectedToLobby());
  EXPECT_EQ(flow.callNames(), (std::vector<std::string>{"showMenuScene", "showMenuMainState", "showMenuMessage"}));
  EXPECT_EQ(flow.lastText("showMenuMessage"), "INVALID_PROTOCOL");
  EXPECT_EQ(hub.flowState(), FlowState::Lobby) << "the flow state is the next entry's to set";
}

struct CancelCase {
  LobbyPrompt prompt;
  FlowState after;
};

TEST_F(LobbyFlow, CancellingALoginPromptLeavesTheLobbyAndTheInvitationOnlyItsPrompt) {
  for (const CancelCase& c : {CancelCase{LobbyPrompt::Email, FlowState::Menu},
                              CancelCase{LobbyPrompt::Code, FlowState::Menu},
                              CancelCase{LobbyPrompt::Name, FlowState::Menu},
                              CancelCase{LobbyPrompt::FriendEmail, FlowState::Lobby}}) {
    SCOPED_TRACE(static_cast<int>(c.prompt));
    inLobby();
    if (c.prompt == LobbyPrompt::Email) hub.onLoginRequired();
    if (c.prompt == LobbyPrompt::Code) hub.onCodeRequested();
    if (c.prompt == LobbyPrompt::Name) hub.onNameRequested();
    if (c.prompt == LobbyPrompt::FriendEmail) hub.inviteFriend();
    ASSERT_EQ(hub.lobbyPrompt(), c.prompt);
    clearAll();
    hub.cancelLobbyPrompt();
    EXPECT_EQ(hub.flowState(), c.after);
    EXPECT_EQ(flow.count(c.after == FlowState::Menu ? "showMenuScene" : "showLobbyScene"), 1u);
  }
}

// ---- Matchmaking -------------------------------------------------------------------------------

TEST_F(LobbyFlow, ChallengingSomeoneElseWaitsForTheAnswerAndOneselfDoesNothing) {
  lobbyLink.localIndex = 2;
  inLobby();
  hub.challengeUser(2);
  EXPECT_TRUE(lobbyLink.sent().empty());
  EXPECT_TRUE(lobby.calls().empty());
  hub.challengeUser(1);
  ASSERT_EQ(sent(), std::vector<std::string>{"sendChallenge"});
  EXPECT_EQ(lobbyLink.sent()[0].values, std::vector<int>{1});
  EXPECT_EQ(lobby.last("showCancellableMessage").text, "AWAITING_OPPONENT");
}

TEST_F(LobbyFlow, QuickMatchWaitsAndCanBeCancelled) {
  inLobby();
  hub.requestQuickMatch();
  EXPECT_EQ(lobby.last("showCancellableMessage").text, "AWAITING_OPPONENT");
  hub.cancelLobbyWait();
  EXPECT_EQ(sent(), (std::vector<std::string>{"sendQuickmatch", "sendCancelMatchmaking"}));
  EXPECT_EQ(lobby.callNames().back(), "showMainState");
}

TEST_F(LobbyFlow, AFriendIsInvitedByAddress) {
  inLobby();
  hub.inviteFriend();
  EXPECT_EQ(lobby.last("showTextPrompt").text, "ENTER_FRIEND_EMAIL");
  EXPECT_EQ(lobby.last("showTextPrompt").value, static_cast<int>(Mode::EmailAddress));
  hub.submitLobbyText("dee@example.org");
  ASSERT_EQ(sent(), std::vector<std::string>{"sendInviteFriend"});
  EXPECT_EQ(lobbyLink.sent()[0].text, "dee@example.org");
  EXPECT_EQ(hub.lobbyPrompt(), LobbyPrompt::None);
  EXPECT_EQ(lobby.last("showMessage").text, "FRIEND_INVITED");
}

// ---- Typed text goes out as it stands: the lobby server answers what it cannot take -----------

TEST_F(LobbyFlow, TypedTextGoesOutAsItStands) {
  inLobby();
  hub.onLoginRequired();
  hub.submitLobbyText(" cy@example.org ");
  hub.onNameRequested();
  hub.submitLobbyText("");
  hub.onNameRequested();
  const std::string longName(30, 'n');
  hub.submitLobbyText(longName);
  ASSERT_EQ(sent(), (std::vector<std::string>{"sendLoginEmail", "sendPlayerName", "sendPlayerName"}));
  EXPECT_EQ(lobbyLink.sent()[0].text, " cy@example.org ");
  EXPECT_EQ(lobbyLink.sent()[1].text, "");
  EXPECT_EQ(lobbyLink.sent()[2].text, longName);
  EXPECT_EQ(hub.lobbyPrompt(), LobbyPrompt::None);
}

TEST_F(LobbyFlow, AReceivedChallengeIsPromptedWithASoundAndAccepted) {
  inLobby();
  hub.onChallengeReceived("Birch");
  EXPECT_EQ(hub.lobbyPrompt(), LobbyPrompt::Challenge);
  EXPECT_EQ(hub.opponentName(), "Birch");
  EXPECT_EQ(flow.lastText("playSound"), "sounds/challenge.wav");
  EXPECT_EQ(lobby.last("showChallengePrompt").text, "Birch CHALLENGES_YOU");
  hub.acceptChallenge();
  EXPECT_EQ(hub.lobbyPrompt(), LobbyPrompt::None);
  EXPECT_EQ(lobby.last("showModalMessage").text, "AWAITING_OPPONENT");
  ASSERT_EQ(sent(), std::vector<std::string>{"sendChallengeAnswer"});
  EXPECT_EQ(lobbyLink.sent()[0].values, std::vector<int>{1});
}

TEST_F(LobbyFlow, RefusingAChallengeReturnsToWhereTheUserWas) {
  for (bool playing : {false, true}) {
    SCOPED_TRACE(playing ? "during a game" : "in the lobby");
    inLobby();
    if (playing) hub.startSingleGame("skirmish");
    clearAll();
    hub.onChallengeReceived("Birch");
    EXPECT_EQ(hub.flowState(), FlowState::Lobby);
    hub.rejectChallenge();
    EXPECT_EQ(hub.flowState(), playing ? FlowState::InGame : FlowState::Lobby);
    EXPECT_EQ(flow.callNames().back(), playing ? "showGameScene" : "showLobbyScene");
    EXPECT_EQ(lobbyLink.sent().back().values, std::vector<int>{0});
    game().clearGame(false);
  }
}

// A challenge refused during a game, or overtaken by the start of a match, is not asked
// about again when the lobby next shows.
TEST_F(LobbyFlow, AChallengeRefusedOrOvertakenByAMatchIsNotAskedAgain) {
  enum class Then { RefusedInAGame, Hosting, Joining };
  for (Then then : {Then::RefusedInAGame, Then::Hosting, Then::Joining}) {
    SCOPED_TRACE(static_cast<int>(then));
    inLobby();
    if (then == Then::RefusedInAGame) ASSERT_TRUE(hub.startSingleGame("skirmish"));
    hub.onChallengeReceived("Birch");
    link.hosting = then == Then::Hosting;
    if (then == Then::RefusedInAGame)
      hub.rejectChallenge();
    else if (then == Then::Hosting)
      hub.onServerStart("Alder");
    else
      hub.onClientStart("Alder");
    hub.exitToMenu();
    clearAll();
    hub.enterLobby();
    EXPECT_EQ(hub.lobbyPrompt(), LobbyPrompt::None);
    EXPECT_EQ(lobby.count("showChallengePrompt"), 0u);
  }
}

TEST_F(LobbyFlow, ARefusedChallengeIsTold) {
  inLobby();
  hub.challengeUser(0);
  hub.onChallengeRejected();
  EXPECT_EQ(hub.flowState(), FlowState::Lobby);
  EXPECT_EQ(lobby.last("showMessage").text, "CHALLENGE_REJECTED");
}

TEST_F(LobbyFlow, TheHostStartsANormalGameAndTheJoiningSideWaitsForItsPlayers) {
  link.hosting = true;
  hub.onServerStart("Birch");
  EXPECT_EQ(hub.flowState(), FlowState::InGame);
  EXPECT_TRUE(game().online());
  EXPECT_NE(game().localPlayer(), nullptr);
  EXPECT_EQ(flow.lastText("reportAnalytics"), "game/serverstart/");
  EXPECT_EQ(screen.callsOf("setOpponentName").back().text, "Birch");
  game().clearGame(false);

  link.hosting = false;
  clearAll();
  hub.onClientStart("Alder");
  EXPECT_EQ(flow.lastText("showMenuModalMessage"), "BEGINNING_GAME");
  EXPECT_EQ(flow.lastText("reportAnalytics"), "game/clientstart/");
  EXPECT_TRUE(game().started());
  EXPECT_EQ(game().localPlayer(), nullptr);
  EXPECT_EQ(hub.opponentName(), "Alder");
}

// ---- The end of a match ----------------------------------------------------------------------

struct NoticeCase {
  const char* name;
  int code;
  bool host;
  bool over;  // the game had ended before the notice
  FlowState after;
  const char* gameText;   // shown on the game screen
  const char* menuText;   // shown on the menu
  const char* lobbyText;  // shown on the lobby
  bool cleared;
};

class GameEndNotices : public LobbyFlow, public ::testing::WithParamInterface<NoticeCase> {};

TEST_P(GameEndNotices, EndTheMatchAsTheCodeSays) {
  const NoticeCase& c = GetParam();
  c.host ? hosting() : joining();
  if (c.over) {
    hub.setFlowState(FlowState::GameOver);
    if (c.host) game().checkGameOver();  // no archmage yet: a draw
    clearAll();
  }
  hub.onGameEndNotice(c.code);
  EXPECT_EQ(hub.flowState(), c.after);
  EXPECT_EQ(screen.callsOf("showGameEnded").empty() ? std::string() : screen.callsOf("showGameEnded")[0].text,
            c.gameText);
  EXPECT_EQ(flow.lastText("showMenuMessage"), c.menuText);
  EXPECT_EQ(lobby.last("showMessage").text, c.lobbyText);
  EXPECT_EQ(!game().started() && !game().localPlayer(), c.cleared);
  EXPECT_EQ(link.count("dropRemoteObjects"), c.cleared && !c.host ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Lobby, GameEndNotices,
    ::testing::Values(
        NoticeCase{"Lost", 0, false, false, FlowState::GameOver, "YOU_LOSE", "", "", false},
        NoticeCase{"Won", 1, false, false, FlowState::GameOver, "YOU_WIN", "", "", false},
        NoticeCase{"Draw", 2, false, false, FlowState::GameOver, "DRAW", "", "", false},
        NoticeCase{"ResultOnTheHost", 0, true, false, FlowState::GameOver, "YOU_LOSE", "", "", false},
        NoticeCase{"DisconnectedJoining", 3, false, false, FlowState::Menu, "", "OPPONENT_DISCONNECTED", "", true},
        NoticeCase{"DisconnectedHost", 4, true, false, FlowState::Menu, "", "OPPONENT_DISCONNECTED", "", true},
        NoticeCase{"DisconnectedAfterTheEnd", 3, true, true, FlowState::Menu, "", "OPPONENT_DISCONNECTED", "",
                   true},
        NoticeCase{"ForfeitJoining", 5, false, false, FlowState::Lobby, "", "", "OPPONENT_FORFEIT", true},
        NoticeCase{"ForfeitHost", 6, true, false, FlowState::Lobby, "", "", "OPPONENT_FORFEIT", true},
        NoticeCase{"ForfeitAfterTheEnd", 5, true, true, FlowState::Lobby, "", "", "", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LobbyFlow, ADisconnectNoticeWithoutAMatchOnlyClearsTheRecord) {
  inLobby();
  hub.onGameEndNotice(3);
  EXPECT_EQ(hub.flowState(), FlowState::Lobby);
  EXPECT_TRUE(flow.calls().empty());
  EXPECT_TRUE(lobby.calls().empty());
}

// ---- Chat ------------------------------------------------------------------------------------

TEST_F(LobbyFlow, ChatLinesGoOutOnlineAndComeInUnderTheOpponentsName) {
  hub.sendChat("offline");
  EXPECT_TRUE(link.sent().empty());
  hosting();
  hub.sendChat("50% off %d");
  ASSERT_EQ(link.sentNames(), std::vector<std::string>{"sendChat"});
  EXPECT_EQ(link.sent()[0].text, "50% off %d");
  hub.onChatReceived("hi %s");
  const auto lines = screen.callsOf("addLogLine");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].text, "Birch");
  EXPECT_EQ(lines[0].subtext, "hi %s");
  EXPECT_EQ(lines[0].values, (std::vector<int>{103, 91, 80}));
}

// ---- Menu ------------------------------------------------------------------------------------

TEST_F(LobbyFlow, TheSandboxStartsWithTheStoreShown) {
  hub.startSandbox();
  EXPECT_EQ(hub.flowState(), FlowState::InGame);
  ASSERT_NE(game().director(), nullptr);
  EXPECT_TRUE(game().director()->isSandbox());
  EXPECT_EQ(screen.callsOf("setStoreShown").front().values, std::vector<int>{1});
  EXPECT_EQ(flow.lastText("reportAnalytics"), "game/singlestart/sandbox");
  // Its start line names the opponent.
  ASSERT_EQ(screen.callsOf("setOpponentName").size(), 1u);
  EXPECT_EQ(screen.callsOf("setOpponentName")[0].text, "AI");
}

TEST_F(LobbyFlow, PagesAndQuitGoToTheApplication) {
  hub.openAppStorePage();
  hub.openCrowdfundingPage();
  hub.openSocialPage();
  hub.openCommunityPage();
  hub.openMoreGames();
  hub.exitGame();
  EXPECT_EQ(flow.count("openUrl"), 4u);
  for (const auto& c : flow.calls()) {
    if (c.what == "openUrl") {
      EXPECT_EQ(c.text.rfind("https://", 0), 0u);
    }
  }
  EXPECT_EQ(flow.count("openMoreGames"), 1u);
  EXPECT_EQ(flow.count("quit"), 1u);
}

}  // namespace
