// The start-up check of the game data: every picture every screen needs must decode from
// data.pck, or the game says which file is wrong and how.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "app/GameData.h"
#include "resources/DIB.h"
#include "resources/Package.h"
#include "resources/Png.h"
#include "tests/app/GameProcess.h"

namespace vg {
namespace {

namespace fs = std::filesystem;

std::string pngBytes(const fs::path& scratch) {
    DIB picture;
    EXPECT_TRUE(picture.create(4, 4));
    const fs::path file = scratch / "picture.png";
    EXPECT_TRUE(savePng(file.c_str(), picture));
    return test::readText(file);
}

void writeData(const fs::path& path, const std::map<std::string, std::string>& entries) {
    PackageWriter writer;
    ASSERT_TRUE(writer.createPackage(path.c_str()));
    for (const auto& [name, bytes] : entries) {
        ASSERT_TRUE(
            writer.writeEntry(bytes.data(), static_cast<uint32_t>(bytes.size()), name.c_str()));
    }
    ASSERT_TRUE(writer.closePackage());
}

TEST(GameDataTest, EveryEssentialPictureMustDecode) {
    test::ScratchFolder scratch("data");
    const std::string png = pngBytes(scratch.path());
    std::map<std::string, std::string> complete;
    for (const char* picture : kEssentialPictures) complete[picture] = png;
    const fs::path data = scratch / "data.pck";
    const std::string quoted = "\"" + data.string() + "\"";

    writeData(data, complete);
    EXPECT_EQ(checkGameData(scratch.path().string()), "");

    struct Case {
        const char* picture;
        bool drop;  // missing entry, or else damaged bytes
    };
    for (const Case c : {Case{"frame.png", false}, Case{"ship.png", true}, Case{"exp.png", false},
                         Case{"bullet.png", true}}) {
        std::map<std::string, std::string> entries = complete;
        if (c.drop) {
            entries.erase(c.picture);
        } else {
            entries[c.picture] = png.substr(0, png.size() / 2);
        }
        writeData(data, entries);
        EXPECT_EQ(checkGameData(scratch.path().string()),
                  quoted + " is damaged or incomplete: the picture \"" + c.picture +
                      "\" cannot be loaded from it");
    }
    // A loose picture file in the working folder does not make up for the package.
    const fs::path previous = fs::current_path();
    fs::current_path(scratch.path());
    std::ofstream("bullet.png", std::ios::binary) << png;
    EXPECT_NE(checkGameData(scratch.path().string()), "");
    fs::current_path(previous);

    std::ofstream(data, std::ios::trunc) << "text";
    EXPECT_EQ(checkGameData(scratch.path().string()), quoted + " is not a game data package");
    fs::remove(data);
    EXPECT_EQ(checkGameData(scratch.path().string()),
              quoted + " cannot be read (No such file or directory)");
}

TEST(GameDataTest, MessagesNameTheFoldersAndHowToBuild) {
    const std::string missing = missingDataMessage({"/here", "/game", "/share/vesperglint"});
    EXPECT_EQ(missing.rfind("The game data \"data.pck\" was not found.\nLooked in:\n  /here\n"
                            "  /game\n  /share/vesperglint\n",
                            0),
              0u)
        << missing;
    EXPECT_NE(missing.find("./setup.sh build"), std::string::npos);
    EXPECT_NE(missing.find("cmake --install"), std::string::npos);
    const std::string unusable = unusableDataMessage("\"/x/data.pck\" is not a game data package");
    EXPECT_EQ(unusable.rfind("The game data \"/x/data.pck\" is not a game data package.\n", 0), 0u);
    EXPECT_NE(unusable.find("./setup.sh build"), std::string::npos);
}

}  // namespace
}  // namespace vg
