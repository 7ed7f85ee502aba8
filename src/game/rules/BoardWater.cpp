// Water under the tower: a mass-conserving cellular model over the
// underground cells. Levels above 1.0 are pressure; the final settling cuts it.
#include <algorithm>

#include "Board.h"
#include "GameContext.h"
#include "logog/logog.hpp"

namespace {

enum class Dir { Down, Left, Right, Up };

bool joinsIn(const BoardElem& e, Dir d) {
  if (e.kind() == ElemKind::Cave) return true;
  return (d == Dir::Down || d == Dir::Up) ? e.joinsVertically() : e.joinsSideways();
}

// Water passes between the two only through open joins, never through doors,
// and never leaves the underground.
bool passes(const BoardElem& from, const BoardElem* to, Dir d) {
  if (from.hasDoors() || !to || to->hasDoors() || !to->isUnderground()) return false;
  return joinsIn(from, d) && joinsIn(*to, d);
}

// The mass the lower of two stacked cells holds when `total` is shared
// between them at rest.
float stableLower(float total) {
  if (total <= Board::kFullCell) return Board::kFullCell;
  if (total < 2.0f * Board::kFullCell + Board::kCompression)
    return (Board::kFullCell * Board::kFullCell + total * Board::kCompression) /
           (Board::kFullCell + Board::kCompression);
  return (total + Board::kCompression) / 2.0f;
}

}  // namespace

void Board::updateWater(bool final) {
  if (lacksAuthority()) return;
  if (!final) {
    flowWater();
    return;
  }
  LOGOG_INFO("updating water FINAL for %s", ownerName_.c_str());
  int steps = 0;
  while (steps < kSettleLimit) {
    ++steps;
    if (flowWater()) break;
  }
  for (auto& e : cells_)
    if (e && e->waterLevel() > kFullCell) e->setWaterLevel(kFullCell);
  LOGOG_INFO("finished, iter: %d", steps);
}

bool Board::flowWater() {
  if (lacksAuthority()) return true;
  if (undergroundDirty_) {
    undergroundCells_.clear();
    for (auto& e : cells_)
      if (e && e->isUnderground()) undergroundCells_.push_back(e.get());
    undergroundDirty_ = false;
  }
  // New levels by cell index; only underground cells ever change.
  newLevels_.resize(cells_.size());
  for (BoardElem* e : undergroundCells_) newLevels_[e->x() * kSize + e->y()] = e->waterLevel();
  auto level = [this](BoardElem* e) -> float& { return newLevels_[e->x() * kSize + e->y()]; };

  float largest = 0.0f;
  for (BoardElem* e : undergroundCells_) {
    const float own = e->waterLevel();
    if (own <= 0.0f) continue;
    float remaining = own;
    auto move = [&](BoardElem* to, float flow) {
      level(e) -= flow;
      level(to) += flow;
      remaining -= flow;
      largest = std::max(largest, flow);
    };

    BoardElem* lower = e->getLower();
    if (passes(*e, lower, Dir::Down)) {
      const float s = stableLower(remaining + lower->waterLevel());
      move(lower, std::clamp(s - lower->waterLevel(), 0.0f, std::min(remaining, kFlowCap)));
    }
    BoardElem* left = e->getLeft();
    if (remaining > 0.0f && passes(*e, left, Dir::Left))
      move(left, std::clamp((own - left->waterLevel()) * kSidewaysShare, 0.0f, remaining));
    BoardElem* right = e->getRight();
    if (remaining > 0.0f && passes(*e, right, Dir::Right))
      move(right, std::clamp((own - right->waterLevel()) * kSidewaysShare, 0.0f, remaining));
    BoardElem* upper = e->getUpper();
    if (remaining > 0.0f && passes(*e, upper, Dir::Up)) {
      const float s = stableLower(remaining + upper->waterLevel());
      move(upper, std::clamp(remaining - s, 0.0f, std::min(remaining, kFlowCap)));
    }
  }

  for (BoardElem* e : undergroundCells_) {
    const float n = level(e);
    if (n != e->waterLevel()) e->setWaterLevel(n);
  }
  // Water puts out fires (wherever it stands).
  if (burningCount_ > 0) {
    for (auto& e : cells_)
      if (e && e->isBurning() && e->waterLevel() > BoardElem::kFireWaterLimit) e->extinguish();
  }
  return largest < kSettleThreshold;
}
