// One player's board: 40 x 40 elements addressed by (x, y), x left to right,
// y bottom to top, (20, 20) the centre and y = 20 the ground row. The board
// owns its elements and keeps two counters, blocks and burning elements, from
// which the fire level is reported.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "BoardElem.h"

class GameContext;
class Player;

class Board {
 public:
  static constexpr int kSize = 40;
  static constexpr int kCentre = 20;
  static constexpr int kGroundRow = 20;

  // Water model.
  static constexpr float kFullCell = 1.0f;
  static constexpr float kCompression = 0.02f;
  static constexpr float kSidewaysShare = 0.25f;
  static constexpr float kFlowCap = 100.0f;
  static constexpr float kSettleThreshold = 0.00001f;
  static constexpr int kSettleLimit = 300;
  // Water a FLOOD and a RAIN bring to each target.
  static constexpr float kFloodWater = 5.0f;
  static constexpr float kRainWater = 1.0f;

  explicit Board(GameContext& context);
  Board();
  ~Board();
  Board(const Board&) = delete;
  Board& operator=(const Board&) = delete;

  GameContext& context() const { return *context_; }

  // Regions, by grid cell.
  static bool isOnBoard(int x, int y) { return x >= 0 && x < kSize && y >= 0 && y < kSize; }
  static bool isUndergroundCell(int x, int y);
  static bool isInPlayCell(int x, int y);
  static bool isFoundationCell(int x, int y);
  static bool isHallTopCell(int x, int y);
  static int getBoardCenter() { return kCentre; }
  // The most cards the rooms of one board can keep at once: every cell the room that
  // keeps the most at its depth.
  static int maxStoredCards();

  // Puts one empty element with its region flags in every cell.
  void fill();
  // Stores the element at (x, y) (replacing any element there) and gives it
  // its board, owner and position; counts its block and fire. Coordinates
  // outside 0..39 are refused with a log line (null).
  BoardElem* placeElem(std::unique_ptr<BoardElem> elem, int x, int y);
  // Takes the element out of its cell (its block and fire leave the counters);
  // null when the cell is empty or off the board.
  std::unique_ptr<BoardElem> takeElem(int x, int y);

  void setOwner(Player* owner);
  Player* owner() const { return owner_; }
  // The owner's display name, for log lines.
  void setOwnerName(std::string name) { ownerName_ = std::move(name); }
  const std::string& ownerName() const { return ownerName_; }

  BoardElem* cellAt(int x, int y) const {
    return isOnBoard(x, y) ? cells_[x * kSize + y].get() : nullptr;
  }
  BoardElem* cellAtCentred(int dx, int dy) const { return cellAt(dx + kCentre, dy + kCentre); }
  // Every element in scan order (x from 0, then y from 0); skips empty cells.
  template <typename F>
  void forEachElem(F&& f) const {
    for (const auto& e : cells_)
      if (e) f(*e);
  }

  // The reach: every cell within one cell of an element that is not empty,
  // and every underground cell. Cards are placed and aimed only there (open
  // air far from any block takes no card), so the scans for choices look at
  // the reach alone, in scan order. It only grows.
  template <typename F>
  void forEachElemInReach(F&& f) const {
    for (int x = reachX0_; x <= reachX1_; ++x)
      for (int y = reachY0_; y <= reachY1_; ++y)
        if (BoardElem* e = cells_[x * kSize + y].get()) f(*e);
  }
  // Whether some element of the reach passes `test`; stops at the first.
  template <typename Test>
  bool anyElemInReach(Test&& test) const {
    for (int x = reachX0_; x <= reachX1_; ++x)
      for (int y = reachY0_; y <= reachY1_; ++y)
        if (const BoardElem* e = cells_[x * kSize + y].get(); e && test(*e)) return true;
    return false;
  }
  bool isInReach(int x, int y) const {
    return x >= reachX0_ && x <= reachX1_ && y >= reachY0_ && y <= reachY1_;
  }

  BoardElem* findArchmage() const;
  int countFreeBlocks() const;
  int manaIncome() const;
  int dwarvesIncome() const;
  // The highest block above ground (rows from the top, each from the left).
  BoardElem* findTopBlock() const;
  // A random block among those above ground in the highest row holding any.
  BoardElem* randomTopBlock() const;

  void revealAll();
  void refreshAll();
  void refreshElems();
  void clearHighlights();
  // Withdraws every offer, then offers the given elements with hot-keys 1, 2, ...
  void showOptions(const std::vector<BoardElem*>& options);

  int blockCount() const { return blockCount_; }
  int burningCount() const { return burningCount_; }
  // Burning elements per hundred blocks; 0 without blocks.
  int fireLevel() const;
  // Add to a counter, then report the fire level.
  void changeBlockCount(int delta);
  void changeBurningCount(int delta);

  // Board rules (each returns at once where this machine lacks authority).
  // Every block not joined to a support collapses.
  void supportPass();
  // The fire step of a turn.
  void burn();
  // One step of water, or (final) flow until settled, then cut levels to 1.0.
  void updateWater(bool final);
  // One water step; true when it settled.
  bool flowWater();
  // Every block on the foundation is damaged on a coin.
  void earthquake();

  // Random pickers (the context's generator; null when nothing qualifies).
  BoardElem* randomBlock(bool aboveGround, bool underground, bool burningAllowed,
                         bool wetAllowed) const;
  BoardElem* randomCrystalBlock() const;
  BoardElem* randomGroundBlock() const;
  // Hall-top cells that are caves, four-blocks or vertical blocks.
  std::vector<BoardElem*> hallTopCells() const;

  // Takes one stored (card, power) out of the first working room that keeps
  // cards and holds it (player/ElemActions.cpp). False when none does.
  bool spendSpell(int cardId, int power);

 private:
  friend class BoardElem;

  bool lacksAuthority() const;
  // The element at (x, y) is no longer empty, or lies underground.
  void extendReach(int x, int y);
  BoardElem* pickRandom(const std::vector<BoardElem*>& from) const;

  GameContext* context_;
  Player* owner_ = nullptr;
  std::string ownerName_;
  int burningCount_ = 0;
  int blockCount_ = 0;
  // The reach as a rectangle of cells; empty at first.
  int reachX0_ = kSize, reachX1_ = -1, reachY0_ = kSize, reachY1_ = -1;
  std::array<std::unique_ptr<BoardElem>, kSize * kSize> cells_;
  // Underground cells in scan order, where the water flows.
  std::vector<BoardElem*> undergroundCells_;
  bool undergroundDirty_ = true;
  std::vector<float> newLevels_;
};
