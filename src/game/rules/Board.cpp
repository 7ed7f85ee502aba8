#include "Board.h"

#include <algorithm>

#include "GameContext.h"
#include "logog/logog.hpp"

Board::Board(GameContext& context) : context_(&context) {}

Board::Board() : Board(GameContext::defaultContext()) {}

Board::~Board() {
  for (auto& e : cells_)
    if (e) context_->observer().onElemRemoved(*e);
  // The fire of a board that goes away is out.
  context_->observer().onFireLevelChanged(*this, 0);
}

bool Board::lacksAuthority() const { return context_->lacksAuthority(); }

int Board::maxStoredCards() {
  static const int most = [] {
    int total = 0;
    for (int y = 0; y < kSize; ++y) {
      int best = 0;
      for (int kind = static_cast<int>(RoomType::None); kind <= static_cast<int>(RoomType::Archmage); ++kind) {
        const RoomType room = static_cast<RoomType>(kind);
        if (BoardElem::roomKeepsCards(room)) best = std::max(best, BoardElem::roomPowerAt(room, y - kGroundRow));
      }
      total += best * kSize;
    }
    return total;
  }();
  return most;
}

bool Board::isUndergroundCell(int x, int y) {
  const int dx = x - kCentre, dy = y - kCentre;
  if (dy >= -5 && dy <= -2) return dx >= -4 && dx <= 3;
  if (dy == -1) return dx >= -3 && dx <= 2;
  return false;
}

bool Board::isInPlayCell(int x, int y) {
  const int dx = x - kCentre, dy = y - kCentre;
  if (!isOnBoard(x, y)) return false;
  if (dy >= 0) return true;
  if (dy == -1) return dx >= -3 && dx <= 1;
  if (dy >= -5) return dx >= -4 && dx <= 3;
  return false;
}

bool Board::isFoundationCell(int x, int y) { return y == kGroundRow && x >= 17 && x <= 21; }

bool Board::isHallTopCell(int x, int y) { return y == kGroundRow - 1 && x >= 17 && x <= 22; }

void Board::fill() {
  for (int x = 0; x < kSize; ++x) {
    for (int y = 0; y < kSize; ++y) {
      auto elem = std::make_unique<BoardElem>();
      elem->setUnderground(isUndergroundCell(x, y));
      elem->setInPlay(isInPlayCell(x, y));
      placeElem(std::move(elem), x, y);
    }
  }
}

void Board::extendReach(int x, int y) {
  reachX0_ = std::min(reachX0_, std::max(x - 1, 0));
  reachX1_ = std::max(reachX1_, std::min(x + 1, kSize - 1));
  reachY0_ = std::min(reachY0_, std::max(y - 1, 0));
  reachY1_ = std::max(reachY1_, std::min(y + 1, kSize - 1));
}

BoardElem* Board::placeElem(std::unique_ptr<BoardElem> elem, int x, int y) {
  if (!elem) {
    LOGOG_ERROR("placeElem: no element for (%d, %d)", x, y);
    return nullptr;
  }
  if (!isOnBoard(x, y)) {
    LOGOG_ERROR("placeElem: (%d, %d) lies outside the board", x, y);
    return nullptr;
  }
  std::unique_ptr<BoardElem>& slot = cells_[x * kSize + y];
  if (slot) {
    context_->observer().onElemRemoved(*slot);
    // The replaced element's block and fire leave the counters with it.
    if (slot->isBlock()) changeBlockCount(-1);
    if (slot->isBurning()) changeBurningCount(-1);
  }
  slot = std::move(elem);
  BoardElem* e = slot.get();
  e->board_ = this;
  e->owner_ = owner_;
  e->x_ = x;
  e->y_ = y;
  if (e->isBlock()) changeBlockCount(1);
  if (e->isBurning()) changeBurningCount(1);
  if (e->kind() != ElemKind::Empty || e->isUnderground()) extendReach(x, y);
  undergroundDirty_ = true;
  return e;
}

std::unique_ptr<BoardElem> Board::takeElem(int x, int y) {
  if (!isOnBoard(x, y)) return nullptr;
  if (!cells_[x * kSize + y]) return nullptr;
  context_->observer().onElemRemoved(*cells_[x * kSize + y]);
  std::unique_ptr<BoardElem> elem = std::move(cells_[x * kSize + y]);
  if (elem->isBlock()) changeBlockCount(-1);
  if (elem->isBurning()) changeBurningCount(-1);
  elem->board_ = nullptr;
  elem->owner_ = nullptr;
  undergroundDirty_ = true;
  return elem;
}

void Board::setOwner(Player* owner) {
  owner_ = owner;
  for (auto& e : cells_)
    if (e) e->owner_ = owner;
}

BoardElem* Board::findArchmage() const {
  for (const auto& e : cells_)
    if (e && e->room() == RoomType::Archmage) return e.get();
  return nullptr;
}

int Board::countFreeBlocks() const {
  int n = 0;
  for (const auto& e : cells_)
    if (e && e->isBlock() && e->room() == RoomType::None) ++n;
  return n;
}

int Board::manaIncome() const {
  int sum = 0;
  for (const auto& e : cells_)
    if (e && e->room() == RoomType::Crystal && e->isWorking()) sum += e->roomPower();
  return sum;
}

int Board::dwarvesIncome() const {
  int sum = 0;
  for (const auto& e : cells_)
    if (e && e->room() == RoomType::Housing && e->isWorking()) sum += e->roomPower();
  return sum;
}

BoardElem* Board::findTopBlock() const {
  for (int y = kSize - 1; y >= 0; --y) {
    for (int x = 0; x < kSize; ++x) {
      BoardElem* e = cellAt(x, y);
      if (e && e->isBlock() && !e->isUnderground()) return e;
    }
  }
  return nullptr;
}

BoardElem* Board::randomTopBlock() const {
  for (int y = kSize - 1; y >= 0; --y) {
    std::vector<BoardElem*> row;
    for (int x = 0; x < kSize; ++x) {
      BoardElem* e = cellAt(x, y);
      if (e && e->isBlock() && !e->isUnderground()) row.push_back(e);
    }
    if (!row.empty()) return pickRandom(row);
  }
  return nullptr;
}

BoardElem* Board::pickRandom(const std::vector<BoardElem*>& from) const {
  if (from.empty()) return nullptr;
  return from[context_->rng().next() % static_cast<int>(from.size())];
}

void Board::revealAll() {
  for (auto& e : cells_)
    if (e) e->reveal();
}

void Board::refreshAll() {
  for (auto& e : cells_)
    if (e) e->refresh();
}

void Board::refreshElems() {
  for (auto& e : cells_)
    if (e) e->relayout();
}

void Board::clearHighlights() {
  for (auto& e : cells_)
    if (e) e->unhighlight();
}

void Board::showOptions(const std::vector<BoardElem*>& options) {
  clearHighlights();
  int index = 1;
  for (BoardElem* e : options) {
    if (e) e->highlight(index);
    ++index;
  }
}

int Board::fireLevel() const { return blockCount_ < 1 ? 0 : burningCount_ * 100 / blockCount_; }

void Board::changeBlockCount(int delta) {
  blockCount_ += delta;
  context_->observer().onFireLevelChanged(*this, fireLevel());
}

void Board::changeBurningCount(int delta) {
  burningCount_ += delta;
  context_->observer().onFireLevelChanged(*this, fireLevel());
}
