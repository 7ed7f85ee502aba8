#pragma once

#include "ccMacros.h"

NS_CC_BEGIN

// Inflates zlib or gzip data (detected from the header). *out is allocated with malloc and
// must be freed by the caller; returns its length, or a negative value (with *out null)
// on corrupt input.
int ccInflateMemory(unsigned char* in, unsigned int inLength, unsigned char** out);
// As above; outLengthHint is the expected size, used as the first buffer size.
int ccInflateMemoryWithHint(unsigned char* in, unsigned int inLength, unsigned char** out,
                            unsigned int outLengthHint);
// Inflates a gzip file; negative on failure.
int ccInflateGZipFile(const char* filename, unsigned char** out);

NS_CC_END
