#pragma once

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

namespace vg::testing {

// A fresh folder under the build tree for one test, <build>/tests/<area>-XXXXXX, removed again
// when the test ends.
class TempFolder {
  public:
    explicit TempFolder(const std::string& area = "scratch") {
        std::string pattern =
            (std::filesystem::path(VG_BINARY_DIR) / "tests" / (area + "-XXXXXX")).string();
        std::filesystem::create_directories(std::filesystem::path(pattern).parent_path());
        // On failure the path names no folder, and every file the test makes in it fails.
        const char* made = mkdtemp(pattern.data());
        path_ = made ? made : pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

inline std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

}  // namespace vg::testing
