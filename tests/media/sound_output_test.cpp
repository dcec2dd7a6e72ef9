#include "media/sound_output.h"

#include <gtest/gtest.h>

#include "base/text.h"

namespace {

// Swaps a fresh silent output in for one test.
struct ScopedOutput {
    ScopedOutput() { old = SetSoundOutput(&out); }
    ~ScopedOutput() { SetSoundOutput(old); }
    SilentSoundOutput out;
    SoundOutput* old;
};

TEST(SoundOutput, EffectKindsByExtension)
{
    const struct { const char* path; EffectKind kind; } cases[] = {
        {"wave\\a.wav", EffectKind::Wave}, {"wave\\a.WAV", EffectKind::Wave}, {"bgm\\a.mid", EffectKind::Midi},
        {"bgm\\a.MID", EffectKind::Midi},  {"bgm\\a.Mid", EffectKind::None},  {"bgm\\a.ogg", EffectKind::None},
        {"wave\\a", EffectKind::None},     {"a.b\\c", EffectKind::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EffectKindOf(c.path), c.kind) << c.path;
}

TEST(SoundOutput, StartUpPreparesAndShutDownReleases)
{
    ScopedOutput s;
    EXPECT_FALSE(Sound().PlayMusic("bgm\\a.ogg", 50, true));  // nothing prepared yet
    EXPECT_FALSE(Sound().PlayEffect("wave\\a.wav"));

    PrepareSound();
    EXPECT_TRUE(s.out.musicOpen);
    EXPECT_EQ(s.out.startMidi, "bgm\\Free.mid");
    EXPECT_EQ(s.out.startOgg, "bgm\\Free.ogg");
    EXPECT_EQ(s.out.effectDevice, "waveaudio");
    ASSERT_EQ(s.out.effectSlots.size(), 5u);
    EXPECT_EQ(s.out.effectSlots[0], SJ("wave\\決定.wav"));
    EXPECT_EQ(s.out.effectSlots[4], "wave\\free.wav");

    EXPECT_TRUE(Sound().PlayMusic("bgm\\a.ogg", 150, true));
    EXPECT_EQ(s.out.music, "bgm\\a.ogg");
    EXPECT_EQ(s.out.volume, 100);
    Sound().SetVolume(-3);
    EXPECT_EQ(s.out.volume, 0);
    EXPECT_FALSE(Sound().PlayMusic("", 50, false));
    EXPECT_TRUE(Sound().PlayEffect("wave\\a.wav"));
    // An effect the device cannot play stops the one that sounded.
    EXPECT_FALSE(Sound().PlayEffect("wave\\a.ogg"));
    EXPECT_TRUE(s.out.effect.empty());

    ReleaseSound();
    EXPECT_FALSE(s.out.musicOpen);
    EXPECT_TRUE(s.out.music.empty());
    EXPECT_TRUE(s.out.effectDevice.empty());
    EXPECT_FALSE(Sound().PlayEffect("wave\\a.wav"));
}

}  // namespace
