// Image decoding (PNG, JPEG, TIFF, told apart by their first bytes).
#include <vector>

#include "CCImage.h"
#include "FuzzSupport.h"

using namespace cocos2d;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> bytes(data, data + size);
  CCImage* image = new CCImage();
  image->initWithImageData(bytes.data(), static_cast<int>(bytes.size()));
  image->release();
  return 0;
}
