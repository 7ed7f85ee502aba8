// The event hub between the game logic, the screens and the network. Screens
// call it with the user's choices, network messages with the other machine's,
// the computer player with its own; the rules tell it what happened (it is
// their PlayerEvents, GameHub and BoardObserver). It decides no rule itself:
// it forwards each choice to the mode's director and the player, shows the
// results on the game screen, sends what the other machine needs, and starts
// the steps both players share when both arrive.
#pragma once

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

#include "FlowHost.h"
#include "LobbyScreen.h"
#include "player/AnimateSpellEvent.h"
#include "player/GameLife.h"
#include "player/PlayerState.h"
#include "ports/BoardObserver.h"
#include "ports/GameHub.h"
#include "ports/PlayerEvents.h"

class Board;
class BoardElem;
class GameContext;
class GameScreen;
class GameSession;
class MatchLink;
class Player;

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

class EventDispatcher : public PlayerEvents, public GameHub, public BoardObserver {
 public:
  // Becomes the context's player events, hub and board observer until destroyed.
  explicit EventDispatcher(GameContext& context);
  ~EventDispatcher() override;
  EventDispatcher(const EventDispatcher&) = delete;
  EventDispatcher& operator=(const EventDispatcher&) = delete;

  // ---- Ports ------------------------------------------------------------------
  GameContext& context() const { return *context_; }
  GameSession& game() const;
  // The game screen's controller: the one screen the rules and the hub show on
  // (the context's screen port). Null goes back to the context's stand-in.
  GameScreen& screen() const;
  void setScreen(GameScreen* screen);
  MatchLink& matchLink() const;
  FlowHost& flowHost() const { return *flowHost_; }
  void setFlowHost(FlowHost* host) { flowHost_ = host ? host : &nullFlowHost_; }
  // The board view: gets every board observer call the hub receives.
  void setBoardView(BoardObserver* view) { boardView_ = view ? view : &nullBoardView_; }
  LobbyScreen& lobbyScreen() const { return *lobbyScreen_; }
  void setLobbyScreen(LobbyScreen* screen) { lobbyScreen_ = screen ? screen : &nullLobbyScreen_; }

  // ---- Record -----------------------------------------------------------------
  bool connectedToLobby() const { return connectedToLobby_; }
  FlowState flowState() const { return flowState_; }
  void setFlowState(FlowState state) { flowState_ = state; }
  LobbyPrompt lobbyPrompt() const { return lobbyPrompt_; }
  const std::deque<AnimateSpellEvent>& eventQueue() const { return eventQueue_; }
  const std::string& opponentName() const { return opponentName_; }
  const std::string& email() const { return email_; }
  const std::string& code() const { return code_; }
  const std::string& userName() const { return userName_; }
  bool remoteFinishedAnimating() const { return remoteFinishedAnimating_; }
  bool animating() const { return animating_; }

  // ---- Frame and loading ------------------------------------------------------
  // Every frame: the network's messages, then the running game (the computer's move).
  void update(float delta);
  // The loading screen is done: the menu fades in.
  void onLoadingFinished();
  // A game against the computer in the mode `modeId`; false (with a log line,
  // nothing changed) for an unknown mode.
  bool startSingleGame(const std::string& modeId);

  // ---- The local player's choices (game screen) --------------------------------
  // On the joining side of a match: the host has not yet answered this machine's
  // last choice (its word on the local player, state and counters, differs from
  // the local player), or the local player's spell is still being shown. Choices
  // are refused meanwhile, so each is made on the boards the host's results reached.
  bool awaitsHost() const;
  void selectCard(int cardId);
  // False when the player refused the spell.
  bool selectSpell(int cardId, int power, Player* targetPlayer);
  void selectBoardElem(BoardElem* elem);
  void endPhase();
  void cancelSelection();
  // The player a spell of `cardId` chosen by `chooser` acts on: the opponent for
  // a card cast on the opponent, else the chooser.
  Player* spellTargetFor(Player& chooser, int cardId) const;

