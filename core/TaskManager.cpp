#include "core/TaskManager.h"

#include "core/TaskArena.h"

namespace vg {

TaskManager::TaskManager() {
    ownArena_ = installTaskArena(TaskArena::kTaskManagerCapacity);
    head_ = new (std::nothrow) Task();
    tail_ = new (std::nothrow) Task();
    head_->layer = -128;
    head_->state = kTaskSentinel;
    tail_->layer = 127;
    tail_->state = kTaskSentinel;
    head_->next = tail_;
    tail_->prev = head_;
}

TaskManager::~TaskManager() {
    for (Task* task = head_->next; task != tail_;) {
        Task* successor = task->next;
        task->destroySelf();
        task = successor;
    }
    head_->destroySelf();
    tail_->destroySelf();
    layerFirst.fill(nullptr);
    removeTaskArena(ownArena_);
}

Task* TaskManager::searchStart(int layer) const {
    for (int q = layer < kLayerCount ? layer : kLayerCount - 1; q >= 1; --q) {
        if (layerFirst[q]) return layerFirst[q];
    }
    return head_;
}

void TaskManager::linkBefore(Task* task, Task* successor) {
    task->prev = successor->prev;
    task->next = successor;
    successor->prev->next = task;
    successor->prev = task;
}

Task* TaskManager::insertFront(Task* task, int layer) {
    if (!task || layer < 0 || layer >= kLayerCount) return nullptr;
    Task* at = searchStart(layer);
    while (at->layer < layer) at = at->next;
    linkBefore(task, at);
    task->layer = static_cast<int8_t>(layer);
    task->state = kTaskActive;
    task->owner = this;
    layerFirst[layer] = task;
    ++taskCount;
    return task;
}

Task* TaskManager::insertBack(Task* task, int layer) {
    if (!task || layer < 0 || layer >= kLayerCount) return nullptr;
    Task* at = searchStart(layer);
    while (at->layer <= layer) at = at->next;
    linkBefore(task, at);
    task->state = kTaskActive;
    task->layer = static_cast<int8_t>(layer);
    task->owner = this;
    if (!layerFirst[layer]) layerFirst[layer] = task;
    ++taskCount;
    return task;
}

Task* TaskManager::insertAfter(Task* task, Task* predecessor) {
    if (!task || !predecessor || predecessor->owner != this || !predecessor->next) return nullptr;
    linkBefore(task, predecessor->next);
    task->state = kTaskActive;
    task->layer = predecessor->layer;
    task->owner = this;
    ++taskCount;
    return task;
}

void TaskManager::freezeAll() {
    for (Task* t = head_->next; t != tail_; t = t->next) {
        if (t->isLive()) t->state = kTaskFrozen;
    }
}

void TaskManager::resumeAll() {
    for (Task* t = head_->next; t != tail_; t = t->next) {
        if (t->isLive()) t->state = kTaskActive;
    }
}

void TaskManager::freezeLayer(int layer) {
    for (Task* t = head_->next; t != tail_; t = t->next) {
        if (t->layer == layer && t->isLive()) t->state = kTaskFrozen;
    }
}

void TaskManager::endLayersUpTo(int layer) {
    for (Task* t = head_->next; t != tail_; t = t->next) {
        if (t->layer >= 0 && t->layer <= layer) t->state = kTaskEnded;
    }
}

void TaskManager::endLayer20() {
    for (Task* t = head_->next; t != tail_; t = t->next) {
        if (t->layer == 20) t->state = kTaskEnded;
    }
}

void TaskManager::endAll() {
    for (Task* t = head_->next; t != tail_; t = t->next) t->state = kTaskEnded;
}

void TaskManager::updatePass() {
    Task* task = head_->next;
    while (task != tail_) {
        switch (task->state) {
            case kTaskActive:
            case kTaskUpdateOnly:
                task->update();
                // Read after update, so a task inserted just behind this one runs this pass.
                task = task->next;
                break;
            case kTaskEnded: {
                Task* successor = task->next;
                task->prev->next = successor;
                successor->prev = task->prev;
                if (layerFirst[task->layer] == task) {
                    layerFirst[task->layer] = successor->layer == task->layer ? successor : nullptr;
                }
                task->destroySelf();
                --taskCount;
                task = successor;
                break;
            }
            default:
                task = task->next;
                break;
        }
    }
}

void TaskManager::drawRange(DIB& surface, int lo, int hi) {
    Task* task = lo <= 0 ? head_->next : searchStart(lo);
    for (; task != tail_; task = task->next) {
        if (task->layer < lo) continue;
        if (task->layer > hi) break;
        if (task->state == kTaskActive || task->state == kTaskFrozen) task->draw(surface);
    }
}

void TaskManager::drawAll(DIB& surface) {
    for (Task* task = head_->next; task != tail_; task = task->next) {
        if (task->state == kTaskActive || task->state == kTaskFrozen) task->draw(surface);
    }
}

}  // namespace vg
