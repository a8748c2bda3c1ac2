// The headless host's key script: any text parses or fails cleanly.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/KeyScript.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vg::KeyScript script;
    std::string error;
    if (script.parse(std::string_view(reinterpret_cast<const char*>(data), size), &error)) {
        const uint32_t length = script.length();
        (void)script.frame(length == 0 ? 0 : length - 1);
    }
    return 0;
}
