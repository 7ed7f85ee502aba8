// The event hub between the game logic, the screens and the network. Screens
// call it with the user's choices, network messages with the other machine's,
// the computer player with its own; the rules tell it what happened (it is
// their PlayerEvents, GameHub and BoardObserver). It decides no rule itself:
// every choice, whoever made it, is one value on one path (submitChoice), which
// the running game checks against the rules before the mode's director and the
// player act on it; the hub shows the results on the game screen, sends what the
// other machine needs, and starts the steps both players share when both arrive.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "FlowHost.h"
#include "GameScreen.h"
#include "HeldChoices.h"
#include "LobbyFlow.h"
#include "player/AnimateSpellEvent.h"
#include "player/GameLife.h"
#include "player/PlayerState.h"
#include "ports/BoardObserver.h"
#include "ports/GameHub.h"
#include "ports/PlayerEvents.h"

class Board;
class BoardElem;
class GameContext;
class GameSession;
class MatchLink;
class Player;

class EventDispatcher : public PlayerEvents, public GameHub, public BoardObserver, public LobbyFlow {
 public:
  // Becomes the context's player events, hub and board observer until destroyed.
  explicit EventDispatcher(GameContext& context);
  ~EventDispatcher() override;
  EventDispatcher(const EventDispatcher&) = delete;
  EventDispatcher& operator=(const EventDispatcher&) = delete;

  // ---- Ports ------------------------------------------------------------------
  GameContext& context() const { return *context_; }
  GameSession& game() const;
  // The game screen's controller: the one screen the hub shows on, and the
  // rules' spell effects (the context's port). Null goes back to the stand-ins.
  GameScreen& screen() const { return *screen_; }
  void setScreen(GameScreen* screen);
  MatchLink& matchLink() const;
  FlowHost& flowHost() const { return *flowHost_; }
  void setFlowHost(FlowHost* host) { flowHost_ = host ? host : &nullFlowHost_; }
  // The board view: gets every board observer call the hub receives.
  void setBoardView(BoardObserver* view) { boardView_ = view ? view : &nullBoardView_; }
  // The lobby screen and the lobby link, the lobby's record (flow state, prompt,
  // login, opponent) and its entries are the LobbyFlow base's.

  // ---- Record -----------------------------------------------------------------
  const std::deque<AnimateSpellEvent>& eventQueue() const { return eventQueue_; }
  bool remoteFinishedAnimating() const { return remoteFinishedAnimating_; }
  bool animating() const { return animating_; }

  // ---- Frame and loading ------------------------------------------------------
  // Every frame: the network's messages, then the running game (the computer's move).
  void update(float delta);
  // The loading screen is done: the menu fades in.
  void onLoadingFinished();

  // ---- A player's choice, whoever made it ----------------------------------------
  // The one path: made here (screen or store), it closes the screen's message
  // before the player acts and is sent to the host; on the joining side it acts
  // at once, unless it depends on an answer of the host still to come: then it
  // waits in order (HeldChoices) and acts in its turn. Any choice is checked
  // against the rules first, then taken (GameSession::takeChoice). The named
  // entries below are doors onto it.
  ChoiceOutcome submitChoice(const Choice& choice) override;

  // ---- The local player's choices (game screen) --------------------------------
  // On the joining side of a match: a choice made now might wait for the host's
  // answer (choices wait already, the player's spell is being shown, or the host
  // has not yet answered a cast, a payment or the entry into a phase).
  bool awaitsHost() const;
  // The joining side's choices that wait for the host, oldest first.
  const HeldChoices& heldChoices() const { return held_; }
  void selectCard(int cardId);
  // True when the spell was taken now (false: refused, or waiting for the host).
  bool selectSpell(int cardId, int power, Player* targetPlayer);
  void selectBoardElem(BoardElem* elem);
  void endPhase();
  void cancelSelection();
  // The store's try-out of a card (sandbox): the same choice as a pick in the game,
  // with the players first put where that kind of card is cast.
  void tryProduct(int cardId);

