// The game's replication: the replica manager of the match, the replicas of the
// players, boards and elements of one game context, and the NetworkIDs by which
// messages name those objects. The network object owns one and attaches its
// manager() to the peer; the match link's replica calls land here.
//
// Replicas are thin adapters that point at the game's objects; the game owns its
// players and boards (and a board its elements) on either side. On the joining side
// the replicas made from the host's constructions hand their objects to the game,
// which takes them only while a match runs there and only from the match's host;
// when the host destroys one or the connection drops, the game frees it. Whatever
// the game frees, its replicas let go of first. A copy that never joined the game
// (a board without a known owner, an element without its board) stays with its
// replica and goes with it.
//
// The host's elements and boards report their changes: GameReplicas watches the
// context's boards and marks the replica of each element the rules report, so an
// update pass serializes only those (and the two players, which it always does).
//
// Whether this machine hosts is asked of the context's match link. The object
// must go before its context, or be cleared (clear()) while the context lives.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "player/AnimateSpellEvent.h"
#include "ports/BoardObserver.h"
#include "raknet/BitStream.h"
#include "raknet/NetworkIDManager.h"
#include "raknet/RakNetTypes.h"

class Board;
class BoardElem;
class GameContext;
class Player;

class BoardElemReplica;
class BoardReplica;
class ModelReplica;
class PlayerReplica;
class ReplicaManager3_custom;
namespace RakNet {
class Connection_RM3;
}

class GameReplicas {
 public:
  // Longest lists a received state may carry, as long as the rules can make them: a
  // hand; the spells and crews a player may choose from (all that the rooms of a
  // board can keep); its queue (those, and cards of the hand cast on the spot); the
  // elements of both boards.
  static int maxCards();
  static int maxSpellOptions();
  static int maxSpellQueue();
  static constexpr int kMaxElemList = 2 * 40 * 40;
  static constexpr int kMaxPower = 1000;

  GameReplicas(GameContext& context, RakNet::NetworkIDManager& ids);
  ~GameReplicas();
  GameReplicas(const GameReplicas&) = delete;
  GameReplicas& operator=(const GameReplicas&) = delete;

  // Detaches the manager from its peer, lets the joining side's copies go by their
  // rule (detached from the game and freed) and drops every replica. The game's
  // own objects stay. Attach manager() again to replicate anew.
  void clear();

  // Frees every copy made from another machine's construction (the game frees
  // those it holds), sending nothing. For the start of a match as the joining side: the
  // copies of an abandoned match, whose destruction the lobby no longer relays,
  // would otherwise stay until the connection closes.
  void dropCopies();

  // On (the default), a pass serializes the elements and boards the rules reported
  // changed since the last one; off, every object in every pass, as a replica manager
  // without change reports does (the same bytes, slower; for checks). For the host's
  // objects referenced afterwards.
  void setReportChanges(bool on) { reportChanges_ = on; }

  // The plug-in to attach to the peer (world 0, the given network-id manager).
  ReplicaManager3_custom& manager() const { return *manager_; }
  GameContext& context() const { return *context_; }
  RakNet::NetworkIDManager& ids() const { return *ids_; }
  bool isServer() const;

  // The system the match's host speaks through (the lobby server, which relays
  // it); set when a match starts. Constructions from any other are refused.
  void setMatchHost(RakNet::RakNetGUID host) { matchHost_ = host; }
  RakNet::RakNetGUID matchHost() const { return matchHost_; }
  // Whether a construction from `source` may make an object here: this machine
  // joins a running match, and `source` is its host. Logged when refused.
  bool acceptsConstructionFrom(const RakNet::Connection_RM3* source) const;

  // ---- The match link's replica calls ------------------------------------------
  // Registers a new object of the game (hosting side).
  void referenceReplica(Player& player);
  void referenceReplica(Board& board);
  void referenceReplica(BoardElem& elem);
  // The game is about to free the object: a replica of this machine's tells every
  // connection; one made from the host's construction only lets go of it. Either
  // replica goes.
  void destroyReplica(Player& player);
  void destroyReplica(Board& board);
  void destroyReplica(BoardElem& elem);
  // One update pass now: constructions not yet sent, then every changed state.
  void updateReplicas();
  // The host's objects destroyed one after another (a board's elements) go to the
  // other machine together, once the burst ends: with the board or a player, at the
  // next pass, or here. Whatever else this machine sends about the match must call
  // this first, so that the other machine hears of everything in order.
  void sendDestructions();
  // Called after the network has taken a player away from the running game.
  void setOnPlayerDetached(std::function<void()> callback) { onPlayerDetached_ = std::move(callback); }
  // Gives elements the stored cards that arrived while their owner chose a spell,
  // once it no longer does. The manager calls it on each of its updates.
  void applyHeldBackCards();
  // The same for the elements of one player, whatever it does: it is about to
  // start a phase of spell choices, which must come from the host's latest lists.
  void applyHeldBackCardsOf(const Player& player);

