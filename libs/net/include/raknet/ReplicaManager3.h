// Replication of objects between connected systems. A replica referenced on one
// system is constructed on the others (by a type name that the receiving
// connection turns into a new object), its state travels when it changed, and its
// destruction is broadcast. Each replica decides through its rules who constructs
// it, who serializes it, whether a remote construction is welcome and what happens
// to it when the system that created it goes away.
//
// The plug-in sends its messages with the manager's default send parameters
// (HIGH_PRIORITY, RELIABLE_ORDERED, channel 0 unless changed). In one update pass
// every connection first gets the constructions of that pass, in the order the
// replicas were referenced, then the changed state; so on an ordered channel a
// replica is always constructed before its first update arrives.
//
// A replica may promise to report every change of its state (SetReportsChanges,
// MarkChanged): a pass then serializes it only when it reported one, or is new on
// a connection, instead of serializing every replica to find the few that changed.
// What is sent stays the same as long as the promise is kept.
//
// A replica received from a connection counts as created by that connection, also
// when the connection only relays another system's objects. A connection may update
// or destroy only the replicas it created; anything else it sends about a replica
// is refused with a log line.
//
// One world (0) is supported.
#pragma once

#include <cstdint>
#include <list>
#include <map>
#include <unordered_map>
#include <utility>
#include <vector>

#include "raknet/BitStream.h"
#include "raknet/MessageIdentifiers.h"
#include "raknet/NetworkIDManager.h"
#include "raknet/PacketPriority.h"
#include "raknet/PluginInterface2.h"
#include "raknet/RakNetTypes.h"

namespace RakNet {

using Time = std::uint64_t;
using WorldId = unsigned char;

class Connection_RM3;
class Replica3;
class ReplicaManager3;

// Serialize() writes to one bit stream.
constexpr int RM3_NUM_OUTPUT_BITSTREAM_CHANNELS = 1;

// What QueryConstruction() wants for a system that does not have the replica yet.
enum RM3ConstructionState {
  RM3CS_SEND_CONSTRUCTION,  // construct it there now
  RM3CS_NEVER_CONSTRUCT,    // never construct it there (not asked again)
  RM3CS_NO_ACTION,          // not now; ask again next pass
};

// What Serialize() did.
enum RM3SerializationResult {
  RM3SR_BROADCAST_IDENTICALLY,  // the same for every connection; sent when it changed
  RM3SR_SERIALIZED_UNIQUELY,    // per connection; sent when it differs from that connection's last
  RM3SR_SERIALIZED_ALWAYS,      // sent whether it changed or not
  RM3SR_DO_NOT_SERIALIZE,       // nothing this pass
  RM3SR_NEVER_SERIALIZE_FOR_THIS_CONNECTION,
};

// Whether Serialize() is called at all for a connection.
enum RM3QuerySerializationResult {
  RM3QSR_CALL_SERIALIZE,
  RM3QSR_DO_NOT_CALL_SERIALIZE,  // not this pass
  RM3QSR_NEVER_CALL_SERIALIZE,   // never for this connection
};

// What becomes of a replica when the system that created it drops.
enum RM3ActionOnPopConnection {
  RM3AOPC_DO_NOTHING,
  RM3AOPC_DELETE_REPLICA,
  RM3AOPC_DELETE_REPLICA_AND_BROADCAST_DESTRUCTION,  // tell the remaining systems too
};

struct SerializeParameters {
  // Where Serialize() writes the replica's state.
  BitStream outputBitstream[RM3_NUM_OUTPUT_BITSTREAM_CHANNELS];
  // What the destination connection received last (empty before the first send).
  const BitStream* lastSentBitstream[RM3_NUM_OUTPUT_BITSTREAM_CHANNELS] = {};
  Connection_RM3* destinationConnection = nullptr;
  Time curTime = 0;
};

struct DeserializeParameters {
  BitStream serializationBitstream[RM3_NUM_OUTPUT_BITSTREAM_CHANNELS];
  bool bitstreamWrittenTo[RM3_NUM_OUTPUT_BITSTREAM_CHANNELS] = {};
  Connection_RM3* sourceConnection = nullptr;
};

// Base of every replicated object. Deleting a referenced replica dereferences it;
// call BroadcastDestruction() first for the other systems to delete their copies.
class Replica3 : public NetworkIDObject {
 public:
  Replica3() = default;
  ~Replica3() override;

