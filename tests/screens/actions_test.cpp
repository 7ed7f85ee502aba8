// The two steps of scripted sequences (a label's text, a sound), and the text-input box put
// in place of a layout's placeholder.
#include "CCActionInterval.h"
#include "CCEditBox.h"
#include "CCLabelBMFont.h"
#include "CCLabelTTF.h"
#include "CCLayer.h"
#include "CCScale9Sprite.h"
#include "CCScene.h"
#include "CCScrollView.h"
#include "CCSprite.h"
#include "InstantActions.h"
#include "PlaceEditBox.h"
#include "RowList.h"
#include "ScreensFixture.h"

using namespace cocos2d;
using namespace cocos2d::extension;
using mvtest::ScriptedPlayer;

namespace {

class ActionsTest : public mvtest::ScreensTest {
 protected:
  void SetUp() override {
    ScreensTest::SetUp();
    if (IsSkipped()) return;
    loadGameData();
    scene = CCScene::create();
    ScriptedPlayer::show(scene);
  }
  CCScene* scene = nullptr;
};

TEST_F(ActionsTest, SetTextChangesOnlyABitmapLabelAndCopiesCarryTheirText) {
  CCLabelBMFont* label = CCLabelBMFont::create("before", "fonts/body.fnt");
  CCLabelBMFont* other = CCLabelBMFont::create("other", "fonts/body.fnt");
  CCLabelTTF* ttf = CCLabelTTF::create("ttf", "DejaVuSans", 14);
  CCSprite* sprite = CCSprite::createWithSpriteFrameName("bird-1.png");
  for (CCNode* n : {static_cast<CCNode*>(label), static_cast<CCNode*>(other), static_cast<CCNode*>(ttf),
                    static_cast<CCNode*>(sprite)})
    scene->addChild(n);

  ActSetText* set = ActSetText::create("after");
  // A copy made by a sequence that is itself copied still sets the same text.
  CCAction* copied = static_cast<CCAction*>(
      CCSequence::create(CCDelayTime::create(0.1f), set, nullptr)->copy()->autorelease());
  label->runAction(set);
  other->runAction(copied);
  ttf->runAction(ActSetText::create("changed"));
  sprite->runAction(ActSetText::create("changed"));
  ScriptedPlayer::runFor(0.3f);
  EXPECT_STREQ("after", label->getString());
  EXPECT_STREQ("after", other->getString());
  EXPECT_STREQ("ttf", ttf->getString());

  label->runAction(ActSetText::create(""));
  ScriptedPlayer::frames(2);
  EXPECT_STREQ("", label->getString());

  PlaySound* sound = PlaySound::create("sounds/lightning.wav");
  PlaySound* copy = static_cast<PlaySound*>(sound->copy()->autorelease());
  EXPECT_EQ("sounds/lightning.wav", copy->path());
  label->runAction(CCSequence::create(copy, sound, nullptr));  // plays (silently here), twice
  ScriptedPlayer::frames(2);
}

TEST_F(ActionsTest, AnEditBoxTakesThePlaceholdersPlaceAtTheScreensScale) {
  CCLayer* parent = CCLayer::create();
  scene->addChild(parent);
  CCScale9Sprite* placeholder = CCScale9Sprite::createWithSpriteFrameName("frame-textfield.png");
  ASSERT_NE(nullptr, placeholder);
  placeholder->setPreferredSize(CCSize(200, 40));
  placeholder->setAnchorPoint(CCPoint(0.5f, 0.5f));
  placeholder->setPosition(CCPoint(300, 200));
  parent->addChild(placeholder);

  struct Delegate : CCEditBoxDelegate {
    void editBoxReturn(CCEditBox*) override {}
  } delegate;
  CCEditBox* box = nullptr;
  placeEditBox(placeholder, 0.5f, &delegate, box);
  ASSERT_NE(nullptr, box);
  EXPECT_EQ(parent, box->getParent());
  EXPECT_EQ(box, placeholder->getParent()) << "the placeholder is the box's background";
  EXPECT_EQ(&delegate, box->getDelegate());
  // Half the size; moved so its middle stays where the placeholder's was.
  EXPECT_TRUE(box->getPreferredSize().equals(CCSize(100, 20)));
  EXPECT_TRUE(box->getPosition().equals(CCPoint(300 - 50, 200 + 10)));
  EXPECT_TRUE(box->getAnchorPoint().equals(CCPoint(0.5f, 0.5f)));
  EXPECT_TRUE(placeholder->getPreferredSize().equals(CCSize(200, 40)));

  CCEditBox* none = box;
  placeEditBox(nullptr, 1.0f, &delegate, none);
  EXPECT_EQ(nullptr, none);
}

TEST_F(ActionsTest, RowsStackTopDownAndTheirHeightsAddWithTruncation) {
  auto* list = CCScrollView::create(CCSize(200, 100));
  EXPECT_EQ(0, mv::stackRows(list, {}));
  EXPECT_EQ(0, list->getContainer()->getContentSize().height);
  std::vector<CCNode*> rows;
  for (int i = 0; i < 3; ++i) {
    CCNode* row = CCNode::create();
    row->setContentSize(CCSize(150, 10.6f));
    rows.push_back(row);
  }
  EXPECT_EQ(30, mv::stackRows(list, rows));
  EXPECT_TRUE(list->getContainer()->getContentSize().equals(CCSize(200, 30)));
  EXPECT_EQ(19, rows[0]->getPositionY());
  EXPECT_EQ(8, rows[1]->getPositionY());
  EXPECT_EQ(-2, rows[2]->getPositionY());
  for (CCNode* row : rows) {
    EXPECT_EQ(100, row->getPositionX());
    EXPECT_TRUE(row->getAnchorPoint().equals(CCPoint(0.5f, 0)));
  }
}

}  // namespace
