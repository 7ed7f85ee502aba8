#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "CCBDocument.h"
#include "CCBBinary.h"
#include "CCBMemberVariableAssigner.h"
#include "CCBSelectorResolver.h"
#include "CCKeyboardEvent.h"
#include "CCLayer.h"
#include "CCLabelTTF.h"
#include "CCMenu.h"
#include "CCMenuItem.h"
#include "CCLayerColor.h"
#include "CCMenuItemColor.h"
#include "CCMouseDelegate.h"
#include "CCScene.h"
#include "CCScrollView.h"
#include "CCSet.h"
#include "CCSprite.h"
#include "CCTouch.h"
#include "CapturedLog.h"
#include "CcbText.h"
#include "LoadNode.h"
#include "NodeBindings.h"
#include "NodeRects.h"
#include "RotatableScene.h"
#include "ScriptedPlayer.h"

using namespace cocos2d;
using mvtest::ScriptedPlayer;

namespace {

// Compiles a screen from text into a scratch file and returns its absolute path.
std::string compiled(const std::string& name, const std::string& text) {
  extension::CCBDocument doc;
  std::string error;
  EXPECT_TRUE(ccbc::compileText(text, name, doc, error)) << error;
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(extension::ccbWriteDocument(doc, bytes, &error)) << error;
  std::string path = ::testing::TempDir() + "mv_driver_" + std::to_string(getpid()) + "_" + name;
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
  return path;
}

// A grey screen with a green button in its middle, a hidden red one in the corner, and a
// caption layer; "bogus" is bound by the controller as a button but is a plain layer.
const char* kScreen =
    "CCLayerColor {\n"
    "  contentSize 0 0 100 100\n"
    "  color 90 90 90\n"
    "  opacity 255\n"
    "  CCLayerColor as owner caption {\n"
    "    position 0 0 0 90\n"
    "    contentSize 0 40 100 0\n"
    "    color 10 10 10\n"
    "    opacity 255\n"
    "  }\n"
    "  CCLayerColor as owner bogus {\n"
    "    contentSize 10 10 0 0\n"
    "  }\n"
    "  CCMenu {\n"
    "    position 0 0 0 0\n"
    "    CCMenuItemColor as owner go {\n"
    "      position 0 0 50 50\n"
    "      normalcolor \"0,200,0,255\"\n"
    "      selectedcolor \"0,120,0,255\"\n"
    "      contentsize \"120,48\"\n"
    "      block onGo 2\n"
    "    }\n"
    "    CCMenuItemColor as owner hidden {\n"
    "      position 40 40 0 0\n"
    "      visible false\n"
    "      normalcolor \"200,0,0,255\"\n"
    "      contentsize \"60,60\"\n"
    "      block onHidden 2\n"
    "    }\n"
    "  }\n"
    "}\n";

// A controller in the screens' pattern: binds through its table, counts its selectors, and
// records the input that reaches its layer.
class Controller : public CCLayer,
                   public extension::CCBMemberVariableAssigner,
                   public extension::CCBSelectorResolver {
 public:
  Controller() : bindings("TEST::") {
    bindings.declare("caption", &caption);
    bindings.declare("go", &go);
    bindings.declare("hidden", &hidden);
    bindings.declare("bogus", &bogus);
    bindings.declare("absent", &absent);
  }
  static Controller* create() {
    Controller* c = new Controller();
    c->init();
    c->autorelease();
    c->setTouchEnabled(true);
    c->setKeypadEnabled(true);
    return c;
  }
  CCNode* load(const std::string& path) {
    bindings.beginLoad();
    CCNode* root = mv::loadNode(path.c_str(), this, false, false);
    missing = bindings.endLoad();
    return root;
  }
  bool onAssignCCBMemberVariable(CCObject* target, CCString* name, CCNode* node) override {
    return target == this && bindings.assign(name, node);
  }
  SEL_MenuHandler onResolveCCBCCMenuItemSelector(CCObject* pTarget, CCString* pSelectorName) override {
    CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onGo", Controller::onGo);
    CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onHidden", Controller::onHidden);
    return nullptr;
  }
  void onGo(CCObject*) { ++goes; }
  void onHidden(CCObject*) { ++hiddenPresses; }

