#include "MatchDigest.h"

#include <cstdint>
#include <cstring>
#include <sstream>

#include "Board.h"
#include "BoardElem.h"
#include "game/GameSession.h"
#include "player/Player.h"

namespace digest {

namespace {

std::string coords(const std::vector<BoardElem*>& list) {
  std::ostringstream o;
  for (const BoardElem* e : list) o << (e ? std::to_string(e->x()) + "," + std::to_string(e->y()) : "null") << ' ';
  return o.str();
}

std::string elem(const BoardElem& e) {
  uint32_t water;
  const float w = e.waterLevel();
  std::memcpy(&water, &w, sizeof water);
  std::ostringstream o;
  o << e.x() << ',' << e.y() << " k" << static_cast<int>(e.kind()) << " r" << static_cast<int>(e.room()) << '/'
    << e.roomPower() << " s";
  for (const auto& c : e.storedCards()) o << c.first << ':' << c.second << ';';
  o << " f" << e.isDamaged() << e.isHardened() << e.hasLevitron() << e.hasDoors() << e.isBurning() << e.hasFence()
    << e.isRevealed() << e.isDeratized() << e.isUnderground() << e.isInPlay() << " w" << water;
  return o.str();
}

}  // namespace

std::string board(const Board* b) {
  if (!b) return "no board";
  std::ostringstream o;
  o << "blocks " << b->blockCount() << " burning " << b->burningCount() << '\n';
  for (int x = 0; x < Board::kSize; ++x)
    for (int y = 0; y < Board::kSize; ++y) {
      const BoardElem* e = b->cellAt(x, y);
      o << (e ? elem(*e) : "-") << '\n';
    }
  return o.str();
}

std::string player(const Player* p, bool full, bool withState, bool withCards) {
  if (!p) return "no player";
  std::ostringstream o;
  o << "mana " << p->mana() << " dwarves " << p->dwarves();
  if (withCards) {
    o << " cards";
    for (int c : p->cards()) o << ' ' << c;
  }
  if (withState) o << " state " << stateName(p->state());
  if (full) {
    o << " selected " << p->selectedCard() << " spell " << p->selectedSpell().first << '/'
      << p->selectedSpell().second << " options " << coords(p->options()) << " targets "
      << coords(p->chosenTargets()) << " spells";
    for (const auto& s : p->spellOptions()) o << ' ' << s.first << '/' << s.second;
    o << " queue";
    for (const AnimateSpellEvent& e : p->spellQueue())
      o << ' ' << e.card << '/' << e.power << '[' << coords(e.targets) << ']';
  }
  return o.str();
}

std::string firstDifference(const std::string& a, const std::string& b) {
  std::istringstream as(a), bs(b);
  std::string la, lb;
  for (;;) {
    const bool ga = static_cast<bool>(std::getline(as, la)), gb = static_cast<bool>(std::getline(bs, lb));
    if (!ga && !gb) return "";
    if (!ga || !gb || la != lb) return (ga ? la : "(end)") + "  vs  " + (gb ? lb : "(end)");
  }
}

std::string hostView(GameSession& g) {
  Player* own = g.localPlayer();
  Player* other = g.enemyPlayer();
  return player(own, true, true) + "\n" + player(other, false, false) + "\n" + board(own ? own->board() : nullptr) +
         board(other ? other->board() : nullptr);
}

std::string joinView(GameSession& g) {
  Player* host = g.enemyPlayer();
  Player* own = g.localPlayer();
  return player(host, true, true) + "\n" + player(own, false, false) + "\n" + board(host ? host->board() : nullptr) +
         board(own ? own->board() : nullptr);
}

}  // namespace digest
