#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vg {

// Where the game's files live. A run has two folders:
//
//   data folder     read only: data.pck, sound/ and the shipped demo replay/demo.rpl
//   working folder  the player's files, read and written: save, replay/, screenshots, tickCount
//
// At start-up the game enters its working folder (chdir), so every player's file keeps the plain
// relative name the code uses ("save", "./replay//replay01.rpl", "cap*.png"). Data files keep
// their relative names in the code as well ("data.pck", "./sound/title.ogg"): the places that
// open them, PackageReader::openPackage and the sound bank's loads, pass every name through
// dataPath(), which puts the data folder in front of exactly those names. Until setDataFolder is
// called (tests, tools, the headless host) the data folder is the working folder and dataPath
// changes nothing.
//
// Where the folders are (findGameFolders):
//   1. the working folder the game was started in, when it holds data.pck;
//   2. else the folder of the executable, when it holds data.pck (build/game started from
//      anywhere);
//   3. else the installed layout: <prefix>/share/vesperglint beside <prefix>/bin.
// In cases 1 and 2 that folder is also the working folder, unless the game cannot write there;
// an installed game (3), and a game whose folder is read-only, write into the per-user folder
// ($XDG_DATA_HOME/vesperglint, default ~/.local/share/vesperglint), made on first start.

// The installed data folder, relative to the folder of the installed executable. The install
// rules (CMakeLists.txt) put the game into bin/ and its data into share/vesperglint/.
inline constexpr const char* kInstalledDataFolder = "../share/vesperglint";
inline constexpr const char* kDataFileName = "data.pck";

enum class DataSource { WorkingFolder, ExecutableFolder, Installed };

struct GameFolders {
    DataSource source = DataSource::WorkingFolder;
    std::string dataFolder;
    // The working folder to enter; empty when none can be had (no per-user folder known).
    std::string writeFolder;
    // writeFolder is the per-user data folder, made on first start.
    bool perUser = false;
};

// What the search looks at. Folders are absolute; `isWritable` answers whether the game may write
// into an existing folder (the real one asks the system).
struct FolderSearch {
    std::string workingFolder;
    std::string executableFolder;
    std::string xdgDataHome;  // $XDG_DATA_HOME, may be empty
    std::string home;         // $HOME, may be empty
    std::function<bool(const std::string&)> isWritable;
};

struct FolderSearchResult {
    bool found = false;
    GameFolders folders;
    // Every folder looked in for data.pck, in order, for the message when it was not found.
    std::vector<std::string> lookedIn;
};

// Finds the data folder and the working folder. Reads only: creates and changes nothing.
FolderSearchResult findGameFolders(const FolderSearch& search);

// The search of this process: the current folder, the executable's folder, the environment.
FolderSearch processFolderSearch();

// $XDG_DATA_HOME/vesperglint when that is an absolute path, else $HOME/.local/share/vesperglint;
// empty when neither is known.
std::string perUserDataFolder(const std::string& xdgDataHome, const std::string& home);

struct WriteFolderCheck {
    // The working folder exists (or was made) and can be entered.
    bool usable = false;
    // One line per thing the game will not be able to write, for standard error.
    std::vector<std::string> problems;
};

// Makes the working folder when it is the per-user one (and replay/ in it), then checks what
// the game will not be able to write there: a folder that cannot be made or written, a "save"
// that is not a file, a "replay" that is not a folder. The game plays on whatever this finds.
WriteFolderCheck prepareWriteFolder(const GameFolders& folders);

// Sets the process-wide data folder that dataPath puts in front of data file names; empty means
// the working folder. Called once at start-up, before anything is loaded.
void setDataFolder(std::string folder);
const std::string& dataFolder();

// True for the relative names of data files: "data.pck", anything under "sound/" and
// "replay/demo.rpl", with or without leading "./" and with doubled slashes.
bool isDataFileName(const char* path);
// `path` in the data folder when it names a data file and a data folder is set; otherwise `path`
// unchanged (absolute paths and every player's file among them).
std::string dataPath(const char* path);

}  // namespace vg
