// The lobby's account file: loaded, saved and loaded again.
#include <string>

#include "AccountStore.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string path = mvfuzz::writeScratchFile("accounts.txt", data, size);
  AccountStore store(path);
  store.load();
  store.find("a@b.c");
  store.nameTaken("name", "a@b.c");
  const bool saved = store.save();
  AccountStore again(path);
  again.load();
  // What was taken in is what comes back: no account is lost on its way through the file.
  if (saved) MVFUZZ_CHECK(again.size() == store.size());
  return 0;
}
