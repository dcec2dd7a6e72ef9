#include "media/sound_render.h"

#include <cmath>

#include "base/paths.h"
#include "media/player_sound_output.h"
#include "records/record_io.h"

bool RenderSoundFile(const std::string& hostIn, const std::string& hostOut, const RenderOptions& options,
                     std::string& failure)
{
    constexpr int kRate = 44100;
    auto file = std::make_unique<WavFileAudioOutput>(hostOut, kRate);
    WavFileAudioOutput* wav = file.get();
    PlayerSoundOutput out([&file] { return std::move(file); });
    std::string stored = StoredPath(hostIn);
    ClearSoundFailure();
    bool playing;
    if (EffectKindOf(stored) == EffectKind::Wave) {
        out.OpenEffects("waveaudio", {});
        playing = out.PlayEffect(stored);
    } else {
        out.OpenMusic("", "");
        playing = out.PlayMusic(stored, options.volume, options.loop);
    }
    if (!playing) {
        failure = LastSoundFailure().empty() ? "cannot play " + hostIn : LastSoundFailure();
        return false;
    }
    wav->Render(int64_t(std::llround(options.seconds * kRate)));
    if (!wav->Finish()) {
        failure = "cannot write " + hostOut;
        return false;
    }
    return true;
}

bool WriteMergedSmf(const std::string& hostIn, const std::string& hostOut, std::string& failure)
{
    SmfFormat smf;
    ClearSoundFailure();
    if (!smf.Load(hostIn, hostIn)) {
        failure = LastSoundFailure();
        return false;
    }
    if (!WriteHostFileAtomic(hostOut, smf.Data())) {
        failure = "cannot write " + hostOut;
        return false;
    }
    return true;
}
