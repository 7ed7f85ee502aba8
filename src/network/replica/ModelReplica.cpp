// The server rules the three replicas share.
#include "ModelReplica.h"

#include "GameReplicas.h"

RakNet::RM3ConstructionState ModelReplica::QueryConstruction(RakNet::Connection_RM3* destination,
                                                             RakNet::ReplicaManager3*) {
  return QueryConstruction_ServerConstruction(destination, server());
}

bool ModelReplica::QueryRemoteConstruction(RakNet::Connection_RM3* source) {
  return QueryRemoteConstruction_ServerConstruction(source, server()) && owner_.acceptsConstructionFrom(source);
}

RakNet::RM3ActionOnPopConnection ModelReplica::QueryActionOnPopConnection(RakNet::Connection_RM3* dropped) const {
  return server() ? QueryActionOnPopConnection_Server(dropped) : QueryActionOnPopConnection_Client(dropped);
}

RakNet::RM3QuerySerializationResult ModelReplica::QuerySerialization(RakNet::Connection_RM3* destination) {
  return QuerySerialization_ServerSerializable(destination, server());
}

void ModelReplica::DeallocReplica(RakNet::Connection_RM3*) {
  release();
  delete this;
}

bool ModelReplica::server() const { return owner_.isServer(); }
