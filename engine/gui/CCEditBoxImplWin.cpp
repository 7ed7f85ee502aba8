#include "CCEditBoxImplWin.h"

#include "CCActionInstant.h"
#include "CCActionInterval.h"
#include "CCBMFontConfiguration.h"
#include "CCDirector.h"
#include "CCEGLView.h"
#include "CCEditBox.h"
#include "CCLabelBMFont.h"
#include "CCLayerColor.h"
#include "CCSprite.h"

namespace cocos2d {
namespace extension {

namespace {

std::string& fontFile() {
  static std::string f = "fonts/72.fnt";
  return f;
}

// Length in bytes of the UTF-8 character that starts with this byte (1 for a stray byte).
size_t utf8Length(unsigned char lead) {
  if (lead >= 0xF0 && lead < 0xF8) return 4;
  if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
  if (lead >= 0xC0) return 2;
  return 1;
}

}  // namespace

CCEditBoxImpl* __createSystemEditBox(CCEditBox* pEditBox) { return new CCEditBoxImplWin(pEditBox); }

void CCEditBoxImplWin::setFontFile(const std::string& fntFile) { fontFile() = fntFile; }

const std::string& CCEditBoxImplWin::getFontFile() { return fontFile(); }

CCEditBoxImplWin::CCEditBoxImplWin(CCEditBox* pEditText)
    : CCEditBoxImpl(pEditText), m_colText(ccc3(255, 255, 255)), m_colPlaceHolder(ccc3(166, 166, 166)) {}

CCEditBoxImplWin::~CCEditBoxImplWin() {
  if (m_bEditing) detachWithIME();
}

CCLabelBMFont* CCEditBoxImplWin::makeLabel() {
  CCLabelBMFont* label = CCLabelBMFont::create(" ", fontFile().c_str());
  if (!label) {
    CCLOGERROR("edit box: font %s missing; the text will not show", fontFile().c_str());
    label = CCLabelBMFont::create();
  }
  return label;
}

bool CCEditBoxImplWin::initWithSize(const CCSize& size) {
  m_pLabel = makeLabel();
  m_pLabelPlaceHolder = makeLabel();
  if (!m_pLabel || !m_pLabelPlaceHolder) return false;
  for (CCLabelBMFont* label : {m_pLabel, m_pLabelPlaceHolder}) {
    label->setAnchorPoint(CCPoint(0, 0.5f));
    label->setPosition(CCPoint(5, size.height / 2.0f));
    m_pEditBox->addChild(label);
  }
  m_pLabel->setColor(m_colText);
  m_pLabelPlaceHolder->setColor(m_colPlaceHolder);
  m_pLabelPlaceHolder->setVisible(false);

  m_pCursor = CCLayerColor::create(ccc4(0, 0, 0, 255), 2, m_pLabel->getContentSize().height);
  if (!m_pCursor) return false;
  CCFiniteTimeAction* blink = CCSequence::create(CCShow::create(), CCDelayTime::create(0.3f),
                                                 CCHide::create(), CCDelayTime::create(0.3f),
                                                 nullptr);
  m_pCursor->runAction(CCRepeatForever::create(static_cast<CCActionInterval*>(blink)));
  m_pCursor->setOpacity(0);
  m_pCursor->ignoreAnchorPointForPosition(false);
  m_pCursor->setAnchorPoint(CCPoint(0.5f, 0.5f));
  m_pCursor->setPosition(CCPoint(2, m_pLabel->getPositionY()));
  m_pEditBox->addChild(m_pCursor);
  m_EditSize = size;
  return true;
}

void CCEditBoxImplWin::setFontColor(const ccColor3B& color) {
  m_colText = color;
  if (m_pLabel) m_pLabel->setColor(color);
}

void CCEditBoxImplWin::setPlaceholderFontColor(const ccColor3B& color) {
  m_colPlaceHolder = color;
  if (m_pLabelPlaceHolder) m_pLabelPlaceHolder->setColor(color);
}

void CCEditBoxImplWin::setText(const char* pText) {
  if (!pText || !m_pLabel) return;
  m_sText = pText;
  if (m_sText.empty()) {
    m_pLabelPlaceHolder->setVisible(true);
    m_pLabel->setString("");
    m_pCursor->setPosition(CCPoint(2, m_pLabel->getPositionY()));
    return;
  }
  m_pLabelPlaceHolder->setVisible(false);
  std::string shown = m_sText;
  m_pLabel->setString(shown.c_str());
  // The end of a long text stays in view: whole characters go from its start. The first
  // character that keeps the rest within the box is found from the glyphs' places at once;
  // the loop below only settles the last one.
  float limit = m_EditSize.width;
  const float excess = m_pLabel->getContentSize().width - limit;
  if (excess > 0) {
    int first = -1;
    for (CCSprite* glyph : m_pLabel->getGlyphSprites()) {
      const float left = glyph->getPositionX() - glyph->getContentSize().width * 0.5f;
      if (left >= excess && (first < 0 || glyph->getTag() < first)) first = glyph->getTag();
    }
    if (first > 0) {
      const std::u16string wide = ccUTF8ToUTF16(shown);
      if (static_cast<size_t>(first) < wide.size()) {
        shown = ccUTF16ToUTF8(wide.substr(static_cast<size_t>(first)));
        m_pLabel->setString(shown.c_str());
      }
    }
  }
  while (!shown.empty() && m_pLabel->getContentSize().width > limit) {
    shown.erase(0, std::min(shown.size(), utf8Length(static_cast<unsigned char>(shown[0]))));
    m_pLabel->setString(shown.c_str());
  }
  m_pCursor->setPosition(CCPoint(m_pLabel->getPositionX() + m_pLabel->getContentSize().width,
                                 m_pLabel->getPositionY()));
}

void CCEditBoxImplWin::setPlaceHolder(const char* pText) {
  if (!pText || !m_pLabelPlaceHolder) return;
  m_sPlaceHolder = pText;
  if (!m_sPlaceHolder.empty() && m_sText.empty()) m_pLabelPlaceHolder->setVisible(true);
  m_pLabelPlaceHolder->setString(m_sPlaceHolder.c_str());
}

void CCEditBoxImplWin::openKeyboard() {
  m_bEditing = true;
  if (m_pCursor) m_pCursor->setOpacity(255);
  attachWithIME();
  if (CCEGLView* view = CCDirector::sharedDirector()->getOpenGLView())
    view->setIMEKeyboardState(true);
  if (m_pDelegate) m_pDelegate->editBoxEditingDidBegin(m_pEditBox);
}

void CCEditBoxImplWin::closeKeyboard() {
  detachWithIME();
  m_bEditing = false;
  if (m_pCursor) m_pCursor->setOpacity(0);
}

void CCEditBoxImplWin::insertText(const char* text, int len) {
  if (!m_bEditing || !text || len <= 0) return;
  std::string added(text, static_cast<size_t>(len));
  // Line breaks do not belong in a one-line box.
  std::string clean;
  for (char c : added)
    if (c != '\n' && c != '\r') clean += c;
  // A box with a maximum length takes whole characters up to it; the rest is not typed.
  if (m_nMaxLength >= 0) {
    size_t have = ccUTF8ToUTF16(m_sText).size();
    size_t keep = 0;
    while (keep < clean.size() && have < static_cast<size_t>(m_nMaxLength)) {
      const size_t n = std::min(clean.size() - keep, utf8Length(static_cast<unsigned char>(clean[keep])));
      have += ccUTF8ToUTF16(clean.substr(keep, n)).size();
      keep += n;
    }
    clean.resize(keep);
  }
  if (clean.empty()) return;
  setText((m_sText + clean).c_str());
}

void CCEditBoxImplWin::deleteBackward() {
  if (!m_bEditing) return;
  // The last whole character goes (a character outside the basic plane is one character).
  std::u16string wide = ccUTF8ToUTF16(m_sText);
  if (!wide.empty()) {
    char16_t last = wide.back();
    wide.pop_back();
    if (last >= 0xDC00 && last <= 0xDFFF && !wide.empty() && wide.back() >= 0xD800 &&
        wide.back() <= 0xDBFF)
      wide.pop_back();
  }
  setText(ccUTF16ToUTF8(wide).c_str());
}

void CCEditBoxImplWin::onReturn() {
  if (!m_bEditing) return;
  // Return needs someone to hand the line to; without a delegate it does nothing.
  if (!m_pDelegate) return;
  CCEditBox* box = m_pEditBox;
  box->retain();
  m_pDelegate->editBoxEditingDidEnd(box);
  if (m_pDelegate) m_pDelegate->editBoxReturn(box);
  box->release();
}

void CCEditBoxImplWin::keyboardWillHide(CCIMEKeyboardNotificationInfo&) {
  // The window reports Return as a keyboard about to hide; a "did hide" may follow it.
  m_bReturnSeen = true;
  onReturn();
}

void CCEditBoxImplWin::keyboardDidHide(CCIMEKeyboardNotificationInfo&) {
  if (m_bReturnSeen) {
    m_bReturnSeen = false;
    return;
  }
  onReturn();
}

}  // namespace extension
}  // namespace cocos2d
