#include "NodeRects.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>

#include "CCDirector.h"
#include "CCEGLView.h"
#include "CCMenuItem.h"
#include "CCNode.h"
#include "CCProtocols.h"
#include "CCScrollView.h"
#include "CCScene.h"
#include "CCScheduler.h"
#include "NodeBindings.h"

namespace mv {

using namespace cocos2d;

CCPoint sceneToWindow(const CCPoint& scenePoint) {
  CCDirector* director = CCDirector::sharedDirector();
  CCEGLView* view = director->getOpenGLView();
  if (!view) return scenePoint;
  CCSize win = director->getWinSize();
  const CCRect& vp = view->getViewPortRect();
  float sx = view->getScaleX() != 0 ? view->getScaleX() : 1;
  float sy = view->getScaleY() != 0 ? view->getScaleY() : 1;
  return CCPoint(scenePoint.x * sx + vp.origin.x, (win.height - scenePoint.y) * sy + vp.origin.y);
}

CCRect windowRectOf(CCNode* node) {
  if (!node) return CCRect();
  // A scroll view's own size is its content's; on screen it is as large as its view.
  auto* scroll = dynamic_cast<cocos2d::extension::CCScrollView*>(node);
  CCSize size = scroll ? scroll->getViewSize() : node->getContentSize();
  CCPoint corners[4] = {node->convertToWorldSpace(CCPoint(0, 0)),
                        node->convertToWorldSpace(CCPoint(size.width, 0)),
                        node->convertToWorldSpace(CCPoint(0, size.height)),
                        node->convertToWorldSpace(CCPoint(size.width, size.height))};
  float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
  for (const CCPoint& c : corners) {
    CCPoint w = sceneToWindow(c);
    minX = std::min(minX, w.x);
    maxX = std::max(maxX, w.x);
    minY = std::min(minY, w.y);
    maxY = std::max(maxY, w.y);
  }
  return CCRect(minX, minY, maxX - minX, maxY - minY);
}

namespace {

bool shownInRunningScene(CCNode* node) {
  if (!node->isVisibleInHierarchy()) return false;
  CCNode* top = node;
  while (top->getParent()) top = top->getParent();
  return top == CCDirector::sharedDirector()->getRunningScene();
}

class NodeRectReport : public CCObject {
 public:
  static NodeRectReport* create(std::string path) {
    return ccAutoreleaseIfInit(new NodeRectReport(std::move(path)), true);
  }
  void write(float) { writeBoundNodeRects(path_); }

 private:
  explicit NodeRectReport(std::string path) : path_(std::move(path)) {}

  std::string path_;
};

std::string oneLine(const char* text) {
  std::string line = text ? text : "";
  std::replace(line.begin(), line.end(), '\n', ' ');
  return line;
}

void writeLine(std::ostream& out, const std::string& name, CCNode* node, bool shown, const std::string* text) {
  CCRect r = windowRectOf(node);
  out << name << ' ' << r.origin.x << ' ' << r.origin.y << ' ' << r.size.width << ' ' << r.size.height << ' '
      << (shown ? 1 : 0);
  if (text) out << ' ' << *text;
  out << '\n';
}

// The first label below a node, depth first.
CCLabelProtocol* firstLabel(CCNode* node) {
  CCArray* children = node->getChildren();
  if (!children) return nullptr;
  for (unsigned int i = 0; i < children->count(); ++i) {
    CCNode* child = static_cast<CCNode*>(children->objectAtIndex(i));
    if (CCLabelProtocol* label = dynamic_cast<CCLabelProtocol*>(child)) return label;
    if (CCLabelProtocol* label = firstLabel(child)) return label;
  }
  return nullptr;
}

// Every shown button with a caption below `node`, named by its caption, and every shown
// reported node, counted by its name in `counts`.
void writeButtons(std::ostream& out, CCNode* node, std::map<std::string, int>& counts) {
  if (!node->isVisible()) return;
  if (const ReportedNode* reported = dynamic_cast<const ReportedNode*>(node)) {
    const std::string kind = reported->reportName();
    writeLine(out, kind + "." + std::to_string(counts[kind]++), node, true, nullptr);
  }
  if (dynamic_cast<CCMenuItem*>(node)) {
    if (CCLabelProtocol* label = firstLabel(node)) {
      const std::string caption = oneLine(label->getString());
      std::string name = caption;
      std::replace(name.begin(), name.end(), ' ', '_');
      writeLine(out, "BUTTON::" + name, node, true, &caption);
    }
  }
  if (CCArray* children = node->getChildren())
    for (unsigned int i = 0; i < children->count(); ++i)
      writeButtons(out, static_cast<CCNode*>(children->objectAtIndex(i)), counts);
}

}  // namespace

bool writeBoundNodeRects(const std::string& path) {
  const std::string partial = path + ".part";
  {
    std::ofstream out(partial, std::ios::trunc);
    if (!out) return false;
    NodeBindings::forEachTable([&out](const NodeBindings& table) {
      auto line = [&](const std::string& name, CCNode* node) {
        CCLabelProtocol* label = dynamic_cast<CCLabelProtocol*>(node);
        const std::string text = label ? oneLine(label->getString()) : "";
        writeLine(out, table.prefix() + name, node, shownInRunningScene(node), label ? &text : nullptr);
      };
      table.forEachBound(line);
      table.forEachRowNode(line);
    });
    std::map<std::string, int> counts;
    if (CCScene* scene = CCDirector::sharedDirector()->getRunningScene()) writeButtons(out, scene, counts);
    if (!out) return false;
  }
  return std::rename(partial.c_str(), path.c_str()) == 0;
}

void startNodeRectReportFromEnvironment() {
  const char* path = std::getenv("MV_NODE_RECTS");
  if (!path || !*path) return;
  // Lives for the run, held by the scheduler.
  CCDirector::sharedDirector()->getScheduler()->scheduleSelector(
      schedule_selector(NodeRectReport::write), NodeRectReport::create(path), 0.2f, kCCRepeatForever, 0.f, false);
}

}  // namespace mv
