// The placement dialog's template buttons, the template manager's description
// limit and the movement rule dialog's enabling, driven as a user would.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>

#include "app/edit_rules.h"
#include "base/paths.h"
#include "base/text.h"
#include "project/project.h"
#include "stage/window/enemy_set_dialog.h"
#include "stage/window/move_ai_dialog.h"
#include "tests/gui/gui_util.h"
#include "tests/test_util.h"
#include "ui/qt_text.h"

namespace {

// The control of a dialog the test did not make (a nested modal one).
QWidget* ItemIn(QWidget* dialog, int id)
{
    for (QWidget* w : dialog->findChildren<QWidget*>())
        if (w->property("ctrlId").isValid() && w->property("ctrlId").toInt() == id)
            return w;
    return nullptr;
}

void ClickIn(DLG_CLASS& dlg, int id) { qobject_cast<QAbstractButton*>(dlg.Item(id))->click(); }

void Choose(DLG_CLASS& dlg, int id, int index)
{
    auto* combo = qobject_cast<QComboBox*>(dlg.Item(id));
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    Pump();
}

cMoveAI Rule(MoveAIAction action)
{
    cMoveAI r;
    r.m_nAction = action;
    return r;
}

class MoveAITest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProject();
        std::filesystem::create_directories("data");
        Project& p = TheProject();
        p.m_Enemies.resize(2);
        for (const char* name : {"A", "B"}) {
            cMoveAITemplate& t = p.m_MoveAITemplates.push_back(cMoveAITemplate());
            t.m_Name = name;
        }
        p.m_MoveAITemplates[0].m_MoveAI.push_back(Rule(MoveAIAction::Wait));
        p.m_MoveAITemplates[1].m_MoveAI.push_back(Rule(MoveAIAction::Battle));
        p.m_MoveAITemplates[1].m_MoveAI.push_back(Rule(MoveAIAction::Heal));
        placement.m_nEnemy = 1;
        placement.m_MoveAI.push_back(Rule(MoveAIAction::Wait));
    }
    void TearDown() override { ResetProject(); }
    static int RuleLines(DLG_CLASS& dlg) { return qobject_cast<QListWidget*>(dlg.Item(DLG_ENEMY_SET::IDC_RULES))->count(); }
    static std::vector<MoveAIAction> Actions(const RecordList<cMoveAI>& rules)
    {
        std::vector<MoveAIAction> out;
        for (int i = 0; i < rules.size(); ++i)
            out.push_back(rules[i].m_nAction);
        return out;
    }

    TempDir dir;
    RecordingSink sink;
    cPutEnemy placement;
};

