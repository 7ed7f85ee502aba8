// How many nodes exist right now, made and not yet destroyed: for leak checks in tests and
// benchmarks (a screen left and entered again should leave the count where it was).
#pragma once

#include "ccMacros.h"

NS_CC_BEGIN

unsigned int liveNodeCount();

NS_CC_END
