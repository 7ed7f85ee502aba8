// The replica of a board element, under the name "BoardElem".
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "ModelReplica.h"

class BoardElem;

class BoardElemReplica : public ModelReplica {
 public:
  // The replica of an element of this machine's game (hosting side).
  BoardElemReplica(GameReplicas& owner, BoardElem& elem);
  // A copy of the host's element: it waits here until its construction puts it
  // into its board, which then holds it.
  BoardElemReplica(GameReplicas& owner, std::unique_ptr<BoardElem> copy);
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
  // the owner has done choosing (or, with `choiceEnds`, is leaving the choice's
  // state); true once nothing is held back any more.
  bool applyHeldBackCards(bool choiceEnds = false);

 private:
  BoardElem* elem_;
  std::unique_ptr<BoardElem> unplaced_;
  std::optional<std::vector<std::pair<int32_t, int32_t>>> heldBack_;
};
