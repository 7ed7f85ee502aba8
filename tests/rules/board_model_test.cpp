#include <gtest/gtest.h>

#include "board_fixture.h"
#include "CapturedLog.h"
#include "logog/logog.hpp"

namespace {

using Ev = RecordingBoardObserver::Event;

using BoardRegions = BoardFixture;

TEST_F(BoardRegions, UndergroundHallHas38CellsAndOneOfThemIsOutOfPlay) {
  int underground = 0, undergroundInPlay = 0, inPlay = 0;
  board.forEachElem([&](BoardElem& e) {
    underground += e.isUnderground();
    undergroundInPlay += e.isUnderground() && e.isInPlay();
    inPlay += e.isInPlay();
  });
  EXPECT_EQ(38, underground);
  EXPECT_EQ(37, undergroundInPlay);
  EXPECT_EQ(40 * 20 + 37, inPlay);

  BoardElem* corner = board.cellAt(22, 19);
  EXPECT_TRUE(corner->isUnderground());
  EXPECT_FALSE(corner->isInPlay());
  EXPECT_TRUE(corner->isHallTop());
  corner->setKind(ElemKind::Cave);
  EXPECT_FALSE(corner->isOpen());
}

TEST_F(BoardRegions, CellsAnswerTheirRegionQuestions) {
  struct Case {
    int x, y;
    bool underground, inPlay, foundation, hallTop;
  };
  for (Case c : {Case{20, 20, false, true, true, false}, Case{17, 20, false, true, true, false},
                 Case{22, 20, false, true, false, false}, Case{16, 20, false, true, false, false},
                 Case{17, 19, true, true, false, true}, Case{16, 19, false, false, false, false},
                 Case{16, 15, true, true, false, false}, Case{23, 18, true, true, false, false},
                 Case{24, 18, false, false, false, false}, Case{20, 14, false, false, false, false},
                 Case{0, 39, false, true, false, false}}) {
    BoardElem* e = board.cellAt(c.x, c.y);
    ASSERT_NE(nullptr, e);
    EXPECT_EQ(c.underground, e->isUnderground()) << c.x << "," << c.y;
    EXPECT_EQ(c.inPlay, e->isInPlay()) << c.x << "," << c.y;
    EXPECT_EQ(c.foundation, e->isFoundation()) << c.x << "," << c.y;
    EXPECT_EQ(c.hallTop, e->isHallTop()) << c.x << "," << c.y;
  }
  EXPECT_EQ(nullptr, board.cellAt(40, 0));
  EXPECT_EQ(nullptr, board.cellAt(-1, 5));
  EXPECT_EQ(nullptr, board.cellAt(5, 39)->getUpper());
  EXPECT_EQ(nullptr, board.cellAt(0, 5)->getLeft());
  EXPECT_EQ(board.cellAt(21, 20), at(0, 0)->getRight());
  EXPECT_EQ(-3, at(0, -3)->getDepth());
}

TEST_F(BoardRegions, OpenMeansDryAirOrCaveInPlay) {
  EXPECT_TRUE(at(5, 5)->isOpen());
  EXPECT_FALSE(at(0, -2)->isOpen());  // earth
  at(0, -2)->setKind(ElemKind::Cave);
  EXPECT_TRUE(at(0, -2)->isOpen());
  at(0, -2)->setWaterLevel(0.5f);
  EXPECT_FALSE(at(0, -2)->isOpen());
  EXPECT_FALSE(build(1, 0, ElemKind::FourBlock)->isOpen());
}

TEST_F(BoardRegions, PlacingOutsideTheBoardIsRefused) {
  {
    CapturedLog log;
    EXPECT_EQ(nullptr, board.placeElem(std::make_unique<BoardElem>(), 40, 3));
    EXPECT_EQ(nullptr, board.placeElem(std::make_unique<BoardElem>(), 3, -1));
    ASSERT_EQ(2u, log.lines().size());
    EXPECT_NE(std::string::npos, log.lines()[0].find("(40, 3) lies outside the board"));
  }
}

TEST_F(BoardRegions, PlacingGivesTheElementItsBoardOwnerAndPlace) {
  Player* owner = reinterpret_cast<Player*>(&board);  // any distinct address will do
  board.setOwner(owner);
  BoardElem* e = board.placeElem(std::make_unique<BoardElem>(), 7, 9);
  EXPECT_EQ(&board, e->board());
  EXPECT_EQ(owner, e->owner());
  EXPECT_EQ(7, e->x());
  EXPECT_EQ(9, e->y());
  EXPECT_EQ(owner, board.cellAt(0, 0)->owner());
  EXPECT_TRUE(e->isVisibleToLocalPlayer(owner));
  EXPECT_FALSE(e->isVisibleToLocalPlayer(nullptr));
  e->reveal();
  EXPECT_TRUE(e->isVisibleToLocalPlayer(nullptr));
}

using BoardCounters = BoardFixture;

TEST_F(BoardCounters, FireLevelIsBurningPerHundredBlocks) {
  EXPECT_EQ(0, board.fireLevel());
  buildColumn(-2, 4);
  buildColumn(-1, 4);
  EXPECT_EQ(8, board.blockCount());
  for (int dy = 0; dy < 3; ++dy) at(-2, dy)->ignite();
  EXPECT_EQ(3, board.burningCount());
  EXPECT_EQ(37, board.fireLevel());
  const auto levels = events.recordsOf(Ev::FireLevel);
  ASSERT_FALSE(levels.empty());
  EXPECT_EQ(37, levels.back().value);
}

TEST_F(BoardCounters, NoBlocksMeansFireLevelZeroEvenWithABurningCount) {
  board.changeBurningCount(2);
  EXPECT_EQ(0, board.fireLevel());
  EXPECT_EQ(0, events.recordsOf(Ev::FireLevel).back().value);
}

TEST_F(BoardCounters, BurningCountChangesOnlyWithTheFlag) {
  BoardElem* e = build(0, 0, ElemKind::FourBlock);
  e->ignite();
  e->ignite();
  EXPECT_EQ(1, board.burningCount());
  e->extinguish();
  e->extinguish();
  EXPECT_EQ(0, board.burningCount());
  e->ignite();
  e->destroy();
  EXPECT_EQ(0, board.burningCount());
  EXPECT_EQ(0, board.blockCount());

  BoardElem* f = build(1, 0, ElemKind::FourBlock);
  f->ignite();
  f->resetElem();
  f->extinguish();
  EXPECT_EQ(0, board.burningCount());
  EXPECT_EQ(0, board.blockCount());
}

TEST_F(BoardCounters, ABoardGoingAwayReportsNoFire) {
  GameContext ctx2;
  RecordingBoardObserver seen;
  ctx2.setObserver(&seen);
  { Board b(ctx2); }
  ASSERT_EQ(1, seen.count(Ev::FireLevel));
  EXPECT_EQ(0, seen.records()[0].value);
}

// A watcher hears every board event after the observer, until it is removed.
TEST_F(BoardCounters, WatchersHearWhatTheObserverHearsAfterIt) {
  std::vector<std::string> heard;
  struct Named : BoardObserver {
    Named(std::vector<std::string>& heard, const char* name) : heard(heard), name(name) {}
    void note(const char* event) { heard.push_back(std::string(name) + " " + event); }
    void onElemChanged(BoardElem&) override { note("changed"); }
    void onElemRebuilt(BoardElem&) override { note("rebuilt"); }
    void onElemRemoved(BoardElem&) override { note("removed"); }
    void onElemHighlighted(BoardElem&, int) override { note("highlighted"); }
    void onElemUnhighlighted(BoardElem&) override { note("unhighlighted"); }
    void onBoardChanged(Board&) override { note("board"); }
    void onFireLevelChanged(Board&, int) override { note("fire"); }
    void onBlockExploded(BoardElem&) override { note("exploded"); }
    void onElemRubble(BoardElem&) override { note("rubble"); }
    void onDoorDestroyed(BoardElem&) override { note("door"); }
    void onBlockCollapsed(BoardElem&) override { note("collapsed"); }
    std::vector<std::string>& heard;
    const char* name;
  } observer(heard, "observer"), watcher(heard, "watcher");
  GameContext ctx2;
  ctx2.setObserver(&observer);
  ctx2.addWatcher(watcher);
  EXPECT_TRUE(ctx2.isObserver(&observer));
  BoardObserver& events = ctx2.observer();
  BoardElem& e = *at(0, 5);
  events.onElemChanged(e);
  events.onElemRebuilt(e);
  events.onElemRemoved(e);
  events.onElemHighlighted(e, 1);
  events.onElemUnhighlighted(e);
  events.onBoardChanged(board);
  events.onFireLevelChanged(board, 5);
  events.onBlockExploded(e);
  events.onElemRubble(e);
  events.onDoorDestroyed(e);
  events.onBlockCollapsed(e);
  ASSERT_EQ(heard.size(), 22u);
  for (size_t i = 0; i < heard.size(); i += 2) {
    EXPECT_EQ(heard[i].substr(0, 9), "observer ");
    EXPECT_EQ(heard[i + 1], "watcher " + heard[i].substr(9));
  }
  ctx2.removeWatcher(watcher);
  heard.clear();
  events.onElemChanged(e);
  EXPECT_EQ(heard, std::vector<std::string>{"observer changed"});
  ctx2.setObserver(nullptr);
}

using SetKind = BoardFixture;

TEST_F(SetKind, BlockCountFollowsTheKind) {
  struct Step {
    ElemKind kind;
    int blocks;
  };
  BoardElem* e = at(0, 0);
  for (Step s : {Step{ElemKind::FourBlock, 1}, Step{ElemKind::VertBlock, 1},
                 Step{ElemKind::Dome, 0}, Step{ElemKind::HorizBlock, 1}, Step{ElemKind::Empty, 0},
                 Step{ElemKind::Empty, 0}}) {
    e->setKind(s.kind);
    EXPECT_EQ(s.kind, e->kind());
    EXPECT_EQ(s.blocks, board.blockCount());
  }
}

TEST_F(SetKind, EmptyingALibraryLosesRoomSpellsWaterAndFlags) {
  BoardElem* e = build(0, 1, ElemKind::FourBlock);
  e->setRoom(RoomType::Library);
  e->setRoomPower(3);
  e->setStoredCards({{12, 3}, {13, 3}});
  e->setDamaged(true);
  e->setDoors(true);
  e->setLevitron(true);
  e->setWaterLevel(0.3f);
  e->highlight(1);
  e->setKind(ElemKind::Empty);
  EXPECT_EQ(RoomType::None, e->room());
  EXPECT_TRUE(e->storedCards().empty());
  EXPECT_EQ(0, board.blockCount());
  EXPECT_FALSE(e->isDamaged() || e->hasDoors() || e->hasLevitron() || e->isSelectable());
  EXPECT_EQ(0.0f, e->waterLevel());
}

TEST_F(SetKind, ChangingBlockKindKeepsFlagsButLosesTheRoom) {
  BoardElem* e = build(0, 0, ElemKind::FourBlock);
  e->setRoom(RoomType::Crystal);
  e->setDamaged(true);
  e->setKind(ElemKind::VertBlock);
  EXPECT_EQ(RoomType::None, e->room());
  EXPECT_TRUE(e->isDamaged());
  EXPECT_EQ(1, board.blockCount());
}

TEST_F(SetKind, UnknownKindIsRefused) {
  BoardElem* e = build(0, 0, ElemKind::FourBlock);
  EXPECT_FALSE(e->setKind(static_cast<ElemKind>(9)));
  EXPECT_EQ(ElemKind::FourBlock, e->kind());
  EXPECT_EQ(1, board.blockCount());
}

using BoardQueries = BoardFixture;

TEST_F(BoardQueries, TopBlockIgnoresTheUnderground) {
  build(0, -2, ElemKind::FourBlock);
  EXPECT_EQ(nullptr, board.findTopBlock());
  EXPECT_EQ(nullptr, board.randomTopBlock());
  buildColumn(0, 3);
  build(1, 2, ElemKind::HorizBlock);
  build(2, 1, ElemKind::HorizBlock);
  EXPECT_EQ(at(0, 2), board.findTopBlock());
  for (int i = 0; i < 20; ++i) {
    BoardElem* top = board.randomTopBlock();
    EXPECT_TRUE(top == at(0, 2) || top == at(1, 2));
  }
}

TEST_F(BoardQueries, IncomeCountsWorkingRoomsOnly) {
  buildColumn(0, 4);
  struct Room {
    int dy;
    RoomType room;
    int power;
  };
  for (Room r : {Room{0, RoomType::Crystal, 3}, Room{1, RoomType::Crystal, 2},
                 Room{2, RoomType::Housing, 4}, Room{3, RoomType::Housing, 5}}) {
    at(0, r.dy)->setRoom(r.room);
    at(0, r.dy)->setRoomPower(r.power);
  }
  EXPECT_EQ(5, board.manaIncome());
  EXPECT_EQ(9, board.dwarvesIncome());
  at(0, 1)->setDamaged(true);
  at(0, 3)->setWaterLevel(0.5f);
  EXPECT_EQ(3, board.manaIncome());
  EXPECT_EQ(4, board.dwarvesIncome());
  at(0, 0)->ignite();
  EXPECT_EQ(0, board.manaIncome());
  EXPECT_EQ(0, board.countFreeBlocks());
  build(1, 0, ElemKind::HorizBlock);
  EXPECT_EQ(1, board.countFreeBlocks());
  EXPECT_EQ(nullptr, board.findArchmage());
  at(1, 0)->setRoom(RoomType::Archmage);
  EXPECT_EQ(at(1, 0), board.findArchmage());
}

TEST_F(BoardQueries, OptionsAreOfferedInOrderAndWithdrawn) {
  board.showOptions({at(0, 0), at(1, 0), at(2, 0)});
  const auto offered = events.recordsOf(Ev::Highlighted);
  ASSERT_EQ(3u, offered.size());
  EXPECT_EQ(3, offered[2].value);
  EXPECT_EQ(21, offered[1].x);
  EXPECT_TRUE(at(1, 0)->isSelectable());
  board.clearHighlights();
  EXPECT_FALSE(at(1, 0)->isSelectable());
}

}  // namespace
