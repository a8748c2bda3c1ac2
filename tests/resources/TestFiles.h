#pragma once

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"

namespace vg::testing {

// What a test picture is made of; rows are PNG rows (top first) in the PNG's own packing.
struct TestPicture {
    uint32_t width = 1;
    uint32_t height = 1;
    int bitDepth = 8;
    int colorType = PNG_COLOR_TYPE_RGB;
    bool interlaced = false;
    std::vector<png_color> palette;
    std::vector<uint8_t> transparency;  // palette alphas
    bool greyKey = false;               // a tRNS grey key of value 0
    std::vector<std::vector<uint8_t>> rows;
};

inline void appendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* bytes = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    bytes->insert(bytes->end(), data, data + length);
}

// The libpng calls of encodePng. Every object lives in the caller, so that an error's long jump
// skips no destructor.
inline bool encodeInto(png_structp png, png_infop info, const TestPicture& picture,
                       png_bytep* rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_IHDR(png, info, picture.width, picture.height, picture.bitDepth, picture.colorType,
                 picture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!picture.palette.empty()) {
        png_set_PLTE(png, info, picture.palette.data(), static_cast<int>(picture.palette.size()));
    }
    if (!picture.transparency.empty()) {
        png_set_tRNS(png, info, picture.transparency.data(),
                     static_cast<int>(picture.transparency.size()), nullptr);
    }
    if (picture.greyKey) {
        png_color_16 key{};
        png_set_tRNS(png, info, nullptr, 0, &key);
    }
    png_set_rows(png, info, rows);
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    return true;
}

// Encodes a picture with libpng's writer, so the decoder is tested against real files. Empty
// when libpng refuses the picture.
inline std::vector<uint8_t> encodePng(const TestPicture& picture) {
    std::vector<uint8_t> out;
    std::vector<png_bytep> rows;
    for (const auto& row : picture.rows) rows.push_back(const_cast<png_bytep>(row.data()));
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, appendToVector, nullptr);
    const bool ok = encodeInto(png, info, picture, rows.data());
    png_destroy_write_struct(&png, &info);
    if (!ok) out.clear();
    return out;
}

// A PNG file as libpng reads it without conversions: size, depth, colour type and raw rows.
struct PngHeader {
    uint32_t width = 0, height = 0;
    int bitDepth = 0, colorType = -1;
    std::vector<std::vector<uint8_t>> rows;  // top first
};

inline bool readRawInto(png_structp png, png_infop info, std::FILE* file) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    return true;
}

inline PngHeader readPngRaw(const std::string& path) {
    PngHeader header;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return header;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (readRawInto(png, info, file)) {
        header.width = png_get_image_width(png, info);
        header.height = png_get_image_height(png, info);
        header.bitDepth = png_get_bit_depth(png, info);
        header.colorType = png_get_color_type(png, info);
        png_bytepp rows = png_get_rows(png, info);
        const size_t rowBytes = png_get_rowbytes(png, info);
        for (uint32_t r = 0; r < header.height; ++r) {
            header.rows.emplace_back(rows[r], rows[r] + rowBytes);
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return header;
}

}  // namespace vg::testing
