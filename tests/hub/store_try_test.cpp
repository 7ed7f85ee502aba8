// The store's try-outs in a sandbox: every card, one after the other in one game and in
// shuffled orders, acts and leaves the screen on the board, where the store shows.
#include <numeric>
#include <random>

#include "hub_fixture.h"

namespace {

class StoreTry : public HubFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(game().newGame(false, GameDirector::create("sandbox")));
    hub.setFlowState(FlowState::InGame);
    clearRecords();
  }

  bool choosing() {
    const PlayerState s = local().state();
    return s == PlayerState::PlacementChoose || isTargetState(s);
  }

  // Tries the card, picks its first offers and lets it play out. Returns what went
  // wrong, or an empty text.
  std::string tryOut(int cardId) {
    screen.clear();
    hub.tryProduct(cardId);
    bool picked = false, cancelled = false;
    for (int picks = 0; choosing() && picks < 4; ++picks) {
      if (local().options().empty()) {
        // A later pick with nothing left (a mover on a one-block tower): the player steps back.
        hub.cancelSelection();
        cancelled = true;
        break;
      }
      hub.selectBoardElem(local().options().front());
      picked = true;
      screen.runAll();
    }
    screen.runAll();
    if (choosing()) return "still choosing";
    bool cast = false;
    for (const auto& s : screen.shown()) cast = cast || s.record.card == cardId;
    const bool refused = screen.count("showFullscreenMessage") > 0;
    const CardRecord* card = CardTable::getCard(cardId);
    const bool placed = card->category == CardCategory::Structure || card->category == CardCategory::Room;
    if (!refused && !cancelled && !(placed ? picked : cast)) return "nothing happened";
    // The screen is back on the board (where the try began), a message the player
    // closes over it at most.
    std::string last = "showGameBoard";
    for (const std::string& call : screen.callNames())
      if (call == "showGameBoard" || call == "startAnimation" || call == "chooseTarget" ||
          call == "showModalMessage")
        last = call;
    if (last != "showGameBoard") return "the screen stays at " + last;
    // A spell of the combat phase is told by name over the board it returns to.
    if (screen.count("startAnimation") > 0) {
      const std::vector<std::string> calls = screen.callNames();
      const auto board = std::find(calls.rbegin(), calls.rend(), "showGameBoard");
      const auto told = std::find(calls.rbegin(), calls.rend(), "showMessage");
      if (told == calls.rend() || told > board) return "the spell's name is not shown over the board";
      if (screen.callsOf("showMessage").back().text != card->nameKey()) return "another name is told";
    }
    return "";
  }
};

TEST_F(StoreTry, EveryCardInARowActsAndReturnsToTheBoard) {
  for (int id = 0; id < CardTable::kCardCount; ++id)
    EXPECT_EQ("", tryOut(id)) << CardTable::getCard(id)->key << " in state "
                              << name(local().state());
}

class FirstTry : public StoreTry, public ::testing::WithParamInterface<int> {};

TEST_P(FirstTry, InAFreshSandboxActsAndReturnsToTheBoard) {
  EXPECT_EQ("", tryOut(GetParam())) << "in state " << name(local().state());
}

INSTANTIATE_TEST_SUITE_P(Cards, FirstTry, ::testing::Range(0, CardTable::kCardCount),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return std::string(CardTable::getCard(info.param)->key);
                         });

TEST_F(StoreTry, FirefightersAfterAFireballPutOutTheFire) {
  // The fireball strikes our own tower; a struck block catches fire on a coin's toss.
  for (int tries = 0; tries < 20 && local().board()->burningCount() == 0; ++tries)
    EXPECT_EQ("", tryOut(CardId::Fireball));
  ASSERT_GT(local().board()->burningCount(), 0);
  const int burning = local().board()->burningCount();
  EXPECT_EQ("", tryOut(CardId::Firefighters));
  EXPECT_EQ(burning - 1, local().board()->burningCount());
  EXPECT_EQ("", tryOut(CardId::Tunnelers));
}

TEST_F(StoreTry, ShuffledOrdersActAndReturnToTheBoard) {
  std::vector<int> order(CardTable::kCardCount);
  std::iota(order.begin(), order.end(), 0);
  std::mt19937 rng(7);
  for (int round = 0; round < 3; ++round) {
    std::shuffle(order.begin(), order.end(), rng);
    for (int id : order)
      EXPECT_EQ("", tryOut(id)) << "round " << round << ": " << CardTable::getCard(id)->key
                                << " in state " << name(local().state());
  }
}

}  // namespace
