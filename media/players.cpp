#include "media/players.h"

#include <algorithm>

#include "base/log.h"
#include "base/paths.h"
#include "base/text.h"
#include "records/record_io.h"

namespace {

// Sound files larger than this are refused rather than read.
constexpr std::size_t kMaxSoundFile = 256u << 20;

bool ReadSoundFile(const std::string& hostPath, std::vector<uint8_t>& bytes)
{
    return ReadHostFile(hostPath, bytes) && bytes.size() <= kMaxSoundFile;
}

// Takes the voice out when it holds source; the caller destroys it after
// letting go of the lock.
std::shared_ptr<AudioSource> TakeVoice(Mixer::Voice& voice, const AudioSource* source)
{
    std::shared_ptr<AudioSource> taken;
    if (source && voice.source.get() == source)
        taken = std::move(voice.source);
    voice.source.reset();
    return taken;
}

bool IsExtension(const std::string& path, const char* lower, const char* upper)
{
    std::string ext;
    GetExtension(ext, path);
    return ext == lower || ext == upper;
}

std::unique_ptr<MidiSynth> MakeSynth(const SynthFactory& factory, int rate)
{
    return factory ? factory(rate) : MakeGmSynth(rate);
}

}  // namespace

std::shared_ptr<const WaveData> LoadWave(const std::string& hostPath, const std::string& name)
{
    std::vector<uint8_t> bytes;
    if (!ReadSoundFile(hostPath, bytes)) {
        SoundFailure(StrPrintf(SJ("Wave %s ファイルが開けません").c_str(), name.c_str()));
        return nullptr;
    }
    auto wave = std::make_shared<WaveData>();
    std::string why;
    if (!DecodeWave(bytes.data(), bytes.size(), *wave, why)) {
        SoundFailure(StrPrintf("Wave %s %s", name.c_str(), why.c_str()));
        return nullptr;
    }
    return wave;
}

std::shared_ptr<ResampledSource> LoadOgg(const std::string& hostPath, const std::string& name, int rate)
{
    std::vector<uint8_t> bytes;
    if (!ReadSoundFile(hostPath, bytes)) {
        SoundFailure(StrPrintf(SJ("Ogg %s ファイルが開けません").c_str(), name.c_str()));
        return nullptr;
    }
    auto stream = std::make_unique<OggStream>();
    std::string why;
    if (!stream->Open(std::move(bytes), why)) {
        SoundFailure(StrPrintf("Ogg %s %s", name.c_str(), why.c_str()));
        return nullptr;
    }
    return std::make_shared<ResampledSource>(std::move(stream), rate);
}

// ---- BgmPlayer ----

BgmPlayer::BgmPlayer(Mixer* mixer, SynthFactory synths) : m_Mixer(mixer), m_Synths(std::move(synths)) {}

int BgmPlayer::Init(int channels, const std::vector<std::string>& oggPaths, const std::vector<std::string>& midiPaths,
                    int slots, bool /*midiDirectMusic*/)
{
    // There is no external MIDI library: the own player always serves, and
    // the run setting for it changes nothing.
    m_Enabled = true;
    if (!m_Mixer) {
        ErrorBoxPrintf("%s", SJ("oggの初期化に失敗！").c_str());
        return 0;
    }
    channels = std::max(channels, 1);
    m_OggPlayers.assign(std::size_t(channels), nullptr);
    m_MidiPlayers.assign(std::size_t(channels), nullptr);
    m_ChannelKind.assign(std::size_t(channels), None);
    m_Slots.assign(std::size_t(std::max(slots, 0)), Slot{});
    for (std::size_t i = 0; i < m_Slots.size(); ++i) {
        if (i < oggPaths.size())
            m_Slots[i].ogg = oggPaths[i];
        if (i < midiPaths.size())
            m_Slots[i].midi = midiPaths[i];
    }
    m_OggChannel = -1;
    m_LastSlot = -1;
    return 1;
}

int BgmPlayer::SlotKind(int slot) const { return m_Slots.at(std::size_t(slot)).kind; }
int BgmPlayer::ChannelKind(int channel) const { return m_ChannelKind.at(std::size_t(channel)); }

cSmfPlay* BgmPlayer::MidiPlayer(int channel) const
{
    if (channel < 0 || std::size_t(channel) >= m_MidiPlayers.size() || !m_MidiPlayers[std::size_t(channel)])
        return nullptr;
    return &m_MidiPlayers[std::size_t(channel)]->Player();
}

