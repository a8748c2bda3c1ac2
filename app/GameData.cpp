#include "app/GameData.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/GamePaths.h"
#include "resources/DIB.h"
#include "resources/Package.h"
#include "resources/Png.h"

namespace vg {

namespace {

constexpr const char* kHowToBuild =
    "Build the game data from the game's source folder with \"./setup.sh build\" (it makes\n"
    "build/game/data.pck and build/game/sound/) and start build/game/vesperglint, or install\n"
    "the game with \"cmake --install build --prefix ~/.local\" (see README.md).";

}  // namespace

std::string checkGameData(const std::string& dataFolder) {
    const std::string path = dataFolder + "/" + kDataFileName;
    // Asked first on its own, so the message can say why the file cannot be read.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return "\"" + path + "\" cannot be read (" + std::strerror(errno) + ")";
    close(fd);
    PackageReader reader;
    if (!reader.openPackage(path.c_str())) {
        return "\"" + path + "\" is not a game data package";
    }
    for (const char* picture : kEssentialPictures) {
        bool decoded = false;
        if (reader.findEntry(picture)) {
            std::vector<uint8_t> bytes(reader.entrySize());
            reader.readEntry(reader.entrySize(), bytes.data());
            DIB image;
            decoded = reader.readPosition() == bytes.size() &&
                      decodePngMemory(bytes.size(), bytes.data(), image);
        }
        if (!decoded) {
            return "\"" + path + "\" is damaged or incomplete: the picture \"" + picture +
                   "\" cannot be loaded from it";
        }
    }
    return {};
}

std::string missingDataMessage(const std::vector<std::string>& lookedIn) {
    std::string text = "The game data \"" + std::string(kDataFileName) + "\" was not found.\n";
    text += "Looked in:\n";
    for (const std::string& folder : lookedIn) text += "  " + folder + "\n";
    return text + kHowToBuild;
}

std::string unusableDataMessage(const std::string& problem) {
    return "The game data " + problem + ".\n" + kHowToBuild;
}

}  // namespace vg
