#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CCEditBox.h"
#include "CCEditBoxImplWin.h"
#include "CCIMEDispatcher.h"
#include "CCLabelBMFont.h"
#include "CCLayerColor.h"
#include "CCScene.h"
#include "test_util.h"

using namespace cocos2d;
using namespace cocos2d::extension;

namespace {

class Recorder : public CCEditBoxDelegate {
 public:
  void editBoxEditingDidBegin(CCEditBox*) override { calls.push_back("begin"); }
  void editBoxEditingDidEnd(CCEditBox*) override { calls.push_back("end"); }
  void editBoxReturn(CCEditBox* box) override { calls.push_back(std::string("return:") + box->getText()); }
  void editBoxTextChanged(CCEditBox*, const std::string& text) override { calls.push_back("changed:" + text); }
  std::vector<std::string> calls;
};

// A 35-wide box at (100, 100) with a font of 'a' (advance 5), 'Ж' (advance 10) and space.
class EditBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!mvtest::ensureWindow()) GTEST_SKIP() << "no display";
    dir.write("72.fnt",
              "common lineHeight=16 pages=1\npage id=0 file=\"72.png\"\n"
              "char id=97 x=0 y=0 width=4 height=8 xoffset=0 yoffset=4 xadvance=5\n"
              "char id=1046 x=4 y=0 width=9 height=12 xoffset=0 yoffset=2 xadvance=10\n"
              "char id=32 x=0 y=0 width=0 height=0 xoffset=0 yoffset=0 xadvance=5\n");
    mvtest::writeSolidPng(dir.file("72.png"), 16, 16, 255, 255, 255);
    CCEditBoxImplWin::setFontFile(dir.file("72.fnt"));
    scene = CCScene::create();
    scene->retain();
    box = CCEditBox::create(CCSize(35, 20), nullptr);
    ASSERT_NE(nullptr, box);
    box->setPosition(CCPoint(100, 100));
    scene->addChild(box);
    scene->onEnter();
    impl = static_cast<CCEditBoxImplWin*>(box->getImpl());
  }
  void TearDown() override {
    if (scene) {
      if (impl) impl->closeKeyboard();
      scene->onExit();
      scene->release();
    }
    CCEditBoxImplWin::setFontFile("fonts/72.fnt");
    CCLabelBMFont::purgeCachedData();
  }
  void type(const std::string& s) {
    CCIMEDispatcher::sharedDispatcher()->dispatchInsertText(s.c_str(), static_cast<int>(s.size()));
  }
  void backspace() { CCIMEDispatcher::sharedDispatcher()->dispatchDeleteBackward(); }
  void pressReturn() {
    CCIMEKeyboardNotificationInfo info;
    CCIMEDispatcher::sharedDispatcher()->dispatchKeyboardWillHide(info);
  }
  mvtest::TempDir dir;
  CCScene* scene = nullptr;
  CCEditBox* box = nullptr;
  CCEditBoxImplWin* impl = nullptr;
};

TEST_F(EditBoxTest, LongTextShowsItsTailInWholeCharactersWithTheCaretAfterIt) {
  impl->openKeyboard();
  type("ЖЖ");
  type("ЖЖЖ");
  EXPECT_EQ("ЖЖЖЖЖ", std::string(box->getText()));
  EXPECT_STREQ("ЖЖЖ", impl->getTextLabel()->getString());  // 30 of 35
  EXPECT_FLOAT_EQ(impl->getTextLabel()->getPositionX() + 30, impl->getCursor()->getPositionX());
  type("aa");
  EXPECT_STREQ("ЖЖaa", impl->getTextLabel()->getString());  // 40 would not fit
}

TEST_F(EditBoxTest, AMaximumLengthTakesWholeCharactersUpToItAndNoMore) {
  box->setMaxLength(4);
  impl->openKeyboard();
  type("aЖ");
  type("ЖaЖ");
  EXPECT_EQ("aЖЖa", std::string(box->getText()));
  type("a");
  EXPECT_EQ("aЖЖa", std::string(box->getText()));
  backspace();
  type("ЖЖ");
  EXPECT_EQ("aЖЖЖ", std::string(box->getText()));
}

TEST_F(EditBoxTest, BackspaceRemovesWholeCharactersAndAnEmptyTextShowsThePlaceholder) {
  box->setPlaceHolder("aaa");
  EXPECT_TRUE(impl->getPlaceholderLabel()->isVisible());
  impl->openKeyboard();
  type("aЖ😀");
  EXPECT_FALSE(impl->getPlaceholderLabel()->isVisible());
  backspace();
  EXPECT_EQ("aЖ", std::string(box->getText()));
  backspace();
  EXPECT_EQ("a", std::string(box->getText()));
  backspace();
  backspace();
  EXPECT_EQ("", std::string(box->getText()));
  EXPECT_TRUE(impl->getPlaceholderLabel()->isVisible());
}

TEST_F(EditBoxTest, TypingIsIgnoredUntilTheBoxIsOpenedByATapOnIt) {
  type("aa");
  EXPECT_EQ("", std::string(box->getText()));
  mvtest::touchAt(mvtest::kBegan, 100, 100);
  mvtest::touchAt(mvtest::kEnded, 100, 100);
  EXPECT_TRUE(impl->isKeyboardOpen());
  EXPECT_EQ(255, impl->getCursor()->getOpacity());
  EXPECT_TRUE(CCIMEDispatcher::sharedDispatcher()->isAnyDelegateEditing());
  type("aa");
  EXPECT_EQ("aa", std::string(box->getText()));

  // A tap elsewhere closes it, with touch or mouse, and keeps the text.
  for (auto input : {mvtest::touchAt, mvtest::mouseAt}) {
    impl->openKeyboard();
    input(mvtest::kBegan, 400, 300);
    input(mvtest::kEnded, 400, 300);
    EXPECT_FALSE(impl->isKeyboardOpen());
    EXPECT_EQ(0, impl->getCursor()->getOpacity());
    EXPECT_EQ("aa", std::string(box->getText()));
  }
  mvtest::mouseAt(mvtest::kBegan, 100, 100);
  mvtest::mouseAt(mvtest::kEnded, 100, 100);
  EXPECT_TRUE(impl->isKeyboardOpen());
}

TEST_F(EditBoxTest, ReturnReportsTheLineAndKeepsTheBoxOpenAndIsSafeWithoutADelegate) {
  impl->openKeyboard();
  type("aa");
  pressReturn();  // no delegate: nothing happens
  EXPECT_TRUE(impl->isKeyboardOpen());
  Recorder recorder;
  box->setDelegate(&recorder);
  type("a");
  backspace();  // typing tells the delegate nothing; Return hands it the line
  pressReturn();
  EXPECT_EQ((std::vector<std::string>{"end", "return:aa"}), recorder.calls);
  EXPECT_TRUE(impl->isKeyboardOpen());
  EXPECT_EQ("aa", std::string(box->getText()));
  impl->closeKeyboard();
  pressReturn();
  EXPECT_EQ(2u, recorder.calls.size());
  box->setDelegate(nullptr);
}

}  // namespace