  // ---- The other machine's choices (on the host) --------------------------------
  // Each is checked against the player's state and offers first; a choice that
  // does not fit is logged as out of sync and dropped. False when dropped.
  bool onRemoteSelectedCard(Player* player, int cardId);
  bool onRemoteSelectedSpell(Player* player, int cardId, int power);
  bool onRemoteSelectedBoardElem(Player* player, BoardElem* elem);
  bool onRemoteFinishedSelectingCards(Player* player);
  bool onRemoteFinishedSelectingSpells(Player* player);
  bool onRemoteCancel(Player* player);
  // Nothing sends it; logged and dropped.
  void onRemoteClickedBoard(Player* player);

  // ---- GameHub: the computer's choices and the running game's reports ----------
  bool aiSelectCard(Player& player, int cardId) override;
  bool aiSelectSpell(Player& player, int cardId, int power) override;
  bool aiSelectTarget(Player& player, BoardElem* elem) override;
  bool aiFinishCards(Player& player) override;
  void aiFinishSpells(Player& player) override;
  void aiCancel(Player& player) override;
  void showIntroMessage(const std::string& text) override;
  void spellQueuesProcessed() override;
  void onBoardsUpdated() override;
  void resumeBothPlayers() override;
  void onGameWon() override;
  void onGameLost() override;
  void onGameDraw() override;

  // ---- The host's turn messages (taken on the joining side only) -----------------
  void onTurnBegin();
  void onCardList(const std::vector<int>& cards);
  void queueAnimateSpell(const AnimateSpellEvent& event);
  void onFinishedAnimating();
  void onRemoteBlockExploded(BoardElem* elem);
  void onRemoteBlockCollapsed(BoardElem* elem);
  void onRemoteDoorDestroyed(BoardElem* elem);

  // ---- PlayerEvents -----------------------------------------------------------
  void switchPlayerState(Player& player, PlayerState oldState, PlayerState newState) override;
  void onPlayerCountersChanged(Player& player) override;
  void onCardListDealt(Player& player) override;
  void showPlayerMessage(Player& player, const std::string& text) override;
  void forwardSpellAnimation(Player& player, const AnimateSpellEvent& event) override;
  void playerSpellQueueProcessedAnim(Player& player) override;
  void onBlockBuilt(BoardElem& elem) override;
  void onFenceBuilt(BoardElem& elem) override;
  void onDoorsBuilt(BoardElem& elem) override;
  void onHardened(BoardElem& elem) override;
  void onLevitronPlaced(BoardElem& elem) override;
  void onRoomBuilt(BoardElem& elem) override;
  void onSpellPut(BoardElem& elem) override;

  // ---- BoardObserver ------------------------------------------------------------
  void onElemChanged(BoardElem& elem) override;
  void onElemRebuilt(BoardElem& elem) override;
  void onElemRemoved(BoardElem& elem) override;
  void onElemHighlighted(BoardElem& elem, int index) override;
  void onElemUnhighlighted(BoardElem& elem) override;
  void onBoardChanged(Board& board) override;
  void onFireLevelChanged(Board& board, int percent) override;
  void onBlockExploded(BoardElem& elem) override;
  void onElemRubble(BoardElem& elem) override;
  void onDoorDestroyed(BoardElem& elem) override;
  void onBlockCollapsed(BoardElem& elem) override;

  // ---- Game end -----------------------------------------------------------------
  // OK on the game screen's message (or RETURN).
  void onMessageOk();

  // ---- Lobby flow: the screens (EventDispatcherLobby.cpp) ---------------------------
  // Shows the screen of the flow state and the prompt of the lobby prompt.
  void showFlowState();
  void enterLobby();
  void startSandbox();
  void showMainMenu();
  void openMoreGames();
  void exitGame();
  void openAppStorePage();
  void openCrowdfundingPage();
  void openSocialPage();
  void openCommunityPage();
  // What the user typed at the lobby's prompt.
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
  // A chat line typed on the game screen: sent in an online game.
  void sendChat(const std::string& text);

