// The sound list and the sounds it names, read the way the game reads them:
// list format, the numbers the game plays, WAV format and levels, the march
// beats' tune, and loading through SDL_mixer on the dummy audio driver.
#include "AssetTestSupport.h"
#include "tools/assets/Sound.h"

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace
{

struct ListEntry
{
    char kind;
    int number;
    std::string fileName;
};

// Reads the list by the game's rules: fixed character positions, comment
// lines starting with '#' or a space, LF or CR LF line ends.
std::vector<ListEntry> ReadSoundList()
{
    std::vector<ListEntry> entries;
    std::FILE* in = std::fopen(RepoPath("data/sounddat.lst").c_str(), "r");
    if (in == nullptr)
    {
        return entries;
    }
    char line[256];
    while (std::fgets(line, 255, in) != nullptr)
    {
        std::string text(line);
        if (text.size() < 6 || text[0] == '#' || text[0] == ' ')
        {
            continue;
        }
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        {
            text.pop_back();
        }
        const int number = (text[1] - '0') * 100 + (text[2] - '0') * 10 + (text[3] - '0');
        entries.push_back({text[0], number, text.substr(5)});
    }
    std::fclose(in);
    return entries;
}

struct Wav
{
    int channels = 0;
    int rate = 0;
    int bits = 0;
    std::vector<int> samples; // first channel
};

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes)
{
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
    {
        v = (v << 8) | b[at + static_cast<size_t>(i)];
    }
    return v;
}

// Parses a PCM WAV; channels stays 0 when the file is not one.
Wav ReadWav(const std::string& relative)
{
    Wav wav;
    const std::vector<uint8_t> b = ReadFileBytes(RepoPath(relative));
    if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
        std::string(b.begin() + 8, b.begin() + 12) != "WAVE")
    {
        return wav;
    }
    size_t at = 12;
    int channels = 0;
    while (at + 8 <= b.size())
    {
        const std::string id(b.begin() + static_cast<long>(at),
                             b.begin() + static_cast<long>(at) + 4);
        const uint32_t size = Le(b, at + 4, 4);
        const size_t body = at + 8;
        if (body + size > b.size())
        {
            break;
        }
        if (id == "fmt " && size >= 16 && Le(b, body, 2) == 1)
        {
            channels = static_cast<int>(Le(b, body + 2, 2));
            wav.rate = static_cast<int>(Le(b, body + 4, 4));
            wav.bits = static_cast<int>(Le(b, body + 14, 2));
        }
        else if (id == "data" && channels > 0 && wav.bits == 16)
        {
            for (size_t i = body; i + 1 < body + size; i += 2 * static_cast<size_t>(channels))
            {
                wav.samples.push_back(static_cast<int16_t>(Le(b, i, 2)));
            }
            wav.channels = channels;
        }
        at = body + size + (size & 1);
    }
    return wav;
}

int Peak(const std::vector<int>& s)
{
    int peak = 0;
    for (int x : s)
    {
        peak = std::abs(x) > peak ? std::abs(x) : peak;
    }
    return peak;
}

double PeakDb(const std::vector<int>& s)
{
    return 20.0 * std::log10(Peak(s) / 32768.0);
}

// Fundamental frequency from the autocorrelation over a stretch of samples:
// the shortest lag whose correlation comes within 10% of the best.
double EstimatePitch(const std::vector<int>& s, int rate, int from, int count)
{
    const int minLag = rate / 500;
    const int maxLag = rate / 40;
    std::vector<double> corr(static_cast<size_t>(maxLag + 1));
    double best = 0.0;
    for (int lag = minLag; lag <= maxLag; ++lag)
    {
        double sum = 0.0;
        for (int i = from; i < from + count && i + lag < static_cast<int>(s.size()); ++i)
        {
            sum += static_cast<double>(s[static_cast<size_t>(i)]) * s[static_cast<size_t>(i + lag)];
        }
        corr[static_cast<size_t>(lag)] = sum;
        best = sum > best ? sum : best;
    }
    for (int lag = minLag + 1; lag < maxLag; ++lag)
    {
        const double c = corr[static_cast<size_t>(lag)];
        if (c >= 0.9 * best && c >= corr[static_cast<size_t>(lag - 1)] &&
            c >= corr[static_cast<size_t>(lag + 1)])
        {
            return static_cast<double>(rate) / lag;
        }
    }
    return 0.0;
}

std::map<int, std::string> Effects()
{
    std::map<int, std::string> effects;
    for (const ListEntry& e : ReadSoundList())
    {
        if (e.kind == 'S')
        {
            effects[e.number] = e.fileName;
        }
    }
    return effects;
}

std::string Music(int number)
{
    for (const ListEntry& e : ReadSoundList())
    {
        if (e.kind == 'M' && e.number == number)
        {
            return e.fileName;
        }
    }
    return "";
}

} // namespace

TEST(SoundList, NamesEveryEffectAndTheMusicTheGamePlays)
{
    const auto effects = Effects();
    for (int n = 1; n <= 13; ++n)
    {
        ASSERT_EQ(effects.count(n), 1u) << "effect " << n;
        EXPECT_EQ(effects.at(n).rfind("data/", 0), 0u) << effects.at(n);
        EXPECT_FALSE(ReadFileBytes(RepoPath(effects.at(n))).empty()) << effects.at(n);
    }
    ASSERT_FALSE(Music(1).empty());
    EXPECT_EQ(Music(1).rfind("data/", 0), 0u);
    EXPECT_FALSE(ReadFileBytes(RepoPath(Music(1))).empty());
    for (const ListEntry& e : ReadSoundList())
    {
        EXPECT_TRUE(e.kind == 'S' || e.kind == 'M') << e.fileName;
        EXPECT_LE(e.number, 31) << e.fileName; // only numbers 0..31 can be played
    }
}

