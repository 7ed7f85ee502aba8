// "Board" on the wire: the construction carries the u64 NetworkID of the owning
// player; there is no state.
#include "BoardReplica.h"

#include "Board.h"
#include "BoardElem.h"
#include "GameReplicas.h"
#include "logog/logog.hpp"
#include "player/Player.h"
#include "raknet/RakString.h"

BoardReplica::BoardReplica(GameReplicas& owner, Board* board, bool owned)
    : ModelReplica(owner, owned), board_(board) {
  owner_.add(this);
}

BoardReplica::~BoardReplica() {
  if (board_) owner_.remove(this);
}

void BoardReplica::release() {
  if (!board_) return;
  owner_.remove(this);
  Board* b = board_;
  board_ = nullptr;
  // Its elements go with it: nothing may keep pointing at them.
  std::vector<const BoardElem*> elems;
  b->forEachElem([&](const BoardElem& e) { elems.push_back(&e); });
  owner_.forgetElems(elems);
  owner_.forgetElemsOf(b);
  if (Player* o = b->owner(); o && o->board() == b) o->setBoard(nullptr);
  if (owned_) delete b;
}

void BoardReplica::forget() {
  if (!board_) return;
  owner_.remove(this);
  owner_.forgetElemsOf(board_);
  board_ = nullptr;
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
  // An unknown owner leaves the board without one.
  Player* player = owner_.playerById(ownerId);
  board_->setOwner(player);
  if (player) {
    player->setBoard(board_);
    board_->setOwnerName(player->displayName());
  }
  return true;
}

RakNet::RM3SerializationResult BoardReplica::Serialize(RakNet::SerializeParameters*) {
  return RakNet::RM3SR_SERIALIZED_UNIQUELY;  // nothing written: nothing sent
}
