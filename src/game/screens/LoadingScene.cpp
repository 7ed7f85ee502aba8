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
  m_hd = mv::isHD;
  return true;
}

LoadinGameController::~LoadinGameController() {
  CCDirector::sharedDirector()->getScheduler()->unscheduleAllSelectorsForTarget(this);
  CC_SAFE_RELEASE(m_layer);
}

int LoadinGameController::clickSoundNumber(int r) {
  return static_cast<int>(static_cast<double>(r) / RAND_MAX * 4 + 1);
}

CCLayerColor* LoadinGameController::buildSplash() {
  m_shown = 0;
  m_width = 0;
  CCSize win = CCDirector::sharedDirector()->getWinSize();
  CCLayerColor* layer = CCLayerColor::create(ccc4(0, 0, 0, 255), win.width, win.height);
  if (!layer) return nullptr;
  const float scale = m_hd ? 2.f : 1.f;
  for (int i = 0; i < kPieces; ++i) {
    std::string frame = "Brindlecor-logo-" + std::to_string(i + 1);
    CCSprite* piece = CCSprite::createWithSpriteFrameName(frame.c_str());
    m_pieces[i] = piece;
    if (!piece) {
      LOGOG_ERROR("The logo piece %s is missing", frame.c_str());
      continue;
    }
    piece->setScale(scale);
    piece->setAnchorPoint(CCPoint(0, 0.5f));
    piece->setVisible(false);
    makeCrisp(piece);
    layer->addChild(piece, 2);
    m_width += piece->getContentSize().width * scale;
  }
  CC_SAFE_RELEASE(m_layer);
  m_layer = layer;
  m_layer->retain();
  m_indicator = CCSprite::createWithSpriteFrameName("Brindlecor-logo-11");
  if (m_indicator) {
    m_indicator->setScale(scale);
    m_indicator->setAnchorPoint(CCPoint(0, 0.5f));
    makeCrisp(m_indicator);
    layer->addChild(m_indicator, 1);
    CCActionInterval* blink = CCSequence::create(CCFadeIn::create(0.1f), CCDelayTime::create(0.5f),
                                                 CCFadeOut::create(0.1f), CCDelayTime::create(0.5f), nullptr);
    m_indicator->runAction(CCRepeatForever::create(blink));
  }
  layoutSplash();
  return layer;
}

void LoadinGameController::layoutSplash() {
  if (!m_layer) return;
  CCSize size = m_layer->getContentSize();
  float x = size.width / 2 - m_width / 2;
  float y = size.height / 2;
  const float scale = m_hd ? 2.f : 1.f;
  for (CCSprite* piece : m_pieces) {
    if (!piece) continue;
    piece->setPosition(CCPoint(x, y));
    x += piece->getContentSize().width * scale;
  }
  if (m_indicator && m_shown < kPieces && m_pieces[m_shown])
    m_indicator->setPosition(m_pieces[m_shown]->getPosition());
}

void LoadinGameController::buildAssetList() {
  m_queue.clear();
  m_queue.push_back({kLoadingSpriteSheet, kMainSheet, 0.f});
  const std::string folder = CCFileUtils::sharedFileUtils()->fullPathForFilename(kSoundFolder);
  std::vector<std::string> names;
  listFiles(names, folder, "*.mp3", false);
  listFiles(names, folder, "*.wav", true);
  if (names.empty()) LOGOG_WARN("No sounds found in %s; loading goes on without them", folder.c_str());
  for (const std::string& name : names) m_queue.push_back({kLoadingEffect, std::string(kSoundFolder) + "/" + name, 0.f});
  m_total = static_cast<int32_t>(m_queue.size());
  LOGOG_INFO("Loading %d assets", m_total);
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
  if (m_queue.empty()) {
    finishLoading();
    return;
  }
  LoadingAsset asset = m_queue.front();
  m_queue.pop_front();
  float delay = asset.kind == kLoadingDelay ? asset.delay : kStepDelay;
  load(asset);
  showProgress();
  // One timer drives the whole load: once more per asset left, and a last time that
  // finds the queue empty.
  CCDirector::sharedDirector()->getScheduler()->scheduleSelector(
      schedule_selector(LoadinGameController::loadStep), this, delay,
      static_cast<unsigned int>(m_queue.size()), delay, false);
}

void LoadinGameController::showProgress() {
  if (m_total <= 0) return;
  int target = kPieces - static_cast<int>(static_cast<double>(m_queue.size()) / m_total * kPieces);
  if (target <= m_shown) return;
  for (int i = m_shown; i < target; ++i) {
    if (m_pieces[i]) m_pieces[i]->setVisible(true);
    std::string click = "sounds/keyboard" + std::to_string(clickSoundNumber(std::rand())) + ".wav";
    SimpleAudioEngine::sharedEngine()->playEffect(click.c_str(), false);
  }
  m_shown = target;
  layoutSplash();
}

void LoadinGameController::finishLoading() {
  if (m_finished) return;
  m_finished = true;
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

LoadingScene::~LoadingScene() { CC_SAFE_RELEASE(m_controller); }

bool LoadingScene::init() {
  if (!RotatableScene::init()) return false;
  CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(
      mv::plistFileName(kSplashSheet, true).c_str());
  for (int n = 1; n <= 5; ++n)
    SimpleAudioEngine::sharedEngine()->preloadEffect(("sounds/keyboard" + std::to_string(n) + ".wav").c_str());
  m_controller = LoadinGameController::create();
  CC_SAFE_RETAIN(m_controller);
  return true;
}

void LoadingScene::onEnterTransitionDidFinish() {
  RotatableScene::onEnterTransitionDidFinish();
  relayout();
  // A scene entered again (never in the game) does not load twice.
  if (m_controller->total() == 0) m_controller->buildAssetList();
  SimpleAudioEngine::sharedEngine()->playBackgroundMusic(kMenuMusic, true);
}

void LoadingScene::relayout() {
  RotatableScene::relayout();
  if (m_splash) {
    m_splash->removeFromParentAndCleanup(true);
    m_splash = nullptr;
  }
  m_splash = m_controller->buildSplash();
  if (!m_splash) return;
  addChild(m_splash);
  m_controller->layoutSplash();
}
