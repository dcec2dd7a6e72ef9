// The process's two players: background music (Ogg or MIDI by the file's
// extension) and sound effects (waves, or MIDI through a sequencer of their
// own), both sounding through one mixer.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "media/audio.h"
#include "media/midi_synth.h"
#include "media/smf_play.h"
#include "media/sound_decode.h"

// Makes a synthesizer at a rate; the default is the General MIDI one.
using SynthFactory = std::function<std::unique_ptr<MidiSynth>(int rate)>;

class BgmPlayer {
public:
    enum Kind { None = 0, Ogg = 1, Midi = 2 };

    // The mixer may be null: Init then fails as when the Ogg side cannot be made.
    explicit BgmPlayer(Mixer* mixer, SynthFactory synths = {});
    ~BgmPlayer() { Close(); }

    // Paths are stored paths (mapped to the host file when opened).
    int Init(int channels, const std::vector<std::string>& oggPaths, const std::vector<std::string>& midiPaths,
             int slots, bool midiDirectMusic);
    int SetSlot(int slot, const std::string& file, int volume);
    int Play(int channel, int slot, bool loop, int stopMode, bool force);
    // 0 stops, 1 pauses.
    void StopAll(int stopMode);
    void Close();
    // Changes the volume of what sounds now (0 to 100).
    void SetVolume(int volume);

    bool Enabled() const { return m_Enabled; }
    int SlotKind(int slot) const;
    const std::string& SlotOgg(int slot) const { return m_Slots.at(std::size_t(slot)).ogg; }
    const std::string& SlotMidi(int slot) const { return m_Slots.at(std::size_t(slot)).midi; }
    int ChannelKind(int channel) const;
    int LastSlot() const { return m_LastSlot; }
    int SoundingOgg() const { return m_OggChannel; }
    // The own MIDI player of a channel (null when none was made).
    cSmfPlay* MidiPlayer(int channel) const;

private:
    struct Slot {
        std::string ogg, midi;
        int oggVolume = 100, midiVolume = 100;
        int kind = None;
    };
    bool PlayOgg(int channel, const std::string& path, int volume, bool loop);
    bool PlayMidi(int channel, const std::string& path, int volume, bool loop);
    void StopOgg();
    void StopMidi(int stopMode);

    Mixer* m_Mixer;
    SynthFactory m_Synths;
    std::shared_ptr<MidiSynth> m_Synth;
    bool m_NoFontReported = false;
    bool m_Enabled = false;
    std::vector<std::shared_ptr<ResampledSource>> m_OggPlayers;  // one per channel
    int m_OggChannel = -1;
    std::vector<std::shared_ptr<SmfSource>> m_MidiPlayers;       // one per channel
    std::vector<Slot> m_Slots;
    std::vector<int> m_ChannelKind;
    int m_LastSlot = -1;
    std::shared_ptr<AudioSource> m_Sounding;
    int m_SoundingVolume = 100;
};

class SoundPlayer {
public:
    explicit SoundPlayer(Mixer* mixer, SynthFactory synths = {});
    ~SoundPlayer() { Close(); }

    void Init();
    // File names are stored paths; a slot whose file does not open stays empty.
    void OpenSet(const std::string& deviceType, const std::vector<std::string>& files);
    int Change(int slot, const std::string& deviceType, const std::string& file);
    // Position in milliseconds; from clear plays on from where the slot is.
    int PlaySlot(int slot, bool notify, bool from, int64_t positionMs);
    int PlayFile(int slot, const std::string& file, int64_t positionMs);
    void Stop(bool pause);
    void Close();

    bool Enabled() const { return m_Enabled; }
    int Current() const { return m_Current; }
    int SlotCount() const { return int(m_Slots.size()); }
    bool SlotOpen(int slot) const;
    const std::string& SlotType(int slot) const { return m_Slots.at(std::size_t(slot)).type; }

private:
    struct Slot {
        std::string type, file;
        std::shared_ptr<AudioSource> source;
    };
    bool Open(Slot& slot, const std::string& deviceType, const std::string& file);
    void CloseSlot(Slot& slot);

    Mixer* m_Mixer;
    SynthFactory m_Synths;
    bool m_Enabled = false;
    std::vector<Slot> m_Slots;
    int m_Current = -1;
};

// Loads a wave file from a host path; the failure line goes to the logs.
std::shared_ptr<const WaveData> LoadWave(const std::string& hostPath, const std::string& name);
// Opens an Ogg file from a host path for playing at a rate.
std::shared_ptr<ResampledSource> LoadOgg(const std::string& hostPath, const std::string& name, int rate);
