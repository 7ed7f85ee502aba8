// Choosing and placing cards: placement rules, rooms and their power, storage.
#include <algorithm>

#include "player_fixture.h"

namespace {

using PS = PlayerState;

bool contains(const std::vector<BoardElem*>& v, const BoardElem* e) {
  return std::find(v.begin(), v.end(), e) != v.end();
}

struct PlaceCase {
  const char* name;
  int card, dx, dy;
  bool allowed;
};

// A small tower: a four-block and a horizontal block on the foundation, a
// vertical block on top, a four-block below ground with a cave beside it, and
// a four-block under the foundation's left end.
class PlacementRules : public PlayerFixture, public ::testing::WithParamInterface<PlaceCase> {
 protected:
  void SetUp() override {
    block(localBoard, 0, 0);
    block(localBoard, 0, 1, ElemKind::VertBlock);
    block(localBoard, -1, 0, ElemKind::HorizBlock);
    block(localBoard, 0, -1);
    block(localBoard, 1, -1, ElemKind::Cave);
    block(localBoard, -3, -1);
  }
};

TEST_P(PlacementRules, DecideWhereACardMayGo) {
  const PlaceCase& c = GetParam();
  EXPECT_EQ(c.allowed, at(localBoard, c.dx, c.dy)->canPlace(c.card));
}

INSTANTIATE_TEST_SUITE_P(
    Structures, PlacementRules,
    ::testing::Values(
        PlaceCase{"FourBlockBesideAFourBlock", CardId::FourBlock, 1, 0, true},
        PlaceCase{"FourBlockOnAVerticalBlock", CardId::FourBlock, 0, 2, true},
        PlaceCase{"FourBlockInTheAir", CardId::FourBlock, 3, 3, false},
        PlaceCase{"FourBlockOnAnotherBlock", CardId::FourBlock, 0, 0, false},
        PlaceCase{"FourBlockInEarth", CardId::FourBlock, 0, -2, false},
        PlaceCase{"FourBlockInACave", CardId::FourBlock, 1, -1, true},
        PlaceCase{"VerticalBlockBesideOnly", CardId::VertBlock, 1, 0, false},
        PlaceCase{"VerticalBlockOnAVerticalBlock", CardId::VertBlock, 0, 2, true},
        PlaceCase{"HorizontalBlockBesideAVerticalBlock", CardId::HorizBlock, 1, 1, false},
        PlaceCase{"HorizontalBlockBesideAHorizontalBlock", CardId::HorizBlock, -2, 0, true},
        PlaceCase{"DomeOnAVerticalBlock", CardId::Dome, 0, 2, true},
        PlaceCase{"DomeOnAHorizontalBlock", CardId::Dome, -1, 1, false},
        PlaceCase{"DomeOnTheFoundation", CardId::Dome, -3, 0, false},
        PlaceCase{"FourBlockOnTheFoundation", CardId::FourBlock, -3, 0, true},
        PlaceCase{"FenceOnAFoundationBlock", CardId::Fence, 0, 0, true},
        PlaceCase{"FenceAboveTheFoundation", CardId::Fence, 0, 1, false},
        PlaceCase{"DoorsOnABlock", CardId::Doors, 0, 1, true},
        PlaceCase{"DoorsOnNothing", CardId::Doors, 3, 3, false},
        PlaceCase{"HardenABlock", CardId::Harden, 0, -1, true},
        PlaceCase{"LevitronAboveTheFoundation", CardId::Levitron, 0, 1, true},
        PlaceCase{"LevitronOnTheFoundation", CardId::Levitron, 0, 0, false},
        PlaceCase{"LevitronUnderground", CardId::Levitron, 0, -1, false},
        PlaceCase{"RoomInAFreeBlock", CardId::Crystal, 0, 1, true},
        PlaceCase{"RoomInACave", CardId::Library, 1, -1, false},
        PlaceCase{"SpellWithoutALibrary", CardId::Fireball, 0, 0, false}),
    [](const ::testing::TestParamInfo<PlaceCase>& info) { return std::string(info.param.name); });

using PlacementFlags = PlayerFixture;

TEST_F(PlacementFlags, ASecondOfTheSameIsRefused) {
  BoardElem* e = block(localBoard, 0, 0);
  e->setFence(true);
  e->setDoors(true);
  e->setHardened(true);
  EXPECT_FALSE(e->canPlace(CardId::Fence));
  EXPECT_FALSE(e->canPlace(CardId::Doors));
  EXPECT_FALSE(e->canPlace(CardId::Harden));
  BoardElem* high = block(localBoard, 0, 1);
  high->setLevitron(true);
  EXPECT_FALSE(high->canPlace(CardId::Levitron));
}

TEST_F(PlacementFlags, RoomsGoOnlyIntoWorkingFreeBlocks) {
  BoardElem* damaged = block(localBoard, 0, 0);
  damaged->setDamaged(true);
  BoardElem* wet = block(localBoard, 0, -1);
  wet->setWaterLevel(0.5f);
  BoardElem* burning = block(localBoard, 0, 1);
  burning->setBurning(true);
  BoardElem* taken = room(localBoard, 0, 2, CardId::Crystal);
  for (BoardElem* e : {damaged, wet, burning, taken})
    EXPECT_FALSE(e->canPlace(CardId::Housing)) << e->x() << "," << e->y();
}

struct PowerCase {
  int card, dy, power;
};

class RoomPower : public PlayerFixture, public ::testing::WithParamInterface<PowerCase> {};

TEST_P(RoomPower, FollowsTheDepth) {
  const PowerCase& c = GetParam();
  EXPECT_EQ(c.power, room(localBoard, 0, c.dy, c.card)->roomPower());
}

INSTANTIATE_TEST_SUITE_P(
    Depths, RoomPower,
    ::testing::Values(PowerCase{CardId::Library, 5, 6}, PowerCase{CardId::Library, 0, 1},
                      PowerCase{CardId::Library, -3, 1}, PowerCase{CardId::Housing, -5, 6},
                      PowerCase{CardId::Housing, 2, 1}, PowerCase{CardId::Housing, -1, 2},
                      PowerCase{CardId::Crystal, -2, 2}, PowerCase{CardId::Crystal, 0, 1},
                      PowerCase{CardId::Crystal, 4, 5}, PowerCase{CardId::Shield, 3, 4},
                      PowerCase{CardId::Archmage, -1, 1}, PowerCase{CardId::Archmage, 2, 3}));

TEST(RoomPowerTable, NoRoomHasNoPower) {
  for (int d : {-5, 0, 7}) EXPECT_EQ(0, BoardElem::roomPowerAt(RoomType::None, d));
}

using Storage = PlayerFixture;

TEST_F(Storage, ALibraryTakesAsManySpellsAsItsPower) {
  BoardElem* lib = room(localBoard, 0, 1, CardId::Library);  // power 2
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(lib->canPlace(CardId::Fireball));
    lib->applyCard(CardId::Fireball);
  }
  EXPECT_FALSE(lib->canPlace(CardId::Rats));
  EXPECT_EQ((std::vector<BoardElem::StoredCard>{{12, 2}, {12, 2}}), lib->storedCards());
  EXPECT_EQ(2u, events.count("onSpellPut"));
}

