// "BoardElem" on the wire.
//   construction: u64 owner, u64 board, int32 x, int32 y, bit underground,
//     bit in play.
//   state: bits damaged, hardened, levitron, doors; u32 the water level's
//     float bits; bits burning, fence, revealed, deratized; int32 room, int32 room
//     power, int-pair list of stored cards, int32 kind.
#include "BoardElemReplica.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "Board.h"
#include "BoardElem.h"
#include "CardTable.h"
#include "GameReplicas.h"
#include "logog/logog.hpp"
#include "player/Player.h"
#include "raknet/RakString.h"

namespace {

constexpr float kMaxWater = 1000.0f;
constexpr int kMaxRoomPower = Board::kSize;

// Everything a "BoardElem" update carries, read and checked before the element sees any.
struct ElemUpdate {
  bool damaged = false, hardened = false, levitron = false, doors = false;
  float water = 0.0f;
  bool burning = false, fence = false, revealed = false, deratized = false;
  int32_t room = 0;
  int32_t roomPower = 0;
  std::vector<BoardElem::StoredCard> stored;
  int32_t kind = 0;

  bool read(RakNet::BitStream& in) {
    uint32_t waterBits = 0;
    if (!in.Read(damaged) || !in.Read(hardened) || !in.Read(levitron) || !in.Read(doors) || !in.Read(waterBits) ||
        !in.Read(burning) || !in.Read(fence) || !in.Read(revealed) || !in.Read(deratized) || !in.Read(room) ||
        !in.Read(roomPower) || !GameReplicas::readIntPairVector(in, stored, kMaxRoomPower) || !in.Read(kind))
      return false;
    std::memcpy(&water, &waterBits, sizeof water);
    return in.GetNumberOfUnreadBits() == 0;
  }

  const char* invalid() const {
    if (kind < static_cast<int>(ElemKind::Empty) || kind > static_cast<int>(ElemKind::Dome)) return "kind";
    if (room < static_cast<int>(RoomType::None) || room > static_cast<int>(RoomType::Archmage)) return "room";
    if (roomPower < 0 || roomPower > kMaxRoomPower) return "room power";
    if (static_cast<int>(stored.size()) > roomPower) return "stored cards";
    for (const auto& c : stored)
      if (!CardTable::getCard(c.first) || c.second < 0 || c.second > kMaxRoomPower) return "stored cards";
    if (!std::isfinite(water) || water < 0.0f || water > kMaxWater) return "water";
    return nullptr;
  }
};

}  // namespace

BoardElemReplica::BoardElemReplica(GameReplicas& owner, BoardElem& elem)
    : ModelReplica(owner, false), elem_(&elem) {
  SetReportsChanges(true);
  owner_.add(this);
}

BoardElemReplica::BoardElemReplica(GameReplicas& owner, std::unique_ptr<BoardElem> copy)
    : ModelReplica(owner, true), elem_(copy.get()), unplaced_(std::move(copy)) {
  SetReportsChanges(true);
  owner_.add(this);
}

BoardElemReplica::~BoardElemReplica() {
  if (elem_) owner_.remove(this);
}

void BoardElemReplica::release() {
  if (!elem_) return;
  owner_.remove(this);
  BoardElem* e = elem_;
  elem_ = nullptr;
  owner_.forgetElems({e});
  if (!remote_) return;
  if (unplaced_) {
    unplaced_.reset();
    return;
  }
  if (Board* b = e->board()) {
    std::unique_ptr<BoardElem> taken = b->takeElem(e->x(), e->y());
    if (taken && taken.get() != e) b->placeElem(std::move(taken), e->x(), e->y());  // not ours: back
  }
}

void BoardElemReplica::forget() {
  if (!elem_) return;
  owner_.remove(this);
  elem_ = nullptr;
  unplaced_.reset();  // never placed, so the game does not know it
}

void BoardElemReplica::WriteAllocationID(RakNet::Connection_RM3*, RakNet::BitStream* out) const {
  out->Write(RakNet::RakString("BoardElem"));
}

void BoardElemReplica::SerializeConstruction(RakNet::BitStream* out, RakNet::Connection_RM3*) {
  const BoardElem* e = elem_;
  out->Write(owner_.idOf(e ? e->owner() : nullptr));
  out->Write(owner_.idOf(e ? e->board() : nullptr));
  out->Write(static_cast<int32_t>(e ? e->x() : 0));
  out->Write(static_cast<int32_t>(e ? e->y() : 0));
  out->Write(e && e->isUnderground());
  out->Write(e && e->isInPlay());
}

