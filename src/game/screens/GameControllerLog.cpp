// The game log (system lines and chat, kept for the whole run) and the chat box.
#include <algorithm>
#include <cmath>

#include "CCBMFontConfiguration.h"
#include "CCEditBox.h"
#include "CCLabelBMFont.h"
#include "CCLayer.h"
#include "CCPointExtension.h"
#include "CCScrollView.h"
#include "CCSprite.h"
#include "EventDispatcher.h"
#include "GameController.h"
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

std::string GameController::logLineText(const LogRecord& record) {
  return record.name.empty() ? record.text : record.name + ": " + record.text;
}

std::vector<LogColour> GameController::logLineColours(const LogRecord& record) {
  // Counted as the label counts its characters.
  const std::size_t length = ccUTF8ToUTF16(logLineText(record)).size();
  if (record.name.empty()) return std::vector<LogColour>(length, record.colour);
  // The name and its colon, then the text.
  const std::size_t nameLength = ccUTF8ToUTF16(record.name).size();
  std::vector<LogColour> colours(length, kLogTextColour);
  for (std::size_t i = 0; i <= nameLength && i < length; ++i) colours[i] = kLogNameColour;
  return colours;
}

std::size_t GameController::logLinesShown() const { return logLines_ ? logLines_->getChildrenCount() : 0; }

void GameController::addLogLine(const std::string& name, const std::string& line, LogColour colour) {
  logRecords.push_back({name, line, colour});
  const bool shown = logLines_ && chatlog && chatlog->getContainer() && logLines_->getParent() &&
                     logLines_->getParent()->getParent() == chatlog->getContainer();
  // A long run of games does not grow the shown lines without end: the oldest one goes.
  if (shown && logLinesShown() >= kLogShownLines) dropOldestLogLabel();
  // The lines there are stay as they are: the new one goes under them.
  if (shown)
    appendLogLabel(logRecords.back());
  else
    layoutLog();
}

void GameController::dropOldestLogLabel() {
  CCArray* labels = logLines_->getChildren();
  if (!labels || labels->count() == 0) return;
  CCNode* oldest = static_cast<CCNode*>(labels->objectAtIndex(0));
  const float height = static_cast<float>(static_cast<int>(oldest->getContentSize().height));
  logLines_->removeChild(oldest, true);
  logRows_.dropFirstRow();
  // The rest hang from the top edge: each moves up by the line that went.
  CCObject* o = nullptr;
  CCARRAY_FOREACH(labels, o) {
    CCNode* label = static_cast<CCNode*>(o);
    label->setPositionY(label->getPositionY() + height);
  }
  logHeight_ -= height;
}

void GameController::layoutLog() {
  logLines_ = nullptr;
  logHeight_ = 0;
  logRows_.clearRows();
  if (!chatlog) return;
  // The view holds whole lines: its top edge, under the log's title, never cuts one.
  if (CCLabelBMFont* probe = CCLabelBMFont::create("A", mv::fontFileName("font-14.fnt").c_str())) {
    const float line = std::floor(probe->getContentSize().height);
    const CCSize view = chatlog->getViewSize();
    if (line > 0 && view.height >= line) chatlog->setViewSize(CCSize(view.width, std::floor(view.height / line) * line));
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
  logLines_ = lines;
  chatlog->setContainer(container);
  const std::size_t first = logRecords.size() > kLogShownLines ? logRecords.size() - kLogShownLines : 0;
  for (std::size_t i = first; i < logRecords.size(); ++i) appendLogLabel(logRecords[i]);
  if (logRecords.empty()) placeLogLines();
}

void GameController::appendLogLabel(const LogRecord& record) {
  const CCSize view = chatlog->getViewSize();
  CCLabelBMFont* label = CCLabelBMFont::create(logLineText(record).c_str(), mv::fontFileName("font-14.fnt").c_str(),
                                               view.width - 2 * kLogMargin, kCCTextAlignmentLeft);
  if (label) {
    const std::vector<LogColour> colours = logLineColours(record);
    for (CCSprite* glyph : label->getGlyphSprites()) {
      const int i = glyph->getTag();
      const LogColour c = i >= 0 && i < static_cast<int>(colours.size()) ? colours[i] : record.colour;
      glyph->setColor(ccc3(c.r, c.g, c.b));
    }
    logHeight_ += static_cast<float>(static_cast<int>(label->getContentSize().height));
    label->setAnchorPoint(CCPointZero);
    label->setPosition(ccp(kLogMargin, -logHeight_));
    logLines_->addChild(label);
    logRows_.assign("line", label);
    logRows_.keepRow();
  }
  placeLogLines();
}

void GameController::placeLogLines() {
  CCNode* container = chatlog->getContainer();
  const CCSize view = chatlog->getViewSize();
  // A short log reads from the top of the view; a long one keeps its newest line at the
  // bottom and its older lines above, out of sight under the title.
  const float height = std::max(logHeight_, std::floor(view.height - kLogMargin));
  logLines_->setPosition(ccp(0, height));
  logLines_->getParent()->setContentSize(CCSize(view.width, height));
  container->setContentSize(CCSize(view.width, height));
  chatlog->updateInset();
  // The newest lines, at the bottom, in view.
  chatlog->setContentOffset(ccp(0, kLogMargin), false);
}

void GameController::editBoxEditingDidBegin(CCEditBox*) { LOGOG_INFO("GUI::chat box opened"); }

void GameController::editBoxReturn(CCEditBox* editBox) {
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
  releaseChatKeys();
  if (line.find_first_not_of(" \t") == std::string::npos) return;
  addLogLine(text("YOU"), line, kLogTextColour);
  if (!gameOnline())
    addLogLine(text("AI"), text("DONT_UNDERSTAND"), kLogTextColour);
  else
    hub_->sendChat(line);
}