TEST_F(Storage, EachRoomKeepsItsOwnKindOfCard) {
  BoardElem* lib = room(localBoard, 0, 1, CardId::Library);
  BoardElem* housing = room(localBoard, 0, -2, CardId::Housing);
  BoardElem* archmage = room(localBoard, 0, 2, CardId::Archmage);
  BoardElem* crystal = room(localBoard, 0, 3, CardId::Crystal);
  EXPECT_TRUE(lib->canPlace(CardId::Rats));
  EXPECT_FALSE(lib->canPlace(CardId::Dynamite));
  EXPECT_TRUE(housing->canPlace(CardId::Dynamite));
  EXPECT_FALSE(housing->canPlace(CardId::Rats));
  EXPECT_TRUE(archmage->canPlace(CardId::Rats));
  EXPECT_TRUE(archmage->canPlace(CardId::Dynamite));
  EXPECT_FALSE(crystal->canPlace(CardId::Rats));
  session.tutorial = true;  // the archmage keeps nothing in the tutorial
  EXPECT_FALSE(archmage->canPlace(CardId::Rats));
  EXPECT_FALSE(archmage->canPlace(CardId::Dynamite));
}

TEST_F(Storage, BuildingARoomEmptiesTheBlocksOldCards) {
  BoardElem* e = block(localBoard, 0, 2);
  e->storedCards().push_back({12, 3});
  e->applyCard(CardId::Library);
  EXPECT_EQ(RoomType::Library, e->room());
  EXPECT_EQ(3, e->roomPower());
  EXPECT_TRUE(e->storedCards().empty());
  EXPECT_EQ(1u, events.count("onRoomBuilt"));
}

using ChooseCard = PlayerFixture;

struct RefusalCase {
  int card;
  const char* key;
};

class CardRefusals : public PlayerFixture, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(CardRefusals, NameWhatIsMissing) {
  session.turnNumber = 2;
  force(local, PS::CardChoose);
  EXPECT_FALSE(local.selectCard(GetParam().card));
  EXPECT_EQ(PS::CardChoose, local.state());
  EXPECT_EQ((std::vector<std::string>{GetParam().key}), messages());
}

