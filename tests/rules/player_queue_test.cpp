// The spell queue: order, payment, shields, the screen's completions.
#include <memory>

#include "player_fixture.h"

namespace {

class Queue : public PlayerFixture {
 protected:
  Queue() { ctx.setRng(&coins); }
  SequenceRng coins{{0}};
};

TEST_F(Queue, CastsInOrderAndReportsTheEmptyQueueOnce) {
  BoardElem* top = block(enemyBoard, 0, 0);
  BoardElem* low = block(enemyBoard, 0, -2);
  local.setMana(20);
  local.queueSpell(CardId::Fireball, 2, &enemy, {});
  local.queueSpell(CardId::Rats, 3, &enemy, {});
  EXPECT_EQ(8, local.mana());  // paid when queued
  local.processSpellQueue();

  const auto forwarded = events.callsOf("forwardSpellAnimation");
  ASSERT_EQ(2u, forwarded.size());
  EXPECT_EQ(CardId::Fireball, forwarded[0].from);
  EXPECT_EQ(CardId::Rats, forwarded[1].from);
  ASSERT_EQ(2u, screen.shown().size());
  EXPECT_EQ(CardId::Fireball, screen.shown()[0].record.card);
  EXPECT_TRUE(top->isDamaged());
  EXPECT_TRUE(low->isDamaged());
  EXPECT_EQ(CardId::Rats, local.lastSpellCard());
  EXPECT_EQ(3, local.lastSpellPower());
  EXPECT_EQ(8, local.mana());  // and never again
  EXPECT_EQ(1u, events.count("playerSpellQueueProcessedAnim"));
}

TEST_F(Queue, PayingMoreThanThePlayerHasLeavesANegativeCounterAndSaysSo) {
  LogCapture log;
  local.setMana(3);
  local.pay(7, 0);
  EXPECT_EQ(-4, local.mana());
  EXPECT_TRUE(log.has("WE have NEGATIVE mana or dwarves"));
}

TEST_F(Queue, AutomaticPicksThatFindNothingAddNoTarget) {
  local.setMana(100);
  for (int card : {CardId::Fireball, CardId::Rats, CardId::Lightning, CardId::Fire,
                   CardId::Disturbance, CardId::Dynamite, CardId::Rain})
    local.queueSpell(card, 1, &enemy, {});
  for (const AnimateSpellEvent& r : local.spellQueue()) EXPECT_TRUE(r.targets.empty()) << r.card;
  local.processSpellQueue();
  EXPECT_TRUE(local.spellQueue().empty());
}

TEST_F(Queue, TheTutorialFireballAimsAtTheCentre) {
  session.tutorial = true;
  block(enemyBoard, 3, 0);
  local.setMana(7);
  local.queueSpell(CardId::Fireball, 1, &enemy, {});
  EXPECT_EQ((std::vector<BoardElem*>{at(enemyBoard, 0, 0)}), local.spellQueue().front().targets);
}

TEST_F(Queue, EffectsWaitForTheScreenAndEndTheSameAsAtOnce) {
  RecordingSpellEffects later;
  ctx.setSpellEffects(&later);
  BoardElem* e = block(enemyBoard, 0, 0);
  local.setMana(10);
  local.queueSpell(CardId::Lightning, 1, &enemy, {});
  local.queueSpell(CardId::Lightning, 1, &enemy, {});
  local.processSpellQueue();
  EXPECT_EQ(1u, later.pending());
  EXPECT_FALSE(e->isDamaged());  // shown first, applied after
  EXPECT_EQ(1u, later.tick());
  EXPECT_TRUE(e->isDamaged());
  EXPECT_EQ(1u, later.pending());
  later.runAll();
  EXPECT_EQ(ElemKind::Empty, e->kind());
  EXPECT_EQ(1u, events.count("playerSpellQueueProcessedAnim"));
}

TEST_F(Queue, AnEffectFinishingAfterItsGameEndedIsDropped) {
  RecordingSpellEffects later;
  ctx.setSpellEffects(&later);
  BoardElem* e = block(enemyBoard, 0, 0);
  local.setMana(3);
  local.queueSpell(CardId::Lightning, 1, &enemy, {});
  local.processSpellQueue();
  session.life.end();
  later.runAll();
  EXPECT_FALSE(e->isDamaged());
  EXPECT_EQ(0u, events.count("playerSpellQueueProcessedAnim"));
}

TEST_F(Queue, AnEffectOutlivingItsPlayerIsDropped) {
  RecordingSpellEffects later;
  ctx.setSpellEffects(&later);
  block(enemyBoard, 0, 0);
  {
    Player caster(ctx);
    caster.setMana(3);
    caster.queueSpell(CardId::Lightning, 1, &enemy, {});
    caster.processSpellQueue();
  }
  EXPECT_EQ(1u, later.pending());
  later.runAll();  // must not touch the gone player
  EXPECT_FALSE(at(enemyBoard, 0, 0)->isDamaged());
}

TEST_F(Queue, FriendlyCrewsAndTheEyeAreShownOnlyToTheirCaster) {
  BoardElem* own = block(enemyBoard, 0, 0);
  BoardElem* theirs = block(localBoard, 0, 0);
  enemy.queueSpell(CardId::Deratizers, 1, &enemy, {own});
  enemy.queueSpell(CardId::Eye, 1, &local, {theirs});
  enemy.processSpellQueue();
  EXPECT_TRUE(screen.shown().empty());
  EXPECT_TRUE(theirs->isRevealed());
  local.queueSpell(CardId::Eye, 1, &enemy, {own});
  local.processSpellQueue();
  EXPECT_EQ(1u, screen.shown().size());
}

// A shield at a depth turns a card back on a random block of the caster.
struct ShieldCase {
  const char* name;
  int card;
  int shieldDy;
  int casterDy;  // the caster's block the reflection may hit
  bool targetPicked;
};

class Shields : public Queue, public ::testing::WithParamInterface<ShieldCase> {};

TEST_P(Shields, SpareTheirBlockAndTurnTheSpellBack) {
  const ShieldCase& c = GetParam();
  BoardElem* shield = room(enemyBoard, 0, c.shieldDy, CardId::Shield);
  BoardElem* mine = block(localBoard, 0, c.casterDy);
  local.setMana(100);
  enemy.setMana(50);
  std::vector<BoardElem*> picked;
  if (c.targetPicked) picked.push_back(shield);
  local.queueSpell(c.card, 1, &enemy, picked);
  local.processSpellQueue();

  ASSERT_EQ(2u, screen.shown().size());
  const AnimateSpellEvent& first = screen.shown()[0].record;
  const AnimateSpellEvent& back = screen.shown()[1].record;
  EXPECT_EQ((std::vector<BoardElem*>{shield}), first.spared);
  EXPECT_TRUE(shield->isRevealed());
  EXPECT_FALSE(shield->isDamaged());
  EXPECT_TRUE(back.reflected);
  EXPECT_TRUE(back.active);
  EXPECT_EQ(&enemy, back.caster);
  EXPECT_EQ(&local, back.target);
  EXPECT_EQ((std::vector<BoardElem*>{mine}), back.targets);
  EXPECT_EQ(50, enemy.mana());  // a reflection costs nobody anything
  EXPECT_EQ(100 - CardTable::getCard(c.card)->manaCost, local.mana());
}

INSTANTIATE_TEST_SUITE_P(
    Depths, Shields,
    ::testing::Values(ShieldCase{"FireballAboveGround", CardId::Fireball, 3, 1, false},
                      ShieldCase{"RayOnTheFoundation", CardId::Ray, 0, 2, true},
                      ShieldCase{"RatsUnderground", CardId::Rats, -2, -1, false},
                      ShieldCase{"FloodDeepDown", CardId::Flood, -5, -3, true},
                      ShieldCase{"CollapseJustBelowGround", CardId::Collapse, -1, -4, true},
                      ShieldCase{"LightningOnTheTop", CardId::Lightning, 4, 0, false}),
    [](const ::testing::TestParamInfo<ShieldCase>& info) { return std::string(info.param.name); });

TEST_F(Queue, ADomeKeepsLightningOffTheShieldWithoutReflection) {
  room(enemyBoard, 0, 0, CardId::Shield);
  block(enemyBoard, 0, 1, ElemKind::Dome);
  block(localBoard, 0, 0);
  local.setMana(3);
  local.queueSpell(CardId::Lightning, 1, &enemy, {});
  local.processSpellQueue();
  EXPECT_EQ(1u, screen.shown().size());
  EXPECT_EQ(ElemKind::Empty, at(enemyBoard, 0, 1)->kind());
  EXPECT_FALSE(at(localBoard, 0, 0)->isDamaged());
}

TEST_F(Queue, ABrokenShieldTurnsNothingBack) {
  BoardElem* shield = room(enemyBoard, 0, 0, CardId::Shield);
  shield->setDamaged(true);
  block(localBoard, 0, 0);
  local.setMana(7);
  local.queueSpell(CardId::Fireball, 1, &enemy, {});
  local.processSpellQueue();
  EXPECT_EQ(1u, screen.shown().size());
  EXPECT_EQ(ElemKind::Empty, shield->kind());
}

TEST_F(Queue, AReflectionTurnedBackAgainIsOnlyShown) {
  BoardElem* theirs = room(enemyBoard, 0, 0, CardId::Shield);
  BoardElem* mine = room(localBoard, 0, 0, CardId::Shield);
  local.setMana(7);
  local.queueSpell(CardId::Fireball, 1, &enemy, {});
  local.processSpellQueue();
  ASSERT_EQ(3u, screen.shown().size());
  EXPECT_TRUE(screen.shown()[1].record.active);
  EXPECT_FALSE(screen.shown()[2].record.active);
  EXPECT_FALSE(theirs->isDamaged());
  EXPECT_FALSE(mine->isDamaged());
  EXPECT_TRUE(local.spellQueue().empty());
}

TEST_F(Queue, AShieldWithNothingToHitBackSparesItsBlockAndAddsNoTarget) {
  BoardElem* shield = room(enemyBoard, 0, 0, CardId::Shield);  // the caster has no blocks
  local.setMana(7);
  local.queueSpell(CardId::Fireball, 1, &enemy, {});
  local.processSpellQueue();
  ASSERT_EQ(1u, screen.shown().size());
  EXPECT_FALSE(shield->isDamaged());
  EXPECT_TRUE(local.spellQueue().empty());
}

TEST(SpellCompletionToken, RunsOnceAndOnlyWhileAlive) {
  GameLife life;
  int runs = 0;
  SpellCompletion done(life.token(), [&runs] { ++runs; });
  SpellCompletion copy = done;
  EXPECT_TRUE(done());
  EXPECT_FALSE(copy());
  EXPECT_EQ(1, runs);
  SpellCompletion late(life.token(), [&runs] { ++runs; });
  life.end();
  EXPECT_FALSE(late());
  EXPECT_FALSE(SpellCompletion()());
  EXPECT_EQ(1, runs);
}

}  // namespace

