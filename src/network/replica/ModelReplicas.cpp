// The replicas' rules, and what becomes of their objects. Their formats are in
// PlayerReplica.cpp and BoardReplicas.cpp.
#include "ModelReplicas.h"

#include "Board.h"
#include "BoardElem.h"
#include "GameReplicas.h"
#include "player/Player.h"

RakNet::RM3ConstructionState ModelReplica::QueryConstruction(RakNet::Connection_RM3* destination,
                                                             RakNet::ReplicaManager3*) {
  return QueryConstruction_ServerConstruction(destination, server());
}

bool ModelReplica::QueryRemoteConstruction(RakNet::Connection_RM3* source) {
  return QueryRemoteConstruction_ServerConstruction(source, server());
}

RakNet::RM3ActionOnPopConnection ModelReplica::QueryActionOnPopConnection(RakNet::Connection_RM3* dropped) const {
  return server() ? QueryActionOnPopConnection_Server(dropped) : QueryActionOnPopConnection_Client(dropped);
}

RakNet::RM3QuerySerializationResult ModelReplica::QuerySerialization(RakNet::Connection_RM3* destination) {
  return QuerySerialization_ServerSerializable(destination, server());
}

void ModelReplica::DeallocReplica(RakNet::Connection_RM3*) {
  release();
  delete this;
}

bool ModelReplica::server() const { return owner_.isServer(); }

// ---- Player --------------------------------------------------------------------------

PlayerReplica::PlayerReplica(GameReplicas& owner, Player* player, bool owned)
    : ModelReplica(owner, owned), player_(player) {
  owner_.add(this);
}

PlayerReplica::~PlayerReplica() {
  if (player_) owner_.remove(this);
}

void PlayerReplica::release() {
  if (!player_) return;
  owner_.remove(this);
  Player* p = player_;
  player_ = nullptr;
  owner_.detachFromGame(p);
  owner_.forgetPlayer(p);
  if (owned_) delete p;
}

void PlayerReplica::forget() {
  if (!player_) return;
  owner_.remove(this);
  Player* p = player_;
  player_ = nullptr;
  owner_.forgetPlayer(p);
}

// ---- Board -----------------------------------------------------------------------------

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

// ---- BoardElem ---------------------------------------------------------------------------

BoardElemReplica::BoardElemReplica(GameReplicas& owner, BoardElem* elem, bool owned)
    : ModelReplica(owner, owned), elem_(elem) {
  if (owned_) unplaced_.reset(elem);
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
  if (!owned_) return;
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
