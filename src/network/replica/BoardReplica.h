// The replica of a board, under the name "Board".
#pragma once

#include <memory>

#include "ModelReplica.h"

class Board;

class BoardReplica : public ModelReplica {
 public:
  // The replica of a board of this machine's game (hosting side).
  BoardReplica(GameReplicas& owner, Board& board);
  // A copy of the host's board: it stays here until its construction hands it to
  // the game with its owner; a board without a known owner stays for good.
  BoardReplica(GameReplicas& owner, std::unique_ptr<Board> copy);
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
  std::unique_ptr<Board> unadopted_;
};
