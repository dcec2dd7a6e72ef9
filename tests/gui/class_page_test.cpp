// The class page of the database window over the starter project: the
// normal-attack combos, the rows per element (also on the land page) after
// the element list changed, and a visit that must not change any file.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <map>

#include "app/startup.h"
#include "base/paths.h"
#include "base/text.h"
#include "database/usage.h"
#include "database/window/class_page.h"
#include "database/window/database_sheet.h"
#include "database/window/db_common.h"
#include "database/window/db_pages.h"
#include "database/window/list_dialogs.h"
#include "media/image_table.h"
#include "project/default_project.h"
#include "project/project.h"
#include "stage/window/main_window.h"
#include "tests/gui/database_fixture.h"
#include "tests/gui/gui_util.h"
#include "tests/test_util.h"
#include "ui/qt_text.h"
#include "ui/select_graphic.h"

namespace fs = std::filesystem;

namespace {

enum { kClassPage = 0, kLandPage = 5, kSystem4Page = 18 };

class ClassPageTest : public DatabaseWindowTest {
protected:
    PROP_DATABASE* Open()
    {
        main.SendCommand(40118);
        Pump();
        return DatabaseWindow();
    }
    static DLG_DBCLASS* ClassPage(PROP_DATABASE* s) { return static_cast<DLG_DBCLASS*>(s->DbPage(kClassPage)); }
    static void Click(DLG_CLASS* page, int id)
    {
        auto* b = qobject_cast<QAbstractButton*>(page->Item(id));
        ASSERT_NE(b, nullptr) << id;
        // A check box takes clicks on its box and label only: click the box.
        QPoint at = qobject_cast<QCheckBox*>(b) ? QPoint(6, b->height() / 2) : b->rect().center();
        QTest::mouseClick(b, Qt::LeftButton, {}, at);
        Pump();
    }
    static QComboBox* Combo(DLG_CLASS* page, int id) { return qobject_cast<QComboBox*>(page->Item(id)); }
    static void Choose(QComboBox* c, int index)
    {
        c->setCurrentIndex(index);
        emit c->activated(index);
        Pump();
    }
    // Clicks OK of the modal dialog the next click opens.
    static void AnswerOk(QString title)
    {
        QTimer::singleShot(0, [title] {
            QWidget* dlg = CurrentModalDialog();
            ASSERT_NE(dlg, nullptr);
            EXPECT_EQ(dlg->windowTitle(), title);
            for (auto* b : dlg->findChildren<QPushButton*>())
                if (b->text() == QStringLiteral("OK"))
                    QTest::mouseClick(b, Qt::LeftButton);
        });
    }
    std::map<std::string, std::vector<uint8_t>> ProjectFiles() const
    {
        std::map<std::string, std::vector<uint8_t>> files;
        for (const auto& e : fs::recursive_directory_iterator(dir.Path()))
            if (e.is_regular_file())
                files[e.path().string()] = ReadFile(e.path());
        return files;
    }

};


TEST_F(ClassPageTest, NormalAttackCombosFollowTheListAndTheNoAttackCheck)
{
    Project& p = TheProject();
    PROP_DATABASE* s = Open();
    ASSERT_NE(s, nullptr);
    DLG_DBCLASS* page = ClassPage(s);
    QComboBox* lists = Combo(page, DLG_DBCLASS::IDC_ATTACK_LIST);
    QComboBox* skills = Combo(page, DLG_DBCLASS::IDC_ATTACK_SKILL);

    // The mage attacks with the magic list's fire; the combo of skills lists
    // the skills of the chosen list, and choosing another list refills it.
    ClickLine(page, 3);
    ASSERT_EQ(lists->count(), p.m_SkillLists.size());
    EXPECT_EQ(lists->currentIndex(), 1);
    ASSERT_EQ(skills->count(), p.m_SkillLists[1].m_Skills.size());
    EXPECT_TRUE(skills->currentText().contains(QStringLiteral("ファイア")));
    Choose(lists, 0);
    ASSERT_EQ(skills->count(), p.m_SkillLists[0].m_Skills.size());
    EXPECT_TRUE(skills->itemText(3).contains(QStringLiteral("ボウ")));
    Choose(skills, 3);
    EXPECT_EQ(p.m_Classes[3].m_nAttackList, 0);
    EXPECT_EQ(p.m_Classes[3].m_nAttackSkill, 3);

    // "通常攻撃なし" disables both combos, on this class only.
    Click(page, DLG_DBCLASS::IDC_NO_ATTACK);
    EXPECT_EQ(p.m_Classes[3].m_bNoAttack, 1);
    EXPECT_FALSE(lists->isEnabled());
    EXPECT_FALSE(skills->isEnabled());
    ClickLine(page, 0);
    EXPECT_TRUE(lists->isEnabled());
    EXPECT_TRUE(skills->isEnabled());
    ClickLine(page, 3);
    EXPECT_FALSE(lists->isEnabled());
    Click(page, DLG_DBCLASS::IDC_NO_ATTACK);
    EXPECT_EQ(p.m_Classes[3].m_bNoAttack, 0);
    EXPECT_TRUE(lists->isEnabled());
    EXPECT_TRUE(skills->isEnabled());
    EXPECT_EQ(p.m_Classes[3].m_nAttackSkill, 3);

    // "一覧" picks from the character graphics and shows the 48 x 48 cell.
    int asked = -1;
    SetGraphicChooserForTests([&](int kind, int& value) {
        asked = kind;
        value = 7;
        return 1;
    });
    Click(page, DLG_DBCLASS::IDC_GRAPHIC_LIST);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(p.m_Classes[3].m_nGraphic, 7);
    EXPECT_EQ(qobject_cast<QLineEdit*>(page->Item(DLG_DBCLASS::IDC_GRAPHIC))->text(), QStringLiteral("7"));
    QPixmap preview = qobject_cast<QLabel*>(page->Item(DLG_DBCLASS::IDC_PREVIEW))->pixmap();
    EXPECT_EQ(preview.size(), QSize(48, 48));
    // The figure stands on the page: the sheet's transparent colour around it
    // is transparent in the preview, the figure itself opaque.
    QImage shown = preview.toImage().convertToFormat(QImage::Format_ARGB32);
    const Rgb key = ColorKey();
    const QRgb keyed = qRgb(key.r, key.g, key.b);
    int clear = 0, opaque = 0, keyShown = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb px = shown.pixel(x, y);
            (qAlpha(px) == 0 ? clear : opaque)++;
            keyShown += qAlpha(px) != 0 && (px & 0xFFFFFF) == (keyed & 0xFFFFFF);
        }
    EXPECT_EQ(shown.pixelColor(0, 0).alpha(), 0);
    EXPECT_GT(clear, 48 * 48 / 2);
    EXPECT_GT(opaque, 100);
    EXPECT_EQ(keyShown, 0);
    SheetButton(s, "sheetCancel");
    EXPECT_TRUE(sink.texts.empty());
}

