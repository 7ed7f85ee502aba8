// Whole games between two computer players with the board bookkeeping checked
// after every frame: counters, rooms, stored cards and water stay consistent.
#include <sstream>

#include "game_fixture.h"

namespace {

// The first broken promise of a board, or empty.
std::string brokenInvariant(const Board& board) {
  int blocks = 0, burning = 0;
  std::ostringstream out;
  board.forEachElem([&](BoardElem& e) {
    if (!out.str().empty()) return;
    if (e.isBlock()) ++blocks;
    if (e.isBurning()) ++burning;
    if (e.isBurning() && !e.isBlock())
      out << "burning non-block at " << e.x() << "," << e.y();
    else if (e.room() != RoomType::None && !e.isBlock())
      out << "room in a non-block at " << e.x() << "," << e.y();
    else if (static_cast<int>(e.storedCards().size()) > e.roomPower())
      out << "more stored cards than power at " << e.x() << "," << e.y();
    else if (e.waterLevel() < 0.0f)
      out << "negative water at " << e.x() << "," << e.y();
    else if (!e.isUnderground() && e.waterLevel() != 0.0f)
      out << "water above ground at " << e.x() << "," << e.y();
    else
      for (const auto& c : e.storedCards())
        if (c.second != e.roomPower()) out << "stored power differs at " << e.x() << "," << e.y();
  });
  if (!out.str().empty()) return out.str();
  if (blocks != board.blockCount()) out << "block count " << board.blockCount() << " vs " << blocks;
  else if (burning != board.burningCount())
    out << "burning count " << board.burningCount() << " vs " << burning;
  return out.str();
}

struct InvariantCase {
  const char* mode;
  uint32_t seed;
};

class Invariants : public ::testing::TestWithParam<InvariantCase> {};

TEST_P(Invariants, HoldAfterEveryFrame) {
  GameContext ctx(GetParam().seed);
  HeadlessHub hub(ctx);
  GameSession& game = ctx.game();
  ASSERT_TRUE(game.newGame(false, GameDirector::create(GetParam().mode)));
  for (int frame = 0; frame < 100000 && game.started(); ++frame) {
    game.update();
    Player& local = *game.localPlayer();
    if (game.started() && !Player::mustWaitFor(local.state(), game.enemyPlayer()->state()))
      aiStep(local);
    for (Player* p : {game.localPlayer(), game.enemyPlayer()}) {
      const std::string broken = brokenInvariant(*p->board());
      ASSERT_TRUE(broken.empty()) << p->displayName() << " turn " << game.turn() << ": " << broken;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Games, Invariants,
                         ::testing::Values(InvariantCase{"skirmish", 1}, InvariantCase{"skirmish", 2},
                                           InvariantCase{"skirmish", 5},
                                           InvariantCase{"water_trial", 3},
                                           InvariantCase{"fire_trial4", 3},
                                           InvariantCase{"dynamite_trial1", 3}),
                         [](const ::testing::TestParamInfo<InvariantCase>& info) {
                           return std::string(info.param.mode) + "_" +
                                  std::to_string(info.param.seed);
                         });

}  // namespace
