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
  lobbyEvents_ = &hub;
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
    lobby().onLobbyConnectFailed();
    return;
  }
  lobby().onLobbyConnecting();
  RakNet::ConnectionAttemptResult r = peer_->Connect(lobbyHost_.c_str(), lobbyPort_, nullptr, 0, nullptr, 0,
                                                    kConnectAttempts, kConnectIntervalMs, 0);
  switch (r) {
    case RakNet::CONNECTION_ATTEMPT_STARTED:
    case RakNet::CONNECTION_ATTEMPT_ALREADY_IN_PROGRESS:
      lobby().onLobbyConnecting();
      break;
    case RakNet::ALREADY_CONNECTED_TO_ENDPOINT:
      lobby().onLobbyConnected();
      break;
    case RakNet::INVALID_PARAMETER:
    case RakNet::CANNOT_RESOLVE_DOMAIN_NAME:
    case RakNet::SECURITY_INITIALIZATION_FAILED:
      lobby().onLobbyConnectFailed();
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
