// The selection bar (the cards to place, the spells and crews to cast), the like dialog
// that unlocks the shield, and the in-game menu with its three settings.
#include <algorithm>
#include <map>

#include "CCActionInterval.h"
#include "CCApplication.h"
#include "CCLabelBMFont.h"
#include "CCLayer.h"
#include "CCMenu.h"
#include "CCMenuItem.h"
#include "CCPointExtension.h"
#include "CCScale9Sprite.h"
#include "CCScrollView.h"
#include "CCSprite.h"
#include "CCSpriteFrameCache.h"
#include "CardTable.h"
#include "EventDispatcher.h"
#include "GameAudio.h"
#include "GameContext.h"
#include "GameController.h"
#include "LoadNode.h"
#include "NodeTree.h"
#include "QuadBatchNode.h"
#include "StoreController.h"
#include "game/GameDirector.h"
#include "game/GameSession.h"
#include "logog/logog.hpp"
#include "player/Player.h"

using namespace cocos2d;
using namespace cocos2d::extension;

namespace {

constexpr int kHeaderPanelTag = 1;
constexpr float kButtonGap = 10.0f;
constexpr float kBounce = 20.0f;
constexpr float kBounceSeconds = 0.5f;
constexpr int kShieldCard = CardId::Shield;
// Our page on the social network, which a like of the shield opens.
const char* const kSocialPageName = "mirrowvale";
const char* const kSocialPageId = "580315742269114";

const ccColor3B kLockedName = {255, 0, 0};

// One distinct card of a bar.
struct BarEntry {
  int id = 0;
  int count = 0;
  int firstIndex = 0;  // in the spell list
  bool forced = false;
  bool locked = false;
  bool operator==(const BarEntry& o) const {
    return id == o.id && count == o.count && firstIndex == o.firstIndex && forced == o.forced &&
           locked == o.locked;
  }
};

// Bounces a node for ever by (dx, dy) and back.
void bounce(CCNode* node, float dx, float dy) {
  if (!node) return;
  node->runAction(CCRepeatForever::create(static_cast<CCActionInterval*>(
      CCSequence::createWithTwoActions(CCMoveBy::create(kBounceSeconds, ccp(dx, dy)),
                                       CCMoveBy::create(kBounceSeconds, ccp(-dx, -dy))))));
}

void setFrame(CCSprite* sprite, const std::string& frameName) {
  if (!sprite) return;
  if (CCSpriteFrame* f = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(frameName.c_str()))
    sprite->setDisplayFrame(f);
  else
    LOGOG_WARN("GUI::no sprite frame %s", frameName.c_str());
}

void setItemImages(CCMenuItemImage* item, const char* normal, const char* pressed) {
  if (!item) return;
  CCSpriteFrameCache* cache = CCSpriteFrameCache::sharedSpriteFrameCache();
  if (CCSpriteFrame* f = cache->spriteFrameByName(normal)) item->setNormalSpriteFrame(f);
  if (CCSpriteFrame* f = cache->spriteFrameByName(pressed)) item->setSelectedSpriteFrame(f);
}

ccColor3B colourOf(int cardId) {
  const CardColor c = CardTable::cardColor(cardId);
  return ccc3(c.r, c.g, c.b);
}

std::string digitFor(int slot) {
  if (slot <= 9) return std::to_string(slot);
  return slot == 10 ? "0" : "";
}

}  // namespace

void GameController::screenEntered() {
  effects_->resumeEffects();
  if (Player* local = localPlayer()) showPhaseBar(static_cast<int>(local->state()));
}

// ---- The lists --------------------------------------------------------------------------------

void GameController::setCardList(const std::vector<int>& cards) {
  cardList = cards;
  if (Player* local = localPlayer()) showPhaseBar(static_cast<int>(local->state()));
}

void GameController::setSpellList(const std::vector<StoredCard>& spells) {
  spellList = spells;
  if (Player* local = localPlayer()) showPhaseBar(static_cast<int>(local->state()));
}

