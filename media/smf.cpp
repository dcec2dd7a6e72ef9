#include "media/smf.h"

#include <algorithm>

#include "base/log.h"
#include "base/text.h"
#include "records/record_io.h"

namespace {

std::string g_lastFailure;

// Files larger than this are not music.
constexpr std::size_t kMaxSmfSize = 64u << 20;

uint32_t Be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }
uint16_t Be16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }

// One event of a track: its absolute tick, its status and where its bytes lie
// in the source (the data bytes of a channel message, the payload of a meta
// or system-exclusive event).
struct Event {
    uint64_t tick;
    uint32_t offset;
    uint32_t length;
    uint8_t status;
    uint8_t metaType;
};

void PutVarLen(std::vector<uint8_t>& out, uint32_t v)
{
    uint8_t buf[5];
    int n = 0;
    buf[n++] = v & 0x7F;
    while (v >>= 7)
        buf[n++] = 0x80 | (v & 0x7F);
    while (n > 0)
        out.push_back(buf[--n]);
}

// Reads one track's events between p and end into events. False when the
// track is malformed; eotTick is its end-of-track tick (or its last event's
// when it has none); sawEnd tells whether the end-of-track was met.
bool ReadTrack(const uint8_t* base, const uint8_t* p, const uint8_t* end, std::vector<Event>& events,
               uint64_t& eotTick, bool& sawEnd)
{
    uint64_t tick = 0;
    uint8_t running = 0;
    sawEnd = false;
    while (p < end) {
        uint32_t delta;
        if (!ReadVarLen(p, end, delta))
            return false;
        tick += delta;
        if (p >= end)
            return false;
        uint8_t status = *p;
        if (status < 0x80) {
            if (running == 0)
                return false;
            status = running;
        } else {
            ++p;
        }
        Event e{tick, 0, 0, status, 0};
        if (status == 0xFF) {
            if (p >= end)
                return false;
            e.metaType = *p++;
            uint32_t len;
            if (!ReadVarLen(p, end, len) || len > std::size_t(end - p))
                return false;
            e.offset = uint32_t(p - base);
            e.length = len;
            p += len;
            if (e.metaType == 0x2F) {
                sawEnd = true;
                eotTick = tick;
                return true;
            }
        } else if (status == 0xF0 || status == 0xF7) {
            uint32_t len;
            if (!ReadVarLen(p, end, len) || len > std::size_t(end - p))
                return false;
            e.offset = uint32_t(p - base);
            e.length = len;
            p += len;
        } else if (status >= 0xF0) {
            return false;  // system common and real-time messages have no place in a file
        } else {
            uint32_t len = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
            if (len > std::size_t(end - p))
                return false;
            e.offset = uint32_t(p - base);
            e.length = len;
            p += len;
            running = status;
        }
        events.push_back(e);
    }
    eotTick = tick;
    return true;
}

}  // namespace

void SoundFailure(const std::string& line, bool followsCause)
{
    if (!followsCause || g_lastFailure.empty())
        g_lastFailure = line;
    ErrorLogPrintf("%s", line.c_str());
    ReportLogPrintf("%s", line.c_str());
}

const std::string& LastSoundFailure() { return g_lastFailure; }
void ClearSoundFailure() { g_lastFailure.clear(); }

bool ReadVarLen(const uint8_t*& p, const uint8_t* end, uint32_t& value)
{
    value = 0;
    for (int i = 0; i < 4; ++i) {
        if (p >= end)
            return false;
        uint8_t b = *p++;
        value = value << 7 | (b & 0x7F);
        if (!(b & 0x80))
            return true;
    }
    return false;
}

uint16_t SmfFormat::Division() const { return m_Data.size() >= 14 ? Be16(&m_Data[12]) : 96; }

