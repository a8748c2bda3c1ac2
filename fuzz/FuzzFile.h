#pragma once

// What the fuzz targets that read a file share: the file the input is written to, and the
// check that stops the run on a broken promise.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace vg::fuzz {

// Stops at once when a promise does not hold: the fuzzer reports the input that broke it.
inline void check(bool ok) {
    if (!ok) __builtin_trap();
}

// One file per process under /tmp, named after `tag`, rewritten for every input and removed at
// exit.
class InputFile {
  public:
    explicit InputFile(const char* tag) {
        std::string name = std::string("/tmp/vg_fuzz_") + tag + "_XXXXXX";
        const int fd = mkstemp(name.data());
        if (fd >= 0) close(fd);
        path_ = name;
    }
    ~InputFile() { std::remove(path_.c_str()); }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Writes the input; false when the file cannot be written (the input is then passed over).
    bool write(const uint8_t* data, size_t size) const {
        FILE* file = std::fopen(path_.c_str(), "wb");
        if (!file) return false;
        std::fwrite(data, 1, size, file);
        std::fclose(file);
        return true;
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace vg::fuzz
