#include "ports/SpellEffects.h"

#include "logog/logog.hpp"

bool SpellCompletion::operator()() const {
  if (!fn_ || !*fn_) return false;
  if (!token_.alive()) {
    LOGOG_INFO("spell effect finished after its game ended: dropped");
    *fn_ = nullptr;
    return false;
  }
  std::function<void()> fn = std::move(*fn_);
  *fn_ = nullptr;
  fn();
  return true;
}

void RecordingSpellEffects::showSpellEffect(const AnimateSpellEvent& record, Player& caller,
                                            SpellCompletion done) {
  shown_.push_back({record, &caller});
  if (runAtOnce_)
    done();
  else
    pending_.push_back(std::move(done));
}

std::size_t RecordingSpellEffects::tick() {
  std::vector<SpellCompletion> now;
  now.swap(pending_);
  for (const SpellCompletion& c : now) c();
  return now.size();
}

std::size_t RecordingSpellEffects::runAll(std::size_t maxTicks) {
  std::size_t ran = 0;
  for (std::size_t i = 0; i < maxTicks && !pending_.empty(); ++i) ran += tick();
  return ran;
}
