#include "media/smf_play.h"

#include <gtest/gtest.h>

#include "smf_files.h"
#include "sound_helpers.h"

namespace {

using Data = std::vector<uint8_t>;
using Call = RecordingSynth::Call;

struct Sequencer {
    explicit Sequencer(const Data& file, int rate = 48000) : synth(std::make_shared<RecordingSynth>()), play(synth, rate)
    {
        EXPECT_TRUE(play.Parse(file.data(), file.size()));
    }
    // Renders in blocks of an odd size, so events fall inside blocks.
    void Run(int64_t frames, int block = 997)
    {
        std::vector<float> buf(2 * std::size_t(block));
        while (frames > 0) {
            int n = int(std::min<int64_t>(frames, block));
            play.Render(buf.data(), n);
            frames -= n;
        }
    }
    std::vector<std::pair<int64_t, int>> Frames() const
    {
        std::vector<std::pair<int64_t, int>> out;
        for (const Call& c : synth->Messages())
            out.push_back({c.frame, c.d1});
        return out;
    }
    std::shared_ptr<RecordingSynth> synth;
    cSmfPlay play;
};

using Frames = std::vector<std::pair<int64_t, int>>;

TEST(SmfPlay, EventsAtTheirFramesAcrossATempoChange)
{
    // 480 ticks per quarter at 120 bpm and 48000 Hz: 50 frames a tick; after
    // the tempo doubles at tick 480, 25 frames a tick.
    Data file = smf::File(0, 480, {{0x00, 0x90, 60, 100,
                                     0x83, 0x60, 0x80, 60, 0,
                                     0x00, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90,
                                     0x83, 0x60, 0x90, 62, 100,
                                     0x01, 0x80, 62, 0,
                                     0x00, 0xFF, 0x2F, 0x00}});
    Sequencer s(file);
    s.play.Play(false);
    s.Run(48000);
    EXPECT_EQ(s.Frames(), (Frames{{0, 60}, {24000, 60}, {36000, 62}, {36025, 62}}));
    EXPECT_EQ(s.play.GetState(), cSmfPlay::Stopped);
    EXPECT_EQ(s.play.Position(), SmfFormat::kEventStart);
}

TEST(SmfPlay, SmpteDivision)
{
    // 25 frames a second, 40 ticks a frame: 1000 ticks a second.
    Data file = smf::File(0, 0xE728, {{0x00, 0x90, 60, 100, 0x64, 0x80, 60, 0, 0x83, 0x74, 0x90, 61, 1, 0x00, 0xFF, 0x2F, 0x00}});
    Sequencer s(file);
    s.play.Play(false);
    s.Run(48000);
    EXPECT_EQ(s.Frames(), (Frames{{0, 60}, {4800, 60}, {28800, 61}}));
}

TEST(SmfPlay, PauseKeepsThePlaceStopReturnsToTheStart)
{
    Data file = smf::File(0, 480, {{0x00, 0x90, 60, 100, 0x83, 0x60, 0x90, 61, 100, 0x83, 0x60, 0x90, 62, 100, 0x00, 0xFF, 0x2F, 0x00}});
    Sequencer s(file);
    s.play.Play(false);
    s.Run(10000);
    s.play.Pause();
    EXPECT_EQ(s.play.GetState(), cSmfPlay::Paused);
    EXPECT_EQ(s.synth->calls.back().status, -1);  // notes off
    s.Run(5000);
    s.play.Play(false);
    s.Run(20000);
    // The second note comes 5000 frames late; nothing sounded while paused.
    EXPECT_EQ(s.Frames(), (Frames{{0, 60}, {29000, 61}}));

    s.play.Stop();
    EXPECT_EQ(s.play.Position(), SmfFormat::kEventStart);
    s.synth->calls.clear();
    s.play.Play(false);
    s.Run(100);
    EXPECT_EQ(s.Frames(), (Frames{{35000, 60}}));
}

TEST(SmfPlay, LoopRestartsRightAfterTheEnd)
{
    Data file = smf::File(0, 480, {{0x00, 0x90, 60, 100, 0x83, 0x60, 0xFF, 0x2F, 0x00}});
    Sequencer s(file);
    s.play.Play(true);
    s.Run(60000);
    EXPECT_EQ(s.Frames(), (Frames{{0, 60}, {24000, 60}, {48000, 60}}));
    // Notes off at each end, right before the restart.
    int offs = 0;
    for (const Call& c : s.synth->calls)
        if (c.status == -1) {
            EXPECT_EQ(c.frame % 24000, 0);
            ++offs;
        }
    EXPECT_EQ(offs, 2);
    EXPECT_EQ(s.play.GetState(), cSmfPlay::Playing);
}

TEST(SmfPlay, APieceWithoutLengthLoopsOncePerBlock)
{
    Data file = smf::File(0, 480, {{0x00, 0x90, 60, 100, 0x00, 0xFF, 0x2F, 0x00}});
    Sequencer s(file);
    s.play.Play(true);
    s.Run(3000, 1000);
    EXPECT_EQ(s.Frames().size(), 3u);
}

}  // namespace
