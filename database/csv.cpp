#include "database/csv.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>

#include "base/log.h"
#include "base/paths.h"
#include "base/text.h"
#include "database/skill.h"
#include "records/record_io.h"

namespace {

const std::string& ReadTitle() { return SJ("CSVファイルの読込"); }

// "%.Nf" without the C locale's say in it (the editor runs under the user's locale).
std::string FormatFixed(double value, int decimals)
{
    if (decimals < 0)
        decimals = 0;
    if (decimals > 20)
        decimals = 20;
    char buffer[400];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (ec != std::errc())
        return "0";
    return std::string(buffer, end);
}

bool IsIdeographicSpace(std::string_view s, std::size_t i)
{
    return i + 1 < s.size() && static_cast<unsigned char>(s[i]) == 0x81 && static_cast<unsigned char>(s[i + 1]) == 0x40;
}

// Removes half-width and ideographic spaces at both ends, walking characters so
// that a trail byte 0x81 followed by '@' is never taken for a space.
std::string Trim(std::string_view s)
{
    std::size_t first = std::string_view::npos, last = 0;
    for (std::size_t i = 0; i < s.size();) {
        std::size_t n = CharLength(s, i);
        bool blank = s[i] == ' ' || (n == 2 && IsIdeographicSpace(s, i));
        if (!blank) {
            if (first == std::string_view::npos)
                first = i;
            last = i + n;
        }
        i += n;
    }
    if (first == std::string_view::npos)
        return std::string();
    return std::string(s.substr(first, last - first));
}

// Full-width digits, minus sign and full stop become their half-width forms;
// every other character stays.
std::string HalfWidthNumber(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        std::size_t n = CharLength(s, i);
        if (n == 2) {
            unsigned char a = static_cast<unsigned char>(s[i]), b = static_cast<unsigned char>(s[i + 1]);
            if (a == 0x82 && b >= 0x4F && b <= 0x58)
                out += static_cast<char>('0' + (b - 0x4F));
            else if (a == 0x81 && b == 0x7C)
                out += '-';
            else if (a == 0x81 && b == 0x44)
                out += '.';
            else
                out.append(s.substr(i, 2));
        } else {
            out += s[i];
        }
        i += n;
    }
    return out;
}

bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// A whole number as atoi reads it (leading blanks, a sign, digits; anything
// else ends it; nothing is 0), but saturating instead of overflowing.
long long ParseWhole(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && IsCSpace(s[i]))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    constexpr long long kCap = 1'000'000'000'000'000'000LL;
    long long v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        v = v >= kCap ? kCap : v * 10 + (s[i] - '0');
    return negative ? -v : v;
}

// A real number as atof reads a decimal one (leading blanks, a sign, digits
// with a point, an exponent); nothing readable is 0.0. Infinity, NaN and hex
// forms are not numbers here.
double ParseReal(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && IsCSpace(s[i]))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    std::size_t start = i;
    auto digits = [&] {
        std::size_t from = i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9')
            ++i;
        return i - from;
    };
    std::size_t mantissa = digits();
    if (i < s.size() && s[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return 0.0;
    std::size_t end = i;
    bool negativeExponent = false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            negativeExponent = s[i++] == '-';
        if (digits() > 0)
            end = i;
    }
    double v = 0.0;
    auto [ptr, ec] = std::from_chars(s.data() + start, s.data() + end, v, std::chars_format::general);
    (void)ptr;
    if (ec == std::errc::result_out_of_range)
        v = negativeExponent ? 0.0 : std::numeric_limits<double>::infinity();
    else if (ec != std::errc())
        v = 0.0;
    return negative ? -v : v;
}

// Characters of CP932 text (a double-byte character counts once).
std::size_t CountChars(std::string_view s)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size(); i += CharLength(s, i))
        ++count;
    return count;
}

std::string CutToChars(std::string_view s, std::size_t chars)
{
    std::size_t i = 0;
    for (; i < s.size() && chars > 0; --chars)
        i += CharLength(s, i);
    return std::string(s.substr(0, i));
}