bool BoardElemReplica::DeserializeConstruction(RakNet::BitStream* in, RakNet::Connection_RM3*) {
  RakNet::NetworkID ownerId, boardId;
  int32_t x = 0, y = 0;
  bool underground = false, inPlay = false;
  if (!in->Read(ownerId) || !in->Read(boardId) || !in->Read(x) || !in->Read(y) || !in->Read(underground) ||
      !in->Read(inPlay)) {
    LOGOG_WARN("refused an element construction: short");
    return false;
  }
  if (!Board::isOnBoard(x, y)) {
    LOGOG_WARN("refused an element construction at (%d, %d): off the board", x, y);
    return false;
  }
  Board* board = owner_.boardById(boardId);
  if (board && board->cellAt(x, y)) {
    LOGOG_WARN("refused an element construction at (%d, %d): the cell is taken", x, y);
    return false;
  }
  elem_->setUnderground(underground);
  elem_->setInPlay(inPlay);
  // Without its board the element waits here, owned by this replica; the board's
  // owner is the element's owner.
  if (board && unplaced_) board->placeElem(std::move(unplaced_), x, y);
  return true;
}

bool BoardElemReplica::applyHeldBackCards(bool choiceEnds) {
  if (!heldBack_ || !elem_) {
    heldBack_.reset();
    return true;
  }
  const Player* owner = elem_->owner();
  if (!choiceEnds && owner && owner->isChoosingSpell()) return false;
  elem_->setStoredCards(std::move(*heldBack_));
  heldBack_.reset();
  elem_->refresh();
  return true;
}

RakNet::RM3SerializationResult BoardElemReplica::Serialize(RakNet::SerializeParameters* sp) {
  if (!elem_) return RakNet::RM3SR_DO_NOT_SERIALIZE;
  const BoardElem& e = *elem_;
  RakNet::BitStream& out = sp->outputBitstream[0];
  out.Write(e.isDamaged());
  out.Write(e.isHardened());
  out.Write(e.hasLevitron());
  out.Write(e.hasDoors());
  uint32_t waterBits;
  const float water = e.waterLevel();
  std::memcpy(&waterBits, &water, sizeof waterBits);
  out.Write(waterBits);
  out.Write(e.isBurning());
  out.Write(e.hasFence());
  out.Write(e.isRevealed());
  out.Write(e.isDeratized());
  out.Write(static_cast<int32_t>(e.room()));
  out.Write(static_cast<int32_t>(e.roomPower()));
  GameReplicas::writeIntPairVector(out, e.storedCards());
  out.Write(static_cast<int32_t>(e.kind()));
  return RakNet::RM3SR_SERIALIZED_UNIQUELY;
}

void BoardElemReplica::Deserialize(RakNet::DeserializeParameters* dp) {
  if (!elem_) return;
  BoardElem& e = *elem_;
  ElemUpdate u;
  if (!u.read(dp->serializationBitstream[0])) {
    LOGOG_WARN("refused an element update at (%d, %d): it does not match its format", e.x(), e.y());
    return;
  }
  if (const char* bad = u.invalid()) {
    LOGOG_WARN("refused an element update at (%d, %d): %s out of range", e.x(), e.y(), bad);
    return;
  }
  // The kind first: a new kind resets the room and the stored cards (and an empty
  // one every flag), which must not wipe what this same update brings.
  if (static_cast<ElemKind>(u.kind) != e.kind()) e.setKind(static_cast<ElemKind>(u.kind));
  e.setDamaged(u.damaged);
  e.setHardened(u.hardened);
  e.setLevitron(u.levitron);
  e.setDoors(u.doors);
  e.setFence(u.fence);
  e.setRevealed(u.revealed);
  e.setDeratized(u.deratized);
  e.setWaterLevel(u.water);
  e.setRoom(static_cast<RoomType>(u.room));
  e.setRoomPower(u.roomPower);
  // While its owner chooses a spell, the element keeps the cards offered from it;
  // the new list waits until the choice is over rather than being lost.
  heldBack_ = std::move(u.stored);
  if (!applyHeldBackCards()) owner_.holdBack(this);
  if (u.burning != e.isBurning())
    e.setBurning(u.burning);  // moves the board's count, which reports the fire level
  else if (Board* b = e.board())
    b->changeBurningCount(0);  // the fire level is reported all the same
  e.refresh();
}
