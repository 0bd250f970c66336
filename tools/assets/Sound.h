// Sound synthesis for the game's effects and music, and the WAV encoder.
// Every sound is 22050 Hz, 16-bit, mono.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assets
{

constexpr int SampleRate = 22050;

// Frequency in Hz of a MIDI note number (69 = A4 = 440 Hz).
double NoteFrequency(int midiNote);

// The notes (MIDI numbers) of the march beats, effects 1 to 7 in order. The
// game plays them 1,2,3,4,3,2 three times and then 5,6,5,7.
const std::vector<int>& MarchBeatNotes();

struct SoundFile
{
    std::string listKind; // "S" effect or "M" music, as in the sound list
    int number;           // entry number in the sound list
    std::string fileName; // relative to the data folder
    std::string purpose;  // one line for the sound list's comment
    std::vector<int16_t> samples;
};

// Every effect and the music, in sound-list order.
std::vector<SoundFile> BuildSounds();

// Scales the signal so its peak is peakDb dBFS (a negative number), rounds to
// 16 bits; a silent signal stays silent.
std::vector<int16_t> Normalize(const std::vector<double>& signal, double peakDb);

// RIFF/WAVE, PCM 16-bit mono at SampleRate.
std::vector<uint8_t> EncodeWav(const std::vector<int16_t>& samples);

} // namespace assets
