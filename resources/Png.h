#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/Clock.h"
#include "resources/DIB.h"

namespace vg {

class PackageReader;
class TaskArena;

// Largest picture the decoders accept, in pixels (a 4096 x 4096 image). Every picture of the
// game is far smaller; the cap keeps a damaged or hostile header from claiming gigabytes.
inline constexpr uint64_t kMaxImagePixels = uint64_t{1} << 24;

// Decodes a PNG held in memory into `image` as 0xAARRGGBB bottom-up rows: transparency becomes
// alpha, palette and low-bit grey become 8-bit RGB, 16-bit channels are cut to 8, grey becomes
// RGB and pictures without alpha get a high byte of 0. The image is created through its own
// create(), so a DIBSection keeps its kind of storage. False for a null or short buffer, a wrong
// signature, a damaged or truncated stream, or a picture too large; never reads outside
// [buffer, buffer + size). On failure the image may have been re-created and left zero-filled.
bool decodePngMemory(size_t size, const void* buffer, DIB& image);
// The same from a file. The file is closed when decoding ends, successful or not.
bool decodePngFile(const char* path, DIB& image);
// Writes `surface` as an 8-bit RGB PNG (alpha dropped), its top row first. False when path is
// null, the surface is empty, or the file cannot be written; a partly written file is removed.
bool savePng(const char* path, const DIB& surface);

// Name of an F2 screenshot taken at `time`: "cap%d%02d%02d_%d%d%02d_%03d.png" from year, month,
// day, hour, minute, second and milliseconds (hour and minute deliberately unpadded).
std::string screenshotFileName(const LocalTime& time);

// Loads the picture `name`: the entry of that name in `reader` when the package has one
// (buffered in `scratch`, or the heap when the arena is full), otherwise the loose file `name`
// in the working folder. On failure the image keeps what it held, unless decoding had already
// re-created it (then it is left zero-filled).
bool loadImage(const char* name, PackageReader& reader, TaskArena& scratch, DIB& image);

}  // namespace vg
