// The game's replica manager and its connections: a connection turns the type
// names "Player", "BoardElem" and "Board" into new replicas of the game's objects.
#pragma once

#include "raknet/ReplicaManager3.h"

class GameReplicas;

class Connection_RM3_custom : public RakNet::Connection_RM3 {
 public:
  Connection_RM3_custom(const RakNet::SystemAddress& address, RakNet::RakNetGUID guid, GameReplicas& replicas)
      : Connection_RM3(address, guid), replicas_(replicas) {}
  ~Connection_RM3_custom() override = default;

  // Reads the type name and makes a fresh object with its replica; any other name
  // (letter case counts) gives null and the construction is dropped.
  RakNet::Replica3* AllocReplica(RakNet::BitStream* allocationId, RakNet::ReplicaManager3*) override;

 private:
  GameReplicas& replicas_;
};

class ReplicaManager3_custom : public RakNet::ReplicaManager3 {
 public:
  explicit ReplicaManager3_custom(GameReplicas& replicas) : replicas_(replicas) {}
  ~ReplicaManager3_custom() override;

  RakNet::Connection_RM3* AllocConnection(const RakNet::SystemAddress& address,
                                          RakNet::RakNetGUID guid) const override;
  void DeallocConnection(RakNet::Connection_RM3* connection) const override;
  // The plug-in's own update, then held-back stored cards whose owners are done choosing.
  void Update() override;

 private:
  GameReplicas& replicas_;
};
