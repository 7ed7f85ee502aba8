// The hands each mode deals.
#include <algorithm>
#include <map>

#include "CardTable.h"
#include "game_fixture.h"

namespace {

using Hand = std::vector<int>;

CardCategory categoryOf(int id) { return CardTable::getCard(id)->category; }
bool isSpellOrCrew(int id) {
  return categoryOf(id) == CardCategory::Spell || categoryOf(id) == CardCategory::Crew;
}

class GeneratedHands : public GameFixture {
 protected:
  Hand dealt(const char* mode, Player& p, int turn) {
    auto d = GameDirector::create(mode);
    return d->getCardList(p, turn);
  }
};

TEST_F(GeneratedHands, SkirmishFirstHandLeadsWithArchmageAndFourBlock) {
  ASSERT_TRUE(start("skirmish"));
  for (int round = 0; round < 200; ++round) {
    const Hand h = dealt("skirmish", round % 2 ? local() : enemy(), 0);
    ASSERT_GE(h.size(), 13u);
    ASSERT_LE(h.size(), 15u);
    EXPECT_EQ(CardId::Archmage, h[0]);
    EXPECT_EQ(CardId::FourBlock, h[1]);
    for (int i = 2; i < 7; ++i) EXPECT_LE(h[i], CardId::HorizBlock);
    EXPECT_EQ(CardId::Crystal, h[7]);
    EXPECT_EQ(CardId::Housing, h[8]);
    EXPECT_EQ(CardCategory::Room, categoryOf(h[9]));
    const std::size_t tunnelers = h.size() - 12;
    for (std::size_t i = 10; i < 10 + tunnelers; ++i) EXPECT_EQ(CardId::Tunnelers, h[i]);
    // The last two are crews that may be dealt in the first turn (never DYNAMITE).
    for (std::size_t i = h.size() - 2; i < h.size(); ++i) {
      EXPECT_EQ(CardCategory::Crew, categoryOf(h[i]));
      EXPECT_EQ(0, CardTable::getCard(h[i])->minTurn);
    }
  }
}

TEST_F(GeneratedHands, SkirmishHandsGrowByOneCardATurnUpToFifteen) {
  ASSERT_TRUE(start("skirmish"));
  const std::map<int, std::size_t> sizes{{1, 4}, {2, 5}, {5, 8}, {11, 14}, {12, 15}, {30, 15}};
  for (const auto& [turn, size] : sizes) {
    for (int round = 0; round < 20; ++round) {
      const Hand h = dealt("skirmish", local(), turn);
      ASSERT_EQ(size, h.size()) << "turn " << turn;
      EXPECT_LE(h[0], CardId::HorizBlock);
      EXPECT_EQ(CardCategory::Structure, categoryOf(h[1]));
      EXPECT_EQ(CardCategory::Room, categoryOf(h[2]));
      EXPECT_EQ(CardCategory::Crew, categoryOf(h[3]));
      for (std::size_t i = 4; i < h.size(); ++i) {
        EXPECT_TRUE(isSpellOrCrew(h[i]));
        EXPECT_LE(CardTable::getCard(h[i])->minTurn, turn) << "card " << h[i] << " turn " << turn;
      }
    }
  }
}

TEST_F(GeneratedHands, SandboxDealsTwoStructuresARoomAndOneSpellOrCrewPerTurn) {
  ASSERT_TRUE(start("sandbox"));
  const Hand third = dealt("sandbox", local(), 3);
  ASSERT_EQ(6u, third.size());
  EXPECT_EQ(CardCategory::Structure, categoryOf(third[0]));
  EXPECT_EQ(CardCategory::Structure, categoryOf(third[1]));
  EXPECT_EQ(CardCategory::Room, categoryOf(third[2]));
  for (int i = 3; i < 6; ++i) EXPECT_TRUE(isSpellOrCrew(third[i]));
  EXPECT_EQ(15u, dealt("sandbox", local(), 12).size());
  EXPECT_EQ(CardId::Archmage, dealt("sandbox", local(), 0)[0]);
}

TEST_F(GeneratedHands, TheSameSeedDealsTheSameHands) {
  GameContext a(99), b(99);
  a.game().newGame(false, GameDirector::create("skirmish"));
  b.game().newGame(false, GameDirector::create("skirmish"));
  EXPECT_EQ(a.game().localPlayer()->cards(), b.game().localPlayer()->cards());
  EXPECT_EQ(a.game().enemyPlayer()->cards(), b.game().enemyPlayer()->cards());
  EXPECT_EQ(a.game().getCardList(*a.game().localPlayer()),
            b.game().getCardList(*b.game().localPlayer()));
}

// ---- Fixed hands of the trials ---------------------------------------------

struct FixedHand {
  const char* mode;
  bool local;
  int turn;
  Hand cards;
};

void PrintTo(const FixedHand& c, std::ostream* os) {
  *os << c.mode << (c.local ? " local" : " enemy") << " turn " << c.turn;
}

class TrialHands : public GameFixture, public ::testing::WithParamInterface<FixedHand> {};

TEST_P(TrialHands, DealTheScriptedCards) {
  const FixedHand& c = GetParam();
  ASSERT_TRUE(start(c.mode));
  EXPECT_EQ(c.cards, game().director()->getCardList(c.local ? local() : enemy(), c.turn));
}

INSTANTIATE_TEST_SUITE_P(
    Trials, TrialHands,
    ::testing::Values(
        FixedHand{"water_trial", true, 0, {11, 25, 25, 5, 5, 5, 5, 5, 5}},
        FixedHand{"water_trial", true, 1, {11, 25, 25}},
        FixedHand{"water_trial", true, 2, {25, 11}},
        FixedHand{"water_trial", true, 10, {11, 25}},
        FixedHand{"water_trial", false, 0, {31, 8, 0, 0, 0, 0, 0, 18}},
        FixedHand{"water_trial", false, 7, {23}},
        FixedHand{"fire_trial1", true, 0, {31, 11, 5, 27}},
        FixedHand{"fire_trial1", true, 4, {1, 28, 27, 26, 11}},
        FixedHand{"fire_trial1", true, 5, {1, 28, 27, 5, 26, 11}},
        FixedHand{"fire_trial1", true, 8, {1, 11, 28, 27, 26}},
        FixedHand{"fire_trial1", true, 9, {1, 11, 28, 27, 26, 5}},
        FixedHand{"fire_trial1", true, 10, {1, 11, 28, 27, 26}},
        FixedHand{"fire_trial1", false, 0, {31, 8, 0, 0, 0, 0, 0, 20}},
        FixedHand{"fire_trial1", false, 4, {20}},
        FixedHand{"fire_trial1", false, 5, {20, 20}},
        FixedHand{"fire_trial1", false, 10, {20, 20, 20}},
        FixedHand{"fire_trial2", true, 1, {1, 6, 28, 27, 26, 11}},
        FixedHand{"fire_trial2", true, 3, {1, 28, 27, 26, 11}},
        FixedHand{"fire_trial2", true, 4, {1, 28, 6, 27, 26, 11}},
        FixedHand{"fire_trial2", true, 7, {1, 11, 28, 27, 26}},
        FixedHand{"fire_trial2", true, 8, {1, 11, 6, 28, 27, 26}},
        FixedHand{"fire_trial3", true, 1, {1, 6, 28, 27, 26, 11}},
        FixedHand{"fire_trial3", true, 8, {1, 11, 6, 28, 27, 26}},
        FixedHand{"fire_trial3", false, 9, {20, 20, 20}},
        FixedHand{"fire_trial4", true, 0, {31, 11, 5, 27}},
        FixedHand{"fire_trial4", true, 1, {7, 1, 6, 28, 27, 26, 11}},
        FixedHand{"fire_trial4", true, 2, {1, 28, 27, 26, 11}},
        FixedHand{"fire_trial4", false, 1, {20}},
        FixedHand{"fire_trial4", false, 2, {20, 20}},
        FixedHand{"fire_trial4", false, 9, {20, 20, 20}},
        FixedHand{"dynamite_trial1", true, 0, {}},
        FixedHand{"dynamite_trial1", true, 1, {}},
        FixedHand{"dynamite_trial1", true, 2, {27}},
        FixedHand{"dynamite_trial1", true, 7, {27}},
        FixedHand{"dynamite_trial1", true, 8, {2, 11, 28, 26}},
        FixedHand{"dynamite_trial1", true, 9, {2, 11, 28, 26, 4}},
        FixedHand{"dynamite_trial1", true, 10, {2, 11, 28, 26}},
        FixedHand{"dynamite_trial1", true, 11, {}},
        FixedHand{"dynamite_trial1", true, 20, {}},
        FixedHand{"dynamite_trial1", false, 0, {}},
        FixedHand{"dynamite_trial1", false, 15, {}},
        FixedHand{"dynamite_trial1", false, 20, {}}));

TEST_F(GeneratedHands, FireTrialsTwoAndThreeDealAlike) {
  ASSERT_TRUE(start("fire_trial2"));
  auto two = GameDirector::create("fire_trial2");
  auto three = GameDirector::create("fire_trial3");
  for (int turn = 0; turn <= 10; ++turn) {
    EXPECT_EQ(two->getCardList(local(), turn), three->getCardList(local(), turn)) << turn;
    EXPECT_EQ(two->getCardList(enemy(), turn), three->getCardList(enemy(), turn)) << turn;
  }
}

TEST_F(GeneratedHands, TrialsTurnIntoSkirmishesAfterTheirScript) {
  for (const char* mode : {"water_trial", "fire_trial1", "fire_trial4"}) {
    ASSERT_TRUE(start(mode));
    for (Player* p : {&local(), &enemy()}) {
      const Hand h = game().director()->getCardList(*p, 11);
      EXPECT_EQ(14u, h.size()) << mode;
      EXPECT_LE(h[0], CardId::HorizBlock);
    }
  }
  ASSERT_TRUE(start("dynamite_trial1"));
  EXPECT_EQ(15u, game().director()->getCardList(local(), 21).size());
  EXPECT_EQ(15u, game().director()->getCardList(enemy(), 21).size());
}

}  // namespace
