// The sound path: sources mixed into float stereo at the output's rate, and
// the outputs that pull the mix (a sound card, silence, a WAV file).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Something that sounds: adds frames of interleaved stereo float at the
// mixer's rate into out. False once it has nothing more to add.
class AudioSource {
public:
    virtual ~AudioSource() = default;
    virtual bool Mix(float* out, int frames) = 0;
    // Moves to a place in milliseconds from the start (where the source can).
    virtual void Seek(int64_t /*ms*/) {}
};

// Two voices, the music and one effect. The output's thread pulls under the
// lock; the players change the voices and their sources' state under it, and
// open files before taking it.
class Mixer {
public:
    explicit Mixer(int rate) : m_Rate(rate) {}
    int Rate() const { return m_Rate; }
    std::mutex& Lock() { return m_Lock; }

    // Fills frames of interleaved stereo float (takes the lock).
    void Pull(float* out, int frames);

    struct Voice {
        std::shared_ptr<AudioSource> source;
        float gain = 1.0f;
    };
    // Change only under Lock().
    Voice music, effect;

private:
    void MixVoice(Voice& v, float* out, int frames);

    int m_Rate;
    std::mutex m_Lock;
    std::vector<float> m_Scratch;
};

// Takes the mixer's output somewhere.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    virtual int Rate() const = 0;
    // Begins pulling from the mixer (which must outlive Stop).
    virtual bool Start(Mixer* mixer) = 0;
    virtual void Stop() = 0;
    // What the report log calls this output.
    virtual std::string Name() const = 0;
};

// Silence in real time: a thread pulls the mix at the pace a sound card would
// and drops it. Without realTime nothing pulls until Pump is called.
class NullAudioOutput : public AudioOutput {
public:
    explicit NullAudioOutput(int rate = 44100, bool realTime = true) : m_Rate(rate), m_RealTime(realTime) {}
    ~NullAudioOutput() override { Stop(); }
    int Rate() const override { return m_Rate; }
    bool Start(Mixer* mixer) override;
    void Stop() override;
    std::string Name() const override { return "null"; }
    // Pulls frames now and drops them.
    void Pump(int frames);

private:
    int m_Rate;
    bool m_RealTime;
    Mixer* m_Mixer = nullptr;
    std::thread m_Thread;
    std::atomic<bool> m_Run{false};
};

// Renders on demand into 16-bit stereo PCM and writes a WAV file.
class WavFileAudioOutput : public AudioOutput {
public:
    WavFileAudioOutput(std::string hostPath, int rate = 44100) : m_Path(std::move(hostPath)), m_Rate(rate) {}
    int Rate() const override { return m_Rate; }
    bool Start(Mixer* mixer) override { m_Mixer = mixer; return true; }
    void Stop() override { m_Mixer = nullptr; }
    std::string Name() const override { return "file"; }
    // Pulls this many frames into the file's samples.
    void Render(int64_t frames);
    // Writes the file (temporary file, then rename); false when it fails.
    bool Finish();
    const std::vector<int16_t>& Samples() const { return m_Samples; }

private:
    std::string m_Path;
    int m_Rate;
    Mixer* m_Mixer = nullptr;
    std::vector<int16_t> m_Samples;
};

// The bytes of a WAV file holding 16-bit interleaved stereo samples.
std::vector<uint8_t> WavFileBytes(const std::vector<int16_t>& samples, int rate);
