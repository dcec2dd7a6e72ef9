// The database window's "再生" buttons over the real players on a silent
// output: a damaged file shows the failure box with its reason as the second
// line, and the music that played before stops.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "app/startup.h"
#include "base/paths.h"
#include "base/text.h"
#include "database/window/database_sheet.h"
#include "database/window/db_pages.h"
#include "media/image_table.h"
#include "media/player_sound_output.h"
#include "project/default_project.h"
#include "project/project.h"
#include "stage/window/main_window.h"
#include "tests/gui/gui_util.h"
#include "tests/media/sound_helpers.h"
#include "tests/test_util.h"

namespace fs = std::filesystem;

namespace {

enum { kSoundPage = 11, kBgmPage = 12 };

class SoundPreviewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        starter_ = new TempDir;
        WriteDefaultProject(starter_->Path().string(), true);
    }
    static void TearDownTestSuite()
    {
        delete starter_;
        starter_ = nullptr;
    }
    void SetUp() override
    {
        ResetProject();
        fs::copy(starter_->Path(), dir.Path(), fs::copy_options::recursive);
        ASSERT_EQ(LoadProject(), 1);
        SheetScaleX = SheetScaleY = 1.0;
        Editor() = EditorState();
        old_ = SetSoundOutput(&sound);
        PrepareSound();
        main.onQuit = [] {};
        ASSERT_TRUE(OpenActive(main));
    }
    void TearDown() override
    {
        if (PROP_DATABASE* s = DatabaseWindow())
            s->Destroy();
        Pump();
        main.Close(0);
        Pump();
        ReleaseSound();
        SetSoundOutput(old_);
        ResetProject();
        ResetImages();
    }

    DLG_CLASS* OpenPage(int page)
    {
        main.SendCommand(40118);
        Pump();
        PROP_DATABASE* s = DatabaseWindow();
        if (!s)
            return nullptr;
        s->SetCurrentPage(page);
        Pump();
        return s->DbPage(page);
    }
    static void Select(DLG_CLASS* page, int row)
    {
        auto* list = qobject_cast<QListWidget*>(page->Item(IDC_DB_LIST));
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(list->item(row)).center());
        Pump();
    }
    static void Click(DLG_CLASS* page, int id)
    {
        QTest::mouseClick(qobject_cast<QAbstractButton*>(page->Item(id)), Qt::LeftButton);
        Pump();
    }
    static void SetPath(DLG_CLASS* page, int id, const QString& text)
    {
        auto* edit = qobject_cast<QLineEdit*>(page->Item(id));
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        TypeText(edit, text);
        Pump();
    }
    // The loudest sample of the next frames the output would take.
    float Loudest(int frames = 4096)
    {
        std::vector<float> buffer(2 * std::size_t(frames));
        sound.GetMixer()->Pull(buffer.data(), frames);
        float peak = 0;
        for (float v : buffer)
            peak = std::max(peak, std::abs(v));
        return peak;
    }

    static inline TempDir* starter_ = nullptr;
    TempDir dir;
    RecordingSink sink;
    // A synthesizer that sounds at a steady level, so that silence after a
    // stop is exact (no release tail).
    PlayerSoundOutput sound{[] { return std::make_unique<NullAudioOutput>(44100, false); },
                            [](int) { return std::make_unique<RecordingSynth>(); }};
    SoundOutput* old_ = nullptr;
    DLG_MAIN main;
};

// A copy of a good piece with its first bytes kept and the rest cut, and one
// whose identification header is overwritten.
std::vector<uint8_t> Damaged(std::vector<uint8_t> ogg, bool truncate)
{
    if (truncate) {
        ogg.resize(std::min<std::size_t>(ogg.size(), 60));
    } else {
        for (std::size_t i = 28; i < 58 && i < ogg.size(); ++i)
            ogg[i] = uint8_t(0xA5 ^ i);
    }
    return ogg;
}