bool SmfFormat::Load(const std::string& hostPath, const std::string& name)
{
    fileName = name;
    m_Data.clear();
    std::vector<uint8_t> bytes;
    if (!ReadHostFile(hostPath, bytes) || bytes.size() > kMaxSmfSize) {
        SoundFailure(StrPrintf(SJ("Midi %s Create ファイルが開けません").c_str(), fileName.c_str()));
        return false;
    }
    return Parse(bytes.data(), bytes.size());
}

bool SmfFormat::Parse(const uint8_t* bytes, std::size_t size)
{
    m_Data.clear();
    auto refuse = [&](const char* utf8) {
        SoundFailure(StrPrintf(Utf8ToCp932(std::string("Midi %s Init ") + utf8).c_str(), fileName.c_str()));
        return false;
    };
    const char* notSmf4 = "標準MIDIでない(4)";
    if (size < 4 || std::string_view(reinterpret_cast<const char*>(bytes), 4) != "MThd")
        return refuse(notSmf4);
    if (size < 8 || Be32(bytes + 4) != 6)
        return refuse("標準MIDIでない(6)");
    if (size < 14)
        return refuse(notSmf4);
    uint16_t format = Be16(bytes + 8);
    if (format == 2)
        return refuse("対応フォーマットが2でない");
    if (format > 2)
        return refuse("対応フォーマットが0または1でない");
    if (size < 22 || std::string_view(reinterpret_cast<const char*>(bytes + 14), 4) != "MTrk")
        return refuse(notSmf4);

    unsigned trackCount = Be16(bytes + 10);
    std::vector<Event> events;
    uint64_t endTick = 0;
    std::size_t pos = 14;
    for (unsigned track = 0; track < trackCount;) {
        if (size - pos < 8)
            return refuse(notSmf4);
        uint32_t length = Be32(bytes + pos + 4);
        const uint8_t* body = bytes + pos + 8;
        bool isTrack = std::string_view(reinterpret_cast<const char*>(bytes + pos), 4) == "MTrk";
        bool pastEnd = length > size - pos - 8;
        const uint8_t* end = pastEnd ? bytes + size : body + length;
        if (!isTrack) {
            // Other chunks are skipped; one running past the file ends the tracks early.
            if (pastEnd)
                return refuse(notSmf4);
            pos += 8 + std::size_t(length);
            continue;
        }
        uint64_t eotTick = 0;
        bool sawEnd = false;
        if (!ReadTrack(bytes, body, end, events, eotTick, sawEnd) || (pastEnd && !sawEnd))
            return refuse(notSmf4);
        endTick = std::max(endTick, eotTick);
        ++track;
        if (pastEnd)
            pos = size;
        else
            pos += 8 + std::size_t(length);
    }

    // Merge the tracks by tick; equal ticks keep the track order, and within a
    // track the file order. Each track is already sorted, so a stable sort of
    // the concatenation gives exactly that.
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.tick < b.tick; });

    std::vector<uint8_t>& out = m_Data;
    out.reserve(size + 32);
    const uint8_t header[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, bytes[12], bytes[13], 'M', 'T', 'r', 'k', 0, 0, 0, 0};
    out.assign(header, header + sizeof header);
    uint64_t last = 0;
    for (const Event& e : events) {
        PutVarLen(out, uint32_t(e.tick - last));
        last = e.tick;
        out.push_back(e.status);
        if (e.status == 0xFF) {
            out.push_back(e.metaType);
            PutVarLen(out, e.length);
        } else if (e.status == 0xF0 || e.status == 0xF7) {
            PutVarLen(out, e.length);
        }
        out.insert(out.end(), bytes + e.offset, bytes + e.offset + e.length);
    }
    PutVarLen(out, uint32_t(endTick - last));
    out.insert(out.end(), {0xFF, 0x2F, 0x00});
    uint32_t trackLength = uint32_t(out.size() - kEventStart);
    out[18] = uint8_t(trackLength >> 24);
    out[19] = uint8_t(trackLength >> 16);
    out[20] = uint8_t(trackLength >> 8);
    out[21] = uint8_t(trackLength);
    return true;
}
