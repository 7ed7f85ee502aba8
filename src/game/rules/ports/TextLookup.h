// The language table as the rules see it. A key without text yields the key.
#pragma once

#include <map>
#include <string>

class TextLookup {
 public:
  virtual ~TextLookup() = default;
  virtual std::string text(const std::string& key) const = 0;
};

// Knows no texts: every key stands for itself.
class KeyTextLookup : public TextLookup {
 public:
  std::string text(const std::string& key) const override { return key; }
};

// A table filled in memory.
class MapTextLookup : public TextLookup {
 public:
  void set(const std::string& key, const std::string& value) { texts_[key] = value; }
  std::string text(const std::string& key) const override {
    auto it = texts_.find(key);
    return it == texts_.end() ? key : it->second;
  }

 private:
  std::map<std::string, std::string> texts_;
};

