// The game's players, boards and elements replicated from a hosting to a joining
// machine: what arrives equals what the host has, hostile traffic is refused, and
// objects the network deletes leave nothing dangling behind.
#include <cmath>
#include <limits>

#include "CardTable.h"
#include "MatchPair.h"

namespace {

class GameReplication : public MatchPair {
 protected:
  void expectMirrored(bool withLocalState) { expectGamesMirrored(host, join, withLocalState); }

  BoardElem* hostElem(int x, int y) { return host.game().localPlayer()->board()->cellAt(x, y); }
  BoardElem* joinElem(int x, int y) { return join.game().enemyPlayer()->board()->cellAt(x, y); }

  // The host plays both sides by the computer's rules, one update pass per frame
  // (the joining side takes what arrives as it goes), until `turn` has begun for
  // both or `frames` have passed; false when the turn did not come.
  bool playOnHostUntilTurn(int turn, int frames) {
    GameSession& g = host.game();
    auto reached = [&] {
      return g.turn() >= turn && !g.localPlayer()->isChoosingSpell() && !g.enemyPlayer()->isChoosingSpell();
    };
    for (int f = 0; f < frames && g.started(); ++f) {
      Player& local = *g.localPlayer();
      Player& enemy = *g.enemyPlayer();
      if (!Player::mustWaitFor(local.state(), enemy.state())) aiStep(local);
      if (reached()) return true;
      if (g.started() && !Player::mustWaitFor(enemy.state(), local.state())) aiStep(enemy);
      if (reached()) return true;
      host.replicas.updateReplicas();
      loopback::drain(join.peer.get());
      loopback::drain(host.peer.get());
    }
    return false;
  }
};

TEST_F(GameReplication, TheJoiningSideGetsTheHostsPlayersBoardsAndElements) {
  LogLines log;
  startGame();
  ASSERT_TRUE(sync());
  EXPECT_EQ(join.replicas.replicaCount(), 2u + 2u + 2u * 1600u);
  expectMirrored(true);
  EXPECT_EQ(join.game().localPlayer()->state(), PlayerState::CardChoose);
  EXPECT_GE(log.count("remote state change received"), 2);
  // Both name the same objects by the same ids.
  Player* hostLocal = host.game().localPlayer();
  EXPECT_EQ(join.replicas.playerById(host.replicas.idOf(hostLocal)), join.game().enemyPlayer());
  EXPECT_EQ(join.replicas.elemById(host.replicas.idOf(hostElem(3, 30))), joinElem(3, 30));
  EXPECT_EQ(join.replicas.idOf(joinElem(3, 30)), host.replicas.idOf(hostElem(3, 30)));
}

TEST_F(GameReplication, TurnsPlayedOnTheHostArriveWholeAndMeasured) {
  startGame();
  ASSERT_TRUE(sync());
  const size_t startBytes = join.meter.bytes, startMessages = join.meter.messages;
  const int firstTurn = host.game().turn();
  // Compared where nobody chooses a spell: while one does, the joining side keeps
  // the stored cards that player may cast from.
  ASSERT_TRUE(playOnHostUntilTurn(firstTurn + 6, 3000));
  ASSERT_TRUE(sync());
  const int turns = host.game().turn() - firstTurn;
  expectMirrored(false);
  const size_t perTurn = (join.meter.bytes - startBytes) / static_cast<size_t>(turns);
  RecordProperty("start_bytes", static_cast<int>(startBytes));
  RecordProperty("bytes_per_turn", static_cast<int>(perTurn));
  std::printf("replication: start %zu bytes in %zu messages; %d turns, %zu bytes per turn (%zu messages)\n",
              startBytes, startMessages, turns, perTurn, (join.meter.messages - startMessages) / turns);
}

TEST_F(GameReplication, AKindAndARoomInOneUpdateBothArrive) {
  startGame();
  ASSERT_TRUE(sync());
  BoardElem* e = hostElem(10, 25);
  ASSERT_EQ(e->kind(), ElemKind::Empty);
  e->setKind(ElemKind::FourBlock);
  e->setRoom(RoomType::Library);
  e->setRoomPower(3);
  e->setStoredCards({{CardId::Fireball, 3}});
  e->setBurning(true);
  e->refresh();  // plain setters: the refresh tells the replication
  ASSERT_TRUE(sync());
  const BoardElem* c = joinElem(10, 25);
  EXPECT_EQ(c->kind(), ElemKind::FourBlock);
  EXPECT_EQ(c->room(), RoomType::Library);
  EXPECT_EQ(c->storedCards().size(), 1u);
  EXPECT_TRUE(c->isBurning());
  const int burning = c->board()->burningCount();
  e->setBurning(false);
  e->refresh();
  ASSERT_TRUE(sync());
  EXPECT_EQ(c->board()->burningCount(), burning - 1);
  expectMirrored(true);
}

// Every element update reports its board's fire level, also when the fire stays.
TEST_F(GameReplication, ElementUpdatesReportTheFireLevelOfTheirBoard) {
  struct FireLevels : BoardObserver {
    std::vector<std::pair<const Board*, int>> reports;
    void onFireLevelChanged(Board& b, int percent) override { reports.emplace_back(&b, percent); }
  } fire;
  startGame();
  ASSERT_TRUE(sync());
  join.ctx.setObserver(&fire);
  const Board* board = join.game().enemyPlayer()->board();
  hostElem(8, 30)->setKind(ElemKind::FourBlock);  // a block: the level is counted
  ASSERT_TRUE(sync());
  ASSERT_FALSE(fire.reports.empty());
  EXPECT_EQ(fire.reports.back().first, board);
  fire.reports.clear();
  hostElem(8, 30)->reveal();  // no fire either way
  ASSERT_TRUE(sync());
  EXPECT_EQ(fire.reports.size(), 1u);
  fire.reports.clear();
  hostElem(8, 30)->ignite();
  ASSERT_TRUE(sync());
  ASSERT_EQ(fire.reports.size(), 1u);
  EXPECT_EQ(fire.reports.back().second, board->burningCount() * 100 / board->blockCount());
  EXPECT_EQ(board->burningCount(), host.game().localPlayer()->board()->burningCount());
  join.ctx.setObserver(nullptr);
}

TEST_F(GameReplication, StoredCardsArrivingWhileTheirOwnerChoosesASpellWaitForTheChoiceToEnd) {
  startGame();
  ASSERT_TRUE(sync());
  BoardElem* e = hostElem(19, 25);
  e->setKind(ElemKind::FourBlock);
  e->setRoom(RoomType::Library);
  e->setRoomPower(2);
  Player* hostLocal = host.game().localPlayer();
  hostLocal->setState(PlayerState::CombatChooseSpell);
  ASSERT_TRUE(sync());
  ASSERT_TRUE(join.game().enemyPlayer()->isChoosingSpell());
  e->setStoredCards({{CardId::Fireball, 2}});
  e->refresh();
  ASSERT_TRUE(sync());
  EXPECT_TRUE(joinElem(19, 25)->storedCards().empty());
  hostLocal->setState(PlayerState::Fire);
  ASSERT_TRUE(sync());
  ASSERT_TRUE(marker(host, join));  // one more round of the joining side's updates
  EXPECT_EQ(join.game().enemyPlayer()->state(), PlayerState::Fire);
  EXPECT_EQ(joinElem(19, 25)->storedCards(), e->storedCards());
}

// The joining side chooses for its own player from its copy of that player's board.
// A list that came during the build phase's choice is what the combat phase's
// options must be computed from, else the host refuses the choices made there.
TEST_F(GameReplication, StoredCardsHeldBackDuringOneSpellChoiceReachTheNextOne) {
  startGame();
  ASSERT_TRUE(sync());
  BoardElem* e = host.game().enemyPlayer()->board()->cellAt(19, 25);
  e->setKind(ElemKind::FourBlock);
  e->setRoom(RoomType::Library);
  e->setRoomPower(2);
  e->setStoredCards({{CardId::Eye, 1}});  // a friendly spell: the build phase is not skipped
  e->refresh();
  ASSERT_TRUE(sync());
  Player* me = join.game().localPlayer();
  const BoardElem* mine = me->board()->cellAt(19, 25);
  me->setState(PlayerState::BuildChooseSpell);
  ASSERT_EQ(me->state(), PlayerState::BuildChooseSpell);
  EXPECT_EQ(me->spellOptions(), (std::vector<BoardElem::StoredCard>{{CardId::Eye, 1}}));

  e->setStoredCards({{CardId::Eye, 1}, {CardId::Fireball, 2}});
  e->refresh();
  ASSERT_TRUE(sync());
  ASSERT_TRUE(marker(host, join));
  // The current choice keeps the list it was offered from.
  EXPECT_EQ(mine->storedCards(), (std::vector<BoardElem::StoredCard>{{CardId::Eye, 1}}));
  EXPECT_EQ(me->spellOptions(), (std::vector<BoardElem::StoredCard>{{CardId::Eye, 1}}));

  me->finishSpells();
  ASSERT_EQ(me->state(), PlayerState::CombatChooseSpell);
  EXPECT_EQ(mine->storedCards(), e->storedCards());
  EXPECT_EQ(me->spellOptions(), (std::vector<BoardElem::StoredCard>{{CardId::Fireball, 2}}));
}

// A cast within the phase comes back to the same choice; a list the host sent before
// it knew of the cast must not put the spent card back on offer.
TEST_F(GameReplication, StoredCardsHeldBackDuringAChoiceDoNotUndoACastOfTheSamePhase) {
  startGame();
  ASSERT_TRUE(sync());
  Player* hostSide = host.game().enemyPlayer();
  hostSide->setMana(30);
  BoardElem* e = hostSide->board()->cellAt(19, 25);
  e->setKind(ElemKind::FourBlock);
  e->setRoom(RoomType::Library);
  e->setRoomPower(3);
  e->setStoredCards({{CardId::Fireball, 2}, {CardId::Lightning, 1}});
  e->refresh();
  ASSERT_TRUE(sync());
  Player* me = join.game().localPlayer();
  me->setState(PlayerState::CombatChooseSpell);
  ASSERT_EQ(me->spellOptions().size(), 2u);

  e->setStoredCards({{CardId::Fireball, 2}, {CardId::Lightning, 1}, {CardId::Rain, 1}});
  e->refresh();
  ASSERT_TRUE(sync());
  ASSERT_TRUE(marker(host, join));
  ASSERT_TRUE(me->selectSpell(CardId::Fireball, 2, join.game().enemyPlayer()));
  ASSERT_EQ(me->state(), PlayerState::CombatChooseSpell);
  EXPECT_EQ(me->board()->cellAt(19, 25)->storedCards(),
            (std::vector<BoardElem::StoredCard>{{CardId::Lightning, 1}}));
  EXPECT_EQ(me->spellOptions(), (std::vector<BoardElem::StoredCard>{{CardId::Lightning, 1}}));
}

// Updates the host sends about one of its elements, each with one bad field: the
// joining side refuses the whole update and the element stays as it was.
struct BadElemUpdate {
  const char* name;
  int kind, room, roomPower, storedCard, storedPower;
  float water;
  bool truncate;
};

class HostileElemUpdate : public GameReplication, public ::testing::WithParamInterface<BadElemUpdate> {};

TEST_P(HostileElemUpdate, IsRefusedWithALogLine) {
  LogLines log;
  startGame();
  ASSERT_TRUE(sync());
  const BadElemUpdate& b = GetParam();
  const std::string before = boardDigest(join.game().enemyPlayer()->board());
  RakNet::BitStream state;
  for (int i = 0; i < 4; ++i) state.Write(false);
  uint32_t water;
  std::memcpy(&water, &b.water, 4);
  state.Write(water);
  for (int i = 0; i < 4; ++i) state.Write(i == 0);
  state.Write(static_cast<int32_t>(b.room));
  state.Write(static_cast<int32_t>(b.roomPower));
  state.Write(static_cast<uint32_t>(1));
  state.Write(static_cast<int32_t>(b.storedCard));
  state.Write(static_cast<int32_t>(b.storedPower));
  if (!b.truncate) state.Write(static_cast<int32_t>(b.kind));
  RakNet::BitStream msg;
  msg.Write(static_cast<unsigned char>(ID_REPLICA_MANAGER_SERIALIZE));
  msg.Write(static_cast<uint32_t>(1));
  msg.Write(host.replicas.idOf(hostElem(12, 22)));
  msg.Write(static_cast<uint32_t>(state.GetNumberOfBitsUsed()));
  msg.Write(&state);
  host.peer->Send(&msg, HIGH_PRIORITY, RELIABLE_ORDERED, 0, join.peer->GetMyGUID(), false);
  ASSERT_TRUE(marker(host, join));
  EXPECT_EQ(firstDifference(boardDigest(join.game().enemyPlayer()->board()), before), "");
  EXPECT_EQ(log.count("refused an element update at (12, 22)"), 1);
}

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Fields, HostileElemUpdate,
    ::testing::Values(BadElemUpdate{"Kind", 6, 2, 2, CardId::Fireball, 2, 0.0f, false},
                      BadElemUpdate{"NegativeKind", -1, 2, 2, CardId::Fireball, 2, 0.0f, false},
                      BadElemUpdate{"Room", 2, 6, 2, CardId::Fireball, 2, 0.0f, false},
                      BadElemUpdate{"RoomPower", 2, 2, -3, CardId::Fireball, 2, 0.0f, false},
                      BadElemUpdate{"StoredCard", 2, 2, 2, 32, 2, 0.0f, false},
                      BadElemUpdate{"MoreStoredThanPower", 2, 2, 0, CardId::Fireball, 0, 0.0f, false},
                      BadElemUpdate{"Water", 2, 2, 2, CardId::Fireball, 2, kNaN, false},
                      BadElemUpdate{"NegativeWater", 2, 2, 2, CardId::Fireball, 2, -1.0f, false},
                      BadElemUpdate{"Truncated", 2, 2, 2, CardId::Fireball, 2, 0.0f, true}),
    [](const ::testing::TestParamInfo<BadElemUpdate>& info) { return std::string(info.param.name); });