int BgmPlayer::SetSlot(int slot, const std::string& file, int volume)
{
    if (slot < 0 || std::size_t(slot) >= m_Slots.size())
        return 0;
    Slot& s = m_Slots[std::size_t(slot)];
    volume = std::clamp(volume, 0, 100);
    std::string ext;
    if (!GetExtension(ext, file)) {
        s.ogg.clear();
        s.midi.clear();
        s.kind = None;
        return 0;
    }
    if (ext == "mid" || ext == "MID") {
        ReplaceExtension(s.midi, file, "mid");
        s.midiVolume = volume;
        s.kind = Midi;
        return 1;
    }
    if (ext == "ogg" || ext == "OGG") {
        s.ogg = file;
        s.oggVolume = volume;
        s.kind = Ogg;
        return 1;
    }
    s.ogg = s.midi = file;
    s.oggVolume = s.midiVolume = volume;
    s.kind = None;
    return 0;
}

int BgmPlayer::Play(int channel, int slot, bool loop, int stopMode, bool force)
{
    if (!m_Enabled)
        return 1;
    if (slot == m_LastSlot && !force)
        return 1;
    m_LastSlot = slot;
    bool sounds = false;
    bool validChannel = channel >= 0 && std::size_t(channel) < m_ChannelKind.size();
    if (validChannel && slot >= 0 && std::size_t(slot) < m_Slots.size()) {
        const Slot s = m_Slots[std::size_t(slot)];
        int& kind = m_ChannelKind[std::size_t(channel)];
        if (s.kind != Midi && PlayOgg(channel, s.ogg, s.oggVolume, loop)) {
            kind = Ogg;
            StopMidi(s.kind == None ? stopMode : 0);
            sounds = true;
        } else if (s.kind != Ogg && PlayMidi(channel, s.midi, s.midiVolume, loop)) {
            kind = Midi;
            StopOgg();
            sounds = true;
        }
    }
    if (sounds)
        return 1;
    if (validChannel)
        m_ChannelKind[std::size_t(channel)] = None;
    m_LastSlot = -1;
    StopOgg();
    StopMidi(0);
    return 0;
}

bool BgmPlayer::PlayOgg(int channel, const std::string& path, int volume, bool loop)
{
    if (path.empty() || !m_Mixer)
        return false;
    StopOgg();
    m_OggPlayers[std::size_t(channel)].reset();
    auto source = LoadOgg(HostPath(path), path, m_Mixer->Rate());
    if (!source)
        return false;
    static_cast<OggStream&>(source->Stream()).SetLoopCount(loop ? 2147483647 : 0);
    // Below 100 the volume is set; 100 is set too, so nothing keeps the
    // volume of the piece before.
    float gain = volume < 100 ? volume * 0.01f : 1.0f;
    std::shared_ptr<AudioSource> old;
    {
        std::lock_guard<std::mutex> hold(m_Mixer->Lock());
        old = std::move(m_Mixer->music.source);
        m_Mixer->music.source = source;
        m_Mixer->music.gain = gain;
    }
    m_OggPlayers[std::size_t(channel)] = source;
    m_OggChannel = channel;
    m_Sounding = source;
    return true;
}

bool BgmPlayer::PlayMidi(int channel, const std::string& path, int volume, bool loop)
{
    if (path.empty() || !m_Mixer)
        return false;
    // Every player there is pauses and goes.
    std::vector<std::shared_ptr<SmfSource>> old;
    {
        std::lock_guard<std::mutex> hold(m_Mixer->Lock());
        for (auto& p : m_MidiPlayers) {
            if (!p)
                continue;
            p->Player().Pause();
            if (m_Mixer->music.source == p)
                m_Mixer->music.source.reset();
            old.push_back(std::move(p));
        }
    }
    old.clear();
    if (!m_Synth) {
        m_Synth = MakeSynth(m_Synths, m_Mixer->Rate());
        if (!m_Synth) {
            if (!m_NoFontReported)
                ReportLogPrintf("Sound : no General MIDI sound font");
            m_NoFontReported = true;
            SoundFailure("Sound : no General MIDI sound font");
            return false;
        }
    }
    auto player = std::make_shared<cSmfPlay>(m_Synth, m_Mixer->Rate());
    if (!player->Load(HostPath(path), path))
        return false;
    auto source = std::make_shared<SmfSource>(player);
    std::shared_ptr<AudioSource> replaced;
    {
        std::lock_guard<std::mutex> hold(m_Mixer->Lock());
        m_Synth->Reset();
        player->Play(loop);
        replaced = std::move(m_Mixer->music.source);
        m_Mixer->music.source = source;
        m_Mixer->music.gain = std::clamp(volume, 0, 100) / 100.0f;
    }
    m_MidiPlayers[std::size_t(channel)] = source;
    m_Sounding = source;
    return true;
}

