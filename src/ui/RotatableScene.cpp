#include "RotatableScene.h"

#include <algorithm>

#include "CCActionInterval.h"
#include "CCDirector.h"
#include "CCLayerColor.h"

namespace mv {

using namespace cocos2d;

bool RotatableScene::init() {
  if (!CCScene::init()) return false;
  m_cover = CCLayerColor::create(ccc4(0, 0, 0, 255), 2048, 2048);
  if (m_cover) {
    m_cover->retain();
    m_cover->setPosition(CCPoint(0, 0));
    m_cover->setOpacity(0);
    sizeCover();
    addChild(m_cover, kCoverZOrder);
  }
  return true;
}

RotatableScene::~RotatableScene() { CC_SAFE_RELEASE(m_cover); }

void RotatableScene::sizeCover() {
  if (!m_cover) return;
  CCSize win = CCDirector::sharedDirector()->getWinSize();
  m_cover->setContentSize(CCSize(std::max(2048.f, win.width), std::max(2048.f, win.height)));
}

void RotatableScene::relayout() {
  if (!m_cover) return;
  sizeCover();
  if (m_cover->getOpacity() != 0) m_cover->runAction(CCFadeOut::create(0.2f));
}

void RotatableScene::coverScreen() {
  if (!m_cover) return;
  sizeCover();
  m_cover->setOpacity(255);
}

}  // namespace mv
