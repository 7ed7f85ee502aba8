#include "ReplicaManager3_custom.h"

#include <memory>

#include "Board.h"
#include "BoardElem.h"
#include "BoardElemReplica.h"
#include "BoardReplica.h"
#include "GameContext.h"
#include "GameReplicas.h"
#include "PlayerReplica.h"
#include "player/Player.h"
#include "raknet/RakString.h"

RakNet::Replica3* Connection_RM3_custom::AllocReplica(RakNet::BitStream* allocationId, RakNet::ReplicaManager3*) {
  RakNet::RakString type;
  if (!allocationId || !allocationId->Read(type)) return nullptr;
  GameContext& context = replicas_.context();
  if (type == "Player") return new PlayerReplica(replicas_, std::make_unique<Player>(context));
  if (type == "BoardElem") return new BoardElemReplica(replicas_, std::make_unique<BoardElem>());
  if (type == "Board") return new BoardReplica(replicas_, std::make_unique<Board>(context));
  return nullptr;
}

ReplicaManager3_custom::~ReplicaManager3_custom() { Clear(); }

RakNet::Connection_RM3* ReplicaManager3_custom::AllocConnection(const RakNet::SystemAddress& address,
                                                               RakNet::RakNetGUID guid) const {
  return new Connection_RM3_custom(address, guid, replicas_);
}

void ReplicaManager3_custom::DeallocConnection(RakNet::Connection_RM3* connection) const { delete connection; }

void ReplicaManager3_custom::Update() {
  replicas_.sendDestructions();
  ReplicaManager3::Update();
  replicas_.applyHeldBackCards();
}
