// Decodes arbitrary bytes as a PNG from memory: the decoder must fail cleanly on anything
// damaged and never read outside the buffer or the picture it creates.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "resources/Png.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly `size` bytes, so the address sanitizer sees any read past the end.
    std::unique_ptr<uint8_t[]> copy(new uint8_t[size == 0 ? 1 : size]);
    if (size != 0) std::memcpy(copy.get(), data, size);
    vg::DIB image;
    if (vg::decodePngMemory(size, copy.get(), image)) {
        if (image.pixels == nullptr || image.width <= 0 || image.height <= 0) std::abort();
        // Touch the whole picture: every word must be addressable.
        uint32_t sum = 0;
        for (int64_t i = 0; i < int64_t{image.width} * image.height; ++i) sum += image.pixels[i];
        volatile uint32_t sink = sum;
        (void)sink;
    }
    return 0;
}
