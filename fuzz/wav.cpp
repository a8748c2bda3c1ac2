// The effect library's WAV reader on arbitrary bytes: parsing and conversion must never read
// outside the input or allocate without bound.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sound/WavReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vg::WavView wav;
    if (!vg::parseWav(data, size, wav)) return 0;
    if (wav.frames < data ||
        wav.frames + wav.frameCount * wav.channels * wav.bitsPerSample / 8 > data + size) {
        __builtin_trap();
    }
    std::vector<int16_t> out;
    vg::convertWav(wav, 44100, out);
    return 0;
}
