// The action chooser and the kind dialogs, driven through EditEventAction as
// the event editor calls it.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>

#include "base/text.h"
#include "events/action_forms.h"
#include "events/window/event_action_editor.h"
#include "gui/gui_util.h"
#include "media/sound_output.h"
#include "project/project.h"
#include "ui/select_graphic.h"
#include "tests/test_util.h"
#include "ui/qt_text.h"

namespace {

QWidget* ItemIn(QWidget* dialog, int id)
{
    if (!dialog)
        return nullptr;
    for (QWidget* w : dialog->findChildren<QWidget*>())
        if (w->property("ctrlId").isValid() && w->property("ctrlId").toInt() == id)
            return w;
    return nullptr;
}

template <class W>
W* Get(int id)
{
    W* w = qobject_cast<W*>(ItemIn(CurrentModalDialog(), id));
    EXPECT_TRUE(w) << "no control " << id;
    return w;
}

void Click(int id)
{
    // A check box takes a click on its box or text only, not anywhere in its
    // (wide) cell: click it at its box.
    if (auto* b = Get<QAbstractButton>(id))
        QTest::mouseClick(b, Qt::LeftButton, {}, qobject_cast<QCheckBox*>(b) ? QPoint(6, b->height() / 2) : QPoint());
}

// Runs body once the next modal dialog runs.
void WhenOpen(std::function<void()> body) { QTimer::singleShot(0, std::move(body)); }

QString Title() { return CurrentModalDialog() ? CurrentModalDialog()->windowTitle() : QString(); }

// The ids of the form's controls that can be used.
std::vector<int> UsableIds(int kind)
{
    std::vector<int> ids;
    for (const FormControl& c : ActionFormOf(kind)->controls) {
        if (c.widget == FormWidget::Note || c.widget == FormWidget::Group || c.widget == FormWidget::GroupBelow)
            continue;
        QWidget* w = ItemIn(CurrentModalDialog(), c.id);
        if (w && w->isEnabled())
            ids.push_back(c.id);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

void Screenshot(const char* name)
{
    // Beside the test program, for a look at the layout.
    QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/event_action_shots");
    QDir().mkpath(folder);
    if (QDialog* d = CurrentModalDialog())
        d->grab().save(QStringLiteral("%1/%2.png").arg(folder, name));
}

// A sound output that records what it is asked and may fail.
class RecordingSound : public SilentSoundOutput {
public:
    RecordingSound() { old_ = SetSoundOutput(this); }
    ~RecordingSound() override { SetSoundOutput(old_); }
    bool PlayMusic(const std::string& path, int vol, bool loop) override
    {
        played.push_back(path);
        volumes.push_back(vol);
        SilentSoundOutput::PlayMusic(path, vol, loop);
        return !fail;
    }
    bool PlayEffect(const std::string& path) override
    {
        effects.push_back(path);
        return !fail;
    }
    void StopMusic() override { ++stops; }
    std::vector<std::string> played, effects;
    std::vector<int> volumes;
    int stops = 0;
    bool fail = false;

private:
    SoundOutput* old_;
};

// Project tables for the lists: music and sounds with names and paths.
class ProjectMedia {
public:
    ProjectMedia()
    {
        Project& p = TheProject();
        bgms_ = p.m_Database.m_Bgms;
        sounds_ = p.m_Database.m_Sounds;
        p.m_Database.m_Bgms.clear();
        p.m_Database.m_Sounds.clear();
        for (int i = 0; i < 3; ++i) {
            cEdBgm b;
            b.m_Name = "bgm" + std::to_string(i);
            b.m_Path = "bgm\\piece" + std::to_string(i) + ".mid";
            b.m_nVolume = 40 + i;
            p.m_Database.m_Bgms.push_back(b);
            cEdSound s;
            s.m_Name = "se" + std::to_string(i);
            s.m_Path = "se\\s" + std::to_string(i) + ".wav";
            p.m_Database.m_Sounds.push_back(s);
        }
        UseProjectTables();
    }
    ~ProjectMedia()
    {
        TheProject().m_Database.m_Bgms = bgms_;
        TheProject().m_Database.m_Sounds = sounds_;
    }

private:
    RecordList<cEdBgm> bgms_;
    RecordList<cEdSound> sounds_;
};

}  // namespace

TEST(EventAction, EditingAWaitOpensItsDialogWithoutTheChooser)
{
    cEventAct act(Act::Wait);
    QString title;
    bool chooserShown = true;
    WhenOpen([&] {
        title = Title();
        chooserShown = false;
        for (QWidget* w : QApplication::topLevelWidgets())
            chooserShown = chooserShown || (w->isVisible() && w->windowTitle() == QStringLiteral("イベントのアクション"));
        auto* edit = Get<QLineEdit>(1315);
        edit->selectAll();
        QTest::keyClicks(edit, "25");
        Click(IDC_OK);
    });
    EXPECT_EQ(EditEventAction(nullptr, act, false, false), 1);
    EXPECT_EQ(title, QStringLiteral("ウエイト"));
    EXPECT_FALSE(chooserShown);
    EXPECT_EQ(act.m_Ints, std::vector<int32_t>{25});
}

TEST(EventAction, ChoosingStageClearAddsItAtOnce)
{
    cEventAct act;
    std::vector<bool> enabled;
    WhenOpen([&] {
        EXPECT_EQ(Title(), QStringLiteral("イベントのアクション"));
        EXPECT_EQ(Get<QPushButton>(1267 + 23)->text(), QStringLiteral("ステージクリア"));
        Click(1267 + 23);
    });
    EXPECT_EQ(EditEventAction(nullptr, act, true, false), 1);
    EXPECT_EQ(act.m_nKind, Act::StageClear);
    EXPECT_TRUE(act.m_Ints.empty());

    // An existing game over ends at once too: no window opens.
    cEventAct over(Act::GameOver);
    bool opened = false;
    WhenOpen([&] {
        if (CurrentModalDialog()) {
            opened = true;
            CurrentModalDialog()->reject();
        }
    });
    EXPECT_EQ(EditEventAction(nullptr, over, false, false), 1);
    EXPECT_FALSE(opened);
    Pump();

    // In the start event only the allowed kinds can be pressed; Cancel gives 0.
    WhenOpen([&] {
        for (int k = 1; k <= 25; ++k)
            enabled.push_back(Get<QPushButton>(1266 + k)->isEnabled());
        Click(IDC_CANCEL);
    });
    cEventAct fresh;
    EXPECT_EQ(EditEventAction(nullptr, fresh, true, true), 0);
    std::vector<int> on;
    for (std::size_t i = 0; i < enabled.size(); ++i)
        if (enabled[i])
            on.push_back(static_cast<int>(i) + 1);
    EXPECT_EQ(on, (std::vector<int>{11, 15, 16, 17, 19, 20, 21, 22, 23}));
}

TEST(EventAction, NewActionGetsItsKindsNewValuesAndCancelKeepsTheKind)
{
    cEventAct act(Act::Wait);
    act.m_Ints = {77};
    WhenOpen([&] {
        WhenOpen([&] {
            EXPECT_EQ(Title(), QStringLiteral("所持金の操作"));
            Click(IDC_CANCEL);
        });
        Click(1267 + 16);  // "所持金の操作"
    });
    // An existing wait in the start event: its button is disabled, the chooser shows.
    EXPECT_EQ(EditEventAction(nullptr, act, false, true), 0);
    EXPECT_EQ(act.m_nKind, Act::Money);
    EXPECT_EQ(act.m_Ints, std::vector<int32_t>{77});
}

TEST(EventAction, MessageEraseLeavesOnlyTheIdAndTheReferences)
{
    cEventAct act(Act::Message);
    std::vector<int> erased, erasedWithId;
    WhenOpen([&] {
        Screenshot("message");
        Click(1577);
        erased = UsableIds(Act::Message);
        Click(1578);
        erasedWithId = UsableIds(Act::Message);
        Click(IDC_OK);
    });
    EXPECT_EQ(EditEventAction(nullptr, act, false, false), 1);
    EXPECT_EQ(erased, (std::vector<int>{1068, 1069, 1250, 1309, 1577, 1578}));
    EXPECT_EQ(erasedWithId, (std::vector<int>{1068, 1069, 1250, 1309, 1324, 1577, 1578}));
    EXPECT_EQ(act.P(15), 1);
    EXPECT_EQ(act.P(13), 1);
    EXPECT_EQ(act.ListText(), SJ("メッセージ : メッセージの消去"));
}

TEST(EventAction, AMessageLineBreaksAfterThirtyCharacters)
{
    cEventAct act(Act::Message);
    QString summary;
    WhenOpen([&] {
        auto* text = Get<QPlainTextEdit>(1268);
        text->setFocus();
        TypeText(text, QString(31, QChar(0x3042)));
        summary = Get<QLabel>(1005)->text();
        Click(IDC_OK);
    });
    EXPECT_EQ(EditEventAction(nullptr, act, false, false), 1);
    std::string a = SJ("あ");
    std::string thirty;
    for (int i = 0; i < 30; ++i)
        thirty += a;
    EXPECT_EQ(Cp932ToUtf8(act.S(0)), Cp932ToUtf8(thirty + "\r\n" + a));
    EXPECT_TRUE(summary.startsWith(QStringLiteral("メッセージ : ああ")));
}

TEST(EventAction, CancelAfterEditsLeavesTheActionAsItWas)
{
    for (int kind : {int(Act::Message), int(Act::Status), int(Act::ShopItem)}) {
        cEventAct act(kind);
        cEventAct before;
        before.CopyFrom(act);
        WhenOpen([&] {
            for (QCheckBox* c : CurrentModalDialog()->findChildren<QCheckBox*>())
                if (c->isEnabled())
                    QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(6, c->height() / 2));
            for (QComboBox* c : CurrentModalDialog()->findChildren<QComboBox*>())
                if (c->isEnabled() && c->count() > 1) {
                    c->setCurrentIndex(c->count() - 1);
                    emit c->activated(c->count() - 1);
                }
            Click(IDC_CANCEL);
        });
        EXPECT_EQ(EditEventAction(nullptr, act, false, false), 0);
        EXPECT_TRUE(act.Equals(before)) << kind;
    }
}

TEST(EventAction, StatusInTheStartEventRefusesACharacterAndStaysOpen)
{
    RecordingSink sink;
    cEventAct act(Act::Status);  // left side: a character's status
    bool stillOpen = false;
    WhenOpen([&] {
        Screenshot("status");
        Click(IDC_OK);
        stillOpen = Title() == QStringLiteral("ステータスの操作");
        // A common variable on the left is accepted.
        auto* left = Get<QComboBox>(1602);
        left->setCurrentIndex(1);
        emit left->activated(1);
        Click(IDC_OK);
    });
    EXPECT_EQ(EditEventAction(nullptr, act, false, true), 1);
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(sink.texts.size(), 1u);
    EXPECT_EQ(sink.texts[0], SJ("初期イベントではキャラのステータスは利用できません！"));
    EXPECT_EQ(act.P(0), 1);
}

TEST(EventAction, PlayingMusicAndSounds)
{
    ProjectMedia media;
    RecordingSound sound;
    RecordingSink sink;
    cEventAct act(Act::Music);
    auto chooseAndPlay = [&](int entry) {
        auto* music = Get<QComboBox>(1235);
        music->setCurrentIndex(entry);
        emit music->activated(entry);
        Click(1313);
    };
    WhenOpen([&] {
        EXPECT_EQ(Get<QComboBox>(1235)->itemText(0), QStringLiteral("なし"));
        EXPECT_EQ(Get<QComboBox>(1235)->itemText(2), QStringLiteral("2 bgm2"));
        chooseAndPlay(2);
        sound.fail = true;
        chooseAndPlay(1);
        chooseAndPlay(0);
        Click(IDC_OK);
    });
    EXPECT_EQ(EditEventAction(nullptr, act, false, false), 1);
    EXPECT_EQ(sound.played, (std::vector<std::string>{"bgm\\piece2.mid", "bgm\\piece1.mid"}));
    EXPECT_EQ(sound.volumes, (std::vector<int>{42, 41}));
    EXPECT_EQ(sound.stops, 1);
    ASSERT_EQ(sink.texts.size(), 1u);
    EXPECT_EQ(sink.texts[0].substr(0, SJ("読み込み失敗！").size()), SJ("読み込み失敗！"));
    EXPECT_EQ(act.P(1), 0);

    // A piece played here stops when the dialog closes, whichever way.
    sound.fail = false;
    const int closeBox = -1;
    for (int how : {int(IDC_OK), int(IDC_CANCEL), int(IDC_ESCAPE), closeBox}) {
        SCOPED_TRACE(how);
        sound.stops = 0;
        WhenOpen([&] {
            chooseAndPlay(2);
            EXPECT_EQ(sound.stops, 0);
            if (how == IDC_ESCAPE)
                CurrentModalDialog()->reject();  // what Escape does
            else if (how == closeBox)
                CurrentModalDialog()->close();
            else
                Click(how);
        });
        EditEventAction(nullptr, act, false, false);
        EXPECT_EQ(sound.stops, 1);
    }

    sound.fail = false;
    cEventAct se(Act::SoundEffect);
    WhenOpen([&] {
        auto* list = Get<QComboBox>(1096);
        EXPECT_EQ(list->count(), 2);  // from entry 1
        list->setCurrentIndex(1);
        emit list->activated(1);
        Click(IDC_OK);
    });
    EXPECT_EQ(EditEventAction(nullptr, se, false, false), 1);
    EXPECT_EQ(sound.effects, std::vector<std::string>{"se\\s2.wav"});
    EXPECT_EQ(se.P(0), 2);
}

TEST(EventAction, TheSkillListRefillsItsSkills)
{
    Project& p = TheProject();
    RecordList<cSkillList> saved = p.m_SkillLists;
    p.m_SkillLists.clear();
    for (int count : {2, 4}) {
        cSkillList& list = p.m_SkillLists.push_back(cSkillList());
        list.m_Skills.clear();
        for (int s = 0; s < count; ++s)
            list.m_Skills.push_back(cSkill()).m_Name = "s" + std::to_string(count) + std::to_string(s);
    }
    UseProjectTables();
    cEventAct act(Act::LearnSkill);
    int before = 0, after = 0;
    QString shown;
    WhenOpen([&] {
        before = Get<QComboBox>(1423)->count();
        auto* lists = Get<QComboBox>(1127);
        lists->setCurrentIndex(1);
        emit lists->activated(1);
        auto* skills = Get<QComboBox>(1423);
        after = skills->count();
        shown = skills->currentText();
        skills->setCurrentIndex(2);
        emit skills->activated(2);
        Click(IDC_OK);
    });
    EXPECT_EQ(EditEventAction(nullptr, act, false, false), 1);
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 3);
    EXPECT_EQ(shown, QStringLiteral("1 s41"));
    EXPECT_EQ(act.m_Ints, (std::vector<int32_t>{1, 3}));
    p.m_SkillLists = saved;
}

