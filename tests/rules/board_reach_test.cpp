// The scans for choices look only at a board's reach; they must offer exactly
// what a scan of the whole board offers, in the same order.
#include "CardTable.h"
#include "game_fixture.h"

namespace {

std::vector<BoardElem*> everywhere(const Board& b, bool (*test)(const BoardElem&, int, int),
                                   int card, int pick) {
  std::vector<BoardElem*> out;
  b.forEachElem([&](BoardElem& e) {
    if (test(e, card, pick)) out.push_back(&e);
  });
  return out;
}

bool placeable(const BoardElem& e, int card, int) { return e.canPlace(card); }
bool aimable(const BoardElem& e, int card, int pick) { return e.isValidTarget(card, pick); }

class BoardReach : public GameFixture, public ::testing::WithParamInterface<const char*> {};

TEST_P(BoardReach, ChoicesMatchAScanOfTheWholeBoard) {
  ASSERT_TRUE(start(GetParam()));
  int checks = 0;
  for (int round = 0; round < 12 && game().started(); ++round) {
    playOut(40);
    if (!game().bothPlayers()) break;
    for (Player* p : {&local(), &enemy()}) {
      const Board& b = *p->board();
      b.forEachElem([&](BoardElem& e) {
        if (e.kind() != ElemKind::Empty || e.isUnderground()) {
          ASSERT_TRUE(b.isInReach(e.x(), e.y())) << e.x() << "," << e.y();
        }
      });
      for (int card = 0; card < CardTable::kCardCount; ++card) {
        EXPECT_EQ(p->placementOptions(card), everywhere(b, placeable, card, 0)) << card;
        for (int pick = 0; pick < 2; ++pick)
          EXPECT_EQ(Player::targetOptions(b, card, pick, {}), everywhere(b, aimable, card, pick))
              << card << "/" << pick;
      }
      ++checks;
    }
  }
  EXPECT_GT(checks, 2);
}

INSTANTIATE_TEST_SUITE_P(Modes, BoardReach,
                         ::testing::Values("skirmish", "water_trial", "dynamite_trial1",
                                           "sandbox"));

}  // namespace
