// The game screen's selection bar: the cards to place in the placing phase, the spells and
// crews to cast in the others, one button a distinct card in the bar's order, with its
// count, its digit key and the tutorial's arrow; the end-of-phase button in its header.
// The bar's layouts are loaded for the screen's controller, which binds their nodes into
// the screen's table and answers their buttons.
#pragma once

#include <string>
#include <vector>

#include "GameScreen.h"

namespace cocos2d {
class CCLabelBMFont;
class CCLayer;
class CCMenuItemImage;
class CCNode;
class CCObject;
class CCPoint;
class CCSprite;
namespace extension {
class CCScrollView;
}
}  // namespace cocos2d

namespace mv {
class NodeBindings;
}

class EventDispatcher;

class SelectionBar {
 public:
  using StoredCard = GameScreen::StoredCard;
  static constexpr const char* kHeaderFile = "ccbi/screens/build-sequence-element.ccbi";
  static constexpr const char* kCardButtonFile = "ccbi/screens/build_select.ccbi";
  static constexpr const char* kSpellButtonFile = "ccbi/screens/spell_select.ccbi";

  // `layoutOwner` binds the nodes of the bar's layouts and answers their buttons.
  SelectionBar(EventDispatcher& hub, cocos2d::CCObject* layoutOwner);
  SelectionBar(const SelectionBar&) = delete;
  SelectionBar& operator=(const SelectionBar&) = delete;
  void declareMembers(mv::NodeBindings& bindings);

  // The lists offered (shown by the next show()).
  void setCards(const std::vector<int>& cards);
  void setSpells(const std::vector<StoredCard>& spells);
  // The bar for the local player's state, if there is a local player.
  void showForLocalPlayer();
  // The bar for a player state: cards in state 2, spells in 4, 5 and 7, else empty. A
  // button held down keeps the bar as it is until it is let go.
  void show(int state);
  // A bar kept while its button was held is laid for the local player's state once the
  // button is let go (called every frame).
  void showIfLetGo();
  // The bar's layer shows or hides.
  void setVisible(bool visible);
  // The order of card ids in the bars: ARCHMAGE first, then by category, then by id.
  static bool cardOrderLess(int a, int b);

  const std::vector<int>& cards() const { return cards_; }
  const std::vector<StoredCard>& spells() const { return spells_; }
  // One entry per button shown, top first (the digit keys pick them): a card id, or the
  // index of the spell's first entry in spells().
  const std::vector<int>& shownButtons() const { return shownButtons_; }
  cocos2d::extension::CCScrollView* view() const { return turnseq_; }
  cocos2d::CCLayer* layer() const { return turnseqqui_; }

 private:
  cocos2d::CCNode* buildCards(const std::string& title);
  cocos2d::CCNode* buildSpells(const std::string& title);
  // Loads the header with its title; null when the layout is missing.
  cocos2d::CCNode* loadHeader(const std::string& title);
  // Loads one button into the header at the place.
  cocos2d::CCNode* loadButton(const char* file, cocos2d::CCNode* header, const cocos2d::CCPoint& at);
  // What a spell's button shows of its card and cost.
  void showSpellButton(int id, int firstIndex);
  // What every button shows besides its card: the tutorial's arrow, the count, the digit
  // of its slot (from 1); it is the slot's entry of shownButtons().
  void finishButton(int slot, int count, bool forced, int shownIndex);
  // A button of the bar is held down.
  bool buttonHeld() const;
  // The header laid into the bar's scroll view.
  void lay(cocos2d::CCNode* header);
  std::string text(const std::string& key) const;

  EventDispatcher& hub_;
  cocos2d::CCObject* layoutOwner_;
  std::vector<int> cards_;
  std::vector<StoredCard> spells_;
  std::vector<int> shownButtons_;
  // The last show() left the bar as it was: a button was held.
  bool keptWhileHeld_ = false;
  cocos2d::CCLayer* turnseqqui_ = nullptr;
  cocos2d::extension::CCScrollView* turnseq_ = nullptr;
  cocos2d::CCMenuItemImage* endphasebtn_ = nullptr;
  // Bound from the header and the last button loaded.
  cocos2d::CCLabelBMFont* sequencename_ = nullptr;
  cocos2d::CCLayer* sequencebuildelem_ = nullptr;
  cocos2d::CCSprite* arrow_phaseend_ = nullptr;
  cocos2d::CCSprite* arrow_ = nullptr;
  cocos2d::CCLabelBMFont* cardname_ = nullptr;
  cocos2d::CCSprite* cardsprite_ = nullptr;
  cocos2d::CCMenuItemImage* cardbtn_ = nullptr;
  cocos2d::CCLabelBMFont* spellqty_ = nullptr;
  cocos2d::CCLabelBMFont* hotkey_ = nullptr;
  cocos2d::CCSprite* spellicon_ = nullptr;
  cocos2d::CCSprite* spellcostsprite_ = nullptr;
  cocos2d::CCMenuItemImage* spellbtn_ = nullptr;
  cocos2d::CCLabelBMFont* spellname_ = nullptr;
  cocos2d::CCLabelBMFont* spellcostlbl_ = nullptr;
};
