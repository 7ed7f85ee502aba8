// What a state switch shows, and the steps both players share.
#include "hub_fixture.h"

namespace {

using S = PlayerState;

struct SwitchCase {
  const char* name;
  bool localSwitches;  // else the enemy
  S localState;
  S enemyState;
  S oldState;
  FlowState flow;
  std::vector<std::string> shownInOrder;  // screen calls, in this order
  std::vector<std::string> notShown;
  std::vector<std::string> flowCalls;  // exactly these
};

std::ostream& operator<<(std::ostream& os, const SwitchCase& c) { return os << c.name; }

class StateSwitchShows : public HubFixture, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(StateSwitchShows, WhatTheScreenAndTheFlowHear) {
  const SwitchCase& c = GetParam();
  startOffline();
  arrange(c.localState, c.enemyState);
  ASSERT_EQ(local().state(), c.localState);
  ASSERT_EQ(enemy().state(), c.enemyState);
  hub.setFlowState(c.flow);

  Player& p = c.localSwitches ? local() : enemy();
  hub.switchPlayerState(p, c.oldState, p.state());

  EXPECT_TRUE(shownInOrder(c.shownInOrder)) << ::testing::PrintToString(screen.callNames());
  for (const std::string& call : c.notShown) EXPECT_FALSE(shown(call)) << call;
  EXPECT_EQ(flow.callNames(), c.flowCalls);
}

const std::vector<std::string> kNone;
const std::vector<std::string> kAnyDisplay = {
    "closeMessage", "showModalMessage", "setCardList", "setSpellList", "showGameBoard",
    "chooseTarget", "startAnimation", "announceTurn"};

INSTANTIATE_TEST_SUITE_P(
    Table, StateSwitchShows,
    ::testing::Values(
        SwitchCase{"JoiningSideEntersTheGameScreen", true, S::CardChoose, S::CardChoose,
                   S::Invalid, FlowState::InGame, {"setCardList", "showGameBoard"}, kNone,
                   {"showGameScene"}},
        SwitchCase{"EnemyFirstStateShowsNoScene", false, S::CardChoose, S::CardChoose,
                   S::Invalid, FlowState::InGame, kNone, kAnyDisplay, kNone},
        SwitchCase{"LocalWaitsForTheBuilder", true, S::CombatChooseSpell, S::BuildChooseSpell,
                   S::BuildChooseSpell, FlowState::InGame, {"showModalMessage", "setSpellList"},
                   {"showGameBoard", "closeMessage"}, kNone},
        SwitchCase{"LocalEntersCombatAfterTheEnemy", true, S::CombatChooseSpell,
                   S::CombatChooseSpell, S::BuildChooseSpell, FlowState::InGame,
                   {"closeMessage", "setSpellList", "showGameBoard"}, {"showModalMessage"}, kNone},
        SwitchCase{"EnemyLeavingTheBuildEndsTheWait", false, S::CombatChooseSpell,
                   S::CombatChooseSpell, S::BuildChooseSpell, FlowState::InGame,
                   {"closeMessage"}, {"setSpellList", "showModalMessage"}, kNone},
        SwitchCase{"LocalFireWaitsForTheRepairs", true, S::Fire, S::RepairChooseSpell,
                   S::RepairChooseSpell, FlowState::InGame, {"showModalMessage"},
                   {"closeMessage"}, kNone},
        SwitchCase{"PlacementDoneShowsTheCards", true, S::CardChoose, S::CardChoose,
                   S::PlacementChoose, FlowState::InGame, {"setCardList", "showGameBoard"},
                   {"showModalMessage"}, kNone},
        SwitchCase{"NothingShownInTheLobby", true, S::CombatChooseSpell, S::BuildChooseSpell,
                   S::BuildChooseSpell, FlowState::Lobby, kNone, kAnyDisplay, kNone},
        SwitchCase{"NothingShownAfterTheEnd", true, S::CardChoose, S::CardChoose, S::Invalid,
                   FlowState::GameOver, kNone, kAnyDisplay, kNone}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HubFixture, SwitchOutsideTheGameLogsNothing) {
  startOffline();
  HubLog log;
  hub.setFlowState(FlowState::Lobby);
  hub.switchPlayerState(local(), S::PlacementChoose, S::CardChoose);
  EXPECT_FALSE(log.has("player switched"));
  hub.setFlowState(FlowState::InGame);
  hub.switchPlayerState(local(), S::PlacementChoose, S::CardChoose);
  EXPECT_TRUE(log.has("WE player switched from PlacementChoose to CardChoose"));
}

TEST_F(HubFixture, LeavingAPlacementClearsBothBoards) {
  startOffline();
  hub.switchPlayerState(local(), S::PlacementChoose, S::CardChoose);
  int localCleared = 0, enemyCleared = 0;
  for (const auto& r : view.recordsOf(RecordingBoardObserver::Event::Unhighlighted)) {
    localCleared += r.board == local().board();
    enemyCleared += r.board == enemy().board();
  }
  EXPECT_EQ(localCleared, Board::kSize * Board::kSize);
  EXPECT_EQ(enemyCleared, Board::kSize * Board::kSize);
}

TEST_F(HubFixture, ChoosingAPlaceOffersTheOptionsWithTheCardTexts) {
  startOffline();
  local().selectCard(CardId::FourBlock);  // the hub hears the switch
  ASSERT_EQ(local().state(), S::PlacementChoose);
  const auto highlighted = view.recordsOf(RecordingBoardObserver::Event::Highlighted);
  ASSERT_EQ(highlighted.size(), local().options().size());
  EXPECT_EQ(highlighted.front().value, 1);
  const auto chosen = screen.callsOf("chooseTarget");
  ASSERT_EQ(chosen.size(), 1u);
  EXPECT_EQ(chosen[0].text, "4BLOCK_NAME");
  EXPECT_EQ(chosen[0].subtext, "4BLOCK_DESC");
  EXPECT_EQ(chosen[0].elems, local().options());
}

TEST_F(HubFixture, SandboxNeverClosesTheMessageOnASwitch) {
  game().newGame(false, GameDirector::create("sandbox"));
  hub.setFlowState(FlowState::InGame);
  arrange(S::CombatChooseSpell, S::CombatChooseSpell);
  hub.switchPlayerState(local(), S::BuildChooseSpell, S::CombatChooseSpell);
  EXPECT_FALSE(shown("closeMessage"));
  EXPECT_TRUE(shown("showGameBoard"));
}

TEST_F(HubFixture, SandboxShowsNoWaitForAnEnemyThatNeverMoves) {
  game().newGame(false, GameDirector::create("sandbox"));
  hub.setFlowState(FlowState::InGame);
  arrange(S::Fire, S::RepairChooseSpell);
  hub.switchPlayerState(local(), S::RepairChooseSpell, S::Fire);
  EXPECT_FALSE(shown("showModalMessage"));
}

// A mode that hints at every card phase of the local player.
class HintDirector : public GameDirector_Normal {
 public:
  bool getTutorialMessage(bool isLocal, int, int state, std::string& key, bool& show,
                          std::vector<int>& allowed) override {
    if (!isLocal || state != static_cast<int>(S::CardChoose)) return false;
    key = "TUT_HINT";
    show = true;
    allowed = {CardId::FourBlock, CardId::Archmage};
    return true;
  }
};

TEST_F(HubFixture, TutorialHintIsShownAndLimitsTheHand) {
  hub.setFlowState(FlowState::InGame);
  game().newGame(false, std::make_unique<HintDirector>());
  const auto hints = screen.callsOf("showTutorialMessage");
  ASSERT_EQ(hints.size(), 1u);
  EXPECT_EQ(hints[0].text, "TUT_HINT");
  EXPECT_EQ(hints[0].values, std::vector<int>{1});
  EXPECT_EQ(local().cards(), (std::vector<int>{CardId::FourBlock, CardId::Archmage}));
  // The card bar shows the hand as the hint left it.
  EXPECT_EQ(screen.callsOf("setCardList").back().values, local().cards());
}

// ---- The shared steps ------------------------------------------------------------------------

enum class Side { Offline, Host, Joining };

struct StepCase {
  const char* name;
  S state;  // both players arrive in it
  Side side;
  FlowState flow;
  bool animationShown;
  bool turnAnnounced;
  int turnAfter;
  bool queuesCast;  // the enemy's queued spell was cast
  S localAfter;     // Invalid: the local player's state stays as arranged
};

std::ostream& operator<<(std::ostream& os, const StepCase& c) { return os << c.name; }

class SharedStep : public HubFixture, public ::testing::WithParamInterface<StepCase> {};

TEST_P(SharedStep, RunsWhereTheRulesRun) {
  const StepCase& c = GetParam();
  if (c.side == Side::Offline)
    startOffline();
  else
    startOnline(c.side == Side::Host);
  // Both keep their archmage through the fire pass, so nobody loses.
  for (Player* p : {&local(), &enemy()}) {
    p->board()->cellAtCentred(0, 0)->applyCard(CardId::Archmage);
    p->setMana(50);
  }
  enemy().queueSpell(CardId::Fireball, 1, &local(), {});
  arrange(c.state, c.state);
  hub.setFlowState(c.flow);

  hub.switchPlayerState(enemy(), S::CardChoose, c.state);

  EXPECT_EQ(shown("startAnimation"), c.animationShown);
  EXPECT_EQ(shown("announceTurn"), c.turnAnnounced);
  EXPECT_EQ(game().turn(), c.turnAfter);
  EXPECT_EQ(enemy().spellQueue().empty(), c.queuesCast);
  EXPECT_EQ(local().state(), c.localAfter == S::Invalid ? c.state : c.localAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SharedStep,
    ::testing::Values(
        // The combat queues are cast, then both move on to repairs (the local
        // player, with nothing to repair, straight on to the fire).
        StepCase{"CombatOffline", S::ProcessCombatQueue, Side::Offline, FlowState::InGame, true,
                 false, 0, true, S::Fire},
        StepCase{"CombatWhileInTheLobby", S::ProcessCombatQueue, Side::Offline, FlowState::Lobby,
                 false, false, 0, true, S::Fire},
        // Online both skip what they cannot repair: the fire pass and the next turn follow.
        StepCase{"CombatOnTheHost", S::ProcessCombatQueue, Side::Host, FlowState::InGame, true,
                 true, 1, true, S::CardChoose},
        StepCase{"CombatOnTheJoiningSide", S::ProcessCombatQueue, Side::Joining,
                 FlowState::InGame, true, false, 0, false, S::Invalid},
        // The fire pass, nobody lost: the turn ends and the next begins.
        StepCase{"FireOffline", S::Fire, Side::Offline, FlowState::InGame, false, true, 1, false,
                 S::CardChoose},
        StepCase{"FireWhileInTheLobby", S::Fire, Side::Offline, FlowState::Lobby, false, false,
                 1, false, S::CardChoose},
        StepCase{"FireOnTheJoiningSide", S::Fire, Side::Joining, FlowState::InGame, false, false,
                 0, false, S::Invalid},
        StepCase{"NextTurnOffline", S::EndTurn, Side::Offline, FlowState::InGame, false, true, 1,
                 false, S::CardChoose},
        StepCase{"NextTurnOnTheJoiningSideCountsOnly", S::EndTurn, Side::Joining,
                 FlowState::InGame, false, true, 1, false, S::Invalid}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HubFixture, NoSharedStepOnceTheGameHasEnded) {
  startOffline();
  game().checkGameOver();  // no archmage on either side: a draw
  ASSERT_FALSE(game().started());
  arrange(S::EndTurn, S::EndTurn);
  hub.switchPlayerState(enemy(), S::Fire, S::EndTurn);
  EXPECT_EQ(game().turn(), 0);
}

TEST_F(HubFixture, HostSendsTheCombatAnimationsAndTheEnd) {
  startOnline(true);
  for (Player* p : {&local(), &enemy()}) {
    p->board()->cellAtCentred(0, 0)->applyCard(CardId::Archmage);
    p->setMana(50);
  }
  local().queueSpell(CardId::Fireball, 1, &enemy(), {});
  arrange(S::ProcessCombatQueue, S::ProcessCombatQueue);
  hub.switchPlayerState(enemy(), S::CombatChooseSpell, S::ProcessCombatQueue);
  EXPECT_EQ(link.count("sendAnimateSpell"), 1u);
  const auto sent = link.sentNames();
  const auto finished = std::find(sent.begin(), sent.end(), "sendFinishedAnimating");
  ASSERT_NE(finished, sent.end());
  EXPECT_EQ(*(finished - 1), "updateReplicas");
}

}  // namespace
