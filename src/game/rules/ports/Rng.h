// Random numbers for the rules. Behaves like C rand(): next() gives 0..kMax.
// Every context has its own generator, so seeded games repeat exactly on any
// machine and thread.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <vector>

class Rng {
 public:
  static constexpr int kMax = 0x7fffffff;

  virtual ~Rng() = default;
  virtual void seed(uint32_t seed) = 0;
  // A value in 0..kMax.
  virtual int next() = 0;
  // The game's coin toss.
  bool coin() { return next() % 2 == 0; }
};

static_assert(RAND_MAX == Rng::kMax, "Rng is meant to span the same range as rand()");

// A small deterministic generator (splitmix64, top 31 bits).
class DefaultRng : public Rng {
 public:
  explicit DefaultRng(uint32_t seed = 1) { DefaultRng::seed(seed); }
  void seed(uint32_t seed) override { state_ = seed; }
  int next() override;

 private:
  uint64_t state_ = 0;
};

// Hands out a fixed list of values in turn, starting over at the end; for tests
// that need particular draws or coin tosses. An empty list gives 0.
class SequenceRng : public Rng {
 public:
  SequenceRng() = default;
  explicit SequenceRng(std::vector<int> values) : values_(std::move(values)) {}
  void seed(uint32_t) override { pos_ = 0; }
  int next() override;
  void setValues(std::vector<int> values) {
    values_ = std::move(values);
    pos_ = 0;
  }
  int drawn() const { return drawn_; }

 private:
  std::vector<int> values_;
  size_t pos_ = 0;
  int drawn_ = 0;
};

