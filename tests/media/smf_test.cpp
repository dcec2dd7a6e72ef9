#include "media/smf.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "smf_files.h"

namespace {

using Data = std::vector<uint8_t>;

// The merged file for the events of one track (delta times included).
Data Merged(uint16_t division, const Data& events)
{
    return smf::File(0, division, {events});
}

bool Parse(SmfFormat& f, const Data& d) { return f.Parse(d.data(), d.size()); }

TEST(Smf, RefusesWithItsLine)
{
    const Data eot = {0x00, 0xFF, 0x2F, 0x00};
    Data wrongLength = smf::File(0, 96, {eot});
    wrongLength[7] = 7;
    Data firstNotTrack = smf::Header(0, 1, 96);
    smf::Chunk(firstNotTrack, eot, "MTrX");
    Data fewerTracks = smf::Header(1, 3, 96);
    smf::Chunk(fewerTracks, eot);
    smf::Chunk(fewerTracks, eot);
    const struct { const char* name; Data file; const char* line; } cases[] = {
        {"not MThd", {'M', 'T', 'h', 'x', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96}, "Midi t.mid Init 標準MIDIでない(4)"},
        {"too short for the id", {'M', 'T'}, "Midi t.mid Init 標準MIDIでない(4)"},
        {"header length 7", wrongLength, "Midi t.mid Init 標準MIDIでない(6)"},
        {"format 2", smf::File(2, 96, {eot}), "Midi t.mid Init 対応フォーマットが2でない"},
        {"format 3", smf::File(3, 96, {eot}), "Midi t.mid Init 対応フォーマットが0または1でない"},
        {"first chunk not a track", firstNotTrack, "Midi t.mid Init 標準MIDIでない(4)"},
        {"header cut", smf::Header(0, 1, 96), "Midi t.mid Init 標準MIDIでない(4)"},
        {"fewer tracks than counted", fewerTracks, "Midi t.mid Init 標準MIDIでない(4)"},
        {"event cut off", smf::File(0, 96, {{0x00, 0x90, 0x3C}}), "Midi t.mid Init 標準MIDIでない(4)"},
        {"delta over four bytes", smf::File(0, 96, {{0x81, 0x81, 0x81, 0x81, 0x01, 0xFF, 0x2F, 0x00}}),
         "Midi t.mid Init 標準MIDIでない(4)"},
        {"running status first", smf::File(0, 96, {{0x00, 0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00}}),
         "Midi t.mid Init 標準MIDIでない(4)"},
        {"running status after meta only", smf::File(0, 96, {{0x00, 0xFF, 0x01, 0x00, 0x00, 0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00}}),
         "Midi t.mid Init 標準MIDIでない(4)"},
        {"status F1", smf::File(0, 96, {{0x00, 0xF1, 0x00, 0x00, 0xFF, 0x2F, 0x00}}), "Midi t.mid Init 標準MIDIでない(4)"},
        {"status F8", smf::File(0, 96, {{0x00, 0xF8, 0x00, 0xFF, 0x2F, 0x00}}), "Midi t.mid Init 標準MIDIでない(4)"},
        {"status FE", smf::File(0, 96, {{0x00, 0xFE, 0x00, 0xFF, 0x2F, 0x00}}), "Midi t.mid Init 標準MIDIでない(4)"},
        {"meta length past the chunk", smf::File(0, 96, {{0x00, 0xFF, 0x01, 0x09, 'a', 0x00, 0xFF, 0x2F, 0x00}}),
         "Midi t.mid Init 標準MIDIでない(4)"},
    };
    for (const auto& c : cases) {
        SmfFormat f;
        f.fileName = "t.mid";
        ClearSoundFailure();
        EXPECT_FALSE(Parse(f, c.file)) << c.name;
        EXPECT_FALSE(f.HasData()) << c.name;
        EXPECT_EQ(Cp932ToUtf8(LastSoundFailure()), c.line) << c.name;
    }
}

TEST(Smf, MergesTracksByTickThenTrack)
{
    // Track 0: tempo, a note with running status (its note-off a note-on of
    // velocity 0), a sysex; track 1: a long meta event and notes on the same
    // ticks as track 0's.
    Data meta(200, 'x');
    Data t0 = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,
               0x00, 0x90, 0x3C, 0x64,
               0x60, 0x3C, 0x00,                          // tick 96, running status
               0x00, 0xF0, 0x03, 0x7E, 0x7F, 0xF7,        // tick 96
               0x60, 0xFF, 0x2F, 0x00};                   // end at 192
    Data t1 = {0x00, 0xFF, 0x01, 0x81, 0x48};
    t1.insert(t1.end(), meta.begin(), meta.end());
    Data t1rest = {0x00, 0xC1, 0x05,                       // tick 0
                   0x60, 0x91, 0x40, 0x50,                 // tick 96
                   0x40, 0x40, 0x00,                       // tick 160, running status
                   0x81, 0x00, 0xFF, 0x2F, 0x00};          // end at 288
    t1.insert(t1.end(), t1rest.begin(), t1rest.end());

