// The database window driven as a user would, over the starter project: the
// sheet and its pages, the list pattern on the land and sound pages, apply,
// cancel, the size check and a file that cannot be written.
#include <gtest/gtest.h>

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <filesystem>

#include "app/startup.h"
#include "base/paths.h"
#include "base/text.h"
#include "database/window/database_sheet.h"
#include "database/window/db_pages.h"
#include "media/image_table.h"
#include "project/default_project.h"
#include "project/project.h"
#include "stage/window/main_window.h"
#include "tests/gui/database_fixture.h"
#include "tests/gui/gui_util.h"
#include "tests/test_util.h"
#include "ui/frame_tick.h"
#include "ui/input_dialogs.h"
#include "ui/qt_text.h"
#include "ui/select_graphic.h"

namespace fs = std::filesystem;

namespace {

enum { kLandPage = 5, kCharaAnimPage = 7, kSoundPage = 11 };

class DatabaseSheetTest : public DatabaseWindowTest {
protected:
    PROP_DATABASE* Open(int page = 0) { return OpenAt(page); }
    static QListWidget* List(DLG_CLASS* page) { return qobject_cast<QListWidget*>(page->Item(IDC_DB_LIST)); }
    static QLineEdit* Edit(DLG_CLASS* page, int id) { return qobject_cast<QLineEdit*>(page->Item(id)); }
    static void SetText(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        TypeText(edit, text);
        Pump();
    }
    // Answers the next "データ数" question with the text.
    static void AnswerCount(const QString& text)
    {
        QTimer::singleShot(0, [text] {
            auto* dlg = qobject_cast<QDialog*>(CurrentModalDialog());
            ASSERT_NE(dlg, nullptr);
            EXPECT_EQ(dlg->windowTitle(), QStringLiteral("データ数"));
            auto* edit = dlg->findChild<QLineEdit*>();
            edit->selectAll();
            QTest::keyClicks(edit, text);
            QTest::keyClick(edit, Qt::Key_Return);
        });
    }
    static std::vector<uint8_t> Bytes(const char* path) { return ReadFile(HostPath(path)); }

};


TEST_F(DatabaseSheetTest, TwentyFivePagesWhileTheOtherWindowsAreAway)
{
    PROP_DATABASE* s = Open();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Widget()->windowTitle(), QStringLiteral("データベースの設定"));
    const char* const titles[] = {"　　クラス　　", "　味方キャラ　", "　敵キャラ　", "　　スキル　　", "相性タイプ",
                                  "　　地形　　", "パーティー変数", "キャラアニメ", "エフェクトアニメ", "ピクチャー",
                                  "　バック　", "　効果音　", "　BGM　", "　ヘルプ　", "ワールドチップ", "システム1",
                                  "システム2", "システム3", "システム4", "システム5", "システム6", "システム7",
                                  "システム8", "システム9", "システム10"};
    ASSERT_EQ(s->Tabs()->count(), 25);
    for (int i = 0; i < 25; ++i)
        EXPECT_EQ(s->Tabs()->tabText(i), QString::fromUtf8(titles[i])) << i;
    EXPECT_FALSE(main.Widget()->isVisible());
    EXPECT_FALSE(main.Widget()->isEnabled());
    // The default font gives the design size, accepted without a message.
    EXPECT_EQ(s->Widget()->size(), QSize(971, 714));
    EXPECT_TRUE(sink.texts.empty());
    EXPECT_FALSE(fs::exists(HostPath(ProjectFile::SheetSize)));

    // Every catalogue page builds when first shown; the close box is Cancel.
    for (int i = 4; i < 15; ++i) {
        s->SetCurrentPage(i);
        EXPECT_TRUE(s->DbPage(i)->Exists()) << i;
    }
    s->Widget()->close();
    Pump();
    EXPECT_EQ(DatabaseWindow(), nullptr);
    EXPECT_TRUE(main.Widget()->isVisible());
    EXPECT_TRUE(main.Widget()->isEnabled());
}

