// The sound card, through SDL's audio callback (PipeWire, PulseAudio, ALSA,
// WASAPI; "dummy" and "disk" by SDL_AUDIODRIVER).
#pragma once

#include "media/audio.h"

class SdlAudioOutput : public AudioOutput {
public:
    ~SdlAudioOutput() override;
    // Opens the default device; false with SDL's reason in why.
    bool Open(int rate, std::string& why);
    int Rate() const override { return m_Rate; }
    bool Start(Mixer* mixer) override;
    void Stop() override;
    std::string Name() const override { return m_Driver; }

private:
    static void Callback(void* self, uint8_t* stream, int length);

    uint32_t m_Device = 0;
    int m_Rate = 44100;
    std::string m_Driver;
    Mixer* m_Mixer = nullptr;
    bool m_Initialised = false;
};
