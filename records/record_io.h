// Buffered reading and writing of record files.
//
// A file is read whole into memory and parsed from there; a file is written into
// memory and committed in one go. Nothing read from a file is trusted: counts and
// lengths are bounded by the bytes left, and a read past the end delivers nothing.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "base/host_file.h"

using Json = nlohmann::ordered_json;

// Copies n bytes; a few bytes are copied inline, where a call to memcpy would
// cost more than the copy.
inline void CopyBytes(uint8_t* dst, const uint8_t* src, std::size_t n)
{
    if (n >= 8 && n <= 16) {
        uint64_t head, tail;
        std::memcpy(&head, src, 8);
        std::memcpy(&tail, src + n - 8, 8);
        std::memcpy(dst, &head, 8);
        std::memcpy(dst + n - 8, &tail, 8);
    } else if (n >= 4 && n < 8) {
        uint32_t head, tail;
        std::memcpy(&head, src, 4);
        std::memcpy(&tail, src + n - 4, 4);
        std::memcpy(dst, &head, 4);
        std::memcpy(dst + n - 4, &tail, 4);
    } else if (n > 0 && n < 4) {
        dst[0] = src[0];
        dst[n / 2] = src[n / 2];
        dst[n - 1] = src[n - 1];
    } else if (n > 16) {
        std::memcpy(dst, src, n);
    }
}

// The length of the text before the first NUL of the n bytes at text. A
// string's NUL is normally its last byte: short texts are scanned here, eight
// bytes at a time, without a call.
inline std::size_t TextLength(const char* text, std::size_t n)
{
    if (std::endian::native != std::endian::little || n > 64)
        return strnlen(text, n);
    if (n < 8) {
        std::size_t i = 0;
        while (i < n && text[i])
            ++i;
        return i;
    }
    // A byte of the mask is set where the word has a zero byte; the lowest set
    // one is exact (a wrong one only ever follows a zero byte).
    auto zeros = [](const char* at) {
        uint64_t w;
        std::memcpy(&w, at, 8);
        return (w - 0x0101010101010101ull) & ~w & 0x8080808080808080ull;
    };
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8)
        if (uint64_t z = zeros(text + i))
            return i + static_cast<std::size_t>(std::countr_zero(z) >> 3);
    if (i == n)
        return n;
    // The last eight bytes, of which those before i are known not to be zero.
    uint64_t z = zeros(text + n - 8) >> ((i - (n - 8)) * 8);
    return z ? i + static_cast<std::size_t>(std::countr_zero(z) >> 3) : n;
}

class RecordReader {
public:
    RecordReader() = default;
    explicit RecordReader(std::vector<uint8_t> bytes) { Reset(std::move(bytes)); }

    void Reset(std::vector<uint8_t> bytes)
    {
        vector_ = std::move(bytes);
        block_.reset();
        Start(vector_.data(), vector_.size());
    }
    // A file as ReadHostFile read it.
    void Reset(HostFileBytes bytes)
    {
        vector_.clear();
        block_ = std::move(bytes.data);
        Start(block_.get(), bytes.size);
    }
    std::size_t Left() const { return size_ - pos_; }
    std::size_t Position() const { return pos_; }
    bool AtEnd() const { return pos_ >= size_; }
    std::size_t Size() const { return size_; }

    // The file ended before something the reader asked for: a value, the bytes a
    // string's length promised, or records a count promised.
    bool EndedEarly() const { return endedEarly_; }
    void SetEndedEarly(bool ended) { endedEarly_ = ended; }

    // Copies n bytes; when fewer are left nothing is delivered, the rest of the
    // file is consumed and false is returned.
    bool Raw(void* dst, std::size_t n)
    {
        if (n > Left()) {
            pos_ = size_;
            endedEarly_ = true;
            return false;
        }
        if (n)
            std::memcpy(dst, data_ + pos_, n);
        pos_ += n;
        return true;
    }
    // Raw for a run of values whose length is known only at run time (a read
    // plan's run of fixed-size members, a vector): most are a few bytes and are
    // copied inline, where a call to memcpy would cost more than the copy.
    bool RawRun(void* dst, std::size_t n)
    {
        if (n > Left())
            return Raw(dst, n);
        CopyBytes(static_cast<uint8_t*>(dst), data_ + pos_, n);
        pos_ += n;
        return true;
    }
    // The next n bytes, for n that a count bounded by ReadCount gave (no more
    // than are left are taken).
    const uint8_t* Take(std::size_t n)
    {
        const uint8_t* at = data_ + pos_;
        pos_ += n < Left() ? n : Left();
        return at;
    }
    // Goes back to an earlier position (as Position gave it).
    void Rewind(std::size_t pos) { pos_ = pos < size_ ? pos : size_; }
    void Skip(std::size_t n)
    {
        if (n > Left())
            endedEarly_ = true;
        pos_ += n < Left() ? n : Left();
    }

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
    uint32_t BoundCount(uint32_t count, std::size_t minElementSize)
    {
        std::size_t most = Left() / (minElementSize ? minElementSize : 1);
        if (count > most)
            endedEarly_ = true;
        return count < most ? count : static_cast<uint32_t>(most);
    }

    // A string: 32-bit length L including the NUL, then L bytes (none when L <= 1).
    // The text is what precedes the first NUL. False when the file ended before L.
    bool String(std::string& s)
    {
        const char* text = nullptr;
        std::size_t n = 0;
        if (!StringBytes(text, n))
            return false;
        // The text is never inside s: an append into the cleared string copies it
        // without the overlap checks of assign.
        s.clear();
        s.append(text, n);
        return true;
    }
    // The same string's text in the file's bytes, without copying it.
    bool StringBytes(const char*& text, std::size_t& n)
    {
        uint32_t len = 0;
        if (!Raw(&len, 4))
            return false;
        if (len <= 1) {
            text = nullptr;
            n = 0;
            return true;
        }
        if (len > Left())
            endedEarly_ = true;
        std::size_t stored = len < Left() ? len : Left();
        text = reinterpret_cast<const char*>(data_ + pos_);
        n = TextLength(text, stored);
        pos_ += stored;
        return true;
    }

private:
    void Start(const uint8_t* data, std::size_t size)
    {
        data_ = data;
        size_ = size;
        pos_ = 0;
        endedEarly_ = false;
    }

    // The bytes are held in one of the two.
    std::vector<uint8_t> vector_;
    std::unique_ptr<uint8_t[]> block_;
    const uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t pos_ = 0;
    bool endedEarly_ = false;
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
    // over the target. Without Commit the temporary file is removed. A failure is
    // noted (NoteWriteFailure) with storedPath, the host path and the reason.
    bool BeginFile(const std::string& hostPath, const std::string& storedPath = std::string());
    bool Commit();

private:
    static constexpr std::size_t kChunk = 1 << 16;
    void Flush();

    std::vector<uint8_t> data_;
    HostFileWriter file_;
    bool sink_ = false;
    std::string stored_;
    std::string host_;
};

// ReadHostFile and WriteHostFileAtomic come from base/host_file.h.
