#pragma once

#include <string>

#include "CCEditBoxImpl.h"
#include "CCIMEDispatcher.h"

namespace cocos2d {
class CCLabelBMFont;
class CCLayerColor;
namespace extension {

// The desktop edit box: drawn inside the scene with bitmap-font labels and a blinking caret,
// fed by the text-input dispatcher. Text is handled in whole UTF-8 characters: a text wider
// than the box loses characters at its start, Backspace removes the last character.
class CCEditBoxImplWin : public CCEditBoxImpl, public CCIMEDelegate {
 public:
  explicit CCEditBoxImplWin(CCEditBox* pEditText);
  virtual ~CCEditBoxImplWin();

  // The font of the box's labels, "fonts/72.fnt" unless changed.
  static void setFontFile(const std::string& fntFile);
  static const std::string& getFontFile();

  bool initWithSize(const CCSize& size) override;
  void setFont(const char*, int) override {}
  void setFontColor(const ccColor3B& color) override;
  void setPlaceholderFont(const char*, int) override {}
  void setPlaceholderFontColor(const ccColor3B& color) override;
  void setInputMode(EditBoxInputMode inputMode) override { m_eInputMode = inputMode; }
  void setInputFlag(EditBoxInputFlag inputFlag) override { m_eInputFlag = inputFlag; }
  void setMaxLength(int maxLength) override { m_nMaxLength = maxLength; }
  int getMaxLength() override { return m_nMaxLength; }
  void setReturnType(KeyboardReturnType returnType) override { m_eReturnType = returnType; }
  // Both bases ask this: the text-input dispatcher keeps keys from hotkeys while it is true.
  bool isEditing() override { return m_bEditing; }
  void setText(const char* pText) override;
  const char* getText() override { return m_sText.c_str(); }
  void setPlaceHolder(const char* pText) override;
  void doAnimationWhenKeyboardMove(float, float) override {}
  void openKeyboard() override;
  void closeKeyboard() override;
  void setPosition(const CCPoint&) override {}
  void setVisible(bool) override {}
  void setContentSize(const CCSize&) override {}
  void setAnchorPoint(const CCPoint&) override {}
  void visit() override {}
  void onEnter() override {}

  // Whether the keyboard is open for this box.
  bool isKeyboardOpen() const { return m_bEditing; }
  CCLabelBMFont* getTextLabel() { return m_pLabel; }
  CCLabelBMFont* getPlaceholderLabel() { return m_pLabelPlaceHolder; }
  CCLayerColor* getCursor() { return m_pCursor; }

  // CCIMEDelegate
  bool canAttachWithIME() override { return true; }
  bool canDetachWithIME() override { return true; }
  void insertText(const char* text, int len) override;
  void deleteBackward() override;
  const char* getContentText() override { return m_sText.c_str(); }
  void keyboardWillHide(CCIMEKeyboardNotificationInfo& info) override;
  void keyboardDidHide(CCIMEKeyboardNotificationInfo& info) override;

 private:
  void onReturn();
  CCLabelBMFont* makeLabel();

  CCLabelBMFont* m_pLabel = nullptr;
  CCLabelBMFont* m_pLabelPlaceHolder = nullptr;
  CCLayerColor* m_pCursor = nullptr;
  EditBoxInputMode m_eInputMode = kEditBoxInputModeSingleLine;
  EditBoxInputFlag m_eInputFlag = kEditBoxInputFlagInitialCapsAllCharacters;
  KeyboardReturnType m_eReturnType = kKeyboardReturnTypeDefault;
  std::string m_sText;
  std::string m_sPlaceHolder;
  ccColor3B m_colText;
  ccColor3B m_colPlaceHolder;
  int m_nMaxLength = -1;
  CCSize m_EditSize;
  bool m_bEditing = false;
  bool m_bReturnSeen = false;
};

}  // namespace extension
}  // namespace cocos2d
