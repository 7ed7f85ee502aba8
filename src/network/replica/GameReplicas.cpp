#include "GameReplicas.h"

#include <algorithm>
#include <string>
#include <unordered_set>

#include "Board.h"
#include "BoardElem.h"
#include "BoardElemReplica.h"
#include "BoardReplica.h"
#include "GameContext.h"
#include "PlayerReplica.h"
#include "ReplicaManager3_custom.h"
#include "game/GameDirector.h"
#include "game/GameSession.h"
#include "logog/logog.hpp"
#include "player/Player.h"
#include "raknet/RakPeerInterface.h"

GameReplicas::GameReplicas(GameContext& context, RakNet::NetworkIDManager& ids)
    : context_(&context), ids_(&ids), manager_(std::make_unique<ReplicaManager3_custom>(*this)) {
  manager_->SetNetworkIDManager(ids_);
  context.addWatcher(watcher_);
}

GameReplicas::~GameReplicas() {
  clear();
  context_->removeWatcher(watcher_);
}

void GameReplicas::clear() {
  sendDestructions();
  if (RakNet::RakPeerInterface* peer = manager_->GetRakPeerInterface()) peer->DetachPlugin(manager_.get());
  manager_->Clear();  // the host's objects on this machine go by their pop rule
  // What is left: the elements first, as a board frees its own.
  std::vector<ModelReplica*> left;
  for (auto& e : elems_) left.push_back(e.second);
  for (auto& b : boards_) left.push_back(b.second);
  for (auto& p : players_) left.push_back(p.second);
  for (ModelReplica* r : left) drop(r);
  heldBack_.clear();
}

void GameReplicas::dropCopies() {
  std::vector<ModelReplica*> copies;
  for (auto& e : elems_)
    if (e.second->remote()) copies.push_back(e.second);
  for (auto& b : boards_)
    if (b.second->remote()) copies.push_back(b.second);
  for (auto& p : players_)
    if (p.second->remote()) copies.push_back(p.second);
  for (ModelReplica* r : copies) {
    manager_->Dereference(r);
    drop(r);
  }
}

bool GameReplicas::isServer() const { return context_->matchLink().isServer(); }

bool GameReplicas::acceptsConstructionFrom(const RakNet::Connection_RM3* source) const {
  const std::string from = source ? source->GetRakNetGUID().ToString() : std::string("nobody");
  if (isServer()) {
    LOGOG_WARN("refused a construction from %s: this machine hosts the match", from.c_str());
    return false;
  }
  if (!context_->game().takesRemoteObjects()) {
    LOGOG_WARN("refused a construction from %s: no network match runs on this joining side", from.c_str());
    return false;
  }
  if (!source || matchHost_ == RakNet::UNASSIGNED_RAKNET_GUID || source->GetRakNetGUID() != matchHost_) {
    LOGOG_WARN("refused a construction from %s: not the match's host", from.c_str());
    return false;
  }
  return true;
}

void GameReplicas::drop(ModelReplica* r) {
  if (r->remote())
    r->release();
  else
    r->forget();
  delete r;
}

// ---- Registry ---------------------------------------------------------------------------

void GameReplicas::add(PlayerReplica* r) { players_[r->player()] = r; }
void GameReplicas::add(BoardReplica* r) { boards_[r->board()] = r; }
void GameReplicas::add(BoardElemReplica* r) { elems_[r->elem()] = r; }

void GameReplicas::remove(const PlayerReplica* r) {
  auto it = players_.find(r->player());
  if (it != players_.end() && it->second == r) players_.erase(it);
}

void GameReplicas::remove(const BoardReplica* r) {
  auto it = boards_.find(r->board());
  if (it != boards_.end() && it->second == r) boards_.erase(it);
}

void GameReplicas::remove(const BoardElemReplica* r) {
  heldBack_.erase(const_cast<BoardElemReplica*>(r));
  auto it = elems_.find(r->elem());
  if (it != elems_.end() && it->second == r) elems_.erase(it);
}

std::vector<Player*> GameReplicas::knownPlayers() const {
  std::vector<Player*> out;
  for (auto& p : players_)
    if (p.second->player()) out.push_back(p.second->player());
  GameSession& game = context_->game();
  for (Player* p : {game.localPlayer(), game.enemyPlayer()})
    if (p && std::find(out.begin(), out.end(), p) == out.end()) out.push_back(p);
  return out;
}

void GameReplicas::releasePlayer(Player& player) {
  // Its board goes with it: nothing may keep pointing at the elements either.
  if (const Board* board = player.board()) forgetElemsOn(*board);
  forgetPlayer(&player);
  if (!context_->game().dropPlayer(player)) {
    // Only the game takes a copy over: one it does not hold is none of this machine's.
    LOGOG_ERROR("a replicated player the game does not hold was left alone");
    return;
  }
  if (onPlayerDetached_) onPlayerDetached_();
}

void GameReplicas::releaseBoard(Board& board, std::unique_ptr<Board> unadopted) {
  forgetElemsOn(board);
  if (unadopted) {
    forgetElemsOf(&board);
    unadopted.reset();  // it never joined the game
    return;
  }
  if (!context_->game().dropBoard(board))
    LOGOG_ERROR("a replicated board the game does not hold was left alone");
}

