// Process entry of the game: reads the command line, finds the game's folders and checks its
// data (writing nothing when it cannot start), refuses to run twice, enters the working folder,
// picks the frame pacer, makes the screen surface, opens the window and the audio device, and
// runs the frame loop. Where the files live: platform/GamePaths.h.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/CommandLine.h"
#include "app/GameData.h"
#include "app/Main.h"
#include "core/System.h"
#include "platform/GamePaths.h"
#include "platform/InstanceLock.h"
#include "platform/sdl/SdlAudio.h"
#include "platform/sdl/SdlJoystick.h"
#include "platform/sdl/SdlKeyboard.h"
#include "platform/sdl/SdlWindow.h"

namespace {

void note(const std::string& text) {
    std::fprintf(stderr, "vesperglint: %s\n", text.c_str());
}

// Enters the working folder and points the data file names at the data folder. False when the
// game has no folder to write into: it then runs in the data folder and keeps no save.
bool enterGameFolders(const vg::GameFolders& folders) {
    const vg::WriteFolderCheck check = vg::prepareWriteFolder(folders);
    for (const std::string& problem : check.problems) note(problem);
    bool writable = check.usable;
    if (writable && chdir(folders.writeFolder.c_str()) != 0) {
        note("cannot enter " + folders.writeFolder + " (" + std::strerror(errno) +
             "): settings, scores, replays and screenshots will not be saved");
        writable = false;
    }
    if (!writable) {
        // The data folder was just read, so it can be entered; should it fail, the game stays
        // where it was started and still finds its data through the data folder.
        if (chdir(folders.dataFolder.c_str()) != 0) {
            vg::setDataFolder(folders.dataFolder);
            return false;
        }
    }
    const bool sameFolder = !writable || folders.writeFolder == folders.dataFolder;
    vg::setDataFolder(sameFolder ? std::string() : folders.dataFolder);
    return writable;
}

}  // namespace

int main(int argc, char** argv) {
    const vg::LaunchOptions options = vg::parseCommandLine(argc, argv);
    switch (options.action) {
        case vg::LaunchOptions::Action::Refuse:
            note(options.error);
            std::fputs(vg::usageText().c_str(), stderr);
            return vg::kExitBadCommandLine;
        case vg::LaunchOptions::Action::ShowHelp:
            std::fputs(vg::usageText().c_str(), stdout);
            return vg::kExitPlayed;
        case vg::LaunchOptions::Action::ShowVersion:
            std::printf("%s\n", vg::kWindowTitle);
            return vg::kExitPlayed;
        case vg::LaunchOptions::Action::Play:
            break;
    }

    const vg::FolderSearchResult found = vg::findGameFolders(vg::processFolderSearch());
    if (!found.found) {
        vg::showMessageBox(vg::kWindowTitle, vg::missingDataMessage(found.lookedIn));
        return vg::kExitCannotStart;
    }
    const vg::GameFolders& folders = found.folders;
    if (const std::string problem = vg::checkGameData(folders.dataFolder); !problem.empty()) {
        vg::showMessageBox(vg::kWindowTitle, vg::unusableDataMessage(problem));
        return vg::kExitCannotStart;
    }
    if (folders.source == vg::DataSource::ExecutableFolder) {
        note("no data.pck in the working folder " + found.lookedIn.front() +
             "; using the game's own folder " + folders.dataFolder);
    }

    vg::InstanceLock lock;
    if (!lock.acquired()) {
        vg::showMessageBox(vg::kWindowTitle, "すでに起動しています");
        return vg::kExitPlayed;
    }
    const bool keepsSave = enterGameFolders(folders);

    // After entering the working folder: the pacer looks there for "tickCount".
    vg::SystemClock clock;
    vg::Main game(clock, vg::createFramePacer(clock), std::make_unique<vg::DIBSection>());
    if (!game.ready() || game.screen().empty()) {
        vg::showMessageBox(vg::kWindowTitle, "重要なオブジェクトの生成に失敗");
        return vg::kExitPlayed;
    }
    if (!keepsSave) game.disableSave();
    auto window = vg::sdl::SdlWindow::create(vg::kWindowTitle, vg::kScreenSize, options.scale);
    if (!window) {
        note(std::string("cannot open the game window: ") + vg::sdl::SdlWindow::lastError());
        return vg::kExitCannotStart;
    }
    if (options.fullScreen && !window->enterFullScreen()) {
        note(std::string("cannot go full screen: ") + vg::sdl::SdlWindow::lastError());
    }
    vg::sdl::SdlKeyboard keyboard;
    vg::sdl::SdlJoystick joysticks;
    game.run(*window, keyboard, joysticks, vg::openSdlAudioDevice);
    return vg::kExitPlayed;
}