TEST_F(MoveAITest, TemplateButtonsLoadOverwriteAndSaveNew)
{
    Project& p = TheProject();
    const std::string noSelection = SJ("テンプレートが選択されていません！");
    DLG_ENEMY_SET dlg(placement);
    std::string shownName;
    int shownSelection = -1;
    RunModal(dlg, [&] {
        auto* combo = qobject_cast<QComboBox*>(dlg.Item(DLG_ENEMY_SET::IDC_TEMPLATE));
        ASSERT_EQ(combo->count(), 2);
        EXPECT_EQ(combo->currentIndex(), -1);  // opens unselected

        // Load and overwrite without a template selected: the message, nothing else.
        for (int id : {int(DLG_ENEMY_SET::IDC_LOAD), int(DLG_ENEMY_SET::IDC_OVERWRITE)}) {
            sink.texts.clear();
            ClickIn(dlg, id);
            ASSERT_EQ(sink.texts.size(), 1u) << id;
            EXPECT_EQ(sink.texts[0], noSelection);
        }
        EXPECT_EQ(RuleLines(dlg), 1 + 1);  // one rule and the append line

        // Loading B over the existing rule asks; No keeps the rule, Yes takes B's two.
        Choose(dlg, DLG_ENEMY_SET::IDC_TEMPLATE, 1);
        sink.texts.clear();
        sink.answer = Answer::No;
        ClickIn(dlg, DLG_ENEMY_SET::IDC_LOAD);
        EXPECT_EQ(sink.texts.size(), 1u);
        EXPECT_EQ(RuleLines(dlg), 1 + 1);
        sink.answer = Answer::Yes;
        ClickIn(dlg, DLG_ENEMY_SET::IDC_LOAD);
        EXPECT_EQ(RuleLines(dlg), 2 + 1);
        EXPECT_EQ(Actions(dlg.Work().m_MoveAI), (std::vector{MoveAIAction::Battle, MoveAIAction::Heal}));

        // Overwriting A asks with its name and writes the file at once.
        Choose(dlg, DLG_ENEMY_SET::IDC_TEMPLATE, 0);
        sink.texts.clear();
        sink.answer = Answer::No;
        ClickIn(dlg, DLG_ENEMY_SET::IDC_OVERWRITE);
        ASSERT_EQ(sink.texts.size(), 1u);
        EXPECT_NE(sink.texts[0].find(SJ("「A」を上書きします。")), std::string::npos);
        EXPECT_EQ(p.m_MoveAITemplates[0].m_MoveAI.size(), 1);
        EXPECT_FALSE(std::filesystem::exists(HostPath(ProjectFile::MoveAITemplate)));
        sink.answer = Answer::Yes;
        ClickIn(dlg, DLG_ENEMY_SET::IDC_OVERWRITE);
        EXPECT_EQ(Actions(p.m_MoveAITemplates[0].m_MoveAI), (std::vector{MoveAIAction::Battle, MoveAIAction::Heal}));
        EXPECT_TRUE(std::filesystem::exists(HostPath(ProjectFile::MoveAITemplate)));

        // Save as new: the manager opens on the appended template; its OK
        // selects it in the combo.
        QTimer::singleShot(0, [&] {
            QDialog* m = CurrentModalDialog();
            ASSERT_NE(m, nullptr);
            EXPECT_EQ(m->windowTitle(), QStringLiteral("移動AIテンプレート"));
            auto* list = m->findChild<QListWidget*>();
            shownSelection = list->currentRow();
            auto* name = m->findChild<QLineEdit*>();
            name->setFocus();
            name->selectAll();
            TypeText(name, QStringLiteral("C"));
            shownName = FromQt(name->text());
            qobject_cast<QPushButton*>(ItemIn(m, IDC_OK))->click();
        });
        ClickIn(dlg, DLG_ENEMY_SET::IDC_SAVE_NEW);
        Pump();
        EXPECT_EQ(combo->count(), 3);
        EXPECT_EQ(combo->currentIndex(), 2);
        ClickIn(dlg, IDC_CANCEL);
    });
    EXPECT_EQ(dlg.Result(), 0);
    EXPECT_EQ(shownSelection, 2);
    EXPECT_EQ(shownName, "C");
    ASSERT_EQ(p.m_MoveAITemplates.size(), 3);
    EXPECT_EQ(p.m_MoveAITemplates[2].m_Name, "C");
    EXPECT_EQ(Actions(p.m_MoveAITemplates[2].m_MoveAI), (std::vector{MoveAIAction::Battle, MoveAIAction::Heal}));
    // Cancel leaves the placement as it was; the template writes stay.
    EXPECT_EQ(Actions(placement.m_MoveAI), std::vector{MoveAIAction::Wait});
}

TEST_F(MoveAITest, TemplateDescriptionHoldsTwoHundredFiftySixCharacters)
{
    struct Case {
        const char* name;
        QString typed;
        std::size_t keptChars, keptBytes;
    } cases[] = {
        {"single-byte", QString(300, QChar('a')), 256, 256},
        {"double-byte", QString(300, QChar(0x3042)), 256, 512},  // あ
        {"mixed", QString(200, QChar('a')) + QString(100, QChar(0x3042)), 256, 200 + 2 * 56},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TheProject().m_MoveAITemplates[0].m_Description.clear();
        DLG_MOVEAITEMPLATE manager(false);
        RunModal(manager, [&] {
            auto* edit = qobject_cast<QPlainTextEdit*>(manager.Item(DLG_MOVEAITEMPLATE::IDC_DESCRIPTION));
            ASSERT_NE(edit, nullptr);
            edit->setFocus();
            edit->insertPlainText(c.typed);  // a paste: cut to what fits
            Pump();
            EXPECT_EQ(edit->toPlainText().size(), qsizetype(c.keptChars));
            TypeText(edit, QStringLiteral("z"));  // one more typed character is refused
            EXPECT_EQ(edit->toPlainText().size(), qsizetype(c.keptChars));
            ClickIn(manager, IDC_OK);
        });
        const std::string& kept = TheProject().m_MoveAITemplates[0].m_Description;
        EXPECT_EQ(kept.size(), c.keptBytes);
        EXPECT_EQ(CountChars(kept), c.keptChars);
    }
}