    Data expected = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,
                     0x00, 0x90, 0x3C, 0x64,
                     0x00, 0xFF, 0x01, 0x81, 0x48};
    expected.insert(expected.end(), meta.begin(), meta.end());
    Data tail = {0x00, 0xC1, 0x05,
                 0x60, 0x90, 0x3C, 0x00,
                 0x00, 0xF0, 0x03, 0x7E, 0x7F, 0xF7,
                 0x00, 0x91, 0x40, 0x50,
                 0x40, 0x91, 0x40, 0x00,
                 0x81, 0x00, 0xFF, 0x2F, 0x00};  // at 288, the later end of track
    expected.insert(expected.end(), tail.begin(), tail.end());

    SmfFormat f;
    ASSERT_TRUE(Parse(f, smf::File(1, 480, {t0, t1})));
    Data want = Merged(480, expected);
    ASSERT_EQ(f.Data().size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i)
        EXPECT_EQ(f.Data()[i], want[i]) << i;
    EXPECT_EQ(f.Division(), 480);
}

TEST(Smf, TrackEndsAndChunks)
{
    // Bytes after a track's end-of-track are skipped; a track without one ends
    // at its chunk's end; another kind of chunk between tracks is skipped and
    // not counted.
    Data withRest = {0x10, 0x90, 0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00, 0x99, 0x99, 0x99};
    Data noEnd = {0x30, 0x90, 0x3E, 0x40};
    Data file = smf::Header(1, 2, 96);
    smf::Chunk(file, withRest);
    smf::Chunk(file, {1, 2, 3}, "XYZW");
    smf::Chunk(file, noEnd);
    SmfFormat f;
    ASSERT_TRUE(Parse(f, file));
    EXPECT_EQ(f.Data(), Merged(96, {0x10, 0x90, 0x3C, 0x40, 0x20, 0x90, 0x3E, 0x40, 0x00, 0xFF, 0x2F, 0x00}));

    // A last chunk that claims more than the file holds counts when its
    // end-of-track is inside the file.
    Data longClaim = smf::File(0, 96, {{0x05, 0x80, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00}});
    longClaim[21] = 0x40;
    ASSERT_TRUE(Parse(f, longClaim));
    EXPECT_EQ(f.Data(), Merged(96, {0x05, 0x80, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00}));
}

TEST(Smf, FormatZeroWithoutRunningStatusIsUnchanged)
{
    Data file = smf::File(0, 0xE728, {{0x00, 0xFF, 0x03, 0x02, 'h', 'i',
                                        0x00, 0xB0, 0x07, 0x64,
                                        0x00, 0xE0, 0x00, 0x40,
                                        0x83, 0x60, 0x90, 0x3C, 0x64,
                                        0x81, 0x80, 0x00, 0x80, 0x3C, 0x00,
                                        0x00, 0xFF, 0x2F, 0x00}});
    SmfFormat f;
    ASSERT_TRUE(Parse(f, file));
    EXPECT_EQ(f.Data(), file);
}

TEST(Smf, EveryTruncationIsRefusedSafely)
{
    Data file = smf::File(1, 96, {{0x00, 0x90, 0x3C, 0x64, 0x60, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00},
                                   {0x00, 0xF0, 0x02, 0x01, 0xF7, 0x81, 0x00, 0xFF, 0x06, 0x01, 'a', 0x00, 0xFF, 0x2F, 0x00}});
    SmfFormat f;
    ASSERT_TRUE(Parse(f, file));
    for (std::size_t n = 0; n < file.size(); ++n) {
        Data cut(file.begin(), file.begin() + std::ptrdiff_t(n));
        EXPECT_FALSE(Parse(f, cut)) << n;
    }
}

TEST(Smf, LoadReportsAMissingFile)
{
    SmfFormat f;
    EXPECT_FALSE(f.Load("/nonexistent/x.mid", "bgm\\x.mid"));
    EXPECT_EQ(Cp932ToUtf8(LastSoundFailure()), "Midi bgm\\x.mid Create ファイルが開けません");
}

}  // namespace
