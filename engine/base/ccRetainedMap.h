#pragma once

#include "ccMacros.h"

NS_CC_BEGIN

// Helpers for the caches: maps whose values are objects the map holds a reference to.

// Releases and erases every entry pick(entry) chooses; returns how many went.
template <class Map, class Pick>
unsigned int ccReleaseEntriesIf(Map& entries, Pick pick) {
  unsigned int n = 0;
  for (auto it = entries.begin(); it != entries.end();) {
    if (pick(*it)) {
      it->second->release();
      it = entries.erase(it);
      ++n;
    } else {
      ++it;
    }
  }
  return n;
}

// Releases and erases the entry under key; false when there is none.
template <class Map, class Key>
bool ccReleaseEntry(Map& entries, const Key& key) {
  auto it = entries.find(key);
  if (it == entries.end()) return false;
  it->second->release();
  entries.erase(it);
  return true;
}

NS_CC_END