bool GameController::cardOrderLess(int a, int b) {
  if (a == CardId::Archmage || b == CardId::Archmage) return a == CardId::Archmage && b != CardId::Archmage;
  const CardRecord* ca = CardTable::getCard(a);
  const CardRecord* cb = CardTable::getCard(b);
  if (!ca || !cb) return a < b;
  if (ca->category != cb->category) return ca->category < cb->category;
  return a < b;
}

// ---- The bar ------------------------------------------------------------------------------------

namespace {

// The distinct cards of a bar in the bar's order, with their counts and, for spells, the
// first entry of each in the spell list.
std::vector<BarEntry> cardEntries(const std::vector<int>& cards) {
  std::map<int, BarEntry> byId;
  for (int id : cards) {
    BarEntry& e = byId[id];
    e.id = id;
    ++e.count;
  }
  std::vector<BarEntry> out;
  for (const auto& entry : byId) out.push_back(entry.second);
  std::sort(out.begin(), out.end(), [](const BarEntry& a, const BarEntry& b) {
    return GameController::cardOrderLess(a.id, b.id);
  });
  return out;
}

std::vector<BarEntry> spellEntries(const std::vector<GameScreen::StoredCard>& spells) {
  std::map<int, BarEntry> byId;
  for (int i = 0; i < static_cast<int>(spells.size()); ++i) {
    auto found = byId.find(spells[i].first);
    if (found == byId.end()) {
      BarEntry e;
      e.id = spells[i].first;
      e.firstIndex = i;
      found = byId.emplace(e.id, e).first;
    }
    ++found->second.count;
  }
  std::vector<BarEntry> out;
  for (const auto& entry : byId) out.push_back(entry.second);
  std::sort(out.begin(), out.end(), [](const BarEntry& a, const BarEntry& b) {
    return GameController::cardOrderLess(a.id, b.id);
  });
  return out;
}

}  // namespace

void GameController::showPhaseBar(int state) {
  std::string titleKey;
  bool cards = false;
  switch (static_cast<PlayerState>(state)) {
    case PlayerState::CardChoose:
      titleKey = "PLACE_PHASE";
      cards = true;
      break;
    case PlayerState::BuildChooseSpell:
      titleKey = "BUILD_PHASE";
      break;
    case PlayerState::CombatChooseSpell:
      titleKey = "COMBAT_PHASE";
      break;
    case PlayerState::RepairChooseSpell:
      titleKey = "REPAIR_PHASE";
      break;
    default:
      break;
  }
  if (!turnseq) return;
  // A button held down stays until it is let go: its click would be lost with it. Letting
  // go on it makes a choice, which lays the bar anew.
  bool held = false;
  mv::forEachNodeDeep(turnseq->getContainer(), [&held](CCNode* n) {
    if (CCMenu* menu = dynamic_cast<CCMenu*>(n)) held = held || menu->getState() == kCCMenuStateTrackingTouch;
  });
  if (held) return;
  CCNode* header = nullptr;
  if (!titleKey.empty())
    header = cards ? buildCardSelection(text(titleKey), cardList) : buildSpellSelection(text(titleKey), spellList);
  layBar(header);
}

CCNode* GameController::loadBarHeader(const std::string& title) {
  arrow_phaseend = nullptr;
  CCNode* header = mv::loadNode(kBarHeaderFile, this, false, false);
  if (!header) {
    LOGOG_ERROR("GUI::the selection bar's layout %s is missing", kBarHeaderFile);
    return nullptr;
  }
  if (sequencename) sequencename->setString(title.c_str());
  GameDirector* d = director();
  if (arrow_phaseend) {
    bounce(arrow_phaseend, 0, -kBounce);
    arrow_phaseend->setVisible(d && d->isTutorialRunning() && d->canEndPhase());
  }
  return header;
}

CCNode* GameController::loadBarButton(const char* file, CCNode* header, const CCPoint& at) {
  CCNode* button = mv::loadNode(file, this, false, false);
  if (!button) {
    LOGOG_ERROR("GUI::the selection bar's layout %s is missing", file);
    return nullptr;
  }
  header->addChild(button);
  button->setAnchorPoint(ccp(0.5f, 0.0f));
  button->setPosition(at);
  return button;
}

