#include "media/players.h"

#include <gtest/gtest.h>

#include <cmath>

#include "../test_util.h"
#include "base/text.h"
#include "media/player_sound_output.h"
#include "smf_files.h"
#include "sound_helpers.h"

namespace {

using Data = std::vector<uint8_t>;

Data OggFile(double seconds = 0.2)
{
    std::vector<float> pcm;
    for (int i = 0; i < int(22050 * seconds); ++i) {
        float v = float(0.3 * std::sin(i * 0.05));
        pcm.push_back(v);
        pcm.push_back(v);
    }
    Data out;
    EncodeOggVorbis(pcm, 22050, 0.3f, out);
    return out;
}

Data MidiFile() { return smf::File(0, 96, {{0x00, 0x90, 60, 100, 0x60, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00}}); }

Data WaveFile()
{
    Bytes b;
    b.raw("RIFF", 4).u32(0).raw("WAVE", 4);
    b.raw("fmt ", 4).u32(16).u16(1).u16(1).u32(11025).u32(22050).u16(2).u16(16);
    b.raw("data", 4).u32(2000);
    for (int i = 0; i < 1000; ++i)
        b.u16(uint16_t(i * 16));
    return b.data;
}

// A project folder with the sound files, the players on a mixer nobody pulls.
struct Rig {
    Rig()
    {
        WriteFile("bgm/a.ogg", OggFile());
        WriteFile("bgm/b.OGG", OggFile());
        WriteFile("bgm/Song.MID", MidiFile());
        WriteFile("bgm/c.mid", MidiFile());
        WriteFile("bgm/ogg.dat", OggFile());
        WriteFile("bgm/midi.dat", MidiFile());
        Data broken = OggFile();
        broken.resize(40);
        WriteFile("bgm/broken.ogg", broken);
        WriteFile("wave/a.wav", WaveFile());
        WriteFile("wave/c.mid", MidiFile());
        bgm.Init(1, {"bgm\\Free.ogg"}, {"bgm\\Free.mid"}, 1, false);
        effects.Init();
    }
    Data Pull(int frames)
    {
        std::vector<float> buf(2 * std::size_t(frames));
        mixer.Pull(buf.data(), frames);
        return {};
    }
    TempDir dir;
    Mixer mixer{22050};
    std::vector<RecordingSynth*> synths;
    SynthFactory factory = [this](int) {
        auto s = std::make_unique<RecordingSynth>();
        synths.push_back(s.get());
        return s;
    };
    BgmPlayer bgm{&mixer, factory};
    SoundPlayer effects{&mixer, factory};
};

TEST(BgmPlayer, SlotsByExtension)
{
    Rig r;
    const struct { const char* file; int result, kind; const char* ogg; const char* midi; } cases[] = {
        {"bgm\\a.ogg", 1, BgmPlayer::Ogg, "bgm\\a.ogg", "bgm\\Free.mid"},
        {"bgm\\a.OGG", 1, BgmPlayer::Ogg, "bgm\\a.OGG", "bgm\\Free.mid"},
        {"bgm\\a.MID", 1, BgmPlayer::Midi, "bgm\\Free.ogg", "bgm\\a.mid"},
        {"bgm\\a.wav", 0, BgmPlayer::None, "bgm\\a.wav", "bgm\\a.wav"},
        {"bgm\\a", 0, BgmPlayer::None, "", ""},
    };
    for (const auto& c : cases) {
        r.bgm.Init(1, {"bgm\\Free.ogg"}, {"bgm\\Free.mid"}, 1, false);
        EXPECT_EQ(r.bgm.SetSlot(0, c.file, 40), c.result) << c.file;
        EXPECT_EQ(r.bgm.SlotKind(0), c.kind) << c.file;
        EXPECT_EQ(r.bgm.SlotOgg(0), c.ogg) << c.file;
        EXPECT_EQ(r.bgm.SlotMidi(0), c.midi) << c.file;
    }
}

TEST(BgmPlayer, PlayRules)
{
    Rig r;
    // Ogg, by either spelling of the extension.
    r.bgm.SetSlot(0, "bgm\\b.OGG", 50);
    EXPECT_EQ(r.bgm.Play(0, 0, true, 0, true), 1);
    EXPECT_EQ(r.bgm.ChannelKind(0), BgmPlayer::Ogg);
    auto first = r.mixer.music.source;
    ASSERT_TRUE(first);
    EXPECT_FLOAT_EQ(r.mixer.music.gain, 0.5f);

    // The same slot again without force goes on; with force it restarts.
    EXPECT_EQ(r.bgm.Play(0, 0, true, 0, false), 1);
    EXPECT_EQ(r.mixer.music.source, first);
    r.bgm.SetSlot(0, "bgm\\a.ogg", 100);
    EXPECT_EQ(r.bgm.Play(0, 0, true, 0, true), 1);
    EXPECT_NE(r.mixer.music.source, first);
    EXPECT_FLOAT_EQ(r.mixer.music.gain, 1.0f);  // the earlier 50 is not kept

    // MIDI ("MID" stored as "mid", the host file found whatever its case);
    // the Ogg side stops.
    r.bgm.SetSlot(0, "bgm\\Song.MID", 80);
    EXPECT_EQ(r.bgm.Play(0, 0, false, 0, true), 1);
    EXPECT_EQ(r.bgm.ChannelKind(0), BgmPlayer::Midi);
    EXPECT_EQ(r.bgm.SoundingOgg(), -1);
    EXPECT_FLOAT_EQ(r.mixer.music.gain, 0.8f);
    ASSERT_NE(r.bgm.MidiPlayer(0), nullptr);
    EXPECT_EQ(r.bgm.MidiPlayer(0)->GetState(), cSmfPlay::Playing);
    r.Pull(100);
    ASSERT_EQ(r.synths.size(), 1u);
    EXPECT_EQ(r.synths[0]->Messages().size(), 1u);

    // An unknown extension tries Ogg, then MIDI.
    r.bgm.SetSlot(0, "bgm\\ogg.dat", 100);
    EXPECT_EQ(r.bgm.Play(0, 0, false, 0, true), 1);
    EXPECT_EQ(r.bgm.ChannelKind(0), BgmPlayer::Ogg);
    r.bgm.SetSlot(0, "bgm\\midi.dat", 100);
    EXPECT_EQ(r.bgm.Play(0, 0, false, 0, true), 1);
    EXPECT_EQ(r.bgm.ChannelKind(0), BgmPlayer::Midi);

    // A damaged file plays nothing and stops what played.
    r.bgm.SetSlot(0, "bgm\\broken.ogg", 100);
    ClearSoundFailure();
    EXPECT_EQ(r.bgm.Play(0, 0, false, 0, true), 0);
    EXPECT_FALSE(LastSoundFailure().empty());
    EXPECT_EQ(r.bgm.ChannelKind(0), BgmPlayer::None);
    EXPECT_EQ(r.bgm.LastSlot(), -1);
    EXPECT_EQ(r.bgm.MidiPlayer(0)->GetState(), cSmfPlay::Stopped);
    // Not played last any more: the same slot is tried again.
    EXPECT_EQ(r.bgm.Play(0, 0, false, 0, false), 0);
}

TEST(BgmPlayer, StopPauseAndWithoutSoundFont)
{
    Rig r;
    r.bgm.SetSlot(0, "bgm\\c.mid", 100);
    ASSERT_EQ(r.bgm.Play(0, 0, true, 0, true), 1);
    r.bgm.StopAll(1);
    EXPECT_EQ(r.bgm.MidiPlayer(0)->GetState(), cSmfPlay::Paused);
    r.bgm.StopAll(0);
    EXPECT_EQ(r.bgm.MidiPlayer(0)->GetState(), cSmfPlay::Stopped);
    EXPECT_EQ(r.bgm.MidiPlayer(0)->Position(), SmfFormat::kEventStart);
    r.bgm.Close();
    EXPECT_FALSE(r.bgm.Enabled());
    EXPECT_EQ(r.bgm.Play(0, 0, false, 0, true), 1);  // a closed player says yes and plays nothing
    EXPECT_FALSE(r.mixer.music.source);

    Mixer mixer(22050);
    BgmPlayer noFont(&mixer, [](int) { return nullptr; });
    noFont.Init(1, {""}, {""}, 1, false);
    noFont.SetSlot(0, "bgm\\c.mid", 100);
    EXPECT_EQ(noFont.Play(0, 0, false, 0, true), 0);
    EXPECT_EQ(LastSoundFailure(), "Sound : no General MIDI sound font");

    RecordingSink sink;
    BgmPlayer noMixer(nullptr);
    EXPECT_EQ(noMixer.Init(1, {""}, {""}, 1, false), 0);
    ASSERT_EQ(sink.texts.size(), 1u);
    EXPECT_EQ(sink.texts[0], SJ("oggの初期化に失敗！"));
}

TEST(SoundPlayer, SlotsAndFiles)
{
    Rig r;
    r.effects.OpenSet("waveaudio", {"wave\\a.wav", "wave\\missing.wav", "wave\\A.WAV", "", "wave\\a.wav"});
    ASSERT_EQ(r.effects.SlotCount(), 3);  // the list ends at the empty name
    EXPECT_TRUE(r.effects.SlotOpen(0));
    EXPECT_FALSE(r.effects.SlotOpen(1));
    EXPECT_TRUE(r.effects.SlotOpen(2));

    EXPECT_EQ(r.effects.PlaySlot(0, false, true, 0), 1);
    EXPECT_EQ(r.effects.Current(), 0);
    EXPECT_TRUE(r.mixer.effect.source);
    EXPECT_EQ(r.effects.PlaySlot(1, false, true, 0), 0);  // an empty slot
    EXPECT_FALSE(r.mixer.effect.source);

    // Paused, a slot goes on from where it was; stopped, from the start.
    EXPECT_EQ(r.effects.PlaySlot(0, false, true, 0), 1);
    r.Pull(1000);
    r.effects.Stop(true);
    EXPECT_EQ(r.effects.Current(), -1);
    EXPECT_FALSE(r.mixer.effect.source);
    EXPECT_EQ(r.effects.PlaySlot(0, false, false, 0), 1);
    r.Pull(1100);  // the file's other 500 frames are 1000 at the mixer's double rate
    EXPECT_FALSE(r.mixer.effect.source);

    // Files by extension; a MIDI effect closes the other slots.
    EXPECT_EQ(r.effects.PlayFile(4, "wave\\a.wav", 0), 1);
    EXPECT_EQ(r.effects.SlotType(4), "waveaudio");
    EXPECT_EQ(r.effects.PlayFile(4, "wave\\a.ogg", 0), 0);
    ClearSoundFailure();
    EXPECT_EQ(r.effects.PlayFile(4, "wave\\none.wav", 0), 0);
    EXPECT_EQ(Cp932ToUtf8(LastSoundFailure()), "Wave wave\\none.wav ファイルが開けません");  // the cause, not the ChangeSound line
    EXPECT_EQ(r.effects.PlayFile(4, "wave\\c.MID", 0), 1);
    EXPECT_EQ(r.effects.SlotType(4), "sequencer");
    EXPECT_FALSE(r.effects.SlotOpen(0));
    ASSERT_EQ(r.synths.size(), 1u);  // a synthesizer of its own
    r.Pull(10);
    EXPECT_EQ(r.synths[0]->Messages().size(), 1u);
    r.effects.Close();
    EXPECT_FALSE(r.effects.Enabled());
    EXPECT_FALSE(r.mixer.effect.source);
}

TEST(PlayerSoundOutput, SoundCallsReachThePlayers)
{
    TempDir dir;
    WriteFile("bgm/Free.ogg", OggFile());
    WriteFile("bgm/broken.ogg", Data(30, 'x'));
    WriteFile("wave/free.wav", WaveFile());
    WriteFile(Cp932ToUtf8(SJ("wave/決定.wav")), WaveFile());
    PlayerSoundOutput out([] { return std::make_unique<NullAudioOutput>(22050, false); },
                          [](int) { return std::make_unique<RecordingSynth>(); });
    SoundOutput* old = SetSoundOutput(&out);
    PrepareSound();
    EXPECT_TRUE(out.Effects()->SlotOpen(0));
    EXPECT_FALSE(out.Effects()->SlotOpen(1));
    EXPECT_TRUE(out.Effects()->SlotOpen(4));

    EXPECT_TRUE(Sound().PlayMusic("bgm\\Free.ogg", 30, true));
    EXPECT_FLOAT_EQ(out.GetMixer()->music.gain, 0.3f);
    Sound().SetVolume(70);
    EXPECT_FLOAT_EQ(out.GetMixer()->music.gain, 0.7f);
    EXPECT_FALSE(Sound().PlayMusic("bgm\\broken.ogg", 30, true));
    EXPECT_EQ(LoadFailureText(), SJ("読み込み失敗！\nOgg bgm\\broken.ogg not Ogg Vorbis"));
    EXPECT_FALSE(out.GetMixer()->music.source);

    EXPECT_TRUE(Sound().PlayEffect("wave\\free.wav"));
    EXPECT_TRUE(out.GetMixer()->effect.source);
    Sound().StopEffect();
    EXPECT_FALSE(out.GetMixer()->effect.source);
    EXPECT_FALSE(Sound().PlayEffect("wave\\free.ogg"));

    ReleaseSound();
    EXPECT_EQ(out.GetMixer(), nullptr);
    SetSoundOutput(old);
}

// One input rendered twice gives the same bytes.
TEST(PlayerSoundOutput, RenderingIsReproducible)
{
    TempDir dir;
    WriteFile("bgm/a.ogg", OggFile(0.5));
    auto render = [] {
        auto file = std::make_unique<WavFileAudioOutput>("out.wav", 44100);
        WavFileAudioOutput* raw = file.get();
        PlayerSoundOutput out([&] { return std::move(file); });
        out.OpenMusic("", "");
        EXPECT_TRUE(out.PlayMusic("bgm\\a.ogg", 100, true));
        raw->Render(44100);  // the half-second piece twice
        return raw->Samples();
    };
    std::vector<int16_t> once = render();
    EXPECT_EQ(once, render());
    ASSERT_EQ(once.size(), 2u * 44100);
    // It loops without a gap: the seam is as loud as the rest.
    double seam = 0;
    for (std::size_t i = 2 * 22040; i < 2 * 22060; ++i)
        seam += std::abs(once[i]);
    EXPECT_GT(seam, 0);
}

}  // namespace

