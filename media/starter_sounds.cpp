#include "media/starter_sounds.h"

#include <algorithm>
#include <cmath>

#include "base/paths.h"
#include "base/text.h"
#include "media/audio.h"
#include "media/sound_decode.h"
#include "records/record_io.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

double NoteHz(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

// Adds a plucked tone (a few harmonics under a decaying envelope) into stereo.
void Tone(std::vector<float>& pcm, int rate, double start, double length, double hz, double level, double pan = 0.5)
{
    auto first = std::size_t(start * rate);
    auto count = std::size_t(length * rate);
    for (std::size_t i = 0; i < count && 2 * (first + i) + 1 < pcm.size(); ++i) {
        double t = double(i) / rate;
        double env = std::min(1.0, t * 200) * std::exp(-3.0 * t / length);
        double v = (std::sin(2 * kPi * hz * t) + 0.4 * std::sin(4 * kPi * hz * t) + 0.2 * std::sin(6 * kPi * hz * t)) *
                   env * level;
        pcm[2 * (first + i)] += float(v * (1 - pan));
        pcm[2 * (first + i) + 1] += float(v * pan);
    }
}

void PutVarLen(std::vector<uint8_t>& out, uint32_t v)
{
    uint8_t buf[4];
    int n = 0;
    buf[n++] = v & 0x7F;
    while (v >>= 7)
        buf[n++] = uint8_t(0x80 | (v & 0x7F));
    while (n > 0)
        out.push_back(buf[--n]);
}

void Chunk(std::vector<uint8_t>& file, const char* id, const std::vector<uint8_t>& body)
{
    file.insert(file.end(), id, id + 4);
    for (int s = 24; s >= 0; s -= 8)
        file.push_back(uint8_t(body.size() >> s));
    file.insert(file.end(), body.begin(), body.end());
}

// Notes in eighths (0 = rest) as a track on a channel with a program.
std::vector<uint8_t> Track(int channel, int program, const std::vector<int>& notes, int velocity, bool tempo)
{
    std::vector<uint8_t> t;
    auto add = [&t](std::initializer_list<uint8_t> bytes) {
        for (uint8_t b : bytes)
            t.push_back(b);
    };
    if (tempo)
        add({0x00, 0xFF, 0x51, 0x03, 0x07, 0x27, 0x0E});  // 128 bpm
    add({0x00, uint8_t(0xC0 | channel), uint8_t(program)});
    uint32_t wait = 0;
    for (int n : notes) {
        if (n == 0) {
            wait += 240;
            continue;
        }
        PutVarLen(t, wait);
        t.insert(t.end(), {uint8_t(0x90 | channel), uint8_t(n), uint8_t(velocity)});
        PutVarLen(t, 220);
        t.insert(t.end(), {uint8_t(n), 0});  // running status, velocity 0
        wait = 20;
    }
    PutVarLen(t, wait);
    t.insert(t.end(), {0xFF, 0x2F, 0x00});
    return t;
}

}  // namespace

std::vector<uint8_t> StarterMidi()
{
    const std::vector<int> melody = {72, 74, 76, 79, 76, 74, 72, 0, 71, 72, 74, 76, 74, 0, 67, 0,
                                     69, 71, 72, 76, 74, 72, 71, 0, 72, 74, 71, 67, 72, 0, 0, 0};
    const std::vector<int> bass = {48, 0, 55, 0, 48, 0, 55, 0, 43, 0, 50, 0, 43, 0, 50, 0,
                                   45, 0, 52, 0, 41, 0, 48, 0, 43, 0, 50, 0, 48, 0, 0, 0};
    std::vector<uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 0x01, 0xE0};
    Chunk(out, "MTrk", Track(0, 73, melody, 96, true));  // flute
    Chunk(out, "MTrk", Track(1, 32, bass, 88, false));   // acoustic bass
    return out;
}

