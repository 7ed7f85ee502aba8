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
  void setShieldNotification(std::function<void()> open) { shieldNotification_ = std::move(open); }
  EventDispatcher& hub() const { return hub_; }

  const std::string& category() const { return category_; }
  cocos2d::CCNode* root() const { return root_; }
  const mv::NodeBindings& bindings() const { return bindings_; }
  // The members of the product row loaded last.
  const mv::NodeBindings& rowBindings() const { return rowBindings_; }
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
  const std::vector<ProductRow>& rows() const { return rows_; }

 private:
  explicit StoreController(EventDispatcher& hub);
  bool init();
  void selectCategory(const std::string& category);
  void refreshStoreMessage();

  mv::NodeBindings bindings_;
  mv::NodeBindings rowBindings_;
  EventDispatcher& hub_;
  std::function<void()> shieldNotification_;

  cocos2d::extension::CCScrollView* productlist_ = nullptr;
  cocos2d::CCLabelBMFont* productname_ = nullptr;
  cocos2d::CCLabelBMFont* productprice_ = nullptr;
  cocos2d::CCMenuItemImage* spellsbtn_ = nullptr;
  cocos2d::CCMenuItemImage* dwarvesbtn_ = nullptr;
  cocos2d::CCMenuItemImage* roomsbtn_ = nullptr;
  cocos2d::CCMenuItemImage* producttrybtn_ = nullptr;
  cocos2d::CCMenuItemImage* productbtn_ = nullptr;
  cocos2d::CCMenuItemImage* storemessageokbtn_ = nullptr;
  cocos2d::CCSprite* producticon_ = nullptr;
  cocos2d::CCNode* buybtn_ = nullptr;
  cocos2d::CCNode* root_ = nullptr;
  cocos2d::CCLayer* storemessagelayer_ = nullptr;
  cocos2d::CCLayer* storeblocker_ = nullptr;
  cocos2d::CCLabelBMFont* storemessageprompt_ = nullptr;
  std::string storeMessageText_;
  bool storeMessageShown_ = false;
  std::string category_ = "spells";
  bool productStatesBuilt_ = false;
  bool okButtonShown_ = false;
  std::vector<ProductRow> rows_;
};
