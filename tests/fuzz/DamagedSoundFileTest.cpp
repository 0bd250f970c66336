// Sound files that start like a WAV but are damaged: the music and effect
// loads must fail quietly and leave sound working for the files that load.
#include "platform/Sound.h"

#include "tests/platform/PlatformTestSupport.h"

#include <string>

using namespace skyreel_test;

namespace
{

// A RIFF/WAVE header and nothing after it, as left by a copy cut short.
const std::string TruncatedWav = std::string("RIFF\x24\x00\x00\x00WAVE", 12);

// A 16-bit mono PCM WAV whose data chunk claims 0xFFFFFFFF bytes, as programs
// that record a stream write it when they do not know the length yet.
std::string UnboundedWav()
{
    std::string wav("RIFF\xFF\xFF\xFF\xFFWAVEfmt \x10\x00\x00\x00", 20);
    wav += std::string("\x01\x00\x01\x00\x22\x56\x00\x00\x44\xAC\x00\x00\x02\x00\x10\x00", 16);
    wav += std::string("data\xFF\xFF\xFF\xFF", 8);
    wav += std::string(256, '\x10');
    return wav;
}

class DamagedSoundFile : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(sdl.ok());
        ASSERT_TRUE(WriteText(dir.file("truncated.wav"), TruncatedWav));
        ASSERT_TRUE(WriteText(dir.file("unbounded.wav"), UnboundedWav()));
        ASSERT_TRUE(WriteWav(dir.file("good.wav"), 200));
        ASSERT_TRUE(WriteText(dir.file("list.lst"), "M001 " + dir.file("truncated.wav") + "\n" +
                                                        "M002 " + dir.file("unbounded.wav") + "\n" +
                                                        "M003 " + dir.file("good.wav") + "\n" +
                                                        "S001 " + dir.file("truncated.wav") + "\n" +
                                                        "S002 " + dir.file("unbounded.wav") + "\n" +
                                                        "S003 " + dir.file("good.wav") + "\n"));
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

} // namespace

// The mixer's loader by file name closed a WAV whose data chunk claims 2 GB or
// more twice, and the program aborted (a double free) the moment the bonus
// ship's music began.
TEST_F(DamagedSoundFile, MusicThatFailsToLoadIsSilentAndTheNextMusicPlays)
{
    PlayMusicLoop(1);
    EXPECT_EQ(gSoundTable.currentMusic, nullptr);
    PlayMusicLoop(2);
    EXPECT_EQ(gSoundTable.currentMusic, nullptr);

    PlayMusicLoop(3);
    ASSERT_NE(gSoundTable.currentMusic, nullptr);
    EXPECT_EQ(Mix_PlayingMusic(), 1);

    // Replacing and restarting the good music keeps one piece loaded.
    PlayMusicLoop(3);
    EXPECT_NE(gSoundTable.currentMusic, nullptr);
    PlayMusicLoop(1);
    EXPECT_EQ(gSoundTable.currentMusic, nullptr);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}

TEST_F(DamagedSoundFile, EffectsThatFailToLoadStayEmptyAndDoNotTakeAChannel)
{
    EXPECT_EQ(gSoundTable.effects[1], nullptr);
    EXPECT_EQ(gSoundTable.effects[2], nullptr);
    ASSERT_NE(gSoundTable.effects[3], nullptr);

    PlaySoundEffect(1);
    PlaySoundEffect(2);
    EXPECT_EQ(gSoundTable.nextChannel, 0);
    PlaySoundEffect(3);
    EXPECT_EQ(gSoundTable.nextChannel, 1);
}
