#include <gtest/gtest.h>

#include <map>
#include <string>

#include "CCActionManager.h"
#include "CCAutoreleasePool.h"
#include "CCBAnimationManager.h"
#include "CCBReader.h"
#include "CCDirector.h"
#include "CCScene.h"
#include "CCSprite.h"
#include "CCFileUtils.h"
#include "CCLayer.h"
#include "CCLayerColor.h"
#include "CCLabelBMFont.h"
#include "CCMenuItemColor.h"
#include "CCBClassTable.h"
#include "CCScale9Sprite.h"
#include "CCControlButton.h"
#include "CCScrollView.h"
#include "CCMenuItemLoader.h"
#include "CCNodeLoader.h"
#include "CCNodeLoaderLibrary.h"
#include "ccb_test_util.h"
#include "test_util.h"

using namespace cocos2d;
using namespace cocos2d::extension;

namespace {

// Binds every name and resolves "onOk".
class Owner : public CCObject, public CCBMemberVariableAssigner, public CCBSelectorResolver {
 public:
  bool onAssignCCBMemberVariable(CCObject* target, CCString* name, CCNode* node) override {
    if (target != this) return false;
    bound[name->getCString()] = node;
    return true;
  }
  SEL_MenuHandler onResolveCCBCCMenuItemSelector(CCObject* target, CCString* name) override {
    if (target == this && name->compare("onOk") == 0) return menu_selector(Owner::onOk);
    return nullptr;
  }
  void onOk(CCObject*) { ++okCalls; }
  std::map<std::string, CCNode*> bound;
  int okCalls = 0;
};

class CCBReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CCFileUtils* fu = CCFileUtils::sharedFileUtils();
    oldRoot = fu->getResourceDirectory();
    fu->setResourceDirectory(dir.path());
    library = CCNodeLoaderLibrary::newDefaultCCNodeLoaderLibrary();
    library->retain();
  }
  void TearDown() override {
    library->release();
    CCFileUtils::sharedFileUtils()->setResourceDirectory(oldRoot);
  }
  void put(const std::string& name, const std::string& text) {
    ASSERT_TRUE(dir.write(name, mvtest::asString(mvtest::compileScreen(text))));
  }
  // Reads a file from the temp folder with a 480 x 320 root container.
  CCNode* read(const std::string& name, bool fullScale = false, CCObject* owner = nullptr) {
    CCBReader* reader = new CCBReader(library);
    reader->fullScaleLayout = fullScale;
    CCNode* node = reader->readNodeGraphFromFile(name.c_str(), owner, CCSize(480, 320));
    reader->release();
    return node;
  }
  mvtest::TempDir dir;
  std::string oldRoot;
  CCNodeLoaderLibrary* library = nullptr;
};

struct LayoutCase {
  bool fullScale;
  const char* line;  // a property line of the child
  CCPoint position;
  CCSize size;
};

class CCBLayoutTest : public CCBReaderTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(CCBLayoutTest, PositionsAndSizesMixPercentOfTheParentWithScaledAbsoluteValues) {
  const LayoutCase& c = GetParam();
  put("layout.ccbi", std::string("CCNode {\n contentSize 0 0 100 100\n CCNode {\n  ") + c.line +
                         "\n }\n}\n");
  CCNode* root = read("layout.ccbi", c.fullScale);
  ASSERT_NE(nullptr, root);
  EXPECT_EQ(480.f, root->getContentSize().width);
  EXPECT_EQ(320.f, root->getContentSize().height);
  ASSERT_EQ(1u, root->getChildrenCount());
  CCNode* child = static_cast<CCNode*>(root->getChildren()->objectAtIndex(0));
  EXPECT_EQ(c.position.x, child->getPosition().x);
  EXPECT_EQ(c.position.y, child->getPosition().y);
  EXPECT_EQ(c.size.width, child->getContentSize().width);
  EXPECT_EQ(c.size.height, child->getContentSize().height);
}

