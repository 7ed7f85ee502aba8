#include "RotatableScene.h"

#include <algorithm>

#include "CCActionInterval.h"
#include "CCDirector.h"
#include "CCLayerColor.h"

namespace mv {

using namespace cocos2d;

bool RotatableScene::init() {
  if (!CCScene::init()) return false;
  cover_ = CCLayerColor::create(ccc4(0, 0, 0, 255), 2048, 2048);
  if (cover_) {
    cover_->retain();
    cover_->setPosition(CCPoint(0, 0));
    cover_->setOpacity(0);
    sizeCover();
    addChild(cover_, kCoverZOrder);
  }
  return true;
}

RotatableScene::~RotatableScene() { CC_SAFE_RELEASE(cover_); }

void RotatableScene::sizeCover() {
  if (!cover_) return;
  CCSize win = CCDirector::sharedDirector()->getWinSize();
  cover_->setContentSize(CCSize(std::max(2048.f, win.width), std::max(2048.f, win.height)));
}

void RotatableScene::relayout() {
  if (!cover_) return;
  sizeCover();
  if (cover_->getOpacity() != 0) cover_->runAction(CCFadeOut::create(0.2f));
}

void RotatableScene::coverScreen() {
  if (!cover_) return;
  sizeCover();
  cover_->setOpacity(255);
}

}  // namespace mv
