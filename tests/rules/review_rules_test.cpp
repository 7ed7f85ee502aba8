// Cross-checks of rules that several parts of the code share: where the cards
// aim by themselves, the exact numbers of one water step, what the sandbox
// makes certain, and which crews work on the spot.
#include <functional>

#include "board_fixture.h"
#include "player_fixture.h"

namespace {

// ---- Automatic targets -------------------------------------------------------

// Each case lays out blocks of which exactly one may be picked by the card;
// the pick must find that one whatever the generator says.
struct AutoPickCase {
  const char* name;
  int card;
  // Prepares the enemy board; returns the blocks the card must aim at.
  std::function<std::vector<BoardElem*>(Board&)> setup;
};

class AutoPick : public PlayerFixture, public ::testing::WithParamInterface<AutoPickCase> {
 protected:
  AutoPick() { ctx.setRng(&draws); }
  SequenceRng draws{{0, 1, 2, 3, 4, 5, 6, 7}};
};

TEST_P(AutoPick, FindsTheOnlyBlockTheCardMayHit) {
  const AutoPickCase& c = GetParam();
  const std::vector<BoardElem*> expected = c.setup(enemyBoard);
  local.setMana(100);
  local.queueSpell(c.card, 1, &enemy, {});
  ASSERT_EQ(1u, local.spellQueue().size());
  EXPECT_EQ(expected, local.spellQueue().back().targets);
}

BoardElem* put(Board& b, int dx, int dy, ElemKind k = ElemKind::FourBlock) {
  BoardElem* e = b.cellAtCentred(dx, dy);
  e->setKind(k);
  return e;
}
BoardElem* burning(BoardElem* e) {
  e->setBurning(true);
  return e;
}
BoardElem* wet(BoardElem* e) {
  e->setWaterLevel(0.5f);
  return e;
}

INSTANTIATE_TEST_SUITE_P(
    Cards, AutoPick,
    ::testing::Values(
        AutoPickCase{"FireballTakesABurningWetBlockAboveGround", CardId::Fireball,
                     [](Board& b) {
                       put(b, 0, -2);  // underground: never
                       return std::vector<BoardElem*>{wet(burning(put(b, 0, 0)))};
                     }},
        AutoPickCase{"RatsTakeABurningWetBlockUnderground", CardId::Rats,
                     [](Board& b) {
                       put(b, 0, 0);  // above ground: never
                       return std::vector<BoardElem*>{wet(burning(put(b, 0, -3)))};
                     }},
        AutoPickCase{"FireTakesOnlyADryBlockThatIsNotAlight", CardId::Fire,
                     [](Board& b) {
                       burning(put(b, 0, 0));
                       wet(put(b, 1, 0));
                       wet(put(b, 0, -2));
                       return std::vector<BoardElem*>{put(b, 1, -2)};
                     }},
        AutoPickCase{"DisturbanceTakesACrystal", CardId::Disturbance,
                     [](Board& b) {
                       put(b, 0, 0)->setRoom(RoomType::Library);
                       BoardElem* crystal = put(b, 0, 1);
                       crystal->setRoom(RoomType::Crystal);
                       return std::vector<BoardElem*>{crystal};
                     }},
        AutoPickCase{"DynamiteTakesTheGroundRowAnywhereAlongIt", CardId::Dynamite,
                     [](Board& b) {
                       put(b, 0, 1);
                       put(b, 0, -1);
                       return std::vector<BoardElem*>{put(b, -9, 0)};
                     }},
        AutoPickCase{"LightningTakesTheHighestRowOnly", CardId::Lightning,
                     [](Board& b) {
                       put(b, 0, 0);
                       put(b, 0, 1);
                       return std::vector<BoardElem*>{put(b, 0, 2)};
                     }},
        AutoPickCase{"EarthquakeAimsAtTheCentre", CardId::Earthquake,
                     [](Board& b) { return std::vector<BoardElem*>{b.cellAt(20, 20)}; }},
        AutoPickCase{"RainFallsOnHallTopCavesFourAndVerticalBlocks", CardId::Rain,
                     [](Board& b) {
                       BoardElem* cave = put(b, -3, -1, ElemKind::Cave);
                       BoardElem* four = put(b, -1, -1);
                       put(b, 0, -1, ElemKind::HorizBlock);  // no way down for rain
                       BoardElem* vert = put(b, 1, -1, ElemKind::VertBlock);
                       put(b, 0, -2, ElemKind::Cave);  // below the hall top
                       return std::vector<BoardElem*>{cave, four, vert};
                     }}),
    [](const ::testing::TestParamInfo<AutoPickCase>& info) { return std::string(info.param.name); });

// ---- One water step ----------------------------------------------------------

// Two caves in solid earth; the step's flows follow the model's formulas
// (stable lower mass, a quarter of the difference sideways, pressure upwards).
struct WaterStepCase {
  const char* name;
  int dx2, dy2;         // the second cave, relative to the first at (0, -3)
  float first, second;  // levels before
  float firstAfter, secondAfter;
};

class WaterStep : public BoardFixture, public ::testing::WithParamInterface<WaterStepCase> {};

TEST_P(WaterStep, MovesWhatTheFormulasSay) {
  const WaterStepCase& c = GetParam();
  BoardElem* a = build(0, -3, ElemKind::Cave);
  BoardElem* b = build(c.dx2, -3 + c.dy2, ElemKind::Cave);
  a->setWaterLevel(c.first);
  b->setWaterLevel(c.second);
  board.flowWater();
  EXPECT_NEAR(c.firstAfter, a->waterLevel(), 1e-5f);
  EXPECT_NEAR(c.secondAfter, b->waterLevel(), 1e-5f);
}

INSTANTIATE_TEST_SUITE_P(
    Flows, WaterStep,
    ::testing::Values(
        // Down: t = 1.5 lies below 2.02, so the lower cell holds (1 + 1.5 * 0.02) / 1.02.
        WaterStepCase{"DownIntoAnEmptyCell", 0, -1, 1.5f, 0.0f, 1.5f - 1.03f / 1.02f,
                      1.03f / 1.02f},
        // Down: a total of 1.0 or less goes down whole.
        WaterStepCase{"DownWhenItAllFits", 0, -1, 0.6f, 0.3f, 0.0f, 0.9f},
        // Sideways: a quarter of the difference.
        WaterStepCase{"SidewaysToTheRight", 1, 0, 1.0f, 0.2f, 0.8f, 0.4f},
        // Up: t = 2.5 is 2.02 or more, the lower keeps (2.5 + 0.02) / 2.
        WaterStepCase{"UpUnderPressure", 0, 1, 2.5f, 0.0f, 1.26f, 1.24f},
        // Up: nothing rises while the lower cell is not over-full.
        WaterStepCase{"NotUpWithoutPressure", 0, 1, 0.9f, 0.0f, 0.9f, 0.0f}),
    [](const ::testing::TestParamInfo<WaterStepCase>& info) {
      return std::string(info.param.name);
    });

// ---- The sandbox makes the coin certain ----------------------------------------

class SandboxCoins : public PlayerFixture {
 protected:
  SandboxCoins() {
    ctx.setRng(&tails);
    session.isSandbox = true;
    local.setMana(100);
  }
  SequenceRng tails{{1}};
};

TEST_F(SandboxCoins, RayAndDisturbanceHitEvenOnTails) {
  BoardElem* hit = block(enemyBoard, 0, 0);
  BoardElem* crystal = block(enemyBoard, 0, 3);
  crystal->setRoom(RoomType::Crystal);
  local.queueSpell(CardId::Ray, 1, &enemy, {hit});
  local.queueSpell(CardId::Disturbance, 1, &enemy, {});
  local.processSpellQueue();
  EXPECT_TRUE(hit->isDamaged());
  EXPECT_EQ(ElemKind::Empty, crystal->kind());  // exploded
}

TEST_F(SandboxCoins, OutsideTheSandboxTailsSpareThem) {
  session.isSandbox = false;
  BoardElem* hit = block(enemyBoard, 0, 0);
  BoardElem* crystal = block(enemyBoard, 0, 3);
  crystal->setRoom(RoomType::Crystal);
  local.queueSpell(CardId::Ray, 1, &enemy, {hit});
  local.queueSpell(CardId::Disturbance, 1, &enemy, {});
  local.processSpellQueue();
  EXPECT_FALSE(hit->isDamaged());
  EXPECT_TRUE(crystal->isBlock());
  EXPECT_TRUE(crystal->isRevealed());
}

// ---- Crews sent on the spot ------------------------------------------------------

struct OnTheSpotCase {
  const char* name;
  int card;
  int dwarves;
  std::function<BoardElem*(Board&)> target;  // a valid target of the crew
  std::function<bool(const BoardElem&)> worked;
  bool onTheSpot;
};

class OnTheSpot : public PlayerFixture, public ::testing::WithParamInterface<OnTheSpotCase> {};

TEST_P(OnTheSpot, WorksWhenThePlayerCanPayElseNeedsAHousing) {
  const OnTheSpotCase& c = GetParam();
  BoardElem* e = c.target(localBoard);
  local.setDwarves(c.dwarves);
  local.setCards({c.card});
  EXPECT_EQ(c.onTheSpot, e->canPlace(c.card));
  if (!c.onTheSpot) return;
  ASSERT_TRUE(local.selectCard(c.card));
  ASSERT_TRUE(local.selectTarget(e));
  EXPECT_TRUE(c.worked(*e));
  EXPECT_EQ(c.dwarves - CardTable::getCard(c.card)->dwarvesCost, local.dwarves());
  EXPECT_TRUE(local.cards().empty());
  EXPECT_EQ(PlayerState::CardChoose, local.state());
}

BoardElem* damagedBlock(Board& b) {
  BoardElem* e = put(b, 0, 0);
  e->setDamaged(true);
  return e;
}
BoardElem* burningBlock(Board& b) { return burning(put(b, 0, 0)); }
BoardElem* floodedCave(Board& b) {
  BoardElem* e = put(b, 0, -5, ElemKind::Cave);
  e->setWaterLevel(0.3f);
  return e;
}
BoardElem* earthBesideACave(Board& b) {
  put(b, 0, -3, ElemKind::Cave);
  return b.cellAtCentred(1, -3);
}

INSTANTIATE_TEST_SUITE_P(
    Crews, OnTheSpot,
    ::testing::Values(
        OnTheSpotCase{"TunnelersAreFree", CardId::Tunnelers, 0, earthBesideACave,
                      [](const BoardElem& e) { return e.kind() == ElemKind::Cave; }, true},
        OnTheSpotCase{"RepairersWithTwoDwarves", CardId::Repairers, 2, damagedBlock,
                      [](const BoardElem& e) { return !e.isDamaged(); }, true},
        OnTheSpotCase{"RepairersWithOneDwarf", CardId::Repairers, 1, damagedBlock, nullptr,
                      false},
        OnTheSpotCase{"FirefightersWithThreeDwarves", CardId::Firefighters, 3, burningBlock,
                      [](const BoardElem& e) { return !e.isBurning(); }, true},
        OnTheSpotCase{"FirefightersWithTwoDwarves", CardId::Firefighters, 2, burningBlock,
                      nullptr, false},
        OnTheSpotCase{"PumpersWithTwoDwarves", CardId::Pumpers, 2, floodedCave,
                      [](const BoardElem& e) { return e.waterLevel() == 0.0f; }, true}),
    [](const ::testing::TestParamInfo<OnTheSpotCase>& info) {
      return std::string(info.param.name);
    });

}  // namespace