INSTANTIATE_TEST_SUITE_P(
    Dialect, CCBLayoutTest,
    ::testing::Values(
        LayoutCase{false, "position 10 20 50 0", CCPoint(245, 10), CCSize()},
        LayoutCase{true, "position 10 20 50 0", CCPoint(250, 20), CCSize()},
        LayoutCase{false, "position -5 -3 0 0", CCPoint(-2, -1), CCSize()},  // ceiling
        LayoutCase{false, "contentSize 3 3 0 0", CCPoint(), CCSize(2, 2)},
        LayoutCase{true, "contentSize 3 3 0 0", CCPoint(), CCSize(3, 3)},
        LayoutCase{false, "contentSize 10 0 50 25", CCPoint(), CCSize(245, 80)}));

TEST_F(CCBReaderTest, NamedNodesAreBoundToTheOwnerOrTheRoot) {
  put("bind.ccbi",
      "CCLayer as owner panel {\n"
      "  CCNode as owner title {\n  }\n"
      "  CCLayer as root inner {\n  }\n"
      "}\n");
  Owner* owner = new Owner();
  CCNode* root = read("bind.ccbi", false, owner);
  ASSERT_NE(nullptr, root);
  EXPECT_EQ(root, owner->bound["panel"]);
  ASSERT_NE(nullptr, owner->bound["title"]);
  EXPECT_EQ(root, owner->bound["title"]->getParent());
  EXPECT_EQ(0u, owner->bound.count("inner"));  // the root is no assigner
  EXPECT_NE(nullptr, dynamic_cast<CCBAnimationManager*>(root->getUserObject()));
  owner->release();
}

TEST_F(CCBReaderTest, SubFilesAreFoundUnderScreensAndTakeTheParentAsContainer) {
  put("ccbi/screens/panel.ccbi",
      "CCLayer as owner subroot {\n contentSize 0 0 50 50\n CCNode as owner deep {\n }\n}\n");
  put("ccbi/row.ccbi", "CCNode as owner row {\n}\n");
  put("main.ccbi",
      "CCNode {\n contentSize 200 100 0 0\n"
      "  CCBFile {\n   position 4 6 0 0\n   ccbFile \"panel.ccbi\"\n  }\n"
      "  CCBFile {\n   ccbFile \"row.v2.ccbi\"\n  }\n"
      "  CCBFile {\n   ccbFile \"missing.ccbi\"\n  }\n"
      "}\n");
  mvtest::LogCapture log;
  Owner* owner = new Owner();
  CCNode* root = read("main.ccbi", false, owner);
  ASSERT_NE(nullptr, root);
  ASSERT_EQ(3u, root->getChildrenCount());
  CCNode* panel = owner->bound["subroot"];
  ASSERT_NE(nullptr, panel);
  EXPECT_EQ(root, panel->getParent());            // took the stand-in's place
  EXPECT_EQ(CCPoint(2, 3).x, panel->getPosition().x);
  EXPECT_EQ(CCPoint(2, 3).y, panel->getPosition().y);
  EXPECT_EQ(50.f, panel->getContentSize().width);  // half of the 100 x 50 parent
  EXPECT_EQ(25.f, panel->getContentSize().height);
  EXPECT_NE(nullptr, owner->bound["deep"]);
  EXPECT_NE(nullptr, owner->bound["row"]);  // "row.v2.ccbi" is cut to "row"
  EXPECT_TRUE(log.contains("couldn't find sub-ccb file anywhere: missing"));
  owner->release();
}

TEST_F(CCBReaderTest, UnknownClassesGiveNoNodeAndTheRestIsRead) {
  CCBDocument doc;
  doc.root.className = "CCNode";
  CCBNodeDesc strange;
  strange.className = "CCSomethingElse";
  strange.children.resize(1);
  strange.children[0].className = "CCNode";
  CCBNodeDesc plain;
  plain.className = "CCLayer";
  doc.root.children = {strange, plain};
  ASSERT_TRUE(dir.write("odd.ccbi", mvtest::asString(mvtest::writeScreen(doc))));
  mvtest::LogCapture log;
  CCNode* root = read("odd.ccbi");
  ASSERT_NE(nullptr, root);
  EXPECT_TRUE(log.contains("no corresponding node loader for CCSomethingElse"));
  ASSERT_EQ(1u, root->getChildrenCount());
  EXPECT_NE(nullptr, dynamic_cast<CCLayer*>(
                         static_cast<CCNode*>(root->getChildren()->objectAtIndex(0))));

  doc.root.className = "Nope";
  ASSERT_TRUE(dir.write("odd.ccbi", mvtest::asString(mvtest::writeScreen(doc))));
  EXPECT_EQ(nullptr, read("odd.ccbi"));
}