namespace {

// One whole combat queue played with a given screen; the enemy board after it.
std::string playCombat(SpellEffects& screen, bool tickByTick) {
  GameContext ctx{11};
  FixedSession session;
  Player local{ctx}, enemy{ctx};
  Board mine{ctx}, theirs{ctx};
  ctx.setSpellEffects(&screen);
  ctx.setSession(&session);
  session.local = &local;
  session.enemy = &enemy;
  for (auto [p, b] : {std::pair{&local, &mine}, std::pair{&enemy, &theirs}}) {
    b->fill();
    b->setOwner(p);
    p->setBoard(b);
    for (int dy = -2; dy < 4; ++dy) b->cellAtCentred(0, dy)->setKind(ElemKind::FourBlock);
    b->cellAtCentred(1, 0)->setKind(ElemKind::HorizBlock);
  }
  theirs.cellAtCentred(0, 2)->applyCard(CardId::Shield);
  theirs.cellAtCentred(0, 1)->applyCard(CardId::Crystal);
  local.setMana(200);
  for (int card : {CardId::Fireball, CardId::Lightning, CardId::Rats, CardId::Disturbance,
                   CardId::Dynamite, CardId::Fireball, CardId::Lightning})
    local.queueSpell(card, 1, &enemy, {});
  local.processSpellQueue();
  if (tickByTick) static_cast<RecordingSpellEffects&>(screen).runAll();
  std::string out;
  for (Board* b : {&mine, &theirs})
    b->forEachElem([&out](BoardElem& e) {
      out += std::to_string(static_cast<int>(e.kind())) + (e.isDamaged() ? "d" : "") +
             (e.isBurning() ? "b" : "") + (e.isRevealed() ? "r" : "");
    });
  return out;
}

TEST(ScreenModes, TickByTickAndAtOnceEndTheSame) {
  RecordingSpellEffects later;
  RecordingSpellEffects atOnce(true);
  NullSpellEffects none;
  const std::string expected = playCombat(atOnce, false);
  EXPECT_NE(std::string::npos, expected.find('d'));  // the queue did hit something
  EXPECT_EQ(expected, playCombat(later, true));
  EXPECT_EQ(expected, playCombat(none, false));
  EXPECT_EQ(later.shown().size(), atOnce.shown().size());
}

}  // namespace
