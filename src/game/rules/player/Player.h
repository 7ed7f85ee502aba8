// One side of a game: its board, the mana and dwarves counters, the hand of
// cards, the spell queue and the state of its turn. Screens, network messages
// and the computer player drive it through the same operations (by way of the
// event hub); it reports every change to the hub (PlayerEvents) of its context.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "BoardElem.h"
#include "player/AnimateSpellEvent.h"
#include "player/GameLife.h"
#include "player/PlayerState.h"

class Board;
class GameContext;
class PlayerEvents;
class PlayerSession;

class Player {
 public:
  using StoredCard = BoardElem::StoredCard;  // (card id, power)
  static constexpr int kNone = -1;           // no card chosen

  explicit Player(GameContext& context);
  Player();  // on the default context
  ~Player();
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  GameContext& context() const { return *context_; }

  // ---- Record -------------------------------------------------------------
  Board* board() const { return board_; }
  void setBoard(Board* board) { board_ = board; }
  Player* targetPlayer() const { return targetPlayer_; }
  int lastSpellCard() const { return lastSpellCard_; }
  int lastSpellPower() const { return lastSpellPower_; }
  int mana() const { return mana_; }
  int dwarves() const { return dwarves_; }
  // Store the counter and report the counters.
  void setMana(int value);
  void setDwarves(int value);
  PlayerState state() const { return state_; }
  const std::vector<int>& cards() const { return cards_; }
  int selectedCard() const { return selectedCard_; }
  const std::vector<BoardElem*>& chosenTargets() const { return chosenTargets_; }
  const std::vector<BoardElem*>& options() const { return options_; }
  const std::vector<StoredCard>& spellOptions() const { return spellOptions_; }
  StoredCard selectedSpell() const { return selectedSpell_; }
  const std::deque<AnimateSpellEvent>& spellQueue() const { return spellQueue_; }

  // Replication writes the fields it receives through these (no report, no rule).
  std::deque<AnimateSpellEvent>& mutableSpellQueue() { return spellQueue_; }
  void setCards(std::vector<int> cards) { cards_ = std::move(cards); }
  void setSelectedCard(int card) { selectedCard_ = card; }
  void setChosenTargets(std::vector<BoardElem*> t) { chosenTargets_ = std::move(t); }
  void setOptions(std::vector<BoardElem*> o) { options_ = std::move(o); }
  void setSpellOptions(std::vector<StoredCard> o) { spellOptions_ = std::move(o); }
  void setSelectedSpell(StoredCard s) { selectedSpell_ = s; }
  void setTargetPlayer(Player* p) { targetPlayer_ = p; }

  // ---- Place in the game ----------------------------------------------------
  bool isLocal() const;
  Player* opponent() const;
  // "WE" for the local player, "ENEMY" for the other; for log lines.
  const char* displayName() const;
  static const char* stateName(PlayerState state) { return ::stateName(state); }
  // In one of the spell-choosing or target states.
  bool isChoosingSpell() const;
  // Whether entering `next` begins a phase of spell choices (not a return to one).
  bool startsSpellPhase(PlayerState next) const;
  // The player a spell of `cardId` chosen by this player acts on: the opponent
  // for a card cast on the opponent, else this player.
  Player* spellTargetFor(int cardId);

  // ---- Turn state machine ---------------------------------------------------
  // Enters the state with what it computes on entry and its automatic steps;
  // a value outside 0..13 is refused as out of sync.
  void setState(PlayerState state);
  void startTurn();
  // Ends the card phase: income, then the build phase. False when refused.
  bool finishCards();
  void finishSpells();
  void cancel();
  // This player's combat queue is worked off, or its fire resolved.
  void onQueueDone();
  // Whether a player in `my` must wait for one in `other`.
  static bool mustWaitFor(PlayerState my, PlayerState other);
  // The hand for this turn from the running game.
  void dealCards();
  // The host's word on this machine's own player (joining side of a match).
  // This machine makes that player's choices, but the automatic steps of the
  // build and repair phases are the host's: its board shows the results of the
  // last choice first. Replication records the word (state and counters); the
  // hub follows it.
  void setHostWord(PlayerState state, int mana, int dwarves) {
    hostState_ = state;
    hostMana_ = mana;
    hostDwarves_ = dwarves;
  }
  PlayerState hostState() const { return hostState_; }
  int hostMana() const { return hostMana_; }
  int hostDwarves() const { return hostDwarves_; }
  // Takes the automatic step of the current state when the host's word is that
  // step; true when taken.
  bool takeHostStep();
  // Computes the current state's offers anew (the boards changed under them);
  // reported as a switch to the same state when they differ. True when they did.
  bool refreshOffers();
  // One of this player's spells is being shown; the rules refuse its choices
  // until it is cast.
  bool isCasting() const { return casting_; }

