// The base of the replicas of the game's objects ("Player", "Board", "BoardElem").
// Only the hosting side constructs and serializes them; the joining side accepts the
// host's constructions and updates, and checks every received value before it
// reaches the game.
#pragma once

#include "raknet/ReplicaManager3.h"

class GameReplicas;

// What the three replicas share: the server rules, and what becomes of the object.
class ModelReplica : public RakNet::Replica3 {
 public:
  // `owned`: made from a remote construction; the replica frees its object.
  ModelReplica(GameReplicas& owner, bool owned) : owner_(owner), owned_(owned) {}

  RakNet::RM3ConstructionState QueryConstruction(RakNet::Connection_RM3* destination,
                                                 RakNet::ReplicaManager3*) override;
  // The host accepts no remote construction.
  bool QueryRemoteConstruction(RakNet::Connection_RM3* source) override;
  void SerializeDestruction(RakNet::BitStream*, RakNet::Connection_RM3*) override {}
  bool DeserializeDestruction(RakNet::BitStream*, RakNet::Connection_RM3*) override { return true; }
  RakNet::RM3ActionOnPopConnection QueryActionOnPopConnection(RakNet::Connection_RM3* dropped) const override;
  RakNet::RM3QuerySerializationResult QuerySerialization(RakNet::Connection_RM3* destination) override;
  // Detaches the object from the game, frees it if owned, and the replica itself.
  void DeallocReplica(RakNet::Connection_RM3*) override;

  bool owned() const { return owned_; }
  // The network takes the object away: detach it from whatever points at it, free it
  // if owned. The replica stays (empty).
  virtual void release() = 0;
  // The game frees the object itself: let go of it without touching the game.
  virtual void forget() = 0;

 protected:
  bool server() const;

  GameReplicas& owner_;
  bool owned_;
};
