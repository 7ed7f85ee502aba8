// The fire step: spreading along joins, burning down, burning out, crystal blasts.
#include <gtest/gtest.h>

#include "board_fixture.h"

namespace {

using Ev = RecordingBoardObserver::Event;
using Fire = BoardFixture;

TEST_F(Fire, SpreadsOneJoinPerTurnAlongARow) {
  for (int dx = -2; dx <= 2; ++dx) build(dx, 0, ElemKind::HorizBlock);
  at(-2, 0)->ignite();
  board.burn();
  EXPECT_TRUE(at(-1, 0)->isBurning());
  EXPECT_FALSE(at(0, 0)->isBurning());
  board.burn();
  EXPECT_TRUE(at(0, 0)->isBurning());
  EXPECT_FALSE(at(-2, 0)->isBurning());  // damaged last turn, burnt out now
  EXPECT_EQ(2, board.burningCount());
}

TEST_F(Fire, FollowsOnlyJoins) {
  build(0, 0, ElemKind::VertBlock);
  build(1, 0, ElemKind::FourBlock);  // side by side, but a vertical block has no side join
  build(0, 1, ElemKind::HorizBlock);  // on top, but a horizontal block has no vertical join
  build(0, -1, ElemKind::FourBlock);  // below: joined
  at(0, 0)->ignite();
  board.burn();
  EXPECT_FALSE(at(1, 0)->isBurning());
  EXPECT_FALSE(at(0, 1)->isBurning());
  EXPECT_TRUE(at(0, -1)->isBurning());
}

TEST_F(Fire, DoorsStopItBothWays) {
  for (int dx = 0; dx <= 2; ++dx) build(dx, 0, ElemKind::FourBlock);
  at(1, 0)->setDoors(true);
  at(0, 0)->ignite();  // a neighbour with doors does not catch
  board.burn();
  EXPECT_FALSE(at(1, 0)->isBurning());

  at(1, 0)->ignite();  // a burning block with doors does not spread
  board.burn();
  EXPECT_FALSE(at(2, 0)->isBurning());
}

TEST_F(Fire, WetNeighboursDoNotCatch) {
  struct Case {
    float water;
    bool catches;
  };
  // At 0.01 or less a block burns; up to 0.5 it is marked but ignite refuses it.
  for (Case c : {Case{0.0f, true}, Case{0.01f, true}, Case{0.02f, false}, Case{0.49f, false},
                 Case{0.5f, false}}) {
    build(0, 0, ElemKind::HorizBlock)->ignite();
    BoardElem* n = build(1, 0, ElemKind::HorizBlock);
    n->setWaterLevel(c.water);
    board.burn();
    EXPECT_EQ(c.catches, n->isBurning()) << c.water;
    at(0, 0)->setKind(ElemKind::Empty);
    n->setKind(ElemKind::Empty);
  }
  EXPECT_EQ(0, board.burningCount());
}

TEST_F(Fire, IgniteRulesOutHardenedAndWetBlocks) {
  BoardElem* e = build(0, 0, ElemKind::FourBlock);
  e->setWaterLevel(0.02f);
  e->ignite();
  EXPECT_FALSE(e->isBurning());
  e->setWaterLevel(0.0f);
  e->setHardened(true);
  e->ignite();
  EXPECT_FALSE(e->isBurning());
  EXPECT_FALSE(e->isHardened());
  build(0, 1, ElemKind::Dome)->ignite();
  EXPECT_FALSE(at(0, 1)->isBurning());
}

TEST_F(Fire, ABurningBlockWearsDownThenBurnsOut) {
  BoardElem* e = build(0, 0, ElemKind::FourBlock);
  e->setHardened(true);
  e->setRoom(RoomType::Library);
  e->setStoredCards({{12, 1}});
  e->ignite();  // takes the hardening only
  e->setHardened(true);
  e->setBurning(true);

  board.burn();
  EXPECT_FALSE(e->isHardened());
  EXPECT_FALSE(e->isDamaged());
  board.burn();
  EXPECT_TRUE(e->isDamaged());
  EXPECT_TRUE(e->isBurning());
  board.burn();
  EXPECT_FALSE(e->isBurning());
  EXPECT_EQ(ElemKind::FourBlock, e->kind());
  EXPECT_TRUE(e->isDamaged());
  EXPECT_EQ(RoomType::None, e->room());
  EXPECT_TRUE(e->storedCards().empty());
  EXPECT_EQ(0, board.burningCount());
  EXPECT_EQ(3, events.count(Ev::ElemRubble));
}

TEST_F(Fire, ABlockThatBurnsOutIsNotLitAgainInTheSameStep) {
  build(0, 0, ElemKind::HorizBlock);
  build(1, 0, ElemKind::HorizBlock);
  for (int dx = 0; dx <= 1; ++dx) {
    at(dx, 0)->setDamaged(true);
    at(dx, 0)->setBurning(true);
  }
  board.burn();  // both burn out although each marks the other
  EXPECT_FALSE(at(0, 0)->isBurning());
  EXPECT_FALSE(at(1, 0)->isBurning());
  EXPECT_FALSE(at(0, 0)->isBurntOut());
}

TEST_F(Fire, ADamagedBurningCrystalExplodes) {
  buildColumn(0, 3);
  build(-1, 1, ElemKind::FourBlock)->setLevitron(true);
  build(1, 1, ElemKind::FourBlock)->setLevitron(true);
  BoardElem* crystal = at(0, 1);
  crystal->setRoom(RoomType::Crystal);
  crystal->setDamaged(true);
  crystal->setDoors(true);  // keeps the fire from spreading, so only the blast acts
  crystal->ignite();
  board.burn();
  EXPECT_EQ(1, events.count(Ev::BlockExploded));
  EXPECT_EQ(0, events.count(Ev::ElemRubble));
  EXPECT_EQ(ElemKind::Empty, crystal->kind());
  EXPECT_TRUE(at(-1, 1)->isDamaged());
  EXPECT_TRUE(at(1, 1)->isDamaged());
  EXPECT_TRUE(at(0, 0)->isDamaged());
  EXPECT_EQ(0, board.burningCount());
}

TEST_F(Fire, CrystalBlastsChainAlongTheScan) {
  // Three crystal rooms in a row, all burning; only the first is damaged. Its blast
  // damages the second, which goes off in its own turn of the same step, and so on.
  for (int dx = -1; dx <= 1; ++dx) {
    BoardElem* e = build(dx, 0, ElemKind::FourBlock);
    e->setRoom(RoomType::Crystal);
    e->setDoors(true);
    e->setBurning(true);
  }
  at(-1, 0)->setDamaged(true);
  board.burn();
  EXPECT_EQ(3, events.count(Ev::BlockExploded));
  for (int dx = -1; dx <= 1; ++dx) EXPECT_EQ(ElemKind::Empty, at(dx, 0)->kind());
  EXPECT_EQ(0, board.burningCount());
  EXPECT_EQ(0, board.blockCount());
}

// Fire without crystals never brings a block down, and a burnt-out block is lit
// again by a burning neighbour in a later step: the counters must hold throughout.
TEST_F(Fire, ATowerKeepsBurningAndTheCountsStayTrue) {
  for (int dx = -3; dx <= 1; ++dx)
    for (int dy = 0; dy < 8; ++dy) build(dx, dy, ElemKind::FourBlock);
  at(-1, 0)->ignite();
  for (int turn = 0; turn < 40; ++turn) {
    board.burn();
    int burning = 0, blocks = 0;
    board.forEachElem([&](BoardElem& e) {
      burning += e.isBurning();
      blocks += e.isBlock();
    });
    ASSERT_EQ(burning, board.burningCount()) << turn;
    ASSERT_EQ(blocks, board.blockCount()) << turn;
  }
  EXPECT_EQ(40, board.blockCount());
  board.forEachElem([](BoardElem& e) {
    if (e.isBlock()) {
      EXPECT_TRUE(e.isDamaged());
    }
  });
  EXPECT_EQ(board.burningCount() * 100 / 40, board.fireLevel());
}

TEST_F(Fire, NoFireStepWithoutAuthority) {
  build(0, 0, ElemKind::HorizBlock)->ignite();
  build(1, 0, ElemKind::HorizBlock);
  ctx.setOnlineNotHosting(true);
  board.burn();
  EXPECT_FALSE(at(1, 0)->isBurning());
  EXPECT_FALSE(at(0, 0)->isDamaged());
}

}  // namespace
