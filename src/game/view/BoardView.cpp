#include "BoardView.h"

#include <vector>

#include "Board.h"
#include "BoardElem.h"
#include "QuadBatchNode.h"
#include "ElemDisplay.h"
#include "ElemNodes.h"
#include "CCPointExtension.h"
#include "HighlightLayer.h"
#include "logog/logog.hpp"

using namespace cocos2d;

namespace {
// Smoke rises and drifts well beyond its cell; element art stays in it.
constexpr float kElemCullMargin = 64.0f;
constexpr float kSmokeCullMargin = 192.0f;
}  // namespace

BoardView::BoardView(BoardViewHost& host) : host_(host) {}

BoardView::~BoardView() {
  clear();
  for (LayerBatches* side : {&ours_, &enemy_}) {
    for (QuadBatchNode* batch : {side->elems, side->smoke}) {
      if (!batch) continue;
      if (batch->getParent()) batch->removeFromParentAndCleanup(true);
      batch->release();
    }
    *side = LayerBatches();
  }
}

void BoardView::clear() {
  for (auto& entry : highlights_) {
    entry.second->setElement(nullptr);
    if (entry.second->getParent()) entry.second->removeFromParentAndCleanup(true);
    entry.second->release();
  }
  highlights_.clear();
  for (auto& entry : nodes_) entry.second->release();
  nodes_.clear();
}

ElemNodes* BoardView::nodesOf(const BoardElem& elem) const {
  auto it = nodes_.find(&elem);
  return it == nodes_.end() ? nullptr : it->second;
}

HighlightLayer* BoardView::highlightOf(const BoardElem& elem) const {
  auto it = highlights_.find(&elem);
  return it == highlights_.end() ? nullptr : it->second;
}

QuadBatchNode* BoardView::elemBatchIn(CCNode* layer) const {
  for (const LayerBatches* side : {&ours_, &enemy_})
    if (layer && side->layer == layer) return side->elems;
  return nullptr;
}

QuadBatchNode* BoardView::smokeBatchIn(CCNode* layer) const {
  for (const LayerBatches* side : {&ours_, &enemy_})
    if (layer && side->layer == layer) return side->smoke;
  return nullptr;
}

CCPoint BoardView::elemCentre(const BoardElem& elem) {
  CCPoint corner = host_.boardToLayerPoint(elem.owner(), elem.x(), elem.y());
  return ccp(corner.x + kElemSize * 0.5f, corner.y + kElemSize * 0.5f);
}

BoardView::LayerBatches* BoardView::batchesFor(const Player* owner) {
  const bool ours = owner && owner == host_.viewLocalPlayer();
  LayerBatches& side = ours ? ours_ : enemy_;
  CCNode* layer = host_.getPlayerLayer(owner);
  if (!layer) return nullptr;
  if (!side.elems) {
    side.elems = QuadBatchNode::create(kElemCullMargin);
    side.smoke = QuadBatchNode::create(kSmokeCullMargin);
    if (!side.elems || !side.smoke) return nullptr;
    side.elems->retain();
    side.smoke->retain();
  }
  if (side.layer != layer || side.elems->getParent() != layer) {
    // A new screen: the batches (and every element node in them) move over.
    for (QuadBatchNode* batch : {side.elems, side.smoke})
      if (batch->getParent()) batch->removeFromParentAndCleanup(false);
    layer->addChild(side.smoke, kSmokeZ);
    layer->addChild(side.elems, kElemZ);
    side.layer = layer;
  }
  return &side;
}

void BoardView::build(BoardElem& elem) {
  const ElemLayout layout = layoutForKind(static_cast<int>(elem.kind()));
  ElemNodes* nodes = nodesOf(elem);
  if (layout == ElemLayout::None) {
    if (nodes) dropNodes(elem);
    return;
  }
  LayerBatches* side = batchesFor(elem.owner());
  if (!side) return;
  const bool ours = elem.owner() && elem.owner() == host_.viewLocalPlayer();
  // The same layout serves again: every layer it decides is set anew by the refresh.
  if (nodes && (nodes->layout() != layout || nodes->ofLocalPlayer() != ours)) {
    dropNodes(elem);
    nodes = nullptr;
  }
  if (!nodes) {
    nodes = ElemNodes::create();
    if (!nodes->build(layout, ours)) return;
    nodes->retain();
    nodes_[&elem] = nodes;
  }
  if (nodes->root()->getParent() != side->elems) {
    if (nodes->root()->getParent()) nodes->root()->removeFromParentAndCleanup(false);
    side->elems->addChild(nodes->root());
  }
  nodes->placeAt(elemCentre(elem));
}

