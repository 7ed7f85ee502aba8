// The title intro of the main menu: the bird sits, flies across the title while the
// credits run and the camera follows, then glides to its perch as the camera pulls back and
// lightning reveals the menu. About 17 seconds; a click or ESC ends it at once.
#include <vector>

#include "CCActionInstant.h"
#include "CCActionInterval.h"
#include "CCAnimation.h"
#include "CCArray.h"
#include "CCDirector.h"
#include "CCLabelBMFont.h"
#include "CCLayer.h"
#include "CCParticleSystemQuad.h"
#include "CCPointExtension.h"
#include "CCSprite.h"
#include "CCSpriteFrame.h"
#include "CCSpriteFrameCache.h"
#include "EventDispatcher.h"
#include "InstantActions.h"
#include "LanguageFile.h"
#include "MenuController.h"
#include "ResourceNames.h"
#include "LobbyLink.h"

using namespace cocos2d;

namespace {

const char* const kMagicStarsFile = "particles/magic_stars.plist";
const char* const kLightningSound = "sounds/lightning.wav";
constexpr float kFrameDelay = 0.1f;
constexpr float kCreditsPause = 2.4f;
// The camera follows the flight at twice the size and ends at rest.
constexpr float kCloseScale = 2.0f;

// A call action that owns its zoom request.
class ZoomCall : public CCCallFuncND {
 public:
  static ZoomCall* create(MenuController* controller, const MenuController::ZoomRequest& request) {
    ZoomCall* call = new ZoomCall();
    call->m_request = request;
    return ccAutoreleaseIfInit(
        call, call->initWithTarget(controller, callfuncND_selector(MenuController::zoomToPoint), &call->m_request));
  }
  CCObject* copyWithZone(CCZone* pZone) override {
    CC_ACTION_COPY_BEGIN(ZoomCall)
    pCopy->m_request = m_request;
    CCCallFuncND::copyWithZone(pZone);
    pCopy->m_pData = &pCopy->m_request;
    CC_ACTION_COPY_END()
  }

 private:
  MenuController::ZoomRequest m_request;
};

// The action on `node`, or a pause as long as it when the layout lacks the node.
CCFiniteTimeAction* on(CCNode* node, CCFiniteTimeAction* action) {
  if (node) return CCTargetedAction::create(node, action);
  return CCDelayTime::create(action->getDuration());
}

CCAnimate* animation(const std::vector<const char*>& frames, unsigned int loops) {
  CCArray* list = CCArray::create();
  CCSpriteFrameCache* cache = CCSpriteFrameCache::sharedSpriteFrameCache();
  for (const char* name : frames)
    if (CCSpriteFrame* frame = cache->spriteFrameByName(name)) list->addObject(frame);
  CCAnimation* anim = CCAnimation::createWithSpriteFrames(list, kFrameDelay);
  // Missing frames still take their time, so the intro keeps its length.
  anim->setDelayPerUnit(kFrameDelay * frames.size() / std::max<unsigned int>(1, list->count()));
  anim->setLoops(loops);
  anim->setRestoreOriginalFrame(false);
  return CCAnimate::create(anim);
}

CCPoint positionOf(CCNode* node) { return node ? node->getPosition() : CCPoint(); }

void setShown(CCNode* node, bool shown) {
  if (node) node->setVisible(shown);
}

}  // namespace

void MenuController::prepareIntro() {
  if (!m_root) return;
  setShown(m_crack, false);
  setShown(m_bolt, false);
  setShown(m_mainlayer, false);
  setShown(m_creditslbl, false);
  if (m_bird) {
    if (CCSpriteFrame* sit = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName("bird-sit1.png"))
      m_bird->setDisplayFrame(sit);
    m_bird->setPosition(positionOf(m_birdstart));
  }
  m_root->runAction(makeZoomAction(0, positionOf(m_startinglogo), kCloseScale));
}

CCCallFuncND* MenuController::makeZoomAction(float duration, CCPoint point, float scale) {
  ZoomRequest request;
  request.point = point;
  request.duration = duration;
  request.scale = scale;
  return ZoomCall::create(this, request);
}

void MenuController::zoomToPoint(CCNode*, void* data) {
  const ZoomRequest* request = static_cast<const ZoomRequest*>(data);
  if (!request || !m_front) return;
  const CCSize win = CCDirector::sharedDirector()->getWinSize();
  const CCPoint centre(win.width * 0.5f, win.height * 0.5f);
  const CCPoint w1 = m_front->convertToWorldSpace(request->point);
  const CCPoint d1 = ccpSub(centre, w1);
  const float oldScale = m_front->getScale();
  m_front->setScale(request->scale);
  const CCPoint w2 = m_front->convertToWorldSpace(request->point);
  m_front->setScale(oldScale);
  const CCPoint d2 = ccpSub(w2, w1);
  const CCPoint offset = ccpSub(d1, d2);
  const float d = request->duration;
  m_front->runAction(CCSpawn::create(CCMoveBy::create(d, offset), CCScaleTo::create(d, request->scale), nullptr));
  // The background moves less: a little depth.
  if (m_back)
    m_back->runAction(
        CCSpawn::create(CCMoveBy::create(d, ccpMult(offset, 0.8f)), CCScaleTo::create(d, request->scale), nullptr));
}

