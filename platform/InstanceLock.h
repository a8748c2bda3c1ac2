#pragma once

#include <string>

namespace vg {

// Keeps a second copy of the game from running beside the first: the first copy holds an
// exclusive lock on a file for as long as it runs; a second copy fails to take it. The lock is
// released by the system when the process ends, however it ends.
class InstanceLock {
  public:
    // `path` empty: the per-user default in the runtime folder (or /tmp).
    explicit InstanceLock(std::string path = {});
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock();

    // True when this process holds the lock; false when another copy holds it. A lock file
    // that cannot be opened at all does not stop the game.
    bool acquired() const { return acquired_; }
    static std::string defaultPath();

  private:
    int fd_ = -1;
    bool acquired_ = false;
};

}  // namespace vg
