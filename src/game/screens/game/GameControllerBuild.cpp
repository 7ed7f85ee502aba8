// The in-game screen's node tree: the binding of its layouts' named nodes (each part
// declares its own), the build for the window's size, the panels laid out around their
// texts, and the name over the enemy tower.
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "Board.h"
#include "BoardElem.h"
#include "CCDirector.h"
#include "CCLabelBMFont.h"
#include "CCLayerColor.h"
#include "CCMenu.h"
#include "CCMenuItem.h"
#include "CCParticleSystemQuad.h"
#include "CCPointExtension.h"
#include "CCScale9Sprite.h"
#include "CCScrollView.h"
#include "CCSprite.h"
#include "CCSpriteBatchNode.h"
#include "CCSpriteFrameCache.h"
#include "CardTable.h"
#include "EventDispatcher.h"
#include "GameContext.h"
#include "GameController.h"
#include "LayoutTags.h"
#include "LoadNode.h"
#include "NodeTree.h"
#include "PlaceEditBox.h"
#include "QuadBatchNode.h"
#include "RefreshLayer.h"
#include "ResourceNames.h"
#include "StoreController.h"
#include "SubmitNode.h"
#include "TouchLayer.h"
#include "game/GameSession.h"
#include "logog/logog.hpp"
#include "player/Player.h"

using namespace cocos2d;
using namespace cocos2d::extension;

namespace {

constexpr float kCell = BoardView::kElemSize;
constexpr float kHalfCell = kCell * 0.5f;
constexpr float kPanelPadding = 20.0f;
constexpr float kButtonSlot = 64.0f;
constexpr int kWaterZ = 250;
constexpr int kGroundZ = 7;

CCSize winSize() { return CCDirector::sharedDirector()->getWinSize(); }

void reorder(CCNode* node, int z) {
  if (node && node->getParent()) node->getParent()->reorderChild(node, z);
}

// A ground's tiles reach far beyond the window: moved from their sprite batches into
// batches that draw only the tiles on screen.
void cullGroundTiles(CCNode* ground) {
  std::vector<CCSpriteBatchNode*> batches;
  mv::forEachNodeDeep(ground, [&batches](CCNode* n) {
    if (CCSpriteBatchNode* b = dynamic_cast<CCSpriteBatchNode*>(n)) batches.push_back(b);
  });
  for (CCSpriteBatchNode* batch : batches) {
    CCNode* parent = batch->getParent();
    QuadBatchNode* tiles = QuadBatchNode::create(0);
    if (!parent || !tiles) continue;
    tiles->setPosition(batch->getPosition());
    std::vector<CCNode*> sprites;
    CCArray* children = batch->getChildren();
    for (unsigned int i = 0; children && i < children->count(); ++i)
      sprites.push_back(static_cast<CCNode*>(children->objectAtIndex(i)));
    for (CCNode* sprite : sprites) {
      sprite->retain();
      batch->removeChild(sprite, false);
      tiles->addChild(sprite);
      sprite->release();
    }
    parent->addChild(tiles, batch->getZOrder());
    parent->removeChild(batch, true);
  }
}

bool visibleWithText(CCLabelBMFont* label) {
  return label && label->isVisible() && label->getString() && *label->getString();
}

}  // namespace

void GameController::wrapMessages() {
  // The message, its second line and the full-screen text wrap at 0.7 of the window's width.
  const float width = winSize().width * 0.7f;
  for (CCLabelBMFont* label : {message_, fullscreenmessage_, submessage_}) {
    if (!label) continue;
    label->setAlignment(kCCTextAlignmentCenter);
    label->setWidth(width / (label->getScaleX() != 0 ? label->getScaleX() : 1.0f));
  }
}

// ---- Binding -------------------------------------------------------------------------

void GameController::declareMembers() {
  mv::NodeBindings& b = bindings_;
  b.declare("castgui", &castgui_);
  b.declare("dwarvescounter", &dwarvescounter_);
  b.declare("manacounter", &manacounter_);
  b.declare("fulldarken", &fulldarken_);
  b.declare("cancelbtn", &cancelbtn_);
  b.declare("okbtn", &okbtn_);
  b.declare("message", &message_);
  b.declare("tutorialmsg", &tutorialmsg_);
  b.declare("fullscreenmessage", &fullscreenmessage_);
  b.declare("submessage", &submessage_);
  b.declare("sun", &sun_);
  b.declare("enemyground", &enemyground_);
  b.declare("storelayer", &storelayer_);
  b.declare("counterslayer", &counterslayer_);
  camera_.declareMembers(b);
  log_.declareMembers(b);
  bar_.declareMembers(b);
  dialogs_.declareMembers(b);
}

