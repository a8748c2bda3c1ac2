#include "resources/Package.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "platform/GamePaths.h"

namespace vg {

namespace {

uint32_t readLe32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

void writeLe32(uint8_t* bytes, uint32_t value) {
    bytes[0] = static_cast<uint8_t>(value);
    bytes[1] = static_cast<uint8_t>(value >> 8);
    bytes[2] = static_cast<uint8_t>(value >> 16);
    bytes[3] = static_cast<uint8_t>(value >> 24);
}

// Reads up to `size` bytes at `offset`; returns how many arrived (fewer only at the end of the
// file or on an error).
size_t readAt(int fd, void* buffer, size_t size, uint64_t offset) {
    size_t done = 0;
    while (done < size) {
        const ssize_t got = pread(fd, static_cast<uint8_t*>(buffer) + done, size - done,
                                  static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<size_t>(got);
    }
    return done;
}

}  // namespace

PackageReader::~PackageReader() {
    closePackage();
}

bool PackageReader::openPackage(const char* path) {
    closePackage();
    if (path == nullptr) return false;
    // "data.pck" is read from the game's data folder (platform/GamePaths.h).
    const std::string file = dataPath(path);
    const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    uint8_t magic[4];
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || readAt(fd, magic, 4, 0) != 4 ||
        std::memcmp(magic, kPackageMagic, 4) != 0) {
        close(fd);
        return false;
    }
    fd_ = fd;

    // Offsets are 32-bit in the format, so nothing past 4 GiB can be addressed.
    const uint64_t fileSize = std::min<uint64_t>(static_cast<uint64_t>(info.st_size), UINT32_MAX);
    uint64_t offset = 4;
    // Every length is checked against the bytes that remain before anything is allocated from
    // it: the first entry whose name or data would run past the end of the file ends the
    // listing, and the entries before it stay usable.
    while (offset < fileSize) {
        uint8_t word[4];
        if (fileSize - offset < 4 || readAt(fd_, word, 4, offset) != 4) break;
        const uint32_t nameLength = readLe32(word);
        offset += 4;
        if (fileSize - offset < uint64_t{nameLength} + 4) break;
        std::string name(nameLength, '\0');
        if (readAt(fd_, name.data(), nameLength, offset) != nameLength) break;
        offset += nameLength;
        if (readAt(fd_, word, 4, offset) != 4) break;
        const uint32_t dataSize = readLe32(word);
        offset += 4;
        if (fileSize - offset < dataSize) break;
        directory_.push_back(
            Entry{nameLength, std::move(name), dataSize, static_cast<uint32_t>(offset)});
        offset += dataSize;
    }
    return true;
}

bool PackageReader::findEntry(const char* name) {
    if (!isOpen() || name == nullptr) return false;
    for (const Entry& entry : directory_) {
        // Compared as zero-terminated strings, as the names were always handled.
        if (std::strcmp(entry.name.c_str(), name) == 0) {
            selectedOffset_ = entry.dataOffset;
            selectedSize_ = entry.dataSize;
            readPosition_ = 0;
            return true;
        }
    }
    return false;
}

bool PackageReader::readEntry(uint32_t count, void* buffer) {
    if (!isOpen()) return false;
    const uint32_t remaining = selectedSize_ - readPosition_;
    if (count > remaining) count = remaining;
    if (count != 0 && buffer != nullptr) {
        readPosition_ += static_cast<uint32_t>(
            readAt(fd_, buffer, count, uint64_t{selectedOffset_} + readPosition_));
    }
    return readPosition_ <= selectedSize_;
}

void PackageReader::closePackage() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    directory_.clear();
    directory_.shrink_to_fit();
    readPosition_ = 0;
    selectedSize_ = 0;
    selectedOffset_ = 0;
}

PackageWriter::~PackageWriter() {
    abandonPackage();
}

bool PackageWriter::createPackage(const char* path) {
    if (isOpen()) closePackage();
    if (path == nullptr || *path == '\0') return false;
    targetPath_ = path;
    tempPath_ = targetPath_ + ".new";
    // A stale temporary file of an earlier, interrupted write is simply overwritten.
    fd_ = open(tempPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) return false;
    failed_ = false;
    if (!writeAll(kPackageMagic, 4)) failed_ = true;
    return true;
}

bool PackageWriter::writeAll(const void* data, size_t size) {
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    while (size > 0) {
        const ssize_t put = write(fd_, bytes, size);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        bytes += put;
        size -= static_cast<size_t>(put);
    }
    return true;
}

bool PackageWriter::writeEntry(const void* data, uint32_t size, const char* name) {
    if (data == nullptr || name == nullptr || !isOpen()) return false;
    if (failed_) return false;
    const size_t nameLength = std::strlen(name);
    if (nameLength > UINT32_MAX) {
        failed_ = true;
        return false;
    }
    uint8_t word[4];
    writeLe32(word, static_cast<uint32_t>(nameLength));
    bool ok = writeAll(word, 4) && writeAll(name, nameLength);
    writeLe32(word, size);
    ok = ok && writeAll(word, 4) && writeAll(data, size);
    if (!ok) failed_ = true;
    return ok;
}

bool PackageWriter::closePackage() {
    if (!isOpen()) return false;
    // The data must be on disk before the rename makes it the package: otherwise a power cut
    // could leave the new name pointing at an empty file.
    bool ok = !failed_ && fsync(fd_) == 0;
    ok = (close(fd_) == 0) && ok;
    fd_ = -1;
    if (ok) ok = rename(tempPath_.c_str(), targetPath_.c_str()) == 0;
    if (!ok) unlink(tempPath_.c_str());
    failed_ = false;
    return ok;
}

void PackageWriter::abandonPackage() {
    if (!isOpen()) return;
    close(fd_);
    fd_ = -1;
    unlink(tempPath_.c_str());
    failed_ = false;
}

}  // namespace vg
