#include "resources/Png.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/TaskArena.h"
#include "resources/Package.h"

namespace vg {

namespace {

// libpng reports errors by long-jumping back into the function that armed setjmp. Everything
// such a function owns therefore lives in this plain struct (no destructors are skipped by the
// jump) and is freed by the caller after the jump has landed.
struct PngJob {
    png_structp png = nullptr;
    png_infop info = nullptr;
    png_bytep* rows = nullptr;
    uint8_t* pixels = nullptr;  // RGB rows of a screenshot
};

struct MemorySource {
    const uint8_t* data;
    size_t size;
    size_t position;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* source = static_cast<MemorySource*>(png_get_io_ptr(png));
    if (length > source->size - source->position) {
        png_error(png, "read past the end of the buffer");
    }
    std::memcpy(out, source->data + source->position, length);
    source->position += length;
}

void readFromFile(png_structp png, png_bytep out, png_size_t length) {
    auto* file = static_cast<std::FILE*>(png_get_io_ptr(png));
    if (std::fread(out, 1, length, file) != length) png_error(png, "read past the end of the file");
}

void writeToFile(png_structp png, png_bytep data, png_size_t length) {
    auto* file = static_cast<std::FILE*>(png_get_io_ptr(png));
    if (std::fwrite(data, 1, length, file) != length) png_error(png, "write failed");
}

void flushFile(png_structp png) {
    std::fflush(static_cast<std::FILE*>(png_get_io_ptr(png)));
}

// Errors leave through the jump buffer; warnings (ancillary chunks libpng skips) are dropped.
void onError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void onWarning(png_structp, png_const_charp) {}

// Header, conversions, create and rows. Returns false on any failure; libpng errors land at the
// setjmp and return false too.
bool decodeRows(PngJob& job, DIB& image) {
    if (setjmp(png_jmpbuf(job.png))) return false;
    png_structp png = job.png;
    png_infop info = job.info;

    // A bad checksum on any chunk, ancillary ones included, means a damaged file.
    png_set_crc_action(png, PNG_CRC_ERROR_QUIT, PNG_CRC_ERROR_QUIT);
    png_read_info(png, info);
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colorType = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, nullptr, nullptr, nullptr);
    if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF ||
        uint64_t{width} * height > kMaxImagePixels) {
        return false;
    }

    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (bitDepth == 16) png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_gray_to_rgb(png);
    }
    if ((colorType & PNG_COLOR_MASK_ALPHA) == 0) png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    // Every conversion above must end in four bytes a pixel; anything else would overrun rows.
    if (png_get_rowbytes(png, info) != png_size_t{width} * 4) return false;

    if (!image.create(static_cast<int32_t>(width), static_cast<int32_t>(height))) return false;
    job.rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
    if (job.rows == nullptr) return false;
    // PNG rows run top to bottom; the surface stores the bottom row first.
    for (png_uint_32 r = 0; r < height; ++r) {
        job.rows[r] = reinterpret_cast<png_bytep>(image.pixels + size_t{height - 1 - r} * width);
    }
    png_read_image(png, job.rows);
    return true;
}

bool decode(void* ioPointer, png_rw_ptr reader, DIB& image) {
    PngJob job;
    job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (job.png == nullptr) return false;
    job.info = png_create_info_struct(job.png);
    bool ok = false;
    if (job.info != nullptr) {
        png_set_read_fn(job.png, ioPointer, reader);
        ok = decodeRows(job, image);
    }
    std::free(job.rows);
    png_destroy_read_struct(&job.png, job.info != nullptr ? &job.info : nullptr, nullptr);
    return ok;
}

bool encodeRows(PngJob& job, std::FILE* file, const DIB& surface) {
    if (setjmp(png_jmpbuf(job.png))) return false;
    const auto width = static_cast<png_uint_32>(surface.width);
    const auto height = static_cast<png_uint_32>(surface.height);
    job.pixels = static_cast<uint8_t*>(std::calloc(size_t{width} * height, 3));
    job.rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
    if (job.pixels == nullptr || job.rows == nullptr) return false;
    for (png_uint_32 i = 0; i < height; ++i) {
        // Output row i (from the top) is memory row height - 1 - i.
        const uint32_t* source = surface.pixels + size_t{height - 1 - i} * width;
        uint8_t* out = job.pixels + size_t{i} * width * 3;
        for (png_uint_32 x = 0; x < width; ++x) {
            const uint32_t c = source[x];
            out[x * 3] = static_cast<uint8_t>(c >> 16);
            out[x * 3 + 1] = static_cast<uint8_t>(c >> 8);
            out[x * 3 + 2] = static_cast<uint8_t>(c);
        }
        job.rows[i] = out;
    }
    png_set_write_fn(job.png, file, writeToFile, flushFile);
    png_set_IHDR(job.png, job.info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(job.png, job.info);
    png_write_image(job.png, job.rows);
    png_write_end(job.png, job.info);
    return true;
}

}  // namespace

bool decodePngMemory(size_t size, const void* buffer, DIB& image) {
    if (buffer == nullptr || size < 8) return false;
    if (png_sig_cmp(static_cast<png_const_bytep>(buffer), 0, 8) != 0) return false;
    MemorySource source{static_cast<const uint8_t*>(buffer), size, 0};
    return decode(&source, readFromMemory, image);
}

bool decodePngFile(const char* path, DIB& image) {
    if (path == nullptr) return false;
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return false;
    const bool ok = decode(file, readFromFile, image);
    std::fclose(file);
    return ok;
}

bool savePng(const char* path, const DIB& surface) {
    if (path == nullptr || surface.pixels == nullptr || surface.width <= 0 || surface.height <= 0) {
        return false;
    }
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    PngJob job;
    job.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    bool ok = false;
    if (job.png != nullptr) {
        job.info = png_create_info_struct(job.png);
        if (job.info != nullptr) ok = encodeRows(job, file, surface);
        png_destroy_write_struct(&job.png, job.info != nullptr ? &job.info : nullptr);
    }
    std::free(job.rows);
    std::free(job.pixels);
    // A full disk shows up at the latest when the buffered bytes are flushed.
    ok = (std::fclose(file) == 0) && ok;
    if (!ok) std::remove(path);
    return ok;
}

std::string screenshotFileName(const LocalTime& time) {
    char name[96];
    std::snprintf(name, sizeof name, "cap%d%02d%02d_%d%d%02d_%03d.png", time.year, time.month,
                  time.day, time.hour, time.minute, time.second, time.millisecond);
    return name;
}

bool loadImage(const char* name, PackageReader& reader, TaskArena& scratch, DIB& image) {
    if (name == nullptr) return false;
    if (!reader.findEntry(name)) return decodePngFile(name, image);

    const uint32_t size = reader.entrySize();
    scratch.compact();
    void* buffer = scratch.arenaAlloc(size_t{size} + 8);
    const bool fromArena = buffer != nullptr;
    if (!fromArena) buffer = std::malloc(size_t{size} + 8);
    if (buffer == nullptr) return false;
    reader.readEntry(size, buffer);
    // Only the bytes that arrived are decoded: a short read then looks like a truncated stream.
    const size_t got = reader.readPosition();
    const bool ok = decodePngMemory(got, buffer, image);
    if (fromArena) {
        scratch.arenaFree(buffer);
    } else {
        std::free(buffer);
    }
    return ok;
}

}  // namespace vg
