// Standard MIDI files: reading format 0 and 1 files and re-encoding them as
// one merged track, which is what the sequencer plays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Where a player writes its failure lines: the error log and the report log,
// and the last line is kept so a caller's box can say why a file did not play.
// A line that only follows from an earlier one (followsCause) leaves that one
// kept when there is one.
void SoundFailure(const std::string& line, bool followsCause = false);
const std::string& LastSoundFailure();
void ClearSoundFailure();

class SmfFormat {
public:
    SmfFormat() = default;
    virtual ~SmfFormat() = default;

    // Reads the host file whole and parses it; false (and no data) when the
    // file cannot be opened or is refused. name is the file name the failure
    // lines carry.
    bool Load(const std::string& hostPath, const std::string& name);
    // Parses bytes already in memory; the failure lines carry fileName.
    bool Parse(const uint8_t* bytes, std::size_t size);

    // The whole piece as a single-track file; empty when nothing was loaded.
    const std::vector<uint8_t>& Data() const { return m_Data; }
    bool HasData() const { return !m_Data.empty(); }
    // The time division of the header (bytes 12 and 13).
    uint16_t Division() const;

    std::string fileName;

    // Where the event data begin in Data().
    static constexpr std::size_t kEventStart = 22;

protected:
    std::vector<uint8_t> m_Data;
};

// Reads a variable-length number of at most four bytes from p (before end);
// false when it runs past end or over four bytes.
bool ReadVarLen(const uint8_t*& p, const uint8_t* end, uint32_t& value);
