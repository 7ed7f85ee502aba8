// The replica of a player, under the name "Player".
#pragma once

#include <memory>

#include "ModelReplica.h"

class Player;

class PlayerReplica : public ModelReplica {
 public:
  // The replica of a player of this machine's game (hosting side).
  PlayerReplica(GameReplicas& owner, Player& player);
  // A copy of the host's player: it waits here until its construction hands it
  // to the game, or goes with the replica when the construction is refused.
  PlayerReplica(GameReplicas& owner, std::unique_ptr<Player> copy);
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
  std::unique_ptr<Player> unadopted_;
};