  // ---- Lobby flow: the network ----------------------------------------------------
  void onLobbyConnecting();
  void onLobbyConnected();
  void onLobbyConnectFailed();
  void onLobbyConnectionLost();
  void onLoginRequired();
  void onCodeRequested();
  void onNameRequested();
  void onLoginAccepted();
  void onLobbyError(int error);
  void onPlayerList(int onlineCount, const std::vector<std::string>& names);
  void onChallengeReceived(const std::string& name);
  void onChallengeRejected();
  void onServerStart(const std::string& name);
  void onClientStart(const std::string& name);
  // 0 to 2 from the host (the receiver lost, won, drew), 3 and 4 the opponent
  // disconnected, 5 and 6 the opponent forfeited.
  void onGameEndNotice(int code);
  void onChatReceived(const std::string& text);
  // The network took the host's players away on this (joining) side: nothing of
  // the animation queue may point at them any more.
  void onRemoteObjectsGone();

 private:
  enum class GameEnd { Won, Lost, Draw };

  // Online and hosting: this machine runs the rules for both players.
  bool hostsMatch() const;
  // Online and not hosting: this machine sends its choices to the host.
  bool joinsMatch() const;
  // The host's turn messages are taken only on the joining side of a match.
  bool fromTheHost(const char* what) const;
  // A local choice on the joining side while awaitsHost: logged, true (refuse it).
  bool heldForHost(const char* what) const;
  // Joining side, every frame after the network's messages: takes the automatic
  // step the host took for the local player, and when the host's answer has just
  // come, computes the offers anew on the boards it brought.
  void followHost();
  bool isLocalOwner(const BoardElem& elem) const;
  std::string text(const std::string& key) const;
  Player* localPlayer() const;

  // switchPlayerState's halves: what the screen shows, and the shared steps.
  void showStateSwitch(Player& player, PlayerState oldState, PlayerState newState);
  void runSharedSteps(PlayerState newState, bool display);
  // Puts the offers of a placement or target state on the board and the screen.
  void showChoice(Player& player, int cardId);

  // The remote entries' checks: the player is one of the running game's, and
  // it is in one of `states`. Logs and returns null otherwise.
  Player* remoteChooser(Player* player, const char* what,
                        std::initializer_list<PlayerState> states);
  void refuseRemote(Player& player, const char* what, const std::string& why);

  void processEventQueue();
  void endGame(GameEnd end);
  // The match is over for this machine: the game record goes, and on the
  // joining side everything replicated from the host with it.
  void clearMatch();
  // The menu scene in its main state, `flowState` Menu.
  void goToMenu();
  // The prompt text of `lobbyPrompt` and its input mode.
  std::string promptText(LobbyInputMode& mode) const;

  GameContext* context_;
  GameLife life_;  // completions of the animation queue end with the hub

  bool connectedToLobby_ = false;
  FlowState flowState_ = FlowState::Menu;
  LobbyPrompt lobbyPrompt_ = LobbyPrompt::None;
  std::deque<AnimateSpellEvent> eventQueue_;
  std::string email_;
  std::string code_;
  std::string userName_;
  std::string opponentName_;
  bool remoteFinishedAnimating_ = false;
  bool animating_ = false;
  // The animation queue is being worked through by a loop (an effect that
  // ends at once moves the loop on instead of nesting another).
  bool drainingQueue_ = false;
  bool queueAdvanced_ = false;
  bool awaitedHost_ = false;  // awaitsHost at the last followHost

  NullFlowHost nullFlowHost_;
  FlowHost* flowHost_ = &nullFlowHost_;
  BoardObserver nullBoardView_;
  BoardObserver* boardView_ = &nullBoardView_;
  NullLobbyScreen nullLobbyScreen_;
  LobbyScreen* lobbyScreen_ = &nullLobbyScreen_;
};

// The game's one event hub, on the default context.
EventDispatcher& eventDispatcher();