namespace {

// What a bar's build shares: the placeholder gives the place of the last button and the
// step between them; the name rises, and the panel grows, by the room the buttons take.
struct BarLayout {
  CCPoint at;
  float step = 0;
  float growth = 0;
  // After a button is placed at `at`: the next one goes a step lower.
  void advance() {
    growth += static_cast<float>(static_cast<int>(step));
    at.y -= step;
  }
};

BarLayout takePlaceholder(CCLayer* placeholder, int buttons) {
  BarLayout l;
  if (!placeholder) return l;
  const float height = placeholder->getContentSize().height;
  l.step = height + kButtonGap;
  l.growth = -static_cast<float>(static_cast<int>(height));
  l.at = ccpAdd(placeholder->getPosition(), ccp(0, (buttons - 1) * l.step));
  placeholder->removeFromParentAndCleanup(true);
  return l;
}

void finishHeader(CCNode* header, CCLabelBMFont* title, float growth) {
  if (title) title->setPositionY(title->getPositionY() + growth);
  CCSize size = header->getContentSize();
  size.height += growth;
  header->setContentSize(size);
  if (CCScale9Sprite* panel = dynamic_cast<CCScale9Sprite*>(header->getChildByTag(kHeaderPanelTag)))
    panel->setPreferredSize(CCSize(panel->getPreferredSize().width, size.height));
}

}  // namespace

CCNode* GameController::buildCardSelection(const std::string& title, const std::vector<int>& cards) {
  CCNode* header = loadBarHeader(title);
  if (!header) return nullptr;
  const std::vector<BarEntry> entries = cardEntries(cards);
  BarLayout l = takePlaceholder(sequencebuildelem, static_cast<int>(entries.size()));
  sequencebuildelem = nullptr;
  shownButtonIndices.clear();
  std::vector<int> ids;
  for (const BarEntry& e : entries) ids.push_back(e.id);
  GameDirector* d = director();
  int slot = 1;
  for (const BarEntry& e : entries) {
    if (!loadBarButton(kCardButtonFile, header, l.at)) break;
    l.advance();
    const CardRecord* card = CardTable::getCard(e.id);
    setFrame(cardsprite, card ? card->image : "");
    if (cardsprite) cardsprite->setColor(colourOf(e.id));
    if (cardbtn) cardbtn->setTag(e.id);
    if (cardname) {
      cardname->setString(card ? text(card->nameKey()).c_str() : "");
      if (CardTable::isShieldLocked(e.id, hub().context())) cardname->setColor(kLockedName);
    }
    finishBarButton(slot, e.count, d && d->isCardChoiceForced(ids, e.id), e.id);
    ++slot;
  }
  finishHeader(header, sequencename, l.growth);
  return header;
}

CCNode* GameController::buildSpellSelection(const std::string& title, const std::vector<StoredCard>& spells) {
  CCNode* header = loadBarHeader(title);
  if (!header) return nullptr;
  const std::vector<BarEntry> entries = spellEntries(spells);
  BarLayout l = takePlaceholder(sequencebuildelem, static_cast<int>(entries.size()));
  sequencebuildelem = nullptr;
  shownButtonIndices.clear();
  std::vector<StoredCard> shownEntries;
  for (const BarEntry& e : entries) shownEntries.push_back(spells[e.firstIndex]);
  GameDirector* d = director();
  int slot = 1;
  for (const BarEntry& e : entries) {
    if (!loadBarButton(kSpellButtonFile, header, l.at)) break;
    l.advance();
    const CardRecord* card = CardTable::getCard(e.id);
    setFrame(spellicon, card ? card->image : "");
    if (spellicon) spellicon->setColor(colourOf(e.id));
    if (spellbtn) spellbtn->setTag(e.firstIndex);
    if (spellname) spellname->setString(card ? text(card->nameKey()).c_str() : "");
    const int mana = card ? card->manaCost : 0;
    const int dwarves = card ? card->dwarvesCost : 0;
    const bool cost = mana >= 1 || dwarves > 0;
    if (spellcostsprite) {
      spellcostsprite->setVisible(cost);
      if (cost) setFrame(spellcostsprite, mana >= 1 ? "crystal.png" : "tavern.png");
    }
    if (spellcostlbl) {
      spellcostlbl->setVisible(cost);
      spellcostlbl->setString(std::to_string(mana >= 1 ? mana : dwarves).c_str());
    }
    // Without a cost line under it, the name stands level with the picture.
    if (!cost && spellname && spellicon) spellname->setPositionY(spellicon->getPositionY());
    finishBarButton(slot, e.count, d && d->isSpellChoiceForced(shownEntries, e.id), e.firstIndex);
    ++slot;
  }
  finishHeader(header, sequencename, l.growth);
  return header;
}