  bool ccTouchesBegan(CCSet* touches, int, CCEvent*) override {
    began.push_back(static_cast<CCTouch*>(touches->anyObject())->getLocation());
    return true;
  }
  void ccTouchesMoved(CCSet*, int, CCEvent*) override { ++moves; }
  bool mouseScrolled(CCMouseEvent* event, CCEvent*) override {
    scrolls.push_back(event->getDelta().y);
    return true;
  }
  void keyDown(CCKeyboardEvent* event, CCEvent*) override {
    keys.push_back(event->getKeyCode() * 100 + event->getModifiers());
  }

  mv::NodeBindings bindings;
  CCLayerColor* caption = nullptr;
  CCMenuItemColor* go = nullptr;
  CCMenuItemColor* hidden = nullptr;
  CCMenuItemColor* bogus = nullptr;
  CCSprite* absent = nullptr;
  int missing = 0, goes = 0, hiddenPresses = 0, moves = 0;
  std::vector<CCPoint> began;
  std::vector<float> scrolls;
  std::vector<int> keys;
};

class Screen : public mv::RotatableScene {
 public:
  static Screen* create(const std::string& path) {
    Screen* s = new Screen();
    s->init();
    s->autorelease();
    s->path = path;
    s->controller = Controller::create();
    s->addChild(s->controller);
    s->relayout();
    return s;
  }
  void relayout() override {
    RotatableScene::relayout();
    ++layouts;
    if (root) root->removeFromParent();
    root = controller->load(path);
    if (root) controller->addChild(root);
  }
  std::string path;
  Controller* controller = nullptr;
  CCNode* root = nullptr;
  int layouts = 0;
};

class ScreenDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ScriptedPlayer::openWindow(640, 480)) GTEST_SKIP() << "no display";
  }
};

TEST_F(ScreenDriverTest, BindingsTakeTheDeclaredNodesAndLogEachFaultOnce) {
  std::string path = compiled("bindings.ccbi", kScreen);
  CapturedLog log;
  Screen* screen = Screen::create(path);
  ScriptedPlayer::show(screen);
  Controller* c = screen->controller;
  ASSERT_NE(nullptr, c->go);
  ASSERT_NE(nullptr, c->caption);
  EXPECT_EQ(c->go, c->bindings.node("go"));
  EXPECT_EQ(nullptr, c->bogus);  // a layer is no menu item
  EXPECT_EQ(nullptr, c->bindings.node("bogus"));
  EXPECT_EQ(2, c->missing);  // the wrong-typed one is unbound too
  EXPECT_EQ(1, log.count("TEST::member \"bogus\" is not a CCMenuItemColor"));
  EXPECT_EQ(1, log.count("TEST::member \"absent\" (CCSprite) is missing from the screen"));

  // Laid out again: new nodes are bound, the faults are not logged a second time, and
  // nothing holds the old nodes any more once the frame's autoreleased objects are gone.
  CCNode* oldGo = c->go;
  oldGo->retain();
  screen->relayout();
  ScriptedPlayer::frames(1, 0);
  EXPECT_NE(oldGo, c->go);
  EXPECT_EQ(1u, oldGo->retainCount()) << "bindings " << (c->bindings.node("go") == oldGo);
  oldGo->release();
  EXPECT_EQ(1, log.count("is not a CCMenuItemColor"));
  EXPECT_EQ(1, log.count("is missing from the screen"));
  EXPECT_EQ(std::vector<std::string>({"caption", "go", "hidden", "bogus", "absent"}),
            c->bindings.names());
}

