#include <gtest/gtest.h>

#include <set>

#include "GameContext.h"

namespace {

TEST(Ports, GeneratorRepeatsPerSeedAndStaysInRange) {
  DefaultRng a(42), b(42), c(43);
  std::set<int> coinSides;
  bool differs = false;
  for (int i = 0; i < 1000; ++i) {
    const int va = a.next();
    ASSERT_EQ(va, b.next());
    ASSERT_GE(va, 0);
    ASSERT_LE(va, Rng::kMax);
    differs |= va != c.next();
    coinSides.insert(va % 2);
  }
  EXPECT_TRUE(differs);
  EXPECT_EQ(2u, coinSides.size());
  a.seed(42);
  b.seed(42);
  EXPECT_EQ(a.next(), b.next());
}

TEST(Ports, SequenceHandsOutItsValuesInTurn) {
  SequenceRng seq({4, 1});
  EXPECT_TRUE(seq.coin());   // 4: heads
  EXPECT_FALSE(seq.coin());           // 1: tails
  EXPECT_EQ(4, seq.next());
  EXPECT_EQ(3, seq.drawn());
}

TEST(Ports, TextFallsBackToTheKey) {
  MapTextLookup texts;
  texts.set("FIREBALL_NAME", "Fireball");
  EXPECT_EQ("Fireball", texts.text("FIREBALL_NAME"));
  EXPECT_EQ("RATS_NAME", texts.text("RATS_NAME"));
  GameContext ctx;
  EXPECT_EQ("RATS_NAME", ctx.text().text("RATS_NAME"));
}

TEST(Ports, ContextFallsBackToItsOwnStandIns) {
  GameContext ctx(9);
  MemorySettings settings;
  SequenceRng rng({7});
  ctx.setSettings(&settings);
  ctx.setRng(&rng);
  ctx.settings().setString("email", "a@b.c");
  EXPECT_EQ(7, ctx.rng().next());
  ctx.setSettings(nullptr);
  ctx.setRng(nullptr);
  EXPECT_EQ("", ctx.settings().getString("email"));
  EXPECT_EQ("a@b.c", settings.getString("email"));
  EXPECT_EQ(DefaultRng(9).next(), ctx.rng().next());
  EXPECT_FALSE(ctx.lacksAuthority());
  EXPECT_EQ(&GameContext::defaultContext(), &GameContext::defaultContext());
}

}  // namespace
