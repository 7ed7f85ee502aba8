// The selection bar: the distinct cards of a list in the bar's order, one button each,
// laid into the bar's scroll view in one batch.
#include "SelectionBar.h"

#include <algorithm>
#include <map>

#include "CCActionInterval.h"
#include "CCLabelBMFont.h"
#include "CCLayer.h"
#include "CCMenu.h"
#include "CCMenuItem.h"
#include "CCPointExtension.h"
#include "CCScale9Sprite.h"
#include "CCScrollView.h"
#include "CCSprite.h"
#include "CardTable.h"
#include "EventDispatcher.h"
#include "GameContext.h"
#include "LayoutTags.h"
#include "LoadNode.h"
#include "NodeBindings.h"
#include "NodeLooks.h"
#include "NodeTree.h"
#include "QuadBatchNode.h"
#include "game/GameDirector.h"
#include "game/GameSession.h"
#include "logog/logog.hpp"
#include "player/Player.h"

using namespace cocos2d;
using namespace cocos2d::extension;

namespace {

constexpr float kButtonGap = 10.0f;
constexpr float kBounce = 20.0f;
constexpr float kBounceSeconds = 0.5f;
const ccColor3B kLockedName = {255, 0, 0};

// One distinct card of a bar.
struct BarEntry {
  int id = 0;
  int count = 0;
  int firstIndex = 0;  // in the spell list
};

// Bounces a node for ever by (dx, dy) and back.
void bounce(CCNode* node, float dx, float dy) {
  if (!node) return;
  node->runAction(CCRepeatForever::create(static_cast<CCActionInterval*>(
      CCSequence::createWithTwoActions(CCMoveBy::create(kBounceSeconds, ccp(dx, dy)),
                                       CCMoveBy::create(kBounceSeconds, ccp(-dx, -dy))))));
}

std::string digitFor(int slot) {
  if (slot <= 9) return std::to_string(slot);
  return slot == 10 ? "0" : "";
}

// The entries of a bar in the bar's order.
std::vector<BarEntry> inBarOrder(const std::map<int, BarEntry>& byId) {
  std::vector<BarEntry> out;
  for (const auto& entry : byId) out.push_back(entry.second);
  std::sort(out.begin(), out.end(),
            [](const BarEntry& a, const BarEntry& b) { return SelectionBar::cardOrderLess(a.id, b.id); });
  return out;
}

// The distinct cards of a hand, with their counts.
std::vector<BarEntry> cardEntries(const std::vector<int>& cards) {
  std::map<int, BarEntry> byId;
  for (int id : cards) {
    BarEntry& e = byId[id];
    e.id = id;
    ++e.count;
  }
  return inBarOrder(byId);
}

// The distinct spells, with their counts and the first entry of each in the spell list.
std::vector<BarEntry> spellEntries(const std::vector<SelectionBar::StoredCard>& spells) {
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
  return inBarOrder(byId);
}

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

SelectionBar::SelectionBar(EventDispatcher& hub, CCObject* layoutOwner) : hub_(hub), layoutOwner_(layoutOwner) {}

void SelectionBar::declareMembers(mv::NodeBindings& b) {
  b.declare("turnseqqui", &turnseqqui_);
  b.declare("turnseq", &turnseq_);
  b.declare("endphasebtn", &endphasebtn_);
  b.declare("sequencename", &sequencename_);
  b.declare("sequencebuildelem", &sequencebuildelem_);
  b.declare("arrow_phaseend", &arrow_phaseend_);
  b.declare("arrow", &arrow_);
  b.declare("cardname", &cardname_);
  b.declare("cardsprite", &cardsprite_);
  b.declare("cardbtn", &cardbtn_);
  b.declare("spellcostsprite", &spellcostsprite_);
  b.declare("spellcostlbl", &spellcostlbl_);
  b.declare("spellname", &spellname_);
  b.declare("spellicon", &spellicon_);
  b.declare("spellbtn", &spellbtn_);
  b.declare("spellqty", &spellqty_);
  b.declare("hotkey", &hotkey_);
}

std::string SelectionBar::text(const std::string& key) const { return hub_.context().text().text(key); }

void SelectionBar::setCards(const std::vector<int>& cards) { cards_ = cards; }

void SelectionBar::setSpells(const std::vector<StoredCard>& spells) { spells_ = spells; }

void SelectionBar::showForLocalPlayer() {
  if (Player* local = hub_.game().localPlayer()) show(static_cast<int>(local->state()));
}

void SelectionBar::setVisible(bool visible) {
  if (turnseqqui_) turnseqqui_->setVisible(visible);
}

bool SelectionBar::cardOrderLess(int a, int b) {
  if (a == CardId::Archmage || b == CardId::Archmage) return a == CardId::Archmage && b != CardId::Archmage;
  const CardRecord* ca = CardTable::getCard(a);
  const CardRecord* cb = CardTable::getCard(b);
  if (!ca || !cb) return a < b;
  if (ca->category != cb->category) return ca->category < cb->category;
  return a < b;
}

void SelectionBar::show(int state) {
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
  if (!turnseq_) return;
  // A button held down stays until it is let go: its click would be lost with it. The bar
  // is laid anew once it is let go (showIfLetGo).
  keptWhileHeld_ = buttonHeld();
  if (keptWhileHeld_) return;
  CCNode* header = nullptr;
  if (!titleKey.empty()) header = cards ? buildCards(text(titleKey)) : buildSpells(text(titleKey));
  lay(header);
}

bool SelectionBar::buttonHeld() const {
  bool held = false;
  mv::forEachNodeDeep(turnseq_ ? turnseq_->getContainer() : nullptr, [&held](CCNode* n) {
    if (CCMenu* menu = dynamic_cast<CCMenu*>(n)) held = held || menu->getState() == kCCMenuStateTrackingTouch;
  });
  return held;
}

void SelectionBar::showIfLetGo() {
  if (!keptWhileHeld_ || buttonHeld()) return;
  keptWhileHeld_ = false;
  showForLocalPlayer();
}

CCNode* SelectionBar::loadHeader(const std::string& title) {
  arrow_phaseend_ = nullptr;
  CCNode* header = mv::loadNode(kHeaderFile, layoutOwner_, false, false);
  if (!header) {
    LOGOG_ERROR("GUI::the selection bar's layout %s is missing", kHeaderFile);
    return nullptr;
  }
  if (sequencename_) sequencename_->setString(title.c_str());
  GameDirector* d = hub_.game().director();
  if (arrow_phaseend_) {
    bounce(arrow_phaseend_, 0, -kBounce);
    arrow_phaseend_->setVisible(d && d->isTutorialRunning() && d->canEndPhase());
  }
  return header;
}

CCNode* SelectionBar::loadButton(const char* file, CCNode* header, const CCPoint& at) {
  CCNode* button = mv::loadNode(file, layoutOwner_, false, false);
  if (!button) {
    LOGOG_ERROR("GUI::the selection bar's layout %s is missing", file);
    return nullptr;
  }
  header->addChild(button);
  button->setAnchorPoint(ccp(0.5f, 0.0f));
  button->setPosition(at);
  return button;
}

CCNode* SelectionBar::buildCards(const std::string& title) {
  CCNode* header = loadHeader(title);
  if (!header) return nullptr;
  const std::vector<BarEntry> entries = cardEntries(cards_);
  BarLayout l = takePlaceholder(sequencebuildelem_, static_cast<int>(entries.size()));
  sequencebuildelem_ = nullptr;
  shownButtons_.clear();
  std::vector<int> ids;
  for (const BarEntry& e : entries) ids.push_back(e.id);
  GameDirector* d = hub_.game().director();
  int slot = 1;
  for (const BarEntry& e : entries) {
    if (!loadButton(kCardButtonFile, header, l.at)) break;
    l.advance();
    const CardRecord* card = CardTable::getCard(e.id);
    mv::setFrame(cardsprite_, card ? card->image : "");
    if (cardsprite_) cardsprite_->setColor(mv::cardColour(e.id));
    if (cardbtn_) cardbtn_->setTag(e.id);
    if (cardname_) {
      cardname_->setString(card ? text(card->nameKey()).c_str() : "");
      if (CardTable::isShieldLocked(e.id, hub_.context())) cardname_->setColor(kLockedName);
    }
    finishButton(slot, e.count, d && d->isCardChoiceForced(ids, e.id), e.id);
    ++slot;
  }
  finishHeader(header, sequencename_, l.growth);
  return header;
}

CCNode* SelectionBar::buildSpells(const std::string& title) {
  CCNode* header = loadHeader(title);
  if (!header) return nullptr;
  const std::vector<BarEntry> entries = spellEntries(spells_);
  BarLayout l = takePlaceholder(sequencebuildelem_, static_cast<int>(entries.size()));
  sequencebuildelem_ = nullptr;
  shownButtons_.clear();
  std::vector<StoredCard> shownEntries;
  for (const BarEntry& e : entries) shownEntries.push_back(spells_[e.firstIndex]);
  GameDirector* d = hub_.game().director();
  int slot = 1;
  for (const BarEntry& e : entries) {
    if (!loadButton(kSpellButtonFile, header, l.at)) break;
    l.advance();
    showSpellButton(e.id, e.firstIndex);
    finishButton(slot, e.count, d && d->isSpellChoiceForced(shownEntries, e.id), e.firstIndex);
    ++slot;
  }
  finishHeader(header, sequencename_, l.growth);
  return header;
}

void SelectionBar::showSpellButton(int id, int firstIndex) {
  const CardRecord* card = CardTable::getCard(id);
  mv::setFrame(spellicon_, card ? card->image : "");
  if (spellicon_) spellicon_->setColor(mv::cardColour(id));
  if (spellbtn_) spellbtn_->setTag(firstIndex);
  if (spellname_) spellname_->setString(card ? text(card->nameKey()).c_str() : "");
  const int mana = card ? card->manaCost : 0;
  const int dwarves = card ? card->dwarvesCost : 0;
  const bool cost = mana >= 1 || dwarves > 0;
  if (spellcostsprite_) {
    spellcostsprite_->setVisible(cost);
    if (cost) mv::setFrame(spellcostsprite_, mana >= 1 ? "crystal.png" : "tavern.png");
  }
  if (spellcostlbl_) {
    spellcostlbl_->setVisible(cost);
    spellcostlbl_->setString(std::to_string(mana >= 1 ? mana : dwarves).c_str());
  }
  // Without a cost line under it, the name stands level with the picture.
  if (!cost && spellname_ && spellicon_) spellname_->setPositionY(spellicon_->getPositionY());
}

void SelectionBar::finishButton(int slot, int count, bool forced, int shownIndex) {
  if (arrow_) {
    bounce(arrow_, -kBounce, 0);
    arrow_->setVisible(forced);
  }
  if (spellqty_) {
    spellqty_->setVisible(count >= 2);
    spellqty_->setString((std::to_string(count) + "x").c_str());
  }
  if (hotkey_) {
    hotkey_->setVisible(slot <= 10);
    hotkey_->setString(digitFor(slot).c_str());
  }
  shownButtons_.push_back(shownIndex);
}

void SelectionBar::lay(CCNode* header) {
  if (!turnseq_) return;
  const CCSize view = turnseq_->getViewSize();
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
    shownButtons_.clear();
  }
  layer->setContentSize(CCSize(view.width, height));
  turnseq_->setContainer(layer);
  turnseq_->updateInset();
  turnseq_->setContentOffset(ccp(0, (view.height - height) * 0.5f), false);
}
