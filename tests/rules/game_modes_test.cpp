// Each mode's director: how it is chosen and how the towers stand at the start.
#include <cstring>
#include <map>

#include "game/GameModeTable.h"
#include "game/TrialDirectors.h"
#include "game/TutorialDirector.h"
#include "game_fixture.h"

namespace {

struct Tower {
  int blocks;
  int crystals;
  int archmages;
  int housings;
  int mana;
  int dwarves;
};

struct LayoutCase {
  const char* mode;
  Tower local;
  Tower enemy;
};

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.mode; }

Tower towerOf(const Player& p) {
  Tower t{p.board()->blockCount(), 0, 0, 0, p.mana(), p.dwarves()};
  p.board()->forEachElem([&t](BoardElem& e) {
    if (e.room() == RoomType::Crystal) ++t.crystals;
    if (e.room() == RoomType::Archmage) ++t.archmages;
    if (e.room() == RoomType::Housing) ++t.housings;
  });
  return t;
}

void expectTower(const Tower& want, const Tower& got, const char* side) {
  SCOPED_TRACE(side);
  EXPECT_EQ(want.blocks, got.blocks);
  EXPECT_EQ(want.crystals, got.crystals);
  EXPECT_EQ(want.archmages, got.archmages);
  EXPECT_EQ(want.housings, got.housings);
  EXPECT_EQ(want.mana, got.mana);
  EXPECT_EQ(want.dwarves, got.dwarves);
}

class StartLayout : public GameFixture, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(StartLayout, BuildsEachTowerOfTheMode) {
  ASSERT_TRUE(start(GetParam().mode));
  expectTower(GetParam().local, towerOf(local()), "local");
  expectTower(GetParam().enemy, towerOf(enemy()), "enemy");
}

// Blocks count four-blocks, vertical and horizontal blocks (not domes).
INSTANTIATE_TEST_SUITE_P(
    Modes, StartLayout,
    ::testing::Values(
        LayoutCase{"skirmish", {1, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0}},
        LayoutCase{"tutorial", {1, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0}},
        LayoutCase{"sandbox", {9, 1, 1, 0, 1000, 1000}, {0, 0, 0, 0, 1000, 1000}},
        LayoutCase{"water_trial", {5, 0, 1, 0, 0, 0}, {3, 0, 1, 0, 150, 0}},
        LayoutCase{"fire_trial1", {3, 0, 0, 0, 0, 0}, {3, 0, 1, 0, 150, 0}},
        LayoutCase{"fire_trial2", {4, 1, 0, 0, 0, 0}, {3, 0, 1, 0, 150, 0}},
        LayoutCase{"fire_trial3", {8, 3, 0, 0, 0, 0}, {8, 3, 0, 0, 200, 0}},
        LayoutCase{"fire_trial4", {9, 7, 0, 0, 0, 0}, {9, 7, 0, 0, 300, 0}},
        LayoutCase{"dynamite_trial1", {49, 48, 1, 0, 0, 15}, {4, 0, 1, 1, 0, 150}}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.mode); });

using LayoutDetails = GameFixture;

TEST_F(LayoutDetails, SandboxTowerHasItsDoorsDomeAndCellarBlock) {
  ASSERT_TRUE(start("sandbox"));
  EXPECT_EQ(RoomType::Archmage, localAt(0, 3)->room());
  EXPECT_TRUE(localAt(0, 3)->hasDoors());
  EXPECT_EQ(RoomType::Crystal, localAt(0, 4)->room());
  EXPECT_EQ(ElemKind::Dome, localAt(2, 4)->kind());
  EXPECT_EQ(ElemKind::FourBlock, localAt(0, -1)->kind());
}

TEST_F(LayoutDetails, WaterTrialHidesTheArchmageAtTheBottomOfTheCellar) {
  ASSERT_TRUE(start("water_trial"));
  EXPECT_EQ(RoomType::Archmage, localAt(0, -5)->room());
  EXPECT_EQ(RoomType::Archmage, enemyAt(0, 2)->room());
  EXPECT_EQ(ElemKind::Empty, localAt(0, 0)->kind());
}