void MenuController::playIntro() {
  if (!m_root) return;
  m_introRunning = true;
  CCAnimate* flight = animation({"bird-1.png", "bird-2.png", "bird-3.png", "bird-4.png", "bird-5.png",
                                 "bird-6.png", "bird-7.png", "bird-8.png", "bird-9.png"},
                                13);
  CCAnimate* sit = animation(
      {"bird-sit1.png", "bird-sit2.png", "bird-sit3.png", "bird-sit2.png", "bird-sit1.png", "bird-sit2.png"}, 1);
  CCAnimate* gliding = animation({"bird-glide.png", "bird-glide.png"}, 5);

  CCFiniteTimeAction* reveal = CCSequence::create(
      CCDelayTime::create(2.8f), CCCallFunc::create(this, callfunc_selector(MenuController::showMagicStars)),
      CCDelayTime::create(1.0f), PlaySound::create(kLightningSound), on(m_bolt, CCShow::create()),
      CCDelayTime::create(0.1f), on(m_bolt, CCHide::create()), CCDelayTime::create(0.1f),
      on(m_bolt, CCShow::create()), on(m_crack, CCShow::create()), on(m_mainlayer, CCShow::create()),
      CCCallFunc::create(this, callfunc_selector(MenuController::finishIntro)), nullptr);
  const CCSize win = CCDirector::sharedDirector()->getWinSize();
  CCFiniteTimeAction* finalSpawn = CCSpawn::create(
      on(m_bird, CCMoveTo::create(4.0f, positionOf(m_birdfinish1))), on(m_bird, gliding),
      makeZoomAction(4.0f, CCPoint(win.width * 0.5f, win.height * 0.5f), 1.0f), reveal, nullptr);

  CCFiniteTimeAction* credits = CCSequence::create(
      CCDelayTime::create(kCreditsPause), on(m_creditslbl, CCShow::create()),
      on(m_creditslbl, ActSetText::create(localizedText("CREDITS1"))), CCDelayTime::create(kCreditsPause),
      on(m_creditslbl, ActSetText::create(localizedText("CREDITS2"))), CCDelayTime::create(kCreditsPause),
      on(m_creditslbl, ActSetText::create(localizedText("CREDITS3"))), CCDelayTime::create(kCreditsPause),
      on(m_creditslbl, ActSetText::create(localizedText("CREDITS4"))), CCDelayTime::create(kCreditsPause),
      on(m_creditslbl, CCHide::create()), nullptr);
  CCFiniteTimeAction* flightSpawn = CCSpawn::create(
      on(m_bird, CCMoveTo::create(12.0f, positionOf(m_birdfinish2))), on(m_bird, flight),
      makeZoomAction(12.0f, positionOf(m_birdfinish2), kCloseScale), credits, nullptr);

  m_root->runAction(
      CCSequence::create(CCDelayTime::create(0.6f), on(m_bird, sit), flightSpawn, finalSpawn, nullptr));
}

void MenuController::showMagicStars() {
  if (!m_magicstars) return;
  CCParticleSystemQuad* stars = CCParticleSystemQuad::create(kMagicStarsFile);
  if (!stars) return;
  stars->setPositionType(kCCPositionTypeRelative);
  stars->setScale(mv::hdScale());
  stars->ignoreAnchorPointForPosition(false);
  stars->setAnchorPoint(CCPoint(0.5f, 0.5f));
  stars->setPosition(CCPoint(0, 0));
  m_magicstars->addChild(stars);
}

void MenuController::finishIntro() {
  m_introRunning = false;
  m_introPlayed = true;
  // The lobby button usually finds the connection made.
  hub().lobbyLink().connectToLobby();
  showIntroEnd();
}

void MenuController::showIntroEnd() {
  setShown(m_crack, true);
  setShown(m_bolt, true);
  setShown(m_mainlayer, !m_messageShown && m_mode == 0);
  setShown(m_creditslbl, false);
  if (m_bird) {
    m_bird->setPosition(positionOf(m_birdfinish1));
    if (CCSpriteFrame* glide = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName("bird-glide.png"))
      m_bird->setDisplayFrame(glide);
  }
}

void MenuController::stopIntro() {
  for (CCNode* node : {static_cast<CCNode*>(m_bird), m_root, static_cast<CCNode*>(m_bolt),
                       static_cast<CCNode*>(m_crack), static_cast<CCNode*>(m_mainlayer),
                       static_cast<CCNode*>(m_front), static_cast<CCNode*>(m_back)})
    if (node) node->stopAllActions();
}

void MenuController::skipIntro() {
  if (!m_introRunning) return;
  stopIntro();
  const CCSize win = CCDirector::sharedDirector()->getWinSize();
  if (m_root) m_root->runAction(makeZoomAction(0, CCPoint(win.width * 0.5f, win.height * 0.5f), 1.0f));
  finishIntro();
}
