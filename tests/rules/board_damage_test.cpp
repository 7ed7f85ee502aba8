// Damage, destruction, explosions, collapse and the crews' element work.
#include <gtest/gtest.h>

#include <algorithm>

#include "board_fixture.h"

namespace {

using Ev = RecordingBoardObserver::Event;

struct DamageCase {
  const char* name;
  int dy;  // 0 above ground, -2 underground
  bool hardened, damaged;
  // expected afterwards
  ElemKind kind;
  bool hardenedAfter, damagedAfter;
};

class DamageLadder : public BoardFixture, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamageLadder, OneHitMovesOneRungDown) {
  const DamageCase& c = GetParam();
  BoardElem* e = build(0, c.dy, ElemKind::FourBlock);
  e->setHardened(c.hardened);
  e->setDamaged(c.damaged);
  e->damage();
  EXPECT_EQ(c.kind, e->kind());
  EXPECT_EQ(c.hardenedAfter, e->isHardened());
  EXPECT_EQ(c.damagedAfter, e->isDamaged());
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, DamageLadder,
    ::testing::Values(
        DamageCase{"HardenedLosesHardening", 0, true, false, ElemKind::FourBlock, false, false},
        DamageCase{"HardenedAndDamagedOnlyLosesHardening", 0, true, true, ElemKind::FourBlock,
                   false, true},
        DamageCase{"WholeBecomesDamaged", 0, false, false, ElemKind::FourBlock, false, true},
        DamageCase{"DamagedAboveGroundLeavesAir", 0, false, true, ElemKind::Empty, false, false},
        DamageCase{"DamagedUndergroundLeavesACave", -2, false, true, ElemKind::Cave, false,
                   false}),
    [](const ::testing::TestParamInfo<DamageCase>& info) { return std::string(info.param.name); });

using ElemRules = BoardFixture;

TEST_F(ElemRules, DamageLeavesWhatIsNoBlockAlone) {
  BoardElem* dome = build(0, 0, ElemKind::Dome);
  BoardElem* cave = build(0, -2, ElemKind::Cave);
  dome->damage();
  cave->damage();
  EXPECT_EQ(ElemKind::Dome, dome->kind());
  EXPECT_FALSE(dome->isDamaged());
  EXPECT_EQ(ElemKind::Cave, cave->kind());
}

TEST_F(ElemRules, DestroyClearsEveryFlagButKeepsUndergroundWater) {
  digHall();
  BoardElem* e = build(0, -5, ElemKind::FourBlock);  // bottom row: nowhere to drain
  e->setRoom(RoomType::Library);
  e->setStoredCards({{12, 2}});
  e->setLevitron(true);
  e->setDoors(true);
  e->setFence(true);
  e->setDeratized(true);
  e->setRevealed(true);
  e->setHardened(true);
  e->setWaterLevel(0.4f);
  e->ignite();  // hardened: only loses the hardening
  e->setHardened(true);
  e->destroy();
  EXPECT_EQ(ElemKind::Cave, e->kind());
  EXPECT_EQ(RoomType::None, e->room());
  EXPECT_TRUE(e->storedCards().empty());
  EXPECT_FALSE(e->hasLevitron() || e->hasDoors() || e->hasFence() || e->isDeratized() ||
               e->isRevealed() || e->isHardened() || e->isBurning());
  EXPECT_NEAR(0.4f, undergroundWater(), 1e-5);
}

TEST_F(ElemRules, ExplosionDestroysAndDamagesTheFourNeighbours) {
  buildColumn(0, 3);
  build(-1, 1, ElemKind::FourBlock)->setLevitron(true);
  build(1, 1, ElemKind::FourBlock)->setLevitron(true);
  BoardElem* centre = at(0, 1);
  centre->explode();
  EXPECT_EQ(1, events.count(Ev::BlockExploded));
  EXPECT_EQ(ElemKind::Empty, centre->kind());
  EXPECT_TRUE(at(-1, 1)->isDamaged());
  EXPECT_TRUE(at(1, 1)->isDamaged());
  EXPECT_TRUE(at(0, 0)->isDamaged());
  // The block above lost its support: it collapsed before the blast reached it.
  EXPECT_EQ(ElemKind::Empty, at(0, 2)->kind());
  EXPECT_EQ(1, events.count(Ev::BlockCollapsed));
}

TEST_F(ElemRules, AHardenedBlockShrugsOffOneExplosion) {
  buildColumn(0, 2);
  BoardElem* e = at(0, 1);
  e->setHardened(true);
  e->explode();
  EXPECT_EQ(ElemKind::FourBlock, e->kind());
  EXPECT_FALSE(e->isHardened());
  EXPECT_TRUE(e->isDamaged());
  EXPECT_FALSE(at(0, 0)->isDamaged());
  EXPECT_EQ(0, events.count(Ev::BlockExploded));
}