void BgmPlayer::StopOgg()
{
    if (!m_Mixer)
        return;
    std::shared_ptr<AudioSource> taken;
    if (m_OggChannel >= 0) {
        std::lock_guard<std::mutex> hold(m_Mixer->Lock());
        const AudioSource* ogg = m_OggPlayers[std::size_t(m_OggChannel)].get();
        if (m_Mixer->music.source.get() == ogg)
            taken = TakeVoice(m_Mixer->music, ogg);
    }
    if (m_Sounding && m_Sounding == taken)
        m_Sounding.reset();
    m_OggChannel = -1;
}

void BgmPlayer::StopMidi(int stopMode)
{
    if (!m_Mixer)
        return;
    // A stopped piece leaves its voice to let the released notes fade; the
    // voice ends by itself once the synthesizer is silent.
    std::lock_guard<std::mutex> hold(m_Mixer->Lock());
    for (auto& p : m_MidiPlayers) {
        if (!p)
            continue;
        if (stopMode == 1)
            p->Player().Pause();
        else
            p->Player().Stop();
    }
}

void BgmPlayer::StopAll(int stopMode)
{
    StopOgg();
    StopMidi(stopMode);
}

void BgmPlayer::SetVolume(int volume)
{
    if (!m_Mixer || !m_Sounding)
        return;
    std::lock_guard<std::mutex> hold(m_Mixer->Lock());
    if (m_Mixer->music.source == m_Sounding)
        m_Mixer->music.gain = std::clamp(volume, 0, 100) / 100.0f;
}

void BgmPlayer::Close()
{
    std::shared_ptr<AudioSource> taken;
    if (m_Mixer) {
        std::lock_guard<std::mutex> hold(m_Mixer->Lock());
        for (auto& p : m_MidiPlayers)
            if (p)
                p->Player().Stop();
        taken = std::move(m_Mixer->music.source);
    }
    m_OggPlayers.clear();
    m_MidiPlayers.clear();
    m_Sounding.reset();
    taken.reset();
    m_Synth.reset();
    m_OggChannel = -1;
    m_LastSlot = -1;
    m_Enabled = false;
}

// ---- SoundPlayer ----

SoundPlayer::SoundPlayer(Mixer* mixer, SynthFactory synths) : m_Mixer(mixer), m_Synths(std::move(synths)) {}

void SoundPlayer::Init()
{
    m_Enabled = true;
    m_Current = -1;
}

bool SoundPlayer::SlotOpen(int slot) const
{
    return slot >= 0 && std::size_t(slot) < m_Slots.size() && m_Slots[std::size_t(slot)].source != nullptr;
}

bool SoundPlayer::Open(Slot& slot, const std::string& deviceType, const std::string& file)
{
    if (!m_Mixer || file.empty())
        return false;
    std::shared_ptr<AudioSource> source;
    if (deviceType == "waveaudio") {
        auto wave = LoadWave(HostPath(file), file);
        if (wave)
            source = std::make_shared<ResampledSource>(std::make_unique<WaveStream>(wave), m_Mixer->Rate());
    } else if (deviceType == "sequencer") {
        // A MIDI effect has a synthesizer of its own, beside the music's.
        std::shared_ptr<MidiSynth> synth = MakeSynth(m_Synths, m_Mixer->Rate());
        if (!synth) {
            SoundFailure("Sound : no General MIDI sound font");
            return false;
        }
        auto player = std::make_shared<cSmfPlay>(synth, m_Mixer->Rate());
        if (player->Load(HostPath(file), file))
            source = std::make_shared<SmfSource>(player);
    }
    if (!source)
        return false;
    slot.type = deviceType;
    slot.file = file;
    slot.source = std::move(source);
    return true;
}

