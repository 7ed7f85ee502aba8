#include "Network.h"

#include <cstdlib>

#include "EventDispatcher.h"
#include "GameContext.h"
#include "GameReplicas.h"
#include "HubBridge.h"
#include "ReplicaManager3_custom.h"
#include "logog/logog.hpp"
#include "protocol/Limits.h"
#include "player/AnimateSpellEvent.h"
#include "raknet/MessageIdentifiers.h"

using namespace protocol;

Network::Network() : ownedIdManager_(std::make_unique<RakNet::NetworkIDManager>()) {
  networkIdManager_ = ownedIdManager_.get();
}

Network::Network(EventDispatcher& hub) : Network() { bindHub(hub); }

Network::~Network() {
  if (peer_) {
    // The connections end first, while the replicas still hear of it (a joining
    // side's copies of the host's objects go by their pop rule). Messages still
    // queued (a game's result, a last chat line) leave before the close.
    peer_->Shutdown(kShutdownWaitMs, 0, LOW_PRIORITY);
    if (replicas_) peer_->DetachPlugin(&replicas_->manager());
    RakNet::RakPeerInterface::DestroyInstance(peer_);
    peer_ = nullptr;
  }
  replicas_.reset();
  if (hub_ && &hub_->context().matchLink() == this) hub_->context().setMatchLink(nullptr);
  if (hub_ && &hub_->lobbyLink() == this) hub_->setLobbyLink(nullptr);
}

Network& network() {
  static Network net(eventDispatcher());
  return net;
}

void Network::bindHub(EventDispatcher& hub) {
  if (hub_) return;
  hub_ = &hub;
  replicas_ = std::make_unique<GameReplicas>(hub.context(), *networkIdManager_);
  replicas_->setOnPlayerDetached([&hub] { hub.onRemoteObjectsGone(); });
  bridge_ = std::make_unique<HubBridge>(hub, *replicas_);
  listener_ = bridge_.get();
  hub.context().setMatchLink(this);
  hub.setLobbyLink(this);
  if (peer_) peer_->AttachPlugin(&replicas_->manager());
}

// ---- Replication ----------------------------------------------------------------------------

void Network::referenceReplica(Player& p) {
  if (replicas_) replicas_->referenceReplica(p);
}
void Network::referenceReplica(Board& b) {
  if (replicas_) replicas_->referenceReplica(b);
}
void Network::referenceReplica(BoardElem& e) {
  if (replicas_) replicas_->referenceReplica(e);
}
void Network::destroyReplica(Player& p) {
  if (replicas_) replicas_->destroyReplica(p);
}
void Network::destroyReplica(Board& b) {
  if (replicas_) replicas_->destroyReplica(b);
}
void Network::destroyReplica(BoardElem& e) {
  if (replicas_) replicas_->destroyReplica(e);
}
void Network::updateReplicas() {
  if (replicas_ && peer_) replicas_->updateReplicas();
}
void Network::takeHeldBackCards(Player& player) {
  if (replicas_) replicas_->applyHeldBackCardsOf(player);
}
void Network::dropRemoteObjects() {
  if (replicas_ && !hosting_) replicas_->dropCopies();
}

std::uint64_t Network::idOf(const BoardElem* elem) const {
  return replicas_ && elem ? replicas_->idOf(elem) : kNoObject;
}

std::uint64_t Network::idOf(const Player* player) const {
  return replicas_ && player ? replicas_->idOf(player) : kNoObject;
}

void Network::sendAnimateSpell(const AnimateSpellEvent& event) {
  AnimateSpellMsg m;
  m.caster = idOf(event.caster);
  m.target = idOf(event.target);
  m.card = event.card;
  m.power = event.power;
  for (const BoardElem* e : event.targets) m.targets.push_back(idOf(e));
  for (const BoardElem* e : event.spared) m.spared.push_back(idOf(e));
  m.reflected = event.reflected ? 1 : 0;
  m.active = event.active ? 1 : 0;
  sendAnimateSpell(m);
}

void Network::setLobbyEndpoint(const std::string& host, unsigned short port) {
  lobbyHost_ = host;
  lobbyPort_ = port;
  endpointSet_ = true;
}

