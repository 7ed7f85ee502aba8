#include "SubmitNode.h"

#include "CCGL.h"

SubmitNode* SubmitNode::create() {
  SubmitNode* node = new SubmitNode();
  return cocos2d::ccAutoreleaseIfInit(node, node->init());
}

void SubmitNode::draw() { glFlush(); }
