// Player: the spell queue, payment, automatic targets and shield reflection.
#include <memory>

#include "Board.h"
#include "CardTable.h"
#include "GameContext.h"
#include "logog/logog.hpp"
#include "player/Player.h"

namespace {

void addTarget(std::vector<BoardElem*>& targets, BoardElem* e) {
  if (e) targets.push_back(e);  // a pick that finds nothing adds nothing
}

bool hasWorkingShield(const BoardElem* e) {
  return e && e->isWorking() && e->room() == RoomType::Shield;
}

}  // namespace

void Player::pay(int mana, int dwarves) {
  mana_ -= mana;
  dwarves_ -= dwarves;
  if (mana_ < 0 || dwarves_ < 0) LOGOG_ERROR("%s have NEGATIVE mana or dwarves", displayName());
  events().onPlayerCountersChanged(*this);
}

void Player::queueSpell(int cardId, int power, Player* targetPlayer,
                        std::vector<BoardElem*> targets) {
  const CardRecord* card = CardTable::getCard(cardId);
  if (!card) return;
  AnimateSpellEvent record;
  record.caster = this;
  record.target = targetPlayer;
  record.card = cardId;
  record.power = power;
  record.targets = std::move(targets);

  if (Board* b = targetPlayer ? targetPlayer->board() : nullptr) {
    switch (cardId) {
      case CardId::Fireball:
        if (session().tutorialRunning())
          addTarget(record.targets, b->cellAt(Board::kCentre, Board::kCentre));
        else
          addTarget(record.targets, b->randomBlock(true, false, true, true));
        break;
      case CardId::Rats:
        addTarget(record.targets, b->randomBlock(false, true, true, true));
        break;
      case CardId::Earthquake:
        addTarget(record.targets, b->cellAt(Board::kCentre, Board::kCentre));
        break;
      case CardId::Lightning:
        addTarget(record.targets, b->randomTopBlock());
        break;
      case CardId::Rain:
        for (BoardElem* e : b->hallTopCells()) addTarget(record.targets, e);
        break;
      case CardId::Fire:
        addTarget(record.targets, b->randomBlock(true, true, false, false));
        break;
      case CardId::Disturbance:
        addTarget(record.targets, b->randomCrystalBlock());
        break;
      case CardId::Dynamite:
        addTarget(record.targets, b->randomGroundBlock());
        break;
      default:
        break;  // the player picked the targets
    }
  }
  spellQueue_.push_back(std::move(record));
  pay(card->manaCost, card->dwarvesCost);
}

bool Player::reflectOffShields(AnimateSpellEvent& record, AnimateSpellEvent& reflection) {
  if (!record.active) return false;
  reflection = AnimateSpellEvent();
  reflection.caster = record.target;
  reflection.target = record.caster;
  reflection.card = record.card;
  reflection.power = record.power;
  reflection.reflected = true;
  reflection.active = !record.reflected;  // turned back at most once

  Board* back = reflection.target ? reflection.target->board() : nullptr;
  const std::vector<BoardElem*> targets = record.targets;
  for (BoardElem* e : targets) {
    if (!hasWorkingShield(e)) continue;
    BoardElem* hit = nullptr;
    switch (record.card) {
      case CardId::Fireball:
      case CardId::Ray:
        if (back) hit = back->randomBlock(true, false, true, true);
        break;
      case CardId::Rats:
      case CardId::Flood:
      case CardId::Collapse:
        if (back) hit = back->randomBlock(false, true, true, true);
        break;
      case CardId::Lightning: {
        const BoardElem* above = e->getUpper();
        if (above && above->kind() == ElemKind::Dome) continue;
        if (back) hit = back->randomTopBlock();
        break;
      }
      default:
        continue;  // shields turn back nothing else
    }
    e->reveal();
    if (!record.isSpared(e)) record.spared.push_back(e);
    addTarget(reflection.targets, hit);
  }
  return !reflection.targets.empty();
}

void Player::processSpellQueue() {
  if (spellQueue_.empty()) {
    casting_ = false;
    events().playerSpellQueueProcessedAnim(*this);
    return;
  }
  casting_ = true;
  auto record = std::make_shared<AnimateSpellEvent>(std::move(spellQueue_.front()));
  spellQueue_.pop_front();
  lastSpellCard_ = record->card;
  lastSpellPower_ = record->power;

  AnimateSpellEvent reflection;
  const bool reflects = reflectOffShields(*record, reflection);
  applyBeforeShow(*record);
  events().forwardSpellAnimation(*this, *record);
  if (reflects) spellQueue_.push_back(std::move(reflection));

  const bool shown = !record->shownOnlyToCaster() || (record->caster && record->caster->isLocal());
  if (record->animate && shown) {
    SpellCompletion done(session().gameToken().with(life_.token()),
                         [this, record] { castFromQueue(*record); });
    context_->spellEffects().showSpellEffect(*record, *this, std::move(done));
  } else {
    castFromQueue(*record);
  }
}

void Player::castFromQueue(AnimateSpellEvent& record) {
  castSpell(record);
  processSpellQueue();
}
