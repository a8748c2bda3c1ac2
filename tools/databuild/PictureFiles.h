#pragma once

#include <string>

namespace vg {
class DIB;
}

namespace vg::databuild {

// Reads `dir`/`name` into `image` with the game's PNG decoder; on failure `error` names the file.
bool loadPicture(const std::string& dir, const char* name, DIB& image, std::string& error);
// Writes `image` to `dir`/`name` with the game's PNG writer; on failure `error` names the file.
bool savePicture(const DIB& image, const std::string& dir, const char* name, std::string& error);

}  // namespace vg::databuild