TEST_F(CCBReaderTest, DamagedFilesGiveNoNodeAndALogLine) {
  MV_REQUIRE_WINDOW();  // colour layers need the shaders
  std::string good = mvtest::asString(mvtest::compileScreen(
      "sequence \"Main\" id 0 duration 1 chained -1 autoplay\n"
      "CCLayer as owner a {\n contentSize 0 0 100 100\n CCLayerColor {\n  color 1 2 3\n"
      "  opacity 100\n }\n}\n"));
  mvtest::LogCapture log;
  for (size_t cut = 0; cut < good.size(); ++cut) {
    ASSERT_TRUE(dir.write("cut.ccbi", good.substr(0, cut)));
    EXPECT_EQ(nullptr, read("cut.ccbi")) << cut;
  }
  // Scrambled bytes must never crash, whatever they give.
  for (size_t i = 4; i < good.size(); ++i) {
    std::string bad = good;
    bad[i] = static_cast<char>(bad[i] ^ 0x5a);
    ASSERT_TRUE(dir.write("bad.ccbi", bad));
    read("bad.ccbi");
  }
  EXPECT_TRUE(log.contains("is damaged"));
  std::string v2 = good;
  v2[4] = 2;  // version follows the magic
  ASSERT_TRUE(dir.write("v2.ccbi", v2));
  EXPECT_EQ(nullptr, read("v2.ccbi"));
  EXPECT_TRUE(log.contains("WARNING! Incompatible ccbi file version (file: 2 reader: 3)"));
  EXPECT_EQ(nullptr, read("absent.ccbi"));
  EXPECT_TRUE(log.contains("cannot read screen file absent.ccbi"));
}

TEST_F(CCBReaderTest, CastleLayerClassIsLoggedInTheNodesGroup) {
  library->registerCCNodeLoader("CastleUILayer", CCNodeLoader::loader());
  CCBDocument doc;
  doc.root.className = "CastleUILayer";
  doc.root.children.resize(1);
  doc.root.children[0].className = "CCLayer";
  ASSERT_TRUE(dir.write("castle.ccbi", mvtest::asString(mvtest::writeScreen(doc))));
  mvtest::LogCapture log;
  ASSERT_NE(nullptr, read("castle.ccbi"));
  EXPECT_EQ(1, log.count("Loading CCBI class:"));
  EXPECT_TRUE(log.contains("{nodes}"));
  EXPECT_TRUE(log.contains("Loading CCBI class: CastleUILayer"));
}

TEST_F(CCBReaderTest, MissingSpriteFramesAreLoggedAndTheSpriteStays) {
  MV_REQUIRE_WINDOW();
  put("sprite.ccbi",
      "CCNode {\n CCSprite as owner s {\n  displayFrame \"nosheet\" \"nothing.png\"\n }\n}\n");
  mvtest::LogCapture log;
  Owner* owner = new Owner();
  ASSERT_NE(nullptr, read("sprite.ccbi", false, owner));
  EXPECT_NE(nullptr, owner->bound["s"]);
  EXPECT_TRUE(log.contains("failed to find sprite frame with name: nothing.png"));
  owner->release();
}

}  // namespace

