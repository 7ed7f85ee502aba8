// The replicas of the game's objects, replicated under the names "Player", "Board"
// and "BoardElem". Only the hosting side constructs and serializes them; the joining
// side accepts the host's constructions and updates, and checks every received value
// before it reaches the game.
#pragma once

#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "raknet/ReplicaManager3.h"

class Board;
class BoardElem;
class GameReplicas;
class Player;

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

class PlayerReplica : public ModelReplica {
 public:
  PlayerReplica(GameReplicas& owner, Player* player, bool owned);
  ~PlayerReplica() override;
  Player* player() const { return player_; }

  void WriteAllocationID(RakNet::Connection_RM3*, RakNet::BitStream* out) const override;
  void SerializeConstruction(RakNet::BitStream* out, RakNet::Connection_RM3*) override;
  bool DeserializeConstruction(RakNet::BitStream* in, RakNet::Connection_RM3*) override;
  RakNet::RM3SerializationResult Serialize(RakNet::SerializeParameters* sp) override;
  void Deserialize(RakNet::DeserializeParameters* dp) override;
  void release() override;
  void forget() override;

 private:
  Player* player_;
};

class BoardReplica : public ModelReplica {
 public:
  BoardReplica(GameReplicas& owner, Board* board, bool owned);
  ~BoardReplica() override;
  Board* board() const { return board_; }

  void WriteAllocationID(RakNet::Connection_RM3*, RakNet::BitStream* out) const override;
  void SerializeConstruction(RakNet::BitStream* out, RakNet::Connection_RM3*) override;
  bool DeserializeConstruction(RakNet::BitStream* in, RakNet::Connection_RM3*) override;
  RakNet::RM3SerializationResult Serialize(RakNet::SerializeParameters*) override;
  void Deserialize(RakNet::DeserializeParameters*) override {}
  void release() override;
  void forget() override;

 private:
  Board* board_;
};

class BoardElemReplica : public ModelReplica {
 public:
  // An owned element waits in the replica until its construction puts it into its
  // board, which then holds it.
  BoardElemReplica(GameReplicas& owner, BoardElem* elem, bool owned);
  ~BoardElemReplica() override;
  BoardElem* elem() const { return elem_; }

  void WriteAllocationID(RakNet::Connection_RM3*, RakNet::BitStream* out) const override;
  void SerializeConstruction(RakNet::BitStream* out, RakNet::Connection_RM3*) override;
  bool DeserializeConstruction(RakNet::BitStream* in, RakNet::Connection_RM3*) override;
  RakNet::RM3SerializationResult Serialize(RakNet::SerializeParameters* sp) override;
  void Deserialize(RakNet::DeserializeParameters* dp) override;
  void release() override;
  void forget() override;
  // A stored-card list that arrived while the owner chose a spell is held back until
  // the owner has done choosing; true once nothing is held back any more.
  bool applyHeldBackCards();

 private:
  BoardElem* elem_;
  std::unique_ptr<BoardElem> unplaced_;
  std::optional<std::vector<std::pair<int32_t, int32_t>>> heldBack_;
};
