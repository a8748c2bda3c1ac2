#pragma once

// What the tests that run the real game in a virtual X display share: running their script,
// collecting the game's F2 screenshots, reading X window dumps and comparing pictures.

#include <sys/wait.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "resources/DIB.h"

namespace vg::test {

namespace fs = std::filesystem;

// How a script run under a virtual X display ended.
enum class XRun { Ran, Skipped, Failed };

// Runs `script` (a path below the source folder) with `arguments`, its output in `work`.log.
// Skipped when the script says the machine cannot run it (status 77: a tool or the display
// missing).
inline XRun runXScript(const std::string& script, const std::vector<std::string>& arguments,
                       const fs::path& work) {
    fs::remove_all(work);
    fs::create_directories(work.parent_path());
    std::string command = "sh '" VG_SOURCE_DIR "/" + script + "'";
    for (const std::string& argument : arguments) command += " '" + argument + "'";
    command += " > '" + work.string() + ".log' 2>&1";
    const int status = std::system(command.c_str());
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77) return XRun::Skipped;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? XRun::Ran : XRun::Failed;
}

// The game's own screenshots in `work`, oldest first (their names hold the time).
inline std::vector<fs::path> screenshots(const fs::path& work) {
    std::vector<fs::path> captures;
    for (const auto& entry : fs::directory_iterator(work)) {
        if (entry.path().filename().string().rfind("cap", 0) == 0) captures.push_back(entry.path());
    }
    std::sort(captures.begin(), captures.end());
    return captures;
}

// The exit status the script wrote into `work`/exit_status, or -1.
inline int recordedExitStatus(const fs::path& work) {
    std::ifstream in(work / "exit_status");
    int code = -1;
    in >> code;
    return code;
}

inline uint32_t bigEndian32(const std::vector<uint8_t>& bytes, size_t at) {
    return uint32_t{bytes[at]} << 24 | uint32_t{bytes[at + 1]} << 16 |
           uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

// Reads a 32-bit ZPixmap window dump as xwd writes it into `picture` (0x00RRGGBB, the DIB's
// row order). False for anything else.
inline bool readWindowDump(const fs::path& path, DIB& picture) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    if (bytes.size() < 100) return false;
    const uint32_t headerSize = bigEndian32(bytes, 0);
    const uint32_t format = bigEndian32(bytes, 8);
    const int32_t width = static_cast<int32_t>(bigEndian32(bytes, 16));
    const int32_t height = static_cast<int32_t>(bigEndian32(bytes, 20));
    const uint32_t byteOrder = bigEndian32(bytes, 28);
    const uint32_t bitsPerPixel = bigEndian32(bytes, 44);
    const uint32_t bytesPerLine = bigEndian32(bytes, 48);
    const uint32_t colours = bigEndian32(bytes, 76);
    if (format != 2 || bitsPerPixel != 32 || byteOrder != 0 || width <= 0 || height <= 0) {
        return false;
    }
    const size_t start = size_t{headerSize} + size_t{colours} * 12;
    if (start + size_t{bytesPerLine} * height > bytes.size()) return false;
    if (!picture.create(width, height)) return false;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const size_t at = start + size_t{bytesPerLine} * y + size_t{4} * x;
            *picture.pixelAt(x, y) =
                uint32_t{bytes[at + 2]} << 16 | uint32_t{bytes[at + 1]} << 8 | bytes[at];
        }
    }
    return true;
}

// A rectangle of a picture.
struct Area {
    int32_t x, y, width, height;
};

// Mean absolute channel difference between `area` of `a` and `areaOfB` of `b`, `b` sampled at
// the pixel centres of `a` (it may show the same picture scaled).
inline double meanDifference(const DIB& a, const Area& area, const DIB& b, const Area& areaOfB) {
    double total = 0;
    for (int32_t y = 0; y < area.height; ++y) {
        for (int32_t x = 0; x < area.width; ++x) {
            const int32_t bx = areaOfB.x + (2 * x + 1) * areaOfB.width / (2 * area.width);
            const int32_t by = areaOfB.y + (2 * y + 1) * areaOfB.height / (2 * area.height);
            const uint32_t p = *a.pixelAt(area.x + x, area.y + y);
            const uint32_t q = *b.pixelAt(bx, by);
            for (int k = 0; k < 3; ++k) {
                total += std::abs(static_cast<int>((p >> (8 * k)) & 0xFF) -
                                  static_cast<int>((q >> (8 * k)) & 0xFF));
            }
        }
    }
    return total / (3.0 * area.width * area.height);
}

// The same area of two pictures of one size.
inline double meanDifference(const DIB& a, const DIB& b, const Area& area) {
    return meanDifference(a, area, b, area);
}

// Whole pictures, `b` scaled onto `a`.
inline double meanDifference(const DIB& a, const DIB& b) {
    return meanDifference(a, {0, 0, a.width, a.height}, b, {0, 0, b.width, b.height});
}

}  // namespace vg::test