  // ---- NetworkIDs --------------------------------------------------------------------
  // The object's id, or the unassigned id when it has no replica.
  RakNet::NetworkID idOf(const Player* player) const;
  RakNet::NetworkID idOf(const Board* board) const;
  RakNet::NetworkID idOf(const BoardElem* elem) const;
  // The object of that id, or null (unassigned, unknown or of another class).
  Player* playerById(RakNet::NetworkID id) const;
  Board* boardById(RakNet::NetworkID id) const;
  BoardElem* elemById(RakNet::NetworkID id) const;
  // How many replicas exist (all kinds).
  size_t replicaCount() const { return players_.size() + boards_.size() + elems_.size(); }

  // ---- Lists, shared with the match messages ------------------------------------------
  // Readers empty the target first, read the count as a signed int32 (below 1: an
  // empty list) and fail on a short stream or a count above `maxCount`. NetworkIDs
  // that resolve to nothing become null entries.
  static void writeIntVector(RakNet::BitStream& out, const std::vector<int>& values);
  static bool readIntVector(RakNet::BitStream& in, std::vector<int>& values, int maxCount = maxCards());
  void writeReplicaVector(RakNet::BitStream& out, const std::vector<BoardElem*>& elems) const;
  bool readReplicaVector(RakNet::BitStream& in, std::vector<BoardElem*>& elems, int maxCount = kMaxElemList) const;
  static void writeIntPairVector(RakNet::BitStream& out, const std::vector<std::pair<int32_t, int32_t>>& pairs);
  static bool readIntPairVector(RakNet::BitStream& in, std::vector<std::pair<int32_t, int32_t>>& pairs,
                                int maxCount = maxSpellOptions());
  void writeSpellQueue(RakNet::BitStream& out, const std::deque<AnimateSpellEvent>& queue) const;
  bool readSpellQueue(RakNet::BitStream& in, std::deque<AnimateSpellEvent>& queue,
                      int maxCount = maxSpellQueue()) const;

 private:
  // Marks the replica of each element the rules report changed (host's only).
  class ChangeWatcher : public BoardObserver {
   public:
    explicit ChangeWatcher(GameReplicas& owner) : owner_(owner) {}
    void onElemChanged(BoardElem& e) override { owner_.elemChanged(e); }
    void onElemRebuilt(BoardElem& e) override { owner_.elemChanged(e); }

   private:
    GameReplicas& owner_;
  };

  friend class BoardElemReplica;
  friend class BoardReplica;
  friend class ModelReplica;
  friend class PlayerReplica;

  // Bookkeeping of the replicas themselves.
  void add(PlayerReplica* r);
  void add(BoardReplica* r);
  void add(BoardElemReplica* r);
  void remove(const PlayerReplica* r);
  void remove(const BoardReplica* r);
  void remove(const BoardElemReplica* r);
  // The host took a copy away: whatever points at it lets go, and the game frees
  // it (a player with its board). A board that never joined the game goes with
  // `unadopted`, its replica's hold on it.
  void releasePlayer(Player& player);
  void releaseBoard(Board& board, std::unique_ptr<Board> unadopted);
  // What still points at objects about to go: other players' targets and lists,
  // boards owned by the player, element replicas of a board.
  void forgetPlayer(const Player* player);
  void forgetElems(const std::vector<const BoardElem*>& elems);
  // The same for every element on the board.
  void forgetElemsOn(const Board& board);
  // The element replicas of a board let go of their elements (the board frees them).
  void forgetElemsOf(const Board* board);
  std::vector<Player*> knownPlayers() const;
  void holdBack(BoardElemReplica* r) { heldBack_.insert(r); }
  // Frees a replica the game does not free: host's go, joining side's free their object.
  void drop(ModelReplica* r);
  void elemChanged(const BoardElem& elem);
  // The replica lets go of its object; the host's own waits for its destruction to
  // be sent (sendDestructions), at once when `endsBurst`.
  void destroy(ModelReplica* r, bool endsBurst);

  GameContext* context_;
  RakNet::NetworkIDManager* ids_;
  std::unique_ptr<ReplicaManager3_custom> manager_;
  std::unordered_map<const Player*, PlayerReplica*> players_;
  std::unordered_map<const Board*, BoardReplica*> boards_;
  std::unordered_map<const BoardElem*, BoardElemReplica*> elems_;
  std::unordered_set<BoardElemReplica*> heldBack_;
  std::vector<ModelReplica*> dying_;  // destroyed, their destruction not yet sent
  std::function<void()> onPlayerDetached_;
  RakNet::RakNetGUID matchHost_;
  bool reportChanges_ = true;
  ChangeWatcher watcher_{*this};
};
