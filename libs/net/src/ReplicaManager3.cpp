// The replica manager: references, update passes, the two message kinds and the
// connection bookkeeping.
//
// Wire format (all numbers big-endian, sub-streams as a u32 bit count and the bits):
//   ID_REPLICA_MANAGER_CONSTRUCTION: u32 n, n x {u64 NetworkID, allocation id,
//     construction data}, u32 m, m x {u64 NetworkID, destruction data}
//   ID_REPLICA_MANAGER_SERIALIZE: u32 n, n x {u64 NetworkID, state}
#include "raknet/ReplicaManager3.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "logog/logog.hpp"
#include "raknet/RakPeerInterface.h"

namespace RakNet {

namespace {

Time nowMs() {
  return static_cast<Time>(std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::steady_clock::now().time_since_epoch())
                               .count());
}

void writeSub(BitStream& out, BitStream& sub) {
  const BitSize_t bits = sub.GetNumberOfBitsUsed();
  out.Write(static_cast<std::uint32_t>(bits));
  sub.ResetReadPointer();
  out.Write(&sub, bits);
}

bool readSub(BitStream& in, BitStream& sub) {
  std::uint32_t bits = 0;
  if (!in.Read(bits) || bits > in.GetNumberOfUnreadBits()) return false;
  sub.Reset();
  sub.Write(&in, bits);
  return sub.GetNumberOfBitsUsed() == bits;
}

bool sameBits(const BitStream& a, const BitStream& b) {
  const BitSize_t bits = a.GetNumberOfBitsUsed();
  if (bits != b.GetNumberOfBitsUsed()) return false;
  const BitSize_t whole = bits / 8;
  if (whole && std::memcmp(a.GetData(), b.GetData(), whole) != 0) return false;
  const unsigned rest = bits & 7;
  if (!rest) return true;
  const unsigned char mask = static_cast<unsigned char>(0xFF << (8 - rest));
  return (a.GetData()[whole] & mask) == (b.GetData()[whole] & mask);
}

bool isReplicaMessage(unsigned char id) {
  return id >= ID_REPLICA_MANAGER_CONSTRUCTION && id <= ID_REPLICA_MANAGER_CONSTRUCTION_ACCEPTED;
}

}  // namespace

// ---- Batch: entries of one kind for one connection, cut into messages ----------

class ReplicaManager3::Batch {
 public:
  enum class Kind { Construction, Destruction, Serialization };

  Batch(ReplicaManager3& manager, const Connection_RM3& to, Kind kind)
      : manager_(manager), to_(to), kind_(kind) {}
  ~Batch() { flush(); }
  Batch(const Batch&) = delete;
  Batch& operator=(const Batch&) = delete;

  BitStream& entry() {
    ++count_;
    return body_;
  }
  void endEntry() {
    if (body_.GetNumberOfBytesUsed() >= kMaxMessageBytes) flush();
  }
  void flush() {
    if (count_ == 0) return;
    BitStream message(body_.GetNumberOfBytesUsed() + 16);
    if (kind_ == Kind::Serialization) {
      message.Write(static_cast<unsigned char>(ID_REPLICA_MANAGER_SERIALIZE));
      message.Write(count_);
      message.Write(&body_);
    } else {
      message.Write(static_cast<unsigned char>(ID_REPLICA_MANAGER_CONSTRUCTION));
      const bool constructions = kind_ == Kind::Construction;
      message.Write(constructions ? count_ : 0u);
      if (constructions) message.Write(&body_);
      message.Write(constructions ? 0u : count_);
      if (!constructions) message.Write(&body_);
    }
    manager_.send(message, to_);
    body_.Reset();
    count_ = 0;
  }

 private:
  ReplicaManager3& manager_;
  const Connection_RM3& to_;
  Kind kind_;
  BitStream body_;
  std::uint32_t count_ = 0;
};

// ---- Replica3 --------------------------------------------------------------------

Replica3::~Replica3() {
  if (replicaManager) replicaManager->Dereference(this);
}

RM3ConstructionState Replica3::QueryConstruction_ServerConstruction(Connection_RM3*, bool isThisTheServer) {
  return isThisTheServer ? RM3CS_SEND_CONSTRUCTION : RM3CS_NEVER_CONSTRUCT;
}