TEST_F(ClassPageTest, AnElementAddedGivesTheClassAndLandPagesOneMoreRow)
{
    Project& p = TheProject();
    PROP_DATABASE* s = Open();
    ASSERT_NE(s, nullptr);
    DLG_DBCLASS* page = ClassPage(s);
    s->SetCurrentPage(kLandPage);
    Pump();
    auto* land = static_cast<DLG_DBLAND*>(s->DbPage(kLandPage));
    const int before = p.m_System.m_Elems.size();
    ASSERT_EQ(page->Resistances().Count(), before);
    ASSERT_EQ(land->Elements().Count(), before);

    // The element list is edited on another page: one more element, inserted
    // before the last one as "属性の種類" does.
    s->SetCurrentPage(kSystem4Page);
    Pump();
    DLG_ELEM elems(p.m_System.m_Elems);
    RunModal(elems, [&] {
        auto* list = qobject_cast<QListWidget*>(elems.Item(DLG_ELEM::IDC_LIST));
        list->setCurrentRow(before - 1);
        Pump();
        QTest::mouseClick(qobject_cast<QAbstractButton*>(elems.Item(DLG_ELEM::IDC_INSERT)), Qt::LeftButton);
        Pump();
        auto* name = qobject_cast<QLineEdit*>(elems.Item(DLG_ELEM::IDC_NAME));
        name->setFocus();
        TypeText(name, QStringLiteral("風"));
        Pump();
        QTest::mouseClick(qobject_cast<QAbstractButton*>(elems.Item(IDC_OK)), Qt::LeftButton);
    });
    ASSERT_EQ(p.m_System.m_Elems.size(), before + 1);

    // Each page shows the rows again when entered: the new element's name,
    // and the entry a save adds holding 100.
    struct {
        int index;
        const ElementRows* rows;
    } const pages[] = {{kClassPage, &page->Resistances()}, {kLandPage, &land->Elements()}};
    for (const auto& c : pages) {
        s->SetCurrentPage(c.index);
        Pump();
        ASSERT_EQ(c.rows->Count(), before + 1) << c.index;
        EXPECT_EQ(c.rows->Label(before - 1)->text(), QStringLiteral("風")) << c.index;
        EXPECT_TRUE(c.rows->Edit(before)->isVisible()) << c.index;
        EXPECT_EQ(c.rows->Edit(before)->text(), QStringLiteral("100")) << c.index;
    }
    SheetButton(s, "sheetApply");
    RecordList<cClass> classes;
    RecordList<cLand> lands;
    ASSERT_EQ(LoadListFile(classes, ProjectFile::Class), 1);
    ASSERT_EQ(LoadListFile(lands, ProjectFile::Land), 1);
    for (int i = 0; i < classes.size(); ++i) {
        ASSERT_EQ(classes[i].m_ElemResist.size(), static_cast<std::size_t>(before + 1)) << i;
        EXPECT_EQ(classes[i].m_ElemResist.back(), 100) << i;
    }
    for (int i = 0; i < lands.size(); ++i) {
        ASSERT_EQ(lands[i].m_ElemMod.size(), static_cast<std::size_t>(before + 1)) << i;
        EXPECT_EQ(lands[i].m_ElemMod.back(), 100) << i;
    }

    // A removed element hides its row again.
    p.m_System.m_Elems.resize(before);
    s->SetCurrentPage(kClassPage);
    Pump();
    EXPECT_EQ(page->Resistances().Count(), before);
    EXPECT_FALSE(page->Resistances().Edit(before)->isVisible());
    SheetButton(s, "sheetCancel");
    EXPECT_TRUE(sink.texts.empty());
}

