#include "ports/BoardObserver.h"

#include <algorithm>

#include "BoardElem.h"

void BoardObserverFan::addWatcher(BoardObserver& watcher) { watchers_.push_back(&watcher); }

void BoardObserverFan::removeWatcher(BoardObserver& watcher) {
  watchers_.erase(std::remove(watchers_.begin(), watchers_.end(), &watcher), watchers_.end());
}

void BoardObserverFan::onElemChanged(BoardElem& e) {
  each([&](BoardObserver& o) { o.onElemChanged(e); });
}
void BoardObserverFan::onElemRebuilt(BoardElem& e) {
  each([&](BoardObserver& o) { o.onElemRebuilt(e); });
}
void BoardObserverFan::onElemRemoved(BoardElem& e) {
  each([&](BoardObserver& o) { o.onElemRemoved(e); });
}
void BoardObserverFan::onElemHighlighted(BoardElem& e, int index) {
  each([&](BoardObserver& o) { o.onElemHighlighted(e, index); });
}
void BoardObserverFan::onElemUnhighlighted(BoardElem& e) {
  each([&](BoardObserver& o) { o.onElemUnhighlighted(e); });
}
void BoardObserverFan::onBoardChanged(Board& b) {
  each([&](BoardObserver& o) { o.onBoardChanged(b); });
}
void BoardObserverFan::onFireLevelChanged(Board& b, int percent) {
  each([&](BoardObserver& o) { o.onFireLevelChanged(b, percent); });
}
void BoardObserverFan::onBlockExploded(BoardElem& e) {
  each([&](BoardObserver& o) { o.onBlockExploded(e); });
}
void BoardObserverFan::onElemRubble(BoardElem& e) {
  each([&](BoardObserver& o) { o.onElemRubble(e); });
}
void BoardObserverFan::onDoorDestroyed(BoardElem& e) {
  each([&](BoardObserver& o) { o.onDoorDestroyed(e); });
}
void BoardObserverFan::onBlockCollapsed(BoardElem& e) {
  each([&](BoardObserver& o) { o.onBlockCollapsed(e); });
}

void RecordingBoardObserver::addElem(Event event, BoardElem& e, int value) {
  records_.push_back({event, e.board(), e.x(), e.y(), static_cast<int>(e.kind()), value});
}

void RecordingBoardObserver::onElemHighlighted(BoardElem& e, int index) {
  addElem(Event::Highlighted, e, index);
}
void RecordingBoardObserver::onElemUnhighlighted(BoardElem& e) { addElem(Event::Unhighlighted, e); }
void RecordingBoardObserver::onBoardChanged(Board& b) {
  records_.push_back({Event::BoardChanged, &b, -1, -1, 0, 0});
}
void RecordingBoardObserver::onFireLevelChanged(Board& b, int percent) {
  records_.push_back({Event::FireLevel, &b, -1, -1, 0, percent});
}
void RecordingBoardObserver::onBlockExploded(BoardElem& e) { addElem(Event::BlockExploded, e); }
void RecordingBoardObserver::onElemRubble(BoardElem& e) { addElem(Event::ElemRubble, e); }
void RecordingBoardObserver::onDoorDestroyed(BoardElem& e) { addElem(Event::DoorDestroyed, e); }
void RecordingBoardObserver::onBlockCollapsed(BoardElem& e) { addElem(Event::BlockCollapsed, e); }

std::vector<RecordingBoardObserver::Record> RecordingBoardObserver::recordsOf(Event event) const {
  std::vector<Record> out;
  for (const Record& r : records_)
    if (r.event == event) out.push_back(r);
  return out;
}

void RecordingBoardObserver::clear() {
  records_.clear();
  elemChanges_ = 0;
  elemRebuilds_ = 0;
}
