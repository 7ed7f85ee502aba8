// The running game: starting, clearing, turns, the computer's frame and the
// order of the steps both players share.
#include <algorithm>

#include "CardTable.h"
#include "game_fixture.h"
#include "CapturedLog.h"
#include "ports/MatchLink.h"
#include "ports/SpellEffects.h"

namespace {

using Step = GameSession::SharedStep;

class Session : public GameFixture {};

TEST_F(Session, ANewGameBuildsBothSidesDealsAndBeginsTheFirstTurn) {
  ASSERT_TRUE(start("skirmish"));
  EXPECT_TRUE(game().started());
  EXPECT_FALSE(game().online());
  EXPECT_EQ(0, game().turn());
  for (Player* p : {&local(), &enemy()}) {
    ASSERT_NE(nullptr, p->board());
    int elems = 0;
    p->board()->forEachElem([&](BoardElem& e) {
      ++elems;
      EXPECT_EQ(p, e.owner());
    });
    EXPECT_EQ(Board::kSize * Board::kSize, elems);
    EXPECT_EQ(p, p->board()->owner());
    EXPECT_EQ(PlayerState::CardChoose, p->state());
    EXPECT_EQ(CardId::Archmage, p->cards().front());
  }
  EXPECT_EQ("WE", local().board()->ownerName());
  EXPECT_EQ("ENEMY", enemy().board()->ownerName());
  EXPECT_EQ(&enemy(), game().otherPlayer(local()));
  EXPECT_EQ(&local(), game().otherPlayer(enemy()));
  EXPECT_TRUE(game().isLocal(local()));
  EXPECT_FALSE(game().isLocal(enemy()));
}

TEST_F(Session, TheModesIntroIsShownInTheLanguageOfTheGame) {
  MapTextLookup texts;
  texts.set("SANDBOX_INTRO", "Build freely.");
  ctx.setTextLookup(&texts);
  RecordingGameHub recorded;
  ctx.setHub(&recorded);
  ASSERT_TRUE(start("sandbox"));
  ASSERT_EQ(1u, recorded.count("showIntroMessage"));
  EXPECT_EQ("Build freely.", recorded.callsOf("showIntroMessage")[0].text);
  ASSERT_TRUE(start("skirmish"));
  EXPECT_EQ(1u, recorded.count("showIntroMessage"));
  ctx.setHub(&hub);
  ctx.setTextLookup(nullptr);
}

TEST_F(Session, AQueueWorkedOffInAStateWithoutOneIsLoggedAndChangesNothing) {
  ASSERT_TRUE(start("skirmish"));
  local().setState(PlayerState::Message);
  CapturedLog log;
  game().onSpellQueueProcessed(local());
  EXPECT_EQ(1, log.count("invalid player state in playerSpellQueueProcessedAnim: 9"));
  EXPECT_EQ(PlayerState::Message, local().state());
}

TEST_F(Session, TheDefaultContextHoldsTheGame) {
  EXPECT_EQ(&GameContext::defaultContext().game(), &GameContext::defaultContext().session());
  EXPECT_EQ(&ctx.game(), &ctx.session());
}

// ---- Clearing ------------------------------------------------------------------

TEST_F(Session, ClearingLeavesNothingBehind) {
  RecordingSpellEffects screen;  // effects stay pending, as on a real screen
  ctx.setSpellEffects(&screen);
  ASSERT_TRUE(start("skirmish"));
  const GameToken token = game().gameToken();
  while (screen.pending() == 0 && game().started()) frame();
  ASSERT_GT(screen.pending(), 0u) << "the game should have shown a spell";
  game().clearGame(false);
  EXPECT_FALSE(game().started());
  EXPECT_EQ(nullptr, game().director());
  EXPECT_EQ(nullptr, game().localPlayer());
  EXPECT_EQ(nullptr, game().enemyPlayer());
  EXPECT_FALSE(token.alive());
  // The effect that was playing finishes after its game: dropped, nothing touched.
  screen.runAll();
  frame();
  ctx.setSpellEffects(nullptr);
}

TEST(SessionEnd, AContextGoingAwayEndsItsGameWithoutTheOutsidePorts) {
  auto observer = std::make_unique<RecordingBoardObserver>();
  auto link = std::make_unique<RecordingMatchLink>();
  link->hosting = true;
  auto ctx = std::make_unique<GameContext>(3);
  ctx->setObserver(observer.get());
  ctx->setMatchLink(link.get());
  ASSERT_TRUE(ctx->game().newGame(true, GameDirector::create("skirmish")));
  // As at exit: the screens and the network are gone before the context.
  observer.reset();
  link.reset();
  ctx.reset();  // the sanitizer sees any use of the ports freed above
}

TEST_F(Session, AHostRegistersEveryObjectAndDestroysEachOnClearing) {
  RecordingMatchLink link;
  link.hosting = true;
  ctx.setMatchLink(&link);
  ASSERT_TRUE(game().newGame(true, GameDirector::create("skirmish")));
  EXPECT_FALSE(ctx.lacksAuthority());
  EXPECT_EQ(2, link.referencedPlayers);
  EXPECT_EQ(2, link.referencedBoards);
  EXPECT_EQ(2 * Board::kSize * Board::kSize, link.referencedElems);
  game().nextTurn();
  EXPECT_EQ(1, link.turnBegins);
  game().clearGame(false);
  EXPECT_EQ(2, link.destroyedPlayers);
  EXPECT_EQ(2, link.destroyedBoards);
  EXPECT_EQ(link.referencedElems, link.destroyedElems);
  ctx.setMatchLink(nullptr);
}

// The joining side: players and boards arrive by replication, which hands them
// over to the game; the game owns them from then on, as it owns its own.
class JoiningSide : public GameFixture {
 protected:
  JoiningSide() { ctx.setMatchLink(&link); }
  ~JoiningSide() override {
    game().clearGame(false);
    ctx.setMatchLink(nullptr);
  }
  // A player with its board, handed over as replication does; null when refused.
  Player* adopt(bool local) {
    Player* p = game().adoptPlayer(std::make_unique<Player>(ctx), local);
    if (!p) return nullptr;
    auto board = std::make_unique<Board>(ctx);
    board->fill();
    EXPECT_NE(game().adoptBoard(std::move(board), *p), nullptr);
    return p;
  }

