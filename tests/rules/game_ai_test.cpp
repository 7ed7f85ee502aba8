// The computer player: one random legal choice a call, a bounded number of
// picks a phase, and no pick from an empty list.
#include <algorithm>

#include "CardTable.h"
#include "game_fixture.h"

namespace {

// The computer's entries are recorded and refused unless told otherwise.
class Computer : public GameFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(start("skirmish"));
    ctx.setHub(&recorded);
  }
  void TearDown() override { ctx.setHub(&hub); }
  int& count() { return game().aiChoiceCount(); }

  RecordingGameHub recorded;
};

TEST_F(Computer, AnEmptyHandEndsTheCardPhaseAtOnce) {
  enemy().setCards({});
  count() = 7;
  aiStep(enemy());
  ASSERT_EQ(1u, recorded.calls().size());
  EXPECT_EQ("end of the card phase", recorded.calls()[0].what);
  EXPECT_EQ(0, count());
}

TEST_F(Computer, MakesOneAcceptedPickACallFromItsHand) {
  recorded.acceptChoices = true;
  enemy().setCards({CardId::VertBlock, CardId::Dome, CardId::Archmage});
  aiStep(enemy());
  ASSERT_EQ(1u, recorded.calls().size());
  const int card = recorded.calls()[0].card;
  EXPECT_TRUE(card == CardId::VertBlock || card == CardId::Dome || card == CardId::Archmage);
  EXPECT_EQ(1, count());
}

TEST_F(Computer, RefusedPicksAreRetriedUntilThePickLimitEndsThePhase) {
  enemy().setCards({CardId::VertBlock, CardId::Dome});
  aiStep(enemy());
  EXPECT_EQ(static_cast<std::size_t>(kAiPickLimit), recorded.count("card choice"));
  EXPECT_EQ(1u, recorded.count("end of the card phase"));
  EXPECT_EQ("end of the card phase", recorded.calls().back().what);
  EXPECT_EQ(0, count());
}

TEST_F(Computer, ArchmageInTheHandKeepsItPickingWithoutEnd) {
  recorded.acceptChoices = true;
  for (int picked : {kAiPickLimit + 10, 1000}) {
    recorded.clear();
    enemy().setCards({CardId::Archmage});
    count() = picked;
    aiStep(enemy());
    ASSERT_EQ(1u, recorded.calls().size()) << picked;
    EXPECT_EQ("card choice", recorded.calls()[0].what);
    EXPECT_EQ(CardId::Archmage, recorded.calls()[0].card);
  }
}

// One count for the computer, which only the end of one of its phases resets.
TEST_F(Computer, ItsPickCountOutlivesAGame) {
  count() = 7;
  ctx.setHub(&hub);
  ASSERT_TRUE(start("skirmish"));
  ctx.setHub(&recorded);
  EXPECT_EQ(7, count());
}

TEST_F(Computer, FiftyPicksEndASpellPhaseThoughSpellsAreLeft) {
  enemy().setState(PlayerState::BuildChooseSpell);
  enemy().setSpellOptions({{CardId::Repairers, 1}, {CardId::Eye, 2}});
  count() = kAiPickLimit;
  aiStep(enemy());
  ASSERT_EQ(1u, recorded.calls().size());
  EXPECT_EQ("end of a spell phase", recorded.calls()[0].what);
  EXPECT_EQ(0, count());
}

TEST_F(Computer, PicksOneOfTheOfferedSpells) {
  recorded.acceptChoices = true;
  enemy().setMana(7);
  enemy().setState(PlayerState::CombatChooseSpell);
  enemy().setSpellOptions({{CardId::Fireball, 3}});
  aiStep(enemy());
  ASSERT_EQ(1u, recorded.count("spell choice"));
  EXPECT_EQ(CardId::Fireball, recorded.calls()[0].card);
  EXPECT_EQ(3, recorded.calls()[0].power);
}

// Offers the rules would refuse are drawn and counted but never chosen; when
// nothing else is offered the pick limit ends the phase.
TEST_F(Computer, ChoosesOnlyWhatTheRulesWouldAccept) {
  struct Case {
    PlayerState state;
    std::vector<int> hand;
    std::vector<BoardElem::StoredCard> offered;
    int chosen;  // -1: none, the phase ends
  };
  const Case cases[] = {
      // The first turn keeps the only free block for the archmage; no library.
      {PlayerState::CardChoose, {CardId::Crystal, CardId::Fireball, CardId::Archmage}, {},
       CardId::Archmage},
      // Nothing is damaged to repair.
      {PlayerState::BuildChooseSpell, {}, {{CardId::Repairers, 1}}, -1},
      // Seven mana pay for a fireball, not for a collapse.
      {PlayerState::CombatChooseSpell, {}, {{CardId::Collapse, 1}, {CardId::Fireball, 1}},
       CardId::Fireball}};
  recorded.acceptChoices = true;
  enemy().setMana(7);
  enemy().setDwarves(10);
  for (const Case& c : cases) {
    for (int call = 0; call < 4; ++call) {
      recorded.clear();
      count() = 0;
      enemy().setCards(c.hand);
      enemy().setState(c.state);
      enemy().setSpellOptions(c.offered);
      aiStep(enemy());
      ASSERT_EQ(1u, recorded.calls().size());
      EXPECT_EQ(c.chosen, recorded.calls()[0].card) << recorded.calls()[0].what;
      if (c.chosen < 0) EXPECT_EQ(0, count());
    }
  }
}

