// The store: a layer of the game screen that lists the cards as products in three
// categories and lets the player try one at once in the running (sandbox) game. Nothing is
// sold: the only price shown is "free" on the locked shield.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "CCBMemberVariableAssigner.h"
#include "CCBSelectorResolver.h"
#include "NodeBindings.h"

namespace cocos2d {
class CCLabelBMFont;
class CCLayer;
class CCMenuItemImage;
class CCNode;
class CCSprite;
namespace extension {
class CCScrollView;
}
}  // namespace cocos2d

class EventDispatcher;

struct ProductState {
  std::string priceText;
  bool offered = false;
};

// The store's state of each product, by card id.
extern std::map<int, ProductState> productStates;

// The engine's selectors are called on the CCObject part as if it began the object, so it
// comes first among the bases.
class StoreController : public cocos2d::CCObject,
                        public cocos2d::extension::CCBMemberVariableAssigner,
                        public cocos2d::extension::CCBSelectorResolver {
 public:
  static constexpr const char* kScreenFile = "ccbi/screens/store.ccbi";
  static constexpr const char* kRowFile = "ccbi/screens/product-elem.ccbi";

  // A store whose buttons talk to `hub`.
  static StoreController* create(EventDispatcher& hub);
  ~StoreController() override;

  // Builds the store anew (every build of the game screen); returns its root, or null
  // (logged) when the file is missing or broken.
  cocos2d::CCNode* loadScreen();
  // Rebuilds the product states (after the shield was unlocked) and the list.
  void refreshProducts();
  // The list of the current category.
  void fillProductList();
  void hideStoreMessage();

  void onSpells(cocos2d::CCObject* sender);
  void onRooms(cocos2d::CCObject* sender);
  void onDwarves(cocos2d::CCObject* sender);
  void onProductTry(cocos2d::CCObject* sender);
  void onProduct(cocos2d::CCObject* sender);
  void onRestorePurchases(cocos2d::CCObject* sender);
  void onStoreMessageOk(cocos2d::CCObject* sender);

  bool onAssignCCBMemberVariable(cocos2d::CCObject* target, cocos2d::CCString* name,
                                 cocos2d::CCNode* node) override;
  cocos2d::SEL_MenuHandler onResolveCCBCCMenuItemSelector(cocos2d::CCObject* target,
                                                          cocos2d::CCString* name) override;

  // What a click on the locked shield opens: the game screen's like-to-unlock notice.
  void setShieldNotification(std::function<void()> open) { m_shieldNotification = std::move(open); }
  EventDispatcher& hub() const { return m_hub; }

  const std::string& category() const { return m_category; }
  cocos2d::CCNode* root() const { return m_root; }
  const mv::NodeBindings& bindings() const { return m_bindings; }
  // The members of the product row loaded last.
  const mv::NodeBindings& rowBindings() const { return m_rowBindings; }
  // One row of the list as last filled, top first; the nodes belong to the list.
  struct ProductRow {
    int cardId = -1;
    cocos2d::CCNode* row = nullptr;
    cocos2d::CCLabelBMFont* price = nullptr;
    cocos2d::CCNode* buy = nullptr;
    cocos2d::CCMenuItemImage* product = nullptr;
    cocos2d::CCMenuItemImage* tryButton = nullptr;
    cocos2d::CCSprite* icon = nullptr;
  };
  const std::vector<ProductRow>& rows() const { return m_rows; }

 private:
  explicit StoreController(EventDispatcher& hub);
  bool init();
  void selectCategory(const std::string& category);
  void refreshStoreMessage();

  mv::NodeBindings m_bindings;
  mv::NodeBindings m_rowBindings;
  EventDispatcher& m_hub;
  std::function<void()> m_shieldNotification;

  cocos2d::extension::CCScrollView* m_productlist = nullptr;
  cocos2d::CCLabelBMFont* m_productname = nullptr;
  cocos2d::CCLabelBMFont* m_productprice = nullptr;
  cocos2d::CCMenuItemImage* m_spellsbtn = nullptr;
  cocos2d::CCMenuItemImage* m_dwarvesbtn = nullptr;
  cocos2d::CCMenuItemImage* m_roomsbtn = nullptr;
  cocos2d::CCMenuItemImage* m_producttrybtn = nullptr;
  cocos2d::CCMenuItemImage* m_productbtn = nullptr;
  cocos2d::CCMenuItemImage* m_storemessageokbtn = nullptr;
  cocos2d::CCSprite* m_producticon = nullptr;
  cocos2d::CCNode* m_buybtn = nullptr;
  cocos2d::CCNode* m_root = nullptr;
  cocos2d::CCLayer* m_storemessagelayer = nullptr;
  cocos2d::CCLayer* m_storeblocker = nullptr;
  cocos2d::CCLabelBMFont* m_storemessageprompt = nullptr;
  std::string m_storeMessageText;
  bool m_storeMessageShown = false;
  std::string m_category = "spells";
  bool m_productStatesBuilt = false;
  bool m_okButtonShown = false;
  std::vector<ProductRow> m_rows;
};
