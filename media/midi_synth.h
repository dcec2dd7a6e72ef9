// What the MIDI sequencer plays into: a synthesizer rendering float stereo.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class MidiSynth {
public:
    virtual ~MidiSynth() = default;
    // A channel message with its data bytes (d2 unused for one-byte messages).
    virtual void Message(uint8_t status, uint8_t d1, uint8_t d2) = 0;
    // A system-exclusive message: the bytes after F0, without the closing F7.
    virtual void SysEx(const uint8_t* data, std::size_t length) = 0;
    // Releases every sounding note.
    virtual void AllNotesOff() = 0;
    // Notes off, then programs and controllers back to their defaults.
    virtual void Reset() = 0;
    // Writes frames of interleaved stereo float.
    virtual void Render(float* out, int frames) = 0;
    // True while a voice still sounds (a released note's tail included).
    virtual bool Sounding() const = 0;
};

// The General MIDI sound font used: the first of "default-GM.sf2",
// "TimGM6mb.sf2" and "FluidR3_GM.sf2" in the system's sound font folder, or
// the one set with SetSoundFontPath. Empty when there is none.
std::string GmSoundFontPath();
// Overrides the sound font ("" returns to the search; "-" means none).
void SetSoundFontPath(const std::string& hostPath);

// A FluidSynth synthesizer with the General MIDI sound font at the given rate;
// nullptr when there is no sound font or it does not load.
std::unique_ptr<MidiSynth> MakeGmSynth(int rate);
