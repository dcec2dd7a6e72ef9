#include "base/text.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// One iconv conversion descriptor per direction, opened on first use.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (cd_ != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd_);
    }

    // Converts in; on an invalid or unconvertible sequence calls onBad(in, out)
    // which must consume at least one input byte. Returns false only if the
    // descriptor could not be opened.
    template <class OnBad>
    bool Run(std::string_view in, std::string& out, OnBad onBad)
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            return false;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char buffer[1024];
        while (srcLeft > 0) {
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            std::size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            if (r == static_cast<std::size_t>(-1)) {
                if (errno == E2BIG)
                    continue;
                // EILSEQ or EINVAL: let the caller decide how to pass the bad bytes.
                std::size_t used = onBad(src, srcLeft, out);
                src += used;
                srcLeft -= used;
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            }
        }
        return true;
    }

private:
    iconv_t cd_;
};

Converter& FromCp932() { static Converter c("UTF-8", "CP932"); return c; }
Converter& ToCp932() { static Converter c("CP932", "UTF-8"); return c; }

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 character at s[i]; returns its length, 0 when invalid.
std::size_t DecodeUtf8(std::string_view s, std::size_t i, char32_t& c)
{
    unsigned char b = static_cast<unsigned char>(s[i]);
    std::size_t n;
    if (b < 0x80) { c = b; return 1; }
    if ((b & 0xE0) == 0xC0) { n = 2; c = b & 0x1F; }
    else if ((b & 0xF0) == 0xE0) { n = 3; c = b & 0x0F; }
    else if ((b & 0xF8) == 0xF0) { n = 4; c = b & 0x07; }
    else return 0;
    if (i + n > s.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k) {
        unsigned char t = static_cast<unsigned char>(s[i + k]);
        if ((t & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (t & 0x3F);
    }
    static const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < smallest[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return n;
}

constexpr char32_t kEscapeBase = 0xF700;  // U+F700 + byte: a byte passed through as it stands

}  // namespace

std::size_t CharLength(std::string_view s, std::size_t i)
{
    if (i + 1 < s.size() && IsLeadByte(static_cast<unsigned char>(s[i])))
        return 2;
    return 1;
}

std::size_t FindLastSingleByte(std::string_view s, char c)
{
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < s.size(); i += CharLength(s, i))
        if (s[i] == c)
            found = i;
    return found;
}

std::string_view CutToBytes(std::string_view s, std::size_t maxBytes)
{
    std::size_t i = 0;
    while (i < s.size()) {
        std::size_t n = CharLength(s, i);
        if (i + n > maxBytes)
            break;
        i += n;
    }
    return s.substr(0, i);
}

std::string Cp932ToUtf8(std::string_view cp932)
{
    std::string out;
    out.reserve(cp932.size() * 3 / 2);
    FromCp932().Run(cp932, out, [](const char* src, std::size_t left, std::string& o) {
        o += "\xEF\xBF\xBD";  // U+FFFD
        return (left >= 2 && IsLeadByte(static_cast<unsigned char>(src[0]))) ? std::size_t{2} : std::size_t{1};
    });
    return out;
}

std::string Utf8ToCp932(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    ToCp932().Run(utf8, out, [utf8](const char* src, std::size_t left, std::string& o) {
        o += '?';
        char32_t c;
        std::size_t n = DecodeUtf8(std::string_view(src, left), 0, c);
        (void)utf8;
        return n ? n : std::size_t{1};
    });
    return out;
}

std::u16string Cp932ToUtf16(std::string_view cp932)
{
    std::string utf8 = Cp932ToUtf8(cp932);
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c;
        std::size_t n = DecodeUtf8(utf8, i, c);
        if (!n) { c = 0xFFFD; n = 1; }
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
        i += n;
    }
    return out;
}

std::string Utf16ToCp932(std::u16string_view utf16)
{
    std::string utf8;
    utf8.reserve(utf16.size() * 3);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t c = utf16[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = '?';
        }
        AppendUtf8(utf8, c);
    }
    return Utf8ToCp932(utf8);
}

std::string Cp932ToUtf8Exact(std::string_view cp932)
{
    std::string out;
    out.reserve(cp932.size() * 3 / 2);
    // Character by character, so that each one is checked to encode back to the
    // same bytes (CP932 has characters with two codes, e.g. 0xED40 and 0xFA5C).
    for (std::size_t i = 0; i < cp932.size();) {
        unsigned char b = static_cast<unsigned char>(cp932[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        std::size_t n = CharLength(cp932, i);
        std::string_view ch = cp932.substr(i, n);
        std::string utf8;
        bool good = false;
        if (n == 2 || !IsLeadByte(b)) {
            bool bad = false;
            FromCp932().Run(ch, utf8, [&bad](const char*, std::size_t left, std::string&) {
                bad = true;
                return left;
            });
            if (!bad && !utf8.empty()) {
                std::string back;
                ToCp932().Run(utf8, back, [&bad](const char*, std::size_t left, std::string&) {
                    bad = true;
                    return left;
                });
                char32_t c;
                good = !bad && back == ch && DecodeUtf8(utf8, 0, c) && !(c >= kEscapeBase && c < kEscapeBase + 0x100);
            }
        }
        if (good) {
            out += utf8;
            i += n;
        } else {
            AppendUtf8(out, kEscapeBase + b);
            ++i;
        }
    }
    return out;
}

bool Utf8ToCp932Exact(std::string_view utf8, std::string& out)
{
    std::string result;
    result.reserve(utf8.size());
    std::string pending;  // ordinary characters waiting for one iconv call
    auto flush = [&]() {
        if (pending.empty())
            return true;
        bool bad = false;
        ToCp932().Run(pending, result, [&bad](const char*, std::size_t left, std::string&) {
            bad = true;
            return left;
        });
        pending.clear();
        return !bad;
    };
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c;
        std::size_t n = DecodeUtf8(utf8, i, c);
        if (!n)
            return false;
        if (c >= kEscapeBase && c < kEscapeBase + 0x100) {
            if (!flush())
                return false;
            result += static_cast<char>(c - kEscapeBase);
        } else {
            pending.append(utf8.substr(i, n));
        }
        i += n;
    }
    if (!flush())
        return false;
    out = std::move(result);
    return true;
}

std::string NumberedLine(int number, int count, const std::string& text)
{
    int digits = 1;
    for (int c = count; c >= 10; c /= 10)
        ++digits;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0*d", digits, number);
    return std::string(buffer) + " " + text;
}
