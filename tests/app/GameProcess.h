#pragma once

// Runs the real game as a player would, under SDL's dummy video and audio drivers: from a
// chosen working folder, with chosen flags and environment, its output kept in files.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace vg::test {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::string& tag) {
        std::random_device seed;
        path_ = fs::temp_directory_path() /
                ("vg-" + tag + "-" + std::to_string(getpid()) + "-" + std::to_string(seed()));
        fs::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }
    fs::path operator/(const std::string& relative) const { return path_ / relative; }

  private:
    fs::path path_;
};

struct GameRun {
    fs::path executable;
    fs::path workingFolder;
    std::vector<std::string> arguments;
    // Set in the game's environment (SDL's dummy drivers are always set); an empty value
    // removes the variable.
    std::map<std::string, std::string> environment;
    fs::path output;  // standard output goes here
    fs::path errors;  // standard error goes here
};

inline pid_t startGame(const GameRun& run) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    if (chdir(run.workingFolder.c_str()) != 0) _exit(99);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    unsetenv("DISPLAY");
    for (const auto& [name, value] : run.environment) {
        if (value.empty()) {
            unsetenv(name.c_str());
        } else {
            setenv(name.c_str(), value.c_str(), 1);
        }
    }
    const int out = open(run.output.empty() ? "/dev/null" : run.output.c_str(),
                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(run.errors.empty() ? "/dev/null" : run.errors.c_str(),
                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, 1);
    dup2(err, 2);
    std::vector<char*> argv{const_cast<char*>("vesperglint")};
    for (const std::string& arg : run.arguments) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(run.executable.c_str(), argv.data());
    _exit(98);
}

// Waits up to `limit` for the process to end: its exit status, 128 + signal when killed, -1 when
// it is still running.
inline int waitExit(pid_t pid, std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    for (;;) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (std::chrono::steady_clock::now() >= until) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// Runs the game to its end (it must end by itself within `limit`); -1 if it did not (it is
// then killed).
inline int runToEnd(const GameRun& run, std::chrono::milliseconds limit) {
    const pid_t pid = startGame(run);
    const int status = waitExit(pid, limit);
    if (status == -1) {
        kill(pid, SIGKILL);
        waitExit(pid, std::chrono::seconds(5));
    }
    return status;
}

// Lets each game play for `playTime`, then closes it as the desktop does (SDL turns SIGTERM into
// a close request). Several run at once (each needs its own XDG_RUNTIME_DIR). The exit statuses
// in order; -1 for a game that had stopped by itself or did not end.
inline std::vector<int> playAllThenClose(const std::vector<GameRun>& runs,
                                         std::chrono::milliseconds playTime) {
    std::vector<pid_t> pids;
    for (const GameRun& run : runs) pids.push_back(startGame(run));
    std::this_thread::sleep_for(playTime);
    std::vector<bool> stoppedEarly;
    for (pid_t pid : pids) {
        const bool stopped = waitExit(pid, std::chrono::milliseconds(0)) != -1;
        stoppedEarly.push_back(stopped);
        if (!stopped) kill(pid, SIGTERM);
    }
    std::vector<int> statuses;
    for (size_t i = 0; i < pids.size(); ++i) {
        int status = stoppedEarly[i] ? -1 : waitExit(pids[i], std::chrono::seconds(10));
        if (status == -1 && !stoppedEarly[i]) {
            kill(pids[i], SIGKILL);
            waitExit(pids[i], std::chrono::seconds(5));
        }
        statuses.push_back(status);
    }
    return statuses;
}

inline std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline size_t countOf(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// Every file and folder under `root`, as paths relative to it.
inline std::set<std::string> listTree(const fs::path& root) {
    std::set<std::string> names;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        names.insert(fs::relative(it->path(), root).string());
    }
    return names;
}

}  // namespace vg::test
