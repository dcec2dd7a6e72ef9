#include "app/test_play.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "app/editor_state.h"
#include "app/startup.h"
#include "base/log.h"
#include "base/paths.h"
#include "base/text.h"
#include "project/project.h"

extern char** environ;

namespace {

const char kMarkerSection[] = ".vantor.strings";
const char kGameString[] = "GAME";
// Section names and the marker strings of a real program are a few hundred
// bytes; larger ones are not read.
constexpr uint64_t kMaxNamesSize = 1 << 20;
constexpr uint64_t kMaxMarkerSize = 1 << 16;
constexpr uint32_t kDoubleStartMs = 3000;

// Reads unsigned values of either byte order from a byte buffer.
struct Fields {
    const uint8_t* p;
    bool big;
    uint64_t U(std::size_t at, int width) const
    {
        uint64_t v = 0;
        for (int i = 0; i < width; ++i) {
            int shift = big ? 8 * (width - 1 - i) : 8 * i;
            v |= uint64_t(p[at + i]) << shift;
        }
        return v;
    }
};

// offset + size lies within the file, without overflow.
bool Within(uint64_t offset, uint64_t size, uint64_t fileSize)
{
    return offset <= fileSize && size <= fileSize - offset;
}

}  // namespace

const std::vector<TestPlayOption>& TestPlayOptions()
{
    static const std::vector<TestPlayOption> options = {
        {"ランダム能力値成長を無効化", &cTestPlay::m_bNoRandomGrowth, {}},
        {"ランダムセンス上昇を無効化", &cTestPlay::m_bNoRandomSense, {}},
        {"ランダムスキル習得", &cTestPlay::m_nRandomSkill,
         {"テストプレイでも変わらない", "覚える可能性のあるスキルを全て習得", "ランダムスキル習得を無効化"}},
        {"ランダムスキル習得におけるスキルの習得レベル", &cTestPlay::m_nSkillLevel,
         {"テストプレイでも変わらない", "習得レベル最小値と最大値の中間で習得（センスも影響）",
          "習得レベル最小値で習得（センスも影響）", "習得レベル最大値で習得（センスも影響）"}},
        {"トレーニング", &cTestPlay::m_nTraining, {"テストプレイでも変わらない", "トレーニングできる", "全ての敵と闘える"}},
    };
    return options;
}

bool ElfMarkerString(const ReadAtFn& read, uint64_t fileSize, int n, std::string& out)
{
    out.clear();
    if (n < 0 || fileSize < 52)
        return false;
    uint8_t header[64] = {};
    if (!read(0, header, fileSize < 64 ? 52 : 64))
        return false;
    if (header[0] != 0x7f || header[1] != 'E' || header[2] != 'L' || header[3] != 'F')
        return false;
    const bool is64 = header[4] == 2;
    if ((header[4] != 1 && !is64) || (header[5] != 1 && header[5] != 2))
        return false;
    if (is64 && fileSize < 64)
        return false;
    Fields h{header, header[5] == 2};
    // Where the section table lies and how its entries look.
    const uint64_t shoff = is64 ? h.U(0x28, 8) : h.U(0x20, 4);
    const uint64_t entSize = is64 ? h.U(0x3A, 2) : h.U(0x2E, 2);
    const uint64_t count = is64 ? h.U(0x3C, 2) : h.U(0x30, 2);
    const uint64_t namesIndex = is64 ? h.U(0x3E, 2) : h.U(0x32, 2);
    const uint64_t minEnt = is64 ? 64 : 40;
    if (count == 0 || entSize < minEnt || namesIndex >= count || !Within(shoff, count * entSize, fileSize))
        return false;
    std::vector<uint8_t> table(count * entSize);
    if (!read(shoff, table.data(), table.size()))
        return false;

    struct Section {
        uint64_t name, type, offset, size;
    };
    auto section = [&](uint64_t i) {
        Fields f{table.data() + i * entSize, h.big};
        if (is64)
            return Section{f.U(0, 4), f.U(4, 4), f.U(0x18, 8), f.U(0x20, 8)};
        return Section{f.U(0, 4), f.U(4, 4), f.U(0x10, 4), f.U(0x14, 4)};
    };
    constexpr uint64_t kNoBits = 8;
    // A section whose bytes lie in the file, read whole.
    auto contents = [&](const Section& s, uint64_t limit, std::vector<char>& bytes) {
        if (s.type == kNoBits || !Within(s.offset, s.size, fileSize) || s.size > limit)
            return false;
        bytes.resize(s.size);
        return s.size == 0 || read(s.offset, bytes.data(), bytes.size());
    };

    std::vector<char> names;
    if (!contents(section(namesIndex), kMaxNamesSize, names))
        return false;
    const std::size_t wantLen = sizeof(kMarkerSection);  // with its NUL
    for (uint64_t i = 0; i < count; ++i) {
        Section s = section(i);
        if (s.name >= names.size() || names.size() - s.name < wantLen ||
            std::memcmp(names.data() + s.name, kMarkerSection, wantLen) != 0)
            continue;
        std::vector<char> strings;
        // A marker larger than the limit still counts when its start holds
        // the strings asked for.
        Section head = s;
        if (head.size > kMaxMarkerSize && Within(s.offset, s.size, fileSize))
            head.size = kMaxMarkerSize;
        if (!contents(head, kMaxMarkerSize, strings))
            return false;
        std::size_t start = 0;
        for (int k = 0;; ++k) {
            auto end = std::find(strings.begin() + start, strings.end(), '\0');
            if (end == strings.end())
                return false;  // fewer strings, or the last one unterminated
            std::size_t stop = static_cast<std::size_t>(end - strings.begin());
            if (k == n) {
                out.assign(strings.data() + start, stop - start);
                return true;
            }
            start = stop + 1;
        }
    }
    return false;
}

