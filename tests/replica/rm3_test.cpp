// The replica manager between two peers on loopback: constructions by type name
// in reference order, updates only on change, destruction, dropped connections and
// refused traffic.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Loopback.h"
#include "raknet/NetworkIDManager.h"
#include "raknet/ReplicaManager3.h"

using namespace RakNet;

namespace {

struct Side;

// A replicated object: a tag fixed at construction and a value that changes.
class Widget : public Replica3 {
 public:
  Widget(Side& side, int tag, std::string type = "Widget") : side_(side), tag(tag), type_(std::move(type)) {}

  void WriteAllocationID(Connection_RM3*, BitStream* bs) const override { bs->Write(RakString(type_)); }
  RM3ConstructionState QueryConstruction(Connection_RM3* c, ReplicaManager3*) override;
  bool QueryRemoteConstruction(Connection_RM3* c) override;
  void SerializeConstruction(BitStream* bs, Connection_RM3*) override { bs->Write(tag); }
  bool DeserializeConstruction(BitStream* bs, Connection_RM3*) override;
  void SerializeDestruction(BitStream*, Connection_RM3*) override {}
  bool DeserializeDestruction(BitStream*, Connection_RM3*) override { return true; }
  RM3ActionOnPopConnection QueryActionOnPopConnection(Connection_RM3* c) const override;
  void DeallocReplica(Connection_RM3*) override;
  RM3QuerySerializationResult QuerySerialization(Connection_RM3* c) override;
  RM3SerializationResult Serialize(SerializeParameters* sp) override {
    sp->outputBitstream[0].Write(value);
    return RM3SR_SERIALIZED_UNIQUELY;
  }
  void Deserialize(DeserializeParameters* dp) override;

  Side& side_;
  int tag;
  int value = 0;

 private:
  std::string type_;
};

// One peer with its replica manager and what happened there.
struct Side {
  bool server;
  loopback::PeerPtr peer;
  NetworkIDManager ids;
  std::vector<std::string> events;  // "c<tag>" constructed, "u<tag>=<value>" updated, "d<tag>" deleted
  std::vector<Widget*> received;    // alive objects that came from the other side

  explicit Side(bool isServer) : server(isServer), peer(loopback::makePeer(isServer ? 4 : 0)) {}
  Widget* receivedTag(int tag) {
    for (Widget* w : received)
      if (w->tag == tag) return w;
    return nullptr;
  }
  int count(const std::string& event) const { return static_cast<int>(std::count(events.begin(), events.end(), event)); }
};

RM3ConstructionState Widget::QueryConstruction(Connection_RM3* c, ReplicaManager3*) {
  return QueryConstruction_ServerConstruction(c, side_.server);
}
bool Widget::QueryRemoteConstruction(Connection_RM3* c) {
  return QueryRemoteConstruction_ServerConstruction(c, side_.server);
}
bool Widget::DeserializeConstruction(BitStream* bs, Connection_RM3*) {
  if (!bs->Read(tag)) return false;
  side_.events.push_back("c" + std::to_string(tag));
  side_.received.push_back(this);
  return true;
}
RM3ActionOnPopConnection Widget::QueryActionOnPopConnection(Connection_RM3* c) const {
  return side_.server ? QueryActionOnPopConnection_Server(c) : QueryActionOnPopConnection_Client(c);
}
void Widget::DeallocReplica(Connection_RM3*) {
  side_.events.push_back("d" + std::to_string(tag));
  side_.received.erase(std::remove(side_.received.begin(), side_.received.end(), this), side_.received.end());
  delete this;
}
RM3QuerySerializationResult Widget::QuerySerialization(Connection_RM3* c) {
  return QuerySerialization_ServerSerializable(c, side_.server);
}
void Widget::Deserialize(DeserializeParameters* dp) {
  if (dp->serializationBitstream[0].Read(value))
    side_.events.push_back("u" + std::to_string(tag) + "=" + std::to_string(value));
}

class WidgetConnection : public Connection_RM3 {
 public:
  WidgetConnection(const SystemAddress& a, RakNetGUID g, Side& side) : Connection_RM3(a, g), side_(side) {}
  Replica3* AllocReplica(BitStream* bs, ReplicaManager3*) override {
    RakString type;
    if (!bs->Read(type) || type != "Widget") return nullptr;
    return new Widget(side_, -1);
  }