TEST_F(GameReplication, PlayerUpdatesWithBadStatesOrCardsAreRefused) {
  LogLines log;
  startGame();
  ASSERT_TRUE(sync());
  const std::string before = playerDigest(join.game().localPlayer(), false);
  // The joining side's own player carries counters and state only.
  for (int32_t state : {14, -1, 1000}) {
    RakNet::BitStream s;
    s.Write(static_cast<int32_t>(55));
    s.Write(static_cast<int32_t>(66));
    s.Write(state);
    RakNet::BitStream msg;
    msg.Write(static_cast<unsigned char>(ID_REPLICA_MANAGER_SERIALIZE));
    msg.Write(static_cast<uint32_t>(1));
    msg.Write(host.replicas.idOf(host.game().enemyPlayer()));
    msg.Write(static_cast<uint32_t>(s.GetNumberOfBitsUsed()));
    msg.Write(&s);
    host.peer->Send(&msg, HIGH_PRIORITY, RELIABLE_ORDERED, 0, join.peer->GetMyGUID(), false);
  }
  ASSERT_TRUE(marker(host, join));
  EXPECT_EQ(playerDigest(join.game().localPlayer(), false), before);
  EXPECT_EQ(log.count("state out of range"), 3);
  // A good state for the joining side's own player, which chooses by itself now:
  // the counters are taken, the state is not.
  const int changes = log.count("remote state change received");
  host.game().enemyPlayer()->setMana(17);
  host.game().enemyPlayer()->setState(PlayerState::EndTurn);
  ASSERT_TRUE(sync());
  EXPECT_EQ(join.game().localPlayer()->mana(), 17);
  EXPECT_EQ(join.game().localPlayer()->state(), PlayerState::CardChoose);
  EXPECT_EQ(log.count("remote state change received"), changes);
  // The opponent's full block with a card that does not exist.
  Player* hostLocal = host.game().localPlayer();
  hostLocal->setCards({CardId::Fireball, 40});
  const std::string enemyBefore = playerDigest(join.game().enemyPlayer(), true);
  ASSERT_TRUE(sync());
  EXPECT_EQ(playerDigest(join.game().enemyPlayer(), true), enemyBefore);
  EXPECT_EQ(log.count("cards out of range"), 1);
}

