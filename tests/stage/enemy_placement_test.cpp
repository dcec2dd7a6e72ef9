// Placement and rule line texts, the chip palette's geometry and the
// movement-rule templates with their manager.
#include "stage/enemy_placement.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/text.h"
#include "database/land.h"
#include "records/tables.h"
#include "stage/chip_palette.h"
#include "tests/test_util.h"

namespace {

RecordList<cEnemy> Enemies()
{
    RecordList<cEnemy> list;
    list.resize(4);
    list[1].m_Name = SJ("山賊");
    list[1].m_nLevel = 3;
    list[2].m_Name = SJ("ゴブリンキング");  // 14 bytes: longer than the column
    list[2].m_nLevel = 12;
    list[3].m_Name = "Orc";
    list[3].m_nLevel = 7;
    return list;
}

cPutEnemy Placement(int enemy, int x, int y, bool group = false, int number = 0)
{
    cPutEnemy e;
    e.m_nEnemy = enemy;
    e.m_nX = x;
    e.m_nY = y;
    e.m_bGroup = group;
    e.m_nGroup = number;
    return e;
}

TEST(EnemyPlacementTest, LineTexts)
{
    const RecordList<cEnemy> enemies = Enemies();
    struct Case { cPutEnemy e; const char* line; };
    const Case cases[] = {
        {Placement(0, -1, -1), "(--,--) 未設定"},
        {Placement(0, 4, 5), "(4,5) 未設定"},
        // "山賊" is four bytes: four blanks fill the eight.
        {Placement(1, 2, 3), "グ- (2,3) 1-山賊     LV3 "},
        {Placement(1, -1, -1, true, 7), "グ7 (--,--) 1-山賊     LV3 "},
        {Placement(2, 10, 0, true, 100), "グ100 (10,0) 2-ゴブリンキング LV12 "},
        {Placement(3, 0, 0), "グ- (0,0) 3-Orc      LV7 "},
        // A group number kept while the flag is off does not show.
        {Placement(3, 0, 0, false, 9), "グ- (0,0) 3-Orc      LV7 "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Cp932ToUtf8(PutEnemyLine(c.e, enemies)), c.line);
}

TEST(EnemyPlacementTest, RuleTexts)
{
    struct Skills : FixedTableSource {
        std::string SkillName(int, int) const override { return SJ("ヒール"); }
    } tables;
    const TableSource* old = SetTableSource(&tables);
    cMoveAI wait;
    cMoveAI heal;
    heal.m_nRange = MoveAIRange::ActionRange;
    heal.m_nTarget = MoveAITarget::WeakestHpAlly;
    heal.m_nAction = MoveAIAction::Heal;
    heal.m_bConditions = 1;
    cMoveAI fight;
    fight.m_nRange = MoveAIRange::SelfAndAdjacent;
    fight.m_nTarget = MoveAITarget::NearestDestination;
    fight.m_nAction = MoveAIAction::Battle;
    EXPECT_EQ(Cp932ToUtf8(MoveAILine(wait)), "マップ全範囲内 で 最も近い味方 に 待機");
    EXPECT_EQ(Cp932ToUtf8(MoveAILine(heal)), "行動範囲内 で 最もHPが低い味方 に 回復(ヒール)   ※条件あり");
    EXPECT_EQ(Cp932ToUtf8(MoveAILine(fight)), "自分＋隣4マス内 で 最も近い目的地 に 戦闘");
    SetTableSource(old);
}

TEST(EnemyPlacementTest, Choices)
{
    std::vector<std::string> enemies = EnemyChoices(Enemies());
    ASSERT_EQ(enemies.size(), 4u);
    EXPECT_EQ(Cp932ToUtf8(enemies[0]), "未設定");
    EXPECT_EQ(Cp932ToUtf8(enemies[1]), "1-山賊");
    RecordList<cGroupPos> groups;
    groups.resize(2);
    groups[1].m_Positions.assign(5, CellPos{0, 0});
    std::vector<Choice> dest = DestinationChoices(groups);
    ASSERT_EQ(dest.size(), 2u);
    EXPECT_TRUE(dest[0].enabled);
    EXPECT_FALSE(dest[1].enabled);
}

TEST(ChipPaletteTest, Geometry)
{
    struct Case { int chips; int rows; int maximum; };
    // A client of two rows: the page is 2, so 3 rows scroll from 0 to 1 (the
    // last position shows rows 1 and 2).
    const Case cases[] = {{0, 1, 0}, {1, 1, 0}, {8, 1, 0}, {9, 2, 0}, {17, 3, 1}, {256, 32, 30}};
    for (const Case& c : cases) {
        EXPECT_EQ(PaletteRows(c.chips), c.rows) << c.chips;
        EXPECT_EQ(PaletteScrollRange(c.chips, 64).maximum, c.maximum) << c.chips;
    }
    // With one visible row, 17 chips scroll over rows 0 to 2.
    EXPECT_EQ(PaletteScrollRange(17, 32).maximum, 2);
    EXPECT_EQ(PaletteScrollRange(17, 32).page, 1);

    EXPECT_EQ(PaletteChipAt(0, 0, 0), 0);
    EXPECT_EQ(PaletteChipAt(255, 31, 0), 7);
    EXPECT_EQ(PaletteChipAt(33, 40, 0), 9);
    EXPECT_EQ(PaletteChipAt(33, 40, 2), 25);
    EXPECT_EQ(PaletteChipAt(256, 0, 0), -1);
    EXPECT_EQ(PaletteChipAt(-1, 0, 0), -1);
    // Below the last of 17 chips: a number beyond the count, which shows nothing.
    int below = PaletteChipAt(100, 2 * 32 + 5, 0);
    EXPECT_EQ(below, 19);
    EXPECT_EQ(ChipStatusText(below, 17, "x"), "");
    EXPECT_EQ(ChipStatusText(16, 17, "x"), "17 : x");

    // The height: all rows when they fit, else cut at the work area's bottom.
    EXPECT_EQ(PaletteClientHeight(17, 100, 8, 1000), 96);
    EXPECT_EQ(PaletteClientHeight(2000, 100, 8, 1000), 892);

    cLand land;
    land.m_Name = SJ("山");
    land.m_nMoveCost = 3;
    EXPECT_EQ(Cp932ToUtf8(ChipHoverText(0, 1, &land)), "1 : 山  移動コスト 3");
    land.m_bImpassable = 1;
    EXPECT_EQ(Cp932ToUtf8(ChipHoverText(0, 1, &land)), "1 : 山  移動コスト 3  通行不可");
    EXPECT_EQ(ChipHoverText(1, 1, &land), "");
}

RecordList<cMoveAI> Rules(int n)
{
    RecordList<cMoveAI> rules;
    rules.resize(n);
    for (int i = 0; i < n; ++i)
        rules[i].m_nSkill = i + 1;
    return rules;
}

RecordList<cMoveAITemplate> Templates(std::initializer_list<const char*> names)
{
    RecordList<cMoveAITemplate> list;
    for (const char* n : names) {
        cMoveAITemplate t;
        t.m_Name = n;
        t.m_MoveAI = Rules(1);
        list.push_back(t);
    }
    return list;
}

TEST(MoveAITemplateTest, LoadAndOverwriteAsk)
{
    RecordingSink sink;
    RecordList<cMoveAITemplate> templates = Templates({"a", "b"});
    templates[1].m_MoveAI = Rules(3);
    RecordList<cMoveAI> rules;

    EXPECT_EQ(LoadTemplateRules(templates, -1, rules), TemplateResult::NoSelection);
    EXPECT_EQ(Cp932ToUtf8(sink.texts.back()), "テンプレートが選択されていません！");
    // No rules yet: nothing is asked.
    sink.texts.clear();
    EXPECT_EQ(LoadTemplateRules(templates, 1, rules), TemplateResult::Done);
    EXPECT_TRUE(sink.texts.empty());
    EXPECT_EQ(rules.size(), 3);
    // With rules: asked; No keeps them.
    sink.answer = Answer::No;
    EXPECT_EQ(LoadTemplateRules(templates, 0, rules), TemplateResult::Declined);
    EXPECT_EQ(Cp932ToUtf8(sink.titles.back()), "移動AIテンプレートの読込");
    EXPECT_EQ(rules.size(), 3);
    sink.answer = Answer::Yes;
    EXPECT_EQ(LoadTemplateRules(templates, 0, rules), TemplateResult::Done);
    EXPECT_EQ(rules.size(), 1);

    int saves = 0;
    TemplateSaver save = [&](RecordList<cMoveAITemplate>&) { return ++saves, true; };
    sink.answer = Answer::No;
    EXPECT_EQ(OverwriteTemplate(templates, 1, Rules(2), save), TemplateResult::Declined);
    EXPECT_EQ(Cp932ToUtf8(sink.texts.back()), "「b」を上書きします。\nよろしいですか？\n");
    EXPECT_EQ(templates[1].m_MoveAI.size(), 3);
    EXPECT_EQ(saves, 0);
    sink.answer = Answer::Yes;
    EXPECT_EQ(OverwriteTemplate(templates, 1, Rules(2), save), TemplateResult::Done);
    EXPECT_EQ(templates[1].m_MoveAI.size(), 2);
    EXPECT_EQ(saves, 1);
}

TEST(MoveAITemplateTest, SaveFailureKeepsTemplates)
{
    TempDir dir;
    RecordingSink sink;
    sink.answer = Answer::Yes;
    RecordList<cMoveAITemplate> templates = Templates({"a"});
    // A folder where the file should be: the write fails.
    std::filesystem::create_directories("data/MoveAITemplate.dat");
    EXPECT_EQ(OverwriteTemplate(templates, 0, Rules(4), SaveTemplatesTo("data\\MoveAITemplate.dat")),
              TemplateResult::SaveFailed);
    EXPECT_EQ(Cp932ToUtf8(sink.texts.back()), "data\\MoveAITemplate.dat の保存に失敗しました！");
    EXPECT_EQ(templates[0].m_MoveAI.size(), 4);
}

TEST(MoveAITemplateTest, NewTemplateAndManager)
{
    RecordingSink sink;
    RecordList<cMoveAITemplate> templates = Templates({"a", "b", "c"});
    EXPECT_EQ(AppendTemplate(templates, RecordList<cMoveAI>()), TemplateResult::NoRules);
    EXPECT_EQ(templates.size(), 3);
    EXPECT_EQ(AppendTemplate(templates, Rules(2)), TemplateResult::Done);
    ASSERT_EQ(templates.size(), 4);

    // "new" mode opens on the appended template; Cancel takes it away again.
    {
        TemplateManager m(templates, true);
        EXPECT_EQ(m.Selection(), 3);
        m.Store("d", "desc");
        m.Cancel(templates);
        EXPECT_EQ(templates.size(), 3);
        EXPECT_EQ(templates[2].m_Name, "c");
    }
    // Manage mode: first selected; the names typed go with their template as
    // it moves; OK replaces the list and saves it.
    TemplateManager m(templates, false);
    EXPECT_EQ(m.Selection(), 0);
    EXPECT_FALSE(m.Up());
    m.Store("A", "first");
    EXPECT_TRUE(m.Down());
    EXPECT_EQ(m.Selection(), 1);
    EXPECT_TRUE(m.Down());
    EXPECT_FALSE(m.Down());
    EXPECT_EQ(m.Work()[2].m_Name, "A");
    EXPECT_EQ(m.Work()[2].m_Description, "first");
    m.Select(0);
    EXPECT_TRUE(m.Delete());
    EXPECT_EQ(m.Selection(), 0);
    EXPECT_EQ(m.Work().size(), 2);
    EXPECT_EQ(templates.size(), 3);  // a copy until OK
    int saves = 0;
    EXPECT_TRUE(m.Ok(templates, [&](RecordList<cMoveAITemplate>&) { return ++saves, true; }));
    ASSERT_EQ(templates.size(), 2);
    EXPECT_EQ(templates[0].m_Name, "c");
    EXPECT_EQ(templates[1].m_Name, "A");
    EXPECT_EQ(saves, 1);

    // The limit.
    RecordList<cMoveAITemplate> full;
    full.resize(kMaxMoveAITemplates);
    EXPECT_EQ(AppendTemplate(full, Rules(1)), TemplateResult::Full);
    EXPECT_EQ(Cp932ToUtf8(sink.texts.back()), "999個までしか保存できません！");
    EXPECT_EQ(full.size(), kMaxMoveAITemplates);
}

}  // namespace
