#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vg {

// Package files: data.pck, the save file and the replays. A package is a four-byte magic
// followed by entries until the end of the file; every integer is an unsigned 32-bit
// little-endian word:
//
//   offset   size  content
//   0        4     magic, the bytes 2E 70 63 6B (".pck")
//   4        4     name length N of the first entry
//   8        N     entry name, no terminating zero
//   8 + N    4     data size D
//   12 + N   D     entry data
//   12 + N + D     next entry, same layout
//
// A file of exactly the magic is an empty package. There is no index, compression or checksum.
inline constexpr uint8_t kPackageMagic[4] = {0x2E, 0x70, 0x63, 0x6B};

// Reads a package: openPackage lists the entries once, findEntry selects one by name and
// readEntry reads from the selected entry, never past its end.
class PackageReader {
  public:
    struct Entry {
        uint32_t nameLength;
        std::string name;  // the stored bytes; compared as a zero-terminated string
        uint32_t dataSize;
        uint32_t dataOffset;  // absolute position of the first data byte
    };

    PackageReader() = default;
    PackageReader(const PackageReader&) = delete;
    PackageReader& operator=(const PackageReader&) = delete;
    ~PackageReader();

    // Closes whatever was open, opens `path` and lists its entries. False when the file is
    // missing or its magic is wrong (the reader stays closed). A damaged directory is not a
    // failure: the listing stops at the first entry whose lengths run past the end of the file
    // and the entries before it stay usable.
    bool openPackage(const char* path);
    // Selects the first entry whose name equals `name` exactly (case-sensitive). When none does,
    // returns false and keeps the previous selection.
    bool findEntry(const char* name);
    // Reads up to `count` bytes of the selected entry into `buffer`, continuing where the last
    // read stopped. Never reads past the entry's end; reading at the end reads nothing and
    // returns true. A short read is not reported: the rest of the buffer keeps its contents.
    // False only when no package is open.
    bool readEntry(uint32_t count, void* buffer);
    // Closes the file and empties the directory and the selection. Safe to call when closed.
    void closePackage();

    bool isOpen() const { return fd_ >= 0; }
    // Size in bytes of the selected entry (0 before any findEntry).
    uint32_t entrySize() const { return selectedSize_; }
    // Bytes already read from the selected entry.
    uint32_t readPosition() const { return readPosition_; }
    const std::vector<Entry>& entries() const { return directory_; }

  private:
    int fd_ = -1;
    std::vector<Entry> directory_;
    uint32_t readPosition_ = 0;
    uint32_t selectedSize_ = 0;
    uint32_t selectedOffset_ = 0;
};

// Writes a package. The new content goes to a temporary file next to the target ("<path>.new")
// and replaces the target only when closePackage finds every write complete, so a crash, a full
// disk or a killed process in the middle leaves the previous file as it was.
class PackageWriter {
  public:
    PackageWriter() = default;
    PackageWriter(const PackageWriter&) = delete;
    PackageWriter& operator=(const PackageWriter&) = delete;
    // A package still open here was never finished: it is dropped like abandonPackage, so only
    // an explicit closePackage can replace the target.
    ~PackageWriter();

    // Starts a new package for `path` (closing any previous one first) and writes the magic.
    // False when the temporary file cannot be created (the folder is not writable).
    bool createPackage(const char* path);
    // Appends one entry: the name length, the name bytes, the size, then `size` bytes of data.
    // False when data or name is null, no package is being written, or a write failed (after a
    // failed write the package is abandoned by closePackage).
    bool writeEntry(const void* data, uint32_t size, const char* name);
    // Finishes the package: when every write succeeded the file is flushed to disk and renamed
    // over the target, and the result is true. Otherwise the temporary file is removed, the
    // target keeps its previous content and the result is false. False when nothing was open.
    bool closePackage();
    // Drops the package being written; the target is left untouched.
    void abandonPackage();

    bool isOpen() const { return fd_ >= 0; }

  private:
    bool writeAll(const void* data, size_t size);

    int fd_ = -1;
    bool failed_ = false;
    std::string targetPath_;
    std::string tempPath_;
};

}  // namespace vg
