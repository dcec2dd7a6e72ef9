// The built-in MIDI sequencer: plays a merged single-track piece into a
// synthesizer from inside the mixer's pull, each event at its own frame.
#pragma once

#include <cstdint>
#include <memory>

#include "media/audio.h"
#include "media/midi_synth.h"
#include "media/smf.h"

class cSmfPlay : public SmfFormat {
public:
    enum State { Stopped = 0, Playing = 1, Paused = 2 };

    // The synthesizer is shared with the caller and must outlive the player.
    cSmfPlay(std::shared_ptr<MidiSynth> synth, int rate) : m_Synth(std::move(synth)), m_Rate(rate) {}

    // State changes; the caller holds the mixer's lock while the player sounds.
    // Play keeps the place after a pause; Stop returns to the start.
    void Play(bool loop);
    void Stop();
    void Pause();
    int GetState() const { return m_State; }
    // The read position in Data() (kEventStart = the start).
    std::size_t Position() const { return m_Pos; }

    // Sends the events due within the next frames to the synthesizer, split at
    // their frames, and has it render into out (written, not added).
    void Render(float* out, int frames);
    MidiSynth& Synth() { return *m_Synth; }

private:
    void Rewind();
    bool ReadDelta();
    void Dispatch();
    double FramesPerTick() const;

    std::shared_ptr<MidiSynth> m_Synth;
    int m_Rate;
    std::size_t m_Pos = kEventStart;
    bool m_HaveDelta = false;
    double m_FramesToNext = 0;
    uint32_t m_Tempo = 500000;  // microseconds per quarter note
    int m_State = Stopped;
    bool m_Loop = false;
    bool m_EndedThisBlock = false;
    int64_t m_FramesSinceStart = 0;
};

// The music or effect voice of a MIDI piece: the sequencer and its synth.
class SmfSource : public AudioSource {
public:
    explicit SmfSource(std::shared_ptr<cSmfPlay> player) : m_Player(std::move(player)) {}
    bool Mix(float* out, int frames) override;
    cSmfPlay& Player() { return *m_Player; }

private:
    std::shared_ptr<cSmfPlay> m_Player;
    std::vector<float> m_Buffer;
};
