#include "media/starter_sounds.h"

#include <gtest/gtest.h>

#include "media/smf.h"
#include "media/sound_decode.h"

namespace {

// The starter files are what the players accept: the MIDI piece has two
// tracks that merge, the Ogg pieces and the waves decode to sound.
TEST(StarterSounds, PlayableFiles)
{
    std::vector<uint8_t> midi = StarterMidi();
    ASSERT_GT(midi.size(), 14u);
    EXPECT_EQ(midi[9], 1);   // format 1
    EXPECT_EQ(midi[11], 2);  // two tracks
    SmfFormat smf;
    EXPECT_TRUE(smf.Parse(midi.data(), midi.size()));

    for (bool victory : {false, true}) {
        OggStream s;
        std::string why;
        ASSERT_TRUE(s.Open(StarterOgg(victory), why)) << why;
        std::vector<float> buf(2 * 4096);
        int frames = 0, n;
        while ((n = s.Read(buf.data(), 4096)) > 0)
            frames += n;
        EXPECT_EQ(frames, victory ? 3 * 22050 : 4 * 22050);
    }
    for (int kind = 0; kind < 7; ++kind) {
        std::vector<uint8_t> bytes = StarterWave(kind);
        WaveData w;
        std::string why;
        ASSERT_TRUE(DecodeWave(bytes.data(), bytes.size(), w, why)) << kind;
        float peak = 0;
        for (float f : w.frames)
            peak = std::max(peak, std::abs(f));
        EXPECT_GT(peak, 0.05f) << kind;
    }
}

}  // namespace
