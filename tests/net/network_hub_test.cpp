// The network object bound to an event hub: the hub's match link, every connection
// event reaching the hub's lobby flow, and received messages whose NetworkIDs name
// nothing reaching the hub with no object.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "Board.h"
#include "CapturedLog.h"
#include "CardTable.h"
#include "EventDispatcher.h"
#include "GameContext.h"
#include "GameReplicas.h"
#include "HubBridge.h"
#include "LobbyFixture.h"
#include "LobbyHost.h"
#include "LobbyScreen.h"
#include "Network.h"
#include "game/GameDirector.h"
#include "game/GameSession.h"
#include "logog/logog.hpp"
#include "player/AnimateSpellEvent.h"
#include "player/Player.h"

namespace {

using Clock = std::chrono::steady_clock;

using LogLines = CapturedLog;

// A hub with recording screens and a network object bound to it.
struct Side {
  Side() {
    hub.setFlowHost(&flow);
    hub.setLobbyScreen(&lobby);
  }
  RecordingFlowHost flow;
  RecordingLobbyScreen lobby;
  GameContext ctx{5};
  EventDispatcher hub{ctx};
  Network net{hub};
};

TEST(NetworkHub, IsTheHubsMatchAndLobbyLinkUntilItGoes) {
  GameContext ctx;
  EventDispatcher hub(ctx);
  {
    Network net(hub);
    EXPECT_EQ(&ctx.matchLink(), &net);
    EXPECT_EQ(&hub.lobbyLink(), &net);
    net.setHosting(true);
    EXPECT_TRUE(ctx.matchLink().isServer());
  }
  EXPECT_FALSE(ctx.matchLink().isServer()) << "the context's own stand-in is back";
  EXPECT_FALSE(hub.lobbyLink().isLocalPlayer(0));
}

TEST(NetworkHub, TheGamesOneNetworkIsTheDefaultHubsMatchLink) {
  Network& net = network();
  EXPECT_EQ(&network(), &net);
  EXPECT_EQ(&eventDispatcher().context().matchLink(), &net);
  EXPECT_EQ(&GameContext::defaultContext().matchLink(), &net);
}

TEST(NetworkHub, IdsNamingNoObjectReachTheHubAsNoneAndKnownOnesResolve) {
  LogLines log;
  Side side;
  side.net.setHosting(true);
  GameSession& game = side.ctx.game();
  ASSERT_TRUE(game.newGame(true, GameDirector::create("skirmish")));
  HubBridge bridge(side.hub, *side.net.replicas());
  Player* local = game.localPlayer();
  Player* enemy = game.enemyPlayer();
  BoardElem* elem = enemy->board()->cellAtCentred(0, 0);

  protocol::AnimateSpellMsg m;
  m.caster = side.net.idOf(local);
  m.target = side.net.idOf(enemy);
  m.card = 19;
  m.power = 2;
  m.targets = {side.net.idOf(elem), 987654321, protocol::kNoObject};
  m.spared = {123456789};
  m.reflected = 1;
  AnimateSpellEvent e;
  bridge.toEvent(m, e);
  EXPECT_EQ(e.caster, local);
  EXPECT_EQ(e.target, enemy);
  EXPECT_EQ(e.targets, (std::vector<BoardElem*>{elem, nullptr, nullptr})) << "each id keeps its entry";
  EXPECT_EQ(e.spared, std::vector<BoardElem*>{nullptr});
  EXPECT_TRUE(e.reflected);
  EXPECT_FALSE(e.active);
  EXPECT_TRUE(e.animate) << "always shown, whatever was sent";
  m.caster = 987654321;
  m.target = protocol::kNoObject;
  bridge.toEvent(m, e);
  EXPECT_EQ(e.caster, nullptr);
  EXPECT_EQ(e.target, nullptr);

  // The hub decides: a choice of no element is refused, a board event about none shows nothing.
  enemy->setCards({CardId::FourBlock});
  ASSERT_TRUE(enemy->selectCard(CardId::FourBlock));
  bridge.onRemoteSelectedBoardElem(987654321);
  EXPECT_TRUE(log.has("target choice names no known element"));
  EXPECT_TRUE(log.has("ENEMY out of sync: element choice refused (no element)"));
  EXPECT_EQ(enemy->state(), PlayerState::PlacementChoose);
  bridge.onRemoteBlockExploded(987654321);
  bridge.onRemoteBlockCollapsed(987654321);
  bridge.onRemoteDoorDestroyed(protocol::kNoObject);
  EXPECT_TRUE(log.has("block explosion names no known element"));
  game.clearGame(false);
}

class NetworkHubOnLobby : public ::testing::Test {
 protected:
  void start(unsigned maxClients) {
    LobbyHostOptions options;
    options.bind = "127.0.0.1";
    options.port = 0;
    options.maxClients = maxClients;
    options.config.devCode = "123456";
    ASSERT_TRUE(lobby.start(options));
  }
  void enter(Side& s) {
    s.net.setLobbyEndpoint("127.0.0.1", lobby.port());
    s.net.init();
    s.hub.enterLobby();
  }
  bool until(const std::function<bool()>& done, std::initializer_list<Side*> sides) {
    const auto limit = Clock::now() + std::chrono::seconds(8);
    while (Clock::now() < limit) {
      lobby.pump();
      for (Side* s : sides) s->hub.update(1.0f / 60.0f);
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
  }

  RecordingMailer mailer;
  LobbyHost lobby{mailer};
};

TEST_F(NetworkHubOnLobby, TheLobbysRequestReachesTheHubsPromptAndAFullLobbyTheMenu) {
  start(1);
  Side first, second;
  enter(first);
  ASSERT_TRUE(until([&] { return first.hub.lobbyPrompt() == LobbyPrompt::Email; }, {&first}));
  EXPECT_EQ(first.hub.flowState(), FlowState::Lobby);
  EXPECT_TRUE(first.hub.connectedToLobby());

  enter(second);
  ASSERT_TRUE(until([&] { return second.flow.lastText("showMenuMessage") == "FAILED_CONNECTING_LOBBY"; },
                    {&first, &second}));
  EXPECT_FALSE(second.hub.connectedToLobby());
  EXPECT_EQ(second.flow.callNames().back(), "showMenuMessage") << "over the connecting message";
}

TEST_F(NetworkHubOnLobby, AServerThatGoesSendsTheLobbyToTheMenuAndANewAttemptStartsClean) {
  start(4);
  Side side;
  enter(side);
  ASSERT_TRUE(until([&] { return side.hub.lobbyPrompt() == LobbyPrompt::Email; }, {&side}));
  lobby.stop();
  ASSERT_TRUE(until([&] { return side.hub.flowState() == FlowState::Menu; }, {&side}));
  EXPECT_FALSE(side.hub.connectedToLobby());
  EXPECT_EQ(side.flow.lastText("showMenuMessage"), "CONNECTION_LOBBY_LOST");

  start(4);
  side.net.setLobbyEndpoint("127.0.0.1", lobby.port());
  side.hub.enterLobby();
  ASSERT_TRUE(until([&] { return side.hub.connectedToLobby() && side.hub.flowState() == FlowState::Lobby; },
                    {&side}));
  EXPECT_EQ(side.net.replicas()->replicaCount(), 0u);
}

}  // namespace
