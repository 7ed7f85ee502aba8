// What players do to elements: placement rules, placing a card, stored cards,
// target rules and room power.
#include <algorithm>

#include "Board.h"
#include "BoardElem.h"
#include "CardTable.h"
#include "GameContext.h"
#include "logog/logog.hpp"
#include "player/Player.h"

namespace {

bool tutorialRunning(const Board* board) {
  return board && board->context().session().tutorialRunning();
}

bool joinsSidewaysKind(const BoardElem* e) { return e && e->joinsSideways(); }
bool joinsVerticallyKind(const BoardElem* e) { return e && e->joinsVertically(); }

// Crews a player may send straight onto an element instead of storing them.
bool castOnTheSpot(int cardId) {
  return cardId == CardId::Tunnelers || cardId == CardId::Repairers ||
         cardId == CardId::Firefighters || cardId == CardId::Pumpers;
}

RoomType roomOfCard(int cardId) {
  switch (cardId) {
    case CardId::Crystal: return RoomType::Crystal;
    case CardId::Library: return RoomType::Library;
    case CardId::Shield: return RoomType::Shield;
    case CardId::Housing: return RoomType::Housing;
    case CardId::Archmage: return RoomType::Archmage;
    default: return RoomType::None;
  }
}

}  // namespace

bool BoardElem::holdsSpells() const {
  if (room_ == RoomType::Library) return true;
  return room_ == RoomType::Archmage && !tutorialRunning(board_);
}

bool BoardElem::holdsCrews() const {
  if (room_ == RoomType::Housing) return true;
  return room_ == RoomType::Archmage && !tutorialRunning(board_);
}

bool BoardElem::roomKeepsCards(RoomType room) {
  return room == RoomType::Library || room == RoomType::Housing || room == RoomType::Archmage;
}

int BoardElem::roomPowerAt(RoomType room, int depth) {
  const int d = depth;
  switch (room) {
    case RoomType::Crystal:
    case RoomType::Shield:
    case RoomType::Archmage:
      return d < 0 ? -d : d + 1;
    case RoomType::Library:
      return d < 0 ? 1 : d + 1;
    case RoomType::Housing:
      return d < 0 ? 1 - d : 1;
    default:
      return 0;  // no room: no power, nothing stored
  }
}

void BoardElem::updateRoomPower() {
  roomPower_ = roomPowerAt(room_, getDepth());
  for (StoredCard& c : storedCards_) c.second = roomPower_;
  if (static_cast<int>(storedCards_.size()) > roomPower_)
    storedCards_.resize(static_cast<size_t>(std::max(roomPower_, 0)));
}

void BoardElem::moveRoom(BoardElem& from, BoardElem& to) {
  std::swap(from.room_, to.room_);
  std::swap(from.roomPower_, to.roomPower_);
  std::swap(from.storedCards_, to.storedCards_);
  // A room lives only in a block: whatever lands on anything else is lost.
  for (BoardElem* e : {&from, &to}) {
    if (!e->isBlock()) {
      e->room_ = RoomType::None;
      e->storedCards_.clear();
    }
    e->updateRoomPower();
    e->hide();
  }
}

bool BoardElem::isValidTarget(int cardId, int pickIndex) const {
  switch (cardId) {
    case CardId::Ray:
      return isBlock() && !isUnderground();
    case CardId::Flood:
    case CardId::Collapse:
      return isUnderground() && isBlockOrCave();
    case CardId::Eye:
      return isBlockOrCave();
    case CardId::DoorBreaker:
      return isBlock() && hasDoors();
    case CardId::Tunnelers: {
      if (!isUnderground() || kind_ != ElemKind::Empty) return false;
      for (const BoardElem* n : {getRight(), getLeft(), getUpper(), getLower()})
        if (n && n->isBlockOrCave()) return true;
      return false;
    }
    case CardId::Repairers:
      return isBlock() && isDamaged() && !isBurning();
    case CardId::Firefighters:
      return isBlock() && isBurning();
    case CardId::Movers:
      if (pickIndex == 0) return isBlock() && room_ != RoomType::None;
      return pickIndex == 1 && isBlock();
    case CardId::Pumpers:
      return isBlockOrCave() && waterLevel_ > kFireWaterLimit;
    case CardId::Deratizers:
      return isUnderground() && isBlock() && !isDeratized();
    default:
      return false;
  }
}

