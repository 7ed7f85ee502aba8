// What happens to an element once something has hit it: damage, destruction,
// explosions, fire, crews' work.
#include "Board.h"
#include "BoardElem.h"
#include "GameContext.h"

void BoardElem::damage() {
  if (lacksAuthority() || !isBlock()) return;
  if (hardened_) {
    hardened_ = false;
  } else if (damaged_) {
    destroy();
    return;
  } else {
    damaged_ = true;
  }
  notifyChanged();
}

void BoardElem::destroy() {
  if (lacksAuthority()) return;
  // Underground a destroyed block leaves a cave (its water stays), above ground air.
  setKind(underground_ ? ElemKind::Cave : ElemKind::Empty);
  clearBlockFlags();
  notifyChanged();
  if (board_) {
    board_->updateWater(true);
    board_->supportPass();
  }
}

void BoardElem::explode() {
  if (lacksAuthority()) return;
  if (hardened_) {
    hardened_ = false;
    damage();
    notifyChanged();
    return;
  }
  if (board_) board_->context().observer().onBlockExploded(*this);
  // The neighbours are looked up before the destruction: a collapse does not move cells.
  BoardElem* around[4] = {getLeft(), getRight(), getUpper(), getLower()};
  destroy();
  for (BoardElem* n : around)
    if (n) n->damage();
}

void BoardElem::burnStep() {
  if (lacksAuthority()) return;
  if (room_ == RoomType::Crystal && !hardened_ && damaged_) {
    explode();
    return;
  }
  if (board_) board_->context().observer().onElemRubble(*this);
  if (hardened_) {
    hardened_ = false;
  } else if (!damaged_) {
    damaged_ = true;
  } else {
    setBurning(false);
    burntOut_ = true;
    room_ = RoomType::None;
    storedCards_.clear();
  }
  notifyChanged();
}

void BoardElem::ignite() {
  if (lacksAuthority() || !isBlock()) return;
  if (hardened_) {
    hardened_ = false;
  } else if (waterLevel_ <= kFireWaterLimit) {
    setBurning(true);
    burntOut_ = false;
  }
  notifyChanged();
}

void BoardElem::extinguish() {
  if (lacksAuthority()) return;
  setBurning(false);
  notifyChanged();
}

void BoardElem::repair() {
  if (lacksAuthority()) return;
  damaged_ = false;
  notifyChanged();
}

void BoardElem::removeFence() {
  if (lacksAuthority()) return;
  fence_ = false;
  notifyChanged();
}

void BoardElem::setRatTrap() {
  if (lacksAuthority()) return;
  deratized_ = true;
  notifyChanged();
}

void BoardElem::ratsAttack() {
  if (lacksAuthority()) return;
  if (deratized_) {
    deratized_ = false;
    notifyChanged();
  } else {
    damage();
  }
}

void BoardElem::pump() {
  if (lacksAuthority()) return;
  setWaterLevel(0.0f);
  if (board_) board_->updateWater(true);
}

void BoardElem::tunnel() {
  if (lacksAuthority()) return;
  setKind(ElemKind::Cave);
  setWaterLevel(0.0f);
  if (board_) board_->updateWater(true);
}

void BoardElem::breakDoors() {
  if (lacksAuthority() || !doors_) return;
  doors_ = false;
  notifyChanged();
  if (board_) {
    board_->updateWater(true);
    board_->context().observer().onDoorDestroyed(*this);
  }
}

void BoardElem::destroyDomeAbove() {
  if (lacksAuthority()) return;
  if (BoardElem* above = getUpper()) above->setKind(ElemKind::Empty);
}

void BoardElem::reveal() {
  revealed_ = true;
  notifyChanged();
}

void BoardElem::hide() {
  revealed_ = false;
  notifyChanged();
}
