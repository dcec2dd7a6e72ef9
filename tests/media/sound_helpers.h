// A synthesizer that records what reaches it, for the sequencer and player tests.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "media/midi_synth.h"

class RecordingSynth : public MidiSynth {
public:
    struct Call {
        int64_t frame;
        int status;  // -1 all notes off, -2 reset, -3 sysex
        int d1, d2;
    };
    void Message(uint8_t status, uint8_t d1, uint8_t d2) override { calls.push_back({frames, status, d1, d2}); }
    void SysEx(const uint8_t* data, std::size_t length) override
    {
        calls.push_back({frames, -3, int(length), length ? data[0] : 0});
    }
    void AllNotesOff() override { calls.push_back({frames, -1, 0, 0}); }
    void Reset() override { calls.push_back({frames, -2, 0, 0}); }
    void Render(float* out, int n) override
    {
        for (int i = 0; i < 2 * n; ++i)
            out[i] = level;
        frames += n;
    }
    bool Sounding() const override { return false; }

    // Only the channel messages.
    std::vector<Call> Messages() const
    {
        std::vector<Call> out;
        for (const Call& c : calls)
            if (c.status >= 0x80)
                out.push_back(c);
        return out;
    }

    int64_t frames = 0;
    float level = 0.25f;
    std::vector<Call> calls;
};
