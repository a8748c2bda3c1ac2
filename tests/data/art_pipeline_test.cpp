// The art pipeline's rules for several authors at once, run through the data build's own tools
// on scratch folders: an atlas read from several files as one, whose faults (overlapping cells,
// cells of a picture no file lists) fail the build with their file and line; and a picture
// drawn from several SVG sources, each inside the rows the atlas keeps for it.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace vg {
namespace {

namespace fs = std::filesystem;

const std::string kToolDir = std::string(VG_BINARY_DIR) + "/tools/databuild";
const std::string kFonts = "/usr/share/fonts/truetype/dejavu";

class ArtPipeline : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!fs::exists(kToolDir + "/vg_databuild") || !fs::exists(kToolDir + "/vg_atlasgen")) {
            GTEST_SKIP() << "no data build tools";
        }
        work_ = fs::temp_directory_path() / ("vg_art_pipeline_" + std::to_string(getpid()));
        fs::remove_all(work_);
        fs::create_directories(work_ / "atlas");
        fs::create_directories(work_ / "art");
    }
    void TearDown() override { fs::remove_all(work_); }

    void write(const fs::path& path, const std::string& text) {
        std::ofstream(work_ / path, std::ios::binary) << text;
    }
    // Runs a command; its exit status, with what it said kept in said_.
    int run(const std::string& command) {
        const std::string log = (work_ / "said.txt").string();
        const int status = std::system((command + " > " + log + " 2>&1").c_str());
        std::ifstream in(log);
        said_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    int atlasgen() {
        return run(kToolDir + "/vg_atlasgen " + (work_ / "atlas").string() + " " +
                   (work_ / "AtlasCells.h").string());
    }
    int drawSheet() {
        return run(kToolDir + "/vg_databuild image " + (work_ / "atlas").string() + " sheet.png " +
                   (work_ / "art").string() + " " + kFonts + " " + (work_ / "sheet.png").string());
    }
    // An SVG of the whole sheet (64 x 96) with a grey square at (x, y).
    static std::string square(int x, int y, int size = 8) {
        return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"96\" "
               "viewBox=\"0 0 64 96\"><rect x=\"" +
               std::to_string(x) + "\" y=\"" + std::to_string(y) + "\" width=\"" +
               std::to_string(size) + "\" height=\"" + std::to_string(size) +
               "\" fill=\"#808080\"/></svg>";
    }

    fs::path work_;
    std::string said_;
};

TEST_F(ArtPipeline, AtlasFilesAreOneAtlasAndItsFaultsNameTheirLine) {
    // The picture in one file, its cells and bands in others (read in name order).
    write("atlas/a.txt", "image sheet.png 64 96 000000\nband sheet.png two 32 32\n");
    write("atlas/b.txt", "# stage two\ncell sheet.png Mine 0 32 16 16 frames=2\n");
    write("atlas/c.txt", "cell sheet.png Theirs 0 64 16 16\n");
    ASSERT_EQ(atlasgen(), 0) << said_;
    std::ifstream header(work_ / "AtlasCells.h");
    const std::string text((std::istreambuf_iterator<char>(header)),
                           std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("kMine{0, 32, 16, 16, 2"), std::string::npos);
    EXPECT_NE(text.find("kTheirs{0, 64, 16, 16"), std::string::npos);

    struct Case {
        const char* c;
        const char* said;
    };
    const Case faults[] = {
        {"\ncell sheet.png Theirs 24 40 16 16\n", "c.txt:2: Theirs overlaps Mine (b.txt:2)"},
        {"cell other.png Lost 0 0 8 8\n", "c.txt:1: cell of an unlisted picture"},
        {"cell sheet.png Past 60 90 8 8\n", "c.txt:1: Past frame 0 lies outside sheet.png"},
        {"cell sheet.png Mine 0 80 8 8\n", "c.txt:1: cell listed twice (first at b.txt:2)"},
        {"band sheet.png three 40 8\n", "a.txt:2: band shares rows with three"},
        {"cell sheet.png Part 0 0 8 8 in=Nothing\n", "c.txt:1: in= names no earlier cell"},
    };
    for (const Case& fault : faults) {
        write("atlas/c.txt", fault.c);
        EXPECT_EQ(atlasgen(), 1) << fault.c;
        EXPECT_NE(said_.find(fault.said), std::string::npos) << said_;
    }
}

TEST_F(ArtPipeline, EachSourceDrawsOnlyInItsOwnRows) {
    if (!fs::exists(kFonts)) GTEST_SKIP() << "no typefaces";
    write("atlas/a.txt", "image sheet.png 64 96 000000\nband sheet.png two 32 32\n");
    write("art/sheet.svg", square(4, 4));
    write("art/sheet.two.svg", square(4, 40));
    ASSERT_EQ(drawSheet(), 0) << said_;

    struct Case {
        const char* file;
        std::string svg;
        const char* said;
    };
    const Case faults[] = {
        {"sheet.two.svg", square(4, 60), "sheet.two.svg draws outside its rows 32..63"},
        {"sheet.two.svg", square(4, 28), "sheet.two.svg draws outside its rows 32..63"},
        {"sheet.svg", square(4, 60), "sheet.svg draws into rows 32..63 kept for sheet.two.svg"},
        {"sheet.three.svg", square(4, 4), "sheet.three.svg: the atlas has no band three"},
    };
    for (const Case& fault : faults) {
        write("art/sheet.svg", square(4, 4));
        write("art/sheet.two.svg", square(4, 40));
        write(fs::path("art") / fault.file, fault.svg);
        EXPECT_EQ(drawSheet(), 1) << fault.file;
        EXPECT_NE(said_.find(fault.said), std::string::npos) << said_;
        fs::remove(work_ / "art" / "sheet.three.svg");
    }
}

}  // namespace
}  // namespace vg
