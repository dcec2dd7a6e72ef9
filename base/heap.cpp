#include "base/heap.h"

#include <cstdlib>  // defines __GLIBC__ where the C library is glibc
#include <new>

#if defined(__GLIBC__)
#include <malloc.h>
#endif
#if defined(__unix__) || defined(__APPLE__)
#include <sys/mman.h>
#define VANTOR_HEAP_RESERVES 1
#endif

// Under AddressSanitizer the sanitizer's own operator new must see every
// block, so the small-block heap stays out of the program there.
#if defined(__SANITIZE_ADDRESS__)
#define VANTOR_HEAP_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VANTOR_HEAP_SANITIZED 1
#endif
#endif

bool SmallBlockHeap::ClaimForThisThread()
{
    if (!size_.load(std::memory_order_relaxed)) {
#if defined(VANTOR_HEAP_RESERVES)
        if (reserve_ == 0)
            return false;
        // Address space only: pages are backed when first written.
        void* region = mmap(nullptr, reserve_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE,
                            -1, 0);
        if (region == MAP_FAILED)
            return false;
        slabClass_ = static_cast<uint8_t*>(std::calloc(reserve_ / kSlab, 1));
        if (!slabClass_) {
            munmap(region, reserve_);
            return false;
        }
        nextSlab_ = static_cast<char*>(region);
        begin_.store(reinterpret_cast<std::uintptr_t>(region), std::memory_order_relaxed);
        size_.store(reserve_, std::memory_order_release);
#else
        return false;
#endif
    }
    owner_.store(&threadTag_, std::memory_order_relaxed);
    return true;
}

void SmallBlockHeap::Release()
{
    owner_.store(nullptr, std::memory_order_relaxed);
    size_.store(0, std::memory_order_relaxed);
    const std::uintptr_t begin = begin_.exchange(0, std::memory_order_relaxed);
#if defined(VANTOR_HEAP_RESERVES)
    if (begin)
        munmap(reinterpret_cast<void*>(begin), reserve_);
#endif
    std::free(slabClass_);
    slabClass_ = nullptr;
    nextSlab_ = nullptr;
    remote_.store(nullptr, std::memory_order_relaxed);
    for (std::size_t c = 0; c < kClasses; ++c) {
        free_[c] = nullptr;
        carve_[c] = carveEnd_[c] = nullptr;
    }
}

void* SmallBlockHeap::Carve(std::size_t c)
{
    if (remote_.load(std::memory_order_relaxed)) {
        TakeBackRemote();
        if (Block* b = free_[c]) {
            free_[c] = b->next;
            return b;
        }
    }
    const std::size_t size = (c + 1) * kGrain;
    if (static_cast<std::size_t>(carveEnd_[c] - carve_[c]) < size) {
        const auto next = reinterpret_cast<std::uintptr_t>(nextSlab_);
        if (begin_.load(std::memory_order_relaxed) + reserve_ - next < kSlab)
            return nullptr;  // the region is used up
        slabClass_[SlabOf(nextSlab_)] = static_cast<uint8_t>(c);
        carve_[c] = nextSlab_;
        carveEnd_[c] = nextSlab_ + kSlab;
        nextSlab_ += kSlab;
    }
    void* block = carve_[c];
    carve_[c] += size;
    return block;
}

void SmallBlockHeap::FreeRemote(Block* b)
{
    Block* head = remote_.load(std::memory_order_relaxed);
    do
        b->next = head;
    while (!remote_.compare_exchange_weak(head, b, std::memory_order_release, std::memory_order_relaxed));
}

void SmallBlockHeap::TakeBackRemote()
{
    Block* b = remote_.exchange(nullptr, std::memory_order_acquire);
    while (b) {
        Block* next = b->next;
        const std::size_t c = slabClass_[SlabOf(b)];
        b->next = free_[c];
        free_[c] = b;
        b = next;
    }
}

#if !defined(VANTOR_HEAP_SANITIZED)
namespace {

// The process's heap: 8 GiB of address space, far above any project. Constant
// initialised, so operator new may use it before any constructor has run.
constinit SmallBlockHeap processHeap(std::size_t{8} << 30);

}  // namespace
#endif

void KeepFreedHeapMemory()
{
#if defined(__GLIBC__)
    // The top of the heap is never trimmed (1 GiB is far above any project),
    // and blocks up to the largest size glibc accepts here (32 MiB on 64-bit
    // systems) come from the heap rather than from a mapping of their own,
    // which would be unmapped on free and faulted in again on the next load.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(4 * 1024 * 1024 * sizeof(long)));
    // Small blocks go back to the heap at once, merged with their free
    // neighbours, instead of waiting in the "fast" lists: with those, the first
    // large block freed or asked for after a project's hundreds of thousands
    // of small blocks were freed walks and merges them all in one go, which
    // cost about a quarter of a project load.
    mallopt(M_MXFAST, 0);
#endif
#if !defined(VANTOR_HEAP_SANITIZED)
    processHeap.ClaimForThisThread();
#endif
}

#if !defined(VANTOR_HEAP_SANITIZED)

// The replaceable allocation functions: the small-block heap first, then malloc
// (with the new-handler loop the standard asks for). The nothrow, array and
// sized forms the library provides call these.

namespace {

void* AllocateOrThrow(std::size_t n)
{
    if (void* p = processHeap.Allocate(n))
        return p;
    for (;;) {
        if (void* p = std::malloc(n ? n : 1))
            return p;
        std::new_handler handler = std::get_new_handler();
        if (!handler)
            throw std::bad_alloc();
        handler();
    }
}

void Release(void* p) noexcept
{
    if (p && !processHeap.Free(p))
        std::free(p);
}

}  // namespace

void* operator new(std::size_t n) { return AllocateOrThrow(n); }
void* operator new[](std::size_t n) { return AllocateOrThrow(n); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }

#endif
