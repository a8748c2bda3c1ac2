#include "resources/DIB.h"

#include <cstdlib>

namespace vg {

void DIB::FreeDeleter::operator()(uint32_t* words) const {
    std::free(words);
}

bool DIB::create(int32_t newWidth, int32_t newHeight) {
    if (newWidth <= 0 || newHeight <= 0) return false;
    const uint64_t words = static_cast<uint64_t>(newWidth) * static_cast<uint64_t>(newHeight);
    // A surface larger than 256 M pixels cannot be a picture of this game; refuse it rather than
    // ask the allocator for gigabytes on behalf of a damaged file.
    if (words > (uint64_t{1} << 28)) return false;
    // calloc rather than new[]: large blocks come zeroed from the system without being touched,
    // so a picture whose decoding fails early costs no time.
    auto* fresh = static_cast<uint32_t*>(std::calloc(static_cast<size_t>(words), sizeof(uint32_t)));
    if (fresh == nullptr) return false;
    release();
    storage_.reset(fresh);
    pixels = fresh;
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
