#include "game/TutorialDirector.h"

#include "CardTable.h"
#include "GameContext.h"
#include "logog/logog.hpp"
#include "player/Player.h"
#include "player/PlayerSession.h"
#include "player/PlayerState.h"

namespace {

int turnOf(const Player& player) { return player.context().session().turn(); }

}  // namespace

const TutorialStep& GameDirector_Tutorial::currentRow() const {
  const int row = step_ < 0 ? 0 : (step_ < kTutorialStepRows ? step_ : kTutorialEndRow);
  return TutorialStepTable[static_cast<std::size_t>(row)];
}

std::vector<int> GameDirector_Tutorial::getCardList(const Player& player, int turn) {
  turn_ = turn;
  if (!active_) return GameDirector_Normal::getCardList(player, turn);
  const bool local = player.isLocal();
  if (turn == 0) {
    if (local) return {CardId::Archmage};
    return {CardId::Archmage, CardId::VertBlock, CardId::Housing, CardId::Dynamite, CardId::Rats};
  }
  if (turn == 1 && !local)
    return {CardId::Lightning, CardId::VertBlock, CardId::VertBlock,
            CardId::Library,   CardId::Crystal,   CardId::Fireball};
  return {};
}

bool GameDirector_Tutorial::canEndPhase() const { return !active_ || currentRow().skippable; }

bool GameDirector_Tutorial::getTutorialMessage(bool isLocal, int turn, int state,
                                               std::string& key, bool& show,
                                               std::vector<int>& allowed) {
  if (!active_ || !isLocal) return false;
  turn_ = turn;
  if (step_ < 0) step_ = 0;
  // No hint while the rules run.
  if (state == static_cast<int>(PlayerState::ProcessCombatQueue) ||
      state == static_cast<int>(PlayerState::Fire) ||
      state == static_cast<int>(PlayerState::EndTurn))
    return false;
  const TutorialStep& row = currentRow();
  if (row.turn == -1) {
    active_ = false;
    key = "TUT_FINISHED";
    show = true;
    LOGOG_INFO("tutorial finished");
    return true;
  }
  if (state != row.state || turn != row.turn) return false;
  key = row.key;
  if (!key.empty()) show = row.show;
  if (row.allowedCard != -1) allowed.push_back(row.allowedCard);
  return true;
}

void GameDirector_Tutorial::advance(const Player& player) {
  if (!active_ || !player.isLocal()) return;
  // The end row is the last one reached; past it nothing is stored.
  if (step_ < kTutorialEndRow) ++step_;
}

void GameDirector_Tutorial::onPhaseFinished(Player& player) { advance(player); }

void GameDirector_Tutorial::onTargetSelected(Player& player, BoardElem*) { advance(player); }

void GameDirector_Tutorial::onSpellSelected(Player& player, int cardId, int) {
  if (!active_ || !player.isLocal()) return;
  const int turn = turnOf(player);
  if ((turn == 0 && cardId == CardId::Dynamite) || (turn == 1 && cardId == CardId::Lightning))
    advance(player);
}

bool GameDirector_Tutorial::isCardChoiceForced(const std::vector<int>& cards, int) const {
  if (!active_ || currentRow().skippable) return false;
  return cards.size() == 1;
}

bool GameDirector_Tutorial::isSpellChoiceForced(const std::vector<StoredCard>& spells,
                                                int card) const {
  if (!active_ || currentRow().skippable) return false;
  if (spells.size() == 1) return true;
  return (turn_ == 0 || turn_ == 1) && spells.size() > 1 && spells[1].first == card;
}
