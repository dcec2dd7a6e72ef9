// The database's modal dialogs, driven directly: each edits a copy, Cancel
// leaves the record as it was and OK writes what was typed and chosen.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

#include "base/text.h"
#include "database/window/chara_dialogs.h"
#include "database/window/list_dialogs.h"
#include "database/window/skill_dialog.h"
#include "database/window/slot_dialogs.h"
#include "gui/gui_util.h"
#include "project/default_project.h"
#include "project/project.h"
#include "tests/test_util.h"

namespace {

void Click(DLG_CLASS& d, int id)
{
    auto* b = qobject_cast<QAbstractButton*>(d.Item(id));
    ASSERT_NE(b, nullptr) << id;
    // A check box takes clicks on its box and label only: click the box.
    QPoint at = qobject_cast<QCheckBox*>(b) ? QPoint(6, b->height() / 2) : b->rect().center();
    QTest::mouseClick(b, Qt::LeftButton, {}, at);
    Pump();
}

void Choose(DLG_CLASS& d, int id, int index)
{
    auto* c = qobject_cast<QComboBox*>(d.Item(id));
    ASSERT_NE(c, nullptr) << id;
    c->setCurrentIndex(index);
    emit c->activated(index);
    Pump();
}

void Type(DLG_CLASS& d, int id, const char* utf8)
{
    auto* e = qobject_cast<QLineEdit*>(d.Item(id));
    ASSERT_NE(e, nullptr) << id;
    e->setFocus();
    e->selectAll();
    TypeText(e, QString::fromUtf8(utf8));
    Pump();
}

void SelectLine(DLG_CLASS& d, int id, int line)
{
    auto* l = qobject_cast<QListWidget*>(d.Item(id));
    ASSERT_NE(l, nullptr) << id;
    l->setCurrentRow(line);
    Pump();
}

int ComboCount(DLG_CLASS& d, int id) { return qobject_cast<QComboBox*>(d.Item(id))->count(); }
bool Enabled(DLG_CLASS& d, int id) { return d.Item(id)->isEnabled(); }

// Two groups: 剣 (2 skills, 2 categories) and 魔法 (3 skills, 3 categories).
RecordList<cSkillList> Groups()
{
    RecordList<cSkillList> groups;
    const std::vector<std::vector<const char*>> skills = {{"斬る", "突く"}, {"炎", "氷", "雷"}};
    const std::vector<std::vector<const char*>> categs = {{"剣術", "体術"}, {"黒", "白", "赤"}};
    const char* names[] = {"剣", "魔法"};
    for (int g = 0; g < 2; ++g) {
        cSkillList& group = groups.emplace_back();
        group.m_Name = Utf8ToCp932(names[g]);
        for (const char* s : skills[g])
            group.m_Skills.emplace_back().m_Name = Utf8ToCp932(s);
        for (const char* c : categs[g])
            group.m_Categs.emplace_back().m_Name = Utf8ToCp932(c);
    }
    return groups;
}

TEST(DatabaseDialogs, SkillSheetWritesOnlyOnOk)
{
    cSkill skill;
    skill.m_Name = SJ("炎");
    skill.m_nCategory = 7;   // beyond the group's categories
    skill.m_nStockMax = 0;   // below its range
    skill.m_dSortNo = 12.5;
    const cSkill before = skill;
    SkillSheetChoices choices;
    choices.categories = {"a", "b"};
    choices.classes = {"c1", "c2"};
    choices.elements = {"e1"};
    choices.sounds = {"0", "1", "2"};

    // Shown, then OK without an edit: nothing changes, not even what lies out of range.
    {
        DLG_DBSKILL d(skill, choices);
        RunModal(d, [&] { Click(d, IDC_OK); });
        EXPECT_EQ(d.Result(), 1);
    }
    EXPECT_TRUE(skill.Equals(before));

    {
        DLG_DBSKILL d(skill, choices);
        RunModal(d, [&] {
            Type(d, DLG_DBSKILL::IDC_NAME, "氷");
            Type(d, DLG_DBSKILL::IDC_PRICE, "120");
            Click(d, IDC_CANCEL);
        });
    }
    EXPECT_TRUE(skill.Equals(before));

    {
        DLG_DBSKILL d(skill, choices);
        int askedKind = -1;
        d.chooseGraphic = [&](int kind, int& value) {
            askedKind = kind;
            value = 42;
            return 1;
        };
        RunModal(d, [&] {
            Type(d, DLG_DBSKILL::IDC_NAME, "氷");
            Type(d, DLG_DBSKILL::IDC_PRICE, "120");
            Type(d, DLG_DBSKILL::IDC_SUB_B + 2 * 8, "-35");
            Choose(d, DLG_DBSKILL::IDC_KIND, 9);
            Choose(d, DLG_DBSKILL::IDC_SOUND, 2);
            Click(d, DLG_DBSKILL::IDC_SELECT_EFFECT);
            Click(d, IDC_OK);
        });
        EXPECT_EQ(askedKind, 1);
    }
    EXPECT_EQ(skill.m_Name, SJ("氷"));
    EXPECT_EQ(skill.m_nPrice, 120);
    EXPECT_EQ(skill.m_SubEffectB[8], -35);
    EXPECT_EQ(skill.m_nKind, 9);
    EXPECT_EQ(skill.m_nSound, 2);
    EXPECT_EQ(skill.m_nEffect, 42);
    EXPECT_EQ(skill.m_nCategory, 7);
    EXPECT_EQ(skill.m_nStockMax, 0);
    EXPECT_EQ(skill.m_dSortNo, 12.5);
}

TEST(DatabaseDialogs, BattleRulesAndTheirConditions)
{
    RecordList<cSkillList> groups = Groups();
    RecordList<cBattleAI> rules;
    rules.emplace_back().m_nPriorityValue = 55;
    const RecordList<cBattleAI> before = rules;

    {
        DLG_BATTLEAI d(rules, groups);
        RunModal(d, [&] {
            Click(d, DLG_BATTLEAI::IDC_INSERT);
            Type(d, DLG_BATTLEAI::IDC_VALUE, "77");
            Click(d, IDC_CANCEL);
        });
    }
    EXPECT_EQ(rules.size(), 1);
    EXPECT_TRUE(rules[0].Equals(before[0]));

    bool attackDisables = false, skillEnables = false;
    int skillsOfGroup2 = 0;
    {
        DLG_BATTLEAI d(rules, groups);
        d.editCond = [](cBattleAICond& c) {
            c.m_nItem = BattleAIItem::Level;
            c.m_nValue = 5;
            return 1;
        };
        RunModal(d, [&] {
            Click(d, DLG_BATTLEAI::IDC_INSERT);  // before the selected rule
            attackDisables = !Enabled(d, DLG_BATTLEAI::IDC_GROUP) && !Enabled(d, DLG_BATTLEAI::IDC_SKILL);
            SelectLine(d, DLG_BATTLEAI::IDC_LIST, 1);
            Choose(d, DLG_BATTLEAI::IDC_ACTION, 1);
            skillEnables = Enabled(d, DLG_BATTLEAI::IDC_GROUP) && Enabled(d, DLG_BATTLEAI::IDC_SKILL);
            Choose(d, DLG_BATTLEAI::IDC_GROUP, 1);
            skillsOfGroup2 = ComboCount(d, DLG_BATTLEAI::IDC_SKILL);
            Choose(d, DLG_BATTLEAI::IDC_SKILL, 2);
            Click(d, DLG_BATTLEAI::IDC_COND_INSERT);
            Click(d, DLG_BATTLEAI::IDC_COND_EDIT);
            Click(d, IDC_OK);
        });
    }
    EXPECT_TRUE(attackDisables);
    EXPECT_TRUE(skillEnables);
    EXPECT_EQ(skillsOfGroup2, 3);
    ASSERT_EQ(rules.size(), 2);
    // A new rule: priority level 1, priority value 10, skill 1.
    EXPECT_EQ(rules[0].m_nPriorityLevel, 1);
    EXPECT_EQ(rules[0].m_nPriorityValue, 10);
    EXPECT_EQ(rules[0].m_nSkill, 1);
    EXPECT_EQ(rules[1].m_nAction, BattleAIAction::Skill);
    EXPECT_EQ(rules[1].m_nSkillGroup, 1);
    EXPECT_EQ(rules[1].m_nSkill, 2);
    EXPECT_EQ(rules[1].m_nPriorityValue, 55);
    ASSERT_EQ(rules[1].m_Conds.size(), 1);
    EXPECT_EQ(rules[1].m_Conds[0].m_nItem, BattleAIItem::Level);
    EXPECT_EQ(rules[1].m_Conds[0].m_nValue, 5);
    EXPECT_EQ(BattleAILine(rules[1], groups), SJ("スキル  魔法 の 雷  優先レベル1  優先値55"));
    EXPECT_EQ(BattleAICondLine(rules[1].m_Conds[0]), SJ("自分のレベルが5である"));
}

TEST(DatabaseDialogs, ConditionDialog)
{
    cBattleAICond cond;
    DLG_BATTLEAI_COND d(cond);
    RunModal(d, [&] {
        Choose(d, DLG_BATTLEAI_COND::IDC_SUBJECT, 1);
        Choose(d, DLG_BATTLEAI_COND::IDC_COMPARE, 3);
        Type(d, DLG_BATTLEAI_COND::IDC_VALUE, "50");
        Click(d, DLG_BATTLEAI_COND::IDC_PERCENT);
        Click(d, IDC_OK);
    });
    EXPECT_EQ(BattleAICondLine(cond), SJ("相手のHPが50％以下"));
}

TEST(DatabaseDialogs, LearnedSkills)
{
    RecordList<cSkillList> groups = Groups();
    RecordList<cLearnSkill> learn;
    int skillsShown = 0;
    DLG_LEARNSKILL d(learn, groups);
    RunModal(d, [&] {
        Click(d, DLG_LEARNSKILL::IDC_INSERT);
        Choose(d, DLG_LEARNSKILL::IDC_GROUP, 1);
        skillsShown = ComboCount(d, DLG_LEARNSKILL::IDC_SKILL);
        Choose(d, DLG_LEARNSKILL::IDC_SKILL, 2);
        Click(d, DLG_LEARNSKILL::IDC_INSERT);  // a second row before the first, at level 1
        SelectLine(d, DLG_LEARNSKILL::IDC_LIST, 1);
        Type(d, DLG_LEARNSKILL::IDC_LEVEL, "12");
        Click(d, IDC_OK);
    });
    EXPECT_EQ(skillsShown, 3);
    ASSERT_EQ(learn.size(), 2);
    EXPECT_EQ(learn[0].m_nLevel, 1);
    EXPECT_EQ(learn[1].m_nSkillList, 1);
    EXPECT_EQ(learn[1].m_nSkill, 2);
    EXPECT_EQ(learn[1].m_nLevel, 12);
}

TEST(DatabaseDialogs, SensesPerGroup)
{
    RecordList<cSkillList> groups = Groups();
    std::vector<std::vector<int32_t>> senses = {{1, 2}, {3, 4, 5}};
    {
        DLG_SENSE d(senses, groups);
        RunModal(d, [&] {
            Type(d, DLG_SENSE::IDC_VALUE, "50");
            Click(d, IDC_CANCEL);
        });
    }
    EXPECT_EQ(senses, (std::vector<std::vector<int32_t>>{{1, 2}, {3, 4, 5}}));

    std::string line;
    DLG_SENSE d(senses, groups);
    RunModal(d, [&] {
        Choose(d, DLG_SENSE::IDC_GROUP, 1);
        SelectLine(d, DLG_SENSE::IDC_LIST, 2);
        Type(d, DLG_SENSE::IDC_VALUE, "9");
        line = FromQt(qobject_cast<QListWidget*>(d.Item(DLG_SENSE::IDC_LIST))->item(2)->text());
        Choose(d, DLG_SENSE::IDC_GROUP, 0);
        Type(d, DLG_SENSE::IDC_VALUE, "120");  // beyond 99
        Click(d, IDC_OK);
    });
    EXPECT_EQ(line, SJ("3 赤  9"));
    EXPECT_EQ(senses, (std::vector<std::vector<int32_t>>{{99, 2}, {3, 4, 9}}));
}

TEST(DatabaseDialogs, ClassSlotsAndOneSlot)
{
    RecordList<cSkillList> groups = Groups();
    RecordList<cOrgSlotList> sets;
    sets.resize(2);
    sets[0].m_Slots.resize(1);
    const cOrgSlotList first = sets[0];
    {
        DLG_ORGSLOT d(sets, groups);
        d.editSlot = [](cSlot& slot, const RecordList<cCateg>& categs) {
            EXPECT_EQ(categs.size(), 3);  // the second group's
            slot.m_AcqConds.emplace_back().m_nCategory = 2;
            return 1;
        };
        RunModal(d, [&] {
            Choose(d, DLG_ORGSLOT::IDC_GROUP, 1);
            EXPECT_FALSE(Enabled(d, DLG_ORGSLOT::IDC_EDIT));
            Click(d, DLG_ORGSLOT::IDC_OWN);
            Click(d, DLG_ORGSLOT::IDC_INSERT);
            Click(d, DLG_ORGSLOT::IDC_EDIT);
            EXPECT_EQ(FromQt(qobject_cast<QListWidget*>(d.Item(DLG_ORGSLOT::IDC_LIST))->item(0)->text()),
                      SJ("1 赤"));
            Click(d, IDC_OK);
        });
    }
    EXPECT_TRUE(sets[0].Equals(first));
    EXPECT_EQ(sets[1].m_bOwnSlots, 1);
    ASSERT_EQ(sets[1].m_Slots.size(), 1);
    ASSERT_EQ(sets[1].m_Slots[0].m_AcqConds.size(), 1);

    // One slot: unchecking drops a category, checking appends one, and an
    // entry beyond the categories stays.
    cSlot slot;
    for (int c : {2, 0, 9})
        slot.m_AcqConds.emplace_back().m_nCategory = c;
    DLG_SLOT d(slot, groups[1].m_Categs);
    RunModal(d, [&] {
        auto* list = qobject_cast<QListWidget*>(d.Item(DLG_SLOT::IDC_CATEGS));
        ASSERT_EQ(list->count(), 3);
        EXPECT_EQ(list->item(2)->checkState(), Qt::Checked);
        list->item(0)->setCheckState(Qt::Unchecked);
        list->item(1)->setCheckState(Qt::Checked);
        Type(d, DLG_SLOT::IDC_SYMBOL, "4");
        Click(d, IDC_OK);
    });
    std::vector<int> conds;
    for (const cAcqCond& c : slot.m_AcqConds)
        conds.push_back(c.m_nCategory);
    EXPECT_EQ(conds, (std::vector<int>{2, 9, 1}));
    EXPECT_EQ(slot.m_nEmptySymbol, 4);
}

TEST(DatabaseDialogs, ElementsAndCategories)
{
    RecordList<cElem> elems;
    elems.emplace_back().m_Name = SJ("火");
    elems.emplace_back().m_Name = SJ("水");
    elems[1].m_nValue = 8;  // carried, never edited
    {
        DLG_ELEM d(elems);
        RunModal(d, [&] {
            SelectLine(d, DLG_ELEM::IDC_LIST, 1);
            Click(d, DLG_ELEM::IDC_INSERT);
            Type(d, DLG_ELEM::IDC_NAME, "風");
            Click(d, IDC_OK);
        });
    }
    ASSERT_EQ(elems.size(), 3);
    EXPECT_EQ(elems[1].m_Name, SJ("風"));
    EXPECT_EQ(elems[2].m_Name, SJ("水"));
    EXPECT_EQ(elems[2].m_nValue, 8);

    // Delete on the focused list removes the selected element.
    RecordList<cElem> three = elems;
    {
        DLG_ELEM d(three);
        RunModal(d, [&] {
            SelectLine(d, DLG_ELEM::IDC_LIST, 0);
            QWidget* list = d.Item(DLG_ELEM::IDC_LIST);
            list->setFocus();
            QTest::keyClick(list, Qt::Key_Delete);
            Pump();
            Click(d, IDC_OK);
        });
    }
    ASSERT_EQ(three.size(), 2);
    EXPECT_EQ(three[0].m_Name, SJ("風"));

    // The last element cannot be deleted.
    RecordList<cElem> one;
    one.emplace_back().m_Name = SJ("火");
    {
        DLG_ELEM d(one);
        RunModal(d, [&] {
            Click(d, DLG_ELEM::IDC_DELETE);
            Click(d, IDC_OK);
        });
    }
    EXPECT_EQ(one.size(), 1);

    RecordList<cCateg> categs = Groups()[0].m_Categs;
    DLG_CATEG d(categs);
    RunModal(d, [&] {
        SelectLine(d, DLG_CATEG::IDC_LIST, 1);
        Type(d, DLG_CATEG::IDC_RATE, "1.5");
        Type(d, DLG_CATEG::IDC_SYMBOL, "3");
        Click(d, IDC_OK);
    });
    EXPECT_EQ(categs[1].m_dRate, 1.5);
    EXPECT_EQ(categs[1].m_nSymbol, 3);
    EXPECT_EQ(categs[0].m_nSymbol, 0);
}

}  // namespace