// The range a whole number member of the width and type can hold.
void WidthRange(int32_t valueType, long long& lo, long long& hi)
{
    switch (valueType) {
    case CSVVALUETYPE_SHORT: lo = std::numeric_limits<int16_t>::min(), hi = std::numeric_limits<int16_t>::max(); break;
    case CSVVALUETYPE_CHAR: lo = std::numeric_limits<int8_t>::min(), hi = std::numeric_limits<int8_t>::max(); break;
    case CSVVALUETYPE_BYTE: lo = 0, hi = std::numeric_limits<uint8_t>::max(); break;
    default: lo = std::numeric_limits<int32_t>::min(), hi = std::numeric_limits<int32_t>::max(); break;
    }
}

long long CutBound(double bound, long long lo, long long hi)
{
    if (!(bound >= static_cast<double>(lo)))  // NaN too
        return lo;
    if (bound >= static_cast<double>(hi))
        return hi;
    return static_cast<long long>(bound);
}

bool IsReal(int32_t t) { return t == CSVVALUETYPE_DOUBLE || t == CSVVALUETYPE_FLOAT; }
bool IsWhole(int32_t t) { return t >= CSVVALUETYPE_INT && t <= CSVVALUETYPE_LONG; }

// A column the engine can read and write: its member is there and fits its type.
bool Usable(const CsvColumn& c)
{
    if (c.valueType == CSVVALUETYPE_MEMO)
        return true;
    if (!c.member.address)
        return false;
    if (c.valueType == CSVVALUETYPE_STRING)
        return c.member.text;
    return (IsWhole(c.valueType) || IsReal(c.valueType)) && c.memberWidth == CsvValueWidth(c.valueType) &&
           c.member.size == static_cast<std::size_t>(c.memberWidth) && !c.member.text;
}

std::string WriteCell(const CsvColumn& c, cSerial& record)
{
    if (c.valueType == CSVVALUETYPE_MEMO)
        return std::string();
    void* p = c.member.address(record);
    switch (c.valueType) {
    case CSVVALUETYPE_STRING: return *static_cast<const std::string*>(p);
    case CSVVALUETYPE_INT:
    case CSVVALUETYPE_LONG: { int32_t v; std::memcpy(&v, p, 4); return StrPrintf("%d", v); }
    case CSVVALUETYPE_SHORT: { int16_t v; std::memcpy(&v, p, 2); return StrPrintf("%d", v); }
    case CSVVALUETYPE_CHAR: { int8_t v; std::memcpy(&v, p, 1); return StrPrintf("%d", v); }
    case CSVVALUETYPE_BYTE: { uint8_t v; std::memcpy(&v, p, 1); return StrPrintf("%u", v); }
    case CSVVALUETYPE_DOUBLE: { double v; std::memcpy(&v, p, 8); return FormatFixed(v, c.decimals); }
    case CSVVALUETYPE_FLOAT: { float v; std::memcpy(&v, p, 4); return FormatFixed(v, c.decimals); }
    default: return std::string();
    }
}

void Notify(const std::string& text) { MessageBoxText(text, ReadTitle(), Buttons::Ok); }

void StoreWhole(void* p, int32_t valueType, long long v)
{
    switch (valueType) {
    case CSVVALUETYPE_SHORT: { int16_t x = static_cast<int16_t>(v); std::memcpy(p, &x, 2); break; }
    case CSVVALUETYPE_CHAR: { int8_t x = static_cast<int8_t>(v); std::memcpy(p, &x, 1); break; }
    case CSVVALUETYPE_BYTE: { uint8_t x = static_cast<uint8_t>(v); std::memcpy(p, &x, 1); break; }
    default: { int32_t x = static_cast<int32_t>(v); std::memcpy(p, &x, 4); break; }
    }
}