TEST_F(ScreenDriverTest, ClicksKeysWheelAndDragsArriveAsAPersonMakesThem) {
  Screen* screen = Screen::create(compiled("input.ccbi", kScreen));
  ScriptedPlayer::show(screen);
  Controller* c = screen->controller;

  // The button in the middle of the window, clicked by its bound name.
  CCRect r = ScriptedPlayer::windowRect(c->go);
  EXPECT_NEAR(320, r.origin.x + r.size.width / 2, 1);
  EXPECT_NEAR(240, r.origin.y + r.size.height / 2, 1);
  EXPECT_TRUE(ScriptedPlayer::click(c->bindings, "go"));
  EXPECT_EQ(1, c->goes);
  // A hidden button takes no click where it would be.
  EXPECT_FALSE(ScriptedPlayer::isShown(c->hidden));
  ScriptedPlayer::click(70, 480 - 70);
  EXPECT_EQ(0, c->hiddenPresses);

  // The layer's own touches: a press at a window point reaches it at the scene point.
  c->began.clear();
  ScriptedPlayer::drag(100, 100, 200, 150, 4);
  ASSERT_FALSE(c->began.empty());
  EXPECT_NEAR(100, c->began.front().x, 1);
  EXPECT_NEAR(480 - 100, c->began.front().y, 1);
  EXPECT_GE(c->moves, 4);

  // Ctrl+= reaches the keyboard handlers with the control bit; the wheel gives 120 a notch.
  ScriptedPlayer::press(SDLK_EQUALS, KMOD_LCTRL);
  ScriptedPlayer::press(SDLK_ESCAPE);
  EXPECT_EQ(std::vector<int>({187 * 100 + 2, 27 * 100}), c->keys);
  ScriptedPlayer::wheel(320, 240, 2);
  ScriptedPlayer::wheel(320, 240, -1);
  EXPECT_EQ(std::vector<float>({240, -120}), c->scrolls);
}

TEST_F(ScreenDriverTest, ScreenshotsShowWhatIsDrawnAndAResizeLaysTheScreenOutAgain) {
  Screen* screen = Screen::create(compiled("shot.ccbi", kScreen));
  ScriptedPlayer::show(screen);
  ScriptedPlayer::runFor(0.3f);  // the cover fades out
  std::string path = ScriptedPlayer::screenshot("driver-640x480");
  ASSERT_FALSE(path.empty());
  struct stat st;
  ASSERT_EQ(0, stat(path.c_str(), &st));
  EXPECT_GT(st.st_size, 100);
  // The caption bar across the top (absolute sizes at half scale: 20 high).
  CCRect bar = ScriptedPlayer::windowRect(screen->controller->caption);
  EXPECT_TRUE(bar.equals(CCRect(0, 28, 640, 20)));
  EXPECT_EQ((mvtest::Rgb{10, 10, 10}), ScriptedPlayer::pixel(320, 38));
  EXPECT_EQ((mvtest::Rgb{0, 200, 0}), ScriptedPlayer::pixel(320, 240));   // the button
  EXPECT_EQ((mvtest::Rgb{90, 90, 90}), ScriptedPlayer::pixel(320, 100));  // the screen

  int before = screen->layouts;
  ScriptedPlayer::resizeWindow(800, 600);
  EXPECT_EQ(before + 1, screen->layouts);
  ScriptedPlayer::runFor(0.3f);
  ScriptedPlayer::capture();
  EXPECT_EQ((mvtest::Rgb{0, 200, 0}), ScriptedPlayer::pixel(400, 300));
  EXPECT_TRUE(ScriptedPlayer::windowRect(screen->controller->caption).equals(CCRect(0, 40, 800, 20)));
  EXPECT_EQ((mvtest::Rgb{10, 10, 10}), ScriptedPlayer::pixel(700, 50));
  EXPECT_TRUE(ScriptedPlayer::click(screen->controller->go));
  EXPECT_EQ(1, screen->controller->goes);
  ScriptedPlayer::resizeWindow(640, 480);
}

