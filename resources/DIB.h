#pragma once

#include <cstdint>
#include <memory>

namespace vg {

// A 32-bit surface. Pixel words are 0xAARRGGBB (bytes in memory: blue, green, red, A) and rows
// are stored bottom-up: the pixel at column x, row y counted from the top, is word
// (height - 1 - y) * width + x. Rows have no padding. The high byte is never used by drawing.
class DIB {
  public:
    DIB() = default;
    DIB(const DIB&) = delete;
    DIB& operator=(const DIB&) = delete;
    virtual ~DIB() = default;

    // Releases any old pixels, then allocates width * height zero-filled words. Fails (and
    // leaves the surface as it was) when a side is <= 0 or memory is short.
    virtual bool create(int32_t newWidth, int32_t newHeight);
    // Frees the pixels; the surface becomes empty (null pixels, 0 x 0).
    virtual void release();

    bool empty() const { return pixels == nullptr; }
    // Word of the pixel at (x, y) counted from the top-left corner; no bounds check.
    uint32_t* pixelAt(int32_t x, int32_t y) { return pixels + (height - 1 - y) * width + x; }
    const uint32_t* pixelAt(int32_t x, int32_t y) const {
        return pixels + (height - 1 - y) * width + x;
    }
    // Start of the picture row y counted from the top.
    uint32_t* row(int32_t y) { return pixelAt(0, y); }
    const uint32_t* row(int32_t y) const { return pixelAt(0, y); }

    uint32_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;

  private:
    struct FreeDeleter {
        void operator()(uint32_t* words) const;
    };
    std::unique_ptr<uint32_t[], FreeDeleter> storage_;
};

}  // namespace vg
