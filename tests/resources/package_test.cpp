#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "resources/Package.h"
#include "tests/resources/TestFiles.h"

namespace vg {
namespace {

using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

void appendLe32(std::vector<uint8_t>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// The bytes of one entry exactly as the format lays them out.
void appendEntry(std::vector<uint8_t>& out, const std::string& name, const std::string& data) {
    appendLe32(out, static_cast<uint32_t>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    appendLe32(out, static_cast<uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
}

std::vector<uint8_t> magic() {
    return {0x2E, 0x70, 0x63, 0x6B};
}

std::string readWhole(PackageReader& reader, const char* name) {
    if (!reader.findEntry(name)) return "<missing>";
    std::string data(reader.entrySize(), '\0');
    EXPECT_TRUE(reader.readEntry(reader.entrySize(), data.data()));
    return data;
}

bool writePackage(const std::string& path,
                  const std::vector<std::pair<std::string, std::string>>& entries) {
    PackageWriter writer;
    if (!writer.createPackage(path.c_str())) return false;
    for (const auto& [name, data] : entries) {
        if (!writer.writeEntry(data.data(), static_cast<uint32_t>(data.size()), name.c_str())) {
            return false;
        }
    }
    return writer.closePackage();
}

TEST(PackageTest, WrittenFileIsExactlyTheLayoutAndReadsBack) {
    TempFolder folder("resources");
    const std::string path = folder.file("save");
    ASSERT_TRUE(writePackage(path, {{"SCORE", "abc"}, {"INPUT", ""}, {"CONFIG", "xyz12"}}));

    std::vector<uint8_t> expected = magic();
    appendEntry(expected, "SCORE", "abc");
    appendEntry(expected, "INPUT", "");
    appendEntry(expected, "CONFIG", "xyz12");
    EXPECT_EQ(readBytes(path), expected);
    // No temporary file stays behind.
    EXPECT_FALSE(std::filesystem::exists(path + ".new"));

    PackageReader reader;
    ASSERT_TRUE(reader.openPackage(path.c_str()));
    ASSERT_EQ(reader.entries().size(), 3u);
    EXPECT_EQ(reader.entries()[0].dataOffset, 4u + 4 + 5 + 4);
    EXPECT_EQ(readWhole(reader, "CONFIG"), "xyz12");
    EXPECT_EQ(readWhole(reader, "INPUT"), "");
    EXPECT_EQ(readWhole(reader, "SCORE"), "abc");
}

TEST(PackageTest, MagicOnlyFileIsAnEmptyPackage) {
    TempFolder folder("resources");
    const std::string path = folder.file("empty.pck");
    writeBytes(path, magic());
    PackageReader reader;
    ASSERT_TRUE(reader.openPackage(path.c_str()));
    EXPECT_TRUE(reader.entries().empty());
    EXPECT_FALSE(reader.findEntry(""));
    // Before any selection the size is 0 and nothing is read.
    char buffer[4] = {'k', 'e', 'e', 'p'};
    EXPECT_TRUE(reader.readEntry(4, buffer));
    EXPECT_EQ(std::memcmp(buffer, "keep", 4), 0);
    EXPECT_EQ(reader.entrySize(), 0u);
}

TEST(PackageTest, MissingFileOrWrongMagicLeavesReaderClosed) {
    TempFolder folder("resources");
    PackageReader reader;
    EXPECT_FALSE(reader.openPackage(folder.file("absent").c_str()));
    EXPECT_FALSE(reader.openPackage(nullptr));

    const std::string wrong = folder.file("wrong");
    writeBytes(wrong, {0x2E, 0x70, 0x63, 0x6C, 0, 0, 0, 0});
    EXPECT_FALSE(reader.openPackage(wrong.c_str()));
    const std::string shortFile = folder.file("short");
    writeBytes(shortFile, {0x2E, 0x70});
    EXPECT_FALSE(reader.openPackage(shortFile.c_str()));
    // A folder is not a package.
    EXPECT_FALSE(reader.openPackage(folder.path().c_str()));

    EXPECT_FALSE(reader.isOpen());
    char byte = 0;
    EXPECT_FALSE(reader.findEntry("SCORE"));
    EXPECT_FALSE(reader.readEntry(1, &byte));
}

TEST(PackageTest, NamesMatchExactlyAndTheFirstDuplicateWins) {
    TempFolder folder("resources");
    const std::string path = folder.file("dup.pck");
    ASSERT_TRUE(writePackage(path, {{"SCORE", "first"}, {"SCORE", "second"}, {"", "nameless"}}));
    PackageReader reader;
    ASSERT_TRUE(reader.openPackage(path.c_str()));
    EXPECT_EQ(readWhole(reader, "SCORE"), "first");
    EXPECT_EQ(readWhole(reader, "SCORE"), "first");
    EXPECT_EQ(readWhole(reader, "score"), "<missing>");
    EXPECT_EQ(readWhole(reader, "SCORE "), "<missing>");
    EXPECT_EQ(readWhole(reader, "SCOR"), "<missing>");
    // The empty name is stored as a zero length and found again.
    EXPECT_EQ(reader.entries()[2].nameLength, 0u);
    EXPECT_EQ(readWhole(reader, ""), "nameless");
}

TEST(PackageTest, FailedFindKeepsSelectionAndReadsStopAtEntryEnd) {
    TempFolder folder("resources");
    const std::string path = folder.file("reads.pck");
    ASSERT_TRUE(writePackage(path, {{"A", "0123456789"}, {"B", "next"}}));
    PackageReader reader;
    ASSERT_TRUE(reader.openPackage(path.c_str()));
    ASSERT_TRUE(reader.findEntry("A"));
    char buffer[16] = {};
    EXPECT_TRUE(reader.readEntry(4, buffer));
    EXPECT_EQ(std::string(buffer, 4), "0123");
    EXPECT_FALSE(reader.findEntry("missing"));
    EXPECT_EQ(reader.entrySize(), 10u);

    // Asking for more than remains delivers the rest of this entry only.
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_TRUE(reader.readEntry(16, buffer));
    EXPECT_EQ(std::string(buffer, 8), "456789##");
    // At the end: nothing more is read, repeatedly, and the result is still true.
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(reader.readEntry(16, buffer));
        EXPECT_EQ(buffer[0], '4');
    }
    EXPECT_EQ(reader.readPosition(), 10u);
    // A count that would overflow 32 bits is cut to the entry too.
    ASSERT_TRUE(reader.findEntry("B"));
    EXPECT_TRUE(reader.readEntry(0xFFFFFFFFu, buffer));
    EXPECT_EQ(std::string(buffer, 4), "next");

    reader.closePackage();
    EXPECT_EQ(reader.entrySize(), 0u);
    EXPECT_EQ(reader.readPosition(), 0u);
    EXPECT_TRUE(reader.entries().empty());
}

TEST(PackageTest, DamagedDirectoryKeepsTheEntriesBeforeTheDamage) {
    TempFolder folder("resources");
    std::vector<uint8_t> good = magic();
    appendEntry(good, "one", "1111");
    appendEntry(good, "two", "22");
    const std::string path = folder.file("damaged.pck");

    struct Damage {
        const char* what;
        std::vector<uint8_t> tail;
    };
    std::vector<Damage> cases;
    {
        std::vector<uint8_t> t;
        appendLe32(t, 0xFFFFFFF0u);  // a name length far beyond the file
        t.insert(t.end(), {'x', 'y'});
        cases.push_back({"huge name length", t});
    }
    {
        std::vector<uint8_t> t;
        appendLe32(t, 5);
        t.insert(t.end(), {'t', 'h', 'r', 'e', 'e'});
        appendLe32(t, 0x7FFFFFFFu);  // a data size beyond the file
        t.insert(t.end(), {'3', '3'});
        cases.push_back({"huge data size", t});
    }
    {
        std::vector<uint8_t> t;
        appendEntry(t, "three", "333333");
        t.resize(t.size() - 2);  // data cut short
        cases.push_back({"truncated data", t});
    }
    cases.push_back({"truncated length word", {3, 0}});
    {
        std::vector<uint8_t> t;
        appendLe32(t, 5);
        t.insert(t.end(), {'t', 'h', 'r'});  // name cut short
        cases.push_back({"truncated name", t});
    }
    {
        std::vector<uint8_t> t;
        appendLe32(t, 5);
        t.insert(t.end(), {'t', 'h', 'r', 'e', 'e', 9});  // size word cut short
        cases.push_back({"truncated size word", t});
    }
    for (const Damage& damage : cases) {
        SCOPED_TRACE(damage.what);
        std::vector<uint8_t> bytes = good;
        bytes.insert(bytes.end(), damage.tail.begin(), damage.tail.end());
        writeBytes(path, bytes);
        PackageReader reader;
        ASSERT_TRUE(reader.openPackage(path.c_str()));
        EXPECT_EQ(reader.entries().size(), 2u);
        EXPECT_EQ(readWhole(reader, "one"), "1111");
        EXPECT_EQ(readWhole(reader, "two"), "22");
        EXPECT_FALSE(reader.findEntry("three"));
    }
}

TEST(PackageTest, RewritingWithFewerEntriesLeavesNoTrace) {
    TempFolder folder("resources");
    const std::string path = folder.file("save");
    ASSERT_TRUE(writePackage(
        path,
        {{"SCORE", std::string(500, 's')}, {"INPUT", std::string(300, 'i')}, {"CONFIG", "c"}}));
    ASSERT_TRUE(writePackage(path, {{"SCORE", "new"}}));
    std::vector<uint8_t> expected = magic();
    appendEntry(expected, "SCORE", "new");
    EXPECT_EQ(readBytes(path), expected);
}

TEST(PackageTest, WriterRejectsBadArgumentsAndUnwritableFolders) {
    TempFolder folder("resources");
    PackageWriter writer;
    const char data[] = "x";
    EXPECT_FALSE(writer.writeEntry(data, 1, "NOT_OPEN"));
    EXPECT_FALSE(writer.closePackage());
    EXPECT_FALSE(writer.createPackage(folder.file("no/such/folder/save").c_str()));
    EXPECT_FALSE(writer.createPackage(nullptr));

    const std::string path = folder.file("args.pck");
    ASSERT_TRUE(writer.createPackage(path.c_str()));
    EXPECT_FALSE(writer.writeEntry(nullptr, 1, "A"));
    EXPECT_FALSE(writer.writeEntry(data, 1, nullptr));
    EXPECT_TRUE(writer.writeEntry(data, 1, "A"));
    EXPECT_TRUE(writer.closePackage());
    PackageReader reader;
    ASSERT_TRUE(reader.openPackage(path.c_str()));
    EXPECT_EQ(reader.entries().size(), 1u);
}

TEST(PackageTest, UnfinishedPackageNeverReplacesThePreviousFile) {
    TempFolder folder("resources");
    const std::string path = folder.file("save");
    ASSERT_TRUE(writePackage(path, {{"SCORE", "old scores"}, {"CONFIG", "old config"}}));
    const std::vector<uint8_t> previous = readBytes(path);

    // Abandoned on purpose.
    {
        PackageWriter writer;
        ASSERT_TRUE(writer.createPackage(path.c_str()));
        ASSERT_TRUE(writer.writeEntry("new", 3, "SCORE"));
        writer.abandonPackage();
        EXPECT_FALSE(writer.closePackage());
    }
    EXPECT_EQ(readBytes(path), previous);
    // Destroyed without closePackage (an early return in the caller): never committed.
    {
        PackageWriter writer;
        ASSERT_TRUE(writer.createPackage(path.c_str()));
        ASSERT_TRUE(writer.writeEntry("new", 3, "SCORE"));
    }
    EXPECT_EQ(readBytes(path), previous);
    EXPECT_FALSE(std::filesystem::exists(path + ".new"));

    // The process dies part-way: nothing of the new package reaches the old name.
    const pid_t killed = fork();
    ASSERT_GE(killed, 0);
    if (killed == 0) {
        PackageWriter writer;
        writer.createPackage(path.c_str());
        writer.writeEntry("new scores", 10, "SCORE");
        raise(SIGKILL);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(killed, &status, 0), killed);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(readBytes(path), previous);

    // The disk fills part-way through an entry: the write fails, closing reports the failure
    // and the previous file stays. The child's file size limit stands in for a full disk.
    const pid_t full = fork();
    ASSERT_GE(full, 0);
    if (full == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{64, 64};
        setrlimit(RLIMIT_FSIZE, &limit);
        PackageWriter writer;
        if (!writer.createPackage(path.c_str())) _exit(10);
        if (!writer.writeEntry("small", 5, "SCORE")) _exit(11);
        const std::string big(1000, 'b');
        if (writer.writeEntry(big.data(), 1000, "INPUT")) _exit(12);
        // Later entries are refused too, and the package is not committed.
        if (writer.writeEntry("c", 1, "CONFIG")) _exit(13);
        if (writer.closePackage()) _exit(14);
        _exit(0);
    }
    ASSERT_EQ(waitpid(full, &status, 0), full);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readBytes(path), previous);
    EXPECT_FALSE(std::filesystem::exists(path + ".new"));

    // A later complete write still succeeds over a stale temporary file.
    writeBytes(path + ".new", {1, 2, 3});
    ASSERT_TRUE(writePackage(path, {{"SCORE", "fresh"}}));
    PackageReader reader;
    ASSERT_TRUE(reader.openPackage(path.c_str()));
    EXPECT_EQ(readWhole(reader, "SCORE"), "fresh");
}

TEST(PackageTest, ReopeningReplacesTheDirectory) {
    TempFolder folder("resources");
    const std::string first = folder.file("first.pck");
    const std::string second = folder.file("second.pck");
    ASSERT_TRUE(writePackage(first, {{"A", "a"}}));
    ASSERT_TRUE(writePackage(second, {{"B", "b"}}));
    PackageReader reader;
    ASSERT_TRUE(reader.openPackage(first.c_str()));
    ASSERT_TRUE(reader.findEntry("A"));
    ASSERT_TRUE(reader.openPackage(second.c_str()));
    EXPECT_EQ(reader.entrySize(), 0u);
    EXPECT_FALSE(reader.findEntry("A"));
    EXPECT_EQ(readWhole(reader, "B"), "b");
    // A failed open leaves the reader closed, not holding the previous package.
    EXPECT_FALSE(reader.openPackage(folder.file("absent").c_str()));
    EXPECT_FALSE(reader.findEntry("B"));
}

}  // namespace
}  // namespace vg
