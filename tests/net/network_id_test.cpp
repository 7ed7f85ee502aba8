#include <gtest/gtest.h>

#include <memory>

#include "raknet/NetworkIDManager.h"

using namespace RakNet;

namespace {

struct Elem : NetworkIDObject {};
struct Owner : NetworkIDObject {};

TEST(NetworkIDManager, FindsObjectsByIdAndClassOnly) {
  NetworkIDManager manager;
  Elem e;
  Owner o;
  e.SetNetworkIDManager(&manager);
  o.SetNetworkIDManager(&manager);
  NetworkID eid = e.GetNetworkID();
  NetworkID oid = o.GetNetworkID();
  EXPECT_NE(eid, oid);
  EXPECT_NE(eid, UNASSIGNED_NETWORK_ID);
  EXPECT_EQ(manager.GET_OBJECT_FROM_ID<Elem*>(eid), &e);
  EXPECT_EQ(manager.GET_OBJECT_FROM_ID<Owner*>(eid), nullptr);  // another class
  EXPECT_EQ(manager.GET_OBJECT_FROM_ID<Elem*>(UNASSIGNED_NETWORK_ID), nullptr);
  EXPECT_EQ(manager.GET_OBJECT_FROM_ID<Elem*>(123456789), nullptr);
}

TEST(NetworkIDManager, ReceivedIdsAndDestructionUpdateTheLookup) {
  NetworkIDManager manager;
  NetworkID id = 0xABCDEF0012345678ull;
  {
    Elem e;
    e.SetNetworkIDManager(&manager);
    e.SetNetworkID(id);
    EXPECT_EQ(manager.GET_OBJECT_FROM_ID<Elem*>(id), &e);
  }
  EXPECT_EQ(manager.GET_OBJECT_FROM_ID<Elem*>(id), nullptr);
  EXPECT_EQ(manager.Count(), 0u);
}

TEST(NetworkIDManager, ObjectsMayOutliveTheirManager) {
  auto e = std::make_unique<Elem>();
  {
    NetworkIDManager manager;
    e->SetNetworkIDManager(&manager);
    e->GetNetworkID();
  }
  EXPECT_EQ(e->GetNetworkIDManager(), nullptr);
  e.reset();  // must not touch the gone manager
}

}  // namespace
