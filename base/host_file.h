// Reading and replacing files on the host.
//
// Only regular files are read: a folder, a FIFO, a device or a link to one in the
// place of a file is refused like a missing file, and a read never waits for a
// writer nor grows without bound. A file is replaced through a temporary file
// beside it that is flushed to the disk before it is renamed over the target,
// and the folder is flushed after the rename, so a power cut leaves the old file
// or the new one, never an empty one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The largest file read whole (far beyond any record or image file).
inline constexpr std::size_t kMaxHostFileBytes = std::size_t{256} << 20;

// Reads a whole regular file. False when it cannot be opened, is not a regular
// file, is larger than kMaxHostFileBytes or cannot be read; reason (when given)
// then says why in the system's words.
bool ReadHostFile(const std::string& hostPath, std::vector<uint8_t>& bytes, std::string* reason = nullptr);

// The bytes of a file read whole, in a block that is not zeroed before the read
// fills it (a large file is read without touching its memory twice).
struct HostFileBytes {
    std::unique_ptr<uint8_t[]> data;
    std::size_t size = 0;
};
bool ReadHostFile(const std::string& hostPath, HostFileBytes& bytes, std::string* reason = nullptr);

// The file a write to hostPath changes: a symbolic link is followed to its
// target, so the link stays a link.
std::string WriteTarget(const std::string& hostPath);

// A file written in place of another: bytes go to "<target>.saving~" (a leftover
// of an earlier killed save is replaced), Commit flushes it, renames it over the
// target and flushes the folder. Without Commit the temporary file is removed.
class HostFileWriter {
public:
    HostFileWriter() = default;
    ~HostFileWriter();
    HostFileWriter(const HostFileWriter&) = delete;
    HostFileWriter& operator=(const HostFileWriter&) = delete;

    bool Begin(const std::string& hostPath);
    bool Write(const void* data, std::size_t n);
    bool Commit();
    bool IsOpen() const { return fd_ >= 0; }
    // After a failure: the system's reason.
    const std::string& Error() const { return error_; }
    const std::string& Target() const { return target_; }

private:
    void Fail(int err);
    int fd_ = -1;
    std::string target_;
    std::string temp_;
    std::string error_;
};

// Writes bytes in place of the file at hostPath through HostFileWriter.
bool WriteHostFileAtomic(const std::string& hostPath, const std::vector<uint8_t>& bytes, std::string* reason = nullptr);

// Folders are flushed once per folder while a DurableSaveScope lives (at its
// end), instead of once per file. Scopes nest; the outermost one flushes.
class DurableSaveScope {
public:
    DurableSaveScope();
    ~DurableSaveScope();
    DurableSaveScope(const DurableSaveScope&) = delete;
    DurableSaveScope& operator=(const DurableSaveScope&) = delete;
};

// Every flush the writers ask for goes through here; tests install an observer
// (called with the path and whether it is a folder) to see them.
using SyncObserver = std::function<void(const std::string& path, bool folder)>;
SyncObserver SetSyncObserver(SyncObserver observer);
// Flushes may be turned off (benchmarks only).
void SetDurableWrites(bool on);

// A failed write: the stored path (when known), the host path and the reason.
struct WriteFailure {
    std::string storedPath;
    std::string hostPath;
    std::string reason;
};
// Failures noted since the last ClearWriteFailures, oldest first.
const std::vector<WriteFailure>& WriteFailures();
void ClearWriteFailures();
void NoteWriteFailure(const std::string& storedPath, const std::string& hostPath, const std::string& reason);
