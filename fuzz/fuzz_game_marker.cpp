// Feeds arbitrary bytes to the game-program marker reader as a whole file:
// it must never read outside the file, whatever the header and section table
// claim, and must give the same answer twice.
#include <cstdint>
#include <cstring>
#include <string>

#include "app/test_play.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ReadAtFn read = [data, size](uint64_t offset, void* out, std::size_t n) {
        if (offset > size || n > size - offset)
            __builtin_trap();  // the reader must stay within the file it was told of
        std::memcpy(out, data + offset, n);
        return true;
    };
    std::string first, second;
    bool a = ElfMarkerString(read, size, 1, first);
    bool b = ElfMarkerString(read, size, 1, second);
    if (a != b || first != second)
        __builtin_trap();
    return 0;
}
