// Logging and message boxes shared by every part of the editor.
//
// core never shows a window itself: every box and question goes through the
// installed MessageSink. The editor installs one backed by Qt message boxes,
// the command-line tool one that prints to stderr, and tests one that records.
#pragma once

#include <cstdarg>
#include <string>

enum class Answer { Yes, No, Cancel, Ok };
enum class Buttons { Ok, YesNo, YesNoCancel };

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Shows a box with the text and title (CP932) and returns the button pressed.
    virtual Answer Box(const std::string& text, const std::string& title, Buttons buttons) = 0;
    // Asked to end the program (out of memory, broken list index). May return.
    virtual void RequestQuit() {}
};

// Replaces the sink; nullptr restores the default (stderr) sink. Returns the old one.
MessageSink* SetMessageSink(MessageSink* sink);
MessageSink& CurrentMessageSink();

// Shows a message box through the sink (owned by the active window in the editor).
Answer MessageBoxText(const std::string& text, const std::string& title, Buttons buttons);

// The report log: created empty by OpenReportLog, then each line appended by
// opening, writing text + CR LF and closing, so the file is whole after every line.
bool OpenReportLog(const std::string& hostPath);
void CloseReportLog();
const std::string& ReportLogPath();

// Error log switch (off for the editor; nothing turns it on in normal use).
void SetErrorLog(const std::string& hostPath, bool enabled);

void ReportPrintf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void ReportLogPrintf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void ReportErrorPrintf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void ErrorBoxPrintf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void ErrorLogPrintf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void DebugBoxPrintf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void OutOfMemoryQuit();

// printf into a std::string (no size limit).
std::string StrPrintf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string StrVPrintf(const char* fmt, va_list args);
