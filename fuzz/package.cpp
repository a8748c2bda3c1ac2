// Feeds arbitrary bytes to the package reader as a file: listing the directory, selecting every
// listed name and reading each entry in uneven pieces must stay inside the entry and the file.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "resources/Package.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An in-memory file, so that the runs do not wear the disk.
    static const int fd = memfd_create("package", 0);
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (fd < 0 || ftruncate(fd, 0) != 0) std::abort();
    if (size != 0 && pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) std::abort();

    vg::PackageReader reader;
    if (!reader.openPackage(path.c_str())) return 0;
    uint64_t listed = 4;
    std::vector<uint8_t> buffer;
    for (const vg::PackageReader::Entry& entry : reader.entries()) {
        listed += 8 + uint64_t{entry.nameLength} + entry.dataSize;
        if (entry.dataOffset + uint64_t{entry.dataSize} > size) std::abort();
        if (!reader.findEntry(entry.name.c_str())) std::abort();
        const uint32_t total = reader.entrySize();
        buffer.assign(total + 7, 0);
        uint32_t done = 0;
        for (uint32_t piece = 1; done < total; piece = piece * 2 + 1) {
            if (!reader.readEntry(piece, buffer.data() + done)) std::abort();
            done = reader.readPosition();
            if (done > total) std::abort();
        }
        if (!reader.readEntry(7, buffer.data() + done) || reader.readPosition() != total) {
            std::abort();
        }
    }
    if (listed > size) std::abort();
    reader.findEntry("SCORE");
    reader.closePackage();
    return 0;
}
