// The game screen's log and chat: the log's records (system lines and chat, kept for the
// whole run) shown as lines in a scroll view, newest at the bottom, and the chat box whose
// line goes to the opponent (or to the computer, which does not understand).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "CCEditBoxImpl.h"
#include "GameScreen.h"
#include "NodeBindings.h"

namespace cocos2d {
class CCLabelBMFont;
class CCLayer;
class CCNode;
namespace extension {
class CCEditBox;
class CCScale9Sprite;
class CCScrollView;
}  // namespace extension
}  // namespace cocos2d

class EventDispatcher;

// One line of the chat and game log.
struct LogRecord {
  std::string name;
  std::string text;
  LogColour colour;
};

class GameLog : public cocos2d::extension::CCEditBoxDelegate {
 public:
  // The longest chat line the lobby passes on, in bytes; the chat box takes at most
  // kChatMaxChars characters, which stay under it in any script.
  static constexpr std::size_t kChatMaxBytes = 2000;
  static constexpr int kChatMaxChars = 500;
  // The log builds and shows this many of its newest lines; its records stay for the run.
  static constexpr std::size_t kLogShownLines = 200;
  // The colour of the log's own lines.

  explicit GameLog(EventDispatcher& hub);
  GameLog(const GameLog&) = delete;
  GameLog& operator=(const GameLog&) = delete;

  // Declares the nodes the log binds from the screen's layout.
  void declareMembers(mv::NodeBindings& bindings);
  // A new screen: the chat box in place of its placeholder (at the screen's scale), the
  // log's view made anew from every record.
  void buildOnScreen(float scale);

  void addLine(const std::string& name, const std::string& text, LogColour colour);
  // The log's view made anew from every record.
  void layoutLog();
  // The chat bar shows or hides; a hidden chat box lets the keys go.
  void showChat(bool shown);
  // The chat box stops taking the keys.
  void releaseKeys();
  // Nothing typed is kept (a new match); the keys go back to the game.
  void clearTyped();

  // The chat box: a line typed and sent with RETURN.
  void editBoxReturn(cocos2d::extension::CCEditBox* editBox) override;
  // Logged, so a watcher of the log knows the box has the keys.
  void editBoxEditingDidBegin(cocos2d::extension::CCEditBox* editBox) override;

  const std::vector<LogRecord>& records() const { return records_; }
  // The lines the log's view holds.
  std::size_t linesShown() const;
  cocos2d::extension::CCEditBox* editBox() const { return editBox_; }
  cocos2d::extension::CCScrollView* logView() const { return chatlog_; }
  cocos2d::CCLayer* chatBar() const { return chat_; }

  // The text of a record as drawn: the text alone, or "name: text".
  static std::string lineText(const LogRecord& record);
  // The colour of each character (UTF-8 characters) of a record's line.
  static std::vector<LogColour> lineColours(const LogRecord& record);

 private:
  // One record's label, added under the lines there are.
  void appendLabel(const LogRecord& record);
  // The first label removed, the others moved up into its place.
  void dropOldestLabel();
  // The lines hang from the top of a view as high as they are; the newest in view.
  void placeLines();

  EventDispatcher& hub_;
  std::vector<LogRecord> records_;
  cocos2d::CCLayer* chat_ = nullptr;
  cocos2d::extension::CCScrollView* chatlog_ = nullptr;
  cocos2d::extension::CCScale9Sprite* chattextfieldbg_ = nullptr;
  cocos2d::extension::CCEditBox* editBox_ = nullptr;
  cocos2d::CCNode* lines_ = nullptr;  // the labels, in the log's view
  float height_ = 0;
  // The lines as rows "LOG::line.<n>" for the test report of where nodes are drawn.
  mv::NodeBindings rows_;
  cocos2d::CCLabelBMFont* rowLine_ = nullptr;
};
