#include "SubmitNode.h"

#include "CCGL.h"

void SubmitNode::draw() { glFlush(); }
