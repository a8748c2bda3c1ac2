#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace vg {

// The fixed block allocator that every task comes from, so that creating and deleting hundreds
// of bullets a second never touches the general heap. The buffer is a sequence of blocks; each
// starts with an 8-byte header (uint32 block size including the header, uint8 in-use flag) and
// block sizes are multiples of 16. Freeing is constant time and never merges; neighbours are
// merged lazily by compact() when a first-fit search from the cursor fails.
class TaskArena {
  public:
    static constexpr uint32_t kHeaderSize = 8;
    static constexpr uint32_t kTaskManagerCapacity = 0x80010;
    static constexpr uint32_t kDefaultCapacity = 0x20010;

    explicit TaskArena(uint32_t capacity);
    TaskArena(const TaskArena&) = delete;
    TaskArena& operator=(const TaskArena&) = delete;

    // Payload of at least `size` bytes, or null when no free run is large enough.
    void* arenaAlloc(size_t size);
    // Marks the block of `payload` free. Null is ignored.
    void arenaFree(void* payload);
    // Merges each run of adjacent free blocks; the cursor moves to the first free block.
    void compact();

    uint32_t capacity() const { return capacity_; }
    uint32_t bytesInUse() const { return bytesInUse_; }
    uint32_t cursor() const { return cursor_; }
    // Size of the block (header included) that holds `payload`.
    uint32_t blockSizeOf(const void* payload) const;
    bool owns(const void* payload) const;

  private:
    struct BlockHeader {
        uint32_t size;
        uint8_t inUse;
        uint8_t padding[3];
    };
    static_assert(sizeof(BlockHeader) == kHeaderSize);

    BlockHeader* blockAt(uint32_t offset) {
        return reinterpret_cast<BlockHeader*>(buffer_.get() + offset);
    }
    // First free block of at least `size` bytes from the cursor to the end; capacity_ if none.
    uint32_t findFit(uint32_t size);

    std::unique_ptr<uint8_t[]> buffer_;
    uint32_t capacity_ = 0;
    uint32_t bytesInUse_ = 0;
    uint32_t cursor_ = 0;
};

// The one process-wide arena. The task manager installs one of kTaskManagerCapacity bytes and
// removes it when destroyed; used before that, the accessor makes one of kDefaultCapacity.
TaskArena& taskArena();
// Replaces the arena with a fresh one of `capacity`, unless the one in use still holds blocks
// (tasks made before, or another manager's): those stay valid and it is kept. Returns the
// arena installed, or null when the old one was kept.
TaskArena* installTaskArena(uint32_t capacity);
// Frees the arena, only when `arena` is the one in use (the one its caller installed).
void removeTaskArena(const TaskArena* arena);

}  // namespace vg
