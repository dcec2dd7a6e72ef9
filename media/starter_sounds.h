// The small music and sound files a new project starts with, made here rather
// than shipped: a MIDI piece, two Ogg pieces and short effect waves.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// "bgm\Free.mid": format 1, a melody track (with the tempo) and a bass track.
std::vector<uint8_t> StarterMidi();
// A short Ogg Vorbis piece: battle (a driving loop) or victory (a fanfare).
std::vector<uint8_t> StarterOgg(bool victory);
// A short 16-bit effect wave; kind 0 to 6: decide, cancel, error, copy, free,
// attack, heal.
std::vector<uint8_t> StarterWave(int kind);

// Writes the music into "bgm" and the waves into "wave" of the current
// project: "wave\決定.wav", "wave\キャンセル.wav", "wave\エラー.wav",
// "wave\コピー.wav", "wave\free.wav", "wave\攻撃.wav", "wave\回復.wav".
// False when a file cannot be written.
bool WriteStarterSounds();
