#include "resources/DIB.h"

#include <new>

namespace vg {

bool DIB::create(int32_t newWidth, int32_t newHeight) {
    if (newWidth <= 0 || newHeight <= 0) return false;
    const uint64_t words = static_cast<uint64_t>(newWidth) * static_cast<uint64_t>(newHeight);
    // A surface larger than 256 M pixels cannot be a picture of this game; refuse it rather than
    // ask the allocator for gigabytes on behalf of a damaged file.
    if (words > (uint64_t{1} << 28)) return false;
    std::unique_ptr<uint32_t[]> fresh(new (std::nothrow) uint32_t[words]());
    if (!fresh) return false;
    release();
    storage_ = std::move(fresh);
    pixels = storage_.get();
    width = newWidth;
    height = newHeight;
    return true;
}

void DIB::release() {
    storage_.reset();
    pixels = nullptr;
    width = 0;
    height = 0;
}

}  // namespace vg
