// What the rules ask of the in-game screen: to show a spell's effect and say when
// it has played. The game screen implements it (through the hub's GameScreen);
// headless games use the null or the recording version.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "player/AnimateSpellEvent.h"
#include "player/GameLife.h"

class Player;

// Called by the screen when a spell effect has played. It acts once, and only
// while the game it belongs to is alive; a call after that is dropped.
class SpellCompletion {
 public:
  SpellCompletion() = default;
  SpellCompletion(GameToken token, std::function<void()> fn)
      : token_(std::move(token)), fn_(std::make_shared<std::function<void()>>(std::move(fn))) {}

  bool alive() const { return fn_ && *fn_ && token_.alive(); }
  // Runs the call-back; returns false when it was dropped. Copies share the
  // one call-back, so it runs once whichever copy is called.
  bool operator()() const;

 private:
  GameToken token_;
  std::shared_ptr<std::function<void()>> fn_;
};

class SpellEffects {
 public:
  virtual ~SpellEffects() = default;
  // Plays the effect of the record; `done` is called once, when it has played.
  // The spell changes the game only in `done`.
  virtual void showSpellEffect(const AnimateSpellEvent& record, Player& caller,
                               SpellCompletion done) = 0;
};

// Shows nothing; every effect is over at once.
class NullSpellEffects : public SpellEffects {
 public:
  void showSpellEffect(const AnimateSpellEvent&, Player&, SpellCompletion done) override {
    done();
  }
};

// Remembers every effect, in order. Completions run on the next tick(), or at
// once when runAtOnce is set; both give the same game.
class RecordingSpellEffects : public SpellEffects {
 public:
  struct Shown {
    AnimateSpellEvent record;
    Player* caller = nullptr;
  };

  explicit RecordingSpellEffects(bool runAtOnce = false) : runAtOnce_(runAtOnce) {}

  void showSpellEffect(const AnimateSpellEvent& record, Player& caller,
                       SpellCompletion done) override;

  // Runs the completions pending before this call; those they queue wait for
  // the next tick. Returns how many ran.
  std::size_t tick();
  // Ticks until nothing is pending, at most `maxTicks` times.
  std::size_t runAll(std::size_t maxTicks = 10000);

  std::size_t pending() const { return pending_.size(); }
  const std::vector<Shown>& shown() const { return shown_; }
  // Forgets the effects seen so far (pending completions stay).
  void clear() { shown_.clear(); }

 private:
  bool runAtOnce_;
  std::vector<Shown> shown_;
  std::vector<SpellCompletion> pending_;
};