namespace {

TEST_F(CCBReaderTest, ButtonSelectorsAndColourItemPropertiesAreApplied) {
  MV_REQUIRE_WINDOW();
  put("menu.ccbi",
      "CCLayer {\n CCMenu {\n"
      "  CCMenuItemImage as owner ok {\n   block onOk 2\n  }\n"
      "  CCMenuItemImage as owner other {\n   block onUnknown 2\n  }\n"
      "  CCMenuItemColor as owner colour {\n   scale 2 2 0\n"
      "   normalcolor \"255,0,0,128\"\n   selectedcolor \"1,2,3\"\n"
      "   contentsize \"200,40\"\n   isEnabled false\n  }\n"
      " }\n}\n");
  mvtest::LogCapture log;
  Owner* owner = new Owner();
  ASSERT_NE(nullptr, read("menu.ccbi", false, owner));
  auto* ok = dynamic_cast<CCMenuItemImage*>(owner->bound["ok"]);
  ASSERT_NE(nullptr, ok);
  ok->activate();
  EXPECT_EQ(1, owner->okCalls);
  dynamic_cast<CCMenuItem*>(owner->bound["other"])->activate();
  EXPECT_EQ(1, owner->okCalls);
  EXPECT_TRUE(log.contains("Skipping selector 'onUnknown'"));
  auto* colour = dynamic_cast<CCMenuItemColor*>(owner->bound["colour"]);
  ASSERT_NE(nullptr, colour);
  EXPECT_EQ(200.f, colour->getContentSize().width);
  EXPECT_EQ(40.f, colour->getColorLayer()->getContentSize().height);
  EXPECT_EQ(1.f, colour->getScaleX());
  EXPECT_EQ(255, colour->getColorLayer()->getColor().r);
  EXPECT_EQ(128, colour->getColorLayer()->getOpacity());
  EXPECT_EQ(3, colour->getSelectedColor().b);
  EXPECT_EQ(0, colour->getSelectedColor().a);
  EXPECT_FALSE(colour->isEnabled());
  owner->release();
}

TEST(CCBNumbersTest, CommaListsAreSplitIntoIntegers) {
  EXPECT_EQ((std::vector<int>{255, 0, 0, 128}), ccbSplitNumbers("255,0,0,128"));
  EXPECT_EQ((std::vector<int>{200, 40}), ccbSplitNumbers("200, 40"));
  EXPECT_EQ((std::vector<int>{}), ccbSplitNumbers(""));
  EXPECT_EQ((std::vector<int>{0, 7}), ccbSplitNumbers("x,7"));
  std::string longText(400, '1');
  EXPECT_EQ(1u, ccbSplitNumbers(longText.c_str()).size());  // cut at 255 characters
}

}  // namespace

namespace {

const char* fakeTranslation(const char* key) {
  static std::string text;
  text = std::string("<") + key + ">";
  return text.c_str();
}

TEST_F(CCBReaderTest, LabelTextsWithPercentAreLanguageKeysAndAWrapsAtItsOwnWidth) {
  MV_REQUIRE_WINDOW();
  mvtest::writeTestFont(dir, "fonts/f");
  CCBReader::setTextTranslator(&fakeTranslation);
  put("labels.ccbi",
      "CCNode {\n"
      " CCLabelBMFont as owner key {\n  fntFile \"f.fnt\"\n  string \"%AB\"\n }\n"
      " CCLabelBMFont as owner bare {\n  fntFile \"f.fnt\"\n  string \"%\"\n }\n"
      " CCLabelBMFont as owner wraps {\n  fntFile \"f.fnt\"\n  string \"AB BA\"\n }\n"
      " CCLabelBMFont as owner plain {\n  fntFile \"f.fnt\"\n  string \"BA\"\n }\n"
      "}\n");
  Owner* owner = new Owner();
  ASSERT_NE(nullptr, read("labels.ccbi", false, owner));
  CCBReader::setTextTranslator(nullptr);
  auto label = [&](const char* name) { return dynamic_cast<CCLabelBMFont*>(owner->bound[name]); };
  ASSERT_NE(nullptr, label("key"));
  EXPECT_STREQ("<AB>", label("key")->getString());
  EXPECT_EQ(-1.f, label("key")->getWidth());  // a key never wraps, whatever it begins with
  EXPECT_STREQ("<>", label("bare")->getString());
  EXPECT_EQ(label("wraps")->getContentSize().width, label("wraps")->getWidth());
  EXPECT_EQ(-1.f, label("plain")->getWidth());
  EXPECT_EQ(std::string("fonts/f.fnt"), label("plain")->getOriginalFntFile());
  owner->release();
  CCLabelBMFont::purgeCachedData();
}

}  // namespace