void GameController::finishBarButton(int slot, int count, bool forced, int shownIndex) {
  if (arrow) {
    bounce(arrow, -kBounce, 0);
    arrow->setVisible(forced);
  }
  if (spellqty) {
    spellqty->setVisible(count >= 2);
    spellqty->setString((std::to_string(count) + "x").c_str());
  }
  if (hotkey) {
    hotkey->setVisible(slot <= 10);
    hotkey->setString(digitFor(slot).c_str());
  }
  shownButtonIndices.push_back(shownIndex);
}

void GameController::layBar(CCNode* header) {
  if (!turnseq) return;
  const CCSize view = turnseq->getViewSize();
  // The bar's sprites and labels share a few textures: one batch draws them all, a few
  // draw calls for any number of buttons. The buttons stay in the tree for the clicks.
  QuadBatchNode* layer = QuadBatchNode::create(0);
  if (!layer) return;
  float height = 0;
  if (header) {
    height = static_cast<float>(static_cast<int>(header->getContentSize().height));
    header->setAnchorPoint(ccp(0.5f, 0.0f));
    header->setPosition(ccp(view.width * 0.5f, 0));
    layer->addChild(header);
  } else {
    shownButtonIndices.clear();
  }
  layer->setContentSize(CCSize(view.width, height));
  turnseq->setContainer(layer);
  turnseq->updateInset();
  turnseq->setContentOffset(ccp(0, (view.height - height) * 0.5f), false);
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
  const CardRecord* card = CardTable::getCard(id);
  if (!card) return;
  likeCardId = id;
  showLikeDialog(text(card->nameKey()), id == kShieldCard ? text("GIVE_LIKE_TO_UNLOCK") : "", card->image);
}

void GameController::onSpell(CCObject* sender) {
  CCNode* button = dynamic_cast<CCNode*>(sender);
  if (button) selectSpellEntry(button->getTag());
}

void GameController::selectSpellEntry(int index) {
  const int count = static_cast<int>(spellList.size());
  const int card = index >= 0 && index < count ? spellList[index].first : -1;
  LOGOG_INFO("selecting spell, idx: %d of %d, spell: %d", index, count, card);
  if (card < 0) return;
  const CardRecord* record = CardTable::getCard(card);
  GameSession& game = hub_->game();
  Player* target = record && record->castOnOpponent ? game.enemyPlayer() : game.localPlayer();
  hub_->selectSpell(card, spellList[index].second, target);
}

// ---- The like dialog and the locked card's notice -------------------------------------------------

void GameController::showLikeDialog(const std::string& title, const std::string& description,
                                    const std::string& image) {
  if (fblike) fblike->setVisible(true);
  if (blocker) blocker->setVisible(true);
  likeTitle = title;
  likeDescription = description;
  likeImage = image;
  if (likeCardId == kShieldCard)
    setItemImages(fblike_okbtn, "facebook.png", "facebook-press.png");
  else
    setItemImages(fblike_okbtn, "button-ok.png", "button-ok-press.png");
  if (fblike_name) fblike_name->setString(title.c_str());
  if (fblike_desc) fblike_desc->setString(description.c_str());
  if (fblike_sprite) {
    setFrame(fblike_sprite, image);
    fblike_sprite->setColor(colourOf(likeCardId >= 0 ? likeCardId : kShieldCard));
  }
}