INSTANTIATE_TEST_SUITE_P(
    EmptyBoard, CardRefusals,
    ::testing::Values(RefusalCase{CardId::FourBlock, "NO_VALID_PLACEMENT"},
                      RefusalCase{CardId::Crystal, "NO_EMPTY_ELEM"},
                      RefusalCase{CardId::Lightning, "NO_FREE_LIBRARY"},
                      RefusalCase{CardId::Firefighters, "NO_FREE_HOUSING"}));

TEST_F(ChooseCard, TheFirstTurnKeepsOneFreeBlockForTheArchmage) {
  block(localBoard, 0, 0);
  force(local, PS::CardChoose);
  EXPECT_FALSE(local.selectCard(CardId::Crystal));
  EXPECT_EQ((std::vector<std::string>{"MUST_RESERVE_BLOCK"}), messages());
  EXPECT_TRUE(local.selectCard(CardId::Archmage));
  EXPECT_EQ(PS::PlacementChoose, local.state());

  block(localBoard, 0, 1);  // a second free block
  force(local, PS::CardChoose);
  EXPECT_TRUE(local.selectCard(CardId::Crystal));
}

TEST_F(ChooseCard, PlacingBuildsTakesTheCardFromTheHandAndGoesBack) {
  block(localBoard, 0, 0);
  local.setCards({CardId::Dome, CardId::VertBlock, CardId::VertBlock});
  force(local, PS::CardChoose);
  ASSERT_TRUE(local.selectCard(CardId::VertBlock));
  EXPECT_EQ(local.placementOptions(CardId::VertBlock), local.options());
  BoardElem* above = at(localBoard, 0, 1);
  ASSERT_TRUE(contains(local.options(), above));
  EXPECT_TRUE(local.selectTarget(above));
  EXPECT_EQ(ElemKind::VertBlock, above->kind());
  EXPECT_EQ((std::vector<int>{CardId::Dome, CardId::VertBlock}), local.cards());
  EXPECT_EQ(PS::CardChoose, local.state());
  EXPECT_EQ(1u, events.count("onBlockBuilt"));
}

TEST_F(ChooseCard, AnElementNotOnOfferIsIgnored) {
  block(localBoard, 0, 0);
  local.setCards({CardId::Harden});
  force(local, PS::CardChoose);
  ASSERT_TRUE(local.selectCard(CardId::Harden));
  EXPECT_FALSE(local.selectTarget(at(localBoard, 5, 5)));
  EXPECT_FALSE(local.selectTarget(nullptr));
  EXPECT_EQ(PS::PlacementChoose, local.state());
  EXPECT_EQ(ElemKind::Empty, at(localBoard, 5, 5)->kind());
}

TEST_F(ChooseCard, PlacingACardMissingFromTheHandIsLogged) {
  LogCapture log;
  block(localBoard, 0, 0);
  force(local, PS::CardChoose);
  ASSERT_TRUE(local.selectCard(CardId::Doors));
  local.selectTarget(at(localBoard, 0, 0));
  EXPECT_TRUE(at(localBoard, 0, 0)->hasDoors());
  EXPECT_TRUE(log.has("failed to remove card from curcardlist"));
}

TEST_F(ChooseCard, RepairersWorkOnTheSpotWhenThePlayerCanPay) {
  BoardElem* hurt = block(localBoard, 0, 0);
  hurt->setDamaged(true);
  BoardElem* housing = room(localBoard, 0, -2, CardId::Housing);
  local.setDwarves(2);
  local.setCards({CardId::Repairers});
  force(local, PS::CardChoose);
  ASSERT_TRUE(local.selectCard(CardId::Repairers));
  EXPECT_EQ((std::vector<BoardElem*>{housing, hurt}), local.options());
  local.selectTarget(hurt);
  EXPECT_FALSE(hurt->isDamaged());
  EXPECT_TRUE(housing->storedCards().empty());
  EXPECT_EQ(0, local.dwarves());
  EXPECT_EQ(PS::CardChoose, local.state());
}

TEST_F(ChooseCard, RepairersGoIntoAHousingWhenThePlayerCannotPay) {
  block(localBoard, 0, 0)->setDamaged(true);
  BoardElem* housing = room(localBoard, 0, -2, CardId::Housing);
  local.setDwarves(1);
  force(local, PS::CardChoose);
  ASSERT_TRUE(local.selectCard(CardId::Repairers));
  EXPECT_EQ((std::vector<BoardElem*>{housing}), local.options());
  local.selectTarget(housing);
  EXPECT_EQ((std::vector<BoardElem::StoredCard>{{CardId::Repairers, 3}}), housing->storedCards());
  EXPECT_EQ(1, local.dwarves());
}

}  // namespace