TEST_F(DatabaseSheetTest, LandPageEditsTheSharedListInPlace)
{
    Project& p = TheProject();
    PROP_DATABASE* s = Open(kLandPage);
    DLG_CLASS* page = s->DbPage(kLandPage);
    QListWidget* list = List(page);
    ASSERT_NE(list, nullptr);
    const int count = p.m_Lands.size();
    ASSERT_EQ(list->count(), count);
    EXPECT_EQ(list->currentRow(), 0);  // record 1 selected at first show

    // Rename record 2, go to 3 and back: kept, in the list and in its line.
    ClickLine(list, 1);
    QLineEdit* name = Edit(page, DLG_DBLAND::IDC_NAME);
    SetText(name, QStringLiteral("湿地"));
    EXPECT_EQ(p.m_Lands[1].m_Name, SJ("湿地"));
    EXPECT_TRUE(list->item(1)->text().endsWith(QStringLiteral("湿地")));
    ClickLine(list, 2);
    EXPECT_NE(name->text(), QStringLiteral("湿地"));
    ClickLine(list, 1);
    EXPECT_EQ(name->text(), QStringLiteral("湿地"));

    // A number out of range is stored clamped.
    SetText(Edit(page, DLG_DBLAND::IDC_MOVECOST), QStringLiteral("12"));
    EXPECT_EQ(p.m_Lands[1].m_nMoveCost, 9);

    // Ctrl+C on record 2, Ctrl+V on record 4 overwrites it; the count stays.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    Pump();
    ClickLine(list, 3);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_V, Qt::ControlModifier);
    Pump();
    EXPECT_EQ(p.m_Lands[3].m_Name, SJ("湿地"));
    EXPECT_EQ(p.m_Lands.size(), count);
    EXPECT_EQ(name->text(), QStringLiteral("湿地"));

    // Delete clears record 4 to a new land; "新規" inserts one before the selection.
    QTest::keyClick(list, Qt::Key_Delete);
    Pump();
    EXPECT_EQ(p.m_Lands[3].m_Name, "");
    EXPECT_EQ(p.m_Lands[3].m_nMoveCost, 1);
    p.m_Lands[2].m_nMoveCost = 5;  // a change behind the page...
    s->SetCurrentPage(kLandPage + 1);
    s->SetCurrentPage(kLandPage);  // ...read again on entering
    ClickLine(list, 2);
    Click(page, IDC_DB_NEW);
    EXPECT_EQ(p.m_Lands.size(), count + 1);
    EXPECT_EQ(p.m_Lands[2].m_nMoveCost, 1);
    EXPECT_EQ(p.m_Lands[2].m_bTraining, 1);
    EXPECT_EQ(p.m_Lands[3].m_nMoveCost, 5);
    EXPECT_EQ(Edit(page, DLG_DBLAND::IDC_MOVECOST)->text(), QStringLiteral("1"));

    // "ﾃﾞｰﾀ数" 3 keeps records 1 to 3.
    const std::string third = p.m_Lands[2].m_Name, first = p.m_Lands[0].m_Name;
    AnswerCount(QStringLiteral("3"));
    Click(page, IDC_DB_COUNT);
    ASSERT_EQ(p.m_Lands.size(), 3);
    EXPECT_EQ(p.m_Lands[0].m_Name, first);
    EXPECT_EQ(p.m_Lands[2].m_Name, third);
    EXPECT_EQ(list->count(), 3);

    // The filter shows what matches and everything again when cleared.
    QLineEdit* filter = Edit(page, IDC_DB_FILTER);
    QTest::keyClicks(filter, "2");
    EXPECT_TRUE(list->isRowHidden(0));
    EXPECT_FALSE(list->isRowHidden(1));
    filter->clear();
    Pump();
    EXPECT_FALSE(list->isRowHidden(0));

    // Enter is OK (never "新規"): the sheet applies and closes.
    QTest::keyClick(name, Qt::Key_Return);
    Pump();
    EXPECT_EQ(DatabaseWindow(), nullptr);
    EXPECT_EQ(p.m_Lands.size(), 3);
    RecordList<cLand> saved;
    ASSERT_EQ(LoadListFile(saved, ProjectFile::Land), 1);
    EXPECT_EQ(saved.size(), 3);
}

