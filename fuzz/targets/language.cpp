// Language files (.lng): the whole table and the header alone.
#include <string>

#include "FuzzSupport.h"
#include "LanguageFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string path = mvfuzz::writeScratchFile("language/fuzz.lng", data, size);
  LanguageFile& table = LanguageFile::instance();
  table.load(path.c_str(), "0.1");
  table.getString("NO_VALID_TARGETS");
  table.getString("");
  LanguageInfo info;
  info.path = path;
  readLanguageHeader("0.1", info);
  return 0;
}
