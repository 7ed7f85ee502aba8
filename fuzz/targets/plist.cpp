// Property lists, as dictionary and as array.
#include "CCArray.h"
#include "CCDictionary.h"
#include "CCPlistParser.h"
#include "FuzzSupport.h"

using namespace cocos2d;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  if (CCDictionary* d = CCPlistParser::dictionaryWithData(text, static_cast<unsigned int>(size), "fuzz.plist"))
    d->release();
  if (CCArray* a = CCPlistParser::arrayWithData(text, static_cast<unsigned int>(size), "fuzz.plist"))
    a->release();
  return 0;
}
