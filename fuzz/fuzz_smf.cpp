// Feeds arbitrary bytes to the MIDI file reader and plays what it accepts for
// a moment through a synthesizer that does nothing. A merged piece must read
// back as itself.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "media/smf_play.h"

namespace {

class NoSynth : public MidiSynth {
public:
    void Message(uint8_t, uint8_t, uint8_t) override {}
    void SysEx(const uint8_t*, std::size_t) override {}
    void AllNotesOff() override {}
    void Reset() override {}
    void Render(float* out, int frames) override { std::fill(out, out + 2 * frames, 0.0f); }
    bool Sounding() const override { return false; }
};

bool DataBytesClean(const std::vector<uint8_t>& d)
{
    // A channel message's data bytes above 127 are copied as they are; such a
    // piece does not read back the same, so only clean pieces are compared.
    const uint8_t* p = d.data() + SmfFormat::kEventStart;
    const uint8_t* end = d.data() + d.size();
    while (p < end) {
        uint32_t v;
        if (!ReadVarLen(p, end, v) || p >= end)
            return false;
        uint8_t s = *p++;
        if (s == 0xFF || s == 0xF0 || s == 0xF7) {
            if (s == 0xFF)
                ++p;
            if (!ReadVarLen(p, end, v))
                return false;
            p += v;
        } else {
            int n = (s & 0xF0) == 0xC0 || (s & 0xF0) == 0xD0 ? 1 : 2;
            for (int i = 0; i < n; ++i)
                if (p[i] & 0x80)
                    return false;
            p += n;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    cSmfPlay play(std::make_shared<NoSynth>(), 8000);
    play.fileName = "fuzz.mid";
    if (!play.Parse(data, size))
        return 0;
    std::vector<uint8_t> merged = play.Data();
    if (DataBytesClean(merged)) {
        SmfFormat again;
        if (!again.Parse(merged.data(), merged.size()) || again.Data() != merged)
            std::abort();
    }
    std::vector<float> buffer(2 * 512);
    play.Play(true);
    for (int i = 0; i < 16; ++i)
        play.Render(buffer.data(), 512);
    return 0;
}
