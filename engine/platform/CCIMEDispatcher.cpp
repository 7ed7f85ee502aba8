#include "CCIMEDispatcher.h"

#include <algorithm>

NS_CC_BEGIN

CCIMEDelegate::CCIMEDelegate() { CCIMEDispatcher::sharedDispatcher()->addDelegate(this); }

CCIMEDelegate::~CCIMEDelegate() { CCIMEDispatcher::sharedDispatcher()->removeDelegate(this); }

bool CCIMEDelegate::attachWithIME() {
  return CCIMEDispatcher::sharedDispatcher()->attachDelegateWithIME(this);
}

bool CCIMEDelegate::detachWithIME() {
  return CCIMEDispatcher::sharedDispatcher()->detachDelegateWithIME(this);
}

CCIMEDispatcher* CCIMEDispatcher::sharedDispatcher() {
  static CCIMEDispatcher* instance = new CCIMEDispatcher();  // lives to the end of the process
  return instance;
}

void CCIMEDispatcher::addDelegate(CCIMEDelegate* delegate) {
  if (delegate && std::find(m_delegates.begin(), m_delegates.end(), delegate) == m_delegates.end())
    m_delegates.push_back(delegate);
}

void CCIMEDispatcher::removeDelegate(CCIMEDelegate* delegate) {
  m_delegates.erase(std::remove(m_delegates.begin(), m_delegates.end(), delegate),
                    m_delegates.end());
  if (m_attached == delegate) m_attached = nullptr;
}

bool CCIMEDispatcher::attachDelegateWithIME(CCIMEDelegate* delegate) {
  if (!delegate || std::find(m_delegates.begin(), m_delegates.end(), delegate) == m_delegates.end())
    return false;
  if (m_attached == delegate) return true;
  if (m_attached) {
    if (!m_attached->canDetachWithIME() || !delegate->canAttachWithIME()) return false;
    CCIMEDelegate* old = m_attached;
    m_attached = nullptr;
    old->didDetachWithIME();
  } else if (!delegate->canAttachWithIME()) {
    return false;
  }
  m_attached = delegate;
  delegate->didAttachWithIME();
  return true;
}

bool CCIMEDispatcher::detachDelegateWithIME(CCIMEDelegate* delegate) {
  if (!delegate || m_attached != delegate || !delegate->canDetachWithIME()) return false;
  m_attached = nullptr;
  delegate->didDetachWithIME();
  return true;
}

void CCIMEDispatcher::dispatchInsertText(const char* text, int length) {
  if (m_attached && text && length > 0) m_attached->insertText(text, length);
}

void CCIMEDispatcher::dispatchDeleteBackward() {
  if (m_attached) m_attached->deleteBackward();
}

const char* CCIMEDispatcher::getContentText() {
  return m_attached ? m_attached->getContentText() : "";
}

// Notifications go to every delegate; the list is copied because a delegate
// may register or leave while it is told.
#define MV_IME_NOTIFY(method)                                        \
  std::vector<CCIMEDelegate*> copy(m_delegates);                     \
  for (CCIMEDelegate* d : copy) {                                    \
    if (std::find(m_delegates.begin(), m_delegates.end(), d) != m_delegates.end()) \
      d->method(info);                                               \
  }

void CCIMEDispatcher::dispatchKeyboardWillShow(CCIMEKeyboardNotificationInfo& info) {
  MV_IME_NOTIFY(keyboardWillShow)
}
void CCIMEDispatcher::dispatchKeyboardDidShow(CCIMEKeyboardNotificationInfo& info) {
  MV_IME_NOTIFY(keyboardDidShow)
}
void CCIMEDispatcher::dispatchKeyboardWillHide(CCIMEKeyboardNotificationInfo& info) {
  MV_IME_NOTIFY(keyboardWillHide)
}
void CCIMEDispatcher::dispatchKeyboardDidHide(CCIMEKeyboardNotificationInfo& info) {
  MV_IME_NOTIFY(keyboardDidHide)
}

bool CCIMEDispatcher::isAnyDelegateEditing() {
  for (CCIMEDelegate* d : m_delegates)
    if (d->isEditing()) return true;
  return false;
}

NS_CC_END
