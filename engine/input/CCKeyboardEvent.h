#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "CCObject.h"

NS_CC_BEGIN

// Modifier bits of a key event.
enum {
  kCCKeyModifierCtrl = 2,
  kCCKeyModifierCmd = 4,
  kCCKeyModifierShift = 8,
  kCCKeyModifierAlt = 16,
};

// A key (virtual-key code, -1 for none) with the modifiers held. Also the form of a key
// binding, so that a pressed key compares with a binding field by field.
class CCKeyboardEvent : public CCObject {
 public:
  CCKeyboardEvent() : keyCode(-1), modifiers(0) {}
  CCKeyboardEvent(int code, int mods) : keyCode(code), modifiers(mods) {}
  // A combination from key names such as ("CTRL", "S"): modifier names add their bit, the
  // last name found in the key table gives the key, unknown names are ignored.
  explicit CCKeyboardEvent(const std::vector<std::string>& names);
  CCKeyboardEvent(std::initializer_list<const char*> names);
  CCKeyboardEvent(const CCKeyboardEvent& other) : CCObject(), keyCode(other.keyCode), modifiers(other.modifiers) {}
  CCKeyboardEvent& operator=(const CCKeyboardEvent& other) {
    keyCode = other.keyCode;
    modifiers = other.modifiers;
    return *this;
  }

  int getKeyCode() const { return keyCode; }
  int getModifiers() const { return modifiers; }
  bool sameKeyAs(const CCKeyboardEvent& other) const {
    return keyCode == other.keyCode && modifiers == other.modifiers;
  }

  int keyCode;
  int modifiers;

 private:
  void addName(const char* name);
};

struct KeyNameRow {
  int code;
  const char* name;
};

// The named keys, ending with a row whose code is -1.
extern const KeyNameRow KeyNameTable[];
extern const int KeyNameTableRows;

// The modifier bit for "SHIFT", "CMD", "ALT", "OPT" or "CTRL" (exact, case-sensitive); -1 otherwise.
int modifierFlagForName(const char* name);

NS_CC_END
