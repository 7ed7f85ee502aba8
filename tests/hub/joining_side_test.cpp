// The joining side of a match: its player's choices act at once and go to the host;
// those that depend on an answer of the host still to come wait for it in order,
// with the wait shown, and act in their turn.
#include "hub_fixture.h"

namespace {

using S = PlayerState;

class JoiningSideChoices : public HubFixture {
 protected:
  // A working block at (dx, dy) with a room holding `stored` (power 2).
  BoardElem* room(int dx, int dy, RoomType type, std::vector<BoardElem::StoredCard> stored) {
    BoardElem* e = localAt(dx, dy);
    e->setKind(ElemKind::FourBlock);
    e->setRoom(type);
    e->setRoomPower(2);
    e->setStoredCards(std::move(stored));
    return e;
  }
  BoardElem* damagedBlock(int dx, int dy) {
    BoardElem* e = localAt(dx, dy);
    e->setKind(ElemKind::FourBlock);
    e->setDamaged(true);
    return e;
  }
  // The host's word after it took every choice made here (its counters are this side's).
  void hostTakesAll() {
    hostAnswers();
    hub.update(0);
  }
  std::vector<std::string> waits() const {
    std::vector<std::string> out;
    for (const auto& c : screen.calls())
      if (c.what == "showModalMessage" || c.what == "closeMessage") out.push_back(c.what + " " + c.text);
    return out;
  }
};

TEST_F(JoiningSideChoices, ActsOnEveryChoiceAtOnceAndSendsIt) {
  startOnline(false);
  local().setCards({CardId::FourBlock, CardId::Archmage});
  // A pick and ESC, a pick, its place and the end of the phase, with no word of the
  // host in between.
  hub.selectCard(CardId::FourBlock);
  hub.cancelSelection();
  hub.selectCard(CardId::Archmage);
  ASSERT_EQ(local().state(), S::PlacementChoose);
  BoardElem* spot = local().options().front();
  hub.selectBoardElem(spot);
  hub.endPhase();
  EXPECT_EQ(local().state(), S::BuildChooseSpell);
  EXPECT_EQ(spot->room(), RoomType::Archmage);
  EXPECT_EQ(link.sentNames(), (std::vector<std::string>{"sendSelectedCard", "sendCancel", "sendSelectedCard",
                                                        "sendSelectedBoardElem", "sendFinishedSelectingCards"}));
  EXPECT_TRUE(hub.heldChoices().empty());
  EXPECT_EQ(screen.count("showModalMessage"), 0u);
}

TEST_F(JoiningSideChoices, PlacesItsCardItselfAsWell) {
  startOnline(false);
  local().setCards({CardId::FourBlock});
  hub.selectCard(CardId::FourBlock);
  BoardElem* spot = local().options().front();
  hub.selectBoardElem(spot);
  EXPECT_EQ(spot->kind(), ElemKind::FourBlock);
  EXPECT_TRUE(shown("playBuildBlockSound"));
  EXPECT_EQ(link.count("sendSelectedBoardElem"), 1u);
}

// The host decides whether the build phase just entered ends by itself: an end of
// the phase pressed meanwhile waits, shown, and ends the phase only if the host
// kept it; the enemy's wait is what is shown after.
TEST_F(JoiningSideChoices, EndOfPhaseWaitsForTheHostsStepOfTheBuildPhase) {
  for (const S word : {S::BuildChooseSpell, S::CombatChooseSpell}) {
    startOnline(false);
    arrange(S::BuildChooseSpell, S::CardChoose);
    hostSays(S::CardChoose);  // the host has not taken the end of the cards yet
    HubLog log;
    hub.endPhase();
    EXPECT_EQ(local().state(), S::BuildChooseSpell);
    EXPECT_TRUE(link.sent().empty());
    EXPECT_EQ(hub.heldChoices().size(), 1u);
    EXPECT_TRUE(hub.awaitsHost());
    hub.update(0);
    EXPECT_EQ(waits(), std::vector<std::string>{"showModalMessage WAITING_FOR_SERVER"});

    hostSays(word);
    hub.update(0);
    EXPECT_EQ(local().state(), S::CombatChooseSpell) << name(word);
    EXPECT_EQ(link.count("sendFinishedSelectingSpells"), word == S::BuildChooseSpell ? 1u : 0u) << name(word);
    EXPECT_EQ(log.has("dropped: the host ended the phase"), word == S::CombatChooseSpell) << name(word);
    EXPECT_TRUE(hub.heldChoices().empty());
    EXPECT_FALSE(hub.awaitsHost());
    EXPECT_EQ(waits(), (std::vector<std::string>{"showModalMessage WAITING_FOR_SERVER", "closeMessage ",
                                                 "showModalMessage WAITING_FOR_ENEMY"}))
        << name(word);
    game().clearGame(false);
  }
}

// Choices made while the player's spell is shown wait for it to be cast and for the
// host's results, then act in order as if made then: the ESC finds nothing to cancel
// any more, the second spell is chosen.
TEST_F(JoiningSideChoices, ChoicesDuringACastWaitForItsResultsInOrder) {
  startOnline(false);
  RecordingGameScreen slow;  // effects play until ticked
  hub.setScreen(&slow);
  room(0, 1, RoomType::Housing, {{CardId::Repairers, 2}, {CardId::Repairers, 2}});
  BoardElem* first = damagedBlock(-1, 1);
  BoardElem* second = damagedBlock(1, 1);
  local().setDwarves(10);
  arrange(S::BuildChooseSpell, S::BuildChooseSpell);
  ASSERT_TRUE(hub.selectSpell(CardId::Repairers, 2, &local()));
  hub.selectBoardElem(first);
  ASSERT_TRUE(local().isCasting());
  hub.cancelSelection();
  EXPECT_FALSE(hub.selectSpell(CardId::Repairers, 2, &local()));
  EXPECT_EQ(hub.heldChoices().size(), 2u);

  slow.runAll();  // cast here; the host's results have not come
  hub.update(0);
  EXPECT_EQ(local().state(), S::BuildChooseSpell);
  EXPECT_EQ(hub.heldChoices().size(), 2u);
  HubLog log;
  first->setDamaged(false);  // the host's repair, with its word showing the payment
  hostTakesAll();
  EXPECT_TRUE(hub.heldChoices().empty());
  EXPECT_TRUE(log.has("invalid state when cancelling"));
  EXPECT_EQ(link.sentNames(), (std::vector<std::string>{"sendSelectedSpell", "sendSelectedBoardElem",
                                                        "sendSelectedSpell"}));
  EXPECT_EQ(local().state(), S::BuildSpellChooseTarget);
  EXPECT_EQ(local().options(), std::vector<BoardElem*>{second});
  // The wait was shown while they waited, and closed before the second spell's choice.
  const std::vector<std::string> calls = slow.callNames();
  const auto lastWait = std::find(calls.rbegin(), calls.rend(), "showModalMessage");
  ASSERT_NE(lastWait, calls.rend());
  EXPECT_EQ(slow.callsOf("showModalMessage").back().text, "WAITING_FOR_SERVER");
  EXPECT_NE(std::find(calls.rbegin(), lastWait, "closeMessage"), lastWait);
  EXPECT_EQ(calls.back(), "chooseTarget");
  hub.setScreen(&screen);
}

// The cast's results bring new offers: the library the crew repaired offers its spell.
TEST_F(JoiningSideChoices, ComputesItsOffersAnewWhenTheCastsResultsCome) {
  startOnline(false);
  room(0, 1, RoomType::Housing, {{CardId::Repairers, 2}});
  BoardElem* lib = room(1, 1, RoomType::Library, {{CardId::Eye, 2}});
  lib->setDamaged(true);
  local().setDwarves(10);
  arrange(S::BuildChooseSpell, S::BuildChooseSpell);
  ASSERT_TRUE(hub.selectSpell(CardId::Repairers, 2, &local()));
  hub.selectBoardElem(lib);
  ASSERT_EQ(local().state(), S::BuildChooseSpell);
  EXPECT_TRUE(local().spellOptions().empty());
  EXPECT_TRUE(hub.awaitsHost());

  lib->setDamaged(false);  // the host's repair arrives, with its word
  screen.clear();
  hostTakesAll();
  EXPECT_EQ(local().spellOptions(), (std::vector<BoardElem::StoredCard>{{CardId::Eye, 2}}));
  EXPECT_TRUE(shown("setSpellList"));
  EXPECT_FALSE(hub.awaitsHost());
  screen.clear();
  hub.update(0);  // nothing changed since: nothing shown again
  EXPECT_FALSE(shown("setSpellList"));
}

// A crew that costs nothing shows no payment: its results are awaited on its target.
TEST_F(JoiningSideChoices, AFreeCrewIsAwaitedOnItsTarget) {
  startOnline(false);
  local().setCards({CardId::Tunnelers, CardId::FourBlock});
  hub.selectCard(CardId::Tunnelers);
  BoardElem* earth = nullptr;
  for (BoardElem* e : local().options())
    if (e->isValidTarget(CardId::Tunnelers, 0)) earth = e;
  ASSERT_NE(earth, nullptr);
  hub.selectBoardElem(earth);  // dug on the spot, by the host
  hub.selectCard(CardId::FourBlock);
  hostTakesAll();
  EXPECT_EQ(local().state(), S::CardChoose);
  EXPECT_EQ(link.count("sendSelectedCard"), 1u);

  earth->setKind(ElemKind::Cave);  // the host's result reaches this side
  hub.update(0);
  EXPECT_EQ(local().state(), S::PlacementChoose);
  EXPECT_EQ(link.count("sendSelectedCard"), 2u);
}

TEST_F(JoiningSideChoices, ASecondSpellWaitsForTheHostToTakeThePayment) {
  startOnline(false);
  room(0, 1, RoomType::Library, {{CardId::Rats, 2}, {CardId::Rats, 2}});
  local().setMana(20);
  arrange(S::CombatChooseSpell, S::CombatChooseSpell);
  ASSERT_TRUE(hub.selectSpell(CardId::Rats, 2, &enemy()));
  EXPECT_EQ(local().mana(), 15);
  hub.endPhase();  // depends on no payment: acts behind nothing
  EXPECT_EQ(local().state(), S::ProcessCombatQueue);
  EXPECT_EQ(link.count("sendFinishedSelectingSpells"), 1u);

  startOnline(false);
  room(0, 1, RoomType::Library, {{CardId::Rats, 2}, {CardId::Rats, 2}});
  local().setMana(20);
  arrange(S::CombatChooseSpell, S::CombatChooseSpell);
  ASSERT_TRUE(hub.selectSpell(CardId::Rats, 2, &enemy()));
  EXPECT_FALSE(hub.selectSpell(CardId::Rats, 2, &enemy()));
  EXPECT_EQ(link.count("sendSelectedSpell"), 1u);
  local().setHostWord(S::CombatChooseSpell, 15, local().dwarves());
  hub.update(0);
  EXPECT_EQ(link.count("sendSelectedSpell"), 2u);
  EXPECT_EQ(local().mana(), 10);
}

TEST_F(JoiningSideChoices, HeldChoicesGoWithTheGamesEnd) {
  startOnline(false);
  arrange(S::BuildChooseSpell, S::CardChoose);
  hostSays(S::CardChoose);
  hub.endPhase();
  ASSERT_EQ(hub.heldChoices().size(), 1u);
  hub.onGameLost();
  EXPECT_TRUE(hub.heldChoices().empty());
  EXPECT_TRUE(shownInOrder({"showModalMessage", "closeMessage", "showGameEnded"}));
  hostSays(S::BuildChooseSpell);
  hub.update(0);
  EXPECT_TRUE(link.sent().empty());
}

TEST_F(JoiningSideChoices, TakesTheAutomaticStepsOnTheHostsWordOnly) {
  startOnline(false);
  // Nothing to cast and no fire: the host would step on, but here the copy decides nothing.
  arrange(S::ProcessCombatQueue, S::ProcessCombatQueue);
  local().onQueueDone();
  ASSERT_EQ(local().state(), S::RepairChooseSpell);
  EXPECT_TRUE(hub.awaitsHost());
  hub.update(0);
  EXPECT_EQ(local().state(), S::RepairChooseSpell);

  hostSays(S::Fire);
  hub.update(0);
  EXPECT_EQ(local().state(), S::Fire);
  EXPECT_FALSE(hub.awaitsHost());
  EXPECT_TRUE(link.sent().empty());

  // A word that is no automatic step moves nothing; the build phase's step is taken
  // on entry when the word came first.
  arrange(S::BuildSpellChooseTarget, S::CombatChooseSpell);
  hostSays(S::EndTurn);
  hub.update(0);
  EXPECT_EQ(local().state(), S::BuildSpellChooseTarget);
  hostSays(S::CombatChooseSpell);
  hub.update(0);
  EXPECT_EQ(local().state(), S::BuildSpellChooseTarget);
  hub.cancelSelection();
  EXPECT_EQ(local().state(), S::CombatChooseSpell);
  EXPECT_EQ(link.sentNames(), std::vector<std::string>{"sendCancel"});
}

TEST_F(JoiningSideChoices, RefusedSpellIsNotSent) {
  startOnline(false);
  room(0, 1, RoomType::Library, {{CardId::Collapse, 2}});
  arrange(S::CombatChooseSpell, S::CombatChooseSpell);
  ASSERT_EQ(local().spellOptions(), (std::vector<BoardElem::StoredCard>{{CardId::Collapse, 2}}));
  // The stored COLLAPSE costs mana the player does not have.
  EXPECT_FALSE(hub.selectSpell(CardId::Collapse, 2, &enemy()));
  EXPECT_EQ(link.count("sendSelectedSpell"), 0u);
  EXPECT_TRUE(shown("showFullscreenMessage"));
}

}  // namespace
