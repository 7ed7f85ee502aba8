// The in-game screen's node tree, built from its layouts for the window's size, and the
// parts of it that are laid out around their texts: the message panel, the tutorial
// panel and the game log.
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

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
#include "LoadNode.h"
#include "NodeTree.h"
#include "PlaceEditBox.h"
#include "QuadBatchNode.h"
#include "ResourceNames.h"
#include "StoreController.h"
#include "SubmitNode.h"
#include "TouchLayer.h"
#include "logog/logog.hpp"

using namespace cocos2d;
using namespace cocos2d::extension;

namespace {

// Tags of the layout's panels that the controller fits around their texts.
constexpr int kMessagePanelTag = 1;
constexpr int kTutorialPanelTag = 2;
constexpr int kFullscreenPanelTag = 3;
constexpr float kPanelPadding = 20.0f;
constexpr float kButtonSlot = 64.0f;
constexpr int kEnemyLabelZ = 200;
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
  // Wide and so few lines: the panel of a card's text stays in the top quarter of the
  // window, above the offered places that the view frames in its middle half.
  // A full-screen text, alone in the middle, keeps a shorter measure.
  const float wide = winSize().width - (2 * kPanelPadding + kButtonSlot) - 2 * kPanelPadding;
  for (CCLabelBMFont* label : {message, fullscreenmessage, submessage}) {
    if (!label) continue;
    const float width = label == fullscreenmessage ? winSize().width * 0.7f : wide;
    label->setAlignment(kCCTextAlignmentCenter);
    label->setWidth(width / (label->getScaleX() != 0 ? label->getScaleX() : 1.0f));
  }
}

CCLayer* GameController::buildScreen() {
  const CCSize win = winSize();
  rootLayer = CCLayer::create();
  rootLayer->setContentSize(win);
  // What effects put over the old screen goes with it; the effects themselves go on.
  effects_->moveToScreen(rootLayer);

  bindings_.beginLoad();
  camera_.beginScreen();
  messagePanelTop_ = -1;
  gameNode = mv::loadNode("ccbi/screens/game.ccbi", this, false, false);
  CCLayer* ourlayer = camera_.ourLayer();
  CCLayer* enemylayer = camera_.enemyLayer();

  // The opponent's name over its tower, in black.
  enemyTowerLabel = CCLabelBMFont::create(enemyTowerLabelText.c_str(), mv::fontFileName("font-14.fnt").c_str());
  if (enemyTowerLabel) enemyTowerLabel->setColor(ccc3(0, 0, 0));
  if (enemyTowerLabel && enemylayer) enemylayer->addChild(enemyTowerLabel, kEnemyLabelZ);
  updateEnemyTowerLabel();

  guiNode = mv::loadNode("ccbi/screens/game-gui.ccbi", this, false, false);
  missingMembers_ = bindings_.endLoad();
  wrapMessages();

  touchLayer = TouchLayer::create(this);
  if (touchLayer) {
    touchLayer->setContentSize(win);
    touchLayer->scheduleUpdate();
    touchLayer->setTouchEnabled(true);
    touchLayer->setMouseTouchEnabled(false);
    touchLayer->setKeypadEnabled(true);
  }
  if (gameNode) {
    gameNode->setAnchorPoint(CCPointZero);
    rootLayer->addChild(gameNode, 3);
  }
  if (touchLayer) rootLayer->addChild(touchLayer, 4);
  if (guiNode) rootLayer->addChild(guiNode, 6);
  rootLayer->setAnchorPoint(CCPointZero);
  rootLayer->setPosition(CCPointZero);

  camera_.settleOnOurTower();

  if (CCParticleSystemQuad* wind = CCParticleSystemQuad::create("particles/wind1.plist")) {
    wind->setScale(mv::hdScale());
    const CCSize area = ourlayer ? ourlayer->getContentSize() : win;
    wind->setPosition(ccp(area.width, area.height * 0.5f));
    rootLayer->addChild(wind, 5);
  }

  cullGroundTiles(camera_.ourGround());
  cullGroundTiles(enemyground_);
  // Everything behind our tower goes to the renderer before our tower is prepared.
  if (enemylayer) enemylayer->addChild(SubmitNode::create(), std::numeric_limits<int>::max());
  CCLayer* water = camera_.water();
  reorder(water, kWaterZ);
  if (water) water->setTag(1);
  reorder(camera_.ourGround(), kGroundZ);
  reorder(enemyground_, kGroundZ);

  log_.buildOnScreen(rootLayer->getScaleX());

  dialogs_.buildOnScreen();
  // The store: a full-window layer in place of the bar (sandbox).
  storeNode = storeController_ ? storeController_->loadScreen() : nullptr;
  if (storeNode && storelayer) {
    storeNode->setAnchorPoint(CCPointZero);
    storeNode->setPosition(CCPointZero);
    storelayer->addChild(storeNode);
  }
  refreshGui();
  return rootLayer;
}

void GameController::screenRemoved() {
  log_.releaseKeys();
  boardView_->detachFromScreen();
  for (CCNode** node : {&gameNode, &guiNode}) *node = nullptr;
  rootLayer = nullptr;
  touchLayer = nullptr;
  enemyTowerLabel = nullptr;
  bindings_.beginLoad();
}

// ---- Panels around their texts -----------------------------------------------------------