bool GameController::onAssignCCBMemberVariable(CCObject* target, CCString* name, CCNode* node) {
  return target == this && bindings_.assign(name, node);
}

SEL_MenuHandler GameController::onResolveCCBCCMenuItemSelector(CCObject* pTarget,
                                                               CCString* pSelectorName) {
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onCard", GameController::onCard);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onMenu", GameController::onMenu);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onOk", GameController::onOk);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onSpell", GameController::onSpell);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onEndPhase", GameController::onEndPhase);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onCancel", GameController::onCancel);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onFblikeOk", GameController::onFblikeOk);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onFblikeCancel", GameController::onFblikeCancel);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onNotification", GameController::onNotification);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onMenuGameMusic", GameController::onMenuGameMusic);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onMenuRoomZoomIn", GameController::onMenuRoomZoomIn);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onMenuAlwaysShowOurTower",
                                       GameController::onMenuAlwaysShowOurTower);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onMenuExitToMenu", GameController::onMenuExitToMenu);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onMenuReturnToGame", GameController::onMenuReturnToGame);
  return nullptr;
}

CCLayer* GameController::buildScreen() {
  const CCSize win = winSize();
  rootLayer_ = RefreshLayer::create([this] { refreshIfChanged(); });
  rootLayer_->setContentSize(win);
  // What effects put over the old screen goes with it; the effects themselves go on.
  effects_->moveToScreen(rootLayer_);
  loadLayouts();
  addInputLayer();
  if (gameNode_) {
    gameNode_->setAnchorPoint(CCPointZero);
    rootLayer_->addChild(gameNode_, 3);
  }
  if (touchLayer_) rootLayer_->addChild(touchLayer_, 4);
  if (guiNode_) rootLayer_->addChild(guiNode_, 6);
  rootLayer_->setAnchorPoint(CCPointZero);
  rootLayer_->setPosition(CCPointZero);
  camera_.settleOnOurTower();
  dressBoard();
  log_.buildOnScreen(rootLayer_->getScaleX());
  dialogs_.buildOnScreen();
  // The store: a full-window layer in place of the bar (sandbox).
  storeNode_ = storeController_ ? storeController_->loadScreen() : nullptr;
  if (storeNode_ && storelayer_) {
    storeNode_->setAnchorPoint(CCPointZero);
    storeNode_->setPosition(CCPointZero);
    storelayer_->addChild(storeNode_);
  }
  refresh();
  return rootLayer_;
}

void GameController::loadLayouts() {
  bindings_.beginLoad();
  camera_.beginScreen();
  messagePanelTop_ = -1;
  gameNode_ = mv::loadNode("ccbi/screens/game.ccbi", this, false, false);
  // Where the layout puts the two towers' layers and the sun.
  if (CCNode* ours = camera_.ourLayer()) ourLayerHome_ = ours->getPosition();
  if (sun_) sunHome_ = sun_->getPosition();
  if (CCNode* enemys = camera_.enemyLayer()) enemyLayerHome_ = enemys->getPosition();
  // The opponent's name over its tower, in black.
  enemyTowerLabel_ = CCLabelBMFont::create(enemyTowerLabelText_.c_str(), mv::fontFileName("font-14.fnt").c_str());
  if (enemyTowerLabel_) enemyTowerLabel_->setColor(ccc3(0, 0, 0));
  if (enemyTowerLabel_ && camera_.enemyLayer()) camera_.enemyLayer()->addChild(enemyTowerLabel_);
  updateEnemyTowerLabel();
  guiNode_ = mv::loadNode("ccbi/screens/game-gui.ccbi", this, false, false);
  missingMembers_ = bindings_.endLoad();
  wrapMessages();
}

