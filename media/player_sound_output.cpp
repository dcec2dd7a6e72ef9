#include "media/player_sound_output.h"

#include <algorithm>

#include "base/log.h"
#include "media/sdl_audio_output.h"

std::unique_ptr<AudioOutput> OpenDefaultAudioOutput()
{
    auto sdl = std::make_unique<SdlAudioOutput>();
    std::string why;
    if (sdl->Open(44100, why)) {
        ReportLogPrintf("Sound : %s %d Hz", sdl->Name().c_str(), sdl->Rate());
        return sdl;
    }
    ReportLogPrintf("Sound : no audio output (%s)", why.c_str());
    return std::make_unique<NullAudioOutput>();
}

PlayerSoundOutput::PlayerSoundOutput(OutputFactory outputs, SynthFactory synths)
    : m_Outputs(std::move(outputs)), m_Synths(std::move(synths))
{
}

// The mixer and the output come with the first call that needs them.
bool PlayerSoundOutput::Ready()
{
    if (m_Mixer)
        return true;
    m_Output = m_Outputs ? m_Outputs() : OpenDefaultAudioOutput();
    if (!m_Output)
        return false;
    m_Mixer = std::make_unique<Mixer>(m_Output->Rate());
    m_Output->Start(m_Mixer.get());
    return true;
}

bool PlayerSoundOutput::OpenMusic(const std::string& midiPath, const std::string& oggPath)
{
    Ready();
    m_Bgm = std::make_unique<BgmPlayer>(m_Mixer.get(), m_Synths);
    return m_Bgm->Init(1, {oggPath}, {midiPath}, 1, false) != 0;
}

bool PlayerSoundOutput::OpenEffects(const std::string& deviceType, const std::vector<std::string>& slotFiles)
{
    if (!Ready())
        return false;
    if (!m_Effects)
        m_Effects = std::make_unique<SoundPlayer>(m_Mixer.get(), m_Synths);
    m_Effects->Init();
    m_Effects->OpenSet(deviceType, slotFiles);
    return true;
}

bool PlayerSoundOutput::PlayMusic(const std::string& path, int volume, bool loop)
{
    if (!m_Bgm)
        return false;
    ClearSoundFailure();
    m_Bgm->SetSlot(0, path, std::clamp(volume, 0, 100));
    return m_Bgm->Play(0, 0, loop, 0, true) == 1;
}

void PlayerSoundOutput::StopMusic()
{
    if (m_Bgm)
        m_Bgm->StopAll(0);
}

void PlayerSoundOutput::SetVolume(int volume)
{
    if (m_Bgm)
        m_Bgm->SetVolume(volume);
}

bool PlayerSoundOutput::PlayEffect(const std::string& path)
{
    if (!m_Effects || !m_Effects->Enabled())
        return false;
    ClearSoundFailure();
    // Slot 4 is the one the previews load their files into.
    return m_Effects->PlayFile(4, path, 0) == 1;
}

void PlayerSoundOutput::StopEffect()
{
    if (m_Effects && m_Effects->Current() >= 0)
        m_Effects->Stop(false);
}

void PlayerSoundOutput::Close()
{
    // Released in the order of shut-down: effects, then the music; the
    // output stops before the mixer it pulls from goes.
    if (m_Effects)
        m_Effects->Close();
    if (m_Bgm)
        m_Bgm->Close();
    m_Effects.reset();
    m_Bgm.reset();
    if (m_Output)
        m_Output->Stop();
    m_Output.reset();
    m_Mixer.reset();
}

namespace {

PlayerSoundOutput* g_player = nullptr;

}  // namespace

void PreparePlayerSound()
{
    // A test or tool that installed an output of its own keeps it.
    if (!g_player && SoundOutputIsDefault()) {
        g_player = new PlayerSoundOutput();
        SetSoundOutput(g_player);
    }
    PrepareSound();
}

void ReleasePlayerSound()
{
    ReleaseSound();
    if (g_player) {
        SetSoundOutput(nullptr);
        delete g_player;
        g_player = nullptr;
    }
}
