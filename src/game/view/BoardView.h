// Shows the boards: keeps one ElemNodes per element that has a kind, and a highlight
// over each element on offer. It observes the rules (every call comes through the
// event hub) and puts the nodes into the layers the screen gives it: element nodes
// and smoke go into two batch nodes per board layer, highlights straight into it.
#pragma once

#include <unordered_map>

#include "CCGeometry.h"
#include "ports/BoardObserver.h"

namespace cocos2d {
class CCNode;
}
class Board;
class BoardElem;
class QuadBatchNode;
class ElemNodes;
class HighlightLayer;
class Player;

// What the board view needs of the screen it draws on.
class BoardViewHost {
 public:
  virtual ~BoardViewHost() = default;
  // The layer of a player's tower; null while there is no screen.
  virtual cocos2d::CCNode* getPlayerLayer(const Player* owner) = 0;
  // The layer position of the lower-left corner of cell (x, y) of the player's board.
  virtual cocos2d::CCPoint boardToLayerPoint(const Player* owner, int x, int y) = 0;
  // The local player; null when there is none.
  virtual const Player* viewLocalPlayer() = 0;
  // The player chose a highlighted element.
  virtual void selectBoardElem(BoardElem* elem) = 0;
};

class BoardView : public BoardObserver {
 public:
  // A board cell's edge in pixels.
  static constexpr float kElemSize = 64.0f;
  // Z orders in a board layer.
  static constexpr int kSmokeZ = 5;
  static constexpr int kElemZ = 50;
  static constexpr int kHighlightZ = 100;

  explicit BoardView(BoardViewHost& host);
  ~BoardView() override;
  BoardView(const BoardView&) = delete;
  BoardView& operator=(const BoardView&) = delete;

  // ---- BoardObserver --------------------------------------------------------------
  void onElemChanged(BoardElem& elem) override;
  void onElemRebuilt(BoardElem& elem) override;
  void onElemRemoved(BoardElem& elem) override;
  void onElemHighlighted(BoardElem& elem, int index) override;
  void onElemUnhighlighted(BoardElem& elem) override;

  // The screen was built anew: the batches and highlights move into the new layers,
  // every node to its cell's new place; elements of `boards` that have no nodes yet
  // get them.
  void attachToScreen(std::initializer_list<Board*> boards);
  // The screen goes away: nodes stay, out of any layer.
  void detachFromScreen();
  // Drops every node and highlight (a game ends).
  void clear();

  // Hands the element's root node to the caller (retained, out of its layer); null
  // when it has none. The element shows nothing until it is rebuilt.
  cocos2d::CCNode* detachNode(BoardElem& elem);

  ElemNodes* nodesOf(const BoardElem& elem) const;
  HighlightLayer* highlightOf(const BoardElem& elem) const;
  std::size_t nodeCount() const { return nodes_.size(); }
  std::size_t highlightCount() const { return highlights_.size(); }
  // The batch of element nodes (or of smoke) in a layer; null when there is none yet.
  QuadBatchNode* elemBatchIn(cocos2d::CCNode* layer) const;
  QuadBatchNode* smokeBatchIn(cocos2d::CCNode* layer) const;

  // Where an element's art is centred: its cell's corner plus half a cell.
  cocos2d::CCPoint elemCentre(const BoardElem& elem);

 private:
  struct LayerBatches {
    cocos2d::CCNode* layer = nullptr;  // not retained: the screen owns it
    QuadBatchNode* elems = nullptr;    // retained
    QuadBatchNode* smoke = nullptr;    // retained
  };
  LayerBatches* batchesFor(const Player* owner);
  void build(BoardElem& elem);
  void refresh(BoardElem& elem);
  void refreshNeighbours(BoardElem& elem);
  void placeHighlight(BoardElem& elem, HighlightLayer* layer);
  void dropNodes(const BoardElem& elem);
  void dropHighlight(const BoardElem& elem);

  BoardViewHost& host_;
  std::unordered_map<const BoardElem*, ElemNodes*> nodes_;            // retained
  std::unordered_map<const BoardElem*, HighlightLayer*> highlights_;  // retained
  LayerBatches ours_;
  LayerBatches enemy_;
};
