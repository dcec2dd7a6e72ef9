#include "media/sound_decode.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <vorbis/codec.h>
#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

namespace {

uint32_t Le32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

float Sample(const uint8_t* p, int bits, bool isFloat)
{
    if (isFloat) {
        if (bits == 32) {
            float f;
            uint32_t u = Le32(p);
            std::memcpy(&f, &u, 4);
            return std::isfinite(f) ? std::clamp(f, -1.0f, 1.0f) : 0.0f;
        }
        uint64_t u = uint64_t(Le32(p)) | uint64_t(Le32(p + 4)) << 32;
        double d;
        std::memcpy(&d, &u, 8);
        return std::isfinite(d) ? float(std::clamp(d, -1.0, 1.0)) : 0.0f;
    }
    switch (bits) {
    case 8: return (int(p[0]) - 128) / 128.0f;
    case 16: return int16_t(Le16(p)) / 32768.0f;
    case 24: return float(int32_t(uint32_t(p[0]) << 8 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 24) / 2147483648.0);
    default: return float(int32_t(Le32(p)) / 2147483648.0);
    }
}

// vorbisfile reads through these from memory, never past the bytes held.
size_t MemRead(void* ptr, size_t size, size_t count, void* source)
{
    auto* m = static_cast<OggStream::Memory*>(source);
    if (size == 0)
        return 0;
    size_t n = std::min(count, (m->bytes.size() - m->pos) / size);
    std::memcpy(ptr, m->bytes.data() + m->pos, n * size);
    m->pos += n * size;
    return n;
}

int MemSeek(void* source, ogg_int64_t offset, int whence)
{
    auto* m = static_cast<OggStream::Memory*>(source);
    int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? int64_t(m->pos) : int64_t(m->bytes.size());
    int64_t to = base + offset;
    if (to < 0 || to > int64_t(m->bytes.size()))
        return -1;
    m->pos = std::size_t(to);
    return 0;
}

long MemTell(void* source) { return long(static_cast<OggStream::Memory*>(source)->pos); }

}  // namespace

bool DecodeWave(const uint8_t* bytes, std::size_t size, WaveData& out, std::string& why)
{
    out = WaveData{};
    if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) {
        why = "not a RIFF WAVE file";
        return false;
    }
    int format = -1, channels = 0, bits = 0, align = 0;
    uint32_t rate = 0;
    const uint8_t* data = nullptr;
    std::size_t dataSize = 0;
    std::size_t pos = 12;
    while (size - pos >= 8) {
        uint32_t length = Le32(bytes + pos + 4);
        const uint8_t* body = bytes + pos + 8;
        std::size_t have = std::min<std::size_t>(length, size - pos - 8);
        if (std::memcmp(bytes + pos, "fmt ", 4) == 0 && format < 0) {
            if (have < 16) {
                why = "broken format chunk";
                return false;
            }
            format = Le16(body);
            channels = Le16(body + 2);
            rate = Le32(body + 4);
            align = Le16(body + 12);
            bits = Le16(body + 14);
            if (format == 0xFFFE) {  // extensible: the sub-format says PCM or float
                if (have < 26) {
                    why = "broken format chunk";
                    return false;
                }
                format = Le16(body + 24);
            }
        } else if (std::memcmp(bytes + pos, "data", 4) == 0 && !data) {
            data = body;
            dataSize = have;  // data past the end of the file are cut off
        }
        if (have < length)
            break;
        pos += 8 + std::size_t(length) + (length & 1);
        if (pos > size)
            break;
    }
    if (format < 0 || !data) {
        why = format < 0 ? "no format chunk" : "no data chunk";
        return false;
    }
    bool isFloat = format == 3;
    bool known = (format == 1 && (bits == 8 || bits == 16 || bits == 24 || bits == 32)) ||
                 (isFloat && (bits == 32 || bits == 64));
    if (!known) {
        why = "unsupported wave format " + std::to_string(format) + "/" + std::to_string(bits);
        return false;
    }
    if (channels < 1 || channels > 64 || rate < 1000 || rate > 384000 || align != channels * bits / 8) {
        why = "broken format chunk";
        return false;
    }
    std::size_t frames = dataSize / std::size_t(align);
    out.rate = int(rate);
    out.frames.resize(frames * 2);
    int step = bits / 8;
    for (std::size_t i = 0; i < frames; ++i) {
        const uint8_t* f = data + i * std::size_t(align);
        float l = Sample(f, bits, isFloat);
        float r = channels > 1 ? Sample(f + step, bits, isFloat) : l;
        out.frames[2 * i] = l;
        out.frames[2 * i + 1] = r;
    }
    return true;
}

int WaveStream::Read(float* out, int frames)
{
    std::size_t n = std::min<std::size_t>(std::size_t(std::max(frames, 0)), m_Data->FrameCount() - m_Pos);
    std::copy_n(m_Data->frames.data() + 2 * m_Pos, 2 * n, out);
    m_Pos += n;
    return int(n);
}

void WaveStream::SeekFrame(int64_t frame) { m_Pos = std::size_t(std::clamp<int64_t>(frame, 0, int64_t(m_Data->FrameCount()))); }

OggStream::~OggStream()
{
    if (m_File) {
        ov_clear(static_cast<OggVorbis_File*>(m_File));
        delete static_cast<OggVorbis_File*>(m_File);
    }
}

