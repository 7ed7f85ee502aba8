// One cell of a board: what stands there, the room built into it, its flags
// and its water. Owned by its Board.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

class Board;
class Player;

enum class ElemKind : int32_t {
  Empty = 0,  // above ground: air; underground: solid earth
  Cave = 1,   // an open underground space
  FourBlock = 2,
  VertBlock = 3,
  HorizBlock = 4,
  Dome = 5,
};

enum class RoomType : int32_t {
  None = 0,
  Crystal = 1,
  Library = 2,
  Shield = 3,
  Housing = 4,
  Archmage = 5,
};

// True for the block kinds (four-block, vertical, horizontal).
inline bool isBlockKind(ElemKind k) {
  return k == ElemKind::FourBlock || k == ElemKind::VertBlock || k == ElemKind::HorizBlock;
}

class BoardElem {
 public:
  // A card stored in a room: (card id, power).
  using StoredCard = std::pair<int32_t, int32_t>;

  // Water limits of the rules.
  static constexpr float kWorkingWaterLimit = 0.5f;  // at or above: not working, not open
  static constexpr float kFireWaterLimit = 0.01f;    // above: no fire

  BoardElem() = default;
  BoardElem(const BoardElem&) = delete;
  BoardElem& operator=(const BoardElem&) = delete;

  // Placement (set by Board::placeElem).
  Board* board() const { return board_; }
  Player* owner() const { return owner_; }
  int x() const { return x_; }
  int y() const { return y_; }

  // State.
  ElemKind kind() const { return kind_; }
  RoomType room() const { return room_; }
  int roomPower() const { return roomPower_; }
  const std::vector<StoredCard>& storedCards() const { return storedCards_; }
  std::vector<StoredCard>& storedCards() { return storedCards_; }
  float waterLevel() const { return waterLevel_; }
  bool isDamaged() const { return damaged_; }
  bool isHardened() const { return hardened_; }
  bool hasLevitron() const { return levitron_; }
  bool hasDoors() const { return doors_; }
  bool isBurning() const { return burning_; }
  bool hasFence() const { return fence_; }
  bool isRevealed() const { return revealed_; }
  bool isDeratized() const { return deratized_; }
  bool isSelectable() const { return selectable_; }
  bool isInPlay() const { return inPlay_; }
  bool isVisited() const { return visited_; }
  bool isIgniteNext() const { return igniteNext_; }
  bool isBurntOut() const { return burntOut_; }

  // Plain setters: no authority test and no refresh (replication and card
  // placement use them, then call refresh(): every change must end in a report to
  // the board observer, by which the host's replication finds what to send).
  // setBurning keeps the board's burning count, changing it only when the flag
  // really changes.
  void setDamaged(bool v) { damaged_ = v; }
  void setHardened(bool v) { hardened_ = v; }
  void setLevitron(bool v) { levitron_ = v; }
  void setDoors(bool v) { doors_ = v; }
  void setFence(bool v) { fence_ = v; }
  void setRevealed(bool v) { revealed_ = v; }
  void setDeratized(bool v) { deratized_ = v; }
  void setRoom(RoomType room) { room_ = room; }
  void setRoomPower(int power) { roomPower_ = power; }
  void setStoredCards(std::vector<StoredCard> cards) { storedCards_ = std::move(cards); }
  void setBurning(bool v);
  // Region flags, fixed once the element is made.
  void setUnderground(bool v);
  void setInPlay(bool v) { inPlay_ = v; }

  // Stores the kind and keeps the board's block count; rebuilds the element;
  // an element that becomes empty is reset (water and every flag); the room and
  // stored cards always go. An unknown kind is refused with a log line.
  bool setKind(ElemKind kind);
  // Stores the level and refreshes.
  void setWaterLevel(float level);
  // Water 0, every flag cleared (burning through the count), kind empty.
  void resetElem();
  // "Show me again" for whoever draws the element.
  void refresh();
  // Rebuild and refresh (after a change of the board view).
  void relayout();
  // Offer the element as a choice / withdraw it.
  void highlight(int index);
  void unhighlight();

  // Neighbours on the own board; null past the edge or without board.
  BoardElem* getLeft() const;
  BoardElem* getRight() const;
  BoardElem* getUpper() const;
  BoardElem* getLower() const;

  // Predicates.
  bool isBlock() const { return isBlockKind(kind_); }
  bool isBlockOrCave() const { return kind_ == ElemKind::Cave || isBlock(); }
  bool joinsSideways() const;
  bool joinsVertically() const;
  bool isUnderground() const { return underground_; }
  bool isFoundation() const;
  bool isHallTop() const;
  // Without owner: never; the local player's own: always; else when revealed.
  bool isVisibleToLocalPlayer(const Player* localPlayer) const;
  // A block that is not damaged, not wet (below 0.5) and not burning.
  bool isWorking() const {
    return isBlock() && !damaged_ && waterLevel_ < kWorkingWaterLimit && !burning_;
  }
  // An in-play, dry (below 0.5) cell of air or cave: room to build or to flow.
  bool isOpen() const {
    if (!inPlay_ || waterLevel_ >= kWorkingWaterLimit) return false;
    return (kind_ == ElemKind::Empty && !underground_) || kind_ == ElemKind::Cave;
  }
  int getDepth() const { return y_ - 20; }

  // Board rules. Each returns at once where this machine lacks authority
  // (reveal and hide excepted) and refreshes the element.
  void damage();
  void destroy();
  void explode();
  void burnStep();
  void ignite();
  void extinguish();
  void repair();
  void removeFence();
  void setRatTrap();
  void ratsAttack();
  void pump();
  void tunnel();
  void breakDoors();
  void destroyDomeAbove();
  void reveal();
  void hide();

  // Player actions on the element (player/ElemActions.cpp).
  // Rooms that keep cards: spells in a library, crews in a housing, both in
  // the archmage room (neither while a tutorial runs).
  bool holdsSpells() const;
  bool holdsCrews() const;
  bool canPlace(int cardId) const;
  void applyCard(int cardId);
  bool isValidTarget(int cardId, int pickIndex) const;
  // Strength of a room at a depth (y - 20); 0 for no room.
  static int roomPowerAt(RoomType room, int depth);
  // Whether a room of that kind keeps cards (spells or crews), as many as its power.
  static bool roomKeepsCards(RoomType room);
  // Power from the own depth; the stored cards take it and are cut to it.
  void updateRoomPower();
  // The two elements exchange room, power and stored cards (DMOVERS).
  static void moveRoom(BoardElem& from, BoardElem& to);

 private:
  friend class Board;

  // Damage, armour, levitron, doors, fence, revealed, deratized and fire go.
  void clearBlockFlags();
  bool lacksAuthority() const;
  void notifyChanged();

  Board* board_ = nullptr;
  Player* owner_ = nullptr;
  ElemKind kind_ = ElemKind::Empty;
  int x_ = 0;
  int y_ = 0;
  RoomType room_ = RoomType::None;
  int roomPower_ = 0;
  std::vector<StoredCard> storedCards_;
  bool damaged_ = false;
  bool hardened_ = false;
  bool levitron_ = false;
  bool doors_ = false;
  float waterLevel_ = 0.0f;
  bool burning_ = false;
  bool fence_ = false;
  bool visited_ = false;
  bool revealed_ = false;
  bool deratized_ = false;
  bool igniteNext_ = false;
  bool burntOut_ = false;
  bool selectable_ = false;
  bool underground_ = false;
  bool inPlay_ = true;
};