TEST_F(SoundPreviewTest, DamagedOggShowsTheReasonAndStopsTheMusic)
{
    const std::vector<uint8_t> good = ReadFile(HostPath("bgm\\Battle.ogg"));
    ASSERT_GT(good.size(), 1000u);
    struct Case {
        const char* name;
        int playing;  // the record of the piece that sounds first
        bool truncate;
    } cases[] = {
        {"MIDI playing, truncated Ogg", 1, true},
        {"Ogg playing, truncated Ogg", 2, true},
        {"MIDI playing, garbled header", 1, false},
        {"Ogg playing, garbled header", 2, false},
    };
    DLG_CLASS* page = OpenPage(kBgmPage);
    ASSERT_NE(page, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile("bgm/broken.ogg", Damaged(good, c.truncate));
        sink.texts.clear();

        Select(page, c.playing);
        Click(page, DLG_DB_BGM::IDC_PLAY);
        ASSERT_TRUE(sink.texts.empty()) << Cp932ToUtf8(sink.texts[0]);
        EXPECT_EQ(sound.Bgm()->ChannelKind(0), c.playing == 1 ? BgmPlayer::Midi : BgmPlayer::Ogg);
        EXPECT_GT(Loudest(), 0.01f);

        // Record 3 now names the damaged file.
        Select(page, 3);
        SetPath(page, DLG_DB_BGM::IDC_PATH, QStringLiteral("bgm\\broken.ogg"));
        Click(page, DLG_DB_BGM::IDC_PLAY);
        ASSERT_EQ(sink.texts.size(), 1u);
        const std::string text = Cp932ToUtf8(sink.texts[0]);
        const std::string head = "読み込み失敗！\nOgg bgm\\broken.ogg ";
        EXPECT_EQ(text.substr(0, head.size()), head) << text;
        EXPECT_GT(text.size(), head.size()) << text;  // the decoder's reason follows
        EXPECT_EQ(sound.Bgm()->ChannelKind(0), BgmPlayer::None);
        if (cSmfPlay* midi = sound.Bgm()->MidiPlayer(0))
            EXPECT_EQ(midi->GetState(), cSmfPlay::Stopped);
        Loudest();  // a stopped piece lets go of its voice in this pull
        EXPECT_EQ(Loudest(), 0.0f);

        // The good piece plays again afterwards: the failure left nothing behind.
        Select(page, 2);
        Click(page, DLG_DB_BGM::IDC_PLAY);
        EXPECT_EQ(sink.texts.size(), 1u);
        EXPECT_GT(Loudest(), 0.01f);
        Click(page, DLG_DB_BGM::IDC_PLAY);  // and again, forced: it restarts, no box
        EXPECT_EQ(sink.texts.size(), 1u);
        sound.StopMusic();
    }
    // Closing the window stops what sounds.
    Click(page, DLG_DB_BGM::IDC_PLAY);
    EXPECT_GT(Loudest(), 0.01f);
    DatabaseWindow()->Widget()->close();
    Pump();
    EXPECT_EQ(DatabaseWindow(), nullptr);
    EXPECT_EQ(Loudest(), 0.0f);
}

TEST_F(SoundPreviewTest, DamagedWaveShowsTheDecodersReason)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* reason;
    } cases[] = {
        {"not a wave", {'R', 'I', 'F', 'X', 0, 0, 0, 0}, "Wave wave\\broken.wav not a RIFF WAVE file"},
        {"missing", {}, "Wave wave\\none.wav ファイルが開けません"},
    };
    DLG_CLASS* page = OpenPage(kSoundPage);
    ASSERT_NE(page, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sink.texts.clear();
        const bool missing = c.bytes.empty();
        if (!missing)
            WriteFile("wave/broken.wav", c.bytes);
        SetPath(page, DLG_DB_SOUND::IDC_PATH, missing ? QStringLiteral("wave\\none.wav") : QStringLiteral("wave\\broken.wav"));
        Click(page, DLG_DB_SOUND::IDC_PLAY);
        ASSERT_EQ(sink.texts.size(), 1u);
        EXPECT_EQ(Cp932ToUtf8(sink.texts[0]), std::string("読み込み失敗！\n") + c.reason);
        EXPECT_EQ(Loudest(), 0.0f);
    }
}

}  // namespace
