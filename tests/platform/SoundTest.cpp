// Sound: the list parser on strings, and the whole module on SDL's dummy
// audio driver with list and WAV files written for the test.
#include "platform/Sound.h"

#include "tests/support/Files.h"
#include "tests/support/Sdl.h"

#include <cstring>
#include <string>

using namespace skyreel_test;

namespace
{

void ExpectEntry(const char* line, SoundListKind kind, int number, const char* name)
{
    const SoundListEntry entry = ParseSoundListLine(line);
    EXPECT_EQ(entry.kind, kind) << line;
    if (kind != SoundListKind::Ignored)
    {
        EXPECT_EQ(entry.number, number) << line;
        EXPECT_STREQ(entry.name, name) << line;
    }
}

void ExpectIgnored(const char* line)
{
    ExpectEntry(line, SoundListKind::Ignored, 0, "");
}

// Opens sound with a list written into a scratch folder; shuts it down after.
class SoundTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        if (gSoundTable.enabled != 0)
        {
            ShutdownSound();
        }
        // A list that failed to open leaves the device open.
        while (Mix_QuerySpec(nullptr, nullptr, nullptr) != 0)
        {
            Mix_CloseAudio();
        }
        SDL_Quit();
    }

    // Writes the list (with "@" standing for the scratch folder) and starts sound on it.
    void StartWithList(const std::string& text)
    {
        std::string expanded;
        for (char c : text)
        {
            expanded += c == '@' ? dir.path() : std::string(1, c);
        }
        ASSERT_TRUE(WriteText(dir.file("list.lst"), expanded));
        InitSoundWithList(dir.file("list.lst").c_str());
        ASSERT_EQ(gSoundTable.enabled, 1);
    }

    TempDir dir;
};

} // namespace

TEST(SoundListLine, ReadsKindNumberAndNameAtFixedPositions)
{
    ExpectEntry("M001 music/bonus.ogg\r\n", SoundListKind::Music, 1, "music/bonus.ogg");
    ExpectEntry("M031:x.wav\n", SoundListKind::Music, 31, "x.wav");
    ExpectEntry("S010 a\n", SoundListKind::Effect, 10, "a");
    ExpectEntry("S063|last.wav", SoundListKind::Effect, 63, "last.wav"); // no line end at all
    ExpectEntry("S000 name with spaces  \n", SoundListKind::Effect, 0, "name with spaces  ");
    ExpectEntry("S005 x\n\r", SoundListKind::Effect, 5, "x"); // two line-end characters at most
    ExpectEntry("S005 x\r\r\n", SoundListKind::Effect, 5, "x\r");
    ExpectEntry("S005 \n", SoundListKind::Effect, 5, ""); // six characters: an empty name
}

TEST(SoundListLine, IgnoresShortLinesCommentsAndOtherKinds)
{
    ExpectIgnored("S010\n"); // five characters
    ExpectIgnored("S010 ");
    ExpectIgnored("");
    ExpectIgnored("#S001 a.wav\n");
    ExpectIgnored(" S001 a.wav\n");
    ExpectIgnored("s001 a.wav\n");
    ExpectIgnored("X001 a.wav\n");
    ExpectIgnored(nullptr);
}

TEST(SoundListLine, NumbersWithoutAnEntryAreIgnored)
{
    ExpectIgnored("M032 a.wav\n");
    ExpectIgnored("S064 a.wav\n");
    ExpectIgnored("S999 a.wav\n");
    ExpectIgnored("M999 a.wav\n");
    ExpectIgnored("S0:0 a.wav\n"); // would compute to 100 + ...
    ExpectIgnored("S0/9 a.wav\n"); // would compute to -1
    ExpectIgnored("S 01 a.wav\n");
    ExpectIgnored("Sabc a.wav\n");
    ExpectEntry("M010 a.wav\n", SoundListKind::Music, 10, "a.wav");
}

TEST_F(SoundTest, ListLoadsEffectsAndStoresMusicNames)
{
    ASSERT_TRUE(WriteWav(dir.file("a"), 50));
    ASSERT_TRUE(WriteWav(dir.file("beat.wav"), 50));
    StartWithList("# effects\n"
                  " S002 @/beat.wav\n"
                  "S010\n"
                  "S011 @/a\n"
                  "S003 @/beat.wav\r\n"
                  "S004 @/missing.wav\n"
                  "S063 @/beat.wav\n"
                  "S999 @/beat.wav\n"
                  "M001 @/song.ogg\r\n"
                  "M031 @/other.ogg\n"
                  "S001 @/beat.wav\n"); // last line ends with a line feed
    EXPECT_EQ(gSoundTable.effects[2], nullptr);
    EXPECT_EQ(gSoundTable.effects[10], nullptr);
    EXPECT_NE(gSoundTable.effects[11], nullptr);
    EXPECT_NE(gSoundTable.effects[3], nullptr);
    EXPECT_EQ(gSoundTable.effects[4], nullptr);
    EXPECT_NE(gSoundTable.effects[63], nullptr);
    EXPECT_NE(gSoundTable.effects[1], nullptr);
    EXPECT_EQ(gSoundTable.musicNames[1], dir.file("song.ogg"));
    EXPECT_EQ(gSoundTable.musicNames[31], dir.file("other.ogg"));
    EXPECT_EQ(gSoundTable.musicNames[0][0], 0);
    EXPECT_EQ(gSoundTable.currentMusic, nullptr);
    EXPECT_EQ(gSoundTable.nextChannel, 0);
}

