#include "wav_file.hpp"

#include <cstring>
#include <fstream>
#include <iterator>

namespace {

uint32_t le32(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
uint16_t le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

}  // namespace

std::string readBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return {};
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

bool readWav(const std::string& path, WavFile& out) {
    const std::string bytes = readBytes(path);
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    if (bytes.size() < 12 || std::memcmp(b, "RIFF", 4) != 0 || std::memcmp(b + 8, "WAVE", 4) != 0) return false;
    size_t pos = 12;
    bool haveFormat = false;
    while (pos + 8 <= bytes.size()) {
        const uint32_t len = le32(b + pos + 4);
        const size_t body = pos + 8;
        if (body + len > bytes.size()) return false;
        if (std::memcmp(b + pos, "fmt ", 4) == 0 && len >= 16) {
            if (le16(b + body) != 1 || le16(b + body + 14) != 16) return false;
            out.channels = le16(b + body + 2);
            out.rate = static_cast<int>(le32(b + body + 4));
            haveFormat = out.channels > 0;
        } else if (std::memcmp(b + pos, "data", 4) == 0) {
            if (!haveFormat) return false;
            out.samples.resize(len / 2);
            for (size_t i = 0; i < out.samples.size(); ++i)
                out.samples[i] = static_cast<int16_t>(le16(b + body + 2 * i));
            return true;
        }
        pos = body + len + (len & 1);
    }
    return false;
}

std::vector<double> WavFile::mono() const {
    std::vector<double> m(frames());
    for (size_t i = 0; i < m.size(); ++i) {
        double sum = 0.0;
        for (int c = 0; c < channels; ++c) sum += samples[i * channels + c];
        m[i] = sum / channels / 32768.0;
    }
    return m;
}