  // The type name (or other id) that the receiving connection's AllocReplica reads.
  virtual void WriteAllocationID(Connection_RM3* destinationConnection,
                                 BitStream* allocationIdBitstream) const = 0;
  virtual RM3ConstructionState QueryConstruction(Connection_RM3* destinationConnection,
                                                 ReplicaManager3* replicaManager3) = 0;
  // Asked of a freshly allocated replica before DeserializeConstruction; false
  // deletes it again (DeallocReplica).
  virtual bool QueryRemoteConstruction(Connection_RM3* sourceConnection) = 0;
  // A destruction received from the creator is passed on to the other systems.
  virtual bool QueryRelayDestruction(Connection_RM3* sourceConnection) const {
    (void)sourceConnection;
    return true;
  }
  virtual void SerializeConstruction(BitStream* constructionBitstream,
                                     Connection_RM3* destinationConnection) = 0;
  // False refuses the construction; the replica is then deleted (DeallocReplica).
  virtual bool DeserializeConstruction(BitStream* constructionBitstream,
                                       Connection_RM3* sourceConnection) = 0;
  virtual void SerializeDestruction(BitStream* destructionBitstream,
                                    Connection_RM3* destinationConnection) = 0;
  // True deletes the replica (DeallocReplica); false keeps it, dereferenced.
  virtual bool DeserializeDestruction(BitStream* destructionBitstream,
                                      Connection_RM3* sourceConnection) = 0;
  virtual RM3ActionOnPopConnection QueryActionOnPopConnection(Connection_RM3* droppedConnection) const = 0;
  // Told to every replica when any connection drops.
  virtual void OnPoppedConnection(Connection_RM3* droppedConnection) { (void)droppedConnection; }
  // Deletes the object (the replica is dereferenced already). sourceConnection is
  // null when no connection caused it.
  virtual void DeallocReplica(Connection_RM3* sourceConnection) = 0;
  virtual RM3QuerySerializationResult QuerySerialization(Connection_RM3* destinationConnection) = 0;
  virtual RM3SerializationResult Serialize(SerializeParameters* serializeParameters) = 0;
  virtual void Deserialize(DeserializeParameters* deserializeParameters) = 0;

  // ---- Rules of a client/server topology ------------------------------------
  // Only the server constructs: send when this is the server, never otherwise.
  RM3ConstructionState QueryConstruction_ServerConstruction(Connection_RM3* destinationConnection,
                                                            bool isThisTheServer);
  // Only the server constructs: a client accepts remote constructions, the server none.
  bool QueryRemoteConstruction_ServerConstruction(Connection_RM3* sourceConnection,
                                                  bool isThisTheServer);
  // Only the server serializes: call Serialize() when this is the server, never otherwise.
  RM3QuerySerializationResult QuerySerialization_ServerSerializable(Connection_RM3* destinationConnection,
                                                                    bool isThisTheServer);
  // A client that loses the server deletes the server's objects.
  RM3ActionOnPopConnection QueryActionOnPopConnection_Client(Connection_RM3* droppedConnection) const;
  // A server that loses a client deletes that client's objects and tells the others.
  RM3ActionOnPopConnection QueryActionOnPopConnection_Server(Connection_RM3* droppedConnection) const;

  // Sends the destruction to every system that has the replica.
  virtual void BroadcastDestruction();
  RakNetGUID GetCreatingSystemGUID() const { return creatingSystemGUID; }
  bool WasReferenced() const { return replicaManager != nullptr; }

  // ---- Change reports ------------------------------------------------------------
  // With reports on, the replica promises to call MarkChanged after every change of
  // what its QuerySerialization and Serialize answer; a pass then serializes it only
  // after a report, on a connection where it is new, and again after an answer that
  // asks for it (RM3QSR_DO_NOT_CALL_SERIALIZE, RM3SR_DO_NOT_SERIALIZE,
  // RM3SR_SERIALIZED_ALWAYS). Off (the default): serialized in every pass.
  void SetReportsChanges(bool reports);
  bool ReportsChanges() const { return reportsChanges_; }
  // The state changed: the next pass serializes the replica for every connection
  // (a change reported during a pass, by the pass after it).
  void MarkChanged();

  // The system that referenced the object first: this system's GUID for a local
  // replica, the sending connection's for a received one.
  RakNetGUID creatingSystemGUID;
  // The system whose destruction message deleted the replica.
  RakNetGUID deletingSystemGUID;
  ReplicaManager3* replicaManager = nullptr;