TEST(EventAction, RenamingACommonVariableSavesAndRefillsTheList)
{
    TempDir dir;
    std::filesystem::create_directory("data");
    Project& p = TheProject();
    RecordList<cGValInfo> saved = p.m_GlobalVariables;
    p.m_GlobalVariables.clear();
    FitGlobalVariables(p.m_GlobalVariables);
    UseProjectTables();
    cEventAct act(Act::CommonVariable);
    act.m_Ints = {5, 0, 0};
    QString entry;
    WhenOpen([&] {
        WhenOpen([&] {
            auto* edit = qobject_cast<QLineEdit*>(ItemIn(CurrentModalDialog(), 1077));
            ASSERT_TRUE(edit);
            edit->setText(QStringLiteral("勇者の数"));
            Click(IDC_OK);
        });
        Click(1250);
        entry = Get<QComboBox>(1309)->currentText();
        Click(IDC_OK);
    });
    EXPECT_EQ(EditEventAction(nullptr, act, false, false), 1);
    EXPECT_EQ(entry, QStringLiteral("0005 勇者の数"));
    EXPECT_EQ(Cp932ToUtf8(p.m_GlobalVariables[5].m_Name), "勇者の数");
    EXPECT_TRUE(std::filesystem::exists("data/GValInfo.dat"));
    p.m_GlobalVariables = saved;
}

TEST(EventAction, TheGraphicListChoosesAnEventPicture)
{
    int kindAsked = -1;
    SetGraphicChooserForTests([&](int kind, int& value) {
        kindAsked = kind;
        value = 77;
        return 1;
    });
    cEventAct act(Act::EventGraphic);
    QString shown;
    WhenOpen([&] {
        Click(1510);
        shown = Get<QLineEdit>(1511)->text();
        Click(IDC_OK);
    });
    EXPECT_EQ(EditEventAction(nullptr, act, false, false), 1);
    SetGraphicChooserForTests(nullptr);
    EXPECT_EQ(kindAsked, 3);
    EXPECT_EQ(shown, QStringLiteral("77"));
    EXPECT_EQ(act.m_Ints, std::vector<int32_t>{77});
}
