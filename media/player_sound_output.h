// The output behind Sound() that really plays: each call goes to the music
// player or the effect player, sounding through a mixer and an audio output.
#pragma once

#include <functional>
#include <memory>

#include "media/audio.h"
#include "media/players.h"
#include "media/sound_output.h"

class PlayerSoundOutput : public SoundOutput {
public:
    // Makes the output when the music is opened; the default tries the sound
    // card and falls back to silence.
    using OutputFactory = std::function<std::unique_ptr<AudioOutput>()>;
    explicit PlayerSoundOutput(OutputFactory outputs = {}, SynthFactory synths = {});
    ~PlayerSoundOutput() override { Close(); }

    bool OpenMusic(const std::string& midiPath, const std::string& oggPath) override;
    bool OpenEffects(const std::string& deviceType, const std::vector<std::string>& slotFiles) override;
    bool PlayMusic(const std::string& path, int volume, bool loop) override;
    void StopMusic() override;
    void SetVolume(int volume) override;
    bool PlayEffect(const std::string& path) override;
    void StopEffect() override;
    void Close() override;

    Mixer* GetMixer() { return m_Mixer.get(); }
    AudioOutput* Output() { return m_Output.get(); }
    BgmPlayer* Bgm() { return m_Bgm.get(); }
    SoundPlayer* Effects() { return m_Effects.get(); }

private:
    bool Ready();

    OutputFactory m_Outputs;
    SynthFactory m_Synths;
    std::unique_ptr<Mixer> m_Mixer;
    std::unique_ptr<AudioOutput> m_Output;
    std::unique_ptr<BgmPlayer> m_Bgm;
    std::unique_ptr<SoundPlayer> m_Effects;
};

// The sound card when one opens ("Sound : %s %d Hz" in the report log), else
// silence ("Sound : no audio output (%s)").
std::unique_ptr<AudioOutput> OpenDefaultAudioOutput();

// The editor's start-up and shut-down steps with the playing output: installs
// it (unless another output was installed) and prepares it; then releases it.
void PreparePlayerSound();
void ReleasePlayerSound();
