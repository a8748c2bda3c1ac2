#pragma once

// Golden pictures: named screenshots of a test, written as PNG files for looking at and compared
// by hash with a file stored next to the test ("name hash" a line, sorted by name). Set
// VG_UPDATE_GOLDEN=1 to store the current hashes after a deliberate change of how things look.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>

#include "resources/DIB.h"
#include "resources/Png.h"

namespace vg::testing {

// FNV-1a over the three colour bytes of each pixel, low byte first. Only the low 24 bits count:
// the high byte of drawn pixels is left to the blitters.
inline uint64_t hashPicture(const DIB& picture) {
    uint64_t hash = 14695981039346656037ull;
    for (int32_t i = 0; i < picture.width * picture.height; ++i) {
        const uint32_t p = picture.pixels[i] & 0x00FFFFFFu;
        for (int k = 0; k < 3; ++k) hash = (hash ^ ((p >> (8 * k)) & 0xFF)) * 1099511628211ull;
    }
    return hash;
}

// A hash as the hash files hold it: sixteen hex digits.
inline std::string hashText(uint64_t hash) {
    char text[32];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

// True when this run stores the hashes instead of comparing them.
inline bool updatingGolden() {
    const char* update = std::getenv("VG_UPDATE_GOLDEN");
    return update != nullptr && std::string(update) == "1";
}

// The pictures of one test against the hashes stored in `hashFile`.
class GoldenPictures {
  public:
    // How an update writes the hash file: with the test's pictures only, or with them merged into
    // what is stored (several tests, each run on its own, share the file).
    enum class Update { ReplaceFile, MergeIntoFile };

    GoldenPictures(std::string hashFile, std::filesystem::path folder,
                   Update update = Update::ReplaceFile)
        : hashFile_(std::move(hashFile)), folder_(std::move(folder)), update_(update) {
        std::filesystem::create_directories(folder_);
    }

    // Writes `picture` to the folder as <file>.png (by default the name) and keeps its hash.
    void take(const std::string& name, const DIB& picture, const std::string& file = {}) {
        savePng((folder_ / ((file.empty() ? name : file) + ".png")).c_str(), picture);
        hashes_[name] = hashText(hashPicture(picture));
    }

    size_t size() const { return hashes_.size(); }
    const std::filesystem::path& folder() const { return folder_; }

    // The test's last step: each picture taken must match its stored hash; a failure names the
    // picture and the folder to look in. With VG_UPDATE_GOLDEN=1 the hashes are stored instead
    // and the test is skipped.
    void check() const {
        ASSERT_FALSE(hashes_.empty()) << "no picture was taken";
        std::map<std::string, std::string> stored = readStored();
        if (updatingGolden()) {
            if (update_ == Update::ReplaceFile) stored.clear();
            for (const auto& [name, hash] : hashes_) stored[name] = hash;
            std::ofstream out(hashFile_);
            for (const auto& [name, hash] : stored) out << name << " " << hash << "\n";
            GTEST_SKIP() << "stored the hashes in " << hashFile_;
        }
        ASSERT_FALSE(stored.empty())
            << "no stored hashes in " << hashFile_ << "; run once with VG_UPDATE_GOLDEN=1";
        for (const auto& [name, hash] : hashes_) {
            const auto found = stored.find(name);
            if (found == stored.end()) {
                ADD_FAILURE() << name << ": no stored hash; run with VG_UPDATE_GOLDEN=1";
                continue;
            }
            EXPECT_EQ(found->second, hash) << name << " changed (see " << folder_.string()
                                           << "); if on purpose, rerun with VG_UPDATE_GOLDEN=1";
        }
    }

  private:
    std::map<std::string, std::string> readStored() const {
        std::map<std::string, std::string> stored;
        std::ifstream in(hashFile_);
        std::string name, hash;
        while (in >> name >> hash) stored[name] = hash;
        return stored;
    }

    std::string hashFile_;
    std::filesystem::path folder_;
    Update update_;
    std::map<std::string, std::string> hashes_;
};

}  // namespace vg::testing
