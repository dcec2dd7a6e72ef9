// Buffered reading and writing of record files.
//
// A file is read whole into memory and parsed from there; a file is written into
// memory and committed in one go. Nothing read from a file is trusted: counts and
// lengths are bounded by the bytes left, and a read past the end delivers nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

using Json = nlohmann::ordered_json;

class RecordReader {
public:
    RecordReader() = default;
    explicit RecordReader(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}

    void Reset(std::vector<uint8_t> bytes)
    {
        data_ = std::move(bytes);
        pos_ = 0;
    }
    std::size_t Left() const { return data_.size() - pos_; }
    std::size_t Position() const { return pos_; }
    bool AtEnd() const { return pos_ >= data_.size(); }

    // Copies n bytes; when fewer are left nothing is delivered, the rest of the
    // file is consumed and false is returned.
    bool Raw(void* dst, std::size_t n)
    {
        if (n > Left()) {
            pos_ = data_.size();
            return false;
        }
        if (n)
            std::memcpy(dst, data_.data() + pos_, n);
        pos_ += n;
        return true;
    }
    void Skip(std::size_t n) { pos_ += n < Left() ? n : Left(); }

    // A 32-bit count; 0 when the file ends before it.
    uint32_t U32()
    {
        uint32_t v = 0;
        Raw(&v, 4);
        return v;
    }
    // A count of elements of at least minElementSize bytes each, bounded by what
    // the rest of the file could hold.
    uint32_t ReadCount(std::size_t minElementSize) { return BoundCount(U32(), minElementSize); }
    uint32_t BoundCount(uint32_t count, std::size_t minElementSize) const
    {
        std::size_t most = Left() / (minElementSize ? minElementSize : 1);
        return count < most ? count : static_cast<uint32_t>(most);
    }

    // A string: 32-bit length L including the NUL, then L bytes (none when L <= 1).
    // The text is what precedes the first NUL. False when the file ended before L.
    bool String(std::string& s)
    {
        uint32_t len = 0;
        if (!Raw(&len, 4))
            return false;
        if (len <= 1) {
            s.clear();
            return true;
        }
        std::size_t n = len < Left() ? len : Left();
        const char* p = reinterpret_cast<const char*>(data_.data() + pos_);
        s.assign(p, strnlen(p, n));
        pos_ += n;
        return true;
    }

private:
    std::vector<uint8_t> data_;
    std::size_t pos_ = 0;
};

class RecordWriter {
public:
    RecordWriter() { data_.reserve(kChunk); }
    ~RecordWriter();
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    void Raw(const void* src, std::size_t n)
    {
        const uint8_t* p = static_cast<const uint8_t*>(src);
        data_.insert(data_.end(), p, p + n);
        if (sink_ && data_.size() >= kChunk)
            Flush();
    }
    void U32(uint32_t v) { Raw(&v, 4); }
    void String(const std::string& s)
    {
        std::size_t nul = s.find('\0');
        std::size_t n = nul == std::string::npos ? s.size() : nul;
        U32(static_cast<uint32_t>(n + 1));
        if (n > 0) {
            Raw(s.data(), n + 1);  // the text and its terminating NUL
        }
    }

    // Without a file: everything written so far.
    const std::vector<uint8_t>& Bytes() const { return data_; }

    // Streams into a temporary file beside hostPath from now on; Commit renames it
    // over the target. Without Commit the temporary file is removed.
    bool BeginFile(const std::string& hostPath);
    bool Commit();

private:
    static constexpr std::size_t kChunk = 1 << 16;
    void Flush();

    std::vector<uint8_t> data_;
    std::FILE* sink_ = nullptr;
    bool failed_ = false;
    std::string target_;
    std::string temp_;
};

// Reads a whole host file; false when it cannot be opened or read.
bool ReadHostFile(const std::string& hostPath, std::vector<uint8_t>& bytes);
// Writes bytes to a temporary file beside hostPath and renames it over the target,
// so a failed write leaves the old file whole.
bool WriteHostFileAtomic(const std::string& hostPath, const std::vector<uint8_t>& bytes);
