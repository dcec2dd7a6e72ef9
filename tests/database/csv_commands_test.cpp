#include "database/csv_commands.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <deque>
#include <filesystem>

#include "base/text.h"
#include "database/csv.h"
#include "tests/test_util.h"

namespace fs = std::filesystem;

namespace {

std::string U(const char* utf8) { return Utf8ToCp932(utf8); }

// Answers the questions in turn (Yes when the script ran out) and records
// every box.
class ScriptedSink : public MessageSink {
public:
    ScriptedSink() { old_ = SetMessageSink(this); }
    ~ScriptedSink() override { SetMessageSink(old_); }
    Answer Box(const std::string& text, const std::string& title, Buttons buttons) override
    {
        texts.push_back(Cp932ToUtf8(text));
        titles.push_back(Cp932ToUtf8(title));
        if (buttons == Buttons::Ok)
            return Answer::Ok;
        if (answers.empty())
            return Answer::Yes;
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::deque<Answer> answers;
    std::vector<std::string> texts, titles;

private:
    MessageSink* old_;
};

// Two groups whose numbers are wrong: the commands renumber before they name
// the file, so the second group is csv\Skill02.csv.
RecordList<cSkillList> Table()
{
    RecordList<cSkillList> table;
    for (int g = 0; g < 2; ++g) {
        cSkillList& group = table.emplace_back();
        group.m_nGroupNo = 9;
        group.m_Name = U(g ? "魔法" : "剣技");
        for (int s = 0; s < 3; ++s) {
            cSkill& skill = group.m_Skills.emplace_back();
            skill.m_Name = U(s == 1 ? "炎" : s == 2 ? "氷" : "ダミー");
            skill.m_nPrice = 100 * s;
        }
    }
    return table;
}

const char* kFile = "csv/Skill02.csv";

std::string FileText(const char* path)
{
    std::vector<uint8_t> b = ReadFile(path);
    return std::string(b.begin(), b.end());
}

const std::string kSaveQuestion =
    "このコマンドを実行するには現在の設定（データベース全体）を保存する必要があります。\n\n保存しますか？";

TEST(CsvCommands, ExportAsksTwiceWritesOnceAndNeverOverwrites)
{
    struct Case {
        const char* what;
        std::deque<Answer> answers;
        int saves;
        CsvCommandResult result;
        const char* last;  // the last box
        bool file;
    };
    const Case cases[] = {
        {"Yes, Yes", {Answer::Yes, Answer::Yes}, 1, CsvCommandResult::Done, "保存完了！", true},
        {"No to saving", {Answer::No}, 0, CsvCommandResult::Cancelled, "中止しました。", false},
        {"No to the file", {Answer::Yes, Answer::No}, 1, CsvCommandResult::Cancelled, "中止しました。", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        fs::create_directory("csv");
        RecordList<cSkillList> table = Table();
        ScriptedSink sink;
        sink.answers = c.answers;
        int saves = 0;
        EXPECT_EQ(ExportSkillCsvCommand(table, 1, [&] { ++saves; }), c.result);
        EXPECT_EQ(saves, c.saves);
        ASSERT_FALSE(sink.texts.empty());
        EXPECT_EQ(sink.texts.front(), kSaveQuestion);
        EXPECT_EQ(sink.texts.back(), c.last);
        for (const std::string& t : sink.titles)
            EXPECT_EQ(t, "CSVファイルの保存");
        EXPECT_EQ(fs::exists(kFile), c.file);
        if (c.result == CsvCommandResult::Done) {
            EXPECT_EQ(sink.texts[1],
                      "魔法データをCSV形式のファイル「csv\\Skill02.csv」（相対パス）に保存します。\n\n※CSV形式のファイルはExcelで編集してください。\n\n「csv\\Skill02.csv」に保存しますか？");
            CsvTable expected;
            ASSERT_TRUE(WriteSkillCsv(table[1], expected));
            EXPECT_EQ(FileText(kFile), CsvText(expected));
            EXPECT_EQ(table[1].m_nGroupNo, 1);
            // Again: refused, the file as it was.
            const std::string before = FileText(kFile);
            table[1].m_Skills[1].m_Name = U("雷");
            sink.texts.clear();
            EXPECT_EQ(ExportSkillCsvCommand(table, 1, {}), CsvCommandResult::Failed);
            EXPECT_EQ(sink.texts.back(),
                      "保存に失敗しました。\n「csv\\Skill02.csv」は既に存在します。\n新しいCSVファイルを保存するために既存ファイルを削除するかファイル名を変更してから、再度このコマンドを実行して下さい。");
            EXPECT_EQ(FileText(kFile), before);
        }
    }
}

TEST(CsvCommands, AFailedWriteLeavesNoFile)
{
    TempDir dir;
    fs::create_directory("csv");
    RecordList<cSkillList> table = Table();
    ScriptedSink sink;
    {
        // Files may not grow beyond 16 bytes: the write fails half way.
        rlimit old{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
        void (*oldHandler)(int) = signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = 16;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        CsvCommandResult r = ExportSkillCsvCommand(table, 1, {});
        setrlimit(RLIMIT_FSIZE, &old);
        signal(SIGXFSZ, oldHandler);
        EXPECT_EQ(r, CsvCommandResult::Failed);
    }
    EXPECT_FALSE(fs::exists(kFile));
    EXPECT_EQ(sink.texts.back(), "「csv\\Skill02.csv」の保存に失敗しました。\nExcelなどで使用中の可能性があります。");
    // A csv "folder" that is a file: nothing can be created either.
    fs::remove("csv");
    WriteFile("csv", {'x'});
    EXPECT_EQ(ExportSkillCsvCommand(table, 1, {}), CsvCommandResult::Failed);
    EXPECT_EQ(sink.texts.back(), "「csv\\Skill02.csv」の保存に失敗しました。\nExcelなどで使用中の可能性があります。");
}

TEST(CsvCommands, ImportReadsTheFileOrPutsTheSkillsBack)
{
    const std::string readQuestion =
        "CSV形式のファイル「csv\\Skill02.csv」（相対パス）から魔法データを読み込んで更新します。\n\n※CSV形式のファイルはExcelで編集してください。\n※現在（読み込む前）のデータ数とCSVファイルのデータ数が一致しないと読み込みに失敗します。\n\n「csv\\Skill02.csv」を読み込みますか？";
    // Edits of the exported text: the name of skill 1, or a broken file.
    auto replace = [](std::string text, const std::string& from, const std::string& to) {
        std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << Cp932ToUtf8(from);
        return at == std::string::npos ? text : text.replace(at, from.size(), to);
    };
    struct Case {
        const char* what;
        std::function<std::string(const std::string&)> edit;  // null: no file
        std::deque<Answer> answers;
        CsvCommandResult result;
        const char* last;
    };
    const Case cases[] = {
        {"renamed skill", [&](const std::string& t) { return replace(t, U("\r\n1,炎,"), U("\r\n1,雷,")); }, {},
         CsvCommandResult::Done,
         "読み込み完了！\n念のため設定値に問題がないか確認してください。\n問題があった場合、「キャンセル」ボタンを押すことで読み込む前の設定に戻せます。"},
        {"No to the file", [](const std::string& t) { return t; }, {Answer::Yes, Answer::No},
         CsvCommandResult::Cancelled, "中止しました。"},
        {"missing file", nullptr, {}, CsvCommandResult::Failed,
         "「csv\\Skill02.csv」の読み込みに失敗しました。\nファイルが存在しない、またはExcelなどで使用中の可能性があります。"},
        {"another group's file", [&](const std::string& t) { return replace(t, U("スキル02"), U("スキル01")); }, {},
         CsvCommandResult::Failed, "不正なファイルです。データタイプのセルが不正です。"},
        {"one row too many",
         [&](const std::string& t) { return t + U("3,雷\r\n"); }, {},
         CsvCommandResult::Failed, "不正なファイルです。データ数が一致しません。（csvファイルのデータ 3個 ≠ ゲームのデータ 2個）"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        fs::create_directory("csv");
        RecordList<cSkillList> table = Table();
        RenumberSkillTable(table);
        CsvTable exported;
        ASSERT_TRUE(WriteSkillCsv(table[1], exported));
        if (c.edit) {
            const std::string text = c.edit(CsvText(exported));
            WriteFile(kFile, std::vector<uint8_t>(text.begin(), text.end()));
        }
        const RecordList<cSkillList> before = table;
        table[1].m_nGroupNo = 5;  // renumbered again by the command
        ScriptedSink sink;
        sink.answers = c.answers;
        int saves = 0;
        EXPECT_EQ(ImportSkillCsvCommand(table, 1, [&] { ++saves; }), c.result);
        EXPECT_EQ(saves, 1);
        ASSERT_GE(sink.texts.size(), 2u);
        EXPECT_EQ(sink.texts[0], kSaveQuestion);
        EXPECT_EQ(sink.texts[1], readQuestion);
        EXPECT_EQ(sink.texts.back(), c.last);
        for (const std::string& t : sink.titles)
            EXPECT_EQ(t, "CSVファイルの読込");
        if (c.result == CsvCommandResult::Done) {
            EXPECT_EQ(table[1].m_Skills[1].m_Name, U("雷"));
            table[1].m_Skills[1].m_Name = U("炎");
        }
        EXPECT_TRUE(table[1].Equals(before[1]));
        EXPECT_TRUE(table[0].Equals(before[0]));
    }
}

}  // namespace
