// The replay text format and the command line.
#include "Options.h"
#include "Replay.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using sim::Key;
using sim::KeyChange;

namespace
{

bool Parse(const std::string& text, sim::Replay* replay, std::string* error)
{
    return sim::ParseReplay(text, replay, error);
}

bool ParseArgs(std::vector<const char*> args, sim::SimOptions* options, std::string* error)
{
    args.insert(args.begin(), "skyreel-sim");
    return sim::ParseOptions(static_cast<int>(args.size()), args.data(), options, error);
}

} // namespace

TEST(Replay, ReadsChangesCommentsAndLength)
{
    sim::Replay replay;
    std::string error;
    ASSERT_TRUE(Parse("# a comment\n"
                      "\n"
                      "120 +z   # fire\n"
                      "120 -z\n"
                      "  130 +left\n"
                      "200 -escape\n"
                      "4000 end\n",
                      &replay, &error))
        << error;
    const std::vector<KeyChange> expected = {{120, Key::Z, true},
                                             {120, Key::Z, false},
                                             {130, Key::Left, true},
                                             {200, Key::Escape, false}};
    EXPECT_EQ(replay.changes, expected);
    EXPECT_EQ(replay.length, 4000);
}

TEST(Replay, RejectsBadLinesNamingThem)
{
    const char* bad[] = {
        "10 +w\n",          // not a key
        "10 z\n",           // no sign
        "0 +z\n",           // updates count from 1
        "-5 +z\n",          // not a number
        "10 +z extra\n",    // trailing word
        "10\n",             // no change
        "20 +z\n10 -z\n",   // back in time
        "20 end\n30 +z\n",  // after the end
        "99999999999 +z\n", // beyond int32
    };
    for (const char* text : bad)
    {
        sim::Replay replay;
        std::string error;
        EXPECT_FALSE(Parse(text, &replay, &error)) << text;
        EXPECT_NE(error.find("line "), std::string::npos) << text << ": " << error;
    }
}

TEST(Replay, FormatReadsBackToTheSameReplay)
{
    sim::Replay replay;
    for (int k = 0; k < sim::KeyCount; ++k)
    {
        replay.changes.push_back({10 + k, static_cast<Key>(k), k % 2 == 0});
    }
    replay.length = 77;
    const std::string text = sim::FormatReplay(replay, {"header line"});
    EXPECT_EQ(text.rfind("# header line\n", 0), 0u);
    sim::Replay back;
    std::string error;
    ASSERT_TRUE(Parse(text, &back, &error)) << error;
    EXPECT_EQ(back.changes, replay.changes);
    EXPECT_EQ(back.length, 77);
}

TEST(Replay, KeyNamesMapToTheGameKeys)
{
    Key key;
    ASSERT_TRUE(sim::KeyFromName("space", &key));
    EXPECT_EQ(sim::KeySym(key), SDLK_SPACE);
    ASSERT_TRUE(sim::KeyFromName("right", &key));
    EXPECT_EQ(sim::KeySym(key), SDLK_RIGHT);
    EXPECT_FALSE(sim::KeyFromName("Z", &key)); // names are lower case
}

TEST(Options, ReadsEveryOption)
{
    sim::SimOptions o;
    std::string error;
    ASSERT_TRUE(ParseArgs(
        {"--frames",     "500",        "--bot", "--bot-seed",   "7",        "--confirm-at",
         "321",          "--record",   "r.txt", "--hash-every", "10",       "--hash-out",
         "h.txt",        "--verify",   "g.txt", "--shot",       "12:a.png", "--shot",
         "40:dir/b.png", "--data-dir", "/tmp",  "--no-present", "--quiet",  "--check"},
        &o, &error))
        << error;
    EXPECT_EQ(o.frames, 500);
    EXPECT_TRUE(o.bot);
    EXPECT_FALSE(o.mortal);
    EXPECT_EQ(o.botSeed, 7u);
    EXPECT_EQ(o.confirmAt, 321);
    EXPECT_EQ(o.recordPath, "r.txt");
    EXPECT_EQ(o.hashEvery, 10);
    EXPECT_EQ(o.hashOut, "h.txt");
    EXPECT_EQ(o.verifyPath, "g.txt");
    ASSERT_EQ(o.shots.size(), 2u);
    EXPECT_EQ(o.shots[1].update, 40);
    EXPECT_EQ(o.shots[1].path, "dir/b.png");
    EXPECT_EQ(o.dataDir, "/tmp");
    EXPECT_FALSE(o.present);
    EXPECT_TRUE(o.quiet);
    EXPECT_TRUE(o.check);
}

TEST(Options, SoakIsTheMortalAutoplayerWithChecks)
{
    sim::SimOptions o;
    std::string error;
    ASSERT_TRUE(ParseArgs({"--soak", "--frames", "10"}, &o, &error)) << error;
    EXPECT_TRUE(o.bot);
    EXPECT_TRUE(o.mortal);
    EXPECT_TRUE(o.check);
}

TEST(Options, RefusesWhatCannotWork)
{
    const std::vector<std::vector<const char*>> bad = {
        {"--bot"},                  // no length
        {"--frames", "0"},          // nothing to run
        {"--frames", "12x"},        // not a number
        {"--frames"},               // no value
        {"--replay", "a", "--bot"}, // two inputs
        {"--replay", "a", "--soak"},
        {"--frames", "5", "--hash-out", "h"}, // a file with no lines
        {"--frames", "5", "--shot", "12"},    // no file name
        {"--frames", "5", "--shot", "x:a.png"},
        {"--frames", "5", "--fast"}, // unknown
    };
    for (const auto& args : bad)
    {
        sim::SimOptions o;
        std::string error;
        EXPECT_FALSE(ParseArgs(args, &o, &error)) << (args.empty() ? "" : args[0]);
        EXPECT_FALSE(error.empty());
    }
    sim::SimOptions o;
    std::string error;
    EXPECT_TRUE(ParseArgs({"--help"}, &o, &error));
    EXPECT_TRUE(o.help);
}
