#include "base/log.h"

#include <cstdio>
#include <vector>

#include "base/text.h"

namespace {

class StderrSink : public MessageSink {
public:
    Answer Box(const std::string& text, const std::string& title, Buttons buttons) override
    {
        std::fprintf(stderr, "%s: %s\n", Cp932ToUtf8(title).c_str(), Cp932ToUtf8(text).c_str());
        return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    }
};

StderrSink g_stderrSink;
MessageSink* g_sink = &g_stderrSink;

std::string g_reportLog;
std::string g_errorLog;
bool g_errorLogOn = false;
bool g_errorLogStarted = false;


// Formats into a buffer of the given size as the original functions did; sets
// filled when the text did not fit.
std::string FormatBounded(std::size_t size, const char* fmt, va_list args, bool& filled)
{
    std::vector<char> buffer(size);
    int n = std::vsnprintf(buffer.data(), size, fmt, args);
    filled = n < 0 || static_cast<std::size_t>(n) >= size - 1;
    return std::string(buffer.data());
}

void AppendLine(const std::string& path, const std::string& text)
{
    if (path.empty())
        return;
    std::FILE* f = std::fopen(path.c_str(), "ab");
    if (!f)
        return;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fwrite("\r\n", 1, 2, f);
    std::fclose(f);
}

void ErrorLogLine(const std::string& text)
{
    if (!g_errorLogOn || g_errorLog.empty())
        return;
    if (!g_errorLogStarted) {
        if (std::FILE* f = std::fopen(g_errorLog.c_str(), "wb"))
            std::fclose(f);
        g_errorLogStarted = true;
    }
    AppendLine(g_errorLog, text);
}

}  // namespace

MessageSink* SetMessageSink(MessageSink* sink)
{
    MessageSink* old = g_sink;
    g_sink = sink ? sink : &g_stderrSink;
    return old == &g_stderrSink ? nullptr : old;
}

MessageSink& CurrentMessageSink() { return *g_sink; }

Answer MessageBoxText(const std::string& text, const std::string& title, Buttons buttons)
{
    return g_sink->Box(text, title, buttons);
}

bool OpenReportLog(const std::string& hostPath)
{
    std::FILE* f = std::fopen(hostPath.c_str(), "wb");
    if (!f)
        return false;
    std::fclose(f);
    g_reportLog = hostPath;
    return true;
}

void CloseReportLog() { g_reportLog.clear(); }

const std::string& ReportLogPath() { return g_reportLog; }

void SetErrorLog(const std::string& hostPath, bool enabled)
{
    g_errorLog = hostPath;
    g_errorLogOn = enabled;
    g_errorLogStarted = false;
}

std::string StrVPrintf(const char* fmt, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    if (n <= 0)
        return std::string();
    std::string s(static_cast<std::size_t>(n), '\0');
    std::vsnprintf(s.data(), s.size() + 1, fmt, args);
    return s;
}

std::string StrPrintf(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    std::string s = StrVPrintf(fmt, args);
    va_end(args);
    return s;
}

void ReportPrintf(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    std::string s = StrVPrintf(fmt, args);
    va_end(args);
    AppendLine(g_reportLog, s);
}

void ReportLogPrintf(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    bool filled;
    std::string s = FormatBounded(1024, fmt, args, filled);
    va_end(args);
    AppendLine(g_reportLog, s);
    ErrorLogLine(s);
}

void ReportErrorPrintf(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    bool filled;
    std::string s = FormatBounded(1024, fmt, args, filled);
    va_end(args);
    AppendLine(g_reportLog, s);
    ErrorLogLine(s);
    // The formatted text is shown as it stands, never formatted a second time.
    g_sink->Box(s, SJ("エラー"), Buttons::Ok);
}

void ErrorBoxPrintf(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    bool filled;
    std::string s = FormatBounded(4196, fmt, args, filled);
    va_end(args);
    g_sink->Box(s, SJ("エラー"), Buttons::Ok);
}

void ErrorLogPrintf(const char* fmt, ...)
{
    if (!g_errorLogOn)
        return;
    va_list args;
    va_start(args, fmt);
    bool filled;
    std::string s = FormatBounded(4196, fmt, args, filled);
    va_end(args);
    ErrorLogLine(s);
    if (filled)
        ErrorLogLine(SJ("バッファ不足で表示失敗 ECSP()"));
}

void DebugBoxPrintf(const char* fmt, ...)
{
    if (!g_errorLogOn)
        return;
    va_list args;
    va_start(args, fmt);
    bool filled;
    std::string s = FormatBounded(4196, fmt, args, filled);
    va_end(args);
    g_sink->Box(s, SJ("エラー"), Buttons::Ok);
    if (filled)
        g_sink->Box(SJ("バッファ不足で表示失敗 ECMSP()"),
                    SJ("エラー"), Buttons::Ok);
}

void OutOfMemoryQuit()
{
    g_sink->Box(SJ("メモリが不足しています！"),
                SJ("エラー"), Buttons::Ok);
    g_sink->RequestQuit();
}
