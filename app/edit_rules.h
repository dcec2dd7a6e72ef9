// The rules the editor's input controls apply while the user types: filtering
// and clamping of numeric edits, and the width and line limits of text edits.
// Kept apart from the widgets so that they can be checked without a display.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Type codes of the values a numeric edit can be bound to.
enum NumericType { NT_CHAR, NT_UCHAR, NT_SHORT, NT_USHORT, NT_INT, NT_UINT, NT_FLOAT, NT_DOUBLE };

template <class T> constexpr NumericType NumericTypeOf();
template <> constexpr NumericType NumericTypeOf<char>() { return NT_CHAR; }
template <> constexpr NumericType NumericTypeOf<signed char>() { return NT_CHAR; }
template <> constexpr NumericType NumericTypeOf<unsigned char>() { return NT_UCHAR; }
template <> constexpr NumericType NumericTypeOf<short>() { return NT_SHORT; }
template <> constexpr NumericType NumericTypeOf<unsigned short>() { return NT_USHORT; }
template <> constexpr NumericType NumericTypeOf<int>() { return NT_INT; }
template <> constexpr NumericType NumericTypeOf<unsigned int>() { return NT_UINT; }
template <> constexpr NumericType NumericTypeOf<float>() { return NT_FLOAT; }
template <> constexpr NumericType NumericTypeOf<double>() { return NT_DOUBLE; }

constexpr bool IsFloating(NumericType t) { return t == NT_FLOAT || t == NT_DOUBLE; }

// The range a value of the type can hold (floating types: unbounded).
double NumericTypeMin(NumericType t);
double NumericTypeMax(NumericType t);

// Keeps a leading minus sign, digits and decimal points; drops double-byte
// characters and everything else.
std::string FilterNumericText(std::string_view cp932);

// What reading a numeric edit gives.
struct NumericReading {
    double value = 0;      // integer types hold whole numbers
    std::string pending;   // text shown instead of the value while incomplete ("-", "-0", "1.")
    bool empty = false;    // the edit held no usable character
};

// Reads the text of a numeric edit. Integer types keep "-" and "-0" as pending
// text and clamp to the range of the type; floating types are rounded to the
// decimals and keep the filtered text as pending text. An empty text gives the
// minimum when that is above 0, else 0.
NumericReading ParseNumeric(std::string_view text, NumericType type, int decimals, double minimum);

// The value formatted as the edit shows it ("%d", or "%.Nf" for floating types).
std::string FormatNumeric(double value, NumericType type, int decimals);

// What showing a value writes into the edit. `value` comes back clamped to
// [minimum, maximum]; `text` is what to write when `write` is set.
struct NumericDisplay {
    double value = 0;
    bool clamped = false;
    bool write = false;
    std::string text;
};
NumericDisplay ShowNumeric(double value, double minimum, double maximum, NumericType type, int decimals,
                           const std::string& pending, bool emptyFlag, bool force);

// ---------------------------------------------------------------------------
// Text edits. Lines end at "\r\n"; widths count bytes, or message characters:
// one per double-byte character, one per single-byte character other than a
// line feed, one per control sequence of the message text.

// Length in bytes of the message control sequence that starts at text[pos], 0
// when none starts there. The event editors install the recogniser of their
// message codes; by default there are none.
using ControlSequenceFn = std::size_t (*)(std::string_view text, std::size_t pos);
void SetControlSequenceRecogniser(ControlSequenceFn fn);

std::size_t TextWidth(std::string_view line, bool messageChars);
int CountLines(std::string_view text);

// Breaks every line wider than maxWidth after its longest prefix that fits (at
// least one character), repeating until every line fits. A selection bound
// behind an inserted break moves by its two bytes. Returns the number of breaks.
int BreakLongLines(std::string& text, std::size_t& selStart, std::size_t& selEnd, std::size_t maxWidth,
                   bool messageChars);

// Characters of a text where every character counts once, double-byte or
// not (a line break is two); and the longest prefix of at most maxChars.
std::size_t CountChars(std::string_view text);
std::string_view CutToChars(std::string_view text, std::size_t maxChars);

// The first maxLength bytes of text (twice the length minus one for message
// characters), never cutting a character.
std::string_view CutTextForStore(std::string_view text, std::size_t maxLength, bool messageChars);

// The text of an edit that a change made longer than maxBytes: the inserted
// part (where the text differs from the one before the change) keeps its
// longest leading run of whole characters that fits, so a paste is cut and a
// typed character refused while the rest stays; if the rest alone is too long
// the end is cut. caret receives the byte position after what was kept.
std::string LimitEditedText(std::string_view before, std::string_view after, std::size_t maxBytes,
                            std::size_t& caret);
