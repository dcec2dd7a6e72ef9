#include "media/sdl_audio_output.h"

#include <SDL.h>

#include <cstring>

SdlAudioOutput::~SdlAudioOutput()
{
    Stop();
    if (m_Device)
        SDL_CloseAudioDevice(m_Device);
    if (m_Initialised)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudioOutput::Open(int rate, std::string& why)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        why = SDL_GetError();
        return false;
    }
    m_Initialised = true;
    SDL_AudioSpec want{}, have{};
    want.freq = rate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = Callback;
    want.userdata = this;
    m_Device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (m_Device == 0) {
        why = SDL_GetError();
        return false;
    }
    m_Rate = have.freq;
    const char* driver = SDL_GetCurrentAudioDriver();
    m_Driver = driver ? driver : "sdl";
    return true;
}

void SdlAudioOutput::Callback(void* self, uint8_t* stream, int length)
{
    auto* out = static_cast<SdlAudioOutput*>(self);
    int frames = length / int(2 * sizeof(float));
    if (out->m_Mixer)
        out->m_Mixer->Pull(reinterpret_cast<float*>(stream), frames);
    else
        std::memset(stream, 0, std::size_t(length));
}

bool SdlAudioOutput::Start(Mixer* mixer)
{
    if (!m_Device)
        return false;
    SDL_LockAudioDevice(m_Device);
    m_Mixer = mixer;
    SDL_UnlockAudioDevice(m_Device);
    SDL_PauseAudioDevice(m_Device, 0);
    return true;
}

void SdlAudioOutput::Stop()
{
    if (!m_Device)
        return;
    SDL_PauseAudioDevice(m_Device, 1);
    SDL_LockAudioDevice(m_Device);
    m_Mixer = nullptr;
    SDL_UnlockAudioDevice(m_Device);
}