bool Replica3::QueryRemoteConstruction_ServerConstruction(Connection_RM3*, bool isThisTheServer) {
  return !isThisTheServer;
}

RM3QuerySerializationResult Replica3::QuerySerialization_ServerSerializable(Connection_RM3*,
                                                                            bool isThisTheServer) {
  return isThisTheServer ? RM3QSR_CALL_SERIALIZE : RM3QSR_NEVER_CALL_SERIALIZE;
}

RM3ActionOnPopConnection Replica3::QueryActionOnPopConnection_Client(Connection_RM3*) const {
  return RM3AOPC_DELETE_REPLICA;
}

RM3ActionOnPopConnection Replica3::QueryActionOnPopConnection_Server(Connection_RM3*) const {
  return RM3AOPC_DELETE_REPLICA_AND_BROADCAST_DESTRUCTION;
}

void Replica3::BroadcastDestruction() {
  if (replicaManager) replicaManager->BroadcastDestruction(this, UNASSIGNED_SYSTEM_ADDRESS);
}

void Replica3::SetReportsChanges(bool reports) {
  if (reports == reportsChanges_) return;
  ReplicaManager3* manager = replicaManager;
  // Tracked anew under the new promise; its place in the order stays.
  reportsChanges_ = reports;
  if (!manager || !manager->IsReferenced(this)) return;
  if (reports) {
    manager->everyPass_.erase(referenceOrder_);
    MarkChanged();  // what changed since the last pass was not reported
  } else {
    manager->everyPass_.emplace(referenceOrder_, this);
  }
}

void Replica3::MarkChanged() {
  if (replicaManager) replicaManager->MarkChanged(this);
}

// ---- Connection_RM3 ----------------------------------------------------------------

Connection_RM3::Connection_RM3(const SystemAddress& systemAddress, RakNetGUID guid)
    : systemAddress_(systemAddress), guid_(guid) {}

bool Connection_RM3::HasReplicaConstructed(const Replica3* replica) const {
  auto it = slots_.find(replica);
  return it != slots_.end() && it->second.constructed;
}

void Connection_RM3::GetConstructedReplicas(std::vector<Replica3*>& out) const {
  out.clear();
  if (!manager_) return;
  std::vector<Replica3*> all;
  manager_->GetReferencedReplicaList(all);
  for (Replica3* r : all)
    if (HasReplicaConstructed(r)) out.push_back(r);
}

// ---- ReplicaManager3: connections -------------------------------------------------

ReplicaManager3::~ReplicaManager3() {
  // A subclass should have called Clear(); what is left is freed without its help.
  for (Connection_RM3* c : connections_) delete c;
  connections_.clear();
  forgetReplicas();
}

bool ReplicaManager3::worldOk(WorldId worldId, const char* what) const {
  if (worldId == 0) return true;
  LOGOG_ERROR("replica manager: %s in world %d refused (only world 0 exists)", what, worldId);
  return false;
}

RakNetGUID ReplicaManager3::myGuid() const {
  return GetRakPeerInterface() ? GetRakPeerInterface()->GetMyGUID() : UNASSIGNED_RAKNET_GUID;
}

void ReplicaManager3::SetAutoManageConnections(bool autoCreate, bool autoDestroy) {
  autoCreate_ = autoCreate;
  autoDestroy_ = autoDestroy;
}

bool ReplicaManager3::PushConnection(Connection_RM3* newConnection, WorldId worldId) {
  if (!newConnection || !worldOk(worldId, "a connection")) return false;
  if (GetConnectionByGUID(newConnection->GetRakNetGUID())) return false;
  newConnection->manager_ = this;
  connections_.push_back(newConnection);
  for (Replica3* r : replicas_)
    if (!newConnection->HasReplicaConstructed(r)) newConnection->unconstructed_.emplace(r->referenceOrder_, r);
  return true;
}