bool Network::startPeer() {
  RakNet::SocketDescriptor sd(0, nullptr);
  const RakNet::StartupResult r = peer_->Startup(kMaxConnections, &sd, 1, -99999);
  if (r != RakNet::RAKNET_STARTED && r != RakNet::RAKNET_ALREADY_STARTED) {
    LOGOG_ERROR("the network could not start (startup result %d)", static_cast<int>(r));
    return false;
  }
  peer_->SetTimeoutTime(kTimeoutMs, RakNet::UNASSIGNED_SYSTEM_ADDRESS);
  // The lobby (or whatever answers at its address) may send what a lobby and a match
  // send, and no more: a larger message or a flood closes the connection.
  peer_->SetIncomingLimits(protocol::incomingLimits());
  return true;
}

bool Network::parseLobbyEndpoint(const std::string& text, std::string& host, unsigned short& port) {
  host = "127.0.0.1";
  port = kLobbyPort;
  if (text.empty()) return true;
  const size_t colon = text.rfind(':');
  if (colon == std::string::npos) {
    host = text;
    return true;
  }
  const std::string digits = text.substr(colon + 1);
  unsigned long value = 0;
  bool number = !digits.empty() && digits.size() <= 5 && colon > 0 && text.find(':') == colon;
  for (char c : digits) number = number && c >= '0' && c <= '9';
  if (number) value = std::stoul(digits);
  if (!number || value == 0 || value > 65535) {
    LOGOG_WARN("the lobby address '%s' is not host or host:port; the lobby is looked for at %s port %u",
               text.c_str(), host.c_str(), static_cast<unsigned>(port));
    return false;
  }
  host = text.substr(0, colon);
  port = static_cast<unsigned short>(value);
  return true;
}

bool Network::init() {
  if (!endpointSet_) {
    const char* env = std::getenv("MV_LOBBY_HOST");
    parseLobbyEndpoint(env ? env : "", lobbyHost_, lobbyPort_);
  }
  if (!peer_) {
    peer_ = RakNet::RakPeerInterface::GetInstance();
    if (replicas_) peer_->AttachPlugin(&replicas_->manager());
  }
  hosting_ = false;
  return startPeer();
}

bool Network::started() const { return peer_ && peer_->IsActive(); }

void Network::connectToLobby() {
  if (!peer_) return;
  LOGOG_INFO("Connecting to lobby server");
  peer_->Shutdown(kShutdownWaitMs, 0, LOW_PRIORITY);
  closedByUs_ = false;
  if (!startPeer()) {
    // Without a started peer there is nothing to connect with: the attempt fails now.
    listener().onLobbyConnectFailed();
    return;
  }
  listener().onLobbyConnecting();
  RakNet::ConnectionAttemptResult r = peer_->Connect(lobbyHost_.c_str(), lobbyPort_, nullptr, 0, nullptr, 0,
                                                    kConnectAttempts, kConnectIntervalMs, 0);
  switch (r) {
    case RakNet::CONNECTION_ATTEMPT_STARTED:
    case RakNet::CONNECTION_ATTEMPT_ALREADY_IN_PROGRESS:
      listener().onLobbyConnecting();
      break;
    case RakNet::ALREADY_CONNECTED_TO_ENDPOINT:
      listener().onLobbyConnected();
      break;
    case RakNet::INVALID_PARAMETER:
    case RakNet::CANNOT_RESOLVE_DOMAIN_NAME:
    case RakNet::SECURITY_INITIALIZATION_FAILED:
      listener().onLobbyConnectFailed();
      break;
  }
}

void Network::disconnectFromLobby() {
  if (!peer_) return;
  LOGOG_INFO("Disconnecting from lobby");
  closedByUs_ = true;
  peer_->CloseConnection(serverGuid_, true, 0, LOW_PRIORITY);
}

void Network::update() {
  if (!peer_) return;
  bool taken = false;
  while (RakNet::Packet* p = peer_->Receive()) {
    taken = taken || (p->length && p->data[0] >= ID_SELECTED_BOARD_ELEM && p->data[0] <= ID_TURN_BEGIN);
    dispatch(*p);
    peer_->DeallocatePacket(p);
  }
  // The other side's choices changed the game here: their results go back at once,
  // so that side chooses next on the state that follows them.
  if (taken && hosting_) updateReplicas();
}

bool Network::isLocalPlayer(int index) const {
  if (!peer_ || index < 0 || static_cast<size_t>(index) >= players_.size()) return false;
  return players_[static_cast<size_t>(index)].guid.g == peer_->GetMyGUID().g;
}

void Network::sendToServer(const RakNet::BitStream& bitStream) {
  if (!peer_) return;
  if (replicas_) replicas_->sendDestructions();  // what the message follows goes first
  peer_->Send(&bitStream, HIGH_PRIORITY, RELIABLE_ORDERED, 0, serverGuid_, false);
}

