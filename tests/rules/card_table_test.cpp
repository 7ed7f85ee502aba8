#include <gtest/gtest.h>

#include <map>

#include "CapturedLog.h"
#include "CardTable.h"
#include "GameContext.h"
#include "logog/logog.hpp"

namespace {

TEST(CardTable, WeightsTotal433AndArchmageIsNeverDrawn) {
  int total = 0;
  for (const CardRecord& card : CardTable::all()) total += card.drawWeight;
  EXPECT_EQ(433, total);
  EXPECT_EQ(433, CardTable::totalWeight());
  EXPECT_EQ(0, CardTable::getCard(CardId::Archmage)->drawWeight);
}

TEST(CardTable, OnlySpellsAndCrewsCostAndTunnelersAreFree) {
  for (const CardRecord& card : CardTable::all()) {
    const bool paid = card.category == CardCategory::Spell || card.category == CardCategory::Crew;
    if (!paid) {
      EXPECT_EQ(0, card.manaCost) << card.key;
      EXPECT_EQ(0, card.dwarvesCost) << card.key;
    } else if (card.id != CardId::Tunnelers) {
      EXPECT_GT(card.manaCost + card.dwarvesCost, 0) << card.key;
    }
  }
  EXPECT_EQ(0, CardTable::getCard(CardId::Tunnelers)->dwarvesCost);
}

TEST(CardTable, CategoriesCoverTheirIdRanges) {
  struct Range {
    int from, to;
    CardCategory category;
  };
  for (Range r : {Range{0, 7, CardCategory::Structure}, Range{8, 11, CardCategory::Room},
                  Range{12, 23, CardCategory::Spell}, Range{24, 30, CardCategory::Crew},
                  Range{31, 31, CardCategory::Room}})
    for (int id = r.from; id <= r.to; ++id) EXPECT_EQ(r.category, CardTable::getCard(id)->category);
}

TEST(CardTable, SampledRowsHoldTheirValues) {
  const CardRecord* flood = CardTable::getCard(CardId::Flood);
  EXPECT_STREQ("FLOOD", flood->key);
  EXPECT_STREQ("flood", flood->effectName);
  EXPECT_STREQ("spell-broken_pipe.png", flood->image);
  EXPECT_EQ(8, flood->manaCost);
  EXPECT_EQ(15, flood->drawWeight);
  EXPECT_EQ(1, flood->targetCount);
  EXPECT_EQ(5, flood->minTurn);
  const CardRecord* movers = CardTable::getCard(CardId::Movers);
  EXPECT_EQ(2, movers->targetCount);
  EXPECT_EQ(2, movers->dwarvesCost);
  EXPECT_FALSE(movers->hostile);
  EXPECT_EQ("DMOVERS_NAME", movers->nameKey());
  EXPECT_EQ("DMOVERS_DESC", movers->descKey());
  const CardRecord* eye = CardTable::getCard(CardId::Eye);
  EXPECT_FALSE(eye->hostile);
  EXPECT_TRUE(eye->castOnOpponent);
}

TEST(CardTable, ColoursFollowHarmAndKind) {
  const CardColor red{193, 0, 0}, green{0, 193, 0}, white{255, 255, 255};
  EXPECT_EQ(red, CardTable::cardColor(CardId::Eye));
  EXPECT_EQ(red, CardTable::cardColor(CardId::Dynamite));
  EXPECT_EQ(green, CardTable::cardColor(CardId::Tunnelers));
  EXPECT_EQ(white, CardTable::cardColor(CardId::FourBlock));
  EXPECT_EQ(white, CardTable::cardColor(CardId::Archmage));
}

TEST(CardTable, ShieldStaysLockedUntilUnlocked) {
  GameContext ctx;
  EXPECT_TRUE(CardTable::isShieldLocked(CardId::Shield, ctx));
  CardTable::unlockShield(CardId::Library, ctx);
  EXPECT_TRUE(CardTable::isShieldLocked(CardId::Shield, ctx));
  for (int id = 0; id < CardTable::kCardCount; ++id) {
    if (id != CardId::Shield) {
      EXPECT_FALSE(CardTable::isShieldLocked(id, ctx)) << id;
    }
  }

  MemorySettings settings;
  ctx.setSettings(&settings);
  CardTable::unlockShield(CardId::Shield, ctx);
  EXPECT_FALSE(CardTable::isShieldLocked(CardId::Shield, ctx));
  EXPECT_TRUE(settings.getBool("shield_unlocked"));
  EXPECT_EQ(1, settings.flushCount());
}

// Expected share of each card within its category, against 20,000 draws with a
// fixed seed: within 1.5 percentage points.
std::string categoryName(const ::testing::TestParamInfo<CardCategory>& info) {
  static const char* const kNames[] = {"Structure", "Room", "Spell", "Crew"};
  return kNames[static_cast<int>(info.param)];
}

class CardDraw : public ::testing::TestWithParam<CardCategory> {};

TEST_P(CardDraw, FollowsTheWeightsWithinTheCategory) {
  const CardCategory category = GetParam();
  GameContext ctx(12345);
  int categoryWeight = 0;
  for (const CardRecord& card : CardTable::all())
    if (card.category == category) categoryWeight += card.drawWeight;

  const int draws = 20000;
  std::map<int, int> seen;
  for (int i = 0; i < draws; ++i) {
    const CardRecord* card = CardTable::drawRandomCard(category, ctx);
    ASSERT_NE(nullptr, card);
    ASSERT_EQ(category, card->category);
    ++seen[card->id];
  }
  for (const CardRecord& card : CardTable::all()) {
    if (card.category != category) continue;
    const double expected = 100.0 * card.drawWeight / categoryWeight;
    const double actual = 100.0 * seen[card.id] / draws;
    EXPECT_NEAR(expected, actual, 1.5) << card.key;
  }
  EXPECT_EQ(0, seen[CardId::Archmage]);
}

INSTANTIATE_TEST_SUITE_P(AllCategories, CardDraw,
                         ::testing::Values(CardCategory::Structure, CardCategory::Room,
                                           CardCategory::Spell, CardCategory::Crew),
                         categoryName);

TEST(CardDrawRepeat, SameSeedSameCards) {
  GameContext a(77), b(77);
  for (int i = 0; i < 50; ++i)
    EXPECT_EQ(CardTable::drawRandomCard(CardCategory::Spell, a)->id,
              CardTable::drawRandomCard(CardCategory::Spell, b)->id);
}

TEST(CardTableRefusal, BadIdAndCategoryAreRefusedWithALogLine) {
  {
    CapturedLog log;
    GameContext ctx;
    EXPECT_EQ(nullptr, CardTable::getCard(-1));
    EXPECT_EQ(nullptr, CardTable::getCard(32));
    EXPECT_EQ(nullptr, CardTable::drawRandomCard(static_cast<CardCategory>(4), ctx));
    EXPECT_EQ(nullptr, CardTable::drawRandomCard(static_cast<CardCategory>(-1), ctx));
    EXPECT_EQ((CardColor{255, 255, 255}), CardTable::cardColor(99));
    const auto lines = log.lines();
    ASSERT_EQ(5u, lines.size());
    EXPECT_NE(std::string::npos, lines[0].find("no card with id -1"));
    EXPECT_NE(std::string::npos, lines[2].find("unknown category 4"));
    EXPECT_NE(std::string::npos, lines[0].find("{mv}"));
  }
}

}  // namespace
