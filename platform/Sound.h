// Sound: music and sound effects through SDL_mixer, named by the sound list
// "data/sounddat.lst". Effects are loaded at start-up and played on the
// mixer's 8 channels in turn; music is loaded from its file when started.
#pragma once

#include <SDL/SDL_mixer.h>
#include <cstdint>

constexpr int MusicCount = 32;
constexpr int EffectCount = 64;         // effect entries 0..63 can be loaded
constexpr int PlayableEffectCount = 32; // only effects 0..31 can be played
constexpr int SoundChannelCount = 8;
constexpr int SoundNameSize = 256;

// Module-level state; zero until InitSound.
struct SoundTable
{
    int32_t enabled;         // 1 while sound works; every call but InitSound does nothing at 0
    int32_t nextChannel;     // mixer channel of the next effect, 0..7
    Mix_Music* currentMusic; // at most one piece loaded at a time
    char musicNames[MusicCount][SoundNameSize]; // "" = no music
    Mix_Chunk* effects[EffectCount];
};

extern SoundTable gSoundTable;

// One line of the sound list, as the fixed-position format reads it.
enum class SoundListKind
{
    Ignored, // comment, too short, unknown kind, or a number with no entry
    Music,
    Effect,
};

struct SoundListEntry
{
    SoundListKind kind;
    int number;               // 0..31 for music, 0..63 for effects
    char name[SoundNameSize]; // file name, line end removed
};

// Reads one line of the list: kind at position 0 ("M" or "S"), three decimal
// digits at 1..3, any separator at 4, the file name from 5 to the end with a
// trailing LF or CR LF removed. Lines shorter than 6 characters, comments
// ("#" or a space first), other kinds, and numbers outside the entry range or
// not made of digits come back as Ignored.
SoundListEntry ParseSoundListLine(const char* line);

// Applies one list line to the table: stores a music name, or loads an effect
// (replacing an earlier effect of the same number).
void HandleSoundListLine(const char* line);

// Opens the audio device and reads "data/sounddat.lst".
void InitSound();
// The same with another list file.
void InitSoundWithList(const char* listPath);
// Frees music and effects and closes the device; sound is off afterwards.
void ShutdownSound();

void PlayMusicLoop(int n);
void PlayMusicOnce(int n);
void PlaySoundEffect(int n);
void StopMusic();
void StopAllSoundEffects();
