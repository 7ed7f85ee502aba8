// The life of one running game. Call-backs that may run after the game is gone
// (spell effects finishing on the screen) hold a token and are dropped once the
// life has ended.
#pragma once

#include <memory>
#include <vector>

class GameToken {
 public:
  // A token of nothing: never alive.
  GameToken() = default;
  explicit GameToken(std::weak_ptr<const char> flag) { flags_.push_back(std::move(flag)); }

  // Alive while every life it names is.
  bool alive() const {
    if (flags_.empty()) return false;
    for (const auto& f : flags_)
      if (f.expired()) return false;
    return true;
  }
  // A token alive only while both this one and `other` are.
  GameToken with(const GameToken& other) const {
    GameToken t = *this;
    t.flags_.insert(t.flags_.end(), other.flags_.begin(), other.flags_.end());
    return t;
  }

 private:
  std::vector<std::weak_ptr<const char>> flags_;
};

class GameLife {
 public:
  GameLife() : flag_(std::make_shared<const char>(0)) {}
  GameLife(const GameLife&) = delete;
  GameLife& operator=(const GameLife&) = delete;

  GameToken token() const { return flag_ ? GameToken(flag_) : GameToken(); }
  bool alive() const { return flag_ != nullptr; }
  // Every token handed out so far expires.
  void end() { flag_.reset(); }
  // A new life for the next game; old tokens stay expired.
  void restart() { flag_ = std::make_shared<const char>(0); }

 private:
  std::shared_ptr<const char> flag_;
};
