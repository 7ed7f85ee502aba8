// Everything the rules reach outside themselves: settings, randomness, texts,
// the board observer, and whether this machine runs the rules at all.
// The game has one default context; tests and the simulator make their own.
#pragma once

#include <cstdint>
#include <memory>

#include "player/PlayerSession.h"
#include "ports/GameHub.h"
#include "ports/MatchLink.h"
#include "ports/BoardObserver.h"
#include "ports/PlayerEvents.h"
#include "ports/Rng.h"
#include "ports/Settings.h"
#include "ports/SpellEffects.h"
#include "ports/TextLookup.h"

class GameSession;

class GameContext {
 public:
  // A fresh context: in-memory settings, keys as texts, no observer, and its
  // own generator seeded with `seed`.
  explicit GameContext(uint32_t seed = 1);
  ~GameContext();
  GameContext(const GameContext&) = delete;
  GameContext& operator=(const GameContext&) = delete;

  // The process-wide context; its generator is seeded once with the time.
  static GameContext& defaultContext();

  // Ports. Setting null goes back to the context's own stand-in.
  Settings& settings() const { return *settings_; }
  void setSettings(Settings* settings) { settings_ = settings ? settings : &ownSettings_; }
  Rng& rng() const { return *rng_; }
  void setRng(Rng* rng) { rng_ = rng ? rng : &ownRng_; }
  void seed(uint32_t seed) { rng_->seed(seed); }
  const TextLookup& text() const { return *text_; }
  void setTextLookup(const TextLookup* text) { text_ = text ? text : &ownText_; }
  // Where the boards report: the observer (the hub), then every watcher.
  BoardObserver& observer() const { return boardEvents_; }
  void setObserver(BoardObserver* observer) { boardEvents_.setFirst(observer ? *observer : nullObserver_); }
  bool isObserver(const BoardObserver* observer) const { return &boardEvents_.first() == observer; }
  // Watchers hear the same as the observer, after it; each is removed before it goes.
  void addWatcher(BoardObserver& watcher) { boardEvents_.addWatcher(watcher); }
  void removeWatcher(BoardObserver& watcher) { boardEvents_.removeWatcher(watcher); }

  // Online and not hosting: this machine only mirrors the host, so the rule
  // operations that change boards and players return at once.
  bool lacksAuthority() const { return onlineNotHosting_; }
  void setOnlineNotHosting(bool value) { onlineNotHosting_ = value; }

  // The players' side: the hub they report to, the screen that shows spell
  // effects, and the game they belong to. Null goes back to the stand-ins.
  PlayerEvents& playerEvents() const { return *playerEvents_; }
  void setPlayerEvents(PlayerEvents* e) { playerEvents_ = e ? e : &nullPlayerEvents_; }
  SpellEffects& spellEffects() const { return *spellEffects_; }
  void setSpellEffects(SpellEffects* s) { spellEffects_ = s ? s : &nullSpellEffects_; }
  // The players' game is the context's running game unless a test sets another.
  PlayerSession& session() const { return *session_; }
  void setSession(PlayerSession* s);

  // The running game of this context, its hub and its link to the match.
  GameSession& game() const { return *game_; }
  GameHub& hub() const { return *hub_; }
  void setHub(GameHub* h) { hub_ = h ? h : &nullHub_; }
  MatchLink& matchLink() const { return *matchLink_; }
  void setMatchLink(MatchLink* m) { matchLink_ = m ? m : &nullMatchLink_; }

 private:
  MemorySettings ownSettings_;
  DefaultRng ownRng_;
  KeyTextLookup ownText_;
  mutable BoardObserver nullObserver_;

  Settings* settings_ = &ownSettings_;
  Rng* rng_ = &ownRng_;
  const TextLookup* text_ = &ownText_;
  mutable BoardObserverFan boardEvents_{nullObserver_};
  bool onlineNotHosting_ = false;
  mutable NullPlayerEvents nullPlayerEvents_;
  mutable NullSpellEffects nullSpellEffects_;
  mutable NullGameHub nullHub_;
  mutable NullMatchLink nullMatchLink_;
  PlayerEvents* playerEvents_ = &nullPlayerEvents_;
  SpellEffects* spellEffects_ = &nullSpellEffects_;
  GameHub* hub_ = &nullHub_;
  MatchLink* matchLink_ = &nullMatchLink_;
  // Made last and freed first: its players and boards still use the ports.
  std::unique_ptr<GameSession> game_;
  PlayerSession* session_ = nullptr;
};
