// The game log (system lines and chat, kept for the whole run) and the chat box.
#include "GameLog.h"

#include <algorithm>
#include <cmath>

#include "CCBMFontConfiguration.h"
#include "CCEditBox.h"
#include "CCLabelBMFont.h"
#include "CCLayer.h"
#include "CCPointExtension.h"
#include "CCScale9Sprite.h"
#include "CCScrollView.h"
#include "CCSprite.h"
#include "EventDispatcher.h"
#include "GameContext.h"
#include "PlaceEditBox.h"
#include "QuadBatchNode.h"
#include "ResourceNames.h"
#include "game/GameSession.h"
#include "logog/logog.hpp"

using namespace cocos2d;
using namespace cocos2d::extension;

namespace {

const LogColour kLogNameColour = {193, 0, 0};
constexpr float kLogMargin = 10.0f;

}  // namespace


GameLog::GameLog(EventDispatcher& hub) : hub_(hub), rows_("LOG::") { rows_.declare("line", &rowLine_); }

void GameLog::declareMembers(mv::NodeBindings& b) {
  b.declare("chat", &chat_);
  b.declare("chatlog", &chatlog_);
  b.declare("chattextfieldbg", &chattextfieldbg_);
}

void GameLog::buildOnScreen(float scale) {
  placeEditBox(chattextfieldbg_, scale, this, editBox_);
  // Nothing typed may exceed what the lobby passes on.
  if (editBox_) editBox_->setMaxLength(kChatMaxChars);
  layoutLog();
}

std::string GameLog::lineText(const LogRecord& record) {
  return record.name.empty() ? record.text : record.name + ": " + record.text;
}

std::vector<LogColour> GameLog::lineColours(const LogRecord& record) {
  // Counted as the label counts its characters.
  const std::size_t length = ccUTF8ToUTF16(lineText(record)).size();
  if (record.name.empty()) return std::vector<LogColour>(length, record.colour);
  // The name and its colon, then the text.
  const std::size_t nameLength = ccUTF8ToUTF16(record.name).size();
  std::vector<LogColour> colours(length, kLogTextColour);
  for (std::size_t i = 0; i <= nameLength && i < length; ++i) colours[i] = kLogNameColour;
  return colours;
}

std::size_t GameLog::linesShown() const { return lines_ ? lines_->getChildrenCount() : 0; }

void GameLog::addLine(const std::string& name, const std::string& line, LogColour colour) {
  records_.push_back({name, line, colour});
  const bool shown = lines_ && chatlog_ && chatlog_->getContainer() && lines_->getParent() &&
                     lines_->getParent()->getParent() == chatlog_->getContainer();
  // A long run of games does not grow the shown lines without end: the oldest one goes.
  if (shown && linesShown() >= kLogShownLines) dropOldestLabel();
  // The lines there are stay as they are: the new one goes under them.
  if (shown)
    appendLabel(records_.back());
  else
    layoutLog();
}

void GameLog::dropOldestLabel() {
  CCArray* labels = lines_->getChildren();
  if (!labels || labels->count() == 0) return;
  CCNode* oldest = static_cast<CCNode*>(labels->objectAtIndex(0));
  const float height = static_cast<float>(static_cast<int>(oldest->getContentSize().height));
  lines_->removeChild(oldest, true);
  rows_.dropFirstRow();
  // The rest hang from the top edge: each moves up by the line that went.
  CCObject* o = nullptr;
  CCARRAY_FOREACH(labels, o) {
    CCNode* label = static_cast<CCNode*>(o);
    label->setPositionY(label->getPositionY() + height);
  }
  height_ -= height;
}