  // ---- Actions --------------------------------------------------------------
  bool selectCard(int cardId);
  // Why choosing this card of the hand now is refused: the key of the message
  // shown ("" when none is), or null when it has a place.
  const char* cardRefusal(int cardId) const;
  std::vector<BoardElem*> placementOptions(int cardId) const;
  bool placeCard(BoardElem* elem);
  bool canAfford(int cardId) const;
  std::vector<StoredCard> collectSpellOptions(bool hostile, bool onlyCastable) const;
  bool selectSpell(int cardId, int power, Player* targetPlayer);
  // Every pick of the card finds a target on the target player's board (true
  // for a card whose targets the rules pick).
  static bool hasTargetsFor(int cardId, const Player* targetPlayer);
  // Choosing the stored card in a spell phase would be accepted: it is paid for
  // and has its targets.
  bool maySelectSpell(int cardId, const Player* targetPlayer) const;
  static std::vector<BoardElem*> targetOptions(const Board& board, int cardId, int pickIndex,
                                               const std::vector<BoardElem*>& excluded);
  // A click on an offered element: placement or target, by state.
  bool selectTarget(BoardElem* elem);
  bool chooseTarget(BoardElem* elem);

  // ---- Spell queue ----------------------------------------------------------
  void queueSpell(int cardId, int power, Player* targetPlayer, std::vector<BoardElem*> targets);
  void pay(int mana, int dwarves);
  void processSpellQueue();
  // Fills `reflection` with what the target's shields turn back; true when it
  // has a target.
  bool reflectOffShields(AnimateSpellEvent& record, AnimateSpellEvent& reflection);
  void applyBeforeShow(AnimateSpellEvent& record);
  void castFromQueue(AnimateSpellEvent& record);
  void castSpell(AnimateSpellEvent& record);

 private:
  PlayerEvents& events() const;
  PlayerSession& session() const;
  void report(PlayerState from, PlayerState to);
  void outOfSync();
  void showMessage(const std::string& key);
  // Stores the state and computes its choices; returns the automatic next
  // state, or the state itself when it stays.
  PlayerState enter(PlayerState state);
  // The automatic step of the build and repair phases applies (online, or the
  // local player: the computer finishes its phases itself). Not while a
  // tutorial runs: its script waits for the player to end those phases.
  bool skipsAutomatically() const;
  // Where the host runs the rules: it took `step` for this machine's own player.
  bool hostTook(PlayerState step) const;
  // Refuses a choice while one of this player's spells is being shown.
  bool busyCasting(const char* what) const;
  void refreshTargetOptions();
  // After a combat choice: the sandbox resolves at once, else choose again.
  void afterCombatChoice();
  void queueOrPay(int cardId, int power, Player* target, std::vector<BoardElem*> targets);

  GameContext* context_;
  GameLife life_;  // ends with the player: its pending effects are dropped
  Board* board_ = nullptr;
  Player* targetPlayer_ = nullptr;
  int lastSpellCard_ = kNone;
  int lastSpellPower_ = 0;
  int mana_ = 0;
  int dwarves_ = 0;
  std::deque<AnimateSpellEvent> spellQueue_;
  PlayerState state_ = PlayerState::Invalid;
  PlayerState hostState_ = PlayerState::Invalid;
  int hostMana_ = 0;
  int hostDwarves_ = 0;
  bool casting_ = false;
  std::vector<int> cards_;
  int selectedCard_ = kNone;
  std::vector<BoardElem*> chosenTargets_;
  std::vector<BoardElem*> options_;
  std::vector<StoredCard> spellOptions_;
  StoredCard selectedSpell_{kNone, 0};
};
