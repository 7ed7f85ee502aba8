#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CCEGLViewProtocol.h"
#include "CCSet.h"
#include "CCTouch.h"

using namespace cocos2d;

namespace {

class WindowlessView : public CCEGLViewProtocol {
 public:
  void end() override {}
  bool isOpenGLReady() override { return false; }
  void swapBuffers() override {}
};

// Writes "kind touches/active" for every report, e.g. "ended 1/2".
class Recorder : public EGLTouchDelegate {
 public:
  void touchesBegan(CCSet* t, int active, CCEvent*) override { note("began", t, active); }
  void touchesMoved(CCSet* t, int active, CCEvent*) override { note("moved", t, active); }
  void touchesEnded(CCSet* t, int active, CCEvent*) override { note("ended", t, active); }
  void touchesCancelled(CCSet* t, int active, CCEvent*) override { note("cancelled", t, active); }
  std::vector<std::string> log;

 private:
  void note(const char* kind, CCSet* t, int active) {
    log.push_back(std::string(kind) + " " + std::to_string(t->count()) + "/" + std::to_string(active));
  }
};

TEST(ViewTouchTest, EndingAndCancellingReportTheTouchesAndFreeTheirSlots) {
  WindowlessView view;
  Recorder rec;
  view.setTouchDelegate(&rec);
  int both[] = {7, 9}, seven[] = {7}, nine[] = {9}, unknown[] = {4};
  float xs[] = {10, 20}, ys[] = {30, 40};

  view.handleTouchesBegin(2, both, xs, ys);
  view.handleTouchesMove(1, nine, xs, ys);
  view.handleTouchesEnd(1, seven, xs, ys);     // counted while it ends
  view.handleTouchesCancel(1, nine, xs, ys);
  view.handleTouchesEnd(1, unknown, xs, ys);   // never began: nobody hears of it
  view.handleTouchesCancel(1, seven, xs, ys);  // already ended
  view.handleTouchesBegin(2, both, xs, ys);    // both slots are free again
  EXPECT_EQ((std::vector<std::string>{"began 2/2", "moved 1/2", "ended 1/2", "cancelled 1/1", "began 2/2"}),
            rec.log);
}

}  // namespace