void GameLog::layoutLog() {
  lines_ = nullptr;
  height_ = 0;
  rows_.clearRows();
  if (!chatlog_) return;
  // The view holds whole lines: its top edge, under the log's title, never cuts one.
  if (CCLabelBMFont* probe = CCLabelBMFont::create("A", mv::fontFileName("font-14.fnt").c_str())) {
    const float line = std::floor(probe->getContentSize().height);
    const CCSize view = chatlog_->getViewSize();
    if (line > 0 && view.height >= line) chatlog_->setViewSize(CCSize(view.width, std::floor(view.height / line) * line));
  }
  CCLayer* container = CCLayer::create();
  // One batch draws every line (they share one font); it hangs from the log's top edge,
  // so a new line at the bottom moves nothing else. It lies in a node as large as the
  // lines, which the view tests for being in sight.
  QuadBatchNode* lines = QuadBatchNode::create(0);
  if (!lines) return;
  CCNode* holder = CCNode::create();
  holder->addChild(lines);
  container->addChild(holder);
  lines_ = lines;
  chatlog_->setContainer(container);
  const std::size_t first = records_.size() > kLogShownLines ? records_.size() - kLogShownLines : 0;
  for (std::size_t i = first; i < records_.size(); ++i) appendLabel(records_[i]);
  if (records_.empty()) placeLines();
}

void GameLog::appendLabel(const LogRecord& record) {
  const CCSize view = chatlog_->getViewSize();
  CCLabelBMFont* label = CCLabelBMFont::create(lineText(record).c_str(), mv::fontFileName("font-14.fnt").c_str(),
                                               view.width - 2 * kLogMargin, kCCTextAlignmentLeft);
  if (label) {
    const std::vector<LogColour> colours = lineColours(record);
    for (CCSprite* glyph : label->getGlyphSprites()) {
      const int i = glyph->getTag();
      const LogColour c = i >= 0 && i < static_cast<int>(colours.size()) ? colours[i] : record.colour;
      glyph->setColor(ccc3(c.r, c.g, c.b));
    }
    height_ += static_cast<float>(static_cast<int>(label->getContentSize().height));
    label->setAnchorPoint(CCPointZero);
    label->setPosition(ccp(kLogMargin, -height_));
    lines_->addChild(label);
    rows_.assign("line", label);
    rows_.keepRow();
  }
  placeLines();
}

void GameLog::placeLines() {
  CCNode* container = chatlog_->getContainer();
  const CCSize view = chatlog_->getViewSize();
  // A short log reads from the top of the view; a long one keeps its newest line at the
  // bottom and its older lines above, out of sight under the title.
  const float height = std::max(height_, std::floor(view.height - kLogMargin));
  lines_->setPosition(ccp(0, height));
  lines_->getParent()->setContentSize(CCSize(view.width, height));
  container->setContentSize(CCSize(view.width, height));
  chatlog_->updateInset();
  // The newest lines, at the bottom, in view.
  chatlog_->setContentOffset(ccp(0, kLogMargin), false);
}

// ---- The chat box ------------------------------------------------------------------------------

void GameLog::showChat(bool shown) {
  if (chat_) chat_->setVisible(shown);
  // A hidden chat box lets the keys go: the hotkeys work again (a target's digit) and
  // nothing typed lands in a box no one sees.
  if (!shown) releaseKeys();
}

void GameLog::releaseKeys() {
  CCEditBoxImpl* box = editBox_ ? editBox_->getImpl() : nullptr;
  if (box && box->isEditing()) box->closeKeyboard();
}

void GameLog::clearTyped() {
  if (editBox_) editBox_->setText("");
  releaseKeys();
}

void GameLog::editBoxEditingDidBegin(CCEditBox*) { LOGOG_INFO("GUI::chat box opened"); }

void GameLog::editBoxReturn(CCEditBox* editBox) {
  if (!editBox) return;
  std::string line = editBox->getText() ? editBox->getText() : "";
  if (line.size() > kChatMaxBytes) {
    // The box keeps a line well under the lobby's limit; a longer one is cut at a whole
    // character rather than dropped unseen on the way.
    std::size_t cut = kChatMaxBytes;
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
    LOGOG_WARN("GUI::a chat line of %zu bytes was cut to %zu", line.size(), cut);
    line.resize(cut);
  }
  // The line is sent once and the keys go back to the game with it (a card's digit is
  // a card again); a line with nothing in it is not sent at all.
  editBox->setText("");
  releaseKeys();
  if (line.find_first_not_of(" \t") == std::string::npos) return;
  const TextLookup& texts = hub_.context().text();
  addLine(texts.text("YOU"), line, kLogTextColour);
  if (!hub_.game().online())
    addLine(texts.text("AI"), texts.text("DONT_UNDERSTAND"), kLogTextColour);
  else
    hub_.sendChat(line);
}