Connection_RM3* ReplicaManager3::PopConnection(RakNetGUID guid, WorldId worldId) {
  if (!worldOk(worldId, "popping a connection")) return nullptr;
  auto it = std::find_if(connections_.begin(), connections_.end(),
                         [&](Connection_RM3* c) { return c->GetRakNetGUID() == guid; });
  if (it == connections_.end()) return nullptr;
  Connection_RM3* dropped = *it;
  connections_.erase(it);  // broadcasts below go to the others only

  // What the dropped system created goes as each replica asks, the last made first.
  std::vector<Replica3*> created;
  GetReplicasCreatedByGuid(guid, created);
  for (auto r = created.rbegin(); r != created.rend(); ++r) {
    Replica3* replica = *r;
    if (!IsReferenced(replica)) continue;  // a callback took it already
    const RM3ActionOnPopConnection action = replica->QueryActionOnPopConnection(dropped);
    if (action == RM3AOPC_DO_NOTHING) continue;
    if (action == RM3AOPC_DELETE_REPLICA_AND_BROADCAST_DESTRUCTION)
      BroadcastDestruction(replica, UNASSIGNED_SYSTEM_ADDRESS);
    Dereference(replica);
    replica->DeallocReplica(dropped);
  }
  std::vector<Replica3*> all;
  GetReferencedReplicaList(all);
  for (Replica3* replica : all)
    if (IsReferenced(replica)) replica->OnPoppedConnection(dropped);
  dropped->slots_.clear();
  dropped->unconstructed_.clear();
  dropped->serializeNext_.clear();
  dropped->manager_ = nullptr;
  return dropped;
}

void ReplicaManager3::popAll() {
  while (!connections_.empty()) {
    Connection_RM3* c = PopConnection(connections_.back()->GetRakNetGUID());
    if (c) DeallocConnection(c);
  }
}

void ReplicaManager3::Clear() {
  popAll();
  forgetReplicas();
}

void ReplicaManager3::forgetReplicas() {
  for (Replica3* r : replicas_) {
    r->replicaManager = nullptr;
    r->referenceOrder_ = 0;
    r->changeMarked_ = false;
  }
  replicas_.clear();
  index_.clear();
  changed_.clear();
  everyPass_.clear();
}

unsigned ReplicaManager3::GetConnectionCount(WorldId worldId) const {
  return worldId == 0 ? static_cast<unsigned>(connections_.size()) : 0;
}

Connection_RM3* ReplicaManager3::GetConnectionAtIndex(unsigned index, WorldId worldId) const {
  return worldId == 0 && index < connections_.size() ? connections_[index] : nullptr;
}

Connection_RM3* ReplicaManager3::GetConnectionByGUID(RakNetGUID guid, WorldId worldId) const {
  if (worldId != 0) return nullptr;
  for (Connection_RM3* c : connections_)
    if (c->GetRakNetGUID() == guid) return c;
  return nullptr;
}

// ---- ReplicaManager3: replicas ---------------------------------------------------------

void ReplicaManager3::SetNetworkIDManager(NetworkIDManager* manager, WorldId worldId) {
  if (worldOk(worldId, "a network-id manager")) networkIdManager_ = manager;
}

NetworkIDManager* ReplicaManager3::GetNetworkIDManager(WorldId worldId) const {
  return worldId == 0 ? networkIdManager_ : nullptr;
}

void ReplicaManager3::Reference(Replica3* replica3, WorldId worldId) {
  if (!replica3 || IsReferenced(replica3) || !worldOk(worldId, "a reference")) return;
  if (replica3->replicaManager && replica3->replicaManager != this) {
    LOGOG_ERROR("replica manager: an object of another manager cannot be referenced");
    return;
  }
  if (!networkIdManager_) {
    LOGOG_ERROR("replica manager: no network-id manager, nothing can be referenced");
    return;
  }
  replica3->SetNetworkIDManager(networkIdManager_);
  replica3->GetNetworkID();  // assigns one
  if (replica3->creatingSystemGUID == UNASSIGNED_RAKNET_GUID) replica3->creatingSystemGUID = myGuid();
  replica3->replicaManager = this;
  track(replica3, nullptr);
}

void ReplicaManager3::track(Replica3* replica, const Connection_RM3* constructedOn) {
  replicas_.push_back(replica);
  index_[replica] = std::prev(replicas_.end());
  replica->referenceOrder_ = nextOrder_++;
  replica->changeMarked_ = false;
  const Ordered entry(replica->referenceOrder_, replica);
  if (!replica->reportsChanges_) everyPass_.insert(entry);
  for (Connection_RM3* c : connections_) {
    if (c == constructedOn)
      c->serializeNext_.push_back(entry);
    else
      c->unconstructed_.insert(entry);
  }
}

