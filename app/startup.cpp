#include "app/startup.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/statvfs.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "base/log.h"
#include "base/paths.h"
#include "base/text.h"
#include "database/csv.h"
#include "project/project.h"
#include "records/serial.h"

namespace fs = std::filesystem;

std::string ProjectFolder;
bool StartupComplete = false;
bool AppActive = true;
bool AppBusy = false;
double SheetScaleX = 1.0, SheetScaleY = 1.0;
FocusRequestState FocusRequest;

// ---------------------------------------------------------------------------
// Machine report

namespace {

// "key : value" lines of /proc/cpuinfo, first occurrence of each key.
std::map<std::string, std::string> ReadKeyValues(const char* path, char separator)
{
    std::map<std::string, std::string> out;
    std::ifstream f(path);
    std::string line;
    while (std::getline(f, line)) {
        std::size_t p = line.find(separator);
        if (p == std::string::npos)
            continue;
        auto trim = [](std::string s) {
            std::size_t a = s.find_first_not_of(" \t\"");
            std::size_t b = s.find_last_not_of(" \t\"");
            return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
        };
        std::string key = trim(line.substr(0, p));
        if (!out.count(key))
            out[key] = trim(line.substr(p + 1));
    }
    return out;
}

// A /proc/meminfo value ("12345 kB") in bytes.
double MemBytes(const std::map<std::string, std::string>& info, const char* key)
{
    auto it = info.find(key);
    return it == info.end() ? 0.0 : std::strtod(it->second.c_str(), nullptr) * 1024.0;
}

double ToMB(double bytes) { return bytes * (1.0 / 1024) * (1.0 / 1024); }

}  // namespace

void WriteMachineReport(const DisplayFacts& display)
{
    // The system's name and release; the "PID" and "Build" figures are the
    // kernel's major and minor version.
    utsname u{};
    uname(&u);
    auto release = ReadKeyValues("/etc/os-release", '=');
    std::string name = release.count("PRETTY_NAME") ? release["PRETTY_NAME"] : std::string(u.sysname);
    int major = 0, minor = 0;
    std::sscanf(u.release, "%d.%d", &major, &minor);
    ReportPrintf("OS : %s", StrPrintf("%s %s PID %d Build %d", name.c_str(), u.release, major, minor).c_str());

    auto cpu = ReadKeyValues("/proc/cpuinfo", ':');
    int mhz = static_cast<int>(std::strtod(cpu["cpu MHz"].c_str(), nullptr));
    ReportPrintf("CPU : %s %s %d", cpu["vendor_id"].c_str(), cpu["model name"].c_str(), mhz);

    auto mem = ReadKeyValues("/proc/meminfo", ':');
    ReportPrintf("Mem Total : %.3fMB", ToMB(MemBytes(mem, "MemTotal")));
    ReportPrintf("Mem Free : %3.fMB", ToMB(MemBytes(mem, "MemAvailable")));
    // What the kernel will commit to processes stands for the address space.
    double commitLimit = MemBytes(mem, "CommitLimit");
    double committed = MemBytes(mem, "Committed_AS");
    ReportPrintf("Vir Total : %.3fMB", ToMB(commitLimit));
    ReportPrintf("Vir Free : %3.fMB", ToMB(commitLimit > committed ? commitLimit - committed : 0));

    double freeBytes = 0;
    struct statvfs st{};
    if (statvfs(".", &st) == 0)
        freeBytes = static_cast<double>(st.f_bavail) * static_cast<double>(st.f_frsize);
    if (freeBytes > 2147483647.0)
        freeBytes = 2147483647.0;
    ReportPrintf("HD Free : %3.fMB", ToMB(freeBytes));

    ReportPrintf("Display : (%d,%d)", display.screenWidth, display.screenHeight);
    ReportPrintf("System Font : %s (%d,%d) %u", display.fontFace.c_str(), display.fontWidth, display.fontHeight,
                 display.fontPitchAndFamily);
}

// ---------------------------------------------------------------------------
// Single instance

InstanceGuard::InstanceGuard(std::string lockFolder) : folder_(std::move(lockFolder))
{
    if (folder_.empty()) {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        folder_ = runtime && *runtime ? runtime : fs::temp_directory_path().string();
    }
}

InstanceGuard::~InstanceGuard() { Release(); }

bool InstanceGuard::Acquire(const std::string& name)
{
    Release();
    std::string path = folder_ + "/" + name + "-" + std::to_string(getuid()) + ".lock";
    fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0)
        return true;  // no lock to be had: behave as the only instance
    return flock(fd_, LOCK_EX | LOCK_NB) == 0;
}

void InstanceGuard::Release()
{
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
}

bool ProgramStart(InstanceGuard& guard, const DisplayFacts& display, const std::string& instanceName)
{
    SetErrorLog(HostPath("EC_Editor.txt"), false);
    std::string report = "Report_Editor.txt";
    if (!IsAbsolutePath(report))
        MakeAbsolute(report);
    if (!OpenReportLog(HostPath(report)))
        return false;
    ReportPrintf("App : ver %s", std::to_string(kEditorDataVersion).c_str());
    WriteMachineReport(display);

    if (!guard.Acquire(instanceName)) {
        Answer a = MessageBoxText(
            SJ("既に起動しています。\n二重起動しますか？  ※非推奨。データの上書き保存に注意！\n"), SJ("二重起動"),
            Buttons::YesNo);
        if (a != Answer::Yes) {
            guard.Release();
            return false;
        }
    }
    return true;
}