TEST_F(MoveAITest, MoveAIEnablesWhatTheChoicesUse)
{
    using D = DLG_MOVEAI;
    const std::vector<int> skill = {D::IDC_SKILL_GROUP, D::IDC_SKILL};
    const std::vector<int> conditions = {D::IDC_SAME_GROUP, D::IDC_ONCE, D::IDC_STATUS, D::IDC_VARIABLE, D::IDC_MOVED,
                                         D::IDC_JUDGE};
    const std::vector<int> status = {D::IDC_STATUS_STAT, D::IDC_STATUS_VALUE, D::IDC_STATUS_PERCENT,
                                     D::IDC_STATUS_COMPARE};
    const std::vector<int> variable = {D::IDC_VARIABLE_NUMBER, D::IDC_VARIABLE_VALUE, D::IDC_VARIABLE_COMPARE};
    cMoveAI rule;
    D dlg(rule, {{"1-A", true}, {"2-B", false}});
    RunModal(dlg, [&] {
        auto enabled = [&](const std::vector<int>& ids, bool on) {
            for (int id : ids)
                EXPECT_EQ(dlg.Item(id)->isEnabled(), on) << id;
        };
        auto check = [&](int id, bool on) {
            auto* b = qobject_cast<QCheckBox*>(dlg.Item(id));
            if (b->isChecked() != on)
                b->click();
            Pump();
        };
        // Steps of a user, each followed by what must be usable.
        struct Step {
            const char* what;
            std::function<void()> act;
            bool skill, destination, conditions, status, variable;
        } steps[] = {
            {"opened", [] {}, false, false, false, false, false},
            {"回復", [&] { Choose(dlg, D::IDC_ACTION, int(MoveAIAction::Heal)); }, true, false, false, false, false},
            {"battle", [&] { Choose(dlg, D::IDC_ACTION, int(MoveAIAction::Battle)); }, false, false, false, false, false},
            {"target 10",
             [&] { Choose(dlg, D::IDC_TARGET, int(MoveAITarget::NearestDestination)); }, false, true, false, false, false},
            {"条件あり", [&] { check(D::IDC_CONDITIONS, true); }, false, true, true, false, false},
            {"status", [&] { check(D::IDC_STATUS, true); }, false, true, true, true, false},
            {"variable", [&] { check(D::IDC_VARIABLE, true); }, false, true, true, true, true},
            {"status off", [&] { check(D::IDC_STATUS, false); }, false, true, true, false, true},
            {"条件あり off: the checked variable's fields go too",
             [&] { check(D::IDC_CONDITIONS, false); }, false, true, false, false, false},
            {"条件あり again", [&] { check(D::IDC_CONDITIONS, true); }, false, true, true, false, true},
            {"target 0", [&] { Choose(dlg, D::IDC_TARGET, 0); }, false, false, true, false, true},
        };
        for (const Step& s : steps) {
            SCOPED_TRACE(s.what);
            s.act();
            enabled(skill, s.skill);
            enabled({D::IDC_DESTINATION}, s.destination);
            enabled(conditions, s.conditions);
            enabled(status, s.status);
            enabled(variable, s.variable);
        }
        ClickIn(dlg, IDC_CANCEL);
    });
    EXPECT_EQ(dlg.Result(), 0);
}

}  // namespace