  RecordingMatchLink link;
};

TEST_F(JoiningSide, BeginsWithoutAuthorityAndOnlyCountsTurns) {
  game().beginClientGame();
  EXPECT_TRUE(game().started());
  EXPECT_TRUE(game().online());
  EXPECT_TRUE(game().lacksAuthority());
  EXPECT_TRUE(ctx.lacksAuthority());
  Player* mine = adopt(true);
  ASSERT_NE(mine, nullptr);
  ASSERT_NE(adopt(false), nullptr);
  EXPECT_EQ(mine->board()->owner(), mine);
  EXPECT_EQ(mine->board()->ownerName(), "WE");
  game().nextTurn();
  EXPECT_EQ(1, game().turn());
  EXPECT_EQ(PlayerState::Invalid, mine->state());
  EXPECT_TRUE(mine->cards().empty());
  EXPECT_EQ(0, link.turnBegins);
  game().update();  // no computer here
}

// Both forms free what the game took over; the forced one lets go of the replication's
// other copies of the host's objects first.
TEST_F(JoiningSide, ClearingFreesWhatTheGameTookOverAfterItsReplicasLetGo) {
  for (bool force : {false, true}) {
    SCOPED_TRACE(force ? "forced" : "not forced");
    link = RecordingMatchLink();
    game().beginClientGame();
    ASSERT_NE(adopt(true), nullptr);
    ASSERT_NE(adopt(false), nullptr);
    game().clearGame(force);  // the sanitizer sees any leak or double free
    EXPECT_EQ(nullptr, game().localPlayer());
    EXPECT_EQ(nullptr, game().enemyPlayer());
    EXPECT_EQ(2, link.destroyedPlayers);
    EXPECT_EQ(2, link.destroyedBoards);
    EXPECT_EQ(2 * Board::kSize * Board::kSize, link.destroyedElems);
    EXPECT_EQ(force ? 1u : 0u, link.count("dropRemoteObjects"));
    if (force) EXPECT_EQ("dropRemoteObjects", link.sentNames().front());
  }
  link.hosting = true;
  ASSERT_TRUE(game().newGame(true, GameDirector::create("skirmish")));
  link.clearSent();
  game().clearGame(true);
  EXPECT_EQ(0u, link.count("dropRemoteObjects")) << "the host has no copies";
}

TEST_F(JoiningSide, TakesObjectsOnlyInItsOwnMatchAndOnePlayerAndBoardASide) {
  CapturedLog log;
  auto newPlayer = [&] { return std::make_unique<Player>(ctx); };
  // No game, a game against the computer, a hosted match: nothing is taken over,
  // and the running game keeps its players.
  EXPECT_EQ(nullptr, game().adoptPlayer(newPlayer(), true));
  ASSERT_TRUE(start("skirmish"));
  Player* own = game().localPlayer();
  EXPECT_EQ(nullptr, game().adoptPlayer(newPlayer(), true));
  EXPECT_EQ(nullptr, game().adoptBoard(std::make_unique<Board>(ctx), *own));
  EXPECT_EQ(own, game().localPlayer());
  link.hosting = true;
  ASSERT_TRUE(game().newGame(true, GameDirector::create("skirmish")));
  EXPECT_EQ(nullptr, game().adoptPlayer(newPlayer(), false));
  link.hosting = false;
  game().clearGame(false);
  EXPECT_EQ(nullptr, game().adoptPlayer(newPlayer(), true)) << "a cleared match takes nothing";
  EXPECT_EQ(log.count("no network match runs"), 4);

  game().beginClientGame();
  Player* mine = adopt(true);
  ASSERT_NE(mine, nullptr);
  EXPECT_EQ(nullptr, game().adoptPlayer(newPlayer(), true));
  EXPECT_EQ(mine, game().localPlayer());
  EXPECT_EQ(nullptr, game().adoptBoard(std::make_unique<Board>(ctx), *mine));
  Player stranger(ctx);
  EXPECT_EQ(nullptr, game().adoptBoard(std::make_unique<Board>(ctx), stranger));
  EXPECT_EQ(log.count("refused a remote"), 8);
}

TEST_F(JoiningSide, WhatTheHostTakesAwayTheGameFrees) {
  game().beginClientGame();
  Player* mine = adopt(true);
  Player* theirs = adopt(false);
  ASSERT_NE(theirs, nullptr);
  EXPECT_TRUE(game().dropBoard(*theirs->board()));
  EXPECT_EQ(theirs->board(), nullptr);
  EXPECT_EQ(theirs, game().enemyPlayer());
  EXPECT_TRUE(game().dropPlayer(*mine));  // with its board
  EXPECT_EQ(nullptr, game().localPlayer());
  EXPECT_EQ(1, link.destroyedPlayers);
  EXPECT_EQ(2, link.destroyedBoards);
  Player stranger(ctx);
  Board strangers(ctx);
  EXPECT_FALSE(game().dropPlayer(stranger));
  EXPECT_FALSE(game().dropBoard(strangers));
}

TEST_F(JoiningSide, BeginningClearsAGameAgainstTheComputerButNotAnotherMatch) {
  ASSERT_TRUE(start("skirmish"));
  game().beginClientGame();
  EXPECT_EQ(nullptr, game().localPlayer());
  EXPECT_EQ(nullptr, game().director());
  Player* mine = adopt(true);
  game().beginClientGame();
  EXPECT_EQ(mine, game().localPlayer());
}

// ---- The computer's frame -------------------------------------------------------

// The headless hub takes the computer's choices on the running game's one path:
// what does not fit the player's state and offers is refused before anything acts.
TEST_F(Session, TheHeadlessHubChecksEveryChoiceAgainstTheRules) {
  ASSERT_TRUE(start("skirmish"));
  enemy().setCards({CardId::VertBlock});
  GameLog log;
  EXPECT_FALSE(hub.aiSelectCard(enemy(), CardId::FourBlock));  // not in the hand
  EXPECT_FALSE(hub.aiSelectTarget(enemy(), enemyAt(1, 0)));    // not placing
  hub.aiFinishSpells(enemy());                                  // not a spell phase
  EXPECT_EQ(enemy().state(), PlayerState::CardChoose);
  EXPECT_EQ(log.find("ENEMY out of sync").size(), 3u);
  EXPECT_TRUE(hub.aiSelectCard(enemy(), CardId::VertBlock));
  EXPECT_EQ(enemy().state(), PlayerState::PlacementChoose);
}

class ComputerFrame : public GameFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(start("skirmish"));
    ctx.setHub(&recorded);
  }
  void TearDown() override { ctx.setHub(&hub); }
  RecordingGameHub recorded;
};