namespace {

template <class T>
bool SameList(const RecordList<T>& a, const RecordList<T>& b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i)
        if (!a[i].Equals(b[i]))
            return false;
    return true;
}

// Shows a dialog and presses OK without touching anything.
void ShowAndOk(DLG_CLASS& d) { RunModal(d, [&] { Click(d, IDC_OK); }); }

// Every dialog over every record of the starter project, shown and closed with
// OK untouched: nothing changes. The skill sheet is saved as an image for a look.
TEST(DatabaseDialogs, ShowingTheSampleChangesNothing)
{
    TempDir dir;
    ASSERT_TRUE(WriteDefaultProject(dir.Path().string()));
    ResetProject();
    ASSERT_TRUE(LoadProject());
    Project& p = TheProject();
    ASSERT_GT(p.m_SkillLists.size(), 0);

    bool shot = false;
    for (int g = 0; g < p.m_SkillLists.size(); ++g) {
        SkillSheetChoices choices = SkillSheetChoices::FromProject(g);
        for (int s = 0; s < p.m_SkillLists[g].m_Skills.size(); ++s) {
            cSkill skill = p.m_SkillLists[g].m_Skills[s];
            DLG_DBSKILL d(skill, choices);
            RunModal(d, [&] {
                if (!shot)
                    shot = d.Widget()->grab().save(QStringLiteral(VANTOR_BUILD_DIR "/skill_sheet.png"));
                Click(d, IDC_OK);
            });
            EXPECT_TRUE(skill.Equals(p.m_SkillLists[g].m_Skills[s])) << g << "/" << s;
        }
        RecordList<cCateg> categs = p.m_SkillLists[g].m_Categs;
        DLG_CATEG c(categs);
        ShowAndOk(c);
        EXPECT_TRUE(SameList(categs, p.m_SkillLists[g].m_Categs));
    }
    EXPECT_TRUE(shot);
    for (const cClass& cls : p.m_Classes) {
        cClass copy = cls;
        DLG_SENSE sense(copy.m_Senses, p.m_SkillLists);
        ShowAndOk(sense);
        DLG_ORGSLOT orgSlots(copy.m_SlotSets, p.m_SkillLists);
        ShowAndOk(orgSlots);
        EXPECT_TRUE(copy.Equals(cls));
    }
    for (const cFriend& f : p.m_Friends) {
        RecordList<cLearnSkill> learn = f.m_LearnSkills;
        DLG_LEARNSKILL d(learn, p.m_SkillLists);
        ShowAndOk(d);
        EXPECT_TRUE(SameList(learn, f.m_LearnSkills));
    }
    for (const cEnemy& e : p.m_Enemies) {
        RecordList<cBattleAI> rules = e.m_BattleAI;
        DLG_BATTLEAI d(rules, p.m_SkillLists);
        ShowAndOk(d);
        EXPECT_TRUE(SameList(rules, e.m_BattleAI));
        RecordList<cLearnSkill> learn = e.m_LearnSkills;
        DLG_LEARNSKILL l(learn, p.m_SkillLists);
        ShowAndOk(l);
        EXPECT_TRUE(SameList(learn, e.m_LearnSkills));
    }
    RecordList<cElem> elems = p.m_System.m_Elems;
    DLG_ELEM d(elems);
    ShowAndOk(d);
    EXPECT_TRUE(SameList(elems, p.m_System.m_Elems));
    ResetProject();
}

}  // namespace
