// Conversions at the widget edge: the editor's text is CP932 with "\r\n" line
// breaks; widgets hold QString with "\n".
#pragma once

#include <QString>
#include <string>

#include "base/text.h"

inline QString ToQt(std::string_view cp932)
{
    std::u16string u = Cp932ToUtf16(cp932);
    QString s = QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

inline std::string FromQt(const QString& text)
{
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return Utf16ToCp932(std::u16string_view(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<std::size_t>(s.size())));
}

// A QString position as a byte offset into FromQt(text), and back.
inline std::size_t BytePos(const QString& text, int pos) { return FromQt(text.left(pos)).size(); }
inline int QtPos(const std::string& cp932, std::size_t byte)
{
    return static_cast<int>(ToQt(std::string_view(cp932).substr(0, std::min(byte, cp932.size()))).size());
}