// Converts one cell and stores it into the record's member, correcting and
// reporting a text that is too long or a number out of range.
void ReadCell(const CsvColumn& c, cSerial& record, const std::string& cell, const CsvRecordName& nameOf)
{
    void* p = c.member.address(record);
    if (c.valueType == CSVVALUETYPE_STRING) {
        std::string text = cell;
        std::size_t limit = c.lengthLimit > 0 ? static_cast<std::size_t>(c.lengthLimit) : 0;
        if (CountChars(text) > limit) {
            text = CutToChars(text, limit);
            Notify(StrPrintf(SJ("「%s」の「%s」の文字数がオーバーしています。値は「%s」になります。").c_str(),
                             nameOf(record).c_str(), c.name.c_str(), text.c_str()));
        }
        *static_cast<std::string*>(p) = text;
        return;
    }
    std::string number = HalfWidthNumber(cell);
    if (IsReal(c.valueType)) {
        double v = ParseReal(number);
        bool clamped = false;
        if (v < c.minimum)
            v = c.minimum, clamped = true;
        else if (v > c.maximum)
            v = c.maximum, clamped = true;
        if (c.valueType == CSVVALUETYPE_FLOAT) {
            float x = static_cast<float>(v);
            std::memcpy(p, &x, 4);
            v = x;
        } else {
            std::memcpy(p, &v, 8);
        }
        if (clamped)
            Notify(StrPrintf(SJ("「%s」の「%s」が定められた範囲にありません。値は「%s」になります。").c_str(),
                             nameOf(record).c_str(), c.name.c_str(), FormatFixed(v, 6).c_str()));
        return;
    }
    long long lo, hi;
    WidthRange(c.valueType, lo, hi);
    long long minimum = CutBound(c.minimum, lo, hi), maximum = CutBound(c.maximum, lo, hi);
    long long v = ParseWhole(number);
    bool clamped = false;
    if (v < minimum)
        v = minimum, clamped = true;
    else if (v > maximum)
        v = maximum, clamped = true;
    StoreWhole(p, c.valueType, v);
    if (clamped) {
        const char* format = c.valueType == CSVVALUETYPE_BYTE
                                 ? SJ("「%s」の「%s」が定められた範囲にありません。値は「%u」になります。").c_str()
                                 : SJ("「%s」の「%s」が定められた範囲にありません。値は「%d」になります。").c_str();
        // Both conversions take the stored value; it fits an int either way.
        Notify(StrPrintf(format, nameOf(record).c_str(), c.name.c_str(), static_cast<int>(v)));
    }
}

// One row as a line of the file, without its end.
std::string CsvLine(const std::vector<std::string>& row)
{
    std::string line;
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (i)
            line += ',';
        if (row[i].find(',') != std::string::npos)
            line += '"' + row[i] + '"';
        else
            line += row[i];
    }
    return line;
}