namespace {

TEST_F(CCBReaderTest, EveryClassOfTheTableHasALoader) {
  for (const std::string& name : ccbClassNames())
    EXPECT_NE(nullptr, library->getCCNodeLoader(name)) << name;
  EXPECT_EQ(18u, ccbClassNames().size());
}

TEST_F(CCBReaderTest, TilingSpriteFillsItsScaleWithTilesAndNineSliceInsetsAreScaled) {
  MV_REQUIRE_WINDOW();
  ASSERT_TRUE(mvtest::writeSolidPng(dir.file("plain_sprites/tile.png"), 32, 16, 9, 9, 9));
  ASSERT_TRUE(mvtest::writeSolidPng(dir.file("plain_sprites/panel.png"), 30, 30, 9, 9, 9));
  put("tiles.ccbi",
      "CCNode {\n"
      " CCTilingSprite as owner tiles {\n  scale 4 1 0\n  displayFrame \"\" \"tile.png\"\n"
      "  opacity 12\n }\n"
      " CCScale9Sprite as owner panel {\n  spriteFrame \"\" \"panel.png\"\n"
      "  preferedSize 200 100 0 0\n  insetLeft 10\n  insetTop 6\n }\n"
      "}\n");
  Owner* owner = new Owner();
  ASSERT_NE(nullptr, read("tiles.ccbi", false, owner));
  CCNode* tiles = owner->bound["tiles"];
  ASSERT_NE(nullptr, tiles);
  EXPECT_NE(nullptr, dynamic_cast<CCLayer*>(tiles));
  EXPECT_EQ(128.f, tiles->getContentSize().width);
  EXPECT_EQ(16.f, tiles->getContentSize().height);
  EXPECT_EQ(1.f, tiles->getScaleX());
  ASSERT_EQ(1u, tiles->getChildrenCount());
  CCNode* batch = static_cast<CCNode*>(tiles->getChildren()->objectAtIndex(0));
  ASSERT_EQ(4u, batch->getChildrenCount());
  for (unsigned int i = 0; i < 4; ++i)
    EXPECT_EQ(32.f * i, static_cast<CCNode*>(batch->getChildren()->objectAtIndex(i))->getPosition().x);

  auto* panel = dynamic_cast<CCScale9Sprite*>(owner->bound["panel"]);
  ASSERT_NE(nullptr, panel);
  EXPECT_EQ(5.f, panel->getInsetLeft());
  EXPECT_EQ(3.f, panel->getInsetTop());
  EXPECT_EQ(100.f, panel->getContentSize().width);  // 200 at half scale
  owner->release();
}

}  // namespace

namespace {

std::string frameEntry(const char* name, int x, int y, int w, int h) {
  char buf[512];
  snprintf(buf, sizeof buf,
           "<key>%s</key><dict><key>frame</key><string>{{%d,%d},{%d,%d}}</string>"
           "<key>offset</key><string>{0,0}</string><key>rotated</key><false/>"
           "<key>sourceColorRect</key><string>{{0,0},{%d,%d}}</string>"
           "<key>sourceSize</key><string>{%d,%d}</string></dict>",
           name, x, y, w, h, w, h, w, h);
  return buf;
}

TEST_F(CCBReaderTest, SpriteFramesComeFromSheetsUnderSpritesAndImagesUnderPlainSprites) {
  MV_REQUIRE_WINDOW();
  ASSERT_TRUE(mvtest::writeSolidPng(dir.file("sprites/ui.png"), 64, 64, 1, 2, 3));
  ASSERT_TRUE(dir.write("sprites/ui.plist",
                        "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>frames</key><dict>" +
                            frameEntry("ok.png", 0, 0, 40, 20) +
                            frameEntry("ok-down.png", 0, 20, 40, 20) +
                            "</dict><key>metadata</key><dict><key>format</key><integer>2</integer>"
                            "<key>textureFileName</key><string>ui.png</string></dict></dict></plist>"));
  ASSERT_TRUE(mvtest::writeSolidPng(dir.file("plain_sprites/logo.png"), 24, 12, 9, 9, 9));
  put("sheet.ccbi",
      "CCNode {\n"
      " CCSprite as owner logo {\n  displayFrame \"\" \"logo.png\"\n }\n"
      " CCSprite as owner icon {\n  displayFrame \"ui\" \"ok.png\"\n }\n"
      " CCMenu {\n  CCMenuItemImage as owner ok {\n"
      "   normalSpriteFrame \"ui\" \"ok.png\"\n   selectedSpriteFrame \"ui\" \"ok-down.png\"\n"
      "  }\n }\n"
      "}\n");
  Owner* owner = new Owner();
  ASSERT_NE(nullptr, read("sheet.ccbi", false, owner));
  EXPECT_EQ(24.f, owner->bound["logo"]->getContentSize().width);
  EXPECT_EQ(40.f, owner->bound["icon"]->getContentSize().width);
  auto* ok = dynamic_cast<CCMenuItemImage*>(owner->bound["ok"]);
  ASSERT_NE(nullptr, ok);
  EXPECT_EQ(20.f, ok->getContentSize().height);
  ASSERT_NE(nullptr, ok->getSelectedImage());
  EXPECT_FALSE(ok->getSelectedImage()->isVisible());
  owner->release();
}

}  // namespace

