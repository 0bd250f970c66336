// Whole runs: recording and replaying, golden comparison, screenshots.
#include "Run.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <png.h>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>

namespace
{

class RunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/skyreel-sim-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }

    void TearDown() override
    {
        for (const std::string& file : files)
        {
            std::remove(file.c_str());
        }
        rmdir(dir.c_str());
    }

    std::string Path(const std::string& name)
    {
        files.insert(dir + "/" + name);
        return dir + "/" + name;
    }

    static std::string Read(const std::string& path)
    {
        std::ifstream in(path);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    static void Write(const std::string& path, const std::string& text)
    {
        std::ofstream(path) << text;
    }

    // Options that play `replay`, written to the file `name`, without drawing.
    sim::SimOptions Playing(const std::string& name, const std::string& replay)
    {
        sim::SimOptions options;
        options.replayPath = Path(name);
        options.present = false;
        Write(options.replayPath, replay);
        return options;
    }

    static sim::RunResult Run(sim::SimOptions options)
    {
        options.quiet = true;
        return sim::RunSimulation(options, stdout);
    }

    std::string dir;
    std::set<std::string> files;
};

} // namespace

TEST_F(RunTest, ARecordingPlaysBackToTheSameGame)
{
    sim::SimOptions bot;
    bot.bot = true;
    bot.confirmAt = 120;
    bot.frames = 3000;
    bot.present = false;
    bot.recordPath = Path("bot.replay");
    bot.hashEvery = 100;
    bot.hashOut = Path("bot.hashes");
    const sim::RunResult played = Run(bot);
    ASSERT_EQ(played.exitStatus, 0) << played.message;
    ASSERT_EQ(played.games.size(), 1u);
    EXPECT_GT(played.games[0].score, 0);

    sim::SimOptions replay;
    replay.replayPath = bot.recordPath;
    replay.present = false;
    replay.verifyPath = bot.hashOut;
    replay.check = true;
    const sim::RunResult again = Run(replay);
    ASSERT_EQ(again.exitStatus, 0) << again.message;
    EXPECT_EQ(again.updates, 3000) << "the recording's end line sets the length";
    EXPECT_EQ(again.hash, played.hash);
    EXPECT_EQ(again.games[0].score, played.games[0].score);
    EXPECT_EQ(again.games[0].seed, played.games[0].seed);
    EXPECT_EQ(again.verifiedHashes, 30);
    EXPECT_EQ(again.invariantChecks, 3000);
}

TEST_F(RunTest, AGoldenMismatchNamesTheFirstUpdateThatDiffers)
{
    sim::SimOptions options =
        Playing("hit.replay", "130 +z\n131 -z\n300 +left\n320 -left\n400 end\n");
    const std::string replayPath = options.replayPath;
    options.hashEvery = 1;
    options.hashOut = Path("golden.hashes");
    ASSERT_EQ(Run(options).exitStatus, 0);

    // The same replay with the ship's move one update later differs first
    // in the update that moves differently.
    Write(replayPath, "130 +z\n131 -z\n301 +left\n320 -left\n400 end\n");
    options.hashEvery = 0;
    options.hashOut.clear();
    options.verifyPath = Path("golden.hashes");
    const sim::RunResult changed = Run(options);
    EXPECT_EQ(changed.exitStatus, 1);
    EXPECT_NE(changed.message.find("first difference at update 300 "), std::string::npos)
        << changed.message;
    EXPECT_EQ(changed.updates, 300) << "the run stops there";

    // Sparse golden lines: the message gives the range the change lies in.
    std::istringstream lines(Read(options.verifyPath));
    std::string sparse, line;
    while (std::getline(lines, line))
    {
        int n = 0;
        if (std::sscanf(line.c_str(), "hash %d", &n) == 1 && n % 50 == 0)
        {
            sparse += line + "\n";
        }
    }
    options.verifyPath = Path("sparse.hashes");
    Write(options.verifyPath, sparse);
    const sim::RunResult coarse = Run(options);
    EXPECT_EQ(coarse.exitStatus, 1);
    EXPECT_NE(coarse.message.find("at update 300 "), std::string::npos) << coarse.message;
    EXPECT_NE(coarse.message.find("251..300"), std::string::npos) << coarse.message;

    // A run shorter than the trace fails too.
    Write(replayPath, "130 +z\n131 -z\n300 +left\n320 -left\n350 end\n");
    options.verifyPath = Path("golden.hashes");
    const sim::RunResult shorter = Run(options);
    EXPECT_EQ(shorter.exitStatus, 1);
    EXPECT_NE(shorter.message.find("goes on to update 400"), std::string::npos) << shorter.message;
}

TEST_F(RunTest, AQuitEndsTheRunAfterThatUpdate)
{
    const sim::RunResult result = Run(Playing("quit.replay", "50 +q\n51 -q\n100 end\n"));
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_TRUE(result.quit);
    EXPECT_EQ(result.updates, 50);
}

TEST_F(RunTest, ScreenshotsArePicturesOfTheScreen)
{
    sim::SimOptions options;
    options.frames = 150;
    options.present = false;
    options.shots = {{150, Path("title.png")}, {1, Path("first.png")}};
    const sim::RunResult result = Run(options);
    ASSERT_EQ(result.exitStatus, 0) << result.message;
    for (const char* name : {"title.png", "first.png"})
    {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        ASSERT_NE(png_image_begin_read_from_file(&image, Path(name).c_str()), 0) << name;
        EXPECT_EQ(image.width, 480u);
        EXPECT_EQ(image.height, 272u);
        png_image_free(&image);
    }
    if (access("data/texture1.png", R_OK) == 0)
    {
        // The title's picture: many colours, not a cleared screen.
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        ASSERT_NE(png_image_begin_read_from_file(&image, Path("title.png").c_str()), 0);
        image.format = PNG_FORMAT_RGB;
        std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
        ASSERT_NE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr), 0);
        std::set<uint32_t> colours;
        for (size_t i = 0; i + 2 < pixels.size(); i += 3)
        {
            colours.insert(
                static_cast<uint32_t>(pixels[i] << 16 | pixels[i + 1] << 8 | pixels[i + 2]));
        }
        EXPECT_GT(colours.size(), 16u);
    }
}

TEST_F(RunTest, DrawingChangesNoState)
{
    sim::SimOptions options;
    options.bot = true;
    options.confirmAt = 100;
    options.frames = 400;
    const uint64_t drawn = Run(options).hash;
    options.present = false;
    EXPECT_EQ(Run(options).hash, drawn);
}

TEST(HashLines, ReadBackAndRefuseNonsense)
{
    std::map<int32_t, uint64_t> hashes;
    std::string error;
    ASSERT_TRUE(sim::ParseHashLines("# header\n" + sim::HashLine(5, 0xfedcba9876543210ull) + "\n" +
                                        sim::HashLine(7, 1) + "\n",
                                    &hashes, &error))
        << error;
    EXPECT_EQ(hashes.size(), 2u);
    EXPECT_EQ(hashes[5], 0xfedcba9876543210ull);
    EXPECT_EQ(hashes[7], 1u);
    for (const char* bad : {"hash 5 123\n", "hash x 0000000000000001\n",
                            "hash 5 0000000000000001\nhash 5 0000000000000002\n",
                            "hash 5 000000000000000G\n", "digest 5 0000000000000001\n"})
    {
        std::map<int32_t, uint64_t> out;
        EXPECT_FALSE(sim::ParseHashLines(bad, &out, &error)) << bad;
    }
}