// Late in a long match the host's player has filled tall libraries and dwellings
// all over its board and queued a good part of what they hold: its lists of spell
// options and queued spells are as long as the rules let them be, and the joining
// side takes the whole update.
TEST_F(GameReplication, AHoardingPlayersLongListsArriveWhole) {
  startGame();
  ASSERT_TRUE(sync());
  Player& hoarder = *host.game().localPlayer();
  std::vector<Player::StoredCard> kept;
  hoarder.board()->forEachElem([&](BoardElem& e) {
    if (!e.isInPlay()) return;
    e.setKind(ElemKind::FourBlock);
    e.setRoom(e.isUnderground() ? RoomType::Housing : RoomType::Library);
    e.updateRoomPower();
    const int card = e.isUnderground() ? CardId::Repairers : CardId::Fireball;
    e.setStoredCards(std::vector<Player::StoredCard>(static_cast<size_t>(e.roomPower()), {card, e.roomPower()}));
    kept.insert(kept.end(), e.storedCards().begin(), e.storedCards().end());
  });
  ASSERT_GT(kept.size(), 1000u);
  hoarder.setSpellOptions(kept);
  BoardElem* target = host.game().enemyPlayer()->board()->cellAt(20, 21);
  for (size_t i = 0; i < 200; ++i) {
    AnimateSpellEvent spell;
    spell.caster = &hoarder;
    spell.target = host.game().enemyPlayer();
    spell.card = CardId::Fireball;
    spell.power = 1 + static_cast<int>(i % 20);
    spell.targets = {target};
    hoarder.mutableSpellQueue().push_back(spell);
  }
  hoarder.setMana(hoarder.mana() + 1);
  ASSERT_TRUE(sync());
  const Player& copy = *join.game().enemyPlayer();
  EXPECT_EQ(copy.mana(), hoarder.mana());
  EXPECT_EQ(copy.spellOptions().size(), kept.size());
  EXPECT_EQ(copy.spellQueue().size(), 200u);
  EXPECT_TRUE(playerDigest(&copy, true) == playerDigest(&hoarder, true));
}

