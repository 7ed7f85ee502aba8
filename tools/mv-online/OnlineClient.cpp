#include "OnlineClient.h"

#include <dirent.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "GameReplicas.h"
#include "ReplicaManager3_custom.h"
#include "game/GameSession.h"
#include "player/Player.h"
#include "logog/logog.hpp"
#include "raknet/MessageIdentifiers.h"

RakNet::PluginReceiveResult TrafficMeter::OnReceive(RakNet::Packet* p) {
  if (p->length) {
    if (p->data[0] >= ID_REPLICA_MANAGER_CONSTRUCTION && p->data[0] <= ID_REPLICA_MANAGER_CONSTRUCTION_ACCEPTED)
      replicaBytes += p->length;
    else
      messageBytes += p->length;
  }
  return RakNet::RR_CONTINUE_PROCESSING;
}

void OnlineClient::Hub::onClientStart(const std::string& opponent) {
  client_.replicaBytesAtStart_ = client_.meter_.replicaBytes;
  EventDispatcher::onClientStart(opponent);
}

void OnlineClient::Hub::onLoginAccepted() {
  client_.loggedIn_ = true;
  EventDispatcher::onLoginAccepted();
}

OnlineClient::OnlineClient(const OnlineClientOptions& options)
    : options_(options), ctx_(options.seed), bot_(hub_, options.seed ^ 0x5bd1e995u) {
  ctx_.setSettings(&settings_);
  hub_.setScreen(&screen_);
  screen_.game = &ctx_.game();
  hub_.setFlowHost(&flow_);
  hub_.setLobbyScreen(&lobby_);
  net_ = std::make_unique<Network>(hub_);
  net_->setTurnWatcher([this](bool hosting) {
    const std::function<void()>& watcher = hosting ? onHostTurnBegin : onJoinTurnBegin;
    if (watcher) watcher();
  });
  net_->setLobbyEndpoint(options.host, options.port);
}

OnlineClient::~OnlineClient() {
  net_.reset();  // before the hub and the context it talks to
  hub_.setScreen(nullptr);
  ctx_.setSettings(nullptr);
}

bool OnlineClient::start() {
  if (!net_->init()) return false;
  // The meter sees every packet before the replica manager takes its own.
  RakNet::PluginInterface2& replicas = net_->replicas()->manager();
  net_->peer()->DetachPlugin(&replicas);
  net_->peer()->AttachPlugin(&meter_);
  net_->peer()->AttachPlugin(&replicas);
  hub_.enterLobby();
  return true;
}

uint64_t OnlineClient::wireBytesReceived() const {
  return net_->peer() ? net_->peer()->GetWireStatistics().bytesReceived : 0;
}

void OnlineClient::kill() {
  if (killed_ || !net_->peer()) return;
  killed_ = true;
  net_->peer()->Shutdown(0, 0, LOW_PRIORITY);
}

void OnlineClient::frame() {
  if (killed_) return;
  hub_.update(1.0f / 60.0f);
  answerPrompt();
  if (playing_ && hub_.flowState() == FlowState::InGame && game().started()) moveBot();
}

void OnlineClient::moveBot() {
  ++framesSinceMove_;
  if (!net_->isServer()) {
    const long ms = static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - lastMove_).count());
    // No move of the bot waits for the host: each acts at once, as a quick player's would.
    const bool answered = !hub_.awaitsHost() && framesSinceMove_ >= 2 && ms >= kSettleMs;
    if (!answered && ms < kPatienceMs) return;
  }
  if (bot_.step()) {
    trafficAtMove_ = meter_.total();
    framesSinceMove_ = 0;
    lastMove_ = std::chrono::steady_clock::now();
  }
}

void OnlineClient::answerPrompt() {
  if (codePending_) {
    const std::string code = mailedCode();
    if (code.empty()) return;
    codePending_ = false;
    hub_.submitLobbyText(code);
    return;
  }
  if (lobby_.count("showTextPrompt") == promptsSeen_) return;
  promptsSeen_ = lobby_.count("showTextPrompt");
  switch (hub_.lobbyPrompt()) {
    case LobbyPrompt::Email:
      hub_.submitLobbyText(options_.email);
      break;
    case LobbyPrompt::Code:
      codePending_ = true;
      answerPrompt();
      break;
    case LobbyPrompt::Name:
      hub_.submitLobbyText(options_.name);
      break;
    default:
      break;
  }
}

std::string OnlineClient::mailedCode() const {
  if (!options_.devCode.empty()) return options_.devCode;
  // The newest mail to this address that carries a code.
  DIR* dir = opendir(options_.outbox.c_str());
  if (!dir) return {};
  std::vector<std::string> files;
  while (dirent* d = readdir(dir)) {
    const std::string n = d->d_name;
    if (n.size() > 4 && n.compare(n.size() - 4, 4, ".txt") == 0) files.push_back(n);
  }
  closedir(dir);
  std::sort(files.begin(), files.end());
  std::string code;
  for (const std::string& f : files) {
    std::ifstream in(options_.outbox + "/" + f);
    std::stringstream text;
    text << in.rdbuf();
    const std::string mail = text.str();
    if (mail.find("To: " + options_.email + "\n") != 0) continue;
    const std::string marker = "login code for the Mirrowvale lobby is ";
    const size_t at = mail.find(marker);
    if (at == std::string::npos) continue;
    code = mail.substr(at + marker.size(), 6);
  }
  return code;
}

Network& OnlineClient::net() { return *net_; }
