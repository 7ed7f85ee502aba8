// The local player's choices, and the other machine's choices, which are
// checked before the host acts on them.
#include <functional>

#include "hub_fixture.h"

namespace {

using S = PlayerState;

// ---- Remote choices on the host ------------------------------------------------------

struct RemoteCase {
  const char* name;
  // Brings the remote (enemy) player into position.
  std::function<void(HubFixture&, Player&)> arrange;
  // The message; returns the hub's answer.
  std::function<bool(EventDispatcher&, Player*)> send;
  bool taken;
  S stateAfter;
};

std::ostream& operator<<(std::ostream& os, const RemoteCase& c) { return os << c.name; }

class RemoteChoice : public HubFixture, public ::testing::WithParamInterface<RemoteCase> {
 public:
  // Raises the fixture's protected helpers for the table's lambdas.
  using HubFixture::arrange;
};

TEST_P(RemoteChoice, IsCheckedBeforeUse) {
  const RemoteCase& c = GetParam();
  startOnline(true);
  Player& remote = enemy();
  c.arrange(*this, remote);
  const S before = remote.state();
  const std::vector<int> hand = remote.cards();
  HubLog log;

  EXPECT_EQ(c.send(hub, &remote), c.taken);
  EXPECT_EQ(remote.state(), c.taken ? c.stateAfter : before);
  if (!c.taken) {
    EXPECT_EQ(remote.cards(), hand);
    EXPECT_TRUE(log.has("ENEMY out of sync")) << c.name;
  }
}

void inCardPhase(HubFixture&, Player&) {}

void withHand(Player& p, std::vector<int> hand) { p.setCards(std::move(hand)); }

// A friendly stored spell offered in the build phase: REPAIRERS in a housing,
// with a damaged block to repair; the remote player has the dwarves.
void inBuildPhase(HubFixture& f, Player& p) {
  Board& b = *p.board();
  b.cellAtCentred(0, 0)->applyCard(CardId::Housing);
  b.cellAtCentred(0, 0)->applyCard(CardId::Repairers);
  b.cellAtCentred(1, 0)->setKind(ElemKind::FourBlock);
  b.cellAtCentred(1, 0)->setDamaged(true);
  p.setDwarves(10);
  static_cast<RemoteChoice&>(f).arrange(S::CardChoose, S::BuildChooseSpell);
}

void placingABlock(HubFixture&, Player& p) {
  withHand(p, {CardId::FourBlock});
  ASSERT_TRUE(p.selectCard(CardId::FourBlock));
}

BoardElem* offered(Player& p) { return p.options().front(); }

BoardElem* notOffered(Player& p) {
  // The centre holds the start block: nothing may be placed on it.
  return p.board()->cellAtCentred(0, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RemoteChoice,
    ::testing::Values(
        RemoteCase{"CardInTheHand",
                   [](HubFixture&, Player& p) { withHand(p, {CardId::FourBlock}); },
                   [](EventDispatcher& h, Player* p) {
                     return h.onRemoteSelectedCard(p, CardId::FourBlock);
                   },
                   true, S::PlacementChoose},
        RemoteCase{"CardIdPastTheTable", inCardPhase,
                   [](EventDispatcher& h, Player* p) { return h.onRemoteSelectedCard(p, 32); },
                   false, S::CardChoose},
        RemoteCase{"NegativeCardId", inCardPhase,
                   [](EventDispatcher& h, Player* p) { return h.onRemoteSelectedCard(p, -1); },
                   false, S::CardChoose},
        RemoteCase{"CardNotInTheHand",
                   [](HubFixture&, Player& p) { withHand(p, {CardId::VertBlock}); },
                   [](EventDispatcher& h, Player* p) {
                     return h.onRemoteSelectedCard(p, CardId::FourBlock);
                   },
                   false, S::CardChoose},
        RemoteCase{"CardOutsideTheCardPhase", inBuildPhase,
                   [](EventDispatcher& h, Player* p) {
                     return h.onRemoteSelectedCard(p, p->cards().front());
                   },
                   false, S::BuildChooseSpell},
        RemoteCase{"OfferedSpell", inBuildPhase,
                   [](EventDispatcher& h, Player* p) {
                     return h.onRemoteSelectedSpell(p, CardId::Repairers, 1);
                   },
                   true, S::BuildSpellChooseTarget},
        RemoteCase{"SpellNotOffered", inBuildPhase,
                   [](EventDispatcher& h, Player* p) {
                     return h.onRemoteSelectedSpell(p, CardId::Fireball, 1);
                   },
                   false, S::BuildChooseSpell},
        RemoteCase{"SpellWithAnotherPower", inBuildPhase,
                   [](EventDispatcher& h, Player* p) {
                     return h.onRemoteSelectedSpell(p, CardId::Repairers, 5);
                   },
                   false, S::BuildChooseSpell},
        RemoteCase{"SpellIdPastTheTable", inBuildPhase,
                   [](EventDispatcher& h, Player* p) { return h.onRemoteSelectedSpell(p, 99, 1); },
                   false, S::BuildChooseSpell},
        RemoteCase{"SpellInTheCardPhase", inCardPhase,
                   [](EventDispatcher& h, Player* p) {
                     return h.onRemoteSelectedSpell(p, CardId::Repairers, 1);
                   },
                   false, S::CardChoose},
        RemoteCase{"OfferedElement", placingABlock,
                   [](EventDispatcher& h, Player* p) {
                     return h.onRemoteSelectedBoardElem(p, offered(*p));
                   },
                   true, S::CardChoose},
        RemoteCase{"ElementNotOffered", placingABlock,
                   [](EventDispatcher& h, Player* p) {
                     return h.onRemoteSelectedBoardElem(p, notOffered(*p));
                   },
                   false, S::PlacementChoose},
        RemoteCase{"NoElement", placingABlock,
                   [](EventDispatcher& h, Player* p) {
                     return h.onRemoteSelectedBoardElem(p, nullptr);
                   },
                   false, S::PlacementChoose},
        RemoteCase{"ElementInTheCardPhase", inCardPhase,
                   [](EventDispatcher& h, Player* p) {
                     return h.onRemoteSelectedBoardElem(p, notOffered(*p));
                   },
                   false, S::CardChoose},
        RemoteCase{"FinishCardsInTheBuildPhase", inBuildPhase,
                   [](EventDispatcher& h, Player* p) {
                     return h.onRemoteFinishedSelectingCards(p);
                   },
                   false, S::BuildChooseSpell},
        RemoteCase{"FinishSpellsInTheCardPhase", inCardPhase,
                   [](EventDispatcher& h, Player* p) {
                     return h.onRemoteFinishedSelectingSpells(p);
                   },
                   false, S::CardChoose},
        RemoteCase{"FinishSpellsInTheBuildPhase", inBuildPhase,
                   [](EventDispatcher& h, Player* p) {
                     return h.onRemoteFinishedSelectingSpells(p);
                   },
                   true, S::CombatChooseSpell},
        // The other machine's cancel is taken in any state; outside a choice it changes nothing.
        RemoteCase{"CancelInTheCardPhase", inCardPhase,
                   [](EventDispatcher& h, Player* p) { return h.onRemoteCancel(p); }, true,
                   S::CardChoose},
        RemoteCase{"CancelAPlacement", placingABlock,
                   [](EventDispatcher& h, Player* p) { return h.onRemoteCancel(p); }, true,
                   S::CardChoose}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HubFixture, RemoteChoiceWithoutAPlayerIsDropped) {
  startOnline(true);
  HubLog log;
  EXPECT_FALSE(hub.onRemoteSelectedCard(nullptr, CardId::FourBlock));
  EXPECT_FALSE(hub.onRemoteCancel(nullptr));
  EXPECT_TRUE(log.has("unknown player"));
}

TEST_F(HubFixture, RemoteBoardClickEndsTheRemotePlayersQueueOrFire) {
  startOnline(true);
  arrange(S::Fire, S::Fire);
  hub.onRemoteClickedBoard(&enemy());
  EXPECT_EQ(enemy().state(), S::EndTurn);
  EXPECT_EQ(local().state(), S::Fire);
  // Elsewhere it is reported out of sync; without a player nothing happens.
  HubLog log;
  hub.onRemoteClickedBoard(&enemy());
  EXPECT_EQ(enemy().state(), S::EndTurn);
  EXPECT_TRUE(log.has("ENEMY out of sync"));
  hub.onRemoteClickedBoard(nullptr);
}

TEST_F(HubFixture, RemoteFinishWithoutTheArchmageIsTakenAndRefusedByTheRules) {
  startOnline(true);
  EXPECT_TRUE(hub.onRemoteFinishedSelectingCards(&enemy()));
  EXPECT_EQ(enemy().state(), S::CardChoose);  // turn 0 wants the archmage first
}

// The screen's choices are checked as the other machine's are: one that does not
// fit the player's state and offers changes nothing, closes nothing, sends nothing.
TEST_F(HubFixture, ScreenChoicesTheRulesRefuseAreNotTakenNorSent) {
  startOnline(false);
  local().setCards({CardId::VertBlock});
  HubLog log;
  hub.selectCard(CardId::FourBlock);               // not in the hand
  hub.selectSpell(CardId::Fireball, 1, &enemy());  // not a spell phase
  hub.selectBoardElem(localAt(1, 0));              // nothing offered
  EXPECT_EQ(local().state(), S::CardChoose);
  EXPECT_EQ(log.count("WE out of sync"), 3);
  EXPECT_TRUE(link.sent().empty());
  EXPECT_FALSE(shown("closeMessage"));
}

TEST_F(HubFixture, APhaseEndsOnlyWhenTheModeLetsIt) {
  for (const char* mode : {"sandbox", "skirmish"}) {
    startOffline(mode);
    arrange(S::CombatChooseSpell, S::ProcessCombatQueue);
    const S before = local().state();
    ASSERT_EQ(before, S::CombatChooseSpell) << mode;
    HubLog log;
    hub.endPhase();
    const bool lets = std::string(mode) == "skirmish";
    EXPECT_EQ(local().state() != before, lets) << mode;
    EXPECT_EQ(log.has("does not let the phase end"), !lets) << mode;
  }
}

TEST_F(HubFixture, CancelOutsideAChoiceIsLoggedAndNotSent) {
  startOnline(false);
  HubLog log;
  hub.cancelSelection();
  EXPECT_TRUE(log.has("invalid state when cancelling: 2"));
  EXPECT_FALSE(log.has("out of sync")) << "the line says only that";
  EXPECT_EQ(link.sent().size(), 0u);
  EXPECT_EQ(local().state(), S::CardChoose);
}

TEST_F(HubFixture, OfflineChoicesSendNothing) {
  startOffline();
  local().setCards({CardId::FourBlock});
  hub.selectCard(CardId::FourBlock);
  hub.selectBoardElem(local().options().front());
  hub.endPhase();
  EXPECT_TRUE(link.sent().empty());
}

TEST_F(HubFixture, SpellsCastOnTheOpponentAimAtIt) {
  startOffline();
  EXPECT_EQ(local().spellTargetFor(CardId::Fireball), &enemy());
  EXPECT_EQ(enemy().spellTargetFor(CardId::Fireball), &local());
  EXPECT_EQ(local().spellTargetFor(CardId::Repairers), &local());
}

}  // namespace
