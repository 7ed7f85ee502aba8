#include "LoadingScene.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "CCActionInterval.h"
#include "CCApplication.h"
#include "CCDirector.h"
#include "CCFileUtils.h"
#include "CCLayerColor.h"
#include "CCScheduler.h"
#include "CCSprite.h"
#include "CCSpriteFrameCache.h"
#include "CCTexture2D.h"
#include "EventDispatcher.h"
#include "Hotkeys.h"
#include "LanguageFile.h"
#include "Network.h"
#include "ResourceNames.h"
#include "ScreenFlow.h"
#include "SimpleAudioEngine.h"
#include "logog/logog.hpp"

using namespace cocos2d;
using CocosDenshion::SimpleAudioEngine;

namespace {

const char* const kSplashSheet = "sprites/splashscreen";
const char* const kMainSheet = "sprites/texture";
const char* const kSoundFolder = "sounds";
const char* const kMenuMusic = "music/menu.mp3";
const char* const kLanguageProbe = "language/english.lng";
const char* const kProgramVersion = "0.1";

// Crisp pixels: the logo is drawn at whole-number scales.
void makeCrisp(CCSprite* sprite) {
  if (!sprite || !sprite->getTexture()) return;
  ccTexParams params = {GL_NEAREST, GL_NEAREST, GL_REPEAT, GL_REPEAT};
  sprite->getTexture()->setTexParameters(&params);
}

std::string folderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

void listFiles(std::vector<std::string>& out, const std::string& folder, const std::string& pattern,
               bool append) {
  if (!append) out.clear();
  DIR* dir = opendir(folder.c_str());
  if (!dir) {
    LOGOG_WARN("Cannot list the folder %s: %s", folder.c_str(), std::strerror(errno));
    return;
  }
  std::vector<std::string> found;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (fnmatch(pattern.c_str(), name.c_str(), 0) != 0) continue;
    struct stat st;
    if (stat((folder + "/" + name).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    found.push_back(name);
  }
  closedir(dir);
  std::sort(found.begin(), found.end());
  out.insert(out.end(), found.begin(), found.end());
}

int chooseLanguage(const std::vector<LanguageInfo>& listed, const std::string& systemCode) {
  int system = -1, english = -1;
  for (size_t i = 0; i < listed.size(); ++i) {
    if (!systemCode.empty() && listed[i].language_code == systemCode) system = static_cast<int>(i);
    if (listed[i].language_code == "en") english = static_cast<int>(i);
  }
  return system >= 0 ? system : english;
}

// ---- The controller --------------------------------------------------------------------

bool LoadinGameController::init() {
  hd_ = mv::isHD;
  return true;
}

LoadinGameController::~LoadinGameController() {
  CCDirector::sharedDirector()->getScheduler()->unscheduleAllSelectorsForTarget(this);
  CC_SAFE_RELEASE(layer_);
}

int LoadinGameController::clickSoundNumber(int r) {
  return static_cast<int>(static_cast<double>(r) / RAND_MAX * 4 + 1);
}

CCLayerColor* LoadinGameController::buildSplash() {
  shown_ = 0;
  width_ = 0;
  CCSize win = CCDirector::sharedDirector()->getWinSize();
  CCLayerColor* layer = CCLayerColor::create(ccc4(0, 0, 0, 255), win.width, win.height);
  if (!layer) return nullptr;
  const float scale = hd_ ? 2.f : 1.f;
  for (int i = 0; i < kPieces; ++i) {
    std::string frame = "Brindlecor-logo-" + std::to_string(i + 1);
    CCSprite* piece = CCSprite::createWithSpriteFrameName(frame.c_str());
    pieces_[i] = piece;
    if (!piece) {
      LOGOG_ERROR("The logo piece %s is missing", frame.c_str());
      continue;
    }
    piece->setScale(scale);
    piece->setAnchorPoint(CCPoint(0, 0.5f));
    piece->setVisible(false);
    makeCrisp(piece);
    layer->addChild(piece, 2);
    width_ += piece->getContentSize().width * scale;
  }
  CC_SAFE_RELEASE(layer_);
  layer_ = layer;
  layer_->retain();
  indicator_ = CCSprite::createWithSpriteFrameName("Brindlecor-logo-11");
  if (indicator_) {
    indicator_->setScale(scale);
    indicator_->setAnchorPoint(CCPoint(0, 0.5f));
    makeCrisp(indicator_);
    layer->addChild(indicator_, 1);
    CCActionInterval* blink = CCSequence::create(CCFadeIn::create(0.1f), CCDelayTime::create(0.5f),
                                                 CCFadeOut::create(0.1f), CCDelayTime::create(0.5f), nullptr);
    indicator_->runAction(CCRepeatForever::create(blink));
  }
  layoutSplash();
  return layer;
}

void LoadinGameController::layoutSplash() {
  if (!layer_) return;
  CCSize size = layer_->getContentSize();
  float x = size.width / 2 - width_ / 2;
  float y = size.height / 2;
  const float scale = hd_ ? 2.f : 1.f;
  for (CCSprite* piece : pieces_) {
    if (!piece) continue;
    piece->setPosition(CCPoint(x, y));
    x += piece->getContentSize().width * scale;
  }
  if (indicator_ && shown_ < kPieces && pieces_[shown_])
    indicator_->setPosition(pieces_[shown_]->getPosition());
}

void LoadinGameController::buildAssetList() {
  queue_.clear();
  queue_.push_back({kLoadingSpriteSheet, kMainSheet, 0.f});
  const std::string folder = CCFileUtils::sharedFileUtils()->fullPathForFilename(kSoundFolder);
  std::vector<std::string> names;
  listFiles(names, folder, "*.mp3", false);
  listFiles(names, folder, "*.wav", true);
  if (names.empty()) LOGOG_WARN("No sounds found in %s; loading goes on without them", folder.c_str());
  for (const std::string& name : names) queue_.push_back({kLoadingEffect, std::string(kSoundFolder) + "/" + name, 0.f});
  total_ = static_cast<int32_t>(queue_.size());
  LOGOG_INFO("Loading %d assets", total_);
  loadStep();
}

void LoadinGameController::load(const LoadingAsset& asset) {
  switch (asset.kind) {
    case kLoadingSpriteSheet:
      CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(
          mv::plistFileName(asset.path, false).c_str());
      break;
    case kLoadingMusic:
      SimpleAudioEngine::sharedEngine()->preloadBackgroundMusic(asset.path.c_str());
      break;
    case kLoadingEffect:
      SimpleAudioEngine::sharedEngine()->preloadEffect(asset.path.c_str());
      break;
    default:
      break;
  }
}

void LoadinGameController::loadStep(float) {
  if (queue_.empty()) {
    finishLoading();
    return;
  }
  LoadingAsset asset = queue_.front();
  queue_.pop_front();
  float delay = asset.kind == kLoadingDelay ? asset.delay : kStepDelay;
  load(asset);
  showProgress();
  // One timer drives the whole load: once more per asset left, and a last time that
  // finds the queue empty.
  CCDirector::sharedDirector()->getScheduler()->scheduleSelector(
      schedule_selector(LoadinGameController::loadStep), this, delay,
      static_cast<unsigned int>(queue_.size()), delay, false);
}

void LoadinGameController::showProgress() {
  if (total_ <= 0) return;
  int target = kPieces - static_cast<int>(static_cast<double>(queue_.size()) / total_ * kPieces);
  if (target <= shown_) return;
  for (int i = shown_; i < target; ++i) {
    if (pieces_[i]) pieces_[i]->setVisible(true);
    std::string click = "sounds/keyboard" + std::to_string(clickSoundNumber(std::rand())) + ".wav";
    SimpleAudioEngine::sharedEngine()->playEffect(click.c_str(), false);
  }
  shown_ = target;
  layoutSplash();
}

void LoadinGameController::finishLoading() {
  if (finished_) return;
  finished_ = true;
  CCDirector::sharedDirector()->getScheduler()->unscheduleSelector(schedule_selector(LoadinGameController::loadStep),
                                                                   this);
  CCFileUtils::sharedFileUtils()->setPopupNotify(false);

  const std::string folder = folderOf(CCFileUtils::sharedFileUtils()->fullPathForFilename(kLanguageProbe));
  LanguageFile& language = LanguageFile::instance();
  std::vector<LanguageInfo>& listed = language.listLanguages(folder, kProgramVersion);
  CCApplication* app = CCApplication::sharedApplication();
  const std::string code = app ? app->getLanguageCode() : std::string();
  int chosen = chooseLanguage(listed, code);
  if (chosen < 0) {
    LOGOG_WARN("No language file for '%s' nor for English; texts show their keys", code.c_str());
  } else {
    LanguageInfo info = listed[static_cast<size_t>(chosen)];
    int result = language.load(info.path.c_str(), kProgramVersion);
    LOGOG_INFO("Language %s (%s) loaded with result %d", info.language_enname.c_str(), info.path.c_str(), result);
  }

  ScreenFlow& flow = ScreenFlow::instance();
  flow.startNetwork();
  buildHotkeyTable();
  flow.makeGameScene();
  flow.makeLobbyScene();
  flow.startHubUpdates();
  flow.hub().onLoadingFinished();
}

// ---- The scene -------------------------------------------------------------------------

static LoadingScene* s_loadingScene = nullptr;

LoadingScene* LoadingScene::scene() {
  if (s_loadingScene) return s_loadingScene;
  s_loadingScene = LoadingScene::create();
  CC_SAFE_RETAIN(s_loadingScene);  // kept for the rest of the run
  return s_loadingScene;
}

LoadingScene::~LoadingScene() { CC_SAFE_RELEASE(controller_); }

bool LoadingScene::init() {
  if (!RotatableScene::init()) return false;
  CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(
      mv::plistFileName(kSplashSheet, true).c_str());
  for (int n = 1; n <= 5; ++n)
    SimpleAudioEngine::sharedEngine()->preloadEffect(("sounds/keyboard" + std::to_string(n) + ".wav").c_str());
  controller_ = LoadinGameController::create();
  CC_SAFE_RETAIN(controller_);
  return true;
}

void LoadingScene::onEnterTransitionDidFinish() {
  RotatableScene::onEnterTransitionDidFinish();
  relayout();
  // A scene entered again (never in the game) does not load twice.
  if (controller_->total() == 0) controller_->buildAssetList();
  SimpleAudioEngine::sharedEngine()->playBackgroundMusic(kMenuMusic, true);
}

void LoadingScene::relayout() {
  RotatableScene::relayout();
  if (splash_) {
    splash_->removeFromParentAndCleanup(true);
    splash_ = nullptr;
  }
  splash_ = controller_->buildSplash();
  if (!splash_) return;
  addChild(splash_);
  controller_->layoutSplash();
}
