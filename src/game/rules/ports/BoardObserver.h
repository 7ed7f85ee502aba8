// What boards tell the outside: element and board changes for the board view,
// and the board events the event hub turns into sounds, effects and messages.
// Every call has an empty default so an observer overrides only what it needs.
// A new call goes into BoardObserverFan below as well.
#pragma once

#include <vector>

class Board;
class BoardElem;

class BoardObserver {
 public:
  virtual ~BoardObserver() = default;

  // The element's state changed: its images want refreshing.
  virtual void onElemChanged(BoardElem&) {}
  // The element's kind changed (or its layout is wanted again): rebuild its nodes.
  virtual void onElemRebuilt(BoardElem&) {}
  // The element leaves its board (taken out, replaced, or freed with the board):
  // whoever shows it lets go of it.
  virtual void onElemRemoved(BoardElem&) {}
  // The element is offered as a choice (hot-key index 1.., or past ten without digit).
  virtual void onElemHighlighted(BoardElem&, int /*index*/) {}
  virtual void onElemUnhighlighted(BoardElem&) {}
  // Something on the board as a whole changed (a block was built, ...).
  virtual void onBoardChanged(Board&) {}
  // Burning blocks as a percentage of all blocks.
  virtual void onFireLevelChanged(Board&, int /*percent*/) {}

  virtual void onBlockExploded(BoardElem&) {}
  virtual void onElemRubble(BoardElem&) {}
  virtual void onDoorDestroyed(BoardElem&) {}
  // Told before the element loses its block.
  virtual void onBlockCollapsed(BoardElem&) {}
};

// Hands every board event to one observer and then to each watcher, in the order
// they were added (the board view through the hub, and the replication of an online
// game, which sends what changed).
class BoardObserverFan : public BoardObserver {
 public:
  explicit BoardObserverFan(BoardObserver& first) : first_(&first) {}

  BoardObserver& first() const { return *first_; }
  void setFirst(BoardObserver& first) { first_ = &first; }
  void addWatcher(BoardObserver& watcher);
  void removeWatcher(BoardObserver& watcher);

  void onElemChanged(BoardElem& e) override;
  void onElemRebuilt(BoardElem& e) override;
  void onElemRemoved(BoardElem& e) override;
  void onElemHighlighted(BoardElem& e, int index) override;
  void onElemUnhighlighted(BoardElem& e) override;
  void onBoardChanged(Board& b) override;
  void onFireLevelChanged(Board& b, int percent) override;
  void onBlockExploded(BoardElem& e) override;
  void onElemRubble(BoardElem& e) override;
  void onDoorDestroyed(BoardElem& e) override;
  void onBlockCollapsed(BoardElem& e) override;

 private:
  template <typename Call>
  void each(Call&& call) {
    call(*first_);
    for (BoardObserver* w : watchers_) call(*w);
  }

  BoardObserver* first_;
  std::vector<BoardObserver*> watchers_;
};

// Keeps every board event (not the element refreshes, which are many) in order;
// for tests and headless runs.
class RecordingBoardObserver : public BoardObserver {
 public:
  enum class Event {
    Highlighted,
    Unhighlighted,
    BoardChanged,
    FireLevel,
    BlockExploded,
    ElemRubble,
    DoorDestroyed,
    BlockCollapsed,
  };
  struct Record {
    Event event;
    const Board* board;
    int x;
    int y;
    int kind;   // the element's kind when the event was told
    int value;  // fire level, hot-key index
  };

  void onElemChanged(BoardElem&) override { ++elemChanges_; }
  void onElemRebuilt(BoardElem&) override { ++elemRebuilds_; }
  void onElemHighlighted(BoardElem& e, int index) override;
  void onElemUnhighlighted(BoardElem& e) override;
  void onBoardChanged(Board& b) override;
  void onFireLevelChanged(Board& b, int percent) override;
  void onBlockExploded(BoardElem& e) override;
  void onElemRubble(BoardElem& e) override;
  void onDoorDestroyed(BoardElem& e) override;
  void onBlockCollapsed(BoardElem& e) override;

  const std::vector<Record>& records() const { return records_; }
  std::vector<Record> recordsOf(Event event) const;
  int count(Event event) const { return static_cast<int>(recordsOf(event).size()); }
  int elemChanges() const { return elemChanges_; }
  int elemRebuilds() const { return elemRebuilds_; }
  void clear();

 private:
  void addElem(Event event, BoardElem& e, int value = 0);
  std::vector<Record> records_;
  int elemChanges_ = 0;
  int elemRebuilds_ = 0;
};