void ReplicaManager3::untrack(Replica3* replica) {
  // Entries in the lists of changes stay behind, stale (see current()).
  everyPass_.erase(replica->referenceOrder_);
  for (Connection_RM3* c : connections_) {
    c->slots_.erase(replica);
    c->unconstructed_.erase(replica->referenceOrder_);
  }
  replica->referenceOrder_ = 0;
  replica->changeMarked_ = false;
}

void ReplicaManager3::Dereference(Replica3* replica3, WorldId worldId) {
  if (worldId != 0) return;
  auto it = index_.find(replica3);
  if (it == index_.end()) return;
  replicas_.erase(it->second);
  index_.erase(it);
  untrack(replica3);
  replica3->replicaManager = nullptr;
}

void ReplicaManager3::MarkChanged(Replica3* replica) {
  if (!replica || replica->changeMarked_ || !IsReferenced(replica)) return;
  replica->changeMarked_ = true;
  // Without passes (no peer) stale entries of replicas gone meanwhile would pile up.
  if (changed_.size() > 2 * replicas_.size() + 64)
    changed_.erase(std::remove_if(changed_.begin(), changed_.end(), [this](const Ordered& e) { return !current(e); }),
                   changed_.end());
  changed_.emplace_back(replica->referenceOrder_, replica);
}

void ReplicaManager3::unconstruct(Connection_RM3& connection, Replica3* replica) {
  Connection_RM3::Slot& s = connection.slot(replica);
  s.constructed = false;
  s.sentState = false;
  s.lastSent.Reset();
  if (!s.neverConstruct && IsReferenced(replica))
    connection.unconstructed_.emplace(replica->referenceOrder_, replica);
}

unsigned ReplicaManager3::GetReplicaCount(WorldId worldId) const {
  return worldId == 0 ? static_cast<unsigned>(replicas_.size()) : 0;
}

void ReplicaManager3::GetReferencedReplicaList(std::vector<Replica3*>& out, WorldId worldId) const {
  out.clear();
  if (worldId == 0) out.assign(replicas_.begin(), replicas_.end());
}

void ReplicaManager3::GetReplicasCreatedByGuid(RakNetGUID guid, std::vector<Replica3*>& out,
                                               WorldId worldId) const {
  out.clear();
  if (worldId != 0) return;
  for (Replica3* r : replicas_)
    if (r->creatingSystemGUID == guid) out.push_back(r);
}

Replica3* ReplicaManager3::referencedById(NetworkID id) const {
  if (!networkIdManager_) return nullptr;
  Replica3* r = networkIdManager_->GET_OBJECT_FROM_ID<Replica3*>(id);
  return r && IsReferenced(r) ? r : nullptr;
}

void ReplicaManager3::BroadcastDestruction(Replica3* replica, const SystemAddress& exclusionAddress) {
  BroadcastDestructionList({replica}, exclusionAddress);
}

void ReplicaManager3::BroadcastDestructionList(const std::vector<Replica3*>& replicas,
                                               const SystemAddress& exclusionAddress) {
  const std::vector<Connection_RM3*> targets = connections_;
  for (Connection_RM3* c : targets) {
    if (std::find(connections_.begin(), connections_.end(), c) == connections_.end()) continue;
    if (exclusionAddress != UNASSIGNED_SYSTEM_ADDRESS && c->GetSystemAddress() == exclusionAddress) continue;
    Batch batch(*this, *c, Batch::Kind::Destruction);
    for (Replica3* replica : replicas) {
      if (!replica || !IsReferenced(replica) || !c->HasReplicaConstructed(replica)) continue;
      BitStream data;
      replica->SerializeDestruction(&data, c);
      if (!IsReferenced(replica)) continue;
      BitStream& e = batch.entry();
      e.Write(replica->GetNetworkID());
      writeSub(e, data);
      batch.endEntry();
      // Gone there: a later pass may construct it anew if it stays referenced.
      unconstruct(*c, replica);
    }
  }
}

// ---- ReplicaManager3: update pass -------------------------------------------------------

