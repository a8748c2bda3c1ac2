#include "platform/GamePaths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace vg {

namespace fs = std::filesystem;

namespace {

// The one process-wide setting of this file: set once at start-up, before anything is loaded.
std::string& dataFolderSetting() {
    static std::string folder;
    return folder;
}

bool holdsDataFile(const std::string& folder) {
    struct stat info;
    const std::string file = folder + "/" + kDataFileName;
    return stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool sameFolder(const std::string& a, const std::string& b) {
    std::error_code ec;
    const fs::path left = fs::weakly_canonical(a, ec);
    if (ec) return a == b;
    const fs::path right = fs::weakly_canonical(b, ec);
    if (ec) return a == b;
    return left == right;
}

// "./sound//a.wav" -> "sound/a.wav": leading "./" dropped, runs of slashes made one.
std::string normaliseRelative(const char* path) {
    std::string out;
    for (const char* p = path; *p; ++p) {
        if (*p == '/' && !out.empty() && out.back() == '/') continue;
        out.push_back(*p);
    }
    while (out.rfind("./", 0) == 0) out.erase(0, 2);
    return out;
}

// The folder of the running executable; empty when the system does not tell.
std::string executableFolder() {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return self.parent_path().string();
}

}  // namespace

std::string perUserDataFolder(const std::string& xdgDataHome, const std::string& home) {
    // The base directory rules ignore a relative XDG_DATA_HOME.
    if (!xdgDataHome.empty() && xdgDataHome.front() == '/') return xdgDataHome + "/vesperglint";
    if (!home.empty()) return home + "/.local/share/vesperglint";
    return {};
}

FolderSearchResult findGameFolders(const FolderSearch& search) {
    FolderSearchResult result;
    struct Candidate {
        std::string folder;
        DataSource source;
    };
    std::vector<Candidate> candidates{{search.workingFolder, DataSource::WorkingFolder}};
    if (!search.executableFolder.empty()) {
        if (!sameFolder(search.executableFolder, search.workingFolder)) {
            candidates.push_back({search.executableFolder, DataSource::ExecutableFolder});
        }
        const fs::path installed =
            (fs::path(search.executableFolder) / kInstalledDataFolder).lexically_normal();
        candidates.push_back({installed.string(), DataSource::Installed});
    }
    const std::string perUser = perUserDataFolder(search.xdgDataHome, search.home);
    for (const Candidate& candidate : candidates) {
        result.lookedIn.push_back(candidate.folder);
        if (!holdsDataFile(candidate.folder)) continue;
        GameFolders& folders = result.folders;
        folders.source = candidate.source;
        folders.dataFolder = candidate.folder;
        const bool writable = candidate.source != DataSource::Installed && search.isWritable &&
                              search.isWritable(candidate.folder);
        folders.writeFolder = writable ? candidate.folder : perUser;
        folders.perUser = !writable;
        result.found = true;
        return result;
    }
    return result;
}

FolderSearch processFolderSearch() {
    FolderSearch search;
    std::error_code ec;
    search.workingFolder = fs::current_path(ec).string();
    search.executableFolder = executableFolder();
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    search.xdgDataHome = xdg ? xdg : "";
    search.home = home ? home : "";
    search.isWritable = [](const std::string& folder) { return access(folder.c_str(), W_OK) == 0; };
    return search;
}

WriteFolderCheck prepareWriteFolder(const GameFolders& folders) {
    const std::string lost = "settings, scores, replays and screenshots will not be saved";
    const std::string& folder = folders.writeFolder;
    WriteFolderCheck check;
    if (folder.empty()) {
        check.problems.push_back("no per-user folder (neither XDG_DATA_HOME nor HOME is set): " +
                                 lost);
        return check;
    }
    std::error_code ec;
    if (folders.perUser) {
        fs::create_directories(folder, ec);
        if (ec) {
            check.problems.push_back("cannot create " + folder + " (" + ec.message() +
                                     "): " + lost);
            return check;
        }
        // replay/ comes with the folder; when it cannot be made the check below says why.
        fs::create_directory(folder + "/replay", ec);
    }
    if (!fs::is_directory(folder, ec)) {
        check.problems.push_back(folder + " is not a folder: " + lost);
        return check;
    }
    check.usable = true;
    if (access(folder.c_str(), W_OK) != 0) {
        check.problems.push_back("cannot write into " + folder + " (" + std::strerror(errno) +
                                 "): " + lost);
        return check;
    }
    const fs::path save = fs::path(folder) / "save";
    if (fs::exists(fs::symlink_status(save, ec)) && !fs::is_regular_file(save, ec)) {
        check.problems.push_back(save.string() +
                                 " is not a file: settings and scores will not be saved");
    }
    const fs::path replay = fs::path(folder) / "replay";
    if (fs::exists(fs::symlink_status(replay, ec)) && !fs::is_directory(replay, ec)) {
        check.problems.push_back(replay.string() + " is not a folder: replays will not be saved");
    }
    return check;
}

void setDataFolder(std::string folder) {
    dataFolderSetting() = std::move(folder);
}

const std::string& dataFolder() {
    return dataFolderSetting();
}

bool isDataFileName(const char* path) {
    if (path == nullptr || path[0] == '/') return false;
    const std::string name = normaliseRelative(path);
    if (name == kDataFileName || name == "replay/demo.rpl") return true;
    return name.size() > 6 && name.rfind("sound/", 0) == 0;
}

std::string dataPath(const char* path) {
    if (path == nullptr) return {};
    const std::string& folder = dataFolder();
    if (folder.empty() || !isDataFileName(path)) return path;
    return folder + "/" + normaliseRelative(path);
}

}  // namespace vg
