// The list formats that replication shares with the match messages.
#include <gtest/gtest.h>

#include "Board.h"
#include "CardTable.h"
#include "GameContext.h"
#include "GameReplicas.h"
#include "player/Player.h"

namespace {

class ListCodec : public ::testing::Test {
 protected:
  ListCodec() : replicas(ctx, ids) {
    board.setOwner(&player);
    board.fill();
    replicas.referenceReplica(player);
    replicas.referenceReplica(board);
    board.forEachElem([&](BoardElem& e) { replicas.referenceReplica(e); });
  }
  ~ListCodec() override {
    board.forEachElem([&](BoardElem& e) { replicas.destroyReplica(e); });
    replicas.destroyReplica(board);
    replicas.destroyReplica(player);
  }
  BoardElem* at(int x, int y) { return board.cellAt(x, y); }
  static RakNet::BitStream counted(int32_t count) {
    RakNet::BitStream bs;
    bs.Write(count);
    return bs;
  }

  GameContext ctx;
  RakNet::NetworkIDManager ids;
  GameReplicas replicas;
  Player player{ctx};
  Board board{ctx};
};

TEST_F(ListCodec, ElementListsKeepUnresolvedIdsAsNullEntries) {
  RakNet::BitStream bs;
  bs.Write(static_cast<uint32_t>(4));
  bs.Write(replicas.idOf(at(1, 2)));
  bs.Write(RakNet::UNASSIGNED_NETWORK_ID);
  bs.Write(static_cast<RakNet::NetworkID>(987654321));  // nobody's
  bs.Write(replicas.idOf(&player));                     // a player, not an element
  std::vector<BoardElem*> out{at(0, 0)};
  ASSERT_TRUE(replicas.readReplicaVector(bs, out));
  EXPECT_EQ(out, (std::vector<BoardElem*>{at(1, 2), nullptr, nullptr, nullptr}));
}

TEST_F(ListCodec, WrittenListsReadBackEqual) {
  RakNet::BitStream bs;
  const std::vector<BoardElem*> elems{at(3, 4), nullptr, at(39, 39)};
  const std::vector<int> cards{CardId::Fireball, CardId::Rain, 0};
  const std::vector<std::pair<int32_t, int32_t>> pairs{{CardId::Flood, 3}, {-1, 0}};
  replicas.writeReplicaVector(bs, elems);
  GameReplicas::writeIntVector(bs, cards);
  GameReplicas::writeIntPairVector(bs, pairs);
  EXPECT_EQ(bs.GetNumberOfBytesUsed(), 4u + 3 * 8 + 4 + 3 * 4 + 4 + 2 * 8);
  std::vector<BoardElem*> e;
  std::vector<int> c;
  std::vector<std::pair<int32_t, int32_t>> p;
  ASSERT_TRUE(replicas.readReplicaVector(bs, e));
  ASSERT_TRUE(GameReplicas::readIntVector(bs, c));
  ASSERT_TRUE(GameReplicas::readIntPairVector(bs, p));
  EXPECT_EQ(e, elems);
  EXPECT_EQ(c, cards);
  EXPECT_EQ(p, pairs);
}

TEST_F(ListCodec, SpellQueueEntriesComeBackActiveAnimatedAndUnreflected) {
  AnimateSpellEvent e;
  e.caster = &player;
  e.target = nullptr;
  e.card = CardId::Lightning;
  e.power = 2;
  e.targets = {at(20, 25), at(21, 25)};
  e.spared = {at(20, 25)};
  e.reflected = true;
  e.active = false;
  e.animate = false;
  RakNet::BitStream bs;
  replicas.writeSpellQueue(bs, {e, e});
  std::deque<AnimateSpellEvent> q;
  ASSERT_TRUE(replicas.readSpellQueue(bs, q));
  ASSERT_EQ(q.size(), 2u);
  for (const AnimateSpellEvent& r : q) {
    EXPECT_EQ(r.caster, &player);
    EXPECT_EQ(r.target, nullptr);
    EXPECT_EQ(r.card, CardId::Lightning);
    EXPECT_EQ(r.power, 2);
    EXPECT_EQ(r.targets, e.targets);
    EXPECT_TRUE(r.spared.empty());
    EXPECT_FALSE(r.reflected);
    EXPECT_TRUE(r.active);
    EXPECT_TRUE(r.animate);
  }
}

struct CountCase {
  int32_t count;
  bool ok;
  size_t size;
};

class ListCounts : public ListCodec, public ::testing::WithParamInterface<CountCase> {};

// Counts below 1 are empty lists; counts past the limit or past the data fail
// without reserving anything for them.
TEST_P(ListCounts, AreReadAsTheyStand) {
  RakNet::BitStream ints = counted(GetParam().count);
  RakNet::BitStream elems = counted(GetParam().count);
  std::vector<int> v{7};
  std::vector<BoardElem*> e{at(0, 0)};
  EXPECT_EQ(GameReplicas::readIntVector(ints, v), GetParam().ok);
  EXPECT_EQ(replicas.readReplicaVector(elems, e), GetParam().ok);
  if (GetParam().ok) {
    EXPECT_EQ(v.size(), GetParam().size);
    EXPECT_EQ(e.size(), GetParam().size);
  }
}

INSTANTIATE_TEST_SUITE_P(Counts, ListCounts,
                         ::testing::Values(CountCase{0, true, 0}, CountCase{-1, true, 0},
                                           CountCase{INT32_MIN, true, 0}, CountCase{1, false, 0},
                                           CountCase{INT32_MAX, false, 0}));

}  // namespace