void ReplicaManager3::send(const BitStream& message, const Connection_RM3& to) {
  RakPeerInterface* peer = GetRakPeerInterface();
  if (!peer) return;
  peer->Send(&message, priority_, reliability_, orderingChannel_, to.GetRakNetGUID(), false);
}

void ReplicaManager3::Update() {
  const Time now = nowMs();
  if (passed_ && autoSerializeIntervalMs_ > 0 && now - lastPassMs_ < autoSerializeIntervalMs_) return;
  UpdateNow();
}

void ReplicaManager3::UpdateNow() {
  passed_ = true;
  lastPassMs_ = nowMs();
  if (!GetRakPeerInterface()) return;
  // The changes reported so far are this pass's; reports during it go to the next.
  std::vector<Ordered> changed;
  changed.swap(changed_);
  for (const Ordered& e : changed)
    if (current(e)) e.second->changeMarked_ = false;
  std::vector<Connection_RM3*> connections = connections_;
  for (Connection_RM3* c : connections)
    if (std::find(connections_.begin(), connections_.end(), c) != connections_.end()) pass(*c, changed);
}

void ReplicaManager3::pass(Connection_RM3& connection, const std::vector<Ordered>& changed) {
  constructions(connection);
  serializations(connection, changed);
}

// Callbacks may reference or dereference replicas: both walks go over copies made
// before the first callback, and check each replica before and after each call.
void ReplicaManager3::constructions(Connection_RM3& connection) {
  if (connection.unconstructed_.empty()) return;
  const std::vector<Ordered> order(connection.unconstructed_.begin(), connection.unconstructed_.end());
  Batch batch(*this, connection, Batch::Kind::Construction);
  for (const Ordered& entry : order) {
    Replica3* r = entry.second;
    if (!current(entry)) continue;
    {
      const Connection_RM3::Slot& s = connection.slot(r);
      if (s.constructed || s.neverConstruct) {
        connection.unconstructed_.erase(entry.first);
        continue;
      }
    }
    const RM3ConstructionState state = r->QueryConstruction(&connection, this);
    if (!current(entry)) continue;
    if (state == RM3CS_NEVER_CONSTRUCT) {
      connection.slot(r).neverConstruct = true;
      connection.unconstructed_.erase(entry.first);
    }
    if (state != RM3CS_SEND_CONSTRUCTION) continue;
    BitStream allocation, construction;
    r->WriteAllocationID(&connection, &allocation);
    r->SerializeConstruction(&construction, &connection);
    if (!current(entry)) continue;
    BitStream& e = batch.entry();
    e.Write(r->GetNetworkID());
    writeSub(e, allocation);
    writeSub(e, construction);
    batch.endEntry();
    connection.slot(r).constructed = true;
    connection.unconstructed_.erase(entry.first);
    connection.serializeNext_.push_back(entry);
  }
}

void ReplicaManager3::serializations(Connection_RM3& connection, const std::vector<Ordered>& changed) {
  // What may have changed, in reference order: reported changes, what is new here
  // or was asked for again, and every replica that reports no changes.
  std::vector<Ordered> order;
  order.swap(connection.serializeNext_);
  order.insert(order.end(), changed.begin(), changed.end());
  order.insert(order.end(), everyPass_.begin(), everyPass_.end());
  std::sort(order.begin(), order.end());
  order.erase(std::unique(order.begin(), order.end()), order.end());

  Batch batch(*this, connection, Batch::Kind::Serialization);
  const Time now = nowMs();
  for (const Ordered& entry : order) {
    Replica3* r = entry.second;
    if (!current(entry)) continue;
    auto it = connection.slots_.find(r);
    if (it == connection.slots_.end() || !it->second.constructed || it->second.neverSerialize) continue;
    const RM3QuerySerializationResult query = r->QuerySerialization(&connection);
    // The callbacks may have dereferenced the replica; its slot is looked up anew.
    if (!current(entry) || !connection.HasReplicaConstructed(r)) continue;
    if (query == RM3QSR_NEVER_CALL_SERIALIZE) connection.slot(r).neverSerialize = true;
    if (query == RM3QSR_DO_NOT_CALL_SERIALIZE) connection.serializeNext_.push_back(entry);
    if (query != RM3QSR_CALL_SERIALIZE) continue;
    SerializeParameters sp;
    sp.lastSentBitstream[0] = &connection.slot(r).lastSent;
    sp.destinationConnection = &connection;
    sp.curTime = now;
    const RM3SerializationResult result = r->Serialize(&sp);
    if (!current(entry) || !connection.HasReplicaConstructed(r)) continue;
    Connection_RM3::Slot& s = connection.slot(r);
    if (result == RM3SR_DO_NOT_SERIALIZE || result == RM3SR_SERIALIZED_ALWAYS)
      connection.serializeNext_.push_back(entry);
    if (result == RM3SR_NEVER_SERIALIZE_FOR_THIS_CONNECTION) s.neverSerialize = true;
    if (result == RM3SR_NEVER_SERIALIZE_FOR_THIS_CONNECTION || result == RM3SR_DO_NOT_SERIALIZE) continue;
    BitStream& out = sp.outputBitstream[0];
    if (out.GetNumberOfBitsUsed() == 0) continue;  // nothing to say
    if (result != RM3SR_SERIALIZED_ALWAYS && s.sentState && sameBits(out, s.lastSent)) continue;
    BitStream& e = batch.entry();
    e.Write(r->GetNetworkID());
    writeSub(e, out);
    batch.endEntry();
    s.lastSent = out;
    s.lastSent.ResetReadPointer();
    s.sentState = true;
  }
}