void SoundPlayer::CloseSlot(Slot& slot)
{
    std::shared_ptr<AudioSource> taken;
    if (m_Mixer && slot.source) {
        std::lock_guard<std::mutex> hold(m_Mixer->Lock());
        if (m_Mixer->effect.source == slot.source)
            taken = std::move(m_Mixer->effect.source);
    }
    slot = Slot{};
}

void SoundPlayer::OpenSet(const std::string& deviceType, const std::vector<std::string>& files)
{
    Stop(false);
    for (Slot& s : m_Slots)
        CloseSlot(s);
    m_Slots.clear();
    for (const std::string& file : files) {
        if (file.empty())
            break;  // the list ends at an empty name
        m_Slots.emplace_back();
        Open(m_Slots.back(), deviceType, file);
    }
}

int SoundPlayer::Change(int slot, const std::string& deviceType, const std::string& file)
{
    if (slot < 0)
        return 0;
    if (m_Current >= 0)
        Stop(false);
    if (std::size_t(slot) >= m_Slots.size())
        m_Slots.resize(std::size_t(slot) + 1);
    if (deviceType == "sequencer") {
        for (Slot& s : m_Slots)
            CloseSlot(s);
    } else {
        CloseSlot(m_Slots[std::size_t(slot)]);
    }
    // The box names the decoder's reason when there is one, not this line.
    ClearSoundFailure();
    if (!Open(m_Slots[std::size_t(slot)], deviceType, file)) {
        SoundFailure(StrPrintf(SJ("ChangeSound失敗！ %s").c_str(), file.c_str()), true);
        return 0;
    }
    return 1;
}

int SoundPlayer::PlaySlot(int slot, bool /*notify*/, bool from, int64_t positionMs)
{
    if (m_Current >= 0)
        Stop(false);
    if (!SlotOpen(slot) || !m_Mixer)
        return 0;
    Slot& s = m_Slots[std::size_t(slot)];
    std::shared_ptr<AudioSource> old;
    {
        std::lock_guard<std::mutex> hold(m_Mixer->Lock());
        auto* smf = dynamic_cast<SmfSource*>(s.source.get());
        if (smf) {
            if (from)
                smf->Player().Stop();  // a sequence starts again from its beginning
            smf->Player().Play(false);
        } else if (from) {
            s.source->Seek(positionMs);
        }
        old = std::move(m_Mixer->effect.source);
        m_Mixer->effect.source = s.source;
        m_Mixer->effect.gain = 1.0f;
    }
    m_Current = slot;
    return 1;
}

int SoundPlayer::PlayFile(int slot, const std::string& file, int64_t positionMs)
{
    if (IsExtension(file, "mid", "MID")) {
        std::string midi;
        ReplaceExtension(midi, file, "mid");
        return Change(slot, "sequencer", midi) ? PlaySlot(slot, true, true, positionMs) : 0;
    }
    if (IsExtension(file, "wav", "WAV"))
        return Change(slot, "waveaudio", file) ? PlaySlot(slot, false, true, positionMs) : 0;
    return 0;
}

void SoundPlayer::Stop(bool pause)
{
    int slot = m_Current;
    m_Current = -1;
    if (!SlotOpen(slot) || !m_Mixer) {
        if (!pause)
            ErrorLogPrintf(SJ("Stop失敗！ mr = %8x stop =%d").c_str(), 0x101u, slot);
        return;
    }
    Slot& s = m_Slots[std::size_t(slot)];
    std::shared_ptr<AudioSource> taken;
    {
        std::lock_guard<std::mutex> hold(m_Mixer->Lock());
        if (m_Mixer->effect.source == s.source)
            taken = std::move(m_Mixer->effect.source);
        if (auto* smf = dynamic_cast<SmfSource*>(s.source.get())) {
            if (pause)
                smf->Player().Pause();
            else
                smf->Player().Stop();
        } else if (!pause) {
            s.source->Seek(0);
        }
    }
    if (!pause)
        ErrorLogPrintf(SJ("Stop成功！ mr = %8x stop =%d").c_str(), 0u, slot);
}

void SoundPlayer::Close()
{
    Stop(true);
    for (Slot& s : m_Slots)
        CloseSlot(s);
    m_Slots.clear();
    m_Enabled = false;
    m_Current = -1;
}
