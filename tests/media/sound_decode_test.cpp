#include "media/sound_decode.h"

#include <gtest/gtest.h>

#include <cmath>

#include "../test_util.h"

namespace {

using Data = std::vector<uint8_t>;

// A RIFF WAVE file with one fmt chunk and one data chunk.
Data Wave(uint16_t format, uint16_t channels, uint32_t rate, uint16_t bits, const Data& samples,
          uint32_t dataLength = 0xFFFFFFFF)
{
    Bytes b;
    uint16_t align = uint16_t(channels * bits / 8);
    b.raw("RIFF", 4).u32(0).raw("WAVE", 4);
    b.raw("LIST", 4).u32(3).raw("abc", 3).u8(0);  // an odd chunk with its pad byte
    b.raw("fmt ", 4).u32(16).u16(format).u16(channels).u32(rate).u32(rate * align).u16(align).u16(bits);
    b.raw("data", 4).u32(dataLength == 0xFFFFFFFF ? uint32_t(samples.size()) : dataLength);
    b.raw(samples.data(), samples.size());
    return b.data;
}

std::vector<float> Sine(int rate, double seconds, double hz)
{
    std::vector<float> out;
    for (int i = 0; i < int(rate * seconds); ++i) {
        float v = float(0.5 * std::sin(2 * M_PI * hz * i / rate));
        out.push_back(v);
        out.push_back(-v);
    }
    return out;
}

TEST(WaveDecode, Formats)
{
    float f = -0.5f;
    double d = 0.25;
    Bytes fb, db;
    fb.raw(&f, 4).raw(&f, 4);
    db.raw(&d, 8);
    const struct { const char* name; Data file; int rate; std::size_t frames; float left, right; } cases[] = {
        {"8-bit mono", Wave(1, 1, 11025, 8, {0xC0, 0x00}), 11025, 2, 0.5f, 0.5f},
        {"16-bit stereo", Wave(1, 2, 22050, 16, {0x00, 0x40, 0x00, 0xC0}), 22050, 1, 0.5f, -0.5f},
        {"24-bit mono", Wave(1, 1, 44100, 24, {0x00, 0x00, 0x40, 0x00, 0x00, 0x20}), 44100, 2, 0.5f, 0.5f},
        {"32-bit stereo", Wave(1, 2, 48000, 32, {0, 0, 0, 0x40, 0, 0, 0, 0x80}), 48000, 1, 0.5f, -1.0f},
        {"float stereo", Wave(3, 2, 44100, 32, fb.data), 44100, 1, -0.5f, -0.5f},
        {"double mono", Wave(3, 1, 44100, 64, db.data), 44100, 1, 0.25f, 0.25f},
        {"extensible", Wave(0xFFFE, 1, 8000, 16, {0x00, 0x40}), 0, 0, 0, 0},  // without the sub-format: refused
        {"data past the end", Wave(1, 1, 8000, 16, {0x00, 0x40, 0x00, 0x20, 0x7F}, 1000), 8000, 2, 0.5f, 0.5f},
    };
    for (const auto& c : cases) {
        WaveData w;
        std::string why;
        bool ok = DecodeWave(c.file.data(), c.file.size(), w, why);
        if (c.frames == 0) {
            EXPECT_FALSE(ok) << c.name;
            continue;
        }
        ASSERT_TRUE(ok) << c.name << ": " << why;
        EXPECT_EQ(w.rate, c.rate) << c.name;
        EXPECT_EQ(w.FrameCount(), c.frames) << c.name;
        EXPECT_FLOAT_EQ(w.frames[0], c.left) << c.name;
        EXPECT_FLOAT_EQ(w.frames[1], c.right) << c.name;
    }
}

TEST(WaveDecode, RefusesOtherFormatsAndBrokenHeaders)
{
    Data shortFmt = Wave(1, 1, 8000, 16, {0, 0});
    Data noData = Wave(1, 1, 8000, 16, {});
    noData.resize(noData.size() - 8);
    shortFmt[24 + 4] = 10;  // fmt chunk length 10
    const struct { const char* name; Data file; } cases[] = {
        {"ADPCM", Wave(2, 1, 8000, 4, {0, 0})},
        {"12-bit", Wave(1, 1, 8000, 12, {0, 0})},
        {"float 16", Wave(3, 1, 8000, 16, {0, 0})},
        {"no channels", Wave(1, 0, 8000, 16, {0, 0})},
        {"rate 0", Wave(1, 1, 0, 16, {0, 0})},
        {"not RIFF", {'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}},
        {"cut header", {'R', 'I', 'F', 'F'}},
        {"short fmt", shortFmt},
        {"no data", noData},
    };
    for (const auto& c : cases) {
        WaveData w;
        std::string why;
        EXPECT_FALSE(DecodeWave(c.file.data(), c.file.size(), w, why)) << c.name;
        EXPECT_FALSE(why.empty()) << c.name;
    }
}

TEST(OggDecode, DecodesLoopsWithoutAGapAndRefusesDamage)
{
    std::vector<float> pcm = Sine(44100, 0.5, 440);
    Data ogg;
    ASSERT_TRUE(EncodeOggVorbis(pcm, 44100, 0.4f, ogg));
    Data again;
    ASSERT_TRUE(EncodeOggVorbis(pcm, 44100, 0.4f, again));
    EXPECT_EQ(ogg, again);

    OggStream s;
    std::string why;
    ASSERT_TRUE(s.Open(ogg, why)) << why;
    EXPECT_EQ(s.Rate(), 44100);
    std::vector<float> buf(2 * 30000);
    int total = 0, n;
    double energy = 0;
    while ((n = s.Read(buf.data(), 30000)) > 0) {
        for (int i = 0; i < 2 * n; ++i)
            energy += buf[std::size_t(i)] * buf[std::size_t(i)];
        total += n;
    }
    EXPECT_EQ(total, 22050);
    EXPECT_GT(energy / total, 0.05);

    // With one loop the piece plays twice; a read across the seam is whole.
    s.SeekFrame(0);
    s.SetLoopCount(1);
    EXPECT_EQ(s.Read(buf.data(), 30000), 30000);
    EXPECT_EQ(s.Read(buf.data(), 30000), 44100 - 30000);

    Data damaged = ogg;
    for (std::size_t i = 200; i < damaged.size(); i += 7)
        damaged[i] ^= 0x5A;
    OggStream bad;
    Data notOgg(ogg.begin() + 10, ogg.end());
    OggStream worse;
    EXPECT_FALSE(worse.Open(notOgg, why));
    EXPECT_FALSE(why.empty());
    // A damaged body opens or not, but never reads past its bytes (the sanitizer checks).
    if (bad.Open(damaged, why))
        while (bad.Read(buf.data(), 30000) > 0) {}
}

TEST(Resample, EqualRatePassesThroughAndDoubleRateDoubles)
{
    auto wave = std::make_shared<WaveData>();
    wave->rate = 22050;
    for (int i = 0; i < 100; ++i) {
        wave->frames.push_back(float(i) / 100);
        wave->frames.push_back(-float(i) / 100);
    }
    ResampledSource same(std::make_unique<WaveStream>(wave), 22050);
    std::vector<float> out(2 * 150, 0.0f);
    EXPECT_FALSE(same.Mix(out.data(), 150));
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(out[std::size_t(2 * i)], wave->frames[std::size_t(2 * i)]);
    EXPECT_EQ(out[200], 0.0f);

    ResampledSource up(std::make_unique<WaveStream>(wave), 44100);
    std::vector<float> out2(2 * 250, 0.0f);
    up.Mix(out2.data(), 250);
    EXPECT_FLOAT_EQ(out2[2 * 10], 0.05f);   // frame 5
    EXPECT_FLOAT_EQ(out2[2 * 11], 0.055f);  // halfway between 5 and 6
    EXPECT_FLOAT_EQ(out2[2 * 198], 0.99f);
    EXPECT_EQ(out2[2 * 200], 0.0f);

    up.Seek(0);
    std::fill(out2.begin(), out2.end(), 0.0f);
    up.Mix(out2.data(), 4);
    EXPECT_FLOAT_EQ(out2[2], 0.005f);
}

}  // namespace