bool IsGameProgram(const std::string& hostPath)
{
    int fd = open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    bool game = false;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        ReadAtFn read = [fd](uint64_t offset, void* out, std::size_t size) {
            std::size_t done = 0;
            while (done < size) {
                ssize_t got = pread(fd, static_cast<char*>(out) + done, size - done, static_cast<off_t>(offset + done));
                if (got <= 0)
                    return false;
                done += static_cast<std::size_t>(got);
            }
            return true;
        };
        std::string s;
        game = ElfMarkerString(read, static_cast<uint64_t>(st.st_size), 1, s) && s == kGameString;
    }
    close(fd);
    return game;
}

bool FindGameProgram(const cTestPlay& settings, std::string& path)
{
    namespace fs = std::filesystem;
    path.clear();
    std::error_code ec;
    if (!settings.m_bAutoFind) {
        if (settings.m_GamePath.empty())
            return false;
        std::string host = HostPath(settings.m_GamePath);
        if (!fs::is_regular_file(host, ec))
            return false;
        path = host;
        return true;
    }
    std::vector<std::string> candidates;
    for (fs::directory_iterator it(".", ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (it->is_regular_file(ec) && access(name.c_str(), X_OK) == 0)
            candidates.push_back(std::move(name));
    }
    // Byte order of the names, whatever order the folder lists them in.
    std::sort(candidates.begin(), candidates.end());
    for (const std::string& name : candidates)
        if (IsGameProgram(name)) {
            path = name;
            return true;
        }
    return false;
}

TestPlayHooks& ProcessTestPlayHooks()
{
    static TestPlayHooks hooks;
    return hooks;
}

int LaunchDetached(const std::string& program, const std::string& folder)
{
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attr);
    if (!folder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    // A session of its own, default signal handling and no blocked signals.
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    std::string file = program;
    char* argv[] = {file.data(), nullptr};
    pid_t pid = -1;
    int rc = posix_spawn(&pid, program.c_str(), &actions, &attr, argv, environ);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? static_cast<int>(pid) : -1;
}

void SetTestPlayRunning(EditorState& ed, bool running, const TestPlayHooks& hooks)
{
    ed.testPlayRunning = running;
    AppBusy = running;
    if (hooks.busyChanged)
        hooks.busyChanged();
}

bool StartTestPlay(EditorState& ed, Project& p, const TestPlayHooks& hooks)
{
    std::string program;
    if (!FindGameProgram(p.m_TestPlay, program)) {
        ErrorBoxPrintf("%s", SJ("ゲームプログラムが見つかりません！").c_str());
        return false;
    }
    const uint32_t now = hooks.clock ? hooks.clock() : 0;
    if (ed.testPlayRunning) {
        // A second press soon after the first is the same wish; later the
        // game is probably not telling the editor that it ended.
        if (now - ed.testPlayStart >= kDoubleStartMs)
            ErrorBoxPrintf("%s", SJ("二重起動はできません！\n二重起動でないのにこのエラーが出る場合はエディタープログラムとゲームプログラムのバージョンが合っていない可能性があります。").c_str());
        return false;
    }
    ed.testPlayStart = now;
    SetTestPlayRunning(ed, true, hooks);

    if (ed.stageOpen) {
        if (ed.stagePath.empty()) {
            ErrorBoxPrintf("%s", SJ("ステージファイルのパスが無効です！\n1度はステージを保存しないと、テストプレイは実行できません！").c_str());
            SetTestPlayRunning(ed, false, hooks);
            return false;
        }
        if (!p.m_Stage.SaveFile(ed.stagePath)) {
            ErrorBoxPrintf("%s", SJ("ステージファイルのパスが無効です！\n1度ステージを保存する必要があります！").c_str());
            SetTestPlayRunning(ed, false, hooks);
            return false;
        }
        ed.stageModified = false;
        SaveEventPalette(ed, p);
        ed.undo.Clear();
    }

    // The game learns the stage to play from the editor settings, written as
    // shut-down writes them.
    cEditConfig& config = p.m_EditConfig;
    config.m_StagePath = ed.stageOpen ? ed.stagePath : std::string();
    config.m_nPaletteMode = static_cast<int32_t>(ed.mode);
    config.SaveFile(ProjectFile::EditConfig);

    const std::string folder = WorkingFolder();
    std::string absolute = program;
    if (!absolute.empty() && absolute[0] != '/')
        absolute = folder + "/" + absolute;
    int pid = hooks.launch ? hooks.launch(absolute, folder) : LaunchDetached(absolute, folder);
    if (pid <= 0) {
        SetTestPlayRunning(ed, false, hooks);
        ErrorBoxPrintf("%s", SJ("ゲームプログラムが呼び出せません！").c_str());
        return false;
    }
    LastGameProcess().pid = pid;
    ReportPrintf("Test play: %s (process %d)", absolute.c_str(), pid);
    return true;
}

void EndTestPlay(EditorState& ed, const TestPlayHooks& hooks)
{
    ErrorLogPrintf("bTestPlay = FALSE;");
    SetTestPlayRunning(ed, false, hooks);
}

GameProcess& LastGameProcess()
{
    static GameProcess game;
    return game;
}

bool CollectGameExit(GameProcess& game)
{
    if (game.pid <= 0)
        return false;
    int status = 0;
    pid_t r = waitpid(game.pid, &status, WNOHANG);
    if (r == 0)
        return false;
    if (r < 0) {
        // Not our child (any more): nothing to report.
        game.pid = 0;
        return false;
    }
    if (WIFEXITED(status))
        ReportPrintf("Test play: the game (process %d) ended with status %d", game.pid, WEXITSTATUS(status));
    else if (WIFSIGNALED(status))
        ReportPrintf("Test play: the game (process %d) was ended by signal %d", game.pid, WTERMSIG(status));
    game.pid = 0;
    return true;
}

// ---------------------------------------------------------------------------
// The channel

std::string WorkingFolder()
{
    std::error_code ec;
    return std::filesystem::current_path(ec).string();
}

uint32_t Fnv1a32(std::string_view bytes)
{
    uint32_t h = 2166136261u;
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 16777619u;
    }
    return h;
}

