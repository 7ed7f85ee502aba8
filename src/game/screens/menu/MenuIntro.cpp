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
#include "NodeLooks.h"
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
    call->request_ = request;
    return ccAutoreleaseIfInit(
        call, call->initWithTarget(controller, callfuncND_selector(MenuController::zoomToPoint), &call->request_));
  }
  CCObject* copyWithZone(CCZone* pZone) override {
    CC_ACTION_COPY_BEGIN(ZoomCall)
    pCopy->request_ = request_;
    CCCallFuncND::copyWithZone(pZone);
    pCopy->m_pData = &pCopy->request_;
    CC_ACTION_COPY_END()
  }

 private:
  MenuController::ZoomRequest request_;
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

}  // namespace

void MenuController::prepareIntro() {
  if (!root_) return;
  mv::setShown(crack_, false);
  mv::setShown(bolt_, false);
  mv::setShown(mainlayer_, false);
  mv::setShown(creditslbl_, false);
  if (bird_) {
    if (CCSpriteFrame* sit = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName("bird-sit1.png"))
      bird_->setDisplayFrame(sit);
    bird_->setPosition(positionOf(birdstart_));
  }
  root_->runAction(makeZoomAction(0, positionOf(startinglogo_), kCloseScale));
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
  if (!request || !front_) return;
  const CCSize win = CCDirector::sharedDirector()->getWinSize();
  const CCPoint centre(win.width * 0.5f, win.height * 0.5f);
  const CCPoint w1 = front_->convertToWorldSpace(request->point);
  const CCPoint d1 = ccpSub(centre, w1);
  const float oldScale = front_->getScale();
  front_->setScale(request->scale);
  const CCPoint w2 = front_->convertToWorldSpace(request->point);
  front_->setScale(oldScale);
  const CCPoint d2 = ccpSub(w2, w1);
  const CCPoint offset = ccpSub(d1, d2);
  const float d = request->duration;
  front_->runAction(CCSpawn::create(CCMoveBy::create(d, offset), CCScaleTo::create(d, request->scale), nullptr));
  // The background moves less: a little depth.
  if (back_)
    back_->runAction(
        CCSpawn::create(CCMoveBy::create(d, ccpMult(offset, 0.8f)), CCScaleTo::create(d, request->scale), nullptr));
}

void MenuController::playIntro() {
  if (!root_) return;
  introRunning_ = true;
  CCAnimate* flight = animation({"bird-1.png", "bird-2.png", "bird-3.png", "bird-4.png", "bird-5.png",
                                 "bird-6.png", "bird-7.png", "bird-8.png", "bird-9.png"},
                                13);
  CCAnimate* sit = animation(
      {"bird-sit1.png", "bird-sit2.png", "bird-sit3.png", "bird-sit2.png", "bird-sit1.png", "bird-sit2.png"}, 1);
  CCAnimate* gliding = animation({"bird-glide.png", "bird-glide.png"}, 5);

  CCFiniteTimeAction* reveal = CCSequence::create(
      CCDelayTime::create(2.8f), CCCallFunc::create(this, callfunc_selector(MenuController::showMagicStars)),
      CCDelayTime::create(1.0f), PlaySound::create(kLightningSound), on(bolt_, CCShow::create()),
      CCDelayTime::create(0.1f), on(bolt_, CCHide::create()), CCDelayTime::create(0.1f),
      on(bolt_, CCShow::create()), on(crack_, CCShow::create()), on(mainlayer_, CCShow::create()),
      CCCallFunc::create(this, callfunc_selector(MenuController::finishIntro)), nullptr);
  const CCSize win = CCDirector::sharedDirector()->getWinSize();
  CCFiniteTimeAction* finalSpawn = CCSpawn::create(
      on(bird_, CCMoveTo::create(4.0f, positionOf(birdfinish1_))), on(bird_, gliding),
      makeZoomAction(4.0f, CCPoint(win.width * 0.5f, win.height * 0.5f), 1.0f), reveal, nullptr);

  CCFiniteTimeAction* credits = CCSequence::create(
      CCDelayTime::create(kCreditsPause), on(creditslbl_, CCShow::create()),
      on(creditslbl_, ActSetText::create(localizedText("CREDITS1"))), CCDelayTime::create(kCreditsPause),
      on(creditslbl_, ActSetText::create(localizedText("CREDITS2"))), CCDelayTime::create(kCreditsPause),
      on(creditslbl_, ActSetText::create(localizedText("CREDITS3"))), CCDelayTime::create(kCreditsPause),
      on(creditslbl_, ActSetText::create(localizedText("CREDITS4"))), CCDelayTime::create(kCreditsPause),
      on(creditslbl_, CCHide::create()), nullptr);
  CCFiniteTimeAction* flightSpawn = CCSpawn::create(
      on(bird_, CCMoveTo::create(12.0f, positionOf(birdfinish2_))), on(bird_, flight),
      makeZoomAction(12.0f, positionOf(birdfinish2_), kCloseScale), credits, nullptr);

  root_->runAction(
      CCSequence::create(CCDelayTime::create(0.6f), on(bird_, sit), flightSpawn, finalSpawn, nullptr));
}

void MenuController::showMagicStars() {
  if (!magicstars_) return;
  CCParticleSystemQuad* stars = CCParticleSystemQuad::create(kMagicStarsFile);
  if (!stars) return;
  stars->setPositionType(kCCPositionTypeRelative);
  stars->setScale(mv::hdScale());
  stars->ignoreAnchorPointForPosition(false);
  stars->setAnchorPoint(CCPoint(0.5f, 0.5f));
  stars->setPosition(CCPoint(0, 0));
  magicstars_->addChild(stars);
}

void MenuController::finishIntro() {
  introRunning_ = false;
  introPlayed_ = true;
  // The lobby button usually finds the connection made.
  hub().lobbyLink().connectToLobby();
  showIntroEnd();
  mv::setShown(mainlayer_, true);
}

void MenuController::showIntroEnd() {
  mv::setShown(crack_, true);
  mv::setShown(bolt_, true);
  mv::setShown(creditslbl_, false);
  if (bird_) {
    bird_->setPosition(positionOf(birdfinish1_));
    if (CCSpriteFrame* glide = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName("bird-glide.png"))
      bird_->setDisplayFrame(glide);
  }
}

void MenuController::stopIntro() {
  for (CCNode* node : {static_cast<CCNode*>(bird_), root_, static_cast<CCNode*>(bolt_),
                       static_cast<CCNode*>(crack_), static_cast<CCNode*>(mainlayer_),
                       static_cast<CCNode*>(front_), static_cast<CCNode*>(back_)})
    if (node) node->stopAllActions();
}

void MenuController::skipIntro() {
  if (!introRunning_) return;
  stopIntro();
  const CCSize win = CCDirector::sharedDirector()->getWinSize();
  if (root_) root_->runAction(makeZoomAction(0, CCPoint(win.width * 0.5f, win.height * 0.5f), 1.0f));
  finishIntro();
}