TEST_F(DatabaseSheetTest, SoundPageHidesIndexZeroAndTakesUpTo9999)
{
    Project& p = TheProject();
    p.m_Database.m_Sounds.resize(1);
    PROP_DATABASE* s = Open(kSoundPage);
    DLG_CLASS* page = s->DbPage(kSoundPage);
    QListWidget* list = List(page);
    // Extended to two records: index 0 hidden, index 1 shown as number 1.
    ASSERT_EQ(p.m_Database.m_Sounds.size(), 2);
    ASSERT_EQ(list->count(), 1);
    EXPECT_TRUE(list->item(0)->text().startsWith(QStringLiteral("1 ")));

    // "参照" fills the path and, with "ファイル名と同じ", the name.
    DatabaseFileChooser() = [](std::string& path, const FileQuestion& q) {
        EXPECT_EQ(q.folder, "wave");
        path = SJ("wave\\決定音.wav");
        return true;
    };
    Click(page, DB_MEDIA_PAGE<cEdSound>::IDC_BROWSE);
    EXPECT_EQ(p.m_Database.m_Sounds[1].m_Path, SJ("wave\\決定音.wav"));
    EXPECT_EQ(p.m_Database.m_Sounds[1].m_Name, SJ("決定音"));
    EXPECT_FALSE(Edit(page, DB_MEDIA_PAGE<cEdSound>::IDC_NAME)->isEnabled());

    AnswerCount(QStringLiteral("10000"));
    Click(page, IDC_DB_COUNT);
    EXPECT_EQ(p.m_Database.m_Sounds.size(), 1 + 9999);
    EXPECT_TRUE(list->item(0)->text().startsWith(QStringLiteral("0001 ")));
    SheetButton(s, "sheetCancel");
    EXPECT_EQ(p.m_Database.m_Sounds.size(), 1);  // Cancel put the list back
}

TEST_F(DatabaseSheetTest, OkApplyAndCancelWriteWhatTheySay)
{
    Project& p = TheProject();
    const std::vector<uint8_t> before = Bytes(ProjectFile::Land);
    {
        // Cancel after edits: no file and no record changes.
        PROP_DATABASE* s = Open(kLandPage);
        DLG_CLASS* page = s->DbPage(kLandPage);
        ClickLine(List(page), 1);
        SetText(Edit(page, DLG_DBLAND::IDC_NAME), QStringLiteral("沼"));
        ASSERT_EQ(p.m_Lands[1].m_Name, SJ("沼"));
        DatabaseSnapshot opened = s->Snapshot();
        SheetButton(s, "sheetCancel");
        EXPECT_TRUE(opened.Matches(p));
        EXPECT_NE(p.m_Lands[1].m_Name, SJ("沼"));
        EXPECT_EQ(Bytes(ProjectFile::Land), before);
    }
    {
        // Apply writes; a second apply after another edit writes again; Cancel
        // then goes back to the last apply.
        PROP_DATABASE* s = Open(kLandPage);
        DLG_CLASS* page = s->DbPage(kLandPage);
        ClickLine(List(page), 1);
        SetText(Edit(page, DLG_DBLAND::IDC_NAME), QStringLiteral("沼"));
        SheetButton(s, "sheetApply");
        RecordList<cLand> saved;
        ASSERT_EQ(LoadListFile(saved, ProjectFile::Land), 1);
        EXPECT_EQ(saved[1].m_Name, SJ("沼"));
        SetText(Edit(page, DLG_DBLAND::IDC_NAME), QStringLiteral("池"));
        SheetButton(s, "sheetApply");
        ASSERT_EQ(LoadListFile(saved, ProjectFile::Land), 1);
        EXPECT_EQ(saved[1].m_Name, SJ("池"));
        EXPECT_TRUE(page->Exists());
        SetText(Edit(page, DLG_DBLAND::IDC_NAME), QStringLiteral("滝"));
        SheetButton(s, "sheetCancel");
        EXPECT_EQ(p.m_Lands[1].m_Name, SJ("池"));
    }
    {
        // OK writes the edit and closes.
        PROP_DATABASE* s = Open(kLandPage);
        DLG_CLASS* page = s->DbPage(kLandPage);
        ClickLine(List(page), 2);
        SetText(Edit(page, DLG_DBLAND::IDC_HELP), QStringLiteral("説明文"));
        SheetButton(s, "sheetOk");
        EXPECT_EQ(DatabaseWindow(), nullptr);
        RecordList<cLand> saved;
        ASSERT_EQ(LoadListFile(saved, ProjectFile::Land), 1);
        EXPECT_EQ(saved[2].m_Help, SJ("説明文"));
    }
    EXPECT_TRUE(sink.texts.empty());
}

