// Reading screen files and laying out bitmap-font text: the work done each time a screen is
// rebuilt.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "CCAutoreleasePool.h"
#include "CCBBinary.h"
#include "CCBMFontConfiguration.h"
#include "CCBReader.h"
#include "CCNodeLoaderLibrary.h"
#include "CcbText.h"

using namespace cocos2d;
using namespace cocos2d::extension;

namespace {

// A screen of layers holding rows of nodes, as a list screen has.
std::vector<uint8_t> screen(int rows) {
  std::string text = "CCLayer {\n contentSize 0 0 100 100\n";
  for (int i = 0; i < rows; ++i) {
    text += " CCLayer {\n  position 10 " + std::to_string(i * 20) + " 0 0\n"
            "  contentSize 0 40 100 0\n";
    for (int j = 0; j < 4; ++j)
      text += "  CCNode {\n   position " + std::to_string(j * 30) + " 5 10 50\n  }\n";
    text += " }\n";
  }
  text += "}\n";
  CCBDocument doc;
  std::string error;
  ccbc::compileText(text, "bench", doc, error);
  std::vector<uint8_t> out;
  ccbWriteDocument(doc, out, &error);
  return out;
}

void BM_ReadScreen(benchmark::State& state) {
  std::vector<uint8_t> data = screen(static_cast<int>(state.range(0)));
  CCNodeLoaderLibrary* library = CCNodeLoaderLibrary::newDefaultCCNodeLoaderLibrary();
  library->retain();
  for (auto _ : state) {
    CCBReader* reader = new CCBReader(library);
    CCNode* root = reader->readNodeGraphFromData(data.data(), data.size(), nullptr,
                                                 CCSize(1024, 768), "bench");
    benchmark::DoNotOptimize(root);
    reader->release();
    CCPoolManager::sharedPoolManager()->pop();
  }
  library->release();
  state.SetLabel(std::to_string(data.size()) + " bytes");
}
BENCHMARK(BM_ReadScreen)->Arg(10)->Arg(100);

void BM_LayoutText(benchmark::State& state) {
  std::string fnt = "common lineHeight=16 pages=1\npage id=0 file=\"f.png\"\n";
  for (int c = 32; c < 127; ++c)
    fnt += "char id=" + std::to_string(c) + " x=0 y=0 width=7 height=12 xoffset=0 yoffset=2 "
           "xadvance=8\n";
  CCBMFontConfiguration config;
  config.initWithText(fnt, "", "bench.fnt");
  std::u16string text;
  for (int i = 0; i < state.range(0); ++i) text += (i % 6 == 5) ? u' ' : u'a' + (i % 26);
  for (auto _ : state) {
    ccBMFontLayout layout =
        ccBMFontLayoutText(config, text, 300, kCCTextAlignmentCenter, CCPoint(0, 0));
    benchmark::DoNotOptimize(layout);
  }
}
BENCHMARK(BM_LayoutText)->Arg(40)->Arg(400);

}  // namespace

BENCHMARK_MAIN();
