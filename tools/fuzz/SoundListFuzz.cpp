// Fuzz target: arbitrary bytes as "data/sounddat.lst", read by the game's own
// InitSound on the dummy audio driver, then every music and effect number
// played and the module shut down.
//
// Input: the list text, optionally followed by SoundFileMarker and the bytes
// of a sound file that the list can name as "data/fuzz.wav" (so the seeds can
// carry damaged WAV files too).
#include "FuzzSupport.h"
#include "platform/Sound.h"

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>

using namespace skyreel_fuzz;

namespace
{

constexpr char SoundFileMarker[] = "\n#--fuzz.wav--\n";
constexpr size_t MarkerLength = sizeof SoundFileMarker - 1;

// The table must come out of any list well formed: names terminated inside
// their entries and without their line end, the channel in range.
void CheckTable()
{
    if (gSoundTable.nextChannel < 0 || gSoundTable.nextChannel >= SoundChannelCount)
    {
        Fail("nextChannel out of range");
    }
    for (const char* name : gSoundTable.musicNames)
    {
        const void* end = std::memchr(name, 0, SoundNameSize);
        if (end == nullptr)
        {
            Fail("music name not terminated inside its entry");
        }
        const auto length = static_cast<size_t>(static_cast<const char*>(end) - name);
        if (length > 0 && name[length - 1] == '\n')
        {
            Fail("music name keeps its line feed");
        }
    }
}

// At exit, before SDL_Quit: the mixer stopped and its device closed, so its
// audio thread is not left running while the process tears down.
void CloseMixer()
{
    while (Mix_QuerySpec(nullptr, nullptr, nullptr) != 0)
    {
        Mix_CloseAudio();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    StartOnce();
    // The fuzzer holds the mixer open for the whole run: InitSound's open and
    // ShutdownSound's close then only count up and down, instead of starting
    // and joining the audio thread for every input.
    static const bool held =
        Mix_OpenAudio(22050, AUDIO_S16, 2, 1024) == 0 && std::atexit(CloseMixer) == 0;
    if (!held)
    {
        Fail("the dummy audio device did not open");
    }

    const uint8_t* end = data + size;
    const uint8_t* marker = std::search(data, end, SoundFileMarker, SoundFileMarker + MarkerLength);
    WriteFile("data/sounddat.lst", data, static_cast<size_t>(marker - data));
    if (marker != end)
    {
        const uint8_t* sound = marker + MarkerLength;
        WriteFile("data/fuzz.wav", sound, static_cast<size_t>(end - sound));
    }
    else
    {
        RemoveFile("data/fuzz.wav");
    }

    InitSound();
    CheckTable();
    for (int n = -1; n <= PlayableEffectCount; ++n)
    {
        PlaySoundEffect(n);
    }
    CheckTable();
    for (int n = -1; n <= MusicCount; ++n)
    {
        PlayMusicLoop(n);
    }
    PlayMusicOnce(1);
    StopMusic();
    StopAllSoundEffects();
    ShutdownSound();
    // A list that could not be read leaves InitSound's open standing.
    while (Mix_QuerySpec(nullptr, nullptr, nullptr) > 1)
    {
        Mix_CloseAudio();
    }
    return 0;
}
