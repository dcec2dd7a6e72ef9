#include "database/csv.h"

#include <gtest/gtest.h>

#include <functional>

#include "base/text.h"
#include "database/skill.h"
#include "tests/database/record_check.h"
#include "tests/test_util.h"

namespace {

std::string U(const std::string& utf8) { return Utf8ToCp932(utf8); }

// Skill 0 (never exported), a skill with a comma in its name, negative and
// real values, and a new skill as the constructor makes it.
cSkillList ThreeSkills()
{
    cSkillList g;
    g.m_nGroupNo = 0;
    g.m_Name = U("剣技");
    g.m_Skills.resize(3);
    g.m_Skills[0].m_Name = U("ダミー");
    cSkill& a = g.m_Skills[1];
    a.m_Name = U("炎,弾");
    a.m_Description = U("敵一体に火の玉");
    a.m_nPrice = 1200;
    a.m_nStockMax = 10;
    a.m_nSpCost = 15;
    a.m_nUseLimit = 20;
    a.m_nRequiredSense = 3;
    a.m_nLearnChance = 40;
    a.m_dLearnSenseBonus = 2.5;
    a.m_nLearnLevelMin = 5;
    a.m_nLearnLevelMax = 30;
    a.m_dLearnLevelSense = 0.5;
    a.m_dSortNo = 12.5;
    a.m_nRankMin = 1;
    a.m_nRankMax = 999;
    a.m_nRarity = 7;
    a.m_nElementValue = -12;
    a.m_nHitRate = 95;
    a.m_nEffectValue = -1500;
    a.m_nDamageRate = 120;
    a.m_nCriticalRate = 5;
    a.m_SubEffectA = {1, -2, 3, 0, 0, 0, 0, 0, -999999};
    a.m_SubEffectB = {0, 0, 0, 0, 0, 0, 0, 0, 999999};
    a.m_nScale = 150;
    a.m_byOpacity = 128;
    g.m_Skills[2].m_Name = U("回復");
    return g;
}

std::string Exported(const cSkillList& g)
{
    CsvTable table;
    EXPECT_TRUE(WriteSkillCsv(g, table));
    return CsvText(table);
}

bool Import(cSkillList& g, const std::string& text)
{
    CsvTable table;
    EXPECT_TRUE(ParseCsvText(text, table));
    return ReadSkillCsv(g, table);
}

TEST(Csv, SkillExportWritesTheFileByteForByte)
{
    std::string zeros9 = "0,0,0,0,0,0,0,0,0";
    std::string lines[] = {
        "テキストエディタではなくExcelで編集してください。",
        "※データ行より上（設定値以外）は原則編集禁止。データが読み込めなくなる可能性があります。",
        "",
        "データタイプ",
        "スキル01",
        "",
        "ヒント→,,,0なら売却不可,,,,,,,,,,店用,,,,防具タイプのみ有効,,,,,"
        "ここから「サブ効果A」枠。スキルの対象への追加効果（武器防具タイプなら自分）,,,,,,,,,"
        "ここから「サブ効果B」枠。オート戦闘で「装備」時のみ上昇,,,,,,,,,,255で完全に不透明,"
        "ただのメモ欄。ゲームにもエディターにも表示されない。",
        "制限→,8文字まで,38文字まで,0～999999,0～99,0～999,0～99,0～99,0～100,0.0～100.0,0～100,0～100,"
        "0.0～100.0,0.00～999.99,0～999,0～999,0～100,-999～999,0～999,-999999～999999,0～999,0～999,"
        "-999999～999999,-999999～999999,-999999～999999,-999999～999999,-999999～999999,-999999～999999,"
        "-999999～999999,-999999～999999,-999999～999999,-999999～999999,-999999～999999,-999999～999999,"
        "-999999～999999,-999999～999999,-999999～999999,-999999～999999,-999999～999999,-999999～999999,"
        "1～900,0～255,",
        "No.,スキル名_d,説明_d,値段_d,最大所持数_d,消費SP_d,回数制限_d,必要センス_d,習得確率(%)_d,"
        "センスによる習得確率の補正（＋センス×N）_d,習得LV（最小）_d,習得LV（最大）_d,"
        "センスによる習得LVの補正（－センス×N）_d,ソート番号_d,ランク（最小）_d,ランク（最大）_d,レアリティ_d,"
        "属性値_d,命中率(%)_d,効果値_d,ダメージ修正(%)_d,必殺率(%)_d,"
        "A-HP_d,A-SP_d,A-攻撃_d,A-守備_d,A-魔力_d,A-抵抗_d,A-技能_d,A-反応_d,A-敏捷_d,"
        "B-HP_d,B-SP_d,B-攻撃_d,B-守備_d,B-魔力_d,B-抵抗_d,B-技能_d,B-反応_d,B-敏捷_d,拡大率(%)_d,透明度_d,Memo",
        "1,\"炎,弾\",敵一体に火の玉,1200,10,15,20,3,40,2.5,5,30,0.5,12.50,1,999,7,-12,95,-1500,120,5,"
        "1,-2,3,0,0,0,0,0,-999999,0,0,0,0,0,0,0,0,999999,150,128,",
        "2,回復,,0,99,0,50,1,0,0.0,0,0,0.0,0.00,0,0,0,0,100,0,100,0," + zeros9 + "," + zeros9 + ",200,255,",
    };
    std::string expected;
    for (const std::string& line : lines)
        expected += U(line) + "\r\n";
    std::string text = Exported(ThreeSkills());
    EXPECT_EQ(text, expected);
    // The tilde and the arrow as the file holds them.
    EXPECT_NE(text.find("\x81\x60"), std::string::npos);
    EXPECT_NE(text.find("\x81\xA8"), std::string::npos);
    EXPECT_EQ(SkillCsvColumns().size(), 42u);

    cSkillList later = ThreeSkills();
    later.m_nGroupNo = 11;
    EXPECT_EQ(SkillCsvPath(later), "csv\\Skill12.csv");
    EXPECT_EQ(SkillCsvDataType(later), U("スキル12"));
}

TEST(Csv, ExportThenImportGivesTheSameRecords)
{
    cSkillList g = ThreeSkills();
    // Texts that trip a careless tokenizer: a trail byte 0x81 before '@', inner
    // ideographic spaces, a quote not at the start.
    g.m_Skills[2].m_Description = U("ア　メ@");
    g.m_Skills[2].m_Name = U("回\"復\"");
    g.m_Skills[2].m_dSortNo = 999.99;
    g.m_Skills[2].m_dLearnSenseBonus = 100.0;
    g.m_Skills[2].m_byOpacity = 0;
    g.m_Skills[2].m_nScale = 1;
    std::string text = Exported(g);

    cSkillList back = ThreeSkills();
    for (int i = 1; i < 3; ++i) {
        cSkill& s = back.m_Skills[i];
        s.m_Name = "x";
        s.m_nPrice = 7;
        s.m_dSortNo = 1.0;
        s.m_SubEffectA.fill(5);
        s.m_SubEffectB.fill(6);
        s.m_byOpacity = 9;
    }
    RecordingSink sink;
    EXPECT_TRUE(Import(back, text));
    EXPECT_TRUE(sink.texts.empty());
    EXPECT_TRUE(back.Equals(g));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Body(back.m_Skills[i]), Body(g.m_Skills[i])) << i;