void GameReplicas::forgetPlayer(const Player* player) {
  for (auto& b : boards_)
    if (Board* board = b.second->board(); board && board->owner() == player) board->setOwner(nullptr);
  for (Player* p : knownPlayers()) {
    if (p == player) continue;
    if (p->targetPlayer() == player) p->setTargetPlayer(nullptr);
    for (AnimateSpellEvent& e : p->mutableSpellQueue()) {
      if (e.caster == player) e.caster = nullptr;
      if (e.target == player) e.target = nullptr;
    }
  }
}

void GameReplicas::forgetElems(const std::vector<const BoardElem*>& elems) {
  if (elems.empty()) return;
  std::unordered_set<const BoardElem*> gone(elems.begin(), elems.end());
  auto scrub = [&](std::vector<BoardElem*> list) {
    for (BoardElem*& e : list)
      if (gone.count(e)) e = nullptr;
    return list;
  };
  for (Player* p : knownPlayers()) {
    p->setChosenTargets(scrub(p->chosenTargets()));
    p->setOptions(scrub(p->options()));
    for (AnimateSpellEvent& e : p->mutableSpellQueue()) {
      e.targets = scrub(e.targets);
      e.spared = scrub(e.spared);
    }
  }
}

void GameReplicas::forgetElemsOn(const Board& board) {
  std::vector<const BoardElem*> elems;
  board.forEachElem([&](const BoardElem& e) { elems.push_back(&e); });
  forgetElems(elems);
}

void GameReplicas::forgetElemsOf(const Board* board) {
  std::vector<BoardElemReplica*> of;
  for (auto& e : elems_)
    if (e.second->elem() && e.second->elem()->board() == board) of.push_back(e.second);
  for (BoardElemReplica* r : of) r->forget();
}

// ---- The match link's calls ---------------------------------------------------------------

void GameReplicas::referenceReplica(Player& player) {
  if (players_.count(&player)) return;
  manager_->Reference(new PlayerReplica(*this, player));
}

void GameReplicas::referenceReplica(Board& board) {
  if (boards_.count(&board)) return;
  auto* r = new BoardReplica(*this, board);
  r->SetReportsChanges(reportChanges_);
  manager_->Reference(r);
}

void GameReplicas::referenceReplica(BoardElem& elem) {
  if (elems_.count(&elem)) return;
  auto* r = new BoardElemReplica(*this, elem);
  r->SetReportsChanges(reportChanges_);
  manager_->Reference(r);
}

void GameReplicas::elemChanged(const BoardElem& elem) {
  auto it = elems_.find(&elem);
  // A copy of the host's element is never serialized here.
  if (it != elems_.end() && !it->second->remote()) it->second->MarkChanged();
}

namespace {
template <class Map, class Key>
ModelReplica* find(const Map& map, const Key* key) {
  auto it = map.find(key);
  return it == map.end() ? nullptr : it->second;
}
}  // namespace

void GameReplicas::destroy(ModelReplica* r, bool endsBurst) {
  if (r) {
    r->forget();
    // A copy of the host's object only lets go; the host's own tells every connection.
    if (r->remote())
      delete r;
    else
      dying_.push_back(r);
  }
  if (endsBurst) sendDestructions();
}

void GameReplicas::sendDestructions() {
  if (dying_.empty()) return;
  std::vector<ModelReplica*> dying;
  dying.swap(dying_);
  manager_->BroadcastDestructionList(std::vector<RakNet::Replica3*>(dying.begin(), dying.end()),
                                     RakNet::UNASSIGNED_SYSTEM_ADDRESS);
  for (ModelReplica* r : dying) delete r;
}

// A board's elements go before the board itself, which ends the burst.
void GameReplicas::destroyReplica(Player& player) { destroy(find(players_, &player), true); }
void GameReplicas::destroyReplica(Board& board) { destroy(find(boards_, &board), true); }
void GameReplicas::destroyReplica(BoardElem& elem) { destroy(find(elems_, &elem), false); }

void GameReplicas::updateReplicas() {
  sendDestructions();
  manager_->UpdateNow();
}

void GameReplicas::applyHeldBackCards() {
  for (auto it = heldBack_.begin(); it != heldBack_.end();) {
    if ((*it)->applyHeldBackCards())
      it = heldBack_.erase(it);
    else
      ++it;
  }
}

void GameReplicas::applyHeldBackCardsOf(const Player& player) {
  for (auto it = heldBack_.begin(); it != heldBack_.end();) {
    const BoardElem* e = (*it)->elem();
    if ((!e || e->owner() == &player) && (*it)->applyHeldBackCards(true))
      it = heldBack_.erase(it);
    else
      ++it;
  }
}

// ---- NetworkIDs --------------------------------------------------------------------------

RakNet::NetworkID GameReplicas::idOf(const Player* player) const {
  ModelReplica* r = find(players_, player);
  return r && r->WasReferenced() ? r->GetNetworkID() : RakNet::UNASSIGNED_NETWORK_ID;
}

