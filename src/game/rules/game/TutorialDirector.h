// The tutorial: a game against the computer in which the local player is led
// through a fixed script (TutorialStepTable). The hub asks for the hint at
// every state switch of a player and reports the choices, which move the
// script on; once the end row is reached the game goes on as a skirmish.
#pragma once

#include "game/GameDirector.h"
#include "game/TutorialStepTable.h"

class GameDirector_Tutorial : public GameDirector_Normal {
 public:
  // Scripted hands while the script runs; the skirmish's once it is over.
  std::vector<int> getCardList(const Player& player, int turn) override;
  // Only where the current row allows it, until the script is over.
  bool canEndPhase() const override;
  bool isRegularGame() const override { return false; }
  std::string getIntroMessage() const override { return "TUT_INITIAL"; }
  bool isTutorialRunning() const override { return active_; }
  // The hint of the current row when the local player's new state is the
  // row's; reaching the end row ends the script ("TUT_FINISHED").
  bool getTutorialMessage(bool isLocal, int turn, int state, std::string& key, bool& show,
                          std::vector<int>& allowed) override;
  void onPhaseFinished(Player& player) override;
  // Only the scripted spell of the turn moves the script on.
  void onSpellSelected(Player& player, int cardId, int power) override;
  void onTargetSelected(Player& player, BoardElem* elem) override;
  // The selection bar's arrow: `index` into the bar's entries, in the bar's order.
  bool isCardChoiceForced(const std::vector<int>& cards, int card) const override;
  bool isSpellChoiceForced(const std::vector<StoredCard>& spells, int card) const override;

  int step() const { return step_; }
  bool active() const { return active_; }
  // The row the script stands on.
  const TutorialStep& currentRow() const;

 private:
  // The local player's choice moved the script on.
  void advance(const Player& player);

  int step_ = 0;
  bool active_ = true;
  // The turn counter as last told by the running game (dealing, state switches).
  int turn_ = 0;
};