TEST_F(ElemRules, RatsEatTheTrapFirst) {
  BoardElem* e = build(0, 0, ElemKind::FourBlock);
  e->setRatTrap();
  e->ratsAttack();
  EXPECT_FALSE(e->isDeratized());
  EXPECT_FALSE(e->isDamaged());
  e->ratsAttack();
  EXPECT_TRUE(e->isDamaged());
}

TEST_F(ElemRules, DomeAboveIsTakenAway) {
  buildColumn(0, 1);
  build(0, 1, ElemKind::Dome);
  at(0, 0)->destroyDomeAbove();
  EXPECT_EQ(ElemKind::Empty, at(0, 1)->kind());
  EXPECT_EQ(ElemKind::FourBlock, at(0, 0)->kind());
  board.cellAt(3, 39)->destroyDomeAbove();  // top row: nothing above, nothing happens
}

TEST_F(ElemRules, BreakingDoorsTellsTheHubOnlyWhenThereWereDoors) {
  BoardElem* e = build(0, 0, ElemKind::FourBlock);
  e->breakDoors();
  EXPECT_EQ(0, events.count(Ev::DoorDestroyed));
  e->setDoors(true);
  e->breakDoors();
  EXPECT_FALSE(e->hasDoors());
  EXPECT_EQ(1, events.count(Ev::DoorDestroyed));
}

TEST_F(ElemRules, NothingChangesWithoutAuthorityButRevealing) {
  buildColumn(0, 2);
  BoardElem* e = at(0, 1);
  ctx.setOnlineNotHosting(true);
  e->damage();
  e->ignite();
  e->explode();
  e->setRatTrap();
  at(0, 0)->destroy();
  board.earthquake();
  EXPECT_FALSE(e->isDamaged() || e->isBurning() || e->isDeratized());
  EXPECT_EQ(ElemKind::FourBlock, at(0, 0)->kind());
  e->reveal();
  EXPECT_TRUE(e->isRevealed());
  e->hide();
  EXPECT_FALSE(e->isRevealed());
  // Raw setters stay open to replication.
  e->setKind(ElemKind::VertBlock);
  EXPECT_EQ(ElemKind::VertBlock, e->kind());
}

TEST_F(ElemRules, EarthquakeShakesOnlyFoundationBlocksOnACoin) {
  SequenceRng coins({0, 1});  // heads, tails, heads, ...
  ctx.setRng(&coins);
  for (int dx = -3; dx <= 1; ++dx) build(dx, 0, ElemKind::FourBlock);
  build(2, 0, ElemKind::FourBlock)->setLevitron(true);  // ground row, off the foundation
  build(-3, 1, ElemKind::FourBlock);
  board.earthquake();
  EXPECT_EQ(5, coins.drawn());
  EXPECT_TRUE(at(-3, 0)->isDamaged());
  EXPECT_FALSE(at(-2, 0)->isDamaged());
  EXPECT_TRUE(at(-1, 0)->isDamaged());
  EXPECT_FALSE(at(0, 0)->isDamaged());
  EXPECT_TRUE(at(1, 0)->isDamaged());
  EXPECT_FALSE(at(2, 0)->isDamaged());
  EXPECT_FALSE(at(-3, 1)->isDamaged());
}

using Support = BoardFixture;

TEST_F(Support, HorizontalBlockFallsWithItsOnlySideSupport) {
  buildColumn(1, 2);
  build(2, 1, ElemKind::FourBlock);   // off the foundation, held sideways
  build(3, 1, ElemKind::HorizBlock);  // held only by its left neighbour
  build(2, 2, ElemKind::VertBlock);   // stands on the held four-block
  at(1, 1)->destroy();
  EXPECT_EQ(ElemKind::Empty, at(2, 1)->kind());
  EXPECT_EQ(ElemKind::Empty, at(3, 1)->kind());
  EXPECT_EQ(ElemKind::Empty, at(2, 2)->kind());
  EXPECT_EQ(ElemKind::FourBlock, at(1, 0)->kind());
  EXPECT_EQ(3, events.count(Ev::BlockCollapsed));
  EXPECT_EQ(1, board.blockCount());
}

TEST_F(Support, ALevitronHoldsItsBlockAndWhatItCarries) {
  buildColumn(1, 2);
  build(2, 1, ElemKind::FourBlock)->setLevitron(true);
  build(3, 1, ElemKind::HorizBlock);
  build(2, 2, ElemKind::VertBlock);
  at(1, 1)->destroy();
  EXPECT_EQ(ElemKind::FourBlock, at(2, 1)->kind());
  EXPECT_EQ(ElemKind::HorizBlock, at(3, 1)->kind());
  EXPECT_EQ(ElemKind::VertBlock, at(2, 2)->kind());
  EXPECT_EQ(0, events.count(Ev::BlockCollapsed));
}

