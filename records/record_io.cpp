#include "records/record_io.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

bool ReadHostFile(const std::string& hostPath, std::vector<uint8_t>& bytes)
{
    std::FILE* f = std::fopen(hostPath.c_str(), "rb");
    if (!f)
        return false;
    bytes.clear();
    bool ok = true;
    if (std::fseek(f, 0, SEEK_END) == 0) {
        long size = std::ftell(f);
        if (size > 0 && std::fseek(f, 0, SEEK_SET) == 0) {
            bytes.resize(static_cast<std::size_t>(size));
            bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
        }
    } else {
        // Not seekable: read in chunks.
        uint8_t chunk[65536];
        std::size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
            bytes.insert(bytes.end(), chunk, chunk + n);
    }
    if (std::ferror(f))
        ok = false;
    std::fclose(f);
    return ok;
}

bool WriteHostFileAtomic(const std::string& hostPath, const std::vector<uint8_t>& bytes)
{
    RecordWriter out;
    if (!out.BeginFile(hostPath))
        return false;
    out.Raw(bytes.data(), bytes.size());
    return out.Commit();
}

RecordWriter::~RecordWriter()
{
    if (sink_) {
        std::fclose(sink_);
        std::error_code ec;
        std::filesystem::remove(temp_, ec);
    }
}

bool RecordWriter::BeginFile(const std::string& hostPath)
{
    target_ = hostPath;
    temp_ = hostPath + ".saving~";
    sink_ = std::fopen(temp_.c_str(), "wb");
    if (!sink_)
        return false;
    Flush();
    return true;
}

void RecordWriter::Flush()
{
    if (!sink_ || data_.empty())
        return;
    if (std::fwrite(data_.data(), 1, data_.size(), sink_) != data_.size())
        failed_ = true;
    data_.clear();
}

bool RecordWriter::Commit()
{
    if (!sink_)
        return false;
    Flush();
    bool ok = !failed_;
    ok = (std::fflush(sink_) == 0) && ok;
    ok = (std::fclose(sink_) == 0) && ok;
    sink_ = nullptr;
    std::error_code ec;
    if (ok) {
        std::filesystem::rename(temp_, target_, ec);
        ok = !ec;
    }
    if (!ok)
        std::filesystem::remove(temp_, ec);
    return ok;
}