TEST_F(ComputerFrame, WaitsWhileItsStateMustWaitForTheHuman) {
  // The computer is ready for combat while the human still places cards.
  enemy().setState(PlayerState::CombatChooseSpell);
  game().update();
  EXPECT_TRUE(recorded.calls().empty());
  // Ready to cast while the human still picks combat targets.
  local().setState(PlayerState::CombatSpellChooseTarget);
  enemy().setState(PlayerState::ProcessCombatQueue);
  game().update();
  EXPECT_TRUE(recorded.calls().empty());
}

TEST_F(ComputerFrame, MakesOneMoveAFrameOtherwise) {
  recorded.acceptChoices = true;
  game().update();
  EXPECT_EQ(1u, recorded.calls().size());
  EXPECT_EQ(1u, recorded.count("card choice"));
  EXPECT_EQ(&enemy(), recorded.calls()[0].player);
  game().update();
  EXPECT_EQ(2u, recorded.count("card choice"));
}

TEST_F(ComputerFrame, NeverMovesInASandboxOrAStoppedGame) {
  game().newGame(false, GameDirector::create("sandbox"));
  recorded.clear();  // its intro
  // Not even where the human waits on it (a try-out of an attack leaves it repairing).
  for (PlayerState enemyState : {PlayerState::CardChoose, PlayerState::RepairChooseSpell}) {
    local().setState(PlayerState::Fire);
    enemy().setState(enemyState);
    for (int frame = 0; frame < 5; ++frame) game().update();
    EXPECT_TRUE(recorded.calls().empty()) << static_cast<int>(enemyState);
  }
  game().newGame(false, GameDirector::create("skirmish"));
  game().checkGameOver();  // nobody has an archmage yet: a draw
  recorded.clear();
  game().update();
  EXPECT_TRUE(recorded.calls().empty());
}

