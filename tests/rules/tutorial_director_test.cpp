// The tutorial director on its own: the hint lookup, what moves the script on,
// where the phase may end, the scripted hands and the selection bar's arrows.
#include <set>
#include <string>
#include <vector>

#include "game/TutorialDirector.h"
#include "player_fixture.h"

namespace {

using PS = PlayerState;
using Stored = std::vector<BoardElem::StoredCard>;

class Tutorial : public PlayerFixture {
 protected:
  struct Hint {
    bool given = false;
    std::string key;
    bool show = false;
    std::vector<int> allowed;
  };

  Hint hint(bool isLocal, int turn, PS state) {
    Hint h;
    h.given = d.getTutorialMessage(isLocal, turn, S(state), h.key, h.show, h.allowed);
    return h;
  }
  // Moves the script to `row` as the local player's target choices would.
  void goTo(int row) {
    while (d.step() < row) d.onTargetSelected(local, nullptr);
    ASSERT_EQ(row, d.step());
  }

  GameDirector_Tutorial d;
};

// ---- The hint lookup ---------------------------------------------------------------

struct RowHint {
  int row;
  int turn;
  PS state;
  const char* key;
  bool show;
  std::vector<int> allowed;
};

class TutorialHints : public Tutorial, public ::testing::WithParamInterface<RowHint> {};

TEST_P(TutorialHints, TheRowsStateAndTurnGiveItsHintAndCard) {
  const RowHint& c = GetParam();
  goTo(c.row);
  const Hint h = hint(true, c.turn, c.state);
  EXPECT_TRUE(h.given);
  EXPECT_EQ(c.key, h.key);
  EXPECT_EQ(c.show, h.show);
  EXPECT_EQ(c.allowed, h.allowed);
  EXPECT_EQ(c.row, d.step());  // asking moves nothing
  EXPECT_TRUE(d.active());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TutorialHints,
    ::testing::Values(RowHint{0, 0, PS::CardChoose, "TUT_INITIAL", false, {CardId::Archmage}},
                      RowHint{7, 0, PS::CardChoose, "TUT_DWARF_TUNNELERS", true, {CardId::Tunnelers}},
                      RowHint{15, 0, PS::CardChoose, "TUT_PLACE_DERATIZERS", true,
                              {CardId::Deratizers}},
                      RowHint{16, 0, PS::CardChoose, "TUT_SKIP_TO_BUILD", true, {}},
                      RowHint{18, 0, PS::BuildChooseSpell, "TUT_SKIP_TO_COMBAT", true, {}},
                      RowHint{19, 0, PS::CombatChooseSpell, "TUT_CHOOSE_DYNAMITE", true, {}},
                      RowHint{21, 0, PS::RepairChooseSpell, "TUT_NOTHING_TO_REPAIR", true, {}},
                      RowHint{22, 1, PS::CardChoose, "TUT_PLACE_REPAIRS", true, {CardId::Repairers}},
                      RowHint{26, 1, PS::CombatChooseSpell, "TUT_CHOOSE_LIGHTNING", true, {}},
                      RowHint{29, 1, PS::RepairChooseSpell, "TUT_CHOOSE_REPAIRS", true, {}}));

TEST_F(Tutorial, AnotherStateOrTurnThanTheRowsGivesNoHint) {
  goTo(17);  // turn 0, build
  for (auto [turn, state] : {std::pair{0, PS::CombatChooseSpell}, std::pair{1, PS::BuildChooseSpell},
                             std::pair{0, PS::BuildSpellChooseTarget}}) {
    const Hint h = hint(true, turn, state);
    EXPECT_FALSE(h.given);
    EXPECT_TRUE(h.allowed.empty());
  }
}

TEST_F(Tutorial, TheRulesStatesNeverGiveAHintEvenOnTheEndRow) {
  for (int row : {0, kTutorialEndRow}) {
    goTo(row);
    for (PS s : {PS::ProcessCombatQueue, PS::Fire, PS::EndTurn}) {
      EXPECT_FALSE(hint(true, 0, s).given) << row << " " << stateName(s);
      EXPECT_TRUE(d.active());
    }
  }
}

TEST_F(Tutorial, TheComputerNeverGetsAHint) {
  EXPECT_FALSE(hint(false, 0, PS::CardChoose).given);
  goTo(kTutorialEndRow);
  EXPECT_FALSE(hint(false, 1, PS::RepairChooseSpell).given);
  EXPECT_TRUE(d.active());  // only the local player's switch ends the script
}

TEST_F(Tutorial, TheEndRowFinishesTheScriptAtAnyOtherStateAndTurn) {
  goTo(kTutorialEndRow);
  const Hint h = hint(true, 5, PS::BuildSpellChooseTarget);
  EXPECT_TRUE(h.given);
  EXPECT_EQ("TUT_FINISHED", h.key);
  EXPECT_TRUE(h.show);
  EXPECT_TRUE(h.allowed.empty());
  EXPECT_FALSE(d.active());
  EXPECT_FALSE(d.isTutorialRunning());
  EXPECT_FALSE(hint(true, 1, PS::RepairChooseSpell).given);  // never again
}

// ---- What moves the script on ------------------------------------------------------

TEST_F(Tutorial, PhaseEndsAndTargetsOfTheLocalPlayerMoveOneRow) {
  d.onPhaseFinished(local);
  d.onTargetSelected(local, at(localBoard, 0, 0));
  EXPECT_EQ(2, d.step());
  d.onPhaseFinished(enemy);
  d.onTargetSelected(enemy, at(enemyBoard, 0, 0));
  d.onCardSelected(local, CardId::Archmage);
  d.onCancel();
  EXPECT_EQ(2, d.step());
}

struct SpellCase {
  int turn;
  int card;
  bool local;
  bool moves;
};

class TutorialSpells : public Tutorial, public ::testing::WithParamInterface<SpellCase> {};

TEST_P(TutorialSpells, OnlyTheTurnsScriptedSpellMovesTheScript) {
  const SpellCase& c = GetParam();
  session.turnNumber = c.turn;
  goTo(19);
  d.onSpellSelected(c.local ? local : enemy, c.card, 2);
  EXPECT_EQ(c.moves ? 20 : 19, d.step());
}

INSTANTIATE_TEST_SUITE_P(
    Choices, TutorialSpells,
    ::testing::Values(SpellCase{0, CardId::Dynamite, true, true},
                      SpellCase{0, CardId::Fireball, true, false},
                      SpellCase{0, CardId::Lightning, true, false},
                      SpellCase{0, CardId::Dynamite, false, false},
                      SpellCase{1, CardId::Lightning, true, true},
                      SpellCase{1, CardId::Dynamite, true, false},
                      SpellCase{2, CardId::Lightning, true, false},
                      SpellCase{2, CardId::Dynamite, true, false}));

TEST_F(Tutorial, NothingMovesTheScriptOnceItIsOver) {
  goTo(kTutorialEndRow);
  std::string key;
  bool show = false;
  std::vector<int> allowed;
  d.getTutorialMessage(true, 1, S(PS::CardChoose), key, show, allowed);
  d.onPhaseFinished(local);
  d.onTargetSelected(local, nullptr);
  EXPECT_EQ(kTutorialEndRow, d.step());
}

// ---- Ending a phase ------------------------------------------------------------------

TEST_F(Tutorial, ThePhaseEndsOnlyOnTheSkippableRowsUntilTheScriptIsOver) {
  const std::set<int> skippable = {16, 18, 20, 21, 24, 25, 27};
  for (int row = 0; row <= kTutorialEndRow; ++row) {
    goTo(row);
    EXPECT_EQ(skippable.count(row) == 1, d.canEndPhase()) << "row " << row;
  }
  std::string key;
  bool show = false;
  std::vector<int> allowed;
  d.getTutorialMessage(true, 1, S(PS::RepairChooseSpell), key, show, allowed);
  EXPECT_TRUE(d.canEndPhase());
}

// ---- The scripted hands --------------------------------------------------------------

TEST_F(Tutorial, TheHandsAreScriptedForTheFirstTwoTurnsThenEmpty) {
  using V = std::vector<int>;
  EXPECT_EQ((V{CardId::Archmage}), d.getCardList(local, 0));
  EXPECT_EQ((V{CardId::Archmage, CardId::VertBlock, CardId::Housing, CardId::Dynamite,
               CardId::Rats}),
            d.getCardList(enemy, 0));
  EXPECT_EQ(V{}, d.getCardList(local, 1));
  EXPECT_EQ((V{CardId::Lightning, CardId::VertBlock, CardId::VertBlock, CardId::Library,
               CardId::Crystal, CardId::Fireball}),
            d.getCardList(enemy, 1));
  for (int turn : {2, 7}) {
    EXPECT_EQ(V{}, d.getCardList(local, turn));
    EXPECT_EQ(V{}, d.getCardList(enemy, turn));
  }
}

TEST_F(Tutorial, OnceOverTheHandsAreTheSkirmishes) {
  goTo(kTutorialEndRow);
  std::string key;
  bool show = false;
  std::vector<int> allowed;
  d.getTutorialMessage(true, 1, S(PS::RepairChooseSpell), key, show, allowed);
  const std::vector<int> first = d.getCardList(local, 0);
  ASSERT_GE(first.size(), 13u);
  EXPECT_EQ(CardId::Archmage, first[0]);
  EXPECT_EQ(CardId::FourBlock, first[1]);
  EXPECT_EQ(4u, d.getCardList(enemy, 1).size());
}

// ---- The selection bar's arrows ------------------------------------------------------

TEST_F(Tutorial, ASingleCardIsForcedOnlyOnARowThatMayNotBeSkipped) {
  EXPECT_TRUE(d.isCardChoiceForced({CardId::Archmage}, CardId::Archmage));
  EXPECT_FALSE(d.isCardChoiceForced({CardId::Archmage, CardId::FourBlock}, CardId::Archmage));
  EXPECT_FALSE(d.isCardChoiceForced({}, CardId::Archmage));
  goTo(16);
  EXPECT_FALSE(d.isCardChoiceForced({CardId::Archmage}, CardId::Archmage));
}

struct ArrowCase {
  int row;
  int turn;
  Stored bar;
  std::vector<bool> forced;  // per bar entry
};

class TutorialArrows : public Tutorial, public ::testing::WithParamInterface<ArrowCase> {};

TEST_P(TutorialArrows, PointAtTheOnlySpellOrTheSecondInTheFirstTwoTurns) {
  const ArrowCase& c = GetParam();
  goTo(c.row);
  d.getCardList(local, c.turn);  // the game tells the turn when it deals
  for (std::size_t i = 0; i < c.bar.size(); ++i)
    EXPECT_EQ(c.forced[i], d.isSpellChoiceForced(c.bar, c.bar[i].first)) << "entry " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Bars, TutorialArrows,
    ::testing::Values(
        // Row 19: the combat bar lists LIGHTNING (a spell) before DYNAMITE (a crew).
        ArrowCase{19, 0, {{CardId::Lightning, 3}, {CardId::Dynamite, 2}}, {false, true}},
        ArrowCase{17, 0, {{CardId::Deratizers, 2}}, {true}},
        // Row 28: REPAIRERS before FIREFIGHTERS.
        ArrowCase{28, 1, {{CardId::Repairers, 2}, {CardId::Firefighters, 2}}, {false, true}},
        ArrowCase{28, 1,
                  {{CardId::Pumpers, 2}, {CardId::Repairers, 2}, {CardId::Firefighters, 2}},
                  {false, true, false}},
        ArrowCase{28, 2, {{CardId::Repairers, 2}, {CardId::Firefighters, 2}}, {false, false}},
        ArrowCase{28, 2, {{CardId::Repairers, 2}}, {true}},
        // Skippable rows point at no spell.
        ArrowCase{20, 0, {{CardId::Lightning, 3}}, {false}},
        ArrowCase{27, 1, {{CardId::Lightning, 3}, {CardId::Dynamite, 2}}, {false, false}}));

TEST_F(Tutorial, NoArrowOnceTheScriptIsOver) {
  goTo(kTutorialEndRow);
  std::string key;
  bool show = false;
  std::vector<int> allowed;
  d.getTutorialMessage(true, 1, S(PS::RepairChooseSpell), key, show, allowed);
  EXPECT_FALSE(d.isCardChoiceForced({CardId::Archmage}, CardId::Archmage));
  EXPECT_FALSE(d.isSpellChoiceForced({{CardId::Repairers, 2}}, CardId::Repairers));
}

// ---- The table -------------------------------------------------------------------------

TEST(TutorialStepTable, EveryScriptedCardIsOneTheHandCanHoldAndTheRestIsBlank) {
  for (int row = 0; row < kTutorialEndRow; ++row) {
    const TutorialStep& s = TutorialStepTable[row];
    EXPECT_TRUE(s.turn == 0 || s.turn == 1) << row;
    EXPECT_NE(std::string(), s.key) << row;
    // A row either gives a card to place (cards phase) or none.
    if (s.allowedCard != -1) {
      EXPECT_EQ(S(PlayerState::CardChoose), s.state) << row;
      EXPECT_NE(nullptr, CardTable::getCard(s.allowedCard)) << row;
      EXPECT_FALSE(s.skippable) << row;
    }
  }
  EXPECT_EQ(-1, TutorialStepTable[kTutorialEndRow].turn);
  for (int row = kTutorialEndRow + 1; row < kTutorialStepRows; ++row) {
    const TutorialStep& s = TutorialStepTable[row];
    EXPECT_EQ(0, s.turn);
    EXPECT_EQ(0, s.state);
    EXPECT_STREQ("", s.key);
    EXPECT_EQ(0, s.allowedCard);
    EXPECT_FALSE(s.show || s.skippable);
  }
}

}  // namespace
