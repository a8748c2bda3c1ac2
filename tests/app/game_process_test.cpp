#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;

// Starts the real game in `folder` with SDL's dummy video and audio drivers.
pid_t startGame(const fs::path& folder, const fs::path& runtime) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) != 0) _exit(99);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 2);
        const std::string game = std::string(VG_GAME_DIR) + "/vesperglint";
        execl(game.c_str(), "vesperglint", static_cast<char*>(nullptr));
        _exit(98);
    }
    return pid;
}

// Waits up to `limit` for the process to end; -1 when it is still running.
int waitExit(pid_t pid, std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < until) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return -1;
}

TEST(GameProcessTest, RunsUnderDummyDriversRefusesASecondCopyAndEndsOnClose) {
    const fs::path folder = fs::temp_directory_path() / ("vg_game_" + std::to_string(getpid()));
    fs::create_directories(folder / "runtime");
    const pid_t first = startGame(folder, folder / "runtime");
    ASSERT_GT(first, 0);
    // Let it open its window and run frames.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    ASSERT_EQ(waitExit(first, std::chrono::milliseconds(0)), -1) << "the game stopped by itself";

    const pid_t second = startGame(folder, folder / "runtime");
    EXPECT_EQ(waitExit(second, std::chrono::seconds(10)), 0);
    EXPECT_EQ(waitExit(first, std::chrono::milliseconds(0)), -1) << "the first copy stopped";

    // SDL turns SIGTERM into a close request: the game must end cleanly with 0.
    kill(first, SIGTERM);
    EXPECT_EQ(waitExit(first, std::chrono::seconds(10)), 0);
    fs::remove_all(folder);
}

}  // namespace
