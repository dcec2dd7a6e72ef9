// CSV exchange of database records: a column table maps CSV columns onto record
// members with their value types and widths; a writer turns records into a
// CsvTable, a reader checks a CsvTable and stores it into records, and the text
// form reads and writes the Shift-JIS file a spreadsheet edits.
//
// Only skill groups use it (SkillCsvColumns): one file per group, csv\SkillNN.csv.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "records/serial.h"

class cSkill;
class cSkillList;

// How a column's value is written and read, and the width of its member.
enum CsvValueType : int32_t {
    CSVVALUETYPE_STRING = 0,  // text, with a length limit in characters
    CSVVALUETYPE_INT = 1,     // 4 bytes
    CSVVALUETYPE_SHORT = 2,   // 2 bytes, signed
    CSVVALUETYPE_CHAR = 3,    // 1 byte, signed
    CSVVALUETYPE_BYTE = 4,    // 1 byte, unsigned
    CSVVALUETYPE_LONG = 5,    // 4 bytes (as INT)
    CSVVALUETYPE_DOUBLE = 6,  // 8-byte real
    CSVVALUETYPE_FLOAT = 7,   // 4-byte real
    CSVVALUETYPE_MEMO = 8,    // written empty, never read
};

// Width in bytes of a member of the value type; 0 for text and memo.
int32_t CsvValueWidth(int32_t valueType);

// The member a column reads and writes: its address within a record, with the
// size of the member (checked against the value type's width) and whether it
// is a string.
struct CsvMember {
    std::function<void*(cSerial&)> address;
    std::size_t size = 0;
    bool text = false;
};

// A plain member of record class R.
template <class R, class M>
CsvMember CsvField(M R::*member)
{
    return {[member](cSerial& r) -> void* { return &(static_cast<R&>(r).*member); }, sizeof(M),
            std::is_same_v<M, std::string>};
}

// One element of a fixed array member of record class R.
template <class R, class E, std::size_t N>
CsvMember CsvElement(std::array<E, N> R::*member, std::size_t index)
{
    return {[member, index](cSerial& r) -> void* { return &(static_cast<R&>(r).*member)[index]; }, sizeof(E), false};
}

// One column of a CSV table.
struct CsvColumn {
    std::string name;       // header text in the "No." row; the key the reader finds the column by
    std::string hint;       // text of the hint row
    std::string limitText;  // text of the limit row
    int32_t valueType = CSVVALUETYPE_MEMO;
    double minimum = 0.0;
    double maximum = 0.0;
    int32_t decimals = 0;     // digits after the point for real types
    int32_t lengthLimit = 0;  // characters, for text
    CsvMember member;
    int32_t memberWidth = 0;  // bytes; 0 for text (a string member) and memo

    // A text column: limit text "N文字まで".
    static CsvColumn Text(std::string name, std::string hint, CsvMember member, int32_t lengthLimit);
    // A number column: width from the type; limit text "min～max" (reals with the
    // decimals). Text and memo types are a programming error: the error log gets
    // a line and the width stays unset.
    static CsvColumn Value(std::string name, std::string hint, CsvMember member, int32_t valueType, double minimum,
                           double maximum, int32_t decimals = 0);
    // A memo column: written empty, ignored when read.
    static CsvColumn Memo(std::string name, std::string hint);
};

using CsvColumns = std::vector<CsvColumn>;

// Rows of cells, in file order.
struct CsvTable {
    std::vector<std::vector<std::string>> rows;
};

// The name the reader's messages give a record.
using CsvRecordName = std::function<std::string(const cSerial&)>;

// Writes the table for records 1 to size - 1 (record 0 is never exported): the
// two notes, the data type, the hint, limit and "No." rows and one row per
// record. False when a column cannot be written (a value column without width).
bool WriteCsvRecords(std::span<cSerial* const> records, const CsvColumns& columns, const std::string& dataType,
                     CsvTable& out);

// Checks the table (data type, "No." header, data numbers 1 to N, N equal to
// size - 1) and stores every matched column into records 1 to size - 1. Cells
// out of range or too long are corrected, each with a message box, and reading
// goes on. A refused table changes nothing and returns false after its message.
bool ReadCsvRecords(std::span<cSerial* const> records, const CsvTable& table, const CsvColumns& columns,
                    const std::string& dataType, const CsvRecordName& nameOf);

// The text form: cells joined by commas, a cell holding a comma in double
// quotes (inner quotes are not doubled), every line ended by CR LF.
std::string CsvText(const CsvTable& table);
// Splits text into rows and cells: a line ends at LF (a CR before it goes with
// it), a cell starting with a double quote runs to the closing quote ("" is one
// quote) and takes what follows up to the comma, cells are trimmed of half-width
// and ideographic spaces, an empty line is one empty cell. False (and an empty
// table) when the text holds more than kCsvCellLimit commas and lines.
bool ParseCsvText(std::string_view text, CsvTable& out);

// Bounds of what is read: a file's bytes and a table's cells.
inline constexpr std::size_t kCsvFileLimit = 8u << 20;
inline constexpr std::size_t kCsvCellLimit = 1u << 20;

// Reads and splits a host file; false when it cannot be read (or is too big).
bool LoadCsvFile(const std::string& hostPath, CsvTable& out);

enum class CsvSaveResult { Saved, Exists, Failed };
// Creates the host file (never over an existing one) and writes the table's
// text; a failed write removes what was created.
CsvSaveResult SaveCsvFileNew(const std::string& hostPath, const CsvTable& table);

// The skill columns, built once (start-up builds them before the project loads).
const CsvColumns& SkillCsvColumns();
void BuildSkillCsvColumns();

// The group's file, "csv\SkillNN.csv", and data type, "スキルNN" (CP932), NN being
// the group number + 1.
std::string SkillCsvPath(const cSkillList& group);
std::string SkillCsvDataType(const cSkillList& group);

// The writer and the reader over a group's skills.
bool WriteSkillCsv(const cSkillList& group, CsvTable& out);
bool ReadSkillCsv(cSkillList& group, const CsvTable& table);
