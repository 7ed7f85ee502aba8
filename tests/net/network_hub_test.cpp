// The network object bound to an event hub: the hub's match link, every connection
// event reaching the hub's lobby flow, and received messages whose NetworkIDs name
// nothing refused before they reach the game.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "Board.h"
#include "CapturedLog.h"
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

TEST(NetworkHub, MessagesNamingUnknownObjectsAreRefusedAndKnownOnesResolved) {
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
  m.targets = {side.net.idOf(elem)};
  m.reflected = 1;
  AnimateSpellEvent e;
  ASSERT_TRUE(bridge.toEvent(m, e));
  EXPECT_EQ(e.caster, local);
  EXPECT_EQ(e.target, enemy);
  ASSERT_EQ(e.targets.size(), 1u);
  EXPECT_EQ(e.targets[0], elem);
  EXPECT_TRUE(e.reflected);
  EXPECT_FALSE(e.active);
  EXPECT_TRUE(e.animate) << "always shown, whatever was sent";

  for (auto breakIt : std::vector<std::function<void(protocol::AnimateSpellMsg&)>>{
           [](auto& x) { x.caster = 987654321; }, [](auto& x) { x.target = protocol::kNoObject; },
           [](auto& x) { x.targets.push_back(protocol::kNoObject); }, [](auto& x) { x.spared = {123456789}; }}) {
    protocol::AnimateSpellMsg bad = m;
    breakIt(bad);
    EXPECT_FALSE(bridge.toEvent(bad, e));
  }

  bridge.onRemoteSelectedBoardElem(987654321);
  EXPECT_TRUE(log.has("target choice naming no known element dropped"));
  bridge.onRemoteBlockExploded(987654321);
  EXPECT_TRUE(log.has("block explosion naming no known element dropped"));
  game.clearGame();
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
  ASSERT_TRUE(until([&] { return second.hub.flowState() == FlowState::Menu; }, {&first, &second}));
  EXPECT_FALSE(second.hub.connectedToLobby());
  EXPECT_EQ(second.flow.lastText("showMenuMessage"), "FAILED_CONNECTING_LOBBY");
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
