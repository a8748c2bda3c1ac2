#include "tools/databuild/PictureFiles.h"

#include "resources/DIB.h"
#include "resources/Png.h"

namespace vg::databuild {

bool loadPicture(const std::string& dir, const char* name, DIB& image, std::string& error) {
    const std::string path = dir + "/" + name;
    if (decodePngFile(path.c_str(), image)) return true;
    error = "cannot read " + path;
    return false;
}

bool savePicture(const DIB& image, const std::string& dir, const char* name, std::string& error) {
    const std::string path = dir + "/" + name;
    if (savePng(path.c_str(), image)) return true;
    error = "cannot write " + path;
    return false;
}

}  // namespace vg::databuild