void GameController::addInputLayer() {
  touchLayer_ = TouchLayer::create(this);
  if (!touchLayer_) return;
  touchLayer_->setContentSize(winSize());
  touchLayer_->scheduleUpdate();
  touchLayer_->setTouchEnabled(true);
  touchLayer_->setMouseTouchEnabled(false);
  touchLayer_->setKeypadEnabled(true);
}

// The wind over the board, the grounds' tiles culled, the depths of the lake and grounds.
void GameController::dressBoard() {
  CCLayer* ourlayer = camera_.ourLayer();
  CCLayer* enemylayer = camera_.enemyLayer();
  if (CCParticleSystemQuad* wind = CCParticleSystemQuad::create("particles/wind1.plist")) {
    wind->setScale(mv::hdScale());
    const CCSize area = ourlayer ? ourlayer->getContentSize() : winSize();
    wind->setPosition(ccp(area.width, area.height * 0.5f));
    rootLayer_->addChild(wind, 5);
  }
  cullGroundTiles(camera_.ourGround());
  cullGroundTiles(enemyground_);
  // Everything behind our tower goes to the renderer before our tower is prepared.
  if (enemylayer) enemylayer->addChild(SubmitNode::create(), std::numeric_limits<int>::max());
  CCLayer* water = camera_.water();
  reorder(water, kWaterZ);
  if (water) water->setTag(kCCLayerColorOwnOpacityTag);
  reorder(camera_.ourGround(), kGroundZ);
  reorder(enemyground_, kGroundZ);
}

// ---- Panels around their texts -----------------------------------------------------------

void GameController::layoutMessagePanel() {
  if (!castgui_) return;
  CCNode* panel = castgui_->getChildByTag(kMessagePanelTag);
  if (!panel) return;
  const bool msg = visibleWithText(message_);
  const bool sub = visibleWithText(submessage_);
  const bool ok = okbtn_ && okbtn_->isVisible();
  const bool cancel = cancelbtn_ && cancelbtn_->isVisible();
  if (!msg && !sub && !ok && !cancel) {
    panel->setVisible(false);
    return;
  }
  panel->setVisible(true);
  const CCSize win = winSize();
  if (messagePanelTop_ < 0) messagePanelTop_ = panel->getPositionY();
  const float textW = std::max({msg ? message_->getContentSize().width : 0.0f,
                                sub ? submessage_->getContentSize().width : 0.0f, 240.0f});
  const float buttonW = (ok || cancel) ? kButtonSlot : 0.0f;
  const float panelW = textW + 2 * kPanelPadding + buttonW;
  const float textX = win.width * 0.5f - buttonW * 0.5f;
  // Close above and below: the panel stays short.
  const float padY = kPanelPadding * 0.6f;
  const float textH = (msg ? message_->getContentSize().height : 0.0f) + (msg && sub ? 6.0f : 0.0f) +
                      (sub ? submessage_->getContentSize().height : 0.0f);
  const float panelH = std::max(textH + 2 * padY, 48.0f + 2 * 12.0f);
  float top = messagePanelTop_;
  // The notice at a game's end stands clear of the enemy tower's name: below it when the
  // view puts the name where the notice would be.
  if (guiMode_ == GuiMode::GameEnded && enemyTowerLabel_ && enemyTowerLabel_->isVisibleInHierarchy()) {
    const CCRect name = CCRectApplyAffineTransform(
        CCRect(0, 0, enemyTowerLabel_->getContentSize().width, enemyTowerLabel_->getContentSize().height),
        CCAffineTransformConcat(enemyTowerLabel_->nodeToWorldTransform(), castgui_->worldToNodeTransform()));
    const CCRect notice(win.width * 0.5f - panelW * 0.5f, top - panelH, panelW, panelH);
    if (name.intersectsRect(notice)) top = std::max(panelH + kPanelPadding, name.getMinY() - kPanelPadding * 0.5f);
  }
  panel->setPositionY(top);
  float y = top - padY;
  if (message_) {
    message_->setAnchorPoint(ccp(0.5f, 1.0f));
    message_->setPosition(ccp(textX, y));
    if (msg) y -= message_->getContentSize().height;
  }
  if (submessage_) {
    if (msg && sub) y -= 6.0f;
    submessage_->setAnchorPoint(ccp(0.5f, 1.0f));
    submessage_->setPosition(ccp(textX, y));
  }
  if (CCScale9Sprite* frame = dynamic_cast<CCScale9Sprite*>(panel)) frame->setPreferredSize(CCSize(panelW, panelH));
  const CCPoint buttonAt = ccp(win.width * 0.5f + panelW * 0.5f - kPanelPadding - 24.0f, top - panelH * 0.5f);
  for (CCMenuItemImage* button : {okbtn_, cancelbtn_})
    if (button) button->setPosition(button->getParent()->convertToNodeSpace(castgui_->convertToWorldSpace(buttonAt)));
}