TEST_F(ClassPageTest, EveryClassVisitedThenOkChangesNoFile)
{
    const auto before = ProjectFiles();
    PROP_DATABASE* s = Open();
    ASSERT_NE(s, nullptr);
    DLG_DBCLASS* page = ClassPage(s);
    auto* usage = qobject_cast<QListWidget*>(page->Item(DLG_DBCLASS::IDC_USAGE));
    const DatabaseView view = ProjectDatabaseView();
    int withUsage = 0;
    for (int i = 0; i < TheProject().m_Classes.size(); ++i) {
        ClickLine(page, i);
        // "使用箇所" follows the selection.
        std::vector<Usage> uses = FindClassUsage(view, i);
        ASSERT_EQ(usage->count(), static_cast<int>(uses.size())) << i;
        if (!uses.empty()) {
            EXPECT_EQ(usage->item(0)->text(), ToQt(UsageLine(view, uses[0]))) << i;
            ++withUsage;
        }
        // The sense and slot dialogs answered with OK leave the class as it was.
        AnswerOk(QStringLiteral("センス"));
        Click(page, DLG_DBCLASS::IDC_SENSE);
        AnswerOk(QStringLiteral("スロット"));
        Click(page, DLG_DBCLASS::IDC_SLOT);
    }
    EXPECT_GT(withUsage, 0);
    SheetButton(s, "sheetOk");
    ASSERT_EQ(DatabaseWindow(), nullptr);
    const auto after = ProjectFiles();
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [path, bytes] : before)
        EXPECT_TRUE(after.at(path) == bytes) << path;
    EXPECT_TRUE(sink.texts.empty());
}

TEST_F(ClassPageTest, Screenshot)
{
    PROP_DATABASE* s = Open();
    ClickLine(ClassPage(s), 0);
    QImage shot = s->Widget()->grab().toImage();
    EXPECT_EQ(shot.size(), QSize(971, 714));
    shot.save(QStringLiteral(VANTOR_BUILD_DIR "/tests/database_class_page.png"));
    SheetButton(s, "sheetCancel");
}

}  // namespace