 private:
  friend class ReplicaManager3;
  bool reportsChanges_ = false;
  bool changeMarked_ = false;  // in the manager's list of changes
  // Place in the manager's reference order (0: not referenced).
  std::uint64_t referenceOrder_ = 0;
};

// One remote system as the replica manager sees it: which replicas it has and
// what it received of each. The application's subclass makes replicas by type.
class Connection_RM3 {
 public:
  Connection_RM3(const SystemAddress& systemAddress, RakNetGUID guid);
  virtual ~Connection_RM3() = default;
  Connection_RM3(const Connection_RM3&) = delete;
  Connection_RM3& operator=(const Connection_RM3&) = delete;

  // A new, unreferenced replica for the id written by WriteAllocationID, or null
  // for an id it does not know (the construction is then dropped).
  virtual Replica3* AllocReplica(BitStream* allocationIdBitstream, ReplicaManager3* replicaManager3) = 0;

  const SystemAddress& GetSystemAddress() const { return systemAddress_; }
  RakNetGUID GetRakNetGUID() const { return guid_; }
  // The replica exists on this system (constructed there, or received from it).
  bool HasReplicaConstructed(const Replica3* replica) const;
  // Those replicas, in reference order.
  void GetConstructedReplicas(std::vector<Replica3*>& out) const;

 private:
  friend class ReplicaManager3;
  // A replica with its place in the reference order; stale once the replica is
  // dereferenced (its place changes or it is gone).
  using Ordered = std::pair<std::uint64_t, Replica3*>;
  struct Slot {
    bool constructed = false;
    bool neverConstruct = false;
    bool neverSerialize = false;
    bool sentState = false;  // lastSent holds what the system has
    BitStream lastSent;
  };
  Slot& slot(Replica3* replica) { return slots_[replica]; }

  SystemAddress systemAddress_;
  RakNetGUID guid_;
  const ReplicaManager3* manager_ = nullptr;
  std::unordered_map<const Replica3*, Slot> slots_;
  // Referenced replicas neither constructed here nor refused for good, by order.
  std::map<std::uint64_t, Replica3*> unconstructed_;
  // Replicas the next pass serializes here whether they report a change or not:
  // new here, or asked for again by their last answer.
  std::vector<Ordered> serializeNext_;
};

class ReplicaManager3 : public PluginInterface2 {
 public:
  // Messages are cut at about this size, so a relay never sees a huge one.
  static constexpr unsigned kMaxMessageBytes = 16 * 1024;

  ReplicaManager3() = default;
  // Connections are freed (DeallocConnection must not be called from a base
  // destructor, so a subclass frees them in its own: call Clear()). Replicas are
  // dereferenced, not deleted.
  ~ReplicaManager3() override;

  virtual Connection_RM3* AllocConnection(const SystemAddress& systemAddress, RakNetGUID rakNetGUID) const = 0;
  virtual void DeallocConnection(Connection_RM3* connection) const = 0;

  // With autoCreate every new connection of the peer gets a Connection_RM3; with
  // autoDestroy a closed one is popped (its replicas by their rule) and freed.
  void SetAutoManageConnections(bool autoCreate, bool autoDestroy);
  // False when a connection for that GUID exists already (the new one is not taken).
  bool PushConnection(Connection_RM3* newConnection, WorldId worldId = 0);
  // Removes the connection, deletes the replicas it created as they ask
  // (QueryActionOnPopConnection), tells every replica, and hands the connection back
  // for the caller to free. Null when there is none.
  Connection_RM3* PopConnection(RakNetGUID guid, WorldId worldId = 0);
  // Pops and frees every connection and dereferences every replica.
  void Clear();

  // Replicates a local object. The replica gets this manager's network-id manager
  // and an id; constructions go out on the next update pass.
  void Reference(Replica3* replica3, WorldId worldId = 0);
  // Stops replicating the object (it is neither deleted nor destroyed remotely).
  void Dereference(Replica3* replica3, WorldId worldId = 0);
  // Sends the destruction to every connection that has the replica but the one at
  // exclusionAddress (UNASSIGNED_SYSTEM_ADDRESS: none excluded).
  void BroadcastDestruction(Replica3* replica, const SystemAddress& exclusionAddress);
  // The same for several replicas, in list order, in as few messages as may be.
  void BroadcastDestructionList(const std::vector<Replica3*>& replicas, const SystemAddress& exclusionAddress);