    // A group of skill 0 alone: no data rows, and reading them back succeeds.
    cSkillList single;
    single.m_Skills.resize(1);
    std::string empty = Exported(single);
    EXPECT_EQ(empty.substr(empty.size() - 6), "Memo\r\n");
    cSkillList again = single;
    EXPECT_TRUE(Import(again, empty));
    EXPECT_TRUE(again.Equals(single));
}

// The exported file of ThreeSkills as rows of cells, to edit by position.
// Row 8 is the header, rows 9 and 10 the data of skills 1 and 2.
struct Edit {
    const char* what;
    std::function<void(CsvTable&, std::string& tail)> change;
    bool ok;
    std::vector<std::string> messages;  // UTF-8
    std::function<void(const cSkillList&)> check;
};

constexpr int kHeader = 8;
int Col(const char* utf8name)
{
    const CsvColumns& c = SkillCsvColumns();
    for (std::size_t i = 0; i < c.size(); ++i)
        if (c[i].name == U(utf8name))
            return static_cast<int>(i) + 1;
    ADD_FAILURE() << "no column " << utf8name;
    return 0;
}

TEST(Csv, ImportCorrectsCellsAndRefusesBrokenFiles)
{
    const std::string kRange = "」が定められた範囲にありません。値は「";
    const Edit edits[] = {
        {"full-width digits", [](CsvTable& t, std::string&) { t.rows[9][Col("値段_d")] = U("１０００"); }, true, {},
         [](const cSkillList& g) { EXPECT_EQ(g.m_Skills[1].m_nPrice, 1000); }},
        {"a full-width comma ends the number",
         [](CsvTable& t, std::string&) { t.rows[9][Col("値段_d")] = U("１，０００"); }, true, {},
         [](const cSkillList& g) { EXPECT_EQ(g.m_Skills[1].m_nPrice, 1); }},
        {"full-width minus and point in a real",
         [](CsvTable& t, std::string&) { t.rows[10][Col("ソート番号_d")] = U("１２．２５"); t.rows[10][Col("属性値_d")] = U("－３"); },
         true, {},
         [](const cSkillList& g) {
             EXPECT_EQ(g.m_Skills[2].m_dSortNo, 12.25);
             EXPECT_EQ(g.m_Skills[2].m_nElementValue, -3);
         }},
        {"opacity above a byte's range", [](CsvTable& t, std::string&) { t.rows[9][Col("透明度_d")] = "300"; }, true,
         {"「炎,弾」の「透明度_d" + kRange + "255」になります。"},
         [](const cSkillList& g) { EXPECT_EQ(g.m_Skills[1].m_byOpacity, 255); }},
        {"whole numbers too wide for an int",
         [](CsvTable& t, std::string&) {
             t.rows[9][Col("効果値_d")] = "99999999999";
             t.rows[10][Col("効果値_d")] = U("－99999999999");
             t.rows[10][Col("拡大率(%)_d")] = "0";
         },
         true,
         {"「炎,弾」の「効果値_d" + kRange + "999999」になります。",
          "「回復」の「効果値_d" + kRange + "-999999」になります。",
          "「回復」の「拡大率(%)_d" + kRange + "1」になります。"},
         [](const cSkillList& g) {
             EXPECT_EQ(g.m_Skills[1].m_nEffectValue, 999999);
             EXPECT_EQ(g.m_Skills[2].m_nEffectValue, -999999);
             EXPECT_EQ(g.m_Skills[2].m_nScale, 1);
         }},
        {"a real out of range",
         [](CsvTable& t, std::string&) { t.rows[10][Col("センスによる習得確率の補正（＋センス×N）_d")] = "150.5"; }, true,
         {"「回復」の「センスによる習得確率の補正（＋センス×N）_d" + kRange + "100.000000」になります。"},
         [](const cSkillList& g) { EXPECT_EQ(g.m_Skills[2].m_dLearnSenseBonus, 100.0); }},
        {"a name of ten characters, then its price: the new name in the second message",
         [](CsvTable& t, std::string&) {
             t.rows[9][Col("スキル名_d")] = U("あいうえおかきくけこ");
             t.rows[9][Col("値段_d")] = "-1";
         },
         true,
         {"「炎,弾」の「スキル名_d」の文字数がオーバーしています。値は「あいうえおかきく」になります。",
          "「あいうえおかきく」の「値段_d" + kRange + "0」になります。"},
         [](const cSkillList& g) { EXPECT_EQ(g.m_Skills[1].m_Name, U("あいうえおかきく")); }},
        {"a renamed header is ignored",
         [](CsvTable& t, std::string&) {
             t.rows[kHeader][Col("値段_d")] = U("値段");
             t.rows[9][Col("値段_d")] = "5";
         },
         true, {}, [](const cSkillList& g) { EXPECT_EQ(g.m_Skills[1].m_nPrice, 1200); }},
        {"the memo is ignored",
         [](CsvTable& t, std::string&) { t.rows[9][Col("Memo")] = U("何でも, \"書ける\""); }, true, {},
         [](const cSkillList& g) { EXPECT_TRUE(g.Equals(ThreeSkills())); }},
        {"row 1 cut short after the price stops every later column",
         [](CsvTable& t, std::string&) {
             t.rows[9].resize(Col("値段_d") + 1);
             t.rows[9][Col("値段_d")] = "77";
             t.rows[10][Col("値段_d")] = "88";
             t.rows[10][Col("消費SP_d")] = "9";
             t.rows[10][Col("透明度_d")] = "1";
         },
         true, {},
         [](const cSkillList& g) {
             EXPECT_EQ(g.m_Skills[1].m_nPrice, 77);
             EXPECT_EQ(g.m_Skills[2].m_nPrice, 88);
             EXPECT_EQ(g.m_Skills[1].m_nSpCost, 15);
             EXPECT_EQ(g.m_Skills[2].m_nSpCost, 0);
             EXPECT_EQ(g.m_Skills[2].m_byOpacity, 255);
         }},
        {"a trailing empty line", [](CsvTable&, std::string& tail) { tail = "\r\n"; }, false,
         {"不正なファイルです。「No.」列が1列目にないかデータ番号が昇順（1～X）に並んでいない可能性があります。"}, nullptr},
        {"numbers 1, 2, 4",
         [](CsvTable& t, std::string&) { t.rows.push_back(t.rows[10]); t.rows[11][0] = "4"; }, false,
         {"不正なファイルです。「No.」列が1列目にないかデータ番号が昇順（1～X）に並んでいない可能性があります。"}, nullptr},
        {"one row too many", [](CsvTable& t, std::string&) { t.rows.push_back(t.rows[10]); t.rows[11][0] = "3"; },
         false, {"不正なファイルです。データ数が一致しません。（csvファイルのデータ 3個 ≠ ゲームのデータ 2個）"}, nullptr},
        {"the second group's file", [](CsvTable& t, std::string&) { t.rows[4][0] = U("スキル02"); }, false,
         {"不正なファイルです。データタイプのセルが不正です。"}, nullptr},
        {"no number header", [](CsvTable& t, std::string&) { t.rows[kHeader][0] = "No"; }, false,
         {"不正なファイルです。「No.」セルがありません。"}, nullptr},
    };
    for (const Edit& e : edits) {
        SCOPED_TRACE(e.what);
        CsvTable table;
        ASSERT_TRUE(ParseCsvText(Exported(ThreeSkills()), table));
        std::string tail;
        e.change(table, tail);
        cSkillList g = ThreeSkills();
        RecordingSink sink;
        EXPECT_EQ(Import(g, CsvText(table) + tail), e.ok);
        std::vector<std::string> expected;
        for (const std::string& m : e.messages)
            expected.push_back(U(m));
        EXPECT_EQ(sink.texts, expected);
        for (const std::string& title : sink.titles)
            EXPECT_EQ(title, U("CSVファイルの読込"));
        if (!e.ok) {
            EXPECT_TRUE(g.Equals(ThreeSkills()));
        }
        if (e.check)
            e.check(g);
    }
}

