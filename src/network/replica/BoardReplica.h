// The replica of a board, under the name "Board".
#pragma once

#include "ModelReplica.h"

class Board;

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