TEST_F(GameReplication, ConstructionsOffTheBoardOrOfUnknownTypesCreateNothing) {
  LogLines log;
  startGame();
  ASSERT_TRUE(sync());
  const size_t count = join.replicas.replicaCount();
  auto construct = [&](const char* type, int x, int y, RakNet::NetworkID id) {
    RakNet::BitStream data;
    data.Write(host.replicas.idOf(host.game().localPlayer()));
    data.Write(host.replicas.idOf(host.game().localPlayer()->board()));
    data.Write(static_cast<int32_t>(x));
    data.Write(static_cast<int32_t>(y));
    data.Write(false);
    data.Write(true);
    sendConstruction(host, join, type, id, data);
  };
  construct("BoardElem", 40, 3, 900001);
  construct("BoardElem", 3, -1, 900002);
  construct("BoardElem", 3, 30, 900003);  // the cell has its element already
  construct("board", 1, 1, 900004);
  construct("BoardElemX", 1, 1, 900005);
  ASSERT_TRUE(marker(host, join));
  EXPECT_EQ(join.replicas.replicaCount(), count);
  EXPECT_EQ(log.count("off the board"), 2);
  EXPECT_EQ(log.count("the cell is taken"), 1);
  EXPECT_EQ(log.count("unknown type"), 2);
  expectMirrored(true);
}

