#include "CCScene.h"

NS_CC_BEGIN

static CCSize s_defaultSize;

void CCScene::setDefaultSize(const CCSize& size) { s_defaultSize = size; }
const CCSize& CCScene::defaultSize() { return s_defaultSize; }

CCScene::CCScene() {
  m_bIgnoreAnchorPointForPosition = true;
  setAnchorPoint(CCPoint(0.5f, 0.5f));
}

CCScene::~CCScene() {}

bool CCScene::init() {
  setContentSize(s_defaultSize);
  return true;
}

CCScene* CCScene::create() {
  CCScene* p = new CCScene();
  return ccAutoreleaseIfInit(p, p->init());
}

NS_CC_END