TEST(SoundFiles, AreShortNormalisedUnclippedAndStartAndEndQuietly)
{
    for (const auto& [number, file] : Effects())
    {
        const Wav wav = ReadWav(file);
        ASSERT_GT(wav.channels, 0) << file << " is not a 16-bit PCM WAV";
        EXPECT_EQ(wav.rate, 22050) << file;
        const double seconds = static_cast<double>(wav.samples.size()) / wav.rate;
        EXPECT_GT(seconds, 0.02) << file;
        EXPECT_LT(seconds, 2.0) << file;
        if (number == 9 || number == 13)
        {
            EXPECT_LT(seconds, 0.3) << file << ": shots and grazes repeat quickly";
        }
        if (number <= 7)
        {
            EXPECT_LT(seconds, 0.4) << file << ": a march beat must end before the next";
        }
        EXPECT_GE(PeakDb(wav.samples), -3.5) << file;
        EXPECT_LE(PeakDb(wav.samples), -0.5) << file;
        EXPECT_LT(Peak(wav.samples), 32767) << file << " is clipped";
        // No click at either end.
        EXPECT_LT(std::abs(wav.samples.front()), 330) << file;
        EXPECT_LT(std::abs(wav.samples.back()), 330) << file;
    }
}

TEST(SoundFiles, MusicLoopsWithoutAClick)
{
    const Wav wav = ReadWav(Music(1));
    ASSERT_GT(wav.channels, 0);
    EXPECT_EQ(wav.rate, 22050);
    const double seconds = static_cast<double>(wav.samples.size()) / wav.rate;
    EXPECT_GE(seconds, 3.0);
    EXPECT_LE(seconds, 8.0);
    EXPECT_GE(PeakDb(wav.samples), -3.5);
    EXPECT_LT(Peak(wav.samples), 32767);
    // The step from the last sample back to the first must be no bigger than
    // the steps the music takes anyway.
    std::vector<int> steps;
    for (size_t i = 1; i < wav.samples.size(); ++i)
    {
        steps.push_back(std::abs(wav.samples[i] - wav.samples[i - 1]));
    }
    std::sort(steps.begin(), steps.end());
    const int typicalLargeStep = steps[steps.size() * 99 / 100];
    EXPECT_LE(std::abs(wav.samples.front() - wav.samples.back()), typicalLargeStep);
}

TEST(SoundFiles, MarchBeatsPlayTheirNotes)
{
    const auto effects = Effects();
    const std::vector<int>& notes = assets::MarchBeatNotes();
    ASSERT_EQ(notes.size(), 7u);
    std::vector<double> pitches;
    for (int n = 1; n <= 7; ++n)
    {
        const Wav wav = ReadWav(effects.at(n));
        ASSERT_GT(wav.channels, 0);
        // After the opening thump has settled on the note.
        const double pitch =
            EstimatePitch(wav.samples, wav.rate, wav.rate * 40 / 1000, wav.rate * 80 / 1000);
        const double expected = assets::NoteFrequency(notes[static_cast<size_t>(n - 1)]);
        EXPECT_NEAR(pitch, expected, expected * 0.03) << "beat " << n;
        pitches.push_back(pitch);
    }
    // Beats 1 to 4 walk down, so the order 1,2,3,4,3,2 goes down and back up.
    EXPECT_GT(pitches[0], pitches[1]);
    EXPECT_GT(pitches[1], pitches[2]);
    EXPECT_GT(pitches[2], pitches[3]);
}

TEST(SoundFiles, LoadThroughTheMixer)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16, 2, 1024), 0) << Mix_GetError();
    for (const auto& [number, file] : Effects())
    {
        Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromFile(RepoPath(file).c_str(), "rb"), 1);
        EXPECT_NE(chunk, nullptr) << file << ": " << Mix_GetError();
        if (chunk != nullptr)
        {
            EXPECT_GT(chunk->alen, 0u);
            Mix_FreeChunk(chunk);
        }
    }
    Mix_Music* music = Mix_LoadMUS(RepoPath(Music(1)).c_str());
    EXPECT_NE(music, nullptr) << Mix_GetError();
    if (music != nullptr)
    {
        Mix_FreeMusic(music);
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

TEST(SoundEncoding, NormaliseHitsItsPeakAndKeepsSilence)
{
    const std::vector<int16_t> loud = assets::Normalize({0.0, 0.5, -2.0, 1.0}, -6.0);
    const double expected = 32767.0 * std::pow(10.0, -6.0 / 20.0);
    EXPECT_NEAR(-loud[2], expected, 1.0);
    EXPECT_NEAR(loud[1], expected / 4.0, 1.0);
    EXPECT_EQ(loud[0], 0);
    const std::vector<int16_t> quiet = assets::Normalize({0.0, 0.0}, -1.0);
    EXPECT_EQ(quiet, (std::vector<int16_t>{0, 0}));
}
