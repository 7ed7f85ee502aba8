#include "ports/Rng.h"

int DefaultRng::next() {
  state_ += 0x9E3779B97F4A7C15ull;
  uint64_t z = state_;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  z ^= z >> 31;
  return static_cast<int>(z >> 33);
}

int SequenceRng::next() {
  ++drawn_;
  if (values_.empty()) return 0;
  int v = values_[pos_];
  pos_ = (pos_ + 1) % values_.size();
  return v < 0 ? 0 : v;
}

