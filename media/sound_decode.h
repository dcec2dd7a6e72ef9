// Decoders for the sound files: RIFF WAVE into memory, Ogg Vorbis as a
// stream; and the linear resampler that brings either to the mixer's rate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/audio.h"

// Interleaved stereo float at its own rate.
struct WaveData {
    int rate = 0;
    std::vector<float> frames;  // L R L R ...
    std::size_t FrameCount() const { return frames.size() / 2; }
};

// Decodes a RIFF WAVE file: PCM of 8, 16, 24 or 32 bits, or 32/64-bit float,
// one or two channels (more: the first two). Data running past the end of the
// file is cut to what is there. False with the reason in why otherwise.
bool DecodeWave(const uint8_t* bytes, std::size_t size, WaveData& out, std::string& why);

// Frames of interleaved stereo float at the stream's rate.
class PcmStream {
public:
    virtual ~PcmStream() = default;
    virtual int Rate() const = 0;
    // Reads up to frames; fewer only at the end (0 = nothing more).
    virtual int Read(float* out, int frames) = 0;
    virtual void SeekFrame(int64_t frame) = 0;
};

// A decoded wave played from memory.
class WaveStream : public PcmStream {
public:
    explicit WaveStream(std::shared_ptr<const WaveData> data) : m_Data(std::move(data)) {}
    int Rate() const override { return m_Data->rate; }
    int Read(float* out, int frames) override;
    void SeekFrame(int64_t frame) override;

private:
    std::shared_ptr<const WaveData> m_Data;
    std::size_t m_Pos = 0;
};

// An Ogg Vorbis file held in memory, decoded as it plays. Loops without a gap
// as many times as asked.
class OggStream : public PcmStream {
public:
    ~OggStream() override;
    // Opens the bytes; false with the reason in why.
    bool Open(std::vector<uint8_t> bytes, std::string& why);
    int Rate() const override { return m_Rate; }
    int Read(float* out, int frames) override;
    void SeekFrame(int64_t frame) override;
    // How many more times the piece starts again after its end.
    void SetLoopCount(int64_t loops) { m_Loops = loops; }

    struct Memory {
        std::vector<uint8_t> bytes;
        std::size_t pos = 0;
    };

private:
    Memory m_Memory;
    void* m_File = nullptr;  // OggVorbis_File
    int m_Rate = 0;
    int m_Channels = 0;
    int64_t m_Loops = 0;
};

// Plays a stream at the mixer's rate with linear interpolation between its
// frames; an equal rate passes the frames through unchanged.
class ResampledSource : public AudioSource {
public:
    ResampledSource(std::unique_ptr<PcmStream> stream, int outRate);
    bool Mix(float* out, int frames) override;
    void Seek(int64_t ms) override;
    PcmStream& Stream() { return *m_Stream; }

private:
    bool NextFrame(float* f);
    void Prime();

    std::unique_ptr<PcmStream> m_Stream;
    double m_Step;
    double m_Frac = 0;
    float m_Cur[2] = {0, 0}, m_Next[2] = {0, 0};
    bool m_CurReal = false, m_NextReal = false;
    std::vector<float> m_Block;
    int m_BlockPos = 0, m_BlockLen = 0;
    bool m_Ended = false;
};

// Encodes interleaved stereo float as Ogg Vorbis (quality 0 to 1). The same
// input gives the same bytes.
bool EncodeOggVorbis(const std::vector<float>& stereo, int rate, float quality, std::vector<uint8_t>& out);
