#include "base/heap.h"

#include <cstdlib>  // defines __GLIBC__ where the C library is glibc

#if defined(__GLIBC__)
#include <malloc.h>
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
}
