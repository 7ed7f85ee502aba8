// Bitmap-font (.fnt) text, and a layout of some text (the input's own bytes among it) in the
// font read.
#include <string>

#include "CCBMFontConfiguration.h"
#include "FuzzSupport.h"

using namespace cocos2d;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  CCBMFontConfiguration* config = new CCBMFontConfiguration();
  if (config->initWithText(text, "fonts/", "fuzz.fnt")) {
    std::u16string sample = u"Hello, World!\nAV Wa fi " + ccUTF8ToUTF16(text.substr(0, 64));
    for (CCTextAlignment align : {kCCTextAlignmentLeft, kCCTextAlignmentCenter, kCCTextAlignmentRight})
      for (float width : {0.f, 37.f})
        ccBMFontLayoutText(*config, sample, width, align, CCPoint(0, 0));
  }
  config->release();
  ccUTF16ToUTF8(ccUTF8ToUTF16(text));
  return 0;
}
