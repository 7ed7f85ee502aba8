#pragma once

#include <map>
#include <string>

#include "ccMacros.h"

NS_CC_BEGIN

// Small per-user settings kept in "UserDefault.xml" in the writeable folder. Every set writes
// the file at once, so a crash loses nothing. A file that cannot be read as such a document is
// logged and taken as empty (the next set replaces it).
class CCUserDefault {
 public:
  static CCUserDefault* sharedUserDefault();
  // Drops the shared object; the next sharedUserDefault() reads the file again.
  static void purgeSharedUserDefault();
  static const std::string& getXMLFilePath();
  static bool isXMLFileExist();

  bool getBoolForKey(const char* pKey, bool defaultValue = false);
  int getIntegerForKey(const char* pKey, int defaultValue = 0);
  float getFloatForKey(const char* pKey, float defaultValue = 0.0f);
  double getDoubleForKey(const char* pKey, double defaultValue = 0.0);
  std::string getStringForKey(const char* pKey, const std::string& defaultValue = "");

  void setBoolForKey(const char* pKey, bool value);
  void setIntegerForKey(const char* pKey, int value);
  void setFloatForKey(const char* pKey, float value);
  void setDoubleForKey(const char* pKey, double value);
  void setStringForKey(const char* pKey, const std::string& value);

  // Writes the file; the setters call it themselves.
  void flush();

 private:
  CCUserDefault();
  void load();
  // The stored text of a key, or null.
  const std::string* find(const char* pKey) const;
  void set(const char* pKey, const std::string& value);

  std::map<std::string, std::string> m_values;
};

NS_CC_END