void GameController::layoutMessagePanel() {
  if (!castgui) return;
  CCNode* panel = castgui->getChildByTag(kMessagePanelTag);
  if (!panel) return;
  const bool msg = visibleWithText(message);
  const bool sub = visibleWithText(submessage);
  const bool ok = okbtn && okbtn->isVisible();
  const bool cancel = cancelbtn && cancelbtn->isVisible();
  if (!msg && !sub && !ok && !cancel) {
    panel->setVisible(false);
    return;
  }
  panel->setVisible(true);
  const CCSize win = winSize();
  if (messagePanelTop_ < 0) messagePanelTop_ = panel->getPositionY();
  const float textW = std::max({msg ? message->getContentSize().width : 0.0f,
                                sub ? submessage->getContentSize().width : 0.0f, 240.0f});
  const float buttonW = (ok || cancel) ? kButtonSlot : 0.0f;
  const float panelW = textW + 2 * kPanelPadding + buttonW;
  const float textX = win.width * 0.5f - buttonW * 0.5f;
  // Close above and below: the panel stays short (see wrapMessages).
  const float padY = kPanelPadding * 0.6f;
  const float textH = (msg ? message->getContentSize().height : 0.0f) + (msg && sub ? 6.0f : 0.0f) +
                      (sub ? submessage->getContentSize().height : 0.0f);
  const float panelH = std::max(textH + 2 * padY, 48.0f + 2 * 12.0f);
  float top = messagePanelTop_;
  // The notice at a game's end stands clear of the enemy tower's name: below it when the
  // view puts the name where the notice would be.
  if (guiMode == GuiMode::GameEnded && enemyTowerLabel && enemyTowerLabel->isVisibleInHierarchy()) {
    const CCRect name = CCRectApplyAffineTransform(
        CCRect(0, 0, enemyTowerLabel->getContentSize().width, enemyTowerLabel->getContentSize().height),
        CCAffineTransformConcat(enemyTowerLabel->nodeToWorldTransform(), castgui->worldToNodeTransform()));
    const CCRect notice(win.width * 0.5f - panelW * 0.5f, top - panelH, panelW, panelH);
    if (name.intersectsRect(notice)) top = std::max(panelH + kPanelPadding, name.getMinY() - kPanelPadding * 0.5f);
  }
  panel->setPositionY(top);
  float y = top - padY;
  if (message) {
    message->setAnchorPoint(ccp(0.5f, 1.0f));
    message->setPosition(ccp(textX, y));
    if (msg) y -= message->getContentSize().height;
  }
  if (submessage) {
    if (msg && sub) y -= 6.0f;
    submessage->setAnchorPoint(ccp(0.5f, 1.0f));
    submessage->setPosition(ccp(textX, y));
  }
  if (CCScale9Sprite* frame = dynamic_cast<CCScale9Sprite*>(panel)) frame->setPreferredSize(CCSize(panelW, panelH));
  const CCPoint buttonAt = ccp(win.width * 0.5f + panelW * 0.5f - kPanelPadding - 24.0f, top - panelH * 0.5f);
  for (CCMenuItemImage* button : {okbtn, cancelbtn})
    if (button) button->setPosition(button->getParent()->convertToNodeSpace(castgui->convertToWorldSpace(buttonAt)));
}

void GameController::keepNoticeInPlace() {
  if (guiMode == GuiMode::GameEnded) layoutMessagePanel();
}

void GameController::layoutTutorialPanel() {
  if (!guiNode) return;
  CCNode* panel = guiNode->getChildByTag(kTutorialPanelTag);
  if (!panel) return;
  const bool shown = visibleWithText(tutorialmsg);
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
        tutorialmsg->getParent()->convertToNodeSpace(chatlog->getParent()->convertToWorldSpace(chatlog->getPosition()));
    right = std::min(right, logCorner.x - kPanelPadding * 0.5f);
  }
  const float textWidth = std::max(120.0f, std::min({win.width * 0.5f, 640.0f, right - left - 2 * kPanelPadding}));
  tutorialmsg->setAlignment(kCCTextAlignmentCenter);
  tutorialmsg->setWidth(textWidth);
  const CCSize text = tutorialmsg->getContentSize();
  const float half = text.width * 0.5f + kPanelPadding;
  const float centre = std::max(left + half, std::min(win.width * 0.5f, right - half));
  const float bottom = panel->getPositionY();
  panel->setPositionX(centre);
  tutorialmsg->setAnchorPoint(ccp(0.5f, 0.0f));
  tutorialmsg->setPosition(ccp(centre, bottom + kPanelPadding));
  if (CCScale9Sprite* frame = dynamic_cast<CCScale9Sprite*>(panel))
    frame->setPreferredSize(CCSize(text.width + 2 * kPanelPadding, text.height + 2 * kPanelPadding));
}

void GameController::layoutFullscreenPanel() {
  if (!guiNode || !fullscreenmessage) return;
  CCNode* panel = guiNode->getChildByTag(kFullscreenPanelTag);
  if (!panel) return;
  const bool shown = visibleWithText(fullscreenmessage);
  panel->setVisible(shown);
  if (!shown) return;
  // The text stands on its own panel over the darkening, wherever the layout puts it.
  const CCRect text = fullscreenmessage->boundingBox();
  panel->setAnchorPoint(ccp(0.5f, 0.5f));
  panel->setPosition(ccp(text.getMidX(), text.getMidY()));
  if (CCScale9Sprite* frame = dynamic_cast<CCScale9Sprite*>(panel))
    frame->setPreferredSize(CCSize(text.size.width + 4 * kPanelPadding, text.size.height + 3 * kPanelPadding));
}
