// Minimal reader of 16-bit PCM WAV files for checking the generated sounds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct WavFile {
    int channels = 0;
    int rate = 0;
    std::vector<int16_t> samples;  // interleaved

    size_t frames() const { return channels ? samples.size() / static_cast<size_t>(channels) : 0; }
    double seconds() const { return rate ? static_cast<double>(frames()) / rate : 0.0; }
    // Mono view: the channels averaged.
    std::vector<double> mono() const;
};

// False when the file is missing or not 16-bit PCM.
bool readWav(const std::string& path, WavFile& out);

// Reads a whole file's bytes; empty when it cannot be read.
std::string readBytes(const std::string& path);
