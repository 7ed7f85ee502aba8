// mv-audiogen: renders the game's sounds and music tracks to 16-bit WAV.
//   mv-audiogen sound <name> <out.wav>
//   mv-audiogen music <score file> <out.wav>
#include <cstdio>
#include <cstring>
#include <string>

#include "music.hpp"
#include "sfx.hpp"

int main(int argc, char** argv) {
    using namespace mvaudio;
    if (argc == 4 && std::strcmp(argv[1], "sound") == 0) {
        Mono m;
        if (!renderSound(argv[2], m)) {
            std::fprintf(stderr, "mv-audiogen: unknown sound \"%s\"\n", argv[2]);
            return 1;
        }
        return writeWav(argv[3], m) ? 0 : 1;
    }
    if (argc == 4 && std::strcmp(argv[1], "music") == 0) {
        Score score;
        std::string error;
        if (!loadScore(argv[2], score, error)) {
            std::fprintf(stderr, "mv-audiogen: %s: %s\n", argv[2], error.c_str());
            return 1;
        }
        return writeWav(argv[3], renderMusic(score)) ? 0 : 1;
    }
    std::fprintf(stderr, "usage: mv-audiogen sound <name> <out.wav> | music <score> <out.wav>\n");
    return 2;
}