void BoardView::refresh(BoardElem& elem) {
  ElemNodes* nodes = nodesOf(elem);
  if (!nodes) {
    // An element told about before the screen could show it.
    if (layoutForKind(static_cast<int>(elem.kind())) == ElemLayout::None) return;
    build(elem);
    nodes = nodesOf(elem);
    if (!nodes) return;
  }
  LayerBatches* side = batchesFor(elem.owner());
  nodes->apply(describeElem(elem, host_.viewLocalPlayer()), side ? side->smoke : nullptr, 0);
}

void BoardView::refreshNeighbours(BoardElem& elem) {
  // Ladders join side neighbours; a vertical block's facade counts the blocks above it.
  std::vector<BoardElem*> around = {elem.getLeft(), elem.getRight(), elem.getUpper()};
  BoardElem* below = elem.getLower();
  for (int i = 0; i < 4 && below; ++i, below = below->getLower()) around.push_back(below);
  for (BoardElem* e : around)
    if (e && nodesOf(*e)) refresh(*e);
}

void BoardView::onElemChanged(BoardElem& elem) { refresh(elem); }

void BoardView::onElemRebuilt(BoardElem& elem) {
  build(elem);
  if (HighlightLayer* h = highlightOf(elem)) {
    if (!elem.isSelectable())
      dropHighlight(elem);
    else
      placeHighlight(elem, h);
  }
  refreshNeighbours(elem);
}

void BoardView::onElemRemoved(BoardElem& elem) {
  dropHighlight(elem);
  dropNodes(elem);
}

void BoardView::dropNodes(const BoardElem& elem) {
  auto it = nodes_.find(&elem);
  if (it == nodes_.end()) return;
  it->second->release();
  nodes_.erase(it);
}

void BoardView::dropHighlight(const BoardElem& elem) {
  auto it = highlights_.find(&elem);
  if (it == highlights_.end()) return;
  HighlightLayer* h = it->second;
  highlights_.erase(it);
  // A click on it from now on selects nothing.
  h->setElement(nullptr);
  if (h->getParent()) h->removeFromParentAndCleanup(true);
  h->release();
}

void BoardView::placeHighlight(BoardElem& elem, HighlightLayer* h) {
  CCNode* layer = host_.getPlayerLayer(elem.owner());
  if (!layer) return;
  if (h->getParent() != layer) {
    if (h->getParent()) h->removeFromParentAndCleanup(false);
    layer->addChild(h, kHighlightZ);
  }
  h->setPosition(host_.boardToLayerPoint(elem.owner(), elem.x(), elem.y()));
}

void BoardView::onElemHighlighted(BoardElem& elem, int index) {
  HighlightLayer* h = highlightOf(elem);
  if (!h) {
    const bool ours = elem.owner() && elem.owner() == host_.viewLocalPlayer();
    h = HighlightLayer::create(HighlightLayer::colourFor(ours, elem.isBlock()), kElemSize, kElemSize);
    if (!h) return;
    h->retain();
    // The highlight keeps its own translucency when the board layer fades.
    h->setKeepsOwnOpacity(true);
    highlights_[&elem] = h;
    h->setElement(&elem);
    h->setOnSelect([this](BoardElem* chosen) {
      if (chosen) host_.selectBoardElem(chosen);
    });
    // Before the board's own input layer, which takes every other press.
    h->setTouchPriority(-1);
    h->setTouchEnabled(true);
    h->setKeypadEnabled(true);
  }
  placeHighlight(elem, h);
  h->setHotkeyIndex(index);
}

void BoardView::onElemUnhighlighted(BoardElem& elem) { dropHighlight(elem); }

void BoardView::attachToScreen(std::initializer_list<Board*> boards) {
  for (Board* board : boards) {
    if (!board) continue;
    board->forEachElem([this](BoardElem& e) {
      const bool had = nodesOf(e) != nullptr;
      if (had || layoutForKind(static_cast<int>(e.kind())) != ElemLayout::None) {
        build(e);
        if (!had) refresh(e);
      }
      if (HighlightLayer* h = highlightOf(e)) placeHighlight(e, h);
    });
  }
}

void BoardView::detachFromScreen() {
  for (LayerBatches* side : {&ours_, &enemy_}) {
    for (QuadBatchNode* batch : {side->elems, side->smoke})
      if (batch && batch->getParent()) batch->removeFromParentAndCleanup(false);
    side->layer = nullptr;
  }
  for (auto& entry : highlights_)
    if (entry.second->getParent()) entry.second->removeFromParentAndCleanup(false);
}

CCNode* BoardView::detachNode(BoardElem& elem) {
  ElemNodes* nodes = nodesOf(elem);
  if (!nodes) return nullptr;
  CCNode* root = nodes->detachRoot();
  dropNodes(elem);
  return root;
}
