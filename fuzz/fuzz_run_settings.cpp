// Feeds arbitrary bytes to the System.ini reader, whole and in two pieces split
// where the first byte says; both must reach the same outcome and settings.
#include <cstdint>
#include <cstring>

#include "database/system.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const cSystem system;
    if (size < 1)
        return 0;
    std::size_t split = data[0] % size;
    ++data;
    --size;
    if (split > size)
        split = size;

    RunSettings whole;
    int wholeResult = ParseRunSettings(data, size, system.m_Inis, whole);

    RunSettings pieces;
    RunSettingsReader reader(system.m_Inis, pieces);
    reader.Feed(data, split);
    reader.Feed(data + split, size - split);
    int piecesResult = reader.Finish() == RunSettingsReader::Status::Success ? 1 : 0;

    if (wholeResult != piecesResult || std::memcmp(&whole, &pieces, sizeof whole) != 0)
        __builtin_trap();
    return 0;
}
