// Shared helpers of the core tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/log.h"

// A fresh folder that is the current directory while the object lives.
class TempDir {
public:
    TempDir()
    {
        namespace fs = std::filesystem;
        old_ = fs::current_path();
        std::string pattern = (fs::temp_directory_path() / "vantor-test-XXXXXX").string();
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        path_ = mkdtemp(name.data());
        fs::current_path(path_);
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::current_path(old_, ec);
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path old_;
    std::filesystem::path path_;
};

// Little-endian byte builder for files written by hand.
class Bytes {
public:
    Bytes& u8(uint8_t v) { data.push_back(v); return *this; }
    Bytes& u16(uint16_t v) { return raw(&v, 2); }
    Bytes& u32(uint32_t v) { return raw(&v, 4); }
    Bytes& i32(int32_t v) { return raw(&v, 4); }
    Bytes& f64(double v) { return raw(&v, 8); }
    // A string as files hold it: length + 1, then the text and a NUL (nothing when empty).
    Bytes& str(const std::string& s)
    {
        u32(static_cast<uint32_t>(s.size() + 1));
        if (!s.empty()) {
            raw(s.data(), s.size());
            u8(0);
        }
        return *this;
    }
    Bytes& raw(const void* p, std::size_t n)
    {
        const uint8_t* b = static_cast<const uint8_t*>(p);
        data.insert(data.end(), b, b + n);
        return *this;
    }
    std::vector<uint8_t> data;
};

inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::filesystem::path p(path);
    if (p.has_parent_path())
        std::filesystem::create_directories(p.parent_path());
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

// Records every box instead of showing it; answers questions with a fixed answer.
class RecordingSink : public MessageSink {
public:
    RecordingSink() { old_ = SetMessageSink(this); }
    ~RecordingSink() override { SetMessageSink(old_); }
    Answer Box(const std::string& text, const std::string& title, Buttons) override
    {
        texts.push_back(text);
        titles.push_back(title);
        return answer;
    }
    void RequestQuit() override { ++quits; }

    std::vector<std::string> texts;
    std::vector<std::string> titles;
    Answer answer = Answer::Ok;
    int quits = 0;

private:
    MessageSink* old_;
};