TEST(Csv, TokenizerSplitsLinesAndCells)
{
    using Rows = std::vector<std::vector<std::string>>;
    const std::string longCell(5000, 'x');
    const struct {
        const char* what;
        std::string text;
        Rows rows;
    } cases[] = {
        {"quoted comma", "a,\"b,c\",d\r\n", {{"a", "b,c", "d"}}},
        {"doubled quotes", "\"he said \"\"hi\"\"\",x\n", {{"he said \"hi\"", "x"}}},
        {"text after the closing quote", "\"ab\"cd,e", {{"abcd", "e"}}},
        {"unterminated quote", "\"open,end", {{"open,end"}}},
        {"a quote inside a bare cell stays", "a\"b,c", {{"a\"b", "c"}}},
        {"trims half-width and ideographic spaces", "  a  ,\x81\x40\x81\x40" "b\x81\x40, \x81\x40 ",
         {{"a", "b", ""}}},
        {"a trail byte 0x81 before '@' is no space", "\x83\x81\x40,\x83\x81\x40 ", {{"\x83\x81\x40", "\x83\x81\x40"}}},
        {"an empty line is one empty cell, a trailing comma one more", "\r\na,\r\n", {{""}, {"a", ""}}},
        {"no row after the last line end, a last line without one", "a\nb", {{"a"}, {"b"}}},
        {"a lone CR is text", "a\rb\r\n", {{"a\rb"}}},
        {"a NUL ends the line's text", std::string("ab\0c,d\ne", 8), {{"ab"}, {"e"}}},
        {"a long line", longCell + "," + longCell + "\r\n", {{longCell, longCell}}},
        {"nothing", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CsvTable table;
        EXPECT_TRUE(ParseCsvText(c.text, table));
        EXPECT_EQ(table.rows, c.rows);
    }
    // Text written for a cell with a comma is quoted without doubling inner quotes.
    CsvTable table{{{"a,\"b\"", "c\"d"}}};
    EXPECT_EQ(CsvText(table), "\"a,\"b\"\",c\"d\r\n");

    // A flood of empty cells is refused instead of filling memory.
    CsvTable flood;
    EXPECT_FALSE(ParseCsvText(std::string(kCsvCellLimit + 1, ','), flood));
    EXPECT_TRUE(flood.rows.empty());
}

TEST(Csv, FilesAreCreatedOnlyWhenNew)
{
    TempDir dir;
    CsvTable table;
    ASSERT_TRUE(WriteSkillCsv(ThreeSkills(), table));
    EXPECT_EQ(SaveCsvFileNew("Skill01.csv", table), CsvSaveResult::Saved);
    std::vector<uint8_t> bytes = ReadFile("Skill01.csv");
    std::string text = CsvText(table);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), text);

    CsvTable other;
    other.rows = {{"x"}};
    EXPECT_EQ(SaveCsvFileNew("Skill01.csv", other), CsvSaveResult::Exists);
    bytes = ReadFile("Skill01.csv");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), text);
    EXPECT_EQ(SaveCsvFileNew("missing/Skill01.csv", other), CsvSaveResult::Failed);

    CsvTable loaded;
    EXPECT_TRUE(LoadCsvFile("Skill01.csv", loaded));
    EXPECT_EQ(loaded.rows, table.rows);
    EXPECT_FALSE(LoadCsvFile("missing.csv", loaded));
}

