// The event hub's heavy paths on full boards: a turn's resolution from both
// players in the combat queue to both choosing cards in the next turn, and
// the options a player is offered.
#include <benchmark/benchmark.h>

#include <memory>

#include "Board.h"
#include "CardTable.h"
#include "EventDispatcher.h"
#include "GameContext.h"
#include "game/GameSession.h"
#include "logog/logog.hpp"
#include "player/Player.h"

namespace {

// A wide tower above ground, a dug-out cellar, rooms all through it with
// cards stored in them, some damage and fire.
void buildFullTower(Player& p) {
  Board& b = *p.board();
  for (int dx = -4; dx <= 3; ++dx)
    for (int dy = -5; dy <= -2; ++dy) b.cellAtCentred(dx, dy)->setKind(ElemKind::Cave);
  static const int kRooms[] = {CardId::Library, CardId::Housing, CardId::Crystal, CardId::Shield};
  static const int kSpells[] = {CardId::Fireball, CardId::Lightning, CardId::Ray, CardId::Eye};
  static const int kCrews[] = {CardId::Repairers, CardId::Movers, CardId::Firefighters};
  int n = 0;
  for (int dx = -3; dx <= 3; ++dx) {
    for (int dy = 0; dy <= 15; ++dy, ++n) {
      BoardElem* e = b.cellAtCentred(dx, dy);
      e->setKind(ElemKind::FourBlock);
      if (dx == 0 && dy == 0) {
        e->applyCard(CardId::Archmage);
        continue;
      }
      if (n % 3 == 0) {
        const int room = kRooms[(n / 3) % 4];
        e->applyCard(room);
        for (int i = 0; i < e->roomPower(); ++i) {
          if (room == CardId::Library) e->applyCard(kSpells[i % 4]);
          if (room == CardId::Housing) e->applyCard(kCrews[i % 3]);
        }
      } else if (n % 7 == 0) {
        e->setDamaged(true);
      }
    }
  }
  b.cellAtCentred(-3, 12)->ignite();
  p.setMana(1000);
  p.setDwarves(1000);
}

struct Game {
  Game() : ctx(1), hub(ctx) {
    hub.startSingleGame("skirmish");
    for (Player* p : {local(), enemy()}) buildFullTower(*p);
  }
  Player* local() { return ctx.game().localPlayer(); }
  Player* enemy() { return ctx.game().enemyPlayer(); }
  GameContext ctx;
  EventDispatcher hub;
};

void quietLogs() {
  static bool done = false;
  if (done) return;
  done = true;
  logog::SetDefaultLevel(logog::LOGOG_LEVEL_ERROR);
}

// Both players' combat queues hold four spells each; the enemy is the second
// to finish choosing. Timed: its finish, the casting, repairs (the computer's
// frames), the fire pass and the next turn's deal, until both choose cards.
void BM_TurnResolution(benchmark::State& state) {
  quietLogs();
  int64_t frames = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto g = std::make_unique<Game>();
    GameContext& ctx = g->ctx;
    ctx.setPlayerEvents(nullptr);  // arranged without the hub hearing it
    g->local()->setState(PlayerState::ProcessCombatQueue);
    g->enemy()->setState(PlayerState::CombatChooseSpell);
    ctx.setPlayerEvents(&g->hub);
    for (int card : {CardId::Fireball, CardId::Lightning, CardId::Earthquake, CardId::Rats}) {
      g->local()->queueSpell(card, 2, g->enemy(), {});
      g->enemy()->queueSpell(card, 2, g->local(), {});
    }
    const int turn = ctx.game().turn();
    state.ResumeTiming();

    g->enemy()->finishSpells();
    GameSession& game = ctx.game();
    while (game.started() && (game.turn() == turn ||
                              game.localPlayer()->state() != PlayerState::CardChoose ||
                              game.enemyPlayer()->state() != PlayerState::CardChoose)) {
      g->hub.update(1.0f / 60.0f);
      // The local side has nothing to repair it could not leave: it ends the phase.
      if (game.localPlayer()->state() == PlayerState::RepairChooseSpell) g->hub.endPhase();
      ++frames;
    }

    state.PauseTiming();
    g.reset();
    state.ResumeTiming();
  }
  state.counters["frames"] = benchmark::Counter(static_cast<double>(frames),
                                                benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_TurnResolution)->Unit(benchmark::kMicrosecond);

// Where each of the 32 cards may be placed on a full board.
void BM_PlacementOptionsAllCards(benchmark::State& state) {
  quietLogs();
  Game g;
  std::size_t offered = 0;
  for (auto _ : state)
    for (int card = 0; card < CardTable::kCardCount; ++card)
      offered += g.local()->placementOptions(card).size();
  benchmark::DoNotOptimize(offered);
}
BENCHMARK(BM_PlacementOptionsAllCards)->Unit(benchmark::kMicrosecond);

// The stored cards offered in the three spell phases, with the castable test.
void BM_SpellOptions(benchmark::State& state) {
  quietLogs();
  Game g;
  std::size_t offered = 0;
  for (auto _ : state) {
    offered += g.local()->collectSpellOptions(false, true).size();
    offered += g.local()->collectSpellOptions(true, false).size();
  }
  benchmark::DoNotOptimize(offered);
}
BENCHMARK(BM_SpellOptions)->Unit(benchmark::kMicrosecond);

// Every picked target of every card, first pick, on the enemy's full board.
void BM_TargetOptionsAllCards(benchmark::State& state) {
  quietLogs();
  Game g;
  std::size_t offered = 0;
  for (auto _ : state)
    for (int card = 0; card < CardTable::kCardCount; ++card)
      offered += Player::targetOptions(*g.enemy()->board(), card, 0, {}).size();
  benchmark::DoNotOptimize(offered);
}
BENCHMARK(BM_TargetOptionsAllCards)->Unit(benchmark::kMicrosecond);

// A card chosen and taken back through the hub: options, highlights and the
// screen's calls.
void BM_PlacementChoiceThroughTheHub(benchmark::State& state) {
  quietLogs();
  Game g;
  g.local()->setCards({CardId::FourBlock});
  for (auto _ : state) {
    g.hub.selectCard(CardId::FourBlock);
    g.hub.cancelSelection();
  }
}
BENCHMARK(BM_PlacementChoiceThroughTheHub)->Unit(benchmark::kMicrosecond);

}  // namespace
BENCHMARK_MAIN();
