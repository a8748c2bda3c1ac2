#include "core/TaskArena.h"

#include <new>

namespace vg {

namespace {
std::unique_ptr<TaskArena>& arenaSlot() {
    static std::unique_ptr<TaskArena> arena;
    return arena;
}
}  // namespace

TaskArena::TaskArena(uint32_t capacity) {
    capacity &= ~uint32_t{15};
    buffer_.reset(new (std::nothrow) uint8_t[capacity]);
    if (!buffer_ || capacity < 16) {
        buffer_.reset();
        return;
    }
    capacity_ = capacity;
    *blockAt(0) = BlockHeader{capacity, 0, {}};
}

uint32_t TaskArena::findFit(uint32_t size) {
    for (uint32_t offset = cursor_; offset < capacity_;) {
        const BlockHeader* block = blockAt(offset);
        if (!block->inUse && block->size >= size) return offset;
        offset += block->size;
    }
    return capacity_;
}

void* TaskArena::arenaAlloc(size_t size) {
    if (size > capacity_) return nullptr;
    // Header plus payload, rounded up to 16 bytes: 1 byte takes 16, 9 bytes take 32.
    const uint32_t rounded = static_cast<uint32_t>((size + 23) & ~size_t{15});
    if (!buffer_ || capacity_ - bytesInUse_ < rounded) return nullptr;
    uint32_t offset = findFit(rounded);
    if (offset == capacity_) {
        compact();
        offset = findFit(rounded);
        if (offset == capacity_) return nullptr;
    }
    BlockHeader* block = blockAt(offset);
    if (block->size > rounded) {
        *blockAt(offset + rounded) = BlockHeader{block->size - rounded, 0, {}};
        block->size = rounded;
    }
    block->inUse = 1;
    bytesInUse_ += rounded;
    cursor_ = offset + rounded;
    return reinterpret_cast<uint8_t*>(block) + kHeaderSize;
}

void TaskArena::arenaFree(void* payload) {
    if (!payload || !owns(payload)) return;
    auto* block = reinterpret_cast<BlockHeader*>(static_cast<uint8_t*>(payload) - kHeaderSize);
    if (!block->inUse) return;
    block->inUse = 0;
    bytesInUse_ -= block->size;
}

void TaskArena::compact() {
    cursor_ = 0;
    uint32_t runStart = 0;
    uint32_t runLength = 0;
    bool cursorSet = false;
    for (uint32_t offset = 0; offset < capacity_;) {
        BlockHeader* block = blockAt(offset);
        const uint32_t size = block->size;
        if (block->inUse) {
            if (runLength) blockAt(runStart)->size = runLength;
            runLength = 0;
        } else {
            if (!cursorSet) {
                cursor_ = offset;
                cursorSet = true;
            }
            if (runLength == 0) runStart = offset;
            runLength += size;
        }
        offset += size;
    }
    if (runLength) blockAt(runStart)->size = runLength;
}

uint32_t TaskArena::blockSizeOf(const void* payload) const {
    return reinterpret_cast<const BlockHeader*>(static_cast<const uint8_t*>(payload) - kHeaderSize)
        ->size;
}

bool TaskArena::owns(const void* payload) const {
    const auto* p = static_cast<const uint8_t*>(payload);
    return buffer_ && p >= buffer_.get() + kHeaderSize && p < buffer_.get() + capacity_;
}

TaskArena& taskArena() {
    auto& slot = arenaSlot();
    if (!slot) slot = std::make_unique<TaskArena>(TaskArena::kDefaultCapacity);
    return *slot;
}

TaskArena* installTaskArena(uint32_t capacity) {
    auto& slot = arenaSlot();
    if (slot && slot->bytesInUse() != 0) return nullptr;
    slot = std::make_unique<TaskArena>(capacity);
    return slot.get();
}

void removeTaskArena(const TaskArena* arena) {
    auto& slot = arenaSlot();
    if (arena && slot.get() == arena) slot.reset();
}

}  // namespace vg
