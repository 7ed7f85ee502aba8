// ccbc: compiles the text form of a screen to a .ccbi file, or shows a .ccbi file as text.
//   ccbc INPUT.ccb -o OUTPUT.ccbi
//   ccbc --dump FILE.ccbi
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "CCBBinary.h"
#include "CcbText.h"

namespace {

bool readFile(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), {});
  return true;
}

int usage() {
  std::fprintf(stderr, "usage: ccbc INPUT.ccb -o OUTPUT.ccbi\n       ccbc --dump FILE.ccbi\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 2 && args[0] == "--dump") {
    std::string data;
    if (!readFile(args[1], data)) {
      std::fprintf(stderr, "ccbc: cannot read %s\n", args[1].c_str());
      return 1;
    }
    cocos2d::extension::CCBDocument doc;
    std::string error;
    if (!cocos2d::extension::ccbParseDocument(reinterpret_cast<const uint8_t*>(data.data()), data.size(),
                                              doc, &error)) {
      std::fprintf(stderr, "ccbc: %s: %s\n", args[1].c_str(), error.c_str());
      return 1;
    }
    std::fputs(ccbc::documentToText(doc).c_str(), stdout);
    return 0;
  }
  if (args.size() != 3 || args[1] != "-o") return usage();
  std::string text;
  if (!readFile(args[0], text)) {
    std::fprintf(stderr, "ccbc: cannot read %s\n", args[0].c_str());
    return 1;
  }
  cocos2d::extension::CCBDocument doc;
  std::string error;
  std::vector<uint8_t> bytes;
  if (!ccbc::compileText(text, args[0], doc, error) ||
      !cocos2d::extension::ccbWriteDocument(doc, bytes, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  const std::string tmp = args[2] + ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::fprintf(stderr, "ccbc: cannot write %s\n", args[2].c_str());
      return 1;
    }
  }
  if (std::rename(tmp.c_str(), args[2].c_str()) != 0) {
    std::fprintf(stderr, "ccbc: cannot write %s\n", args[2].c_str());
    return 1;
  }
  return 0;
}
