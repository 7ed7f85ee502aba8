// An older server's account file, imported into the account database, twice.
#include <string>

#include "AccountStore.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  AccountStore store;
  store.loadText(text);
  store.find("a@b.c");
  store.nameTaken("name", "a@b.c");
  MVFUZZ_CHECK(store.intact());
  // What is stored stays as it is: a second import adds and loses nothing.
  const size_t stored = store.size();
  store.loadText(text);
  MVFUZZ_CHECK(store.size() == stored);
  return 0;
}
