// Choosing stored spells: offers, costs, refusals and targets.
#include "player_fixture.h"

namespace {

using PS = PlayerState;
using Stored = std::vector<BoardElem::StoredCard>;

class ChooseSpell : public PlayerFixture {
 protected:
  ChooseSpell() {
    session.turnNumber = 3;
    lib = room(localBoard, 0, 5, CardId::Library);   // power 6
    home = room(localBoard, 0, -2, CardId::Housing);  // power 3
    enemyBlock = block(enemyBoard, 0, 0);
  }
  BoardElem* lib;
  BoardElem* home;
  BoardElem* enemyBlock;
};

TEST_F(ChooseSpell, OffersSplitIntoFriendlyAndHostileAndDropWhatCannotBeCast) {
  lib->storedCards() = {{CardId::Fireball, 6}, {CardId::Eye, 6}};
  home->storedCards() = {{CardId::Repairers, 3}, {CardId::Dynamite, 3}};
  EXPECT_EQ((Stored{{CardId::Repairers, 3}, {CardId::Eye, 6}}),
            local.collectSpellOptions(false, false));
  EXPECT_EQ((Stored{{CardId::Eye, 6}}), local.collectSpellOptions(false, true));
  EXPECT_EQ((Stored{{CardId::Dynamite, 3}, {CardId::Fireball, 6}}),
            local.collectSpellOptions(true, false));
  lib->setDamaged(true);  // a damaged library offers nothing
  EXPECT_EQ((Stored{{CardId::Dynamite, 3}}), local.collectSpellOptions(true, false));
}

struct CostCase {
  int card;
  int mana, dwarves;
  const char* message;
};

class Costs : public ChooseSpell, public ::testing::WithParamInterface<CostCase> {};

TEST_P(Costs, RefuseWithTheNeedAndPayNothing) {
  const CostCase& c = GetParam();
  texts.set("REQUIRED_MANA", "Mana: ");
  texts.set("REQUIRED_DWARVES", "Dwarves: ");
  lib->storedCards() = {{c.card, 6}};
  local.setMana(c.mana);
  local.setDwarves(c.dwarves);
  force(local, PS::CombatChooseSpell);
  EXPECT_FALSE(local.selectSpell(c.card, 6, &enemy));
  EXPECT_EQ((std::vector<std::string>{c.message}), messages());
  EXPECT_EQ(PS::CombatChooseSpell, local.state());
  EXPECT_EQ(c.mana, local.mana());
  EXPECT_EQ(c.dwarves, local.dwarves());
  EXPECT_EQ(1u, lib->storedCards().size());
}

INSTANTIATE_TEST_SUITE_P(Cards, Costs,
                         ::testing::Values(CostCase{CardId::Collapse, 10, 50, "Mana: 18"},
                                           CostCase{CardId::Firefighters, 50, 0, "Dwarves: 3"},
                                           CostCase{CardId::Dynamite, 0, 0, "Dwarves: 1"}));

TEST_F(ChooseSpell, TheComputerPaysNothingInTheTutorial) {
  session.tutorial = true;
  EXPECT_TRUE(enemy.canAfford(CardId::Collapse));
  EXPECT_FALSE(local.canAfford(CardId::Collapse));
}

TEST_F(ChooseSpell, ACombatSpellWithoutPicksWaitsInTheQueueAndIsPaidOnce) {
  lib->storedCards() = {{CardId::Fireball, 6}, {CardId::Lightning, 6}};
  local.setMana(10);
  force(local, PS::CombatChooseSpell);
  EXPECT_TRUE(local.selectSpell(CardId::Fireball, 6, &enemy));
  EXPECT_EQ(3, local.mana());
  ASSERT_EQ(1u, local.spellQueue().size());
  EXPECT_EQ((std::vector<BoardElem*>{enemyBlock}), local.spellQueue().front().targets);
  EXPECT_EQ((Stored{{CardId::Lightning, 6}}), lib->storedCards());
  EXPECT_EQ(PS::CombatChooseSpell, local.state());
  EXPECT_EQ((Stored{{CardId::Lightning, 6}}), local.spellOptions());
  EXPECT_FALSE(enemyBlock->isDamaged());  // nothing is cast before both are done
}

TEST_F(ChooseSpell, TheSandboxCastsACombatSpellAtOnce) {
  session.isSandbox = true;
  lib->storedCards() = {{CardId::Rats, 6}};
  local.setMana(5);
  force(local, PS::CombatChooseSpell);
  EXPECT_TRUE(local.selectSpell(CardId::Rats, 6, &enemy));
  EXPECT_EQ(PS::ProcessCombatQueue, local.state());
}

TEST_F(ChooseSpell, TheJoiningMachineOnlyPays) {
  ctx.setOnlineNotHosting(true);
  lib->storedCards() = {{CardId::Fireball, 6}};
  local.setMana(7);
  force(local, PS::CombatChooseSpell);
  EXPECT_TRUE(local.selectSpell(CardId::Fireball, 6, &enemy));
  EXPECT_EQ(0, local.mana());
  EXPECT_TRUE(local.spellQueue().empty());
}

TEST_F(ChooseSpell, ABuildSpellIsCastWhenItsTargetIsPicked) {
  lib->storedCards() = {{CardId::Eye, 6}};
  local.setMana(5);
  force(local, PS::BuildChooseSpell);
  ASSERT_TRUE(local.selectSpell(CardId::Eye, 6, &enemy));
  EXPECT_EQ(PS::BuildSpellChooseTarget, local.state());
  EXPECT_EQ(&enemy, local.targetPlayer());
  EXPECT_EQ((std::vector<BoardElem*>{enemyBlock}), local.options());
  EXPECT_TRUE(local.selectTarget(enemyBlock));
  EXPECT_TRUE(enemyBlock->isRevealed());
  EXPECT_EQ(0, local.mana());
  EXPECT_TRUE(lib->storedCards().empty());
  EXPECT_EQ(1u, events.count("playerSpellQueueProcessedAnim"));
}

TEST_F(ChooseSpell, NothingIsChosenWhileTheCastIsShown) {
  RecordingSpellEffects slow;  // effects end when ticked
  ctx.setSpellEffects(&slow);
  lib->storedCards() = {{CardId::Eye, 6}, {CardId::Eye, 6}};
  local.setMana(10);
  force(local, PS::BuildChooseSpell);
  ASSERT_TRUE(local.selectSpell(CardId::Eye, 6, &enemy));
  ASSERT_TRUE(local.selectTarget(enemyBlock));
  EXPECT_TRUE(local.isCasting());
  // A second click, a cancel or the end of the phase would cast twice or leave a
  // paid spell behind: refused until the effect ends.
  EXPECT_FALSE(local.selectTarget(enemyBlock));
  local.cancel();
  local.finishSpells();
  EXPECT_FALSE(local.selectSpell(CardId::Eye, 6, &enemy));
  EXPECT_EQ(PS::BuildSpellChooseTarget, local.state());
  EXPECT_EQ(5, local.mana());
  EXPECT_EQ(1u, lib->storedCards().size());

  slow.runAll();
  EXPECT_FALSE(local.isCasting());
  EXPECT_TRUE(enemyBlock->isRevealed());
  EXPECT_EQ(1u, slow.shown().size());
  ctx.setSpellEffects(&screen);
}

TEST_F(ChooseSpell, MoversPickTwiceAndNeverTheSameBlock) {
  BoardElem* target = block(localBoard, 0, 1);
  home->storedCards() = {{CardId::Movers, 3}};
  local.setDwarves(2);
  force(local, PS::RepairChooseSpell);
  ASSERT_TRUE(local.selectSpell(CardId::Movers, 3, &local));
  EXPECT_EQ((std::vector<BoardElem*>{home, lib}), local.options());  // blocks with rooms
  local.selectTarget(lib);
  EXPECT_EQ(PS::RepairSpellChooseTarget, local.state());
  EXPECT_EQ((std::vector<BoardElem*>{home, target}), local.options());  // any block but the first
  local.selectTarget(target);
  EXPECT_EQ(RoomType::Library, target->room());
  EXPECT_EQ(2, target->roomPower());
  EXPECT_EQ(RoomType::None, lib->room());
  EXPECT_EQ(0, lib->roomPower());
  EXPECT_EQ(0, local.dwarves());
}

TEST_F(ChooseSpell, NoTargetForAPickRefusesTheSpell) {
  lib->storedCards() = {{CardId::DoorBreaker, 6}};
  local.setMana(6);
  force(local, PS::CombatChooseSpell);
  EXPECT_FALSE(local.selectSpell(CardId::DoorBreaker, 6, &enemy));
  EXPECT_EQ((std::vector<std::string>{"NO_VALID_TARGETS"}), messages());
  EXPECT_EQ(PS::CombatChooseSpell, local.state());
  EXPECT_EQ(6, local.mana());
}

TEST_F(ChooseSpell, ChoosingOutsideASpellPhaseIsOutOfSync) {
  local.setMana(7);
  force(local, PS::CardChoose);
  EXPECT_FALSE(local.selectSpell(CardId::Fireball, 6, &enemy));
  EXPECT_EQ(1u, events.count("reportOutOfSync"));
  EXPECT_TRUE(local.spellQueue().empty());
}

}  // namespace