TEST_F(LayoutDetails, FireTrialsMixVerticalAndFourBlocks) {
  ASSERT_TRUE(start("fire_trial1"));
  EXPECT_EQ(ElemKind::VertBlock, localAt(0, 0)->kind());
  EXPECT_EQ(ElemKind::VertBlock, localAt(0, 1)->kind());
  EXPECT_EQ(ElemKind::FourBlock, localAt(0, 2)->kind());
  ASSERT_TRUE(start("fire_trial2"));
  EXPECT_EQ(RoomType::Crystal, localAt(0, 0)->room());
  EXPECT_EQ(ElemKind::FourBlock, localAt(0, 2)->kind());
  EXPECT_EQ(ElemKind::VertBlock, localAt(0, 3)->kind());
}

TEST_F(LayoutDetails, DynamiteTrialStartsWithOneFireAndAHousingBelowTheEnemy) {
  ASSERT_TRUE(start("dynamite_trial1"));
  EXPECT_EQ(1, local().board()->burningCount());
  EXPECT_TRUE(localAt(-3, 6)->isBurning());
  EXPECT_EQ(RoomType::Archmage, localAt(3, 3)->room());
  EXPECT_EQ(RoomType::Housing, enemyAt(0, -5)->room());
  EXPECT_EQ(0, enemy().board()->burningCount());
}

// ---- Choosing the director ---------------------------------------------------

TEST(GameModes, TheScenarioListNamesSevenModesThenAnEndRow) {
  const char* ids[] = {"skirmish",    "water_trial", "fire_trial1",    "fire_trial2",
                       "fire_trial3", "fire_trial4", "dynamite_trial1"};
  for (int i = 0; i < 7; ++i) {
    EXPECT_STREQ(ids[i], GameModeTable[i].modeId);
    EXPECT_NE(0u, std::strlen(GameModeTable[i].textKey));
    EXPECT_NE(nullptr, GameDirector::create(GameModeTable[i].modeId)) << ids[i];
  }
  EXPECT_STREQ("", GameModeTable[7].textKey);
  EXPECT_STREQ("", GameModeTable[7].modeId);
}

TEST(GameModes, EachIdMakesItsDirector) {
  EXPECT_NE(nullptr, dynamic_cast<GameDirector_Tutorial*>(GameDirector::create("tutorial").get()));
  EXPECT_NE(nullptr, dynamic_cast<GameDirector_Sandbox*>(GameDirector::create("sandbox").get()));
  EXPECT_NE(nullptr,
            dynamic_cast<GameDirector_FireTrial3*>(GameDirector::create("fire_trial3").get()));
  EXPECT_NE(nullptr, dynamic_cast<GameDirector_DynamiteTrial1*>(
                         GameDirector::create("dynamite_trial1").get()));
  auto skirmish = GameDirector::create("skirmish");
  EXPECT_EQ(typeid(GameDirector_Normal), typeid(*skirmish));
}

TEST(GameModes, AnUnknownIdMakesNoDirectorAndNoGame) {
  GameLog log;
  EXPECT_EQ(nullptr, GameDirector::create("chess"));
  EXPECT_FALSE(log.find("unknown game mode 'chess'").empty());
  GameContext ctx(1);
  EXPECT_FALSE(ctx.game().newGame(false, GameDirector::create("chess")));
  EXPECT_FALSE(ctx.game().started());
  EXPECT_EQ(nullptr, ctx.game().localPlayer());
}

TEST(GameModes, WhatEachModeTellsTheScreens) {
  struct Row {
    const char* mode;
    bool canEndPhase, regular, sandbox, tutorialRunning;
    const char* intro;
  };
  const Row rows[] = {
      {"skirmish", true, true, false, false, ""},
      {"water_trial", true, true, false, false, ""},
      {"sandbox", false, true, true, false, "SANDBOX_INTRO"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.mode);
    auto d = GameDirector::create(r.mode);
    EXPECT_EQ(r.canEndPhase, d->canEndPhase());
    EXPECT_EQ(r.regular, d->isRegularGame());
    EXPECT_EQ(r.sandbox, d->isSandbox());
    EXPECT_EQ(r.tutorialRunning, d->isTutorialRunning());
    EXPECT_EQ(r.intro, d->getIntroMessage());
  }
  auto tutorial = GameDirector::create("tutorial");
  EXPECT_FALSE(tutorial->isRegularGame());
  EXPECT_EQ("TUT_INITIAL", tutorial->getIntroMessage());
}

}  // namespace
