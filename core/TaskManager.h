#pragma once

#include <array>
#include <cstdint>
#include <new>
#include <utility>

#include "core/Task.h"

namespace vg {

class DIB;
class TaskArena;

// Owns every task in one doubly linked list sorted by layer, between a head sentinel (layer
// -128) and a tail sentinel (layer 127). The layer decides both update and draw order, lower
// layers first. `layerFirst[p]` is the first task of layer p: a search start for insertion and
// the registry of single tasks found by layer (31 the pause screen, 32 the attract mode).
class TaskManager {
  public:
    TaskManager();
    TaskManager(const TaskManager&) = delete;
    TaskManager& operator=(const TaskManager&) = delete;
    virtual ~TaskManager();

    // Links `task` as the first of `layer` (0..63). Null when the task is null or the layer is
    // out of range; the task is then not linked.
    Task* insertFront(Task* task, int layer);
    // Links `task` as the last of `layer` (0..63). Null when the task is null or the layer is
    // out of range.
    Task* insertBack(Task* task, int layer);
    // Links `task` right after `predecessor`, in its layer: how a body that must exist first
    // (its parts take its serial) still ends up with its parts in the list order a spawn rule
    // gives. Null when either is null or `predecessor` is not linked into this manager.
    Task* insertAfter(Task* task, Task* predecessor);

    // Creates a T from the arena and inserts it; null when the arena is full or the layer is
    // invalid (then nothing is left behind).
    template <class T, class... Args>
    T* spawnFront(int layer, Args&&... args) {
        return spawn<T>(true, layer, std::forward<Args>(args)...);
    }
    template <class T, class... Args>
    T* spawnBack(int layer, Args&&... args) {
        return spawn<T>(false, layer, std::forward<Args>(args)...);
    }
    template <class T, class... Args>
    T* spawnAfter(Task* predecessor, Args&&... args) {
        static_assert(alignof(T) <= 8, "tasks are only 8-byte aligned");
        T* task = new (std::nothrow) T(std::forward<Args>(args)...);
        if (!task) return nullptr;
        if (!insertAfter(task, predecessor)) {
            task->destroySelf();
            return nullptr;
        }
        return task;
    }

    void freezeAll();
    void resumeAll();
    void freezeLayer(int layer);
    void endLayersUpTo(int layer);
    void endLayer20();
    void endAll();

    // Updates tasks in state 0 and 2 in list order and deletes the ended ones it reaches.
    void updatePass();
    // Draws the tasks of layers lo..hi in state 0 and 3.
    void drawRange(DIB& surface, int lo, int hi);
    void drawAll(DIB& surface);

    Task* firstOfLayer(int layer) const {
        return layer >= 0 && layer < kLayerCount ? layerFirst[layer] : nullptr;
    }
    Task* head() const { return head_; }
    Task* tail() const { return tail_; }

    std::array<Task*, kLayerCount> layerFirst{};
    int32_t taskCount = 0;

  private:
    template <class T, class... Args>
    T* spawn(bool front, int layer, Args&&... args) {
        // Arena payloads start 8 bytes into a 16-byte block.
        static_assert(alignof(T) <= 8, "tasks are only 8-byte aligned");
        T* task = new (std::nothrow) T(std::forward<Args>(args)...);
        if (!task) return nullptr;
        if (!(front ? insertFront(task, layer) : insertBack(task, layer))) {
            task->destroySelf();
            return nullptr;
        }
        return task;
    }
    // The nearest registered layer head at or below `layer` (down to 1), else the head sentinel.
    Task* searchStart(int layer) const;
    void linkBefore(Task* task, Task* successor);

    Task* head_ = nullptr;
    Task* tail_ = nullptr;
    // The arena this manager installed; null when it shares one already in use.
    const TaskArena* ownArena_ = nullptr;
};

}  // namespace vg
