#include "media/sound_output.h"

#include <algorithm>

#include "base/paths.h"
#include "base/text.h"
#include "media/smf.h"

EffectKind EffectKindOf(const std::string& path)
{
    // Only the exact lower- or upper-case spellings count, as the players
    // accept them.
    std::string ext;
    GetExtension(ext, path);
    if (ext == "mid" || ext == "MID")
        return EffectKind::Midi;
    if (ext == "wav" || ext == "WAV")
        return EffectKind::Wave;
    return EffectKind::None;
}

bool SilentSoundOutput::OpenMusic(const std::string& midiPath, const std::string& oggPath)
{
    startMidi = midiPath;
    startOgg = oggPath;
    musicOpen = true;
    return true;
}

bool SilentSoundOutput::OpenEffects(const std::string& deviceType, const std::vector<std::string>& slotFiles)
{
    effectDevice = deviceType;
    effectSlots = slotFiles;
    return !deviceType.empty();
}

bool SilentSoundOutput::PlayMusic(const std::string& path, int vol, bool loop)
{
    if (!musicOpen || path.empty())
        return false;
    music = path;
    musicLoops = loop;
    SetVolume(vol);
    return true;
}

void SilentSoundOutput::StopMusic() { music.clear(); }

void SilentSoundOutput::SetVolume(int vol) { volume = std::clamp(vol, 0, 100); }

bool SilentSoundOutput::PlayEffect(const std::string& path)
{
    StopEffect();
    if (effectDevice.empty() || EffectKindOf(path) == EffectKind::None)
        return false;
    effect = path;
    return true;
}

void SilentSoundOutput::StopEffect() { effect.clear(); }

void SilentSoundOutput::Close()
{
    StopEffect();
    StopMusic();
    effectDevice.clear();
    effectSlots.clear();
    musicOpen = false;
}

std::string LoadFailureText()
{
    std::string text = SJ("読み込み失敗！");
    if (!LastSoundFailure().empty())
        text += "\n" + LastSoundFailure();
    return text;
}

namespace {

SilentSoundOutput g_silent;
SoundOutput* g_output = &g_silent;

}  // namespace

SoundOutput& Sound() { return *g_output; }

SoundOutput* SetSoundOutput(SoundOutput* output)
{
    SoundOutput* old = g_output;
    g_output = output ? output : &g_silent;
    return old;
}

bool SoundOutputIsDefault() { return g_output == &g_silent; }

void PrepareSound()
{
    Sound().OpenMusic("bgm\\Free.mid", "bgm\\Free.ogg");
    // Slots 0 to 3 hold the editor's own effects; slot 4 is the one the
    // effect previews load their files into.
    Sound().OpenEffects("waveaudio", {SJ("wave\\決定.wav"), SJ("wave\\キャンセル.wav"), SJ("wave\\エラー.wav"),
                                      SJ("wave\\コピー.wav"), "wave\\free.wav"});
}

void ReleaseSound() { Sound().Close(); }
