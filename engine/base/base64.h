#pragma once

#include "ccMacros.h"

NS_CC_BEGIN

// Decodes base64 text (characters outside the alphabet, such as line breaks, are skipped).
// *out is allocated with malloc and must be freed by the caller; returns its length,
// 0 with *out null on malformed input.
int base64Decode(const unsigned char* in, unsigned int inLength, unsigned char** out);

NS_CC_END