std::string TestPlayChannel(const std::string& projectFolder)
{
    std::string folder;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        folder = runtime;
    else {
        std::error_code ec;
        folder = std::filesystem::temp_directory_path(ec).string();
        if (ec || folder.empty())
            folder = "/tmp";
    }
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return StrPrintf("%s/VantorTactics_Editor-%u-%08x", folder.c_str(), static_cast<unsigned>(getuid()),
                     Fnv1a32(projectFolder));
}

std::string EncodeTestPlayMessage(uint32_t data, std::string_view payload)
{
    std::string out;
    auto put = [&out](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
    };
    put(data);
    put(static_cast<uint32_t>(payload.size()));
    out.append(payload);
    return out;
}

void TestPlayMessageReader::Feed(const void* bytes, std::size_t size)
{
    if (broken_)
        return;
    // Drop what was consumed before the buffer grows again.
    if (pos_ > 0) {
        buffer_.erase(0, pos_);
        pos_ = 0;
    }
    buffer_.append(static_cast<const char*>(bytes), size);
}

bool TestPlayMessageReader::Next(Message& out)
{
    if (broken_ || buffer_.size() - pos_ < 8)
        return false;
    auto get = [this](std::size_t at) {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= uint32_t(static_cast<unsigned char>(buffer_[pos_ + at + i])) << (8 * i);
        return v;
    };
    uint32_t length = get(4);
    if (length > kMaxTestPlayPayload) {
        broken_ = true;
        buffer_.clear();
        pos_ = 0;
        return false;
    }
    if (buffer_.size() - pos_ - 8 < length)
        return false;
    out.data = get(0);
    out.payload.assign(buffer_, pos_ + 8, length);
    pos_ += 8 + length;
    return true;
}

TestPlayClient::~TestPlayClient() { Close(); }

bool TestPlayClient::Connect(const std::string& channel)
{
    Close();
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (channel.size() >= sizeof(addr.sun_path))
        return false;
    std::memcpy(addr.sun_path, channel.c_str(), channel.size() + 1);
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0) {
        close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

bool TestPlayClient::Send(uint32_t data, std::string_view payload)
{
    if (fd_ < 0 || payload.size() > kMaxTestPlayPayload)
        return false;
    std::string bytes = EncodeTestPlayMessage(data, payload);
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void TestPlayClient::Close()
{
    if (fd_ >= 0)
        close(fd_);
    fd_ = -1;
}
