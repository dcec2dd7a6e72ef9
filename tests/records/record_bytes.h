// A record's body as bytes, and bytes read into a record as a file of a given
// version holds them: the tests of every record kind compare both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "records/serial.h"

inline std::vector<uint8_t> Body(cSerial& r)
{
    RecordWriter out;
    r.SaveBody(out);
    return out.Bytes();
}

// Reads bytes into r as a file of the version holds them; returns the bytes used.
inline std::size_t ReadBody(cSerial& r, const std::vector<uint8_t>& bytes, uint32_t version)
{
    RecordReader in(bytes);
    LoadedFileVersion = version;
    r.LoadBody(in);
    return in.Position();
}
