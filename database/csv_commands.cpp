#include "database/csv_commands.h"

#include <filesystem>

#include "base/log.h"
#include "base/paths.h"
#include "base/text.h"
#include "database/csv.h"

namespace {

const std::string& SaveTitle() { return SJ("CSVファイルの保存"); }
const std::string& ReadTitle() { return SJ("CSVファイルの読込"); }

void Tell(const std::string& text, const std::string& title) { MessageBoxText(text, title, Buttons::Ok); }

bool Ask(const std::string& text, const std::string& title)
{
    return MessageBoxText(text, title, Buttons::YesNo) == Answer::Yes;
}

CsvCommandResult Cancelled(const std::string& title)
{
    Tell(SJ("中止しました。"), title);
    return CsvCommandResult::Cancelled;
}

// The first question of both commands; the save runs on Yes.
bool SaveFirst(const std::string& title, const SaveDatabaseFn& saveDatabase)
{
    if (!Ask(SJ("このコマンドを実行するには現在の設定（データベース全体）を保存する必要があります。\n\n保存しますか？"), title))
        return false;
    if (saveDatabase)
        saveDatabase();
    return true;
}

bool ValidGroup(const RecordList<cSkillList>& table, int group) { return group >= 0 && group < table.size(); }

// The start both commands share: the table renumbered, the save asked for and
// run, the group looked up again (the save may have repaired the table). The
// group's list, or null with the command's result in `result`.
cSkillList* PrepareGroup(RecordList<cSkillList>& table, int group, const std::string& title,
                         const SaveDatabaseFn& saveDatabase, CsvCommandResult& result)
{
    result = CsvCommandResult::Failed;
    if (!ValidGroup(table, group))
        return nullptr;
    RenumberSkillTable(table);
    if (!SaveFirst(title, saveDatabase)) {
        result = Cancelled(title);
        return nullptr;
    }
    if (!ValidGroup(table, group))
        return nullptr;
    RenumberSkillTable(table);
    return &table[group];
}

}  // namespace

CsvCommandResult ExportSkillCsvCommand(RecordList<cSkillList>& table, int group, const SaveDatabaseFn& saveDatabase,
                                       CsvDoneBox done)
{
    const std::string& title = SaveTitle();
    CsvCommandResult result;
    const cSkillList* prepared = PrepareGroup(table, group, title, saveDatabase, result);
    if (!prepared)
        return result;
    const cSkillList& list = *prepared;
    const std::string path = SkillCsvPath(list);
    const char* p = path.c_str();
    if (!Ask(StrPrintf(SJ("%sデータをCSV形式のファイル「%s」（相対パス）に保存します。\n\n※CSV形式のファイルはExcelで編集してください。\n\n「%s」に保存しますか？").c_str(),
                       list.m_Name.c_str(), p, p),
             title))
        return Cancelled(title);
    const std::string host = HostPath(path);
    // An existing file is never overwritten, also one created between this
    // check and the write.
    auto exists = [&] {
        Tell(StrPrintf(SJ("保存に失敗しました。\n「%s」は既に存在します。\n新しいCSVファイルを保存するために既存ファイルを削除するかファイル名を変更してから、再度このコマンドを実行して下さい。").c_str(), p),
             title);
        return CsvCommandResult::Failed;
    };
    std::error_code ec;
    if (std::filesystem::symlink_status(host, ec).type() != std::filesystem::file_type::not_found)
        return exists();
    CsvTable csv;
    if (!WriteSkillCsv(list, csv)) {
        Tell(SJ("保存に失敗しました。\n不正なCSVファイルです。"), title);
        return CsvCommandResult::Failed;
    }
    // The project's csv folder normally exists; a project copied without it
    // gets it back.
    std::filesystem::create_directory(HostPath("csv"), ec);
    switch (SaveCsvFileNew(host, csv)) {
    case CsvSaveResult::Saved:
        if (done == CsvDoneBox::Show)
            Tell(SJ("保存完了！"), title);
        return CsvCommandResult::Done;
    case CsvSaveResult::Exists: return exists();
    case CsvSaveResult::Failed: break;
    }
    Tell(StrPrintf(SJ("「%s」の保存に失敗しました。\nExcelなどで使用中の可能性があります。").c_str(), p), title);
    return CsvCommandResult::Failed;
}

CsvCommandResult ImportSkillCsvCommand(RecordList<cSkillList>& table, int group, const SaveDatabaseFn& saveDatabase,
                                       CsvDoneBox done)
{
    const std::string& title = ReadTitle();
    CsvCommandResult result;
    cSkillList* prepared = PrepareGroup(table, group, title, saveDatabase, result);
    if (!prepared)
        return result;
    cSkillList& list = *prepared;
    const std::string path = SkillCsvPath(list);
    const char* p = path.c_str();
    if (!Ask(StrPrintf(SJ("CSV形式のファイル「%s」（相対パス）から%sデータを読み込んで更新します。\n\n※CSV形式のファイルはExcelで編集してください。\n※現在（読み込む前）のデータ数とCSVファイルのデータ数が一致しないと読み込みに失敗します。\n\n「%s」を読み込みますか？").c_str(),
                       p, list.m_Name.c_str(), p),
             title))
        return Cancelled(title);
    CsvTable csv;
    if (!LoadCsvFile(HostPath(path), csv)) {
        Tell(StrPrintf(SJ("「%s」の読み込みに失敗しました。\nファイルが存在しない、またはExcelなどで使用中の可能性があります。").c_str(), p),
             title);
        return CsvCommandResult::Failed;
    }
    const RecordList<cSkill> before = list.m_Skills;
    if (!ReadSkillCsv(list, csv)) {
        list.m_Skills = before;
        return CsvCommandResult::Failed;
    }
    if (done == CsvDoneBox::Show)
        Tell(SJ("読み込み完了！\n念のため設定値に問題がないか確認してください。\n問題があった場合、「キャンセル」ボタンを押すことで読み込む前の設定に戻せます。"),
             title);
    return CsvCommandResult::Done;
}
