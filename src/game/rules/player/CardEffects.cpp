// Player: what every spell and crew card does to the board it acts on.
#include "Board.h"
#include "CardTable.h"
#include "GameContext.h"
#include "logog/logog.hpp"
#include "player/Player.h"

namespace {

// Hardened: the hit only takes the hardening. Otherwise damage, then fire when
// `ignites` says so.
template <typename Ignites>
void strike(BoardElem& e, Ignites ignites) {
  if (e.isHardened()) {
    e.damage();
    return;
  }
  e.damage();
  if (ignites()) e.ignite();
}

}  // namespace

void Player::applyBeforeShow(AnimateSpellEvent& record) {
  if (!record.active || context_->lacksAuthority()) return;
  switch (record.card) {
    case CardId::Flood:
      for (BoardElem* e : record.hits()) e->setWaterLevel(e->waterLevel() + Board::kFloodWater);
      break;
    case CardId::Rain:
      for (BoardElem* e : record.targets)
        if (e) e->setWaterLevel(e->waterLevel() + Board::kRainWater);
      break;
    case CardId::Fire:
      for (BoardElem* e : record.targets) {
        if (!e) continue;
        if (!e->isHardened())
          e->ignite();
        else
          e->damage();
      }
      break;
    case CardId::Eye:
      for (BoardElem* e : record.targets)
        if (e) e->reveal();
      break;
    case CardId::DoorBreaker: {
      bool anyDoors = false;
      for (BoardElem* e : record.targets) {
        if (!e) continue;
        anyDoors = anyDoors || e->hasDoors();
        e->breakDoors();
      }
      if (!anyDoors) record.animate = false;
      break;
    }
    default:
      break;
  }
}

void Player::castSpell(AnimateSpellEvent& record) {
  if (!record.active || context_->lacksAuthority()) return;
  const CardRecord* card = CardTable::getCard(record.card);
  if (!card) return;
  LOGOG_INFO("%s casting %s. target #: %d", record.caster ? record.caster->displayName() : "?",
             card->key, static_cast<int>(record.targets.size()));
  Rng& rng = context_->rng();
  PlayerSession& game = session();
  Board* board = record.target ? record.target->board() : nullptr;
  const std::vector<BoardElem*> hits = record.hits();

  switch (record.card) {
    case CardId::Fireball:
      for (BoardElem* e : hits)
        strike(*e, [&] { return game.tutorialRunning() || rng.coin(); });
      break;
    case CardId::Rats:
      for (BoardElem* e : hits) e->ratsAttack();
      break;
    case CardId::Earthquake:
      if (board) board->earthquake();
      break;
    case CardId::Lightning:
      for (BoardElem* e : hits) {
        const BoardElem* above = e->getUpper();
        if (above && above->kind() == ElemKind::Dome)
          e->destroyDomeAbove();
        else
          strike(*e, [&] { return rng.coin(); });
      }
      break;
    case CardId::Ray:
      for (BoardElem* e : hits)
        if (game.sandbox() || rng.coin()) e->damage();
      break;
    case CardId::Flood:
    case CardId::Rain:
      if (board) board->updateWater(true);
      break;
    case CardId::Collapse:
      for (BoardElem* e : hits) e->setKind(ElemKind::Empty);
      break;
    case CardId::Disturbance:
      for (BoardElem* e : hits) {
        e->reveal();
        if ((game.sandbox() || rng.coin()) && e->isBlock() && e->room() == RoomType::Crystal)
          e->explode();
      }
      break;
    case CardId::Dynamite:
      for (BoardElem* e : hits) {
        if (e->hasFence())
          e->removeFence();
        else
          e->damage();
      }
      break;
    case CardId::Tunnelers:
      for (BoardElem* e : hits) e->tunnel();
      break;
    case CardId::Repairers:
      for (BoardElem* e : hits) e->repair();
      break;
    case CardId::Firefighters:
      for (BoardElem* e : hits) e->extinguish();
      break;
    case CardId::Movers:
      if (hits.size() < 2) {
        LOGOG_ERROR("%s: movers need two targets, got %d", card->key,
                    static_cast<int>(hits.size()));
        break;
      }
      BoardElem::moveRoom(*hits[0], *hits[1]);
      break;
    case CardId::Pumpers:
      for (BoardElem* e : hits) e->pump();
      break;
    case CardId::Deratizers:
      for (BoardElem* e : hits) e->setRatTrap();
      break;
    default:
      break;  // FIRE, EYE and DOORBREAKER acted before their effect was shown
  }
}
