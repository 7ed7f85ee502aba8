// What each card does when cast from the queue, on a prepared enemy board.
#include <algorithm>

#include "player_fixture.h"

namespace {

// The local player casts on the enemy with every coin landing heads (and every
// random pick taking the first candidate) unless a case says tails.
class Effects : public PlayerFixture {
 protected:
  Effects() { ctx.setRng(&coins); }
  void cast(int card, std::vector<BoardElem*> targets = {}, Player* on = nullptr) {
    local.setMana(100);
    local.setDwarves(100);
    local.queueSpell(card, 1, on ? on : &enemy, std::move(targets));
    local.processSpellQueue();
  }
  SequenceRng coins{{0}};
};

struct EffectCase {
  const char* name;
  int card;
  bool heads;
  // Prepares the enemy board; returns the targets the player picked.
  std::vector<BoardElem*> (*setup)(Board&);
  void (*check)(Board&);
};

class CardEffect : public Effects, public ::testing::WithParamInterface<EffectCase> {};

TEST_P(CardEffect, ChangesTheBoard) {
  const EffectCase& c = GetParam();
  if (!c.heads) coins.setValues({1});
  std::vector<BoardElem*> picked = c.setup(enemyBoard);
  cast(c.card, picked);
  c.check(enemyBoard);
}

using B = Board;
BoardElem* at0(B& b, int dx, int dy) { return b.cellAtCentred(dx, dy); }
BoardElem* put(B& b, int dx, int dy, ElemKind k = ElemKind::FourBlock) {
  at0(b, dx, dy)->setKind(k);
  return at0(b, dx, dy);
}
void digHall(B& b) {
  b.forEachElem([](BoardElem& e) {
    if (e.isUnderground() && e.isInPlay()) e.setKind(ElemKind::Cave);
  });
}
float water(B& b, float* maxLevel) {
  float sum = 0;
  *maxLevel = 0;
  b.forEachElem([&](BoardElem& e) {
    sum += e.waterLevel();
    *maxLevel = std::max(*maxLevel, e.waterLevel());
  });
  return sum;
}
std::vector<BoardElem*> none(B&) { return {}; }

INSTANTIATE_TEST_SUITE_P(
    Cards, CardEffect,
    ::testing::Values(
        EffectCase{"FireballDamagesAndSetsFire", CardId::Fireball, true,
                   [](B& b) { put(b, 0, 0); return none(b); },
                   [](B& b) {
                     EXPECT_TRUE(at0(b, 0, 0)->isDamaged());
                     EXPECT_TRUE(at0(b, 0, 0)->isBurning());
                   }},
        EffectCase{"FireballOnTailsOnlyDamages", CardId::Fireball, false,
                   [](B& b) { put(b, 0, 0); return none(b); },
                   [](B& b) {
                     EXPECT_TRUE(at0(b, 0, 0)->isDamaged());
                     EXPECT_FALSE(at0(b, 0, 0)->isBurning());
                   }},
        EffectCase{"FireballOnHardenedOnlyTakesTheHardening", CardId::Fireball, true,
                   [](B& b) { put(b, 0, 0)->setHardened(true); return none(b); },
                   [](B& b) {
                     BoardElem* e = at0(b, 0, 0);
                     EXPECT_FALSE(e->isHardened());
                     EXPECT_FALSE(e->isDamaged());
                     EXPECT_FALSE(e->isBurning());
                   }},
        EffectCase{"SecondFireballDestroysAndWhatStoodOnItFalls", CardId::Fireball, true,
                   [](B& b) {
                     put(b, 0, 0)->setDamaged(true);
                     put(b, 0, 1, ElemKind::VertBlock);
                     return none(b);
                   },
                   [](B& b) {
                     EXPECT_EQ(ElemKind::Empty, at0(b, 0, 0)->kind());
                     EXPECT_EQ(ElemKind::Empty, at0(b, 0, 1)->kind());
                   }},
        EffectCase{"RatsDamageBelowGround", CardId::Rats, true,
                   [](B& b) { put(b, 0, -2); return none(b); },
                   [](B& b) { EXPECT_TRUE(at0(b, 0, -2)->isDamaged()); }},
        EffectCase{"RatsUseUpATrap", CardId::Rats, true,
                   [](B& b) { put(b, 0, -2)->setDeratized(true); return none(b); },
                   [](B& b) {
                     EXPECT_FALSE(at0(b, 0, -2)->isDamaged());
                     EXPECT_FALSE(at0(b, 0, -2)->isDeratized());
                   }},
        EffectCase{"EarthquakeShakesTheFoundation", CardId::Earthquake, true,
                   [](B& b) {
                     put(b, 0, 0);
                     put(b, 1, 0);
                     put(b, 0, 1);
                     return none(b);
                   },
                   [](B& b) {
                     EXPECT_TRUE(at0(b, 0, 0)->isDamaged());
                     EXPECT_TRUE(at0(b, 1, 0)->isDamaged());
                     EXPECT_FALSE(at0(b, 0, 1)->isDamaged());
                   }},
        EffectCase{"LightningBeneathADomeTakesTheDome", CardId::Lightning, true,
                   [](B& b) {
                     put(b, 0, 0, ElemKind::VertBlock);
                     put(b, 0, 1, ElemKind::Dome);
                     return none(b);
                   },
                   [](B& b) {
                     EXPECT_EQ(ElemKind::Empty, at0(b, 0, 1)->kind());
                     EXPECT_FALSE(at0(b, 0, 0)->isDamaged());
                   }},
        EffectCase{"LightningStrikesTheTopBlock", CardId::Lightning, true,
                   [](B& b) {
                     put(b, 0, 0);
                     put(b, 0, 1);
                     return none(b);
                   },
                   [](B& b) {
                     EXPECT_FALSE(at0(b, 0, 0)->isDamaged());
                     EXPECT_TRUE(at0(b, 0, 1)->isDamaged());
                     EXPECT_TRUE(at0(b, 0, 1)->isBurning());
                   }},
        EffectCase{"RayHitsOnHeads", CardId::Ray, true,
                   [](B& b) { return std::vector<BoardElem*>{put(b, 0, 0)}; },
                   [](B& b) { EXPECT_TRUE(at0(b, 0, 0)->isDamaged()); }},
        EffectCase{"RayMissesOnTails", CardId::Ray, false,
                   [](B& b) { return std::vector<BoardElem*>{put(b, 0, 0)}; },
                   [](B& b) { EXPECT_FALSE(at0(b, 0, 0)->isDamaged()); }},
        EffectCase{"FloodFillsTheHall", CardId::Flood, true,
                   [](B& b) {
                     digHall(b);
                     return std::vector<BoardElem*>{at0(b, 0, -3)};
                   },
                   [](B& b) {
                     float top;
                     EXPECT_NEAR(5.0f, water(b, &top), 0.01f);
                     EXPECT_LE(top, 1.0f);
                   }},
        EffectCase{"RainFallsIntoTheHallTop", CardId::Rain, true,
                   [](B& b) { digHall(b); return none(b); },
                   [](B& b) {
                     float top;
                     EXPECT_NEAR(5.0f, water(b, &top), 0.01f);  // five hall-top caves in play
                     EXPECT_LE(top, 1.0f);
                   }},
        EffectCase{"CollapseFillsARoomWithEarth", CardId::Collapse, true,
                   [](B& b) {
                     BoardElem* e = put(b, 0, -2);
                     e->applyCard(CardId::Library);
                     e->storedCards().push_back({CardId::Rats, 1});
                     return std::vector<BoardElem*>{e};
                   },
                   [](B& b) {
                     EXPECT_EQ(ElemKind::Empty, at0(b, 0, -2)->kind());
                     EXPECT_EQ(RoomType::None, at0(b, 0, -2)->room());
                     EXPECT_TRUE(at0(b, 0, -2)->storedCards().empty());
                   }},
        EffectCase{"FireSetsADryBlockBurning", CardId::Fire, true,
                   [](B& b) { put(b, 0, 0); return none(b); },
                   [](B& b) { EXPECT_TRUE(at0(b, 0, 0)->isBurning()); }},
        EffectCase{"DisturbanceBlowsUpACrystal", CardId::Disturbance, true,
                   [](B& b) {
                     put(b, 0, 0);
                     put(b, 1, 0)->applyCard(CardId::Crystal);
                     return none(b);
                   },
                   [](B& b) {
                     EXPECT_EQ(ElemKind::Empty, at0(b, 1, 0)->kind());
                     EXPECT_TRUE(at0(b, 0, 0)->isDamaged());
                   }},
        EffectCase{"DisturbanceOnTailsOnlyReveals", CardId::Disturbance, false,
                   [](B& b) { put(b, 1, 0)->applyCard(CardId::Crystal); return none(b); },
                   [](B& b) {
                     EXPECT_EQ(ElemKind::FourBlock, at0(b, 1, 0)->kind());
                     EXPECT_TRUE(at0(b, 1, 0)->isRevealed());
                   }},
        EffectCase{"DynamiteTakesAFenceFirst", CardId::Dynamite, true,
                   [](B& b) { put(b, 0, 0)->setFence(true); return none(b); },
                   [](B& b) {
                     EXPECT_FALSE(at0(b, 0, 0)->hasFence());
                     EXPECT_FALSE(at0(b, 0, 0)->isDamaged());
                   }},
        EffectCase{"DynamiteDamagesTheGroundRow", CardId::Dynamite, true,
                   [](B& b) { put(b, 0, 0); return none(b); },
                   [](B& b) { EXPECT_TRUE(at0(b, 0, 0)->isDamaged()); }},
        EffectCase{"EyeReveals", CardId::Eye, true,
                   [](B& b) { return std::vector<BoardElem*>{put(b, 0, 0)}; },
                   [](B& b) { EXPECT_TRUE(at0(b, 0, 0)->isRevealed()); }},
        EffectCase{"DoorBreakerBreaksDoors", CardId::DoorBreaker, true,
                   [](B& b) {
                     BoardElem* e = put(b, 0, 0);
                     e->setDoors(true);
                     return std::vector<BoardElem*>{e};
                   },
                   [](B& b) { EXPECT_FALSE(at0(b, 0, 0)->hasDoors()); }}),
    [](const ::testing::TestParamInfo<EffectCase>& info) { return std::string(info.param.name); });

// The crews work on the caster's own board.
struct CrewCase {
  const char* name;
  int card;
  std::vector<BoardElem*> (*setup)(Board&);
  void (*check)(Board&);
};

class CrewEffect : public Effects, public ::testing::WithParamInterface<CrewCase> {};

TEST_P(CrewEffect, ChangesTheOwnBoard) {
  const CrewCase& c = GetParam();
  cast(c.card, c.setup(localBoard), &local);
  c.check(localBoard);
}

INSTANTIATE_TEST_SUITE_P(
    Crews, CrewEffect,
    ::testing::Values(
        CrewCase{"TunnelersDigACave", CardId::Tunnelers,
                 [](B& b) {
                   put(b, 0, -1, ElemKind::Cave);
                   return std::vector<BoardElem*>{at0(b, 1, -1)};
                 },
                 [](B& b) { EXPECT_EQ(ElemKind::Cave, at0(b, 1, -1)->kind()); }},
        CrewCase{"RepairersMend", CardId::Repairers,
                 [](B& b) {
                   BoardElem* e = put(b, 0, 0);
                   e->setDamaged(true);
                   return std::vector<BoardElem*>{e};
                 },
                 [](B& b) { EXPECT_FALSE(at0(b, 0, 0)->isDamaged()); }},
        CrewCase{"FirefightersPutOutAFire", CardId::Firefighters,
                 [](B& b) {
                   BoardElem* e = put(b, 0, 0);
                   e->setBurning(true);
                   return std::vector<BoardElem*>{e};
                 },
                 [](B& b) {
                   EXPECT_FALSE(at0(b, 0, 0)->isBurning());
                   EXPECT_EQ(0, b.burningCount());
                 }},
        CrewCase{"PumpersEmptyACave", CardId::Pumpers,
                 [](B& b) {
                   BoardElem* e = put(b, 0, -5, ElemKind::Cave);
                   e->setWaterLevel(0.8f);
                   return std::vector<BoardElem*>{e};
                 },
                 [](B& b) { EXPECT_EQ(0.0f, at0(b, 0, -5)->waterLevel()); }},
        CrewCase{"DeratizersSetATrap", CardId::Deratizers,
                 [](B& b) { return std::vector<BoardElem*>{put(b, 0, -2)}; },
                 [](B& b) { EXPECT_TRUE(at0(b, 0, -2)->isDeratized()); }},
        CrewCase{"MoversCarryARoomDownAndCutItsCards", CardId::Movers,
                 [](B& b) {
                   BoardElem* lib = put(b, 0, 3);
                   lib->applyCard(CardId::Library);  // power 4
                   lib->storedCards() = {{12, 4}, {13, 4}, {15, 4}};
                   lib->setRevealed(true);
                   return std::vector<BoardElem*>{lib, put(b, 0, -2)};
                 },
                 [](B& b) {
                   BoardElem* from = at0(b, 0, 3);
                   BoardElem* to = at0(b, 0, -2);
                   EXPECT_EQ(RoomType::None, from->room());
                   EXPECT_EQ(0, from->roomPower());
                   EXPECT_TRUE(from->storedCards().empty());
                   EXPECT_FALSE(from->isRevealed());
                   EXPECT_EQ(RoomType::Library, to->room());
                   EXPECT_EQ(1, to->roomPower());
                   EXPECT_EQ((std::vector<BoardElem::StoredCard>{{12, 1}}), to->storedCards());
                 }},
        CrewCase{"MoversWithOneTargetDoNothing", CardId::Movers,
                 [](B& b) {
                   BoardElem* lib = put(b, 0, 3);
                   lib->applyCard(CardId::Library);
                   return std::vector<BoardElem*>{lib};
                 },
                 [](B& b) { EXPECT_EQ(RoomType::Library, at0(b, 0, 3)->room()); }}),
    [](const ::testing::TestParamInfo<CrewCase>& info) { return std::string(info.param.name); });

TEST_F(Effects, FireOnAHardenedBlockOnlyTakesTheHardening) {
  BoardElem* e = block(enemyBoard, 0, 0);
  e->setHardened(true);
  AnimateSpellEvent record;
  record.caster = &local;
  record.target = &enemy;
  record.card = CardId::Fire;
  record.targets = {e};
  local.applyBeforeShow(record);
  EXPECT_FALSE(e->isHardened());
  EXPECT_FALSE(e->isBurning());
  EXPECT_FALSE(e->isDamaged());
}

TEST_F(Effects, DoorBreakerWithoutDoorsShowsNothing) {
  cast(CardId::DoorBreaker, {block(enemyBoard, 0, 0)});
  EXPECT_TRUE(screen.shown().empty());
  EXPECT_EQ(1u, events.count("playerSpellQueueProcessedAnim"));
}

TEST_F(Effects, FloodWaterArrivesBeforeTheEffectAndFlowsAfterIt) {
  RecordingSpellEffects later;
  ctx.setSpellEffects(&later);
  digHall(enemyBoard);
  BoardElem* cave = at(enemyBoard, 0, -3);
  cast(CardId::Flood, {cave});
  EXPECT_FLOAT_EQ(5.0f, cave->waterLevel());
  later.runAll();
  EXPECT_LE(cave->waterLevel(), 1.0f);
}

TEST_F(Effects, AnInactiveRecordIsShownButChangesNothing) {
  BoardElem* e = block(enemyBoard, 0, 0);
  AnimateSpellEvent record;
  record.caster = &local;
  record.target = &enemy;
  record.card = CardId::Ray;
  record.targets = {e};
  record.active = false;
  local.castSpell(record);
  EXPECT_FALSE(e->isDamaged());
}

}  // namespace