  // ---- The other machine's choices (on the host) --------------------------------
  // Each is checked against the player's state and offers first; a choice that
  // does not fit is logged as out of sync and dropped. False when dropped (true
  // when the player declined it under the rules).
  bool onRemoteSelectedCard(Player* player, int cardId);
  bool onRemoteSelectedSpell(Player* player, int cardId, int power);
  bool onRemoteSelectedBoardElem(Player* player, BoardElem* elem);
  bool onRemoteFinishedSelectingCards(Player* player);
  bool onRemoteFinishedSelectingSpells(Player* player);
  // A cancel is taken in any state: outside a choice of place or target it
  // changes nothing.
  bool onRemoteCancel(Player* player);
  // The other machine's player is done with its combat queue or its fire
  // (`onQueueDone`; nothing of ours sends it). Without a player, nothing.
  void onRemoteClickedBoard(Player* player);

  // ---- GameHub: the running game's reports ---------------------------------------
  // (The computer's choices come through GameHub's doors: aiSelectCard ...)
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

  // ---- Chat -----------------------------------------------------------------------
  // A chat line typed on the game screen: sent in an online game.
  void sendChat(const std::string& text);

  // ---- Between the two flows ----------------------------------------------------
  // Online and hosting: this machine runs the rules for both players.
  bool hostsMatch() const;
  // Online and not hosting: this machine sends its choices to the host.
  bool joinsMatch() const;
  // The match is over for this machine: the game record goes, and on the
  // joining side everything replicated from the host with it.
  void clearMatch();
  // The network took the host's players away on this (joining) side: nothing of
  // the animation queue may point at them any more.
  void onRemoteObjectsGone();

 private:
  // The host's turn messages are taken only on the joining side of a match.
  bool fromTheHost(const char* what) const;
  // Joining side, every frame after the network's messages: takes in the host's
  // answers, the automatic step the host took for the local player, the offers
  // anew on the boards a cast's answer brought, and the held choices that may act.
  void followHost();
  // A choice made here waits for the host: held in order, and the wait is shown.
  void holdForHost(const Choice& choice, const char* why);
  // The held choices whose answers have come act, in order.
  void takeHeldChoices();
  // The screen shows that choices wait for the host.
  void showWait();
  // The local player's state and the enemy's (Invalid for one that is missing).
  std::pair<PlayerState, PlayerState> playerStates() const;
  // The wait gives way to what the player's state shows without it.
  void hideWait(const Player& local);
  // The held choices go with the game they were made in.
  void dropHeldChoices(const char* why);
  bool isLocalOwner(const BoardElem& elem) const;
  std::string text(const std::string& key) const;
  Player* localPlayer() const;

  // switchPlayerState's halves: what the screen shows, and the shared steps.
  void showStateSwitch(Player& player, PlayerState oldState, PlayerState newState);
  void runSharedSteps(PlayerState newState, bool display);
  // Puts the offers of a placement or target state on the board and the screen.
  void showChoice(Player& player, int cardId);

  // A choice made here: the screen's part before the player acts, and the
  // message to the host after (`before`: the chooser's state before it acted).
  void showChoiceTaken(const Choice& choice);
  // The player acts on a choice (checked first); made here, it is sent to the host.
  ChoiceOutcome actOn(const Choice& choice);
  void sendToHost(const Choice& choice, PlayerState before, ChoiceOutcome outcome);

  void processEventQueue();
  // `result` as this side sees it: Won, Lost or Draw.
  void endGame(GameResult result);

  GameContext* context_;
  GameLife life_;  // completions of the animation queue end with the hub

  // The game flow's record: the host's spell animations waiting to be shown
  // (joining side) and how far they are.
  std::deque<AnimateSpellEvent> eventQueue_;
  bool remoteFinishedAnimating_ = false;
  bool animating_ = false;
  // The animation queue is being worked through by a loop (an effect that
  // ends at once moves the loop on instead of nesting another).
  bool drainingQueue_ = false;
  bool queueAdvanced_ = false;
  // The joining side's choices waiting for the host, and whether the screen shows it.
  HeldChoices held_;
  bool waitShown_ = false;
  std::pair<PlayerState, PlayerState> waitStates_;  // the players' states when it was shown

  NullGameScreen nullScreen_;
  GameScreen* screen_ = &nullScreen_;
  NullFlowHost nullFlowHost_;
  FlowHost* flowHost_ = &nullFlowHost_;
  BoardObserver nullBoardView_;
  BoardObserver* boardView_ = &nullBoardView_;
};

// The game's one event hub, on the default context.
EventDispatcher& eventDispatcher();