TEST_F(GameReplication, TheHostTakesNoConstructionAndNoUpdateOfItsObjects) {
  LogLines log;
  startGame();
  ASSERT_TRUE(sync());
  const std::string before = boardDigest(host.game().localPlayer()->board());
  const size_t count = host.replicas.replicaCount();
  // A joining side that believes it hosts sends its copies' state and an object.
  join.link.hosting = true;
  joinElem(5, 25)->setKind(ElemKind::FourBlock);
  join.replicas.referenceReplica(*join.game().enemyPlayer()->board()->cellAt(6, 25));
  auto* stray = new Player(join.ctx);
  join.replicas.referenceReplica(*stray);
  join.replicas.updateReplicas();
  join.link.hosting = false;
  ASSERT_TRUE(marker(join, host));
  EXPECT_EQ(firstDifference(boardDigest(host.game().localPlayer()->board()), before), "");
  EXPECT_EQ(host.replicas.replicaCount(), count);
  EXPECT_GE(log.count("refused"), 1);
  join.replicas.destroyReplica(*stray);
  delete stray;
}

TEST_F(GameReplication, TheHostsDestructionTakesEverythingAndDetachesTheGame) {
  startGame();
  ASSERT_TRUE(sync());
  const size_t before = join.meter.bytes, messages = join.meter.messages;
  host.game().clearGame(false);
  EXPECT_EQ(host.replicas.replicaCount(), 0u);
  ASSERT_TRUE(marker(host, join));
  EXPECT_EQ(join.replicas.replicaCount(), 0u);
  std::printf("replication: end of a game %zu bytes in %zu messages\n", join.meter.bytes - before,
              join.meter.messages - messages);
  // A board goes with its elements in a few messages, not one each.
  EXPECT_LE(join.meter.messages - messages, 8u);
  EXPECT_EQ(join.game().localPlayer(), nullptr);
  EXPECT_EQ(join.game().enemyPlayer(), nullptr);
  join.game().clearGame(false);  // nothing left to free twice
  // A second game over the same connection.
  startGame();
  ASSERT_TRUE(sync());
  expectMirrored(true);
}

