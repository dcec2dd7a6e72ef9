// Where the editor's music and sound effects go. The editor plays through one
// process-wide output: a silent one that only keeps track of what it was
// asked to do unless another is installed (the players, at start-up).
#pragma once

#include <string>
#include <vector>

// How a sound effect file is played, by its extension.
enum class EffectKind { None, Midi, Wave };
EffectKind EffectKindOf(const std::string& path);

class SoundOutput {
public:
    virtual ~SoundOutput() = default;

    // Prepares the music player with the pieces it starts with (MIDI and Ogg).
    // False when music cannot be played; the editor goes on without it.
    virtual bool OpenMusic(const std::string& midiPath, const std::string& oggPath) = 0;
    // Opens the sound-effect device of the given type with one slot per file.
    // False when the device cannot be opened; the editor goes on without it.
    virtual bool OpenEffects(const std::string& deviceType, const std::vector<std::string>& slotFiles) = 0;

    // Music: true when something sounds. The volume runs from 0 to 100.
    virtual bool PlayMusic(const std::string& path, int volume, bool loop) = 0;
    virtual void StopMusic() = 0;
    virtual void SetVolume(int volume) = 0;
    // A sound effect (wave or MIDI file); true when it sounds.
    virtual bool PlayEffect(const std::string& path) = 0;
    virtual void StopEffect() = 0;

    // Releases the effect device and the music player.
    virtual void Close() = 0;
};

// Plays nothing; remembers what it was asked, for the tests.
class SilentSoundOutput : public SoundOutput {
public:
    bool OpenMusic(const std::string& midiPath, const std::string& oggPath) override;
    bool OpenEffects(const std::string& deviceType, const std::vector<std::string>& slotFiles) override;
    bool PlayMusic(const std::string& path, int volume, bool loop) override;
    void StopMusic() override;
    void SetVolume(int volume) override;
    bool PlayEffect(const std::string& path) override;
    void StopEffect() override;
    void Close() override;

    bool musicOpen = false;
    std::string startMidi, startOgg;
    std::string effectDevice;  // empty while closed
    std::vector<std::string> effectSlots;
    std::string music;         // the piece that "sounds"; empty when none
    bool musicLoops = false;
    int volume = 100;
    std::string effect;        // the effect that "sounds"; empty when none
};

// The text of the box a caller shows when a piece does not play:
// "読み込み失敗！", with the player's reason as a second line when it gave one.
std::string LoadFailureText();

// The process-wide output (a silent one unless replaced).
SoundOutput& Sound();
// Replaces the output (nullptr restores the silent one); returns the previous.
SoundOutput* SetSoundOutput(SoundOutput* output);
// True while the process's own silent output is installed.
bool SoundOutputIsDefault();

// The start-up step: the music player with "bgm\Free.mid" and "bgm\Free.ogg",
// then the wave device with the editor's effects. A device that does not open
// leaves the editor without sound.
void PrepareSound();
// The shut-down step: releases what PrepareSound opened.
void ReleaseSound();