std::vector<std::string> SplitLine(std::string_view line)
{
    std::vector<std::string> cells;
    std::size_t i = 0, n = line.size();
    for (;;) {
        std::string cell;
        if (i < n && line[i] == '"') {
            ++i;
            while (i < n) {
                if (line[i] == '"') {
                    if (i + 1 < n && line[i + 1] == '"') {
                        cell += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                cell += line[i++];
            }
        }
        std::size_t comma = line.find(',', i);
        std::size_t stop = comma == std::string_view::npos ? n : comma;
        cell.append(line.substr(i, stop - i));
        cells.push_back(Trim(cell));
        if (comma == std::string_view::npos)
            break;
        i = comma + 1;
    }
    return cells;
}

}  // namespace

int32_t CsvValueWidth(int32_t valueType)
{
    switch (valueType) {
    case CSVVALUETYPE_INT:
    case CSVVALUETYPE_LONG:
    case CSVVALUETYPE_FLOAT: return 4;
    case CSVVALUETYPE_SHORT: return 2;
    case CSVVALUETYPE_CHAR:
    case CSVVALUETYPE_BYTE: return 1;
    case CSVVALUETYPE_DOUBLE: return 8;
    default: return 0;
    }
}

CsvColumn CsvColumn::Text(std::string name, std::string hint, CsvMember member, int32_t lengthLimit)
{
    CsvColumn c;
    c.name = std::move(name);
    c.hint = std::move(hint);
    c.limitText = StrPrintf(SJ("%d文字まで").c_str(), lengthLimit);
    c.valueType = CSVVALUETYPE_STRING;
    c.lengthLimit = lengthLimit;
    c.member = std::move(member);
    return c;
}

CsvColumn CsvColumn::Value(std::string name, std::string hint, CsvMember member, int32_t valueType, double minimum,
                           double maximum, int32_t decimals)
{
    CsvColumn c;
    c.name = std::move(name);
    c.hint = std::move(hint);
    c.valueType = valueType;
    c.minimum = minimum;
    c.maximum = maximum;
    c.decimals = decimals;
    c.member = std::move(member);
    if (valueType == CSVVALUETYPE_STRING || valueType == CSVVALUETYPE_MEMO) {
        ErrorLogPrintf("%s", SJ("不正な指定：CSVVALUETYPE_STRING || CSVVALUETYPE_MEMO").c_str());
    } else {
        c.memberWidth = CsvValueWidth(valueType);
    }
    if (IsReal(valueType))
        c.limitText = FormatFixed(minimum, decimals) + SJ("～") + FormatFixed(maximum, decimals);
    else
        c.limitText = StrPrintf(SJ("%d～%d").c_str(), static_cast<int>(CutBound(minimum, INT32_MIN, INT32_MAX)),
                                static_cast<int>(CutBound(maximum, INT32_MIN, INT32_MAX)));
    return c;
}

CsvColumn CsvColumn::Memo(std::string name, std::string hint)
{
    CsvColumn c;
    c.name = std::move(name);
    c.hint = std::move(hint);
    c.valueType = CSVVALUETYPE_MEMO;
    return c;
}

bool WriteCsvRecords(std::span<cSerial* const> records, const CsvColumns& columns, const std::string& dataType,
                     CsvTable& out)
{
    out.rows.clear();
    for (const CsvColumn& c : columns)
        if (!Usable(c))
            return false;
    auto& rows = out.rows;
    rows.push_back({SJ("テキストエディタではなくExcelで編集してください。")});
    rows.push_back({SJ("※データ行より上（設定値以外）は原則編集禁止。データが読み込めなくなる可能性があります。")});
    rows.push_back({""});
    rows.push_back({SJ("データタイプ")});
    rows.push_back({dataType});
    rows.push_back({""});
    std::vector<std::string> hints{SJ("ヒント→")}, limits{SJ("制限→")}, names{"No."};
    for (const CsvColumn& c : columns) {
        hints.push_back(c.hint);
        limits.push_back(c.limitText);
        names.push_back(c.name);
    }
    rows.push_back(std::move(hints));
    rows.push_back(std::move(limits));
    rows.push_back(std::move(names));
    for (std::size_t i = 1; i < records.size(); ++i) {
        std::vector<std::string> row{StrPrintf("%d", static_cast<int>(i))};
        for (const CsvColumn& c : columns)
            row.push_back(WriteCell(c, *records[i]));
        rows.push_back(std::move(row));
    }
    for (const auto& row : rows)
        ErrorLogPrintf("Convert csvData = %s", CsvLine(row).c_str());
    return true;
}

bool ReadCsvRecords(std::span<cSerial* const> records, const CsvTable& table, const CsvColumns& columns,
                    const std::string& dataType, const CsvRecordName& nameOf)
{
    const auto& rows = table.rows;

    bool typeFound = false;
    for (std::size_t r = 0; r + 1 < rows.size() && !typeFound; ++r)
        for (std::size_t c = 0; c < rows[r].size() && !typeFound; ++c)
            typeFound = rows[r][c] == SJ("データタイプ") && c < rows[r + 1].size() && rows[r + 1][c] == dataType;
    if (!typeFound) {
        Notify(SJ("不正なファイルです。データタイプのセルが不正です。"));
        return false;
    }

    std::size_t header = rows.size();
    for (std::size_t r = 0; r < rows.size() && header == rows.size(); ++r)
        for (const std::string& cell : rows[r])
            if (cell == "No.") {
                header = r;
                break;
            }
    if (header == rows.size()) {
        Notify(SJ("不正なファイルです。「No.」セルがありません。"));
        return false;
    }

    long long count = 0;
    for (std::size_t r = header + 1; r < rows.size() && !rows[r].empty(); ++r) {
        if (ParseWhole(rows[r][0]) != count + 1) {
            Notify(SJ("不正なファイルです。「No.」列が1列目にないかデータ番号が昇順（1～X）に並んでいない可能性があります。"));
            return false;
        }
        ++count;
    }
    long long expected = static_cast<long long>(records.size()) - 1;
    if (count != expected) {
        Notify(StrPrintf(SJ("不正なファイルです。データ数が一致しません。（csvファイルのデータ %d個 ≠ ゲームのデータ %d個）").c_str(),
                         static_cast<int>(count), static_cast<int>(expected)));
        return false;
    }

    const std::vector<std::string>& names = rows[header];
    for (std::size_t pos = 0; pos < names.size(); ++pos) {
        const CsvColumn* column = nullptr;
        for (const CsvColumn& c : columns)
            if (c.name == names[pos]) {
                column = &c;
                break;
            }
        if (!column || column->valueType == CSVVALUETYPE_MEMO || !Usable(*column))
            continue;
        for (std::size_t i = 1; i < records.size(); ++i) {
            const std::vector<std::string>& row = rows[header + i];
            if (pos >= row.size())
                break;
            ErrorLogPrintf("rCsv[%d][%d].data() = %s", static_cast<int>(header + i), static_cast<int>(pos),
                           row[pos].c_str());
            ReadCell(*column, *records[i], row[pos], nameOf);
        }
    }
    return true;
}

std::string CsvText(const CsvTable& table)
{
    std::string text;
    for (const auto& row : table.rows)
        text += CsvLine(row) + "\r\n";
    return text;
}

bool ParseCsvText(std::string_view text, CsvTable& out)
{
    out.rows.clear();
    std::size_t cells = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t lf = text.find('\n', pos);
        std::size_t next = lf == std::string_view::npos ? text.size() : lf + 1;
        std::string_view line = text.substr(pos, (lf == std::string_view::npos ? text.size() : lf) - pos);
        pos = next;
        // Files come from text mode on Windows: CR LF ends a line, a lone CR is text.
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        // Cells are C strings in the records: a NUL ends the line's text.
        line = line.substr(0, std::min(line.size(), line.find('\0')));
        ErrorLogPrintf("Load csvData = %s", std::string(line).c_str());
        // Counted before splitting (quoted commas too), so a flood costs no memory.
        cells += static_cast<std::size_t>(std::count(line.begin(), line.end(), ',')) + 1;
        if (cells > kCsvCellLimit) {
            out.rows.clear();
            return false;
        }
        out.rows.push_back(SplitLine(line));
    }
    return true;
}

