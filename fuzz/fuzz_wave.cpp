// Feeds arbitrary bytes to the wave decoder and plays what it accepts through
// the resampler at another rate.
#include <cstdint>
#include <memory>
#include <vector>

#include "media/sound_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto wave = std::make_shared<WaveData>();
    std::string why;
    if (!DecodeWave(data, size, *wave, why))
        return 0;
    ResampledSource source(std::make_unique<WaveStream>(wave), 44100);
    std::vector<float> buffer(2 * 1024);
    for (int i = 0; i < 8 && source.Mix(buffer.data(), 1024); ++i) {}
    return 0;
}