 private:
  Side& side_;
};

class WidgetManager : public ReplicaManager3 {
 public:
  explicit WidgetManager(Side& side) : side_(side) {}
  ~WidgetManager() override { Clear(); }
  Connection_RM3* AllocConnection(const SystemAddress& a, RakNetGUID g) const override {
    return new WidgetConnection(a, g, side_);
  }
  void DeallocConnection(Connection_RM3* c) const override { delete c; }

 private:
  Side& side_;
};

class Rm3Test : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto* s : {&host, &client}) {
      auto* m = s == &host ? &hostRm : &clientRm;
      m->SetNetworkIDManager(&s->ids);
      m->SetAutoSerializeInterval(1000000);  // passes only when a test asks
      s->peer->AttachPlugin(m);
    }
    ASSERT_TRUE(loopback::connect(host.peer.get(), client.peer.get()));
    ASSERT_TRUE(pumpUntil([&] { return hostRm.GetConnectionCount() == 1 && clientRm.GetConnectionCount() == 1; }));
  }
  void TearDown() override {
    for (Widget* w : own) delete w;
    host.peer->DetachPlugin(&hostRm);
    client.peer->DetachPlugin(&clientRm);
    for (Widget* w : std::vector<Widget*>(client.received)) delete w;
    for (Widget* w : std::vector<Widget*>(host.received)) delete w;
  }
  bool pumpUntil(const std::function<bool()>& done, int ms = 5000) {
    return loopback::pumpUntil(done, {host.peer.get(), client.peer.get()}, ms);
  }
  // Sends a user message from the client and pumps the host until it arrives, so
  // everything the client sent before has been handled there.
  bool hostGetsMarker() {
    BitStream marker;
    marker.Write(static_cast<unsigned char>(ID_USER_PACKET_ENUM));
    client.peer->Send(&marker, HIGH_PRIORITY, RELIABLE_ORDERED, 0, host.peer->GetMyGUID(), false);
    bool seen = false;
    const auto until = loopback::Clock::now() + std::chrono::seconds(5);
    while (!seen && loopback::Clock::now() < until) {
      while (Packet* p = host.peer->Receive()) {
        seen = seen || p->data[0] == ID_USER_PACKET_ENUM;
        EXPECT_GE(p->data[0], ID_USER_PACKET_ENUM) << "replica ids stay with the plug-in";
        host.peer->DeallocatePacket(p);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return seen;
  }
  Widget* make(int tag, const char* type = "Widget", int value = 0) {
    own.push_back(new Widget(host, tag, type));
    own.back()->value = value;
    hostRm.Reference(own.back());
    return own.back();
  }

  Side host{true};
  Side client{false};
  WidgetManager hostRm{host};
  WidgetManager clientRm{client};
  std::vector<Widget*> own;
};

TEST_F(Rm3Test, ConstructsByTypeNameInReferenceOrderBeforeAnyUpdate) {
  std::vector<std::string> expected;
  for (int tag = 0; tag < 40; ++tag) {
    const bool unknown = tag == 5 || tag == 23;
    make(tag, unknown ? "Gadget" : "Widget", 100 + tag);
    if (!unknown) expected.push_back("c" + std::to_string(tag));
  }
  hostRm.UpdateNow();
  ASSERT_TRUE(pumpUntil([&] { return client.count("u39=139") == 1; }));
  std::vector<std::string> constructions, firstHalf(client.events.begin(), client.events.begin() + 38);
  for (const std::string& e : client.events)
    if (e[0] == 'c') constructions.push_back(e);
  EXPECT_EQ(constructions, expected);
  EXPECT_EQ(firstHalf, expected) << "every construction comes before the first update";
  EXPECT_EQ(client.received.size(), 38u);
  EXPECT_EQ(client.receivedTag(5), nullptr);
  // The copies carry the host's ids, so either side finds the same object by it.
  for (Widget* w : own)
    if (Widget* copy = client.receivedTag(w->tag)) {
      EXPECT_EQ(copy->GetNetworkID(), w->GetNetworkID());
      EXPECT_EQ(copy->value, w->value);
    }
}

TEST_F(Rm3Test, SendsAnUpdateOnlyWhenTheBytesChanged) {
  for (int tag = 0; tag < 10; ++tag) make(tag);
  hostRm.UpdateNow();
  ASSERT_TRUE(pumpUntil([&] { return client.count("u9=0") == 1; }));
  const size_t before = client.events.size();
  hostRm.UpdateNow();  // nothing changed: nothing goes
  own[3]->value = 7;
  own[3]->value = 0;  // changed and back: still nothing
  hostRm.UpdateNow();
  own[6]->value = 66;
  hostRm.UpdateNow();
  ASSERT_TRUE(pumpUntil([&] { return client.count("u6=66") == 1; }));
  EXPECT_EQ(std::vector<std::string>(client.events.begin() + before, client.events.end()),
            std::vector<std::string>{"u6=66"});
  EXPECT_EQ(client.receivedTag(6)->value, 66);
}

// Replicas that report their changes are serialized only after a report, in
// reference order whatever the order of the reports; the others in every pass.
TEST_F(Rm3Test, AReplicaThatReportsItsChangesIsSentAfterAReportOnly) {
  for (int tag = 0; tag < 6; ++tag) make(tag)->SetReportsChanges(tag != 5);
  hostRm.UpdateNow();
  ASSERT_TRUE(pumpUntil([&] { return client.count("u5=0") == 1; }));
  size_t before = client.events.size();
  own[1]->value = 11;  // not reported: stays here
  own[4]->value = 44;
  own[4]->MarkChanged();
  own[2]->value = 22;
  own[2]->MarkChanged();
  own[2]->MarkChanged();
  own[5]->value = 55;  // reports nothing: looked at in every pass
  hostRm.UpdateNow();
  ASSERT_TRUE(pumpUntil([&] { return client.count("u5=55") == 1; }));
  EXPECT_EQ(std::vector<std::string>(client.events.begin() + before, client.events.end()),
            (std::vector<std::string>{"u2=22", "u4=44", "u5=55"}));
  before = client.events.size();
  own[1]->MarkChanged();
  hostRm.UpdateNow();
  ASSERT_TRUE(pumpUntil([&] { return client.count("u1=11") == 1; }));
  EXPECT_EQ(std::vector<std::string>(client.events.begin() + before, client.events.end()),
            std::vector<std::string>{"u1=11"});
}

// A replica destroyed on the other system but still referenced here is constructed
// there anew, with its state, though it reported no change.
TEST_F(Rm3Test, AReconstructedReplicaTakesItsStateAlongWithoutAReport) {
  for (int tag = 0; tag < 3; ++tag) make(tag)->SetReportsChanges(true);
  hostRm.UpdateNow();
  ASSERT_TRUE(pumpUntil([&] { return client.received.size() == 3; }));
  own[1]->value = 9;
  own[1]->BroadcastDestruction();
  ASSERT_TRUE(pumpUntil([&] { return client.count("d1") == 1; }));
  hostRm.UpdateNow();
  ASSERT_TRUE(pumpUntil([&] { return client.count("u1=9") == 1; }));
  EXPECT_EQ(client.count("c1"), 2);
  EXPECT_EQ(client.received.size(), 3u);
}

TEST_F(Rm3Test, BroadcastDestructionDeletesTheCopies) {
  for (int tag = 0; tag < 3; ++tag) make(tag);
  hostRm.UpdateNow();
  ASSERT_TRUE(pumpUntil([&] { return client.received.size() == 3; }));
  Widget* gone = own[1];
  gone->BroadcastDestruction();
  own.erase(own.begin() + 1);
  delete gone;  // dereferences itself
  EXPECT_EQ(hostRm.GetReplicaCount(), 2u);
  ASSERT_TRUE(pumpUntil([&] { return client.count("d1") == 1; }));
  EXPECT_EQ(client.received.size(), 2u);
  EXPECT_EQ(client.receivedTag(1), nullptr);
  EXPECT_EQ(client.ids.GET_OBJECT_FROM_ID<Widget*>(own[0]->GetNetworkID()), client.receivedTag(0));
}

TEST_F(Rm3Test, ADroppedConnectionTakesTheCopiesOfItsObjectsButNotTheOriginals) {
  for (int tag = 0; tag < 4; ++tag) make(tag);
  hostRm.UpdateNow();
  ASSERT_TRUE(pumpUntil([&] { return client.received.size() == 4; }));
  host.peer->CloseConnection(client.peer->GetMyGUID(), true);
  ASSERT_TRUE(pumpUntil([&] { return clientRm.GetConnectionCount() == 0 && hostRm.GetConnectionCount() == 0; }));
  EXPECT_TRUE(client.received.empty());
  // The client's rule deletes them, the last made first.
  EXPECT_EQ(std::vector<std::string>(client.events.end() - 4, client.events.end()),
            (std::vector<std::string>{"d3", "d2", "d1", "d0"}));
  EXPECT_EQ(client.ids.Count(), 0u);
  EXPECT_EQ(hostRm.GetReplicaCount(), 4u);
}

TEST_F(Rm3Test, ShutdownOfThePeerTakesTheCopiesToo) {
  make(0);
  hostRm.UpdateNow();
  ASSERT_TRUE(pumpUntil([&] { return client.received.size() == 1; }));
  client.peer->Shutdown(0);
  EXPECT_TRUE(client.received.empty());
  EXPECT_EQ(clientRm.GetConnectionCount(), 0u);
}

TEST_F(Rm3Test, TheServerRefusesRemoteConstructionAndUpdatesOfItsOwnObjects) {
  Widget* mine = make(1, "Widget", 5);
  hostRm.UpdateNow();
  ASSERT_TRUE(pumpUntil([&] { return client.count("u1=5") == 1; }));
  // A client that wrongly thinks it serves: it constructs and updates.
  client.server = true;
  auto* rogue = new Widget(client, 9);
  clientRm.Reference(rogue);
  client.receivedTag(1)->value = 99;
  clientRm.UpdateNow();
  ASSERT_TRUE(hostGetsMarker());
  EXPECT_TRUE(host.received.empty());
  EXPECT_EQ(host.count("c9"), 0);
  EXPECT_EQ(mine->value, 5);
  EXPECT_EQ(host.count("u1=99"), 0);
  delete rogue;
}

TEST_F(Rm3Test, ObjectsOfBothSidesNeverShareAnId) {
  // The client keeps an object of its own (never sent); the host's next ones still
  // arrive, as the two machines hand out ids from different starts.
  auto* local = new Widget(client, 50);
  clientRm.Reference(local);
  for (int tag = 0; tag < 3; ++tag) make(tag);
  hostRm.UpdateNow();
  ASSERT_TRUE(pumpUntil([&] { return client.received.size() == 3; }));
  for (Widget* w : own) EXPECT_NE(w->GetNetworkID(), local->GetNetworkID());
  delete local;
}

// Hand-made replica messages from the client: truncated, oversized counts and
// unknown ids change nothing and break nothing.
TEST_F(Rm3Test, MalformedMessagesAreDropped) {
  Widget* mine = make(1, "Widget", 5);
  hostRm.UpdateNow();
  ASSERT_TRUE(pumpUntil([&] { return client.count("u1=5") == 1; }));
  const RakNetGUID to = host.peer->GetMyGUID();
  auto sendRaw = [&](const BitStream& bs) {
    client.peer->Send(&bs, HIGH_PRIORITY, RELIABLE_ORDERED, 0, to, false);
  };
  BitStream hugeCount;
  hugeCount.Write(static_cast<unsigned char>(ID_REPLICA_MANAGER_CONSTRUCTION));
  hugeCount.Write(0xFFFFFFFFu);
  hugeCount.Write(static_cast<std::uint64_t>(77));
  sendRaw(hugeCount);
  BitStream update;
  update.Write(static_cast<unsigned char>(ID_REPLICA_MANAGER_SERIALIZE));
  update.Write(1u);
  update.Write(mine->GetNetworkID());
  update.Write(0xFFFFFF00u);  // more bits than the message holds
  sendRaw(update);
  BitStream bare;
  bare.Write(static_cast<unsigned char>(ID_REPLICA_MANAGER_SERIALIZE));
  sendRaw(bare);
  BitStream other;
  other.Write(static_cast<unsigned char>(ID_REPLICA_MANAGER_DOWNLOAD_COMPLETE));
  sendRaw(other);
  EXPECT_TRUE(hostGetsMarker());
  EXPECT_TRUE(host.received.empty());
  EXPECT_EQ(mine->value, 5);
  EXPECT_EQ(hostRm.GetConnectionCount(), 1u);
}

}  // namespace
