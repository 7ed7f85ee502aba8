#include "InstantActions.h"

#include "CCLabelBMFont.h"
#include "GameAudio.h"

using namespace cocos2d;

ActSetText* ActSetText::create(const std::string& text) {
  ActSetText* action = new ActSetText();
  action->text_ = text;
  return ccAutoreleaseIfInit(action, true);
}

CCObject* ActSetText::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(ActSetText)
  CCActionInstant::copyWithZone(pZone);
  pCopy->text_ = text_;
  CC_ACTION_COPY_END()
}

void ActSetText::update(float) {
  if (CCLabelBMFont* label = dynamic_cast<CCLabelBMFont*>(m_pTarget)) label->setString(text_.c_str());
}

PlaySound* PlaySound::create(const std::string& path) {
  PlaySound* action = new PlaySound();
  action->path_ = path;
  return ccAutoreleaseIfInit(action, true);
}

CCObject* PlaySound::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(PlaySound)
  CCActionInstant::copyWithZone(pZone);
  pCopy->path_ = path_;
  CC_ACTION_COPY_END()
}

void PlaySound::update(float) {
  gameAudio().playEffect(path_, false);
}
