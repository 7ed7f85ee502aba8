#include "ports/Settings.h"

bool MemorySettings::getBool(const std::string& key, bool fallback) const {
  auto it = bools_.find(key);
  return it == bools_.end() ? fallback : it->second;
}

void MemorySettings::setBool(const std::string& key, bool value) { bools_[key] = value; }

std::string MemorySettings::getString(const std::string& key, const std::string& fallback) const {
  auto it = strings_.find(key);
  return it == strings_.end() ? fallback : it->second;
}

void MemorySettings::setString(const std::string& key, const std::string& value) {
  strings_[key] = value;
}

