// The skill page's two CSV commands, "CSVファイルに保存" and "CSVファイルの読込",
// with their questions and messages (every box goes through the message sink,
// titled "CSVファイルの保存" or "CSVファイルの読込"). Both first ask to save the
// whole database and run the caller's save on Yes: the file is named after the
// group's number, and the import's undo is the state that save leaves.
#pragma once

#include <functional>

#include "database/skill.h"

enum class CsvCommandResult {
    Done,       // the file was written or read
    Cancelled,  // No at a question ("中止しました。")
    Failed,     // refused or failed, with its message; the records are as before
};

// Saves the whole database (the window's apply); runs after Yes at the first
// question.
using SaveDatabaseFn = std::function<void()>;

// Whether the closing box ("保存完了！", "読み込み完了！…") is shown; the data
// tool words its own line instead.
enum class CsvDoneBox { Show, Omit };

// Writes csv\SkillNN.csv of group `group` of the table. The table is renumbered
// first. An existing file is never touched; a file that could not be written
// whole is removed.
CsvCommandResult ExportSkillCsvCommand(RecordList<cSkillList>& table, int group, const SaveDatabaseFn& saveDatabase,
                                       CsvDoneBox done = CsvDoneBox::Show);

// Reads csv\SkillNN.csv into the skills of group `group`. The table is
// renumbered first. On any failure the group's skills are put back as they
// were before reading.
CsvCommandResult ImportSkillCsvCommand(RecordList<cSkillList>& table, int group, const SaveDatabaseFn& saveDatabase,
                                       CsvDoneBox done = CsvDoneBox::Show);
