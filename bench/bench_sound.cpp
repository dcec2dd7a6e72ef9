// Speed of the sound path: reading and merging a large MIDI file, playing a
// 16-channel piece through the General MIDI synthesizer, decoding Ogg Vorbis.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "media/midi_synth.h"
#include "media/smf_play.h"
#include "media/sound_decode.h"

namespace {

void Be32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int s = 24; s >= 0; s -= 8)
        out.push_back(uint8_t(v >> s));
}

// A format 1 file of 16 tracks, one channel each, of about the given size:
// one note at a time on every channel (each note released by a note-on of
// velocity 0 as the next begins), running status, a controller now and then.
// With holdNotes a note is released only when it is struck again, so the
// synthesizer soon sounds as many voices as it has.
std::vector<uint8_t> BigSmf(std::size_t bytes, int ticksPerNote, bool holdNotes = false)
{
    std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 16, 0x01, 0xE0};
    for (int t = 0; t < 16; ++t) {
        std::vector<uint8_t> body = {0x00, uint8_t(0xC0 | t), uint8_t(t * 5), 0x00, uint8_t(0x90 | t), 60, 90};
        uint32_t seed = 12345u + uint32_t(t);
        uint8_t sounding = 60;
        while (body.size() < bytes / 16) {
            seed = seed * 1103515245u + 12345u;
            uint8_t note = uint8_t(36 + (seed >> 16) % 48);
            if (holdNotes)
                sounding = note;
            body.insert(body.end(), {uint8_t(0x80 | (ticksPerNote >> 7)), uint8_t(ticksPerNote & 0x7F), sounding, 0});
            sounding = note;
            if ((seed >> 8) % 16 == 0)
                body.insert(body.end(), {0x00, uint8_t(0xB0 | t), 10, uint8_t((seed >> 4) % 128), 0x00, uint8_t(0x90 | t), note, 80});
            else
                body.insert(body.end(), {0x00, note, 80});
        }
        body.insert(body.end(), {0x00, 0xFF, 0x2F, 0x00});
        file.insert(file.end(), {'M', 'T', 'r', 'k'});
        Be32(file, uint32_t(body.size()));
        file.insert(file.end(), body.begin(), body.end());
    }
    return file;
}

void BM_SmfParseAndMerge(benchmark::State& state)
{
    std::vector<uint8_t> file = BigSmf(1 << 20, 240);
    for (auto _ : state) {
        SmfFormat smf;
        benchmark::DoNotOptimize(smf.Parse(file.data(), file.size()));
        benchmark::DoNotOptimize(smf.Data().size());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}
BENCHMARK(BM_SmfParseAndMerge)->Unit(benchmark::kMillisecond);

// 60 s of music; the counter gives how many times faster than real time.
void MidiRender60s(benchmark::State& state, bool holdNotes)
{
    SetSoundFontPath("/usr/share/sounds/sf2/TimGM6mb.sf2");
    std::shared_ptr<MidiSynth> synth = MakeGmSynth(44100);
    if (!synth) {
        state.SkipWithError("TimGM6mb.sf2 is not installed");
        return;
    }
    // Eighth notes at 120 bpm on every channel (480 ticks a quarter).
    std::vector<uint8_t> file = BigSmf(16 * 250 * 7, 240, holdNotes);
    std::vector<float> buffer(2 * 1024);
    for (auto _ : state) {
        cSmfPlay play(synth, 44100);
        play.Parse(file.data(), file.size());
        synth->Reset();
        play.Play(false);
        for (int64_t done = 0; done < 60 * 44100; done += 1024)
            play.Render(buffer.data(), 1024);
    }
    // Per CPU second: the machine this runs on is shared.
    state.counters["x_realtime"] =
        benchmark::Counter(60.0 * double(state.iterations()), benchmark::Counter::kIsRate);
}
void BM_MidiRender60s(benchmark::State& state) { MidiRender60s(state, false); }
BENCHMARK(BM_MidiRender60s)->Unit(benchmark::kMillisecond);
// The worst case: every channel holds its notes, the synthesizer runs at its
// voice limit the whole minute.
void BM_MidiRender60sHeldNotes(benchmark::State& state) { MidiRender60s(state, true); }
BENCHMARK(BM_MidiRender60sHeldNotes)->Unit(benchmark::kMillisecond);

// The plain baseline: the same notes sent straight to the synthesizer every
// eighth note (11025 frames), without the file and the sequencer.
void BM_PlainSynth60s(benchmark::State& state)
{
    SetSoundFontPath("/usr/share/sounds/sf2/TimGM6mb.sf2");
    std::shared_ptr<MidiSynth> synth = MakeGmSynth(44100);
    if (!synth) {
        state.SkipWithError("TimGM6mb.sf2 is not installed");
        return;
    }
    constexpr int kEighth = 44100 / 4;
    std::vector<float> buffer(2 * 1024);
    for (auto _ : state) {
        synth->Reset();
        uint32_t seed[16];
        uint8_t sounding[16];
        for (int t = 0; t < 16; ++t) {
            seed[t] = 12345u + uint32_t(t);
            sounding[t] = 60;
            synth->Message(uint8_t(0xC0 | t), uint8_t(t * 5), 0);
            synth->Message(uint8_t(0x90 | t), 60, 90);
        }
        for (int64_t done = 0; done < 60 * 44100;) {
            if (done % kEighth == 0 && done > 0) {
                for (int t = 0; t < 16; ++t) {
                    seed[t] = seed[t] * 1103515245u + 12345u;
                    uint8_t note = uint8_t(36 + (seed[t] >> 16) % 48);
                    synth->Message(uint8_t(0x90 | t), sounding[t], 0);
                    if ((seed[t] >> 8) % 16 == 0)
                        synth->Message(uint8_t(0xB0 | t), 10, uint8_t((seed[t] >> 4) % 128));
                    synth->Message(uint8_t(0x90 | t), note, 80);
                    sounding[t] = note;
                }
            }
            int n = int(std::min<int64_t>(1024, kEighth - done % kEighth));
            synth->Render(buffer.data(), n);
            done += n;
        }
    }
    state.counters["x_realtime"] =
        benchmark::Counter(60.0 * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PlainSynth60s)->Unit(benchmark::kMillisecond);

void BM_OggDecode(benchmark::State& state)
{
    std::vector<float> pcm;
    for (int i = 0; i < 44100 * 10; ++i) {
        float v = float(0.3 * std::sin(i * 0.031) + 0.2 * std::sin(i * 0.0071));
        pcm.push_back(v);
        pcm.push_back(-v);
    }
    std::vector<uint8_t> ogg;
    EncodeOggVorbis(pcm, 44100, 0.5f, ogg);
    std::vector<float> buffer(2 * 4096);
    for (auto _ : state) {
        OggStream s;
        std::string why;
        s.Open(ogg, why);
        while (s.Read(buffer.data(), 4096) > 0) {}
    }
    state.counters["x_realtime"] = benchmark::Counter(10.0 * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OggDecode)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
