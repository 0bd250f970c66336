#include "Options.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace sim
{
namespace
{

bool ParseInt(const char* text, long long low, long long high, long long* value)
{
    if (text == nullptr || *text == '\0')
    {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || v < low || v > high)
    {
        return false;
    }
    *value = v;
    return true;
}

} // namespace

const char* UsageText()
{
    return "usage: skyreel-sim [options]\n"
           "Runs the game headless (SDL dummy drivers), as fast as the machine allows,\n"
           "from the repository root (or --data-dir), and prints a one-line JSON summary.\n"
           "\n"
           "input (at most one; without either no key is ever pressed):\n"
           "  --replay FILE       play the key changes of a replay file\n"
           "  --bot               let the autoplayer play\n"
           "  --bot-seed S        seed of the autoplayer's own generator (default 1): it\n"
           "                      picks how long each title waits, so it varies the games\n"
           "  --confirm-at N      the autoplayer confirms the first title on update N or\n"
           "                      as soon after as the title waits (this sets the game's seed)\n"
           "  --soak              the autoplayer plus --check, and the autoplayer ends\n"
           "                      each game on purpose after 2,000 to 32,000 updates of\n"
           "                      play, so that many games (and seeds) follow one another\n"
           "\n"
           "run:\n"
           "  --frames N          updates to run (default: the replay's length)\n"
           "  --data-dir DIR      change into DIR (the folder holding data/) first\n"
           "  --no-present        skip drawing (except for screenshots)\n"
           "  --check             check the game's invariants after every update; the\n"
           "                      first broken one stops the run (exit status 2)\n"
           "\n"
           "output:\n"
           "  --record FILE       write what was played as a replay\n"
           "  --hash-every K      a line \"hash <update> <16 hex digits>\" every K updates\n"
           "  --hash-out FILE     write the hash lines to FILE (with the last update's)\n"
           "                      instead of standard output\n"
           "  --verify FILE       compare with the hash lines of FILE; the first update\n"
           "                      that differs stops the run (exit status 1)\n"
           "  --shot N:FILE.png   save the picture of update N (repeatable)\n"
           "  --quiet             print only the summary (and errors)\n"
           "  --help              this text\n"
           "\n"
           "exit status: 0 done, 1 golden mismatch, 2 invariant broken, 3 usage or file error\n";
}

bool ParseOptions(int argc, const char* const* argv, SimOptions* options, std::string* error)
{
    SimOptions o;
    bool soak = false;
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        auto value = [&](const char** out)
        {
            if (i + 1 >= argc)
            {
                *error = arg + " needs a value";
                return false;
            }
            *out = argv[++i];
            return true;
        };
        auto number = [&](long long low, long long high, long long* out)
        {
            const char* text = nullptr;
            if (!value(&text))
            {
                return false;
            }
            if (!ParseInt(text, low, high, out))
            {
                *error = arg + ": \"" + text + "\" is not a number from " + std::to_string(low) +
                         " to " + std::to_string(high);
                return false;
            }
            return true;
        };
        const char* text = nullptr;
        long long n = 0;
        if (arg == "--help" || arg == "-h")
        {
            o.help = true;
        }
        else if (arg == "--frames")
        {
            if (!number(1, INT32_MAX, &n))
            {
                return false;
            }
            o.frames = static_cast<int32_t>(n);
        }
        else if (arg == "--replay")
        {
            if (!value(&text))
            {
                return false;
            }
            o.replayPath = text;
        }
        else if (arg == "--bot")
        {
            o.bot = true;
        }
        else if (arg == "--soak")
        {
            soak = true;
        }
        else if (arg == "--bot-seed")
        {
            if (!number(0, UINT32_MAX, &n))
            {
                return false;
            }
            o.botSeed = static_cast<uint32_t>(n);
        }
        else if (arg == "--confirm-at")
        {
            if (!number(1, INT32_MAX, &n))
            {
                return false;
            }
            o.confirmAt = static_cast<int32_t>(n);
        }
        else if (arg == "--record")
        {
            if (!value(&text))
            {
                return false;
            }
            o.recordPath = text;
        }
        else if (arg == "--hash-every")
        {
            if (!number(1, INT32_MAX, &n))
            {
                return false;
            }
            o.hashEvery = static_cast<int32_t>(n);
        }
        else if (arg == "--hash-out")
        {
            if (!value(&text))
            {
                return false;
            }
            o.hashOut = text;
        }
        else if (arg == "--verify")
        {
            if (!value(&text))
            {
                return false;
            }
            o.verifyPath = text;
        }
        else if (arg == "--shot")
        {
            if (!value(&text))
            {
                return false;
            }
            const std::string shotArg = text;
            const size_t colon = shotArg.find(':');
            if (colon == std::string::npos || colon + 1 >= shotArg.size() ||
                !ParseInt(shotArg.substr(0, colon).c_str(), 1, INT32_MAX, &n))
            {
                *error = "--shot wants N:FILE.png, got \"" + shotArg + "\"";
                return false;
            }
            o.shots.push_back({static_cast<int32_t>(n), shotArg.substr(colon + 1)});
        }
        else if (arg == "--data-dir")
        {
            if (!value(&text))
            {
                return false;
            }
            o.dataDir = text;
        }
        else if (arg == "--no-present")
        {
            o.present = false;
        }
        else if (arg == "--quiet" || arg == "-q")
        {
            o.quiet = true;
        }
        else if (arg == "--check")
        {
            o.check = true;
        }
        else
        {
            *error = "unknown option \"" + arg + "\" (see --help)";
            return false;
        }
    }
    if (soak)
    {
        o.bot = true;
        o.mortal = true;
        o.check = true;
    }
    if (!o.help)
    {
        if (o.bot && !o.replayPath.empty())
        {
            *error = "--replay and --bot (or --soak) do not go together";
            return false;
        }
        if (o.replayPath.empty() && o.frames == 0)
        {
            *error = "--frames is needed without --replay";
            return false;
        }
        if (!o.hashOut.empty() && o.hashEvery == 0)
        {
            *error = "--hash-out needs --hash-every";
            return false;
        }
    }
    *options = std::move(o);
    return true;
}

} // namespace sim