// The test report of where bound nodes are drawn: every bound node, and the nodes of each
// kept row under "<name>.<row>", with a label's text at the end of its line.
TEST_F(ScreenDriverTest, TheRectReportNamesBoundNodesAndKeptRowsWithTheirTexts) {
  Screen* screen = Screen::create(compiled("report.ccbi", kScreen));
  ScriptedPlayer::show(screen);
  mv::NodeBindings rows("ROW::");
  CCLabelTTF* label = nullptr;
  CCLayerColor* plate = nullptr;
  rows.declare("label", &label);
  rows.declare("plate", &plate);
  const char* names[] = {"Alder", "Birch of the Hills"};
  for (int i = 0; i < 2; ++i) {
    rows.beginLoad();
    CCLayerColor* row = CCLayerColor::create(ccc4(0, 0, 90, 255), 100, 20);
    row->setPosition(CCPoint(10, 400 - 30 * i));
    CCLabelTTF* text = CCLabelTTF::create(names[i], "DejaVuSans", 14);
    row->addChild(text);
    rows.assign("label", text);
    rows.assign("plate", row);
    rows.keepRow();
    screen->addChild(row);
  }
  rows.beginLoad();
  // A button with a caption, named by it; one without, and a hidden one, are left out.
  CCMenuItem* take = CCMenuItem::create();
  take->setContentSize(CCSize(80, 20));
  take->addChild(CCLabelTTF::create("Take it", "DejaVuSans", 14));
  CCMenuItem* hiddenTake = CCMenuItem::create();
  hiddenTake->addChild(CCLabelTTF::create("Hidden", "DejaVuSans", 14));
  hiddenTake->setVisible(false);
  CCMenu* menu = CCMenu::create();
  menu->addChild(take);
  menu->addChild(hiddenTake);
  menu->setPosition(CCPoint(0, 0));
  take->setPosition(CCPoint(300, 100));
  screen->addChild(menu);
  // Reported nodes are counted by their kind in drawing order; a hidden one is left out.
  struct Spot : CCLayerColor, mv::ReportedNode {
    const char* reportName() const override { return "SPOT"; }
  };
  for (int i = 0; i < 3; ++i) {
    Spot* spot = new Spot();
    spot->initWithColor(ccc4(200, 0, 0, 255), 10, 10);
    spot->autorelease();
    spot->setPosition(CCPoint(500, 100 + 20 * i));
    spot->setVisible(i != 1);
    screen->addChild(spot);
  }
  ASSERT_EQ(2u, rows.rowCount());
  EXPECT_EQ(nullptr, label) << "the fields name no row once the loads are done";
  rows.rowNode(1, "plate")->setVisible(false);
  const std::string path = ::testing::TempDir() + "mv_driver_rects_" + std::to_string(getpid()) + ".txt";
  ASSERT_TRUE(mv::writeBoundNodeRects(path));
  std::ifstream in(path);
  std::map<std::string, std::string> lines;
  std::string line;
  while (std::getline(in, line)) lines[line.substr(0, line.find(' '))] = line;
  EXPECT_EQ("TEST::go 260 216 120 48 1", lines["TEST::go"]);
  EXPECT_EQ("ROW::plate.0 10 60 100 20 1", lines["ROW::plate.0"]);
  EXPECT_EQ("ROW::plate.1 10 90 100 20 0", lines["ROW::plate.1"]);
  EXPECT_NE(std::string::npos, lines["ROW::label.0"].find(" 1 Alder")) << lines["ROW::label.0"];
  EXPECT_NE(std::string::npos, lines["ROW::label.1"].find(" 0 Birch of the Hills")) << lines["ROW::label.1"];
  EXPECT_EQ(1u, lines.count("BUTTON::Take_it"));
  EXPECT_NE(std::string::npos, lines["BUTTON::Take_it"].find(" 1 Take it")) << lines["BUTTON::Take_it"];
  EXPECT_EQ(0u, lines.count("BUTTON::Hidden"));
  EXPECT_EQ("SPOT.0 500 370 10 10 1", lines["SPOT.0"]);
  EXPECT_EQ("SPOT.1 500 330 10 10 1", lines["SPOT.1"]);
  EXPECT_EQ(0u, lines.count("SPOT.2"));
  rows.clearRows();
  ASSERT_TRUE(mv::writeBoundNodeRects(path));
  std::ifstream again(path);
  std::string all((std::istreambuf_iterator<char>(again)), std::istreambuf_iterator<char>());
  EXPECT_EQ(std::string::npos, all.find("ROW::"));
  unlink(path.c_str());
}

TEST_F(ScreenDriverTest, AScrollViewIsAsLargeOnScreenAsItsViewWhateverItHolds) {
  CCScene* scene = CCScene::create();
  extension::CCScrollView* list = extension::CCScrollView::create(CCSize(200, 100));
  list->setPosition(CCPoint(40, 60));
  CCLayer* content = CCLayer::create();
  content->setContentSize(CCSize(200, 900));
  list->setContainer(content);
  scene->addChild(list);
  ScriptedPlayer::show(scene);
  // Scene y 60..160 is window y 320..420 in a 480-high window.
  EXPECT_TRUE(ScriptedPlayer::windowRect(list).equals(CCRect(40, 320, 200, 100)));
}

}  // namespace
