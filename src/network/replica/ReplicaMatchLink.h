// A match link whose replica calls go to the game's replication. Hosting is a
// plain flag here; a network object that knows the match sets it (or derives and
// answers isServer itself) and sends the messages.
#pragma once

#include "GameReplicas.h"
#include "ports/MatchLink.h"

class ReplicaMatchLink : public MatchLink {
 public:
  explicit ReplicaMatchLink(GameReplicas& replicas) : replicas_(replicas) {}

  bool hosting = false;

  bool isServer() const override { return hosting; }
  void referenceReplica(Player& p) override { replicas_.referenceReplica(p); }
  void referenceReplica(Board& b) override { replicas_.referenceReplica(b); }
  void referenceReplica(BoardElem& e) override { replicas_.referenceReplica(e); }
  void destroyReplica(Player& p) override { replicas_.destroyReplica(p); }
  void destroyReplica(Board& b) override { replicas_.destroyReplica(b); }
  void destroyReplica(BoardElem& e) override { replicas_.destroyReplica(e); }
  void updateReplicas() override { replicas_.updateReplicas(); }
  void takeHeldBackCards(Player& p) override { replicas_.applyHeldBackCardsOf(p); }

 private:
  GameReplicas& replicas_;
};