namespace {

// The real synthesizer with the General MIDI sound font (the small one when
// installed): a piece renders to sound, and to the same samples twice.
TEST(GmSynth, RendersAPieceTheSameTwice)
{
    const std::string small = "/usr/share/sounds/sf2/TimGM6mb.sf2";
    if (std::ifstream(small).good())
        SetSoundFontPath(small);
    if (GmSoundFontPath().empty())
        GTEST_SKIP() << "no General MIDI sound font installed";
    TempDir dir;
    WriteFile("bgm/a.mid", smf::File(1, 96, {{0x00, 0xC0, 0, 0x00, 0x90, 60, 100, 0x60, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00},
                                             {0x30, 0x99, 36, 120, 0x30, 0x89, 36, 0, 0x00, 0xFF, 0x2F, 0x00}}));
    auto render = [] {
        auto file = std::make_unique<WavFileAudioOutput>("out.wav", 44100);
        WavFileAudioOutput* raw = file.get();
        PlayerSoundOutput out([&] { return std::move(file); });
        out.OpenMusic("", "");
        EXPECT_TRUE(out.PlayMusic("bgm\\a.mid", 100, false));
        raw->Render(44100);
        return raw->Samples();
    };
    std::vector<int16_t> once = render();
    SetSoundFontPath("");
    int peak = 0;
    for (int16_t s : once)
        peak = std::max(peak, std::abs(int(s)));
    EXPECT_GT(peak, 500);
    SetSoundFontPath(std::ifstream(small).good() ? small : "");
    EXPECT_EQ(once, render());
    SetSoundFontPath("");
}

}  // namespace
