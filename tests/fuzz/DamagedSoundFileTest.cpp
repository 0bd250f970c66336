// Damaged sound files named by the sound list: each must leave its music or
// effect entry empty, quietly, while the files that are sound still play.
// Before these files were checked, several of them crashed the game at
// start-up (effects) or when the bonus ship's music began, and one hung it.
#include "platform/Sound.h"
#include "tests/support/Files.h"
#include "tests/support/Sdl.h"

#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

using namespace skyreel_test;

namespace
{

const std::string Samples(512, '\x10');

struct DamagedFile
{
    const char* what;
    std::string bytes;
};

// Every one of these reached the mixer before and either crashed, hung or
// leaked there, or is a plain fault of the same families.
std::vector<DamagedFile> DamagedFiles()
{
    const std::string format = RiffChunk("fmt ", PcmFormat(1, 22050, 16));
    return {
        {"no channels",
         Riff(RiffChunk("fmt ", PcmFormat(0, 22050, 16)) + RiffChunk("data", Samples))},
        {"a rate of 0", Riff(RiffChunk("fmt ", PcmFormat(1, 0, 16)) + RiffChunk("data", Samples))},
        {"a rate of 2147483647",
         Riff(RiffChunk("fmt ", PcmFormat(1, 0x7FFFFFFF, 16)) + RiffChunk("data", Samples))},
        {"no data chunk", Riff(format)},
        {"no data chunk after another chunk", Riff(format + RiffChunk("junk", "abcd"))},
        {"data before the format",
         Riff(RiffChunk("LIST", "abcd") + RiffChunk("data", Samples) + format)},
        {"a format chunk of 2 bytes", Riff(RiffChunk("fmt ", "\x01") + RiffChunk("data", Samples))},
        {"a data chunk shorter than one sample",
         Riff(RiffChunk("fmt ", PcmFormat(2, 22050, 16)) + RiffChunk("data", "abc"))},
        {"a data chunk claiming 4 GB", Riff(format + RiffChunk("data", Samples, 0xFFFFFFFF))},
        {"a data chunk claiming 2 GB", Riff(format + RiffChunk("data", Samples, 0x80000000))},
        {"cut inside the header", Riff(format + RiffChunk("data", Samples)).substr(0, 30)},
        {"IMA ADPCM", Riff(RiffChunk("fmt ", std::string("\x11\x00\x01\x00\x22\x56\x00\x00"
                                                         "\x00\x00\x00\x00\x01\x00\x04\x00\x00\x00",
                                                         18)) +
                           RiffChunk("data", Samples))},
        {"AIFF without a sample rate",
         "FORM" + std::string("\x00\x00\x00\x30", 4) + "AIFFCOMM" +
             std::string("\x00\x00\x00\x12\x00\x00\x00\x00\x00\x64\x00\x10\x7f\xff\xff\xff"
                         "\x00\x00\x00\x00\x00\x00",
                         22) +
             "SSND" + std::string("\x00\x00\x00\x10", 4) + std::string(16, '\0')},
        {"empty", ""},
        {"text", "not a sound at all\n"},
    };
}

class DamagedSoundFile : public ::testing::TestWithParam<DamagedFile>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sdl.ok());
        ASSERT_TRUE(WriteText(dir.file("damaged.wav"), GetParam().bytes));
        ASSERT_TRUE(WriteWav(dir.file("good.wav"), 200));
        const std::string damaged = dir.file("damaged.wav");
        const std::string good = dir.file("good.wav");
        ASSERT_TRUE(WriteText(dir.file("list.lst"), "M001 " + damaged + "\nM002 " + good +
                                                        "\nS001 " + damaged + "\nS002 " + good +
                                                        "\n"));
        InitSoundWithList(dir.file("list.lst").c_str());
        ASSERT_EQ(gSoundTable.enabled, 1);
    }

    void TearDown() override
    {
        ShutdownSound();
        while (Mix_QuerySpec(nullptr, nullptr, nullptr) != 0)
        {
            Mix_CloseAudio();
        }
    }

    TempDir dir;
    ScopedSdl sdl{SDL_INIT_AUDIO};
};

TEST_P(DamagedSoundFile, EffectStaysEmptyAndTakesNoChannel)
{
    EXPECT_EQ(gSoundTable.effects[1], nullptr);
    ASSERT_NE(gSoundTable.effects[2], nullptr);
    PlaySoundEffect(1);
    EXPECT_EQ(gSoundTable.nextChannel, 0);
    PlaySoundEffect(2);
    EXPECT_EQ(gSoundTable.nextChannel, 1);
}

TEST_P(DamagedSoundFile, MusicIsSilentAndTheNextMusicPlays)
{
    PlayMusicLoop(1);
    EXPECT_EQ(gSoundTable.currentMusic, nullptr);
    EXPECT_EQ(Mix_PlayingMusic(), 0);

    PlayMusicLoop(2);
    ASSERT_NE(gSoundTable.currentMusic, nullptr);
    EXPECT_EQ(Mix_PlayingMusic(), 1);

    // A damaged piece requested while good music plays stops it.
    PlayMusicLoop(1);
    EXPECT_EQ(gSoundTable.currentMusic, nullptr);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}

INSTANTIATE_TEST_SUITE_P(Wav, DamagedSoundFile, ::testing::ValuesIn(DamagedFiles()),
                         [](const ::testing::TestParamInfo<DamagedFile>& info)
                         {
                             std::string name;
                             for (const char* c = info.param.what; *c != 0; ++c)
                             {
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             }
                             return name;
                         });

// Sound files that are sound in every form the check lets through.
TEST(SoundFileFormats, PcmWavInEightAndSixteenBitsMonoAndStereoLoad)
{
    ScopedSdl sdl(SDL_INIT_AUDIO);
    ASSERT_TRUE(sdl.ok());
    TempDir dir;
    std::string list;
    int n = 1;
    for (uint16_t channels : {1, 2})
    {
        for (uint16_t bits : {8, 16})
        {
            for (uint32_t rate : {4000u, 11025u, 44100u, 192000u})
            {
                const std::string name = dir.file("s" + std::to_string(n) + ".wav");
                // With "LIST" and "fact" chunks before the format and a
                // chunk between the format and the data, as editors write.
                EXPECT_TRUE(
                    WriteText(name, Riff(RiffChunk("LIST", "INFOabcd") + RiffChunk("fact", "1234") +
                                         RiffChunk("fmt ", PcmFormat(channels, rate, bits)) +
                                         RiffChunk("junk", "xy") + RiffChunk("data", Samples))));
                list += "S0" + std::to_string(10 + n) + " " + name + "\n";
                ++n;
            }
        }
    }
    ASSERT_TRUE(WriteText(dir.file("list.lst"), list));
    InitSoundWithList(dir.file("list.lst").c_str());
    for (int i = 11; i < 10 + n; ++i)
    {
        EXPECT_NE(gSoundTable.effects[i], nullptr) << "effect " << i;
    }
    ShutdownSound();
}

} // namespace
