#include "ports/BoardObserver.h"

#include "BoardElem.h"

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
