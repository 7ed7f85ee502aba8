// The in-game screen in a window: a game started through the event hub, drawn, clicked
// and keyed as a player would.
#include <cmath>

#include "NodeTree.h"
#include "CCSprite.h"
#include "CCSpriteFrameCache.h"
#include "CCLabelBMFont.h"
#include "CCMenuItem.h"
#include "CCScene.h"
#include "CCSet.h"
#include "CCTouch.h"
#include "CCLayer.h"
#include "CCParticleSystemQuad.h"
#include "CCPointExtension.h"
#include "CCScrollView.h"
#include "CardTable.h"
#include "FullTowers.h"
#include "ElemNodes.h"
#include "HighlightLayer.h"
#include "LayoutTags.h"
#include "QuadBatchNode.h"
#include "ResourceNames.h"
#include "game_screen_fixture.h"

using namespace cocos2d;
using mvtest::Rgb;
using mvtest::ScriptedPlayer;

namespace gametest {
namespace {

// A pixel of the last capture: the one whose lower-left corner is the point of the scene
// (GL coordinates, rounded down).
Rgb pixelAtScene(const CCPoint& p) {
  const CCPoint w = ScriptedPlayer::toWindow(ccp(std::floor(p.x) + 0.5f, std::floor(p.y) + 0.5f));
  return ScriptedPlayer::pixel(static_cast<int>(w.x), static_cast<int>(w.y));
}

// Where a label's letters are drawn in the window (without the empty room of its line).
CCRect glyphsRect(CCLabelBMFont* label) {
  CCRect all = CCRectZero;
  for (unsigned int i = 0; i < label->getChildrenCount(); ++i) {
    auto* glyph = dynamic_cast<CCSprite*>(label->getChildren()->objectAtIndex(i));
    if (!glyph || !glyph->isVisible()) continue;
    const CCRect r = ScriptedPlayer::windowRect(glyph);
    if (all.equals(CCRectZero)) {
      all = r;
      continue;
    }
    const float x0 = std::min(all.getMinX(), r.getMinX()), y0 = std::min(all.getMinY(), r.getMinY());
    all = CCRect(x0, y0, std::max(all.getMaxX(), r.getMaxX()) - x0, std::max(all.getMaxY(), r.getMaxY()) - y0);
  }
  return all;
}

// Where a point of a board layer lies in the scene.
CCPoint onScreen(CCNode* layer, const CCPoint& p) { return layer->convertToWorldSpace(p); }

// The colour's channels are in the proportions of the tint (a tinted light grey).
bool tintedBy(const Rgb& c, const ElemRgb& tint) {
  if (c.b <= 0) return false;
  const double rb = double(c.r) / c.b, gb = double(c.g) / c.b;
  return std::fabs(rb - double(tint.r) / tint.b) < 0.04 && std::fabs(gb - double(tint.g) / tint.b) < 0.04;
}

TEST_F(GameScreenTest, ASkirmishStartsOnTheScreenCentredOnOurTower) {
  startSkirmish();
  EXPECT_EQ(ScriptedPlayer::runningScene(), MainScene::scene());
  EXPECT_EQ(controller().missingMembers(), 0);
  // Our tower's centre cell lies in the middle of the window.
  const CCPoint centre = onScreen(controller().camera().ourLayer(), controller().camera().ourTowerPoint());
  EXPECT_NEAR(centre.x, kWidth / 2, 1);
  EXPECT_NEAR(centre.y, kHeight / 2, 1);
  EXPECT_FLOAT_EQ(controller().camera().ourLayer()->getScale(), 1.0f);
  EXPECT_FLOAT_EQ(controller().camera().enemyLayer()->getScale(), 0.7f);
  // The wind over the screen, at the size of the art set.
  CCParticleSystemQuad* wind = nullptr;
  for (unsigned int i = 0; i < controller().rootLayer()->getChildrenCount(); ++i)
    if (!wind) wind = dynamic_cast<CCParticleSystemQuad*>(controller().rootLayer()->getChildren()->objectAtIndex(i));
  ASSERT_NE(wind, nullptr);
  EXPECT_FLOAT_EQ(wind->getScale(), mv::hdScale());
  EXPECT_FALSE(ScriptedPlayer::screenshot("game-start").empty());
}

TEST_F(GameScreenTest, TheOpponentsNameStandsOverItsTower) {
  startSkirmish();
  GameController& c = controller();
  ASSERT_NE(c.enemyTowerLabel(), nullptr);
  EXPECT_EQ(c.enemyTowerLabel()->getParent(), c.camera().enemyLayer());
  EXPECT_EQ(std::string(c.enemyTowerLabel()->getString()), hub().context().text().text("AI"));
  EXPECT_EQ(std::string(c.enemyTowerLabel()->getFntFile()), mv::fontFileName("font-14.fnt"));
  const ccColor3B& colour = c.enemyTowerLabel()->getColor();
  EXPECT_EQ(colour.r + colour.g + colour.b, 0);
  EXPECT_FLOAT_EQ(c.enemyTowerLabel()->getScale(), 1.0f);
  // Half a cell right of the highest block's corner, two cells up; it follows the tower.
  BoardElem* top = enemy().board()->findTopBlock();
  ASSERT_NE(top, nullptr);
  EXPECT_TRUE(c.enemyTowerLabel()->getPosition().equals(ccpAdd(c.camera().elemToLayerPoint(top), ccp(32, 128))));
  BoardElem* higher = enemy().board()->cellAt(top->x(), top->y() + 1);
  enemy().setCards({CardId::FourBlock});
  higher->applyCard(CardId::FourBlock);
  EXPECT_TRUE(c.enemyTowerLabel()->getPosition().equals(ccpAdd(c.camera().elemToLayerPoint(higher), ccp(32, 128))));
  // Scrolled over to it, for the eye.
  c.camera().setViewPosition(ccpMult(ccpSub(ccp(kWidth / 2, kHeight / 2), ccpMult(c.enemyTowerLabel()->getPosition(), 0.7f)),
                            1.0f / 0.8f));
  ScriptedPlayer::runFor(0.1f);
  ScriptedPlayer::screenshot("enemy-tower-label");
}

// The log's and the bar's labels are gathered into batches: their glyphs too land on whole
// pixels, so thin letters at a fractional place keep their own pixels (a stem drawn from a
// half pixel would lose a column to its dim edge).
TEST_F(GameScreenTest, LabelsGatheredIntoABatchDrawTheirGlyphsOnWholePixels) {
  CCScene* scene = CCScene::create();
  QuadBatchNode* batch = QuadBatchNode::create(0);
  scene->addChild(batch);
  CCLabelBMFont* label = CCLabelBMFont::create("lllllllllIIIIIIIII", mv::fontFileName("font-14.fnt").c_str());
  ASSERT_NE(label, nullptr);
  label->setAnchorPoint(CCPointZero);
  batch->addChild(label);
  ScriptedPlayer::show(scene);
  // The lit pixels of a row through the middle of the letters, left to right.
  auto litRow = [&](float x) {
    label->setPosition(ccp(x, 300));
    ScriptedPlayer::frames(1);
    ScriptedPlayer::capture();
    const CCSize size = label->getContentSize();
    std::vector<int> lit;
    for (int px = 90; px < 110 + static_cast<int>(size.width); ++px) {
      const Rgb p = pixelAtScene(ccp(px, 300 + std::floor(size.height / 2)));
      if (p.r > 0) lit.push_back(p.r);
    }
    return lit;
  };
  const std::vector<int> whole = litRow(100);
  ASSERT_FALSE(whole.empty());
  for (float fraction : {0.25f, 0.5f, 0.75f}) EXPECT_EQ(litRow(100 + fraction), whole) << "at a fraction of " << fraction;
}

// A refresh while a button of the bar is held down (the enemy ends its phase, a message
// closes) leaves that button be: letting go of it still chooses its card.
TEST_F(GameScreenTest, ABarButtonHeldDownOutlivesARefreshAndLettingGoChooses) {
  startSkirmish();
  GameController& c = controller();
  ASSERT_EQ(local().state(), PlayerState::CardChoose);
  CCMenuItemImage* button = nullptr;
  mv::forEachNodeDeep(c.bar().view()->getContainer(), [&](CCNode* n) {
    if (auto* item = dynamic_cast<CCMenuItemImage*>(n))
      if (item->getTag() == CardId::Archmage && item != c.bindings().nodeAs<cocos2d::CCMenuItemImage>("endphasebtn")) button = item;
  });
  ASSERT_NE(button, nullptr);
  const CCRect r = ScriptedPlayer::windowRect(button);
  const float x = r.origin.x + r.size.width / 2, y = r.origin.y + r.size.height / 2;
  ScriptedPlayer::mouseDown(x, y);
  CCNode* bar = c.bar().view()->getContainer();
  c.refreshGui();
  c.refreshIfChanged();
  EXPECT_EQ(c.bar().view()->getContainer(), bar);
  ScriptedPlayer::mouseUp(x, y);
  EXPECT_EQ(local().state(), PlayerState::PlacementChoose);
}

// A digit picks a card while a bar button is held: the bar the new state asks for shows once
// the button is let go.
TEST_F(GameScreenTest, ABarKeptForAHeldButtonIsLaidAnewWhenItIsLetGo) {
  startSkirmish();
  GameController& c = controller();
  ASSERT_EQ(local().state(), PlayerState::CardChoose);
  ASSERT_GE(c.bar().shownButtons().size(), 2u);
  const CCRect r = ScriptedPlayer::windowRect(c.bar().view());
  CCMenuItemImage* button = nullptr;
  mv::forEachNodeDeep(c.bar().view()->getContainer(), [&](CCNode* n) {
    if (auto* item = dynamic_cast<CCMenuItemImage*>(n))
      if (item->getTag() == c.bar().shownButtons()[0] && item != c.bindings().nodeAs<CCMenuItemImage>("endphasebtn")) button = item;
  });
  ASSERT_NE(button, nullptr);
  const CCRect b = ScriptedPlayer::windowRect(button);
  ScriptedPlayer::mouseDown(b.getMidX(), b.getMidY());
  ScriptedPlayer::press(SDLK_2);
  ScriptedPlayer::frames(1);
  ASSERT_EQ(local().state(), PlayerState::PlacementChoose);
  EXPECT_FALSE(c.bar().shownButtons().empty()) << "the held button stays";
  // Let go beside the bar: no click, and the bar of the placement (empty) shows.
  ScriptedPlayer::mouseMove(r.getMaxX() + 200, b.getMidY());
  ScriptedPlayer::mouseUp(r.getMaxX() + 200, b.getMidY());
  ScriptedPlayer::frames(1);
  EXPECT_EQ(local().state(), PlayerState::PlacementChoose);
  EXPECT_TRUE(c.bar().shownButtons().empty());
}

// The grounds' tiles reach far beyond the window; only those on it are drawn, and the
// ground under our tower shows its earth.
TEST_F(GameScreenTest, TheGroundsDrawOnlyTheirTilesInTheWindow) {
  startSkirmish();
  GameController& c = controller();
  ScriptedPlayer::capture();
  for (CCNode* ground : {c.bindings().node("ourground"), c.bindings().node("enemyground")}) {
    unsigned int tiles = 0, drawn = 0;
    mv::forEachNodeDeep(ground, [&](CCNode* n) {
      if (auto* batch = dynamic_cast<QuadBatchNode*>(n)) {
        tiles += batch->getChildrenCount();
        drawn += batch->childrenDrawn();
      }
    });
    EXPECT_GT(drawn, 0u);
    EXPECT_LT(drawn * 2, tiles) << drawn << " of " << tiles;
  }
  // Along the window's bottom edge; a drifting wind particle may cover a point or two.
  int earth = 0;
  std::string seen;
  for (int x = 40; x < kWidth; x += 100) {
    const Rgb p = ScriptedPlayer::pixel(x, kHeight - 20);
    earth += p.r > p.g && p.g > p.b;
    seen += std::to_string(p.r) + "," + std::to_string(p.g) + "," + std::to_string(p.b) + " ";
  }
  EXPECT_GE(earth, 10) << seen;
}

// ---- Both towers built to the full ---------------------------------------------------------

class FullTowersTest : public GameScreenTest {
 protected:
  void SetUp() override {
    GameScreenTest::SetUp();
    if (IsSkipped()) return;
    startSkirmish();
    mvtest::buildFullTower(local(), true);
    mvtest::buildFullTower(enemy(), false);
    ScriptedPlayer::runFor(0.5f);
  }
};

TEST_F(FullTowersTest, BothTowersAreDrawnInTheirTintsWhereTheirCellsMap) {
  GameController& c = controller();
  ScriptedPlayer::capture();
  // Our cave's stone lining, and an enemy block's facade (unseen: only the facade shows),
  // each at the left edge of its cell.
  BoardElem* cave = nullptr;
  local().board()->forEachElem([&](BoardElem& e) {
    if (!cave && e.kind() == ElemKind::Cave) cave = &e;
  });
  ASSERT_NE(cave, nullptr);
  const CCPoint caveCorner = c.boardToLayerPoint(&local(), cave->x(), cave->y());
  const Rgb lining = pixelAtScene(onScreen(c.camera().ourLayer(), ccpAdd(caveCorner, ccp(2, 54))));
  EXPECT_TRUE(tintedBy(lining, ElemColorOurs)) << lining.r << "," << lining.g << "," << lining.b;
  // An enemy block on the screen.
  BoardElem* enemyBlock = nullptr;
  enemy().board()->forEachElem([&](BoardElem& e) {
    const CCPoint at = onScreen(c.camera().enemyLayer(), c.boardToLayerPoint(&enemy(), e.x(), e.y()));
    if (!enemyBlock && e.isBlock() && !e.isUnderground() && at.x > 300 && at.x < kWidth - 100 &&
        at.y > 100 && at.y < kHeight - 100)
      enemyBlock = &e;
  });
  ASSERT_NE(enemyBlock, nullptr);
  const CCPoint enemyCorner = c.boardToLayerPoint(&enemy(), enemyBlock->x(), enemyBlock->y());
  // Somewhere on the facade's stones the enemy's tint shows.
  int tinted = 0;
  // Our tower stands in front of the enemy's: hidden while the enemy's is read.
  c.camera().ourLayer()->setVisible(false);
  ScriptedPlayer::capture();
  std::string seen;
  for (int dx = 4; dx < 60; dx += 8) {
    const Rgb p = pixelAtScene(onScreen(c.camera().enemyLayer(), ccpAdd(enemyCorner, ccp(dx, 20))));
    tinted += tintedBy(p, ElemColorEnemy);
    seen += std::to_string(p.r) + "," + std::to_string(p.g) + "," + std::to_string(p.b) + " ";
  }
  EXPECT_GT(tinted, 0) << seen;
  c.camera().ourLayer()->setVisible(true);
}

TEST_F(FullTowersTest, ABurningElementShowsFireAndAFloodedOneWater) {
  GameController& c = controller();
  BoardElem* burning = nullptr;
  BoardElem* wet = nullptr;
  local().board()->forEachElem([&](BoardElem& e) {
    if (e.y() != 21 || std::abs(e.x() - 20) > 3) return;
    if (!burning && e.isBurning()) burning = &e;
    if (!wet && e.waterLevel() > 0.4f && e.room() == RoomType::None) wet = &e;
  });
  ASSERT_NE(burning, nullptr);
  ASSERT_NE(wet, nullptr);
  ScriptedPlayer::capture();
  // Flames: the flame's core is a bright orange or yellow near the bottom middle.
  int flame = 0;
  const CCPoint f = c.boardToLayerPoint(&local(), burning->x(), burning->y());
  for (int dx = 16; dx < 48; dx += 4) {
    const Rgb p = pixelAtScene(onScreen(c.camera().ourLayer(), ccpAdd(f, ccp(dx, 14))));
    flame += p.r > 200 && p.g > 80 && p.b < 90;
  }
  EXPECT_GT(flame, 0);
  // Water: the lower half of the cell turns blue, the upper half does not.
  const CCPoint w = c.boardToLayerPoint(&local(), wet->x(), wet->y());
  const Rgb low = pixelAtScene(onScreen(c.camera().ourLayer(), ccpAdd(w, ccp(3, 10))));
  const Rgb high = pixelAtScene(onScreen(c.camera().ourLayer(), ccpAdd(w, ccp(3, 54))));
  EXPECT_GT(low.b - low.r, high.b - high.r + 20);
}

TEST_F(FullTowersTest, ScreenshotsAtZoomOneAndTwo) {
  ScriptedPlayer::screenshot("full-towers-zoom1");
  // Scrolled over to the enemy's tower: its centre cell in the window's middle.
  GameController& c = controller();
  const CCPoint e = c.boardToLayerPoint(&enemy(), 20, 24);
  c.camera().setViewPosition(ccpMult(ccpSub(ccp(kWidth / 2, kHeight / 2), ccpMult(e, 0.7f)), 1.0f / 0.8f));
  ScriptedPlayer::runFor(0.1f);
  ScriptedPlayer::screenshot("full-towers-enemy-side");
  c.camera().focusOurTower();
  ScriptedPlayer::runFor(0.6f);
  controller().camera().zoomView(2.0f, ccp(kWidth / 2, kHeight / 2));
  ScriptedPlayer::runFor(0.1f);
  ScriptedPlayer::screenshot("full-towers-zoom2");
}

// ---- Choices on the board ----------------------------------------------------------------

class ChoiceTest : public GameScreenTest {
 protected:
  // Picks a four-block card: its places are offered on our board.
  void offerPlaces() {
    local().setCards({CardId::FourBlock});
    hub().selectCard(CardId::FourBlock);
    ASSERT_EQ(local().state(), PlayerState::PlacementChoose);
    ScriptedPlayer::runFor(0.7f);
  }
  HighlightLayer* highlightOf(BoardElem* e) { return controller().boardView().highlightOf(*e); }
};

TEST_F(ChoiceTest, OfferedPlacesAreHighlightedAtTheirCells) {
  startSkirmish();
  offerPlaces();
  const std::vector<BoardElem*> options = local().options();
  ASSERT_GE(options.size(), 2u);
  ScriptedPlayer::capture();
  GameController& c = controller();
  for (size_t i = 0; i < options.size(); ++i) {
    HighlightLayer* h = highlightOf(options[i]);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->getParent(), c.camera().ourLayer());
    const CCPoint corner = c.boardToLayerPoint(&local(), options[i]->x(), options[i]->y());
    EXPECT_TRUE(h->getPosition().equals(corner));
    EXPECT_EQ(h->hotkeyIndex(), static_cast<int>(i) + 1);
    // The square is drawn: a pale cream over whatever lies beneath.
    const Rgb p = pixelAtScene(onScreen(c.camera().ourLayer(), ccpAdd(corner, ccp(5, 5))));
    EXPECT_GT(p.r, 140);
    EXPECT_GT(p.g, 140);
  }
  ScriptedPlayer::screenshot("target-choice");
}

// Rooms offered in a column of empty blocks: the card's text panel leaves every offered
// place's digit in sight, at every window size.
struct RoomPlaces {
  int card;
  int width, height;
};

void PrintTo(const RoomPlaces& r, std::ostream* os) { *os << r.card << " " << r.width << "x" << r.height; }

class RoomPlacesTest : public ChoiceTest, public ::testing::WithParamInterface<RoomPlaces> {};

TEST_P(RoomPlacesTest, TheCardsTextLeavesEveryOfferedDigitInSight) {
  const RoomPlaces& r = GetParam();
  ScriptedPlayer::resizeWindow(r.width, r.height);
  startSkirmish();
  for (int y = 20; y <= 24; ++y) local().board()->cellAt(20, y)->setKind(ElemKind::FourBlock);
  local().setCards({r.card});
  hub().selectCard(r.card);
  ASSERT_EQ(local().state(), PlayerState::PlacementChoose);
  ScriptedPlayer::runFor(0.8f);
  GameController& c = controller();
  CCNode* panel = c.bindings().node("castgui")->getChildByTag(kMessagePanelTag);
  ASSERT_TRUE(ScriptedPlayer::isShown(panel));
  const CCRect text = ScriptedPlayer::windowRect(panel);
  const std::vector<BoardElem*> options = local().options();
  ASSERT_GE(options.size(), 4u);
  for (BoardElem* e : options) {
    CCLabelBMFont* digit = controller().boardView().highlightOf(*e)->digitLabel();
    ASSERT_NE(digit, nullptr);
    EXPECT_FALSE(text.intersectsRect(glyphsRect(digit)))
        << "the digit of " << e->x() << "," << e->y() << " is under the card's text";
  }
  ScriptedPlayer::screenshot("target-choice-" + std::to_string(r.card) + "-" + std::to_string(r.width) + "x" +
                             std::to_string(r.height));
  hub().cancelSelection();
  ScriptedPlayer::resizeWindow(kWidth, kHeight);
}

INSTANTIATE_TEST_SUITE_P(Sizes, RoomPlacesTest,
                         ::testing::Values(RoomPlaces{CardId::Crystal, 1024, 768}, RoomPlaces{CardId::Library, 1024, 768},
                                           RoomPlaces{CardId::Crystal, 1280, 800}, RoomPlaces{CardId::Library, 1280, 800},
                                           RoomPlaces{CardId::Crystal, 1920, 1080}));

TEST_F(ChoiceTest, ElementArtItsHighlightAndItsEffectPointShareOneSquare) {
  startSkirmish();
  GameController& c = controller();
  BoardElem* block = local().board()->cellAt(20, 20);
  ASSERT_TRUE(block->isBlock());
  ScriptedPlayer::runFor(0.6f);
  // The art's edges, found by pixels: where the frame differs from the same frame
  // without our layer, along the cell's middle row and column.
  const CCPoint corner = onScreen(c.camera().ourLayer(), c.boardToLayerPoint(&local(), 20, 20));
  const int x0 = static_cast<int>(corner.x) - 20, y0 = static_cast<int>(corner.y) + 2;
  std::vector<Rgb> rowBehind, columnBehind, row, column;
  for (int pass = 0; pass < 2; ++pass) {
    c.camera().ourLayer()->setVisible(pass == 1);
    ScriptedPlayer::capture();
    std::vector<Rgb>& r = pass ? row : rowBehind;
    std::vector<Rgb>& col = pass ? column : columnBehind;
    for (int x = x0; x < x0 + 104; ++x) r.push_back(pixelAtScene(ccp(x, corner.y + 32)));
    for (int y = y0; y < y0 + 100; ++y) col.push_back(pixelAtScene(ccp(corner.x + 32, y)));
  }
  int left = -1, right = -1, top = -1;
  for (size_t i = 0; i < row.size(); ++i) {
    if (row[i] == rowBehind[i]) continue;
    if (left < 0) left = x0 + static_cast<int>(i);
    right = x0 + static_cast<int>(i);
  }
  for (size_t i = 0; i < column.size() && !(column[i] == columnBehind[i]); ++i) top = y0 + static_cast<int>(i);
  // The highlight over the same element covers the same pixels.
  local().board()->showOptions({block});
  HighlightLayer* h = highlightOf(block);
  ASSERT_NE(h, nullptr);
  const CCRect square = CCRectApplyAffineTransform(CCRect(0, 0, 64, 64), h->nodeToWorldTransform());
  EXPECT_EQ(left, static_cast<int>(square.getMinX()));
  EXPECT_EQ(right, static_cast<int>(square.getMaxX()) - 1);
  EXPECT_EQ(top, static_cast<int>(square.getMaxY()) - 1);
  ScriptedPlayer::capture();
  for (int i = 0; i < static_cast<int>(row.size()); ++i) {
    const int x = x0 + i;
    const bool inside = x >= left && x <= right;
    EXPECT_EQ(inside, !(pixelAtScene(ccp(x, corner.y + 32)) == row[i])) << x;
  }
  // Effects aim at the cell's corner plus half a cell: the square's middle.
  const CCPoint effect = onScreen(c.camera().ourLayer(), ccpAdd(c.camera().elemToLayerPoint(block), ccp(32, 32)));
  EXPECT_FLOAT_EQ(effect.x, square.getMidX());
  EXPECT_FLOAT_EQ(effect.y, square.getMidY());
  // ... and the element's node is centred there too.
  ElemNodes* nodes = c.boardView().nodesOf(*block);
  ASSERT_NE(nodes, nullptr);
  const CCPoint nodeCentre = nodes->root()->convertToWorldSpace(ccp(32, 32));
  EXPECT_FLOAT_EQ(nodeCentre.x, effect.x);
  EXPECT_FLOAT_EQ(nodeCentre.y, effect.y);
  local().board()->clearHighlights();
}

TEST_F(ChoiceTest, AClickOnAnOfferIsTheChoice) {
  startSkirmish();
  offerPlaces();
  BoardElem* chosen = local().options().back();
  ASSERT_TRUE(ScriptedPlayer::click(highlightOf(chosen)));
  EXPECT_TRUE(chosen->isBlock());
  EXPECT_EQ(local().state(), PlayerState::CardChoose);
  EXPECT_EQ(controller().boardView().highlightCount(), 0u);
}

TEST_F(ChoiceTest, TheDigitOfAnOfferIsTheChoice) {
  startSkirmish();
  offerPlaces();
  BoardElem* second = local().options().at(1);
  ScriptedPlayer::press(SDLK_2);
  EXPECT_TRUE(second->isBlock());
  EXPECT_EQ(local().state(), PlayerState::CardChoose);
}

TEST_F(ChoiceTest, EscapeOrTheCancelButtonCancelsTheChoice) {
  startSkirmish();
  for (bool button : {false, true}) {
    SCOPED_TRACE(button ? "cancel button" : "ESC");
    offerPlaces();
    std::vector<BoardElem*> options = local().options();
    ASSERT_FALSE(options.empty());
    if (button)
      ASSERT_TRUE(ScriptedPlayer::click(controller().bindings().nodeAs<cocos2d::CCMenuItemImage>("cancelbtn")));
    else
      ScriptedPlayer::press(SDLK_ESCAPE);
    EXPECT_EQ(local().state(), PlayerState::CardChoose);
    EXPECT_EQ(controller().boardView().highlightCount(), 0u);
    for (BoardElem* e : options) EXPECT_FALSE(e->isBlock());
  }
}

TEST_F(ChoiceTest, AnOfferWhoseElementWentAwaySelectsNothing) {
  startSkirmish();
  offerPlaces();
  BoardElem* stale = local().options().front();
  HighlightLayer* h = highlightOf(stale);
  ASSERT_NE(h, nullptr);
  const CCRect at = ScriptedPlayer::windowRect(h);
  // The element collapses between the offer and the click: its offer is withdrawn.
  stale->setKind(ElemKind::FourBlock);
  stale->resetElem();
  ScriptedPlayer::click(at.getMidX(), at.getMidY());
  EXPECT_EQ(local().state(), PlayerState::PlacementChoose);
  EXPECT_FALSE(stale->isBlock());
}

// ---- Moving and zooming the view ------------------------------------------------------------

TEST_F(GameScreenTest, ArrowsScrollAtFiveHundredPixelsASecond) {
  startSkirmish();
  GameController& c = controller();
  const CCPoint before = c.camera().ourLayer()->getPosition();
  ScriptedPlayer::keyDown(SDLK_UP);
  ScriptedPlayer::runFor(0.5f);
  ScriptedPlayer::keyUp(SDLK_UP);
  const CCPoint after = c.camera().ourLayer()->getPosition();
  // Up shows what lies higher: the layers move down.
  EXPECT_NEAR(after.y - before.y, -250, 12);
  EXPECT_FLOAT_EQ(after.x, before.x);
  EXPECT_NEAR(c.camera().enemyLayer()->getPosition().y, 0.8f * after.y, 0.01);
  ScriptedPlayer::runFor(0.2f);
  EXPECT_FLOAT_EQ(c.camera().ourLayer()->getPosition().y, after.y);
  // Holding RIGHT, then LEFT: left wins; releasing LEFT stops although RIGHT is held.
  ScriptedPlayer::keyDown(SDLK_RIGHT);
  ScriptedPlayer::keyDown(SDLK_LEFT);
  const float x0 = c.camera().ourLayer()->getPosition().x;
  ScriptedPlayer::runFor(0.2f);
  EXPECT_GT(c.camera().ourLayer()->getPosition().x, x0);
  ScriptedPlayer::keyUp(SDLK_LEFT);
  const float x1 = c.camera().ourLayer()->getPosition().x;
  ScriptedPlayer::runFor(0.2f);
  EXPECT_FLOAT_EQ(c.camera().ourLayer()->getPosition().x, x1);
  ScriptedPlayer::keyUp(SDLK_RIGHT);
}

TEST_F(GameScreenTest, ScrollingStopsAtTheEdgeOfTheWorld) {
  startSkirmish();
  GameController& c = controller();
  ScriptedPlayer::keyDown(SDLK_DOWN);
  ScriptedPlayer::runFor(4.0f);
  ScriptedPlayer::keyUp(SDLK_DOWN);
  // The viewport's bottom edge stays at the window's.
  EXPECT_NEAR(c.bindings().node("viewport")->convertToWorldSpace(CCPointZero).y, 0, 0.5);
  ScriptedPlayer::drag(600, 300, 700, 100);
  EXPECT_NEAR(c.bindings().node("viewport")->convertToWorldSpace(CCPointZero).y, 0, 0.5);
  // Zoomed in, then out around the window's top edge: the view still ends at the world's edge.
  c.camera().zoomView(2.0f, ccp(kWidth / 2, kHeight / 2));
  c.camera().zoomView(1.0f, ccp(kWidth / 2, kHeight));
  EXPECT_NEAR(c.bindings().node("viewport")->convertToWorldSpace(CCPointZero).y, 0, 0.5);
}

TEST_F(GameScreenTest, ALeftDragPansTheView) {
  startSkirmish();
  GameController& c = controller();
  const CCPoint before = c.camera().ourLayer()->getPosition();
  ScriptedPlayer::drag(700, 500, 600, 450);
  const CCPoint after = c.camera().ourLayer()->getPosition();
  EXPECT_NEAR(after.x - before.x, -100, 1);
  EXPECT_NEAR(after.y - before.y, 50, 1);  // window y grows downwards
}

TEST_F(GameScreenTest, ZoomKeysAndCtrlWheelStayWithinOneAndTwoAndOurLayerFades) {
  startSkirmish();
  GameController& c = controller();
  ScriptedPlayer::mouseMove(640, 400);
  ScriptedPlayer::press(SDLK_EQUALS, KMOD_LCTRL);
  EXPECT_NEAR(c.camera().ourLayer()->getScale(), 1.05f, 1e-4);
  EXPECT_NEAR(c.camera().enemyLayer()->getScale(), 1.05f * 0.7f, 1e-4);
  EXPECT_EQ(c.camera().ourLayer()->getOpacity(), static_cast<GLubyte>((2.0f - 1.05f) * 255));
  ScriptedPlayer::press(SDLK_MINUS, KMOD_LCTRL);
  ScriptedPlayer::press(SDLK_MINUS, KMOD_LCTRL);
  EXPECT_FLOAT_EQ(c.camera().ourLayer()->getScale(), 1.0f);
  EXPECT_EQ(c.camera().ourLayer()->getOpacity(), 255);
  // "=" without CTRL zooms nothing.
  ScriptedPlayer::press(SDLK_EQUALS);
  EXPECT_FLOAT_EQ(c.camera().ourLayer()->getScale(), 1.0f);

  // CTRL with the wheel: 120 units a notch, a thousandth of a scale each.
  ScriptedPlayer::capture();
  const Rgb ours = ScriptedPlayer::pixel(640 + 20, 400 - 30);
  ScriptedPlayer::keyDown(SDLK_LCTRL, KMOD_LCTRL);
  ScriptedPlayer::wheel(640, 400, 4, KMOD_LCTRL);
  EXPECT_NEAR(c.camera().ourLayer()->getScale(), 1.48f, 1e-3);
  ScriptedPlayer::capture();
  const Rgb faded = ScriptedPlayer::pixel(640 + 20, 400 - 30);
  EXPECT_FALSE(faded == ours);
  ScriptedPlayer::wheel(640, 400, 10, KMOD_LCTRL);
  EXPECT_FLOAT_EQ(c.camera().ourLayer()->getScale(), 2.0f);
  EXPECT_EQ(c.camera().ourLayer()->getOpacity(), 0);
  ScriptedPlayer::wheel(640, 400, -30, KMOD_LCTRL);
  ScriptedPlayer::keyUp(SDLK_LCTRL);
  EXPECT_FLOAT_EQ(c.camera().ourLayer()->getScale(), 1.0f);
  EXPECT_EQ(c.camera().ourLayer()->getOpacity(), 255);
  // Without CTRL the wheel scrolls.
  const float y = c.camera().ourLayer()->getPosition().y;
  ScriptedPlayer::wheel(640, 400, 1);
  EXPECT_NEAR(c.camera().ourLayer()->getPosition().y, y - 240, 0.5);
}

// Until the pointer is seen, keys zoom around the window's lower left corner.
TEST_F(GameScreenTest, ANewScreensZoomKeysHoldTheWindowsCornerInPlace) {
  startSkirmish();
  ScriptedPlayer::mouseMove(640, 400);  // the window takes the keys
  MainScene::scene()->relayout();       // a new screen has not seen the pointer
  ScriptedPlayer::runFor(1.0f);
  GameController& c = controller();
  const CCPoint corner = c.camera().ourLayer()->convertToNodeSpace(CCPointZero);
  ScriptedPlayer::press(SDLK_EQUALS, KMOD_LCTRL);
  ASSERT_NEAR(c.camera().ourLayer()->getScale(), 1.05f, 1e-4);
  const CCPoint after = c.camera().ourLayer()->convertToNodeSpace(CCPointZero);
  EXPECT_NEAR(after.x, corner.x, 0.5);
  EXPECT_NEAR(after.y, corner.y, 0.5);
}

// Touches as the touch screen brings them: id, position in the scene.
CCSet* touchesAt(std::initializer_list<std::pair<int, CCPoint>> points) {
  CCSet* set = CCSet::create();
  for (const auto& p : points) {
    CCTouch* t = new CCTouch();
    t->autorelease();
    const CCPoint view = CCDirector::sharedDirector()->convertToUI(p.second);
    t->setTouchInfo(p.first, view.x, view.y);
    set->addObject(t);
  }
  return set;
}

TEST_F(GameScreenTest, APinchZoomsWithinOneAndTwoAndAfterItOneFingerDoesNotPan) {
  startSkirmish();
  GameController& c = controller();
  TouchLayer* t = c.touchLayer();
  ASSERT_NE(t, nullptr);
  // Two fingers spread to three times their distance: the scale stops at two.
  t->ccTouchesBegan(touchesAt({{0, ccp(600, 400)}, {1, ccp(680, 400)}}), 2, nullptr);
  t->ccTouchesMoved(touchesAt({{0, ccp(520, 400)}, {1, ccp(760, 400)}}), 2, nullptr);
  EXPECT_FLOAT_EQ(c.camera().ourLayer()->getScale(), 2.0f);
  t->ccTouchesMoved(touchesAt({{0, ccp(630, 400)}, {1, ccp(650, 400)}}), 2, nullptr);
  EXPECT_FLOAT_EQ(c.camera().ourLayer()->getScale(), 1.0f);
  // One finger lifts; the other moving on does not pan.
  t->ccTouchesEnded(touchesAt({{1, ccp(650, 400)}}), 2, nullptr);
  const CCPoint at = c.camera().ourLayer()->getPosition();
  t->ccTouchesMoved(touchesAt({{0, ccp(500, 300)}}), 1, nullptr);
  EXPECT_TRUE(c.camera().ourLayer()->getPosition().equals(at));
  t->ccTouchesEnded(touchesAt({{0, ccp(500, 300)}}), 1, nullptr);
  // Two fingers that start on one point zoom nothing, and the next touch pans again.
  t->ccTouchesBegan(touchesAt({{0, ccp(600, 400)}, {1, ccp(600, 400)}}), 2, nullptr);
  t->ccTouchesMoved(touchesAt({{0, ccp(550, 400)}, {1, ccp(700, 400)}}), 2, nullptr);
  EXPECT_FLOAT_EQ(c.camera().ourLayer()->getScale(), 1.0f);
  t->ccTouchesEnded(touchesAt({{0, ccp(550, 400)}, {1, ccp(700, 400)}}), 2, nullptr);
  t->ccTouchesBegan(touchesAt({{0, ccp(600, 400)}}), 1, nullptr);
  t->ccTouchesMoved(touchesAt({{0, ccp(640, 420)}}), 1, nullptr);
  EXPECT_NEAR(c.camera().ourLayer()->getPosition().x - at.x, 40, 0.5);
  t->ccTouchesEnded(touchesAt({{0, ccp(640, 420)}}), 1, nullptr);
}

TEST_F(GameScreenTest, FramingOneTargetZoomsToTwoOnIt) {
  startSkirmish();
  GameController& c = controller();
  BoardElem* e = local().board()->cellAt(21, 22);
  c.camera().zoomToTargets({e});
  ScriptedPlayer::runFor(0.7f);
  EXPECT_FLOAT_EQ(c.camera().ourLayer()->getScale(), 2.0f);
  EXPECT_EQ(c.camera().ourLayer()->getOpacity(), 255);
  const CCPoint centre = onScreen(c.camera().ourLayer(), ccpAdd(c.camera().elemToLayerPoint(e), ccp(32, 32)));
  EXPECT_NEAR(centre.x, kWidth / 2, 1);
  EXPECT_NEAR(centre.y, kHeight / 2, 1);
  // Framing an enemy element fades our layer out, unless our tower is always shown.
  c.camera().zoomToTargets({enemy().board()->cellAt(20, 20)});
  ScriptedPlayer::runFor(0.7f);
  EXPECT_EQ(c.camera().ourLayer()->getOpacity(), 0);
  hub().context().settings().setBool("always_show_our_tower", true);
  c.camera().zoomToTargets({enemy().board()->cellAt(20, 21)});
  ScriptedPlayer::runFor(0.7f);
  EXPECT_EQ(c.camera().ourLayer()->getOpacity(), 255);
  hub().context().settings().setBool("always_show_our_tower", false);
}

TEST_F(GameScreenTest, ReturnClosesAMessageOnceWhileHeld) {
  startSkirmish();
  GameController& c = controller();
  c.showMessage("One", "");
  ScriptedPlayer::keyDown(SDLK_RETURN);
  EXPECT_FALSE(c.isMessageShown());
  c.showMessage("Two", "");
  // Still held: the repeat of the key does nothing.
  ScriptedPlayer::keyDown(SDLK_RETURN);
  EXPECT_TRUE(c.isMessageShown());
  ScriptedPlayer::keyUp(SDLK_RETURN);
  ScriptedPlayer::press(SDLK_RETURN);
  EXPECT_FALSE(c.isMessageShown());
}

// However much a choice changes (the bar, the counters, the board's state), the screen is
// brought up to date once, before the next frame is drawn.
TEST_F(GameScreenTest, AChoiceRefreshesTheScreenOnceInTheNextFrame) {
  startSkirmish();
  GameController& c = controller();
  ASSERT_EQ(local().state(), PlayerState::CardChoose);
  const int before = c.refreshCount();
  c.pickCard(local().cards().front());
  ASSERT_FALSE(local().options().empty());
  c.selectBoardElem(local().options().front());
  EXPECT_EQ(c.refreshCount(), before);
  ScriptedPlayer::frames(1);
  EXPECT_EQ(c.refreshCount(), before + 1);
}

TEST_F(GameScreenTest, LeavingTheScreenStopsTheFireLoops) {
  startSkirmish();
  GameController& c = controller();
  c.updateFireSound(true, 30);
  c.updateFireSound(false, 30);
  ASSERT_TRUE(c.effects().fireSoundPlaying(true));
  ASSERT_TRUE(c.effects().fireSoundPlaying(false));
  ScriptedPlayer::show(CCScene::create());
  EXPECT_FALSE(c.effects().fireSoundPlaying(true));
  EXPECT_FALSE(c.effects().fireSoundPlaying(false));
  ScriptedPlayer::show(MainScene::scene());
}

// ---- Messages, the end of a game, a new window size ------------------------------------------

TEST_F(GameScreenTest, AMessageAndTheEndOfAGame) {
  startSkirmish();
  GameController& c = controller();
  c.showMessage(hub().context().text().text("FIREBALL_NAME"), hub().context().text().text("FIREBALL_DESC"));
  ScriptedPlayer::runFor(0.1f);
  ASSERT_TRUE(ScriptedPlayer::isShown(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("okbtn")));
  // The card's long text wraps within 0.7 of the window's width.
  EXPECT_LE(ScriptedPlayer::windowRect(c.bindings().node("submessage")).size.width, 0.7f * kWidth);
  ScriptedPlayer::screenshot("message");
  ASSERT_TRUE(ScriptedPlayer::click(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("okbtn")));
  EXPECT_FALSE(c.isMessageShown());
  // A full-screen text darkens the board; a click anywhere closes it.
  c.showFullscreenMessage(hub().context().text().text("SANDBOX_INTRO"));
  ScriptedPlayer::runFor(0.1f);
  ScriptedPlayer::screenshot("fullscreen-message");
  ScriptedPlayer::click(300, 600);
  EXPECT_FALSE(c.isMessageShown());
  EXPECT_FALSE(ScriptedPlayer::isShown(c.bindings().node("fulldarken")));
  // A defeat is acknowledged with the neutral mark, only a victory with the positive one.
  auto marked = [&c](const char* frame) {
    auto* image = dynamic_cast<CCSprite*>(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("okbtn")->getNormalImage());
    return image && image->isFrameDisplayed(CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(frame));
  };
  hub().onGameLost();
  ScriptedPlayer::runFor(0.2f);
  EXPECT_EQ(c.guiMode(), GuiMode::GameEnded);
  EXPECT_TRUE(ScriptedPlayer::isShown(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("okbtn")));
  EXPECT_TRUE(marked("button-ok-plain.png"));
  ScriptedPlayer::screenshot("game-end");
  game().clearGame(false);
  startSkirmish();
  hub().onGameWon();
  ScriptedPlayer::runFor(0.2f);
  EXPECT_TRUE(marked("button-ok.png"));
  ScriptedPlayer::screenshot("game-end-victory");
}

TEST_F(GameScreenTest, TheVictoryNoticeStandsClearOfTheEnemyTowersName) {
  startSkirmish();
  GameController& c = controller();
  hub().onGameWon();
  ScriptedPlayer::runFor(0.2f);
  CCNode* notice = c.bindings().node("castgui")->getChildByTag(kMessagePanelTag);
  ASSERT_TRUE(ScriptedPlayer::isShown(notice));
  ASSERT_TRUE(ScriptedPlayer::isShown(c.enemyTowerLabel()));
  // The player scrolls the enemy's name to where the notice stands.
  const CCRect home = ScriptedPlayer::windowRect(notice);
  for (int i = 0; i < 6; ++i) {
    const CCRect name = ScriptedPlayer::windowRect(c.enemyTowerLabel());
    c.camera().moveView(ccp((home.getMidX() - name.getMidX()) / 0.8f, (name.getMidY() - home.getMidY()) / 0.8f));
    ScriptedPlayer::frames(1);
  }
  ScriptedPlayer::frames(2);
  EXPECT_FALSE(ScriptedPlayer::windowRect(notice).intersectsRect(ScriptedPlayer::windowRect(c.enemyTowerLabel())));
  EXPECT_FALSE(ScriptedPlayer::windowRect(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("okbtn")).intersectsRect(ScriptedPlayer::windowRect(c.enemyTowerLabel())));
  EXPECT_TRUE(home.intersectsRect(ScriptedPlayer::windowRect(c.enemyTowerLabel()))) << "the name is where the notice was";
  ScriptedPlayer::screenshot("game-end-victory-name");
}

TEST_F(GameScreenTest, ANewWindowSizeRebuildsTheScreenWithTheSameMessageAndLog) {
  startSkirmish();
  GameController& c = controller();
  c.showMessage("Hold the line", "The enemy gathers its strength");
  const size_t lines = c.gameLog().records().size();
  CCNode* oldRoot = c.rootLayer();
  const size_t elems = c.boardView().nodeCount();
  ScriptedPlayer::resizeWindow(1024, 768);
  ScriptedPlayer::runFor(0.6f);
  EXPECT_NE(c.rootLayer(), oldRoot);
  EXPECT_EQ(c.rootLayer()->getContentSize().width, 1024);
  EXPECT_TRUE(ScriptedPlayer::isShown(c.bindings().nodeAs<cocos2d::CCLabelBMFont>("message")));
  EXPECT_STREQ(c.bindings().nodeAs<cocos2d::CCLabelBMFont>("message")->getString(), "Hold the line");
  EXPECT_STREQ(c.bindings().nodeAs<cocos2d::CCLabelBMFont>("submessage")->getString(), "The enemy gathers its strength");
  EXPECT_EQ(c.gameLog().records().size(), lines);
  EXPECT_EQ(c.gameLog().linesShown(), lines);
  // The towers moved over: the same nodes, in the new layers, our tower in the middle.
  EXPECT_EQ(c.boardView().nodeCount(), elems);
  ElemNodes* nodes = c.boardView().nodesOf(*local().board()->cellAt(20, 20));
  ASSERT_NE(nodes, nullptr);
  EXPECT_TRUE(nodes->root()->isVisibleInHierarchy());
  const CCPoint centre = onScreen(c.camera().ourLayer(), c.camera().ourTowerPoint());
  EXPECT_NEAR(centre.x, 512, 1);
  EXPECT_NEAR(centre.y, 384, 1);
  ScriptedPlayer::screenshot("message-1024x768");
  ScriptedPlayer::resizeWindow(kWidth, kHeight);
}

}  // namespace
}  // namespace gametest