std::vector<uint8_t> StarterOgg(bool victory)
{
    constexpr int rate = 22050;
    double seconds = victory ? 3.0 : 4.0;
    std::vector<float> pcm(2 * std::size_t(seconds * rate), 0.0f);
    if (victory) {
        const int notes[] = {60, 64, 67, 72, 67, 72};
        const double at[] = {0, 0.15, 0.3, 0.45, 0.9, 1.2};
        for (int i = 0; i < 6; ++i)
            Tone(pcm, rate, at[i], i == 5 ? 1.8 : 0.5, NoteHz(notes[i]), 0.25, 0.35 + 0.05 * i);
        Tone(pcm, rate, 1.2, 1.8, NoteHz(48), 0.2);
    } else {
        const int bass[] = {40, 40, 43, 45};
        for (int bar = 0; bar < 4; ++bar)
            for (int eighth = 0; eighth < 8; ++eighth)
                Tone(pcm, rate, bar + eighth * 0.125, 0.12, NoteHz(bass[bar]), 0.3, 0.4);
        const int lead[] = {64, 67, 69, 71, 72, 71, 69, 67};
        for (int i = 0; i < 8; ++i)
            Tone(pcm, rate, i * 0.5, 0.45, NoteHz(lead[i]), 0.18, 0.6);
    }
    std::vector<uint8_t> out;
    EncodeOggVorbis(pcm, rate, 0.2f, out);
    return out;
}

std::vector<uint8_t> StarterWave(int kind)
{
    constexpr int rate = 22050;
    std::vector<float> pcm(2 * rate / 2, 0.0f);  // half a second at most
    switch (kind) {
    case 0: Tone(pcm, rate, 0, 0.12, 1320, 0.5); break;                                         // decide
    case 1: Tone(pcm, rate, 0, 0.08, 660, 0.5); Tone(pcm, rate, 0.08, 0.1, 440, 0.5); break;  // cancel
    case 2: Tone(pcm, rate, 0, 0.25, 150, 0.7); break;                                         // error
    case 3: Tone(pcm, rate, 0, 0.06, 1760, 0.4); Tone(pcm, rate, 0.08, 0.06, 1760, 0.4); break;  // copy
    case 4: Tone(pcm, rate, 0, 0.3, 880, 0.3); break;                                          // free
    case 5: {  // attack: a falling noise burst
        uint32_t seed = 7;
        for (std::size_t i = 0; i < pcm.size() / 2 && i < std::size_t(rate * 0.2); ++i) {
            seed = seed * 1664525u + 1013904223u;
            float v = float(int(seed >> 16) % 2000 - 1000) / 1000.0f * 0.5f * float(1.0 - double(i) / (rate * 0.2));
            pcm[2 * i] = pcm[2 * i + 1] = v;
        }
        break;
    }
    default:  // heal: a rising arpeggio
        for (int i = 0; i < 4; ++i)
            Tone(pcm, rate, i * 0.08, 0.2, NoteHz(72 + 4 * i), 0.3);
        break;
    }
    std::vector<int16_t> samples(pcm.size());
    for (std::size_t i = 0; i < pcm.size(); ++i)
        samples[i] = int16_t(std::lrint(std::clamp(pcm[i], -1.0f, 1.0f) * 32767.0f));
    return WavFileBytes(samples, rate);
}

bool WriteStarterSounds()
{
    bool ok = WriteHostFileAtomic(HostPath("bgm\\Free.mid"), StarterMidi());
    ok &= WriteHostFileAtomic(HostPath("bgm\\Battle.ogg"), StarterOgg(false));
    ok &= WriteHostFileAtomic(HostPath("bgm\\Victory.ogg"), StarterOgg(true));
    const char* waves[] = {"wave\\決定.wav", "wave\\キャンセル.wav", "wave\\エラー.wav", "wave\\コピー.wav",
                           "wave\\free.wav", "wave\\攻撃.wav", "wave\\回復.wav"};
    for (int i = 0; i < 7; ++i)
        ok &= WriteHostFileAtomic(HostPath(Utf8ToCp932(waves[i])), StarterWave(i));
    return ok;
}
