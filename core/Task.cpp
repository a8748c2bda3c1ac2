#include "core/Task.h"

#include "core/TaskArena.h"

namespace vg {

void* Task::operator new(size_t size, const std::nothrow_t&) noexcept {
    return taskArena().arenaAlloc(size);
}

void Task::operator delete(void* payload) noexcept {
    taskArena().arenaFree(payload);
}

void Task::operator delete(void* payload, const std::nothrow_t&) noexcept {
    taskArena().arenaFree(payload);
}

}  // namespace vg
