#include "media/smf_play.h"

#include <algorithm>
#include <cmath>

void cSmfPlay::Rewind()
{
    m_Pos = kEventStart;
    m_HaveDelta = false;
    m_FramesToNext = 0;
    m_Tempo = 500000;
    m_FramesSinceStart = 0;
}

void cSmfPlay::Play(bool loop)
{
    m_Loop = loop;
    if (m_State == Playing)
        return;
    if (m_State == Stopped)
        Rewind();
    m_State = HasData() ? Playing : Stopped;
}

void cSmfPlay::Stop()
{
    m_Synth->AllNotesOff();
    m_State = Stopped;
    Rewind();
}

void cSmfPlay::Pause()
{
    if (m_State != Playing)
        return;
    m_Synth->AllNotesOff();
    m_State = Paused;
}

double cSmfPlay::FramesPerTick() const
{
    uint16_t division = Division();
    if (division & 0x8000) {
        // SMPTE: frames per second (29 stands for 29.97) times ticks per frame.
        int fps = -int(int8_t(division >> 8));
        int perFrame = division & 0xFF;
        double rate = fps == 29 ? 29.97 : fps;
        if (rate <= 0 || perFrame == 0)
            return m_Rate / 1000.0;
        return m_Rate / (rate * perFrame);
    }
    if (division == 0)
        division = 1;
    return double(m_Tempo) / division * m_Rate / 1e6;
}

// Reads the delta time before the next event; false at the end of the data.
bool cSmfPlay::ReadDelta()
{
    const uint8_t* p = m_Data.data() + m_Pos;
    const uint8_t* end = m_Data.data() + m_Data.size();
    uint32_t delta;
    if (!ReadVarLen(p, end, delta) || p >= end)
        return false;
    m_Pos = std::size_t(p - m_Data.data());
    m_FramesToNext += delta * FramesPerTick();
    m_HaveDelta = true;
    return true;
}

// Sends the event at the read position; the data are the merged output, so
// every event carries its status byte and lies inside the buffer.
void cSmfPlay::Dispatch()
{
    const uint8_t* base = m_Data.data();
    const uint8_t* p = base + m_Pos;
    const uint8_t* end = base + m_Data.size();
    m_HaveDelta = false;
    uint8_t status = *p++;
    auto finish = [&] { m_Pos = std::size_t(p - base); };
    if (status == 0xFF) {
        uint8_t type = p < end ? *p++ : 0x2F;
        uint32_t len = 0;
        if (!ReadVarLen(p, end, len) || len > std::size_t(end - p))
            type = 0x2F;
        if (type == 0x2F) {
            // End of track: stop (notes off, back to the start), and start
            // again right away when looping.
            bool loop = m_Loop;
            bool empty = m_FramesSinceStart == 0;
            Stop();
            if (loop) {
                m_State = Playing;
                m_Loop = true;
                // A piece without any length would loop forever within one
                // block: it goes on in the next block instead.
                m_EndedThisBlock = empty;
            }
            return;
        }
        if (type == 0x51 && len == 3)
            m_Tempo = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
        p += len;
    } else if (status == 0xF0 || status == 0xF7) {
        uint32_t len = 0;
        if (!ReadVarLen(p, end, len) || len > std::size_t(end - p)) {
            Stop();
            return;
        }
        // A system-exclusive message in the file ends with F7; an F7 escape
        // carries raw bytes the synthesizer has no use for.
        if (status == 0xF0)
            m_Synth->SysEx(p, len > 0 && p[len - 1] == 0xF7 ? len - 1 : len);
        p += len;
    } else if (status >= 0x80) {
        int n = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
        if (end - p < n) {
            Stop();
            return;
        }
        m_Synth->Message(status, p[0], n == 2 ? p[1] : 0);
        p += n;
    } else {
        Stop();  // not what the merger writes
        return;
    }
    finish();
}

void cSmfPlay::Render(float* out, int frames)
{
    m_EndedThisBlock = false;
    while (frames > 0) {
        while (m_State == Playing && !m_EndedThisBlock) {
            if (!m_HaveDelta && !ReadDelta()) {
                Stop();
                break;
            }
            if (m_FramesToNext > 0)
                break;
            Dispatch();
        }
        int n = frames;
        if (m_State == Playing && !m_EndedThisBlock)
            n = int(std::clamp<double>(std::ceil(m_FramesToNext), 1, frames));
        m_Synth->Render(out, n);
        if (m_State == Playing && !m_EndedThisBlock) {
            m_FramesToNext -= n;
            m_FramesSinceStart += n;
        }
        out += 2 * n;
        frames -= n;
    }
}

bool SmfSource::Mix(float* out, int frames)
{
    if (m_Buffer.size() < 2 * std::size_t(frames))
        m_Buffer.resize(2 * std::size_t(frames));
    m_Player->Render(m_Buffer.data(), frames);
    for (int i = 0; i < 2 * frames; ++i)
        out[i] += m_Buffer[i];
    return m_Player->GetState() != cSmfPlay::Stopped || m_Player->Synth().Sounding();
}