TEST_F(Support, ColumnAndDomeFallWhenTheirFoundationGoes) {
  build(0, 0, ElemKind::FourBlock);
  for (int dy = 1; dy <= 4; ++dy) build(0, dy, ElemKind::VertBlock);
  build(0, 5, ElemKind::Dome);
  at(0, 0)->destroy();
  for (int dy = 0; dy <= 5; ++dy) EXPECT_EQ(ElemKind::Empty, at(0, dy)->kind()) << dy;
  const auto fallen = events.recordsOf(Ev::BlockCollapsed);
  ASSERT_EQ(5u, fallen.size());
  // Told while the element still shows what falls.
  EXPECT_EQ(static_cast<int>(ElemKind::VertBlock), fallen[0].kind);
  EXPECT_EQ(static_cast<int>(ElemKind::Dome), fallen[4].kind);
  EXPECT_EQ(0, board.blockCount());
}

TEST_F(Support, JoinsDecideWhatHolds) {
  struct Case {
    const char* name;
    ElemKind below, above;  // above stands on `below`, which stands on the foundation
    bool aboveStays;
  };
  for (Case c : {Case{"vertical on four", ElemKind::FourBlock, ElemKind::VertBlock, true},
                 Case{"four on vertical", ElemKind::VertBlock, ElemKind::FourBlock, true},
                 Case{"horizontal on four", ElemKind::FourBlock, ElemKind::HorizBlock, false},
                 Case{"four on horizontal", ElemKind::HorizBlock, ElemKind::FourBlock, false},
                 Case{"dome on vertical", ElemKind::VertBlock, ElemKind::Dome, true},
                 Case{"dome on horizontal", ElemKind::HorizBlock, ElemKind::Dome, false}}) {
    build(0, 0, c.below);
    build(0, 1, c.above);
    board.supportPass();
    EXPECT_EQ(c.aboveStays, at(0, 1)->kind() == c.above) << c.name;
    at(0, 0)->setKind(ElemKind::Empty);
    at(0, 1)->setKind(ElemKind::Empty);
  }
}

TEST_F(Support, ABlockHangingBelowAHeldBlockStays) {
  build(3, 5, ElemKind::FourBlock)->setLevitron(true);
  build(3, 4, ElemKind::VertBlock);
  build(4, 0, ElemKind::FourBlock);  // ground row off the foundation, nothing holds it
  board.supportPass();
  EXPECT_EQ(ElemKind::VertBlock, at(3, 4)->kind());
  EXPECT_EQ(ElemKind::Empty, at(4, 0)->kind());
}

using Pickers = BoardFixture;

TEST_F(Pickers, RandomBlockHonoursItsFilters) {
  BoardElem* dry = build(0, 0, ElemKind::FourBlock);
  BoardElem* burning = build(0, 1, ElemKind::FourBlock);
  burning->ignite();
  BoardElem* wet = build(0, -2, ElemKind::FourBlock);
  wet->setWaterLevel(0.5f);
  struct Case {
    bool above, under, burningOk, wetOk;
    std::vector<BoardElem*> allowed;
  };
  for (const Case& c : {Case{true, false, false, false, {dry}},
                        Case{true, false, true, false, {dry, burning}},
                        Case{false, true, false, false, {}},
                        Case{false, true, false, true, {wet}},
                        Case{true, true, true, true, {dry, burning, wet}}}) {
    for (int i = 0; i < 12; ++i) {
      BoardElem* got = board.randomBlock(c.above, c.under, c.burningOk, c.wetOk);
      if (c.allowed.empty()) {
        EXPECT_EQ(nullptr, got);
      } else {
        EXPECT_NE(c.allowed.end(), std::find(c.allowed.begin(), c.allowed.end(), got));
      }
    }
  }
}

TEST_F(Pickers, CrystalGroundAndHallTopPickers) {
  EXPECT_EQ(nullptr, board.randomCrystalBlock());
  EXPECT_EQ(nullptr, board.randomGroundBlock());
  buildColumn(0, 2);
  at(0, 1)->setRoom(RoomType::Crystal);
  EXPECT_EQ(at(0, 1), board.randomCrystalBlock());
  EXPECT_EQ(at(0, 0), board.randomGroundBlock());
  build(-3, -1, ElemKind::Cave);
  build(-2, -1, ElemKind::HorizBlock);
  build(-1, -1, ElemKind::VertBlock);
  build(0, -1, ElemKind::FourBlock);
  const auto hall = board.hallTopCells();
  ASSERT_EQ(3u, hall.size());
  EXPECT_EQ(at(-3, -1), hall[0]);
  EXPECT_EQ(at(-1, -1), hall[1]);
  EXPECT_EQ(at(0, -1), hall[2]);
}

}  // namespace
