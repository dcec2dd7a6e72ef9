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
    namespace fs = std::filesystem;
    std::string temp = hostPath + ".saving~";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f)
        return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fflush(f) == 0) && ok;
    ok = (std::fclose(f) == 0) && ok;
    std::error_code ec;
    if (ok) {
        fs::rename(temp, hostPath, ec);
        ok = !ec;
    }
    if (!ok)
        fs::remove(temp, ec);
    return ok;
}