void GameController::keepNoticeInPlace() {
  if (guiMode_ == GuiMode::GameEnded) layoutMessagePanel();
}

void GameController::layoutTutorialPanel() {
  if (!guiNode_) return;
  CCNode* panel = guiNode_->getChildByTag(kTutorialPanelTag);
  if (!panel) return;
  const bool shown = visibleWithText(tutorialmsg_);
  panel->setVisible(shown);
  if (!shown) return;
  const CCSize win = winSize();
  // The panel stands at the bottom, centred, but clear of the log beside it: narrower, and
  // moved left where the middle would reach the log.
  const float left = kPanelPadding;
  float right = win.width - kPanelPadding;
  CCScrollView* chatlog = log_.logView();
  if (chatlog && chatlog->isVisibleInHierarchy() && chatlog->getParent()) {
    const CCPoint logCorner =
        tutorialmsg_->getParent()->convertToNodeSpace(chatlog->getParent()->convertToWorldSpace(chatlog->getPosition()));
    right = std::min(right, logCorner.x - kPanelPadding * 0.5f);
  }
  const float textWidth = std::max(120.0f, std::min({win.width * 0.5f, 640.0f, right - left - 2 * kPanelPadding}));
  tutorialmsg_->setAlignment(kCCTextAlignmentCenter);
  tutorialmsg_->setWidth(textWidth);
  const CCSize text = tutorialmsg_->getContentSize();
  const float half = text.width * 0.5f + kPanelPadding;
  const float centre = std::max(left + half, std::min(win.width * 0.5f, right - half));
  const float bottom = panel->getPositionY();
  panel->setPositionX(centre);
  tutorialmsg_->setAnchorPoint(ccp(0.5f, 0.0f));
  tutorialmsg_->setPosition(ccp(centre, bottom + kPanelPadding));
  if (CCScale9Sprite* frame = dynamic_cast<CCScale9Sprite*>(panel))
    frame->setPreferredSize(CCSize(text.width + 2 * kPanelPadding, text.height + 2 * kPanelPadding));
}

void GameController::layoutFullscreenPanel() {
  if (!guiNode_ || !fullscreenmessage_) return;
  CCNode* panel = guiNode_->getChildByTag(kFullscreenPanelTag);
  if (!panel) return;
  const bool shown = visibleWithText(fullscreenmessage_);
  panel->setVisible(shown);
  if (!shown) return;
  // The text stands on its own panel over the darkening, wherever the layout puts it.
  const CCRect text = fullscreenmessage_->boundingBox();
  panel->setAnchorPoint(ccp(0.5f, 0.5f));
  panel->setPosition(ccp(text.getMidX(), text.getMidY()));
  if (CCScale9Sprite* frame = dynamic_cast<CCScale9Sprite*>(panel))
    frame->setPreferredSize(CCSize(text.size.width + 4 * kPanelPadding, text.size.height + 3 * kPanelPadding));
}

// ---- The enemy tower's label -------------------------------------------------------------------

void GameController::updateEnemyTowerLabel() {
  GameSession& game = hub_->game();
  Player* enemy = game.enemyPlayer();
  if (!enemyTowerLabel_ || !game.started() || !enemy || !enemy->board() ||
      enemy->state() == PlayerState::Invalid)
    return;
  Board* board = enemy->board();
  BoardElem* top = board->findTopBlock();
  if (!top) top = board->cellAt(Board::getBoardCenter(), Board::getBoardCenter());
  enemyTowerLabel_->setPosition(ccpAdd(camera_.elemToLayerPoint(top), ccp(kHalfCell, 2 * kCell)));
  enemyTowerLabel_->setString(enemyTowerLabelText_.c_str());
  enemyTowerLabel_->setAnchorPoint(ccp(0.5f, 0.5f));
}