TEST_F(DatabaseSheetTest, AFileThatCannotBeReplacedIsNamedAndTheRestWritten)
{
    Project& p = TheProject();
    fs::remove(HostPath(ProjectFile::Land));
    fs::create_directory(HostPath(ProjectFile::Land));
    PROP_DATABASE* s = Open(kLandPage);
    p.m_Database.m_PtVals[0].m_Name = SJ("所持金");
    SheetButton(s, "sheetApply");
    ASSERT_EQ(sink.texts.size(), 1u);
    EXPECT_NE(sink.texts[0].find("Land.dat"), std::string::npos);
    RecordList<cPtVal> saved;
    ASSERT_EQ(LoadListFile(saved, "data\\database\\PartyVal.dat"), 1);
    EXPECT_EQ(saved[0].m_Name, SJ("所持金"));
    EXPECT_TRUE(s->Widget());  // the sheet stays open
}

TEST_F(DatabaseSheetTest, ALargerFontIsMeasuredOnceAndRemembered)
{
    const QFont old = QApplication::font();
    QFont big = old;
    big.setPointSizeF(old.pointSizeF() * 1.5);
    QApplication::setFont(big);
    PROP_DATABASE* s = Open();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(sink.texts.size(), 1u);
    EXPECT_TRUE(fs::exists(HostPath(ProjectFile::SheetSize)));
    EXPECT_LT(SheetScaleX, 1.0);
    SheetButton(s, "sheetCancel");
    // The next opening asks for the corrected size: no second message.
    s = Open();
    EXPECT_EQ(sink.texts.size(), 1u);
    SheetButton(s, "sheetCancel");
    QApplication::setFont(old);
    SheetScaleX = SheetScaleY = 1.0;
}

TEST_F(DatabaseSheetTest, AnimationPreviewStepsWithTheFrameTick)
{
    Project& p = TheProject();
    cCharaAnimPat& anim = p.m_Database.m_CharaAnims[0];
    anim.m_Frames.resize(2);
    anim.m_Frames[0].m_nCell = 4;
    anim.m_Frames[0].m_nTime = 3;
    anim.m_Frames[1].m_nCell = 9;
    anim.m_Frames[1].m_nTime = 3;
    PROP_DATABASE* s = Open(kCharaAnimPage);
    auto* page = dynamic_cast<DLG_DB_CHARAANIM*>(s->DbPage(kCharaAnimPage));
    ASSERT_NE(page, nullptr);
    AnimPreviewWidget* preview = page->PreviewWidget();
    EXPECT_EQ(preview->CellText(), QStringLiteral("コマ 4"));
    RunFrameListeners();
    EXPECT_EQ(preview->CellText(), QStringLiteral("コマ 9"));
    RunFrameListeners();
    EXPECT_EQ(preview->CellText(), QStringLiteral("コマ 4"));
    SheetButton(s, "sheetCancel");
}

