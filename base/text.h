// Shift-JIS (code page 932) text. Record strings hold CP932 bytes exactly as
// in the files; conversion to Unicode happens only at the edges (widgets, JSON).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// True for a byte that starts a double-byte CP932 character (0x81-0x9F, 0xE0-0xFC).
constexpr bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Byte length of the character starting at s[i] (1 or 2; 1 at a lone lead byte at the end).
std::size_t CharLength(std::string_view s, std::size_t i);

// Index of the last occurrence of the single-byte character c that is not the
// second byte of a double-byte character; npos when none.
std::size_t FindLastSingleByte(std::string_view s, char c);

// The longest prefix of s of at most maxBytes bytes that does not cut a character.
std::string_view CutToBytes(std::string_view s, std::size_t maxBytes);

// CP932 <-> UTF-8 for display. Undecodable bytes become U+FFFD; characters that
// CP932 cannot hold become "?".
std::string Cp932ToUtf8(std::string_view cp932);
std::string Utf8ToCp932(std::string_view utf8);

// CP932 <-> UTF-16 (for Qt's QString::fromUtf16 and for Windows file names).
std::u16string Cp932ToUtf16(std::string_view cp932);
std::string Utf16ToCp932(std::u16string_view utf16);

// Lossless variants for data exchange (JSON): every byte string survives the round
// trip Cp932ToUtf8Exact -> Utf8ToCp932Exact unchanged, including bytes that are
// not valid CP932 and characters whose Unicode form encodes back to other bytes.
// Such bytes travel as U+F700 + byte, a range CP932 never produces.
std::string Cp932ToUtf8Exact(std::string_view cp932);
// Returns false when utf8 is not valid UTF-8 or holds a character CP932 cannot encode.
bool Utf8ToCp932Exact(std::string_view utf8, std::string& out);

// A CP932 string from a UTF-8 literal in the source, converted once:
//   ErrorBox(SJ("エラー"));
#define SJ(utf8) \
    ([]() -> const std::string& { static const std::string converted = Utf8ToCp932(utf8); return converted; }())

// "0042 text": the 1-based number zero-padded to the digits of count, a blank,
// then the text (list lines and numbered choices).
std::string NumberedLine(int number, int count, const std::string& text);
