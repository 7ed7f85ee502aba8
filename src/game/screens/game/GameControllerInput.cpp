// The game screen's buttons of the selection bar and of the dialogs: a card or a spell
// picked goes to the hub (a locked card opens its dialog), the dialogs' buttons to the
// dialogs part.
#include "CardTable.h"
#include "EventDispatcher.h"
#include "GameContext.h"
#include "GameController.h"
#include "game/GameSession.h"
#include "logog/logog.hpp"
#include "player/Player.h"

using namespace cocos2d;

void GameController::screenEntered() {
  effects_->resumeEffects();
  invalidate();
}

// ---- Buttons of the bar -------------------------------------------------------------------------

void GameController::onCard(CCObject* sender) {
  if (CCNode* button = dynamic_cast<CCNode*>(sender)) pickCard(button->getTag());
}

void GameController::pickCard(int id) {
  if (!CardTable::isShieldLocked(id, hub().context())) {
    hub_->selectCard(id);
    return;
  }
  dialogs_.showLockedCard(id);
}

void GameController::onSpell(CCObject* sender) {
  CCNode* button = dynamic_cast<CCNode*>(sender);
  if (button) selectSpellEntry(button->getTag());
}

void GameController::selectSpellEntry(int index) {
  const std::vector<StoredCard>& spellList = bar_.spells();
  const int count = static_cast<int>(spellList.size());
  const int card = index >= 0 && index < count ? spellList[index].first : -1;
  LOGOG_INFO("selecting spell, idx: %d of %d, spell: %d", index, count, card);
  if (card < 0) return;
  Player* local = hub_->game().localPlayer();
  hub_->selectSpell(card, spellList[index].second, local ? local->spellTargetFor(card) : nullptr);
}

// ---- The like dialog, the locked card's notice and the in-game menu ---------------------------------

void GameController::onNotification(CCObject*) { dialogs_.showShieldDialog(); }

void GameController::onFblikeOk(CCObject*) {
  if (dialogs_.acceptLike()) showMessage(text("THANKS_FOR_LIKING"), "");
  // The card shows unlocked now.
  invalidate();
}

void GameController::onFblikeCancel(CCObject*) { dialogs_.hideLikeDialog(false); }

void GameController::onMenu(CCObject*) { dialogs_.toggleMenu(); }

void GameController::onMenuReturnToGame(CCObject*) { dialogs_.closeMenu(); }

void GameController::onMenuExitToMenu(CCObject*) {
  dialogs_.closeMenu();
  hub_->exitToMenu();
}

void GameController::onMenuGameMusic(CCObject*) { dialogs_.toggleMusic(); }

void GameController::onMenuRoomZoomIn(CCObject*) { dialogs_.toggleRoomZoomIn(); }

void GameController::onMenuAlwaysShowOurTower(CCObject*) { dialogs_.toggleAlwaysShowOurTower(); }
