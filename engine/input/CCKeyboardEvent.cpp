#include "CCKeyboardEvent.h"

#include <cstring>

NS_CC_BEGIN

const KeyNameRow KeyNameTable[] = {
    {65, "A"},       {66, "B"},       {67, "C"},       {68, "D"},        {69, "E"},      {70, "F"},
    {71, "G"},       {72, "H"},       {73, "I"},       {74, "J"},        {75, "K"},      {76, "L"},
    {77, "M"},       {78, "N"},       {79, "O"},       {80, "P"},        {81, "Q"},      {82, "R"},
    {83, "S"},       {84, "T"},       {85, "U"},       {86, "V"},        {87, "W"},      {88, "X"},
    {89, "Y"},       {90, "Z"},       {48, "0"},       {49, "1"},        {50, "2"},      {51, "3"},
    {52, "4"},       {53, "5"},       {54, "6"},       {55, "7"},        {56, "8"},      {57, "9"},
    {96, "NUM0"},    {97, "NUM1"},    {98, "NUM2"},    {99, "NUM3"},     {100, "NUM4"},  {101, "NUM5"},
    {102, "NUM6"},   {103, "NUM7"},   {104, "NUM8"},   {105, "NUM9"},    {13, "RETURN"}, {9, "TAB"},
    {32, "SPACE"},   {46, "DEL"},     {27, "ESC"},     {187, "="},       {189, "MINUS"}, {106, "NUM*"},
    {107, "NUM+"},   {111, "NUM/"},   {109, "NUM-"},   {36, "HOME"},     {33, "PAGEUP"}, {115, "F4"},
    {35, "END"},     {113, "F2"},     {34, "PAGEDOWN"}, {112, "F1"},     {37, "LEFT"},   {39, "RIGHT"},
    {40, "DOWN"},    {38, "UP"},      {-1, ""},
};

const int KeyNameTableRows = (int)(sizeof(KeyNameTable) / sizeof(KeyNameTable[0])) - 1;

int modifierFlagForName(const char* name) {
  if (!name) return -1;
  if (strcmp(name, "SHIFT") == 0) return kCCKeyModifierShift;
  if (strcmp(name, "CMD") == 0) return kCCKeyModifierCmd;
  if (strcmp(name, "ALT") == 0) return kCCKeyModifierAlt;
  if (strcmp(name, "OPT") == 0) return kCCKeyModifierAlt;
  if (strcmp(name, "CTRL") == 0) return kCCKeyModifierCtrl;
  return -1;
}

void CCKeyboardEvent::addName(const char* name) {
  if (!name) return;
  int flag = modifierFlagForName(name);
  if (flag != -1) {
    modifiers |= flag;
    return;
  }
  for (const KeyNameRow* row = KeyNameTable; row->code != -1; ++row) {
    if (strcmp(row->name, name) == 0) {
      keyCode = row->code;
      return;
    }
  }
}

CCKeyboardEvent::CCKeyboardEvent(const std::vector<std::string>& names) : keyCode(-1), modifiers(0) {
  for (const std::string& n : names) {
    // A name with an embedded NUL cannot match any row.
    if (n.find('\0') == std::string::npos) addName(n.c_str());
  }
}

CCKeyboardEvent::CCKeyboardEvent(std::initializer_list<const char*> names) : keyCode(-1), modifiers(0) {
  for (const char* n : names) addName(n);
}

NS_CC_END
