#pragma once

#include "CCGeometry.h"
#include "ccTypes.h"

namespace cocos2d {
namespace extension {

class CCEditBox;

enum EditBoxInputMode {
  kEditBoxInputModeAny = 0,
  kEditBoxInputModeEmailAddr,
  kEditBoxInputModeNumeric,
  kEditBoxInputModePhoneNumber,
  kEditBoxInputModeUrl,
  kEditBoxInputModeDecimal,
  kEditBoxInputModeSingleLine,
};

enum EditBoxInputFlag {
  kEditBoxInputFlagPassword = 0,
  kEditBoxInputFlagSensitive,
  kEditBoxInputFlagInitialCapsWord,
  kEditBoxInputFlagInitialCapsSentence,
  kEditBoxInputFlagInitialCapsAllCharacters,
};

enum KeyboardReturnType {
  kKeyboardReturnTypeDefault = 0,
  kKeyboardReturnTypeDone,
  kKeyboardReturnTypeSend,
  kKeyboardReturnTypeSearch,
  kKeyboardReturnTypeGo,
};

class CCEditBoxDelegate {
 public:
  virtual ~CCEditBoxDelegate() {}
  virtual void editBoxEditingDidBegin(CCEditBox* editBox) { (void)editBox; }
  virtual void editBoxEditingDidEnd(CCEditBox* editBox) { (void)editBox; }
  virtual void editBoxTextChanged(CCEditBox* editBox, const std::string& text) {
    (void)editBox;
    (void)text;
  }
  virtual void editBoxReturn(CCEditBox* editBox) = 0;
};

// The platform part of an edit box: shows the text and takes the typing.
class CCEditBoxImpl {
 public:
  explicit CCEditBoxImpl(CCEditBox* pEditBox) : m_pEditBox(pEditBox) {}
  virtual ~CCEditBoxImpl() {}

  virtual bool initWithSize(const CCSize& size) = 0;
  virtual void setFont(const char* pFontName, int fontSize) = 0;
  virtual void setFontColor(const ccColor3B& color) = 0;
  virtual void setPlaceholderFont(const char* pFontName, int fontSize) = 0;
  virtual void setPlaceholderFontColor(const ccColor3B& color) = 0;
  virtual void setInputMode(EditBoxInputMode inputMode) = 0;
  virtual void setInputFlag(EditBoxInputFlag inputFlag) = 0;
  virtual void setMaxLength(int maxLength) = 0;
  virtual int getMaxLength() = 0;
  virtual void setReturnType(KeyboardReturnType returnType) = 0;
  virtual bool isEditing() = 0;
  virtual void setText(const char* pText) = 0;
  virtual const char* getText() = 0;
  virtual void setPlaceHolder(const char* pText) = 0;
  virtual void doAnimationWhenKeyboardMove(float duration, float distance) = 0;
  virtual void openKeyboard() = 0;
  virtual void closeKeyboard() = 0;
  virtual void setPosition(const CCPoint& pos) = 0;
  virtual void setVisible(bool visible) = 0;
  virtual void setContentSize(const CCSize& size) = 0;
  virtual void setAnchorPoint(const CCPoint& anchorPoint) = 0;
  virtual void visit() = 0;
  virtual void onEnter() = 0;

  void setDelegate(CCEditBoxDelegate* pDelegate) { m_pDelegate = pDelegate; }
  CCEditBoxDelegate* getDelegate() { return m_pDelegate; }
  CCEditBox* getCCEditBox() { return m_pEditBox; }

 protected:
  CCEditBoxDelegate* m_pDelegate = nullptr;
  CCEditBox* m_pEditBox;
};

// Makes the platform part for a box.
CCEditBoxImpl* __createSystemEditBox(CCEditBox* pEditBox);

}  // namespace extension
}  // namespace cocos2d
