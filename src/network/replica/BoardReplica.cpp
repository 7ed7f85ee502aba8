// "Board" on the wire: the construction carries the u64 NetworkID of the owning
// player; there is no state.
#include "BoardReplica.h"

#include "Board.h"
#include "BoardElem.h"
#include "GameContext.h"
#include "GameReplicas.h"
#include "game/GameSession.h"
#include "logog/logog.hpp"
#include "player/Player.h"
#include "raknet/RakString.h"

BoardReplica::BoardReplica(GameReplicas& owner, Board& board) : ModelReplica(owner, false), board_(&board) {
  SetReportsChanges(true);
  owner_.add(this);
}

BoardReplica::BoardReplica(GameReplicas& owner, std::unique_ptr<Board> copy)
    : ModelReplica(owner, true), board_(copy.get()), unadopted_(std::move(copy)) {
  SetReportsChanges(true);
  owner_.add(this);
}

BoardReplica::~BoardReplica() {
  if (board_) owner_.remove(this);
}

void BoardReplica::release() {
  if (!board_) return;
  if (!remote_) {
    forget();  // the game frees its own boards
    return;
  }
  owner_.remove(this);
  Board* b = board_;
  board_ = nullptr;
  owner_.releaseBoard(*b, std::move(unadopted_));
}

void BoardReplica::forget() {
  if (!board_) return;
  owner_.remove(this);
  owner_.forgetElemsOf(board_);
  board_ = nullptr;
  unadopted_.reset();
}

void BoardReplica::WriteAllocationID(RakNet::Connection_RM3*, RakNet::BitStream* out) const {
  out->Write(RakNet::RakString("Board"));
}

void BoardReplica::SerializeConstruction(RakNet::BitStream* out, RakNet::Connection_RM3*) {
  out->Write(owner_.idOf(board_ ? board_->owner() : nullptr));
}

bool BoardReplica::DeserializeConstruction(RakNet::BitStream* in, RakNet::Connection_RM3*) {
  RakNet::NetworkID ownerId;
  if (!in->Read(ownerId)) {
    LOGOG_WARN("refused a board construction: short");
    return false;
  }
  if (!unadopted_) {
    LOGOG_WARN("refused a board construction: the board is constructed already");
    return false;
  }
  // An unknown owner leaves the board without one, here.
  Player* player = owner_.playerById(ownerId);
  if (!player) return true;
  if (!owner_.context().game().adoptBoard(std::move(unadopted_), *player)) {
    owner_.remove(this);
    board_ = nullptr;
    return false;
  }
  return true;
}

RakNet::RM3SerializationResult BoardReplica::Serialize(RakNet::SerializeParameters*) {
  return RakNet::RM3SR_SERIALIZED_UNIQUELY;  // nothing written: nothing sent
}
