#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <thread>
#include <utility>
#include <vector>

#include "base/heap.h"

namespace {

using Heap = SmallBlockHeap;

// A heap of its own for each test, given back at the end.
struct TestHeap {
    explicit TestHeap(std::size_t slabs) : heap(slabs * Heap::kSlab) {}
    ~TestHeap() { heap.Release(); }
    Heap heap;
};

bool Reserves()
{
#if defined(__unix__) || defined(__APPLE__)
    return true;
#else
    return false;
#endif
}

}  // namespace

// Blocks of every size class, written through and freed in a shuffled order,
// never overlap, keep what was written, and come back for the same class only.
TEST(SmallBlockHeap, BlocksHoldTheirBytesAndAreReusedWithinTheirClass)
{
    if (!Reserves())
        GTEST_SKIP() << "no address-space reservation here";
    TestHeap t(256);
    ASSERT_TRUE(t.heap.ClaimForThisThread());

    std::mt19937 random(7);
    std::vector<std::pair<unsigned char*, std::size_t>> blocks;
    for (int i = 0; i < 5000; ++i) {
        std::size_t n = random() % (Heap::kLargest + 1);
        auto* p = static_cast<unsigned char*>(t.heap.Allocate(n));
        ASSERT_NE(p, nullptr);
        ASSERT_TRUE(t.heap.Owns(p));
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(p) % Heap::kGrain, 0u);
        std::memset(p, i & 0xFF, n);
        blocks.emplace_back(p, n);
    }
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        auto [p, n] = blocks[i];
        for (std::size_t k = 0; k < n; ++k)
            ASSERT_EQ(p[k], static_cast<unsigned char>(i & 0xFF)) << "block " << i << " byte " << k;
    }

    std::shuffle(blocks.begin(), blocks.end(), random);
    std::vector<std::pair<unsigned char*, std::size_t>> freed(blocks.begin(), blocks.begin() + 1000);
    for (auto [p, n] : freed)
        ASSERT_TRUE(t.heap.Free(p));
    // The last block freed of a class is the next one handed out for any size
    // of that class, and a block of another class is never handed out.
    auto [last, lastSize] = freed.back();
    void* again = t.heap.Allocate(Heap::ClassSize(lastSize));
    EXPECT_EQ(again, last);
    for (auto [p, n] : freed) {
        if (p == last)
            continue;
        void* q = t.heap.Allocate(n);
        auto same = std::find_if(freed.begin(), freed.end(), [&](const auto& b) { return b.first == q; });
        if (same != freed.end()) {
            EXPECT_EQ(Heap::ClassSize(same->second), Heap::ClassSize(n));
        }
    }
}

// What the heap does not serve is left to the caller's malloc: sizes above the
// largest class, threads other than the owner, a heap nobody claimed and a
// region that is used up. Pointers it does not own are not taken back.
TEST(SmallBlockHeap, LeavesWhatItDoesNotServeToTheCaller)
{
    if (!Reserves())
        GTEST_SKIP() << "no address-space reservation here";
    TestHeap t(2);
    EXPECT_EQ(t.heap.Allocate(16), nullptr);  // not claimed yet
    alignas(16) static char outside[64];
    EXPECT_FALSE(t.heap.Owns(outside));
    EXPECT_FALSE(t.heap.Free(outside));
    EXPECT_FALSE(t.heap.Free(nullptr));

    ASSERT_TRUE(t.heap.ClaimForThisThread());
    EXPECT_EQ(t.heap.Allocate(Heap::kLargest + 1), nullptr);
    void* elsewhere = outside;
    std::thread([&] { elsewhere = t.heap.Allocate(16); }).join();
    EXPECT_EQ(elsewhere, nullptr);

    // Two slabs: one for each of two classes, then nothing more for a third,
    // while the two go on serving.
    void* small = t.heap.Allocate(16);
    void* large = t.heap.Allocate(Heap::kLargest);
    ASSERT_NE(small, nullptr);
    ASSERT_NE(large, nullptr);
    EXPECT_EQ(t.heap.Allocate(64), nullptr);
    std::size_t served = 1;
    while (t.heap.Allocate(16))
        ++served;
    EXPECT_EQ(served, Heap::kSlab / 16);
    ASSERT_TRUE(t.heap.Free(small));
    EXPECT_EQ(t.heap.Allocate(16), small);

    TestHeap nothing(0);
    EXPECT_FALSE(nothing.heap.ClaimForThisThread());
    EXPECT_EQ(nothing.heap.Allocate(16), nullptr);
}

// Blocks freed by other threads go back to the owner and are handed out again.
TEST(SmallBlockHeap, BlocksFreedByOtherThreadsComeBackToTheOwner)
{
    if (!Reserves())
        GTEST_SKIP() << "no address-space reservation here";
    TestHeap t(64);
    ASSERT_TRUE(t.heap.ClaimForThisThread());

    constexpr int kThreads = 4;
    constexpr int kEach = 2000;
    std::vector<std::vector<void*>> given(kThreads);
    for (auto& list : given)
        for (int i = 0; i < kEach; ++i)
            list.push_back(t.heap.Allocate(48));
    std::vector<void*> all;
    for (auto& list : given)
        all.insert(all.end(), list.begin(), list.end());
    std::sort(all.begin(), all.end());

    std::vector<std::thread> threads;
    for (auto& list : given)
        threads.emplace_back([&t, &list] {
            for (void* p : list)
                t.heap.Free(p);
        });
    for (auto& thread : threads)
        thread.join();

    // The owner has no freed blocks of its own, so its next request takes the
    // others' back all at once: each is handed out exactly once more.
    std::vector<void*> again;
    while (again.size() < all.size() + Heap::kSlab / 48) {
        void* p = t.heap.Allocate(48);
        ASSERT_NE(p, nullptr);
        again.push_back(p);
    }
    std::sort(again.begin(), again.end());
    EXPECT_TRUE(std::includes(again.begin(), again.end(), all.begin(), all.end()));
    EXPECT_EQ(std::adjacent_find(again.begin(), again.end()), again.end());
}