TEST_F(GameReplication, ALostConnectionTakesTheReplicatedGameOnTheJoiningSide) {
  startGame();
  ASSERT_TRUE(sync());
  host.peer->CloseConnection(join.peer->GetMyGUID(), true);
  ASSERT_TRUE(pump([&] { return join.replicas.manager().GetConnectionCount() == 0; }));
  EXPECT_EQ(join.replicas.replicaCount(), 0u);
  EXPECT_EQ(join.game().localPlayer(), nullptr);
  EXPECT_EQ(join.game().enemyPlayer(), nullptr);
  join.game().clearGame(false);
  // The host keeps its game.
  ASSERT_TRUE(pump([&] { return host.replicas.manager().GetConnectionCount() == 0; }));
  EXPECT_EQ(host.replicas.replicaCount(), 2u + 2u + 2u * 1600u);
  EXPECT_NE(host.game().localPlayer(), nullptr);
}

TEST_F(GameReplication, ClearingTheReplicationFreesTheCopiesButNotTheHostsGame) {
  startGame();
  ASSERT_TRUE(sync());
  join.replicas.clear();
  host.replicas.clear();
  EXPECT_EQ(join.replicas.replicaCount(), 0u);
  EXPECT_EQ(join.game().localPlayer(), nullptr);
  EXPECT_EQ(join.game().enemyPlayer(), nullptr);
  EXPECT_EQ(host.replicas.replicaCount(), 0u);
  ASSERT_NE(host.game().localPlayer(), nullptr);
  EXPECT_EQ(host.game().localPlayer()->board()->cellAt(0, 0)->x(), 0);
  host.game().clearGame(false);  // the game frees its own, once
}

TEST_F(GameReplication, CopiesOfAnAbandonedMatchCanBeDroppedBeforeTheNextOne) {
  startGame();
  ASSERT_TRUE(sync());
  join.game().clearGame(false);  // the joining side leaves: its game goes, and the replicas of it
  EXPECT_EQ(join.replicas.replicaCount(), 0u);
  join.replicas.dropCopies();
  EXPECT_EQ(join.replicas.replicaCount(), 0u);
  EXPECT_EQ(join.replicas.manager().GetReplicaCount(), 0u);
  // A next match on the same connection arrives whole.
  host.game().clearGame(false);
  startGame();
  ASSERT_TRUE(sync());
  expectMirrored(true);
}

TEST_F(GameReplication, TheJoiningSideFreesItsReplicatedGameOnceThenIgnoresTheHostsDestruction) {
  startGame();
  ASSERT_TRUE(sync());
  join.game().clearGame(false);
  EXPECT_EQ(join.replicas.replicaCount(), 0u);
  host.game().clearGame(false);
  ASSERT_TRUE(marker(host, join));
  EXPECT_EQ(join.replicas.replicaCount(), 0u);
}

}  // namespace
