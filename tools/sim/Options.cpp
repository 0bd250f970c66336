#include "Options.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <type_traits>

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

// One option of the command line: its names, what value it takes, and what
// it sets.
struct OptionRule
{
    enum class Takes
    {
        Nothing,
        Number, // a whole number from `low` to `high`
        Text,
    };
    // The value given: `text` null for Takes::Nothing, `number` set for
    // Takes::Number.
    struct Value
    {
        const char* text;
        long long number;
    };
    // Sets the option from its value; false with a message.
    using Setter = bool (*)(SimOptions& o, Value value, std::string* error);

    const char* name;
    const char* alias; // a second name, or null
    Takes takes;
    long long low, high;
    Setter set;
};

using Takes = OptionRule::Takes;
using Value = OptionRule::Value;

bool SetShot(SimOptions& o, Value value, std::string* error)
{
    const std::string shot = value.text;
    const size_t colon = shot.find(':');
    long long update = 0;
    if (colon == std::string::npos || colon + 1 >= shot.size() ||
        !ParseInt(shot.substr(0, colon).c_str(), 1, INT32_MAX, &update))
    {
        *error = "--shot wants N:FILE.png, got \"" + shot + "\"";
        return false;
    }
    o.shots.push_back({static_cast<int32_t>(update), shot.substr(colon + 1)});
    return true;
}

// The setters of the plain options: a flag set to To, a number or a text
// stored as given.
template <auto Field, bool To> bool SetFlag(SimOptions& o, Value, std::string*)
{
    o.*Field = To;
    return true;
}

template <auto Field> bool SetNumber(SimOptions& o, Value v, std::string*)
{
    o.*Field = static_cast<std::remove_reference_t<decltype(o.*Field)>>(v.number);
    return true;
}

template <auto Field> bool SetText(SimOptions& o, Value v, std::string*)
{
    o.*Field = v.text;
    return true;
}

bool SetSoak(SimOptions& o, Value, std::string*)
{
    o.bot = o.mortal = o.check = true;
    return true;
}

const OptionRule Rules[] = {
    {"--help", "-h", Takes::Nothing, 0, 0, SetFlag<&SimOptions::help, true>},
    {"--frames", nullptr, Takes::Number, 1, INT32_MAX, SetNumber<&SimOptions::frames>},
    {"--replay", nullptr, Takes::Text, 0, 0, SetText<&SimOptions::replayPath>},
    {"--bot", nullptr, Takes::Nothing, 0, 0, SetFlag<&SimOptions::bot, true>},
    {"--soak", nullptr, Takes::Nothing, 0, 0, SetSoak},
    {"--bot-seed", nullptr, Takes::Number, 0, UINT32_MAX, SetNumber<&SimOptions::botSeed>},
    {"--confirm-at", nullptr, Takes::Number, 1, INT32_MAX, SetNumber<&SimOptions::confirmAt>},
    {"--record", nullptr, Takes::Text, 0, 0, SetText<&SimOptions::recordPath>},
    {"--hash-every", nullptr, Takes::Number, 1, INT32_MAX, SetNumber<&SimOptions::hashEvery>},
    {"--hash-out", nullptr, Takes::Text, 0, 0, SetText<&SimOptions::hashOut>},
    {"--verify", nullptr, Takes::Text, 0, 0, SetText<&SimOptions::verifyPath>},
    {"--shot", nullptr, Takes::Text, 0, 0, SetShot},
    {"--data-dir", nullptr, Takes::Text, 0, 0, SetText<&SimOptions::dataDir>},
    {"--no-present", nullptr, Takes::Nothing, 0, 0, SetFlag<&SimOptions::present, false>},
    {"--quiet", "-q", Takes::Nothing, 0, 0, SetFlag<&SimOptions::quiet, true>},
    {"--check", nullptr, Takes::Nothing, 0, 0, SetFlag<&SimOptions::check, true>},
};

const OptionRule* FindRule(const std::string& arg)
{
    for (const OptionRule& rule : Rules)
    {
        if (arg == rule.name || (rule.alias != nullptr && arg == rule.alias))
        {
            return &rule;
        }
    }
    return nullptr;
}

// Takes the value of option `arg` (at argv[*i]) when its rule wants one,
// moving *i past it; false with a message when it is missing or malformed.
bool TakeValue(const OptionRule& rule, const std::string& arg, int argc, const char* const* argv,
               int* i, Value* value, std::string* error)
{
    if (rule.takes == Takes::Nothing)
    {
        return true;
    }
    if (*i + 1 >= argc)
    {
        *error = arg + " needs a value";
        return false;
    }
    value->text = argv[++*i];
    if (rule.takes == Takes::Number && !ParseInt(value->text, rule.low, rule.high, &value->number))
    {
        *error = arg + ": \"" + value->text + "\" is not a number from " +
                 std::to_string(rule.low) + " to " + std::to_string(rule.high);
        return false;
    }
    return true;
}

// Options that do not go together (not checked with --help).
bool CheckTogether(const SimOptions& o, std::string* error)
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
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        const OptionRule* rule = FindRule(arg);
        if (rule == nullptr)
        {
            *error = "unknown option \"" + arg + "\" (see --help)";
            return false;
        }
        Value value = {nullptr, 0};
        if (!TakeValue(*rule, arg, argc, argv, &i, &value, error) || !rule->set(o, value, error))
        {
            return false;
        }
    }
    if (!o.help && !CheckTogether(o, error))
    {
        return false;
    }
    *options = std::move(o);
    return true;
}

} // namespace sim
