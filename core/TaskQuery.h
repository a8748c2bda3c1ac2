#pragma once

#include "core/TaskManager.h"

namespace vg {

// Lookups of tasks by layer and class. Tasks never hold pointers to one another: a task that
// needs another finds it here each frame, because ended tasks are deleted on the next update pass
// and their memory is reused at once. Every query skips tasks that have ended (state 1) but are
// still linked until that pass.

// Calls fn(T&) for each live task of class T (or derived) on `layer`, in list order. The
// successor is read before fn runs, so fn may end the task or create others.
template <class T, class Fn>
void forEachInLayer(const TaskManager& manager, int layer, Fn&& fn) {
    for (Task* task = manager.firstOfLayer(layer); task && task->layer == layer;) {
        Task* next = task->next;
        if (task->isLive()) {
            if (T* typed = dynamic_cast<T*>(task)) fn(*typed);
        }
        task = next;
    }
}

// The first live T on `layer`, or null.
template <class T>
T* findFirstInLayer(const TaskManager& manager, int layer) {
    for (Task* task = manager.firstOfLayer(layer); task && task->layer == layer;
         task = task->next) {
        if (!task->isLive()) continue;
        if (T* typed = dynamic_cast<T*>(task)) return typed;
    }
    return nullptr;
}

// The first live T on any layer lo..hi, or null.
template <class T>
T* findFirstInLayers(const TaskManager& manager, int lo, int hi) {
    for (int layer = lo; layer <= hi; ++layer) {
        if (T* found = findFirstInLayer<T>(manager, layer)) return found;
    }
    return nullptr;
}

// Number of live tasks of class T on `layer`.
template <class T = Task>
int countInLayer(const TaskManager& manager, int layer) {
    int count = 0;
    forEachInLayer<T>(manager, layer, [&](T&) { ++count; });
    return count;
}

// True when `layer` holds any live task.
inline bool layerOccupied(const TaskManager& manager, int layer) {
    return findFirstInLayer<Task>(manager, layer) != nullptr;
}

}  // namespace vg