TEST_F(DatabaseSheetTest, NestedFramesInsertEditInADialogAndDelete)
{
    Project& p = TheProject();
    PROP_DATABASE* s = Open(kCharaAnimPage);
    auto* page = dynamic_cast<DLG_DB_CHARAANIM*>(s->DbPage(kCharaAnimPage));
    ASSERT_NE(page, nullptr);
    auto* frames = qobject_cast<QListWidget*>(page->Item(DLG_DB_CHARAANIM::IDC_FRAMES));
    const int before = p.m_Database.m_CharaAnims[0].m_Frames.size();
    Click(page, DLG_DB_CHARAANIM::IDC_FRAME_INSERT);
    ASSERT_EQ(p.m_Database.m_CharaAnims[0].m_Frames.size(), before + 1);
    EXPECT_EQ(frames->count(), before + 1);
    // "編集" opens "アニメ" on a copy; OK writes the typed cell back.
    ClickLine(frames, 0);
    QTimer::singleShot(0, [] {
        auto* dlg = qobject_cast<QDialog*>(CurrentModalDialog());
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("アニメ"));
        auto* cell = dlg->findChildren<QLineEdit*>().front();
        cell->selectAll();
        QTest::keyClicks(cell, "700");
        QTest::keyClick(cell, Qt::Key_Return);
    });
    Click(page, DLG_DB_CHARAANIM::IDC_FRAME_EDIT);
    EXPECT_EQ(p.m_Database.m_CharaAnims[0].m_Frames[0].m_nCell, 640);  // clamped to its range
    Click(page, DLG_DB_CHARAANIM::IDC_FRAME_DELETE);
    EXPECT_EQ(p.m_Database.m_CharaAnims[0].m_Frames.size(), before);
    SheetButton(s, "sheetCancel");
}

TEST_F(DatabaseSheetTest, LandPageScreenshot)
{
    PROP_DATABASE* s = Open(kLandPage);
    ClickLine(List(s->DbPage(kLandPage)), 1);
    QImage shot = s->Widget()->grab().toImage();
    EXPECT_EQ(shot.size(), QSize(971, 714));
    shot.save(QStringLiteral(VANTOR_BUILD_DIR "/tests/database_land_page.png"));
    SheetButton(s, "sheetCancel");
}

// "一覧" on the world chip page offers the world chip sheet and stores the
// chosen picture (kept to 0 to 255) into the selected chip.
TEST_F(DatabaseSheetTest, WorldChipPageChoosesFromTheWorldChipSheet)
{
    enum { kWorldChipPage = 14 };
    Project& p = TheProject();
    ASSERT_GE(p.m_WorldMap.m_Chips.size(), 2);
    PROP_DATABASE* s = Open(kWorldChipPage);
    DLG_CLASS* page = s->DbPage(kWorldChipPage);
    ClickLine(List(page), 1);
    std::vector<int> kinds;
    int answer = 0;
    SetGraphicChooserForTests([&](int kind, int& value) {
        kinds.push_back(kind);
        value = answer;
        return 1;
    });
    for (int chosen : {12, 300}) {
        answer = chosen;
        Click(page, DLG_DBWORLDCHIP::IDC_GRAPHIC_LIST);
    }
    SetGraphicChooserForTests(nullptr);
    EXPECT_EQ(kinds, (std::vector<int>{4, 4}));
    EXPECT_EQ(p.m_WorldMap.m_Chips[1].m_nGraphic, 255);
    EXPECT_EQ(Edit(page, DLG_DBWORLDCHIP::IDC_GRAPHIC)->text(), QStringLiteral("255"));
    auto* preview = qobject_cast<QLabel*>(page->Item(DLG_DBWORLDCHIP::IDC_PREVIEW));
    ASSERT_NE(preview, nullptr);
    EXPECT_FALSE(preview->pixmap().isNull());
    SheetButton(s, "sheetCancel");
}

}  // namespace
