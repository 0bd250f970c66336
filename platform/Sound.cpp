#include "platform/Sound.h"

#include <cstdio>
#include <cstring>

SoundTable gSoundTable = {};

namespace
{

constexpr const char* SoundListPath = "data/sounddat.lst";

// fgets is given one byte less than the buffer holds, so a piece of a line
// has at most 254 characters; a longer line is handled in pieces.
constexpr int ListLineBuffer = 256;
constexpr int ListReadSize = 255;
constexpr size_t MinimumLineLength = 6; // kind, three digits, separator, one name character
constexpr size_t NameStart = 5;

bool IsLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The file the current music streams from, open while the music is loaded.
// The mixer's loader by file name closes its file twice when a file that
// starts like a WAV fails to load (a damaged or truncated music file would
// crash the game), so the file is opened here, lent to the mixer, and closed
// here once the music is freed.
SDL_RWops* gMusicSource = nullptr;

void FreeCurrentMusic()
{
    if (gSoundTable.currentMusic != nullptr)
    {
        Mix_HaltMusic();
        Mix_FreeMusic(gSoundTable.currentMusic);
        gSoundTable.currentMusic = nullptr;
    }
    if (gMusicSource != nullptr)
    {
        SDL_RWclose(gMusicSource);
        gMusicSource = nullptr;
    }
}

void LoadEffect(int n, const char* name)
{
    if (gSoundTable.effects[n] != nullptr)
    {
        Mix_FreeChunk(gSoundTable.effects[n]);
        gSoundTable.effects[n] = nullptr;
    }
    SDL_RWops* source = SDL_RWFromFile(name, "rb");
    if (source != nullptr)
    {
        gSoundTable.effects[n] = Mix_LoadWAV_RW(source, 1);
    }
}

void PlayMusic(int n, int loops)
{
    if (gSoundTable.enabled == 0 || n < 0 || n >= MusicCount || gSoundTable.musicNames[n][0] == 0)
    {
        return;
    }
    FreeCurrentMusic();
    SDL_RWops* source = SDL_RWFromFile(gSoundTable.musicNames[n], "rb");
    if (source == nullptr)
    {
        return;
    }
    gSoundTable.currentMusic = Mix_LoadMUS_RW(source); // never closes the source
    if (gSoundTable.currentMusic == nullptr)
    {
        SDL_RWclose(source);
        return;
    }
    gMusicSource = source;
    Mix_PlayMusic(gSoundTable.currentMusic, loops);
}

} // namespace

SoundListEntry ParseSoundListLine(const char* line)
{
    SoundListEntry entry = {};
    entry.kind = SoundListKind::Ignored;
    if (line == nullptr)
    {
        return entry;
    }
    const size_t length = std::strlen(line);
    if (length < MinimumLineLength)
    {
        return entry;
    }
    SoundListKind kind;
    int limit;
    switch (line[0])
    {
    case 'M':
        kind = SoundListKind::Music;
        limit = MusicCount;
        break;
    case 'S':
        kind = SoundListKind::Effect;
        limit = EffectCount;
        break;
    default: // "#", a space, or any other character
        return entry;
    }
    if (!IsDigit(line[1]) || !IsDigit(line[2]) || !IsDigit(line[3]))
    {
        return entry;
    }
    const int number = 100 * (line[1] - '0') + 10 * (line[2] - '0') + (line[3] - '0');
    if (number >= limit)
    {
        return entry;
    }

    std::strncpy(entry.name, line + NameStart, SoundNameSize - 1);
    entry.name[SoundNameSize - 1] = 0;
    size_t nameLength = std::strlen(entry.name);
    if (nameLength > 0 && IsLineEnd(entry.name[nameLength - 1]))
    {
        entry.name[--nameLength] = 0;
        if (nameLength > 0 && IsLineEnd(entry.name[nameLength - 1]))
        {
            entry.name[--nameLength] = 0;
        }
    }
    entry.kind = kind;
    entry.number = number;
    return entry;
}

void HandleSoundListLine(const char* line)
{
    const SoundListEntry entry = ParseSoundListLine(line);
    switch (entry.kind)
    {
    case SoundListKind::Music:
        std::strcpy(gSoundTable.musicNames[entry.number], entry.name);
        break;
    case SoundListKind::Effect:
        LoadEffect(entry.number, entry.name);
        break;
    case SoundListKind::Ignored:
        break;
    }
}

void InitSound()
{
    InitSoundWithList(SoundListPath);
}

void InitSoundWithList(const char* listPath)
{
    gSoundTable.nextChannel = 0;
    gSoundTable.enabled = 1;
    if (Mix_OpenAudio(22050, AUDIO_S16, 2, 1024) != 0)
    {
        gSoundTable.enabled = 0;
        return;
    }
    gSoundTable.currentMusic = nullptr;
    for (char* name : gSoundTable.musicNames)
    {
        name[0] = 0;
    }
    for (Mix_Chunk*& effect : gSoundTable.effects)
    {
        effect = nullptr;
    }
    FILE* list = std::fopen(listPath, "r");
    if (list == nullptr)
    {
        // The device stays open; sound is simply off for the run.
        gSoundTable.enabled = 0;
        return;
    }
    char line[ListLineBuffer];
    while (std::fgets(line, ListReadSize, list) != nullptr)
    {
        HandleSoundListLine(line);
    }
    std::fclose(list);
}

void ShutdownSound()
{
    if (gSoundTable.enabled == 0)
    {
        return;
    }
    FreeCurrentMusic();
    for (int channel = 0; channel < SoundChannelCount; ++channel)
    {
        Mix_HaltChannel(channel);
    }
    for (Mix_Chunk*& effect : gSoundTable.effects)
    {
        if (effect != nullptr)
        {
            Mix_FreeChunk(effect);
            effect = nullptr;
        }
    }
    Mix_CloseAudio();
    // The mixer is closed: later calls must not reach it.
    gSoundTable.enabled = 0;
}

void PlayMusicLoop(int n)
{
    PlayMusic(n, -1);
}

void PlayMusicOnce(int n)
{
    PlayMusic(n, 1);
}

void PlaySoundEffect(int n)
{
    if (gSoundTable.enabled == 0 || n < 0 || n >= PlayableEffectCount ||
        gSoundTable.effects[n] == nullptr)
    {
        return;
    }
    Mix_PlayChannelTimed(gSoundTable.nextChannel, gSoundTable.effects[n], 0, -1);
    gSoundTable.nextChannel = (gSoundTable.nextChannel + 1) % SoundChannelCount;
}

void StopMusic()
{
    if (gSoundTable.enabled != 0)
    {
        Mix_HaltMusic();
    }
}

void StopAllSoundEffects()
{
    if (gSoundTable.enabled != 0)
    {
        for (int channel = 0; channel < SoundChannelCount; ++channel)
        {
            Mix_HaltChannel(channel);
        }
    }
}
