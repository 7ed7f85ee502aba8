// Board-wide rules: which blocks still stand, the fire step, the earthquake,
// and the random pickers of spell targets.
#include <vector>

#include "Board.h"
#include "GameContext.h"

namespace {

bool isKind(const BoardElem* e, ElemKind a, ElemKind b) {
  return e && (e->kind() == a || e->kind() == b);
}

bool sideJoin(const BoardElem* e) { return isKind(e, ElemKind::FourBlock, ElemKind::HorizBlock); }
bool upDownJoin(const BoardElem* e) { return isKind(e, ElemKind::FourBlock, ElemKind::VertBlock); }

}  // namespace

void Board::supportPass() {
  if (lacksAuthority()) return;
  for (auto& e : cells_)
    if (e) e->visited_ = false;

  // Mark everything joined to a support. The marked set does not depend on the
  // order of the walk, so an explicit stack stands in for the recursion.
  std::vector<BoardElem*> stack;
  for (auto& start : cells_) {
    if (!start || start->visited_) continue;
    if (!start->isUnderground() && !start->isFoundation() && !start->hasLevitron()) continue;
    start->visited_ = true;
    stack.push_back(start.get());
    while (!stack.empty()) {
      BoardElem* e = stack.back();
      stack.pop_back();
      auto visit = [&stack](BoardElem* n) {
        if (n && !n->visited_) {
          n->visited_ = true;
          stack.push_back(n);
        }
      };
      if (sideJoin(e)) {
        BoardElem* l = e->getLeft();
        BoardElem* r = e->getRight();
        if (sideJoin(l)) visit(l);
        if (sideJoin(r)) visit(r);
      }
      if (upDownJoin(e)) {
        BoardElem* lower = e->getLower();
        if (upDownJoin(lower)) visit(lower);
        BoardElem* upper = e->getUpper();
        if (upDownJoin(upper) || (upper && upper->kind() == ElemKind::Dome)) visit(upper);
      }
    }
  }

  for (auto& e : cells_) {
    if (!e || e->visited_) continue;
    if (e->isBlock() || e->kind() == ElemKind::Dome) {
      context_->observer().onBlockCollapsed(*e);
      e->setKind(ElemKind::Empty);
    }
  }
}

void Board::burn() {
  if (lacksAuthority()) return;
  for (auto& e : cells_)
    if (e) e->igniteNext_ = false;

  auto catches = [](BoardElem* n) {
    return n && !n->hasDoors() && n->waterLevel() < BoardElem::kWorkingWaterLimit;
  };
  for (auto& e : cells_) {
    if (!e || !e->isBurning() || e->hasDoors()) continue;
    if (sideJoin(e.get())) {
      for (BoardElem* n : {e->getLeft(), e->getRight()})
        if (sideJoin(n) && catches(n)) n->igniteNext_ = true;
    }
    if (upDownJoin(e.get())) {
      for (BoardElem* n : {e->getUpper(), e->getLower()})
        if (upDownJoin(n) && catches(n)) n->igniteNext_ = true;
    }
  }

  // Live walk: a block that an explosion has damaged earlier in this walk takes
  // its own step in the state it is in now, so crystal rooms can go off in a chain.
  for (auto& e : cells_)
    if (e && e->isBurning() && e->isBlock()) e->burnStep();

  for (auto& e : cells_) {
    if (e && e->igniteNext_ && !e->burntOut_) {
      e->igniteNext_ = false;
      e->ignite();
    }
  }
  for (auto& e : cells_)
    if (e) e->burntOut_ = false;
}

void Board::earthquake() {
  if (lacksAuthority()) return;
  for (int x = 0; x < kSize; ++x) {
    for (int y = 0; y < kSize; ++y) {
      BoardElem* e = cellAt(x, y);
      if (e && e->isBlock() && e->isFoundation() && context_->rng().coin()) e->damage();
    }
  }
}

BoardElem* Board::randomBlock(bool aboveGround, bool underground, bool burningAllowed,
                              bool wetAllowed) const {
  std::vector<BoardElem*> found;
  for (const auto& e : cells_) {
    if (!e || !e->isBlock()) continue;
    if (e->isUnderground() ? !underground : !aboveGround) continue;
    if (e->isBurning() && !burningAllowed) continue;
    if (e->waterLevel() >= BoardElem::kWorkingWaterLimit && !wetAllowed) continue;
    found.push_back(e.get());
  }
  return pickRandom(found);
}

BoardElem* Board::randomCrystalBlock() const {
  std::vector<BoardElem*> found;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      BoardElem* e = cellAt(x, y);
      if (e && e->isBlock() && e->room() == RoomType::Crystal) found.push_back(e);
    }
  }
  return pickRandom(found);
}

BoardElem* Board::randomGroundBlock() const {
  std::vector<BoardElem*> found;
  for (int x = 0; x < kSize; ++x) {
    BoardElem* e = cellAt(x, kGroundRow);
    if (e && e->isBlock()) found.push_back(e);
  }
  return pickRandom(found);
}

std::vector<BoardElem*> Board::hallTopCells() const {
  std::vector<BoardElem*> found;
  for (int x = 0; x < kSize; ++x) {
    BoardElem* e = cellAt(x, kGroundRow - 1);
    if (e && e->isHallTop() &&
        (e->kind() == ElemKind::Cave || e->kind() == ElemKind::FourBlock ||
         e->kind() == ElemKind::VertBlock))
      found.push_back(e);
  }
  return found;
}
