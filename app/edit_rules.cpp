#include "app/edit_rules.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "base/text.h"

namespace {

struct TypeRange {
    double min, max;
};

// One row per type code.
constexpr TypeRange kTypeRanges[] = {
    {-128, 127},
    {0, 255},
    {-32768, 32767},
    {0, 65535},
    {static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)},
    {0, static_cast<double>(UINT_MAX)},
    {-DBL_MAX, DBL_MAX},
    {-DBL_MAX, DBL_MAX},
};

std::size_t NoControlSequences(std::string_view, std::size_t) { return 0; }
ControlSequenceFn g_controlSequence = NoControlSequences;

}  // namespace

double NumericTypeMin(NumericType t) { return kTypeRanges[t].min; }
double NumericTypeMax(NumericType t) { return kTypeRanges[t].max; }

std::string FilterNumericText(std::string_view s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        std::size_t n = CharLength(s, i);
        char c = s[i];
        if (n == 1) {
            if ((c >= '0' && c <= '9') || c == '.')
                out += c;
            else if (c == '-' && out.empty())
                out += c;
        }
        i += n;
    }
    return out;
}

NumericReading ParseNumeric(std::string_view text, NumericType type, int decimals, double minimum)
{
    NumericReading r;
    std::string filtered = FilterNumericText(text.substr(0, std::min<std::size_t>(text.size(), 1024)));
    if (filtered.empty()) {
        r.empty = true;
        r.value = minimum > 0 ? minimum : 0;
        return r;
    }
    if (IsFloating(type)) {
        double v = std::strtod(filtered.c_str(), nullptr);
        r.value = std::strtod(FormatNumeric(v, type, decimals).c_str(), nullptr);
        r.pending = filtered;
        return r;
    }
    long long v = std::strtoll(filtered.c_str(), nullptr, 10);
    if (filtered == "-")
        r.pending = "-";
    else if (filtered[0] == '-' && std::strtoll(filtered.c_str() + 1, nullptr, 10) == 0)
        r.pending = "-0";
    double d = static_cast<double>(v);
    double clamped = std::clamp(d, NumericTypeMin(type), NumericTypeMax(type));
    if (clamped != d)
        r.pending.clear();
    r.value = clamped;
    return r;
}

std::string FormatNumeric(double value, NumericType type, int decimals)
{
    char buffer[400];
    if (IsFloating(type))
        std::snprintf(buffer, sizeof buffer, "%.*f", std::clamp(decimals, 0, 20), value);
    else
        std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(value));
    return buffer;
}

NumericDisplay ShowNumeric(double value, double minimum, double maximum, NumericType type, int decimals,
                           const std::string& pending, bool emptyFlag, bool force)
{
    NumericDisplay d;
    d.value = std::clamp(value, minimum, maximum);
    d.clamped = d.value != value;
    if (emptyFlag)
        return d;
    if (!IsFloating(type)) {
        d.write = true;
        d.text = pending.empty() ? FormatNumeric(d.value, type, decimals) : pending;
    } else if (force || d.clamped) {
        d.write = true;
        d.text = FormatNumeric(d.value, type, decimals);
    } else if (!pending.empty()) {
        d.write = true;
        d.text = pending;
    }
    return d;
}

// ---------------------------------------------------------------------------

void SetControlSequenceRecogniser(ControlSequenceFn fn) { g_controlSequence = fn ? fn : NoControlSequences; }

namespace {

// Width and byte length of the unit (character or control sequence) at line[i].
std::size_t UnitAt(std::string_view line, std::size_t i, bool messageChars, std::size_t& width)
{
    if (messageChars) {
        if (std::size_t seq = g_controlSequence(line, i)) {
            width = 1;
            return std::min(seq, line.size() - i);
        }
        std::size_t n = CharLength(line, i);
        width = (n == 1 && line[i] == '\n') ? 0 : 1;
        return n;
    }
    std::size_t n = CharLength(line, i);
    width = n;
    return n;
}

}  // namespace

std::size_t TextWidth(std::string_view line, bool messageChars)
{
    std::size_t width = 0;
    for (std::size_t i = 0; i < line.size();) {
        std::size_t w;
        i += UnitAt(line, i, messageChars, w);
        width += w;
    }
    return width;
}

int CountLines(std::string_view text)
{
    int lines = 1;
    for (std::size_t p = text.find("\r\n"); p != std::string_view::npos; p = text.find("\r\n", p + 2))
        ++lines;
    return lines;
}

int BreakLongLines(std::string& text, std::size_t& selStart, std::size_t& selEnd, std::size_t maxWidth,
                   bool messageChars)
{
    int breaks = 0;
    std::size_t lineStart = 0;
    while (lineStart <= text.size()) {
        std::size_t lineEnd = text.find("\r\n", lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = text.size();
        std::string_view line(text.data() + lineStart, lineEnd - lineStart);
        // The longest prefix that fits, but never an empty one.
        std::size_t width = 0, cut = 0;
        bool tooWide = false;
        for (std::size_t i = 0; i < line.size();) {
            std::size_t w;
            std::size_t n = UnitAt(line, i, messageChars, w);
            if (width + w > maxWidth) {
                tooWide = true;
                cut = i == 0 ? n : i;
                break;
            }
            width += w;
            i += n;
        }
        if (tooWide && cut < line.size()) {
            std::size_t at = lineStart + cut;
            text.insert(at, "\r\n");
            if (at < selStart)
                selStart += 2;
            if (at < selEnd)
                selEnd += 2;
            ++breaks;
            lineStart = at + 2;
            continue;
        }
        if (lineEnd == text.size())
            break;
        lineStart = lineEnd + 2;
    }
    return breaks;
}

std::size_t CountChars(std::string_view text)
{
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i))
        ++n;
    return n;
}

std::string_view CutToChars(std::string_view text, std::size_t maxChars)
{
    std::size_t i = 0;
    for (std::size_t n = 0; i < text.size() && n < maxChars; ++n)
        i += CharLength(text, i);
    return text.substr(0, i);
}

std::string_view CutTextForStore(std::string_view text, std::size_t maxLength, bool messageChars)
{
    std::size_t limit = messageChars ? (maxLength > 0 ? maxLength * 2 - 1 : 0) : maxLength;
    return CutToBytes(text, limit);
}

std::string LimitEditedText(std::string_view before, std::string_view after, std::size_t maxBytes,
                            std::size_t& caret)
{
    caret = after.size();
    if (after.size() <= maxBytes)
        return std::string(after);
    // Whole characters the two texts share at the front.
    std::size_t p = 0;
    while (p < after.size() && p < before.size()) {
        std::size_t n = CharLength(after, p);
        if (after.substr(p, n) != before.substr(p, n))
            break;
        p += n;
    }
    // Bytes they share at the end, behind the front part, moved forward onto
    // the start of a character of the new text.
    std::size_t q = 0;
    while (q < after.size() - p && q < before.size() - p && after[after.size() - 1 - q] == before[before.size() - 1 - q])
        ++q;
    std::size_t tail = p;
    while (tail < after.size() - q)
        tail += CharLength(after, tail);
    std::string_view inserted = after.substr(p, tail - p);
    std::size_t over = after.size() - maxBytes;
    std::string_view kept = CutToBytes(inserted, inserted.size() > over ? inserted.size() - over : 0);
    std::string out(after.substr(0, p));
    out += kept;
    out += after.substr(tail);
    caret = p + kept.size();
    if (out.size() > maxBytes) {
        out = std::string(CutToBytes(out, maxBytes));
        caret = std::min(caret, out.size());
    }
    return out;
}
