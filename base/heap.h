// How the process heap treats memory it gets back, and the small-block heap of
// the thread that loads and edits the data.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

// Keeps freed heap memory in the process for the next allocations instead of
// handing it back to the system, and takes large blocks from the heap too.
// Loading a project or a stage allocates hundreds of thousands of small
// blocks; when the memory of an earlier load (or of a save) has been given
// back, every one of them faults in a fresh page again, which makes a load
// after editing several times slower than the first one. Small blocks are
// merged back into the heap as they are freed rather than all at once later.
//
// The calling thread (the main thread: call once at the start of a program)
// also takes its small blocks from the process's SmallBlockHeap from then on.
// Parts that do not apply to the platform or build are skipped.
void KeepFreedHeapMemory();

// Blocks of up to kLargest bytes for one thread, the owner, in size classes of
// kGrain bytes. Each class hands out its freed blocks again first and
// otherwise carves new ones from a slab (kSlab bytes of one class) of a
// region reserved once. Freeing and reusing a block is a few instructions,
// where the C library's heap sorts and merges blocks: a record list of
// 100,000 records holds several hundred thousand of them.
//
// A block freed by another thread goes onto a shared stack that the owner
// takes back when a class runs out. Requests the heap does not serve (other
// threads, larger sizes, a used-up region, a platform without reservations)
// get nullptr, and the caller uses malloc. Memory stays with its class and in
// the process, as KeepFreedHeapMemory keeps the C library's.
class SmallBlockHeap {
public:
    static constexpr std::size_t kGrain = 16;
    static constexpr std::size_t kLargest = 512;
    static constexpr std::size_t kClasses = kLargest / kGrain;
    static constexpr std::size_t kSlab = 64 * 1024;

    // reserve: bytes of address space to take blocks from (rounded down to slabs).
    explicit constexpr SmallBlockHeap(std::size_t reserve) : reserve_(reserve / kSlab * kSlab) {}
    SmallBlockHeap(const SmallBlockHeap&) = delete;
    SmallBlockHeap& operator=(const SmallBlockHeap&) = delete;
    // Gives the region back, leaving a heap that serves no one; only for a heap
    // whose blocks are no longer used. The process's heap is never released
    // (its destructor does nothing), as blocks are freed up to the very end.
    void Release();

    // Makes the calling thread the owner, reserving the region on first use.
    // False when nothing could be reserved (the heap then serves no one).
    bool ClaimForThisThread();

    // A block of at least n bytes, aligned to kGrain; nullptr when the heap does
    // not serve this request.
    void* Allocate(std::size_t n)
    {
        if (n > kLargest || owner_.load(std::memory_order_relaxed) != &threadTag_)
            return nullptr;
        const std::size_t c = n ? (n - 1) / kGrain : 0;
        if (Block* b = free_[c]) {
            free_[c] = b->next;
            return b;
        }
        return Carve(c);
    }

    // Takes p back when it is one of the heap's blocks; false otherwise.
    bool Free(void* p)
    {
        if (!Owns(p))
            return false;
        Block* b = static_cast<Block*>(p);
        if (owner_.load(std::memory_order_relaxed) == &threadTag_) {
            const std::size_t c = slabClass_[SlabOf(b)];
            b->next = free_[c];
            free_[c] = b;
        } else {
            FreeRemote(b);
        }
        return true;
    }

    bool Owns(const void* p) const
    {
        // The size is set after the start: a size seen means the start is too.
        const std::size_t size = size_.load(std::memory_order_acquire);
        return reinterpret_cast<std::uintptr_t>(p) - begin_.load(std::memory_order_relaxed) < size;
    }

    // The size class a request of n bytes gets, in bytes.
    static constexpr std::size_t ClassSize(std::size_t n) { return (n ? (n - 1) / kGrain + 1 : 1) * kGrain; }

private:
    struct Block {
        Block* next;
    };
    // Its address tells the threads apart.
    static inline thread_local char threadTag_ = 0;
    std::size_t SlabOf(const void* p) const
    {
        return (reinterpret_cast<std::uintptr_t>(p) - begin_.load(std::memory_order_relaxed)) / kSlab;
    }
    void* Carve(std::size_t c);
    void FreeRemote(Block* b);
    void TakeBackRemote();

    const std::size_t reserve_;
    std::atomic<const void*> owner_{nullptr};
    std::atomic<std::uintptr_t> begin_{0};
    std::atomic<std::size_t> size_{0};  // of the region; 0 before it is reserved
    // The owner's alone: freed blocks and the slab being carved, per class.
    Block* free_[kClasses] = {};
    char* carve_[kClasses] = {};
    char* carveEnd_[kClasses] = {};
    char* nextSlab_ = nullptr;
    uint8_t* slabClass_ = nullptr;  // per slab of the region, its class
    // Blocks freed by other threads, pushed one by one, taken by the owner all at once.
    std::atomic<Block*> remote_{nullptr};
};
