#include "media/midi_synth.h"

#include <fluidsynth.h>
#include <sys/stat.h>

#include <mutex>

#include "base/log.h"

namespace {

std::string g_fontOverride;

bool IsFile(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// FluidSynth's own messages go to the report log instead of the console.
void FluidLog(int level, const char* message, void*)
{
    if (level <= FLUID_WARN)
        ReportLogPrintf("FluidSynth : %s", message);
}

void RouteFluidLog()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, FluidLog, nullptr);
    });
}

class FluidSynthDevice : public MidiSynth {
public:
    ~FluidSynthDevice() override
    {
        if (m_Synth)
            delete_fluid_synth(m_Synth);
        if (m_Settings)
            delete_fluid_settings(m_Settings);
    }

    bool Open(int rate, const std::string& font)
    {
        m_Settings = new_fluid_settings();
        if (!m_Settings)
            return false;
        fluid_settings_setnum(m_Settings, "synth.sample-rate", rate);
        // The mixer's lock already orders every call.
        fluid_settings_setint(m_Settings, "synth.threadsafe-api", 0);
        fluid_settings_setint(m_Settings, "synth.cpu-cores", 1);
        // Previews trade the chorus and the finer interpolation for speed:
        // a piece renders many times faster than it plays.
        fluid_settings_setint(m_Settings, "synth.chorus.active", 0);
        m_Synth = new_fluid_synth(m_Settings);
        if (!m_Synth)
            return false;
        fluid_synth_set_interp_method(m_Synth, -1, FLUID_INTERP_LINEAR);
        return fluid_synth_sfload(m_Synth, font.c_str(), 1) != FLUID_FAILED;
    }

    void Message(uint8_t status, uint8_t d1, uint8_t d2) override
    {
        int ch = status & 0x0F;
        switch (status & 0xF0) {
        case 0x80: fluid_synth_noteoff(m_Synth, ch, d1); break;
        case 0x90: fluid_synth_noteon(m_Synth, ch, d1, d2); break;
        case 0xA0: fluid_synth_key_pressure(m_Synth, ch, d1, d2); break;
        case 0xB0: fluid_synth_cc(m_Synth, ch, d1, d2); break;
        case 0xC0: fluid_synth_program_change(m_Synth, ch, d1); break;
        case 0xD0: fluid_synth_channel_pressure(m_Synth, ch, d1); break;
        case 0xE0: fluid_synth_pitch_bend(m_Synth, ch, d1 | d2 << 7); break;
        default: break;
        }
    }

    void SysEx(const uint8_t* data, std::size_t length) override
    {
        if (length > 0 && length < 65536)
            fluid_synth_sysex(m_Synth, reinterpret_cast<const char*>(data), int(length), nullptr, nullptr, nullptr, 0);
    }

    void AllNotesOff() override { fluid_synth_all_notes_off(m_Synth, -1); }
    void Reset() override { fluid_synth_system_reset(m_Synth); }

    void Render(float* out, int frames) override
    {
        if (frames > 0)
            fluid_synth_write_float(m_Synth, frames, out, 0, 2, out, 1, 2);
    }

    bool Sounding() const override { return fluid_synth_get_active_voice_count(m_Synth) > 0; }

private:
    fluid_settings_t* m_Settings = nullptr;
    fluid_synth_t* m_Synth = nullptr;
};

}  // namespace

std::string GmSoundFontPath()
{
    if (g_fontOverride == "-")
        return "";
    if (!g_fontOverride.empty())
        return g_fontOverride;
    for (const char* name : {"default-GM.sf2", "TimGM6mb.sf2", "FluidR3_GM.sf2"}) {
        std::string path = std::string("/usr/share/sounds/sf2/") + name;
        if (IsFile(path))
            return path;
    }
    return "";
}

void SetSoundFontPath(const std::string& hostPath) { g_fontOverride = hostPath; }

std::unique_ptr<MidiSynth> MakeGmSynth(int rate)
{
    std::string font = GmSoundFontPath();
    if (font.empty())
        return nullptr;
    RouteFluidLog();
    auto synth = std::make_unique<FluidSynthDevice>();
    if (!synth->Open(rate, font))
        return nullptr;
    return synth;
}
