#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

namespace vg {

class DIB;
class TaskManager;

// Task states. A live task is one in any state but Ended and Sentinel.
enum TaskState : uint8_t {
    kTaskActive = 0,      // updated and drawn
    kTaskEnded = 1,       // removed and deleted by the next update pass that reaches it
    kTaskUpdateOnly = 2,  // updated, not drawn
    kTaskFrozen = 3,      // drawn, not updated
    kTaskSentinel = 4,    // the list's two ends: never updated, drawn, frozen, resumed or ended
};

constexpr int kLayerCount = 64;
constexpr int8_t kLayerNotInserted = -128;

// Everything that lives longer than a frame. Tasks come from the task arena: create them with
// `new (std::nothrow) T(...)`, which yields null when the arena is full (the caller then simply
// goes without the task), and hand them to TaskManager::insertFront or insertBack. A task ends
// by setting `state` to kTaskEnded; the manager deletes it on its next update pass.
class Task {
  public:
    Task() = default;
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;
    virtual ~Task() = default;

    // Per-frame step; runs in state kTaskActive and kTaskUpdateOnly.
    virtual void update() {}
    // Draws into `surface`; runs in state kTaskActive and kTaskFrozen.
    virtual void draw(DIB& surface) { (void)surface; }
    // Deletes the task (returns its block to the arena).
    void destroySelf() { delete this; }

    void end() { state = kTaskEnded; }
    bool isLive() const { return state != kTaskEnded && state != kTaskSentinel; }

    static void* operator new(size_t size, const std::nothrow_t&) noexcept;
    static void operator delete(void* payload) noexcept;
    static void operator delete(void* payload, const std::nothrow_t&) noexcept;

    TaskManager* owner = nullptr;
    Task* prev = nullptr;
    Task* next = nullptr;
    int8_t layer = kLayerNotInserted;
    uint8_t state = kTaskActive;
};

}  // namespace vg
