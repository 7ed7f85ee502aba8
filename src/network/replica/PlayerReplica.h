// The replica of a player, under the name "Player".
#pragma once

#include "ModelReplica.h"

class Player;

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