TEST_F(Computer, NoSpellOfferedEndsThePhase) {
  enemy().setState(PlayerState::RepairChooseSpell);
  enemy().setSpellOptions({});
  aiStep(enemy());
  EXPECT_EQ(1u, recorded.count("end of a spell phase"));
  EXPECT_EQ(0u, recorded.count("spell choice"));
}

TEST_F(Computer, AChoiceThatOffersNothingIsCancelledNotPicked) {
  for (PlayerState s : {PlayerState::PlacementChoose, PlayerState::CombatSpellChooseTarget}) {
    recorded.clear();
    enemy().setState(s);
    enemy().setOptions({});
    aiStep(enemy());
    ASSERT_EQ(1u, recorded.calls().size());
    EXPECT_EQ("cancel", recorded.calls()[0].what);
  }
}

TEST_F(Computer, PicksATargetAmongTheOptions) {
  enemy().setState(PlayerState::CombatSpellChooseTarget);
  const std::vector<BoardElem*> offered{localAt(0, 0), localAt(1, 0)};
  enemy().setOptions(offered);
  aiStep(enemy());
  ASSERT_EQ(1u, recorded.count("element choice"));
  const BoardElem* picked = recorded.calls()[0].elem;
  EXPECT_NE(offered.end(), std::find(offered.begin(), offered.end(), picked));
}

TEST_F(Computer, DoesNothingWhileTheRulesRun) {
  for (PlayerState s : {PlayerState::ProcessCombatQueue, PlayerState::Fire,
                        PlayerState::EndTurn}) {
    enemy().setState(s);
    aiStep(enemy());
  }
  EXPECT_TRUE(recorded.calls().empty());
}

// ---- Through the headless hub: the real rules refuse and accept ------------------

using ComputerRules = GameFixture;

TEST_F(ComputerRules, ACardWithoutAPlaceIsNeverTriedAndTheFinishIsRefusedOnce) {
  ASSERT_TRUE(start("skirmish"));
  // One free block and no archmage in the first turn: a crystal is passed over
  // (the block is kept for the archmage); ending the phase is refused.
  enemy().setCards({CardId::Crystal});
  aiStep(enemy());
  EXPECT_EQ(PlayerState::CardChoose, enemy().state());
  EXPECT_EQ(1, hub.messages());
  EXPECT_EQ(0, game().aiChoiceCount());
}

TEST_F(ComputerRules, AWholeSkirmishWithoutARefusedPick) {
  // Both sides play by the computer's rules; neither is ever refused.
  ASSERT_TRUE(start("skirmish"));
  playOut(200000);
  EXPECT_FALSE(game().started());
  EXPECT_NE(HeadlessHub::Result::None, hub.result());
  EXPECT_EQ(0, hub.messages());
}

TEST_F(ComputerRules, MoversPickTwoDifferentRooms) {
  ASSERT_TRUE(start("skirmish"));
  Board& b = *enemy().board();
  for (int dy = 0; dy < 3; ++dy) b.cellAtCentred(0, dy)->setKind(ElemKind::FourBlock);
  b.cellAtCentred(0, 0)->applyCard(CardId::Housing);
  b.cellAtCentred(0, 1)->applyCard(CardId::Crystal);
  b.cellAtCentred(0, 0)->storedCards().push_back({CardId::Movers, 1});
  enemy().setDwarves(10);
  enemy().setState(PlayerState::BuildChooseSpell);
  ASSERT_EQ(1u, enemy().spellOptions().size());

  aiStep(enemy());  // chooses the movers
  ASSERT_EQ(PlayerState::BuildSpellChooseTarget, enemy().state());
  aiStep(enemy());  // the first room
  ASSERT_EQ(1u, enemy().chosenTargets().size());
  BoardElem* first = enemy().chosenTargets()[0];
  const auto& left = enemy().options();
  EXPECT_EQ(left.end(), std::find(left.begin(), left.end(), first));
  aiStep(enemy());  // any other block: the movers go to work
  EXPECT_EQ(PlayerState::BuildChooseSpell, enemy().state());
  ASSERT_EQ(2u, enemy().chosenTargets().size());
  EXPECT_NE(enemy().chosenTargets()[0], enemy().chosenTargets()[1]);
  EXPECT_EQ(8, enemy().dwarves());
}

}  // namespace