// ---- Shared steps --------------------------------------------------------------

TEST_F(Session, SharedStepsRunOncePerTurnInOrder) {
  ASSERT_TRUE(start("skirmish"));
  while (game().started() && game().turn() < 4) frame();
  ASSERT_GE(game().turn(), 4);
  const auto& steps = hub.sharedSteps();
  const Step cycle[] = {Step::CastCombatQueues, Step::FirePass, Step::NextTurn};
  ASSERT_GE(steps.size(), 12u);
  for (std::size_t i = 0; i < steps.size(); ++i) EXPECT_EQ(cycle[i % 3], steps[i]) << i;
  EXPECT_EQ(game().turn(), static_cast<int>(std::count(steps.begin(), steps.end(), Step::NextTurn)));
}

TEST_F(Session, AStepStartsOnlyWhenBothPlayersStandInItsState) {
  ASSERT_TRUE(start("skirmish"));
  local().setState(PlayerState::EndTurn);
  EXPECT_EQ(Step::None, game().sharedStepFor(PlayerState::EndTurn));
  EXPECT_EQ(0, game().turn());
  enemy().setState(PlayerState::EndTurn);  // the hub runs the next turn
  EXPECT_EQ(1, game().turn());
  EXPECT_EQ(PlayerState::CardChoose, local().state());
  EXPECT_EQ(PlayerState::CardChoose, enemy().state());
  EXPECT_EQ(Step::None, game().sharedStepFor(PlayerState::CardChoose));
}

TEST_F(Session, TheLocalQueueIsCastBeforeTheEnemys) {
  RecordingSpellEffects screen(true);
  ctx.setSpellEffects(&screen);
  ASSERT_TRUE(start("skirmish"));
  for (Player* p : {&local(), &enemy()}) {
    p->setMana(100);
    p->setState(PlayerState::CombatChooseSpell);
  }
  // Lightning strikes the top block of the other tower.
  enemy().queueSpell(CardId::Lightning, 1, &local(), {});
  enemy().queueSpell(CardId::Lightning, 1, &local(), {});
  local().queueSpell(CardId::Lightning, 1, &enemy(), {});
  local().queueSpell(CardId::Lightning, 1, &enemy(), {});
  enemy().setState(PlayerState::ProcessCombatQueue);
  EXPECT_TRUE(screen.shown().empty());
  local().setState(PlayerState::ProcessCombatQueue);
  ASSERT_EQ(4u, screen.shown().size());
  EXPECT_EQ(&local(), screen.shown()[0].caller);
  EXPECT_EQ(&local(), screen.shown()[1].caller);
  EXPECT_EQ(&enemy(), screen.shown()[2].caller);
  EXPECT_EQ(&enemy(), screen.shown()[3].caller);
  // Both queues done: both players left the combat.
  EXPECT_NE(PlayerState::ProcessCombatQueue, local().state());
  EXPECT_NE(PlayerState::ProcessCombatQueue, enemy().state());
  ctx.setSpellEffects(nullptr);
}

}  // namespace
