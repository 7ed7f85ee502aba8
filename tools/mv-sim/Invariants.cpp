#include "Invariants.h"

#include <vector>

#include "Board.h"
#include "BoardElem.h"
#include "game/GameSession.h"
#include "player/Player.h"

namespace {

std::string checkBoard(const Board& board, const char* side) {
  int blocks = 0;
  int burning = 0;
  std::string broken;
  board.forEachElem([&](const BoardElem& e) {
    if (e.isBlock()) ++blocks;
    if (e.isBurning()) ++burning;
    if (broken.empty() && (e.kind() != ElemKind::Empty || e.isUnderground()) &&
        !board.isInReach(e.x(), e.y()))
      broken = std::string(side) + ": (" + std::to_string(e.x()) + "," + std::to_string(e.y()) +
               ") lies outside the board's reach";
    if (broken.empty() && static_cast<int>(e.storedCards().size()) > std::max(e.roomPower(), 0))
      broken = std::string(side) + ": room at (" + std::to_string(e.x()) + "," +
               std::to_string(e.y()) + ") holds " + std::to_string(e.storedCards().size()) +
               " cards, power " + std::to_string(e.roomPower());
  });
  if (!broken.empty()) return broken;
  if (blocks != board.blockCount())
    return std::string(side) + ": block count " + std::to_string(board.blockCount()) +
           ", blocks " + std::to_string(blocks);
  if (burning != board.burningCount())
    return std::string(side) + ": burning count " + std::to_string(board.burningCount()) +
           ", burning " + std::to_string(burning);
  return {};
}

bool allOn(const std::vector<BoardElem*>& elems, const Board* board) {
  for (const BoardElem* e : elems)
    if (!e || e->board() != board) return false;
  return true;
}

std::string checkPlayer(const Player& p, const char* side) {
  const int state = static_cast<int>(p.state());
  if (!isPlayerState(state)) return std::string(side) + ": state " + std::to_string(state);
  if (!p.board()) return std::string(side) + ": no board";
  if (std::string b = checkBoard(*p.board(), side); !b.empty()) return b;
  switch (p.state()) {
    case PlayerState::PlacementChoose:
      if (!allOn(p.options(), p.board()))
        return std::string(side) + ": placement offered off the own board";
      break;
    case PlayerState::BuildSpellChooseTarget:
    case PlayerState::RepairSpellChooseTarget:
    case PlayerState::CombatSpellChooseTarget: {
      const Board* target = p.targetPlayer() ? p.targetPlayer()->board() : nullptr;
      if (!allOn(p.options(), target) || !allOn(p.chosenTargets(), target))
        return std::string(side) + ": targets offered off the target's board";
      break;
    }
    default:
      break;
  }
  return {};
}

}  // namespace

std::string checkInvariants(const GameSession& game) {
  if (!game.localPlayer() || !game.enemyPlayer()) return "a player is missing";
  if (std::string b = checkPlayer(*game.localPlayer(), "WE"); !b.empty()) return b;
  return checkPlayer(*game.enemyPlayer(), "ENEMY");
}
