#pragma once

#include <vector>

#include "CCGeometry.h"

NS_CC_BEGIN

struct CCIMEKeyboardNotificationInfo {
  CCRect begin;
  CCRect end;
  float duration = 0;
};

class CCIMEDispatcher;

// Something that takes typed text (an edit box, a text field).
class CCIMEDelegate {
 public:
  virtual ~CCIMEDelegate();
  // Asks the dispatcher to make this the delegate that receives text.
  virtual bool attachWithIME();
  virtual bool detachWithIME();
  // True while the delegate is being edited; the window then keeps keys away
  // from the keyboard dispatcher so that typing does not trigger hotkeys.
  virtual bool isEditing() { return false; }

 protected:
  friend class CCIMEDispatcher;
  CCIMEDelegate();
  virtual bool canAttachWithIME() { return false; }
  virtual void didAttachWithIME() {}
  virtual bool canDetachWithIME() { return false; }
  virtual void didDetachWithIME() {}
  virtual void insertText(const char* text, int length) { (void)text; (void)length; }
  virtual void deleteBackward() {}
  virtual const char* getContentText() { return ""; }
  virtual void keyboardWillShow(CCIMEKeyboardNotificationInfo& info) { (void)info; }
  virtual void keyboardDidShow(CCIMEKeyboardNotificationInfo& info) { (void)info; }
  virtual void keyboardWillHide(CCIMEKeyboardNotificationInfo& info) { (void)info; }
  virtual void keyboardDidHide(CCIMEKeyboardNotificationInfo& info) { (void)info; }
};

// Routes typed text from the window to the attached delegate.
class CCIMEDispatcher {
 public:
  static CCIMEDispatcher* sharedDispatcher();

  void dispatchInsertText(const char* text, int length);
  void dispatchDeleteBackward();
  const char* getContentText();
  void dispatchKeyboardWillShow(CCIMEKeyboardNotificationInfo& info);
  void dispatchKeyboardDidShow(CCIMEKeyboardNotificationInfo& info);
  void dispatchKeyboardWillHide(CCIMEKeyboardNotificationInfo& info);
  void dispatchKeyboardDidHide(CCIMEKeyboardNotificationInfo& info);
  // True when any registered delegate is being edited.
  bool isAnyDelegateEditing();

 protected:
  friend class CCIMEDelegate;
  void addDelegate(CCIMEDelegate* delegate);
  bool attachDelegateWithIME(CCIMEDelegate* delegate);
  bool detachDelegateWithIME(CCIMEDelegate* delegate);
  void removeDelegate(CCIMEDelegate* delegate);

 private:
  CCIMEDispatcher() {}
  std::vector<CCIMEDelegate*> m_delegates;
  CCIMEDelegate* m_attached = nullptr;
};

NS_CC_END