void GameController::hideLikeDialog(bool closeStore) {
  if (closeStore && storeController) storeController->hideStoreMessage();
  if (notification) notification->setVisible(CardTable::isShieldLocked(kShieldCard, hub().context()));
  if (fblike) fblike->setVisible(false);
  if (blocker) blocker->setVisible(false);
}

void GameController::onNotification(CCObject*) {
  if (notification) notification->setVisible(CardTable::isShieldLocked(kShieldCard, hub().context()));
  likeCardId = kShieldCard;
  showLikeDialog(text("SHIELD_NAME"), text("GIVE_LIKE_TO_UNLOCK"), "shield.png");
}

void GameController::onFblikeOk(CCObject*) {
  if (fblike) fblike->setVisible(false);
  if (blocker) blocker->setVisible(false);
  if (likeCardId == kShieldCard) {
    CardTable::unlockShield(kShieldCard, hub().context());
    if (CCApplication* app = CCApplication::sharedApplication())
      app->openSocialPage(kSocialPageName, kSocialPageId);
    else
      LOGOG_WARN("GUI::no application to open the social page");
    if (notification) notification->setVisible(CardTable::isShieldLocked(kShieldCard, hub().context()));
    if (storeController) storeController->refreshProducts();
    showMessage(text("THANKS_FOR_LIKING"), "");
  }
  // The card shows unlocked now.
  if (Player* local = localPlayer()) showPhaseBar(static_cast<int>(local->state()));
}

void GameController::onFblikeCancel(CCObject*) { hideLikeDialog(false); }

// ---- The in-game menu ---------------------------------------------------------------------------

void GameController::onMenu(CCObject*) {
  if (fblike) fblike->setVisible(false);
  if (blocker) blocker->setVisible(false);
  const bool open = menubtn && menubtn->on;
  if (gamemenu) gamemenu->setVisible(open);
  if (blocker) blocker->setVisible(gamemenu && gamemenu->isVisible());
}

void GameController::onMenuReturnToGame(CCObject*) {
  if (gamemenu) gamemenu->setVisible(false);
  if (blocker) blocker->setVisible(false);
  if (menubtn) {
    menubtn->on = false;
    menubtn->unselected();
  }
}

void GameController::onMenuExitToMenu(CCObject* sender) {
  onMenuReturnToGame(sender);
  hub_->exitToMenu();
}

void GameController::setMenuSetting(const char* key, CCMenuItemImage* toggle) {
  if (!toggle) return;
  Settings& settings = hub().context().settings();
  settings.setBool(key, toggle->on);
  settings.flush();
  refreshMenuToggles();
}

void GameController::onMenuGameMusic(CCObject*) {
  setMenuSetting("music", menugamemusic);
  if (menugamemusic) gameAudio().setMusicVolume(menugamemusic->on ? 1.0f : 0.0f);
}

void GameController::onMenuRoomZoomIn(CCObject*) { setMenuSetting("room_zoom_in", menuroomzoomin); }

void GameController::onMenuAlwaysShowOurTower(CCObject*) {
  setMenuSetting("always_show_our_tower", menualwaysshowourtower);
}

void GameController::refreshMenuToggles() {
  struct Toggle {
    CCMenuItemImage* item;
    const char* key;
    bool fallback;
  };
  for (const Toggle& t : {Toggle{menualwaysshowourtower, "always_show_our_tower", false},
                          Toggle{menugamemusic, "music", true}, Toggle{menuroomzoomin, "room_zoom_in", true}}) {
    if (!t.item) continue;
    const bool on = setting(t.key, t.fallback);
    t.item->on = on;
    if (on)
      t.item->selected();
    else
      t.item->unselected();
    const char* frame = on ? "button-ok.png" : "button-cancel.png";
    setItemImages(t.item, frame, frame);
  }
}
