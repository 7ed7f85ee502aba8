// The rules that differ between game modes: the cards each player is dealt,
// how each tower stands at the start, when a player has lost, whether the
// computer moves, and the hooks the tutorial follows. One subclass per mode;
// the running game owns the director of its mode.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "BoardElem.h"

class Player;

class GameDirector {
 public:
  using StoredCard = BoardElem::StoredCard;
  // A hand the directors of a match deal never grows past this.
  static constexpr int kMaxHand = 15;

  GameDirector() = default;
  GameDirector(const GameDirector&) = delete;
  GameDirector& operator=(const GameDirector&) = delete;
  virtual ~GameDirector() = default;

  // The director of a mode id ("skirmish", "water_trial", "fire_trial1" ..
  // "fire_trial4", "dynamite_trial1", "tutorial", "sandbox"); null (with a log
  // line) for any other id.
  static std::unique_ptr<GameDirector> create(const std::string& modeId);

  // The player's hand for `turn`, in dealing order.
  virtual std::vector<int> getCardList(const Player& player, int turn) = 0;
  virtual bool canEndPhase() const = 0;
  virtual bool isRegularGame() const = 0;
  // Language key of the text shown when the game starts; empty for none.
  virtual std::string getIntroMessage() const = 0;
  virtual bool isTutorialRunning() const { return false; }
  virtual bool isSandbox() const { return false; }
  // The hint for a state switch: true when there is one (key, whether it is
  // shown as a message, the cards the player may hold).
  virtual bool getTutorialMessage(bool /*isLocal*/, int /*turn*/, int /*state*/,
                                  std::string& /*key*/, bool& /*show*/,
                                  std::vector<int>& /*allowed*/) {
    return false;
  }
  // The mode's start layout and counters for the player's board.
  virtual void setupPlayer(Player& player) = 0;
  virtual void onCancel() {}
  virtual void onPhaseFinished(Player&) {}
  virtual void onSpellSelected(Player&, int /*cardId*/, int /*power*/) {}
  virtual void onCardSelected(Player&, int /*cardId*/) {}
  virtual void onTargetSelected(Player&, BoardElem*) {}
  // Whether the selection bar, showing the list in its order, must point at the card.
  virtual bool isCardChoiceForced(const std::vector<int>& /*cards*/, int /*card*/) const {
    return false;
  }
  virtual bool isSpellChoiceForced(const std::vector<StoredCard>& /*spells*/,
                                   int /*card*/) const {
    return false;
  }
  virtual bool hasLost(const Player& player) = 0;
  // The computer player's move for this frame.
  virtual void updateAI(Player& player) = 0;
};

// Skirmish: both players start with one four-block, are dealt the generated
// lists, and lose with their archmage. The trials and the tutorial build on it.
class GameDirector_Normal : public GameDirector {
 public:
  std::vector<int> getCardList(const Player& player, int turn) override;
  bool canEndPhase() const override { return true; }
  bool isRegularGame() const override { return true; }
  std::string getIntroMessage() const override { return std::string(); }
  void setupPlayer(Player& player) override;
  // No archmage room, or its element stands in water of 0.5 or more.
  bool hasLost(const Player& player) override;
  // The computer moves for the player that is not local.
  void updateAI(Player& player) override;

  // The generated hand every regular mode deals.
  static std::vector<int> normalCardList(const Player& player, int turn);
};

// Free building with 1000 of each counter; nobody loses and the enemy never moves.
class GameDirector_Sandbox : public GameDirector {
 public:
  std::vector<int> getCardList(const Player& player, int turn) override;
  bool canEndPhase() const override { return false; }
  bool isRegularGame() const override { return true; }
  std::string getIntroMessage() const override { return "SANDBOX_INTRO"; }
  bool isSandbox() const override { return true; }
  void setupPlayer(Player& player) override;
  bool hasLost(const Player&) override { return false; }
  void updateAI(Player&) override {}
};