// ---- ReplicaManager3: receiving ---------------------------------------------------------

PluginReceiveResult ReplicaManager3::OnReceive(Packet* packet) {
  if (!packet || packet->length == 0 || !isReplicaMessage(packet->data[0])) return RR_CONTINUE_PROCESSING;
  Connection_RM3* from = GetConnectionByGUID(packet->guid);
  if (!from) {
    LOGOG_WARN("replica message %d from %s, which has no connection here: dropped", packet->data[0],
               packet->guid.ToString().c_str());
    return RR_STOP_PROCESSING_AND_DEALLOCATE;
  }
  BitStream in(packet->data, packet->length, false);
  in.IgnoreBits(8);
  if (packet->data[0] == ID_REPLICA_MANAGER_CONSTRUCTION)
    receiveConstruction(*from, in);
  else if (packet->data[0] == ID_REPLICA_MANAGER_SERIALIZE)
    receiveSerialization(*from, in);
  // The other replica ids carry nothing this manager needs.
  return RR_STOP_PROCESSING_AND_DEALLOCATE;
}

void ReplicaManager3::receiveConstruction(Connection_RM3& from, BitStream& in) {
  const RakNetGUID source = from.GetRakNetGUID();
  std::uint32_t count = 0;
  if (!in.Read(count)) {
    LOGOG_WARN("replica construction from %s without a count: dropped", source.ToString().c_str());
    return;
  }
  for (std::uint32_t i = 0; i < count; ++i) {
    NetworkID id;
    BitStream allocation, construction;
    if (!in.Read(id) || !readSub(in, allocation) || !readSub(in, construction)) {
      LOGOG_WARN("replica construction from %s cut short after %u of %u objects", source.ToString().c_str(), i,
                 count);
      return;
    }
    construct(from, id, allocation, construction);
    // A callback may have dropped the connection that sent this.
    if (GetConnectionByGUID(source) != &from) return;
  }
  if (!in.Read(count)) return;  // no destruction part
  for (std::uint32_t i = 0; i < count; ++i) {
    NetworkID id;
    BitStream destruction;
    if (!in.Read(id) || !readSub(in, destruction)) {
      LOGOG_WARN("replica destruction from %s cut short after %u of %u objects", source.ToString().c_str(), i,
                 count);
      return;
    }
    destroy(from, id, destruction);
    if (GetConnectionByGUID(source) != &from) return;
  }
}

