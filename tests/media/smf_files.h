// Standard MIDI files built byte by byte for the sound tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace smf {

inline void Be32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int s = 24; s >= 0; s -= 8)
        out.push_back(uint8_t(v >> s));
}

inline std::vector<uint8_t> Header(uint16_t format, uint16_t tracks, uint16_t division)
{
    std::vector<uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
    for (uint16_t v : {format, tracks, division}) {
        out.push_back(uint8_t(v >> 8));
        out.push_back(uint8_t(v));
    }
    return out;
}

// A chunk with the given id around the event bytes.
inline void Chunk(std::vector<uint8_t>& file, const std::vector<uint8_t>& body, const char* id = "MTrk")
{
    file.insert(file.end(), id, id + 4);
    Be32(file, uint32_t(body.size()));
    file.insert(file.end(), body.begin(), body.end());
}

inline std::vector<uint8_t> File(uint16_t format, uint16_t division, std::initializer_list<std::vector<uint8_t>> tracks)
{
    std::vector<uint8_t> file = Header(format, uint16_t(tracks.size()), division);
    for (const auto& t : tracks)
        Chunk(file, t);
    return file;
}

}  // namespace smf
