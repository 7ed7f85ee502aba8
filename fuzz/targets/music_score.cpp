// Music scores (the text the music generator composes from).
#include <string>

#include "FuzzSupport.h"
#include "music.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mvaudio::Score score;
  std::string error;
  if (mvaudio::parseScore(std::string(reinterpret_cast<const char*>(data), size), score, error))
    MVFUZZ_CHECK(score.loopSeconds() >= 30.0 && score.loopSeconds() <= 60.0);
  return 0;
}
