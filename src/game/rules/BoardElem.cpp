#include "BoardElem.h"

#include "Board.h"
#include "GameContext.h"
#include "logog/logog.hpp"

bool BoardElem::lacksAuthority() const { return board_ && board_->context().lacksAuthority(); }

void BoardElem::notifyChanged() {
  if (board_) board_->context().observer().onElemChanged(*this);
}

void BoardElem::refresh() { notifyChanged(); }

void BoardElem::relayout() {
  if (board_) board_->context().observer().onElemRebuilt(*this);
  notifyChanged();
}

void BoardElem::setUnderground(bool v) {
  underground_ = v;
  if (board_) {
    board_->undergroundDirty_ = true;
    if (v) board_->extendReach(x_, y_);
  }
}

void BoardElem::setBurning(bool v) {
  if (burning_ == v) return;
  burning_ = v;
  if (board_) board_->changeBurningCount(v ? 1 : -1);
}

bool BoardElem::setKind(ElemKind kind) {
  const int k = static_cast<int>(kind);
  if (k < static_cast<int>(ElemKind::Empty) || k > static_cast<int>(ElemKind::Dome)) {
    LOGOG_ERROR("refused unknown element kind %d at (%d, %d)", k, x_, y_);
    return false;
  }
  const ElemKind old = kind_;
  kind_ = kind;
  if (board_ && kind != ElemKind::Empty) board_->extendReach(x_, y_);
  const int delta = (isBlockKind(kind) ? 1 : 0) - (isBlockKind(old) ? 1 : 0);
  if (board_ && delta != 0) board_->changeBlockCount(delta);
  if (kind == ElemKind::Empty)
    resetElem();
  else if (board_)
    board_->context().observer().onElemRebuilt(*this);
  room_ = RoomType::None;
  storedCards_.clear();
  notifyChanged();
  return true;
}

void BoardElem::setWaterLevel(float level) {
  waterLevel_ = level;
  notifyChanged();
}

void BoardElem::clearBlockFlags() {
  damaged_ = false;
  hardened_ = false;
  levitron_ = false;
  doors_ = false;
  fence_ = false;
  revealed_ = false;
  deratized_ = false;
  setBurning(false);
}

void BoardElem::resetElem() {
  waterLevel_ = 0.0f;
  visited_ = false;
  igniteNext_ = false;
  burntOut_ = false;
  selectable_ = false;
  clearBlockFlags();
  // Kind 0 straight, not through setKind: the block count was settled by the caller
  // or the element was no block.
  if (isBlockKind(kind_) && board_) board_->changeBlockCount(-1);
  kind_ = ElemKind::Empty;
  if (board_) board_->context().observer().onElemRebuilt(*this);
}

void BoardElem::highlight(int index) {
  selectable_ = true;
  if (board_) board_->context().observer().onElemHighlighted(*this, index);
}

void BoardElem::unhighlight() {
  selectable_ = false;
  if (board_) board_->context().observer().onElemUnhighlighted(*this);
}

BoardElem* BoardElem::getLeft() const { return board_ ? board_->cellAt(x_ - 1, y_) : nullptr; }
BoardElem* BoardElem::getRight() const { return board_ ? board_->cellAt(x_ + 1, y_) : nullptr; }
BoardElem* BoardElem::getUpper() const { return board_ ? board_->cellAt(x_, y_ + 1) : nullptr; }
BoardElem* BoardElem::getLower() const { return board_ ? board_->cellAt(x_, y_ - 1) : nullptr; }

bool BoardElem::joinsSideways() const {
  return kind_ == ElemKind::FourBlock || kind_ == ElemKind::HorizBlock;
}

bool BoardElem::joinsVertically() const {
  return kind_ == ElemKind::FourBlock || kind_ == ElemKind::VertBlock;
}

bool BoardElem::isFoundation() const { return Board::isFoundationCell(x_, y_); }

bool BoardElem::isHallTop() const { return Board::isHallTopCell(x_, y_); }

bool BoardElem::isVisibleToLocalPlayer(const Player* localPlayer) const {
  if (!owner_) return false;
  if (owner_ == localPlayer) return true;
  return revealed_;
}