// ---------------------------------------------------------------------------
// Application start-up

namespace {

bool IsFolder(const std::string& stored)
{
    std::error_code ec;
    return fs::is_directory(HostPath(stored), ec);
}

}  // namespace

bool EnsureDataFolder(bool& created)
{
    created = false;
    if (IsFolder("data"))
        return true;
    if (!IsFolder("default"))
        return false;
    if (MessageBoxText(SJ("データが存在しません！デフォルトデータを作成しますか？\n"),
                       SJ("デフォルトデータ作成の確認"), Buttons::YesNo) != Answer::Yes)
        return false;
    fs::path from = fs::absolute(HostPath("default"));
    fs::path to = fs::absolute(HostPath("data"));
    std::error_code ec;
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
    if (ec) {
        // Leave no half-copied data behind: the next start asks again.
        std::error_code ignored;
        fs::remove_all(to, ignored);
        return false;
    }
    created = true;
    return true;
}

namespace {

template <class Fn>
void Run(const Fn& fn)
{
    if (fn)
        fn();
}

template <class Fn>
bool Succeeds(const Fn& fn)
{
    return !fn || fn();
}

}  // namespace

bool AppStartup(const StartupHooks& hooks)
{
    StartupComplete = false;
    CurrentVersion = kEditorDataVersion;
    NormalizeOnLoad = false;
    VersionTooNew = false;
    ProjectFolder = CurrentDirectory();

    bool dataCreated = false;
    if (!EnsureDataFolder(dataCreated))
        return false;
    CreateProjectFolders();
    Run(hooks.loadRandomNames);
    Run(hooks.buildSkillFields);
    ClearEndedEarlyFiles();
    LoadEditorSettings();

    if (!Succeeds(hooks.loadProject)) {
        if (VersionTooNew)
            ErrorBoxPrintf("%s", SJ("プロジェクトのロードに失敗しました！").c_str());
        else
            ErrorBoxPrintf("%s", SJ("プロジェクトのロードに失敗しました！フォルダやファイルの位置や名称が変更された可能性があります！").c_str());
        // Forget the stage so that the next start does not trip over it again.
        EditConfig().m_StagePath.clear();
        EditConfig().SaveFile("e_data\\EditConfig.dat");
        return false;
    }
    // Files that ended early still loaded; the user hears of it once.
    ReportEndedEarlyFiles();
    Run(hooks.readRunSettings);
    if (dataCreated && !Succeeds(hooks.chooseBattleMode))
        return false;
    Run(hooks.prepareSound);
    if (!Succeeds(hooks.createMainWindow))
        return false;

    cPropSheetSize& sheet = PropSheetSize();
    if (LoadSheetSize()) {
        SheetScaleX = sheet.m_dScaleX;
        SheetScaleY = sheet.m_dScaleY;
        ReportPrintf("Sheet Rate = (%lf,%lf)", SheetScaleX, SheetScaleY);
    } else {
        SheetScaleX = SheetScaleY = 1.0;
        ReportPrintf("Sheet Rate : 1.0");
    }
    StartupComplete = true;
    return true;
}

void AppShutdown(const ShutdownHooks& hooks)
{
    if (StartupComplete) {
        cEditConfig& config = EditConfig();
        if (hooks.currentStagePath)
            config.m_StagePath = hooks.currentStagePath();
        if (hooks.currentPaletteMode)
            config.m_nPaletteMode = hooks.currentPaletteMode();
        config.SaveFile("e_data\\EditConfig.dat");
    }
    Run(hooks.saveCommonVariableNames);
    Run(hooks.releaseSound);
}

ShutdownHooks& ProcessShutdownHooks()
{
    static ShutdownHooks hooks;
    return hooks;
}

void ReadProjectRunSettings(const std::string& path)
{
    const cSystem& system = TheProject().m_System;
    RunSettings& run = ProcessRunSettings();
    SetRunDefaults(system, run);
    // A file that ends without its end mark may have set some values already.
    if (!ReadRunSettings(path, system, run))
        SetRunDefaults(system, run);
}

void UseProjectHooks(StartupHooks& hooks, ShutdownHooks& down)
{
    if (!hooks.loadRandomNames)
        hooks.loadRandomNames = LoadRandomNames;
    if (!hooks.buildSkillFields)
        hooks.buildSkillFields = BuildSkillCsvColumns;
    if (!hooks.loadProject)
        hooks.loadProject = [] {
            if (!LoadProject())
                return false;
            OpenRememberedStage();
            return true;
        };
    if (!hooks.readRunSettings)
        hooks.readRunSettings = [] { ReadProjectRunSettings(); };
    if (!down.saveCommonVariableNames)
        down.saveCommonVariableNames = [] { SaveListFile(TheProject().m_GlobalVariables, ProjectFile::GValInfo); };
}
