// The replica manager's receiving side: construction, serialization and destruction
// messages from one connection, with a replica type that reads a number at construction
// and on each update. The input is a series of packets, each a length byte and its bytes.
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "raknet/BitStream.h"
#include "raknet/MessageIdentifiers.h"
#include "raknet/NetworkIDManager.h"
#include "raknet/RakString.h"
#include "raknet/ReplicaManager3.h"

using namespace RakNet;

namespace {

class Thing : public Replica3 {
 public:
  void WriteAllocationID(Connection_RM3*, BitStream* bs) const override { bs->Write(RakString("Thing")); }
  RM3ConstructionState QueryConstruction(Connection_RM3* c, ReplicaManager3*) override {
    return QueryConstruction_ServerConstruction(c, false);
  }
  bool QueryRemoteConstruction(Connection_RM3* c) override {
    return QueryRemoteConstruction_ServerConstruction(c, false);
  }
  void SerializeConstruction(BitStream* bs, Connection_RM3*) override { bs->Write(value); }
  bool DeserializeConstruction(BitStream* bs, Connection_RM3*) override { return bs->Read(value); }
  void SerializeDestruction(BitStream*, Connection_RM3*) override {}
  bool DeserializeDestruction(BitStream*, Connection_RM3*) override { return true; }
  RM3ActionOnPopConnection QueryActionOnPopConnection(Connection_RM3* c) const override {
    return QueryActionOnPopConnection_Client(c);
  }
  void DeallocReplica(Connection_RM3*) override { delete this; }
  RM3QuerySerializationResult QuerySerialization(Connection_RM3* c) override {
    return QuerySerialization_ServerSerializable(c, false);
  }
  RM3SerializationResult Serialize(SerializeParameters* sp) override {
    sp->outputBitstream[0].Write(value);
    return RM3SR_SERIALIZED_UNIQUELY;
  }
  void Deserialize(DeserializeParameters* dp) override { dp->serializationBitstream[0].Read(value); }

  int value = 0;
};

class Connection : public Connection_RM3 {
 public:
  using Connection_RM3::Connection_RM3;
  Replica3* AllocReplica(BitStream* allocation, ReplicaManager3*) override {
    RakString type;
    if (!allocation->Read(type) || type != RakString("Thing")) return nullptr;
    return new Thing();
  }
};

class Manager : public ReplicaManager3 {
 public:
  ~Manager() override { Clear(); }
  Connection_RM3* AllocConnection(const SystemAddress& address, RakNetGUID guid) const override {
    return new Connection(address, guid);
  }
  void DeallocConnection(Connection_RM3* connection) const override { delete connection; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  NetworkIDManager ids;
  std::vector<Replica3*> received;
  {
    Manager manager;
    manager.SetNetworkIDManager(&ids);
    RakNetGUID host(42);
    SystemAddress address;
    manager.PushConnection(manager.AllocConnection(address, host));
    mvfuzz::InputCursor cursor(data, size);
    while (!cursor.empty()) {
      std::string bytes = cursor.shortPiece();
      if (bytes.empty()) continue;
      Packet packet;
      packet.guid = host;
      packet.systemAddress = address;
      packet.data = reinterpret_cast<unsigned char*>(bytes.data());
      packet.length = static_cast<unsigned int>(bytes.size());
      packet.bitSize = packet.length * 8;
      packet.deleteData = false;
      manager.OnReceive(&packet);
    }
    // The connection goes: what it made is deleted as the replicas ask.
    if (Connection_RM3* gone = manager.PopConnection(host)) manager.DeallocConnection(gone);
  }
  return 0;
}
