// Game start and end, the OK after the end, the joining side's animation
// queue, and the board events the hub passes on.
#include <algorithm>

#include "hub_fixture.h"

namespace {

using S = PlayerState;

// ---- Start --------------------------------------------------------------------------------

TEST_F(HubFixture, SingleGameStartsInItsMode) {
  ASSERT_TRUE(hub.startSingleGame("water_trial"));
  EXPECT_EQ(hub.flowState(), FlowState::InGame);
  EXPECT_TRUE(game().started());
  // The scene, then again by the local player's first state, then the report.
  EXPECT_EQ(flow.callNames(),
            (std::vector<std::string>{"showGameScene", "showGameScene", "reportAnalytics"}));
  EXPECT_EQ(flow.calls().back().text, "game/singlestart/water_trial");
  EXPECT_TRUE(shownInOrder({"setStoreShown", "refreshGui", "setCardList", "setOpponentName",
                            "startGame"}));
  EXPECT_EQ(screen.callsOf("setOpponentName")[0].text, "AI");
}

// The screen's start clears what messages there were; a mode's greeting comes after it, so
// the player sees it over the board.
TEST_F(HubFixture, AModesGreetingIsShownAfterTheScreensStart) {
  struct Case {
    const char* mode;
    const char* greeting;  // empty: none
  };
  for (const Case& c : {Case{"tutorial", "TUT_INITIAL"}, Case{"sandbox", "SANDBOX_INTRO"}, Case{"skirmish", ""}}) {
    SCOPED_TRACE(c.mode);
    const std::size_t before = screen.callNames().size();
    if (std::string(c.mode) == "sandbox")
      hub.startSandbox();
    else
      ASSERT_TRUE(hub.startSingleGame(c.mode));
    const std::vector<std::string> calls = screen.callNames();
    const auto start = std::find(calls.begin() + static_cast<std::ptrdiff_t>(before), calls.end(), "startGame");
    ASSERT_NE(start, calls.end());
    const auto greeting = std::find(start, calls.end(), "showFullscreenMessage");
    if (*c.greeting) {
      ASSERT_NE(greeting, calls.end());
      EXPECT_EQ(screen.callsOf("showFullscreenMessage").back().text, c.greeting);
    } else {
      EXPECT_EQ(greeting, calls.end());
    }
    game().clearGame(false);
  }
}

TEST_F(HubFixture, UnknownModeStartsNothing) {
  HubLog log;
  EXPECT_FALSE(hub.startSingleGame("chess"));
  EXPECT_EQ(hub.flowState(), FlowState::Menu);
  EXPECT_FALSE(game().started());
  EXPECT_TRUE(flow.calls().empty());
  EXPECT_TRUE(log.has("unknown mode 'chess'"));
}

TEST_F(HubFixture, LoadingEndsInTheMenu) {
  hub.setFlowState(FlowState::GameOver);
  hub.onLoadingFinished();
  EXPECT_EQ(flow.callNames(),
            (std::vector<std::string>{"showMenuScene", "makeGameControllerCurrent"}));
  EXPECT_EQ(flow.calls()[0].text, "fade");
  EXPECT_EQ(hub.flowState(), FlowState::Menu);
}

TEST_F(HubFixture, FramePumpsTheNetworkThenMovesTheComputer) {
  startOffline();
  const std::size_t before = enemy().cards().size();
  hub.update(1.0f / 60.0f);
  EXPECT_EQ(link.updates, 1);
  // The computer picked a card or ended its card phase.
  EXPECT_TRUE(enemy().cards().size() < before || enemy().state() != S::CardChoose);
}

// ---- End ------------------------------------------------------------------------------------

enum class End { Won, Lost, Draw };

struct EndCase {
  const char* name;
  End end;
  bool online;
  const char* text;
  const char* analytics;
  int resultSent;  // -1: none
};

std::ostream& operator<<(std::ostream& os, const EndCase& c) { return os << c.name; }

class GameEnd : public HubFixture, public ::testing::WithParamInterface<EndCase> {};

TEST_P(GameEnd, ShowsRevealsAndTellsTheOtherSide) {
  const EndCase& c = GetParam();
  if (c.online)
    startOnline(true);
  else
    startOffline();
  switch (c.end) {
    case End::Won: hub.onGameWon(); break;
    case End::Lost: hub.onGameLost(); break;
    case End::Draw: hub.onGameDraw(); break;
  }
  EXPECT_EQ(hub.flowState(), FlowState::GameOver);
  const auto ended = screen.callsOf("showGameEnded");
  ASSERT_EQ(ended.size(), 1u);
  EXPECT_EQ(ended[0].text, c.text);
  // The screen is told the result itself, not only its text.
  const GameResult result = c.end == End::Won ? GameResult::Won : c.end == End::Lost ? GameResult::Lost : GameResult::Draw;
  EXPECT_EQ(ended[0].values, std::vector<int>{static_cast<int>(result)});
  ASSERT_EQ(flow.calls().size(), 1u);
  EXPECT_EQ(flow.calls()[0].text, c.analytics);
  for (Player* p : {&local(), &enemy()})
    p->board()->forEachElem([](const BoardElem& e) { ASSERT_TRUE(e.isRevealed()); });
  if (c.resultSent < 0) {
    EXPECT_EQ(link.count("sendGameResult"), 0u);
  } else {
    ASSERT_EQ(link.count("sendGameResult"), 1u);
    EXPECT_EQ(link.sent().back().values, std::vector<int>{c.resultSent});
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, GameEnd,
    ::testing::Values(EndCase{"WonOffline", End::Won, false, "YOU_WIN", "game/singlevictory/", -1},
                      EndCase{"LostOffline", End::Lost, false, "YOU_LOSE", "game/singlelose/", -1},
                      EndCase{"DrawOffline", End::Draw, false, "DRAW", "game/singledraw/", -1},
                      EndCase{"WonOnTheHost", End::Won, true, "YOU_WIN", "game/networkvictory/", 0},
                      EndCase{"LostOnTheHost", End::Lost, true, "YOU_LOSE", "game/networklose/", 1},
                      EndCase{"DrawOnTheHost", End::Draw, true, "DRAW", "game/networkdraw/", 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HubFixture, FirePassWithoutArchmagesEndsInADraw) {
  startOffline();
  arrange(S::Fire, S::Fire);
  hub.switchPlayerState(enemy(), S::RepairChooseSpell, S::Fire);
  EXPECT_FALSE(game().started());
  EXPECT_EQ(hub.flowState(), FlowState::GameOver);
  EXPECT_EQ(screen.callsOf("showGameEnded").at(0).text, "DRAW");
  EXPECT_FALSE(shown("announceTurn"));
}

TEST_F(HubFixture, OkBeforeTheEndClosesTheMessage) {
  startOffline();
  hub.onMessageOk();
  EXPECT_EQ(screen.callNames(), std::vector<std::string>{"closeMessage"});
  EXPECT_TRUE(game().started());
}

TEST_F(HubFixture, OkAfterAnOfflineEndGoesToTheMenu) {
  startOffline();
  hub.onGameLost();
  clearRecords();
  hub.onMessageOk();
  EXPECT_EQ(game().localPlayer(), nullptr);
  EXPECT_EQ(screen.callsOf("showModalMessage").at(0).text, "WAITING_FOR_SERVER");
  EXPECT_EQ(flow.callNames(), (std::vector<std::string>{"showMenuScene", "showMenuMainState"}));
  EXPECT_EQ(hub.flowState(), FlowState::Menu);
}

TEST(HubPorts, TheGameScreenShowsTheRulesSpellEffectsWhileTheHubLives) {
  RecordingGameScreen screen;
  GameContext ctx;
  {
    EventDispatcher hub(ctx);
    hub.setScreen(&screen);
    EXPECT_EQ(&hub.screen(), &screen);
    EXPECT_EQ(&ctx.spellEffects(), &screen);
    hub.setScreen(nullptr);
    EXPECT_NE(&hub.screen(), &screen);
    EXPECT_NE(&ctx.spellEffects(), &screen);
    hub.setScreen(&screen);
  }
  EXPECT_NE(&ctx.spellEffects(), &screen) << "the context's own stand-in is back";
}

TEST_F(HubFixture, OkAfterAnEndOnTheHostAsksForARematch) {
  startOnline(true);
  hub.onGameWon();
  clearRecords();
  hub.onMessageOk();
  EXPECT_EQ(game().localPlayer(), nullptr);
  EXPECT_EQ(lobbyLink.sentNames(), std::vector<std::string>{"sendRematch"});
  EXPECT_TRUE(link.sent().empty());
  EXPECT_TRUE(flow.calls().empty());
  EXPECT_EQ(hub.flowState(), FlowState::GameOver);
}

TEST_F(HubFixture, OkAfterAnEndOnTheJoiningSideOnlyWaits) {
  startOnline(false);
  hub.onGameWon();
  clearRecords();
  hub.onMessageOk();
  EXPECT_NE(game().localPlayer(), nullptr);
  EXPECT_EQ(screen.callNames(), std::vector<std::string>{"showModalMessage"});
  EXPECT_TRUE(link.sent().empty());
}

// ---- The joining side's animation queue ------------------------------------------------------

class AnimationQueue : public HubFixture {
 protected:
  AnimationQueue() : later(false) {}
  void SetUp() override {
    hub.setScreen(&later);
    startOnline(false);
    arrange(S::ProcessCombatQueue, S::ProcessCombatQueue);
  }
  void TearDown() override { hub.setScreen(&screen); }
  AnimateSpellEvent spell(int card, Player* caster) {
    AnimateSpellEvent e;
    e.caster = caster;
    e.target = caster == &local() ? &enemy() : &local();
    e.card = card;
    e.power = 1;
    return e;
  }
  RecordingGameScreen later;  // effects end on tick()
};

TEST_F(AnimationQueue, PlayerMovesOnOnlyWhenBothQueuesAreDone) {
  hub.queueAnimateSpell(spell(CardId::Fireball, &enemy()));
  hub.queueAnimateSpell(spell(CardId::Lightning, &enemy()));
  EXPECT_TRUE(hub.animating());
  EXPECT_EQ(later.shown().size(), 1u);  // one effect at a time
  hub.onFinishedAnimating();
  EXPECT_EQ(local().state(), S::ProcessCombatQueue);
  later.tick();
  EXPECT_EQ(later.shown().size(), 2u);
  EXPECT_EQ(local().state(), S::ProcessCombatQueue);
  later.tick();
  EXPECT_FALSE(hub.animating());
  EXPECT_NE(local().state(), S::ProcessCombatQueue);
}

TEST_F(AnimationQueue, ObjectsTakenByTheNetworkEmptyTheQueueAndDropItsEffects) {
  hub.queueAnimateSpell(spell(CardId::Fireball, &enemy()));
  hub.queueAnimateSpell(spell(CardId::Lightning, &enemy()));
  ASSERT_EQ(later.pending(), 1u);
  hub.onRemoteObjectsGone();
  EXPECT_TRUE(hub.eventQueue().empty());
  EXPECT_FALSE(hub.animating());
  // The effect on the screen ends after its objects went: nothing follows from it.
  later.tick();
  EXPECT_EQ(later.shown().size(), 1u);
  EXPECT_FALSE(hub.animating());
}

TEST_F(AnimationQueue, LaterAnimationClearsTheFinishedFlag) {
  hub.onFinishedAnimating();
  ASSERT_NE(local().state(), S::ProcessCombatQueue);  // nothing to show: on at once
  arrange(S::ProcessCombatQueue, S::ProcessCombatQueue);
  hub.queueAnimateSpell(spell(CardId::Fireball, &enemy()));
  EXPECT_FALSE(hub.remoteFinishedAnimating());
  later.tick();
  EXPECT_FALSE(hub.animating());
  EXPECT_EQ(local().state(), S::ProcessCombatQueue);  // the host has not finished yet
}

TEST_F(AnimationQueue, EnemyEyeAndCrewsAreNotShown) {
  hub.queueAnimateSpell(spell(CardId::Eye, &enemy()));
  hub.queueAnimateSpell(spell(CardId::Movers, &enemy()));
  hub.queueAnimateSpell(spell(CardId::Eye, &local()));
  ASSERT_EQ(later.shown().size(), 1u);
  EXPECT_EQ(later.shown()[0].caller, &local());
}

TEST_F(AnimationQueue, BadRecordsAreDropped) {
  HubLog log;
  hub.queueAnimateSpell(spell(77, &enemy()));
  hub.queueAnimateSpell(spell(CardId::Fireball, nullptr));
  EXPECT_TRUE(later.shown().empty());
  EXPECT_FALSE(hub.animating());
  EXPECT_EQ(log.count("dropped"), 2);
}

TEST_F(AnimationQueue, EffectsEndingAtOnceDoNotNest) {
  hub.setScreen(&screen);  // ends every effect at once
  hub.onFinishedAnimating();
  arrange(S::ProcessCombatQueue, S::ProcessCombatQueue);
  for (int i = 0; i < 5000; ++i) hub.queueAnimateSpell(spell(CardId::Fireball, &enemy()));
  EXPECT_EQ(screen.shown().size(), 5000u);
  EXPECT_FALSE(hub.animating());
}

TEST_F(AnimationQueue, TurnBeginStartsTheLocalTurn) {
  hub.onCardList({CardId::FourBlock, CardId::Dome});
  hub.onTurnBegin();
  EXPECT_EQ(game().turn(), 1);
  EXPECT_EQ(local().state(), S::CardChoose);
  EXPECT_EQ(local().cards(), (std::vector<int>{CardId::FourBlock, CardId::Dome}));
  EXPECT_EQ(screen.count("announceTurn") + later.count("announceTurn"), 1u);
}

TEST_F(AnimationQueue, CardListWithABadCardIsDropped) {
  const std::vector<int> hand = local().cards();
  hub.onCardList({CardId::FourBlock, 40});
  EXPECT_EQ(local().cards(), hand);
}

// ---- Board events ------------------------------------------------------------------------------

TEST_F(HubFixture, CollapseShownAboveGroundOnlyAndSentFirstByTheHost) {
  startOnline(true);
  BoardElem* above = local().board()->cellAtCentred(3, 5);
  BoardElem* below = local().board()->cellAtCentred(3, -5);
  hub.onBlockCollapsed(*below);
  EXPECT_FALSE(shown("collapseElement"));
  EXPECT_TRUE(link.sent().empty());
  hub.onBlockCollapsed(*above);
  EXPECT_EQ(screen.callsOf("collapseElement").at(0).elem, above);
  EXPECT_EQ(link.sentNames(), std::vector<std::string>{"sendBlockCollapsed"});
}

TEST_F(HubFixture, SoundsAreForTheLocalSide) {
  startOffline();
  hub.onRoomBuilt(*local().board()->cellAtCentred(0, 0));
  hub.onRoomBuilt(*enemy().board()->cellAtCentred(0, 0));
  hub.onFireLevelChanged(*enemy().board(), 30);
  const auto sounds = screen.callsOf("playBuildRoomSound");
  ASSERT_EQ(sounds.size(), 2u);
  EXPECT_EQ(sounds[0].values, std::vector<int>{1});
  EXPECT_EQ(sounds[1].values, std::vector<int>{0});
  EXPECT_EQ(screen.callsOf("updateFireSound").at(0).values, (std::vector<int>{0, 30}));
}

TEST_F(HubFixture, EnemyBoardChangesMoveTheTowerLabel) {
  startOffline();
  hub.onBoardChanged(*local().board());
  EXPECT_FALSE(shown("updateEnemyTowerLabel"));
  hub.onBoardChanged(*enemy().board());
  EXPECT_TRUE(shown("updateEnemyTowerLabel"));
  EXPECT_EQ(view.count(RecordingBoardObserver::Event::BoardChanged), 2);
}

TEST_F(HubFixture, RefusedComputerPickShowsNoMessage) {
  startOffline();
  hub.showPlayerMessage(enemy(), "NO_VALID_TARGETS");
  EXPECT_FALSE(shown("showFullscreenMessage"));
  hub.showPlayerMessage(local(), "NO_VALID_TARGETS");
  EXPECT_EQ(screen.callsOf("showFullscreenMessage").at(0).text, "NO_VALID_TARGETS");
}

TEST_F(HubFixture, SandboxTellsTheLastSpellWhenTheQueuesAreDone) {
  game().newGame(false, GameDirector::create("sandbox"));
  clearRecords();
  local().queueSpell(CardId::Fireball, 1, &enemy(), {});
  local().processSpellQueue();
  hub.spellQueuesProcessed();
  const auto told = screen.callsOf("showMessage");
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0].text, "FIREBALL_NAME");
  EXPECT_EQ(told[0].subtext, "FIREBALL_DESC");
}

}  // namespace

namespace {

// The host's own turn messages would move players its rules move: anywhere
// but on the joining side they are dropped.
TEST_F(HubFixture, HostTurnMessagesAreDroppedOutsideTheJoiningSide) {
  for (bool online : {false, true}) {
    if (online)
      startOnline(true);
    else
      startOffline();
    arrange(PlayerState::ProcessCombatQueue, PlayerState::CombatChooseSpell);
    const std::vector<int> hand = local().cards();
    HubLog log;
    hub.onTurnBegin();
    hub.onCardList({CardId::Dome});
    AnimateSpellEvent e;
    e.caster = &enemy();
    e.card = CardId::Fireball;
    hub.queueAnimateSpell(e);
    hub.onFinishedAnimating();
    EXPECT_EQ(game().turn(), 0);
    EXPECT_EQ(local().state(), PlayerState::ProcessCombatQueue);
    EXPECT_EQ(local().cards(), hand);
    EXPECT_TRUE(screen.shown().empty());
    EXPECT_EQ(log.count("dropped"), 4);
  }
}

}  // namespace

namespace {

TEST(DefaultHub, IsTheDefaultContextsHubEventsAndObserver) {
  EventDispatcher& hub = eventDispatcher();
  GameContext& ctx = GameContext::defaultContext();
  EXPECT_EQ(&hub.context(), &ctx);
  EXPECT_EQ(&ctx.hub(), static_cast<GameHub*>(&hub));
  EXPECT_EQ(&ctx.playerEvents(), static_cast<PlayerEvents*>(&hub));
  EXPECT_TRUE(ctx.isObserver(&hub));
  EXPECT_EQ(&eventDispatcher(), &hub);
}

}  // namespace