RakNet::NetworkID GameReplicas::idOf(const Board* board) const {
  ModelReplica* r = find(boards_, board);
  return r && r->WasReferenced() ? r->GetNetworkID() : RakNet::UNASSIGNED_NETWORK_ID;
}

RakNet::NetworkID GameReplicas::idOf(const BoardElem* elem) const {
  ModelReplica* r = find(elems_, elem);
  return r && r->WasReferenced() ? r->GetNetworkID() : RakNet::UNASSIGNED_NETWORK_ID;
}

Player* GameReplicas::playerById(RakNet::NetworkID id) const {
  auto* r = ids_->GET_OBJECT_FROM_ID<PlayerReplica*>(id);
  return r ? r->player() : nullptr;
}

Board* GameReplicas::boardById(RakNet::NetworkID id) const {
  auto* r = ids_->GET_OBJECT_FROM_ID<BoardReplica*>(id);
  return r ? r->board() : nullptr;
}

BoardElem* GameReplicas::elemById(RakNet::NetworkID id) const {
  auto* r = ids_->GET_OBJECT_FROM_ID<BoardElemReplica*>(id);
  return r ? r->elem() : nullptr;
}

// ---- Lists ----------------------------------------------------------------------------------

namespace {
// A count as the lists carry it: below 1 is empty, above the limit fails.
bool readCount(RakNet::BitStream& in, int maxCount, int& count) {
  int32_t n = 0;
  if (!in.Read(n)) return false;
  count = n < 1 ? 0 : n;
  return count <= maxCount;
}
}  // namespace

void GameReplicas::writeIntVector(RakNet::BitStream& out, const std::vector<int>& values) {
  out.Write(static_cast<uint32_t>(values.size()));
  for (int v : values) out.Write(static_cast<int32_t>(v));
}

int GameReplicas::maxCards() { return GameDirector::kMaxHand; }
int GameReplicas::maxSpellOptions() { return Board::maxStoredCards(); }
int GameReplicas::maxSpellQueue() { return Board::maxStoredCards() + GameDirector::kMaxHand; }

bool GameReplicas::readIntVector(RakNet::BitStream& in, std::vector<int>& values, int maxCount) {
  values.clear();
  int n = 0;
  if (!readCount(in, maxCount, n)) return false;
  values.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    int32_t v;
    if (!in.Read(v)) return false;
    values.push_back(v);
  }
  return true;
}

void GameReplicas::writeReplicaVector(RakNet::BitStream& out, const std::vector<BoardElem*>& elems) const {
  out.Write(static_cast<uint32_t>(elems.size()));
  for (const BoardElem* e : elems) out.Write(idOf(e));
}

bool GameReplicas::readReplicaVector(RakNet::BitStream& in, std::vector<BoardElem*>& elems, int maxCount) const {
  elems.clear();
  int n = 0;
  if (!readCount(in, maxCount, n)) return false;
  elems.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    RakNet::NetworkID id;
    if (!in.Read(id)) return false;
    elems.push_back(elemById(id));
  }
  return true;
}

void GameReplicas::writeIntPairVector(RakNet::BitStream& out, const std::vector<std::pair<int32_t, int32_t>>& pairs) {
  out.Write(static_cast<uint32_t>(pairs.size()));
  for (const auto& p : pairs) {
    out.Write(p.first);
    out.Write(p.second);
  }
}

bool GameReplicas::readIntPairVector(RakNet::BitStream& in, std::vector<std::pair<int32_t, int32_t>>& pairs,
                                     int maxCount) {
  pairs.clear();
  int n = 0;
  if (!readCount(in, maxCount, n)) return false;
  pairs.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    int32_t a, b;
    if (!in.Read(a) || !in.Read(b)) return false;
    pairs.emplace_back(a, b);
  }
  return true;
}

void GameReplicas::writeSpellQueue(RakNet::BitStream& out, const std::deque<AnimateSpellEvent>& queue) const {
  out.Write(static_cast<uint32_t>(queue.size()));
  for (const AnimateSpellEvent& e : queue) {
    out.Write(idOf(e.caster));
    out.Write(idOf(e.target));
    out.Write(static_cast<int32_t>(e.card));
    out.Write(static_cast<int32_t>(e.power));
    writeReplicaVector(out, e.targets);
  }
}

bool GameReplicas::readSpellQueue(RakNet::BitStream& in, std::deque<AnimateSpellEvent>& queue, int maxCount) const {
  queue.clear();
  int n = 0;
  if (!readCount(in, maxCount, n)) return false;
  for (int i = 0; i < n; ++i) {
    RakNet::NetworkID caster, target;
    int32_t card, power;
    AnimateSpellEvent e;
    if (!in.Read(caster) || !in.Read(target) || !in.Read(card) || !in.Read(power) ||
        !readReplicaVector(in, e.targets))
      return false;
    e.caster = playerById(caster);
    e.target = playerById(target);
    e.card = card;
    e.power = power;
    e.reflected = false;
    e.active = true;
    e.animate = true;
    queue.push_back(std::move(e));
  }
  return true;
}
