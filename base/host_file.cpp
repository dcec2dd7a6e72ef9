#include "base/host_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string Reason(int err) { return std::strerror(err); }

SyncObserver& Observer()
{
    static SyncObserver observer;
    return observer;
}

bool g_durable = true;
int g_scopeDepth = 0;

std::set<std::string>& PendingFolders()
{
    static std::set<std::string> folders;
    return folders;
}

std::vector<WriteFailure>& Failures()
{
    static std::vector<WriteFailure> failures;
    return failures;
}

bool SyncDescriptor(int fd, const std::string& path, bool folder)
{
    if (!g_durable)
        return true;
    if (Observer())
        Observer()(path, folder);
    if (::fsync(fd) == 0)
        return true;
    // Some file systems cannot flush a folder; that is no failure of the save.
    return folder && (errno == EINVAL || errno == EBADF);
}

void SyncFolder(const std::string& folder)
{
    if (!g_durable)
        return;
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    SyncDescriptor(fd, folder, true);
    ::close(fd);
}

std::string FolderOf(const std::string& path)
{
    fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

}  // namespace

namespace {

// Reads the whole regular file at hostPath into buffer, which offers
// Grow(n) (room for n bytes, what was read kept; returns the start), Finish(n)
// (the file is n bytes) and Clear().
template <class Buffer>
bool ReadWholeFile(const std::string& hostPath, Buffer& buffer, std::string* reason)
{
    buffer.Clear();
    auto fail = [&](const std::string& why) {
        if (reason)
            *reason = why;
        buffer.Clear();
        return false;
    };
    // Non-blocking, so that a FIFO without a writer does not stop the open before
    // the file's kind can be looked at.
    int fd = ::open(hostPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return fail(Reason(errno));
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return fail(Reason(errno));
    if (S_ISDIR(st.st_mode))
        return fail(Reason(EISDIR));
    if (!S_ISREG(st.st_mode))
        return fail("not a regular file");
    int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        return fail(Reason(errno));
    // The reported size is a hint only: the file is read to its end, straight
    // into the buffer (one byte more than the hint, so that the end is seen
    // without growing it).
    std::size_t room = st.st_size > 0 ? std::min<std::size_t>(static_cast<std::size_t>(st.st_size), kMaxHostFileBytes) + 1
                                      : 65536;
    uint8_t* data = buffer.Grow(room);
    std::size_t filled = 0;
    for (;;) {
        if (filled == room) {
            if (room > kMaxHostFileBytes)
                return fail(Reason(EFBIG));
            room = std::min<std::size_t>(room * 2, kMaxHostFileBytes + 1);
            data = buffer.Grow(room);
        }
        ssize_t n = ::read(fd, data + filled, room - filled);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(Reason(errno));
        }
        if (n == 0)
            break;
        filled += static_cast<std::size_t>(n);
    }
    if (filled > kMaxHostFileBytes)
        return fail(Reason(EFBIG));
    buffer.Finish(filled);
    return true;
}

struct VectorBuffer {
    std::vector<uint8_t>& bytes;
    uint8_t* Grow(std::size_t n)
    {
        bytes.resize(n);
        return bytes.data();
    }
    void Finish(std::size_t n) { bytes.resize(n); }
    void Clear() { bytes.clear(); }
};

struct BlockBuffer {
    HostFileBytes& bytes;
    std::size_t room = 0;
    uint8_t* Grow(std::size_t n)
    {
        if (n > room) {
            // Not zeroed: the read fills what is used.
            auto bigger = std::make_unique_for_overwrite<uint8_t[]>(n);
            if (room)
                std::memcpy(bigger.get(), bytes.data.get(), room);
            bytes.data = std::move(bigger);
            room = n;
        }
        return bytes.data.get();
    }
    void Finish(std::size_t n) { bytes.size = n; }
    void Clear()
    {
        bytes.data.reset();
        bytes.size = 0;
        room = 0;
    }
};

}  // namespace

bool ReadHostFile(const std::string& hostPath, std::vector<uint8_t>& bytes, std::string* reason)
{
    VectorBuffer buffer{bytes};
    return ReadWholeFile(hostPath, buffer, reason);
}

bool ReadHostFile(const std::string& hostPath, HostFileBytes& bytes, std::string* reason)
{
    BlockBuffer buffer{bytes};
    return ReadWholeFile(hostPath, buffer, reason);
}

std::string WriteTarget(const std::string& hostPath)
{
    std::error_code ec;
    if (!fs::is_symlink(hostPath, ec))
        return hostPath;
    fs::path target = fs::canonical(hostPath, ec);
    return ec ? hostPath : target.string();
}

HostFileWriter::~HostFileWriter()
{
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(temp_.c_str());
    }
}

void HostFileWriter::Fail(int err)
{
    if (error_.empty())
        error_ = Reason(err);
}

bool HostFileWriter::Begin(const std::string& hostPath)
{
    error_.clear();
    target_ = WriteTarget(hostPath);
    temp_ = target_ + ".saving~";
    // A leftover of a killed save is removed, whatever it is.
    ::unlink(temp_.c_str());
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd_ < 0) {
        Fail(errno);
        return false;
    }
    return true;
}

bool HostFileWriter::Write(const void* data, std::size_t n)
{
    if (fd_ < 0 || !error_.empty())
        return false;
    const char* p = static_cast<const char*>(data);
    while (n > 0) {
        ssize_t done = ::write(fd_, p, n);
        if (done < 0) {
            if (errno == EINTR)
                continue;
            Fail(errno);
            return false;
        }
        p += done;
        n -= static_cast<std::size_t>(done);
    }
    return true;
}

bool HostFileWriter::Commit()
{
    if (fd_ < 0)
        return false;
    bool ok = error_.empty();
    if (ok && !SyncDescriptor(fd_, temp_, false)) {
        Fail(errno);
        ok = false;
    }
    if (::close(fd_) != 0 && ok) {
        Fail(errno);
        ok = false;
    }
    fd_ = -1;
    if (ok && ::rename(temp_.c_str(), target_.c_str()) != 0) {
        Fail(errno);
        ok = false;
    }
    if (!ok) {
        ::unlink(temp_.c_str());
        return false;
    }
    if (g_scopeDepth > 0)
        PendingFolders().insert(FolderOf(target_));
    else
        SyncFolder(FolderOf(target_));
    return true;
}

bool WriteHostFileAtomic(const std::string& hostPath, const std::vector<uint8_t>& bytes, std::string* reason)
{
    HostFileWriter out;
    bool ok = out.Begin(hostPath) && out.Write(bytes.data(), bytes.size()) && out.Commit();
    if (!ok) {
        if (reason)
            *reason = out.Error();
        NoteWriteFailure(std::string(), hostPath, out.Error());
    }
    return ok;
}

DurableSaveScope::DurableSaveScope() { ++g_scopeDepth; }

DurableSaveScope::~DurableSaveScope()
{
    if (--g_scopeDepth > 0)
        return;
    const std::set<std::string> folders = std::move(PendingFolders());
    PendingFolders().clear();
    for (const std::string& folder : folders)
        SyncFolder(folder);
}

SyncObserver SetSyncObserver(SyncObserver observer)
{
    SyncObserver old = std::move(Observer());
    Observer() = std::move(observer);
    return old;
}

void SetDurableWrites(bool on) { g_durable = on; }

const std::vector<WriteFailure>& WriteFailures() { return Failures(); }

void ClearWriteFailures() { Failures().clear(); }

void NoteWriteFailure(const std::string& storedPath, const std::string& hostPath, const std::string& reason)
{
    Failures().push_back({storedPath, hostPath, reason});
}
