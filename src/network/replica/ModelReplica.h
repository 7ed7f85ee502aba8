// The base of the replicas of the game's objects ("Player", "Board", "BoardElem").
// Only the hosting side constructs and serializes them; the joining side accepts the
// host's constructions, while a match runs there and from the match's host only, and
// its updates, and checks every received value before it reaches the game.
//
// Every object has one owner: the game (GameSession) for its players and boards,
// a board for its elements. A replica only points at its object, except a copy
// (made from another machine's construction) that has not joined the game yet: a
// board without an owner, or an element without its board, stays with its replica.
#pragma once

#include "raknet/ReplicaManager3.h"

class GameReplicas;

// What the three replicas share: the server rules, and what becomes of the object.
class ModelReplica : public RakNet::Replica3 {
 public:
  // `remote`: made from another machine's construction (a copy of the host's object).
  ModelReplica(GameReplicas& owner, bool remote) : owner_(owner), remote_(remote) {}

  RakNet::RM3ConstructionState QueryConstruction(RakNet::Connection_RM3* destination,
                                                 RakNet::ReplicaManager3*) override;
  // Only a joining side in a running match takes constructions, and only from the
  // match's host (GameReplicas::acceptsConstructionFrom).
  bool QueryRemoteConstruction(RakNet::Connection_RM3* source) override;
  void SerializeDestruction(RakNet::BitStream*, RakNet::Connection_RM3*) override {}
  bool DeserializeDestruction(RakNet::BitStream*, RakNet::Connection_RM3*) override { return true; }
  RakNet::RM3ActionOnPopConnection QueryActionOnPopConnection(RakNet::Connection_RM3* dropped) const override;
  RakNet::RM3QuerySerializationResult QuerySerialization(RakNet::Connection_RM3* destination) override;
  // Lets the object go (release) and frees the replica itself.
  void DeallocReplica(RakNet::Connection_RM3*) override;

  bool remote() const { return remote_; }
  // The network takes the object away: nothing may point at it any more, and it is
  // freed by its owner (the game, its board, or this replica). The replica stays (empty).
  virtual void release() = 0;
  // The owner frees the object itself: let go of it without touching the game.
  virtual void forget() = 0;

 protected:
  bool server() const;

  GameReplicas& owner_;
  bool remote_;
};
