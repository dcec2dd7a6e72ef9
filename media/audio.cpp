#include "media/audio.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

#include "records/record_io.h"

namespace {

constexpr int kBlock = 1024;

}  // namespace

void Mixer::MixVoice(Voice& v, float* out, int frames)
{
    if (!v.source)
        return;
    std::fill(m_Scratch.begin(), m_Scratch.begin() + 2 * frames, 0.0f);
    bool more = v.source->Mix(m_Scratch.data(), frames);
    for (int i = 0; i < 2 * frames; ++i)
        out[i] += m_Scratch[i] * v.gain;
    if (!more)
        v.source.reset();
}

void Mixer::Pull(float* out, int frames)
{
    std::lock_guard<std::mutex> hold(m_Lock);
    if (m_Scratch.size() < std::size_t(2 * kBlock))
        m_Scratch.resize(2 * kBlock);
    std::fill(out, out + 2 * frames, 0.0f);
    while (frames > 0) {
        int n = std::min(frames, kBlock);
        MixVoice(music, out, n);
        MixVoice(effect, out, n);
        out += 2 * n;
        frames -= n;
    }
}

bool NullAudioOutput::Start(Mixer* mixer)
{
    Stop();
    m_Mixer = mixer;
    if (!m_RealTime)
        return true;
    m_Run = true;
    m_Thread = std::thread([this] {
        using Clock = std::chrono::steady_clock;
        auto start = Clock::now();
        int64_t pulled = 0;
        std::vector<float> buffer;
        while (m_Run) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            double seconds = std::chrono::duration<double>(Clock::now() - start).count();
            auto due = int64_t(seconds * m_Rate);
            int n = int(std::min<int64_t>(due - pulled, m_Rate));
            if (n <= 0)
                continue;
            buffer.resize(2 * std::size_t(n));
            m_Mixer->Pull(buffer.data(), n);
            pulled += n;
        }
    });
    return true;
}

void NullAudioOutput::Stop()
{
    m_Run = false;
    if (m_Thread.joinable())
        m_Thread.join();
    m_Mixer = nullptr;
}

void NullAudioOutput::Pump(int frames)
{
    if (!m_Mixer || frames <= 0)
        return;
    std::vector<float> buffer(2 * std::size_t(frames));
    m_Mixer->Pull(buffer.data(), frames);
}

void WavFileAudioOutput::Render(int64_t frames)
{
    std::vector<float> buffer(2 * kBlock);
    m_Samples.reserve(m_Samples.size() + 2 * std::size_t(std::max<int64_t>(frames, 0)));
    while (frames > 0) {
        int n = int(std::min<int64_t>(frames, kBlock));
        std::fill(buffer.begin(), buffer.end(), 0.0f);
        if (m_Mixer)
            m_Mixer->Pull(buffer.data(), n);
        for (int i = 0; i < 2 * n; ++i) {
            float v = std::clamp(buffer[i], -1.0f, 1.0f);
            m_Samples.push_back(int16_t(std::lrint(v * 32767.0f)));
        }
        frames -= n;
    }
}

bool WavFileAudioOutput::Finish() { return WriteHostFileAtomic(m_Path, WavFileBytes(m_Samples, m_Rate)); }

std::vector<uint8_t> WavFileBytes(const std::vector<int16_t>& samples, int rate)
{
    std::vector<uint8_t> out;
    out.reserve(44 + samples.size() * 2);
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.push_back(uint8_t(v >> (8 * i)));
    };
    auto u16 = [&](uint16_t v) {
        out.push_back(uint8_t(v));
        out.push_back(uint8_t(v >> 8));
    };
    auto tag = [&](const char* t) {
        for (int i = 0; i < 4; ++i)
            out.push_back(uint8_t(t[i]));
    };
    uint32_t dataBytes = uint32_t(samples.size() * 2);
    tag("RIFF");
    u32(36 + dataBytes);
    tag("WAVE");
    tag("fmt ");
    u32(16);
    u16(1);
    u16(2);
    u32(uint32_t(rate));
    u32(uint32_t(rate) * 4);
    u16(4);
    u16(16);
    tag("data");
    u32(dataBytes);
    for (int16_t s : samples)
        u16(uint16_t(s));
    return out;
}
