// The skill page of the database window over the starter project: a skill
// edited in its sheet, groups deleted and renumbered, the CSV buttons, and
// visiting the pages without changing a byte.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <filesystem>
#include <map>

#include "app/startup.h"
#include "base/paths.h"
#include "base/text.h"
#include "database/window/database_sheet.h"
#include "database/window/db_pages.h"
#include "database/window/skill_page.h"
#include "media/image_table.h"
#include "project/default_project.h"
#include "project/project.h"
#include "stage/window/main_window.h"
#include "tests/gui/database_fixture.h"
#include "tests/gui/gui_util.h"
#include "tests/test_util.h"
#include "ui/qt_text.h"

namespace fs = std::filesystem;

namespace {

constexpr int kSkillPage = 3;

class SkillPageTest : public DatabaseWindowTest {
protected:
    DLG_DBSKILLLIST* Open()
    {
        main.SendCommand(40118);
        Pump();
        sheet = DatabaseWindow();
        if (!sheet)
            return nullptr;
        sheet->SetCurrentPage(kSkillPage);
        Pump();
        return dynamic_cast<DLG_DBSKILLLIST*>(sheet->DbPage(kSkillPage));
    }
    static QListWidget* List(DLG_CLASS* page, int id) { return qobject_cast<QListWidget*>(page->Item(id)); }
    void SheetButton(const char* name)
    {
        QTest::mouseClick(sheet->Widget()->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
        Pump();
    }
    // Every file of the project, by path.
    std::map<std::string, std::vector<uint8_t>> Files() const
    {
        std::map<std::string, std::vector<uint8_t>> out;
        for (const auto& e : fs::recursive_directory_iterator(dir.Path()))
            if (e.is_regular_file())
                out[e.path().string()] = ReadFile(e.path().string());
        return out;
    }
    // Renames the skill in the sheet that "編集" opens, then presses OK or Cancel.
    static void AnswerSkillSheet(const QString& name, bool ok)
    {
        QTimer::singleShot(0, [name, ok] {
            auto* dlg = qobject_cast<QDialog*>(CurrentModalDialog());
            ASSERT_NE(dlg, nullptr);
            EXPECT_EQ(dlg->windowTitle(), QStringLiteral("スキル"));
            auto* edit = dlg->findChildren<QLineEdit*>().front();  // "スキル名"
            edit->setFocus();
            edit->selectAll();
            TypeText(edit, name);
            for (QPushButton* b : dlg->findChildren<QPushButton*>())
                if (b->text() == (ok ? QStringLiteral("OK") : QStringLiteral("キャンセル"))) {
                    QTest::mouseClick(b, Qt::LeftButton);
                    return;
                }
            ADD_FAILURE() << "no button";
        });
    }

    PROP_DATABASE* sheet = nullptr;
};


TEST_F(SkillPageTest, ASkillEditedInItsSheetIsWrittenOnlyAfterOkAndTheSheetsOk)
{
    Project& p = TheProject();
    ASSERT_GE(p.m_SkillLists[0].m_Skills.size(), 2);
    const std::string before = p.m_SkillLists[0].m_Skills[1].m_Name;
    DLG_DBSKILLLIST* page = Open();
    ASSERT_NE(page, nullptr);
    QListWidget* skills = List(page, DLG_DBSKILLLIST::IDC_SKILLS);
    EXPECT_EQ(skills->count(), p.m_SkillLists[0].m_Skills.size());
    ClickLine(skills, 1);

    AnswerSkillSheet(QStringLiteral("豪火球"), false);
    Click(page, DLG_DBSKILLLIST::IDC_SKILL_EDIT);
    EXPECT_EQ(p.m_SkillLists[0].m_Skills[1].m_Name, before);

    AnswerSkillSheet(QStringLiteral("豪火球"), true);
    QTest::mouseDClick(skills->viewport(), Qt::LeftButton, Qt::NoModifier,
                       skills->visualItemRect(skills->item(1)).center());
    Pump();
    EXPECT_EQ(p.m_SkillLists[0].m_Skills[1].m_Name, SJ("豪火球"));
    EXPECT_TRUE(skills->item(1)->text().endsWith(QStringLiteral("豪火球")));

    SheetButton("sheetOk");
    RecordList<cSkillList> saved;
    ASSERT_EQ(LoadListFile(saved, ProjectFile::Skill), 1);
    EXPECT_EQ(saved[0].m_Skills[1].m_Name, SJ("豪火球"));
    EXPECT_TRUE(sink.texts.empty());
}

TEST_F(SkillPageTest, DeletingAGroupOrASkillRenumbersTheRest)
{
    Project& p = TheProject();
    DLG_DBSKILLLIST* page = Open();
    ASSERT_NE(page, nullptr);
    // A second group, so that the first can go.
    if (p.m_SkillLists.size() < 2) {
        ClickLine(List(page, IDC_DB_LIST), 0);
        Click(page, IDC_DB_NEW);
    }
    ASSERT_GE(p.m_SkillLists.size(), 2);
    const int groups = p.m_SkillLists.size();
    const std::string second = p.m_SkillLists[1].m_Name;
    ClickLine(List(page, IDC_DB_LIST), 0);
    Click(page, DLG_DBSKILLLIST::IDC_GROUP_DELETE);
    ASSERT_EQ(p.m_SkillLists.size(), groups - 1);
    EXPECT_EQ(p.m_SkillLists[0].m_Name, second);
    for (int g = 0; g < p.m_SkillLists.size(); ++g)
        EXPECT_EQ(p.m_SkillLists[g].m_nGroupNo, g);
    // The page shows the group now first, with its number.
    EXPECT_EQ(page->Current().m_nGroupNo, 0);

    // Skills: two inserted before the first, one deleted; numbers follow.
    ClickLine(List(page, IDC_DB_LIST), 0);
    QListWidget* skills = List(page, DLG_DBSKILLLIST::IDC_SKILLS);
    const int count = p.m_SkillLists[0].m_Skills.size();
    if (count > 0)
        ClickLine(skills, 0);
    Click(page, DLG_DBSKILLLIST::IDC_SKILL_INSERT);
    Click(page, DLG_DBSKILLLIST::IDC_SKILL_INSERT);
    ClickLine(skills, 0);
    Click(page, DLG_DBSKILLLIST::IDC_SKILL_DELETE);
    ASSERT_EQ(p.m_SkillLists[0].m_Skills.size(), count + 1);
    for (int s = 0; s < p.m_SkillLists[0].m_Skills.size(); ++s)
        EXPECT_EQ(p.m_SkillLists[0].m_Skills[s].m_nSkillNo, s);
    EXPECT_EQ(page->Current().m_Skills.size(), count + 1);
    SheetButton("sheetCancel");
    EXPECT_EQ(p.m_SkillLists.size(), groups);
}

TEST_F(SkillPageTest, MenuWordsAndScenesTheGroupLacksAreAddedOnlyWhenGiven)
{
    // A group stored with short lists: two organisation words, one scene.
    Project& p = TheProject();
    cSkillList& group = p.m_SkillLists[0];
    group.m_OrgMenu.items().resize(2);
    group.m_Scenes.assign(1, 0);
    DLG_DBSKILLLIST* page = Open();
    ASSERT_NE(page, nullptr);
    ClickLine(List(page, IDC_DB_LIST), 0);
    auto* word = qobject_cast<QLineEdit*>(page->Item(DLG_DBSKILLLIST::IDC_ORG_TEXT + 5));
    ASSERT_NE(word, nullptr);
    EXPECT_TRUE(word->isEnabled());
    EXPECT_TRUE(word->text().isEmpty());
    word->setFocus();
    TypeText(word, QStringLiteral("戻る"));
    Click(page, DLG_DBSKILLLIST::IDC_SCENE + 4);
    SheetButton("sheetOk");

    // The word given grows the menu to it; the entries between stay empty and
    // nothing beyond is added. The checked scene grows the list to every scene.
    ASSERT_EQ(group.m_OrgMenu.size(), 6);
    EXPECT_EQ(group.m_OrgMenu[5].m_Text, SJ("戻る"));
    EXPECT_TRUE(group.m_OrgMenu[3].m_Text.empty());
    ASSERT_EQ(group.m_Scenes.size(), static_cast<std::size_t>(kSkillSceneCount));
    EXPECT_EQ(group.m_Scenes[4], 1);
    EXPECT_EQ(group.m_Scenes[2], 0);
    EXPECT_TRUE(sink.texts.empty());
}

TEST_F(SkillPageTest, CsvButtonsExportAndImportTheSelectedGroup)
{
    Project& p = TheProject();
    ASSERT_GE(p.m_SkillLists[0].m_Skills.size(), 2);
    DLG_DBSKILLLIST* page = Open();
    ASSERT_NE(page, nullptr);
    sink.answer = Answer::Yes;
    // Unsaved edit before the export: the save of the first question writes it.
    ClickLine(List(page, DLG_DBSKILLLIST::IDC_SKILLS), 1);
    AnswerSkillSheet(QStringLiteral("剣舞"), true);
    Click(page, DLG_DBSKILLLIST::IDC_SKILL_EDIT);
    Click(page, DLG_DBSKILLLIST::IDC_CSV_SAVE);
    ASSERT_FALSE(sink.texts.empty());
    EXPECT_EQ(sink.texts.back(), SJ("保存完了！"));
    const std::string file = HostPath("csv\\Skill01.csv");
    ASSERT_TRUE(fs::exists(file));
    RecordList<cSkillList> saved;
    ASSERT_EQ(LoadListFile(saved, ProjectFile::Skill), 1);
    EXPECT_EQ(saved[0].m_Skills[1].m_Name, SJ("剣舞"));

    // The file edited: skill 1 renamed; the import changes the list.
    std::vector<uint8_t> bytes = ReadFile(file);
    std::string text(bytes.begin(), bytes.end());
    const std::string from = "\r\n1," + SJ("剣舞") + ",", to = "\r\n1," + SJ("雷鳴") + ",";
    std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, from.size(), to);
    WriteFile(file, std::vector<uint8_t>(text.begin(), text.end()));
    Click(page, DLG_DBSKILLLIST::IDC_CSV_LOAD);
    EXPECT_EQ(Cp932ToUtf8(sink.texts.back()).rfind("読み込み完了！", 0), 0u);
    EXPECT_EQ(p.m_SkillLists[0].m_Skills[1].m_Name, SJ("雷鳴"));
    QListWidget* skills = List(page, DLG_DBSKILLLIST::IDC_SKILLS);
    EXPECT_TRUE(skills->item(1)->text().endsWith(QStringLiteral("雷鳴")));
    EXPECT_EQ(page->Current().m_Skills[1].m_Name, SJ("雷鳴"));
    // Cancel goes back to the state the save before the import left.
    SheetButton("sheetCancel");
    EXPECT_EQ(p.m_SkillLists[0].m_Skills[1].m_Name, SJ("剣舞"));
}

TEST_F(SkillPageTest, EveryPageVisitedThenOkChangesNoByte)
{
    const auto before = Files();
    DLG_DBSKILLLIST* page = Open();
    ASSERT_NE(page, nullptr);
    QListWidget* groups = List(page, IDC_DB_LIST);
    for (int g = 0; g < groups->count(); ++g) {
        ClickLine(groups, g);
        QListWidget* skills = List(page, DLG_DBSKILLLIST::IDC_SKILLS);
        for (int s = 0; s < std::min(skills->count(), 3); ++s)
            ClickLine(skills, s);
    }
    for (int i = 0; i < 25; ++i) {
        sheet->SetCurrentPage(i);
        Pump();
    }
    SheetButton("sheetOk");
    EXPECT_EQ(DatabaseWindow(), nullptr);
    const auto after = Files();
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [path, bytes] : before)
        EXPECT_TRUE(after.at(path) == bytes) << path;
}

TEST_F(SkillPageTest, Screenshot)
{
    DLG_DBSKILLLIST* page = Open();
    ASSERT_NE(page, nullptr);
    ClickLine(List(page, DLG_DBSKILLLIST::IDC_SKILLS), 1);
    QImage shot = sheet->Widget()->grab().toImage();
    shot.save(QStringLiteral(VANTOR_BUILD_DIR "/tests/database_skill_page.png"));
    SheetButton("sheetCancel");
}

}  // namespace