bool BoardElem::canPlace(int cardId) const {
  const CardRecord* card = CardTable::getCard(cardId);
  if (!card) return false;
  if (castOnTheSpot(cardId) && isValidTarget(cardId, 0) && owner_ && owner_->canAfford(cardId))
    return true;
  switch (card->category) {
    case CardCategory::Spell:
      return isWorking() && holdsSpells() &&
             static_cast<int>(storedCards_.size()) < roomPower_;
    case CardCategory::Crew:
      return isWorking() && holdsCrews() &&
             static_cast<int>(storedCards_.size()) < roomPower_;
    case CardCategory::Room:
      return isWorking() && room_ == RoomType::None;
    case CardCategory::Structure:
      break;
  }
  switch (cardId) {
    case CardId::FourBlock:
      return isOpen() && (joinsSidewaysKind(getRight()) || joinsSidewaysKind(getLeft()) ||
                          joinsVerticallyKind(getUpper()) || joinsVerticallyKind(getLower()));
    case CardId::VertBlock:
      return isOpen() && (joinsVerticallyKind(getUpper()) || joinsVerticallyKind(getLower()));
    case CardId::HorizBlock:
      return isOpen() && (joinsSidewaysKind(getRight()) || joinsSidewaysKind(getLeft()));
    case CardId::Dome:
      return isOpen() && !isUnderground() && !isFoundation() &&
             joinsVerticallyKind(getLower());
    case CardId::Fence:
      return isBlock() && isFoundation() && !hasFence();
    case CardId::Doors:
      return isBlock() && !hasDoors();
    case CardId::Harden:
      return isBlock() && !isHardened();
    case CardId::Levitron:
      return isBlock() && !hasLevitron() && !isUnderground() && !isFoundation();
    default:
      return false;
  }
}

void BoardElem::applyCard(int cardId) {
  const CardRecord* card = CardTable::getCard(cardId);
  // Also on the joining side of a match: it makes its player's choice itself as well
  // (what the host sends back is the same).
  if (!card || !board_) return;
  PlayerEvents& events = board_->context().playerEvents();

  if (castOnTheSpot(cardId) && isValidTarget(cardId, 0) && owner_ && owner_->canAfford(cardId)) {
    owner_->queueSpell(cardId, 1, owner_, {this});
    owner_->processSpellQueue();
    return;
  }

  switch (cardId) {
    case CardId::FourBlock:
    case CardId::VertBlock:
    case CardId::HorizBlock:
      setKind(cardId == CardId::FourBlock  ? ElemKind::FourBlock
              : cardId == CardId::VertBlock ? ElemKind::VertBlock
                                            : ElemKind::HorizBlock);
      board_->refreshAll();
      events.onBlockBuilt(*this);
      board_->context().observer().onBoardChanged(*board_);
      break;
    case CardId::Dome:
      events.onBlockBuilt(*this);
      setKind(ElemKind::Dome);
      break;
    case CardId::Fence:
      events.onFenceBuilt(*this);
      fence_ = true;
      break;
    case CardId::Doors:
      events.onDoorsBuilt(*this);
      doors_ = true;
      break;
    case CardId::Harden:
      events.onHardened(*this);
      hardened_ = true;
      break;
    case CardId::Levitron:
      events.onLevitronPlaced(*this);
      levitron_ = true;
      break;
    default:
      if (card->category == CardCategory::Room) {
        room_ = roomOfCard(cardId);
        events.onRoomBuilt(*this);
        updateRoomPower();
        storedCards_.clear();
      } else {
        events.onSpellPut(*this);
        storedCards_.emplace_back(cardId, roomPower_);
      }
      break;
  }
  notifyChanged();
}

bool Board::spendSpell(int cardId, int power) {
  const CardRecord* card = CardTable::getCard(cardId);
  const char* key = card ? card->key : "?";
  const BoardElem::StoredCard pair(cardId, power);
  for (const auto& cell : cells_) {
    if (!cell || !cell->isWorking() || !(cell->holdsSpells() || cell->holdsCrews())) continue;
    auto& stored = cell->storedCards();
    auto it = std::find(stored.begin(), stored.end(), pair);
    if (it == stored.end()) continue;
    stored.erase(it);
    cell->refresh();
    LOGOG_INFO("spent spell: %s!", key);
    return true;
  }
  LOGOG_ERROR("failed to spend spell: %s!", key);
  return false;
}