namespace {

class ControlOwner : public Owner {
 public:
  SEL_CCControlHandler onResolveCCBCCControlSelector(CCObject* target, CCString* name) override {
    if (target == this && name->compare("onGo") == 0)
      return cccontrol_selector(ControlOwner::onGo);
    return nullptr;
  }
  void onGo(CCObject*, unsigned int) { ++goes; }
  int goes = 0;
};

TEST_F(CCBReaderTest, ControlButtonsAndScrollViewsAreBuiltFromTheirProperties) {
  MV_REQUIRE_WINDOW();
  put("ccbi/list.ccbi", "CCLayer as owner listroot {\n contentSize 400 800 0 0\n}\n");
  put("controls.ccbi",
      "CCNode {\n contentSize 0 0 100 100\n"
      " CCControlButton as owner go {\n  title|1 \"Go\"\n  title|2 \"Going\"\n"
      "  titleTTFSize|1 14 0\n  preferedSize 200 80 0 0\n  ccControl onGo 2 32\n"
      "  zoomOnTouchDown false\n }\n"
      " CCScrollView as owner list {\n  contentSize 300 200 0 0\n  container \"list.ccbi\"\n"
      "  direction 1\n  bounces false\n }\n"
      "}\n");
  ControlOwner* owner = new ControlOwner();
  ASSERT_NE(nullptr, read("controls.ccbi", false, owner));
  auto* go = dynamic_cast<CCControlButton*>(owner->bound["go"]);
  ASSERT_NE(nullptr, go);
  EXPECT_STREQ("Going", go->getTitleForState(CCControlStateHighlighted));
  EXPECT_EQ(100.f, go->getPreferredSize().width);
  EXPECT_FALSE(go->getZoomOnTouchDown());
  go->sendActionsForControlEvents(CCControlEventTouchUpInside);
  go->sendActionsForControlEvents(CCControlEventTouchDown);
  EXPECT_EQ(1, owner->goes);

  auto* list = dynamic_cast<CCScrollView*>(owner->bound["list"]);
  ASSERT_NE(nullptr, list);
  EXPECT_EQ(150.f, list->getViewSize().width);
  EXPECT_EQ(owner->bound["listroot"], list->getContainer());
  EXPECT_EQ(400.f, list->getContentSize().height);  // the container, at half scale
  EXPECT_EQ(kCCScrollViewDirectionVertical, list->getDirection());
  EXPECT_FALSE(list->isBounceable());
  EXPECT_EQ(-300.f, list->minContainerOffset().y);
  owner->release();
}

}  // namespace

namespace {

TEST_F(CCBReaderTest, SubFilesThatHoldThemselvesAreReadOnce) {
  put("ccbi/loop.ccbi", "CCNode as owner loop {\n CCBFile {\n  ccbFile \"loop.ccbi\"\n }\n}\n");
  put("ccbi/a.ccbi", "CCNode as owner a {\n CCBFile {\n  ccbFile \"b.ccbi\"\n }\n}\n");
  put("ccbi/b.ccbi", "CCNode as owner b {\n CCBFile {\n  ccbFile \"a.ccbi\"\n }\n}\n");
  mvtest::LogCapture log;
  Owner* owner = new Owner();
  EXPECT_NE(nullptr, read("ccbi/loop.ccbi", false, owner));
  EXPECT_NE(nullptr, read("ccbi/a.ccbi", false, owner));
  EXPECT_NE(nullptr, owner->bound["b"]);
  EXPECT_EQ(2, log.count("contains itself"));
  owner->release();
}

}  // namespace