void Network::dispatch(const RakNet::Packet& packet) {
  if (packet.length == 0) return;
  unsigned char id = packet.data[0];
  switch (id) {
    case ID_CONNECTION_REQUEST_ACCEPTED: {
      serverGuid_ = packet.guid;
      listener().onLobbyConnected();
      ProtocolVersionMsg version;
      version.value = kProtocolVersion;
      sendMessage(version);
      return;
    }
    case ID_CONNECTION_ATTEMPT_FAILED:
    case ID_CONNECTION_BANNED:
    // A full server, or one that refused our GUID, ends the attempt as surely as
    // silence does.
    case ID_NO_FREE_INCOMING_CONNECTIONS:
    case ID_ALREADY_CONNECTED:
      listener().onLobbyConnectFailed();
      return;
    case ID_INCOMPATIBLE_PROTOCOL_VERSION:
      // A server that does not speak our greeting is of another version of the game:
      // the player hears so, as from a server that knows our greeting but not our
      // messages.
      LOGOG_WARN("the lobby server speaks another version of the protocol");
      listener().onLobbyError(kErrorInvalidProtocol);
      return;
    case ID_CONNECTION_LOST:
      listener().onLobbyConnectionLost();
      return;
    case ID_DISCONNECTION_NOTIFICATION:
      // The server closed the connection: the lobby is gone as surely as on a time-out,
      // unless this side asked for the close.
      if (!closedByUs_) listener().onLobbyConnectionLost();
      return;
    default:
      break;
  }
  if (id >= ID_SELECTED_BOARD_ELEM && id <= ID_TURN_BEGIN)
    dispatchMatch(packet.data, packet.length, packet.guid);
  else if (id >= ID_PROTOCOL_VERSION && id <= ID_DOOR_DESTROYED)
    dispatchLobby(packet.data, packet.length);
}

namespace {
void malformed(unsigned char id, size_t length) {
  const char* name = messageName(id);
  LOGOG_WARN("dropped a malformed %s (%zu bytes) from the lobby server", name ? name : "message", length);
}
}  // namespace

#define MV_DECODE(Type, var)                  \
  Type var;                                   \
  if (!decode(data, length, var)) {           \
    malformed(data[0], length);               \
    return;                                   \
  }

void Network::dispatchMatch(const unsigned char* data, size_t length, RakNet::RakNetGUID from) {
  NetworkListener& l = listener();
  switch (data[0]) {
    case ID_SELECTED_BOARD_ELEM: {
      MV_DECODE(SelectedBoardElemMsg, m);
      LOGOG_INFO("got ID_SELECTED_BOARD_ELEM from remote player");
      l.onRemoteSelectedBoardElem(m.elem);
      return;
    }
    case ID_SELECTED_SPELL: {
      MV_DECODE(SelectedSpellMsg, m);
      LOGOG_INFO("got ID_SELECTED_SPELL: %d from remote player", m.spell);
      l.onRemoteSelectedSpell(m.spell, m.value);
      return;
    }
    case ID_FINISHED_SELECTING_SPELLS: {
      MV_DECODE(FinishedSelectingSpellsMsg, m);
      LOGOG_INFO("got ID_FINISHED_SELECTING_SPELLS from remote player");
      l.onRemoteFinishedSelectingSpells();
      return;
    }
    case ID_SELECTED_CARD: {
      MV_DECODE(SelectedCardMsg, m);
      LOGOG_INFO("got ID_SELECTED_CARD from remote player");
      l.onRemoteSelectedCard(m.value);
      return;
    }
    case ID_FINISHED_SELECTING_CARDS: {
      MV_DECODE(FinishedSelectingCardsMsg, m);
      LOGOG_INFO("got ID_FINISHED_SELECTING_CARDS from remote player");
      l.onRemoteFinishedSelectingCards();
      return;
    }
    case ID_CLICKED_BOARD: {
      MV_DECODE(ClickedBoardMsg, m);
      LOGOG_INFO("got CLICKED BOARD from remote player");
      l.onRemoteClickedBoard();
      return;
    }
    case ID_CANCEL: {
      MV_DECODE(CancelMsg, m);
      LOGOG_INFO("got CANCEL from remote player");
      l.onRemoteCancel();
      return;
    }
    case ID_ANIMATE_SPELL: {
      MV_DECODE(AnimateSpellMsg, m);
      LOGOG_INFO("got ANIMATE SPELL from remote player");
      l.queueAnimateSpell(m);
      return;
    }
    case ID_FINISHED_ANIMATING: {
      MV_DECODE(FinishedAnimatingMsg, m);
      LOGOG_INFO("got FINISHED ANIMATING from remote player");
      l.onFinishedAnimating();
      return;
    }
    case ID_START_GAME: {
      MV_DECODE(StartGameMsg, m);  // a role other than 0 or 1 does not decode
      hosting_ = m.role == kRoleHost;
      // The host's objects arrive the way this message came (through the lobby).
      if (replicas_) replicas_->setMatchHost(from);
      if (hosting_) {
        LOGOG_INFO("starting game as server");
        l.onServerStart(m.opponentName);
      } else {
        LOGOG_INFO("starting game as client");
        l.onClientStart(m.opponentName);
      }
      return;
    }
    case ID_GAME_RESULT: {
      MV_DECODE(GameResultMsg, m);
      l.onGameEndNotice(m.code);
      return;
    }
    case ID_CARDLIST: {
      MV_DECODE(CardListMsg, m);
      LOGOG_INFO("got CARDLIST from remote player");
      l.onCardList(std::vector<int>(m.cards.begin(), m.cards.end()));
      return;
    }
    case ID_TURN_BEGIN: {
      MV_DECODE(TurnBeginMsg, m);
      LOGOG_INFO("got TURN BEGIN from remote player");
      if (turnWatcher_) turnWatcher_(false);
      l.onTurnBegin();
      return;
    }
    default:
      return;  // 0x8F: nothing sends it
  }
}