  void SetNetworkIDManager(NetworkIDManager* manager, WorldId worldId = 0);
  NetworkIDManager* GetNetworkIDManager(WorldId worldId = 0) const;

  unsigned GetReplicaCount(WorldId worldId = 0) const;
  bool IsReferenced(const Replica3* replica) const { return index_.count(replica) != 0; }
  // Referenced replicas in reference order.
  void GetReferencedReplicaList(std::vector<Replica3*>& out, WorldId worldId = 0) const;
  void GetReplicasCreatedByGuid(RakNetGUID guid, std::vector<Replica3*>& out, WorldId worldId = 0) const;
  unsigned GetConnectionCount(WorldId worldId = 0) const;
  Connection_RM3* GetConnectionAtIndex(unsigned index, WorldId worldId = 0) const;
  Connection_RM3* GetConnectionByGUID(RakNetGUID guid, WorldId worldId = 0) const;

  void SetDefaultOrderingChannel(char channel) { orderingChannel_ = channel; }
  void SetDefaultPacketPriority(PacketPriority priority) { priority_ = priority; }
  void SetDefaultPacketReliability(PacketReliability reliability) { reliability_ = reliability; }
  // How often the plug-in's own update runs a pass (default 30 ms; 0: every Update).
  void SetAutoSerializeInterval(Time intervalMS) { autoSerializeIntervalMs_ = intervalMS; }

  // A referenced replica reports a change (Replica3::MarkChanged).
  void MarkChanged(Replica3* replica);

  // One update pass now, whatever the interval: constructions, then changed state.
  void UpdateNow();

  // ---- PluginInterface2 ---------------------------------------------------------
  void Update() override;
  PluginReceiveResult OnReceive(Packet* packet) override;
  void OnNewConnection(const SystemAddress& systemAddress, RakNetGUID guid, bool isIncoming) override;
  void OnClosedConnection(const SystemAddress& systemAddress, RakNetGUID guid,
                          PI2_LostConnectionReason reason) override;
  void OnRakPeerShutdown() override;
  void OnDetach() override;

 private:
  friend class Replica3;
  class Batch;

  bool worldOk(WorldId worldId, const char* what) const;
  RakNetGUID myGuid() const;
  using Ordered = Connection_RM3::Ordered;
  void send(const BitStream& message, const Connection_RM3& to);
  void pass(Connection_RM3& connection, const std::vector<Ordered>& changed);
  void constructions(Connection_RM3& connection);
  void serializations(Connection_RM3& connection, const std::vector<Ordered>& changed);
  // Bookkeeping of a replica that joins or leaves the referenced ones.
  void track(Replica3* replica, const Connection_RM3* constructedOn);
  void untrack(Replica3* replica);
  // Every replica dereferenced at once (no connection left).
  void forgetReplicas();
  // Its slot on the connection no longer holds a construction.
  void unconstruct(Connection_RM3& connection, Replica3* replica);
  bool current(const Ordered& entry) const {
    return IsReferenced(entry.second) && entry.second->referenceOrder_ == entry.first;
  }
  void receiveConstruction(Connection_RM3& from, BitStream& in);
  void receiveSerialization(Connection_RM3& from, BitStream& in);
  void construct(Connection_RM3& from, NetworkID id, BitStream& allocation, BitStream& construction);
  void destroy(Connection_RM3& from, NetworkID id, BitStream& destruction);
  Replica3* referencedById(NetworkID id) const;
  void popAll();

  NetworkIDManager* networkIdManager_ = nullptr;
  std::list<Replica3*> replicas_;  // reference order
  std::unordered_map<const Replica3*, std::list<Replica3*>::iterator> index_;
  std::uint64_t nextOrder_ = 1;
  // Reported changes since the last pass, and the replicas that report none.
  std::vector<Ordered> changed_;
  std::map<std::uint64_t, Replica3*> everyPass_;
  std::vector<Connection_RM3*> connections_;
  bool autoCreate_ = true;
  bool autoDestroy_ = true;
  char orderingChannel_ = 0;
  PacketPriority priority_ = HIGH_PRIORITY;
  PacketReliability reliability_ = RELIABLE_ORDERED;
  Time autoSerializeIntervalMs_ = 30;
  Time lastPassMs_ = 0;
  bool passed_ = false;
};

}  // namespace RakNet
