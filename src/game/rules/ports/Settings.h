// User settings as the rules see them: boolean and string keys.
#pragma once

#include <map>
#include <string>

class Settings {
 public:
  virtual ~Settings() = default;
  virtual bool getBool(const std::string& key, bool fallback = false) const = 0;
  virtual void setBool(const std::string& key, bool value) = 0;
  virtual std::string getString(const std::string& key, const std::string& fallback = "") const = 0;
  virtual void setString(const std::string& key, const std::string& value) = 0;
  // Writes pending changes to wherever the settings live.
  virtual void flush() = 0;
};

// Settings kept in memory only; counts flushes so tests can see them.
class MemorySettings : public Settings {
 public:
  bool getBool(const std::string& key, bool fallback = false) const override;
  void setBool(const std::string& key, bool value) override;
  std::string getString(const std::string& key, const std::string& fallback = "") const override;
  void setString(const std::string& key, const std::string& value) override;
  void flush() override { ++flushCount_; }
  int flushCount() const { return flushCount_; }

 private:
  std::map<std::string, bool> bools_;
  std::map<std::string, std::string> strings_;
  int flushCount_ = 0;
};

