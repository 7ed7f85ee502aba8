#include "SimGame.h"

#include <cstring>

#include "Board.h"
#include "BoardElem.h"
#include "EventDispatcher.h"
#include "GameContext.h"
#include "Invariants.h"
#include "LocalBot.h"
#include "TutorialBot.h"
#include "game/GameSession.h"
#include "player/Player.h"
#include "GameScreen.h"

namespace {

// Effects are over at once; the end of the game is remembered.
class SimScreen : public NullGameScreen {
 public:
  void showGameEnded(const std::string& text, GameResult) override { ended = text; }
  std::string ended;
};

class Digest {
 public:
  void add(uint64_t v) {
    for (int i = 0; i < 8; ++i) {
      h_ ^= (v >> (8 * i)) & 0xff;
      h_ *= 0x100000001b3ULL;
    }
  }
  void addFloat(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    add(bits);
  }
  uint64_t value() const { return h_; }

 private:
  uint64_t h_ = 0xcbf29ce484222325ULL;
};

void addBoard(Digest& d, const Board& board) {
  board.forEachElem([&](const BoardElem& e) {
    d.add(static_cast<uint64_t>(e.kind()) | static_cast<uint64_t>(e.room()) << 8 |
          static_cast<uint64_t>(static_cast<uint32_t>(e.roomPower())) << 16);
    const uint64_t flags = e.isDamaged() | e.isHardened() << 1 | e.hasLevitron() << 2 |
                           e.hasDoors() << 3 | e.isBurning() << 4 | e.hasFence() << 5 |
                           e.isRevealed() << 6 | e.isDeratized() << 7 | e.isBurntOut() << 8;
    d.add(flags);
    d.addFloat(e.waterLevel());
    d.add(e.storedCards().size());
    for (const auto& s : e.storedCards())
      d.add(static_cast<uint32_t>(s.first) | static_cast<uint64_t>(s.second) << 32);
  });
}

void addPlayer(Digest& d, const Player& p) {
  d.add(static_cast<uint32_t>(p.mana()));
  d.add(static_cast<uint32_t>(p.dwarves()));
  d.add(static_cast<uint32_t>(p.state()));
  if (p.board()) addBoard(d, *p.board());
}

// Everything that moves in a game, for telling a stalled one.
uint64_t progressKey(const GameSession& game) {
  Digest d;
  d.add(static_cast<uint32_t>(game.turn()));
  for (const Player* p : {game.localPlayer(), game.enemyPlayer()}) {
    if (!p) continue;
    d.add(static_cast<uint32_t>(p->state()));
    d.add(p->cards().size());
    d.add(p->chosenTargets().size());
    d.add(p->spellQueue().size());
    d.add(static_cast<uint32_t>(p->mana()));
    d.add(static_cast<uint32_t>(p->dwarves()));
    if (p->board()) d.add(static_cast<uint32_t>(p->board()->blockCount()));
  }
  return d.value();
}

uint64_t mix64(uint64_t x) {
  x += 0x9e3779b97f4a7c15ULL;
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
  return x ^ (x >> 31);
}

}  // namespace

uint32_t gameSeed(uint32_t seed, int index) {
  return static_cast<uint32_t>(mix64(static_cast<uint64_t>(seed) << 32 | static_cast<uint32_t>(index)));
}

SimResult playGame(const std::string& modeId, uint32_t seed, int index, const SimOptions& options) {
  SimResult result;
  const uint32_t mySeed = gameSeed(seed, index);
  SimScreen screen;  // outlives the context, whose game may still show on it
  GameContext ctx(mySeed);
  EventDispatcher hub(ctx);
  hub.setScreen(&screen);
  LocalBot bot(hub, mySeed ^ 0x5bd1e995u);
  const bool tutorial = modeId == "tutorial";
  TutorialBot tutor(hub, mySeed ^ 0x5bd1e995u);
  GameSession& game = ctx.game();

  if (!hub.startSingleGame(modeId)) {
    result.brokenInvariants = 1;
    result.firstBroken = "the game did not start";
    return result;
  }
  if (options.watcher) options.watcher->started(ctx);
  uint64_t lastKey = progressKey(game);
  long lastMove = 0;
  for (;;) {
    hub.update(1.0f / 60.0f);
    if (game.started()) tutorial ? tutor.step() : bot.step();
    ++result.frames;
    if (options.watcher) options.watcher->frame(ctx);
    if (options.checkInvariants) {
      const std::string broken = checkInvariants(game);
      if (!broken.empty()) {
        if (result.brokenInvariants++ == 0)
          result.firstBroken = "turn " + std::to_string(game.turn()) + ": " + broken;
      }
    }
    if (!game.started()) {
      if (screen.ended == "YOU_WIN")
        result.end = SimResult::End::Won;
      else if (screen.ended == "YOU_LOSE")
        result.end = SimResult::End::Lost;
      else if (screen.ended == "DRAW")
        result.end = SimResult::End::Draw;
      break;
    }
    if (game.turn() >= options.maxTurns) {
      result.end = SimResult::End::TurnCap;
      break;
    }
    const uint64_t key = progressKey(game);
    if (key != lastKey) {
      lastKey = key;
      lastMove = result.frames;
    } else if (result.frames - lastMove > options.stallFrames) {
      result.end = SimResult::End::Stalled;
      break;
    }
  }
  if (options.watcher) options.watcher->ended(ctx);
  result.turn = game.turn();
  result.completed = tutorial && tutor.completed();

  Digest d;
  d.add(static_cast<uint32_t>(result.end));
  d.add(static_cast<uint32_t>(result.turn));
  if (game.localPlayer()) addPlayer(d, *game.localPlayer());
  if (game.enemyPlayer()) addPlayer(d, *game.enemyPlayer());
  result.digest = d.value();
  return result;
}
