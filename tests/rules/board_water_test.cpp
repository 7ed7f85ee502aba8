// Water under the tower: flow, pressure, settling, doors, pumps and tunnels.
#include <gtest/gtest.h>

#include <string>

#include "board_fixture.h"
#include "CapturedLog.h"
#include "logog/logog.hpp"

namespace {

class Water : public BoardFixture {
 protected:
  float maxLevel() const {
    float m = 0;
    board.forEachElem([&m](BoardElem& e) { m = std::max(m, e.waterLevel()); });
    return m;
  }
  float aboveGroundWater() const {
    float sum = 0;
    board.forEachElem([&sum](BoardElem& e) {
      if (!e.isUnderground()) sum += e.waterLevel();
    });
    return sum;
  }
  // A wall of four-blocks with doors down the hall at dx = 0.
  void doorWall() {
    for (int dy = -5; dy <= -1; ++dy) build(0, dy, ElemKind::FourBlock)->setDoors(true);
  }
  float waterWhere(bool left) const {
    float sum = 0;
    board.forEachElem([&](BoardElem& e) {
      if (e.isUnderground() && (left ? e.x() < 20 : e.x() > 20)) sum += e.waterLevel();
    });
    return sum;
  }
};

TEST_F(Water, FlowingKeepsTheMass) {
  digHall();
  at(-4, -2)->setWaterLevel(3.0f);
  at(2, -1)->setWaterLevel(1.5f);
  for (int step = 0; step < 200; ++step) {
    board.flowWater();
    ASSERT_NEAR(4.5f, undergroundWater(), 1e-3) << step;
  }
  EXPECT_EQ(0.0f, aboveGroundWater());
}

TEST_F(Water, TwoFloodsInAClosedHallSettleAtMostFull) {
  digHall();
  BoardElem* hit = at(-1, -2);
  hit->setWaterLevel(hit->waterLevel() + Board::kFloodWater);
  hit->setWaterLevel(hit->waterLevel() + Board::kFloodWater);
  board.updateWater(true);
  EXPECT_LE(maxLevel(), 1.0f);
  // The bottom row fills, what the top row gets stays in the hall.
  for (int dx = -4; dx <= 3; ++dx) EXPECT_NEAR(1.0f, at(dx, -5)->waterLevel(), 0.02f) << dx;
  EXPECT_NEAR(10.0f, undergroundWater(), 0.3f);
  EXPECT_EQ(0.0f, aboveGroundWater());
}

TEST_F(Water, AFullHallUnderPressureIsClampedWithinTheStepLimit) {
  {
    CapturedLog log;
    board.setOwnerName("Tess");
    digHall();
    board.forEachElem([](BoardElem& e) {
      if (e.isUnderground() && e.isInPlay()) e.setWaterLevel(5.0f);
    });
    board.updateWater(true);
    EXPECT_LE(maxLevel(), 1.0f);
    EXPECT_EQ(0.0f, aboveGroundWater());
    const auto lines = log.lines();
    ASSERT_EQ(2u, lines.size());
    EXPECT_NE(std::string::npos, lines[0].find("updating water FINAL for Tess"));
    const auto at = lines[1].find("finished, iter: ");
    ASSERT_NE(std::string::npos, at);
    const int steps = std::stoi(lines[1].substr(at + 16));
    EXPECT_GE(steps, 1);
    EXPECT_LE(steps, Board::kSettleLimit);
  }
}

TEST_F(Water, DoorsHoldItBack) {
  digHall();
  doorWall();
  at(-3, -3)->setWaterLevel(4.0f);
  board.updateWater(true);
  EXPECT_EQ(0.0f, waterWhere(false));
  EXPECT_GT(waterWhere(true), 3.5f);

  // Breaking one door of the wall lets it through.
  at(0, -5)->breakDoors();
  EXPECT_GT(waterWhere(false), 0.5f);
}

TEST_F(Water, EarthAndClosedJoinsHoldItBack) {
  // A shaft of caves at dx = -4 over a horizontal block: water does not go down
  // through a block without a vertical join, nor sideways into earth.
  for (int dy = -4; dy <= -2; ++dy) build(-4, dy, ElemKind::Cave);
  build(-4, -5, ElemKind::HorizBlock);
  build(-3, -5, ElemKind::Cave);
  at(-4, -2)->setWaterLevel(1.0f);
  board.updateWater(true);
  EXPECT_EQ(0.0f, at(-4, -5)->waterLevel());
  EXPECT_EQ(0.0f, at(-3, -5)->waterLevel());
  EXPECT_NEAR(1.0f, at(-4, -4)->waterLevel(), 1e-4);
}

TEST_F(Water, AVerticalBlockCarriesItDown) {
  build(-4, -2, ElemKind::Cave);
  build(-4, -3, ElemKind::VertBlock);
  build(-4, -4, ElemKind::Cave);
  at(-4, -2)->setWaterLevel(0.8f);
  board.updateWater(true);
  EXPECT_NEAR(0.8f, at(-4, -4)->waterLevel(), 1e-4);
}

TEST_F(Water, ItPutsOutFires) {
  digHall();
  BoardElem* block = build(0, -5, ElemKind::FourBlock);
  block->ignite();
  ASSERT_EQ(1, board.burningCount());
  at(0, -4)->setWaterLevel(0.5f);
  board.flowWater();
  EXPECT_GT(block->waterLevel(), 0.01f);
  EXPECT_FALSE(block->isBurning());
  EXPECT_EQ(0, board.burningCount());
}

TEST_F(Water, PumpsDrainAndTunnelsOpen) {
  build(-4, -5, ElemKind::Cave)->setWaterLevel(1.0f);
  // Earth at (-3, -5) keeps the water in place until the tunnel is dug.
  board.updateWater(true);
  EXPECT_EQ(0.0f, at(-3, -5)->waterLevel());
  at(-3, -5)->tunnel();
  EXPECT_EQ(ElemKind::Cave, at(-3, -5)->kind());
  EXPECT_GT(at(-3, -5)->waterLevel(), 0.3f);
  // Pumping takes one cell's water away; the rest spreads again.
  const float pumped = at(-4, -5)->waterLevel();
  const float before = undergroundWater();
  at(-4, -5)->pump();
  EXPECT_NEAR(before - pumped, undergroundWater(), 1e-4);
  EXPECT_NEAR(at(-3, -5)->waterLevel(), at(-4, -5)->waterLevel(), 1e-3);
}

TEST_F(Water, BreakingAbsentDoorsLetsNothingFlow) {
  build(-4, -5, ElemKind::Cave)->setWaterLevel(1.0f);
  build(-3, -5, ElemKind::Cave);
  at(-4, -5)->breakDoors();
  EXPECT_EQ(1.0f, at(-4, -5)->waterLevel());
  EXPECT_EQ(0.0f, at(-3, -5)->waterLevel());
}

TEST_F(Water, NothingFlowsWithoutAuthority) {
  digHall();
  at(0, -2)->setWaterLevel(1.0f);
  ctx.setOnlineNotHosting(true);
  board.updateWater(true);
  EXPECT_EQ(1.0f, at(0, -2)->waterLevel());
  EXPECT_EQ(0.0f, at(0, -3)->waterLevel());
}

}  // namespace
