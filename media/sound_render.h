// Plays a music or sound file into a WAV file, as the editor would play it.
#pragma once

#include <string>

struct RenderOptions {
    double seconds = 10;
    bool loop = false;
    int volume = 100;
};

// .wav files go through the effect player, everything else through the music
// player (Ogg or MIDI by the extension). The output is exactly the asked
// length of 44100 Hz 16-bit stereo, silence after the piece's end. False with
// the player's failure line (CP932) in failure.
bool RenderSoundFile(const std::string& hostIn, const std::string& hostOut, const RenderOptions& options,
                     std::string& failure);

// Writes the merged single-track form of a MIDI file. False with the failure line.
bool WriteMergedSmf(const std::string& hostIn, const std::string& hostOut, std::string& failure);
