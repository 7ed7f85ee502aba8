#include "ports/PlayerEvents.h"

#include "logog/logog.hpp"
#include "player/AnimateSpellEvent.h"
#include "player/Player.h"

void PlayerEvents::reportOutOfSync(Player& player) {
  LOGOG_ERROR("%s out of sync", player.displayName());
}

void RecordingPlayerEvents::add(const char* what, Player* p, const BoardElem* e, int from, int to,
                                std::string text) {
  Call c;
  c.what = what;
  c.player = p;
  c.elem = e;
  c.from = from;
  c.to = to;
  c.text = std::move(text);
  calls_.push_back(std::move(c));
}

void RecordingPlayerEvents::switchPlayerState(Player& p, PlayerState oldState,
                                              PlayerState newState) {
  add("switchPlayerState", &p, nullptr, static_cast<int>(oldState), static_cast<int>(newState));
}

void RecordingPlayerEvents::reportOutOfSync(Player& p) {
  PlayerEvents::reportOutOfSync(p);
  add("reportOutOfSync", &p);
}

void RecordingPlayerEvents::onPlayerCountersChanged(Player& p) {
  add("onPlayerCountersChanged", &p);
}

void RecordingPlayerEvents::onCardListDealt(Player& p) { add("onCardListDealt", &p); }

void RecordingPlayerEvents::showPlayerMessage(Player& p, const std::string& text) {
  add("showPlayerMessage", &p, nullptr, -1, -1, text);
}

void RecordingPlayerEvents::forwardSpellAnimation(Player& p, const AnimateSpellEvent& record) {
  add("forwardSpellAnimation", &p, nullptr, record.card);
}

void RecordingPlayerEvents::playerSpellQueueProcessedAnim(Player& p) {
  add("playerSpellQueueProcessedAnim", &p);
}

void RecordingPlayerEvents::elemCall(const char* what, BoardElem& e) { add(what, nullptr, &e); }

std::vector<RecordingPlayerEvents::Call> RecordingPlayerEvents::callsOf(
    const std::string& what) const {
  std::vector<Call> out;
  for (const Call& c : calls_)
    if (c.what == what) out.push_back(c);
  return out;
}
