// The first screen: the maker's logo revealed piece by piece while the sprite sheet and
// every sound are loaded one at a time, then the rest of the start-up and the fade to the
// main menu.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "CCBMemberVariableAssigner.h"
#include "CCBSelectorResolver.h"
#include "RotatableScene.h"

namespace cocos2d {
class CCLayerColor;
class CCSprite;
}  // namespace cocos2d

struct LanguageInfo;

enum LoadingAssetKind : int32_t {
  kLoadingSpriteSheet = 0,
  kLoadingMusic = 1,
  kLoadingEffect = 2,
  kLoadingDelay = 3,
};

struct LoadingAsset {
  int32_t kind = kLoadingSpriteSheet;
  std::string path;
  float delay = 0.f;  // kind Delay only
};

// The names (without folder) of the files in `folder` matching the shell pattern, sorted so
// every machine lists them alike; without append the list is emptied first. A folder that
// cannot be read gives no names and a log line.
void listFiles(std::vector<std::string>& out, const std::string& folder, const std::string& pattern,
               bool append);

// The language file to load: the last listed whose code is the system language, else the
// last coded "en"; -1 when neither is listed.
int chooseLanguage(const std::vector<LanguageInfo>& listed, const std::string& systemCode);

class LoadinGameController : public cocos2d::CCObject,
                             public cocos2d::extension::CCBMemberVariableAssigner,
                             public cocos2d::extension::CCBSelectorResolver {
 public:
  static constexpr int kPieces = 10;
  static constexpr float kStepDelay = 0.1f;

  CREATE_FUNC(LoadinGameController)
  ~LoadinGameController() override;

  // A new black layer the size of the screen with the ten hidden pieces and the indicator.
  cocos2d::CCLayerColor* buildSplash();
  // Places the pieces side by side in the middle and the indicator on the next one.
  void layoutSplash();
  // Queues the sheet and every sound, and loads the first.
  void buildAssetList();
  // Loads one asset and arms the next step; the last firing finishes loading.
  void loadStep(float dt = 0.f);
  // Reveals pieces up to the progress, each with a key click.
  void showProgress();
  // Language, network, hotkeys, game screen, the hub's frame, and the way to the menu.
  void finishLoading();

  // The click after rand() gave r: 1 to 4, and 5 only when r is RAND_MAX.
  static int clickSoundNumber(int r);

  const std::deque<LoadingAsset>& queue() const { return queue_; }
  int total() const { return total_; }
  int shown() const { return shown_; }
  bool finished() const { return finished_; }
  cocos2d::CCSprite* piece(int index) const { return index >= 0 && index < kPieces ? pieces_[index] : nullptr; }
  cocos2d::CCSprite* indicator() const { return indicator_; }

  bool onAssignCCBMemberVariable(cocos2d::CCObject*, cocos2d::CCString*, cocos2d::CCNode*) override {
    return true;
  }
  cocos2d::SEL_MenuHandler onResolveCCBCCMenuItemSelector(cocos2d::CCObject*, cocos2d::CCString*) override {
    return nullptr;
  }
  cocos2d::extension::SEL_CCControlHandler onResolveCCBCCControlSelector(cocos2d::CCObject*,
                                                                         cocos2d::CCString*) override {
    return nullptr;
  }

 private:
  bool init();
  void load(const LoadingAsset& asset);

  std::deque<LoadingAsset> queue_;
  int32_t total_ = 0;
  cocos2d::CCSprite* pieces_[kPieces] = {};
  cocos2d::CCSprite* indicator_ = nullptr;
  cocos2d::CCLayerColor* layer_ = nullptr;
  float width_ = 0;
  int32_t shown_ = 0;
  bool hd_ = false;
  bool finished_ = false;
};

class LoadingScene : public mv::RotatableScene {
 public:
  // The one loading scene, made on first use; null when it cannot be made.
  static LoadingScene* scene();
  ~LoadingScene() override;
  bool init() override;
  void onEnterTransitionDidFinish() override;
  void relayout() override;

  LoadinGameController* controller() const { return controller_; }

 private:
  LoadingScene() = default;
  CREATE_FUNC(LoadingScene)

  cocos2d::CCLayerColor* splash_ = nullptr;
  LoadinGameController* controller_ = nullptr;
};