TEST_F(SoundTest, LongLinesAreReadInPiecesOf254Characters)
{
    // 254 characters make one piece; the rest of the line is a piece of its own.
    const std::string name(249, 'n');
    StartWithList("M007 " + name + "M008 tail\n");
    EXPECT_EQ(std::string(gSoundTable.musicNames[7]), name);
    EXPECT_STREQ(gSoundTable.musicNames[8], "tail");
}

TEST_F(SoundTest, ALaterLineReplacesAnEarlierOne)
{
    ASSERT_TRUE(WriteWav(dir.file("short.wav"), 20));
    ASSERT_TRUE(WriteWav(dir.file("long.wav"), 200));
    StartWithList("S005 @/short.wav\nS005 @/long.wav\nM002 @/first\nM002 @/second\n");
    ASSERT_NE(gSoundTable.effects[5], nullptr);
    EXPECT_GT(gSoundTable.effects[5]->alen, 8000u); // the 200 ms sound
    EXPECT_EQ(gSoundTable.musicNames[2], dir.file("second"));
}

TEST_F(SoundTest, EffectsTakeTheChannelsInTurn)
{
    ASSERT_TRUE(WriteWav(dir.file("e.wav"), 2000));
    StartWithList("S009 @/e.wav\nS010 @/e.wav\nS040 @/e.wav\n");
    const int expected[] = {0, 1, 2, 3, 4, 5, 6, 7, 0, 1};
    for (int channel : expected)
    {
        EXPECT_EQ(gSoundTable.nextChannel, channel);
        PlaySoundEffect(channel % 2 == 0 ? 9 : 10);
        EXPECT_EQ(Mix_Playing(channel), 1) << channel;
    }
    EXPECT_EQ(gSoundTable.nextChannel, 2);

    // Effects that are not loaded or cannot be played leave the turn alone.
    PlaySoundEffect(11);
    PlaySoundEffect(40); // loaded, but only 0..31 play
    PlaySoundEffect(-1);
    PlaySoundEffect(64);
    EXPECT_EQ(gSoundTable.nextChannel, 2);

    StopAllSoundEffects();
    for (int channel = 0; channel < 8; ++channel)
    {
        EXPECT_EQ(Mix_Playing(channel), 0) << channel;
    }
}

TEST_F(SoundTest, MusicLoopsRestartsAndStops)
{
    ASSERT_TRUE(WriteWav(dir.file("tune.wav"), 300));
    StartWithList("M001 @/tune.wav\nM002 @/absent.wav\n");
    PlayMusicLoop(1);
    Mix_Music* first = gSoundTable.currentMusic;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(Mix_PlayingMusic(), 1);

    PlayMusicLoop(1); // the same number: stopped, freed and loaded again
    ASSERT_NE(gSoundTable.currentMusic, nullptr);
    EXPECT_EQ(Mix_PlayingMusic(), 1);

    StopMusic();
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    EXPECT_NE(gSoundTable.currentMusic, nullptr); // stays loaded

    PlayMusicLoop(3);  // empty name
    PlayMusicLoop(32); // no such entry
    PlayMusicLoop(-1);
    EXPECT_NE(gSoundTable.currentMusic, nullptr);
    PlayMusicOnce(2); // the file is missing: the old music is gone, nothing plays
    EXPECT_EQ(gSoundTable.currentMusic, nullptr);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}

TEST_F(SoundTest, MissingListLeavesSoundOff)
{
    ASSERT_TRUE(WriteWav(dir.file("e.wav"), 100));
    InitSoundWithList(dir.file("no-such.lst").c_str());
    EXPECT_EQ(gSoundTable.enabled, 0);
    PlaySoundEffect(1);
    PlayMusicLoop(1);
    StopMusic();
    StopAllSoundEffects();
    ShutdownSound();
    EXPECT_EQ(gSoundTable.nextChannel, 0);
    EXPECT_EQ(gSoundTable.currentMusic, nullptr);
}

TEST_F(SoundTest, ShutdownFreesEverythingAndTurnsSoundOff)
{
    ASSERT_TRUE(WriteWav(dir.file("e.wav"), 500));
    StartWithList("S001 @/e.wav\nS050 @/e.wav\nM001 @/e.wav\n");
    PlayMusicLoop(1);
    PlaySoundEffect(1);
    ShutdownSound();
    EXPECT_EQ(gSoundTable.currentMusic, nullptr);
    EXPECT_EQ(gSoundTable.effects[1], nullptr);
    EXPECT_EQ(gSoundTable.effects[50], nullptr);
    EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 0); // device closed
    // Calls after the shutdown no longer reach the closed mixer.
    EXPECT_EQ(gSoundTable.enabled, 0);
    PlayMusicLoop(1);
    EXPECT_EQ(gSoundTable.currentMusic, nullptr);
}

TEST_F(SoundTest, DeviceThatWillNotOpenLeavesSoundOff)
{
    ASSERT_TRUE(WriteWav(dir.file("e.wav"), 100));
    ASSERT_TRUE(WriteText(dir.file("list.lst"), "S001 " + dir.file("e.wav") + "\n"));
    ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    InitSoundWithList(dir.file("list.lst").c_str());
    EXPECT_EQ(gSoundTable.enabled, 0);
    PlaySoundEffect(1);
    EXPECT_EQ(gSoundTable.nextChannel, 0);
}