bool LoadCsvFile(const std::string& hostPath, CsvTable& out)
{
    out.rows.clear();
    std::error_code ec;
    auto size = std::filesystem::file_size(hostPath, ec);
    if (ec || size > kCsvFileLimit)
        return false;
    std::vector<uint8_t> bytes;
    if (!ReadHostFile(hostPath, bytes) || bytes.size() > kCsvFileLimit)
        return false;
    return ParseCsvText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), out);
}

CsvSaveResult SaveCsvFileNew(const std::string& hostPath, const CsvTable& table)
{
    std::error_code ec;
    if (std::filesystem::symlink_status(hostPath, ec).type() != std::filesystem::file_type::not_found)
        return CsvSaveResult::Exists;
    std::FILE* f = std::fopen(hostPath.c_str(), "wbx");
    if (!f)
        return errno == EEXIST ? CsvSaveResult::Exists : CsvSaveResult::Failed;
    std::string text = CsvText(table);
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = std::fclose(f) == 0 && ok;
    if (!ok) {
        std::remove(hostPath.c_str());
        return CsvSaveResult::Failed;
    }
    return CsvSaveResult::Saved;
}

// ---------------------------------------------------------------------------
// Skills

namespace {

CsvColumns MakeSkillColumns()
{
    auto whole = [](const char* name, auto member, double lo, double hi, const char* hint = "") {
        return CsvColumn::Value(Utf8ToCp932(name), Utf8ToCp932(hint), CsvField(member), CSVVALUETYPE_INT, lo, hi);
    };
    auto real = [](const char* name, auto member, double lo, double hi, int decimals, const char* hint = "") {
        return CsvColumn::Value(Utf8ToCp932(name), Utf8ToCp932(hint), CsvField(member), CSVVALUETYPE_DOUBLE, lo, hi,
                                decimals);
    };
    CsvColumns c;
    c.push_back(CsvColumn::Text(SJ("スキル名_d"), "", CsvField(&cSkill::m_Name), 8));
    c.push_back(CsvColumn::Text(SJ("説明_d"), "", CsvField(&cSkill::m_Description), 38));
    c.push_back(whole("値段_d", &cSkill::m_nPrice, 0, 999999, "0なら売却不可"));
    c.push_back(whole("最大所持数_d", &cSkill::m_nStockMax, 0, 99));
    c.push_back(whole("消費SP_d", &cSkill::m_nSpCost, 0, 999));
    c.push_back(whole("回数制限_d", &cSkill::m_nUseLimit, 0, 99));
    c.push_back(whole("必要センス_d", &cSkill::m_nRequiredSense, 0, 99));
    c.push_back(whole("習得確率(%)_d", &cSkill::m_nLearnChance, 0, 100));
    c.push_back(real("センスによる習得確率の補正（＋センス×N）_d", &cSkill::m_dLearnSenseBonus, 0, 100, 1));
    c.push_back(whole("習得LV（最小）_d", &cSkill::m_nLearnLevelMin, 0, 100));
    c.push_back(whole("習得LV（最大）_d", &cSkill::m_nLearnLevelMax, 0, 100));
    c.push_back(real("センスによる習得LVの補正（－センス×N）_d", &cSkill::m_dLearnLevelSense, 0, 100, 1));
    c.push_back(real("ソート番号_d", &cSkill::m_dSortNo, 0, 999.99, 2, "店用"));
    c.push_back(whole("ランク（最小）_d", &cSkill::m_nRankMin, 0, 999));
    c.push_back(whole("ランク（最大）_d", &cSkill::m_nRankMax, 0, 999));
    c.push_back(whole("レアリティ_d", &cSkill::m_nRarity, 0, 100));
    c.push_back(whole("属性値_d", &cSkill::m_nElementValue, -999, 999, "防具タイプのみ有効"));
    c.push_back(whole("命中率(%)_d", &cSkill::m_nHitRate, 0, 999));
    c.push_back(whole("効果値_d", &cSkill::m_nEffectValue, -999999, 999999));
    c.push_back(whole("ダメージ修正(%)_d", &cSkill::m_nDamageRate, 0, 999));
    c.push_back(whole("必殺率(%)_d", &cSkill::m_nCriticalRate, 0, 999));
    static const char* const kStats[9] = {"HP", "SP", "攻撃", "守備", "魔力", "抵抗", "技能", "反応", "敏捷"};
    struct SubEffect {
        const char* prefix;
        std::array<int32_t, 9> cSkill::*member;
        const char* hint;
    };
    static const SubEffect kSubEffects[2] = {
        {"A-", &cSkill::m_SubEffectA, "ここから「サブ効果A」枠。スキルの対象への追加効果（武器防具タイプなら自分）"},
        {"B-", &cSkill::m_SubEffectB, "ここから「サブ効果B」枠。オート戦闘で「装備」時のみ上昇"},
    };
    for (const SubEffect& sub : kSubEffects)
        for (std::size_t i = 0; i < 9; ++i)
            c.push_back(CsvColumn::Value(Utf8ToCp932(std::string(sub.prefix) + kStats[i] + "_d"),
                                         i == 0 ? Utf8ToCp932(sub.hint) : std::string(),
                                         CsvElement(sub.member, i), CSVVALUETYPE_INT, -999999, 999999));
    c.push_back(whole("拡大率(%)_d", &cSkill::m_nScale, 1, 900));
    c.push_back(CsvColumn::Value(SJ("透明度_d"), SJ("255で完全に不透明"), CsvField(&cSkill::m_byOpacity),
                                 CSVVALUETYPE_BYTE, 0, 255));
    c.push_back(CsvColumn::Memo("Memo", SJ("ただのメモ欄。ゲームにもエディターにも表示されない。")));
    return c;
}

std::vector<cSerial*> SkillPointers(const cSkillList& group)
{
    std::vector<cSerial*> records;
    records.reserve(group.m_Skills.size());
    // The writer only reads through these; the reader gets a mutable group.
    for (const cSkill& skill : group.m_Skills)
        records.push_back(const_cast<cSkill*>(&skill));
    return records;
}

}  // namespace

const CsvColumns& SkillCsvColumns()
{
    static const CsvColumns columns = MakeSkillColumns();
    return columns;
}

void BuildSkillCsvColumns() { (void)SkillCsvColumns(); }

std::string SkillCsvPath(const cSkillList& group) { return StrPrintf("csv\\Skill%02d.csv", group.m_nGroupNo + 1); }

std::string SkillCsvDataType(const cSkillList& group)
{
    return SJ("スキル") + StrPrintf("%02d", group.m_nGroupNo + 1);
}

bool WriteSkillCsv(const cSkillList& group, CsvTable& out)
{
    return WriteCsvRecords(SkillPointers(group), SkillCsvColumns(), SkillCsvDataType(group), out);
}

bool ReadSkillCsv(cSkillList& group, const CsvTable& table)
{
    return ReadCsvRecords(SkillPointers(group), table, SkillCsvColumns(), SkillCsvDataType(group),
                          [](const cSerial& r) { return static_cast<const cSkill&>(r).m_Name; });
}
