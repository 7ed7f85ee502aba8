// The turn state machine: entries, automatic steps, waiting, counters, dealing.
#include <set>

#include "player_fixture.h"

namespace {

using PS = PlayerState;
using Switches = std::vector<std::pair<int, int>>;

TEST(PlayerStateNames, NamesEveryStateAndQuestionMarksTheRest) {
  EXPECT_STREQ("Invalid", stateName(0));
  EXPECT_STREQ("CombatChooseSpell", stateName(PS::CombatChooseSpell));
  EXPECT_STREQ("EndTurn", stateName(13));
  EXPECT_STREQ("StateCount", stateName(14));
  EXPECT_STREQ("?", stateName(-1));
  EXPECT_STREQ("?", stateName(15));
  EXPECT_STREQ("?", stateName(1000));
}

TEST(PlayerWaiting, MustWaitForHoldsExactlyForTheTable) {
  const std::set<std::pair<PS, PS>> waits = {
      {PS::TurnBegin, PS::EndTurn},
      {PS::CombatChooseSpell, PS::Invalid},
      {PS::CombatChooseSpell, PS::TurnBegin},
      {PS::CombatChooseSpell, PS::CardChoose},
      {PS::CombatChooseSpell, PS::PlacementChoose},
      {PS::CombatChooseSpell, PS::BuildChooseSpell},
      {PS::CombatChooseSpell, PS::BuildSpellChooseTarget},
      {PS::ProcessCombatQueue, PS::CombatChooseSpell},
      {PS::ProcessCombatQueue, PS::CombatSpellChooseTarget},
      {PS::Fire, PS::RepairChooseSpell},
      {PS::Fire, PS::RepairSpellChooseTarget},
      {PS::EndTurn, PS::Fire},
  };
  for (int my = 0; my <= 14; ++my)
    for (int other = 0; other <= 14; ++other) {
      const auto pair = std::make_pair(static_cast<PS>(my), static_cast<PS>(other));
      EXPECT_EQ(waits.count(pair) == 1, Player::mustWaitFor(pair.first, pair.second))
          << stateName(my) << " / " << stateName(other);
    }
}

using PlayerStates = PlayerFixture;

TEST_F(PlayerStates, StartsWithNothingChosen) {
  EXPECT_EQ(PS::Invalid, local.state());
  EXPECT_EQ(-1, local.lastSpellCard());
  EXPECT_EQ(-1, local.selectedCard());
  EXPECT_EQ(-1, local.selectedSpell().first);
  EXPECT_EQ(nullptr, local.targetPlayer());
  EXPECT_STREQ("WE", local.displayName());
  EXPECT_STREQ("ENEMY", enemy.displayName());
  EXPECT_EQ(&enemy, local.opponent());
  EXPECT_EQ(&local, enemy.opponent());
}

TEST_F(PlayerStates, TurnBeginPassesOnToCardChooseWithOneSwitch) {
  force(local, PS::EndTurn);
  local.setState(PS::TurnBegin);
  EXPECT_EQ(PS::CardChoose, local.state());
  EXPECT_EQ((Switches{{S(PS::EndTurn), S(PS::CardChoose)}}), switches(local));
}

TEST_F(PlayerStates, ValuesOutsideTheStatesAreRefusedAsOutOfSync) {
  force(enemy, PS::CombatChooseSpell);
  for (int bad : {-1, 14, 99}) {
    enemy.setState(static_cast<PS>(bad));
    EXPECT_EQ(PS::CombatChooseSpell, enemy.state()) << bad;
  }
  EXPECT_EQ(3u, events.count("reportOutOfSync"));
  EXPECT_EQ(0u, events.count("switchPlayerState"));
}

TEST_F(PlayerStates, MessageIsStoredButReportedOutOfSync) {
  force(enemy, PS::CardChoose);
  enemy.setState(PS::Message);
  EXPECT_EQ(PS::Message, enemy.state());
  EXPECT_EQ(1u, events.count("reportOutOfSync"));
  EXPECT_EQ((Switches{{S(PS::CardChoose), S(PS::Message)}}), switches(enemy));
}

// Who steps on by himself out of the build and repair phases.
struct SkipCase {
  const char* name;
  bool isLocal, online;
  int storedCard;  // -1: nothing stored
  bool burning;
  PS entered;
  Switches expected;
};

class AutomaticSteps : public PlayerStates, public ::testing::WithParamInterface<SkipCase> {};

TEST_P(AutomaticSteps, FollowTheRule) {
  const SkipCase& c = GetParam();
  session.isOnline = c.online;
  Player& p = c.isLocal ? local : enemy;
  Board& b = c.isLocal ? localBoard : enemyBoard;
  BoardElem* lib = room(b, 0, 5, CardId::Library);
  lib->storedCards().push_back({CardId::Fireball, 6});
  if (c.storedCard >= 0) lib->storedCards().push_back({c.storedCard, 6});
  if (c.burning) block(b, 3, 0)->setBurning(true);
  force(p, PS::CardChoose);

  p.setState(c.entered);
  EXPECT_EQ(c.expected, switches(p));
  EXPECT_EQ(c.expected.back().second, S(p.state()));
  if (p.state() == PS::CombatChooseSpell) {
    EXPECT_EQ((std::vector<BoardElem::StoredCard>{{CardId::Fireball, 6}}), p.spellOptions());
  }
}

const int kCard = S(PS::CardChoose), kBuild = S(PS::BuildChooseSpell),
          kCombat = S(PS::CombatChooseSpell), kRepair = S(PS::RepairChooseSpell),
          kFire = S(PS::Fire);

INSTANTIATE_TEST_SUITE_P(
    Phases, AutomaticSteps,
    ::testing::Values(
        SkipCase{"LocalWithoutFriendlyGoesToCombat", true, false, -1, false, PS::BuildChooseSpell,
                 {{kCard, kBuild}, {kBuild, kCombat}}},
        SkipCase{"ComputerStaysInBuild", false, false, -1, false, PS::BuildChooseSpell,
                 {{kCard, kBuild}}},
        SkipCase{"OnlineEnemyGoesToCombat", false, true, -1, false, PS::BuildChooseSpell,
                 {{kCard, kBuild}, {kBuild, kCombat}}},
        SkipCase{"LocalWithEyeStaysInBuild", true, false, CardId::Eye, false,
                 PS::BuildChooseSpell, {{kCard, kBuild}}},
        SkipCase{"RepairersWithNothingDamagedAreNotCastable", true, false, CardId::Repairers,
                 false, PS::BuildChooseSpell, {{kCard, kBuild}, {kBuild, kCombat}}},
        SkipCase{"LocalWithoutFriendlyGoesToFire", true, false, -1, false, PS::RepairChooseSpell,
                 {{kCard, kRepair}, {kRepair, kFire}}},
        SkipCase{"LocalWithAFireStaysInRepair", true, false, -1, true, PS::RepairChooseSpell,
                 {{kCard, kRepair}}},
        SkipCase{"ComputerStaysInRepair", false, false, -1, false, PS::RepairChooseSpell,
                 {{kCard, kRepair}}}),
    [](const ::testing::TestParamInfo<SkipCase>& info) { return std::string(info.param.name); });

TEST_F(PlayerStates, WithoutTheRulesHereOnlyTheHostsWordStepsOn) {
  session.isOnline = true;
  ctx.setOnlineNotHosting(true);
  force(local, PS::CardChoose);
  local.setState(PS::BuildChooseSpell);  // nothing to cast, yet no step of its own
  EXPECT_EQ(PS::BuildChooseSpell, local.state());
  local.setHostWord(PS::BuildChooseSpell, local.mana(), local.dwarves());
  EXPECT_FALSE(local.takeHostStep());
  local.setHostWord(PS::CombatChooseSpell, local.mana(), local.dwarves());
  EXPECT_TRUE(local.takeHostStep());
  EXPECT_EQ((Switches{{kCard, kBuild}, {kBuild, kCombat}}), switches(local));

  // The host's player is replicated here: it never steps on by itself either.
  force(enemy, PS::CardChoose);
  enemy.setState(PS::RepairChooseSpell);
  EXPECT_EQ(PS::RepairChooseSpell, enemy.state());
  enemy.setHostWord(PS::Fire, enemy.mana(), enemy.dwarves());
  enemy.setState(PS::RepairChooseSpell);
  EXPECT_EQ(PS::RepairChooseSpell, enemy.state());

  // A word that came before the phase did is followed on entry.
  force(local, PS::ProcessCombatQueue);
  local.setHostWord(PS::Fire, local.mana(), local.dwarves());
  local.onQueueDone();
  EXPECT_EQ(PS::Fire, local.state());
  EXPECT_FALSE(local.takeHostStep());
}

struct StepCase {
  const char* name;
  PS from;
  PS expected;
  const char* op;  // "finishSpells", "cancel", "onQueueDone"
  bool outOfSync;
};

class StateSteps : public PlayerStates, public ::testing::WithParamInterface<StepCase> {};

TEST_P(StateSteps, MoveAsTheOperationSays) {
  const StepCase& c = GetParam();
  force(enemy, c.from);
  const std::string op = c.op;
  if (op == "finishSpells") enemy.finishSpells();
  if (op == "cancel") enemy.cancel();
  if (op == "onQueueDone") enemy.onQueueDone();
  EXPECT_EQ(c.expected, enemy.state());
  EXPECT_EQ(c.outOfSync ? 1u : 0u, events.count("reportOutOfSync"));
  EXPECT_EQ(c.expected == c.from ? 0u : 1u, events.count("switchPlayerState"));
}

INSTANTIATE_TEST_SUITE_P(
    Table, StateSteps,
    ::testing::Values(
        StepCase{"FinishBuild", PS::BuildChooseSpell, PS::CombatChooseSpell, "finishSpells", false},
        StepCase{"FinishCombat", PS::CombatChooseSpell, PS::ProcessCombatQueue, "finishSpells", false},
        StepCase{"FinishRepair", PS::RepairChooseSpell, PS::Fire, "finishSpells", false},
        StepCase{"FinishAtEndOfTurn", PS::EndTurn, PS::EndTurn, "finishSpells", false},
        StepCase{"FinishWhileChoosingCards", PS::CardChoose, PS::CardChoose, "finishSpells", false},
        StepCase{"CancelPlacement", PS::PlacementChoose, PS::CardChoose, "cancel", false},
        StepCase{"CancelBuildTarget", PS::BuildSpellChooseTarget, PS::BuildChooseSpell, "cancel", false},
        StepCase{"CancelRepairTarget", PS::RepairSpellChooseTarget, PS::RepairChooseSpell,
                 "cancel", false},
        StepCase{"CancelCombatTarget", PS::CombatSpellChooseTarget, PS::CombatChooseSpell,
                 "cancel", false},
        StepCase{"CancelWithNothingToCancel", PS::Fire, PS::Fire, "cancel", false},
        StepCase{"QueueDoneAfterCombat", PS::ProcessCombatQueue, PS::RepairChooseSpell,
                 "onQueueDone", false},
        StepCase{"QueueDoneAfterFire", PS::Fire, PS::EndTurn, "onQueueDone", false},
        StepCase{"QueueDoneOutOfTurn", PS::BuildChooseSpell, PS::BuildChooseSpell, "onQueueDone",
                 true}),
    [](const ::testing::TestParamInfo<StepCase>& info) { return std::string(info.param.name); });

TEST_F(PlayerStates, FinishSpellsInTheWrongStateLogs) {
  LogCapture log;
  force(enemy, PS::CardChoose);
  enemy.finishSpells();
  EXPECT_TRUE(log.has("wrong state for finished selecting spells"));
}

TEST_F(PlayerStates, LocalCancellingARepairTargetStepsOnToFireWhenNothingIsLeft) {
  force(local, PS::RepairSpellChooseTarget);
  local.cancel();
  EXPECT_EQ(PS::Fire, local.state());
  EXPECT_EQ((Switches{{S(PS::RepairSpellChooseTarget), kRepair}, {kRepair, kFire}}),
            switches(local));
}

TEST_F(PlayerStates, FirstTurnCannotEndWithoutTheArchmage) {
  texts.set("MUST_PLACE_ARCHMAGE", "Place the archmage first");
  force(enemy, PS::CardChoose);
  EXPECT_FALSE(enemy.finishCards());
  EXPECT_EQ(PS::CardChoose, enemy.state());
  EXPECT_EQ((std::vector<std::string>{"Place the archmage first"}), messages());
  EXPECT_EQ(0u, events.count("switchPlayerState"));
}

TEST_F(PlayerStates, FinishingCardsCollectsTheIncomeOfWorkingRooms) {
  room(enemyBoard, 0, 0, CardId::Archmage);
  room(enemyBoard, 0, 2, CardId::Crystal);          // power 3
  room(enemyBoard, 0, -3, CardId::Housing);         // power 4
  room(enemyBoard, 1, 1, CardId::Crystal)->setDamaged(true);  // does not work
  enemy.setMana(5);
  force(enemy, PS::CardChoose);
  EXPECT_TRUE(enemy.finishCards());
  EXPECT_EQ(8, enemy.mana());
  EXPECT_EQ(4, enemy.dwarves());
  EXPECT_EQ(PS::BuildChooseSpell, enemy.state());
  EXPECT_EQ(1u, events.count("onPlayerCountersChanged"));
}

TEST_F(PlayerStates, TheTutorialGivesTwoDwarvesMoreAndLaterTurnsNeedNoArchmage) {
  session.tutorial = true;
  session.turnNumber = 1;
  force(enemy, PS::CardChoose);
  EXPECT_TRUE(enemy.finishCards());
  EXPECT_EQ(2, enemy.dwarves());
}

TEST_F(PlayerStates, FinishingCardsOutsideTheCardPhaseIsRefused) {
  session.turnNumber = 1;
  force(enemy, PS::CombatChooseSpell);
  EXPECT_FALSE(enemy.finishCards());
  EXPECT_EQ(PS::CombatChooseSpell, enemy.state());
  EXPECT_EQ(0, enemy.dwarves());
  EXPECT_EQ(1u, events.count("reportOutOfSync"));
}

TEST_F(PlayerStates, DealingTakesTheGamesListAndReportsIt) {
  session.hands[&local] = {31, 0, 2};
  local.setCards({5, 5});
  local.dealCards();
  EXPECT_EQ((std::vector<int>{31, 0, 2}), local.cards());
  EXPECT_EQ(1u, events.count("onCardListDealt"));
}

TEST_F(PlayerStates, StartTurnEntersCardChooseFromWhereverItWas) {
  force(local, PS::Fire);
  local.startTurn();
  EXPECT_EQ(PS::CardChoose, local.state());
  EXPECT_EQ((Switches{{kFire, kCard}}), switches(local));
}

}  // namespace