TEST(Csv, ErrorLogTracesAndTheWrongColumnConstructor)
{
    TempDir dir;
    SetErrorLog("EC.txt", true);
    CsvColumn wrong = CsvColumn::Value("x", "", CsvField(&cSkill::m_Name), CSVVALUETYPE_STRING, 0, 1);
    CsvColumn memo = CsvColumn::Value("y", "", CsvField(&cSkill::m_nPrice), CSVVALUETYPE_MEMO, 0, 1);
    CsvColumn narrow = CsvColumn::Value("z", "", CsvField(&cSkill::m_nPrice), CSVVALUETYPE_DOUBLE, 0, 1);
    cSkillList g = ThreeSkills();
    std::string text = Exported(g);
    EXPECT_TRUE(Import(g, text));
    SetErrorLog("", false);

    EXPECT_EQ(wrong.memberWidth, 0);
    EXPECT_EQ(memo.memberWidth, 0);
    std::vector<uint8_t> bytes = ReadFile("EC.txt");
    std::string log(bytes.begin(), bytes.end());
    std::string bad = U("不正な指定：CSVVALUETYPE_STRING || CSVVALUETYPE_MEMO") + "\r\n";
    EXPECT_EQ(log.substr(0, 2 * bad.size()), bad + bad);
    EXPECT_NE(log.find("Convert csvData = 1,\"" + U("炎") + ","), std::string::npos) << "no quotes in the table";
    EXPECT_NE(log.find("Load csvData = 2," + U("回復") + ","), std::string::npos);
    EXPECT_NE(log.find("rCsv[9][1].data() = " + U("炎,弾") + "\r\n"), std::string::npos);

    // A column whose member does not fit its type cannot be written.
    CsvTable table;
    cSkill skill;
    cSerial* records[] = {&skill, &skill};
    EXPECT_FALSE(WriteCsvRecords(records, {narrow}, "t", table));
    EXPECT_TRUE(WriteCsvRecords(records, {SkillCsvColumns()[2]}, "t", table));
}

}  // namespace