// Screen files built to hurt the reader: each must load what can be loaded, log the rest,
// and leave nothing behind that a later frame could trip over.
namespace {

CCNode* childAt(CCNode* node, unsigned int i) {
  return static_cast<CCNode*>(node->getChildren()->objectAtIndex(i));
}

// Runs a node tree in a scene and steps its actions.
class RunningTree {
 public:
  explicit RunningTree(CCNode* root) : m_scene(CCScene::create()) {
    m_scene->retain();
    m_scene->addChild(root);
    m_scene->onEnter();
    // The stand-ins given up while reading die with the frame's pool.
    CCPoolManager::sharedPoolManager()->pop();
  }
  ~RunningTree() {
    m_scene->onExit();
    m_scene->release();
  }
  void step(float dt) { CCDirector::sharedDirector()->getActionManager()->update(dt); }

 private:
  CCScene* m_scene;
};

TEST_F(CCBReaderTest, AnimatedSubFileStandInsAnimateTheNodeThatTakesTheirPlace) {
  put("ccbi/panel.ccbi", "CCLayer as owner panel {\n}\n");
  put("ccbi/inner.ccbi", "CCNode as owner inner {\n}\n");
  // The root itself is a stand-in with a timeline, and so is its child.
  put("slide.ccbi",
      "sequence \"Slide\" id 0 duration 1 autoplay\n"
      "CCBFile {\n position 10 20 0 0\n ccbFile \"panel.ccbi\"\n"
      " animate 0 position {\n  at 0 linear 0 0\n  at 1 linear 100 50\n }\n"
      " CCBFile {\n  ccbFile \"inner.ccbi\"\n"
      "  animate 0 rotation {\n   at 0 linear 0\n   at 1 linear 90\n  }\n }\n"
      "}\n");
  Owner* owner = new Owner();
  CCNode* root = read("slide.ccbi", false, owner);
  ASSERT_NE(nullptr, root);
  EXPECT_EQ(owner->bound["panel"], root);
  CCNode* inner = owner->bound["inner"];
  ASSERT_NE(nullptr, inner);
  EXPECT_EQ(root, inner->getParent());
  auto* manager = dynamic_cast<CCBAnimationManager*>(root->getUserObject());
  ASSERT_NE(nullptr, manager);
  EXPECT_EQ(root, manager->getRootNode());
  {
    RunningTree tree(root);
    manager->runAnimationsForSequenceNamed("Slide");  // a second run, after the swap
    tree.step(0);
    tree.step(0.5f);
    EXPECT_NEAR(50.f, root->getPosition().x, 1.f);
    EXPECT_NEAR(25.f, root->getPosition().y, 1.f);
    EXPECT_NEAR(45.f, inner->getRotation(), 1.f);
  }
  owner->release();
}

TEST_F(CCBReaderTest, FolderNamesInSpriteFramesAreRefusedWithALogLine) {
  // "plain_sprites/." and "sprites/dir.plist" are folders.
  ASSERT_TRUE(dir.write("plain_sprites/keep", ""));
  ASSERT_TRUE(dir.write("sprites/dir.plist/keep", ""));
  put("dots.ccbi",
      "sequence \"Blink\" id 0 duration 1 autoplay\n"
      "CCNode {\n"
      " CCSprite as owner plain {\n  displayFrame \"\" \".\"\n }\n"
      " CCSprite as owner sheet {\n  displayFrame \"dir\" \"x\"\n }\n"
      " CCSprite as owner keyed {\n"
      "  animate 0 displayFrame {\n   at 0 instant \"\" \".\"\n   at 0.5 instant \"dir\" \"x\"\n  }\n"
      " }\n"
      "}\n");
  mvtest::LogCapture log;
  Owner* owner = new Owner();
  CCNode* root = read("dots.ccbi", false, owner);
  ASSERT_NE(nullptr, root);
  EXPECT_NE(nullptr, owner->bound["plain"]);
  {
    RunningTree tree(root);
    tree.step(0);
    tree.step(0.6f);
  }
  EXPECT_GE(log.count("is not a file"), 4);
  owner->release();
}

TEST_F(CCBReaderTest, KeyframeSpriteFramesAreLookedUpLikeTheNodeProperty) {
  ASSERT_TRUE(mvtest::writeSolidPng(dir.file("sprites/flip.png"), 64, 64, 1, 2, 3));
  ASSERT_TRUE(dir.write("sprites/flip.plist",
                        "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>frames</key><dict>" +
                            frameEntry("wide.png", 0, 0, 40, 20) +
                            frameEntry("tall.png", 0, 20, 10, 30) +
                            "</dict><key>metadata</key><dict><key>format</key><integer>2</integer>"
                            "<key>textureFileName</key><string>flip.png</string></dict></dict></plist>"));
  put("flip.ccbi",
      "sequence \"Flip\" id 0 duration 1 autoplay\n"
      "CCNode {\n CCSprite as owner s {\n"  // only the keyframes name the sheet
      "  animate 0 displayFrame {\n   at 0 instant \"flip\" \"wide.png\"\n"
      "   at 0.5 instant \"flip\" \"tall.png\"\n  }\n }\n}\n");
  Owner* owner = new Owner();
  CCNode* root = read("flip.ccbi", false, owner);
  ASSERT_NE(nullptr, root);
  auto* sprite = dynamic_cast<CCSprite*>(owner->bound["s"]);
  ASSERT_NE(nullptr, sprite);
  {
    RunningTree tree(root);
    tree.step(0);
    tree.step(0.6f);
    EXPECT_EQ(10.f, sprite->getTextureRect().size.width);
    EXPECT_EQ(30.f, sprite->getTextureRect().size.height);
  }
  owner->release();
}

TEST_F(CCBReaderTest, SubFilesNamedBySeveralSpellingsOfThemselvesAreReadOnce) {
  // Every spelling reaches ccbi/a.ccbi; compared as text they once multiplied without end.
  std::string text = "CCNode as owner a {\n";
  const char* names[] = {"a", "/a", "//a", "///a", "////a", "a.ccbi"};
  for (const char* name : names) text += std::string(" CCBFile {\n  ccbFile \"") + name + "\"\n }\n";
  put("ccbi/a.ccbi", text + "}\n");
  mvtest::LogCapture log;
  Owner* owner = new Owner();
  CCNode* root = read("ccbi/a.ccbi", false, owner);
  ASSERT_NE(nullptr, root);
  EXPECT_EQ(6u, root->getChildrenCount());
  EXPECT_EQ(6, log.count("contains itself"));
  owner->release();
}

TEST_F(CCBReaderTest, SubFileFanOutStopsAtTheBoundsOfOneScreen) {
  // Each level holds the next twice: 2^24 nodes if nothing stopped it.
  const int levels = 24;
  for (int i = 0; i < levels; ++i) {
    std::string sub = " CCBFile {\n  ccbFile \"f" + std::to_string(i + 1) + "\"\n }\n";
    put("ccbi/f" + std::to_string(i) + ".ccbi", "CCNode {\n" + sub + sub + "}\n");
  }
  put("ccbi/f" + std::to_string(levels) + ".ccbi", "CCNode {\n}\n");
  mvtest::LogCapture log;
  CCNode* wide = read("ccbi/f0.ccbi");
  ASSERT_NE(nullptr, wide);
  EXPECT_EQ(1, log.count("holds more than 10000 nodes"));
  EXPECT_EQ(1, log.count("lies more than 16 files deep"));
  // A second screen read by the same program starts its count afresh.
  put("ccbi/small.ccbi", "CCNode {\n CCBFile {\n  ccbFile \"f22\"\n }\n}\n");
  CCNode* small = read("ccbi/small.ccbi");
  ASSERT_NE(nullptr, small);
  EXPECT_EQ(2u, childAt(small, 0)->getChildrenCount());
  EXPECT_EQ(1, log.count("holds more than"));
}

}  // namespace