void ReplicaManager3::construct(Connection_RM3& from, NetworkID id, BitStream& allocation,
                                BitStream& construction) {
  if (!networkIdManager_) {
    LOGOG_ERROR("replica manager: no network-id manager, construction dropped");
    return;
  }
  if (id == UNASSIGNED_NETWORK_ID || networkIdManager_->GET_BASE_OBJECT_FROM_ID(id)) {
    LOGOG_WARN("construction of object %llu from %s dropped: the id is unassigned or in use",
               static_cast<unsigned long long>(id), from.GetRakNetGUID().ToString().c_str());
    return;
  }
  Replica3* replica = from.AllocReplica(&allocation, this);
  if (!replica) {
    LOGOG_WARN("construction of object %llu from %s dropped: unknown type",
               static_cast<unsigned long long>(id), from.GetRakNetGUID().ToString().c_str());
    return;
  }
  replica->SetNetworkIDManager(networkIdManager_);
  replica->SetNetworkID(id);
  replica->creatingSystemGUID = from.GetRakNetGUID();
  if (!replica->QueryRemoteConstruction(&from)) {
    LOGOG_WARN("construction of object %llu from %s refused", static_cast<unsigned long long>(id),
               from.GetRakNetGUID().ToString().c_str());
    replica->DeallocReplica(&from);
    return;
  }
  if (!replica->DeserializeConstruction(&construction, &from)) {
    LOGOG_WARN("construction of object %llu from %s rejected by the object",
               static_cast<unsigned long long>(id), from.GetRakNetGUID().ToString().c_str());
    replica->DeallocReplica(&from);
    return;
  }
  replica->replicaManager = this;
  from.slot(replica).constructed = true;
  track(replica, &from);
}

void ReplicaManager3::destroy(Connection_RM3& from, NetworkID id, BitStream& destruction) {
  Replica3* replica = referencedById(id);
  if (!replica) return;  // gone already
  if (replica->creatingSystemGUID != from.GetRakNetGUID()) {
    LOGOG_WARN("destruction of object %llu refused: %s did not create it", static_cast<unsigned long long>(id),
               from.GetRakNetGUID().ToString().c_str());
    return;
  }
  if (!replica->DeserializeDestruction(&destruction, &from)) {
    Dereference(replica);
    return;
  }
  replica->deletingSystemGUID = from.GetRakNetGUID();
  if (replica->QueryRelayDestruction(&from)) {
    unconstruct(from, replica);  // not back to the sender
    BroadcastDestruction(replica, UNASSIGNED_SYSTEM_ADDRESS);
  }
  Dereference(replica);
  replica->DeallocReplica(&from);
}

void ReplicaManager3::receiveSerialization(Connection_RM3& from, BitStream& in) {
  const RakNetGUID source = from.GetRakNetGUID();
  std::uint32_t count = 0;
  if (!in.Read(count)) {
    LOGOG_WARN("replica update from %s without a count: dropped", source.ToString().c_str());
    return;
  }
  for (std::uint32_t i = 0; i < count; ++i) {
    NetworkID id;
    DeserializeParameters dp;
    if (!in.Read(id) || !readSub(in, dp.serializationBitstream[0])) {
      LOGOG_WARN("replica update from %s cut short after %u of %u objects", source.ToString().c_str(), i, count);
      return;
    }
    Replica3* replica = referencedById(id);
    if (!replica) continue;  // destroyed meanwhile, or never known
    if (replica->creatingSystemGUID != source || !from.HasReplicaConstructed(replica)) {
      LOGOG_WARN("update of object %llu refused: %s did not create it", static_cast<unsigned long long>(id),
                 source.ToString().c_str());
      continue;
    }
    dp.bitstreamWrittenTo[0] = dp.serializationBitstream[0].GetNumberOfBitsUsed() > 0;
    dp.sourceConnection = &from;
    replica->Deserialize(&dp);
    if (GetConnectionByGUID(source) != &from) return;
  }
}

// ---- ReplicaManager3: peer events --------------------------------------------------------

void ReplicaManager3::OnNewConnection(const SystemAddress& systemAddress, RakNetGUID guid, bool) {
  if (!autoCreate_ || GetConnectionByGUID(guid)) return;
  Connection_RM3* c = AllocConnection(systemAddress, guid);
  if (c && !PushConnection(c)) DeallocConnection(c);
}

void ReplicaManager3::OnClosedConnection(const SystemAddress&, RakNetGUID guid, PI2_LostConnectionReason) {
  if (!autoDestroy_) return;
  if (Connection_RM3* c = PopConnection(guid)) DeallocConnection(c);
}

void ReplicaManager3::OnRakPeerShutdown() {
  if (autoDestroy_) popAll();
}

void ReplicaManager3::OnDetach() {
  if (autoDestroy_) popAll();
}

}  // namespace RakNet
