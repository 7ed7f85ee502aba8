// Where nodes are drawn in the window, and a test report of every bound node's place.
#pragma once

#include <string>

#include "CCGeometry.h"

namespace cocos2d {
class CCNode;
}

namespace mv {

// A point of the scene (GL coordinates, origin bottom left) in window pixels (origin top
// left), through the view's viewport and scale.
cocos2d::CCPoint sceneToWindow(const cocos2d::CCPoint& scenePoint);
// The bounding box of a node's content in window pixels (origin at the rectangle's top left);
// a scroll view's is its view.
cocos2d::CCRect windowRectOf(cocos2d::CCNode* node);

// Writes one line for each node bound in a live table, and for each node of the rows a table
// keeps (named "<name>.<row>"): "<prefix><name> x y w h shown[ text]", the rectangle in window
// pixels, shown 1 when the node and its parents are visible in the running scene, and for a
// label its text, to the end of the line. Then one line for each shown button of the running
// scene that has a caption (its first label), named "BUTTON::<caption>" with each space made
// '_', the caption at the end, and one for each shown ReportedNode, named "<its name>.<n>"
// (n counts from 0 in drawing order). The file is replaced whole. False when it cannot be
// written.
bool writeBoundNodeRects(const std::string& path);

// A node that is neither bound nor a captioned button, yet is a place a player clicks (a
// choice on the board): the report lists it under a name of its kind while it is shown.
class ReportedNode {
 public:
  virtual ~ReportedNode() = default;
  virtual const char* reportName() const = 0;
};

// Test hook: when the environment variable MV_NODE_RECTS names a file, the report is written
// there a few times a second for the rest of the run. Nothing happens otherwise.
void startNodeRectReportFromEnvironment();

}  // namespace mv