bool OggStream::Open(std::vector<uint8_t> bytes, std::string& why)
{
    m_Memory.bytes = std::move(bytes);
    m_Memory.pos = 0;
    auto* vf = new OggVorbis_File;
    ov_callbacks callbacks{MemRead, MemSeek, nullptr, MemTell};
    int rc = ov_open_callbacks(&m_Memory, vf, nullptr, 0, callbacks);
    if (rc != 0) {
        delete vf;
        why = rc == OV_ENOTVORBIS ? "not Ogg Vorbis" : "broken Ogg file";
        return false;
    }
    m_File = vf;
    vorbis_info* info = ov_info(vf, -1);
    if (!info || info->channels < 1 || info->rate < 1000 || info->rate > 384000) {
        why = "broken Ogg file";
        return false;
    }
    m_Rate = int(info->rate);
    m_Channels = info->channels;
    return true;
}

int OggStream::Read(float* out, int frames)
{
    auto* vf = static_cast<OggVorbis_File*>(m_File);
    if (!vf)
        return 0;
    int done = 0;
    bool restarted = false;  // one restart without any sound in between ends it
    while (done < frames) {
        float** pcm = nullptr;
        int section = 0;
        long n = ov_read_float(vf, &pcm, frames - done, &section);
        if (n == OV_HOLE)
            continue;
        if (n <= 0) {
            if (n < 0 || m_Loops <= 0 || restarted || ov_pcm_seek(vf, 0) != 0)
                break;
            if (m_Loops != INT64_MAX)
                --m_Loops;
            restarted = true;
            continue;
        }
        restarted = false;
        int ch = ov_info(vf, -1) ? ov_info(vf, -1)->channels : m_Channels;
        for (long i = 0; i < n; ++i) {
            out[2 * (done + i)] = pcm[0][i];
            out[2 * (done + i) + 1] = pcm[ch > 1 ? 1 : 0][i];
        }
        done += int(n);
    }
    return done;
}

void OggStream::SeekFrame(int64_t frame)
{
    if (m_File)
        ov_pcm_seek(static_cast<OggVorbis_File*>(m_File), std::max<int64_t>(frame, 0));
}

ResampledSource::ResampledSource(std::unique_ptr<PcmStream> stream, int outRate)
    : m_Stream(std::move(stream)), m_Step(double(m_Stream->Rate()) / outRate), m_Block(2 * 1024)
{
    Prime();
}

void ResampledSource::Prime()
{
    m_BlockPos = m_BlockLen = 0;
    m_Ended = false;
    m_Frac = 0;
    m_CurReal = NextFrame(m_Cur);
    m_NextReal = NextFrame(m_Next);
}

bool ResampledSource::NextFrame(float* f)
{
    if (m_BlockPos == m_BlockLen && !m_Ended) {
        m_BlockLen = m_Stream->Read(m_Block.data(), int(m_Block.size() / 2));
        m_BlockPos = 0;
        if (m_BlockLen == 0)
            m_Ended = true;
    }
    if (m_BlockPos == m_BlockLen) {
        f[0] = f[1] = 0;
        return false;
    }
    f[0] = m_Block[2 * m_BlockPos];
    f[1] = m_Block[2 * m_BlockPos + 1];
    ++m_BlockPos;
    return true;
}

bool ResampledSource::Mix(float* out, int frames)
{
    for (int i = 0; i < frames; ++i) {
        if (!m_CurReal)
            return false;
        float t = float(m_Frac);
        out[2 * i] += m_Cur[0] + (m_Next[0] - m_Cur[0]) * t;
        out[2 * i + 1] += m_Cur[1] + (m_Next[1] - m_Cur[1]) * t;
        m_Frac += m_Step;
        while (m_Frac >= 1.0) {
            m_Frac -= 1.0;
            m_Cur[0] = m_Next[0];
            m_Cur[1] = m_Next[1];
            m_CurReal = m_NextReal;
            m_NextReal = m_CurReal && NextFrame(m_Next);
        }
    }
    return m_CurReal;
}

void ResampledSource::Seek(int64_t ms)
{
    m_Stream->SeekFrame(ms * m_Stream->Rate() / 1000);
    Prime();
}

bool EncodeOggVorbis(const std::vector<float>& stereo, int rate, float quality, std::vector<uint8_t>& out)
{
    out.clear();
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, 2, rate, quality) != 0) {
        vorbis_info_clear(&vi);
        return false;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 1);  // a fixed serial number keeps the output reproducible
    ogg_packet header, comment, code;
    vorbis_analysis_headerout(&vd, &vc, &header, &comment, &code);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comment);
    ogg_stream_packetin(&os, &code);
    ogg_page page;
    auto put = [&] { out.insert(out.end(), page.header, page.header + page.header_len);
                     out.insert(out.end(), page.body, page.body + page.body_len); };
    while (ogg_stream_flush(&os, &page))
        put();
    std::size_t frames = stereo.size() / 2, pos = 0;
    bool eos = false;
    while (!eos) {
        std::size_t n = std::min<std::size_t>(1024, frames - pos);
        if (n == 0) {
            vorbis_analysis_wrote(&vd, 0);
        } else {
            float** buffer = vorbis_analysis_buffer(&vd, int(n));
            for (std::size_t i = 0; i < n; ++i) {
                buffer[0][i] = stereo[2 * (pos + i)];
                buffer[1][i] = stereo[2 * (pos + i) + 1];
            }
            vorbis_analysis_wrote(&vd, int(n));
            pos += n;
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet)) {
                ogg_stream_packetin(&os, &packet);
                while (ogg_stream_pageout(&os, &page)) {
                    put();
                    if (ogg_page_eos(&page))
                        eos = true;
                }
            }
        }
        if (n == 0)
            eos = true;
    }
    while (ogg_stream_flush(&os, &page))
        put();
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return true;
}