void Network::dispatchLobby(const unsigned char* data, size_t length) {
  NetworkListener& l = listener();
  switch (data[0]) {
    case ID_LOGIN_EMAIL: {
      MV_DECODE(LoginEmailRequestMsg, m);
      l.onLoginRequired();
      return;
    }
    case ID_LOGIN_CODE: {
      MV_DECODE(CodeRequestMsg, m);
      l.onCodeRequested();
      return;
    }
    case ID_LOBBY_ERROR: {
      MV_DECODE(LobbyErrorMsg, m);
      l.onLobbyError(m.error);
      return;
    }
    case ID_LOGIN: {
      MV_DECODE(LoginAcceptedMsg, m);
      l.onLoginAccepted();
      return;
    }
    case ID_PLAYER_NAME: {
      MV_DECODE(NameRequestMsg, m);
      l.onNameRequested();
      return;
    }
    case ID_PLAYER_LIST: {
      MV_DECODE(PlayerListMsg, m);
      LOGOG_INFO("got ID_PLAYER_LIST from remote player");
      players_.clear();
      LOGOG_INFO("online count: %d, lobby list count: %d", m.onlineCount, static_cast<int>(m.players.size()));
      std::vector<std::string> names;
      for (const PlayerEntry& e : m.players) {
        players_.push_back({RakNet::RakNetGUID(e.guid), e.name});
        names.push_back(e.name);
      }
      l.onPlayerList(m.onlineCount, names);
      return;
    }
    case ID_CHALLENGE: {
      MV_DECODE(ChallengeReceivedMsg, m);
      l.onChallengeReceived(m.text);
      return;
    }
    case ID_CHALLENGE_ANSWER: {
      MV_DECODE(ChallengeAnswerMsg, m);  // the answer itself is not used
      l.onChallengeRejected();
      return;
    }
    case ID_BLOCK_EXPLODED: {
      MV_DECODE(BlockExplodedMsg, m);
      LOGOG_INFO("got BLOCK_EXPLODED from remote player");
      l.onRemoteBlockExploded(m.elem);
      return;
    }
    case ID_BLOCK_COLLAPSED: {
      MV_DECODE(BlockCollapsedMsg, m);
      LOGOG_INFO("got BLOCK_COLLAPSED from remote player");
      l.onRemoteBlockCollapsed(m.elem);
      return;
    }
    case ID_CHAT: {
      MV_DECODE(ChatMsg, m);
      LOGOG_INFO("got ID_CHAT from remote player");
      l.onChatReceived(m.text);
      return;
    }
    case ID_DOOR_DESTROYED: {
      MV_DECODE(DoorDestroyedMsg, m);
      LOGOG_INFO("got DOOR_DESTROYED from remote player");
      l.onRemoteDoorDestroyed(m.elem);
      return;
    }
    default:
      return;  // up-only ids: never sent down
  }
}

#undef MV_DECODE
