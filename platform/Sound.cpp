#include "platform/Sound.h"

#include "platform/Port.h"

#include <cstdint>
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

// Sound files reach the mixer only as PCM WAV files whose headers its readers
// handle. Given other headers they crash or hang: no channels or a rate of 0
// bring down the format conversion, a WAV whose first chunk is not its format
// is freed twice, a WAV without a data chunk makes the music reader loop for
// ever, and damaged AIFF files crash it too. The game's sounds are WAV files,
// so any other file leaves its entry empty.
constexpr uint16_t PcmEncoding = 1;
constexpr uint16_t MaxChannels = 2;
constexpr uint32_t MinSampleRate = 4000; // samples per second
constexpr uint32_t MaxSampleRate = 192000;
constexpr uint32_t FormatChunkSize = 16; // the PCM fields both readers use

uint16_t ReadLittle16(const uint8_t* bytes)
{
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

uint32_t ReadLittle32(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

bool IsTag(const uint8_t* bytes, const char* tag)
{
    return std::memcmp(bytes, tag, 4) == 0;
}

bool IsUsablePcmFormat(const uint8_t* format)
{
    const uint16_t encoding = ReadLittle16(format);
    const uint16_t channels = ReadLittle16(format + 2);
    const uint32_t rate = ReadLittle32(format + 4);
    const uint16_t bits = ReadLittle16(format + 14);
    return encoding == PcmEncoding && channels >= 1 && channels <= MaxChannels &&
           rate >= MinSampleRate && rate <= MaxSampleRate && (bits == 8 || bits == 16);
}

// The check reads the file through the C library: in the browser SDL's file
// handles stand for a name only and cannot be read, and one reader for every
// port keeps the check the same everywhere.
bool ReadBytes(FILE* source, void* bytes, size_t count)
{
    return std::fread(bytes, count, 1, source) == 1;
}

bool SkipBytes(FILE* source, int64_t count)
{
    return std::fseek(source, static_cast<long>(count), SEEK_CUR) == 0;
}

// Walks the chunks the way both of the mixer's WAV readers do: "fact" and
// "LIST" chunks, then the format chunk, then any chunks up to the data
// chunk. `size` is the number of bytes from the current position to the end.
bool IsUsableWavBody(FILE* source, int64_t size)
{
    uint8_t riff[12];
    if (size < static_cast<int64_t>(sizeof riff) || !ReadBytes(source, riff, sizeof riff) ||
        !IsTag(riff, "RIFF") || !IsTag(riff + 8, "WAVE"))
    {
        return false;
    }
    int64_t left = size - static_cast<int64_t>(sizeof riff);
    bool formatRead = false;
    uint32_t frameBytes = 0; // one sample of every channel
    for (;;)
    {
        uint8_t header[8];
        if (left < static_cast<int64_t>(sizeof header) || !ReadBytes(source, header, sizeof header))
        {
            return false; // the data chunk never came
        }
        left -= static_cast<int64_t>(sizeof header);
        const uint32_t length = ReadLittle32(header + 4);
        if (length > left)
        {
            return false; // cut short, or a length that is not one
        }
        if (IsTag(header, "data"))
        {
            return formatRead && length >= frameBytes;
        }
        if (!formatRead && !IsTag(header, "fact") && !IsTag(header, "LIST"))
        {
            uint8_t format[FormatChunkSize];
            if (!IsTag(header, "fmt ") || length < FormatChunkSize ||
                !ReadBytes(source, format, sizeof format) || !IsUsablePcmFormat(format))
            {
                return false;
            }
            formatRead = true;
            frameBytes = ReadLittle16(format + 2) * (ReadLittle16(format + 14) / 8u);
            left -= FormatChunkSize;
            const int64_t rest = int64_t{length} - FormatChunkSize;
            if (!SkipBytes(source, rest))
            {
                return false;
            }
            left -= rest;
            continue;
        }
        if (!SkipBytes(source, length))
        {
            return false;
        }
        left -= length;
    }
}

bool IsUsableWavFile(const char* name)
{
    FILE* source = std::fopen(name, "rb");
    if (source == nullptr)
    {
        return false;
    }
    bool usable = false;
    if (std::fseek(source, 0, SEEK_END) == 0)
    {
        const long size = std::ftell(source);
        usable = size >= 0 && std::fseek(source, 0, SEEK_SET) == 0 &&
                 IsUsableWavBody(source, int64_t{size});
    }
    std::fclose(source);
    return usable;
}

// Opens a sound file for the mixer; null when it cannot be opened or is not
// a WAV file the mixer reads safely.
SDL_RWops* OpenSoundFile(const char* name)
{
    return IsUsableWavFile(name) ? SDL_RWFromFile(name, "rb") : nullptr;
}

// The file the current music streams from, open while the music is loaded.
// The mixer's loader by file name closes its file twice when a WAV it has
// recognised fails to load, so the file is opened here, lent to the mixer,
// and closed here once the music is freed.
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
        PortCloseSoundFile(gMusicSource);
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
    SDL_RWops* source = OpenSoundFile(name);
    if (source != nullptr)
    {
        gSoundTable.effects[n] = PortLoadEffect(source);
    }
}

void PlayMusic(int n, int loops)
{
    if (gSoundTable.enabled == 0 || n < 0 || n >= MusicCount || gSoundTable.musicNames[n][0] == 0)
    {
        return;
    }
    FreeCurrentMusic();
    SDL_RWops* source = OpenSoundFile(gSoundTable.musicNames[n]);
    if (source == nullptr)
    {
        return;
    }
    gSoundTable.currentMusic = Mix_LoadMUS_RW(source); // never closes the source
    if (gSoundTable.currentMusic == nullptr)
    {
        PortCloseSoundFile(source);
        return;
    }
    gMusicSource = source;
    Mix_PlayMusic(gSoundTable.currentMusic, loops);
    PortMusicStarted(n);
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
    if (!PortHasSound())
    {
        gSoundTable.enabled = 0;
        return;
    }
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
    PortPlayEffect(gSoundTable.nextChannel, gSoundTable.effects[n], n);
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
